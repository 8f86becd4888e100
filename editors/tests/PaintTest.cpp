// The painting routines at their edge cases, checked by pixels: primitive
// fills and lines, the editor border and its colours, each button style's
// faces, clipping of buttons that stick out, ellipsis dots, glyphs, the
// check box and its glyph strip, text measuring and rows, spin arrows.
#include "PaintTest.h"

#include "cxBrushCache.h"

#include <gtest/gtest.h>

namespace {

const TLook& Look(const char* name) {
  for (const TLook& look : kLooks)
    if (String(look.name) == name) return look;
  return kLooks[0];
}

TEST(EditPaint, FillRectBetweenPaintsTheBandOnlyAndNothingForEqualRectangles) {
  TDrawSurface surface(40, 40);
  HBRUSH red = CachedSolidBrush(surface.Canvas(), clRed);
  FillRectBetween(surface.Canvas(), TRect(5, 5, 30, 30), TRect(5, 5, 30, 30), red);
  EXPECT_EQ(0, surface.CountAll(clRed));
  FillRectBetween(surface.Canvas(), TRect(5, 5, 30, 30), TRect(10, 10, 20, 20), red);
  EXPECT_EQ(25 * 25 - 10 * 10, surface.CountAll(clRed));
  EXPECT_EQ(RGBOf(clWhite), surface.Pixel(15, 15));
  FillRectBetween(surface.Canvas(), TRect(0, 0, 4, 4), TRect(), red);
  EXPECT_EQ(25 * 25 - 10 * 10 + 16, surface.CountAll(clRed));
}

TEST(EditPaint, SolidPolyLinesStopBeforeEachEndAndDrawTheLastPoint) {
  for (bool brush : {true, false}) {
    TDrawSurface surface(20, 20);
    const TPoint points[3] = {TPoint(2, 2), TPoint(10, 2), TPoint(10, 8)};
    DrawSolidPolyLine(surface.Canvas(), points, 2, brush, clBlue);
    EXPECT_EQ(8 + 6 + 1, surface.CountAll(clBlue)) << brush;
    EXPECT_EQ(TRect(2, 2, 11, 9), surface.BoundsOf(clBlue)) << brush;
  }
}

TEST(EditPaint, CenteredPositionsTruncateAndShiftOddSpace) {
  const struct {
    TRect r;
    SIZE size;
    bool shift;
    int x, y;
  } cases[] = {{TRect(0, 0, 11, 10), {4, 4}, false, 3, 3},
               {TRect(0, 0, 11, 10), {4, 4}, true, 4, 3},
               {TRect(2, 0, 5, 9), {6, 2}, false, 1, 3},
               {TRect(2, 0, 5, 9), {6, 2}, true, 2, 4}};
  for (const auto& k : cases) {
    int x = 0;
    int y = 0;
    GetCenteredPos(k.r, k.size, k.shift, x, y);
    EXPECT_EQ(k.x, x);
    EXPECT_EQ(k.y, y);
  }
}

TEST(EditPaint, BorderExtentsAndShadowByLookAndStyle) {
  const struct {
    const char* look;
    bool hotTrack;
    bool shadow;
    TRect extent;
    bool hasShadow;
  } cases[] = {{"standard", false, false, TRect(2, 2, 2, 2), false},
               {"standard", false, true, TRect(2, 2, 5, 5), true},
               {"native", false, true, TRect(2, 2, 2, 2), false},
               {"native", true, false, TRect(2, 2, 2, 2), false}};
  for (const auto& k : cases) {
    TPaintedEdit edit(Look(k.look));
    edit.style.SetBorderStyle(cbs3D);
    edit.style.SetHotTrack(k.hotTrack);
    edit.style.SetTransparentBorder(false);
    edit.style.SetShadow(k.shadow);
    std::unique_ptr<TcxCustomEditViewData> data = edit.props.CreateViewData(&edit.style, false);
    TRect extent;
    GetEditBorderExtent(data.get(), extent);
    EXPECT_EQ(k.extent, extent) << k.look << k.shadow;
    EXPECT_EQ(k.hasShadow, HasEditShadow(data.get())) << k.look << k.shadow;
  }
  TPaintedEdit single(Look("standard"));
  single.style.SetBorderStyle(cbsSingle);
  single.style.SetHotTrack(false);
  single.style.SetTransparentBorder(false);
  std::unique_ptr<TcxCustomEditViewData> data = single.props.CreateViewData(&single.style, false);
  TRect extent;
  GetEditBorderExtent(data.get(), extent);
  EXPECT_EQ(TRect(1, 1, 1, 1), extent);
}

TEST(EditPaint, AnUltraFlatEditorsBorderIsHighlightedWhileFocusedOrHot) {
  const struct {
    TPaintState state;
    TColor border;
  } cases[] = {{psNormal, clBtnShadow}, {psHot, clHighlight}, {psFocused, clHighlight}};
  for (const auto& k : cases) {
    TDrawSurface surface(120, 40);
    TPaintedEdit edit(Look("ultraflat"));
    edit.style.SetBorderStyle(cbsUltraFlat);
    edit.Paint(surface.Canvas(), TRect(10, 10, 110, 32), k.state);
    EXPECT_EQ(k.border, edit.info->BorderColor) << k.state;
    EXPECT_EQ(RGBOf(k.border), surface.Pixel(11, 20)) << k.state;
  }
}

TEST(EditPaint, HotFlatButtonFacesByState) {
  const struct {
    TPaintState state;
    TColor face;
  } cases[] = {{psNormal, clBtnFace}, {psDisabled, clBtnFace}, {psPressed, clBtnText}, {psHot, clBtnShadow}};
  for (const auto& k : cases) {
    TDrawSurface surface(120, 40);
    TPaintedEdit edit(Look("standard"));
    edit.style.SetButtonStyle(btsHotFlat);
    edit.AddButton(bkEllipsis);
    edit.Paint(surface.Canvas(), TRect(10, 10, 110, 32), k.state);
    const TcxEditButtonViewInfo& b = *edit.info->ButtonsInfo[0];
    EXPECT_EQ(RGBOf(clBtnShadow), surface.Pixel(b.Bounds.left, b.Bounds.top + 3)) << k.state;
    EXPECT_EQ(RGBOf(k.face), surface.Pixel(b.Bounds.left + 2, b.Bounds.top + 2)) << k.state;
  }
}

TEST(EditPaint, ASimpleButtonIsDrawnFlatWhilePressedOrHot) {
  for (TPaintState state : {psPressed, psHot}) {
    TDrawSurface simple(120, 40);
    TDrawSurface flat(120, 40);
    for (auto [surface, style] : {std::pair{&simple, btsSimple}, std::pair{&flat, btsFlat}}) {
      TPaintedEdit edit(Look("standard"));
      edit.style.SetButtonStyle(style);
      edit.AddButton(bkDown);
      edit.Paint(surface->Canvas(), TRect(10, 10, 110, 32), state);
    }
    const TRect all(0, 0, 120, 40);
    for (TColor c : {clBtnHighlight, clBtnShadow, clBtnText})
      EXPECT_EQ(flat.Count(all, c), simple.Count(all, c)) << state;
  }
}

TEST(EditPaint, DisabledArrowsAndDotsAreEmbossed) {
  for (TcxEditButtonKind kind : {bkDown, bkEllipsis}) {
    TDrawSurface surface(120, 40);
    TPaintedEdit edit(Look("standard"));
    edit.style.SetButtonStyle(btsFlat);
    edit.AddButton(kind);
    edit.Paint(surface.Canvas(), TRect(10, 10, 110, 32), psDisabled);
    TRect content = edit.info->ButtonsInfo[0]->Bounds;
    InflateRect(&content, -2, -2);
    int embossed = 0;
    for (int y = content.top; y < content.bottom - 1; ++y)
      for (int x = content.left; x < content.right - 1; ++x)
        if (surface.Pixel(x, y) == RGBOf(clBtnShadow) && surface.Pixel(x + 1, y + 1) == RGBOf(clBtnHighlight))
          ++embossed;
    EXPECT_GT(embossed, 0) << kind;
    EXPECT_EQ(0, surface.Count(content, clBtnText)) << kind;
  }
}

TEST(EditPaint, EllipsisDotsGrowOnWideButtons) {
  const struct {
    int width;
    int pixels;
  } cases[] = {{12 + 4, 3 * 4}, {11 + 4, 3}};
  for (const auto& k : cases) {
    TDrawSurface surface(120, 40);
    TPaintedEdit edit(Look("standard"));
    edit.style.SetButtonStyle(bts3D);
    edit.AddButton(bkEllipsis)->SetWidth(k.width);
    edit.Paint(surface.Canvas(), TRect(10, 10, 110, 32), psNormal);
    EXPECT_EQ(k.pixels, surface.Count(edit.info->ButtonsInfo[0]->Bounds, clBtnText)) << k.width;
  }
}

// A button wider than the editor is clipped to what fits; the clipping of
// the device context is the caller's again afterwards.
TEST(EditPaint, AClippedButtonLeavesTheClipRegionAsItFoundIt) {
  TDrawSurface surface(120, 40);
  HDC dc = surface.DC();
  HRGN before = CreateRectRgn(0, 0, 100, 40);
  SelectClipRgn(dc, before);
  const int level = SaveDC(dc);
  RestoreDC(dc, level);
  TPaintedEdit edit(Look("standard"));
  edit.style.SetButtonStyle(bts3D);
  edit.AddButton(bkDown)->SetWidth(60);
  edit.Paint(surface.Canvas(), TRect(40, 10, 80, 32), psNormal);
  const TcxEditButtonViewInfo& b = *edit.info->ButtonsInfo[0];
  ASSERT_LT(b.Bounds.left, b.VisibleBounds.left);
  HRGN after = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(1, GetClipRgn(dc, after));
  EXPECT_TRUE(EqualRgn(before, after));
  DeleteObject(after);
  DeleteObject(before);
  // One save for one restore: the next save gets the same level.
  EXPECT_EQ(level, SaveDC(dc));
  // Nothing of the button left of the editor.
  EXPECT_EQ(0, surface.Count(TRect(0, 0, 38, 40), clBtnText));
  EXPECT_EQ(0, surface.Count(TRect(0, 0, 38, 40), cl3DDkShadow));
}

TEST(EditPaint, GlyphsCopyEnabledWithTheirTransparentColourAndGreyedWhenDisabled) {
  for (bool enabled : {true, false}) {
    TDrawSurface surface(30, 30, clYellow);
    DrawGlyph(surface.Canvas(), 5, 5, nullptr, clNone, enabled, TPaintedEdit::Glyph());
    EXPECT_EQ(RGBOf(clYellow), surface.Pixel(5, 5)) << enabled;
    EXPECT_EQ(enabled ? 16 : 0, surface.CountAll(clRed)) << enabled;
  }
}

TEST(EditPaint, TheCheckBoxGlyphColumnStaysInsideTheStrip) {
  const TColor columns[6] = {clRed, clLime, clBlue, clFuchsia, clAqua, clYellow};
  const struct {
    int count;
    TcxCheckBoxState state;
    int button;
    TColor shown;
  } cases[] = {
      {3, cbsChecked, cbsPressedState, clLime}, {3, cbsGrayed, cbsPressedState, clBlue},
      {6, cbsChecked, cbsPressedState, clAqua}, {2, cbsGrayed, cbsNormalState, clRed},
      {2, cbsChecked, cbsPressedState, clLime}, {1, cbsGrayed, cbsPressedState, clRed},
  };
  for (const auto& k : cases) {
    TBitmap strip;
    strip.SetSize(10 * k.count, 10);
    TcxCanvas canvas(strip.GetCanvas());
    canvas.FillRect(TRect(0, 0, 10 * k.count, 10), clWhite);
    for (int i = 0; i < k.count; ++i)
      canvas.FillRect(TRect(i * 10 + 2, 2, i * 10 + 8, 8), columns[i]);
    strip.SetTransparentColor(clWhite);
    TDrawSurface surface(60, 20);
    TFont font;
    TcxCustomCheckBoxViewInfo info;
    FillCheckBox(info, TRect(0, 0, 60, 20), &font, false);
    info.Glyph = &strip;
    info.GlyphCount = k.count;
    info.State = k.state;
    info.CheckButtonState = k.button;
    SIZE size;
    GetCheckBoxGlyphSize(surface.Canvas(), nullptr, &info, size);
    EXPECT_EQ(10, size.cx);
    PaintCheckBox(surface.Canvas(), &info);
    EXPECT_EQ(36, surface.Count(info.CheckRect, k.shown)) << k.count << " " << k.state;
  }
}

TEST(EditPaint, ACenteredCheckBoxHasNoCaptionAndNoFocusRectangle) {
  for (TAlignment alignment : {taLeftJustify, taCenter}) {
    TDrawSurface surface(80, 20);
    TFont font;
    TcxCustomCheckBoxViewInfo info;
    FillCheckBox(info, TRect(0, 0, 80, 20), &font, false);
    info.Alignment = alignment;
    info.Focused = true;
    info.TextColor = clRed;
    PaintCheckBox(surface.Canvas(), &info);
    EXPECT_EQ(alignment == taCenter, surface.Count(info.TextRect, clRed) == 0) << alignment;
  }
}

TEST(EditPaint, CheckFrameControlFlagsByState) {
  // A disabled box is drawn inactive: no black mark pixels.
  for (int button : {cbsNormalState, cbsDisabledState}) {
    TDrawSurface surface(80, 20);
    TFont font;
    TcxCustomCheckBoxViewInfo info;
    FillCheckBox(info, TRect(0, 0, 80, 20), &font, false);
    info.State = cbsChecked;
    info.CheckButtonState = button;
    info.Alignment = taCenter;
    PaintCheckBox(surface.Canvas(), &info);
    EXPECT_EQ(button == cbsNormalState, surface.Count(info.CheckRect, clBlack) > 0) << button;
  }
}

TEST(EditPaint, AccelCharsAreRemoved) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"&Open", "Open"}, {"Fish && Chips", "Fish & Chips"}, {"End&", "End_"}, {"", ""}, {"a&&&b", "a&b"}};
  for (const auto& k : cases)
    EXPECT_EQ(k.out, RemoveAccelChars(k.in)) << k.in;
}

