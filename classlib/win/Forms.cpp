#include "Forms.h"
#include "Threads.h"

#include "ActnList.h"
#include "Menus.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

// ---- AllocateHWnd ----

namespace {

LRESULT CALLBACK UtilWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (!method) return DefWindowProcA(wnd, msg, wParam, lParam);
  // A copy: the handler may deallocate the window, and its method with it.
  TWndMethod call = *method;
  TMessage m{msg, wParam, lParam, 0};
  try {
    call(m);
  } catch (...) {
    Application->HandleException(nullptr);
  }
  return m.Result;
}

const char* UtilWindowClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TPUtilWindow";
    RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

} // namespace

HWND AllocateHWnd(TWndMethod Method) {
  HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, UtilWindowClass(), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  if (!wnd) throw EOutOfResources("Error creating window");
  if (Method)
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(Method))));
  return wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
  SetWindowLongPtrA(Wnd, GWLP_USERDATA, 0);
  DestroyWindow(Wnd);
  delete method;
}

// ---- TScreen ----

TComponent* FindGlobalComponent(const String& Name) {
  for (int i = 0; i < Screen->GetFormCount(); ++i)
    if (SameText(Screen->GetForms(i)->GetName(), Name)) return Screen->GetForms(i);
  return nullptr;
}

TScreen::~TScreen() {
  for (auto& [index, cursor] : FCursors)
    if (index > 0 || index == crDrag || index == crMultiDrag) DestroyCursor(cursor);
}

void TScreen::SetCursor(TCursor value) {
  FCursor = value;
  if (value == crDefault) {
    // Let the window under the mouse choose again.
    POINT p;
    ::GetCursorPos(&p);
    ::SetCursorPos(p.x, p.y);
    return;
  }
  ::SetCursor(GetCursors(value));
}

HCURSOR TScreen::GetCursors(TCursor index) {
  if (auto it = FCursors.find(index); it != FCursors.end()) return it->second;
  LPCSTR id = IDC_ARROW;
  switch (index) {
  case crCross:
    id = IDC_CROSS;
    break;
  case crIBeam:
    id = IDC_IBEAM;
    break;
  case crSizeNESW:
    id = IDC_SIZENESW;
    break;
  case crSizeNS:
  case crVSplit:
    id = IDC_SIZENS;
    break;
  case crSizeNWSE:
    id = IDC_SIZENWSE;
    break;
  case crSizeWE:
  case crHSplit:
    id = IDC_SIZEWE;
    break;
  case crUpArrow:
    id = IDC_UPARROW;
    break;
  case crHourGlass:
  case crSQLWait:
    id = IDC_WAIT;
    break;
  case crNoDrop:
  case crNo:
    id = IDC_NO;
    break;
  case crAppStart:
    id = IDC_APPSTARTING;
    break;
  case crHelp:
    id = IDC_HELP;
    break;
  case crHandPoint:
    id = IDC_HAND;
    break;
  case crSizeAll:
    id = IDC_SIZEALL;
    break;
  case crDrag:
  case crMultiDrag:
    return FCursors[index] = CreateDragCursor(index == crMultiDrag);
  case crNone:
    return nullptr;
  }
  return LoadCursorA(nullptr, id);
}

void TScreen::SetCursors(TCursor index, HCURSOR handle) {
  if (auto it = FCursors.find(index); it != FCursors.end() && index > 0) DestroyCursor(it->second);
  FCursors[index] = handle;
}

