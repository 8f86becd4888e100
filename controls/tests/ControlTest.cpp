// The control base: focus on click, double clicks, destruction inside its
// own handlers, cursors, mouse enter and leave, wanted keys, the relay of
// scroll-bar metrics and the module's screen utilities.
#include "ControlTest.h"

#include "StdCtrls.h"

#include <gtest/gtest.h>

using guitest::PumpFor;
using guitest::PumpUntil;

namespace {

// Counts what the base tells its descendants.
class TProbeControl : public TcxControl {
public:
  explicit TProbeControl(TComponent* AOwner) : TcxControl(AOwner) {}
  bool Scrollable = false;
  bool AllowUnfocused = false;
  // Gives the focus away as soon as it arrives.
  HWND RefuseFocusTo = nullptr;
  std::vector<TMouseButton> AfterDowns;
  int BoundsChanges = 0;
  TCursor HotCursor = crDefault;

  bool HasScrollBars() override { return Scrollable; }
  void WndProc(TMessage& Message) override {
    TcxControl::WndProc(Message);
    if (Message.Msg == WM_SETFOCUS && RefuseFocusTo) ::SetFocus(RefuseFocusTo);
  }

protected:
  bool AllowUnfocusedMouseDown() override { return AllowUnfocused; }
  void AfterMouseDown(TMouseButton Button, int X, int Y) override {
    AfterDowns.push_back(Button);
    TcxControl::AfterMouseDown(Button, X, Y);
  }
  void BoundsChanged() override {
    ++BoundsChanges;
    TcxControl::BoundsChanged();
  }
  TCursor GetCursor(int X, int Y) override {
    return HotCursor != crDefault && X < 20 ? HotCursor : TcxControl::GetCursor(X, Y);
  }
};

class ControlBase : public ::testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 320, 240);
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 180, 100, 21);
    control = new TProbeControl(form.get());
    control->SetBounds(10, 10, 200, 150);
    control->SetParent(form.get());
    control->OnMouseDown = [this](TObject*, TMouseButton, TShiftState shift, int, int) {
      ++mouseDowns;
      if (shift.Contains(ssDouble)) ++doubleDowns;
    };
    form->Show();
    form->Update();
    edit->SetFocus();
  }
  void TearDown() override {
    guitest::MouseEventAt(form->GetHandle(), 300, 200, MOUSEEVENTF_LEFTUP);
    form.reset();
    EXPECT_EQ(0, MouseTrackingCount());
  }
  void Click(int x, int y, bool twice = false) {
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
      guitest::MouseEventAt(control->GetHandle(), x, y, MOUSEEVENTF_LEFTDOWN);
      guitest::MouseEventAt(control->GetHandle(), x, y, MOUSEEVENTF_LEFTUP);
    }
    PumpFor(50);
  }
  std::unique_ptr<TForm> form;
  TEdit* edit = nullptr;
  TProbeControl* control = nullptr;
  int mouseDowns = 0;
  int doubleDowns = 0;
};

TEST_F(ControlBase, AClickFocusesAndARefusedFocusSwallowsTheClick) {
  Click(50, 50);
  EXPECT_TRUE(control->Focused());
  EXPECT_EQ(1, mouseDowns);
  ASSERT_EQ(1u, control->AfterDowns.size());
  EXPECT_EQ(mbLeft, control->AfterDowns[0]);

  edit->SetFocus();
  control->RefuseFocusTo = edit->GetHandle();
  // Clicks apart, or they make a double click.
  Click(120, 100);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(1, mouseDowns) << "no OnMouseDown without the focus";
  EXPECT_EQ(nullptr, GetCapture()) << "the capture is released";
  control->AllowUnfocused = true;
  Click(60, 130);
  EXPECT_EQ(2, mouseDowns) << "unless unfocused clicks are allowed";
}

