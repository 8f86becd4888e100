#include "SyntaxEd_streamio.h"

#include <algorithm>

void WriteByte(TStream& stream, uint8_t value) {
  stream.WriteBuffer(&value, 1);
}

void WriteWord(TStream& stream, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  stream.WriteBuffer(bytes, 2);
}

void WriteInt(TStream& stream, int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                            static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
  stream.WriteBuffer(bytes, 4);
}

void WriteShortString(TStream& stream, const String& value) {
  if (value.size() > 255)
    throw EWriteError(Format("String of %d characters is too long for a short string", value.size()));
  WriteByte(stream, static_cast<uint8_t>(value.size()));
  stream.WriteBuffer(value.data(), static_cast<int64_t>(value.size()));
}

void WriteLongString(TStream& stream, const String& value) {
  WriteInt(stream, static_cast<int32_t>(value.size()));
  stream.WriteBuffer(value.data(), static_cast<int64_t>(value.size()));
}

void WriteSmallSet(TStream& stream, uint8_t value) {
  WriteInt(stream, value & 0x7F);
}

void WriteCharSet(TStream& stream, const std::bitset<256>& set) {
  uint8_t bytes[32] = {};
  for (int i = 0; i < 256; ++i)
    if (set[i]) bytes[i / 8] |= static_cast<uint8_t>(1 << (i % 8));
  stream.WriteBuffer(bytes, 32);
}

uint8_t ReadByte(TStream& stream) {
  uint8_t value = 0;
  stream.ReadBuffer(&value, 1);
  return value;
}

uint16_t ReadWord(TStream& stream) {
  uint8_t bytes[2];
  stream.ReadBuffer(bytes, 2);
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

int32_t ReadInt(TStream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, 4);
  const uint32_t u = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  return static_cast<int32_t>(u);
}

// A damaged length must not make us reserve gigabytes before the read fails,
// so the characters come in bounded pieces.
static String ReadChars(TStream& stream, uint32_t count) {
  constexpr uint32_t kPiece = 65536;
  String s;
  while (count > 0) {
    const uint32_t n = std::min(count, kPiece);
    const size_t old = s.size();
    s.resize(old + n);
    stream.ReadBuffer(s.data() + old, n);
    count -= n;
  }
  return s;
}

String ReadShortString(TStream& stream) {
  return ReadChars(stream, ReadByte(stream));
}

String ReadLongString(TStream& stream) {
  return ReadChars(stream, static_cast<uint32_t>(ReadInt(stream)));
}

std::bitset<256> ReadCharSet(TStream& stream) {
  uint8_t bytes[32];
  stream.ReadBuffer(bytes, 32);
  std::bitset<256> set;
  for (int i = 0; i < 256; ++i)
    set[i] = (bytes[i / 8] >> (i % 8)) & 1;
  return set;
}

String ToLowerAscii(const String& s) {
  String r = s;
  std::transform(r.begin(), r.end(), r.begin(), [](char c) { return ToLowerAscii(c); });
  return r;
}

String ToUpperAscii(const String& s) {
  String r = s;
  std::transform(r.begin(), r.end(), r.begin(), [](char c) { return ToUpperAscii(c); });
  return r;
}
