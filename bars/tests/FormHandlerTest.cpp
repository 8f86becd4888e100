// The manager's side of its form: the hooks, the floating bars following the
// form's activation and state, bars shown again when the form's window is
// made anew, colours and fonts following the system, status bars.
#include "BarsTest.h"

#include "GuiTest.h"
#include "dxBarCommon.h"

#include "ExtCtrls.h"

namespace {

class FormHandlerTest : public BarsTest {
protected:
  // Bars of two buttons each, in the given places.
  void BuildBars(std::vector<TdxBarDockingStyle> styles) {
    Build([styles](TdxBarManager* m) {
      int n = 0;
      for (TdxBarDockingStyle style : styles) {
        TdxBar* bar = m->GetBars()->Add();
        bar->SetCaption("Bar" + IntToStr(n));
        for (int i = 0; i < 2; ++i, ++n)
          AddLink(bar->GetItemLinks(), AddButton(m, "B" + IntToStr(n), "Button" + IntToStr(n)));
        bar->SetDockingStyle(style);
        bar->SetFloatValue(1, 420);
        bar->SetFloatValue(2, 120);
      }
    });
    Form->SetBounds(40, 40, 360, 300);
    Form->Show();
    Activate(Form.get());
  }

  TdxBar* Bar(int index) const { return Manager->GetBars()->GetItem(index); }

  // Activates a form as the user does: a click on its client area.
  static void Activate(TForm* form) {
    guitest::ClickAt(form->GetHandle(), form->GetClientWidth() - 20, form->GetClientHeight() - 20);
    ASSERT_TRUE(guitest::PumpUntil([form] { return GetActiveWindow() == form->GetHandle(); }));
    guitest::PumpFor(50);
  }

  bool Shows(TdxBar* bar) const {
    TdxBarControl* window = bar->GetBarControl();
    return window && window->HandleAllocated() && IsWindowVisible(window->GetHandle());
  }

  std::unique_ptr<TForm> MakeOtherForm() {
    auto other = std::make_unique<TForm>(nullptr);
    other->SetBounds(40, 400, 200, 120);
    other->Show();
    return other;
  }
};

} // namespace

TEST_F(FormHandlerTest, TheFirstManagerInstallsTheHooksAndTheLastRemovesThem) {
  EXPECT_FALSE(BarHooksInstalled());
  Build();
  EXPECT_TRUE(BarHooksInstalled());
  TForm second(nullptr);
  CreateBarManager(&second, [](TdxBarManager*) {});
  Form.reset();
  EXPECT_TRUE(BarHooksInstalled()) << "another manager still lives";
  delete GetBarManagerOfForm(&second);
  EXPECT_FALSE(BarHooksInstalled());
}

TEST_F(FormHandlerTest, FloatingBarsFollowTheFormsActivation) {
  BuildBars({dsNone});
  Bar(0)->SetVisible(true);
  ASSERT_TRUE(Shows(Bar(0)));
  EXPECT_TRUE(Manager->FormActive);
  auto other = MakeOtherForm();
  Activate(other.get());
  EXPECT_FALSE(Manager->FormActive);
  EXPECT_FALSE(Shows(Bar(0))) << "hidden while the form is inactive";
  ASSERT_NE(Bar(0)->GetBarControl(), nullptr) << "but the window stays";

  Activate(Form.get());
  EXPECT_TRUE(Shows(Bar(0)));
  EXPECT_EQ(GetActiveWindow(), Form->GetHandle()) << "shown without taking activation";

  // Without HideFloatingBarsWhenInactive they stay.
  Manager->SetHideFloatingBarsWhenInactive(false);
  Activate(other.get());
  EXPECT_TRUE(Shows(Bar(0)));
  Manager->SetHideFloatingBarsWhenInactive(true);
  EXPECT_FALSE(Shows(Bar(0))) << "switched on while inactive: hidden at once";
}

