// The masked edit without a mask (the text edit unchanged), its settings
// and their checks, and the library strings it and the mask engines load.
#include "MaskEditTest.h"

#include "cxMaskConsts.h"

#include "Clipbrd.h"
#include "Locale.h"

#include <gtest/gtest.h>

std::vector<TMaskKey> Typing(const String& AText) {
  std::vector<TMaskKey> keys;
  for (char c : AText)
    keys.push_back(Typed(c));
  return keys;
}

std::ostream& operator<<(std::ostream& Stream, const TMaskState& State) {
  return Stream << '"' << State.Text << "\" [" << State.SelStart << ", " << State.SelLength << ']';
}

String MaskCaseName(const testing::TestParamInfo<TMaskCase>& Info) {
  String name;
  for (const char* p = Info.param.name; *p; ++p)
    if (isalnum(static_cast<unsigned char>(*p))) name += *p;
  return name;
}

TEST_P(TMaskTyping, KeysGiveTheTextAndSelection) {
  const TMaskCase& c = GetParam();
  FormatSettings.TimeSeparator = ':';
  TMaskForm f;
  f.edit->GetProperties()->SetMaskKind(c.kind);
  f.edit->GetProperties()->SetEditMask(c.mask);
  f.Show();
  f.Focus();
  f.Run(c.keys);
  EXPECT_EQ(c.expected, f.State());
}

namespace {

using guitest::kCtrl;
using guitest::kShift;
using guitest::PumpFor;
using guitest::PumpUntil;

const std::vector<TMaskKey> kUnmaskedSequences[] = {
    Typing("hello"),
    {Typed('a'), Typed('b'), Typed('c'), Key(VK_LEFT), Key(VK_BACK), Typed('x')},
    {Typed('a'), Typed('b'), Typed('c'), Key(VK_HOME), Key(VK_DELETE), Key(VK_END), Typed('d')},
    {Typed('o'), Typed('n'), Typed('e'), Typed(' '), Typed('t'), Typed('w'), Typed('o'), Key(VK_LEFT, kCtrl),
     Typed('_')},
    {Typed('a'), Typed('b'), Typed('c'), Key(VK_LEFT, kShift), Key(VK_LEFT, kShift), Key(VK_DELETE, kShift)},
    {Typed('a'), Typed('b'), Key(VK_UP), Key(VK_DOWN), Typed('c')},
};

TEST(MaskEdit, WithoutAMaskEveryKeyActsAsInTheTextEdit) {
  for (const std::vector<TMaskKey>& keys : kUnmaskedSequences) {
    std::vector<WORD> textUnhandled;
    TMaskFormOf<TcxTextEdit> text;
    text.edit->OnUnhandledKey = [&](TObject*, WORD& Key, TShiftState) { textUnhandled.push_back(Key); };
    text.Show();
    text.Focus();
    text.Run(keys);
    const TMaskState expected = text.State();
    text.form.reset();
    std::vector<WORD> maskUnhandled;
    TMaskForm masked;
    masked.edit->OnUnhandledKey = [&](TObject*, WORD& Key, TShiftState) { maskUnhandled.push_back(Key); };
    masked.Show();
    masked.Focus();
    masked.Run(keys);
    EXPECT_EQ(expected, masked.State());
    EXPECT_EQ(expected.Text, masked.edit->GetText());
    EXPECT_EQ(textUnhandled, maskUnhandled);
  }
}

TEST(MaskEdit, WithoutAMaskPastesKeepMaxLengthAndLookupDataIsThere) {
  TMaskForm f;
  TcxMaskEditProperties* props = f.edit->GetProperties();
  props->SetMaxLength(5);
  EXPECT_EQ(5, props->GetMaxLength());
  EXPECT_NE(nullptr, f.edit->GetLookupData());
  EXPECT_TRUE(props->HasLookupData());
  EXPECT_EQ(1, props->GetDisplayFormatOptions());
  f.edit->SetText("abc");
  f.Show();
  f.Focus();
  Clipboard()->SetAsText("12345");
  f.edit->SetSelection(3, 0);
  guitest::PressKey('V', kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() != "abc"; }));
  EXPECT_EQ((TMaskState{"abc12", 5, 0}), f.State());
  Variant display;
  props->EditValueToDisplayValue(Variant("x y"), display, false);
  EXPECT_EQ("x y", VarToStr(display));
}

