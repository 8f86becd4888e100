// The 43 single-byte character sets the access layer knows by number, and
// re-encoding of text between two of them.
#pragma once

#include "SysUtils.h"

#include <cstddef>
#include <cstdint>

// Numbers 1 to 43; 0 is no known character set.
constexpr int CHARSET_COUNT = 43;

// One table per character set: the UTF-16 code unit of every byte value;
// bytes that the code page leaves undefined map to U+FFFD.
using TCharsetTable = uint16_t[256];

// The table of a character set number (only its low 7 bits count); nullptr
// for 0 and numbers above 43.
const TCharsetTable* CharsetTable(int number);

// The number of a server character-set name such as "latin1_swedish_ci";
// 0 when no rule matches.
int CharsetFromName(const String& name);

// The number of the system ANSI code page, 0 when it is not one of 1250-1258.
int CharsetOfSystemCodePage();

// The system ANSI code page: GetACP on Windows, 1252 elsewhere.
unsigned SystemCodePage();

// Copies count bytes from source to dest and re-encodes them from character
// set `from` to `to`, up to the first zero byte. Bytes the target set cannot
// hold, and bytes the source set leaves undefined, stay as they are. source
// and dest may be the same buffer.
void ConvertCharset(const char* source, char* dest, size_t count, int from, int to);
