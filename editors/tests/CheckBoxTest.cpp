// The check box: values to states and back, the settings' writers, the
// caption following the name, states read while loading, toggles by real
// input (click, Space, the accelerator) and the control painted in each
// look with the visual style on and off.
#include "cxCheckBox.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

// A form with an edit and a check box under it.
struct TCheckForm {
  explicit TCheckForm(const TLook& ALook = kLooks[0]) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(80, 80, 320, 200);
    form->SetColor(clBtnFace);
    form->GetFont()->SetName("Tahoma");
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 120, 21);
    box = new TcxCheckBox(form.get());
    box->SetName("box");
    box->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
    box->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
    box->GetProperties()->SetCaption("&Check me");
    box->SetBounds(10, 50, 160, 21);
    box->SetParent(form.get());
    box->OnClick = [this](TObject*) { ++clicks; };
    box->GetProperties()->OnChange = [this](TObject*) { ++changes; };
    form->Show();
    form->Update();
    guitest::PumpFor(20);
  }
  HWND Wnd() const { return box->GetHandle(); }
  TPoint Center() const { return TPoint(box->GetWidth() / 2, box->GetHeight() / 2); }
  std::unique_ptr<TForm> form;
  TEdit* edit;
  TcxCheckBox* box;
  int clicks = 0;
  int changes = 0;
};

void SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(INPUT));
}

// Pixels darker than any face or window colour inside the check,
// off its frame: the mark.
int MarkPixels(const guitest::TCapture& ACapture, const TRect& ACheck) {
  int n = 0;
  for (int y = ACheck.top + 3; y < ACheck.bottom - 3; ++y)
    for (int x = ACheck.left + 3; x < ACheck.right - 3; ++x) {
      const COLORREF c = ACapture.Pixel(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0xC0) ++n;
    }
  return n;
}

TRect CheckRectInForm(TcxCheckBox* ABox) {
  TRect r = ABox->GetViewInfo()->CheckRect;
  OffsetRect(&r, ABox->GetLeft(), ABox->GetTop());
  return r;
}

// ---- Values and states ----

TEST(CheckBox, EditValuesMapToStatesByVariantEquality) {
  TcxCheckBox box(nullptr);
  const struct {
    Variant checked, unchecked, value;
    TcxCheckBoxState state;
  } kCases[] = {
      {"D", "N", "D", cbsChecked},
      {"D", "N", "N", cbsUnchecked},
      {"D", "N", "X", cbsGrayed},
      {"D", "N", Null(), cbsGrayed},
      {true, false, true, cbsChecked},
      {true, false, "True", cbsChecked},
      {true, false, "False", cbsUnchecked},
      {true, false, 5, cbsGrayed},
      {1, 0, 1, cbsChecked},
      {1, 0, 0, cbsUnchecked},
  };
  for (const auto& c : kCases) {
    box.GetProperties()->SetValueChecked(c.checked);
    box.GetProperties()->SetValueUnchecked(c.unchecked);
    box.SetEditValue(c.value);
    EXPECT_EQ(c.state, box.GetState()) << c.value.AsString();
    EXPECT_EQ(c.state == cbsChecked, box.GetChecked());
  }
}

TEST(CheckBox, StatesWriteTheirValues) {
  TcxCheckBox box(nullptr);
  EXPECT_EQ(Variant(false), box.GetEditValueRef());
  EXPECT_EQ(cbsUnchecked, box.GetState());
  box.GetProperties()->SetValueChecked("D");
  box.GetProperties()->SetValueUnchecked("N");
  EXPECT_EQ(Variant("N"), box.GetEditValueRef()) << "the edit value follows the unchecked value";
  box.SetChecked(true);
  EXPECT_EQ(Variant("D"), box.GetEditValueRef());
  box.GetProperties()->SetValueChecked("Y");
  EXPECT_TRUE(box.GetChecked()) << "a changed value keeps the visible state";
  EXPECT_EQ(Variant("Y"), box.GetEditValueRef());
  box.SetState(cbsGrayed);
  EXPECT_TRUE(box.GetEditValueRef().IsNull());
  Variant value = 1;
  box.MakeEditValue(7, value, false);
  EXPECT_TRUE(value.IsEmpty()) << "no state, no value";
}