TRect TScreen::GetWorkAreaRect() const {
  RECT r;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

TRect TScreen::GetDesktopRect() const {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Bounds(x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

int TScreen::GetPixelsPerInch() const {
  HDC dc = GetDC(nullptr);
  const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi;
}

namespace {

int CALLBACK AddFontName(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
  // Names with "@" are the vertical forms of the same families.
  if (font->lfFaceName[0] != '@') reinterpret_cast<TStringList*>(list)->Add(font->lfFaceName);
  return 1;
}

} // namespace

TStrings* TScreen::GetFonts() {
  if (FFonts) return FFonts.get();
  FFonts = std::make_unique<TStringList>();
  FFonts->SetSorted(true);
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExA(dc, &all, AddFontName, reinterpret_cast<LPARAM>(FFonts.get()), 0);
  ReleaseDC(nullptr, dc);
  return FFonts.get();
}

void TScreen::RemoveForm(TCustomForm* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  if (FActiveForm == form) {
    FActiveForm = nullptr;
    FActiveControl = nullptr;
  }
}

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {
  FVisible = false;
  ControlStyle =
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetColor(clBtnFace);
  SetParentFont(false);
  FWidth = 320;
  FHeight = 240;
  FormState.Include(fsCreating);
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  SetDestroying();
  if (OnDestroy && FCreated) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  Screen->RemoveForm(this);
  FCanvas.reset();
  DestroyHandle();
  // Controls go while the form is still a form, so they can tell it.
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    delete child;
  }
  DestroyComponents();
}

void TCustomForm::AfterConstruction() {
  FormState.Exclude(fsCreating);
  FCreated = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) FMenu = nullptr;
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.ExStyle = 0;
  Params.WndParent = nullptr;
  TCustomForm* main = Application->GetMainForm();
  if (main && main != this && main->HandleAllocated()) Params.WndParent = main->GetHandle();
  if (FormState.Contains(fsModal) || Params.WndParent == nullptr) Params.ExStyle |= WS_EX_APPWINDOW;
  switch (FBorderStyle) {
  case bsNone:
    Params.Style |= WS_POPUP;
    break;
  case bsSingle:
  case bsToolWindow:
    Params.Style |= WS_CAPTION | WS_BORDER;
    break;
  case bsSizeable:
  case bsSizeToolWin:
    Params.Style |= WS_CAPTION | WS_THICKFRAME;
    break;
  case bsDialog:
    Params.Style |= WS_POPUP | WS_CAPTION;
    Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
    Params.Style |= WS_SYSMENU;
    if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
      if (FBorderIcons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    }
  }
  Params.WindowClass.style = CS_DBLCLKS;
  // The program's own icon when its resources have one.
  Params.WindowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  if (!Params.WindowClass.hIcon)
    Params.WindowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  MDICreateParams(Params);
}

TRect TCustomForm::GetClientRect() {
  if (FHandle) return TWinControl::GetClientRect();
  TCreateParams params;
  CreateParams(params);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, params.Style, FMenu != nullptr, params.ExStyle);
  return TRect(0, 0, FWidth - (frame.right - frame.left), FHeight - (frame.bottom - frame.top));
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FFormStyle == fsMDIForm) CreateClientWindow();
  if (FMenu) ::SetMenu(FHandle, FMenu->GetHandle());
  UpdateLayeredAttributes();
}

void TCustomForm::SetAlphaBlend(bool value) {
  if (value == FAlphaBlend) return;
  FAlphaBlend = value;
  UpdateLayeredAttributes();
}

