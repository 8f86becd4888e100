// The Standard and Enhanced painters drawn into memory pictures.
#include "BarsTest.h"
#include "dxBarPainters.h"

#include "GuiTest.h"
#include "PaintSheet.h"

#include <memory>

namespace {

using namespace painttest;

// The leftmost and rightmost columns holding a pixel other than the
// background in the first rows, -1 when none.
std::pair<int, int> InkColumns(const TSheet& p, COLORREF background, int rows) {
  int first = -1, last = -1;
  for (int x = 0; x < p.Capture.Width(); ++x)
    for (int y = 0; y < rows; ++y)
      if (p.At(x, y) != background) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

class PaintersTest : public BarsTest {
protected:
  TdxBarControl* Toolbar(TdxBarManagerStyle style, TdxBarDockingStyle docking, int width, int height) {
    if (!Manager) Build([](TdxBarManager* m) { m->GetBars()->Add()->SetCaption("Tools"); });
    Manager->SetStyle(style);
    Bar = Manager->GetBars()->GetItem(0);
    Window = std::make_unique<TdxBarControl>(Manager, Bar);
    Window->SetDockingStyle(docking);
    Window->SetBounds(0, 0, width, height);
    Window->BackgroundBrush = Window->GetToolbarBrush();
    return Window.get();
  }
  TdxBarItemControlPainterClass Painter() const { return Manager->GetPainterClass(); }

  TdxBar* Bar = nullptr;
  std::unique_ptr<TdxBarControl> Window;
};

} // namespace

TEST_F(PaintersTest, TheStyleChoosesThePainterAndItsMetrics) {
  const struct {
    TdxBarManagerStyle style;
    TdxBarItemControlPainterClass painter;
    int gripOffset, gripArea, separatorIndent;
  } cases[] = {
      {bmsFlat, TdxBarItemControlFlatPainter::Instance(), 1, 6, 8},
      {bmsOffice11, TdxBarItemControlOffice11Painter::Instance(), 3, 8, 8},
      {bmsStandard, TdxBarItemControlStandardPainter::Instance(), 2, 9, 2},
      {bmsEnhanced, TdxBarItemControlEnhancedPainter::Instance(), 1, 6, 12},
  };
  Build();
  for (const auto& c : cases) {
    Manager->SetStyle(c.style);
    EXPECT_EQ(Manager->GetPainterClass(), c.painter) << c.style;
    EXPECT_EQ(Manager->GetGripOffset(), c.gripOffset) << c.style;
    EXPECT_EQ(Manager->GetGripAreaSize(), c.gripArea) << c.style;
    EXPECT_EQ(Manager->GetSeparatorIndent(), c.separatorIndent) << c.style;
    EXPECT_EQ(Manager->GetButtonWidth(), 23);
    EXPECT_EQ(Manager->GetButtonHeight(), 22);
  }
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->GetButtonWidth(), 39);
  EXPECT_EQ(Manager->GetArrowWidth(), 23) << "11 doubled, made odd";
}