TEST_F(FormHandlerTest, AFloatingBarShownWhileItsFormIsInactiveStaysHidden) {
  BuildBars({dsNone});
  auto other = MakeOtherForm();
  Activate(other.get());
  Bar(0)->SetVisible(true);
  ASSERT_NE(Bar(0)->GetBarControl(), nullptr) << "the window is made";
  EXPECT_FALSE(Shows(Bar(0)));
  Activate(Form.get());
  EXPECT_TRUE(Shows(Bar(0)));
  EXPECT_EQ(Bar(0)->GetBarControl()->GetLeft(), 420);
}

TEST_F(FormHandlerTest, MinimizingHidesFloatingBarsAndRestoringShowsThemWithoutActivation) {
  BuildBars({dsNone, dsTop});
  Bar(0)->SetVisible(true);
  Bar(1)->SetVisible(true);
  ASSERT_TRUE(Shows(Bar(0)));
  SendMessageA(Form->GetHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return IsIconic(Form->GetHandle()) != 0; }));
  EXPECT_FALSE(Shows(Bar(0)));
  EXPECT_TRUE(Bar(0)->GetVisible()) << "the bar itself stays shown";
  SendMessageA(Form->GetHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !IsIconic(Form->GetHandle()) && Shows(Bar(0)); }));
  EXPECT_NE(GetActiveWindow(), Bar(0)->GetBarControl()->GetHandle());
  EXPECT_TRUE(Shows(Bar(1)));
}

TEST_F(FormHandlerTest, ARecreatedFormWindowShowsItsBarsAgain) {
  BuildBars({dsTop, dsTop, dsLeft, dsNone});
  Bar(1)->OneOnRow = true;
  Bar(1)->SetRow(1);
  for (int i = 0; i < 4; ++i)
    Bar(i)->SetVisible(true);
  TdxDockControl* top = Manager->GetBars()->GetDockControl(dsTop);
  ASSERT_EQ(top->GetRowCount(), 2);
  const int floatLeft = Bar(3)->GetBarControl()->GetLeft();
  int changes = 0;
  Manager->OnBarVisibleChange = [&](TObject*, TdxBar*) { ++changes; };

  Form->RecreateWnd();
  guitest::PumpFor(50);
  EXPECT_EQ(changes, 8) << "each bar hid with its window and showed again";
  EXPECT_FALSE(Manager->HasPendingBars());
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Bar(i)->GetVisible());
    EXPECT_TRUE(Shows(Bar(i)));
  }
  EXPECT_EQ(Bar(0)->GetBarControl()->GetDockControl(), top);
  EXPECT_EQ(top->GetRowCount(), 2) << "rows kept";
  EXPECT_EQ(Bar(1)->GetBarControl()->GetTop(), Bar(0)->GetBarControl()->GetHeight());
  // The left dock's window went first: its bar was not lost.
  EXPECT_EQ(Bar(2)->GetBarControl()->GetDockControl(), Manager->GetBars()->GetDockControl(dsLeft));
  EXPECT_TRUE(Bar(3)->GetVisible());
  Activate(Form.get());
  EXPECT_TRUE(Shows(Bar(3)));
  EXPECT_EQ(Bar(3)->GetBarControl()->GetLeft(), floatLeft) << "at the place it had";
}

TEST_F(FormHandlerTest, ARecreatedPlacedDockShowsItsBarsAgain) {
  BuildBars({dsTop});
  auto* dock = new TdxBarDockControl(Form.get());
  dock->SetParent(Form.get());
  dock->SetBarManager(Manager);
  EXPECT_EQ(dock->GetHeight(), 0) << "an empty placed dock is 0 pixels thick";
  Bar(0)->SetDockControl(dock);
  Bar(0)->SetVisible(true);
  ASSERT_EQ(Bar(0)->GetBarControl()->GetDockControl(), dock);
  EXPECT_GT(dock->GetHeight(), 0);
  dock->RecreateWnd();
  guitest::PumpFor(50);
  EXPECT_TRUE(Bar(0)->GetVisible());
  EXPECT_TRUE(Shows(Bar(0)));
  EXPECT_EQ(Bar(0)->GetBarControl()->GetDockControl(), dock);
  EXPECT_EQ(Bar(0)->GetDockedDockControl(), dock);
}

