// The Flat, Office 2003 and XP painters drawn into memory pictures, and whole
// toolbars of every painter for a person to look at.
#include "BarsTest.h"

#include "dxBarPainters.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include "GuiTest.h"
#include "PaintSheet.h"

#include <memory>

namespace {

using namespace painttest;

class FlatPaintersTest : public BarsTest {
protected:
  void SetUp() override {
    Build([](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      bar->SetCaption("Tools");
      AddLink(bar->GetItemLinks(), AddButton(m, "Bold"));
    });
    Bar = Manager->GetBars()->GetItem(0);
  }

  TdxBarControl* Toolbar(TdxBarManagerStyle style, TdxBarDockingStyle docking, int width, int height) {
    Manager->SetStyle(style);
    Window = std::make_unique<TdxBarControl>(Manager, Bar);
    Window->SetDockingStyle(docking);
    Window->SetBounds(0, 0, width, height);
    Window->BackgroundBrush = Window->GetToolbarBrush();
    Control = std::make_unique<TdxBarItemControl>(Bar->GetItemLinks()->GetItem(0), Window.get());
    return Window.get();
  }
  TdxBarItemControlPainterClass Painter() const { return Manager->GetPainterClass(); }

  // The glyph box of an image-less button in a state, as a button paints it.
  void DrawBox(HDC dc, const TRect& r, int paintType, bool selected, bool down, bool pressed) {
    const TdxBarItemControlPainterClass painter = Painter();
    HBRUSH brush = painter->GetBackgroundBrush(Control.get(), paintType, true, selected, down, pressed);
    if (painter->HasCustomBackground())
      painter->DrawButtonBorder(Control.get(), dc, brush, true, r, paintType, true, selected, down, pressed);
    painter->DrawCheckedGlyphCell(Control.get(), dc, r, brush, true, paintType, selected, down, pressed);
    if (!painter->HasCustomBackground())
      painter->DrawButtonBorder(Control.get(), dc, brush, true, r, paintType, true, selected, down, pressed);
  }

  TdxBar* Bar = nullptr;
  std::unique_ptr<TdxBarControl> Window;
  std::unique_ptr<TdxBarItemControl> Control;
};

} // namespace

// ---- Flat ----

TEST_F(FlatPaintersTest, FlatButtonsShowAHighlightFrameAndTintedFills) {
  TdxBarControl* w = Toolbar(bmsFlat, dsTop, 24, 24);
  const COLORREF frame = Sys(COLOR_HIGHLIGHT);
  const struct {
    const char* name;
    bool selected, down, pressed;
    HBRUSH fill;
  } cases[] = {
      {"hot", true, false, false, Manager->GetFlatSelectedBrush()},
      {"pressed", true, false, true, Manager->GetFlatCheckedSelectedBrush()},
      {"checked", false, true, false, Manager->GetFlatCheckedBrush()},
      {"checked_hot", true, true, false, Manager->GetFlatCheckedSelectedBrush()},
  };
  for (const auto& c : cases) {
    TSheet p(24, 24);
    DrawBox(p.DC(), TRect(0, 0, 24, 24), 0, c.selected, c.down, c.pressed);
    EXPECT_EQ(p.At(0, 0), frame) << c.name;
    EXPECT_EQ(p.At(23, 23), frame) << c.name << ": no edges, one frame";
    EXPECT_EQ(p.At(1, 1), BrushColor(c.fill)) << c.name;
    EXPECT_EQ(p.At(12, 12), BrushColor(c.fill)) << c.name;
    p.Capture.SavePng(String("bars_button_flat_") + c.name);
  }
  TSheet idle(24, 24);
  DrawBox(idle.DC(), TRect(0, 0, 24, 24), 0, false, false, false);
  EXPECT_EQ(idle.At(0, 0), BrushColor(w->GetToolbarBrush())) << "a ring of the bar's background";
  EXPECT_EQ(BrushColor(w->GetToolbarBrush()), BrushColor(Manager->GetFlatToolbarBrush()));
  EXPECT_NE(BrushColor(Manager->GetFlatToolbarBrush()), Sys(COLOR_BTNFACE)) << "lighter than the face";
}

