#include "cxContainer.h"

#include <algorithm>

namespace {

std::unique_ptr<std::vector<TcxCustomPopupWindow*>> Popups;
HHOOK CallWndProcHook = nullptr;
HHOOK GetMessageHook = nullptr;
HHOOK MouseHook = nullptr;
// The window procedure replaced once to swallow a caption's deactivation.
WNDPROC SavedWndProc = nullptr;
bool MouseHookClosing = false;

HWND OwnerWindow(TControl* AOwner) {
  if (!AOwner || AOwner->IsDestroying()) return nullptr;
  auto* control = dynamic_cast<TWinControl*>(AOwner);
  if (!control) control = AOwner->GetParent();
  return control && control->HandleAllocated() ? control->GetHandle() : nullptr;
}

HWND OwnerFormWindow(TControl* AOwner) {
  TCustomForm* form = AOwner && !AOwner->IsDestroying() ? GetParentForm(AOwner) : nullptr;
  return form && form->HandleAllocated() ? form->GetHandle() : nullptr;
}

bool IsWindowTopMost(HWND Wnd) {
  return Wnd && (GetWindowLongPtrA(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool IsWithin(HWND Parent, HWND Wnd) {
  return Parent && Wnd && (Parent == Wnd || IsChild(Parent, Wnd));
}

std::vector<TcxCustomPopupWindow*> LivePopups() {
  std::vector<TcxCustomPopupWindow*> result;
  for (TcxCustomPopupWindow* popup : OpenPopups())
    if (!popup->IsDestroying()) result.push_back(popup);
  return result;
}

TRect AnchorOnScreen(TcxPopupWindow* APopup) {
  return ClientRectToScreen(APopup->AnchorParent, APopup->AnchorBounds);
}

} // namespace

std::vector<TcxCustomPopupWindow*>& OpenPopups() {
  return *Popups;
}

bool IsWindowInControl(TWinControl* AControl, HWND Wnd) {
  return AControl && AControl->HandleAllocated() && IsWithin(AControl->GetHandle(), Wnd);
}

bool IsWindowInOwnerForm(TControl* AOwner, HWND Wnd) {
  return IsWithin(OwnerFormWindow(AOwner), Wnd);
}

// ---- TcxPopupWindow ----

TcxPopupWindow::TcxPopupWindow() : TForm(nullptr) {
  SetBorderStyle(bsNone);
  DefaultMonitor = dmDesktop;
  SetFormStyle(fsStayOnTop);
  FcxCanvas = std::make_unique<TcxCanvas>(GetCanvas());
}

TcxPopupWindow::~TcxPopupWindow() {
  FcxCanvas.reset();
}

void TcxPopupWindow::CalculatePopupPosition(TPoint& P) {
  const TRect r = AnchorOnScreen(this);
  const int w = GetWidth();
  const int h = GetHeight();
  TcxPopupHorzPlacement hp = HorzPlacement;
  TcxPopupVertPlacement vp = VertPlacement;
  int x = 0;
  int y = 0;
  TPoint q;
  if (hp == hpCenter) q.x = x = (r.left + r.right - w) / 2;
  if (vp == vpCenter) q.y = y = (r.top + r.bottom - h) / 2;
  const bool horizontal = OpenDirection == odHorizontal;
  auto placeX = [&] {
    if (hp == hpLeft) x = horizontal ? r.left - w : r.left, q.x = r.left;
    if (hp == hpRight) x = horizontal ? r.right : r.right - w, q.x = r.right;
  };
  auto placeY = [&] {
    if (vp == vpTop) y = horizontal ? r.top : r.top - h, q.y = r.top;
    if (vp == vpBottom) y = horizontal ? r.bottom - h : r.bottom, q.y = r.bottom;
  };
  placeX();
  placeY();
  const TRect a = GetMonitorWorkArea(q);
  if (!horizontal) {
    const bool moreRoomAbove = a.bottom - r.bottom < r.top - a.top;
    if (vp == vpBottom && a.bottom < y + h && moreRoomAbove)
      vp = vpTop;
    else if (vp == vpTop && y < a.top && !moreRoomAbove)
      vp = vpBottom;
    placeY();
  } else {
    const bool moreRoomLeft = a.right - r.right < r.left - a.left;
    if (hp == hpRight && a.right < x + w && moreRoomLeft)
      hp = hpLeft;
    else if (hp == hpLeft && x < a.left && !moreRoomLeft)
      hp = hpRight;
    placeX();
  }
  if (!horizontal || hp == hpCenter) x = std::max<int>(std::min<int>(x, a.right - w), a.left);
  // Pushed up (or down) to fit also when opening below or above: a popup
  // cut off at the bottom of the work area is of no use.
  y = std::max<int>(std::min<int>(y, a.bottom - h), a.top);
  P = TPoint(x, y);
}

void TcxPopupWindow::CalculatePopupSize() {
  if (!AutoFitChildren) return;
  const TPoint offset(GetClientOffset(0), GetClientOffset(1));
  int right = 0;
  int bottom = 0;
  for (int i = 0; i < GetControlCount(); ++i) {
    TControl* child = GetControl(i);
    // Children stand where their owner put them plus the offset applied at
    // an earlier opening; only a changed offset moves them again.
    const TRect b = child->GetBoundsRect();
    right = std::max<int>(right, b.right - FChildrenOffset.x);
    bottom = std::max<int>(bottom, b.bottom - FChildrenOffset.y);
    child->SetBounds(b.left + offset.x - FChildrenOffset.x, b.top + offset.y - FChildrenOffset.y, b.Width(),
                     b.Height());
  }
  FChildrenOffset = offset;
  if (right != 0) SetWidth(offset.x + right + GetClientOffset(2));
  if (bottom != 0) SetHeight(offset.y + bottom + GetClientOffset(3));
}

int TcxPopupWindow::GetClientOffset(int Side) {
  return GetFrameWidth(Side) + FramePadding;
}

int TcxPopupWindow::GetFrameWidth(int) {
  if (FrameKind == 1 || FrameKind == 2) return 1;
  return FrameKind == 3 ? 2 : 0;
}

void TcxPopupWindow::InitPopup() {
  if (AnchorParent) SetFont(AnchorParent->GetFont());
}

void TcxPopupWindow::DrawFrame() {
  TRect r(0, 0, GetWidth(), GetHeight());
  switch (FrameKind) {
  case 1:
    FcxCanvas->FrameRect(r, FrameColor);
    break;
  case 2:
    FcxCanvas->DrawEdge(r, false, false);
    break;
  case 3:
    FcxCanvas->DrawEdge(r, false, true);
    FcxCanvas->DrawEdge(TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), false, false);
    break;
  }
}

void TcxPopupWindow::ShowPopup() {
  InitPopup();
  CalculatePopupSize();
  TPoint p;
  CalculatePopupPosition(p);
  SetLeft(p.x);
  SetTop(p.y);
  Show();
}

void TcxPopupWindow::Paint() {
  if (OnPaint) OnPaint(this);
  DrawFrame();
}

void TcxPopupWindow::PaintWindow(HDC DC) {
  static_cast<TControlCanvas*>(GetCanvas())->PaintOn(DC, [this] {
    GetCanvas()->GetFont()->Assign(GetFont());
    GetCanvas()->GetBrush()->SetColor(GetColor());
    Paint();
  });
}

void TcxPopupWindow::Deactivate() {
  TForm::Deactivate();
  HidePopup();
}

void TcxPopupWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ACTIVATE:
    TForm::WndProc(Message);
    if (LOWORD(Message.WParam) == WA_INACTIVE) return;
    // The window that lost the activation keeps its active caption.
    FPreviousActiveWindow = reinterpret_cast<HWND>(Message.LParam);
    if (FPreviousActiveWindow) SendMessageA(FPreviousActiveWindow, WM_NCACTIVATE, TRUE, 0);
    return;
  case WM_ACTIVATEAPP:
    DefaultHandler(Message);
    if (Message.WParam) return;
    if (FPreviousActiveWindow) SendMessageA(FPreviousActiveWindow, WM_NCACTIVATE, FALSE, 0);
    HidePopup();
    return;
  case CM_VISIBLECHANGED:
    TForm::WndProc(Message);
    VisibleChanged();
    return;
  }
  TForm::WndProc(Message);
}