TEST(CheckBox, ValueWritersIgnoreNullAndAnotherStatesValue) {
  TcxCheckBoxProperties props(nullptr);
  props.SetValueChecked(Null());
  props.SetValueChecked(false);
  EXPECT_EQ(Variant(true), props.GetValueChecked());
  props.SetValueUnchecked(Null());
  props.SetValueUnchecked(true);
  EXPECT_EQ(Variant(false), props.GetValueUnchecked());
  props.SetValueGrayed(true);
  EXPECT_TRUE(props.GetValueGrayed().IsNull());
  props.SetValueGrayed("G");
  EXPECT_EQ(Variant("G"), props.GetValueGrayed());
  props.SetValueGrayed(Null());
  EXPECT_TRUE(props.GetValueGrayed().IsNull());
  // The same type is asked: the string "True" is no Boolean True.
  props.SetValueUnchecked("True");
  EXPECT_EQ(Variant("True"), props.GetValueUnchecked());
}

TEST(CheckBox, AssignCopiesTheKindButNotTheCaptionAndSkipsClashingValues) {
  TcxCheckBoxProperties source(nullptr);
  source.AllowGrayed = true;
  source.SetCaption("Source");
  source.DisplayChecked = "Yes";
  source.SetValueChecked("N");
  source.SetValueUnchecked("Z");
  source.SetNullStyle(nssInactive);
  TcxCheckBoxProperties target(nullptr);
  target.SetValueUnchecked("N");
  target.Assign(&source);
  EXPECT_TRUE(target.AllowGrayed);
  EXPECT_EQ(nssInactive, target.GetNullStyle());
  EXPECT_EQ("", target.GetCaption());
  EXPECT_EQ("True", target.DisplayChecked);
  EXPECT_EQ(Variant(true), target.GetValueChecked()) << "N was the target's unchecked value";
  EXPECT_EQ(Variant("Z"), target.GetValueUnchecked());
}

TEST(CheckBox, DisplayTextsComeFromTheLibraryStrings) {
  TcxCheckBoxProperties props(nullptr);
  const struct {
    Variant value;
    const char* text;
  } kCases[] = {{true, "True"}, {false, "False"}, {Null(), ""}};
  for (const auto& c : kCases) {
    String text = "x";
    props.EditValueToDisplayText(c.value, false, text);
    EXPECT_EQ(c.text, text);
  }
  Variant valid = "other";
  EXPECT_FALSE(props.IsEditValueValid(valid, false));
  valid = Null();
  EXPECT_TRUE(props.IsEditValueValid(valid, false)) << "the grayed value";
  EXPECT_EQ(85, props.GetCapabilities());
}

TEST(CheckBox, TheKindIsRegistered) {
  TcxRegisteredClasses* registry = EditPropertiesRegistry();
  const int index = registry->IndexOf(typeid(TcxCheckBoxProperties));
  ASSERT_GE(index, 0);
  EXPECT_EQ("CheckBox|Represents a check box control that allows selecting an option",
            registry->GetDescription(index));
}

TEST(CheckBox, TheCaptionFollowsTheNameUntilSet) {
  TcxCheckBox box(nullptr);
  box.SetName("first");
  EXPECT_EQ("first", box.GetProperties()->GetCaption());
  box.SetName("second");
  EXPECT_EQ("second", box.GetProperties()->GetCaption());
  box.GetProperties()->SetCaption("Mine");
  box.SetName("third");
  EXPECT_EQ("Mine", box.GetProperties()->GetCaption());
}

TEST(CheckBox, AStateReadWhileLoadingClicksNot) {
  TCheckForm f;
  f.box->BeginLoading();
  f.box->GetProperties()->SetValueChecked("D");
  f.box->GetProperties()->SetValueUnchecked("N");
  f.box->SetChecked(true);
  f.box->Loaded();
  EXPECT_EQ(0, f.clicks);
  EXPECT_EQ(0, f.changes);
  EXPECT_EQ(Variant("D"), f.box->GetEditValueRef());
  f.box->SetChecked(false);
  EXPECT_EQ(1, f.clicks);
  EXPECT_EQ(1, f.changes);
  f.box->SetChecked(false);
  EXPECT_EQ(1, f.clicks) << "no change, no click";
}

// ---- Toggles by real input ----

TEST(CheckBoxInput, ClicksCycleTheStates) {
  const struct {
    bool allowGrayed;
    TcxCheckBoxState start;
    std::vector<TcxCheckBoxState> states;
  } kCases[] = {
      {false, cbsUnchecked, {cbsChecked, cbsUnchecked}},
      {false, cbsGrayed, {cbsChecked, cbsUnchecked}},
      {true, cbsUnchecked, {cbsGrayed, cbsChecked, cbsUnchecked}},
  };
  for (const auto& c : kCases) {
    TCheckForm f;
    f.box->GetProperties()->AllowGrayed = c.allowGrayed;
    f.box->SetState(c.start);
    f.clicks = f.changes = 0;
    int expected = 0;
    for (TcxCheckBoxState state : c.states) {
      guitest::ClickControl(f.box);
      EXPECT_TRUE(guitest::PumpUntil([&] { return f.box->GetState() == state; })) << state;
      EXPECT_EQ(++expected, f.clicks);
      EXPECT_EQ(expected, f.changes);
    }
  }
}