TEST_F(FlatPaintersTest, FlatDockedBorderStripedGripAndThinSeparators) {
  TdxBarControl* w = Toolbar(bmsFlat, dsTop, 100, 26);
  const COLORREF face = Sys(COLOR_BTNFACE), shadow = Sys(COLOR_BTNSHADOW);
  const COLORREF bar = BrushColor(w->GetToolbarBrush());
  TSheet p(100, 26);
  Painter()->DrawDockedBarBorder(w, p.DC(), TRect(0, 0, 100, 26));
  EXPECT_EQ(p.At(0, 13), face) << "a flat frame in the face colour";
  EXPECT_EQ(p.At(1, 1), face) << "its corners rounded by face pixels";
  EXPECT_EQ(p.At(2, 13), kRed) << "no edge inside";
  // The grip: three pixels wide from 2 + 1, three pixels shorter at both
  // ends, rows alternating shadow and the bar's brush.
  EXPECT_EQ(p.At(3, 5), shadow);
  EXPECT_EQ(p.At(5, 5), shadow);
  EXPECT_EQ(p.At(3, 6), bar);
  EXPECT_EQ(p.At(3, 7), shadow);
  EXPECT_EQ(p.At(3, 4), kRed);
  EXPECT_EQ(p.At(3, 21), kRed);
  EXPECT_EQ(p.At(6, 13), kRed);
  p.Capture.SavePng("bars_grip_flat");

  TSheet s(40, 20);
  Painter()->DrawToolbarSeparator(w, s.DC(), TRect(10, 0, 15, 20), w->GetToolbarBrush(), false);
  EXPECT_EQ(s.At(11, 10), bar);
  EXPECT_EQ(s.At(12, 10), shadow) << "one shadow line in the middle of five pixels";
  EXPECT_EQ(s.At(13, 10), bar);
  EXPECT_EQ(s.At(15, 10), kRed);
}