// ---- TcxCustomPopupWindow ----

TcxCustomPopupWindow::TcxCustomPopupWindow(TControl* AOwnerControl) : FOwnerControl(AOwnerControl) {
  SetFormStyle(fsNormal);
  SetVisible(false);
  KeyPreview = true;
  if (FOwnerControl) FOwnerControl->FreeNotification(this);
}

TcxCustomPopupWindow::~TcxCustomPopupWindow() {
  SetDestroying();
  auto& popups = OpenPopups();
  popups.erase(std::remove(popups.begin(), popups.end(), this), popups.end());
  for (bool* alive : FAliveFlags)
    *alive = false;
  if (FOwnerControl) FOwnerControl->RemoveFreeNotification(this);
  FViewInfo.reset();
  if (FStyle) FStyle->OnChanged = nullptr;
  FStyle.reset();
}

TcxContainerStyle* TcxCustomPopupWindow::GetStyle() const {
  if (!FStyle) {
    auto* self = const_cast<TcxCustomPopupWindow*>(this);
    FStyle = self->CreateStyle();
    FStyle->OnChanged = [self](TObject*) { self->StyleChanged(); };
  }
  return FStyle.get();
}

TcxContainerViewInfo* TcxCustomPopupWindow::GetViewInfo() const {
  if (!FViewInfo) FViewInfo = const_cast<TcxCustomPopupWindow*>(this)->CreateViewInfo();
  return FViewInfo.get();
}

