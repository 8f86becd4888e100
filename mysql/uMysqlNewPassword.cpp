#include "uMysqlNewPassword.h"

#include "umysqlsha1.h"

#include <cmath>

void XorBytes(const uint8_t* source1, const uint8_t* source2, uint8_t* destination, size_t count) {
  for (size_t i = 0; i < count; ++i)
    destination[i] = source1[i] ^ source2[i];
}

void Scramble41(uint8_t* destination, const uint8_t* scramble, const String& password) {
  TSha1Context c;
  uint8_t stage1[SHA1_HASH_SIZE], stage2[SHA1_HASH_SIZE];
  sha1Reset(c);
  sha1Input(c, password.data(), password.size());
  sha1Result(c, stage1);
  sha1Reset(c);
  sha1Input(c, stage1, sizeof stage1);
  sha1Result(c, stage2);
  sha1Reset(c);
  sha1Input(c, scramble, SCRAMBLE41_LENGTH);
  sha1Input(c, stage2, sizeof stage2);
  sha1Result(c, destination);
  XorBytes(destination, stage1, destination, SHA1_HASH_SIZE);
}

TOldPasswordHash HashPasswordOld(const String& text) {
  uint32_t nr = 1345345333, add = 7, nr2 = 0x12345671;
  for (unsigned char c : text) {
    if (c == ' ' || c == '\t') continue;
    nr ^= (((nr & 63) + add) * c) + (nr << 8);
    nr2 += (nr2 << 8) ^ nr;
    add += c;
  }
  return {nr & 0x7FFFFFFF, nr2 & 0x7FFFFFFF};
}

namespace {

// The old reply's pseudo-random generator.
class TOldRandom {
public:
  TOldRandom(uint32_t seed1, uint32_t seed2) : FSeed1(seed1 % kMax), FSeed2(seed2 % kMax) {}
  double Next() {
    FSeed1 = (FSeed1 * 3 + FSeed2) % kMax;
    FSeed2 = (FSeed1 + FSeed2 + 33) % kMax;
    return double(FSeed1) / double(kMax);
  }

private:
  static constexpr uint64_t kMax = 0x3FFFFFFF;
  uint64_t FSeed1, FSeed2;
};

int FloorToInt(double x) {
  return static_cast<int>(std::floor(x));
}

} // namespace

String ScrambleOld(const String& password, const String& scramble) {
  if (password.empty()) return String();
  const String seed = scramble.substr(0, SCRAMBLE_OLD_LENGTH);
  TOldPasswordHash p = HashPasswordOld(password), s = HashPasswordOld(seed);
  TOldRandom random(p.Nr ^ s.Nr, p.Nr2 ^ s.Nr2);
  String reply(seed.size(), '\0');
  for (char& c : reply)
    c = static_cast<char>(FloorToInt(random.Next() * 31) + 64);
  char extra = static_cast<char>(FloorToInt(random.Next() * 31));
  for (char& c : reply)
    c ^= extra;
  return reply;
}