TEST(EditPaint, EditTextFlagsTranslateBothWays) {
  const struct {
    int edit;
    int canvas;
  } cases[] = {{0x1, tfCenterX}, {0x2, tfRight}, {0x10, tfCenterY}, {0x20, tfBottom}, {0x200, tfSingleLine}};
  int all = 0;
  for (const auto& k : cases) {
    EXPECT_EQ(k.canvas, EditTextFlagsToCanvasFlags(k.edit));
    EXPECT_EQ(k.edit, CanvasFlagsToEditTextFlags(k.canvas));
    all |= k.edit;
  }
  EXPECT_LT(EditTextFlagsToCanvasFlags(all | trWordBreak | trNoHeightLimit), 256);
}

TEST(EditPaint, ArrowExtents) {
  const struct {
    SIZE size;
    int direction;
    TRect extent;
  } cases[] = {{{16, 16}, 0, TRect(0, 0, 7, 4)},
               {{16, 16}, 3, TRect(0, 0, 4, 7)},
               {{12, 30}, 1, TRect(0, 0, 5, 3)},
               {{10, 10}, 2, TRect(0, 0, 3, 5)}};
  for (const auto& k : cases) {
    TRect r;
    GetArrowExtent(k.size, k.direction, r);
    EXPECT_EQ(k.extent, r) << k.size.cx << " " << k.direction;
  }
}