std::unique_ptr<TcxContainerStyle> TcxCustomPopupWindow::CreateStyle() {
  return std::make_unique<TcxContainerStyle>(this, false);
}

std::unique_ptr<TcxContainerViewInfo> TcxCustomPopupWindow::CreateViewInfo() {
  return std::make_unique<TcxContainerViewInfo>();
}

void TcxCustomPopupWindow::AdjustClientRect(TRect& Rect) {
  // Children are aligned while a descendant's constructor places them: a
  // view info made then would be of this class, not the descendant's. A
  // view info not yet made has an empty client area.
  Rect = FViewInfo ? FViewInfo->ClientRect : TRect();
}

void TcxCustomPopupWindow::Paint() {
  GetViewInfo()->Paint(GetcxCanvas());
}

bool TcxCustomPopupWindow::IsFocused() {
  return IsOpen() && FCaptureFocus && HandleAllocated() && IsWithin(GetHandle(), GetFocus());
}

void TcxCustomPopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  TcxPopupWindow::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupFocusedControl) FPopupFocusedControl = nullptr;
  if (AComponent != FOwnerControl) return;
  FOwnerControl = nullptr;
  if (AnchorParent == AComponent) AnchorParent = nullptr;
  ClosePopup(false);
}

void TcxCustomPopupWindow::DoClosed() {
  if (OnClosed) OnClosed(this);
}

void TcxCustomPopupWindow::DoClosing() {
  if (OnClosing) OnClosing(this);
}

void TcxCustomPopupWindow::DoShowed() {
  if (OnShowed) OnShowed(this);
}

void TcxCustomPopupWindow::DoShowing() {
  if (OnShowing) OnShowing(this);
}

bool TcxCustomPopupWindow::IsSysKeyAccepted(WORD Key) {
  return (Key >= VK_PRIOR && Key <= VK_DOWN) || Key == VK_F4;
}

