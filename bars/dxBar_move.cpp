// Moving, docking, floating and sizing toolbars by the user: the bar
// collection's move loop with its docking timer, and the toolbar window's
// frame messages while it is dragged or sized.
#include "dxBar.h"

#include "dxBarCommon.h"

#include "Forms.h"

#include <algorithm>

namespace {

// The one docking timer of the process and the bars it steps.
UINT_PTR gDockingTimer = 0;
TdxBars* gDockingTimerBars = nullptr;

void KillDockingTimer() {
  if (gDockingTimer) KillTimer(nullptr, gDockingTimer);
  gDockingTimer = 0;
  gDockingTimerBars = nullptr;
}

bool IsVerticalStyle(TdxBarDockingStyle style) {
  return style == dsLeft || style == dsRight;
}

POINT Offset(POINT p, POINT by, int sign = 1) {
  return POINT{p.x + sign * by.x, p.y + sign * by.y};
}

// The window that holds the mouse during a move: the application's window
// when it shows, else the manager's form.
HWND CaptureWindowOf(TdxBarManager* manager) {
  if (IsWindowVisible(Application->GetHandle())) return Application->GetHandle();
  TCustomForm* form = manager->GetOwnerForm();
  return form ? form->GetHandle() : nullptr;
}

// It and its parents are visible and enabled.
bool TakesFocus(TWinControl* control) {
  if (!control->HandleAllocated() || !IsWindowVisible(control->GetHandle())) return false;
  for (HWND wnd = control->GetHandle(); wnd; wnd = GetParent(wnd))
    if (!IsWindowEnabled(wnd)) return false;
  return true;
}

const TdxBarDockingStyles kAllStyles{dsNone, dsLeft, dsTop, dsRight, dsBottom};

// Takes the messages of a modal mouse loop; false ends the loop (a failure,
// or WM_QUIT, which is posted again for the loop outside).
bool NextMessage(MSG& msg) {
  const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
  if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
  return got > 0;
}

void PaintPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
    DispatchMessageA(&msg);
}

} // namespace

// ---- The move loop ----

TdxBarDockingStyle TdxBars::FindDockAt(TdxBar* Bar, POINT Pt, TdxDockControl*& DockControl) {
  DockControl = nullptr;
  // Ctrl held down keeps a dragged bar floating.
  if (FMoving && GetAsyncKeyState(VK_CONTROL) < 0) return dsNone;
  auto tryAt = [&](POINT p) {
    for (TdxBarDockingStyle style : {dsLeft, dsRight, dsTop, dsBottom})
      for (int i = 0; i < FBarManager->GetDockControlCount(); ++i) {
        TdxDockControl* dock = FBarManager->GetDockControl(i);
        if (dock->GetDockingStyle() != style || !TakesFocus(dock) ||
            !FBarManager->CanDocking(Bar, style, dock) || !dock->GetDockingZone().Contains(p))
          continue;
        DockControl = dock;
        return style;
      }
    return dsNone;
  };
  TdxBarDockingStyle style = tryAt(Pt);
  if (style == dsNone && FMoving) style = tryAt(Offset(Pt, FDragOffset, -1));
  return style;
}

void TdxBars::InsertIntoDock(TdxBarDockingStyle Style, TdxDockControl* DockControl, POINT Pt,
                             TdxBarControl* BarControl) {
  if (!DockControl) DockControl = GetDockControl(Style);
  if (DockControl) DockControl->InsertBarControl(BarControl, Pt, true);
}

void TdxBars::RemoveFromDock(TdxBarDockingStyle Style, TdxDockControl* DockControl,
                             TdxBarControl* BarControl) {
  if (!DockControl) DockControl = GetDockControl(Style);
  if (DockControl) DockControl->RemoveBarControl(BarControl, true);
}

void CALLBACK TdxBars::DockingTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  TdxBars* bars = gDockingTimerBars;
  KillDockingTimer();
  if (!bars || !bars->MovingControl) return;
  try {
    POINT cursor;
    GetCursorPos(&cursor);
    bars->FTimerFired = true;
    bars->DragStep(bars->MovingControl, Offset(cursor, bars->FDragOffset));
  } catch (...) {
    Application->HandleException(nullptr);
  }
  bars->FTimerFired = false;
}

