// Text utilities of the synchronizer: the small string helpers the table
// reader and the comparison routines cut text with, and the SQL-aware
// scanning (quoted text, comments, identifiers, script splitting) that keeps
// a quote, a parenthesis or a semicolon inside a literal from being taken
// for structure.
#pragma once

#include "Classes.h"
#include "SysUtils.h"

#include <vector>

// --- String helpers; positions count from 1, as in the class library.

String RemoveChar(const String& s, char c);
void RemoveCharInPlace(String& s, char c);
// Position of the last occurrence (occurrences may overlap), 0 when none.
int LastPos(const String& sub, const String& s);
// Clears the list and adds the text before each delimiter and, finally, the
// rest after the last one (also when empty).
void SplitString(char delimiter, const String& s, TStrings& list);
// The text before the first delimiter, removed from s with the delimiter;
// without a delimiter the empty string and s unchanged.
String CutToken(char delimiter, String& s);
String LeftPart(const String& s, int n);
String RightPart(const String& s, int n);
void StripTrailingChar(String& s, char c);
// Every occurrence of oldText replaced by newText.
String ReplaceAll(const String& s, const String& oldText, const String& newText);
bool TextBetween(const String& s, const String& startMarker, const String& endMarker, bool withMarkers,
                 String& result);
void RemoveDelimited(String& s, const String& startMarker, const String& endMarker, const String& keyword);
[[noreturn]] void RaiseError(const String& message);

// Inserts at index, or appends when index lies past the end.
void InsertAt(TStrings& list, int index, const String& s);

// Whether word stands at offset i of s (ASCII letters in any case).
bool StartsWithText(const String& s, size_t i, const String& word);
inline bool StartsWithText(const String& s, const String& word) {
  return StartsWithText(s, 0, word);
}

// --- SQL text. Offsets here are 0-based, String::npos for "none".

// The offset just behind the quoted text ('…', "…" or `…`) that begins at i,
// npos when it is not closed. Quotes are escaped by doubling; in '…' and "…"
// also by a backslash.
size_t SkipQuoted(const String& s, size_t i);
// The same, but the end of the text for quoted text that is not closed.
size_t SkipQuotedToEnd(const String& s, size_t i);
// The ")" that closes the "(" at open, skipping quoted text.
size_t FindMatchingParen(const String& s, size_t open);
// First occurrence of word (ASCII letters in any case) outside quoted text.
size_t FindOutsideQuotes(const String& s, const String& word, size_t from = 0);
// The identifier at i after blanks, back-quoted or bare (up to a blank, "(",
// ")", ",", ".", "=" or a quote), without its quotes; i moves behind it.
String ReadIdentifier(const String& s, size_t& i);

bool IsReservedWord(const String& word);
// A name needs quoting when it is empty, is a reserved word, or holds
// anything but ASCII letters, digits, "_" and "$" (or begins with a digit).
bool NeedsQuoting(const String& name);
// The name as it may stand in a statement: unchanged when it needs no
// quoting, else back-quoted with inner backticks doubled.
String QuoteName(const String& name);
// Removes the backticks around identifiers that need none; quoted text and
// names that need quoting are left as they are.
String UnquoteIdentifiers(const String& text);

// The statements of a script, trimmed, in order: split at the delimiter
// (";" unless a DELIMITER line changes it) outside quoted text and comments;
// "#" and "-- " comments are removed, /*…*/ comments kept; empty pieces are
// dropped.
std::vector<String> SplitScript(const String& text);
