// The tab painters: the style chosen per look-and-feel, the factory's
// errors, turned bitmaps, tab sizes per family, truncated captions, the
// navigator's geometry.
#include "TabControlTest.h"

#include <gtest/gtest.h>

namespace {

TcxPCStyleID ChosenStyle(TcxLookAndFeelKind kind, bool native) {
  TcxLookAndFeel lookAndFeel(nullptr);
  lookAndFeel.SetKind(kind);
  lookAndFeel.SetNativeStyle(native);
  const TcxPCStyleID id = PaintersFactory()->GetLookAndFeelStyleID(&lookAndFeel);
  return id != -1 ? id : PaintersFactory()->GetDefaultStyleID(&lookAndFeel);
}

struct TStyleCase {
  TcxLookAndFeelKind kind;
  bool native;
  TcxPCStyleID themed;
  TcxPCStyleID classic;
};
const TStyleCase kStyleCases[] = {
    {lfStandard, false, 1, 1}, {lfStandard, true, 1, 1},   {lfFlat, false, 3, 3},
    {lfFlat, true, 1, 3},      {lfUltraFlat, false, 5, 5}, {lfUltraFlat, true, 1, 5},
};

TEST(PainterChoice, TheLookAndFeelChoosesTheStyleWithTheVisualStyleOn) {
  ASSERT_TRUE(ThemesAvailable(ThemeClassMask(totTab)));
  for (const TStyleCase& c : kStyleCases)
    EXPECT_EQ(c.themed, ChosenStyle(c.kind, c.native)) << c.kind << " native " << c.native;
}

TEST(PainterChoiceStyleOff, TheLookAndFeelChoosesTheStyleWithTheVisualStyleOff) {
  ASSERT_FALSE(ThemesAvailable(ThemeClassMask(totTab)));
  for (const TStyleCase& c : kStyleCases)
    EXPECT_EQ(c.classic, ChosenStyle(c.kind, c.native)) << c.kind << " native " << c.native;
}

TEST(PainterChoice, StyleOffCasesRunInAChildWithoutTheVisualStyle) {
  if (guitest::IsStyleOffRun()) GTEST_SKIP();
  EXPECT_EQ(0, guitest::RunStyleOffCases());
}

TEST(PaintersFactory, AnEmptyFactoryRaisesItsErrors) {
  TcxPCPaintersFactory factory;
  TcxLookAndFeel lookAndFeel(nullptr);
  EXPECT_EQ("TcxPCPaintersFactory.GetDefaultStyleID: There are no styles registered",
            ErrorOf([&] { factory.GetDefaultStyleID(&lookAndFeel); }));
  EXPECT_EQ("TcxPCPaintersFactory.GetPainterInstance: PCPainterClass is nil",
            ErrorOf([&] { factory.GetPainterInstance(nullptr, nullptr); }));
  EXPECT_EQ(-1, factory.GetLookAndFeelStyleID(&lookAndFeel));
  EXPECT_EQ(4, PaintersFactory()->Count() - (PaintersFactory()->GetPainterClass(100) ? 1 : 0));
}

TEST(RotateTabBitmap, TurnsPixelsByQuarterAndHalf) {
  // Six distinct pixels, row by row.
  const TColor colors[2][3] = {{clRed, clLime, clBlue}, {clYellow, clFuchsia, clAqua}};
  auto make = [&] {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(3, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        bitmap->GetCanvas()->SetPixel(x, y, colors[y][x]);
    return bitmap;
  };
  auto pixel = [](TBitmap* b, int x, int y) { return b->GetCanvas()->GetPixel(x, y); };
  auto ccw = make();
  RotateTabBitmap(ccw.get(), 1);
  ASSERT_EQ(2, ccw->GetWidth());
  ASSERT_EQ(3, ccw->GetHeight());
  EXPECT_EQ(ColorToRGB(clBlue), pixel(ccw.get(), 0, 0)) << "the top-right pixel comes to the top-left";
  EXPECT_EQ(ColorToRGB(clYellow), pixel(ccw.get(), 1, 2));
  auto cw = make();
  RotateTabBitmap(cw.get(), 2);
  EXPECT_EQ(ColorToRGB(clYellow), pixel(cw.get(), 0, 0));
  EXPECT_EQ(ColorToRGB(clRed), pixel(cw.get(), 1, 0));
  auto half = make();
  RotateTabBitmap(half.get(), 3);
  EXPECT_EQ(ColorToRGB(clAqua), pixel(half.get(), 0, 0));
  RotateTabBitmap(half.get(), 3);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(ColorToRGB(colors[y][x]), pixel(half.get(), x, y));
  RotateTabBitmap(half.get(), 0);
  EXPECT_EQ(3, half->GetWidth());
}

class PainterSizes : public testing::Test {
protected:
  PainterSizes() { f.AddTabs({"Log", "A rather longer caption"}); }
  int TextWidth(const String& s) { return f.control->GetcxCanvas()->TextWidth(s); }
  int TextHeight() { return f.control->GetcxCanvas()->TextHeight("Zg"); }
  TTabForm<> f{400, 200};
};

TEST_F(PainterSizes, TabWidthsAndHeightsPerFamily) {
  struct {
    TcxPCStyleID style;
    int extra;
    int minWidth;
    int heightDelta;
    int minHeight;
  } cases[] = {{1, 12, 42, 8 - 3, 18}, {2, 12, 42, 8, 20}, {3, 12, 42, 8, 20}, {5, 9, 12, 8 - 4, 17}};
  for (const auto& c : cases) {
    f.control->SetStyle(c.style);
    TcxPCCustomPainter* painter = f.control->GetPainter();
    for (int i = 0; i < 2; ++i) {
      const String caption = f.Tab(i)->GetDisplayCaption();
      EXPECT_EQ(std::max(TextWidth(caption) + c.extra, c.minWidth),
                painter->CalculateTabNormalWidth(f.Tab(i)))
          << c.style << " " << caption;
    }
    EXPECT_EQ(std::max(TextHeight() + c.heightDelta, c.minHeight), painter->CalculateTabNormalHeight())
        << c.style;
  }
}

TEST_F(PainterSizes, TabWidthAndHeightProperties) {
  f.control->SetStyle(2);
  f.control->SetTabWidth(30);
  EXPECT_EQ(30, f.control->GetPainter()->CalculateTabNormalWidth(f.Tab(0))) << "even below the minimum";
  const int height = f.control->GetPainter()->CalculateTabNormalHeight();
  f.control->SetTabHeight(static_cast<int16_t>(height - 5));
  EXPECT_EQ(height, f.control->GetPainter()->CalculateTabNormalHeight()) << "a smaller height is ignored";
  f.control->SetTabHeight(static_cast<int16_t>(height + 7));
  EXPECT_EQ(height + 7, f.control->GetPainter()->CalculateTabNormalHeight());
}

// Exposes the caption fitting of the standard painter.
class TFittingPainter : public TcxPCButtonsPainter {
public:
  using TcxPCButtonsPainter::FitCaption;
  using TcxPCButtonsPainter::TcxPCButtonsPainter;
};

TEST_F(PainterSizes, ALongCaptionIsCutWithAnEllipsis) {
  f.control->SetStyle(2);
  TFittingPainter painter(f.control);
  struct {
    const char* caption;
    int width;
    const char* text;
    const char* display;
  } cases[] = {
      {"Abcdefgh", TextWidth("Abcdefgh"), "Abcdefgh", "Abcdefgh"},
      {"Abcdefgh", TextWidth("Abc..."), "Abc...", "Abc..."},
      {"&Save all", TextWidth("Sav..."), "&Sav...", "Sav..."},
      {"Abcdefgh", TextWidth("Ab"), "Ab", "Ab"},
  };
  for (const auto& c : cases) {
    String text;
    String display;
    painter.FitCaption(c.caption, c.width, text, display);
    EXPECT_EQ(c.text, text) << c.caption << " in " << c.width;
    EXPECT_EQ(c.display, display) << c.caption << " in " << c.width;
  }
}

TEST(Navigator, TheDefaultNavigatorStandsAtTheTopRight) {
  for (TcxPCStyleID style : {1, 2}) {
    TTabForm<> f(300, 200);
    f.control->GetLookAndFeel()->SetNativeStyle(false);
    f.control->SetStyle(style);
    f.control->SetOptions(TcxPCOptions{pcoGoDialog});
    for (int i = 0; i < 12; ++i)
      f.control->GetTabs()->Add("Tab number " + std::to_string(i));
    auto* painter = static_cast<TcxPCStandardPainter*>(f.control->GetPainter());
    const auto& infos = painter->GetNavigatorButtonInfos();
    ASSERT_EQ(3u, infos.size()) << style;
    const TcxPCNavigatorButton order[] = {nbGoDialog, nbTopLeft, nbBottomRight};
    const TRect rects[] = {TRect(248, 0, 260, 20), TRect(260, 0, 280, 20), TRect(280, 0, 300, 20)};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(order[i], infos[i].Button) << style;
      EXPECT_EQ(rects[i], infos[i].Rect) << style << " " << i;
    }
    EXPECT_EQ(rects[0], painter->GetGoDialogButtonRect());
  }
}

TEST(LightFace, EachChannelIsRaisedByTwentyUpToWhite) {
  EXPECT_EQ(static_cast<TColor>(RGB(232, 228, 220)), LightFaceColor(static_cast<TColor>(RGB(212, 208, 200))));
  EXPECT_EQ(static_cast<TColor>(RGB(255, 255, 255)), LightFaceColor(static_cast<TColor>(RGB(236, 236, 236))));
  EXPECT_EQ(static_cast<TColor>(RGB(255, 20, 255)), LightFaceColor(static_cast<TColor>(RGB(235, 0, 240))));
}

} // namespace
