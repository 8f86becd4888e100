#include "BarsTest.h"
#include "DrawTest.h"

#include "cxGraphics.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"

#include <set>

namespace {

// The theme names the colour set sees while it lives.
class TThemeNames {
public:
  TThemeNames(std::wstring file, std::wstring scheme)
      : FOld(SetThemeNameFunction([=](std::wstring& f, std::wstring& s) {
          f = file;
          s = scheme;
          return true;
        })) {}
  ~TThemeNames() {
    SetThemeNameFunction(FOld);
    BuildOffice11Colors();
  }

private:
  TdxThemeNameFunction FOld;
};

} // namespace

TEST(Office11Colors, LunaSchemesComeFromTheirTables) {
  const struct {
    const wchar_t* file;
    const wchar_t* scheme;
    int detected;
    TColor selectionBorder;
    int gradientPercent;
  } cases[] = {
      {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", 1, 0x800000, 41},
      {L"C:\\x\\LUNA.MSSTYLES", L"HomeStead", 2, 0x385D3F, 125},
      {L"D:luna.msstyles", L"metallic", 3, 0x6F4B4B, 40},
      {L"C:\\x\\Luna.msstyles", L"Royale", 0, -1, 75},
      {L"C:\\x\\Other.msstyles", L"NormalColor", 0, -1, 75},
  };
  for (const auto& c : cases) {
    TThemeNames names(c.file, c.scheme);
    EXPECT_EQ(DetectLunaScheme(), c.detected) << c.scheme;
    BuildOffice11Colors();
    EXPECT_EQ(Office11Colors.GradientPercent, c.gradientPercent) << c.scheme;
    if (c.selectionBorder >= 0) {
      EXPECT_EQ(Office11Colors.SelectionBorder, c.selectionBorder) << c.scheme;
    }
  }
  TThemeNames blue(L"Luna.msstyles", L"NormalColor");
  BuildOffice11Colors();
  EXPECT_EQ(Office11Colors.ToolbarLight, static_cast<TColor>(0xFEECDD));
  EXPECT_EQ(Office11Colors.DisabledText, static_cast<TColor>(0x8D8D8D));
  EXPECT_EQ(Office11Colors.MarkArrow, clBlack);
  EXPECT_EQ(Office11Colors.FloatingCaptionText, clWhite);
  EXPECT_EQ(Office11Colors.MarkShadow, MixColors(Office11Colors.MarkTo, Office11Colors.BarCorner, 50));
}

TEST(Office11Colors, WinesLightStyleGivesTheSystemDerivation) {
  ASSERT_TRUE(ThemesAvailable());
  EXPECT_EQ(DetectLunaScheme(), 0);
  BuildOffice11Colors();
  const TOffice11Colors& c = Office11Colors;
  EXPECT_EQ(c.GradientPercent, 75);
  EXPECT_EQ(c.DockFrom, static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(c.ToolbarLight, MixColors(clBtnFace, clWindow, 22));
  EXPECT_EQ(c.SelectedBackground, GetNearestScreenColor(LightColorFromWeights(-2, 30, 72)));
  EXPECT_EQ(c.HotButtonDark, c.SelectedBackground);
  EXPECT_EQ(c.SelectionBorder, static_cast<TColor>(ColorToRGB(clHighlight)));
  EXPECT_EQ(c.NonRecentSideDark, MixColors(c.ToolbarDark, clBlack, 92));
}

TEST(Office11Colors, Mixes) {
  const struct {
    TColor c1, c2;
    int percent;
    TColor expected;
  } cases[] = {
      {0x0000FF, 0xFF0000, 100, 0x0000FF},
      {0x0000FF, 0xFF0000, 0, 0xFF0000},
      {0xFFFFFF, 0x000000, 50, 0x808080},
      {0x102030, 0x302010, 25, 0x282018},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MixColors(c.c1, c.c2, c.percent), c.expected) << c.percent;
}

TEST(Office11Colors, AGradientOf300PixelsHas256Bands) {
  TSurface surface(300, 4);
  FillGradient(surface.DC(), TRect(0, 0, 300, 4), RGB(0, 0, 0), true, RGB(255, 0, 0));
  std::set<COLORREF> colours;
  for (int x = 0; x < 300; ++x)
    colours.insert(surface.At(x, 1));
  EXPECT_EQ(colours.size(), 256u);
  EXPECT_EQ(surface.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(surface.At(299, 3), RGB(255, 0, 0));
  for (int x : {0, 100, 150, 299})
    EXPECT_EQ(
        static_cast<COLORREF>(GradientColorAt(TRect(0, 0, 300, 4), x, RGB(0, 0, 0), true, RGB(255, 0, 0))),
        surface.At(x, 2))
        << x;

  TSurface solid(20, 20);
  FillGradient(solid.DC(), TRect(0, 0, 20, 20), RGB(1, 2, 3), false, RGB(1, 2, 3));
  EXPECT_EQ(solid.At(19, 19), RGB(1, 2, 3));
}

TEST(Office11Colors, TwoPartGradientPassesTheMiddleColour) {
  BuildOffice11Colors();
  TSurface surface(1, 100);
  FillGradientTwoPart(surface.DC(), TRect(0, 0, 1, 100), RGB(200, 200, 200), false, RGB(0, 0, 0));
  // The middle lies GradientPercent / 2 of the way: 75 / 2 = 37.5 %.
  EXPECT_EQ(surface.At(0, 50), RGB(125, 125, 125));
  EXPECT_EQ(surface.At(0, 0), RGB(200, 200, 200));
  EXPECT_EQ(surface.At(0, 99), RGB(0, 0, 0));
}

TEST(Office11Colors, GripDotsInCellsOfFour) {
  AcquireOffice11Colors();
  TSurface surface(4, 10, RGB(255, 0, 255));
  FillGripDots(surface.DC(), TRect(0, 0, 4, 10), true);
  const COLORREF dark = Office11Colors.GripDot, light = Office11Colors.GripDotLight;
  // 10 is not divisible by 4: the cells start one pixel down.
  EXPECT_EQ(surface.At(0, 1), dark);
  EXPECT_EQ(surface.At(1, 2), dark);
  EXPECT_EQ(surface.At(2, 3), light);
  EXPECT_EQ(surface.At(0, 5), dark);
  EXPECT_EQ(surface.At(0, 0), RGB(255, 0, 255));
  EXPECT_EQ(surface.At(0, 9), RGB(255, 0, 255)) << "a third cell would pass the bottom";
  ReleaseOffice11Colors();
}

TEST(Office11Colors, TheExpandPictureIsRecoloured) {
  AcquireOffice11Colors();
  TBitmap* picture = SubMenuExpandBitmap();
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->GetWidth(), 16);
  HDC dc = picture->GetCanvas()->GetHandle();
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 255));
  EXPECT_EQ(GetPixel(dc, 4, 4), RGB(0, 0, 0)) << "the chevron stays black";
  EXPECT_EQ(static_cast<TColor>(GetPixel(dc, 7, 1)), Office11Colors.ToolbarLight);
  EXPECT_EQ(static_cast<TColor>(GetPixel(dc, 7, 14)), Office11Colors.ToolbarDark);
  ReleaseOffice11Colors();
}

