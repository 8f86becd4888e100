#include "uMysqlNewPassword.h"
#include "umysqlsha1.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

String OldHashText(const String& password) {
  TOldPasswordHash h = HashPasswordOld(password);
  char buf[17];
  std::snprintf(buf, sizeof buf, "%08x%08x", h.Nr, h.Nr2);
  return buf;
}

const uint8_t kScramble[SCRAMBLE41_LENGTH] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j',
                                              'k', 'l', 'm', 'n', 'o', 'p', 'q', 'r', 's', 't'};

String Reply41(const String& password) {
  uint8_t reply[SCRAMBLE41_LENGTH];
  Scramble41(reply, kScramble, password);
  return String(reinterpret_cast<char*>(reply), sizeof reply);
}

} // namespace

TEST(PasswordOld, HashIgnoresBlanksAndTabs) {
  struct Case {
    String password, hash;
  } cases[] = {
      {"", "5030573512345671"},
      {"password", "5d2e19393cc5ef67"},
      {"pass word", "5d2e19393cc5ef67"},
      {"\tpass\tword ", "5d2e19393cc5ef67"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OldHashText(c.password), c.hash) << c.password;
}

TEST(PasswordOld, ReplyIsEightPrintableCharactersAndRepeatable) {
  String reply = ScrambleOld("secret", "12345678");
  ASSERT_EQ(reply.size(), 8u);
  for (char c : reply) {
    EXPECT_GE(static_cast<unsigned char>(c), 0x40);
    EXPECT_LE(static_cast<unsigned char>(c), 0x5F);
  }
  EXPECT_EQ(ScrambleOld("secret", "12345678"), reply);
  EXPECT_EQ(ScrambleOld("secret", "12345678 and the rest of a 4.1 scramble"), reply);
  EXPECT_NE(ScrambleOld("secret", "87654321"), reply);
  EXPECT_EQ(ScrambleOld("", "12345678"), "");
}

TEST(Password41, BlanksCountAndRepliesRepeat) {
  EXPECT_EQ(Reply41("pass word"), Reply41("pass word"));
  EXPECT_NE(Reply41("pass word"), Reply41("password"));
  EXPECT_NE(Reply41("password"), Reply41("Password"));
}

TEST(Password41, ServerCanCheckTheReplyAgainstItsStoredHash) {
  // What the server stores is SHA1(SHA1(password)); it recovers SHA1(password)
  // from the reply by xor with SHA1(scramble + stored) and hashes it again.
  const String password = "password";
  String reply = Reply41(password);
  const uint8_t stored[20] = {0x24, 0x70, 0xC0, 0xC0, 0x6D, 0xEE, 0x42, 0xFD, 0x16, 0x18,
                              0xBB, 0x99, 0x00, 0x5A, 0xDC, 0xA2, 0xEC, 0x9D, 0x1E, 0x19};
  TSha1Context c;
  uint8_t mask[20], stage1[20], check[20];
  sha1Reset(c);
  sha1Input(c, kScramble, sizeof kScramble);
  sha1Input(c, stored, sizeof stored);
  sha1Result(c, mask);
  XorBytes(reinterpret_cast<const uint8_t*>(reply.data()), mask, stage1, 20);
  sha1Reset(c);
  sha1Input(c, stage1, 20);
  sha1Result(c, check);
  EXPECT_EQ(0, std::memcmp(check, stored, 20));
}
