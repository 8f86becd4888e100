#include "DrawTest.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kGreen = 0x008000;
constexpr TColor kKey = 0xFF00FF;

TFont* BigFont(TcxCanvas* canvas) {
  TFont* font = canvas->GetFont();
  font->SetName("Tahoma");
  font->SetHeight(-24);
  font->SetStyle(TFontStyles{fsBold});
  font->SetColor(clBlack);
  return font;
}

} // namespace

TEST(TextFlags, TranslateToDrawTextFormat) {
  const struct {
    int flags;
    UINT format;
  } cases[] = {
      {0, DT_NOPREFIX},
      {tfShowPrefix, 0},
      {tfWordBreak, 0x2810},
      {tfLeft | tfTop, DT_NOPREFIX},
      {tfRight | tfBottom | tfSingleLine, DT_NOPREFIX | DT_RIGHT | DT_BOTTOM | DT_SINGLELINE},
      {tfCenterX | tfCenterY, DT_NOPREFIX | DT_CENTER | DT_VCENTER},
      {tfNoClip | tfExpandTabs, DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS},
      {tfEndEllipsis | tfPathEllipsis, DT_NOPREFIX | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS},
      {tfMeasureOnly | tfShowPrefix, DT_CALCRECT},
      {0x4000 | 0x8000, DT_NOPREFIX},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.format, TranslateTextFlags(c.flags)) << std::hex << c.flags;
}

TEST(CanvasText, DisabledTextIsAHighlightCopyOnePixelRightAndDownUnderAShadowCopy) {
  TDrawSurface surface(80, 40, kGreen);
  BigFont(surface.Canvas());
  surface.Canvas()->DrawText("W", TRect(5, 5, 75, 35), tfSingleLine, false);
  const TRect shadow = surface.BoundsOf(clBtnShadow);
  const TRect highlight = surface.BoundsOf(clBtnHighlight);
  ASSERT_FALSE(IsRectEmpty(&shadow));
  ASSERT_FALSE(IsRectEmpty(&highlight));
  EXPECT_EQ(shadow.right + 1, highlight.right);
  EXPECT_EQ(shadow.bottom + 1, highlight.bottom);
  EXPECT_EQ(0, surface.CountAll(clBlack));
  // The font colour and brush style are back.
  EXPECT_EQ(clBlack, surface.Canvas()->GetFont()->GetColor());
  EXPECT_EQ(bsSolid, surface.Canvas()->GetBrush()->GetStyle());
}

TEST(CanvasText, SingleLineWithoutPrefixOrEllipsisLeavesTabsUnexpanded) {
  // Both routes draw the same text; only DrawText expands the tab.
  auto rightmostInk = [](int extraFlags) {
    TDrawSurface surface(300, 30);
    BigFont(surface.Canvas())->SetHeight(-12);
    surface.Canvas()->GetBrush()->SetStyle(bsClear);
    surface.Canvas()->DrawText("A\tB", TRect(0, 0, 300, 30), tfSingleLine | tfExpandTabs | extraFlags);
    return surface.BoundsOf(clBlack).right;
  };
  const int extTextOut = rightmostInk(0);
  const int drawText = rightmostInk(tfShowPrefix);
  EXPECT_GT(drawText, extTextOut + 20);
}

TEST(CanvasText, MultiLineVerticalPlacement) {
  const struct {
    int flags;
    bool atBottom;
  } cases[] = {{tfBottom, true}, {tfBottom | tfCenterY, false}, {tfTop, false}};
  for (const auto& c : cases) {
    TDrawSurface surface(100, 200);
    BigFont(surface.Canvas())->SetHeight(-12);
    surface.Canvas()->GetBrush()->SetStyle(bsClear);
    TRect block(0, 0, 100, 0);
    surface.Canvas()->CalculateTextRect("one\ntwo", block, tfLeft);
    surface.Canvas()->DrawText("one\ntwo", TRect(0, 0, 100, 200), c.flags);
    const TRect ink = surface.BoundsOf(clBlack);
    if (c.atBottom) {
      // Flush with the bottom: the block's last line ends at 200.
      EXPECT_GT(ink.bottom, 200 - block.Height() / 2) << c.flags;
    } else {
      EXPECT_LE(ink.bottom, block.Height()) << c.flags;
    }
  }
}

