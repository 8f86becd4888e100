// The radio button that draws itself: glyph geometry and image indices, the
// classic glyphs' colours and their rebuild after a system colour change,
// states under real input, focus entry, and each look painted with the
// visual style on and off.
#include "cxRadioGroup.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

using cxRadioGroupGlyphs::RadioButtonImageList;
using cxRadioGroupGlyphs::TcxRadioButtonImageList;

// A form with an edit and two radio buttons under it.
struct TRadioForm {
  explicit TRadioForm(const TLook& ALook = kLooks[0]) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(80, 80, 320, 200);
    form->SetColor(clBtnFace);
    form->GetFont()->SetName("Tahoma");
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 120, 21);
    for (int i = 0; i < 2; ++i) {
      auto* button = new TcxRadioButton(form.get());
      button->GetLookAndFeel()->SetKind(ALook.kind);
      button->GetLookAndFeel()->SetNativeStyle(ALook.native);
      button->SetCaption(i == 0 ? "&First" : "&Second");
      button->SetBounds(10, 50 + 30 * i, 120, 17);
      button->SetParent(form.get());
      button->OnClick = [this, i](TObject*) { ++clicks[i]; };
      buttons[i] = button;
    }
    form->Show();
    form->Update();
    guitest::PumpFor(20);
  }
  HWND Wnd(int i) const { return buttons[i]->GetHandle(); }
  // The pixel at the glyph's centre, in form coordinates.
  TPoint GlyphCenter(int i) const {
    const TRect g = buttons[i]->GetGlyphRect();
    return TPoint(buttons[i]->GetLeft() + (g.left + g.right) / 2,
                  buttons[i]->GetTop() + (g.top + g.bottom) / 2);
  }
  COLORREF CenterPixel(int i) const {
    const TPoint p = GlyphCenter(i);
    return guitest::TCapture::Paint(form->GetHandle()).Pixel(p.x, p.y);
  }
  std::unique_ptr<TForm> form;
  TEdit* edit;
  TcxRadioButton* buttons[2];
  int clicks[2] = {0, 0};
};

// ---- Geometry ----

TEST(RadioButton, TheGlyphRectFollowsAlignmentHeightAndTheLook) {
  const struct {
    TAlignment alignment;
    bool native;
    int width, height;
    TRect glyph;
  } kCases[] = {
      {taRightJustify, false, 120, 17, TRect(1, 2, 14, 15)},
      {taRightJustify, false, 120, 20, TRect(1, 3, 14, 16)},
      {taLeftJustify, false, 73, 17, TRect(60, 2, 73, 15)},
      {taLeftJustify, false, 73, 10, TRect(60, -1, 73, 12)},
  };
  for (const auto& c : kCases) {
    TcxRadioButton button(nullptr);
    button.GetLookAndFeel()->SetNativeStyle(c.native);
    button.Alignment = c.alignment;
    button.SetBounds(0, 0, c.width, c.height);
    EXPECT_EQ(c.glyph, button.CalcGlyphRect(SIZE{13, 13})) << c.width << "x" << c.height;
  }
}

TEST(RadioButton, AThemedGlyphStartsAtTheLeftEdge) {
  if (!IsThemedPartAvailable(true, totButton)) GTEST_SKIP() << "no visual style";
  TcxRadioButton button(nullptr);
  button.GetLookAndFeel()->SetNativeStyle(true);
  button.SetBounds(0, 0, 120, 17);
  EXPECT_EQ(TRect(0, 2, 13, 15), button.CalcGlyphRect(SIZE{13, 13}));
}

