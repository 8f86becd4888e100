// Drag and drop between controls: one drag at a time, run by a capture
// window of its own, asking each control under the mouse by CM_DRAG.
#include "Controls.h"

#include "Forms.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

// The running drag, one per process as there is one mouse.
TControl* DragControl = nullptr; // whose drag starts or runs
std::unique_ptr<TDragObject> RunningDrag;
TPoint DragStartPos;
int DragThresholdOfDrag = 0;
bool DragActive = false; // the mouse has left the threshold
bool DragAccepted = false;

// What a target is told of as the source: the dragged control itself for a
// plain control drag, else the drag object.
TObject* SourceOf(TDragObject* Object) {
  if (auto* control = dynamic_cast<TDragControlObject*>(Object)) return control->GetControl();
  return Object;
}

bool SendDrag(TDragObject* Object, TControl* Target, TDragMessage Msg) {
  if (!Target) return false;
  Object->DragTargetPos = Target->ScreenToClient(Object->DragPos);
  TDragRec rec{Object->DragPos, Object, Target};
  return Target->Perform(CM_DRAG, Msg, reinterpret_cast<LPARAM>(&rec)) != 0;
}

// The control under the point, which may name another one (dmFindTarget).
TControl* FindTarget(TDragObject* Object, const TPoint& Pos) {
  TControl* control = FindDragTarget(Pos, false);
  if (!control) return nullptr;
  TDragRec rec{Pos, Object, nullptr};
  return reinterpret_cast<TControl*>(control->Perform(CM_DRAG, dmFindTarget, reinterpret_cast<LPARAM>(&rec)));
}

bool StillRunning(TDragObject* Object) {
  return RunningDrag.get() == Object && !Object->Cancelling;
}

void DragTo(const TPoint& Pos) {
  TDragObject* object = RunningDrag.get();
  if (!DragActive) {
    if (std::abs(Pos.x - DragStartPos.x) < DragThresholdOfDrag &&
        std::abs(Pos.y - DragStartPos.y) < DragThresholdOfDrag)
      return;
    DragActive = true;
  }
  object->DragPos = Pos;
  TControl* target = FindTarget(object, Pos);
  if (target != object->DragTarget) {
    SendDrag(object, object->DragTarget, dmDragLeave);
    if (!StillRunning(object)) return;
    object->DragTarget = target;
    SendDrag(object, target, dmDragEnter);
    if (!StillRunning(object)) return;
  }
  DragAccepted = SendDrag(object, target, dmDragMove);
  if (!StillRunning(object)) return;
  ::SetCursor(Screen->GetCursors(object->GetDragCursor(DragAccepted, Pos.x, Pos.y)));
}

void ReleaseDragCapture(TDragObject* Object) {
  HWND wnd = Object->GetCaptureWindow();
  if (wnd && GetCapture() == wnd) ReleaseCapture();
}

void DragDone(bool Drop) {
  TDragObject* object = RunningDrag.get();
  if (!object || object->Cancelling) return;
  object->Cancelling = true;
  object->Dropped = Drop;
  ReleaseDragCapture(object);
  TControl* target = DragActive ? object->DragTarget : nullptr;
  // The target's last word, as the mouse leaves it with the drop.
  const bool accepted = SendDrag(object, target, dmDragLeave) && Drop;
  SendDrag(object, target, accepted ? dmDragDrop : dmDragCancel);
  const TPoint pos = accepted ? object->DragTargetPos : TPoint();
  std::unique_ptr<TDragObject> done = std::move(RunningDrag);
  DragControl = nullptr;
  Screen->SetCursor(Screen->GetCursor());
  done->Finished(accepted ? target : nullptr, pos.x, pos.y, accepted);
}

// The capture window's messages go to the running drag's object.
void CaptureWndProc(TMessage& Message) {
  if (RunningDrag) return RunningDrag->WndProc(Message);
}

HWND CaptureWindow() {
  static struct TWindow {
    HWND Handle = AllocateHWnd(&CaptureWndProc);
    ~TWindow() { DeallocateHWnd(Handle); }
  } window;
  return window.Handle;
}

void StartDrag(std::unique_ptr<TDragObject> Object, bool Immediate, int Threshold) {
  DragStartPos = Mouse->GetCursorPos();
  Object->DragPos = DragStartPos;
  DragThresholdOfDrag = Threshold;
  DragActive = false;
  DragAccepted = false;
  RunningDrag = std::move(Object);
  SetCapture(CaptureWindow());
  if (Immediate) {
    DragActive = true;
    DragTo(DragStartPos);
  }
}

} // namespace

// ---- TDragObject ----

TDragObject::~TDragObject() = default;

HWND TDragObject::GetCaptureWindow() const {
  return RunningDrag.get() == this ? CaptureWindow() : nullptr;
}

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) {
  return Accepted ? crDrag : crNoDrop;
}

void TDragObject::Finished(TObject*, int, int, bool) {}

void TDragObject::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_MOUSEMOVE: {
    POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    ClientToScreen(CaptureWindow(), &p);
    return DragTo(p);
  }
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    return DragDone(true);
  case WM_CAPTURECHANGED:
    return DragDone(false);
  case WM_KEYDOWN:
  case WM_KEYUP:
  case CN_KEYDOWN:
  case CN_KEYUP:
    Message.Result = 1;
    if (Message.WParam == VK_ESCAPE) return DragDone(false);
    // A modifier may change the cursor.
    if (Message.WParam == VK_CONTROL || Message.WParam == VK_SHIFT) DragTo(DragPos);
    return;
  }
  Message.Result = DefWindowProcA(CaptureWindow(), Message.Msg, Message.WParam, Message.LParam);
}

