#include "cxLookAndFeelPainters.h"

#include "DrawTest.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kGreen = 0x008000;

// An ultra-flat, unfocused, normal radio's outer ring pixel: on the radio's
// left edge at half height.
COLORREF UltraFlatRing() {
  const SIZE size = GetRadioButtonImageList()->GetImageSize();
  TDrawSurface surface(20, 20, kGreen);
  TcxUltraFlatLookAndFeelPainter::Instance()->DrawRadioButton(surface.Canvas(), 0, 0, cxbsNormal, false,
                                                              false, clDefault, true);
  return surface.Pixel(0, size.cy / 2);
}

} // namespace

TEST(RadioImages, IndexOfEachLook) {
  const struct {
    TcxButtonState state;
    bool checked;
    int style;
    bool focused;
    int index;
  } cases[] = {
      {cxbsHot, true, 2, false, 21},
      {cxbsDefault, false, 0, false, 0},
      {cxbsNormal, false, 0, false, 0},
      {cxbsDisabled, true, 1, true, 3 + 4 + 8 + 24},
      {cxbsPressed, false, 2, true, 2 + 16 + 24},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.index, cxRadioButtonImageIndex(c.state, c.checked, c.style, c.focused));
}

TEST(RadioImages, TheSystemRadioAndItsDotAreMeasured) {
  const TcxSystemRadioGeometry geometry = cxMeasureSystemRadioButton();
  EXPECT_FALSE(IsRectEmpty(&geometry.Radio));
  EXPECT_FALSE(IsRectEmpty(&geometry.Dot));
  TRect inside;
  EXPECT_TRUE(IntersectRect(&inside, &geometry.Radio, &geometry.Dot));
  EXPECT_EQ(geometry.Dot, inside);
  EXPECT_LE(geometry.Radio.right, geometry.Cell.cx);
  EXPECT_LE(geometry.Radio.bottom, geometry.Cell.cy);
  const SIZE size = GetRadioButtonImageList()->GetImageSize();
  EXPECT_EQ(geometry.Radio.Width(), size.cx);
  EXPECT_EQ(geometry.Radio.Height(), size.cy);
}

TEST(RadioImages, OnABrushColourTheTransparentPartsTakeIt) {
  const struct {
    TColor brush;
    TColor corner;
  } cases[] = {{clDefault, kGreen}, {clRed, clRed}};
  for (const auto& c : cases) {
    TDrawSurface surface(20, 20, kGreen);
    TcxStandardLookAndFeelPainter::Instance()->DrawRadioButton(surface.Canvas(), 0, 0, cxbsNormal, true,
                                                               false, c.brush);
    EXPECT_EQ(RGBOf(c.corner), surface.Pixel(0, 0));
    const SIZE size = GetRadioButtonImageList()->GetImageSize();
    EXPECT_EQ(RGBOf(clBtnText), surface.Pixel(size.cx / 2, size.cy / 2));
  }
}

TEST(RadioImages, AColourChangeEmptiesTheListAndTheNextDrawRebuildsIt) {
  TcxRadioButtonImageList* images = GetRadioButtonImageList();
  // Built without the highlight frame: the ultra-flat ring is the shadow.
  images->Clear();
  TDrawSurface surface(20, 20);
  TcxUltraFlatLookAndFeelPainter::Instance()->DrawRadioButton(surface.Canvas(), 0, 0, cxbsNormal, false,
                                                              false, clDefault, false);
  ASSERT_EQ(48, images->GetCount());
  EXPECT_EQ(RGBOf(clBtnShadow), surface.Pixel(0, images->GetImageSize().cy / 2));
  {
    // The images follow the new colours: an unchecked radio's centre is the window colour.
    const COLORREF window = RGB(10, 200, 30);
    TSysColorScope scope(COLOR_WINDOW, window);
    EXPECT_TRUE(guitest::PumpUntil([&] { return images->GetCount() == 0; }));
    TDrawSurface changed(20, 20);
    TcxStandardLookAndFeelPainter::Instance()->DrawRadioButton(changed.Canvas(), 0, 0, cxbsNormal, false,
                                                               false, clDefault);
    const SIZE size = images->GetImageSize();
    EXPECT_EQ(window, changed.Pixel(size.cx / 2, size.cy / 2));
  }
  // Restoring the colours empties the list again.
  EXPECT_TRUE(guitest::PumpUntil([&] { return images->GetCount() == 0; }));
  guitest::PumpFor(50);
  // The next draw builds the images with its own highlight frame.
  EXPECT_EQ(RGBOf(clHighlight), UltraFlatRing());
  EXPECT_EQ(48, images->GetCount());
  // Kept until the next change: another draw without the frame does not rebuild.
  TDrawSurface again(20, 20);
  TcxUltraFlatLookAndFeelPainter::Instance()->DrawRadioButton(again.Canvas(), 0, 0, cxbsNormal, false, false,
                                                              clDefault, false);
  EXPECT_EQ(RGBOf(clHighlight), again.Pixel(0, images->GetImageSize().cy / 2));
  images->Clear();
}