TEST(EditPaint, DisabledSpinArrowsAreEmbossed) {
  TDrawSurface surface(40, 30);
  TcxSpinEditViewInfo info;
  FillSpin(info, TRect(0, 0, 40, 30), sbpVert, 2, bts3D, ebsDisabled, false);
  PaintButtons(surface.Canvas(), info);
  const TRect& up = info.ButtonsInfo[1]->Bounds;
  const TRect shadow = surface.BoundsOf(clBtnShadow);
  EXPECT_GT(surface.Count(up, clBtnHighlight), 0);
  EXPECT_GT(surface.Count(up, clBtnShadow), 0);
  EXPECT_FALSE(IsRectEmpty(&shadow));
  // Five one-pixel rows of an arrow of size 3: 1 + 3 + 5 pixels each.
  TDrawSurface arrows(20, 20);
  DrawArrows(arrows.Canvas(), 3, TRect(0, 0, 20, 20), clRed, false, false, 0);
  EXPECT_EQ(9, arrows.CountAll(clRed));
  DrawArrows(arrows.Canvas(), 3, TRect(0, 0, 20, 20), clBlue, false, true, 1);
  EXPECT_EQ(18, arrows.CountAll(clBlue));
}

TEST(EditPaint, TextContentSizeMeasuresOneLineOrNothingForAnEmptyText) {
  TDrawSurface surface(10, 10);
  TPaintedEdit edit(Look("standard"));
  std::unique_ptr<TcxCustomEditViewData> data = edit.props.CreateViewData(&edit.style, false);
  surface.Canvas()->SetFont(edit.style.GetFont());
  const int line = surface.Canvas()->TextHeight("Zg");
  const struct {
    BYTE options;
    const char* text;
    int width;
    int height;
  } cases[] = {
      {1, "", 100, 0}, {0, "", 100, line + 4}, {0, "Some words here", -1, line + 4}, {1, "", -1, line + 4}};
  for (const auto& k : cases) {
    data->Options = k.options;
    TcxEditSizeProperties limits;
    limits.Width = k.width;
    limits.MaxLineCount = 0;
    SIZE size{0, 0};
    CalculateTextContentSize(surface.Canvas(), data.get(), k.text, size, false, limits, trSingleLine);
    EXPECT_EQ(k.height, size.cy) << k.text << " " << int(k.options) << " " << k.width;
    if (k.width < 0 && *k.text) {
      EXPECT_EQ(surface.Canvas()->TextWidth(k.text), size.cx);
    }
  }
  // A limited width wraps into rows.
  TcxEditSizeProperties limits;
  limits.Width = surface.Canvas()->TextWidth("Some words") + 1;
  SIZE size{0, 0};
  CalculateTextContentSize(surface.Canvas(), data.get(), "Some words here and more", size, false, limits,
                           trSingleLine);
  EXPECT_GE(size.cy, 2 * line + 4);
}