TEST(RadioButton, ImageIndicesCombineFocusKindCheckAndState) {
  const struct {
    TcxLookAndFeelKind kind;
    TcxRadioImageState state;
    bool checked, focused;
    int index;
  } kCases[] = {
      {lfFlat, risDisabled, false, false, 0},   {lfFlat, risHot, false, false, 3},
      {lfStandard, risNormal, false, false, 9}, {lfStandard, risPressed, true, false, 14},
      {lfUltraFlat, risHot, true, false, 23},   {lfUltraFlat, risHot, true, true, 47},
      {lfFlat, risNormal, false, true, 25},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(c.index, TcxRadioButtonImageList::ImageIndex(c.kind, c.state, c.checked, c.focused));
  const int kStates[] = {rbsDisabled, rbsHot, rbsNormal, rbsPressed};
  const TcxRadioImageState kImageStates[] = {risDisabled, risHot, risNormal, risPressed};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(kImageStates[i], RadioStateToImageState(kStates[i]));
}

TEST(RadioButton, TheMeasuredCircleIsTheSystemsRadio) {
  const TcxSystemRadioGeometry system = cxMeasureSystemRadioButton();
  const SIZE size = cxRadioGlyphSize();
  EXPECT_EQ(system.Radio.Width(), size.cx);
  EXPECT_EQ(system.Radio.Height(), size.cy);
  EXPECT_GT(system.Dot.Width(), 0) << "the dot is found under Wine too";
}

// ---- Classic glyphs ----

TEST(RadioButtonPaint, ClassicGlyphsShowTheDotInTheButtonTextColour) {
  const struct {
    TcxLookAndFeelKind kind;
    bool checked;
    bool enabled;
    TColor center;
  } kCases[] = {
      {lfStandard, true, true, clBtnText},    {lfFlat, true, true, clBtnText},
      {lfUltraFlat, true, true, clBtnText},   {lfStandard, false, true, clWindow},
      {lfStandard, true, false, clBtnShadow}, {lfStandard, false, false, clBtnFace},
  };
  for (const auto& c : kCases) {
    TRadioForm f(TLook{"", c.kind, false});
    f.buttons[1]->SetChecked(c.checked);
    f.buttons[1]->SetEnabled(c.enabled);
    guitest::PumpFor(20);
    EXPECT_EQ(RGBOf(c.center), f.CenterPixel(1)) << c.kind << " " << c.checked << " " << c.enabled;
  }
}

TEST(RadioButtonPaint, TheRingsTakeTheKindsColours) {
  const SIZE size = cxRadioGlyphSize();
  const struct {
    TcxLookAndFeelKind kind;
    TColor topLeft, bottomRight;
  } kCases[] = {
      {lfFlat, clBtnShadow, clBtnHighlight},
      {lfStandard, clBtnShadow, clBtnHighlight},
      {lfUltraFlat, clBtnShadow, clBtnShadow},
  };
  for (const auto& c : kCases) {
    TDrawSurface surface(size.cx, size.cy, clRed);
    RadioButtonImageList()->Draw(surface.Canvas(), 0, 0, c.kind, risNormal, false, false, false, clRed,
                                 false);
    // The outer ring's middle pixel on the top row and on the bottom row.
    EXPECT_EQ(RGBOf(c.topLeft), surface.Pixel(size.cx / 2, 0)) << c.kind;
    EXPECT_EQ(RGBOf(c.bottomRight), surface.Pixel(size.cx / 2, size.cy - 1)) << c.kind;
    EXPECT_EQ(RGBOf(clRed), surface.Pixel(0, 0)) << "the corner shows the background";
  }
}

TEST(RadioButtonPaint, ASystemColourChangeRebuildsTheGlyphs) {
  TRadioForm f;
  f.buttons[0]->SetChecked(true);
  guitest::PumpFor(20);
  ASSERT_EQ(RGBOf(clBtnText), f.CenterPixel(0));
  // A glyph no button shows: only the hidden receiver resets it.
  TDrawSurface surface(20, 20);
  RadioButtonImageList()->Draw(surface.Canvas(), 0, 0, lfFlat, risHot, true, true, false, clWhite, false);
  const int unseen = TcxRadioButtonImageList::ImageIndex(lfFlat, risHot, true, true);
  ASSERT_TRUE(RadioButtonImageList()->IsBuilt(unseen));
  {
    TSysColorScope text(COLOR_BTNTEXT, RGB(200, 0, 0));
    EXPECT_TRUE(guitest::PumpUntil([&] { return !RadioButtonImageList()->IsBuilt(unseen); }));
    EXPECT_TRUE(guitest::PumpUntil([&] { return f.CenterPixel(0) == RGB(200, 0, 0); }));
  }
  EXPECT_TRUE(guitest::PumpUntil([&] { return f.CenterPixel(0) == RGBOf(clBtnText); })) << "restored";
}

// ---- Input ----

TEST(RadioButtonInput, UnderCaptureTheStateIsPressedInsideAndHotOutside) {
  TRadioForm f;
  TcxRadioButton* b = f.buttons[0];
  guitest::MouseEventAt(f.Wnd(0), 30, 8, 0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return b->GetState() == rbsHot; }));
  guitest::MouseEventAt(f.Wnd(0), 30, 8, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(f.Wnd(0), 32, 8, 0);
  EXPECT_TRUE(guitest::PumpUntil([&] { return b->GetState() == rbsPressed; }));
  guitest::MouseEventAt(f.Wnd(0), 30, 60, 0);
  EXPECT_TRUE(guitest::PumpUntil([&] { return b->GetState() == rbsHot; })) << "outside under capture";
  guitest::MouseEventAt(f.Wnd(0), 30, 60, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(guitest::PumpUntil([&] { return b->GetState() == rbsNormal; }));
  EXPECT_TRUE(b->GetChecked()) << "the press focused and so checked it";
  EXPECT_EQ(1, f.clicks[0]);
}

TEST(RadioButtonInput, AClickChecksOneButtonAndClicksOnce) {
  TRadioForm f;
  guitest::ClickControl(f.buttons[1]);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.buttons[1]->GetChecked(); }));
  guitest::PumpFor(50);
  EXPECT_EQ(1, f.clicks[1]);
  guitest::ClickControl(f.buttons[0]);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.buttons[0]->GetChecked(); }));
  guitest::PumpFor(50);
  EXPECT_FALSE(f.buttons[1]->GetChecked());
  EXPECT_EQ(1, f.clicks[0]);
  EXPECT_EQ(1, f.clicks[1]);
}

