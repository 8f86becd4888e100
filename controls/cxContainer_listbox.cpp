#include "cxContainer.h"

#include <algorithm>

namespace {

// After these the native bars may have changed.
bool ChangesScrollBars(UINT Msg) {
  switch (Msg) {
  case WM_WINDOWPOSCHANGED:
  case WM_HSCROLL:
  case WM_VSCROLL:
  case LB_ADDSTRING:
  case LB_INSERTSTRING:
  case LB_DELETESTRING:
  case LB_RESETCONTENT:
  case LB_SETCURSEL:
  case LB_SETHORIZONTALEXTENT:
  case LB_SETTOPINDEX:
  case LB_SETCARETINDEX:
  case WM_MOUSEWHEEL:
  case CM_WININICHANGE:
    return true;
  default:
    return false;
  }
}

} // namespace

TcxCustomInnerListBox::TcxCustomInnerListBox(TComponent* AOwner) : TListBox(AOwner) {
  FCanvas = std::make_unique<TcxCanvas>(TListBox::GetCanvas());
  FHScrollBar = CreateScrollBar(sbHorizontal);
  FVScrollBar = CreateScrollBar(sbVertical);
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FHScrollBar->GetLookAndFeel()->SetMaster(FLookAndFeel.get());
  FVScrollBar->GetLookAndFeel()->SetMaster(FLookAndFeel.get());
  BorderStyle = bsNone;
  ControlStyle.Include(csDoubleClicks);
  SetParentColor(false);
  SetParentFont(true);
}

TcxCustomInnerListBox::~TcxCustomInnerListBox() {
  // A bar with a parent goes with the list box's components; one without
  // is freed here, before the look-and-feel it follows.
  for (TcxScrollBar* bar : {FHScrollBar, FVScrollBar})
    if (bar && !bar->GetParent()) delete bar;
  FHScrollBar = FVScrollBar = nullptr;
  FLookAndFeel.reset();
  FCanvas.reset();
}

TcxScrollBar* TcxCustomInnerListBox::CreateScrollBar(TScrollBarKind Kind) {
  auto* bar = new TcxScrollBar(this);
  bar->SetKind(Kind);
  bar->SmallChange = 1;
  bar->SetVisible(false);
  bar->OnScroll = [this, bar](TObject*, TScrollCode Code, int& Pos) { ScrollBarScroll(bar, Code, Pos); };
  bar->FreeNotification(this);
  return bar;
}

void TcxCustomInnerListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
}

// The native bar does the scrolling; the painted one shows where it went.
void TcxCustomInnerListBox::ScrollBarScroll(TcxScrollBar* Bar, TScrollCode ScrollCode, int& ScrollPos) {
  if (!Bar->HandleAllocated() || !HandleAllocated()) return;
  const bool horizontal = Bar->GetKind() == sbHorizontal;
  CallWindowProcA(FDefWndProc, GetHandle(), horizontal ? WM_HSCROLL : WM_VSCROLL,
                  MAKEWPARAM(ScrollCode, ScrollPos), reinterpret_cast<LPARAM>(Bar->GetHandle()));
  ScrollPos = GetScrollPos(GetHandle(), horizontal ? SB_HORZ : SB_VERT);
}

// ---- Events to the container first ----

void TcxCustomInnerListBox::Click() {
  TListBox::Click();
  if (!Container) return;
  if (FVScrollBar) FVScrollBar->SetPosition(GetTopIndex());
  Container->Click();
}

TPopupMenu* TcxCustomInnerListBox::GetPopupMenu() const {
  return Container ? Container->GetPopupMenu() : TListBox::GetPopupMenu();
}

void TcxCustomInnerListBox::DblClick() {
  TListBox::DblClick();
  if (Container) Container->DblClick();
}

bool TcxCustomInnerListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (Container && Container->DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return TListBox::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomInnerListBox::KeyDown(WORD& Key, TShiftState Shift) {
  if (Container) Container->KeyDown(Key, Shift);
  if (Key != 0) TListBox::KeyDown(Key, Shift);
}

void TcxCustomInnerListBox::KeyPress(char& Key) {
  if (Key == '\t') Key = 0;
  if (Container) Container->KeyPress(Key);
  if (Key == '\r') Key = 0;
  if (Key != 0) TListBox::KeyPress(Key);
}

void TcxCustomInnerListBox::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_TAB) Key = 0;
  if (Container) Container->KeyUp(Key, Shift);
  if (Key != 0) TListBox::KeyUp(Key, Shift);
}

void TcxCustomInnerListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TListBox::MouseDown(Button, Shift, X, Y);
  if (!Container) return;
  Container->FIsInnerClick = true;
  try {
    Container->MouseDown(Button, Shift, X + GetLeft(), Y + GetTop());
  } catch (...) {
    Container->FIsInnerClick = false;
    throw;
  }
  Container->FIsInnerClick = false;
}