TEST(EditPaint, TextRowsDrawTheSelectionHighlighted) {
  TDrawSurface surface(200, 24);
  TFont font;
  TcxCustomTextEditViewInfo info;
  info.Bounds = TRect(0, 0, 200, 24);
  info.ClientRect = info.Bounds;
  info.BorderRect = info.Bounds;
  info.TextRect = TRect(2, 2, 198, 22);
  info.Text = "Selected text rows";
  info.Font = &font;
  info.TextColor = clWindowText;
  info.DrawTextFlags = trSingleLine | trvCenter;
  info.SelStart = 9;
  info.SelLength = 100;
  DrawTextEditText(surface.Canvas(), &info);
  EXPECT_EQ(9, info.SelLength);
  EXPECT_TRUE(info.TextRowsValid);
  EXPECT_EQ(1, info.TextRowCount);
  const TRect selected = surface.BoundsOf(clHighlight);
  ASSERT_FALSE(IsRectEmpty(&selected));
  surface.Canvas()->SetFont(&font);
  EXPECT_NEAR(2 + surface.Canvas()->TextWidth("Selected "), selected.left, 1);
}

TEST(EditPaintNative, AThemedEditorGetsNoShadowAndASingleDownButtonIsAComboButton) {
  ASSERT_TRUE(ThemesAvailable());
  TDrawSurface surface(120, 40);
  TPaintedEdit edit(Look("native"));
  edit.style.SetShadow(true);
  edit.AddButton(bkDown);
  edit.Paint(surface.Canvas(), TRect(10, 10, 110, 32), psNormal);
  EXPECT_TRUE(edit.info->NativeStyle);
  EXPECT_FALSE(edit.info->Shadow);
  EXPECT_EQ(TRect(2, 2, 2, 2), edit.info->BorderExtent);
  const TcxEditButtonViewInfo& b = *edit.info->ButtonsInfo[0];
  EXPECT_TRUE(b.IsSingleDownButton);
  EXPECT_EQ(1, b.ThemePart);
  EXPECT_EQ(1, b.ThemeState);
  // Nothing drawn in the shadow's place.
  EXPECT_EQ(RGBOf(clWhite), surface.Pixel(111, 33));
}

