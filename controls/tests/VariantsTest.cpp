// Ordering and equality of edit values.
#include "cxVariants.h"

#include <gtest/gtest.h>

namespace {

TEST(cxVariants, CompareVariantsOrdersNullArraysAndFailedConversions) {
  const struct {
    const char* name;
    Variant a, b;
    int expected;
  } cases[] = {
      {"Null below a number", Null(), 5, -1},
      {"a number above Null", 5, Null(), 1},
      {"Null equals Null", Null(), Null(), 0},
      {"numbers", 3, 7.5, -1},
      {"equal numbers of two types", 4, 4.0, 0},
      {"texts", "b", "a", 1},
      {"text that is no number", "abc", 5, -1},
      {"an array above a value", VarArrayOf({1}), 9, 1},
      {"a value below an array", 9, VarArrayOf({1}), -1},
      {"arrays by the difference of their high bounds", VarArrayOf({1, 2, 3, 4}), VarArrayOf({9}), 3},
      {"arrays by their first differing element", VarArrayOf({1, 2, 3}), VarArrayOf({1, 5, 0}), -1},
      {"equal arrays", VarArrayOf({1, "x"}), VarArrayOf({1, "x"}), 0},
      {"empty arrays", VarArrayOf({}), VarArrayOf({}), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, CompareVariants(c.a, c.b)) << c.name;
    EXPECT_EQ(c.expected == 0, VariantsOrderEqual(c.a, c.b)) << c.name;
  }
}

TEST(cxVariants, VariantsEqualComparesBooleansByTheirText) {
  const Variant trueText(Variant(true).AsString());
  const struct {
    const char* name;
    Variant a, b;
    bool equal;
  } cases[] = {
      {"Null and Null", Null(), Null(), true},
      {"Null and a Boolean", Null(), false, false},
      {"a Boolean and its text", true, trueText, true},
      {"a Boolean and other text", true, "yes", false},
      {"two Booleans", false, false, true},
      {"numbers", 2, 2.0, true},
      {"texts", "a", "b", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.equal, VariantsEqual(c.a, c.b)) << c.name;
  EXPECT_TRUE(IsDateVariant(Variant::FromDate(45000.5)));
  EXPECT_FALSE(IsDateVariant(45000.5));
  EXPECT_TRUE(IsNumericVariant(3));
  EXPECT_FALSE(IsNumericVariant("3"));
}

} // namespace
