#include "cxLookAndFeelPainters.h"

#include "DrawTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using Painter = TcxCustomLookAndFeelPainterClass;
constexpr TColor kGreen = 0x008000;

Painter Standard() {
  return TcxStandardLookAndFeelPainter::Instance();
}
Painter Flat() {
  return TcxFlatLookAndFeelPainter::Instance();
}
Painter UltraFlat() {
  return TcxUltraFlatLookAndFeelPainter::Instance();
}
Painter Native() {
  return TcxWinXPLookAndFeelPainter::Instance();
}

} // namespace

TEST(Painters, PixelsAtKeyPoints) {
  const struct {
    const char* what;
    std::function<void(TcxCanvas*)> draw;
    int x, y;
    std::function<TColor()> color;
  } cases[] = {
      {"standard border, outer ring",
       [](TcxCanvas* c) { Standard()->DrawControlBorder(c, TRect(0, 0, 20, 20)); }, 0, 5,
       [] { return clBtnShadow; }},
      {"standard border, inner ring",
       [](TcxCanvas* c) { Standard()->DrawControlBorder(c, TRect(0, 0, 20, 20)); }, 1, 5,
       [] { return cl3DDkShadow; }},
      {"standard border, outer bottom",
       [](TcxCanvas* c) { Standard()->DrawControlBorder(c, TRect(0, 0, 20, 20)); }, 5, 19,
       [] { return clBtnHighlight; }},
      {"standard border, inner bottom",
       [](TcxCanvas* c) { Standard()->DrawControlBorder(c, TRect(0, 0, 20, 20)); }, 5, 18,
       [] { return cl3DLight; }},
      {"flat default button, black ring",
       [](TcxCanvas* c) { Flat()->DrawPushButton(c, TRect(0, 0, 30, 20), "", cxbsDefault); }, 0, 10,
       [] { return clBlack; }},
      {"flat default button, then the light ring",
       [](TcxCanvas* c) { Flat()->DrawPushButton(c, TRect(0, 0, 30, 20), "", cxbsDefault); }, 1, 10,
       [] { return clBtnHighlight; }},
      {"ultra-flat hot face",
       [](TcxCanvas* c) { UltraFlat()->DrawPushButton(c, TRect(0, 0, 30, 20), cxbsHot); }, 15, 10,
       [] { return BlendHighlightColorLight(); }},
      {"ultra-flat pressed face",
       [](TcxCanvas* c) { UltraFlat()->DrawPushButton(c, TRect(0, 0, 30, 20), cxbsPressed); }, 15, 10,
       [] { return BlendHighlightColorDark(); }},
      {"ultra-flat hot frame",
       [](TcxCanvas* c) { UltraFlat()->DrawPushButton(c, TRect(0, 0, 30, 20), cxbsHot); }, 0, 10,
       [] { return clHighlight; }},
      {"ultra-flat normal frame",
       [](TcxCanvas* c) { UltraFlat()->DrawPushButton(c, TRect(0, 0, 30, 20), cxbsNormal); }, 0, 10,
       [] { return clBtnText; }},
      {"ultra-flat pressed glyph",
       [](TcxCanvas* c) { UltraFlat()->DrawArrowButton(c, TRect(0, 0, 20, 20), cxbsPressed, adDown); }, 9, 9,
       [] { return clHighlightText; }},
      {"page pattern, parities agree",
       [](TcxCanvas* c) {
         Standard()->DrawScrollBarPart(c, false, TRect(0, 0, 16, 16), sbpPageUp, cxbsNormal);
       },
       4, 6, [] { return clBtnFace; }},
      {"page pattern, parities differ",
       [](TcxCanvas* c) {
         Flat()->DrawScrollBarPart(c, false, TRect(0, 0, 16, 16), sbpPageDown, cxbsNormal);
       },
       5, 6, [] { return clBtnHighlight; }},
      {"pressed page pattern, parities agree",
       [](TcxCanvas* c) {
         UltraFlat()->DrawScrollBarPart(c, true, TRect(0, 0, 16, 16), sbpPageUp, cxbsPressed);
       },
       2, 2, [] { return clBlack; }},
      {"pressed page pattern, parities differ",
       [](TcxCanvas* c) {
         Standard()->DrawScrollBarPart(c, true, TRect(0, 0, 16, 16), sbpPageUp, cxbsPressed);
       },
       3, 2, [] { return cl3DDkShadow; }},
      {"disabled standard thumb draws nothing",
       [](TcxCanvas* c) {
         Standard()->DrawScrollBarPart(c, false, TRect(0, 0, 16, 16), sbpThumbnail, cxbsDisabled);
       },
       0, 0, [] { return kGreen; }},
      {"ultra-flat header, no left line with a left neighbour",
       [](TcxCanvas* c) {
         const TcxNeighbors left{bLeft};
         UltraFlat()->DrawHeaderFrame(c, TRect(0, 0, 30, 20), left, UltraFlat()->GetHeaderEdges(left));
       },
       0, 10, [] { return kGreen; }},
  };
  for (const auto& c : cases) {
    TDrawSurface surface(40, 30, kGreen);
    c.draw(surface.Canvas());
    EXPECT_EQ(RGBOf(c.color()), surface.Pixel(c.x, c.y)) << c.what;
  }
}

