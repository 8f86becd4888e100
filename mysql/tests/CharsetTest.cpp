#include "mySQLCP.h"

#include <gtest/gtest.h>

namespace {

TEST(Charset, NamesOfServerCharacterSets) {
  struct Case {
    const char* name;
    int number;
  };
  const Case cases[] = {
      {"latin1_swedish_ci", 1}, {"latin1", 1},          {"czech", 1},    {"german1", 1},   {"latin2", 6},
      {"hungarian", 6},         {"croat", 6},           {"estonia", 8},  {"latin5", 9},    {"greek", 11},
      {"hebrew", 12},           {"danish", 2},          {"swe7", 2},     {"win1250", 14},  {"cp1251", 15},
      {"win1251ukr", 15},       {"cp1257_general", 21}, {"koi8_ru", 43}, {"KOI8-UKR", 43}, {"utf8", 0},
      {"utf8mb4", 0},           {"koi8r", 0},           {"", 0},         {"latin", 0},     {"cp1250", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CharsetFromName(c.name), c.number) << c.name;
}

TEST(Charset, TablesByNumber) {
  ASSERT_NE(CharsetTable(1), nullptr);
  EXPECT_EQ((*CharsetTable(1))[0xE4], 0x00E4);        // ISO 8859-1 ä
  EXPECT_EQ((*CharsetTable(16))[0x80], 0x20AC);       // Windows 1252 euro sign
  EXPECT_EQ((*CharsetTable(16))[0x81], 0xFFFD);       // undefined in 1252
  EXPECT_EQ((*CharsetTable(43))[0xC1], 0x0430);       // KOI8-R а
  EXPECT_EQ((*CharsetTable(25))['A' + 0x80], 0x0041); // EBCDIC 500: A is 0xC1
  EXPECT_EQ(CharsetTable(1 + 128), CharsetTable(1)) << "only the low 7 bits count";
  EXPECT_EQ(CharsetTable(0), nullptr);
  EXPECT_EQ(CharsetTable(44), nullptr);
  EXPECT_EQ(CharsetTable(127), nullptr);
}

TEST(Charset, SystemCodePage) {
  const unsigned cp = SystemCodePage();
  const int expected = cp >= 1250 && cp <= 1258 ? static_cast<int>(cp) - 1250 + 14 : 0;
  EXPECT_EQ(CharsetOfSystemCodePage(), expected);
#ifndef _WIN32
  EXPECT_EQ(cp, 1252u);
  EXPECT_EQ(CharsetOfSystemCodePage(), 16);
#endif
}

TEST(Charset, Conversion) {
  struct Case {
    const char* name;
    std::string source;
    int from, to;
    std::string expected;
  };
  const Case cases[] = {
      {"same letter in both sets", "\xE4", 1, 14, "\xE4"},
      {"no such character in the target", "\xA4", 16, 43, "\xA4"},
      {"Cyrillic to KOI8-R", "\xE0\xC0", 15, 43, "\xC1\xE1"},
      {"Latin 2 to Windows 1250", "\xB1\xA9", 6, 14, "\xB9\x8A"},
      {"source entry below 128 becomes ASCII", "\xC1\xF0", 25, 16, "A0"},
      {"byte undefined in the source stays", "\x81", 16, 14, "\x81"},
      {"ASCII stays", "plain text", 16, 43, "plain text"},
      {"no character set on the source side", "\xE0\xA4", 0, 43, "\xE0\xA4"},
      {"no character set on the target side", "\xE0\xA4", 15, 0, "\xE0\xA4"},
      {"number above 43", "\xE0", 15, 44, "\xE0"},
      {"stops at the zero terminator", std::string("\xE0\0\xE0", 3), 15, 43, std::string("\xC1\0\xE0", 3)},
  };
  for (const Case& c : cases) {
    std::string dest(c.source.size(), '?');
    ConvertCharset(c.source.data(), dest.data(), c.source.size(), c.from, c.to);
    EXPECT_EQ(dest, c.expected) << c.name;
  }
}

TEST(Charset, ConversionInPlaceOverACount) {
  char text[] = "\xE0\xE1\xE2";
  ConvertCharset(text, text, 2, 15, 43);
  EXPECT_EQ(std::string(text), "\xC1\xC2\xE2");
}

} // namespace
