// Conversions between MySQL's text forms and values, pattern matching and
// the value tests of filters.
#include "mySQLTypes.h"

#include "DateUtils.h"

#include <cmath>
#include <cstring>

namespace {

// A number of `count` characters from the 1-based position; unreadable or
// negative gives `fallback`.
int NumberAt(const String& text, int index, int count, int fallback) {
  const int v = StrToIntDef(Copy(text, index, count), -1);
  return v < 0 ? fallback : v;
}

} // namespace

TDateTime TextToDateTime(const String& text) {
  TDateTime value = 0;
  String rest = text;
  if (rest.size() >= 10) {
    const int year = NumberAt(rest, 1, 4, 0), month = NumberAt(rest, 6, 2, 0), day = NumberAt(rest, 9, 2, 0);
    if (year > 0 && month > 0 && day > 0) value = EncodeDate(year, month, day);
    rest = Copy(rest, 12, 8);
  }
  if (rest.size() >= 8)
    value = ComposeDateTime(
        value, EncodeTime(NumberAt(rest, 1, 2, 0), NumberAt(rest, 4, 2, 0), NumberAt(rest, 7, 2, 0), 0));
  return value;
}

TDateTime TimestampTextToDateTime(const String& text) {
  // Where each part starts (1-based), without and with separators.
  static const int plain[6] = {1, 5, 7, 9, 11, 13}, separated[6] = {1, 6, 9, 12, 15, 18};
  const int* at = text.find('-') == String::npos ? plain : separated;
  const int year = std::max(1, NumberAt(text, at[0], 4, 1)), month = std::max(1, NumberAt(text, at[1], 2, 1)),
            day = std::max(1, NumberAt(text, at[2], 2, 1));
  TDateTime date, time;
  if (!TryEncodeDate(year, month, day, date) ||
      !TryEncodeTime(NumberAt(text, at[3], 2, 0), NumberAt(text, at[4], 2, 0), NumberAt(text, at[5], 2, 0), 0,
                     time))
    return 0;
  return ComposeDateTime(date, time);
}

void DateTimeToMySQLText(int kind, String& text, TDateTime value) {
  const bool noDate = std::trunc(value) == 0;
  switch (kind) {
  case dkDateTime:
    text = noDate ? "0000-00-00 00:00:00" : FormatDateTime("yyyy-mm-dd hh:nn:ss", value);
    break;
  case dkDate:
    text = noDate ? "0000-00-00" : FormatDateTime("yyyy-mm-dd", value);
    break;
  case dkTime:
    text = value - std::trunc(value) == 0 ? String() : FormatDateTime("hh:nn:ss", value);
    break;
  default:
    text.clear();
  }
}

double TextToFloatDot(const String& text) {
  double value;
  return TryStrToFloat(text, value) ? value : 0;
}

String FloatToTextDot(double value) {
  return FloatToStr(value);
}

bool FirstCharInSet(std::string_view chars, const String& text) {
  if (text.empty()) return false;
  const char first = LowerCase(text.substr(0, 1))[0];
  return chars.find(first) != std::string_view::npos;
}

String NextSQLWord(String& text, String& word) {
  static const char delimiters[] = " .:;,+-<>/*%^=()[]|&~#$\\`{}!?@\n\r";
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  size_t end = i;
  if (i < text.size()) {
    const char c = text[i];
    if (std::strchr(delimiters, c)) {
      end = i + 1;
    } else if (c == '"' || c == '\'') {
      end = i + 1;
      while (end < text.size() && !(text[end] == c && text[end - 1] != '\\'))
        ++end;
      if (end < text.size()) ++end;
    } else {
      while (end < text.size() && !std::strchr(delimiters, text[end]) && text[end] != '"' &&
             text[end] != '\'' && text[end] != '\0')
        ++end;
    }
  }
  word = text.substr(i, end - i);
  text.erase(0, end);
  return word;
}

