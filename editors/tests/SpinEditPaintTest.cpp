// The spin edit's buttons as its own layout places them, painted in each
// look with the visual style on (this process) and off (the child), read
// back by pixels and saved as PNG.
#include "PaintTest.h"

#include "cxSpinEdit.h"

#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const TcxSpinEditButtonsPosition kLayouts[] = {sbpHorzLeftRight, sbpHorzRight, sbpVert};

struct TSpinForm {
  explicit TSpinForm(const TLook& ALook) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 420, 200);
    form->SetColor(clBtnFace);
    int top = 8;
    for (TcxSpinEditButtonsPosition layout : kLayouts)
      for (bool fast : {false, true}) {
        auto* edit = new TcxSpinEdit(form.get());
        edit->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
        edit->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
        edit->GetProperties()->GetSpinButtons()->SetPosition(layout);
        edit->GetProperties()->GetSpinButtons()->SetShowFastButtons(fast);
        edit->SetBounds(fast ? 200 : 8, top, 180, 21);
        edit->SetParent(form.get());
        edit->AfterConstruction();
        edits.push_back(edit);
        if (fast) top += 28;
      }
    disabled = new TcxSpinEdit(form.get());
    disabled->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
    disabled->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
    disabled->SetBounds(8, top, 180, 21);
    disabled->SetParent(form.get());
    disabled->AfterConstruction();
    disabled->SetEnabled(false);
    // The focus stays away from the spin edits: a focused flat editor shows
    // its buttons raised.
    auto* other = new TEdit(form.get());
    other->SetBounds(200, top, 100, 21);
    other->SetParent(form.get());
    // Nor is the pointer over them: a hot flat editor raises its buttons too.
    SetCursorPos(1270, 1010);
    form->Show();
    other->SetFocus();
    form->Update();
    guitest::PumpUntil([other] { return other->Focused(); }, 2000);
    guitest::PumpFor(50);
  }
  std::unique_ptr<TForm> form;
  std::vector<TcxSpinEdit*> edits;
  TcxSpinEdit* disabled;
};

// The colours across a row of the capture from ALeft to ARight (exclusive),
// each run of one colour once.
std::vector<COLORREF> Runs(const guitest::TCapture& ACapture, int ALeft, int ARight, int AY) {
  std::vector<COLORREF> runs;
  for (int x = ALeft; x < ARight; ++x)
    if (runs.empty() || runs.back() != ACapture.Pixel(x, AY)) runs.push_back(ACapture.Pixel(x, AY));
  return runs;
}

std::vector<COLORREF> RGBs(const std::vector<TColor>& AColors) {
  std::vector<COLORREF> result;
  for (TColor c : AColors)
    result.push_back(RGBOf(c));
  return result;
}

// Each classic look's button, across its second row (edges and face) and
// across its middle row (through the arrows), the same in every layout and
// for the fast buttons. The style-less native look draws as the standard.
struct TClassicButton {
  const char* look;
  std::vector<TColor> edge;
  std::vector<TColor> middle;
};

const TClassicButton kClassicButtons[] = {
    {"standard",
     {cl3DLight, clBtnHighlight, clBtnShadow, cl3DDkShadow},
     {cl3DLight, clBtnHighlight, clBtnFace, clBtnText, clBtnFace, clBtnShadow, cl3DDkShadow}},
    {"flat",
     {clBtnFace, clBtnHighlight, clBtnFace, clBtnShadow},
     {clBtnFace, clBtnHighlight, clBtnFace, clBtnText, clBtnFace, clBtnShadow}},
    {"ultraflat", {clWindow, clBtnFace, clWindow}, {clWindow, clBtnFace, clBtnText, clBtnFace, clWindow}},
    {"native",
     {cl3DLight, clBtnHighlight, clBtnShadow, cl3DDkShadow},
     {cl3DLight, clBtnHighlight, clBtnFace, clBtnText, clBtnFace, clBtnShadow, cl3DDkShadow}},
};

// A button's rectangle on the form.
TRect OnForm(TcxSpinEdit* AEdit, int AIndex) {
  TRect r = AEdit->GetViewInfo()->ButtonsInfo[AIndex]->Bounds;
  OffsetRect(&r, AEdit->GetLeft(), AEdit->GetTop());
  return r;
}

// The text area lies between the buttons of each side and shows the value.
void CheckLayout(TcxSpinEdit* AEdit, const char* ALook) {
  TcxCustomEditViewInfo* info = AEdit->GetViewInfo();
  const TcxSpinEditButtonsPosition layout = AEdit->GetProperties()->GetSpinButtons()->GetPosition();
  SCOPED_TRACE(testing::Message() << ALook << " layout " << layout << " buttons " << info->ButtonCount());
  ASSERT_EQ(AEdit->GetProperties()->GetSpinButtons()->GetShowFastButtons() ? 4 : 2, info->ButtonCount());
  for (int i = 0; i < info->ButtonCount(); ++i) {
    const TRect& b = info->ButtonsInfo[i]->Bounds;
    const bool left = layout == sbpHorzLeftRight && (i == sebBackward || i == sebFastBackward);
    EXPECT_EQ(left, info->ButtonsInfo[i]->LeftAlignment) << i;
    if (left)
      EXPECT_LE(b.right, info->ClientRect.left) << i;
    else
      EXPECT_GE(b.left, info->ClientRect.right) << i;
  }
  EXPECT_GT(info->ClientRect.Width(), 100);
  const TRect inner = AEdit->GetInnerEdit()->GetControl()->GetBoundsRect();
  EXPECT_GE(inner.left, info->ClientRect.left);
  EXPECT_LE(inner.right, info->ClientRect.right);
}

