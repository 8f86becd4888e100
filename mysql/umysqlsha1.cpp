#include "umysqlsha1.h"

#include "SysUtils.h"

#include <cstring>

namespace {

uint32_t Rotl(uint32_t x, int n) {
  return (x << n) | (x >> (32 - n));
}

void ProcessBlock(TSha1Context& c) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t)
    w[t] = uint32_t(c.Block[t * 4]) << 24 | uint32_t(c.Block[t * 4 + 1]) << 16 |
           uint32_t(c.Block[t * 4 + 2]) << 8 | uint32_t(c.Block[t * 4 + 3]);
  for (int t = 16; t < 80; ++t)
    w[t] = Rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  uint32_t a = c.State[0], b = c.State[1], cc = c.State[2], d = c.State[3], e = c.State[4];
  for (int t = 0; t < 80; ++t) {
    uint32_t f, k;
    if (t < 20) {
      f = (b & cc) | (~b & d);
      k = 0x5A827999;
    } else if (t < 40) {
      f = b ^ cc ^ d;
      k = 0x6ED9EBA1;
    } else if (t < 60) {
      f = (b & cc) | (b & d) | (cc & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ cc ^ d;
      k = 0xCA62C1D6;
    }
    uint32_t temp = Rotl(a, 5) + f + e + w[t] + k;
    e = d;
    d = cc;
    cc = Rotl(b, 30);
    b = a;
    a = temp;
  }
  c.State[0] += a;
  c.State[1] += b;
  c.State[2] += cc;
  c.State[3] += d;
  c.State[4] += e;
  c.Index = 0;
}

void PadMessage(TSha1Context& c) {
  c.Block[c.Index++] = 0x80;
  if (c.Index > 56) {
    std::memset(c.Block + c.Index, 0, 64 - c.Index);
    ProcessBlock(c);
  }
  std::memset(c.Block + c.Index, 0, 56 - c.Index);
  for (int i = 0; i < 4; ++i) {
    c.Block[56 + i] = uint8_t(c.LengthHigh >> (24 - 8 * i));
    c.Block[60 + i] = uint8_t(c.LengthLow >> (24 - 8 * i));
  }
  ProcessBlock(c);
}

} // namespace

void sha1Reset(TSha1Context& context) {
  context = TSha1Context();
  context.State[0] = 0x67452301;
  context.State[1] = 0xEFCDAB89;
  context.State[2] = 0x98BADCFE;
  context.State[3] = 0x10325476;
  context.State[4] = 0xC3D2E1F0;
}

void sha1Input(TSha1Context& context, const void* bytes, size_t count) {
  if (!bytes) throw Exception("Empty array paased to sha1Input");
  if (context.Computed) context.Corrupted = true;
  if (context.Corrupted) return;
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  for (size_t i = 0; i < count; ++i) {
    context.Block[context.Index++] = p[i];
    context.LengthLow += 8;
    if (context.LengthLow == 0) ++context.LengthHigh;
    if (context.Index == 64) ProcessBlock(context);
  }
}

void sha1Result(TSha1Context& context, uint8_t* digest) {
  if (!digest) throw Exception("Empty array passed to sha1Result");
  if (context.Corrupted) return;
  if (!context.Computed) {
    PadMessage(context);
    std::memset(context.Block, 0, sizeof context.Block);
    context.Computed = true;
  }
  for (int i = 0; i < SHA1_HASH_SIZE; ++i)
    digest[i] = uint8_t(context.State[i / 4] >> (24 - 8 * (i % 4)));
}
