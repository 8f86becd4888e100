// Regular-expression masks typed into by real input: refused characters,
// edits in the middle that keep the rest only while it still fits, and the
// extended kind's forced literals typed, skipped and removed with the
// character before them.
#include "MaskEditTest.h"

#include "Clipbrd.h"
#include "Locale.h"

#include <gtest/gtest.h>

namespace {

using guitest::kCtrl;
using guitest::kShift;
using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;

const String kTime = "\\d\\d:\\d\\d";
const String kBracketed = "'('\\d\\d')'";

const TMaskCase kRegExprCases[] = {
    {"a refused character is left out", emkRegExpr, "\\d+", Typing("12a3"), {"123", 3, 0}},
    {"a deleted middle drops a tail that no longer fits",
     emkRegExpr,
     "[a-c]x[0-9]",
     Typing("bx5") + std::vector{Key(VK_LEFT), Key(VK_LEFT), Key(VK_DELETE)},
     {"b", 1, 0}},
    {"a backspaced middle keeps a tail that fits",
     emkRegExpr,
     "\\d+",
     Typing("123") + std::vector{Key(VK_LEFT), Key(VK_BACK)},
     {"13", 1, 0}},
    {"a letter takes the pattern's case", emkRegExpr, "abc", Typing("A"), {"a", 1, 0}},
    {"typing at the start keeps a tail that fits",
     emkRegExpr,
     "\\d+",
     Typing("23") + std::vector{Key(VK_HOME), Typed('1')},
     {"123", 1, 0}},
    {"typing at the start drops a tail that does not fit",
     emkRegExpr,
     "[a-c]x[0-9]",
     Typing("bx") + std::vector{Key(VK_HOME), Typed('c')},
     {"c", 1, 0}},
    {"Ctrl+Left acts as Home",
     emkRegExpr,
     "\\d+",
     Typing("12") + std::vector{Key(VK_LEFT, kCtrl), Typed('0')},
     {"012", 1, 0}},
    {"End goes after the text",
     emkRegExpr,
     "\\d+",
     Typing("12") + std::vector{Key(VK_HOME), Key(VK_END), Typed('3')},
     {"123", 3, 0}},
    {"a typed character replaces the selection",
     emkRegExpr,
     "\\d+",
     Typing("123") + std::vector{Key(VK_LEFT, kShift), Key(VK_LEFT, kShift), Typed('9')},
     {"19", 2, 0}},
    {"Shift+Delete without a selection acts as Backspace",
     emkRegExpr,
     "\\d+",
     Typing("123") + std::vector{Key(VK_DELETE, kShift)},
     {"12", 2, 0}},
    {"forced literals are typed", emkRegExprEx, kTime, Typing("1234"), {"12:34", 5, 0}},
    {"a forced literal comes as soon as it is the only way on",
     emkRegExprEx,
     kTime,
     Typing("12"),
     {"12:", 3, 0}},
    {"Backspace removes a forced literal with the character before it",
     emkRegExprEx,
     kTime,
     Typing("12") + std::vector{Key(VK_BACK)},
     {"1", 1, 0}},
    {"a refused character adds nothing", emkRegExprEx, kTime, Typing("1a"), {"1", 1, 0}},
    {"Right skips a forced literal with its character",
     emkRegExprEx,
     kTime,
     Typing("1234") + std::vector{Key(VK_HOME), Key(VK_RIGHT), Key(VK_RIGHT)},
     {"12:34", 3, 0}},
    {"Left skips a forced literal with its character",
     emkRegExprEx,
     kTime,
     Typing("1234") + std::vector{Key(VK_END), Key(VK_LEFT), Key(VK_LEFT), Key(VK_LEFT)},
     {"12:34", 1, 0}},
    {"the forced prefix comes first", emkRegExprEx, kBracketed, Typing("12"), {"(12)", 4, 0}},
    {"Backspace after the forced prefix changes nothing",
     emkRegExprEx,
     kBracketed,
     {Key(VK_END), Key(VK_BACK)},
     {"(", 1, 0}},
    {"Backspace over everything keeps the forced prefix",
     emkRegExprEx,
     kBracketed,
     Typing("12") + std::vector{Key(VK_HOME, kShift), Key(VK_BACK)},
     {"(", 1, 0}},
    {"typing over everything keeps the forced prefix",
     emkRegExprEx,
     kBracketed,
     Typing("12") + std::vector{Key(VK_HOME, kShift), Typed('5')},
     {"(5", 2, 0}},
    {"a deleted start drops a tail that no longer fits",
     emkRegExprEx,
     kTime,
     Typing("1234") + std::vector{Key(VK_HOME), Key(VK_DELETE)},
     {"", 0, 0}},
    {"Delete before the forced prefix changes nothing",
     emkRegExprEx,
     kBracketed,
     {Key(VK_HOME), Key(VK_DELETE)},
     {"(", 0, 0}},
    // One to three digits and a colon: after "12" a digit may still come,
    // after three digits only the colon.
    {"a character typed in the middle forces a literal after the rest",
     emkRegExprEx,
     "\\d\\d?\\d?:",
     Typing("12") + std::vector{Key(VK_LEFT), Typed('5')},
     {"152:", 2, 0}},
    {"a middle edit keeps the forced literals of the rest",
     emkRegExprEx,
     "\\d\\d?\\d?:",
     Typing("123") + std::vector{Key(VK_LEFT), Key(VK_LEFT), Key(VK_BACK), Typed('7')},
     {"723:", 1, 0}},
};

INSTANTIATE_TEST_SUITE_P(MaskEditRegExpr, TMaskTyping, testing::ValuesIn(kRegExprCases), MaskCaseName);

TEST(MaskEditRegExpr, APasteKeepsWhatThePatternTakes) {
  for (TcxEditMaskKind kind : {emkRegExpr, emkRegExprEx}) {
    SCOPED_TRACE(kind);
    TMaskForm f;
    f.edit->GetProperties()->SetMaskKind(kind);
    f.edit->GetProperties()->SetEditMask("\\d+");
    f.Show();
    f.Focus();
    Clipboard()->SetAsText("4x5");
    f.Run(Typing("12") + std::vector{Key('V', kCtrl)});
    EXPECT_EQ("1245", f.State().Text);
    f.Run({Typed('6')});
    EXPECT_EQ("12456", f.State().Text);
  }
}

TEST(MaskEditRegExpr, ACutTakesTheSelectionOutWhenTheRestFits) {
  const struct {
    TcxEditMaskKind kind;
    String mask;
    String typed;
    int modifiers;
    WORD key;
    String clip;
    TMaskState expected;
  } cases[] = {
      {emkRegExpr, "\\d+", "123", kCtrl, 'X', "23", {"1", 1, 0}},
      {emkRegExpr, "\\d+", "123", kShift, VK_DELETE, "23", {"1", 1, 0}},
      {emkRegExprEx, "\\d+", "123", kCtrl, 'X', "23", {"1", 1, 0}},
      {emkRegExprEx, "\\d+", "123", kShift, VK_DELETE, "23", {"1", 1, 0}},
      {emkRegExprEx, "\\d+", "123", 0, VK_BACK, "none", {"1", 1, 0}},
      {emkRegExpr, "[a-c]x[0-9]", "bx5", kCtrl, 'X', "x5", {"b", 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask + " " + std::to_string(c.kind) + " " + std::to_string(c.key));
    TMaskForm f;
    f.edit->GetProperties()->SetMaskKind(c.kind);
    f.edit->GetProperties()->SetEditMask(c.mask);
    f.Show();
    f.Focus();
    f.Run(Typing(c.typed) + std::vector{Key(VK_LEFT, kShift), Key(VK_LEFT, kShift)});
    Clipboard()->SetAsText("none");
    f.Run({Key(c.key, c.modifiers)});
    EXPECT_EQ(c.expected, f.State());
    EXPECT_EQ(c.clip, Clipboard()->GetAsText());
  }
}

TEST(MaskEditRegExpr, TheTextIsFittedToThePatternWithAndWithoutTheFocus) {
  const struct {
    TcxEditMaskKind kind;
    String mask;
    String value;
    String shown;
  } cases[] = {
      {emkRegExpr, "\\d+", "12a3", "123"},
      {emkRegExpr, "abc", "ABC", "abc"},
      {emkRegExprEx, kBracketed, "", "("},
      {emkRegExprEx, kTime, "12", "12:"},
  };
  FormatSettings.TimeSeparator = ':';
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask + " " + c.value);
    TMaskForm f;
    f.edit->GetProperties()->SetMaskKind(c.kind);
    f.edit->GetProperties()->SetEditMask(c.mask);
    f.edit->SetEditValue(Variant(c.value));
    f.Show();
    EXPECT_EQ(c.shown, f.State().Text);
    f.Focus();
    EXPECT_EQ(c.shown, f.State().Text);
  }
}