TEST(EditPaintNative, AGrayedInactiveCheckBoxShowsTheDisabledUncheckedState) {
  ASSERT_TRUE(ThemesAvailable());
  TFont font;
  for (int button = cbsNormalState; button <= cbsDisabledState; ++button) {
    TcxCustomCheckBoxViewInfo info;
    FillCheckBox(info, TRect(0, 0, 60, 20), &font, true);
    info.State = cbsGrayed;
    info.NullStyle = nssInactive;
    info.CheckButtonState = button;
    EXPECT_EQ(4, GetCheckNativeState(&info)) << button;
    info.NullStyle = nssGrayedChecked;
    EXPECT_EQ(9 + button, GetCheckNativeState(&info)) << button;
  }
}

} // namespace

namespace {

TEST(EditPaint, ThePopupOwnerBoundsLeaveOutTheShadowAndTheSidesWithoutEdges) {
  const struct {
    TcxBorders edges;
    TRect expected;
  } cases[] = {{cxBordersAll, TRect(10, 10, 110, 29)}, {TcxBorders{bLeft, bTop}, TRect(10, 10, 108, 27)}};
  for (const auto& k : cases) {
    TDrawSurface surface(120, 40);
    TPaintedEdit edit(Look("standard"));
    edit.style.SetBorderStyle(cbs3D);
    edit.style.SetHotTrack(false);
    edit.style.SetShadow(true);
    edit.style.SetEdges(k.edges);
    edit.Calculate(surface.Canvas(), TRect(10, 10, 110, 32), psNormal);
    TRect r;
    GetEditPopupOwnerBounds(edit.info.get(), r);
    EXPECT_EQ(k.expected, r);
  }
}

TEST(EditPaint, AnImageIsDrawnOnItsBackgroundColour) {
  TImageList images(nullptr);
  images.SetWidth(8);
  images.SetHeight(8);
  images.AddMasked(TPaintedEdit::Glyph(), clWhite);
  TDrawSurface surface(20, 20);
  DrawImageOnBackground(surface.Canvas(), &images, 0, nullptr, true, clYellow, TRect(4, 4, 12, 12));
  EXPECT_EQ(RGBOf(clYellow), surface.Pixel(4, 4));
  EXPECT_EQ(16, surface.CountAll(clRed));
  EXPECT_EQ(64 - 16, surface.CountAll(clYellow));
}

TEST(EditPaint, TheWindowRegionHoldsTheBorderAndTheShadow) {
  TEditForm f;
  f.edit->GetStyle()->GetLookAndFeel()->SetNativeStyle(false);
  f.edit->GetStyle()->SetBorderStyle(cbsSingle);
  f.edit->GetStyle()->SetHotTrack(false);
  f.edit->GetStyle()->SetTransparentBorder(false);
  f.edit->GetStyle()->SetShadow(true);
  guitest::PumpFor(20);
  const TcxCustomEditViewInfo* info = f.edit->GetViewInfo();
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(f.edit->GetHandle(), region));
  RECT box;
  GetRgnBox(region, &box);
  DeleteObject(region);
  EXPECT_EQ(TRect(info->ContentRect.left - 1, info->ContentRect.top - 1, info->ContentRect.right + 1 + 3,
                  info->ContentRect.bottom + 1 + 3),
            TRect(box));
}

} // namespace