TEST(CheckBoxInput, APressReleasedOutsideTogglesNot) {
  TCheckForm f;
  const TPoint p = f.Center();
  guitest::MouseEventAt(f.Wnd(), p.x, p.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->GetViewInfo()->CheckButtonState == cbsPressedState; }));
  guitest::MouseEventAt(f.Wnd(), p.x, f.box->GetHeight() + 40, 0);
  guitest::MouseEventAt(f.Wnd(), p.x, f.box->GetHeight() + 40, MOUSEEVENTF_LEFTUP);
  guitest::PumpFor(100);
  EXPECT_FALSE(f.box->GetChecked());
  EXPECT_EQ(0, f.clicks);
}

TEST(CheckBoxInput, SpaceShowsThePressedCheckAndTogglesOnceOnRelease) {
  TCheckForm f;
  f.box->SetFocus();
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->IsFocused(); }));
  SendKey(VK_SPACE, false);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->IsSpacePressed(); }));
  SendKey(VK_SPACE, false); // the key repeats
  guitest::PumpFor(50);
  EXPECT_EQ(cbsPressedState, f.box->GetViewInfo()->CheckButtonState);
  // Moving the mouse away does not cancel.
  guitest::MouseEventAt(f.Wnd(), f.Center().x, f.Center().y, 0);
  guitest::MouseEventAt(f.Wnd(), 300, -40, 0);
  guitest::PumpFor(50);
  EXPECT_EQ(cbsPressedState, f.box->GetViewInfo()->CheckButtonState);
  EXPECT_FALSE(f.box->GetChecked());
  const guitest::TCapture pressed = guitest::TCapture::Paint(f.form->GetHandle());
  SendKey(VK_SPACE, true);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->GetChecked(); }));
  guitest::PumpFor(50);
  EXPECT_FALSE(f.box->IsSpacePressed());
  EXPECT_EQ(1, f.clicks);
  EXPECT_NE(cbsPressedState, f.box->GetViewInfo()->CheckButtonState);
  const guitest::TCapture released = guitest::TCapture::Paint(f.form->GetHandle());
  const TRect check = CheckRectInForm(f.box);
  EXPECT_EQ(0, MarkPixels(pressed, check));
  EXPECT_GT(MarkPixels(released, check), 4);
}

TEST(CheckBoxInput, TheAcceleratorFocusesAndToggles) {
  TCheckForm f;
  f.edit->SetFocus();
  guitest::PumpFor(20);
  guitest::PressKey('C', guitest::kAlt);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->GetChecked(); }));
  EXPECT_TRUE(f.box->IsFocused());
  EXPECT_EQ(1, f.clicks);
  guitest::PressKey('X', guitest::kAlt);
  guitest::PumpFor(50);
  EXPECT_TRUE(f.box->GetChecked()) << "another letter";
}

TEST(CheckBoxInput, ARefusedToggleChangesNothing) {
  const struct {
    bool readOnly;
    bool editing;
  } kCases[] = {{true, true}, {false, false}};
  for (const auto& c : kCases) {
    TCheckForm f;
    f.box->GetProperties()->SetReadOnly(c.readOnly);
    f.box->OnEditing = [&](TObject*, bool& CanEdit) { CanEdit = c.editing; };
    guitest::ClickControl(f.box);
    guitest::PumpFor(100);
    EXPECT_FALSE(f.box->GetChecked());
    EXPECT_EQ(0, f.clicks);
    EXPECT_EQ(0, f.changes);
  }
}

TEST(CheckBoxInput, ImmediatePostPostsTheToggle) {
  TCheckForm f;
  f.box->GetProperties()->ImmediatePost = true;
  int valueChanges = 0;
  f.box->GetProperties()->OnEditValueChanged = [&](TObject*) { ++valueChanges; };
  guitest::ClickControl(f.box);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->GetChecked(); }));
  EXPECT_EQ(1, valueChanges);
  EXPECT_TRUE(f.box->GetModified());
}

// ---- Size and layout ----

