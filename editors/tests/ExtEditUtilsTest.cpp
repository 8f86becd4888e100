// The further editors' shared routines at their edge cases: geometry of the
// list item's check box, text format flags, the number texts (which answer
// false rather than raise while painting), colour texts, and the colour
// sample, two-colour frame and pointed thumbs checked by pixels.
#include "cxExtEditUtils.h"

#include "EditTest.h"

#include "DrawTest.h"

#include "ExtCtrls.h"
#include "Locale.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(ExtEditUtils, CenterOffsetTruncatesTowardZero) {
  EXPECT_EQ(0, CenterOffset(TRect(0, 0, 10, 12), 13));
  EXPECT_EQ(1, CenterOffset(TRect(0, 5, 10, 21), 13));
  EXPECT_EQ(-1, CenterOffset(TRect(0, 0, 10, 10), 13));
}

TEST(ExtEditUtils, CheckSquareGeometryAndHitTestIncludeBothEdges) {
  TcxCheckPaintHelper helper(nullptr);
  const TRect item(0, 0, 100, 16);
  TPoint origin;
  helper.CalcCheckOrigin(item, origin);
  EXPECT_EQ(TPoint(1, 1), origin);
  TRect text;
  helper.CalcTextArea(item, text);
  EXPECT_EQ(TRect(18, 0, 100, 16), text);
  const struct {
    int x, y;
    bool hit;
  } points[] = {{1, 1, true}, {14, 14, true}, {8, 8, true}, {15, 8, false}, {0, 8, false}, {8, 15, false}};
  for (const auto& p : points)
    for (TcxCheckBoxState state : {cbsUnchecked, cbsChecked, cbsGrayed})
      EXPECT_EQ(p.hit, helper.CheckHitTest(item, state, p.x, p.y, false)) << p.x << "," << p.y;
}

TEST(ExtEditUtils, NextCheckStateCycle) {
  TcxCheckPaintHelper helper(nullptr);
  const struct {
    TcxCheckBoxState from;
    bool grayed;
    TcxCheckBoxState to;
  } cases[] = {{cbsUnchecked, false, cbsChecked}, {cbsUnchecked, true, cbsChecked},
               {cbsChecked, false, cbsUnchecked}, {cbsChecked, true, cbsGrayed},
               {cbsGrayed, false, cbsUnchecked},  {cbsGrayed, true, cbsUnchecked}};
  for (const auto& k : cases)
    EXPECT_EQ(k.to, helper.GetNextCheckState(k.from, k.grayed)) << k.from << k.grayed;
}

// The box of what is not white.
TRect DrawnBounds(const TDrawSurface& ASurface, int AWidth, int AHeight) {
  TRect r(AWidth, AHeight, 0, 0);
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x) {
      if (ASurface.Pixel(x, y) == RGBOf(clWhite)) continue;
      r = TRect(std::min<int>(r.left, x), std::min<int>(r.top, y), std::max<int>(r.right, x + 1),
                std::max<int>(r.bottom, y + 1));
    }
  return r;
}

bool Inside(const TRect& AInner, const TRect& AOuter) {
  return AInner.left >= AOuter.left && AInner.top >= AOuter.top && AInner.right <= AOuter.right &&
         AInner.bottom <= AOuter.bottom && AInner.right - AInner.left >= 9 && AInner.bottom - AInner.top >= 9;
}