TEST(MaskEdit, TheKindIsRegisteredAndItsEditorIsTheMaskEdit) {
  TcxRegisteredClasses* registry = EditPropertiesRegistry();
  const int index = registry->IndexOf(typeid(TcxMaskEditProperties));
  ASSERT_GE(index, 0);
  EXPECT_EQ("MaskEdit|Represents a generic masked edit control.", registry->GetDescription(index));
  TcxMaskEditProperties props(nullptr);
  EXPECT_TRUE(props.GetContainerClass().Type == typeid(TcxMaskEdit));
}

TEST(MaskEditProperties, StartWithTheirDefaults) {
  TcxMaskEditProperties props(nullptr);
  EXPECT_TRUE(props.GetCaseInsensitive());
  EXPECT_FALSE(props.IgnoreMaskBlank);
  EXPECT_EQ(emkStandard, props.GetMaskKind());
  EXPECT_EQ("", props.GetEditMask());
  EXPECT_TRUE(props.ValidateOnEnter);
  EXPECT_FALSE(props.GetFormatWhenUnfocused());
  EXPECT_FALSE(props.HasMask());
}

TEST(MaskEditProperties, BlankMasksAreNoMasks) {
  const struct {
    String mask;
    bool blank;
  } cases[] = {{"", true}, {" \t\r\n\f", true}, {String(1, '\0'), true}, {" 0 ", false}, {"_", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(c.blank, TcxCustomMaskEditProperties::IsMaskBlank(c.mask));
  }
}

TEST(MaskEditProperties, ABadExpressionIsRefusedWithItsErrorsAndTheOldMaskStays) {
  TcxMaskEditProperties props(nullptr);
  props.SetMaskKind(emkRegExpr);
  props.SetEditMask("\\d+");
  const struct {
    String mask;
    String message;
  } cases[] = {
      {"(a", "Regular expression errors:\r\nMissing ')'"},
      {"*", "Regular expression errors:\r\nLine1, Char1: Illegal quantifier '*'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    try {
      props.SetEditMask(c.mask);
      ADD_FAILURE() << "no error";
    } catch (const EcxMaskEditError& e) {
      EXPECT_EQ(c.message, e.Message);
    }
    EXPECT_EQ("\\d+", props.GetEditMask());
  }
}

TEST(MaskEditProperties, CaseConversionMakesTheMaskCaseInsensitive) {
  TcxMaskEditProperties props(nullptr);
  props.SetCaseInsensitive(false);
  EXPECT_FALSE(props.GetCaseInsensitive());
  props.SetCharCase(ecUpperCase);
  EXPECT_TRUE(props.GetCaseInsensitive());
  props.SetCaseInsensitive(false);
  EXPECT_TRUE(props.GetCaseInsensitive());
  props.SetCharCase(ecNormal);
  props.SetCaseInsensitive(false);
  EXPECT_FALSE(props.GetCaseInsensitive());
}

TEST(MaskEditProperties, AssignCopiesTheMaskSettings) {
  TcxMaskEditProperties source(nullptr);
  source.SetMaskKind(emkRegExprEx);
  source.SetEditMask("\\d\\d");
  source.SetCaseInsensitive(false);
  source.IgnoreMaskBlank = true;
  source.SetFormatWhenUnfocused(true);
  TcxMaskEditProperties target(nullptr);
  target.Assign(&source);
  EXPECT_EQ(emkRegExprEx, target.GetMaskKind());
  EXPECT_EQ("\\d\\d", target.GetEditMask());
  EXPECT_FALSE(target.GetCaseInsensitive());
  EXPECT_TRUE(target.IgnoreMaskBlank);
  EXPECT_TRUE(target.GetFormatWhenUnfocused());
}

TEST(MaskEdit, UnderAMaskMaxLengthIsZeroAndThereIsNoLookupData) {
  TMaskForm f;
  TcxMaskEditProperties* props = f.edit->GetProperties();
  props->SetMaxLength(4);
  props->SetEditMask("000");
  EXPECT_EQ(0, props->GetMaxLength());
  props->SetMaxLength(4);
  EXPECT_EQ(0, props->GetMaxLength());
  EXPECT_FALSE(props->HasLookupData());
  EXPECT_EQ(0, props->GetDisplayFormatOptions());
}

TEST(MaskEdit, AKindChangeBetweenPicturesAndExpressionsDropsTheMask) {
  TMaskForm f;
  TcxMaskEditProperties* props = f.edit->GetProperties();
  props->SetEditMask("000");
  props->SetMaskKind(emkRegExpr);
  EXPECT_EQ("", props->GetEditMask());
  props->SetEditMask("\\d+");
  props->SetMaskKind(emkRegExprEx);
  EXPECT_EQ("\\d+", props->GetEditMask());
  EXPECT_EQ(emkRegExprEx, f.edit->GetMode()->GetMaskKind());
  // Both changed together keep the new mask.
  props->BeginUpdate();
  props->SetMaskKind(emkStandard);
  props->SetEditMask("00-00");
  props->EndUpdate();
  EXPECT_EQ("00-00", props->GetEditMask());
  EXPECT_EQ(emkStandard, f.edit->GetMode()->GetMaskKind());
}

class TMaskRepositoryItem : public TcxEditRepositoryItem {
public:
  using TcxEditRepositoryItem::TcxEditRepositoryItem;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override {
    return std::make_unique<TcxMaskEditProperties>(this);
  }
  TcxMaskEditProperties* Props() { return static_cast<TcxMaskEditProperties*>(GetProperties()); }
};

TEST(MaskEdit, ARepositoryItemsMaskRulesTheKeysAndSetPropertiesStillReachesTheOwnSettings) {
  TMaskForm f;
  auto* item = new TMaskRepositoryItem(f.form.get());
  f.edit->SetRepositoryItem(item);
  item->Props()->SetEditMask("00-00");
  f.Show();
  f.Focus();
  f.Run(Typing("1234"));
  EXPECT_EQ("12-34", f.State().Text);
  TcxMaskEditProperties own(nullptr);
  own.SetEditMask("000");
  f.edit->SetProperties(&own);
  EXPECT_EQ("000", f.edit->GetProperties()->GetEditMask());
  EXPECT_EQ("00-00", f.edit->GetActiveProperties()->GetEditMask());
  EXPECT_EQ("00-00", f.edit->GetMode()->GetMaskText());
}

TEST(MaskEdit, AClickInAPictureMaskSelectsTheCharacterTypingOverwrites) {
  TMaskForm f;
  f.edit->GetProperties()->SetEditMask("000000");
  f.Show();
  f.Focus();
  f.Run(Typing("123456"));
  TWinControl* inner = f.edit->GetInnerEdit()->GetControl();
  guitest::ClickAt(inner->GetHandle(), 2, inner->GetHeight() / 2);
  ASSERT_TRUE(PumpUntil([&] { return f.State().SelStart == 0; }));
  PumpFor(30);
  EXPECT_EQ((TMaskState{"123456", 0, 1}), f.State());
  f.Run({Typed('9')});
  EXPECT_EQ((TMaskState{"923456", 1, 1}), f.State());
}

// The strings of the mask engines come from the string table under Windows.
// Text read from a form before its settings are whole is put under the mask
// once loading ends.
TEST(MaskEdit, LoadingEndsWithTheTextUnderTheMask) {
  const struct {
    TcxEditMaskKind kind;
    String mask;
    String read;
    String shown;
  } cases[] = {
      {emkStandard, "000-00;1;_", "12345", "123-45"},
      {emkRegExprEx, "\\d\\d:\\d\\d", "12", "12:"},
      {emkRegExpr, "\\d+", "12a3", "123"},
  };
  FormatSettings.TimeSeparator = ':';
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    TMaskForm f;
    f.edit->BeginLoading();
    f.edit->GetProperties()->SetMaskKind(c.kind);
    f.edit->GetProperties()->SetEditMask(c.mask);
    // The value as a form hands it over while loading.
    f.edit->ApplyDisplayValue(Variant(c.read));
    EXPECT_EQ(c.read, f.Inner()->GetText()) << "as read while loading";
    f.edit->Loaded();
    EXPECT_EQ(c.shown, f.Inner()->GetText());
  }
}

TEST(MaskEdit, TheMaskEnginesStringsComeFromTheStringTable) {
  const TcxResourceString strings[] = {
#define CX_MASK_STRING(Name, Id, Text) Name,
#include "cxMaskConsts.inc"
#undef CX_MASK_STRING
  };
  for (const TcxResourceString& s : strings) {
    SCOPED_TRACE(s.DefaultText);
    char buffer[512];
    const int length = LoadStringA(nullptr, s.Identifier, buffer, sizeof(buffer));
    EXPECT_EQ(String(s.DefaultText), String(buffer, length > 0 ? length : 0));
    EXPECT_EQ(String(s.DefaultText), cxGetResourceString(s));
  }
}

} // namespace
