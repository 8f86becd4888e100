// Picture masks typed into by real input: the overwrite caret that jumps
// over literals, Delete and Backspace that blank positions, pastes that
// overwrite (and never make the text longer than the mask), the text shown
// with and without the focus, and validation on leaving.
#include "MaskEditTest.h"

#include "Clipbrd.h"

#include <gtest/gtest.h>

namespace {

using guitest::kCtrl;
using guitest::kShift;
using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;

const String kPhone = "(000) 000-0000";

const TMaskCase kStandardCases[] = {
    {"Home skips a leading literal", emkStandard, kPhone, {Key(VK_HOME)}, {"(___) ___-____", 1, 1}},
    {"typing jumps over literals", emkStandard, kPhone, Typing("5551234567"), {"(555) 123-4567", 14, 0}},
    {"Ctrl+Left acts as Home",
     emkStandard,
     kPhone,
     Typing("12") + std::vector{Key(VK_LEFT, kCtrl)},
     {"(12_) ___-____", 1, 1}},
    {"End goes after the last position",
     emkStandard,
     kPhone,
     {Key(VK_HOME), Key(VK_END)},
     {"(___) ___-____", 14, 0}},
    {"a letter in a digit position changes nothing",
     emkStandard,
     "000",
     {Key(VK_HOME), Typed('a')},
     {"___", 0, 1}},
    {"Backspace blanks the position before the caret",
     emkStandard,
     "000",
     Typing("12") + std::vector{Key(VK_BACK)},
     {"1__", 1, 1}},
    {"Shift+Delete without a selection acts as Backspace",
     emkStandard,
     "000",
     Typing("123") + std::vector{Key(VK_DELETE, kShift)},
     {"12_", 2, 1}},
    {"Delete blanks the selected position",
     emkStandard,
     "000",
     Typing("123") + std::vector{Key(VK_HOME), Key(VK_DELETE)},
     {"_23", 0, 1}},
    {"the arrows jump over literals",
     emkStandard,
     "00-00",
     {Key(VK_HOME), Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_LEFT)},
     {"__-__", 1, 1}},
    {"Right after the last position stays",
     emkStandard,
     "0-",
     Typing("1") + std::vector{Key(VK_RIGHT), Key(VK_RIGHT)},
     {"1-", 2, 0}},
    // A Shift selection starts with the caret's character and takes one
    // more with each press.
    {"Shift+Right selects the caret's character and the next",
     emkStandard,
     "0000",
     {Key(VK_HOME), Key(VK_RIGHT, kShift)},
     {"____", 0, 2}},
    {"Shift+Right twice",
     emkStandard,
     "0000",
     {Key(VK_HOME), Key(VK_RIGHT, kShift), Key(VK_RIGHT, kShift)},
     {"____", 0, 3}},
    {"Shift+Left selects the caret's character and the one before",
     emkStandard,
     "0000",
     Typing("12") + std::vector{Key(VK_LEFT, kShift)},
     {"12__", 1, 2}},
    {"Shift+Left twice",
     emkStandard,
     "0000",
     Typing("12") + std::vector{Key(VK_LEFT, kShift), Key(VK_LEFT, kShift)},
     {"12__", 0, 3}},
    {"Shift+Left on the last position takes one before too",
     emkStandard,
     "0000",
     Typing("123") + std::vector{Key(VK_LEFT, kShift)},
     {"123_", 2, 2}},
    {"Shift+End selects to the end",
     emkStandard,
     "0000",
     Typing("1") + std::vector{Key(VK_END, kShift)},
     {"1___", 1, 3}},
    {"Right over a Shift selection goes to its last character",
     emkStandard,
     "0000",
     {Key(VK_HOME), Key(VK_RIGHT, kShift), Key(VK_RIGHT, kShift), Key(VK_RIGHT)},
     {"____", 2, 1}},
    {"letters take the case of the mask", emkStandard, ">LL<LL", Typing("abCD"), {"ABcd", 4, 0}},
    {"a mask of literals only takes nothing",
     emkStandard,
     "\\a\\b",
     {Key(VK_HOME), Typed('x')},
     {"ab", 2, 0}},
    {"a mask without positions changes nothing",
     emkStandard,
     ";1",
     {Typed('x'), Key(VK_BACK), Key(VK_DELETE), Key(VK_HOME), Key(VK_LEFT), Key(VK_END), Key(VK_RIGHT)},
     {"", 0, 0}},
};

INSTANTIATE_TEST_SUITE_P(MaskEditStandard, TMaskTyping, testing::ValuesIn(kStandardCases), MaskCaseName);

TEST(MaskEditStandard, ACharacterTypedOnALiteralGoesToTheNextInputPosition) {
  TMaskForm f;
  f.edit->GetProperties()->SetEditMask(kPhone);
  f.Show();
  f.Focus();
  f.edit->SetSelection(4, 0);
  EXPECT_EQ((TMaskState{"(___) ___-____", 4, 1}), f.State()) << "one character is always selected";
  f.Run({Typed('5')});
  EXPECT_EQ((TMaskState{"(___) 5__-____", 7, 1}), f.State());
}