TEST(Painters, RadioCentreIsTheDotWhenCheckedAndTheInteriorWhenNot) {
  const SIZE size = GetRadioButtonImageList()->GetImageSize();
  for (Painter painter : {Flat(), Standard(), UltraFlat()}) {
    for (bool checked : {false, true}) {
      TDrawSurface surface(20, 20, kGreen);
      painter->DrawRadioButton(surface.Canvas(), 2, 2, cxbsNormal, checked, false, clDefault);
      EXPECT_EQ(RGBOf(checked ? clBtnText : clWindow), surface.Pixel(2 + size.cx / 2, 2 + size.cy / 2))
          << painter->GetPainterStyle() << checked;
      // Outside the circle the background shows.
      EXPECT_EQ(RGBOf(kGreen), surface.Pixel(2, 2));
    }
  }
}

TEST(Painters, NativeButtonAndRadioAreNotTheStandardOnes) {
  for (auto draw :
       {+[](Painter p, TcxCanvas*c) { p->DrawPushButton(c, TRect(0, 0, 60, 23), "OK", cxbsNormal); },
        +[](Painter p, TcxCanvas*c) { p->DrawRadioButton(c, 0, 0, cxbsNormal, true, false, clDefault); }}) {
    TDrawSurface native(60, 23, kGreen), standard(60, 23, kGreen);
    draw(Native(), native.Canvas());
    draw(Standard(), standard.Canvas());
    int differing = 0;
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 60; ++x)
        if (native.Pixel(x, y) != standard.Pixel(x, y)) ++differing;
    EXPECT_GT(differing, 10);
  }
}

