#include "cxControls.h"

#include <algorithm>
#include <utility>

// ---- TcxDragAndDropObject ----

TcxDragAndDropObject::TcxDragAndDropObject(TcxControl* AControl)
    : FControl(AControl), FCanvas(AControl->GetcxCanvas()) {}

void TcxDragAndDropObject::SetDirty(bool Value) {
  if (FDirty == Value) return;
  FDirty = Value;
  DirtyChanged();
}

void TcxDragAndDropObject::Init() {
  CurMousePos = FControl->ScreenToClient(Mouse->GetCursorPos());
  PrevMousePos = CurMousePos;
  BeginDragAndDrop();
}

void TcxDragAndDropObject::DoDragAndDrop(const TPoint& P, bool& Accepted) {
  PrevMousePos = CurMousePos;
  CurMousePos = P;
  DragAndDrop(P, Accepted);
}

void TcxDragAndDropObject::DoEndDragAndDrop(bool Accepted) {
  EndDragAndDrop(Accepted);
  AfterDragAndDrop(Accepted);
}

void TcxDragAndDropObject::DragAndDrop(const TPoint&, bool& Accepted) {
  SetDirty(false);
  Screen->SetCursor(GetDragAndDropCursor(Accepted));
}

// ---- The control's drag and drop ----

namespace {

std::unique_ptr<TcxDragAndDropObject> CreateDragAndDropObject(TcxControl* AControl) {
  return std::make_unique<TcxDragAndDropObject>(AControl);
}

} // namespace

TcxDragAndDropObjectClass TcxControl::GetDragAndDropObjectClass() {
  return &CreateDragAndDropObject;
}

TcxDragAndDropObject* TcxControl::GetDragAndDropObject() {
  if (!FDragAndDropObject) FDragAndDropObject = GetDragAndDropObjectClass()(this);
  return FDragAndDropObject.get();
}

void TcxControl::SetDragAndDropPhase(TcxDragAndDropPhase Value) {
  if (FDragAndDropPhase == Value) return;
  FDragAndDropPhase = Value;
  if (Value == dndIdle && !FFinishingDragAndDrop) CancelMouseCapture();
}

void TcxControl::StartDragAndDropOnMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != mbLeft || Shift.Contains(ssDouble) || !CanStartDragAndDrop(TPoint(X, Y)))
    return FinishDragAndDrop(false);
  if (GetDragAndDropObject()->GetImmediateStart())
    BeginDragAndDrop();
  else
    SetDragAndDropPhase(dndPending);
}

void TcxControl::DragAndDropOnMouseMove(int X, int Y) {
  TcxControlGuard guard(this);
  if (FDragAndDropPhase == dndPending && !IsWithinDragThreshold(FMouseDownPos, X, Y)) BeginDragAndDrop();
  if (!guard.Alive() || FDragAndDropPhase != dndDragging) return;
  bool accepted = false;
  DragAndDrop(TPoint(X, Y), accepted);
}

void TcxControl::BeginDragAndDrop() {
  GetDragAndDropObject()->Init();
  SetMouseCapture(true);
  FDragAndDropPrevCursor = Screen->GetCursor();
  SetDragAndDropPhase(dndDragging);
}

void TcxControl::DragAndDrop(const TPoint& P, bool& Accepted) {
  GetDragAndDropObject()->DoDragAndDrop(P, Accepted);
}

void TcxControl::EndDragAndDrop(bool Accepted) {
  SetDragAndDropPhase(dndIdle);
  Screen->SetCursor(FDragAndDropPrevCursor);
  SetMouseCapture(false);
  SetCaptureOwner(nullptr);
  GetDragAndDropObject()->DoEndDragAndDrop(Accepted);
}

void TcxControl::FinishDragAndDrop(bool Accepted) {
  if (FFinishingDragAndDrop) return;
  FFinishingDragAndDrop = true;
  if (FDragAndDropPhase == dndDragging)
    EndDragAndDrop(Accepted);
  else
    SetDragAndDropPhase(dndIdle);
  FDragAndDropObject.reset();
  FFinishingDragAndDrop = false;
}

void TcxControl::FinishDragOnMouseUp() {
  FinishDragAndDrop(true);
  SetCaptureOwner(nullptr);
}

void TcxControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  FinishDragOnMouseUp();
  if (guard.Alive()) TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TcxControl::KeyDown(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  if (Key == VK_ESCAPE) FinishDragAndDrop(false);
  if (guard.Alive()) TCustomControl::KeyDown(Key, Shift);
}

// ---- The class library's drag ----

TCursor TcxDragControlObject::GetDragCursor(bool Accepted, int X, int Y) {
  if (Accepted && dynamic_cast<TcxControl*>(GetControl()) && GetAsyncKeyState(VK_CONTROL) < 0)
    return crDragCopy;
  return TDragControlObject::GetDragCursor(Accepted, X, Y);
}

namespace {

std::unique_ptr<TDragControlObject> CreateDragControlObject(TControl* AControl) {
  return std::make_unique<TcxDragControlObject>(AControl);
}

} // namespace

bool TcxControl::IsInClickArea(int X, int Y) {
  return GetDragMode() == dmManual || IsWithinDragThreshold(FMouseDownPos, X, Y);
}

TDragControlObjectClass TcxControl::GetDragObjectClass() {
  return &CreateDragControlObject;
}

void TcxControl::DoStartDrag(TDragObject*& DragObject) {
  TCustomControl::DoStartDrag(DragObject);
  if (!DragObject) DragObject = GetDragObjectClass()(this).release();
  if (AllowDragObject(DragObject)) return;
  std::unique_ptr<TDragObject> rejected(std::exchange(DragObject, nullptr));
  CancelDrag();
}

// ---- Modal mouse loops ----

namespace {

// Takes the next message for a modal loop; false ends the loop. A WM_QUIT
// is posted again so the loop that owns it still sees it.
bool NextMessage(MSG& Msg) {
  const BOOL result = GetMessageA(&Msg, nullptr, 0, 0);
  if (result == 0) PostQuitMessage(static_cast<int>(Msg.wParam));
  return result > 0;
}

void DispatchLoopMessage(const MSG& Msg) {
  TranslateMessage(&Msg);
  DispatchMessageA(&Msg);
}

TPoint MessageScreenPoint(const MSG& Msg) {
  POINT p{static_cast<short>(LOWORD(Msg.lParam)), static_cast<short>(HIWORD(Msg.lParam))};
  ClientToScreen(Msg.hwnd, &p);
  return p;
}

bool IsEscapeKey(const MSG& Msg) {
  return (Msg.message == WM_KEYDOWN || Msg.message == WM_KEYUP) && Msg.wParam == VK_ESCAPE;
}

} // namespace

int TrackDragStart(HWND Wnd) {
  int result = 2;
  const TPoint c = Mouse->GetCursorPos();
  const int t = Mouse->DragThreshold;
  const TRect square(c.x - t, c.y - t, c.x + t, c.y + t);
  SetCapture(Wnd);
  MSG msg;
  while (GetCapture() == Wnd && NextMessage(msg)) {
    bool done = IsEscapeKey(msg);
    switch (msg.message) {
    case WM_MOUSEMOVE:
      if (!square.Contains(MessageScreenPoint(msg))) result = 1, done = true;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      result = 0, done = true;
      break;
    }
    DispatchLoopMessage(msg);
    // A window destroyed by what was dispatched ends the loop untouched.
    if (done || !IsWindow(Wnd)) break;
  }
  if (IsWindow(Wnd) && GetCapture() == Wnd) ReleaseCapture();
  return result;
}

namespace {

// The mark under the mouse while panning: a round window showing the
// picture for the bars that are visible.
class TPanningAnchor {
public:
  TPanningAnchor(HWND Parent, const TPoint& Anchor, bool HBar, bool VBar) {
    const char* name = HBar && VBar ? "CX_FULLSCROLLBITMAP"
                       : HBar       ? "CX_HORSCROLLBITMAP"
                                    : "CX_VERSCROLLBITMAP";
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    FBitmap = static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, 0));
    BITMAP info{};
    if (FBitmap) ::GetObjectA(FBitmap, sizeof(info), &info);
    Width = info.bmWidth;
    const int height = info.bmHeight;
    Window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", nullptr, WS_POPUP, Anchor.x - Width / 2,
                             Anchor.y - height / 2, Width, height, Parent, nullptr, instance, nullptr);
    SetWindowRgn(Window, CreateEllipticRgn(0, 0, Width + 1, height + 1), FALSE);
    SetWindowPos(Window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Draw(height);
  }
  ~TPanningAnchor() {
    if (IsWindow(Window)) DestroyWindow(Window);
    if (FBitmap) DeleteObject(FBitmap);
  }
  TPanningAnchor(const TPanningAnchor&) = delete;
  TPanningAnchor& operator=(const TPanningAnchor&) = delete;
  HWND Window;
  int Width = 0;

