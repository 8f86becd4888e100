// The two password replies a server may ask for: the 4.1 form built on SHA-1
// and the old 3.23 form. The password itself never goes over the wire.
#pragma once

#include "SysUtils.h"

#include <cstddef>
#include <cstdint>

inline constexpr int SCRAMBLE41_LENGTH = 20;
inline constexpr int SCRAMBLE_OLD_LENGTH = 8;

void XorBytes(const uint8_t* source1, const uint8_t* source2, uint8_t* destination, size_t count);

// destination (20 bytes) = SHA1(password) xor SHA1(scramble + SHA1(SHA1(password))).
void Scramble41(uint8_t* destination, const uint8_t* scramble, const String& password);

struct TOldPasswordHash {
  uint32_t Nr = 0;
  uint32_t Nr2 = 0;
};
// Blanks and tabs do not count, as the old server hash ignored them.
TOldPasswordHash HashPasswordOld(const String& text);

// One character per scramble character (64..94 before the final xor); empty
// for an empty password. The reply never holds a zero byte.
String ScrambleOld(const String& password, const String& scramble);