TEST_F(ControlBase, ADoubleClickDoesNotFocusAgain) {
  int focusChanges = 0;
  control->OnFocusChanged = [&](TObject* sender) {
    EXPECT_EQ(control, sender);
    ++focusChanges;
  };
  Click(60, 60, true);
  EXPECT_EQ(1, doubleDowns);
  EXPECT_EQ(2, mouseDowns);
  EXPECT_EQ(1, focusChanges) << "focused once, by the first click";
  control->OnFocusChanged = nullptr;
}

TEST_F(ControlBase, DestroyedInItsOwnOnMouseDown) {
  control->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
    ++mouseDowns;
    delete control;
    control = nullptr;
  };
  HWND wnd = control->GetHandle();
  guitest::MouseEventAt(wnd, 30, 30, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(form->GetHandle(), 40, 40, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return control == nullptr; }, 2000));
  EXPECT_EQ(1, mouseDowns);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(ControlBase, CursorSetWhileMovingBecomesTheDefault) {
  control->HotCursor = crHandPoint;
  guitest::MouseEventAt(control->GetHandle(), 10, 50);
  EXPECT_EQ(crHandPoint, static_cast<TControl*>(control)->GetCursor()) << "the hot spot's cursor";
  guitest::MouseEventAt(control->GetHandle(), 100, 50);
  EXPECT_EQ(crDefault, static_cast<TControl*>(control)->GetCursor()) << "the default back";
  control->OnMouseMove = [this](TObject*, TShiftState, int, int) { control->SetCursor(crIBeam); };
  guitest::MouseEventAt(control->GetHandle(), 110, 50);
  control->OnMouseMove = nullptr;
  guitest::MouseEventAt(control->GetHandle(), 120, 60);
  EXPECT_EQ(crIBeam, static_cast<TControl*>(control)->GetCursor()) << "the user's cursor stays";
}

TEST_F(ControlBase, MouseEnterAndLeaveAndTrackingTimers) {
  int enters = 0, leaves = 0;
  control->OnMouseEnter = [&](TObject*) { ++enters; };
  control->OnMouseLeave = [&](TObject*) { ++leaves; };
  struct TCaller : IcxMouseTrackingCaller {
    int left = 0;
    void MouseLeave() override {
      ++left;
      // The caller ends its tracking itself, as callers do.
      EndMouseTracking(this);
    }
  } caller;
  guitest::MouseEventAt(control->GetHandle(), 50, 50);
  ASSERT_TRUE(PumpUntil([&] { return enters >= 1; }, 10000));
  BeginMouseTracking(control, TRect(40, 40, 60, 60), &caller);
  BeginMouseTracking(control, TRect(0, 0, 200, 150), &caller);
  EXPECT_EQ(1, MouseTrackingCount()) << "one timer per caller";
  PumpFor(50);
  EXPECT_EQ(0, caller.left) << "still inside";
  guitest::MouseEventAt(control->GetHandle(), 100, 100);
  ASSERT_TRUE(PumpUntil([&] { return caller.left == 1; }, 10000));
  EXPECT_FALSE(IsMouseTracking(&caller));
  EXPECT_TRUE(PumpUntil([&] { return leaves >= 1; }, 10000)) << "the control heard of it too";
  guitest::MouseEventAt(form->GetHandle(), 300, 200);
  EXPECT_TRUE(PumpUntil([&] { return leaves >= 2; }, 10000));
  control->OnMouseEnter = nullptr;
  control->OnMouseLeave = nullptr;
}

TEST_F(ControlBase, WantedKeysAnswerTheDialogCode) {
  const struct {
    TcxWantedKeys keys;
    LRESULT code;
  } cases[] = {
      {TcxWantedKeys(), 0},
      {TcxWantedKeys{wkArrows}, DLGC_WANTARROWS},
      {TcxWantedKeys{wkTab, wkChars}, DLGC_WANTTAB | DLGC_WANTCHARS},
      {TcxWantedKeys{wkAll, wkArrows, wkChars, wkTab},
       DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB},
  };
  for (const auto& c : cases) {
    control->SetWantedKeys(c.keys);
    EXPECT_EQ(c.code, SendMessageA(control->GetHandle(), WM_GETDLGCODE, 0, 0));
  }
}