TEST_F(FlatPaintersTest, FlatFloatingFrameCaptionAndCloseCross) {
  TdxBarControl* w = Toolbar(bmsFlat, dsNone, 120, 60);
  const int border = Painter()->GetFloatingBorderWidth();
  TSheet p(120, 60);
  Painter()->DrawFloatingFrame(w, p.DC(), TRect(0, 0, 120, 60));
  EXPECT_EQ(p.At(0, 30), BrushColor(Manager->GetFlatFrameBrush()));
  EXPECT_EQ(p.At(1, 30), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(p.At(border - 1, 30), BrushColor(w->GetToolbarBrush())) << "rings of the bar up to the client";
  EXPECT_EQ(p.At(border, 30), kRed);

  EXPECT_EQ(Rgb(Painter()->GetFloatCaptionColor(w, true)), Sys(COLOR_INACTIVECAPTION)) << "always inactive";
  const TRect close(0, 0, 16, 16);
  for (int state : {0, 1}) {
    TSheet b(16, 16);
    Painter()->DrawFloatingCloseButton(w, b.DC(), state, close);
    const COLORREF glyph = state == 0 ? Sys(COLOR_CAPTIONTEXT) : Sys(COLOR_BTNTEXT);
    // The cross runs from (3, 4) on a square of 10 pixels, two pixels thick.
    EXPECT_EQ(b.At(3, 4), glyph) << state;
    EXPECT_EQ(b.At(4, 4), glyph) << state;
    EXPECT_EQ(b.At(7, 8), glyph) << state << ": the middle";
    EXPECT_EQ(b.At(1, 8),
              state == 0 ? Sys(COLOR_INACTIVECAPTION) : BrushColor(Manager->GetFlatSelectedBrush()));
    if (state == 1) {
      EXPECT_EQ(b.At(0, 0), Sys(COLOR_HIGHLIGHT)) << "a hot button is framed";
    }
    b.Capture.SavePng("bars_close_flat_" + IntToStr(state));
  }
}

TEST_F(FlatPaintersTest, FlatAnswersAndMetrics) {
  Toolbar(bmsFlat, dsTop, 100, 26);
  const TdxBarItemControlPainterClass p = Painter();
  EXPECT_TRUE(p->IsFlatStyle());
  EXPECT_TRUE(p->ConnectsSubMenuToButton());
  EXPECT_TRUE(p->SupportsQuickCustomization());
  EXPECT_EQ(p->GetSeparatorSize(), 5);
  EXPECT_EQ(p->GetSeparatorLineOffset(), 2);
  EXPECT_EQ(Manager->GetArrowWidth(), 10) << "11 less one";
  Manager->SetButtonArrowWidth(10);
  Manager->StyleChanged();
  EXPECT_EQ(Manager->GetArrowWidth(), 10) << "10 made odd, less one";
  TdxBarControl floating(Manager, Bar);
  EXPECT_TRUE(p->HasShadow(&floating)) << "a window that is not docked";
  floating.SetDockingStyle(dsTop);
  EXPECT_FALSE(p->HasShadow(&floating));
  floating.SetDockingStyle(dsNone);
  EXPECT_FALSE(TdxBarItemControlOffice11Painter::Instance()->HasShadow(&floating))
      << "Office 2003 toolbars cast none";
}

// ---- Office 2003 ----

TEST_F(FlatPaintersTest, Office11DocksRunAGradientExceptOnTheRightAndBottom) {
  Form->SetBounds(50, 50, 400, 300);
  Manager->SetStyle(bmsOffice11);
  const TOffice11Colors& c = Office11Colors;
  const struct {
    TdxBarDockingStyle style;
    TColor first, last;
  } cases[] = {
      {dsTop, c.DockFrom, c.DockTo},
      {dsLeft, c.DockFrom, c.DockTo},
      {dsRight, c.DockFrom, c.DockFrom},
      {dsBottom, c.DockTo, c.DockTo},
  };
  for (const auto& k : cases) {
    auto dock = std::make_unique<TdxDockControl>(nullptr, Manager, k.style);
    dock->SetBounds(0, 0, 300, 30);
    TSheet p(300, 30);
    dock->DrawBackground(p.DC(), TRect(0, 0, 300, 30), clNone, nullptr);
    EXPECT_EQ(p.At(0, 15), Rgb(k.first)) << k.style;
    EXPECT_EQ(p.At(299, 15), Rgb(k.last)) << k.style;
    EXPECT_EQ(p.At(0, 0), p.At(0, 29)) << "a horizontal gradient";
    p.Capture.SavePng("bars_dock_office11_" + IntToStr(k.style));
  }
}

TEST_F(FlatPaintersTest, Office11HotAndCheckedButtonsRunOrangeGradients) {
  const TOffice11Colors& c = Office11Colors;
  const struct {
    const char* name;
    TdxBarDockingStyle docking;
    bool selected, down;
    TColor from, to;
  } cases[] = {
      {"hot", dsTop, true, false, c.HotButtonLight, c.HotButtonDark},
      {"checked", dsTop, false, true, c.DownButtonLight, c.DownButtonDark},
      {"checked_hot", dsTop, true, true, c.DownButtonDark, c.DownButtonLight},
      {"hot_vertical", dsLeft, true, false, c.HotButtonLight, c.HotButtonDark},
  };
  for (const auto& k : cases) {
    Toolbar(bmsOffice11, k.docking, 24, 24);
    TSheet p(24, 24);
    DrawBox(p.DC(), TRect(0, 0, 24, 24), 0, k.selected, k.down, false);
    const bool vertical = k.docking == dsLeft;
    // The gradient runs across the bar: down a horizontal one, along x on a
    // vertical one; one pixel inside the frame.
    EXPECT_EQ(p.At(vertical ? 1 : 12, vertical ? 12 : 1),
              Rgb(GradientColorAt(TRect(0, 0, 24, 24), 1, k.from, vertical, k.to)))
        << k.name;
    EXPECT_EQ(p.At(vertical ? 22 : 12, vertical ? 12 : 22),
              Rgb(GradientColorAt(TRect(0, 0, 24, 24), 22, k.from, vertical, k.to)))
        << k.name;
    const COLORREF frame = k.selected ? Rgb(c.SelectionBorder) : Rgb(c.BarFrame);
    EXPECT_EQ(p.At(0, 0), frame) << k.name;
    EXPECT_EQ(p.At(23, 12), frame) << k.name;
    p.Capture.SavePng(String("bars_button_office11_") + k.name);
  }
}

TEST_F(FlatPaintersTest, Office11ToolbarsHaveRoundedCornersAndAShadowLine) {
  Form->SetBounds(50, 50, 400, 300);
  Manager->SetStyle(bmsOffice11);
  auto dock = std::make_unique<TdxDockControl>(nullptr, Manager, dsTop);
  dock->SetBounds(0, 0, 300, 30);
  TdxBarControl* w = Toolbar(bmsOffice11, dsTop, 100, 26);
  w->SetDockControl(dock.get());
  w->SetBounds(40, 2, 100, 26);
  const TOffice11Colors& c = Office11Colors;
  Bar->ShowMark = false;
  TSheet p(100, 26);
  Painter()->DrawDockedBarBorder(w, p.DC(), TRect(0, 0, 100, 26));
  const TRect dockArea(-40, -2, 260, 28);
  auto dockAt = [&](int x) { return Rgb(GradientColorAt(dockArea, x, c.DockFrom, true, c.DockTo)); };
  EXPECT_EQ(p.At(0, 10), dockAt(0)) << "two pixels of dock before the body";
  EXPECT_EQ(p.At(50, 0), dockAt(50)) << "and the top row";
  EXPECT_EQ(p.At(2, 1), dockAt(2)) << "the body's corners are rounded off";
  EXPECT_EQ(p.At(99, 25), dockAt(99));
  EXPECT_EQ(p.At(50, 25), Rgb(c.BarShadow)) << "the shadow line along the bottom";
  EXPECT_EQ(p.At(98, 24), Rgb(c.BarCorner)) << "the pixel inside the bottom-right corner";
  EXPECT_EQ(p.At(3, 1),
            Rgb(MixColors(GradientColorAt(TRect(0, 1, 100, 25), 1, c.ToolbarLight, false, c.ToolbarDark),
                          static_cast<TColor>(dockAt(3)), 50)))
      << "a corner's neighbour half bar, half dock";
  EXPECT_EQ(p.At(50, 13), kRed) << "the inside is left to the window";
  // The dotted grip: dark dots with light pixels below and right of them.
  EXPECT_EQ(p.At(5, 6), Rgb(c.GripDot));
  EXPECT_EQ(p.At(7, 7), Rgb(c.GripDotLight));
  p.Capture.SavePng("bars_border_office11");

  Bar->ShowMark = true;
  TSheet m(100, 26);
  Painter()->DrawDockedBarBorder(w, m.DC(), TRect(0, 0, 100, 26));
  TSheet gradient(100, 26);
  FillGradientTwoPart(gradient.DC(), TRect(88, 1, 100, 26), c.MarkFrom, false, c.MarkTo);
  EXPECT_EQ(m.At(95, 25), gradient.At(95, 25)) << "the mark's gradient reaches over the border";
  EXPECT_EQ(m.At(95, 1), gradient.At(95, 1));
  EXPECT_NE(m.At(87, 25), Rgb(c.BarShadow)) << "the shadow line stops 13 pixels before the end";
  EXPECT_EQ(m.At(80, 25), Rgb(c.BarShadow));
  m.Capture.SavePng("bars_border_office11_mark");
  w->SetDockControl(nullptr);
}

// ---- XP ----

TEST_F(FlatPaintersTest, XPButtonsAreTheThemesToolbarButtons) {
  Manager->SetStyle(bmsXP);
  ASSERT_TRUE(Manager->GetXPThemesAvailable()) << "Wine's bundled style opens all nine classes";
  TdxBarControl* w = Toolbar(bmsXP, dsTop, 24, 22);
  ASSERT_EQ(Painter(), TdxBarItemControlXPPainter::Instance());
  const struct {
    const char* name;
    bool enabled, selected, down, pressed;
    int state;
  } cases[] = {
      {"normal", true, false, false, false, 1},       {"hot", true, true, false, false, 2},
      {"pressed", true, true, false, true, 3},        {"checked", true, false, true, false, 5},
      {"checked_hot", true, true, true, false, 5},    {"disabled_checked", false, false, true, false, 4},
      {"pressed_checked", true, true, true, true, 3},
  };
  const TRect r(0, 0, 24, 22);
  for (const auto& k : cases) {
    EXPECT_EQ(TdxBarItemControlXPPainter::ButtonState(k.enabled, k.selected, k.down, k.pressed), k.state)
        << k.name;
    Bar->GetItemLinks()->GetItem(0)->GetItem()->SetEnabled(k.enabled);
    TSheet drawn(24, 22), theme(24, 22);
    DrawBox(drawn.DC(), r, 0, k.selected, k.down, k.pressed);
    FillRect(theme.DC(), &r, w->GetToolbarBrush());
    dxUxTheme::DrawThemeBackground(OpenThemeHandle(totToolBar), theme.DC(), 1, k.state, &r, nullptr);
    int differences = 0;
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 24; ++x)
        differences += drawn.At(x, y) != theme.At(x, y);
    EXPECT_EQ(differences, 0) << k.name;
    drawn.Capture.SavePng(String("bars_button_xp_") + k.name);
  }
  Bar->GetItemLinks()->GetItem(0)->GetItem()->SetEnabled(true);
}

