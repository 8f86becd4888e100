// The spin edit item: its values, ranges and texts, its key filter and Up
// and Down, and its buttons held, left and released under real input.
#include "BarsTest.h"
#include "dxBarExtSpin.h"

#include "GuiTest.h"

#include "Forms.h"
#include "Locale.h"
#include "StdCtrls.h"

namespace {

class SpinEditTest : public EditingBarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      Spin = new TdxBarSpinEdit(m->GetOwnerForm());
      Spin->SetName("Spin1");
      Spin->SetCategory(0);
      Spin->SetWidth(120);
      AddLink(bar->GetItemLinks(), Spin);
    });
    ShowDocked(420, 200, 100);
  }

  TdxBarSpinEditControl* Control() const {
    return dynamic_cast<TdxBarSpinEditControl*>(Bar->GetItemLinks()->GetItem(0)->GetControl());
  }
  POINT ButtonPoint(TdxBarSpinEditButton button) const {
    const TRect b = Control()->GetButtonsRect();
    const int mid = (b.top + b.bottom) / 2;
    return POINT{(b.left + b.right) / 2, button == sbUp ? (b.top + mid) / 2 : (mid + b.bottom) / 2};
  }
  void ClickValue() {
    const TRect r = Bar->GetItemLinks()->GetItem(0)->ItemRect;
    guitest::ClickAt(Window->GetHandle(), r.left + 20, (r.top + r.bottom) / 2);
    guitest::PumpFor(30);
  }
  void MouseAt(POINT p, DWORD flags) {
    guitest::MouseEventAt(Window->GetHandle(), p.x, p.y, flags);
    guitest::PumpFor(30);
  }
  // A tick of the repeat timer, given by the test.
  void Tick() {
    SendMessageA(Control()->GetInPlaceWnd(), WM_TIMER, Control()->GetTimerId(), 0);
    guitest::PumpFor(10);
  }

  TdxBarSpinEdit* Spin = nullptr;
};

} // namespace

TEST_F(SpinEditTest, TextsAreConvertedClampedAndRefusedByTable) {
  struct Case {
    TdxBarSpinEditValueType Type;
    const char* Prefix;
    TdxBarSpinEditPrefixPlace Place;
    double Min, Max;
    const char* Input;
    const char* Text;
  } cases[] = {
      {svtInteger, "", ppEnd, 0, 0, "12", "12"},
      {svtInteger, "", ppEnd, 0, 0, "-40000", "-40000"}, // no range: any number
      {svtInteger, "", ppEnd, 0, 0, "12.7", "7"},        // not an integer: refused
      {svtInteger, "", ppEnd, 0, 0, "abc", "7"},         // letters: refused
      {svtInteger, "%", ppEnd, 0, 0, "12", "12%"},
      {svtInteger, "%", ppEnd, 0, 0, "30%", "30%"},
      {svtInteger, "$", ppStart, 0, 0, "$5", "$5"},
      {svtInteger, "", ppEnd, 1, 10, "25", "10"},
      {svtInteger, "", ppEnd, 1, 10, "-3", "1"},
      {svtFloat, "", ppEnd, 0, 0, "2.5", "2.5"},
      {svtFloat, " cm", ppEnd, 0, 5, "7.25 cm", "5 cm"},
      {svtFloat, "", ppEnd, -1, 1, "-0.125", "-0.125"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Input);
    Spin->SetValueType(svtFloat);
    Spin->SetMinValue(0);
    Spin->SetMaxValue(0);
    Spin->SetPrefix("");
    Spin->SetText("7");
    Spin->SetValueType(c.Type);
    Spin->SetPrefixPlace(c.Place);
    Spin->SetPrefix(c.Prefix);
    Spin->SetMaxValue(c.Max);
    Spin->SetMinValue(c.Min);
    const String seven = Spin->GetText();
    Spin->SetText(c.Input);
    const String expected = String(c.Text) == "7" ? seven : String(c.Text);
    EXPECT_EQ(Spin->GetText(), expected);
  }
}