bool TcxCustomPopupWindow::IsOpen() const {
  const auto& popups = OpenPopups();
  return std::find(popups.begin(), popups.end(), this) != popups.end();
}

void TcxCustomPopupWindow::SetCaptureFocus(bool Value) {
  if (FCaptureFocus == Value) return;
  FCaptureFocus = Value;
  ReopenIfOpen();
}

void TcxCustomPopupWindow::SetTopMostAsParent(bool Value) {
  if (FTopMostAsParent == Value) return;
  FTopMostAsParent = Value;
  ReopenIfOpen();
}

void TcxCustomPopupWindow::ReopenIfOpen() {
  if (HandleAllocated()) RecreateWnd();
  if (!IsOpen()) return;
  TWinControl* focused = FPopupFocusedControl;
  ClosePopup(false);
  Popup(focused);
}

TWinControl* TcxCustomPopupWindow::FindFocusControl(TWinControl* AControl) {
  if (!AControl) return this;
  if (AControl->CanFocus() && AControl->GetTabStop()) return AControl;
  TWinControl* next = FindNextControl(nullptr, true, false, true);
  return next ? next : this;
}

void TcxCustomPopupWindow::Popup(TWinControl* AFocusedControl) {
  if (IsOpen()) return;
  bool alive = true;
  FAliveFlags.push_back(&alive);
  InitPopup();
  CalculatePopupSize();
  TPoint p;
  CalculatePopupPosition(p);
  SetBounds(p.x, p.y, GetWidth(), GetHeight());
  OpenPopups().push_back(this);
  FPopupFocusedControl = FCaptureFocus ? FindFocusControl(AFocusedControl) : AFocusedControl;
  if (FPopupFocusedControl) FPopupFocusedControl->FreeNotification(this);
  DoShowing();
  if (alive) Show();
  if (alive && FCaptureFocus) {
    if (FPopupFocusedControl)
      FPopupFocusedControl->SetFocus();
    else
      SetFocus();
  }
  if (alive && !FCaptureFocus) {
    if (FPopupFocusedControl) FPopupFocusedControl->SetFocus();
    const bool topMost = !GetParentForm(FOwnerControl) || IsWindowTopMost(OwnerFormWindow(FOwnerControl));
    if (alive)
      SetWindowPos(GetHandle(), topMost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  }
  if (alive) {
    SetModalResult(mrNone);
    DoShowed();
  }
  if (alive && FCaptureFocus && RunsModalLoop) RunModalLoop();
  if (alive) FAliveFlags.erase(std::find(FAliveFlags.begin(), FAliveFlags.end(), &alive));
}

void TcxCustomPopupWindow::RunModalLoop() {
  bool alive = true;
  FAliveFlags.push_back(&alive);
  while (alive && GetVisible() && !Application->GetTerminated()) {
    // The system keys that would open the window menu or a menu bar.
    MSG msg;
    if (PeekMessageA(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_MENU || msg.wParam == VK_SPACE))
      PeekMessageA(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
    if (GetModalResult() != mrNone) ClosePopup(true);
    if (!alive || !GetVisible()) break;
    Application->HandleMessage();
  }
  // The popup may be gone with the flag's owner: only a live one is touched.
  if (alive) FAliveFlags.erase(std::find(FAliveFlags.begin(), FAliveFlags.end(), &alive));
}

void TcxCustomPopupWindow::ClosePopup(bool AUseCloseQuery) {
  if (!IsOpen()) return;
  if (AUseCloseQuery && !CloseQuery()) {
    SetModalResult(mrNone);
    return;
  }
  auto& popups = OpenPopups();
  popups.erase(std::remove(popups.begin(), popups.end(), this), popups.end());
  DoClosing();
  if (HandleAllocated()) ShowWindow(GetHandle(), SW_HIDE);
  Hide();
  DoClosed();
  if (HoldsCapture()) SetCaptureControl(nullptr);
}

bool TcxCustomPopupWindow::HoldsCapture() {
  return HandleAllocated() && IsWithin(GetHandle(), GetCapture());
}

void TcxCustomPopupWindow::CloseByHook() {
  FClosingByHook = true;
  ClosePopup(false);
  FClosingByHook = false;
}

void TcxCustomPopupWindow::OwnerFocusChanged() {
  if (auto* control = dynamic_cast<TcxControl*>(FOwnerControl)) control->FocusChanged();
}

void TcxCustomPopupWindow::Deactivate() {
  if (FClosingByHook) return;
  if (!OpenPopups().empty()) {
    const std::vector<TcxCustomPopupWindow*> popups = OpenPopups();
    for (auto it = popups.rbegin(); it != popups.rend(); ++it) {
      TcxCustomPopupWindow* popup = *it;
      if (!popup->HandleAllocated()) continue;
      // A nested popup took the activation.
      if (popup->GetHandle() == FNewActiveWindow) return;
      if (IsWindowEnabled(popup->GetHandle())) popup->ClosePopup(false);
    }
  }
  if (!OpenPopups().empty()) ClosePopup(false);
}

void TcxCustomPopupWindow::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && IsOpen() && HoldsCapture()) {
    SetCaptureControl(nullptr);
    Key = 0;
    return;
  }
  TcxPopupWindow::KeyDown(Key, Shift);
}

