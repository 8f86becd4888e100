// Drag and drop inside a control, the start of a drag, and middle-button
// panning, driven by real input while the modal loops run.
#include "ControlTest.h"

#include "ExtCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

// Mouse input straight into the queue at a screen point, as it arrives for
// the window holding the capture: SendInput's moves came one input late
// under Wine after some earlier tests, whatever the wait.
void PostMouse(HWND Wnd, UINT Msg, const TPoint& Screen) {
  POINT p{Screen.x, Screen.y};
  ScreenToClient(Wnd, &p);
  PostMessageA(Wnd, Msg, 0, MAKELPARAM(p.x, p.y));
}

// Escape straight into the queue: the loops read every message of the
// thread, whichever window has the keyboard focus.
void PostEscape(HWND Wnd) {
  PostMessageA(Wnd, WM_KEYDOWN, VK_ESCAPE, 0);
}

// A step of a script: an action run a delay after the step before.
// A step may also wait until Ready holds (for at most a few seconds).
struct TStep {
  template <typename F>
  TStep(F AAction, DWORD ADelay = 150, std::function<bool()> AReady = nullptr)
      : Action(std::move(AAction)), Delay(ADelay), Ready(std::move(AReady)) {}
  std::function<void()> Action;
  DWORD Delay;
  std::function<bool()> Ready;
};

TStep Pause(DWORD Ms) {
  return TStep([] {}, Ms);
}

// Steps run one after another from a thread timer, so they run inside
// whatever modal loop is pumping; delays are measured by the clock, as
// timers may come late while other timers are busy.
class TScript {
public:
  explicit TScript(std::vector<TStep> ASteps) : FSteps(std::move(ASteps)), FLast(GetTickCount()) {
    Current = this;
    FTimer = SetTimer(nullptr, 0, 10, &Tick);
  }
  ~TScript() {
    KillTimer(nullptr, FTimer);
    Current = nullptr;
  }
  bool Done() const { return FNext >= FSteps.size(); }

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!Current || Current->Done()) return;
    TScript& s = *Current;
    const TStep& step = s.FSteps[s.FNext];
    const DWORD waited = GetTickCount() - s.FLast;
    if (waited < step.Delay || (step.Ready && !step.Ready() && waited < 5000)) return;
    s.FLast = GetTickCount();
    s.FSteps[s.FNext++].Action();
  }
  static inline TScript* Current = nullptr;
  std::vector<TStep> FSteps;
  size_t FNext = 0;
  DWORD FLast;
  UINT_PTR FTimer;
};

HCURSOR CursorOf(TCursor Id) {
  return Screen->GetCursors(Id);
}

// ---- In-control drag and drop ----

struct TDragLog {
  std::vector<String> Calls;
};

class TLoggingDragObject : public TcxDragAndDropObject {
public:
  TLoggingDragObject(TcxControl* AControl, TDragLog* ALog) : TcxDragAndDropObject(AControl), FLog(ALog) {}

protected:
  void BeginDragAndDrop() override {
    FLog->Calls.push_back("begin");
    TcxDragAndDropObject::BeginDragAndDrop();
  }
  void EndDragAndDrop(bool Accepted) override {
    FLog->Calls.push_back(Accepted ? "end accepted" : "end cancelled");
    TcxDragAndDropObject::EndDragAndDrop(Accepted);
  }

private:
  TDragLog* FLog;
};

TDragLog* CurrentLog = nullptr;

class TDragView : public TScrollingView {
public:
  using TScrollingView::TScrollingView;
  TDragLog Log;

protected:
  bool CanStartDragAndDrop(const TPoint&) override { return true; }
  TcxDragAndDropObjectClass GetDragAndDropObjectClass() override {
    CurrentLog = &Log;
    return [](TcxControl* AControl) -> std::unique_ptr<TcxDragAndDropObject> {
      return std::make_unique<TLoggingDragObject>(AControl, CurrentLog);
    };
  }
};

struct TDragForm {
  TDragForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 320, 260);
    view = new TDragView(form.get());
    view->SetBounds(10, 10, 200, 150);
    view->SetParent(form.get());
    form->Show();
    PumpFor(50);
  }
  std::unique_ptr<TForm> form;
  TDragView* view;
};

