// Literal search: a string found in the text forward or backward, exactly or
// with ASCII letters folded, optionally as a whole word, skipping ahead by
// the characters that cannot be part of a match.
#pragma once

#include "SyntaxEd_stream.h"

#include <cstdint>

// Skip tables of the last search string, kept by the editor and rebuilt only
// when the string changes. Entries are 8 bits wide: for strings longer than
// 255 characters they come out smaller than the true skip, which costs speed
// but never a match.
struct TSkipTable {
  String FoldedPattern;
  String Pattern;
  uint8_t Forward[256] = {};
  uint8_t Backward[256] = {};
  uint8_t FoldedForward[256] = {};
  uint8_t FoldedBackward[256] = {};
};

// The editor's word tests that a whole-word search asks.
class TWordChars {
public:
  virtual ~TWordChars() = default;
  virtual bool CharStartsWord(char c) const = 0;
  virtual bool CharIsInWord(char c) const = 0;
};

void BuildSkipTable(TSkipTable& table, const String& text);

// The start of the first occurrence of text from start in the given
// direction, or a value above limit when there is none; the stream is left
// on the occurrence. Callers pass limit = text length - 1.
int FindLiteral(const TWordChars& editor, TEdStream& stream, int limit, TSkipTable& table, bool wholeWord,
                bool matchCase, bool backward, int start, const String& text);

bool CompareMem(const void* a, const void* b, int count);

// Only A-Z and a-z change; every other code stays.
inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
inline char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