private:
  void Draw(int Height) {
    HDC dc = GetWindowDC(Window);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, FBitmap);
    BitBlt(dc, 0, 0, Width, Height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    HRGN ring = CreateEllipticRgn(0, 0, Width + 1, Height + 1);
    FrameRgn(dc, ring, GetSysColorBrush(COLOR_WINDOWTEXT), 1, 1);
    DeleteObject(ring);
    ReleaseDC(Window, dc);
  }
  HBITMAP FBitmap = nullptr;
};

// Where the mouse points from the anchor, and how fast to scroll there.
struct TPanningState {
  TPoint Anchor;
  int Width = 0;
  bool HBar = false;
  bool VBar = false;
  TcxScrollDirection Direction = sdNone;
  int Speed = 1;
  bool Moved = false;

  void Update(const TPoint& P) {
    const int dx = P.x - Anchor.x;
    const int dy = P.y - Anchor.y;
    const int half = Width / 2;
    const bool insideX = !HBar || (dx >= -half && dx < Width - half);
    const bool insideY = !VBar || (dy >= -half && dy < Width - half);
    if (insideX && insideY) {
      Direction = sdNone;
      Speed = 0;
      return;
    }
    Moved = true;
    const bool vertical = !HBar || (VBar && std::abs(dy) >= std::abs(dx));
    Direction = vertical ? (dy < 0 ? sdUp : sdDown) : (dx < 0 ? sdLeft : sdRight);
    const int distance = std::abs(vertical ? dy : dx);
    Speed = std::min((distance - half) / 5 + 1, 12);
  }

  TCursor Cursor() const {
    switch (Direction) {
    case sdLeft:
      return crLeftScroll;
    case sdRight:
      return crRightScroll;
    case sdUp:
      return crUpScroll;
    case sdDown:
      return crDownScroll;
    default:
      return HBar && VBar ? crFullScroll : HBar ? crHorScroll : crVerScroll;
    }
  }
};

bool EndsPanningAtOnce(UINT Msg) {
  switch (Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
  case WM_MOUSEWHEEL:
    return true;
  }
  return false;
}

} // namespace

void TcxControl::RunPanningLoop() {
  TPanningState state;
  state.HBar = IsHScrollBarVisible();
  state.VBar = IsVScrollBarVisible();
  if (!state.HBar && !state.VBar) return;
  TcxControlGuard guard(this);
  const HWND wnd = GetHandle();
  state.Anchor = Mouse->GetCursorPos();
  TPanningAnchor anchor(wnd, state.Anchor, state.HBar, state.VBar);
  state.Width = anchor.Width;
  ::SetCursor(Screen->GetCursors(state.Cursor()));
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
  int ticks = 0;
  TPoint last = state.Anchor;
  SetCapture(wnd);
  MSG msg;
  while (GetCapture() == wnd && NextMessage(msg)) {
    if (msg.hwnd == anchor.Window && msg.message == WM_PAINT) {
      ValidateRect(anchor.Window, nullptr);
      continue;
    }
    if (EndsPanningAtOnce(msg.message)) break;
    bool stop = IsEscapeKey(msg) || (msg.message == WM_MBUTTONUP && state.Moved);
    if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer && ++ticks % (13 - state.Speed) == 0)
      ScrollContent(state.Direction);
    const bool moved = msg.message == WM_MOUSEMOVE && !(MessageScreenPoint(msg) == last);
    if (moved) {
      last = MessageScreenPoint(msg);
      state.Update(last);
    }
    if (guard.Alive()) DispatchLoopMessage(msg);
    // After whatever ran, which may have set a cursor of its own.
    const HCURSOR cursor = Screen->GetCursors(state.Cursor());
    if (guard.Alive() && ::GetCursor() != cursor) ::SetCursor(cursor);
    // The control may be gone with what ran: nothing of it is touched then.
    if (stop || !guard.Alive()) break;
  }
  KillTimer(nullptr, timer);
  if (IsWindow(wnd) && GetCapture() == wnd) ReleaseCapture();
}