TEST(Drag, InControlOperationPassesItsPhases) {
  const int away = Mouse->DragThreshold + 10;
  const struct {
    const char* name;
    int moveBy;
    bool escape;
    std::vector<String> calls;
  } cases[] = {
      {"press and release without moving", 0, false, {}},
      {"moved beyond the threshold and released", away, false, {"begin", "end accepted"}},
      {"moved, then Escape", away, true, {"begin", "end cancelled"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDragForm f;
    const HWND wnd = f.view->GetHandle();
    guitest::MouseEventAt(wnd, 40, 40, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(dndPending, f.view->GetDragAndDropPhase());
    if (c.moveBy) {
      guitest::MouseEventAt(wnd, 40 + c.moveBy, 40);
      EXPECT_EQ(dndDragging, f.view->GetDragAndDropPhase());
      EXPECT_EQ(crNoDrop, Screen->GetCursor()) << "the object's cursor while not accepted";
      EXPECT_EQ(wnd, GetCapture());
    }
    if (c.escape) {
      PostEscape(wnd);
      PumpFor(30);
    }
    guitest::MouseEventAt(wnd, 40 + c.moveBy, 40, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(dndIdle, f.view->GetDragAndDropPhase());
    EXPECT_EQ(c.calls, f.view->Log.Calls);
    EXPECT_EQ(crDefault, Screen->GetCursor()) << "the saved cursor is back";
    EXPECT_NE(wnd, GetCapture());
  }
}

// ---- TrackDragStart ----

TEST(Drag, TrackDragStartTellsHowTheMouseEnded) {
  TDragForm f;
  const HWND wnd = f.view->GetHandle();
  const TPoint start = f.view->ClientToScreen(TPoint(50, 50));
  const int away = Mouse->DragThreshold + 5;
  const struct {
    const char* name;
    std::function<void()> action;
    int result;
  } cases[] = {
      {"left the square", [&] { PostMouse(wnd, WM_MOUSEMOVE, TPoint(start.x + away, start.y)); }, 1},
      {"moved within the square", [&] { PostMouse(wnd, WM_MOUSEMOVE, TPoint(start.x + 1, start.y)); }, -1},
      {"button released", [&] { PostMouse(wnd, WM_LBUTTONUP, start); }, 0},
      {"Escape", [&] { PostEscape(wnd); }, 2},
      {"capture lost", [&] { ReleaseCapture(); }, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    guitest::MouseEventAt(wnd, 50, 50);
    PumpFor(30);
    // Escape ends what the action leaves running: a move that stays inside
    // must not end the loop before it.
    TScript script({c.action, {[&] { PostEscape(wnd); }, 600}});
    const DWORD started = GetTickCount();
    const int result = TrackDragStart(wnd);
    EXPECT_EQ(c.result < 0 ? 2 : c.result, result);
    if (c.result < 0) {
      EXPECT_GE(GetTickCount() - started, 500u) << "ended only by the Escape";
    }
    EXPECT_NE(wnd, GetCapture());
  }
}

// Both modal loops hand a WM_QUIT on to the loop that owns it, and stop
// without touching their control when it is destroyed under them.
TEST(Drag, LoopsEndOnWMQuitAndWhenTheirControlGoes) {
  const struct {
    const char* name;
    bool panning;
    bool destroy;
  } cases[] = {{"TrackDragStart, WM_QUIT", false, false},
               {"TrackDragStart, control destroyed", false, true},
               {"panning, WM_QUIT", true, false},
               {"panning, control destroyed", true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDragForm f;
    const HWND wnd = f.view->GetHandle();
    guitest::MouseEventAt(wnd, 50, 50);
    TScript script({c.destroy ? TStep([&f] {
      delete f.view;
      f.view = nullptr;
    })
                              : TStep([] { PostQuitMessage(7); })});
    if (c.panning)
      f.view->RunPanningLoop();
    else
      EXPECT_EQ(2, TrackDragStart(wnd));
    EXPECT_TRUE(script.Done()) << "the loop ran until the step";
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_NE(c.destroy, static_cast<bool>(IsWindow(wnd)));
    MSG msg;
    EXPECT_EQ(!c.destroy, static_cast<bool>(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)));
    if (!c.destroy) {
      EXPECT_EQ(7u, msg.wParam);
    }
  }
}

// ---- The class library's drag ----

class TAutoDragView : public TScrollingView {
public:
  using TScrollingView::TScrollingView;
  bool Allow = true;
  int Asked = 0;

protected:
  bool AllowDragObject(TDragObject* Object) override {
    ++Asked;
    return Allow && dynamic_cast<TcxDragControlObject*>(Object) && TScrollingView::AllowDragObject(Object);
  }
};

// An automatic drag source beside a panel that accepts it.
struct TAutoDragForm {
  TAutoDragForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 360, 220);
    view = new TAutoDragView(form.get());
    view->SetBounds(10, 10, 150, 150);
    view->SetParent(form.get());
    view->SetDragMode(dmAutomatic);
    view->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++Presses; };
    target = new TPanel(form.get());
    target->SetBounds(200, 10, 120, 150);
    target->SetParent(form.get());
    target->OnDragOver = [this](TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
      ++Overs;
      Accept = Source == view;
    };
    target->OnDragDrop = [this](TObject*, TObject* Source, int, int) { Dropped = Source == view; };
    form->Show();
    PumpFor(50);
  }
  // Presses the left button in the view; Steps run inside TrackDragStart.
  void Press(std::vector<TStep> Steps) {
    guitest::MouseEventAt(view->GetHandle(), 40, 40);
    TScript script(std::move(Steps));
    guitest::MouseEventAt(view->GetHandle(), 40, 40, MOUSEEVENTF_LEFTDOWN);
    PumpUntil([&] { return script.Done(); }, 5000);
    PumpFor(30);
  }
  std::function<void()> LeaveSquare() {
    return [this] { PostMouse(view->GetHandle(), WM_MOUSEMOVE, view->ClientToScreen(TPoint(60, 40))); };
  }
  std::unique_ptr<TForm> form;
  TAutoDragView* view;
  TPanel* target;
  int Presses = 0;
  int Overs = 0;
  bool Dropped = false;
};

void HoldCtrl(bool Down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_CONTROL;
  input.ki.dwFlags = Down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
  PumpUntil([Down] { return (GetAsyncKeyState(VK_CONTROL) < 0) == Down; }, 2000);
  PumpFor(30);
}

TEST(ClassLibraryDrag, StartsOnceTheMouseLeftTheSquareAndCopiesWithCtrl) {
  TAutoDragForm f;
  f.Press({f.LeaveSquare()});
  EXPECT_EQ(1, f.Presses) << "the press reached the control despite dmAutomatic";
  ASSERT_TRUE(f.view->Dragging());
  guitest::MouseEventAt(f.target->GetHandle(), 40, 40);
  guitest::MouseEventAt(f.target->GetHandle(), 44, 42);
  EXPECT_EQ(CursorOf(crDrag), GetCursor());
  HoldCtrl(true);
  EXPECT_EQ(CursorOf(crDragCopy), GetCursor()) << "Ctrl over a target that accepts: the key alone tells";
  // Posted: a real move makes Wine read the modifiers from the X server,
  // where Ctrl is up.
  PostMouse(GetCapture(), WM_MOUSEMOVE, f.target->ClientToScreen(TPoint(46, 44)));
  PumpFor(30);
  EXPECT_EQ(CursorOf(crDragCopy), GetCursor()) << "and moving on keeps it";
  HoldCtrl(false);
  EXPECT_EQ(CursorOf(crDrag), GetCursor()) << "Ctrl released";
  guitest::MouseEventAt(f.target->GetHandle(), 46, 44, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(f.Dropped);
  EXPECT_FALSE(f.view->Dragging());
}

TEST(ClassLibraryDrag, NoDragWithoutMovementOrWithARejectedObject) {
  const struct {
    const char* name;
    bool allow;
    bool move;
  } cases[] = {{"pressed and released", true, false}, {"rejected drag object", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TAutoDragForm f;
    f.view->Allow = c.allow;
    if (c.move)
      f.Press({f.LeaveSquare()});
    else
      f.Press(
          {[&f] { PostMouse(f.view->GetHandle(), WM_LBUTTONUP, f.view->ClientToScreen(TPoint(40, 40))); }});
    EXPECT_FALSE(f.view->Dragging());
    EXPECT_EQ(c.move ? 1 : 0, f.view->Asked) << "a drag object was made only after moving";
    guitest::MouseEventAt(f.target->GetHandle(), 40, 40);
    guitest::MouseEventAt(f.target->GetHandle(), 40, 40, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(0, f.Overs) << "the target never heard of a drag";
  }
}

TEST(ClassLibraryDrag, TheClickAreaOfAnAutomaticDragIsTheThreshold) {
  TDragForm f;
  guitest::MouseEventAt(f.view->GetHandle(), 40, 40, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(f.view->GetHandle(), 40, 40, MOUSEEVENTF_LEFTUP);
  const int t = Mouse->DragThreshold;
  const struct {
    TDragMode mode;
    int x;
    bool inside;
  } cases[] = {{dmManual, 40 + t, true}, {dmAutomatic, 40 + t - 1, true}, {dmAutomatic, 40 + t, false}};
  for (const auto& c : cases) {
    f.view->SetDragMode(c.mode);
    EXPECT_EQ(c.inside, f.view->IsInClickArea(c.x, 40)) << c.mode << " " << c.x;
  }
}

// ---- Panning ----

HWND FindAnchorWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND Wnd, LPARAM Data) -> BOOL {
        char name[16] = {};
        GetClassNameA(Wnd, name, sizeof(name));
        if (_stricmp(name, "Static") != 0 || !IsWindowVisible(Wnd)) return TRUE;
        *reinterpret_cast<HWND*>(Data) = Wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Counts the ticks of the panning loop's own timer (a thread timer without
// a callback), so speeds compare per tick however late a busy machine
// delivers them.
class TLoopTicks {
public:
  TLoopTicks() : FHook(SetWindowsHookExA(WH_GETMESSAGE, &Hook, nullptr, GetCurrentThreadId())) { Count = 0; }
  ~TLoopTicks() { UnhookWindowsHookEx(FHook); }
  static inline size_t Count = 0;

private:
  static LRESULT CALLBACK Hook(int Code, WPARAM WParam, LPARAM LParam) {
    const auto* msg = reinterpret_cast<const MSG*>(LParam);
    if (Code == HC_ACTION && WParam == PM_REMOVE && msg->message == WM_TIMER && !msg->hwnd && !msg->lParam)
      ++Count;
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  HHOOK FHook;
};

class PanningTest : public testing::Test {
protected:
  // Presses the middle button at the view's centre and runs the steps
  // inside the panning loop; returns when the loop has ended.
  void Pan(std::vector<TStep> Steps) {
    Centre = f.view->ClientToScreen(TPoint(95, 70));
    guitest::MouseEventAt(f.view->GetHandle(), 95, 70);
    TScript script(std::move(Steps));
    guitest::MouseEventAt(f.view->GetHandle(), 95, 70, MOUSEEVENTF_MIDDLEDOWN);
    ASSERT_TRUE(PumpUntil([&] { return script.Done() && GetCapture() != f.view->GetHandle(); }, 15000));
    PumpFor(30);
  }
  bool Panning() const { return GetCapture() == f.view->GetHandle(); }
  std::function<void()> MoveBy(int DX, int DY) {
    return [this, DX, DY] {
      PostMouse(f.view->GetHandle(), WM_MOUSEMOVE, TPoint(Centre.x + DX, Centre.y + DY));
    };
  }
  // Once the move before has arrived, which its cursor shows.
  static TStep RecordCursor(TCursor Expected, HCURSOR& Cursor) {
    return TStep([&Cursor] { Cursor = GetCursor(); }, 150,
                 [Expected] { return GetCursor() == CursorOf(Expected); });
  }
  TScrollingForm f;
  TPoint Centre;
};

TEST_F(PanningTest, AnchorCursorsAndSpeedFollowTheMouse) {
  HWND anchor = nullptr;
  TRect anchorRect;
  HCURSOR neutral = nullptr, down = nullptr, left = nullptr, up = nullptr, right = nullptr;
  bool panningAfterClick = false;
  // Scroll steps and loop ticks at the start and end of each stretch.
  struct TStretch {
    size_t Steps[2] = {};
    size_t Ticks[2] = {};
    size_t StepCount() const { return Steps[1] - Steps[0]; }
    size_t TickCount() const { return Ticks[1] - Ticks[0]; }
  } nearOut, farOut;
  auto& calls = f.view->Calls;
  auto mark = [&](TStretch& Stretch, int End) {
    return [&Stretch, &calls, End] {
      Stretch.Steps[End] = calls.size();
      Stretch.Ticks[End] = TLoopTicks::Count;
    };
  };
  TLoopTicks ticks;
  Pan({[&] {
         anchor = FindAnchorWindow();
         GetWindowRect(anchor, &anchorRect);
         neutral = GetCursor();
         guitest::TCapture picture(anchorRect.Width(), anchorRect.Height());
         HDC dc = GetWindowDC(anchor);
         BitBlt(picture.DC(), 0, 0, anchorRect.Width(), anchorRect.Height(), dc, 0, 0, SRCCOPY);
         ReleaseDC(anchor, dc);
         picture.SavePng("panning_anchor");
         PostMouse(f.view->GetHandle(), WM_MBUTTONUP, Centre);
       },
       [&] { panningAfterClick = Panning(); },
       MoveBy(0, 40),
       RecordCursor(crDownScroll, down),
       mark(nearOut, 0),
       {mark(nearOut, 1), 1000},
       MoveBy(90, 0),
       RecordCursor(crRightScroll, right),
       mark(farOut, 0),
       {mark(farOut, 1), 1000},
       MoveBy(-60, 0),
       RecordCursor(crLeftScroll, left),
       MoveBy(0, -60),
       RecordCursor(crUpScroll, up),
       [this] { PostEscape(f.view->GetHandle()); }});
  ASSERT_NE(nullptr, anchor);
  EXPECT_TRUE(CenterOf(anchorRect) == Centre || std::abs(CenterOf(anchorRect).x - Centre.x) <= 1)
      << "centred on the press";
  EXPECT_FALSE(IsWindow(anchor)) << "destroyed at the end";
  EXPECT_EQ(CursorOf(crFullScroll), neutral);
  EXPECT_TRUE(panningAfterClick) << "a middle click without movement keeps panning";
  EXPECT_EQ(CursorOf(crDownScroll), down);
  EXPECT_EQ(CursorOf(crLeftScroll), left);
  EXPECT_EQ(CursorOf(crUpScroll), up);
  EXPECT_EQ(CursorOf(crRightScroll), right);
  ASSERT_GT(nearOut.StepCount(), 0u);
  ASSERT_GT(farOut.TickCount(), 0u);
  // 40 pixels out a step comes every few ticks, 90 pixels out on each one.
  EXPECT_GT(farOut.StepCount() * nearOut.TickCount(), 2 * nearOut.StepCount() * farOut.TickCount())
      << "faster farther out: " << nearOut.StepCount() << "/" << nearOut.TickCount() << " against "
      << farOut.StepCount() << "/" << farOut.TickCount();
  EXPECT_GT(f.view->TopPos, 0);
}

TEST_F(PanningTest, AnotherButtonOrAMiddleReleaseAfterMovingEnds) {
  const struct {
    const char* name;
    UINT msg;
  } cases[] = {
      {"right press", WM_RBUTTONDOWN}, {"middle release", WM_MBUTTONUP}, {"left press", WM_LBUTTONDOWN}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool panningBefore = false;
    Pan({MoveBy(0, 40), [&] { panningBefore = Panning(); },
         [&] { PostMouse(f.view->GetHandle(), c.msg, TPoint(Centre.x, Centre.y + 40)); }});
    EXPECT_TRUE(panningBefore);
    EXPECT_FALSE(Panning());
  }
}

TEST_F(PanningTest, VerticalOnlyControlIgnoresSidewaysMoves) {
  f.view->SetContent(150, 600);
  ASSERT_FALSE(f.view->IsHScrollBarVisible());
  HCURSOR cursor = nullptr;
  size_t before = 0, after = 0;
  Pan({[&] { before = f.view->Calls.size(); },
       MoveBy(100, 5),
       Pause(300),
       {[&] { cursor = GetCursor(); }},
       [&] { after = f.view->Calls.size(); },
       [this] { PostEscape(f.view->GetHandle()); }});
  EXPECT_EQ(CursorOf(crVerScroll), cursor);
  EXPECT_EQ(before, after) << "no scrolling sideways";
}

TEST_F(PanningTest, NothingWithoutVisibleBars) {
  f.view->SetContent(100, 100);
  ASSERT_FALSE(f.view->IsVScrollBarVisible());
  guitest::MouseEventAt(f.view->GetHandle(), 95, 70, MOUSEEVENTF_MIDDLEDOWN);
  EXPECT_EQ(nullptr, FindAnchorWindow());
  guitest::MouseEventAt(f.view->GetHandle(), 95, 70, MOUSEEVENTF_MIDDLEUP);
}

} // namespace
