// Binary read and write routines that every stored form of the editor uses:
// little-endian integers, short strings (8-bit length) and long strings
// (32-bit length), never with a terminator.
#pragma once

#include "Classes.h"

#include <bitset>
#include <cstdint>

void WriteByte(TStream& stream, uint8_t value);
void WriteWord(TStream& stream, uint16_t value);
void WriteInt(TStream& stream, int32_t value);
// Raises EWriteError for a string longer than 255 characters: cutting it
// would store a different text than the caller holds.
void WriteShortString(TStream& stream, const String& value);
void WriteLongString(TStream& stream, const String& value);
// A small set is a byte of which the low seven bits count, stored as four bytes.
void WriteSmallSet(TStream& stream, uint8_t value);

// A set of 256 members (characters or tokenizer states) as 32 bytes, bit i
// of byte i / 8 for member i.
void WriteCharSet(TStream& stream, const std::bitset<256>& set);

// Readers raise the class library's stream read error at the end of the stream.
uint8_t ReadByte(TStream& stream);
uint16_t ReadWord(TStream& stream);
int32_t ReadInt(TStream& stream);
String ReadShortString(TStream& stream);
String ReadLongString(TStream& stream);
std::bitset<256> ReadCharSet(TStream& stream);

// Only the ASCII letters change; every other byte stays as it is. Inline:
// keyword lookups fold every character they read.
inline char ToLowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
inline char ToUpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
String ToLowerAscii(const String& s);
String ToUpperAscii(const String& s);