TEST_F(FlatPaintersTest, XPGripAndSeparatorsAreThemeParts) {
  TdxBarControl* w = Toolbar(bmsXP, dsTop, 100, 26);
  const TdxBarItemControlPainterClass p = Painter();
  SIZE gripper{};
  dxUxTheme::GetThemePartSize(OpenThemeHandle(totRebar), nullptr, 1, 1, nullptr, 1, &gripper);
  EXPECT_EQ(p->GetGripWidth(), gripper.cx);
  EXPECT_EQ(Manager->GetGripAreaSize(), gripper.cx + 2);
  TSheet drawn(100, 26), theme(100, 26);
  p->DrawDockedBarBorder(w, drawn.DC(), TRect(0, 0, 100, 26));
  const TRect grip(2, 2, 2 + gripper.cx, 24);
  dxUxTheme::DrawThemeBackground(OpenThemeHandle(totRebar), theme.DC(), 1, 1, &grip, nullptr);
  for (int y = 0; y < 26; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(drawn.At(x, y), theme.At(x, y)) << x << "," << y;
  drawn.Capture.SavePng("bars_grip_xp");
}

TEST_F(FlatPaintersTest, PaintersFreeWhatTheyMake) {
  for (TdxBarManagerStyle style : {bmsFlat, bmsOffice11, bmsXP}) {
    TdxBarControl* w = Toolbar(style, dsTop, 100, 26);
    TSheet p(100, 26);
    const int before = GdiObjects();
    for (int i = 0; i < 20; ++i) {
      Painter()->DrawDockedBarBorder(w, p.DC(), TRect(0, 0, 100, 26));
      DrawBox(p.DC(), TRect(0, 0, 24, 24), 0, true, i % 2 == 0, false);
      Painter()->DrawToolbarSeparator(w, p.DC(), TRect(10, 0, 16, 20), w->GetToolbarBrush(), false);
    }
    EXPECT_EQ(GdiObjects(), before) << style;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(p.DC(), region), 0) << style << ": no clip region left behind";
    DeleteObject(region);
  }
}