TEST_F(PaintersTest, DockedGripsDoubleInStandardSingleInEnhanced) {
  const COLORREF light = Sys(COLOR_BTNHIGHLIGHT), dark = Sys(COLOR_BTNSHADOW), face = Sys(COLOR_BTNFACE);
  const int mid = 13;
  {
    TdxBarControl* w = Toolbar(bmsStandard, dsTop, 100, 26);
    TSheet p(100, 26);
    Painter()->DrawDockedBarBorder(w, p.DC(), TRect(0, 0, 100, 26));
    EXPECT_EQ(p.At(0, mid), light) << "the raised border";
    EXPECT_EQ(p.At(99, mid), dark);
    // Grip bars at 2 + 2 and 2 + 5, three pixels each, across the bar.
    EXPECT_EQ(p.At(4, mid), light);
    EXPECT_EQ(p.At(5, mid), face);
    EXPECT_EQ(p.At(6, mid), dark);
    EXPECT_EQ(p.At(7, mid), light);
    EXPECT_EQ(p.At(9, mid), dark);
    EXPECT_EQ(p.At(4, 2), light) << "from the top of the content";
    EXPECT_EQ(p.At(4, 23), light) << "the highlight corner at the bottom left";
    EXPECT_EQ(p.At(10, mid), kRed) << "nothing else is drawn";
    p.Capture.SavePng("bars_grip_standard");
  }
  {
    TdxBarControl* w = Toolbar(bmsEnhanced, dsTop, 100, 26);
    TSheet p(100, 26);
    Painter()->DrawDockedBarBorder(w, p.DC(), TRect(0, 0, 100, 26));
    EXPECT_EQ(p.At(3, mid), light);
    EXPECT_EQ(p.At(4, mid), face);
    EXPECT_EQ(p.At(5, mid), dark);
    EXPECT_EQ(p.At(6, mid), kRed) << "a single grip";
    EXPECT_EQ(p.At(3, 2), kRed) << "one pixel shorter at each end";
    EXPECT_EQ(p.At(3, 3), light);
    EXPECT_EQ(p.At(4, 22), dark);
    p.Capture.SavePng("bars_grip_enhanced");
  }
  {
    TdxBarControl* w = Toolbar(bmsEnhanced, dsLeft, 26, 100);
    TSheet p(26, 100);
    Painter()->DrawDockedBarBorder(w, p.DC(), TRect(0, 0, 26, 100));
    EXPECT_EQ(p.At(mid, 3), light) << "a vertical bar's grip lies across its top";
    EXPECT_EQ(p.At(mid, 5), dark);
  }
  {
    TdxBarControl* w = Toolbar(bmsStandard, dsTop, 100, 26);
    Bar->NotDocking = TdxBarDockingStyles{dsNone, dsLeft, dsTop, dsRight, dsBottom};
    TSheet p(100, 26);
    Painter()->DrawDockedBarBorder(w, p.DC(), TRect(0, 0, 100, 26));
    EXPECT_EQ(p.At(4, mid), kRed) << "a bar that may dock nowhere has no grip";
    EXPECT_EQ(Manager->GetGripSize(Bar), 0);
    Bar->NotDocking = TdxBarDockingStyles{};
  }
}