TEST(MaskEditStandard, DeleteAndCutOverASelectionKeepItsLiterals) {
  const struct {
    WORD key;
    int modifiers;
    String clip;
  } cases[] = {{VK_DELETE, guitest::kNone, "none"}, {VK_DELETE, kShift, "2-3"}, {'X', kCtrl, "2-3"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clip);
    TMaskForm f;
    f.edit->GetProperties()->SetEditMask("00-00");
    f.Show();
    f.Focus();
    f.Run(Typing("1234"));
    ASSERT_EQ("12-34", f.State().Text);
    Clipboard()->SetAsText("none");
    f.edit->InnerTextEdit()->SetSelStart(1);
    f.edit->InnerTextEdit()->SetSelLength(3);
    f.Run({Key(c.key, c.modifiers)});
    EXPECT_EQ((TMaskState{"1_-_4", 1, 1}), f.State());
    EXPECT_EQ(c.clip, Clipboard()->GetAsText());
  }
}

TEST(MaskEditStandard, APasteOverwritesAndIsCutToTheMask) {
  const struct {
    String clip;
    int start;
    TMaskState expected;
  } cases[] = {
      // The caret lands on the literal after the paste and moves on.
      {"789", 0, {"789-__", 4, 1}},
      {"12345678", 4, {"___-12", 5, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clip);
    TMaskForm f;
    f.edit->GetProperties()->SetEditMask("000-00");
    f.Show();
    f.Focus();
    f.edit->SetSelection(c.start, 0);
    Clipboard()->SetAsText(c.clip);
    f.Run({Key('V', kCtrl)});
    EXPECT_EQ(c.expected, f.State());
  }
}

TEST(MaskEditStandard, APasteIntoAMaskWithoutPositionsChangesNothing) {
  TMaskForm f;
  f.edit->GetProperties()->SetEditMask(";1");
  f.Show();
  f.Focus();
  Clipboard()->SetAsText("abc");
  f.Run({Key('V', kCtrl)});
  EXPECT_EQ((TMaskState{"", 0, 0}), f.State());
}

TEST(MaskEditStandard, TheTextShowsBlanksWhileFocusedAndSpacesOtherwise) {
  const struct {
    String mask;
    String value;
    bool formatWhenUnfocused;
    String unfocused;
    String focused;
  } cases[] = {
      {"000-00;1;_", "12", false, "12 -  ", "12_-__"},
      {"000-00;1;_", "12", true, "12_-__", "12_-__"},
      {kPhone, "", false, "(   )    -    ", "(___) ___-____"},
      {"000-00;0;*", "12345", false, "12345", "123-45"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask + " " + c.value);
    TMaskForm f;
    TcxMaskEditProperties* props = f.edit->GetProperties();
    props->SetEditMask(c.mask);
    props->SetFormatWhenUnfocused(c.formatWhenUnfocused);
    f.edit->SetEditValue(Variant(c.value));
    f.Show();
    EXPECT_EQ(c.unfocused, f.State().Text);
    f.Focus();
    EXPECT_EQ(c.focused, f.State().Text);
    f.after->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return f.after->Focused(); }));
    EXPECT_EQ(c.unfocused, f.State().Text);
  }
}

TEST(MaskEditStandard, TheValueIsTheTextWithoutBlanksAndLiteralsAsTheMaskSays) {
  const struct {
    String mask;
    String typed;
    String value;
  } cases[] = {
      {"000-00;1;_", "12345", "123-45"},
      {"000-00;0;_", "12345", "12345"},
      {">LL", "ab", "AB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    TMaskForm f;
    f.edit->GetProperties()->SetEditMask(c.mask);
    f.Show();
    f.Focus();
    f.Run(Typing(c.typed));
    EXPECT_EQ(c.value, f.edit->GetText());
    PressKey(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return f.after->Focused(); }));
    EXPECT_EQ(c.value, VarToStr(f.edit->GetEditValueRef()));
  }
}

TEST(MaskEditStandard, LeavingWithRequiredPositionsBlankFailsUnlessBlanksAreIgnored) {
  for (bool ignore : {false, true}) {
    SCOPED_TRACE(ignore);
    TMaskForm f;
    guitest::TExceptionCapture exceptions;
    f.edit->GetProperties()->SetEditMask("000");
    f.edit->GetProperties()->IgnoreMaskBlank = ignore;
    f.Show();
    f.Focus();
    f.Run({Typed('1'), Key(VK_BACK)});
    ASSERT_EQ("___", f.State().Text);
    PressKey(VK_TAB);
    PumpFor(150);
    if (ignore) {
      EXPECT_TRUE(exceptions.Messages.empty());
      EXPECT_TRUE(f.after->Focused());
    } else {
      ASSERT_EQ(1u, exceptions.Messages.size());
      EXPECT_EQ("The edit value is invalid", exceptions.Messages[0]);
      EXPECT_TRUE(f.edit->IsFocused());
    }
  }
}

TEST(MaskEditStandard, UpAndDownGoToOnUnhandledKey) {
  TMaskForm f;
  std::vector<WORD> unhandled;
  f.edit->OnUnhandledKey = [&](TObject*, WORD& Key, TShiftState) { unhandled.push_back(Key); };
  f.edit->GetProperties()->SetEditMask("000");
  f.Show();
  f.Focus();
  f.Run({Key(VK_HOME), Key(VK_UP), Key(VK_DOWN)});
  PumpFor(30);
  EXPECT_EQ((std::vector<WORD>{VK_UP, VK_DOWN}), unhandled);
  EXPECT_EQ((TMaskState{"___", 0, 1}), f.State());
}

} // namespace