TEST(CheckBox, LayoutPlacesTheCheckByAlignment) {
  TCheckForm f;
  f.box->SetAutoSize(false);
  f.box->SetHeight(30);
  TcxCustomCheckBoxViewInfo* info = f.box->GetViewInfo();
  const struct { TAlignment alignment; } kCases[] = {{taLeftJustify}, {taRightJustify}, {taCenter}};
  for (const auto& c : kCases) {
    f.box->GetProperties()->GetAlignment()->SetHorz(c.alignment);
    guitest::PumpFor(20);
    const TRect& check = info->CheckRect;
    EXPECT_EQ(info->ClientRect.top + (info->ClientRect.Height() - check.Height()) / 2, check.top);
    switch (c.alignment) {
    case taLeftJustify:
      EXPECT_EQ(info->ClientRect.left + 2, check.left);
      EXPECT_EQ(check.right + 3, info->TextRect.left);
      break;
    case taRightJustify:
      EXPECT_EQ(info->ClientRect.right - 2, check.right);
      EXPECT_EQ(check.left - 3, info->TextRect.right);
      break;
    case taCenter:
      EXPECT_NEAR((check.left + check.right) / 2, f.box->GetWidth() / 2, 1);
      EXPECT_TRUE(IsRectEmpty(&info->FocusRect));
      break;
    }
  }
}

TEST(CheckBox, AutoSizeFitsTheCheckAndTheCaption) {
  TCheckForm f;
  f.box->SetHeight(60);
  guitest::PumpFor(20);
  TcxCanvas* canvas = f.box->GetcxCanvas();
  canvas->SetFont(f.box->GetStyle()->GetFont());
  const int text = canvas->TextHeight("Zg") + 4;
  EXPECT_EQ(std::max(CheckBoxHeight + 4, text), f.box->GetViewInfo()->ClientRect.Height());
  EXPECT_LT(f.box->GetHeight(), 30);
}

// ---- Painting ----

// Every look with and without the style, in each state, by pixels: the mark
// of a checked box, none in an unchecked one, a mark in a grayed one unless
// its null style shows it unchecked.
void PaintStates(const char* suffix) {
  for (const TLook& look : kLooks) {
    TCheckForm f(look);
    f.form->SetBounds(80, 80, 360, 260);
    f.box->SetParent(nullptr);
    f.edit->SetParent(nullptr);
    const struct {
      TcxCheckBoxState state;
      TcxCheckBoxNullValueShowingStyle nullStyle;
      bool enabled;
      bool marked;
    } kCases[] = {
        {cbsUnchecked, nssGrayedChecked, true, false},  {cbsChecked, nssGrayedChecked, true, true},
        {cbsGrayed, nssGrayedChecked, true, true},      {cbsGrayed, nssUnchecked, true, false},
        {cbsGrayed, nssInactive, true, false},          {cbsChecked, nssGrayedChecked, false, true},
        {cbsUnchecked, nssGrayedChecked, false, false},
    };
    std::vector<TcxCheckBox*> boxes;
    int top = 8;
    for (const auto& c : kCases) {
      auto* box = new TcxCheckBox(f.form.get());
      box->GetStyle()->GetLookAndFeel()->SetKind(look.kind);
      box->GetStyle()->GetLookAndFeel()->SetNativeStyle(look.native);
      box->GetProperties()->SetCaption("State");
      box->GetProperties()->SetNullStyle(c.nullStyle);
      box->SetBounds(8, top, 140, 21);
      box->SetState(c.state);
      box->SetEnabled(c.enabled);
      box->SetParent(f.form.get());
      boxes.push_back(box);
      top += 24;
    }
    auto* focused = new TcxCheckBox(f.form.get());
    focused->GetProperties()->SetCaption("Focused");
    focused->SetBounds(180, 8, 140, 21);
    focused->SetParent(f.form.get());
    focused->SetChecked(true);
    focused->SetFocus();
    guitest::PumpFor(50);
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    for (size_t i = 0; i < boxes.size(); ++i) {
      const int marks = MarkPixels(capture, CheckRectInForm(boxes[i]));
      // A disabled mark is drawn in the grey of the disabled text.
      if (!kCases[i].enabled) continue;
      EXPECT_EQ(kCases[i].marked, marks > 4) << look.name << " " << i << " " << marks;
    }
    TRect focus = focused->GetViewInfo()->FocusRect;
    EXPECT_FALSE(IsRectEmpty(&focus)) << look.name;
    EXPECT_GT(focus.Width(), 20);
    capture.SavePng(String("checkbox-") + look.name + suffix);
  }
}

TEST(CheckBoxPaint, EveryLookWithTheStyleOn) {
  PaintStates("-style-on");
}

