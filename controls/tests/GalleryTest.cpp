// Every element of every look drawn in a grid, with the visual style on
// (this process) and off (the child): one PNG per look and style, pixels
// checked at key points.
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "dxThemeManager.h"

#include "DrawTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

namespace {

using Painter = TcxCustomLookAndFeelPainterClass;

const struct {
  const char* name;
  Painter (*painter)();
} kLooks[] = {
    {"flat", TcxFlatLookAndFeelPainter::Instance},
    {"standard", TcxStandardLookAndFeelPainter::Instance},
    {"ultraflat", TcxUltraFlatLookAndFeelPainter::Instance},
    {"native", TcxWinXPLookAndFeelPainter::Instance},
};

const TcxButtonState kStates[] = {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
const TcxArrowDirection kDirections[] = {adUp, adDown, adLeft, adRight};
constexpr int kWidth = 640;
constexpr int kHeight = 400;


// Without the parts the native look draws its own way even without a theme
// (sort arrows, the pressed shift, the default button's border width) when
// only what falls back to the standard look is wanted.
void DrawGallery(TcxCanvas* canvas, Painter painter, TFont* font, bool fallbacksOnly = false) {
  TGalleryGrid grid(kWidth, 4);
  painter->DrawControlBorder(canvas, grid.Next(40, 24));
  for (TcxButtonState state : kStates)
    if (!fallbacksOnly || (state != cxbsPressed && state != cxbsDefault))
      painter->DrawPushButton(canvas, grid.Next(64, 23), "&Button", state);
  grid.NewRow();
  for (TcxArrowDirection direction : kDirections)
    painter->DrawArrowButton(canvas, grid.Next(17, 17), cxbsNormal, direction);
  for (TcxArrowDirection direction : kDirections)
    for (TcxButtonState state : {cxbsNormal, cxbsPressed, cxbsDisabled})
      if (!fallbacksOnly || state != cxbsPressed)
        painter->DrawStateArrow(canvas, grid.Next(13, 13), state, direction);
  painter->DrawDropDownArrow(canvas, grid.Next(13, 13), clBtnText);
  painter->DrawDropDownArrow(canvas, grid.Next(17, 17), clBlue);
  grid.NewRow();
  for (bool checked : {false, true})
    for (TcxButtonState state : kStates)
      painter->DrawCheckBox(canvas, grid.Next(13, 13), state, checked);
  for (bool focused : {false, true})
    for (bool checked : {false, true})
      for (TcxButtonState state : kStates) {
        const TRect r = grid.Next(14, 14);
        painter->DrawRadioButton(canvas, r.left, r.top, state, checked, focused, clDefault);
      }
  grid.NewRow();
  for (bool horizontal : {false, true})
    for (int part = sbpLineUp; part <= sbpPageDown; ++part)
      for (TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled})
        painter->DrawScrollBarPart(canvas, horizontal, grid.Next(horizontal ? 24 : 16, horizontal ? 16 : 24),
                                   static_cast<TcxScrollBarPart>(part), state);
  grid.NewRow();
  const TcxNeighbors neighbours[] = {TcxNeighbors{bRight}, TcxNeighbors{bLeft, bRight}, TcxNeighbors{bLeft}};
  for (int i = 0; i < 3; ++i) {
    const TRect r = grid.Next(70, 20);
    painter->DrawHeaderCell(canvas, r, r, neighbours[i], painter->GetHeaderEdges(neighbours[i]),
                            i == 1 ? cxbsPressed : cxbsNormal, taLeftJustify, vaCenter, false, true, "Header",
                            font, clBtnText, clBtnFace);
    TRect arrow = r;
    arrow.left = arrow.right - 16;
    if (!fallbacksOnly) painter->DrawSortArrow(canvas, arrow, i != 2);
  }
  painter->DrawFooterCell(canvas, grid.Next(70, 20), taRightJustify, vaCenter, false, "Footer", font,
                          clBtnText, clBtnFace);
  for (int kind = ikNone; kind <= ikMultiArrow; ++kind)
    painter->DrawIndicatorCell(canvas, grid.Next(14, 20), static_cast<TcxIndicatorKind>(kind), clBtnFace);
  grid.NewRow();
  painter->DrawFilterCheckBox(canvas, grid.Next(13, 13), cxbsNormal, true);
  for (TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed})
    painter->DrawFilterCloseButton(canvas, grid.Next(16, 14), state);
  for (bool active : {false, true})
    painter->DrawFilterDropDownButton(canvas, grid.Next(15, 17), cxbsNormal, active);
  for (bool expanded : {false, true}) {
    const int extent = painter->GetTreeExpandButtonExtent() > 0 ? painter->GetTreeExpandButtonExtent() : 11;
    painter->DrawTreeExpandButton(canvas, grid.Next(extent, extent), expanded, clDefault);
    canvas->SetBrushColor(clBtnShadow);
    painter->DrawTreeExpandButtonOnColor(canvas, grid.Next(9, 9), expanded, clWindow);
  }
  grid.NewRow();
  const TRect tabs = grid.Next(300, 40);
  painter->DrawTabsBackground(canvas, TRect(tabs.left, tabs.top + 20, tabs.right, tabs.bottom),
                              TcxBorders{bLeft, bTop, bRight}, false);
  for (int i = 0; i < 3; ++i) {
    const TRect tab = Bounds(tabs.left + 4 + i * 70, tabs.top + (i == 1 ? 0 : 2), 66, i == 1 ? 21 : 18);
    painter->DrawTabFrame(canvas, TRect(tab.left, tab.top, tab.left + 1, tab.bottom), bLeft,
                          TcxBorders{bLeft, bTop, bRight}, false);
    painter->DrawTabFrame(canvas, TRect(tab.left, tab.top, tab.right, tab.top + 1), bTop,
                          TcxBorders{bLeft, bTop, bRight}, false);
    painter->DrawTabFrame(canvas, TRect(tab.right - 1, tab.top, tab.right, tab.bottom), bRight,
                          TcxBorders{bLeft, bTop, bRight}, false);
    painter->DrawTab(canvas, tab, TcxBorders{bLeft, bTop, bRight}, "Tab", i == 1 ? cxbsPressed : cxbsNormal,
                     false, font, clBtnText, clBtnFace);
  }
  const TRect vertical = grid.Next(40, 60);
  const TRect tab(vertical.left, vertical.top + 4, vertical.left + 20, vertical.top + 30);
  painter->DrawTabFrame(canvas, TRect(tab.left, tab.top, tab.left + 1, tab.bottom), bLeft,
                        TcxBorders{bLeft, bTop, bBottom}, true);
  painter->DrawTabFrame(canvas, TRect(tab.left, tab.top, tab.right, tab.top + 1), bTop,
                        TcxBorders{bLeft, bTop, bBottom}, true);
  painter->DrawTabFrame(canvas, TRect(tab.left, tab.bottom - 1, tab.right, tab.bottom), bBottom,
                        TcxBorders{bLeft, bTop, bBottom}, true);
  painter->DrawTabsBackground(canvas, TRect(tab.right, vertical.top, vertical.right, vertical.bottom),
                              TcxBorders{bLeft, bTop, bRight, bBottom}, true);
}