TEST(ExtEditUtils, PaintedCheckSitsAtItsOriginOrTheMinimumsAndShowsItsState) {
  for (bool native : {false, true}) {
    TcxCheckPaintHelper helper(nullptr);
    helper.GetStyle()->GetLookAndFeel()->SetNativeStyle(native);
    TDrawSurface unchecked(40, 20);
    TDrawSurface checked(40, 20);
    TDrawSurface grayed(40, 20);
    helper.PaintCheck(unchecked.Canvas(), TRect(0, 2, 40, 18), cbsUnchecked, true, 1, 0);
    helper.PaintCheck(checked.Canvas(), TRect(0, 2, 40, 18), cbsChecked, true, 1, 0);
    helper.PaintCheck(grayed.Canvas(), TRect(0, 2, 40, 18), cbsGrayed, true, 1, 0);
    // The 13-pixel square at (1, 3), the item's offset; nothing beside it.
    EXPECT_TRUE(Inside(DrawnBounds(unchecked, 40, 20), TRect(1, 3, 14, 16))) << native;
    EXPECT_TRUE(Inside(DrawnBounds(checked, 40, 20), TRect(1, 3, 14, 16))) << native;
    int differing = 0;
    int grayDiffering = 0;
    for (int y = 3; y < 16; ++y)
      for (int x = 1; x < 14; ++x) {
        differing += unchecked.Pixel(x, y) != checked.Pixel(x, y);
        grayDiffering += grayed.Pixel(x, y) != checked.Pixel(x, y);
      }
    EXPECT_GT(differing, 5) << native;
    EXPECT_GT(grayDiffering, 5) << native;
    // A small item pushes the square to the minimum position.
    TDrawSurface small(40, 20);
    helper.PaintCheck(small.Canvas(), TRect(0, 0, 40, 9), cbsChecked, true, 5, 2);
    EXPECT_TRUE(Inside(DrawnBounds(small, 40, 20), TRect(5, 2, 18, 15))) << native;
    checked.SavePng(native ? "ext_check_native" : "ext_check_classic");
    grayed.SavePng(native ? "ext_check_grayed_native" : "ext_check_grayed_classic");
  }
}

TEST(ExtEditUtils, TextFormatFlags) {
  const struct {
    int start;
    TAlignment horz;
    TcxEditVertAlignment vert;
    bool ellipsis, wrap;
    int tabs, expected;
  } cases[] = {{0, taCenter, taVCenter, false, true, 0, 0x15},
               {0, taLeftJustify, taTopJustify, false, false, 0, 0},
               {0x20, taRightJustify, taBottomJustify, true, false, 2, 0x20 | 0x2 | 0x8 | 0x8000 | 0xC0},
               {0, taLeftJustify, taTopJustify, false, false, -1, 0}};
  for (const auto& k : cases)
    EXPECT_EQ(k.expected, BuildTextFormat(k.start, k.horz, k.vert, k.ellipsis, k.wrap, k.tabs));
}

TEST(ExtEditUtils, FontMeasuresFollowTheFont) {
  TFont font;
  font.SetName("Arial");
  font.SetSize(8);
  const int small = FontTextHeight(&font);
  const int smallWidth = FontTextWidth(&font, "Wide text");
  font.SetSize(20);
  EXPECT_GT(FontTextHeight(&font), small);
  EXPECT_GT(FontTextWidth(&font, "Wide text"), smallWidth);
  EXPECT_EQ(0, FontTextWidth(&font, ""));
}

TEST(ExtEditUtils, RectHelpers) {
  TRect r(10, 20, 30, 60);
  ExtendRectBy(r, -1, 2, 3, -4);
  EXPECT_EQ(TRect(9, 22, 33, 56), r);
  EXPECT_EQ(24, RectWidth(r));
  EXPECT_EQ(34, RectHeight(r));
}

TEST(ExtEditUtils, VariantKinds) {
  const struct {
    Variant v;
    bool nullOrEmpty, integer, floating;
  } cases[] = {{Variant(), true, false, false},
               {Variant::Null(), true, false, false},
               {Variant(int16_t(3)), false, true, false},
               {Variant(7), false, true, false},
               {Variant(uint16_t(7)), false, true, false},
               {Variant(uint32_t(7)), false, true, false},
               {Variant(int64_t(7)), false, true, false},
               {Variant(1.5), false, false, true},
               {Variant("12"), false, false, false},
               {Variant(true), false, false, false}};
  for (const auto& k : cases) {
    EXPECT_EQ(k.nullOrEmpty, VarIsNullOrEmpty(k.v)) << VarTypeAsText(k.v.VarType());
    EXPECT_EQ(k.integer, VarIsIntegerType(k.v)) << VarTypeAsText(k.v.VarType());
    EXPECT_EQ(k.floating, VarIsFloatType(k.v)) << VarTypeAsText(k.v.VarType());
  }
}