void TcxCustomPopupWindow::VisibleChanged() {
  if (GetVisible() || !FOwnerControl) return;
  const HWND form = OwnerFormWindow(FOwnerControl);
  auto* owner = dynamic_cast<TWinControl*>(FOwnerControl);
  if (form && GetFocus() == form && owner && owner->CanFocus()) owner->SetFocus();
}

void TcxCustomPopupWindow::CreateParams(TCreateParams& Params) {
  TcxPopupWindow::CreateParams(Params);
  const HWND form = OwnerFormWindow(FOwnerControl);
  if (FCaptureFocus) {
    if (form) Params.WndParent = form;
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    if (FTopMostAsParent && (!form || IsWindowTopMost(form))) Params.ExStyle |= WS_EX_TOPMOST;
  } else {
    Params.Style = WS_CHILD;
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (!Params.WndParent) Params.WndParent = OwnerWindow(FOwnerControl);
  }
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxCustomPopupWindow::CreateWnd() {
  // The hooks see the window's creation as a popup's.
  const bool wasOpen = IsOpen();
  if (!wasOpen) OpenPopups().push_back(this);
  try {
    TcxPopupWindow::CreateWnd();
  } catch (...) {
    if (!wasOpen) OpenPopups().pop_back();
    throw;
  }
  if (!wasOpen) OpenPopups().erase(std::find(OpenPopups().begin(), OpenPopups().end(), this));
  if (!FCaptureFocus) ::SetParent(GetHandle(), nullptr);
}

void TcxCustomPopupWindow::ShowWithoutActivation() {
  DoShow();
  FormState.Include(fsVisible);
  ShowWindow(GetHandle(), SW_SHOWNA);
}

void TcxCustomPopupWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ACTIVATE:
    FNewActiveWindow = reinterpret_cast<HWND>(Message.LParam);
    break;
  case WM_ACTIVATEAPP:
    // The hooks close the popups on an application switch.
    DefaultHandler(Message);
    return;
  case WM_ERASEBKGND:
    if (HasBackground()) break;
    Message.Result = 1;
    return;
  case CM_SHOWINGCHANGED:
    if (FCaptureFocus || !IsShowing()) break;
    return ShowWithoutActivation();
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE: {
    TControl* control = Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this;
    TcxPopupWindow::WndProc(Message);
    if (Message.Msg == CM_MOUSEENTER)
      MouseEnter(control);
    else
      MouseLeave(control);
    return;
  }
  case CXM_CLOSEPOPUP: {
    CloseByHook();
    const HWND owner = OwnerWindow(FOwnerControl);
    if (owner) SendMessageA(owner, WM_SETFOCUS, 0, 0);
    return;
  }
  case CXM_SHOWPOPUP:
    Popup(reinterpret_cast<TWinControl*>(Message.WParam));
    return;
  }
  TcxPopupWindow::WndProc(Message);
}

