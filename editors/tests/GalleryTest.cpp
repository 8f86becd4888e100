// Every look of the editors drawn in a grid, with the visual style on (this
// process) and off (the child): editors in each border style and state,
// buttons of each kind in each style, check boxes, spin buttons and text
// rows. One PNG per look and style for a person to look at.
#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 760;


const TPaintState kStates[] = {psNormal, psHot, psFocused, psDisabled};

void DrawBorders(TcxCanvas* canvas, TGalleryGrid& grid, const TLook& look) {
  for (int border = cbsNone; border <= cbsUltraFlat; ++border) {
    for (TPaintState state : kStates) {
      TPaintedEdit edit(look);
      edit.style.SetBorderStyle(static_cast<TcxContainerBorderStyle>(border));
      edit.AddButton(bkDown);
      edit.Paint(canvas, grid.Next(80, 22), state);
    }
    TPaintedEdit shadowed(look);
    shadowed.style.SetBorderStyle(static_cast<TcxContainerBorderStyle>(border));
    shadowed.style.SetHotTrack(false);
    shadowed.style.SetShadow(true);
    shadowed.Paint(canvas, grid.Next(60, 24), psNormal);
    grid.NewRow();
  }
}

void DrawButtonStyles(TcxCanvas* canvas, TGalleryGrid& grid, const TLook& look) {
  for (int style = btsDefault; style <= btsUltraFlat; ++style) {
    for (TPaintState state : {psNormal, psHot, psPressed, psDisabled}) {
      TPaintedEdit edit(look);
      edit.style.SetButtonStyle(static_cast<TcxEditButtonStyle>(style));
      edit.AddButton(bkEllipsis, true);
      edit.AddButton(bkGlyph, true);
      edit.AddButton(bkGlyph);
      edit.AddButton(bkEllipsis);
      edit.AddButton(bkDown);
      edit.Paint(canvas, grid.Next(130, 21), state);
    }
    TPaintedEdit single(look);
    single.style.SetButtonStyle(static_cast<TcxEditButtonStyle>(style));
    single.AddButton(bkDown);
    single.Paint(canvas, grid.Next(60, 21), psNormal);
    grid.NewRow();
  }
}

void DrawCheckBoxes(TcxCanvas* canvas, TGalleryGrid& grid, const TLook& look, TFont* font) {
  for (int frame = cbsSingle; frame <= cbsUltraFlat; ++frame)
    for (TcxCheckBoxState state : {cbsUnchecked, cbsChecked, cbsGrayed}) {
      TcxCustomCheckBoxViewInfo info;
      FillCheckBox(info, grid.Next(64, 18), font, false);
      info.CheckBorderStyle = static_cast<TcxContainerBorderStyle>(frame);
      info.State = state;
      PaintCheckBox(canvas, &info);
    }
  grid.NewRow();
  for (TcxCheckBoxNullValueShowingStyle nullStyle : {nssUnchecked, nssInactive, nssGrayedChecked})
    for (int button = cbsNormalState; button <= cbsDisabledState; ++button) {
      TcxCustomCheckBoxViewInfo info;
      FillCheckBox(info, grid.Next(64, 18), font, look.native);
      info.State = cbsGrayed;
      info.NullStyle = nullStyle;
      info.CheckButtonState = button;
      info.Enabled = button != cbsDisabledState;
      info.Focused = button == cbsHotState;
      info.CheckNativeState = GetCheckNativeState(&info);
      PaintCheckBox(canvas, &info);
    }
  grid.NewRow();
  TBitmap strip;
  strip.SetSize(36, 12);
  TcxCanvas stripCanvas(strip.GetCanvas());
  const TColor columns[3] = {clRed, clLime, clBlue};
  stripCanvas.FillRect(TRect(0, 0, 36, 12), clWhite);
  for (int i = 0; i < 3; ++i)
    stripCanvas.FillRect(TRect(i * 12 + 2, 2, i * 12 + 10, 10), columns[i]);
  strip.SetTransparentColor(clWhite);
  for (TcxCheckBoxState state : {cbsUnchecked, cbsChecked, cbsGrayed}) {
    TcxCustomCheckBoxViewInfo info;
    FillCheckBox(info, grid.Next(64, 18), font, false);
    info.Glyph = &strip;
    info.GlyphCount = 3;
    info.HasGlyph = true;
    info.State = state;
    PaintCheckBox(canvas, &info);
  }
  grid.NewRow();
}

void DrawSpins(TcxCanvas* canvas, TGalleryGrid& grid, const TLook& look) {
  for (TcxEditButtonStyle style : {bts3D, btsHotFlat, btsUltraFlat})
    for (TcxSpinEditButtonsPosition layout : {sbpHorzLeftRight, sbpHorzRight, sbpVert})
      for (int count : {2, 4})
        for (int state : {ebsNormal, ebsPressed, ebsSelected, ebsDisabled}) {
          TcxSpinEditViewInfo info;
          FillSpin(info, grid.Next(count == 2 ? 40 : 70, 22), layout, count, style, state, look.native);
          canvas->FillRect(info.Bounds, clWindow);
          PaintButtons(canvas, info);
        }
  grid.NewRow();
}

void DrawTextRowsWithSelection(TcxCanvas* canvas, TGalleryGrid& grid, TFont* font) {
  TcxCustomTextEditViewInfo info;
  info.Bounds = grid.Next(200, 22);
  info.BorderRect = info.Bounds;
  info.ClientRect = info.Bounds;
  info.TextRect = info.Bounds;
  InflateRect(&info.TextRect, -3, -2);
  info.Text = "Selected text rows";
  info.Font = font;
  info.TextColor = clWindowText;
  info.DrawTextFlags = trSingleLine | trvCenter;
  info.SelStart = 9;
  info.SelLength = 4;
  info.Focused = true;
  PaintTextEdit(canvas, &info);
}

void DrawLook(const TLook& look, const String& suffix) {
  TDrawSurface surface(kWidth, kHeight, clBtnFace);
  TFont font;
  TGalleryGrid grid(kWidth, 6);
  TcxCanvas* canvas = surface.Canvas();
  DrawBorders(canvas, grid, look);
  DrawButtonStyles(canvas, grid, look);
  DrawCheckBoxes(canvas, grid, look, &font);
  DrawSpins(canvas, grid, look);
  DrawTextRowsWithSelection(canvas, grid, &font);
  EXPECT_FALSE(surface.SavePng(String("editors-gallery-") + look.name + suffix).empty());
}

TEST(EditGallery, EveryLookWithTheStyleOn) {
  for (const TLook& look : kLooks)
    DrawLook(look, "-style-on");
}

TEST(EditGalleryStyleOff, EveryLookWithTheStyleOff) {
  for (const TLook& look : kLooks)
    DrawLook(look, "-style-off");
}

TEST(EditVisualStyle, ClassicLookCasesPassInAChildProcess) {
  if (guitest::IsStyleOffRun()) GTEST_SKIP();
  EXPECT_EQ(0, guitest::RunStyleOffCases());
}

} // namespace
