#include "umysqlsha1.h"

#include "SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

std::string Hex(const uint8_t* d) {
  std::string s;
  char buf[3];
  for (int i = 0; i < SHA1_HASH_SIZE; ++i) {
    std::snprintf(buf, sizeof buf, "%02x", d[i]);
    s += buf;
  }
  return s;
}

std::string Sha1InPieces(const std::string& message, size_t piece) {
  TSha1Context c;
  sha1Reset(c);
  for (size_t at = 0; at < message.size(); at += piece)
    sha1Input(c, message.data() + at, std::min(piece, message.size() - at));
  uint8_t d[SHA1_HASH_SIZE];
  sha1Result(c, d);
  return Hex(d);
}

} // namespace

TEST(Sha1, PublishedVectorsWhateverThePieceSize) {
  struct Case {
    std::string message, digest;
  } cases[] = {
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
      // Around the block edges, where the padding fits, just misses or needs a block of its own.
      {std::string(55, 'x'), "cef734ba81a024479e09eb5a75b6ddae62e6abf1"},
      {std::string(56, 'x'), "901305367c259952f4e7af8323f480d59f81335b"},
      {std::string(63, 'x'), "0ddc4e0cccd9a12850deb5abb0853a4425559fec"},
      {std::string(64, 'x'), "bb2fa3ee7afb9f54c6dfb5d021f14b1ffe40c163"},
      {std::string(65, 'x'), "78c741ddc482e4cdf8c474a0876347a0905b6233"},
      {std::string(119, 'x'), "4300320394f7ee239bcdce7d3b8bcee173a0cd5c"},
      {std::string(120, 'x'), "ceb2821639c4b6dcb10bce0e522ca2e608ce056d"},
  };
  for (const auto& c : cases)
    for (size_t piece : {size_t(1), size_t(3), size_t(63), size_t(64), size_t(65), size_t(1000000)})
      EXPECT_EQ(Sha1InPieces(c.message, piece), c.digest)
          << c.message.size() << " bytes in pieces of " << piece;
}

TEST(Sha1, ResultIsFinalAndInputAfterItCorruptsTheContext) {
  TSha1Context c;
  sha1Reset(c);
  sha1Input(c, "abc", 3);
  uint8_t first[SHA1_HASH_SIZE], again[SHA1_HASH_SIZE];
  sha1Result(c, first);
  sha1Result(c, again);
  EXPECT_EQ(Hex(again), "a9993e364706816aba3e25717850c26c9cd0d89d");

  sha1Input(c, "d", 1);
  EXPECT_TRUE(c.Corrupted);
  uint8_t untouched[SHA1_HASH_SIZE] = {};
  sha1Result(c, untouched);
  EXPECT_EQ(Hex(untouched), std::string(40, '0'));
}

TEST(Sha1, MissingBuffersAreProgramErrors) {
  TSha1Context c;
  sha1Reset(c);
  EXPECT_THROW(sha1Input(c, nullptr, 1), Exception);
  EXPECT_THROW(sha1Result(c, nullptr), Exception);
}