// ---- Hooks ----

namespace {

LRESULT CALLBACK DeactivationLockWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const WNDPROC saved = SavedWndProc;
  SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
  SavedWndProc = nullptr;
  if (Msg == WM_NCACTIVATE) return TRUE;
  return CallWindowProcA(saved, Wnd, Msg, WParam, LParam);
}

void HookDestroy(HWND Wnd) {
  for (TcxCustomPopupWindow* popup : LivePopups())
    if (popup->HandleAllocated() && popup->GetHandle() == Wnd) return popup->Close();
}

void HookClose(HWND Wnd) {
  for (TcxCustomPopupWindow* popup : LivePopups()) {
    if (popup->HandleAllocated() && popup->GetHandle() == Wnd) {
      popup->Close();
      TControl* owner = popup->GetOwnerControl();
      const HWND form = OwnerFormWindow(owner);
      if (!popup->IsOpen() && popup->GetCaptureFocus() && form) SendMessageA(form, WM_CLOSE, 0, 0);
      return;
    }
    if (popup->GetCaptureFocus()) continue;
    TControl* owner = popup->GetOwnerControl();
    if (!owner || owner->IsDestroying()) continue;
    const HWND form = OwnerFormWindow(owner);
    if (!form || form == Wnd) popup->ClosePopup(false);
    return;
  }
}

// Hiding the window that holds a popup's owner closes that popup and every
// popup opened after it.
void HookHide(HWND Wnd) {
  const std::vector<TcxCustomPopupWindow*> popups = LivePopups();
  for (auto it = popups.rbegin(); it != popups.rend(); ++it) {
    if (!IsWithin(Wnd, OwnerWindow((*it)->GetOwnerControl()))) continue;
    const auto& open = OpenPopups();
    auto first = std::find(open.begin(), open.end(), *it);
    if (first == open.end()) return;
    const std::vector<TcxCustomPopupWindow*> closing(first, open.end());
    for (auto c = closing.rbegin(); c != closing.rend(); ++c)
      (*c)->ClosePopup(false);
    return;
  }
}

void HookDeactivateApp() {
  for (bool closed = true; closed;) {
    closed = false;
    for (TcxCustomPopupWindow* popup : LivePopups()) {
      const HWND form = OwnerFormWindow(popup->GetOwnerControl());
      if (form) PostMessageA(form, WM_NCACTIVATE, FALSE, 0);
      if (popup->GetCaptureFocus() && popup->GetActive()) continue;
      popup->ClosePopup(false);
      popup->OwnerFocusChanged();
      closed = true;
      break;
    }
  }
}

void HookWindowPosChanged(HWND Wnd) {
  for (bool closed = true; closed;) {
    closed = false;
    for (TcxCustomPopupWindow* popup : LivePopups()) {
      const HWND owner = OwnerWindow(popup->GetOwnerControl());
      if (!popup->HandleAllocated() || !IsWithin(Wnd, owner) || IsWindowVisible(owner)) continue;
      popup->ClosePopup(false);
      closed = true;
      break;
    }
  }
}

void HookNCDeactivate(HWND Wnd) {
  bool isOwnerForm = false;
  for (TcxCustomPopupWindow* popup : LivePopups())
    isOwnerForm = isOwnerForm || OwnerFormWindow(popup->GetOwnerControl()) == Wnd;
  if (!(MouseHookClosing || isOwnerForm) || SavedWndProc) return;
  SavedWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DeactivationLockWndProc)));
}