TEST_F(BarsTest, TwoManagersShareOneSetOfBrushes) {
  const int before = Office11ReferenceCount();
  Build();
  HBRUSH brush = Office11Brushes.SelectionBorderBrush;
  ASSERT_NE(brush, nullptr);
  TForm second(nullptr);
  auto* other = new TdxBarManager(&second);
  EXPECT_EQ(Office11Brushes.SelectionBorderBrush, brush);
  EXPECT_EQ(Office11ReferenceCount(), before + 2);
  delete other;
  EXPECT_EQ(Office11Brushes.SelectionBorderBrush, brush);
  delete Manager;
  EXPECT_EQ(Office11ReferenceCount(), before);
  if (before == 0) {
    EXPECT_EQ(Office11Brushes.SelectionBorderBrush, nullptr);
  }
}

TEST_F(BarsTest, FlatColoursOfTheManager) {
  Build();
  const uint32_t shadow = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
  EXPECT_EQ(Manager->GetFlatFrameColor(),
            static_cast<TColor>(RGB(MulDiv(GetRValue(shadow), 8, 10), MulDiv(GetGValue(shadow), 8, 10),
                                    MulDiv(GetBValue(shadow), 8, 10))));
  auto lift = [](int c) { return c + MulDiv(255 - c, 16, 100); };
  EXPECT_EQ(Manager->GetFlatToolbarColor(),
            static_cast<TColor>(RGB(lift(GetRValue(face)), lift(GetGValue(face)), lift(GetBValue(face)))));
  EXPECT_EQ(Manager->GetFlatSelectionColor(), Office11Colors.SelectedBackground);
  LOGBRUSH lb{};
  GetObjectA(Manager->GetFlatCheckedBrush(), sizeof(lb), &lb);
  EXPECT_EQ(static_cast<TColor>(lb.lbColor), Manager->GetFlatCheckedColor());
  EXPECT_NE(Manager->GetXPToolbarBrush(), nullptr);
}