void TCustomForm::SetAlphaBlendValue(BYTE value) {
  if (value == FAlphaBlendValue) return;
  FAlphaBlendValue = value;
  UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColor(bool value) {
  if (value == FTransparentColor) return;
  FTransparentColor = value;
  UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColorValue(TColor value) {
  if (value == FTransparentColorValue) return;
  FTransparentColorValue = value;
  UpdateLayeredAttributes();
}

// The layered style comes and goes with the settings; a window that never
// asked for it is left alone.
void TCustomForm::UpdateLayeredAttributes() {
  if (!FHandle) return;
  const LONG_PTR exStyle = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
  const bool layered = FAlphaBlend || FTransparentColor;
  if (!layered) {
    if (exStyle & WS_EX_LAYERED) SetWindowLongPtrA(FHandle, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    return;
  }
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrA(FHandle, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  const DWORD flags = (FAlphaBlend ? LWA_ALPHA : 0) | (FTransparentColor ? LWA_COLORKEY : 0);
  SetLayeredWindowAttributes(FHandle, ColorToRGB(FTransparentColorValue), FAlphaBlendValue, flags);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (value == FBorderIcons) return;
  FBorderIcons = value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (value == FFormStyle) return;
  auto isMDI = [](TFormStyle style) { return style == fsMDIChild || style == fsMDIForm; };
  const bool remake = isMDI(value) || isMDI(FFormStyle);
  FFormStyle = value;
  if (FHandle && remake)
    RecreateWnd();
  else if (FHandle)
    SetWindowPos(FHandle, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState value) {
  FWindowState = value;
  if (FHandle && FShowing)
    ShowWindow(FHandle, value == wsMinimized ? SW_MINIMIZE : value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetMenu(TMainMenu* value) {
  FMenu = value;
  if (value) value->FreeNotification(this);
  if (FHandle) ::SetMenu(FHandle, value ? value->GetHandle() : nullptr);
}

void TCustomForm::PaintWindow(HDC DC) {
  if (!OnPaint) return;
  static_cast<TControlCanvas*>(FCanvas.get())->PaintOn(DC, [this] {
    FCanvas->GetFont()->Assign(GetFont());
    FCanvas->GetBrush()->SetColor(GetColor());
    OnPaint(this);
  });
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FHandle) BringWindowToTop(FHandle);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  // An MDI child cannot hide: it goes to an icon when it may.
  TCloseAction action = FFormStyle != fsMDIChild            ? caHide
                        : FBorderIcons.Contains(biMinimize) ? caMinimize
                                                            : caNone;
  DoClose(action);
  if (action == caNone) return;
  if (Application->GetMainForm() == this) {
    Application->Terminate();
    Hide();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  // Posted, so the form outlives the handler that asked for this.
  PostMessageA(GetHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone)
    FModalResult = mrNone;
  else if (action == caFree)
    Release();
}

namespace {

struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableTaskWindow(HWND wnd, LPARAM data) {
  auto* d = reinterpret_cast<DisabledWindows*>(data);
  if (wnd != d->except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    d->list.push_back(wnd);
    EnableWindow(wnd, FALSE);
  }
  return TRUE;
}

} // namespace

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FormState.Contains(fsModal))
    throw EInvalidOperation("Cannot make a visible window modal");
  if (GetCapture()) SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FormState.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  DisabledWindows disabled{nullptr, {}};
  FModalResult = mrNone;
  try {
    HandleNeeded();
    disabled.except = FHandle;
    EnumThreadWindows(GetCurrentThreadId(), DisableTaskWindow, reinterpret_cast<LPARAM>(&disabled));
    Show();
    SendMessageA(FHandle, CM_ACTIVATE, 0, 0);
    do {
      Application->HandleMessage();
      if (Application->GetTerminated())
        FModalResult = mrCancel;
      else if (FModalResult != mrNone)
        CloseModal();
    } while (FModalResult == mrNone);
    SendMessageA(FHandle, CM_DEACTIVATE, 0, 0);
  } catch (...) {
    for (HWND wnd : disabled.list)
      EnableWindow(wnd, TRUE);
    FormState.Exclude(fsModal);
    Hide();
    throw;
  }
  for (HWND wnd : disabled.list)
    EnableWindow(wnd, TRUE);
  // Hidden while still modal: controls that lose the focus now can tell a
  // closing dialog from one that stays.
  Hide();
  if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
  FormState.Exclude(fsModal);
  return FModalResult;
}

void TCustomForm::ApplyPosition() {
  TRect area;
  switch (Position) {
  case poScreenCenter:
    area = Bounds(0, 0, Screen->GetWidth(), Screen->GetHeight());
    break;
  case poDesktopCenter:
    area = Screen->GetDesktopRect();
    break;
  case poMainFormCenter:
  case poOwnerFormCenter: {
    TCustomForm* center = Position == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(GetOwner()) : nullptr;
    if (!center) center = Application->GetMainForm();
    if (center && center != this && center->HandleAllocated())
      area = center->GetBoundsRect();
    else
      area = Bounds(0, 0, Screen->GetWidth(), Screen->GetHeight());
    break;
  }
  default:
    return;
  }
  int left = area.left + (area.Width() - FWidth) / 2;
  int top = area.top + (area.Height() - FHeight) / 2;
  // Keep the caption on the screen.
  TRect work = Screen->GetWorkAreaRect();
  left = std::max<int>(work.left, std::min<int>(left, work.right - FWidth));
  top = std::max<int>(work.top, std::min<int>(top, work.bottom - FHeight));
  SetBounds(left, top, FWidth, FHeight);
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (FShowing) {
    FormState.Include(fsShowing);
    try {
      DoShow();
    } catch (...) {
      FormState.Exclude(fsShowing);
      throw;
    }
    FormState.Exclude(fsShowing);
    if (!FormState.Contains(fsVisible)) ApplyPosition();
    FormState.Include(fsVisible);
    if (FFormStyle == fsMDIChild) return ShowMDIChild();
    ShowWindow(FHandle, FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                        : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                      : SW_SHOWNORMAL);
    SetForegroundWindow(FHandle);
    return;
  }
  FormState.Include(fsShowing);
  try {
    DoHide();
  } catch (...) {
    FormState.Exclude(fsShowing);
    throw;
  }
  FormState.Exclude(fsShowing);
  if (FHandle) ShowWindow(FHandle, SW_HIDE);
}

bool TCustomForm::CanFocus() {
  return FVisible && FEnabled;
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Control == FActiveControl) {
    if (FActive && Control) SetWindowFocus();
    return;
  }
  if (Control && !Control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (Control) Control->FreeNotification(this);
  if (FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (!FActive) {
    SetForegroundWindow(GetHandle());
    SetActiveWindow(GetHandle());
  }
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  // An MDI form gives the focus on to its active child.
  if (TCustomForm* child = GetActiveMDIChild()) return child->SetWindowFocus();
  HWND focus = FActiveControl && FActiveControl->CanFocus() ? FActiveControl->GetHandle() : GetHandle();
  if (::GetFocus() != focus) ::SetFocus(focus);
}

void TCustomForm::SetFocusedControl(TWinControl* Control) {
  FActiveControl = Control;
  if (Control == FFocusedControl) return;
  TWinControl* old = FFocusedControl;
  FFocusedControl = Control;
  Control->FreeNotification(this);
  // A form that goes has left the screen's list: the focus moving through
  // it as its windows are destroyed must not make it the active form again.
  if (FActive && !IsDestroying()) {
    Screen->FActiveForm = this;
    Screen->FActiveControl = Control;
  }
  // Every control the focus leaves hears of it, and every control it
  // enters: a control holding the focused one inside it enters and exits
  // with it.
  for (TWinControl* c = old; c && c != this && !c->ContainsControl(Control); c = c->GetParent())
    c->Perform(CM_EXIT);
  std::vector<TWinControl*> entered;
  for (TWinControl* c = Control; c && c != this && !(old && c->ContainsControl(old)); c = c->GetParent())
    entered.push_back(c);
  for (auto c = entered.rbegin(); c != entered.rend(); ++c)
    (*c)->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
}

void TCustomForm::ControlRemoved(TWinControl* Control) {
  if (FActiveControl && Control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
  if (FFocusedControl && Control->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
  if (Screen->FActiveControl && Control->ContainsControl(Screen->FActiveControl))
    Screen->FActiveControl = nullptr;
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::WMActivate(TMessage& Message) {
  const bool active = LOWORD(Message.WParam) != WA_INACTIVE;
  if (active == FActive) return;
  FActive = active;
  if (active) {
    TCustomForm* child = GetActiveMDIChild();
    Screen->FActiveForm = child ? child : this;
    if (!FActiveControl || !FActiveControl->CanFocus())
      FActiveControl = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
    Activate();
  } else {
    Deactivate();
  }
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(Message, handled);
  if (handled) return true;
  if (FMenu && FMenu->IsShortCut(Message)) return true;
  for (int i = 0; i < GetComponentCount(); ++i)
    if (auto* list = dynamic_cast<TCustomActionList*>(GetComponent(i)); list && list->IsShortCut(Message))
      return true;
  return false;
}

namespace {

void UpdateControlActions(TWinControl* parent) {
  for (int i = 0; i < parent->GetControlCount(); ++i) {
    TControl* c = parent->GetControl(i);
    if (!c->GetVisible() && !c->GetAction()) continue;
    c->InitiateAction();
    if (auto* w = dynamic_cast<TWinControl*>(c)) UpdateControlActions(w);
  }
}

} // namespace

void TCustomForm::UpdateActions() {
  UpdateControlActions(this);
  if (FMenu) FMenu->UpdateItems();
  for (int i = 0; i < GetComponentCount(); ++i)
    if (auto* popup = dynamic_cast<TPopupMenu*>(GetComponent(i))) popup->UpdateItems();
}

namespace {

// Offers the action to the shown controls of Parent, depth first; true at
// the first that takes it.
bool OfferActionToControls(TWinControl* Parent, const std::function<bool(TControl*)>& Offer) {
  if (!Parent->IsShowing()) return false;
  for (int i = 0; i < Parent->GetControlCount(); ++i) {
    TControl* c = Parent->GetControl(i);
    if (c->GetVisible() && Offer(c)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && OfferActionToControls(w, Offer)) return true;
  }
  return false;
}

} // namespace

// An action that neither its list nor its own handler took looks for a
// target here: the focused control first, then the form, then its shown
// controls. Result 1 when one took it.
void TCustomForm::CMAction(TMessage& Message) {
  if (!IsShowing()) return;
  auto* action = reinterpret_cast<TBasicAction*>(Message.LParam);
  const bool execute = Message.Msg == CM_ACTIONEXECUTE;
  auto offer = [&](TControl* c) {
    return c && (execute ? c->ExecuteAction(action) : c->UpdateAction(action));
  };
  if (offer(FActiveControl) || offer(this) || OfferActionToControls(this, offer)) Message.Result = 1;
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
        Message.Result = 1;
        return;
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (FActiveControl && FActiveControl->GetParent()) {
        FActiveControl->GetParent()->SelectNext(
            FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
        Message.Result = 1;
      }
      return;
    }
  }
  Broadcast(Message);
}

void TCustomForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ACTIVATE:
    return WMActivate(Message);
  case WM_MDIACTIVATE:
    return WMMDIActivate(Message);
  case WM_ACTIVATEAPP:
    // Every top-level window of the program hears it; the application
    // reports each change once.
    Application->AppActivated(Message.WParam != 0);
    break;
  case WM_CLOSE:
    Close();
    return;
  case CM_SHOWINGCHANGED:
    return CMShowingChanged(Message);
  case CM_DIALOGKEY:
    return CMDialogKey(Message);
  case CM_ACTIONEXECUTE:
  case CM_ACTIONUPDATE:
    return CMAction(Message);
  case CM_RELEASE:
    delete this;
    return;
  case CM_ACTIVATE:
  case CM_DEACTIVATE:
    return;
  case WM_SETFOCUS:
    // The form itself has the focus only when it has no control to give it.
    if (FActiveControl && FActiveControl != this && FActiveControl->CanFocus()) {
      SetWindowFocus();
      return;
    }
    break;
  case WM_QUERYENDSESSION:
    Message.Result = CloseQuery() ? 1 : 0;
    return;
  case WM_SIZE:
    DefaultHandler(Message);
    if (Message.WParam == SIZE_MINIMIZED)
      FWindowState = wsMinimized;
    else if (Message.WParam == SIZE_MAXIMIZED)
      FWindowState = wsMaximized;
    else if (Message.WParam == SIZE_RESTORED)
      FWindowState = wsNormal;
    return;
  }
  TWinControl::WndProc(Message);
}

// ---- TApplication ----

struct TApplication::SyncQueue {
  std::mutex lock;
  std::condition_variable done;
  std::deque<std::pair<const std::function<void()>*, bool*>> items;
};

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), FMainThreadId(GetCurrentThreadId()), FSync(std::make_unique<SyncQueue>()) {
  // The title is the program's file name without folder and extension.
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  Title = path;
  Title = Title.substr(Title.find_last_of("\\/") + 1);
  Title = Title.substr(0, Title.find_last_of('.'));
  SynchronizeHook = [this](const std::function<void()>& method) { Synchronize(method); };
}

TApplication::~TApplication() {
  SynchronizeHook = nullptr;
  DestroyComponents();
  if (FHandle) DeallocateHWnd(FHandle);
}

void TApplication::Initialize() {}

HWND TApplication::GetHandle() {
  if (!FHandle) FHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  return FHandle;
}

void TApplication::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NULL:
    CheckSynchronize();
    return;
  case WM_SYSCOLORCHANGE:
  case WM_SETTINGCHANGE:
    for (TCustomForm* form : std::vector<TCustomForm*>(Screen->FForms))
      form->Perform(Message.Msg == WM_SYSCOLORCHANGE ? CM_SYSCOLORCHANGE : CM_WININICHANGE, Message.WParam,
                    Message.LParam);
    break;
  }
  Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::AppActivated(bool active) {
  if (active == FActive) return;
  FActive = active;
  const TNotifyEvent& handler = active ? OnActivate : OnDeactivate;
  if (handler) handler(this);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
  if (Operation == opRemove && AComponent == FMouseControl) FMouseControl = nullptr;
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (FMainForm == Control) {
    // Its run is over: the next main form runs afresh, and modal loops in
    // between are not cut short.
    FMainForm = nullptr;
    FTerminated = false;
  }
}

void TApplication::Run() {
  FTerminated = false;
  GetHandle();
  if (FMainForm) FMainForm->SetVisible(true);
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() {
  FTerminated = true;
  // Wake the loop; a WM_QUIT would outlive this run and end the next one.
  PostMessageA(GetHandle(), WM_NULL, 0, 0);
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    wnd = msg.hwnd;
    while (wnd && !FindControl(wnd))
      wnd = ::GetParent(wnd);
    if (!wnd) return false;
  }
  return SendMessageA(wnd, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::IsDlgMsg(MSG& msg) {
  return DialogHandle && IsWindow(DialogHandle) && IsDialogMessageA(DialogHandle, &msg);
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  if (!handled && !IsKeyMsg(msg) && !IsDlgMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (msg.message == WM_MOUSEMOVE) DoMouseIdle();
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
  CheckSynchronize();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::DoMouseIdle() {
  TControl* control = FindDragTarget(Mouse->GetCursorPos(), true);
  if (control == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (FMouseControl) FMouseControl->Perform(CM_MOUSEENTER);
}

void TApplication::Idle(bool wait) {
  DoMouseIdle();
  bool done = true;
  try {
    if (OnIdle) OnIdle(this, done);
    if (done) {
      for (TCustomForm* form : std::vector<TCustomForm*>(Screen->FForms))
        if (form->HandleAllocated() && IsWindowVisible(form->GetHandle()) &&
            IsWindowEnabled(form->GetHandle()))
          form->UpdateActions();
    }
  } catch (...) {
    HandleException(this);
  }
  if (CheckSynchronize()) done = false;
  if (done && wait) WaitMessage();
}

void TApplication::Synchronize(const std::function<void()>& method) {
  if (GetCurrentThreadId() == FMainThreadId) {
    method();
    return;
  }
  bool finished = false;
  std::unique_lock<std::mutex> lock(FSync->lock);
  FSync->items.emplace_back(&method, &finished);
  // Wakes the loop from WaitMessage; the idle step runs the queue.
  PostThreadMessageA(FMainThreadId, WM_NULL, 0, 0);
  FSync->done.wait(lock, [&] { return finished; });
}

bool TApplication::CheckSynchronize() {
  bool ran = false;
  for (;;) {
    std::unique_lock<std::mutex> lock(FSync->lock);
    if (FSync->items.empty()) return ran;
    auto [method, finished] = FSync->items.front();
    FSync->items.pop_front();
    lock.unlock();
    try {
      (*method)();
    } catch (...) {
      HandleException(this);
    }
    lock.lock();
    *finished = true;
    FSync->done.notify_all();
    ran = true;
  }
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (EAbort&) {
  } catch (Exception& e) {
    if (OnException)
      OnException(Sender, &e);
    else
      ShowException(e);
  } catch (std::exception& e) {
    Exception wrapped(e.what());
    if (OnException)
      OnException(Sender, &wrapped);
    else
      ShowException(wrapped);
  } catch (...) {
    Exception wrapped("Unknown exception");
    if (OnException)
      OnException(Sender, &wrapped);
    else
      ShowException(wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  String text = E.Message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  MessageBox(text, Title, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  HWND owner = GetActiveWindow();
  if (!owner && FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->GetHandle();
  return MessageBoxA(owner, Text.c_str(), Caption.c_str(), Flags);
}

namespace {

BOOL CALLBACK CollectTopMost(HWND wnd, LPARAM data) {
  auto* list = reinterpret_cast<std::vector<HWND>*>(data);
  if (IsWindowVisible(wnd) && (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) list->push_back(wnd);
  return TRUE;
}

} // namespace

void TApplication::NormalizeTopMosts() {
  if (FTopMostLevel++ > 0) return;
  FTopMosts.clear();
  EnumThreadWindows(GetCurrentThreadId(), CollectTopMost, reinterpret_cast<LPARAM>(&FTopMosts));
  for (HWND wnd : FTopMosts)
    SetWindowPos(wnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TApplication::RestoreTopMosts() {
  if (FTopMostLevel == 0 || --FTopMostLevel > 0) return;
  for (HWND wnd : FTopMosts)
    if (IsWindow(wnd)) SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FTopMosts.clear();
}
