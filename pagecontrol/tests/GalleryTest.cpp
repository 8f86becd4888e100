// Every painter on every side, single and multi-line, rotated, with images,
// hidden and disabled tabs and the navigator: one PNG each for a person to
// look at, and the pixels that the painters promise checked from a table.
#include "TabControlTest.h"

#include "dxThemeManager.h"

#include <gtest/gtest.h>

namespace {

using guitest::TCapture;

std::unique_ptr<TImageList> MakeImages() {
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetWidth(16);
  images->SetHeight(12);
  for (TColor color : {clRed, clGreen, clBlue}) {
    TBitmap bitmap;
    bitmap.SetSize(16, 12);
    bitmap.GetCanvas()->GetBrush()->SetColor(color);
    bitmap.GetCanvas()->FillRect(TRect(0, 0, 16, 12));
    // A mark at the top left shows how the image is turned.
    bitmap.GetCanvas()->GetBrush()->SetColor(clYellow);
    bitmap.GetCanvas()->FillRect(TRect(0, 0, 5, 4));
    images->Add(&bitmap, nullptr);
  }
  return images;
}

struct TLook {
  const char* name;
  TcxPCStyleID style;
  bool native;
};

const TLook kLooks[] = {
    {"tabs_native", 1, true},  {"tabs_classic", 1, false}, {"buttons", 2, false},
    {"flatbuttons", 3, false}, {"flat", 5, false},
};

const char* const kPositions[] = {"top", "bottom", "left", "right"};

// Seven tabs, the third hidden and the fourth disabled, on a control of
// the look.
void Populate(TTabForm<>& f, const TLook& look, TCustomImageList* images) {
  f.control->GetLookAndFeel()->SetKind(lfStandard);
  f.control->GetLookAndFeel()->SetNativeStyle(look.native);
  f.control->SetStyle(look.style);
  f.control->SetImages(images);
  f.control->SetOptions(TcxPCOptions{pcoGoDialog});
  f.AddTabs({"&Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta"});
  for (int i = 0; i < 7; ++i)
    f.Tab(i)->SetImageIndex(i % 3);
  f.Tab(2)->SetVisible(false);
  f.Tab(3)->SetEnabled(false);
  f.Tab(5)->SetHighlighted(true);
  f.control->ChangeTabIndex(1);
}

TEST(Gallery, EveryPainterOnEverySide) {
  auto images = MakeImages();
  for (const TLook& look : kLooks) {
    for (int position = 0; position < 4; ++position) {
      for (bool multiLine : {false, true}) {
        TTabForm<> f(280, 220);
        f.control->SetTabPosition(static_cast<TcxTabPosition>(position));
        f.control->SetMultiLine(multiLine);
        Populate(f, look, images.get());
        guitest::PumpFor(10);
        auto capture = TCapture::Paint(f.control->GetHandle());
        capture.SavePng(String("pc_") + look.name + "_" + kPositions[position] +
                        (multiLine ? "_multi" : "_single"));
        EXPECT_EQ(0, f.control->GetPainter()->ClipStackDepth()) << look.name;
      }
    }
    TTabForm<> f(280, 220);
    f.control->SetRotate(true);
    f.control->SetMaxRotatedTabWidth(70);
    Populate(f, look, images.get());
    TCapture::Paint(f.control->GetHandle()).SavePng(String("pc_") + look.name + "_top_rotated");
    TTabForm<> g(280, 220);
    g.control->SetTabPosition(tpLeft);
    g.control->SetRotate(true);
    Populate(g, look, images.get());
    TCapture::Paint(g.control->GetHandle()).SavePng(String("pc_") + look.name + "_left_rotated");
  }
}

// A classic Tabs control of three tabs with the first selected.
struct TClassicTabs : TTabForm<> {
  TClassicTabs() : TTabForm<>(300, 150) {
    control->GetLookAndFeel()->SetKind(lfStandard);
    control->GetLookAndFeel()->SetNativeStyle(false);
    AddTabs({"One", "Two", "Three"});
  }
};

TEST(GalleryPixels, TheSelectedClassicTabIsLargerAndJoinsThePage) {
  TClassicTabs f;
  ASSERT_FALSE(f.control->GetPainter()->IsNativePainting());
  const TRect base = f.Tab(0)->GetBaseRect();
  const TRect full = f.Tab(0)->GetFullRect();
  EXPECT_EQ(base.Width() + 4, full.Width());
  EXPECT_EQ(base.Height() + 3, full.Height());
  auto capture = TCapture::Paint(f.control->GetHandle());
  capture.SavePng("pc_pixels_classic_selected");
  const TRect other = f.Tab(1)->GetBaseRect();
  const TRect third = f.Tab(2)->GetBaseRect();
  struct {
    int x;
    int y;
    TColor color;
    const char* what;
  } cases[] = {
      {0, full.bottom, clBtnHighlight, "the frame's highlight continues under the tab at the left edge"},
      {1, full.bottom, cl3DLight, "and its light line beside it"},
      {10, full.bottom, clBtnFace, "no frame line under the selected tab"},
      {10, full.bottom - 1, clBtnFace, "nor on the row above"},
      {(other.left + other.right) / 2, other.bottom, clBtnHighlight, "the frame runs under the other tabs"},
      {(other.left + other.right) / 2, other.bottom - 1, f.control->GetColor(), "the strip above the frame"},
      {third.left, (third.top + third.bottom) / 2, clBtnHighlight, "an unselected tab's left edge"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ColorToRGB(c.color), capture.Pixel(c.x, c.y)) << c.what;
}

TEST(GalleryPixels, ADisabledArrowIsEmbossed) {
  TClassicTabs f;
  for (int i = 0; i < 10; ++i)
    f.control->GetTabs()->Add("More tabs " + std::to_string(i));
  auto* painter = static_cast<TcxPCStandardPainter*>(f.control->GetPainter());
  ASSERT_EQ(nbsDisabled, f.control->NavigatorButtonStates[nbTopLeft]);
  TRect left;
  TRect right;
  for (const auto& info : painter->GetNavigatorButtonInfos())
    (info.Button == nbTopLeft ? left : right) = info.Rect;
  auto capture = TCapture::Paint(f.control->GetHandle());
  // The left arrow (size 5) at (6, 5): its tip at (0, 4), its back from
  // (4, 0) to (4, 8); the highlight copy one pixel right and down.
  const TPoint p(left.left + 6, left.top + 5);
  EXPECT_EQ(ColorToRGB(clBtnShadow), capture.Pixel(p.x + 2, p.y + 4));
  EXPECT_EQ(ColorToRGB(clBtnHighlight), capture.Pixel(p.x + 5, p.y + 9));
  // The enabled right arrow at (8, 5) in the text colour.
  EXPECT_EQ(ColorToRGB(clBtnText), capture.Pixel(right.left + 8 + 1, right.top + 5 + 4));
}

TEST(GalleryPixels, FiveFlatButtonsShowFourGrooves) {
  TTabForm<> f(500, 120);
  f.control->SetStyle(3);
  f.AddTabs({"One", "Two", "Three", "Four", "Five"});
  auto capture = TCapture::Paint(f.control->GetHandle());
  capture.SavePng("pc_pixels_flatbuttons_grooves");
  const TRect tab = f.Tab(0)->GetFullRect();
  const int y = (tab.top + tab.bottom) / 2;
  int grooves = 0;
  for (int x = 0; x + 1 < 500; ++x)
    if (capture.Pixel(x, y) == ColorToRGB(clBtnShadow) &&
        capture.Pixel(x + 1, y) == ColorToRGB(clBtnHighlight))
      ++grooves;
  EXPECT_EQ(4, grooves);
}

TEST(GalleryPixels, FlatTabsAreDividedOnALightBand) {
  TTabForm<> f(400, 120);
  f.control->SetStyle(5);
  f.AddTabs({"One", "Two", "Three"});
  auto capture = TCapture::Paint(f.control->GetHandle());
  capture.SavePng("pc_pixels_flat_dividers");
  const TRect two = f.Tab(1)->GetFullRect();
  const int y = (two.top + two.bottom) / 2;
  EXPECT_EQ(ColorToRGB(clBtnFace), capture.Pixel(two.right, y)) << "the divider after the second tab";
  EXPECT_EQ(ColorToRGB(LightFaceColor()), capture.Pixel(two.right - 1, y)) << "an unselected tab's face";
  EXPECT_EQ(ColorToRGB(LightFaceColor()), capture.Pixel(395, y)) << "the band runs on to the end";
  const TRect one = f.Tab(0)->GetFullRect();
  EXPECT_EQ(ColorToRGB(clBtnFace), capture.Pixel((one.left + one.right) / 2, one.bottom - 2))
      << "the selected tab in the face colour";
}

TEST(GalleryPixels, TheThemedPaneLiesBehindAPage) {
  if (!ThemesAvailable(ThemeClassMask(totTab))) GTEST_SKIP() << "needs the visual style";
  TTabForm<TcxPageControl> f(300, 200);
  f.control->GetLookAndFeel()->SetKind(lfStandard);
  f.control->GetLookAndFeel()->SetNativeStyle(true);
  auto* sheet = new TcxTabSheet(f.form.get());
  sheet->SetCaption("Page");
  sheet->SetPageControl(f.control);
  ASSERT_TRUE(f.control->GetPainter()->IsNativePainting());
  guitest::PumpFor(20);
  auto capture = TCapture::Paint(f.control->GetHandle());
  capture.SavePng("pc_pixels_themed_pane");
  TRect pane;
  f.control->GetPainter()->GetFrameRect(pane);
  InflateRect(&pane, 2, 2);
  TCapture expected(300, 200);
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totTab), expected.DC(), 9, 0, &pane, nullptr);
  const TRect page = sheet->GetBoundsRect();
  for (const TPoint p :
       {TPoint(page.left + 5, page.top + 5), TPoint((page.left + page.right) / 2, page.bottom - 3)})
    EXPECT_EQ(expected.Pixel(p.x, p.y), capture.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

} // namespace