TEST(CanvasText, SingleLineAlignmentByTheCanvasArithmetic) {
  TDrawSurface surface(200, 60);
  BigFont(surface.Canvas())->SetHeight(-12);
  SIZE size;
  surface.Canvas()->TextExtent("Mm", size);
  const TRect r(10, 10, 190, 50);
  const struct {
    int flags;
    int left, top;
  } cases[] = {
      {tfRight | tfBottom, r.right - size.cx, r.bottom - size.cy},
      {tfCenterX | tfCenterY, (r.left + r.right - size.cx) / 2, (r.top + r.bottom - size.cy) / 2},
      {tfLeft | tfTop, r.left, r.top},
  };
  for (const auto& c : cases) {
    TDrawSurface one(200, 60);
    BigFont(one.Canvas())->SetHeight(-12);
    // An opaque brush paints the text's cell: its box is where it was drawn.
    one.Canvas()->GetBrush()->SetColor(kGreen);
    one.Canvas()->DrawText("Mm", r, tfSingleLine | c.flags);
    const TRect cell = one.BoundsOf(kGreen);
    EXPECT_EQ(TRect(c.left, c.top, c.left + size.cx, c.top + size.cy), cell) << c.flags;
  }
}

TEST(CanvasText, CalculateTextRectPlacesTheTextInsideTheRectangle) {
  TDrawSurface surface(10, 10);
  BigFont(surface.Canvas())->SetHeight(-12);
  SIZE size;
  surface.Canvas()->TextExtent("Text", size);
  const struct {
    int flags;
    int dx, dy;
  } cases[] = {
      {tfSingleLine, 0, 0},
      {tfSingleLine | tfRight | tfBottom, 100 - size.cx, 50 - size.cy},
      {tfSingleLine | tfCenterX | tfCenterY, (100 - size.cx) / 2, (50 - size.cy) / 2},
  };
  for (const auto& c : cases) {
    TRect r(10, 20, 110, 70);
    surface.Canvas()->CalculateTextRect("Text", r, c.flags);
    EXPECT_EQ(TRect(10 + c.dx, 20 + c.dy, 10 + c.dx + size.cx, 20 + c.dy + size.cy), r) << c.flags;
  }
}

TEST(CanvasFrames, BandsAndCorners) {
  TDrawSurface surface(20, 20);
  TcxCanvas* canvas = surface.Canvas();
  canvas->DrawTwoToneFrame(TRect(0, 0, 10, 10), clRed, clBlue);
  canvas->FrameRect(TRect(10, 10, 20, 20), kGreen, 2, TcxBorders{bLeft});
  const struct {
    int x, y;
    TColor color;
  } cases[] = {
      {0, 0, clRed},    {5, 0, clRed},     {0, 5, clRed},     {9, 0, clBlue},  {0, 9, clBlue},
      {9, 9, clBlue},   {5, 9, clBlue},    {9, 5, clBlue},    {5, 5, clWhite}, {10, 15, kGreen},
      {11, 15, kGreen}, {12, 15, clWhite}, {15, 10, clWhite},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RGBOf(c.color), surface.Pixel(c.x, c.y)) << c.x << "," << c.y;
}

TEST(CanvasFrames, FrameRectDefaultColourAndEmptyBorders) {
  TDrawSurface surface(10, 10);
  TcxCanvas* canvas = surface.Canvas();
  canvas->SetBrushColor(clRed);
  canvas->FrameRect(TRect(0, 0, 10, 10));
  EXPECT_EQ(RGBOf(clRed), surface.Pixel(0, 0));
  canvas->FrameRect(TRect(0, 0, 10, 10), clBlue, 1, TcxBorders());
  EXPECT_EQ(RGBOf(clRed), surface.Pixel(0, 0));
}

TEST(CanvasFrames, EdgeRings) {
  const struct {
    bool sunken, outer;
    TColor topLeft, bottomRight;
  } cases[] = {
      {true, true, clBtnShadow, clBtnHighlight},
      {true, false, cl3DDkShadow, cl3DLight},
      {false, true, cl3DLight, cl3DDkShadow},
      {false, false, clBtnHighlight, clBtnShadow},
  };
  for (const auto& c : cases) {
    TDrawSurface surface(10, 10, kGreen);
    surface.Canvas()->DrawEdge(TRect(0, 0, 10, 10), c.sunken, c.outer);
    EXPECT_EQ(RGBOf(c.topLeft), surface.Pixel(0, 5));
    EXPECT_EQ(RGBOf(c.bottomRight), surface.Pixel(9, 5));
    EXPECT_EQ(RGBOf(kGreen), surface.Pixel(5, 5));
  }
}

TEST(CanvasClip, GetClipRegionWithoutClippingIsTheLargeRectangle) {
  TDrawSurface surface(10, 10);
  std::unique_ptr<TcxRegion> region(surface.Canvas()->GetClipRegion());
  RECT box;
  GetRgnBox(region->GetHandle(), &box);
  EXPECT_EQ(TRect(0, 0, 107374182, 107374182), TRect(box));
}