TEST(ExtEditUtils, NumberTextsAnswerFalseForWhatIsNoNumber) {
  const struct {
    const char* text;
    bool integer, floating;
  } cases[] = {{" 12 ", true, true},        {"\t-5\r\n", true, true},   {"-5", true, true},
               {"1-2", false, false},       {"2147483647", true, true}, {"-2147483647", true, true},
               {"2147483648", false, true}, {"", false, false},         {"  ", false, false},
               {"-", false, false},         {".", false, false},        {"-.", false, false},
               {"1.5.2", false, false},     {"-0.5", false, true},      {"1e5", false, false},
               {"+3", false, false},        {"12a", false, false}};
  for (const auto& k : cases) {
    EXPECT_EQ(k.integer, IsIntegerText(k.text)) << '"' << k.text << '"';
    EXPECT_EQ(k.floating, IsFloatText(k.text)) << '"' << k.text << '"';
  }
}

TEST(ExtEditUtils, FloatTextUsesTheLocaleSeparator) {
  const char saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = ',';
  EXPECT_TRUE(IsFloatText("-0,5"));
  EXPECT_FALSE(IsFloatText("0.5"));
  EXPECT_FALSE(IsFloatText(","));
  FormatSettings.DecimalSeparator = saved;
}

TEST(ExtEditUtils, DigitsToIntCollectsSignsAndDigits) {
  const struct {
    const char* text;
    bool stop;
    int value;
  } cases[] = {{"a12b3", false, 123}, {"a12b3", true, 0},  {"12b3", true, 12},
               {"", false, 0},        {"-42", false, -42}, {"x-4y2", false, -42}};
  for (const auto& k : cases)
    EXPECT_EQ(k.value, DigitsToInt(k.text, k.stop)) << k.text << k.stop;
  EXPECT_THROW(DigitsToInt("1-2", false), EConvertError);
}

TEST(ExtEditUtils, TextToColorByNameOrNumber) {
  const struct {
    const char* text;
    TColor color;
    bool valid;
  } cases[] = {{"clRed", clRed, true}, {"clBtnFace", clBtnFace, true},
               {"255", 255, true},     {"x", 0, false},
               {"-", 0, false},        {"12px", 12, false},
               {"1-2", 0, false}};
  for (const auto& k : cases) {
    bool valid = !k.valid;
    EXPECT_EQ(k.color, TextToColor(k.text, valid)) << k.text;
    EXPECT_EQ(k.valid, valid) << k.text;
  }
}

TEST(ExtEditUtils, ColorSampleRingsAndInteriorByStyle) {
  const struct {
    TcxDefaultColorStyle style;
    TColor interior;
  } cases[] = {{cxdcClear, clWhite}, {cxdcColor, clRed}, {cxdcText, clRed}, {cxdcCustom, clRed}};
  for (const auto& k : cases) {
    TDrawSurface surface(30, 20, clYellow);
    DrawColorSample(surface.Canvas(), TRect(2, 2, 22, 16), clBlack, clRed, clWhite, k.style);
    EXPECT_EQ(RGBOf(clYellow), surface.Pixel(1, 1));
    EXPECT_EQ(RGBOf(clWhite), surface.Pixel(2, 2));
    EXPECT_EQ(RGBOf(clWhite), surface.Pixel(21, 15));
    EXPECT_EQ(RGBOf(clBlack), surface.Pixel(3, 3));
    EXPECT_EQ(RGBOf(clBlack), surface.Pixel(20, 14));
    EXPECT_EQ(RGBOf(k.interior), surface.Pixel(10, 8)) << k.style;
    EXPECT_EQ(16 * 10, surface.Count(TRect(4, 4, 20, 14), k.interior)) << k.style;
  }
  TDrawSurface hatched(30, 20, clYellow);
  DrawColorSample(hatched.Canvas(), TRect(2, 2, 22, 16), clBlack, clRed, clWhite, cxdcHatched);
  const int red = hatched.Count(TRect(4, 4, 20, 14), clRed);
  EXPECT_GT(red, 10);
  EXPECT_EQ(16 * 10, red + hatched.Count(TRect(4, 4, 20, 14), clWhite));
  EXPECT_EQ(2 * (18 + 12) - 4, hatched.Count(TRect(3, 3, 21, 15), clBlack));
  hatched.SavePng("ext_color_sample_hatched");
  TDrawSurface empty(30, 20, clYellow);
  DrawColorSample(empty.Canvas(), TRect(2, 2, 2, 16), clBlack, clRed, clWhite, cxdcColor);
  DrawColorSample(empty.Canvas(), TRect(2, 2, 22, 2), clBlack, clRed, clWhite, cxdcColor);
  EXPECT_EQ(30 * 20, empty.CountAll(clYellow));
}

