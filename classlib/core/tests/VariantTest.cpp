#include "DateUtils.h"
#include "Variants.h"

#include <gtest/gtest.h>

namespace {

struct ToText {
  Variant value;
  const char* text; // nullptr: the conversion raises
};

TEST(Variant, ToStringAsTheClassLibraryDoes) {
  const ToText cases[] = {
      {Variant(), ""},
      {Variant::Null(), nullptr},
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant(-42), "-42"},
      {Variant(int64_t{9000000000}), "9000000000"},
      {Variant(uint32_t{4294967295u}), "4294967295"},
      {Variant(1.5), "1.5"},
      {Variant(0.1 + 0.2), "0.3"},
      {Variant(1e20), "1E20"},
      {Variant(0.000015), "1.5E-5"},
      {Variant(123456789012345.0), "123456789012345"},
      {Variant::FromCurrency(12345), "1.2345"},
      {Variant::FromDate(EncodeDate(2004, 2, 29)), "2004-02-29"},
      {Variant::FromDate(EncodeDateTime(2004, 2, 29, 13, 5, 7, 0)), "2004-02-29 13:05:07"},
      {Variant("text"), "text"},
      {VarArrayOf({1, 2}), nullptr},
  };
  for (const auto& c : cases) {
    if (c.text)
      EXPECT_EQ(c.value.AsString(), c.text) << VarTypeAsText(c.value.VarType());
    else
      EXPECT_THROW(c.value.AsString(), EVariantTypeCastError) << VarTypeAsText(c.value.VarType());
  }
  EXPECT_EQ(VarToStr(Variant::Null()), "");
}

TEST(Variant, NullConversionNamesBothTypes) {
  try {
    Variant::Null().AsString();
    FAIL();
  } catch (const EVariantTypeCastError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (String)");
  }
}

struct ToInt {
  Variant value;
  int64_t expected;
  bool raises;
};

TEST(Variant, ToIntegerRoundsHalfToEvenAndChecksText) {
  const ToInt cases[] = {
      {Variant(), 0, false},
      {Variant(true), -1, false},
      {Variant(2.5), 2, false},
      {Variant(3.5), 4, false},
      {Variant(-2.5), -2, false},
      {Variant(" 17 "), 17, false},
      {Variant("2.5"), 2, false},
      {Variant("$1F"), 31, false},
      {Variant("12abc"), 0, true},
      {Variant(""), 0, true},
      {Variant::Null(), 0, true},
      {Variant(1e30), 0, true},
      {Variant::FromCurrency(25000), 2, false},
  };
  for (const auto& c : cases) {
    if (c.raises)
      EXPECT_THROW(c.value.AsInt64(), EVariantTypeCastError) << c.value.AsType(varString).AsString();
    else
      EXPECT_EQ(c.value.AsInt64(), c.expected) << VarToStr(c.value);
  }
  EXPECT_THROW(Variant(int64_t{3000000000}).AsInteger(), EVariantTypeCastError);
  EXPECT_EQ(Variant(int64_t{-2147483647 - 1}).AsInteger(), INT32_MIN);
}