// A checksum of the picture.
uint64_t Checksum(const TDrawSurface& surface) {
  uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      hash = (hash ^ surface.Pixel(x, y)) * 1099511628211ull;
  return hash;
}

std::map<String, uint64_t> DrawAllLooks(const char* suffix) {
  std::map<String, uint64_t> sums;
  TFont font;
  for (const auto& look : kLooks) {
    TDrawSurface surface(kWidth, kHeight, clBtnFace);
    DrawGallery(surface.Canvas(), look.painter(), &font);
    sums[look.name] = Checksum(surface);
    EXPECT_FALSE(surface.SavePng(String("controls-gallery-") + look.name + suffix).empty());
  }
  return sums;
}

// The classic looks of this process, for the child to compare with.
String ChecksumFile() {
  return guitest::ScreenshotDir() + "/controls-gallery-style-on.txt";
}

String DosPath(const String& path) {
  String s = "Z:" + path;
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

} // namespace

TEST(Gallery, EveryLookWithTheStyleOn) {
  const auto sums = DrawAllLooks("-style-on");
  // The native look is drawn by the theme, not as the standard one.
  EXPECT_NE(sums.at("native"), sums.at("standard"));
  std::ofstream out(DosPath(ChecksumFile()));
  for (const auto& [name, sum] : sums)
    out << name << ' ' << sum << '\n';
}

TEST(GalleryStyleOff, TheClassicLooksAreUnchangedAndTheNativeOneFallsBackToTheStandardOne) {
  const auto sums = DrawAllLooks("-style-off");
  std::ifstream in(DosPath(ChecksumFile()));
  ASSERT_TRUE(in) << "the themed run writes " << ChecksumFile();
  String name;
  uint64_t sum;
  int compared = 0;
  while (in >> name >> sum) {
    if (name == "native") continue;
    EXPECT_EQ(sum, sums.at(name)) << name;
    ++compared;
  }
  EXPECT_EQ(3, compared);

  TFont font;
  TDrawSurface native(kWidth, kHeight, clBtnFace), standard(kWidth, kHeight, clBtnFace);
  DrawGallery(native.Canvas(), TcxWinXPLookAndFeelPainter::Instance(), &font, true);
  DrawGallery(standard.Canvas(), TcxStandardLookAndFeelPainter::Instance(), &font, true);
  EXPECT_EQ(Checksum(standard), Checksum(native));
}

// After the themed gallery, whose checksums the child compares with.
TEST(VisualStyle, ClassicLookCasesPassInAChildProcessAndThisOneStaysThemed) {
  if (guitest::IsStyleOffRun()) GTEST_SKIP();
  EXPECT_EQ(0, guitest::RunStyleOffCases());
  EXPECT_TRUE(ThemesAvailable());
  EXPECT_NE(nullptr, OpenThemeHandle(totButton));
}
