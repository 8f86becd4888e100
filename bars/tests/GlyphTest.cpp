#include "DrawTest.h"

#include "GuiTest.h"
#include "ImgList.h"
#include "dxBarCommon.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kInk = RGB(200, 100, 50);
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kBrush = RGB(0, 128, 0);

// A 4x4 glyph of ink whose bottom-left pixel, and so its inner pixel (2, 2)
// of the same colour, is transparent.
TBitmap* Glyph() {
  static TBitmap* glyph = [] {
    auto* bitmap = new TBitmap;
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(4, 4);
    HDC dc = bitmap->GetCanvas()->GetHandle();
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        SetPixel(dc, x, y, kInk);
    SetPixel(dc, 0, 3, kKey);
    SetPixel(dc, 2, 2, kKey);
    return bitmap;
  }();
  return glyph;
}

struct TGlyphCase {
  const char* name;
  TdxGlyphState state;
  TColor fade;
  COLORREF at33, at25, at44, at66; // cell pixels; the glyph lies at (2, 2)
};

void DrawCase(guitest::TCapture& surface, const TdxGlyphState& state, TColor fade, const TRect& glyphRect,
              TBitmap* bitmap, TCustomImageList* images = nullptr) {
  FillRectWithColor(surface.DC(), TRect(0, 0, surface.Width(), surface.Height()), clRed);
  HBRUSH brush = CreateSolidBrush(kBrush);
  DrawStateGlyph(surface.DC(), brush, TRect(0, 0, 8, 8), clFuchsia, fade, state, 0, images, bitmap,
                 glyphRect);
  DeleteObject(brush);
}

TdxGlyphState Colour() {
  TdxGlyphState state;
  state.StateImage = true;
  return state;
}

TdxGlyphState With(TdxGlyphState state, bool TdxGlyphState::*flag) {
  state.*flag = true;
  return state;
}

} // namespace

TEST(StateGlyph, EffectsOnTheGlyphsPixels) {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  TdxGlyphState flatSelected = With(With(With(Colour(), &TdxGlyphState::FlatLook), &TdxGlyphState::Selected),
                                    &TdxGlyphState::ShadowAllowed);
  TdxGlyphState embossed;
  const TGlyphCase cases[] = {
      {"colours, the bottom-left colour transparent", Colour(), clNone, kInk, kBrush, kBrush, kBrush},
      {"tinted towards the fade colour", TdxGlyphState(), static_cast<TColor>(RGB(0, 0, 255)),
       RGB(39, 39, 230), kBrush, kBrush, kBrush},
      {"a state image stays untinted", Colour(), static_cast<TColor>(RGB(0, 0, 255)), kInk, kBrush, kBrush,
       kBrush},
      {"disabled: grey", With(Colour(), &TdxGlyphState::Disabled), clNone, RGB(116, 116, 116), kBrush, kBrush,
       kBrush},
      {"flat: 30% lighter", With(Colour(), &TdxGlyphState::FlatLook), clNone, RGB(217, 147, 112), kBrush,
       kBrush, kBrush},
      {"flat and down: not lighter", With(With(Colour(), &TdxGlyphState::FlatLook), &TdxGlyphState::Down),
       clNone, kInk, kBrush, kBrush, kBrush},
      // The glyph rises to (1, 1), its shadow falls to (3, 3) and shows
      // through the glyph's inner transparent pixel.
      {"flat and selected: raised over a shadow", flatSelected, clNone, shadow, kBrush, kInk, shadow},
      {"flat, selected and pressed: no shadow", With(flatSelected, &TdxGlyphState::Pressed), clNone, kInk,
       kBrush, kBrush, kBrush},
      {"embossed", embossed, clNone, shadow, kBrush, highlight, highlight},
      {"embossed flat: no highlight", With(embossed, &TdxGlyphState::FlatLook), clNone, shadow, kBrush,
       kBrush, kBrush},
  };
  guitest::TCapture surface(8, 8);
  for (const auto& c : cases) {
    DrawCase(surface, c.state, c.fade, TRect(2, 2, 6, 6), Glyph());
    EXPECT_EQ(surface.Pixel(3, 3), c.at33) << c.name;
    EXPECT_EQ(surface.Pixel(2, 5), c.at25) << c.name;
    EXPECT_EQ(surface.Pixel(4, 4), c.at44) << c.name;
    EXPECT_EQ(surface.Pixel(6, 6), c.at66) << c.name;
    EXPECT_EQ(surface.Pixel(0, 0), kBrush) << c.name << ": the cell's background";
  }
}