void HandleCallWndProc(const CWPSTRUCT& M) {
  switch (M.message) {
  case WM_DESTROY:
    return HookDestroy(M.hwnd);
  case WM_CLOSE:
    return HookClose(M.hwnd);
  case WM_SHOWWINDOW:
    if (!M.wParam) HookHide(M.hwnd);
    return;
  case WM_ACTIVATEAPP:
    if (!M.wParam) HookDeactivateApp();
    return;
  case WM_WINDOWPOSCHANGED:
    return HookWindowPosChanged(M.hwnd);
  case WM_NCACTIVATE:
    if (!M.wParam) HookNCDeactivate(M.hwnd);
    return;
  }
}

bool CloseOnOutsideClick(HWND Wnd, UINT Msg, const POINT& Pt) {
  bool result = true;
  for (bool closed = true; closed;) {
    closed = false;
    for (TcxCustomPopupWindow* popup : LivePopups()) {
      if (popup->GetCaptureFocus() && !popup->GetActive()) continue;
      if (IsWindowInControl(popup, Wnd)) continue;
      TControl* owner = popup->GetOwnerControl();
      if (!IsWindowInOwnerForm(owner, Wnd)) continue;
      const bool ownerClick = IsWithin(OwnerWindow(owner), Wnd) &&
                              (Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK) &&
                              AnchorOnScreen(popup).Contains(Pt);
      if (ownerClick) popup->ClosedByOwnerClick = true;
      MouseHookClosing = true;
      popup->CloseByHook();
      MouseHookClosing = false;
      if (ownerClick && (!owner || owner->IsDestroying() || !owner->GetVisible())) result = false;
      closed = true;
      break;
    }
  }
  return result;
}

template <typename F> void Guarded(F&& Body) {
  try {
    Body();
  } catch (...) {
    Application->HandleException(nullptr);
  }
}

LRESULT CALLBACK CallWndProcHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && Popups && !Popups->empty())
    Guarded([&] { HandleCallWndProc(*reinterpret_cast<CWPSTRUCT*>(LParam)); });
  return CallNextHookEx(CallWndProcHook, Code, WParam, LParam);
}

LRESULT CALLBACK GetMessageHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && WParam == PM_REMOVE && Popups && !Popups->empty()) {
    auto* msg = reinterpret_cast<MSG*>(LParam);
    Guarded([&] {
      TcxCustomPopupWindow* newest = Popups->back();
      if (msg->message != WM_SYSKEYDOWN || (newest->GetCaptureFocus() && newest->RunsModalLoop)) return;
      if (!newest->IsSysKeyAccepted(static_cast<WORD>(msg->wParam))) msg->message = WM_NULL;
    });
  }
  return CallNextHookEx(GetMessageHook, Code, WParam, LParam);
}

LRESULT CALLBACK MouseHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && Popups && !Popups->empty()) {
    switch (WParam) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(LParam);
      bool pass = true;
      Guarded([&] { pass = CloseOnOutsideClick(info->hwnd, static_cast<UINT>(WParam), info->pt); });
      if (!pass) return 1;
      break;
    }
    }
  }
  return CallNextHookEx(MouseHook, Code, WParam, LParam);
}

} // namespace

void cxPopupsInitialize() {
  const DWORD thread = GetCurrentThreadId();
  CallWndProcHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProcHookProc, nullptr, thread);
  GetMessageHook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHookProc, nullptr, thread);
  MouseHook = SetWindowsHookExA(WH_MOUSE, MouseHookProc, nullptr, thread);
  Popups = std::make_unique<std::vector<TcxCustomPopupWindow*>>();
}

void cxPopupsFinalize() {
  for (HHOOK* hook : {&MouseHook, &GetMessageHook, &CallWndProcHook}) {
    if (*hook) UnhookWindowsHookEx(*hook);
    *hook = nullptr;
  }
  Popups.reset();
}