TEST_F(PaintersTest, SeparatorsKeepTwoPixelsOfBackgroundEachSide) {
  const COLORREF face = Sys(COLOR_BTNFACE);
  TdxBarControl* w = Toolbar(bmsEnhanced, dsTop, 40, 20);
  TSheet p(40, 20);
  Painter()->DrawToolbarSeparator(w, p.DC(), TRect(10, 0, 16, 20), w->GetToolbarBrush(), false);
  EXPECT_EQ(p.At(9, 10), kRed);
  EXPECT_EQ(p.At(10, 10), face);
  EXPECT_EQ(p.At(11, 10), face);
  EXPECT_EQ(p.At(12, 10), Sys(COLOR_BTNSHADOW)) << "the etched line";
  EXPECT_EQ(p.At(13, 10), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(p.At(14, 10), face);
  EXPECT_EQ(p.At(15, 10), face);
  EXPECT_EQ(p.At(16, 10), kRed);

  TSheet h(20, 40);
  Painter()->DrawToolbarSeparator(w, h.DC(), TRect(0, 10, 20, 16), w->GetToolbarBrush(), true);
  EXPECT_EQ(h.At(10, 11), face);
  EXPECT_EQ(h.At(10, 12), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(h.At(10, 13), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(h.At(10, 14), face);
  p.Capture.SavePng("bars_separator");
}

TEST_F(PaintersTest, ButtonStatesInTheStandardLook) {
  Build([](TdxBarManager* m) {
    TdxBar* bar = m->GetBars()->Add();
    AddLink(bar->GetItemLinks(), AddButton(m, "Bold"));
  });
  TdxBarControl* w = Toolbar(bmsStandard, dsTop, 24, 24);
  TdxBarItemControl control(Bar->GetItemLinks()->GetItem(0), w);
  const COLORREF light = Sys(COLOR_BTNHIGHLIGHT), dark = Sys(COLOR_BTNSHADOW), face = Sys(COLOR_BTNFACE);
  const struct {
    const char* name;
    bool selected, down, pressed;
    COLORREF topLeft, bottomRight;
    bool halftone;
  } cases[] = {
      {"hot", true, false, false, light, dark, false},
      {"pressed", true, false, true, dark, light, false},
      {"checked", false, true, false, dark, light, true},
      {"checked_hot", true, true, false, dark, light, false},
  };
  const TRect r(0, 0, 24, 24);
  for (const auto& c : cases) {
    TSheet p(24, 24);
    const TdxBarItemControlPainterClass painter = Painter();
    HBRUSH brush = painter->GetBackgroundBrush(&control, 0, true, c.selected, c.down, c.pressed);
    const bool fits = true;
    painter->DrawCheckedGlyphCell(&control, p.DC(), r, brush, fits, 0, c.selected, c.down, c.pressed);
    painter->DrawButtonBorder(&control, p.DC(), brush, fits, r, 0, true, c.selected, c.down, c.pressed);
    EXPECT_EQ(p.At(0, 0), c.topLeft) << c.name;
    EXPECT_EQ(p.At(23, 23), c.bottomRight) << c.name;
    // The Standard look keeps the bar's background behind an image-less
    // box; the halftone is the brush of a checked button's image.
    EXPECT_EQ(p.At(5, 5), face) << c.name;
    if (c.halftone) {
      TSheet fill(8, 8);
      RECT all{0, 0, 8, 8};
      FillRect(fill.DC(), &all, brush);
      EXPECT_NE(fill.At(0, 0), fill.At(1, 0)) << "a checker of highlight and face";
      EXPECT_TRUE((fill.At(0, 0) == light && fill.At(1, 0) == face) ||
                  (fill.At(0, 0) == face && fill.At(1, 0) == light));
    }
    p.Capture.SavePng(String("bars_button_standard_") + c.name);
  }
  TSheet plain(24, 24);
  Painter()->DrawButtonBorder(&control, plain.DC(), w->BackgroundBrush, true, r, 0, true, false, false,
                              false);
  EXPECT_EQ(plain.At(0, 0), face) << "an idle button: a ring of background";
  EXPECT_EQ(plain.At(5, 5), kRed);
}

TEST_F(PaintersTest, EnhancedMarkShowsItsArrowAndChevronsOnlyWithHiddenLinks) {
  const COLORREF text = Sys(COLOR_BTNTEXT);
  for (bool truncated : {false, true}) {
    TdxBarControl* w = Toolbar(bmsEnhanced, dsTop, 60, 24);
    w->SetTruncated(truncated);
    ASSERT_TRUE(w->MarkVisible()) << "quick customization keeps the mark";
    const TRect mark = Painter()->CalcMarkBounds(w);
    EXPECT_EQ(mark, TRect(49, 0, 60, 24));
    TSheet p(60, 24);
    Painter()->DrawMark(w, p.DC(), w->GetToolbarBrush(), mark);
    // The arrow at (left + 3, bottom - 7): 5 wide, pointing down.
    EXPECT_EQ(p.At(52, 17), text);
    EXPECT_EQ(p.At(56, 17), text);
    EXPECT_EQ(p.At(54, 19), text);
    // The chevrons at left + 2 and + 6, from y = 4.
    EXPECT_EQ(p.At(51, 4) == text, truncated);
    EXPECT_EQ(p.At(55, 4) == text, truncated);
    EXPECT_EQ(p.At(52, 5) == text, truncated);
    p.Capture.SavePng(truncated ? "bars_mark_enhanced_hidden" : "bars_mark_enhanced");
  }
  TdxBarControl* w = Toolbar(bmsEnhanced, dsTop, 60, 24);
  w->SetTruncated(false);
  Bar->AllowQuickCustomizing = false;
  EXPECT_FALSE(w->MarkVisible());
  Bar->AllowQuickCustomizing = true;
}

TEST_F(PaintersTest, StandardMarkIsACornerBoxOfEmbossedChevrons) {
  TdxBarControl* w = Toolbar(bmsStandard, dsTop, 60, 24);
  EXPECT_FALSE(w->MarkVisible()) << "the Standard look shows the mark only for hidden links";
  w->SetTruncated(true);
  const TRect mark = Painter()->CalcMarkBounds(w);
  EXPECT_EQ(mark, TRect(49, 0, 60, 9));
  TSheet p(60, 24);
  Painter()->DrawMark(w, p.DC(), w->GetToolbarBrush(), mark);
  EXPECT_EQ(p.At(50, 1), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(p.At(51, 1), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(p.At(50, 12), kRed) << "below the box";
  p.Capture.SavePng("bars_mark_standard");
}

TEST_F(PaintersTest, RotatedCaptionsDrawTheirUnderlineByHand) {
  Build([](TdxBarManager* m) {
    TdxBar* bar = m->GetBars()->Add();
    AddLink(bar->GetItemLinks(), AddButton(m, "Save"));
  });
  TdxBarControl* w = Toolbar(bmsEnhanced, dsLeft, 24, 80);
  TdxBarItemControl control(Bar->GetItemLinks()->GetItem(0), w);
  LOGFONTA log{};
  log.lfHeight = -11;
  log.lfEscapement = log.lfOrientation = -900;
  log.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  lstrcpyA(log.lfFaceName, "Tahoma");
  HFONT font = CreateFontIndirectA(&log);
  auto draw = [&](const String& caption, TSheet& p) {
    HGDIOBJ old = SelectObject(p.DC(), font);
    Painter()->DrawCaption(&control, p.DC(), caption, TRect(0, 0, 24, 80), 0, true, false, true, true, false);
    SelectObject(p.DC(), old);
  };
  auto plain = [&](const String& text, TSheet& p) {
    HGDIOBJ old = SelectObject(p.DC(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(p.DC(), &metrics);
    SetBkMode(p.DC(), TRANSPARENT);
    SetTextColor(p.DC(), Sys(COLOR_BTNTEXT));
    TextOutA(p.DC(), (24 + metrics.tmHeight) / 2, 0, text.c_str(), static_cast<int>(text.size()));
    SelectObject(p.DC(), old);
    return metrics.tmHeight;
  };
  TSheet accel(24, 80), reference(24, 80);
  draw("&Save", accel);
  const int height = plain("Save", reference);
  // The underline: 2 pixels left of the text's centre line, over the S.
  const int lineX = (24 + height) / 2 - height / 2 - 2;
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE s{};
  GetTextExtentPoint32A(screen, "S", 1, &s);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  for (int y = 0; y < s.cx; ++y)
    EXPECT_EQ(accel.At(lineX, y), Sys(COLOR_BTNTEXT)) << y;
  EXPECT_EQ(reference.At(lineX, 1), kRed) << "no such line in the plain text";
  accel.Capture.SavePng("bars_caption_rotated");

  TSheet doubled(24, 80), literal(24, 80);
  draw("Save &&As", doubled);
  plain("Save &As", literal);
  for (int x = 0; x < 24; ++x)
    for (int y = 0; y < 80; ++y)
      ASSERT_EQ(doubled.At(x, y), literal.At(x, y))
          << "\"&&\" is a literal \"&\" without underline " << x << "," << y;
  DeleteObject(font);
}

TEST_F(PaintersTest, StandardFloatingFrameIsARaisedEdgeInTwoFaceRings) {
  TdxBarControl* w = Toolbar(bmsStandard, dsNone, 60, 40);
  TSheet p(60, 40);
  Painter()->DrawFloatingFrame(w, p.DC(), TRect(0, 0, 60, 40));
  EXPECT_EQ(p.At(0, 20), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(p.At(59, 20), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(p.At(1, 20), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(p.At(58, 20), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(p.At(2, 20), Sys(COLOR_BTNFACE));
  EXPECT_EQ(p.At(3, 20), Sys(COLOR_BTNFACE));
  EXPECT_EQ(p.At(4, 20), kRed);
  EXPECT_EQ(Painter()->GetFloatingFrameSideWidth(), 4);
  EXPECT_TRUE(Painter()->UsesSystemFloatingFrame());
  p.Capture.SavePng("bars_floating_frame_standard");
}

// Sets the system's small-caption font height for the life of the scope
// (not written to the user's settings).
class TSmallCaptionHeight {
public:
  explicit TSmallCaptionHeight(int height) {
    FSaved.cbSize = sizeof(FSaved);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(FSaved), &FSaved, 0);
    NONCLIENTMETRICSA changed = FSaved;
    changed.lfSmCaptionFont.lfHeight = height;
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(changed), &changed, 0);
  }
  ~TSmallCaptionHeight() { SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(FSaved), &FSaved, 0); }
  TSmallCaptionHeight(const TSmallCaptionHeight&) = delete;
  TSmallCaptionHeight& operator=(const TSmallCaptionHeight&) = delete;

private:
  NONCLIENTMETRICSA FSaved{};
};

TEST_F(PaintersTest, FloatingCaptionFontIsAtLeastElevenPixels) {
  const struct { int system, drawn; } cases[] = {{-8, -11}, {-12, -12}};
  Build([](TdxBarManager* m) { m->GetBars()->Add()->SetCaption("Formatting"); });
  Manager->SetScaled(false);
  Manager->SetUseSystemFont(false);
  TFont font;
  font.SetName("Tahoma");
  Manager->SetFont(&font);
  for (const auto& c : cases) {
    TSmallCaptionHeight height(c.system);
    TdxBarControl* w = Toolbar(bmsEnhanced, dsNone, 200, 30);
    Bar->AllowClose = false;
    Bar->ShowMark = false;
    const COLORREF caption = ColorToRGB(clInactiveCaption);
    TSheet p(200, 30);
    Painter()->DrawFloatingCaption(w, p.DC(), w->GetToolbarBrush(), clNone, TRect(0, 0, 200, 20));
    const auto ink = InkColumns(p, caption, 20);
    auto inkAt = [&](int height) {
      TSheet reference(200, 30);
      RECT all{0, 0, 200, 30};
      HBRUSH fill = CreateSolidBrush(caption);
      FillRect(reference.DC(), &all, fill);
      DeleteObject(fill);
      HFONT expected =
          CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
      HGDIOBJ old = SelectObject(reference.DC(), expected);
      SetBkMode(reference.DC(), TRANSPARENT);
      SetTextColor(reference.DC(), Sys(COLOR_CAPTIONTEXT));
      TextOutA(reference.DC(), 2, 2, "Formatting", 10);
      SelectObject(reference.DC(), old);
      DeleteObject(expected);
      return InkColumns(reference, caption, 20);
    };
    const auto expectedInk = inkAt(c.drawn);
    EXPECT_EQ(ink.second - ink.first, expectedInk.second - expectedInk.first) << c.system;
    if (c.drawn != c.system) {
      const auto small = inkAt(c.system);
      EXPECT_NE(ink.second - ink.first, small.second - small.first) << "drawn larger than asked";
    }
    EXPECT_EQ(ink.first, expectedInk.first) << "the text starts 2 pixels in without a mark";
    EXPECT_EQ(p.At(100, 20), Sys(COLOR_BTNFACE)) << "the line below the caption";
    p.Capture.SavePng(String("bars_floating_caption_") + IntToStr(-c.system));
    Bar->AllowClose = true;
    Bar->ShowMark = true;
  }
}