TEST(CheckBoxPaintStyleOff, EveryLookWithTheStyleOff) {
  PaintStates("-style-off");
}

TEST(CheckBoxPaint, TheGlyphStripGivesTheSizeAndTheColumn) {
  TCheckForm f;
  TBitmap strip;
  strip.SetSize(60, 12);
  TcxCanvas canvas(strip.GetCanvas());
  const TColor kColumns[6] = {clRed, clLime, clBlue, clYellow, clAqua, clFuchsia};
  for (int i = 0; i < 6; ++i)
    canvas.FillRect(TRect(i * 10, 0, i * 10 + 10, 12), kColumns[i]);
  strip.SetTransparentColor(clBlack);
  f.box->GetProperties()->SetGlyph(&strip);
  guitest::PumpFor(20);
  TcxCustomCheckBoxViewInfo* info = f.box->GetViewInfo();
  EXPECT_TRUE(info->HasGlyph);
  EXPECT_EQ(10, info->CheckRect.Width());
  EXPECT_EQ(12, info->CheckRect.Height());
  for (TcxCheckBoxState state : {cbsUnchecked, cbsChecked, cbsGrayed}) {
    f.box->SetState(state);
    guitest::PumpFor(20);
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    const TRect check = CheckRectInForm(f.box);
    EXPECT_EQ(RGBOf(kColumns[state]), capture.Pixel(check.left + 5, check.top + 6)) << state;
  }
  f.box->GetProperties()->SetGlyphCount(0);
  guitest::PumpFor(20);
  EXPECT_FALSE(info->HasGlyph) << "no columns: the standard check";
  EXPECT_EQ(CheckBoxWidth, info->CheckRect.Width());
}

TEST(CheckBoxInput, TheCheckIsHotUnderTheMouseAndDisabledWithTheControl) {
  TCheckForm f(kLooks[3]);
  guitest::MouseEventAt(f.Wnd(), 200, 150, 0);
  guitest::PumpFor(30);
  EXPECT_EQ(cbsNormalState, f.box->GetViewInfo()->CheckButtonState);
  guitest::MouseEventAt(f.Wnd(), f.Center().x, f.Center().y, 0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->GetViewInfo()->CheckButtonState == cbsHotState; }));
  f.box->SetEnabled(false);
  guitest::PumpFor(20);
  EXPECT_EQ(cbsDisabledState, f.box->GetViewInfo()->CheckButtonState);
}

TEST(CheckBoxPaint, OnlyTheCheckIsRepaintedWhenItsLookChanges) {
  TCheckForm f;
  TcxCustomCheckBoxViewInfo* info = f.box->GetViewInfo();
  TcxCustomCheckBoxViewInfo prev;
  prev.Assign(info);
  std::unique_ptr<TcxRegion> same = info->GetUpdateRegion(&prev);
  RECT box;
  EXPECT_EQ(NULLREGION, GetRgnBox(same->GetHandle(), &box));
  prev.CheckButtonState = cbsPressedState;
  std::unique_ptr<TcxRegion> changed = info->GetUpdateRegion(&prev);
  ASSERT_NE(NULLREGION, GetRgnBox(changed->GetHandle(), &box));
  EXPECT_EQ(info->CheckRect, TRect(box));
}

// The themed check of every state looks different under the mouse.
TEST(CheckBoxPaint, TheNativeCheckIsHotUnderTheMouse) {
  TCheckForm f(kLooks[3]);
  for (TcxCheckBoxState state : {cbsUnchecked, cbsChecked, cbsGrayed}) {
    f.box->SetState(state);
    guitest::MouseEventAt(f.Wnd(), 200, 150, 0);
    ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->GetViewInfo()->CheckButtonState == cbsNormalState; }));
    const guitest::TCapture normal = guitest::TCapture::Paint(f.form->GetHandle());
    guitest::MouseEventAt(f.Wnd(), f.Center().x, f.Center().y, 0);
    ASSERT_TRUE(guitest::PumpUntil([&] { return f.box->GetViewInfo()->CheckButtonState == cbsHotState; }));
    const guitest::TCapture hot = guitest::TCapture::Paint(f.form->GetHandle());
    const TRect check = CheckRectInForm(f.box);
    int differing = 0;
    for (int y = check.top; y < check.bottom; ++y)
      for (int x = check.left; x < check.right; ++x)
        if (normal.Pixel(x, y) != hot.Pixel(x, y)) ++differing;
    EXPECT_GT(differing, 10) << state;
  }
}

} // namespace
