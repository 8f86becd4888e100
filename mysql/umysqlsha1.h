// SHA-1 as the 4.1 password reply needs it.
#pragma once

#include <cstddef>
#include <cstdint>

struct TSha1Context {
  uint32_t LengthLow = 0; // message length in bits, low half
  uint32_t LengthHigh = 0;
  uint32_t State[5] = {};
  bool Computed = false;
  bool Corrupted = false;
  uint8_t Index = 0; // bytes filled in Block
  uint8_t Block[64] = {};
};

inline constexpr int SHA1_HASH_SIZE = 20;

void sha1Reset(TSha1Context& context);
// Input after the result corrupts the context: the digest already handed out
// must not silently change.
void sha1Input(TSha1Context& context, const void* bytes, size_t count);
void sha1Result(TSha1Context& context, uint8_t* digest);