// ---- Every painter on screen ----

namespace {

class PainterGalleryTest : public BarsTest {};

} // namespace

TEST_F(PainterGalleryTest, DockedAndFloatingToolbarsOfEveryPainter) {
  Build([](TdxBarManager* m) {
    TdxBar* bar = m->GetBars()->Add();
    bar->SetCaption("Tools");
    const char* names[] = {"Normal", "Hot", "Checked", "Off"};
    for (int i = 0; i < 4; ++i) {
      TdxBarButton* button = AddButton(m, names[i]);
      if (i == 2) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      if (i == 3) button->SetEnabled(false);
      AddLink(bar->GetItemLinks(), button, i == 2);
    }
  });
  Form->SetBounds(50, 50, 420, 200);
  Form->Show();
  TdxBar* bar = Manager->GetBars()->GetItem(0);
  const struct {
    TdxBarManagerStyle style;
    const char* name;
  } styles[] = {{bmsStandard, "standard"},
                {bmsEnhanced, "enhanced"},
                {bmsFlat, "flat"},
                {bmsOffice11, "office11"},
                {bmsXP, "xp"}};
  for (const auto& s : styles) {
    Manager->SetStyle(s.style);
    auto* dock = new TdxDockControl(Form.get(), Manager, dsTop);
    dock->SetParent(Form.get());
    TdxBarControl* window = DockTopWindow(bar, dock);
    window->HotTrackControl(bar->GetItemLinks()->GetItem(1)->GetControl());
    guitest::PumpFor(50);
    // The dock with its toolbar: the client areas from the windows, the
    // toolbar's frame and grip from its painter.
    guitest::TCapture client = guitest::TCapture::Paint(dock->GetHandle());
    RECT frame, inner;
    GetWindowRect(window->GetHandle(), &frame);
    inner = window->GetClientRect();
    MapWindowPoints(window->GetHandle(), nullptr, reinterpret_cast<POINT*>(&inner), 2);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    TSheet nc(w, h);
    BitBlt(nc.DC(), 0, 0, w, h, client.DC(), window->GetLeft(), window->GetTop(), SRCCOPY);
    {
      HRGN saved = CreateRectRgn(0, 0, 0, 0);
      ExcludeClipRect(nc.DC(), inner.left - frame.left, inner.top - frame.top, inner.right - frame.left,
                      inner.bottom - frame.top);
      Manager->GetPainterClass()->DrawDockedBarBorder(window, nc.DC(), TRect(0, 0, w, h));
      SelectClipRgn(nc.DC(), nullptr);
      DeleteObject(saved);
    }
    guitest::TCapture inside = guitest::TCapture::Paint(window->GetHandle());
    BitBlt(nc.DC(), inner.left - frame.left, inner.top - frame.top, inside.Width(), inside.Height(),
           inside.DC(), 0, 0, SRCCOPY);
    EXPECT_NE(nc.At(w / 2, h / 2), kRed) << s.name;
    nc.Capture.SavePng(String("bars_toolbar_docked_") + s.name);
    client.SavePng(String("bars_dock_") + s.name);
    delete window;
    delete dock;

    // The same bar floating: frame and caption from the painter, as the
    // window's non-client painting draws them.
    auto* floating = new TdxBarControl(Manager, bar);
    floating->ParentWindow = Form->GetHandle();
    floating->SetBounds(100, 300, 260, 60);
    floating->SetVisible(true);
    guitest::PumpFor(50);
    RECT outer, content;
    GetWindowRect(floating->GetHandle(), &outer);
    content = floating->GetClientRect();
    MapWindowPoints(floating->GetHandle(), nullptr, reinterpret_cast<POINT*>(&content), 2);
    const int fw = outer.right - outer.left, fh = outer.bottom - outer.top;
    TSheet f(fw, fh);
    const TdxBarItemControlPainterClass painter = Manager->GetPainterClass();
    if (!painter->UsesSystemFloatingFrame())
      painter->DrawFloatingFrame(floating, f.DC(), TRect(0, 0, fw, fh));
    painter->DrawFloatingCaption(floating, f.DC(), floating->GetToolbarBrush(), clNone,
                                 floating->GetCaptionRect());
    guitest::TCapture body = guitest::TCapture::Paint(floating->GetHandle());
    BitBlt(f.DC(), content.left - outer.left, content.top - outer.top, body.Width(), body.Height(), body.DC(),
           0, 0, SRCCOPY);
    EXPECT_NE(f.At(fw / 2, floating->GetCaptionRect().top + 2), kRed) << s.name << ": the caption";
    f.Capture.SavePng(String("bars_toolbar_floating_") + s.name);
    delete floating;
  }
}