TEST(RadioButtonInput, TabIntoAnUncheckedButtonChecksItAndClicksOnce) {
  TRadioForm f;
  f.buttons[0]->SetTabStop(true);
  f.edit->SetFocus();
  guitest::PumpFor(20);
  guitest::PressKey(VK_TAB);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.buttons[0]->Focused(); }));
  guitest::PumpFor(50);
  EXPECT_TRUE(f.buttons[0]->GetChecked());
  EXPECT_EQ(1, f.clicks[0]);
  // Entering the checked button again does nothing more.
  f.edit->SetFocus();
  guitest::PumpFor(20);
  guitest::PressKey(VK_TAB);
  ASSERT_TRUE(guitest::PumpUntil([&] { return f.buttons[0]->Focused(); }));
  guitest::PumpFor(50);
  EXPECT_EQ(1, f.clicks[0]);
}

// ---- Painting in every look ----

void DrawGlyphs(TcxCanvas* canvas, TGalleryGrid& grid) {
  for (bool focused : {false, true})
    for (TcxLookAndFeelKind kind : {lfFlat, lfStandard, lfUltraFlat}) {
      for (bool checked : {false, true})
        for (TcxRadioImageState state : {risDisabled, risNormal, risPressed, risHot}) {
          const TRect r = grid.Next(16, 16);
          RadioButtonImageList()->Draw(canvas, r.left, r.top, kind, state, checked, focused, false, clBtnFace,
                                       false);
        }
      grid.NewRow();
    }
}

void PaintLooks(const char* suffix) {
  for (const TLook& look : kLooks) {
    TRadioForm f(look);
    f.form->SetBounds(80, 80, 360, 240);
    const struct {
      const char* caption;
      TAlignment alignment;
      bool wordWrap, checked, enabled;
    } kCases[] = {
        {"Checked", taRightJustify, false, true, true},
        {"Left text", taLeftJustify, false, false, true},
        {"Disabled", taRightJustify, false, true, false},
        {"A caption that wraps", taRightJustify, true, false, true},
    };
    int top = 110;
    for (const auto& c : kCases) {
      auto* b = new TcxRadioButton(f.form.get());
      b->GetLookAndFeel()->SetKind(look.kind);
      b->GetLookAndFeel()->SetNativeStyle(look.native);
      b->SetCaption(c.caption);
      b->Alignment = c.alignment;
      b->WordWrap = c.wordWrap;
      b->SetBounds(c.wordWrap ? 180 : 10, c.wordWrap ? 50 : top, c.wordWrap ? 80 : 110, c.wordWrap ? 34 : 17);
      b->SetParent(f.form.get());
      b->SetChecked(c.checked);
      b->SetEnabled(c.enabled);
      if (!c.wordWrap) top += 24;
    }
    f.buttons[1]->SetFocus();
    guitest::PumpFor(50);
    const guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
    const TPoint center = f.GlyphCenter(1);
    if (!look.native || !IsThemedPartAvailable(true, totButton)) {
      EXPECT_EQ(RGBOf(clBtnText), capture.Pixel(center.x, center.y)) << look.name;
    }
    capture.SavePng(String("radiobutton-") + look.name + suffix);
  }
  TDrawSurface surface(200, 120, clBtnFace);
  TGalleryGrid grid(200, 2);
  DrawGlyphs(surface.Canvas(), grid);
  surface.SavePng(String("radiobutton-glyphs") + suffix);
}

TEST(RadioButtonPaint, EveryLookWithTheStyleOn) {
  PaintLooks("-style-on");
}

TEST(RadioButtonPaintStyleOff, EveryLookWithTheStyleOff) {
  PaintLooks("-style-off");
}

} // namespace
