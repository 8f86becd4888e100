#include "SysUtils.h"

#include <gtest/gtest.h>

TEST(Format, FormsUsedByTheClientErrorTexts) {
  struct Case {
    String got, want;
  } cases[] = {
      {Format("Unknown MySQL error"), "Unknown MySQL error"},
      {Format("%d", -42), "-42"},
      {Format("%u", 4000000000u), "4000000000"},
      {Format("%lu", 4000000000ul), "4000000000"},
      {Format("%lu", uint64_t(1) << 40), "1099511627776"},
      {Format("Can't connect to MySQL server on '%-.64s' (%lu)", String("host"), 10061u),
       "Can't connect to MySQL server on 'host' (10061)"},
      {Format("%-.64s", String(100, 'x')), String(64, 'x')},
      {Format("%-.32s|", String("abc")), "abc|"},
      {Format("%-5s|%5s|", "ab", "cd"), "ab   |   cd|"},
      {Format("%05d", -42), "-0042"},
      {Format("%x %X %%", 255, 255), "ff FF %"},
      {Format("%s=%d", String("a"), 1), "a=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(Format, MismatchedArgumentsRaise) {
  EXPECT_THROW(Format("%d"), EConvertError);
  EXPECT_THROW(Format("%d", "text"), EConvertError);
  EXPECT_THROW(Format("%s", 5), EConvertError);
  EXPECT_THROW(Format("%q", 5), EConvertError);
}

TEST(Conversions, StrToInt) {
  EXPECT_EQ(StrToInt(" 42 "), 42);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToInt("$ff"), 255);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  for (const char* bad : {"", "x", "12a", "2147483648", "-", "99999999999999999999"})
    EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
  try {
    StrToInt("abc");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'abc' is not a valid integer value");
  }
  EXPECT_EQ(StrToIntDef("zz", 7), 7);
  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(Strings, CaseTrimAndPositions) {
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(UpperCase("abc\xe9"), "ABC\xe9");
  EXPECT_EQ(LowerCase("ABC"), "abc");
  EXPECT_TRUE(SameText("Table", "TABLE"));
  EXPECT_LT(CompareText("a", "B"), 0);
  EXPECT_EQ(Pos("b", "abc"), 2);
  EXPECT_EQ(Pos("z", "abc"), 0);
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abc", 5, 3), "");
}