TEST(Painters, NativeMetricsFromTheTheme) {
  EXPECT_EQ(3, Native()->GetButtonBorderWidth(cxbsNormal));
  // The face colour property is not in the theme: the system's face colour.
  EXPECT_EQ(clBtnFace, Native()->GetButtonFaceColor(cxbsNormal));
  EXPECT_EQ(9, Native()->GetTreeExpandButtonExtent());
  EXPECT_EQ(9, Native()->GetSmallExpandButtonExtent());
  EXPECT_EQ(0, Native()->GetCheckFrameWidth());
  const SIZE check = Native()->GetFilterCheckButtonExtent();
  EXPECT_EQ(13, check.cx);
  EXPECT_EQ(13, check.cy);
  TDrawSurface surface(30, 30, kGreen);
  Native()->DrawRadioButton(surface.Canvas(), 5, 5, cxbsNormal, false, false, clDefault);
  // The radio part is 13 by 13.
  TRect drawn(30, 30, 0, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      if (surface.Pixel(x, y) != RGBOf(kGreen))
        drawn = TRect(std::min<LONG>(drawn.left, x), std::min<LONG>(drawn.top, y),
                      std::max<LONG>(drawn.right, x + 1), std::max<LONG>(drawn.bottom, y + 1));
  EXPECT_LE(TRect(5, 5, 18, 18).left, drawn.left);
  EXPECT_GE(18, drawn.right);
  EXPECT_GE(18, drawn.bottom);
  EXPECT_GE(drawn.Width(), 11);
}

TEST(Painters, DownArrowInA16By10RectangleIs5By3) {
  TDrawSurface surface(20, 14, clWhite);
  Standard()->DrawArrow(surface.Canvas(), TRect(2, 2, 18, 12), adDown, clBlack);
  const TRect arrow = surface.BoundsOf(clBlack);
  EXPECT_EQ(5, arrow.Width());
  EXPECT_EQ(3, arrow.Height());
}

TEST(Painters, ArrowPointsAndDirections) {
  const struct {
    TcxArrowDirection direction;
    int width, height;
  } cases[] = {{adUp, 7, 4}, {adDown, 7, 4}, {adLeft, 4, 7}, {adRight, 4, 7}};
  for (const auto& c : cases) {
    TDrawSurface surface(20, 20, clWhite);
    Standard()->DrawArrow(surface.Canvas(), TRect(2, 2, 18, 18), c.direction, clBlack);
    const TRect arrow = surface.BoundsOf(clBlack);
    EXPECT_EQ(c.width, arrow.Width()) << c.direction;
    EXPECT_EQ(c.height, arrow.Height()) << c.direction;
  }
}

TEST(Painters, ButtonCaptionOnA17PixelFaceSitsOnePixelHigh) {
  // The standard border is 2 pixels: faces of 17 and 18 pixels.
  for (int face : {17, 18}) {
    TFont font;
    TDrawSurface button(80, 30), expected(80, 30);
    Standard()->DrawPushButton(button.Canvas(), TRect(0, 0, 80, face + 4), "Mg", cxbsNormal);
    TRect text(2, 2, 78, 2 + face);
    if (face == 17) OffsetRect(&text, 0, -1);
    expected.Canvas()->GetBrush()->SetStyle(bsClear);
    expected.Canvas()->DrawText("Mg", text, tfCenterX | tfCenterY | tfSingleLine | tfShowPrefix);
    const TRect ink = button.BoundsOf(clBtnText);
    EXPECT_FALSE(IsRectEmpty(&ink));
    EXPECT_EQ(expected.BoundsOf(clBtnText), ink) << face;
  }
  TDrawSurface disabled(80, 30);
  Standard()->DrawPushButton(disabled.Canvas(), TRect(0, 0, 80, 25), "Mg", cxbsDisabled);
  EXPECT_GT(disabled.Count(TRect(2, 2, 78, 23), clBtnHighlight), 0);
  EXPECT_GT(disabled.Count(TRect(2, 2, 78, 23), clBtnShadow), 0);
}

TEST(Painters, FocusRectangleOfANarrowButtonIsTheButton) {
  TDrawSurface surface(10, 10);
  const struct {
    Painter painter;
    TRect r, focus;
  } cases[] = {
      {Standard(), TRect(0, 0, 8, 20), TRect(0, 0, 8, 20)},
      {Standard(), TRect(0, 0, 9, 20), TRect(4, 4, 5, 16)},
      {UltraFlat(), TRect(0, 0, 6, 20), TRect(0, 0, 6, 20)},
      {UltraFlat(), TRect(0, 0, 7, 20), TRect(3, 3, 4, 17)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.focus, c.painter->CalculateButtonFocusRect(surface.Canvas(), c.r));
}

TEST(Painters, HeaderWidthsAndHeights) {
  TDrawSurface surface(10, 10);
  TFont font;
  surface.Canvas()->SetFont(&font);
  const int text = surface.Canvas()->TextWidth("Column");
  const struct {
    TcxBorders borders;
    int width;
  } cases[] = {
      {TcxBorders{bLeft, bRight}, text + 4},
      {TcxBorders{bLeft}, text + 5},
      {TcxBorders{bRight}, text + 3},
      {TcxBorders(), text + 4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.width, Standard()->GetHeaderWidth(surface.Canvas(), c.borders, "Column", &font));
  EXPECT_EQ(13 + 2 * 3, Standard()->GetHeaderHeight(13));
  EXPECT_EQ(13 + 2 * 2, TcxCustomLookAndFeelPainter::Instance()->GetHeaderHeight(13));
}

TEST(Painters, IndicatorKinds) {
  std::vector<uint64_t> images;
  for (int kind = ikNone; kind <= ikMultiArrow; ++kind) {
    TDrawSurface surface(14, 20, kGreen);
    Flat()->DrawIndicatorCell(surface.Canvas(), TRect(0, 0, 14, 20), static_cast<TcxIndicatorKind>(kind),
                              clBtnFace);
    const int black = surface.Count(TRect(4, 5, 10, 15), clBlack);
    EXPECT_EQ(kind != ikNone, black > 0) << kind;
    uint64_t bits = 0;
    for (int y = 5; y < 14; ++y)
      for (int x = 4; x < 9; ++x)
        bits = bits * 2 + (surface.Pixel(x, y) == 0 ? 1 : 0);
    images.push_back(bits);
  }
  std::sort(images.begin(), images.end());
  EXPECT_EQ(images.end(), std::unique(images.begin(), images.end()));
}

TEST(Painters, UltraFlatButtonRow) {
  TDrawSurface surface(60, 20, kGreen);
  for (int i = 0; i < 3; ++i)
    UltraFlat()->DrawPlainButton(surface.Canvas(), TRect(i * 20, 0, i * 20 + 20, 20),
                                 i == 1 ? cxbsHot : cxbsNormal, 3, i, clBtnShadow);
  // The outer sides of the first and last buttons are one pixel in.
  EXPECT_EQ(RGBOf(kGreen), surface.Pixel(0, 10));
  EXPECT_EQ(RGBOf(clBtnShadow), surface.Pixel(1, 10));
  EXPECT_EQ(RGBOf(kGreen), surface.Pixel(59, 10));
  EXPECT_EQ(RGBOf(clBtnShadow), surface.Pixel(58, 10));
  // A hot middle button: highlight separators on both sides, the light face.
  EXPECT_EQ(RGBOf(clHighlight), surface.Pixel(20, 10));
  EXPECT_EQ(RGBOf(clHighlight), surface.Pixel(39, 10));
  EXPECT_EQ(RGBOf(BlendHighlightColorLight()), surface.Pixel(30, 10));
}

TEST(Painters, TreeExpandButtonsKeepLaterDrawingOut) {
  for (Painter painter : {Flat(), Standard(), UltraFlat(), Native()}) {
    TDrawSurface surface(20, 20, kGreen);
    painter->DrawTreeExpandButton(surface.Canvas(), TRect(2, 2, 13, 13), true, clDefault);
    const COLORREF inside = surface.Pixel(7, 7);
    surface.Canvas()->FillRect(TRect(0, 0, 20, 20), clRed);
    EXPECT_EQ(inside, surface.Pixel(7, 7)) << painter->GetPainterStyle();
    EXPECT_EQ(RGBOf(clRed), surface.Pixel(15, 15));
  }
}

TEST(Painters, PagePatternsFollowTheColoursWhenRefreshed) {
  auto pagePixel = [] {
    TDrawSurface surface(16, 16);
    TcxStandardLookAndFeelPainter::Instance()->DrawScrollBarPart(surface.Canvas(), false, TRect(0, 0, 16, 16),
                                                                 sbpPageUp, cxbsNormal);
    return surface.Pixel(2, 2);
  };
  const COLORREF before = pagePixel();
  {
    TSysColorScope scope(COLOR_BTNFACE, RGB(10, 200, 30));
    EXPECT_EQ(before, pagePixel());
    RefreshScrollBarPatterns();
    EXPECT_EQ(RGB(10, 200, 30), pagePixel());
  }
  RefreshScrollBarPatterns();
  EXPECT_EQ(before, pagePixel());
}

TEST(Painters, ElementColours) {
  const TcxCustomLookAndFeelPainter* p = UltraFlat();
  EXPECT_EQ(clWindow, p->ElementColor6());
  EXPECT_EQ(clBlue, p->ElementColor24());
  EXPECT_EQ(clBtnShadow, p->ElementColor25());
  EXPECT_EQ(clHighlightText, p->ElementColor27());
  EXPECT_EQ(clBtnFace, p->ElementColor31());
}

TEST(PaintersStyleOff, NativeRadioFallsBackToTheStandardRadio) {
  for (bool checked : {false, true}) {
    TDrawSurface native(20, 20, kGreen), standard(20, 20, kGreen);
    Native()->DrawRadioButton(native.Canvas(), 2, 2, cxbsNormal, checked, false, clDefault);
    Standard()->DrawRadioButton(standard.Canvas(), 2, 2, cxbsNormal, checked, false, clDefault);
    EXPECT_GT(native.CountAll(clBtnShadow), 0);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        ASSERT_EQ(standard.Pixel(x, y), native.Pixel(x, y)) << x << "," << y;
  }
}