TEST(Variant, ToBooleanAndFloat) {
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_FALSE(Variant("false").AsBoolean());
  EXPECT_TRUE(Variant("2").AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_THROW(Variant("yes").AsBoolean(), EVariantTypeCastError);
  EXPECT_DOUBLE_EQ(Variant("1.25e2").AsFloat(), 125.0);
  EXPECT_THROW(Variant("1,5").AsFloat(), EVariantTypeCastError);
  EXPECT_THROW(Variant("nan").AsFloat(), EVariantTypeCastError);
  EXPECT_DOUBLE_EQ(Variant("2004-02-29").AsDateTime(), EncodeDate(2004, 2, 29));
}

struct Cmp {
  Variant a, b;
  TVariantRelationship rel;
};

TEST(Variant, ComparisonTable) {
  const Cmp cases[] = {
      {Variant::Null(), Variant::Null(), vrEqual},
      {Variant::Null(), Variant(0), vrLessThan},
      {Variant(""), Variant::Null(), vrGreaterThan},
      {Variant(), Variant(), vrEqual},
      {Variant(), Variant(0), vrEqual},
      {Variant(), Variant(""), vrEqual},
      {Variant(1), Variant(1.0), vrEqual},
      {Variant(2), Variant(int64_t{10}), vrLessThan},
      {Variant(int64_t{9007199254740993}), Variant(int64_t{9007199254740992}), vrGreaterThan},
      {Variant("10"), Variant(9), vrGreaterThan}, // text against a number compares as numbers
      {Variant("10"), Variant("9"), vrLessThan},  // text against text as text
      {Variant("a"), Variant("B"), vrLessThan},   // letters before case
      {Variant("a"), Variant("A"), vrLessThan},   // then the small letter first
      {Variant("Ab"), Variant("aB"), vrGreaterThan},
      {Variant("ab"), Variant("AB"), vrLessThan},
      {Variant("\xe9t\xe9"), Variant("\xc9T\xc9Z"), vrLessThan},
      {Variant("same"), Variant("same"), vrEqual},
      {Variant(true), Variant(-1), vrEqual},
      {Variant::FromDate(2.0), Variant(2), vrEqual},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VarCompareValue(c.a, c.b), c.rel) << VarToStr(c.a) << " vs " << VarToStr(c.b);
  EXPECT_THROW(VarCompareValue(Variant("abc"), Variant(1)), EVariantTypeCastError);
  EXPECT_TRUE(Variant::Null() == Variant::Null());
  EXPECT_TRUE(Variant::Null() != Variant(0));
  EXPECT_TRUE(Variant(1) < Variant(2));
}

TEST(Variant, Arithmetic) {
  EXPECT_EQ((Variant(2) + Variant(3)).VarType(), varInteger);
  EXPECT_EQ((Variant(2147483647) + Variant(1)).VarType(), varInt64);
  EXPECT_EQ((Variant(2147483647) + Variant(1)).AsInt64(), 2147483648LL);
  EXPECT_EQ((Variant(INT64_MAX) + Variant(1)).VarType(), varDouble);
  EXPECT_EQ((Variant("ab") + Variant("cd")).AsString(), "abcd");
  EXPECT_EQ((Variant("2") + Variant(3)).AsInteger(), 5);
  EXPECT_TRUE((Variant::Null() + Variant(1)).IsNull());
  EXPECT_EQ((Variant(7) / Variant(2)).VarType(), varDouble);
  EXPECT_DOUBLE_EQ((Variant(7) / Variant(2)).AsFloat(), 3.5);
  EXPECT_EQ((Variant(-7) % Variant(2)).AsInteger(), -1); // truncates toward zero
  EXPECT_EQ((Variant(INT64_MIN) % Variant(-1)).AsInteger(), 0);
  EXPECT_THROW(Variant(1) / Variant(0), EVariantError);
  EXPECT_THROW(Variant(1) % Variant(0), EVariantError);
  EXPECT_EQ((-Variant(5)).AsInteger(), -5);
  EXPECT_EQ((Variant::FromDate(1.5) + Variant(1)).VarType(), varDate);
  EXPECT_EQ((Variant::FromCurrency(15000) + Variant::FromCurrency(1)).AsCurrency(), 15001);
}

TEST(Variant, ArraysShareUntilWritten) {
  Variant a = VarArrayOf({1, "two", Variant::Null()});
  EXPECT_TRUE(VarIsArray(a));
  EXPECT_EQ(VarArrayHighBound(a), 2);
  Variant b = a;
  b[1] = Variant("changed");
  EXPECT_EQ(a[1].AsString(), "two");
  EXPECT_EQ(b[1].AsString(), "changed");
  EXPECT_TRUE(a[2].IsNull());
  EXPECT_THROW(a[3], EVariantError);
  EXPECT_THROW(Variant(1).ArrayHighBound(), EVariantError);
}

TEST(Variant, AsTypeChecksTheTargetRange) {
  EXPECT_EQ(Variant(70000).AsType(varInteger).AsInteger(), 70000);
  EXPECT_THROW(Variant(70000).AsType(varSmallint), EVariantTypeCastError);
  EXPECT_THROW(Variant(-1).AsType(varWord), EVariantTypeCastError);
  EXPECT_EQ(Variant("12").AsType(varDouble).VarType(), varDouble);
  EXPECT_TRUE(Variant(1).AsType(varNull).IsNull());
}

} // namespace
