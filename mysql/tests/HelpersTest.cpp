#include "uMysqlClient.h"
#include "uMysqlHelpers.h"

#include <gtest/gtest.h>

TEST(Helpers, FieldFlagTests) {
  struct Case {
    bool (*test)(const TMysqlField*);
    int bit;
  } cases[] = {
      {IsNotNull, 0x0001},       {IsPrimaryKey, 0x0002}, {IsUniqueKey, 0x0004}, {IsBlob, 0x0010},
      {IsUnsigned, 0x0020},      {IsZeroFill, 0x0040},   {IsBinary, 0x0080},    {IsEnum, 0x0100},
      {IsAutoIncrement, 0x0200}, {IsSet, 0x0800},
  };
  for (const auto& c : cases) {
    TMysqlField with, without;
    with.Flags = c.bit;
    without.Flags = ~c.bit;
    EXPECT_TRUE(c.test(&with)) << c.bit;
    EXPECT_FALSE(c.test(&without)) << c.bit;
    EXPECT_FALSE(c.test(nullptr)) << c.bit;
  }
}

TEST(Helpers, EscapeSQLText) {
  struct Case {
    String source, escaped;
  } cases[] = {
      {"plain", "plain"},      {"it's", "it\\'s"},
      {"a\\b", "a\\\\b"},      {"say \"hi\"", "say \\\"hi\\\""},
      {"'\\\n", "\\'\\\\\\n"}, {String("a\0b", 3), "a\\0b"},
      {"\t\r\n", "\\t\\r\\n"}, {"", ""},
  };
  for (const auto& c : cases) {
    String out = "stale";
    EscapeSQLText(c.source, out);
    EXPECT_EQ(out, c.escaped);
  }
}

TEST(Helpers, ServerVersionNumberNeverRaises) {
  struct Case {
    String text;
    int number;
  } cases[] = {
      {"3.23.58-nt", 32358},
      {"4.0.1-alpha", 40001},
      {"4.1.22-community", 40122},
      {"5.0.45", 50045},
      {"3.23.7", 32307},
      {"8.0.36", 80036},
      {"10.11.19-MariaDB", 101119},
      {"5.5.5-10.11.19-MariaDB-0+deb12u1", 101119},
      {"5.5.5", 50505},
      {"5.5.5-log", 50505},
      {"4.1", 40100},
      {"", 0},
      {"MariaDB", 0},
      {"123456789012.1.1", 0},
      {"5.123.1", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ServerVersionNumber(c.text), c.number) << c.text;
}