TEST_F(ControlBase, ChangedScrollBarWidthResizesTheBarsOnce) {
  auto* view = new TProbeControl(form.get());
  view->Scrollable = true;
  view->SetBounds(220, 10, 80, 80);
  view->SetParent(form.get());
  ASSERT_NE(nullptr, view->GetVScrollBar());
  ASSERT_NE(nullptr, GetSettingsController()->GetWindow()) << "a window while controls are registered";
  NONCLIENTMETRICSA old{};
  old.cbSize = sizeof(old);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(old), &old, 0));
  NONCLIENTMETRICSA wider = old;
  wider.iScrollWidth = old.iScrollWidth + 6;
  wider.iScrollHeight = old.iScrollHeight + 6;
  // Hidden windows get no WM_SETTINGCHANGE from Wine: broadcast it.
  auto apply = [](NONCLIENTMETRICSA& m) {
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(m), &m, 0);
    SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  };
  PumpFor(50);
  const int before = view->BoundsChanges;
  apply(wider);
  PumpUntil([&] { return view->GetVScrollBar()->GetWidth() == wider.iScrollWidth; }, 2000);
  EXPECT_EQ(wider.iScrollWidth, view->GetVScrollBar()->GetWidth());
  EXPECT_EQ(wider.iScrollHeight, view->GetHScrollBar()->GetHeight());
  PumpFor(100);
  const int after = view->BoundsChanges;
  EXPECT_GT(after, before);
  SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  PumpFor(100);
  EXPECT_EQ(after, view->BoundsChanges) << "the same sizes again do nothing";
  apply(old);
  PumpUntil([&] { return view->GetVScrollBar()->GetWidth() == old.iScrollWidth; }, 2000);
  EXPECT_EQ(old.iScrollWidth, view->GetVScrollBar()->GetWidth());
  delete view;
  EXPECT_EQ(nullptr, GetSettingsController()->GetWindow()) << "gone with the last control";
}

TEST(ControlUtilities, DragThresholdWorkAreaAndCursors) {
  const int t = Mouse->DragThreshold;
  EXPECT_TRUE(IsWithinDragThreshold(TPoint(10, 10), 10 + t - 1, 10 - t + 1));
  EXPECT_FALSE(IsWithinDragThreshold(TPoint(10, 10), 10 + t, 10));
  EXPECT_FALSE(IsWithinDragThreshold(TPoint(10, 10), 10, 10 - t));
  RECT desktop{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &desktop, 0);
  EXPECT_EQ(TRect(desktop), GetMonitorWorkArea(TPoint(5, 5)));
  for (TCursor id = crDragCopy; id <= crLeftScroll; ++id) {
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(Screen->GetCursors(id), &info)) << "cursor " << id;
    EXPECT_FALSE(info.fIcon);
    const DWORD hotSpot = id == crDragCopy ? 0 : 15;
    EXPECT_EQ(hotSpot, info.xHotspot) << "cursor " << id;
    EXPECT_EQ(hotSpot, info.yHotspot) << "cursor " << id;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
}

TEST(ControlUtilities, TheLibraryEndFreesTrackingTimersLeftRunning) {
  struct TCaller : IcxMouseTrackingCaller {
    void MouseLeave() override {}
  } caller;
  // Around the pointer, so the timer keeps running.
  const TPoint p = Mouse->GetCursorPos();
  BeginMouseTracking(nullptr, TRect(p.x - 50, p.y - 50, p.x + 50, p.y + 50), &caller);
  ASSERT_EQ(1, MouseTrackingCount());
  cxControlsFinalize();
  EXPECT_EQ(0, MouseTrackingCount()) << "freed, not raised about";
  cxControlsInitialize();
}

} // namespace