TEST_F(FormHandlerTest, SystemColoursAndMenuFontsAreReadAgain) {
  BuildBars({dsTop});
  auto brushColor = [](HBRUSH brush) {
    LOGBRUSH log{};
    GetObjectA(brush, sizeof(log), &log);
    return log.lbColor;
  };
  const COLORREF before = brushColor(Manager->GetFlatToolbarBrush());
  const int index = COLOR_BTNFACE;
  const COLORREF face = GetSysColor(index);
  const COLORREF changed = RGB(200, 100, 50);
  SetSysColors(1, &index, &changed);
  guitest::PumpFor(100);
  const COLORREF after = brushColor(Manager->GetFlatToolbarBrush());
  const COLORREF expected = ColorToRGB(Manager->GetFlatToolbarColor());
  SetSysColors(1, &index, &face);
  guitest::PumpFor(100);
  EXPECT_NE(after, before);
  EXPECT_EQ(after, expected) << "the brush of the new face colour";
  EXPECT_EQ(brushColor(Manager->GetFlatToolbarBrush()), before) << "and back";

  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  NONCLIENTMETRICSA bigger = metrics;
  bigger.lfMenuFont.lfHeight = metrics.lfMenuFont.lfHeight < 0 ? metrics.lfMenuFont.lfHeight - 5 : -20;
  SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(bigger), &bigger, 0);
  SendMessageA(Form->GetHandle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  const int height = Manager->GetFont()->GetHeight();
  SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  SendMessageA(Form->GetHandle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  EXPECT_EQ(height, bigger.lfMenuFont.lfHeight);
  EXPECT_EQ(Manager->GetFont()->GetHeight(), metrics.lfMenuFont.lfHeight);
}

TEST_F(FormHandlerTest, FloatingBarsAreKeptInTheWorkArea) {
  BuildBars({dsNone, dsNone});
  Bar(0)->SetVisible(true);
  const TRect work = GetWorkAreaAtPoint(POINT{100, 100});
  Bar(0)->GetBarControl()->SetBounds(work.right - 20, work.bottom - 10, 100, 60);
  Bar(1)->SetFloatValue(1, work.left - 500);
  Bar(1)->SetFloatValue(2, work.top - 300);
  SendMessageA(Form->GetHandle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
  const TRect r = Bar(0)->GetBarControl()->GetBoundsRect();
  EXPECT_EQ(r.right, work.right);
  EXPECT_EQ(r.bottom, work.bottom);
  EXPECT_EQ(Bar(1)->GetFloatValue(1), work.left) << "a bar without window moves its stored place";
  EXPECT_EQ(Bar(1)->GetFloatValue(2), work.top);
}

TEST_F(FormHandlerTest, DeactivateAllClosesTheActiveChain) {
  BuildBars({dsTop});
  Bar(0)->SetVisible(true);
  Bar(0)->GetBarControl()->EnterKeyboardMode(nullptr);
  ASSERT_EQ(ActiveBarControl(), Bar(0)->GetBarControl());
  Manager->DeactivateAll();
  EXPECT_EQ(ActiveBarControl(), nullptr);
  Manager->DeactivateAll(); // nothing active: nothing happens
}

TEST_F(FormHandlerTest, HidingABarStoresItsPlace) {
  BuildBars({dsTop, dsTop, dsNone});
  for (int i = 0; i < 3; ++i)
    Bar(i)->SetVisible(true);
  Bar(2)->GetBarControl()->SetBounds(300, 310, 120, 70);
  const int clientWidth = Bar(2)->GetBarControl()->GetClientWidth();
  const TdxBarControl* second = Bar(1)->GetBarControl();
  const int left = second->GetLeft();
  Bar(1)->SetVisible(false);
  EXPECT_EQ(Bar(1)->GetDockedLeft(), left);
  EXPECT_EQ(Bar(1)->GetRow(), 0);
  EXPECT_FALSE(Bar(1)->OneOnRow) << "it shared its row";
  EXPECT_EQ(Bar(1)->GetDockedDockingStyle(), dsTop);
  EXPECT_EQ(Bar(1)->GetDockedDockControl(), nullptr) << "an automatic dock is not stored";
  Bar(2)->SetVisible(false);
  EXPECT_EQ(Bar(2)->GetFloatValue(1), 300);
  EXPECT_EQ(Bar(2)->GetFloatValue(2), 310);
  EXPECT_EQ(Bar(2)->GetFloatValue(3), clientWidth);
  Bar(0)->SetVisible(false);
  EXPECT_TRUE(Bar(0)->OneOnRow) << "alone on its row by then";
}

// ---- Status bars ----

namespace {

class StatusBarTest : public FormHandlerTest {
protected:
  TdxBar* MakeStatusBar(TdxBarDockControl* dock = nullptr) {
    TdxBar* bar = Bar(0);
    bar->SetWholeRow(true);
    bar->SetBorderStyle(bbsNone);
    if (dock)
      bar->SetDockControl(dock);
    else
      bar->SetDockingStyle(dsBottom);
    bar->SetVisible(true);
    guitest::PumpFor(50);
    return bar;
  }

  int GripWidth() const { return Manager->GetPainterClass()->GetSizeGripSize().cx; }
};

} // namespace

TEST_F(StatusBarTest, TheGripShowsOnlyWhileTheFormIsNotMaximized) {
  BuildBars({dsBottom});
  TdxBar* bar = MakeStatusBar();
  ASSERT_TRUE(bar->IsStatusBar());
  TdxBarControl* window = bar->GetBarControl();
  EXPECT_EQ(window->GetTop() + window->GetHeight(), window->GetDockControl()->GetClientHeight());
  EXPECT_TRUE(bar->IsSizeGripVisible());
  EXPECT_EQ(window->GetWidth() - window->GetClientWidth(), GripWidth())
      << "the grip lies right of the client";
  guitest::TCapture::Paint(Form->GetHandle()).SavePng("bars_status_grip");

  Form->SetWindowState(wsMaximized);
  ASSERT_TRUE(guitest::PumpUntil([&] { return IsZoomed(Form->GetHandle()) != 0; }));
  guitest::PumpFor(50);
  EXPECT_FALSE(bar->IsSizeGripVisible());
  EXPECT_EQ(window->GetWidth(), window->GetClientWidth());

  Form->SetWindowState(wsNormal);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !IsZoomed(Form->GetHandle()); }));
  guitest::PumpFor(50);
  EXPECT_TRUE(bar->IsSizeGripVisible());
  EXPECT_EQ(window->GetWidth() - window->GetClientWidth(), GripWidth());

  bar->SetSizeGrip(false);
  EXPECT_FALSE(bar->IsSizeGripVisible());
  EXPECT_EQ(window->GetWidth(), window->GetClientWidth());
}

TEST_F(StatusBarTest, NoGripWhereTheBarsEdgeIsNotTheFormsBottom) {
  BuildBars({dsBottom});
  auto* panel = new TPanel(Form.get());
  panel->SetParent(Form.get());
  panel->SetAlign(alTop);
  panel->SetHeight(120);
  auto* dock = new TdxBarDockControl(Form.get());
  dock->SetParent(panel);
  dock->SetBarManager(Manager);
  dock->SetDockAlign(dalBottom);
  TdxBar* bar = MakeStatusBar(dock);
  ASSERT_TRUE(bar->IsStatusBar()) << "docked at the bottom through its dock";
  EXPECT_FALSE(bar->IsSizeGripVisible());
  EXPECT_EQ(bar->GetBarControl()->GetWidth(), bar->GetBarControl()->GetClientWidth());
}

TEST_F(StatusBarTest, ABarWithABorderIsNoStatusBar) {
  BuildBars({dsBottom});
  TdxBar* bar = Bar(0);
  bar->SetWholeRow(true);
  bar->SetDockingStyle(dsBottom);
  bar->SetVisible(true);
  EXPECT_FALSE(bar->IsStatusBar());
  EXPECT_FALSE(bar->IsSizeGripVisible());
}