void TdxBars::DragStep(TdxBarControl* BarControl, POINT Pt) {
  TdxBar* bar = BarControl->GetBar();
  TdxDockControl* dock = nullptr;
  TdxBarDockingStyle style = FindDockAt(bar, Pt, dock);
  if (!FBarManager->CanDocking(bar, style, dock)) return;
  // A floating bar docks only once the mouse rests over the dock.
  if (BarControl->GetDockingStyle() == dsNone && style != dsNone && !FTimerFired) {
    KillDockingTimer();
    gDockingTimer = SetTimer(nullptr, 0, FBarManager->GetWaitForDockingTime(), DockingTimerProc);
    gDockingTimerBars = this;
    style = dsNone;
    dock = nullptr;
  }
  if (style == dsNone) Pt = Offset(Pt, FDragOffset, -1);
  TdxDockControl* current = BarControl->GetDockControl();
  const HWND wnd = BarControl->GetHandle();
  if (style == BarControl->GetDockingStyle() && (style == dsNone || dock == current)) {
    if (current) {
      current->MoveBarControl(BarControl, Pt);
    } else {
      const POINT grab = BarControl->GetGrabOffset(dsNone);
      SetWindowPos(wnd, nullptr, Pt.x - grab.x, Pt.y - grab.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return;
  }
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  if (current) {
    RemoveFromDock(BarControl->GetDockingStyle(), current, BarControl);
    bar->GetItemLinks()->SetRecentItemCount(-1);
  }
  BarControl->BeginUpdate();
  try {
    BarControl->SetDocking(style, style == dsNone ? nullptr : dock ? dock : GetDockControl(style));
  } catch (...) {
    BarControl->EndUpdate();
    throw;
  }
  BarControl->EndUpdate();
  if (style != dsNone) {
    InsertIntoDock(style, dock, Pt, BarControl);
  } else {
    const SIZE size = BarControl->GetSizeForDockingStyle(dsNone);
    const POINT grab = BarControl->GetGrabOffset(dsNone);
    SetWindowPos(BarControl->GetHandle(), nullptr, Pt.x - grab.x, Pt.y - grab.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(BarControl->GetHandle(), nullptr, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void TdxBars::MoveBar(TdxBarControl* BarControl) {
  TdxBar* bar = BarControl->GetBar();
  if ((bar->NotDocking * kAllStyles) == kAllStyles) return;
  if (TdxDockControl* dock = BarControl->GetDockControl())
    if (TdxDockCol* col = dock->GetColumn(BarControl))
      col->Pos = dock->IsVertical() ? bar->GetDockedTop() : bar->GetDockedLeft();
  FMoving = true;
  BarControl->StartMoving(true);
  // Where the press was: the pointer may have gone on since.
  const DWORD pressed = GetMessagePos();
  const POINT cursor{static_cast<short>(LOWORD(pressed)), static_cast<short>(HIWORD(pressed))};
  FMoveStartStyle = BarControl->GetDockingStyle();
  FDragOffset = FGrabPoint = POINT{0, 0};
  if (TdxDockControl* dock = BarControl->GetDockControl()) {
    const int pos = dock->GetColumn(BarControl) ? dock->GetColumn(BarControl)->Pos : 0;
    const POINT column = dock->ClientToScreen(dock->IsVertical() ? TPoint(0, pos) : TPoint(pos, 0));
    dock->RemoveBarControl(BarControl, false);
    // The tracked point follows the row's reference line across the dock.
    const POINT snapped = dock->SnapToRow(bar->GetRow(), bar->OneOnRow, cursor);
    if (dock->IsVertical())
      FDragOffset.x = snapped.x - cursor.x;
    else
      FDragOffset.y = snapped.y - cursor.y;
    BarControl->BeginUpdate();
    dock->InsertBarControl(BarControl, column, false);
    BarControl->EndUpdate();
  }
  // The cursor keeps its place on the window (a floating start too).
  RECT window;
  GetWindowRect(BarControl->GetHandle(), &window);
  FGrabPoint = POINT{cursor.x - window.left, cursor.y - window.top};
  PaintPending();
  const HWND capture = CaptureWindowOf(FBarManager);
  SetCapture(capture);
  POINT last = cursor;
  auto step = [&](POINT now) {
    if (now.x == last.x && now.y == last.y) return;
    last = now;
    DragStep(BarControl, Offset(now, FDragOffset));
  };
  auto end = [&] {
    KillDockingTimer();
    if (capture && GetCapture() == capture) ReleaseCapture();
    BarControl->StartMoving(false);
    if (TdxDockControl* dock = BarControl->GetDockControl()) dock->UpdateColumnPositions();
    FMoving = false;
  };
  try {
    MSG msg;
    while (capture && GetCapture() == capture && NextMessage(msg)) {
      if (msg.message == WM_LBUTTONUP) break;
      if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
        if (msg.wParam == VK_ESCAPE) break;
        if (msg.wParam == VK_CONTROL) {
          // Ctrl docks or floats the bar where it is: the step runs again.
          last = POINT{INT_MIN, INT_MIN};
          POINT now;
          GetCursorPos(&now);
          step(now);
        }
        continue;
      }
      if (msg.message == WM_MOUSEMOVE) {
        step(msg.pt);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  } catch (...) {
    end();
    throw;
  }
  end();
}

// ---- The toolbar window's side ----

void TdxBarControl::EndUpdate() {
  FUpdateCount = std::max(0, FUpdateCount - 1);
}

void TdxBarControl::StartMoving(bool Value) {
  if (Value == FMoving) return;
  TdxBars* bars = GetBarManager()->GetBars();
  FMoving = Value;
  bars->MovingControl = Value ? this : nullptr;
  SetCursor(Value ? crSizeAll : crDefault);
  // The in-place windows of edits and combos sit out the drag: the window
  // is made anew as it docks or floats, and their controls with it.
  for (int i = 0; i < GetItemLinks()->GetVisibleCount(); ++i)
    if (TdxBarItemControl* control = GetItemLinks()->GetVisibleLink(i)->GetControl()) {
      if (Value)
        control->DestroyInPlaceWindow();
      else
        control->CreateInPlaceWindow();
    }
  if (!Value) StorePosition();
}

void TdxBarControl::SetDocking(TdxBarDockingStyle Style, TdxDockControl* DockControl) {
  if (!FBar || GetDestroying() || IsDestroying()) return;
  BeginUpdate();
  try {
    // The window is made anew: a child of the dock or a popup over the form.
    DestroyHandle();
    SetDockControl(DockControl);
    SetDockingStyle(Style);
    if (DockControl) {
      ParentWindow = nullptr;
      SetParent(DockControl);
    } else {
      SetParent(nullptr);
      TCustomForm* form = GetBarManager()->GetOwnerForm();
      ParentWindow = form ? form->GetHandle() : nullptr;
    }
    HandleNeeded();
    SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

POINT TdxBarControl::GetGrabOffset(TdxBarDockingStyle Style) {
  TdxBars* bars = GetBarManager()->GetBars();
  if (bars->MovingControl == this && Style == bars->GetMoveStartStyle()) {
    const POINT offset = bars->GetDragOffset(), grab = bars->GetGrabPoint();
    // A floating start has no row to follow: the cursor keeps its place.
    if (Style == dsNone) return grab;
    return IsVerticalStyle(Style) ? POINT{-offset.x, grab.y} : POINT{grab.x, -offset.y};
  }
  const SIZE size = GetSizeForDockingStyle(Style);
  return POINT{MulDiv(size.cx, FGrab.x, std::max<int>(1, FGrabSize.cx)),
               MulDiv(size.cy, FGrab.y, std::max<int>(1, FGrabSize.cy))};
}

SIZE TdxBarControl::GetSizeForDockingStyle(TdxBarDockingStyle Style) {
  TdxBarItemLinks* links = GetItemLinks();
  const int recent = links->GetRecentItemCountSetting();
  SIZE size{};
  TdxDockControl* dock = GetDockControl() && GetDockControl()->GetDockingStyle() == Style
                             ? GetDockControl()
                             : GetBarManager()->GetBars()->GetDockControl(Style);
  const bool whole = FBar->GetWholeRow() && dock;
  if (Style == dsNone) {
    size = CalcSizeForWidth(dsNone, FBar->GetFloatValue(3));
    size.cx += GetBorderWidth(dsNone);
    size.cy += GetBorderHeight(dsNone);
  } else if (IsVerticalStyle(Style)) {
    const int h = whole ? dock->GetClientHeight() - GetBorderHeight(Style) : GetMaxHeight(Style);
    size = CalcSizeForHeight(Style, h);
    size.cx += GetBorderWidth(Style);
    size.cy = whole ? dock->GetClientHeight() : size.cy + GetBorderHeight(Style);
  } else {
    const int w = whole ? dock->GetClientWidth() - GetBorderWidth(Style) : GetMaxWidth(Style);
    size = CalcSizeForWidth(Style, w);
    size.cx = whole ? dock->GetClientWidth() : size.cx + GetBorderWidth(Style);
    size.cy += GetBorderHeight(Style);
  }
  links->SetRecentItemCount(recent);
  LayoutLinks();
  return size;
}

void TdxBarControl::StartMove(POINT ClientPoint) {
  POINT screen = ClientPoint;
  ::ClientToScreen(GetHandle(), &screen);
  RECT window;
  GetWindowRect(GetHandle(), &window);
  FGrab = POINT{screen.x - window.left, screen.y - window.top};
  FGrabSize = SIZE{window.right - window.left, window.bottom - window.top};
  GetBarManager()->GetBars()->MoveBar(this);
}

void TdxBarControl::ToggleDocking() {
  TdxBarManager* manager = GetBarManager();
  TdxBar* bar = FBar;
  TdxBarDockingStyle style = dsNone;
  TdxDockControl* dock = nullptr;
  if (GetDockingStyle() == dsNone) {
    style = bar->GetDockedDockingStyle() == dsNone ? dsTop : bar->GetDockedDockingStyle();
    dock = bar->GetDockedDockingStyle() != dsNone && bar->GetDockedDockControl()
               ? bar->GetDockedDockControl()
               : manager->GetBars()->GetDockControl(style);
  }
  if (!manager->CanDocking(bar, style, dock)) return;
  // The window goes with the bar's hiding: nothing of it is touched after.
  const bool floating = GetDockingStyle() == dsNone;
  const bool newRow = floating && bar->GetDockedDockingStyle() == dsNone;
  bar->SetVisible(false);
  if (!floating) {
    bar->SetDockingStyle(dsNone);
  } else {
    bar->DockTo(style, dock);
    if (newRow) {
      bar->OneOnRow = true;
      bar->SetRow(dock ? dock->GetRowCount() : 0);
    }
  }
  bar->SetVisible(true);
}

void TdxBarControl::SetCloseButtonState(int Value) {
  if (Value == FCloseButtonState) return;
  FCloseButtonState = Value;
  if (HandleAllocated()) SendMessageA(GetHandle(), WM_NCPAINT, 1, 0);
}

void TdxBarControl::CloseButtonLoop() {
  TdxBarManager* manager = GetBarManager();
  TCustomForm* form = manager->GetOwnerForm();
  if (!manager->HideFloatingBarsWhenInactive && form && form->HandleAllocated())
    SetActiveWindow(form->GetHandle());
  SetCloseButtonState(2);
  SetCapture(GetHandle());
  bool pressed = true;
  MSG msg;
  while (GetCapture() == GetHandle() && NextMessage(msg)) {
    if (msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE) {
      pressed = GetCloseButtonRect().Contains(ScreenToClient(msg.pt));
      SetCloseButtonState(pressed ? 2 : 1);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (GetCapture() == GetHandle()) ReleaseCapture();
  if (!IsBarControlAlive(this)) return;
  SetCloseButtonState(0);
  if (!pressed) return;
  TdxBar* bar = FBar;
  bar->SetVisible(false);
  manager->DoBarClose(bar);
}

void TdxBarControl::WMWindowPosChanging(TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE)) return;
  RECT window;
  GetWindowRect(GetHandle(), &window);
  const int x = pos->flags & SWP_NOMOVE ? window.left : pos->x;
  const int y = pos->flags & SWP_NOMOVE ? window.top : pos->y;
  const int w = pos->flags & SWP_NOSIZE ? window.right - window.left : pos->cx;
  const int h = pos->flags & SWP_NOSIZE ? window.bottom - window.top : pos->cy;
  POINT cursor;
  GetCursorPos(&cursor);
  const TRect area = GetWorkAreaAtPoint(cursor);
  // Some part of the window stays on the work area; the last test that
  // holds decides.
  auto place = [&](int nx, int ny) {
    pos->x = nx;
    pos->y = ny;
    pos->flags &= ~SWP_NOMOVE;
  };
  if (x + w <= area.left) place(area.left, y);
  if (y + h <= area.top) place(x, area.top);
  if (x >= area.right) place(area.right - w, y);
  if (y >= area.bottom) place(x, area.bottom - h);
}

void TdxBarControl::WMSizing(TMessage& Message) {
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  const int bw = GetBorderWidth(dsNone), bh = GetBorderHeight(dsNone);
  RECT window;
  GetWindowRect(GetHandle(), &window);
  switch (Message.WParam) {
  case WMSZ_LEFT:
  case WMSZ_RIGHT: {
    // The width wraps the links: the height follows.
    const SIZE client = CalcSizeForWidth(dsNone, r->right - r->left - bw);
    if (Message.WParam == WMSZ_LEFT)
      r->left = r->right - (client.cx + bw);
    else
      r->right = r->left + client.cx + bw;
    r->bottom = r->top + client.cy + bh;
    break;
  }
  case WMSZ_TOP:
  case WMSZ_BOTTOM: {
    const SIZE client = CalcSizeForHeight(dsNone, r->bottom - r->top - bh);
    r->right = r->left + client.cx + bw;
    if (Message.WParam == WMSZ_TOP)
      r->top = r->bottom - (client.cy + bh);
    else
      r->bottom = r->top + client.cy + bh;
    break;
  }
  default:
    *r = window;
  }
  if (r->top < -15) OffsetRect(r, 0, -15 - r->top);
  Message.Result = 1;
}