TEST(StateGlyph, SourcesSizesAndBackgrounds) {
  guitest::TCapture surface(8, 8);
  // Stretched from its own size to the glyph rectangle.
  DrawCase(surface, Colour(), clNone, TRect(0, 0, 8, 8), Glyph());
  EXPECT_EQ(surface.Pixel(7, 7), kInk);
  EXPECT_EQ(surface.Pixel(1, 7), kBrush);
  EXPECT_EQ(surface.Pixel(5, 5), kBrush) << "the inner transparent pixel";

  // An image list's image, drawn over the image background colour.
  TImageList images(nullptr);
  images.SetWidth(4);
  images.SetHeight(4);
  images.AddMasked(Glyph(), clFuchsia);
  TBitmap empty;
  DrawCase(surface, Colour(), clNone, TRect(2, 2, 6, 6), &empty, &images);
  EXPECT_EQ(surface.Pixel(3, 3), kInk);
  EXPECT_EQ(surface.Pixel(2, 5), kBrush);
  DrawCase(surface, TdxGlyphState(), clNone, TRect(2, 2, 6, 6), nullptr, &images);
  EXPECT_EQ(surface.Pixel(3, 3), GetSysColor(COLOR_BTNSHADOW)) << "embossed";
  EXPECT_EQ(surface.Pixel(2, 5), kBrush);

  // The cell keeps the target's pixels.
  FillRectWithColor(surface.DC(), TRect(0, 0, 8, 8), clBlue);
  TdxGlyphState copy = With(Colour(), &TdxGlyphState::CopyBackground);
  DrawStateGlyph(surface.DC(), nullptr, TRect(0, 0, 8, 8), clFuchsia, clNone, copy, 0, nullptr, Glyph(),
                 TRect(2, 2, 6, 6));
  EXPECT_EQ(surface.Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(2, 5), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(3, 3), kInk);
}

TEST(StateGlyph, Picture) {
  // The effects side by side at eight times their size, for a person to see.
  guitest::TCapture surface(8 * 6, 8);
  const TdxGlyphState states[] = {
      Colour(), TdxGlyphState(), With(Colour(), &TdxGlyphState::Disabled),
      With(Colour(), &TdxGlyphState::FlatLook),
      With(With(With(Colour(), &TdxGlyphState::FlatLook), &TdxGlyphState::Selected),
           &TdxGlyphState::ShadowAllowed)};
  FillRectWithColor(surface.DC(), TRect(0, 0, surface.Width(), 8), clWhite);
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  int x = 0;
  for (const auto& state : states) {
    DrawStateGlyph(surface.DC(), brush, TRect(x, 0, x + 8, 8), clFuchsia, clNone, state, 0, nullptr, Glyph(),
                   TRect(x + 2, 2, x + 6, 6));
    x += 8;
  }
  DrawStateGlyph(surface.DC(), brush, TRect(x, 0, x + 8, 8), clFuchsia, static_cast<TColor>(RGB(0, 0, 255)),
                 TdxGlyphState(), 0, nullptr, Glyph(), TRect(x + 2, 2, x + 6, 6));
  guitest::TCapture large(surface.Width() * 8, 64);
  StretchBlt(large.DC(), 0, 0, large.Width(), 64, surface.DC(), 0, 0, surface.Width(), 8, SRCCOPY);
  EXPECT_FALSE(large.SavePng("bars_state_glyphs").empty());
}
