#include "mySQLCP.h"

#include <cstring>
#include <string_view>

extern const TCharsetTable CharsetTables[CHARSET_COUNT];

const TCharsetTable* CharsetTable(int number) {
  number &= 0x7F;
  if (number < 1 || number > CHARSET_COUNT) return nullptr;
  return &CharsetTables[number - 1];
}

int CharsetFromName(const String& name) {
  struct Rule {
    std::string_view words[3];
    int number;
  };
  // Tested in this order: the first rule with a word the name begins with.
  static const Rule rules[] = {
      {{"LATIN1", "CZECH", "GERMAN1"}, 1},
      {{"LATIN2", "HUNGARIAN", "CROAT"}, 6},
      {{"ESTONIA"}, 8},
      {{"LATIN5"}, 9},
      {{"GREEK"}, 11},
      {{"HEBREW"}, 12},
      {{"DANISH", "SWE7"}, 2},
      {{"WIN1250"}, 14},
      {{"CP1251", "WIN1251", "WIN1251UKR"}, 15},
      {{"CP1257"}, 21},
      {{"KOI8-RU", "KOI8-UKR", "KOI8_RU"}, 43},
  };
  const String upper = UpperCase(name);
  for (const Rule& rule : rules)
    for (std::string_view word : rule.words)
      if (!word.empty() && upper.starts_with(word)) return rule.number;
  return 0;
}

int CharsetOfSystemCodePage() {
  const unsigned cp = SystemCodePage();
  if (cp < 1250 || cp > 1258) return 0;
  // Windows 1250 to 1258 are numbers 14 to 22.
  return static_cast<int>(cp - 1250) + 14;
}

void ConvertCharset(const char* source, char* dest, size_t count, int from, int to) {
  if (count > 0 && dest != source) std::memmove(dest, source, count);
  const TCharsetTable* fromTable = CharsetTable(from);
  const TCharsetTable* toTable = CharsetTable(to);
  if (!fromTable || !toTable) return;
  for (size_t i = 0; i < count && dest[i] != 0; ++i) {
    const uint8_t b = static_cast<uint8_t>(dest[i]);
    if (b < 128) continue;
    const uint16_t unit = (*fromTable)[b];
    // A byte the source set leaves undefined has no character to carry over.
    if (unit == 0xFFFD) continue;
    if (unit < 128) {
      dest[i] = static_cast<char>(unit);
      continue;
    }
    for (int j = 128; j < 256; ++j) {
      if ((*toTable)[j] == unit) {
        dest[i] = static_cast<char>(j);
        break;
      }
    }
  }
}