TEST(MaskEditRegExpr, ATextIsValidWhenComplete) {
  const struct {
    TcxEditMaskKind kind;
    String mask;
    String text;
    bool ignoreBlank;
    bool valid;
  } cases[] = {
      {emkRegExpr, "\\d\\d\\d", "123", false, true},  {emkRegExpr, "\\d\\d\\d", "12", false, false},
      {emkRegExpr, "\\d\\d\\d", "12", true, true},    {emkRegExpr, "\\d\\d\\d", "", false, true},
      {emkRegExpr, "\\d\\d\\d", "1a", true, false},   {emkRegExprEx, kBracketed, "(", false, true},
      {emkRegExprEx, kBracketed, "(1", false, false}, {emkRegExprEx, kBracketed, "(12)", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask + " " + c.text);
    TMaskForm f;
    f.edit->GetProperties()->SetMaskKind(c.kind);
    f.edit->GetProperties()->SetEditMask(c.mask);
    f.edit->GetProperties()->IgnoreMaskBlank = c.ignoreBlank;
    EXPECT_EQ(c.valid, f.edit->GetMode()->IsValidText(c.text));
  }
}

TEST(MaskEditRegExpr, LeavingAnIncompleteTextFails) {
  TMaskForm f;
  guitest::TExceptionCapture exceptions;
  f.edit->GetProperties()->SetMaskKind(emkRegExpr);
  f.edit->GetProperties()->SetEditMask("\\d\\d\\d");
  f.Show();
  f.Focus();
  f.Run(Typing("12"));
  PressKey(VK_TAB);
  PumpFor(150);
  ASSERT_EQ(1u, exceptions.Messages.size());
  EXPECT_EQ("The edit value is invalid", exceptions.Messages[0]);
  EXPECT_TRUE(f.edit->IsFocused());
  // The whole text is selected again: typed on at its end, it completes.
  EXPECT_EQ((TMaskState{"12", 0, 2}), f.State());
  f.Run({Key(VK_END), Typed('3')});
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return f.after->Focused(); }));
  EXPECT_EQ("123", VarToStr(f.edit->GetEditValueRef()));
}

} // namespace