// ---- Without the visual style ----

namespace {

class XPPainterStyleOff : public BarsTest {};

} // namespace

TEST_F(XPPainterStyleOff, TheXPStyleDrawsWithTheEnhancedPainter) {
  Build();
  Manager->SetStyle(bmsXP);
  EXPECT_FALSE(Manager->GetXPThemesAvailable());
  EXPECT_EQ(Manager->GetPainterClass(), TdxBarItemControlEnhancedPainter::Instance());
  Manager->SetStyle(bmsOffice11);
  EXPECT_EQ(Manager->GetPainterClass(), TdxBarItemControlOffice11Painter::Instance()) << "needs no style";
}

TEST_F(XPPainterStyleOff, WithoutTheStyleAnXPToolbarLooksAsAnEnhancedOne) {
  Build([](TdxBarManager* m) {
    TdxBar* bar = m->GetBars()->Add();
    bar->SetCaption("Tools");
    for (const char* name : {"Normal", "Checked", "Off"}) {
      TdxBarButton* button = AddButton(m, name);
      if (String(name) == "Checked") {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      if (String(name) == "Off") button->SetEnabled(false);
      AddLink(bar->GetItemLinks(), button, String(name) == "Off");
    }
  });
  Form->SetBounds(50, 50, 320, 120);
  Form->Show();
  TdxBar* bar = Manager->GetBars()->GetItem(0);
  auto paint = [&](TdxBarManagerStyle style) {
    Manager->SetStyle(style);
    auto* dock = new TdxDockControl(Form.get(), Manager, dsTop);
    dock->SetParent(Form.get());
    TdxBarControl* window = DockTopWindow(bar, dock);
    guitest::PumpFor(50);
    guitest::TCapture picture = guitest::TCapture::Paint(dock->GetHandle());
    delete window;
    delete dock;
    return picture;
  };
  guitest::TCapture xp = paint(bmsXP);
  guitest::TCapture enhanced = paint(bmsEnhanced);
  xp.SavePng("bars_toolbar_xp_style_off");
  ASSERT_EQ(xp.Width(), enhanced.Width());
  ASSERT_EQ(xp.Height(), enhanced.Height());
  int differences = 0;
  for (int y = 0; y < xp.Height(); ++y)
    for (int x = 0; x < xp.Width(); ++x)
      differences += xp.Pixel(x, y) != enhanced.Pixel(x, y);
  EXPECT_EQ(differences, 0);
  EXPECT_GT(xp.CountPixels(RECT{0, 0, xp.Width(), xp.Height()}, Sys(COLOR_BTNTEXT)), 10) << "the captions";
}

TEST(XPPainterVisualStyle, ClassicLookCasesPassInAChildProcess) {
  if (guitest::IsStyleOffRun()) GTEST_SKIP();
  EXPECT_EQ(0, guitest::RunStyleOffCases("XPPainterStyleOff.*"));
}

// ---- Menu lines ----

namespace {

// The columns of a menu line holding text-coloured pixels.
std::pair<int, int> TextColumns(const TSheet& p, int width, int height, COLORREF text) {
  int first = -1, last = -1;
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      if (p.At(x, y) == text) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

} // namespace

TEST_F(FlatPaintersTest, MenuLinesOfTheFlatLooks) {
  const int w = 160, h = 22;
  const COLORREF menu = Sys(COLOR_WINDOW);
  struct TLook {
    TdxBarManagerStyle style;
    const char* name;
  };
  for (const TLook look : {TLook{bmsFlat, "flat"}, TLook{bmsOffice11, "office11"}, TLook{bmsXP, "xp"}}) {
    for (bool selected : {false, true}) {
      TdxBarControl* window = Toolbar(look.style, dsNone, w, h);
      window->BackgroundBrush = GetSysColorBrush(COLOR_WINDOW);
      TSheet p(w, h);
      // The glyph box is drawn on the window's canvas: the sheet here.
      window->GetCanvas()->SetHandle(p.DC());
      Painter()->DrawMenuItem(Control.get(), p.DC(), TRect(0, 0, w, h), false, true, selected);
      window->GetCanvas()->SetHandle(nullptr);
      const String name = String(look.name) + (selected ? " selected" : "");
      const COLORREF selectedFill = BrushColor(window->GetSelectedBrush());
      // Office 2003 leaves an unselected line on the window's own background.
      const bool ownBackground = look.style == bmsOffice11 && !selected;
      if (!ownBackground) {
        EXPECT_EQ(p.At(w - 3, 3), selected ? selectedFill : menu) << name << ": the text area";
      }
      const int textStart = look.style == bmsXP ? h + 1 + 2 : 1 + (h - 2) + 2 + 8;
      const COLORREF text = Rgb(look.style == bmsOffice11         ? Office11Colors.TextColor
                                : selected && look.style == bmsXP ? clHighlightText
                                                                  : clBtnText);
      const auto [first, last] = TextColumns(p, w, h, text);
      EXPECT_GE(first, textStart) << name << ": the caption starts after the glyph column";
      EXPECT_LE(first, textStart + 2) << name;
      EXPECT_GT(last, first) << name;
      if (look.style != bmsXP) {
        const COLORREF frame =
            look.style == bmsFlat ? Sys(COLOR_HIGHLIGHT) : Rgb(Office11Colors.SelectionBorder);
        const COLORREF column = BrushColor(Manager->GetFlatToolbarBrush());
        if (selected) {
          EXPECT_EQ(p.At(0, 0), frame) << name << ": a frame around the selected line";
          EXPECT_EQ(p.At(h - 1, 10), selectedFill) << name << ": the strip after the glyph";
        } else if (look.style == bmsFlat) {
          EXPECT_EQ(p.At(5, 10), column) << name << ": the tinted glyph column";
          EXPECT_EQ(p.At(h - 1, 10), column) << name << ": the strip after the glyph";
        }
      }
      p.Capture.SavePng("bars_menuline_" + String(look.name) + (selected ? "_selected" : ""));
    }
  }
}

TEST_F(PainterGalleryTest, XPDockRowsCarryLinesExceptAtTheirOuterEdges) {
  Build([](TdxBarManager* m) {
    for (int b = 0; b < 2; ++b) {
      TdxBar* bar = m->GetBars()->Add();
      bar->OneOnRow = true;
      AddLink(bar->GetItemLinks(), AddButton(m, "B" + IntToStr(b)));
    }
  });
  Manager->SetStyle(bmsXP);
  Form->SetBounds(50, 50, 400, 300);
  Form->Show();
  const COLORREF highlight = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
  const struct {
    TdxBarDockingStyle style;
    bool firstLeading, lastTrailing;
  } cases[] = {{dsTop, false, false}, {dsBottom, true, false}, {dsLeft, false, true}, {dsRight, true, false}};
  for (const auto& c : cases) {
    auto* dock = new TdxDockControl(Form.get(), Manager, c.style);
    dock->SetParent(Form.get());
    std::vector<TdxBarControl*> windows;
    for (int b = 0; b < 2; ++b) {
      auto* window = new TdxBarControl(Manager, Manager->GetBars()->GetItem(b));
      window->SetDockingStyle(c.style);
      window->SetParent(dock);
      window->SetVisible(true);
      dock->InsertBarControl(window, dock->ClientToScreen(TPoint(0, 0)), true);
      windows.push_back(window);
    }
    ASSERT_EQ(dock->GetRowCount(), 2) << c.style;
    const int first = dock->GetRowThickness(0), second = dock->GetRowThickness(1);
    const bool vertical = dock->IsVertical();
    TSheet p(dock->GetClientWidth(), dock->GetClientHeight());
    Manager->GetPainterClass()->DrawDockControlBackground(dock, p.DC(), dock->GetClientRect(), nullptr,
                                                          clNone);
    // Without a line a row shows the rebar's own background there.
    TSheet rebar(dock->GetClientWidth(), dock->GetClientHeight());
    const TRect client = dock->GetClientRect();
    dxUxTheme::DrawThemeBackground(OpenThemeHandle(totRebar), rebar.DC(), 0, 1, &client, nullptr);
    auto check = [&](int across, bool line, COLORREF colour, const char* what) {
      const COLORREF drawn = vertical ? p.At(across, 5) : p.At(5, across);
      const COLORREF plain = vertical ? rebar.At(across, 5) : rebar.At(5, across);
      EXPECT_EQ(drawn, line ? colour : plain) << c.style << ": " << what;
    };
    check(0, c.firstLeading, highlight, "the first row's leading line");
    check(first - 1, true, shadow, "a row between others keeps its shadow line");
    check(first, true, highlight, "the second row's leading line");
    check(first + second - 1, c.lastTrailing, shadow, "the last row's trailing line");
    p.Capture.SavePng("bars_dock_xp_" + IntToStr(c.style));
    for (TdxBarControl* window : windows)
      delete window;
    delete dock;
  }
}

TEST_F(FlatPaintersTest, XPAnswers) {
  Toolbar(bmsXP, dsTop, 100, 26);
  const TdxBarItemControlPainterClass p = Painter();
  EXPECT_EQ(p->GetDownGlyphOffset(), 1);
  EXPECT_EQ(p->GetPressedGlyphOffset(true), 0)
      << "a pressed button that is down moves by its down offset only";
  EXPECT_EQ(p->GetPressedGlyphOffset(false), 1);
  EXPECT_TRUE(p->HasCustomBackground());
  EXPECT_EQ(p->GetFadedImageColor(Manager), MixColors(GetToolbarThemeFillColor(), clBtnShadow, 70))
      << "faded whatever MakeDisabledImagesFaded says";
  EXPECT_EQ(Manager->GetArrowWidth(), 11 + 3);
  TRect r(0, 0, 10, 10);
  p->OffsetPressedCaption(r, true, true);
  EXPECT_EQ(r.left, 1) << "down or pressed: one pixel, not two";
}