void TBaseDragControlObject::Finished(TObject* Target, int X, int Y, bool) {
  EndDrag(Target, X, Y);
}

void TBaseDragControlObject::EndDrag(TObject* Target, int X, int Y) {
  FControl->DoEndDrag(Target, X, Y);
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, int, int) {
  return Accepted ? GetControl()->DragCursor : crNoDrop;
}

void CancelDrag() {
  if (RunningDrag) DragDone(false);
  DragControl = nullptr;
}

// ---- The control's side ----

void TControl::BeginDrag(bool Immediate, int Threshold) {
  if (DragControl) return;
  if (Threshold < 0) Threshold = Mouse->DragThreshold;
  DragControl = this;
  TDragObject* object = nullptr;
  DoStartDrag(object);
  std::unique_ptr<TDragObject> owned(object);
  // The start may have cancelled the drag.
  if (DragControl != this) return;
  if (!owned && FDragKind == dkDock) owned = std::make_unique<TDragDockObject>(this);
  if (!owned) owned = std::make_unique<TDragControlObject>(this);
  StartDrag(std::move(owned), Immediate, Threshold);
}

void TControl::BeginAutoDrag() {
  BeginDrag(Mouse->DragImmediate, Mouse->DragThreshold);
}

bool TControl::Dragging() const {
  return DragControl == this;
}

void TControl::EndDrag(bool Drop) {
  if (Dragging()) DragDone(Drop);
}

void TControl::DoStartDrag(TDragObject*& Object) {
  if (OnStartDrag) OnStartDrag(this, Object);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::CMDrag(TMessage& Message) {
  auto* rec = reinterpret_cast<TDragRec*>(Message.LParam);
  const TPoint p = ScreenToClient(rec->Pos);
  bool accept = false;
  switch (Message.WParam) {
  case dmFindTarget:
    Message.Result = reinterpret_cast<LRESULT>(this);
    return;
  case dmDragEnter:
    DragOver(SourceOf(rec->Source), p.x, p.y, dsDragEnter, accept);
    break;
  case dmDragLeave:
    DragOver(SourceOf(rec->Source), p.x, p.y, dsDragLeave, accept);
    break;
  case dmDragMove:
    DragOver(SourceOf(rec->Source), p.x, p.y, dsDragMove, accept);
    break;
  case dmDragDrop:
    DragDrop(SourceOf(rec->Source), p.x, p.y);
    break;
  }
  Message.Result = accept ? 1 : 0;
}

// A control going away leaves the drag without calling it again.
void TControl::ForgetDrag() {
  TDragObject* object = RunningDrag.get();
  if (object && object->DragTarget == this) object->DragTarget = nullptr;
  if (DragControl != this) return;
  DragControl = nullptr;
  auto* own = dynamic_cast<TBaseDragControlObject*>(object);
  if (!own || own->GetControl() != this) return;
  object->Cancelling = true;
  ReleaseDragCapture(object);
  RunningDrag.reset();
}

// ---- Cursors ----

namespace {

// 32 x 32 pictures: 'X' black, '.' white, others transparent; the hot spot
// is the arrow's tip at the top left.
constexpr const char* kArrow[] = {
    "X",        "XX",       "X.X",       "X..X",       "X...X",       "X....X",
    "X.....X",  "X......X", "X.......X", "X........X", "X.....XXXXX", "X..X..X",
    "X.X X..X", "XX  X..X", "X    X..X", "     X..X",  "      XX",
};

void Plot(BYTE* AndBits, BYTE* XorBits, int X, int Y, char C) {
  if (C != 'X' && C != '.') return;
  const int byte = Y * 4 + X / 8;
  const BYTE bit = static_cast<BYTE>(0x80 >> (X % 8));
  AndBits[byte] &= static_cast<BYTE>(~bit);
  if (C == '.') XorBits[byte] |= bit;
}

// A sheet of paper below the arrow, framed black, white inside.
void Sheet(BYTE* AndBits, BYTE* XorBits, int Left, int Top) {
  for (int y = Top; y < Top + 11; ++y)
    for (int x = Left; x < Left + 9; ++x) {
      const bool frame = y == Top || y == Top + 10 || x == Left || x == Left + 8;
      Plot(AndBits, XorBits, x, y, frame ? 'X' : '.');
    }
}

} // namespace

HCURSOR CreateDragCursor(bool Multi) {
  BYTE andBits[32 * 4], xorBits[32 * 4] = {};
  std::fill(std::begin(andBits), std::end(andBits), BYTE(0xFF));
  for (int y = 0; y < static_cast<int>(std::size(kArrow)); ++y)
    for (int x = 0; kArrow[y][x]; ++x)
      Plot(andBits, xorBits, x, y, kArrow[y][x]);
  if (Multi) Sheet(andBits, xorBits, 10, 16);
  Sheet(andBits, xorBits, Multi ? 13 : 10, Multi ? 19 : 18);
  return CreateCursor(GetModuleHandleA(nullptr), 0, 0, 32, 32, andBits, xorBits);
}