TEST(CanvasClip, CombiningRegionsInLogicalCoordinates) {
  const struct {
    TcxRegionCombine operation;
    bool inside, outside, corner;
  } cases[] = {
      {rcIntersect, true, false, false},
      {rcSubtract, false, true, true},
      {rcAdd, true, false, true},
  };
  for (const auto& c : cases) {
    TDrawSurface surface(40, 40);
    TcxCanvas* canvas = surface.Canvas();
    if (c.operation == rcAdd) canvas->IntersectClipRect(TRect(0, 0, 1, 1));
    // The window origin moves logical (10, 10) to device (5, 5).
    SetWindowOrgEx(surface.DC(), 5, 5, nullptr);
    canvas->SetClipRegion(new TcxRegion(10, 10, 20, 20), c.operation);
    canvas->FillRect(TRect(5, 5, 45, 45), clRed);
    SetWindowOrgEx(surface.DC(), 0, 0, nullptr);
    EXPECT_EQ(c.inside, surface.Pixel(10, 10) == RGBOf(clRed)) << c.operation;
    EXPECT_EQ(c.outside, surface.Pixel(30, 30) == RGBOf(clRed)) << c.operation;
    EXPECT_EQ(c.corner, surface.Pixel(0, 0) == RGBOf(clRed)) << c.operation;
  }
}

TEST(CanvasClip, SelectingTheLargeRectangleRestoresDrawing) {
  TDrawSurface surface(40, 40);
  TcxCanvas* canvas = surface.Canvas();
  TcxRegion* saved = canvas->GetClipRegion();
  canvas->IntersectClipRect(TRect(0, 0, 5, 5));
  canvas->SetClipRegion(saved, rcSet);
  canvas->FillRect(TRect(0, 0, 40, 40), clRed);
  EXPECT_EQ(RGBOf(clRed), surface.Pixel(30, 30));
}

TEST(CanvasGlyph, EnabledAndDisabledOnAColourAndOnNone) {
  TBitmap glyph;
  glyph.SetPixelFormat(pf32bit);
  glyph.SetSize(8, 8);
  glyph.GetCanvas()->GetBrush()->SetColor(kKey);
  glyph.GetCanvas()->FillRect(TRect(0, 0, 8, 8));
  glyph.GetCanvas()->GetBrush()->SetColor(clBlack);
  glyph.GetCanvas()->FillRect(TRect(2, 2, 6, 6));
  glyph.SetTransparentColor(kKey);
  const struct {
    bool enabled;
    TColor background;
    TColor corner;
    bool blackCentre;
  } cases[] = {
      {true, clNone, kGreen, true},
      {true, clRed, clRed, true},
      {false, clNone, kGreen, false},
      {false, clRed, clRed, false},
  };
  for (const auto& c : cases) {
    TDrawSurface surface(20, 20, kGreen);
    TcxCanvas* canvas = surface.Canvas();
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->DrawGlyph(4, 4, &glyph, c.enabled, c.background);
    EXPECT_EQ(RGBOf(c.corner), surface.Pixel(4, 4)) << c.enabled << c.background;
    EXPECT_EQ(c.blackCentre, surface.Pixel(7, 7) == 0) << c.enabled << c.background;
    EXPECT_NE(RGBOf(c.corner), surface.Pixel(7, 7)) << c.enabled << c.background;
    EXPECT_EQ(RGBOf(kGreen), surface.Pixel(2, 2));
    EXPECT_EQ(bsClear, canvas->GetBrush()->GetStyle());
  }
}

TEST(CanvasColors, BlendsOfTheSystemColours) {
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  for (COLORREF face : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
    TSysColorScope scope(COLOR_BTNFACE, face);
    EXPECT_EQ(static_cast<TColor>(highlight), BlendSystemColors(14, 44, 40));
    EXPECT_EQ(static_cast<TColor>(highlight), BlendSystemColors(-2, 30, 72));
  }
  // Channel by channel, with the system's rounding and clamping.
  const COLORREF face = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW);
  auto channel = [&](int shift, int f, int h, int w) {
    auto c = [shift](COLORREF v) { return static_cast<int>((v >> shift) & 0xFF); };
    return std::clamp(MulDiv(c(face), f, 100) + MulDiv(c(highlight), h, 100) + MulDiv(c(window), w, 100), 0,
                      255);
  };
  const TColor light = BlendSystemColors(-2, 30, 72);
  EXPECT_EQ(channel(0, -2, 30, 72), light & 0xFF);
  EXPECT_EQ(channel(8, -2, 30, 72), (light >> 8) & 0xFF);
  EXPECT_EQ(channel(16, -2, 30, 72), (light >> 16) & 0xFF);
  EXPECT_EQ(0xFFFFFF, BlendSystemColors(100, 100, 100));
}

TEST(CanvasScreen, MeasuresWithTheScreenContext) {
  TcxScreenCanvas screen;
  screen.GetFont()->SetName("Tahoma");
  screen.GetFont()->SetHeight(-11);
  EXPECT_GT(screen.TextWidth("Velmora"), screen.TextWidth("V"));
  EXPECT_EQ(screen.TextHeight("Qq"), screen.FontHeight(screen.GetFont()));
}