TEST_F(SpinEditTest, RangeAndTypeSettersKeepTheValuesInOrder) {
  // MinValue 1 then MaxValue 0: the maximum follows up and every value reads 1.
  Spin->SetMinValue(1);
  EXPECT_EQ(Spin->GetMaxValue(), 1);
  Spin->SetMaxValue(0);
  EXPECT_EQ(Spin->GetMinValue(), 0) << "a maximum below the minimum pulls it down";
  Spin->SetMinValue(1);
  Spin->SetMaxValue(1);
  for (const char* text : {"0", "1", "99", "-5"}) {
    Spin->SetText(text);
    EXPECT_EQ(Spin->GetText(), "1") << text;
  }

  // Float to integer truncates the increment, the range and the value.
  Spin->SetMaxValue(100);
  Spin->SetMinValue(0);
  Spin->SetValueType(svtFloat);
  Spin->SetIncrement(0.5);
  Spin->SetMinValue(-2.75);
  Spin->SetMaxValue(9.5);
  Spin->SetValue(3.9);
  EXPECT_EQ(Spin->GetText(), "3.9");
  Spin->SetValueType(svtInteger);
  EXPECT_EQ(Spin->GetIncrement(), 1) << "0.5 becomes 1";
  EXPECT_EQ(Spin->GetMinValue(), -2);
  EXPECT_EQ(Spin->GetMaxValue(), 9);
  EXPECT_EQ(Spin->GetText(), "3");

  for (double bad : {0.0, -3.0}) {
    Spin->SetIncrement(bad);
    EXPECT_EQ(Spin->GetIncrement(), 1) << bad;
  }
}

TEST_F(SpinEditTest, FloatTextsUseTheLocaleDecimalSeparator) {
  const char saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = ',';
  Spin->SetValueType(svtFloat);
  Spin->SetText("1,5");
  EXPECT_EQ(Spin->GetText(), "1,5");
  EXPECT_DOUBLE_EQ(Spin->GetValue(), 1.5);
  Spin->SetText("2.5");
  EXPECT_EQ(Spin->GetText(), "1,5") << "a point is not the separator here";
  FormatSettings.DecimalSeparator = saved;
}