void CheckClassicButtons(const guitest::TCapture& ACapture, const TSpinForm& AForm, const TClassicButton& AExpected) {
  for (TcxSpinEdit* edit : AForm.edits)
    for (int i = 0; i < edit->GetViewInfo()->ButtonCount(); ++i) {
      SCOPED_TRACE(testing::Message() << AExpected.look << " layout "
                                      << edit->GetProperties()->GetSpinButtons()->GetPosition() << " buttons "
                                      << edit->GetViewInfo()->ButtonCount() << " button " << i);
      const TRect r = OnForm(edit, i);
      EXPECT_EQ(RGBs(AExpected.edge), Runs(ACapture, r.left, r.right, r.top + 1));
      // The arrows of a vertical pair point up and down: their middle row
      // is the arrow's own.
      const TcxSpinEditViewInfo* info = static_cast<TcxSpinEditViewInfo*>(edit->GetViewInfo());
      const bool upDown = info->ButtonsPosition == sbpVert && i < 2;
      const int arrowRow = upDown ? (r.top + r.bottom) / 2 : (r.top + r.bottom) / 2;
      std::vector<COLORREF> middle;
      for (int y = r.top + 2; y < r.bottom - 2 && middle != RGBs(AExpected.middle); ++y)
        middle = Runs(ACapture, r.left, r.right, y);
      EXPECT_EQ(RGBs(AExpected.middle), middle) << "no row through the arrow as expected, e.g. row " << arrowRow;
    }
  // Disabled: the arrows embossed, no arrow in the text colour.
  for (int i = 0; i < AForm.disabled->GetViewInfo()->ButtonCount(); ++i) {
    const TRect r = OnForm(AForm.disabled, i);
    EXPECT_EQ(0, ACapture.CountPixels(r, RGBOf(clBtnText))) << AExpected.look << " disabled " << i;
    EXPECT_GT(ACapture.CountPixels(TRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2), RGBOf(clBtnShadow)), 0);
  }
}

// With the visual style each button is the Spin theme's part in the
// button's state, pixel for pixel.
void CheckThemedButtons(const guitest::TCapture& ACapture, const TSpinForm& AForm) {
  HTHEME theme = OpenThemeHandle(totSpin);
  ASSERT_NE(nullptr, theme);
  std::vector<TcxSpinEdit*> edits = AForm.edits;
  edits.push_back(AForm.disabled);
  for (TcxSpinEdit* edit : edits)
    for (int i = 0; i < edit->GetViewInfo()->ButtonCount(); ++i) {
      const TcxEditButtonViewInfo& button = *edit->GetViewInfo()->ButtonsInfo[i];
      SCOPED_TRACE(testing::Message() << "layout " << edit->GetProperties()->GetSpinButtons()->GetPosition()
                                      << " buttons " << edit->GetViewInfo()->ButtonCount() << " button " << i);
      const TRect r = OnForm(edit, i);
      EXPECT_NE(0, button.ThemePart);
      EXPECT_EQ(edit->GetEnabled() ? 1 : 4, button.ThemeState);
      TDrawSurface reference(r.Width(), r.Height(), clWindow);
      const RECT whole{0, 0, r.Width(), r.Height()};
      dxUxTheme::DrawThemeBackground(theme, reference.DC(), button.ThemePart, button.ThemeState, &whole, nullptr);
      int differ = 0;
      for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
          if (reference.Pixel(x, y) != ACapture.Pixel(r.left + x, r.top + y)) ++differ;
      EXPECT_EQ(0, differ);
    }
}

void PaintSpins(const char* ASuffix) {
  for (const TLook& look : kLooks) {
    TSpinForm f(look);
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    capture.SavePng(String("spinedit-") + look.name + ASuffix);
    for (TcxSpinEdit* edit : f.edits)
      CheckLayout(edit, look.name);
    if (look.native && IsThemedPartAvailable(true, totSpin)) {
      CheckThemedButtons(capture, f);
      continue;
    }
    for (const TClassicButton& expected : kClassicButtons)
      if (String(expected.look) == look.name) CheckClassicButtons(capture, f, expected);
  }
}

TEST(SpinEditPaint, EveryLookWithTheStyleOn) {
  PaintSpins("-style-on");
}

TEST(SpinEditPaintStyleOff, EveryLookWithTheStyleOff) {
  PaintSpins("-style-off");
}

} // namespace