namespace {

// Upper case as the Windows-1251 code page has it, the same on every system.
struct TUpperTable {
  uint8_t map[256];
  TUpperTable() {
    for (int i = 0; i < 256; ++i)
      map[i] = uint8_t(i);
    for (int c = 'a'; c <= 'z'; ++c)
      map[c] = uint8_t(c - 32);
    for (int c = 0xE0; c <= 0xFF; ++c)
      map[c] = uint8_t(c - 32);
    static const uint8_t pairs[][2] = {{0x83, 0x81}, {0x90, 0x80}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D},
                                       {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1}, {0xB3, 0xB2}, {0xB4, 0xA5},
                                       {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBC, 0xA3}, {0xBE, 0xBD}, {0xBF, 0xAF}};
    for (const auto& p : pairs)
      map[p[0]] = p[1];
  }
};

const TUpperTable& UpperTable() {
  static const TUpperTable table;
  return table;
}

class TPatternMatcher {
public:
  TPatternMatcher(bool caseSensitive, char one) : FCaseSensitive(caseSensitive), FOne(one) {}
  bool Same(char t, char p) const {
    if (p == FOne || t == p) return true;
    if (FCaseSensitive) return false;
    const auto& m = UpperTable().map;
    return m[uint8_t(t)] == m[uint8_t(p)];
  }
  // The part matches the text at `at`.
  bool MatchesAt(std::string_view text, size_t at, std::string_view part) const {
    if (text.size() - at < part.size()) return false;
    for (size_t i = 0; i < part.size(); ++i)
      if (!Same(text[at + i], part[i])) return false;
    return true;
  }
  size_t Find(std::string_view text, size_t from, std::string_view part) const {
    for (size_t at = from; at + part.size() <= text.size(); ++at)
      if (MatchesAt(text, at, part)) return at;
    return std::string_view::npos;
  }

private:
  bool FCaseSensitive;
  char FOne;
};

} // namespace

bool MatchPattern(const String& text, const String& pattern, bool caseSensitive, char one, char many) {
  const TPatternMatcher m(caseSensitive, one);
  const size_t firstMany = pattern.find(many);
  if (firstMany == String::npos)
    return !text.empty() && text.size() == pattern.size() && m.MatchesAt(text, 0, pattern);

  const std::string_view p(pattern);
  if (!m.MatchesAt(text, 0, p.substr(0, firstMany))) return false;
  size_t at = firstMany; // where the unmatched text begins
  const size_t lastMany = p.rfind(many);
  // The parts between runs of the many character, leftmost match first.
  for (size_t i = firstMany; i < lastMany;) {
    while (i < lastMany && p[i] == many)
      ++i;
    const size_t end = p.find(many, i);
    const std::string_view part = p.substr(i, end - i);
    const size_t found = m.Find(text, at, part);
    if (found == std::string_view::npos) return false;
    at = found + part.size();
    i = end;
  }
  const std::string_view last = p.substr(lastMany + 1);
  if (text.size() - at < last.size()) return false;
  return m.MatchesAt(text, text.size() - last.size(), last);
}

bool FilterValuesEqual(const Variant& a, const Variant& b, bool oem, int partial, bool caseInsensitive) {
  String x = VarToStr(a), y = VarToStr(b);
  if (caseInsensitive) {
    x = UpperCase(x);
    y = UpperCase(y);
  }
  if (oem) {
    x = OemToAnsiText(x);
    y = OemToAnsiText(y);
  }
  if (partial > 0) {
    x = x.substr(0, size_t(partial));
    y = y.substr(0, size_t(partial));
  }
  return x == y;
}

uint64_t SetTextToBits(const String& allowed, const String& value) {
  TStringList members, items;
  members.SetCommaText(allowed);
  items.SetCommaText(value);
  uint64_t bits = 0;
  for (int i = 0; i < items.GetCount(); ++i) {
    const int k = members.IndexOf(items[i]);
    if (k >= 0 && k < 64) bits += uint64_t(1) << k;
  }
  return bits;
}