TEST(ExtEditUtils, TwoColorFramePaintsRightAndBottomAsLastColumnAndRow) {
  TDrawSurface surface(20, 20);
  TRect inner;
  DrawTwoColorFrame(surface.Canvas(), TRect(2, 3, 12, 10), clBlue, clRed, inner);
  EXPECT_EQ(TRect(3, 4, 11, 9), inner);
  EXPECT_EQ(TRect(2, 3, 13, 11), surface.BoundsOf(clBlue));
  EXPECT_EQ(RGBOf(clBlue), surface.Pixel(2, 10));
  EXPECT_EQ(RGBOf(clBlue), surface.Pixel(12, 3));
  EXPECT_EQ(RGBOf(clRed), surface.Pixel(12, 4));
  EXPECT_EQ(RGBOf(clRed), surface.Pixel(3, 10));
  EXPECT_EQ(RGBOf(clWhite), surface.Pixel(7, 6));
}

TEST(ExtEditUtils, PointedThumbsFillTheirBodyAndOutlineByLook) {
  const TcxLookAndFeelKind kinds[] = {lfStandard, lfFlat, lfUltraFlat};
  for (TcxTrackBarOrientation orientation : {tboHorizontal, tboVertical}) {
    TDrawSurface surface(140, 40, clYellow);
    for (int i = 0; i < 3; ++i) {
      const TRect down = orientation == tboHorizontal ? TRect(4 + i * 44, 4, 15 + i * 44, 24)
                                                      : TRect(4 + i * 44, 4, 24 + i * 44, 15);
      TRect up = down;
      ExtendRectBy(up, 22, 0, 22, 0);
      DrawPointedThumbDownRight(surface.Canvas(), down, orientation, 11, kinds[i], clBtnFace);
      DrawPointedThumbUpLeft(surface.Canvas(), up, orientation, 11, kinds[i], clBtnFace);
      for (const TRect& r : {down, up}) {
        EXPECT_EQ(RGBOf(clBtnFace), surface.Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2))
            << orientation << " " << i;
        EXPECT_EQ(RGBOf(clYellow), surface.Pixel(r.left - 1, r.top - 1)) << orientation << " " << i;
      }
    }
    // The ultra-flat outline is dark on both sides, the standard one light
    // at the top left.
    EXPECT_EQ(RGBOf(clWindowText), surface.Pixel(4 + 88 + 1, 4)) << orientation;
    EXPECT_EQ(RGBOf(clWindow), surface.Pixel(4 + 1, 4)) << orientation;
    surface.SavePng(orientation == tboHorizontal ? "ext_thumbs_horizontal" : "ext_thumbs_vertical");
  }
}

// The form's colour and its graphic children show where the control lies.
TEST(ExtEditUtils, ParentBackgroundLandsInTheControlsCoordinates) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 200, 150);
  form.SetColor(clLime);
  auto* image = new TImage(&form);
  image->SetParent(&form);
  image->SetBounds(10, 5, 20, 20);
  image->GetPicture()->GetBitmap()->SetSize(20, 20);
  TcxCanvas(image->GetPicture()->GetBitmap()->GetCanvas()).FillRect(TRect(0, 0, 20, 20), clRed);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(20, 10, 40, 40);
  form.HandleNeeded();
  TDrawSurface surface(40, 40, clWhite);
  DrawParentBackground(panel, surface.DC(), false);
  EXPECT_EQ(40 * 40, surface.CountAll(clWhite));
  DrawParentBackground(panel, surface.DC(), true);
  EXPECT_EQ(TRect(0, 0, 10, 15), surface.BoundsOf(clRed));
  EXPECT_EQ(RGBOf(clLime), surface.Pixel(20, 20));
  DrawParentBackground(nullptr, surface.DC(), true);
}

} // namespace
