#include "cxStandardMask.h"
#include "SeparatorsScope.h"

#include <gtest/gtest.h>

namespace {

String Fill(const TcxStandardMask& mask, String text, bool keepConverted = true) {
  mask.FillMaskPositions(text, keepConverted);
  return text;
}

String Value(const TcxStandardMask& mask, String text) {
  mask.ExtractEditValue(text);
  return text;
}

bool Valid(const TcxStandardMask& mask, String text) {
  return mask.IsTextValid(text);
}

} // namespace

TEST(StandardMask, TemplateAndEmptyValue) {
  SeparatorsScope separators('.', '-');
  struct Case {
    const char* mask;
    const char* blankTemplate;
    const char* emptyValue;
  } cases[] = {
      {"000-00", "___-__", "   -  "},
      {"000-00;0", "___-__", "     "},
      {"000-00;1;*", "***-**", "   -  "},
      {"!999-99;0;_", "___-__", "     "},
      {"(000) 000-0000;1;_", "(___) ___-____", "(   )    -    "},
      {"99;1", "__", "  "},
      {"00;1;_x", "__;1;_x", "  ;1;_x"},
      {"00\\", "__", "  "},
      {"\\0\\L0", "0L_", "0L "},
      {"99/99 00:00", "__.__ __-__", "  .     -  "},
      {"<>L>a<c#", "____", "    "},
      {"_ !", "_ !", "_ !"},
      {";", ";", ";"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    TcxStandardMask mask;
    mask.ParseMask(c.mask);
    EXPECT_EQ(mask.BlankTemplate(), c.blankTemplate) << c.mask;
    EXPECT_EQ(mask.EmptyValueText(), c.emptyValue) << c.mask;
    EXPECT_EQ(mask.GetMask(), c.mask);
  }
}

TEST(StandardMask, OptionsAtTheEndAndTheLeadingMark) {
  TcxStandardMask mask;
  mask.ParseMask("!999-99;0;*");
  EXPECT_TRUE(mask.GetLeadingBlanks());
  EXPECT_FALSE(mask.GetSaveLiteralCharacters());
  EXPECT_EQ(mask.GetBlank(), '*');
  EXPECT_EQ(mask.GetCount(), 6);
  mask.ParseMask("99");
  EXPECT_FALSE(mask.GetLeadingBlanks());
  EXPECT_TRUE(mask.GetSaveLiteralCharacters());
  EXPECT_EQ(mask.GetBlank(), '_');
  mask.ClearMask();
  EXPECT_EQ(mask.GetCount(), 0);
  EXPECT_EQ(mask.GetMask(), "");
  EXPECT_THROW(mask.GetItem(0), EListError);
}

TEST(StandardMask, PositionsTakeTheirClassesAndConvertCase) {
  struct Case {
    const char* mask;
    char typed;
    bool accepted;
    char stored;
  } cases[] = {
      {"L", 'a', true, 'a'},   {"L", '1', false, '1'},   {"L", '\xe9', false, '\xe9'},
      {">L", 'a', true, 'A'},  {"<L", 'Q', true, 'q'},   {"<>L", 'q', true, 'q'},
      {"A", '7', true, '7'},   {"A", '_', false, '_'},   {"C", '\x01', true, '\x01'},
      {"0", '5', true, '5'},   {"0", 'x', false, 'x'},   {"#", '+', true, '+'},
      {"#", '-', true, '-'},   {"#", 'a', false, 'a'},   {">0", 'x', false, 'X'},
      {"\\L", 'L', true, 'L'}, {"\\L", 'l', false, 'l'},
  };
  for (const auto& c : cases) {
    TcxStandardMask mask;
    mask.ParseMask(c.mask);
    ASSERT_EQ(mask.GetCount(), 1) << c.mask;
    char ch = c.typed;
    EXPECT_EQ(mask.GetItem(0)->Accepts(ch), c.accepted) << c.mask << " " << c.typed;
    EXPECT_EQ(ch, c.stored) << c.mask << " " << c.typed;
  }
}

TEST(StandardMask, FillingTheText) {
  struct Case {
    const char* mask;
    const char* text;
    bool keepConverted;
    const char* filled;
  } cases[] = {
      {"000-00", "12345", true, "123-45"},
      {"000-00", "12-345", true, "123-45"},
      {"000-00", "1 3", true, "1_3-__"},
      {"000-00", "1_3", true, "1_3-__"},
      {"000-00", "1234567", true, "123-45"},
      {"000-00", "a1b", true, "1__-__"},
      {">LL", "ab", true, "AB"},
      {">LL", "ab", false, "ab"},
      {"(000) 000-0000", "5551234567", true, "(555) 123-4567"},
      {"(000) 000-0000", "(555) 123-4567", true, "(555) 123-4567"},
      {"00;1;*", "1*", true, "1*"},
      {"00;1;*", "*1", true, "*1"},
      {"\\a\\b", "b", true, "ab"},
      {"", "abc", true, ""},
  };
  for (const auto& c : cases) {
    TcxStandardMask mask;
    mask.ParseMask(c.mask);
    EXPECT_EQ(Fill(mask, c.text, c.keepConverted), c.filled) << c.mask << " " << c.text;
  }
}

TEST(StandardMask, ValueOfAFilledText) {
  struct Case {
    const char* mask;
    const char* text;
    const char* value;
  } cases[] = {
      {"000-00", "123-45", "123-45"},
      {"000-00;0", "123-45", "12345"},
      {"000-00", "12_-__", "12 -  "},
      {"000-00;0;*", "12*-**", "12   "},
      {"000-00", "123", "123"},
      {"000-00", "123-4567", "123-45"},
      {"", "123", ""},
  };
  for (const auto& c : cases) {
    TcxStandardMask mask;
    mask.ParseMask(c.mask);
    EXPECT_EQ(Value(mask, c.text), c.value) << c.mask << " " << c.text;
  }
}

TEST(StandardMask, Validity) {
  struct Case {
    const char* mask;
    const char* text;
    bool valid;
  } cases[] = {
      {"99", "1_", true},
      {"99", "1 ", true},
      {"00", "1_", false},
      {"00", "12", true},
      {"##", "+5", true},
      {"##", "-5", true},
      {"##", "a5", false},
      {"##", "__", true},
      {"000-00", "123-45", true},
      {"000-00", "123.45", false},
      {"000-00", "12345", false},
      {"LL", "a_", false},
      {"ll", "a_", true},
      {"cc", "__", true},
      {"CC", "x_", true},
      {"00;1;*", "1*", false},
      {"99;1;*", "1*", true},
      {"99;1;*", "1_", false},
      {"", "", true},
      {"", "a", false},
  };
  for (const auto& c : cases) {
    TcxStandardMask mask;
    mask.ParseMask(c.mask);
    EXPECT_EQ(Valid(mask, c.text), c.valid) << c.mask << " " << c.text;
  }
  TcxStandardMask upper;
  upper.ParseMask(">LL");
  String text = "ab";
  EXPECT_TRUE(upper.IsTextValid(text));
  EXPECT_EQ(text, "AB");
}