TEST_F(SpinEditTest, TypedCharactersAreFilteredAndUpDownStep) {
  Spin->SetMinValue(-10);
  Spin->SetMaxValue(10);
  ClickValue();
  ASSERT_TRUE(Control()->GetFocused());
  SendMessageA(Control()->GetInPlaceWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  guitest::TypeText("-1a2.x");
  guitest::PumpFor(40);
  EXPECT_EQ(Control()->GetText(), "-12") << "letters and the point are dropped for integers";

  SendMessageA(Control()->GetInPlaceWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("3"));
  int clicks = 0;
  TdxBarSpinEditButton last = sbNone;
  Spin->OnButtonClick = [&](TObject*, TdxBarSpinEditButton b) {
    ++clicks;
    last = b;
  };
  guitest::PressKey(VK_UP);
  guitest::PumpFor(40);
  EXPECT_EQ(Control()->GetText(), "4");
  EXPECT_EQ(last, sbUp);
  guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_DOWN);
  guitest::PumpFor(40);
  EXPECT_EQ(Control()->GetText(), "2");
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(Control()->GetPressedButton(), sbNone) << "the key's release lets the button go";
  EXPECT_EQ(Spin->GetText(), "0") << "Text changes only when the edit is applied";
  guitest::PressKey(VK_RETURN);
  guitest::PumpFor(40);
  EXPECT_EQ(Spin->GetText(), "2");

  // A minimum of 0 or more takes no minus sign.
  Spin->SetMinValue(0);
  ClickValue();
  SendMessageA(Control()->GetInPlaceWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  guitest::TypeText("-5");
  guitest::PumpFor(40);
  EXPECT_EQ(Control()->GetText(), "5");
}

TEST_F(SpinEditTest, HoldingAButtonRepeatsWhileOnItAndStopsOnRelease) {
  // A long double-click time: the first repeat never comes by itself here;
  // the test gives the ticks.
  const UINT savedTime = GetDoubleClickTime();
  SetDoubleClickTime(5000);
  Window->Repaint();
  guitest::PumpFor(20);
  ASSERT_GT(Control()->GetButtonsRect().Width(), 0);

  MouseAt(ButtonPoint(sbUp), MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(Spin->GetCurValue(), 1) << "one step at once";
  EXPECT_EQ(Control()->GetPressedButton(), sbUp);
  EXPECT_TRUE(Control()->GetPressedLook());
  EXPECT_EQ(Control()->GetTimerId(), 1u);
  EXPECT_EQ(GetCapture(), Control()->GetInPlaceWnd());

  Tick(); // the first delay is over: the 100 ms timer follows, no step yet
  EXPECT_EQ(Control()->GetTimerId(), 2u);
  EXPECT_EQ(Spin->GetCurValue(), 1);
  KillTimer(Control()->GetInPlaceWnd(), 2); // only the test's ticks from here
  Tick();
  Tick();
  EXPECT_EQ(Spin->GetCurValue(), 3) << "a step per tick";

  MouseAt(ButtonPoint(sbDown), 0); // off the held button: paused
  EXPECT_FALSE(Control()->GetPressedLook());
  Tick();
  EXPECT_EQ(Spin->GetCurValue(), 3);
  EXPECT_EQ(Control()->GetPressedButton(), sbUp) << "not released";
  MouseAt(ButtonPoint(sbUp), 0);
  EXPECT_TRUE(Control()->GetPressedLook());
  Tick();
  EXPECT_EQ(Spin->GetCurValue(), 4);

  MouseAt(ButtonPoint(sbUp), MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Control()->GetTimerId(), 0u);
  EXPECT_EQ(Control()->GetPressedButton(), sbNone);
  EXPECT_NE(GetCapture(), Control()->GetInPlaceWnd());
  EXPECT_TRUE(Control()->GetFocused()) << "still editing";
  EXPECT_EQ(Spin->GetCurValue(), 4);

  // Enter applies the value; a press on the down button steps down from it,
  // and losing the capture stops the repeat.
  guitest::PressKey(VK_RETURN);
  guitest::PumpFor(40);
  EXPECT_EQ(Spin->GetText(), "4");
  MouseAt(ButtonPoint(sbDown), MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(Spin->GetCurValue(), 3);
  ReleaseCapture();
  guitest::PumpFor(20);
  EXPECT_EQ(Control()->GetTimerId(), 0u);
  EXPECT_EQ(Control()->GetPressedButton(), sbNone);
  MouseAt(ButtonPoint(sbDown), MOUSEEVENTF_LEFTUP);
  SetDoubleClickTime(savedTime);
}

TEST_F(SpinEditTest, ReadOnlyButtonsDoNothing) {
  Spin->ReadOnly = true;
  Window->Repaint();
  guitest::PumpFor(20);
  MouseAt(ButtonPoint(sbUp), MOUSEEVENTF_LEFTDOWN);
  MouseAt(ButtonPoint(sbUp), MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Spin->GetCurValue(), 0);
  EXPECT_EQ(Control()->GetTimerId(), 0u);
}

// The pixels of the two buttons in the looks that draw them differently.
TEST_F(SpinEditTest, ButtonsAreDrawnInEachLook) {
  struct Case {
    TdxBarManagerStyle Style;
    const char* Name;
  } cases[] = {{bmsStandard, "standard"}, {bmsFlat, "flat"}, {bmsOffice11, "office11"}, {bmsXP, "xp"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Manager->SetStyle(c.Style);
    guitest::PumpFor(30);
    Window->Repaint();
    const TRect b = Control()->GetButtonsRect();
    ASSERT_GT(b.Width(), 0);
    guitest::TCapture shot = guitest::TCapture::Paint(Window->GetHandle());
    shot.SavePng(String("bars_spin_") + c.Name);
    const int mid = (b.top + b.bottom) / 2;
    const TRect upper(b.left, b.top, b.right, mid), lower(b.left, mid, b.right, b.bottom);
    if (c.Style == bmsXP) {
      // The style's spin parts: something drawn in both halves.
      EXPECT_LT(shot.CountPixels(upper, shot.Pixel(b.left, b.top)), upper.Width() * upper.Height());
      continue;
    }
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    EXPECT_GT(shot.CountPixels(upper, text), 2) << "the up arrow";
    EXPECT_GT(shot.CountPixels(lower, text), 2) << "the down arrow";
    // The up arrow narrows upward: its top row has fewer pixels than its base.
    int top = -1, base = -1;
    for (int y = upper.top; y < upper.bottom; ++y) {
      const int n = shot.CountPixels(TRect(b.left, y, b.right, y + 1), text);
      if (n > 0 && top < 0) top = n;
      if (n > 0) base = n;
    }
    EXPECT_LT(top, base);
  }
}