void TcxCustomInnerListBox::MouseMove(TShiftState Shift, int X, int Y) {
  TListBox::MouseMove(Shift, X, Y);
  if (Container) Container->MouseMove(Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TListBox::MouseUp(Button, Shift, X, Y);
  if (Container) Container->MouseUp(Button, Shift, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerListBox::MouseLeave(TControl*) {
  if (Container) Container->UpdateMouseStateAtCursor(true);
}

// ---- Messages ----

void TcxCustomInnerListBox::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  if (Container) Container->DragOver(Source, X + GetLeft(), Y + GetTop(), State, Accept);
}

void TcxCustomInnerListBox::DragDrop(TObject* Source, int X, int Y) {
  if (Container) Container->DragDrop(Source, X + GetLeft(), Y + GetTop());
}

void TcxCustomInnerListBox::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // The container is what an automatic drag takes.
    if (Container && Container->GetDragMode() == dmAutomatic) return Container->BeginAutoDrag();
    break;
  case WM_GETDLGCODE:
    TListBox::WndProc(Message);
    if (!Container) return;
    Message.Result |= DLGC_WANTCHARS;
    if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
    return;
  case WM_KILLFOCUS:
    TListBox::WndProc(Message);
    if (Container && !TcxContainer::IsContainerDestroying(Container)) Container->FocusChanged();
    return;
  case WM_SETFOCUS:
    TListBox::WndProc(Message);
    if (Container && !TcxContainer::IsContainerDestroying(Container) && !IsDestroying() &&
        !(Container->HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == Container->GetHandle()))
      Container->FocusChanged();
    return;
  case WM_NCCALCSIZE:
    TListBox::WndProc(Message);
    if (!FCalculating) UpdateScrollBars();
    return;
  case WM_NCPAINT:
    TListBox::WndProc(Message);
    if (IsScrollBarInfoAvailable() && BothBarsVisible()) PaintSizeGrip();
    return;
  case WM_WINDOWPOSCHANGED:
    TListBox::WndProc(Message);
    if (!IsDestroying() && BothBarsVisible()) {
      TRect r = GetSizeGripRect();
      RECT window;
      GetWindowRect(GetHandle(), &window);
      OffsetRect(&r, window.left, window.top);
      HRGN region = CreateRectRgnIndirect(&r);
      SendMessageA(GetHandle(), WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
      DeleteObject(region);
    }
    UpdateScrollBars();
    return;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE: {
    TListBox::WndProc(Message);
    TControl* control = Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this;
    if (msg == CM_MOUSEENTER)
      MouseEnter(control);
    else
      MouseLeave(control);
    return;
  }
  }
  TListBox::WndProc(Message);
  if (ChangesScrollBars(msg)) UpdateScrollBars();
}

bool TcxCustomInnerListBox::BothBarsVisible() const {
  return FHScrollBar && FVScrollBar && FHScrollBar->GetVisible() && FVScrollBar->GetVisible();
}

TRect TcxCustomInnerListBox::GetSizeGripRect() {
  if (!BothBarsVisible()) return TRect();
  return Bounds(FVScrollBar->GetLeft() - GetLeft(), FHScrollBar->GetTop() - GetTop(), FVScrollBar->GetWidth(),
                FHScrollBar->GetHeight());
}

void TcxCustomInnerListBox::PaintSizeGrip() {
  HDC dc = GetWindowDC(GetHandle());
  const TRect r = GetSizeGripRect();
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(GetHandle(), dc);
}

// ---- The painted bars over the native ones ----

void TcxCustomInnerListBox::UpdateScrollBars() {
  if (IsDestroying() || FLockCount > 0 || !IsScrollBarInfoAvailable()) return;
  FCalculating = true;
  for (TcxScrollBar* bar : {FHScrollBar, FVScrollBar})
    if (bar) UpdateScrollBar(bar);
  FCalculating = false;
}

void TcxCustomInnerListBox::UpdateScrollBar(TcxScrollBar* Bar) {
  const bool horizontal = Bar->GetKind() == sbHorizontal;
  TWinControl* parent = GetParent();
  bool visible = false;
  bool enabled = true;
  TRect r;
  if (parent && HandleAllocated() && parent->HandleAllocated() &&
      GetNativeScrollBarRect(GetHandle(), Bar->GetKind(), parent->GetHandle(), r, enabled)) {
    // A bar that would lie outside the parent (the list box partly out of
    // it) is not drawn there.
    const TRect area = parent->GetClientRect();
    visible = r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
    if (!visible)
      r = horizontal ? Bounds(0, 0, 0, GetSystemMetrics(SM_CYHSCROLL))
                     : Bounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), 0);
  }
  if (visible) {
    LockUpdateScrollBars(true);
    Bar->SetParent(parent);
    LockUpdateScrollBars(false);
    Bar->SetEnabled(enabled);
    Bar->SetBoundsRect(r);
    Bar->Ctl3D = false;
    Bar->BringToFront();
  } else {
    Bar->SetBoundsRect(TRect());
  }
  Bar->SetVisible(visible);
  if (visible) CopyNativeScrollBarRange(GetHandle(), Bar->GetKind(), Bar);
}
