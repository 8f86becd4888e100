// The hooks of the GUI thread. Bar windows never take the focus and the
// forms know nothing of them: the keyboard hook turns keys into menu
// navigation, shortcuts, accelerators and Alt or F10 on the main menu; the
// mouse hook closes the open menus on presses elsewhere; the
// call-window-proc hook hands a form's messages to its manager.
#include "dxBar.h"

#include "dxBarAnimation.h"
#include "dxBarCommon.h"
#include "dxBarCustForm.h"
#include "dxBarPopup.h"

#include "Forms.h"

namespace {

HHOOK gKeyboardHook = nullptr;
HHOOK gMouseHook = nullptr;
HHOOK gCallWndProcHook = nullptr;
bool gInCallWndProc = false;
bool gInMouseHook = false;

// Alt went down and no other key since.
bool gAltPressed = false;
// The key-up of this key is dropped: its key-down went to a bar window.
bool gSwallowKeyUp = false;
WPARAM gSwallowKey = 0;
// An in-place editor calls the keyboard procedure itself.
bool gForwardingKey = false;
// The key whose key-down the hook is handing to a bar window, 0 for none.
WPARAM gDeliveringKey = 0;

// A hook runs inside the system's message retrieval: no exception may
// leave it, not even one of the application's exception handler.
void ReportHookException() {
  try {
    Application->HandleException(nullptr);
  } catch (...) {
  }
}

constexpr int kShiftBit = 1, kAltBit = 2, kCtrlBit = 4;

// The held modifiers: Shift 1, Alt 2, Ctrl 4. They are read as the thread's
// key messages left them, not asynchronously: input that arrives quickly
// can find the system's asynchronous state a step behind the messages.
int GetShiftKeys() {
  return (GetKeyState(VK_SHIFT) < 0 ? kShiftBit : 0) | (GetKeyState(VK_MENU) < 0 ? kAltBit : 0) |
         (GetKeyState(VK_CONTROL) < 0 ? kCtrlBit : 0);
}

// Some key other than Key is held. The hook sees the keyboard state as it
// was before its own message, so Key itself (with its left and right forms)
// does not count.
bool AnyOtherKeyDown(WPARAM Key) {
  BYTE state[256];
  if (!GetKeyboardState(state)) return false;
  for (int key = 0; key < 256; ++key) {
    if (!(state[key] & 0x80) || key == static_cast<int>(Key)) continue;
    if (Key == VK_MENU && (key == VK_LMENU || key == VK_RMENU)) continue;
    return true;
  }
  return false;
}

bool IsKeyUp(LPARAM KeyData) {
  return (static_cast<DWORD>(KeyData) & 0x80000000u) != 0;
}

TdxBarManager* ManagerOfFormWindow(HWND Wnd) {
  auto* form = dynamic_cast<TCustomForm*>(FindControl(Wnd));
  return form ? GetBarManagerOfForm(form) : nullptr;
}

TCustomdxBarControl* BarControlOfWindow(HWND Wnd) {
  return dynamic_cast<TCustomdxBarControl*>(FindControl(Wnd));
}

// The popup-menu links of the manager of the focused control's form, with
// that control (the focused window's nearest control of the class library).
TdxBarPopupMenuLinks* GetFocusedPopupMenuLinks(TWinControl*& Control) {
  Control = dynamic_cast<TWinControl*>(FindControlOrParent(GetFocus()));
  TCustomForm* form = Control ? GetParentForm(Control) : nullptr;
  TdxBarManager* manager = form ? GetBarManagerOfForm(form) : nullptr;
  return manager ? manager->GetPopupMenuLinks() : nullptr;
}

// ---- Keys ----

// The managers a key typed in the active form speaks to: the form's own,
// and the one whose accelerators and main menu answer.
struct TKeyManagers {
  TdxBarManager* Form = nullptr;
  TdxBarManager* Accel = nullptr;
};

TKeyManagers ChooseKeyManagers() {
  TKeyManagers result;
  HWND active = GetActiveWindow();
  auto* form = dynamic_cast<TCustomForm*>(FindControl(active));
  if (!form || !IsWindowEnabled(active)) return result;
  // The MDI parent speaks for its active child, whose keys the main form's
  // menu answers too.
  if (form->GetFormStyle() == fsMDIForm)
    if (TCustomForm* child = form->GetActiveMDIChild()) form = child;
  // The manager of a form inside another form serves it.
  result.Form = GetBarManagerOfForm(form);
  if (!result.Form)
    if (HWND parent = GetParent(form->GetHandle())) result.Form = ManagerOfFormWindow(parent);
  result.Accel = result.Form;
  TCustomForm* main = Application->GetMainForm();
  TdxBarManager* mainManager = main && main != form ? GetBarManagerOfForm(main) : nullptr;
  if (form->GetFormStyle() == fsMDIChild && mainManager)
    result.Accel = mainManager;
  else if (!result.Accel && mainManager && mainManager->AllowCallFromAnotherForm && main->HandleAllocated() &&
           IsWindowEnabled(main->GetHandle()))
    result.Accel = mainManager;
  if (!result.Form) result.Form = result.Accel;
  return result;
}

// The main menu bar, then every other visible bar, finds and clicks the item
// with the shortcut.
bool FindShortCutInBars(TdxBarManager* Manager, TShortCut ShortCut) {
  TdxBar* mainMenu = Manager->GetMainMenuBar();
  if (mainMenu && mainMenu->IsShortCut(ShortCut)) return true;
  TdxBars* bars = Manager->GetBars();
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (bar != mainMenu && bar->GetVisible() && bar->IsShortCut(ShortCut)) return true;
  }
  return false;
}

bool ProcessShortCut(const TKeyManagers& Managers, WPARAM Key) {
  const int shift = GetShiftKeys();
  TShortCut shortCut = static_cast<TShortCut>(Key & 0xFF);
  if (shift & kShiftBit) shortCut |= scShift;
  if (shift & kCtrlBit) shortCut |= scCtrl;
  if (shift & kAltBit) shortCut |= scAlt;
  TWinControl* focused = nullptr;
  if (TdxBarPopupMenuLinks* links = GetFocusedPopupMenuLinks(focused); links && links->IsShortCut(focused, shortCut))
    return true;
  if (FindShortCutInBars(Managers.Accel, shortCut)) return true;
  return Managers.Form != Managers.Accel && Managers.Form && FindShortCutInBars(Managers.Form, shortCut);
}

TdxBarItemLink* FindAcceleratorInBars(TdxBarManager* Manager, WORD Key, TShiftState Shift) {
  TdxBar* mainMenu = Manager->GetMainMenuBar();
  if (mainMenu)
    if (TdxBarItemLink* link = mainMenu->GetItemLinks()->FindAcceleratorLink(Key, Shift, nullptr)) return link;
  TdxBars* bars = Manager->GetBars();
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    if (bar == mainMenu || !bar->GetVisible()) continue;
    if (TdxBarItemLink* link = bar->GetItemLinks()->FindAcceleratorLink(Key, Shift, nullptr)) return link;
  }
  return nullptr;
}

// Shortcuts first; then, with Alt held, the accelerators of the bars.
bool ProcessMenuKey(const TKeyManagers& Managers, WPARAM Key) {
  if (ProcessShortCut(Managers, Key)) return true;
  const int keys = GetShiftKeys();
  if (!(keys & kAltBit)) return false;
  TShiftState shift;
  if (keys & kShiftBit) shift.Include(ssShift);
  if (keys & kCtrlBit) shift.Include(ssCtrl);
  const WORD key = static_cast<WORD>(Key);
  TdxBarItemLink* link = FindAcceleratorInBars(Managers.Accel, key, shift);
  if (!link && Managers.Form && Managers.Form != Managers.Accel)
    link = FindAcceleratorInBars(Managers.Form, key, shift);
  if (!link || !link->GetItem() || !link->GetItem()->GetEnabled()) return false;
  auto* window = dynamic_cast<TdxBarControl*>(link->GetBarControl());
  TdxBarItemControl* control = link->GetControl();
  if (!window || !control) return false;
  const bool unique = link->GetLinks()->FindAcceleratorLink(key, shift, link) == link;
  if (!(control->ClosesMenusOnClick() && unique)) {
    window->EnterKeyboardMode(control);
    if (!IsBarControlAlive(window) || !window->IsControlOfWindow(control)) return true;
  }
  if (unique) {
    // A sub item opens its menu as from the keyboard: with its first entry
    // selected.
    if (control->HasSubMenu()) window->SetMenuMode(true);
    control->Click(false);
  }
  return true;
}

// Whether the selected control of the window edits in its own window, which
// then takes the keys.
bool SelectedControlIsEditing(TCustomdxBarControl* Window) {
  const TdxBarItemControl* selected = Window->GetSelectedControl();
  return selected && selected->GetFocused();
}

// Whether the manager tears a menu off into a floating bar.
bool IsTearingOffMenu(TdxBarManager* Manager) {
  return Manager->GetDragging();
}

// The keyboard hook's decision: true consumes the key.
bool ProcessKey(int Code, WPARAM Key, LPARAM KeyData) {
  // A caption button of the main menu held with the mouse takes every key.
  if (TdxBarControl::GetHeldCaptionButton() >= 0) return true;
  if (Code < 0 || Key == VK_PROCESSKEY) return false;
  const bool keyUp = IsKeyUp(KeyData);
  if (gSwallowKeyUp && gSwallowKey == Key) {
    gSwallowKeyUp = false;
    if (keyUp) return true;
    // A fresh press of the key (not a repeat): its last key-up went
    // elsewhere, and this one is not to be dropped for it.
    if (KeyData & 0x40000000) gSwallowKeyUp = true;
  }

  TCustomdxBarControl* active = ActiveBarControl();
  if (active && !IsTearingOffMenu(active->GetBarManager())) {
    if (!active->IsCustomizing()) {
      if (!SelectedControlIsEditing(active)) {
        if (!keyUp) {
          gSwallowKeyUp = true;
          gSwallowKey = Key;
        }
        if (active->HandleAllocated()) {
          const WPARAM old = gDeliveringKey;
          gDeliveringKey = keyUp ? 0 : Key;
          try {
            SendMessageA(active->GetHandle(), keyUp ? WM_KEYUP : WM_KEYDOWN, Key, KeyData);
          } catch (...) {
            gDeliveringKey = old;
            throw;
          }
          gDeliveringKey = old;
        }
        // Only the key-up of a key whose key-down closed every menu is
        // dropped by the flag; an open menu takes it as it took the key-down.
        // (A key-up that a loop run by the key-down met came through this
        // hook and cleared the flag already.)
        if (ActiveBarControl()) gSwallowKeyUp = false;
        return true;
      }
    }
    // A customizing drag armed by a press ends with Esc.
    if (active->IsCustomizing() && Key == VK_ESCAPE && active->HandleAllocated() &&
        GetCapture() == active->GetHandle()) {
      ReleaseCapture();
      return true;
    }
  }

  if (GetCapture()) return false;

  // The context-menu key and Shift+F10 open a popup-menu link's menu.
  if ((Key == VK_APPS && keyUp) || (Key == VK_F10 && !keyUp && GetShiftKeys() == kShiftBit)) {
    TWinControl* focused = nullptr;
    TdxBarPopupLoopDeferral deferral;
    if (TdxBarPopupMenuLinks* links = GetFocusedPopupMenuLinks(focused);
        links && links->ProcessPopup(focused, GetFocus(), POINT{-1, -1}))
      return true;
  }

  const TKeyManagers managers = ChooseKeyManagers();
  TdxBarManager* manager = managers.Accel;
  if (!manager || manager->IsCustomizing() || manager->KeyboardBarControl) return false;
  if (keyUp) {
    TdxBar* mainMenu = manager->GetMainMenuBar();
    TdxBarControl* menuWindow = mainMenu ? mainMenu->GetBarControl() : nullptr;
    const bool alt = Key == VK_MENU && gAltPressed && !AnyOtherKeyDown(Key);
    const bool f10 = manager->UseF10ForMenu && Key == VK_F10 && GetShiftKeys() == 0;
    gAltPressed = false;
    if (menuWindow && (alt || f10)) {
      menuWindow->EnterKeyboardMode(nullptr);
      return true;
    }
    return false;
  }
  if (Key == VK_MENU) {
    gAltPressed = true;
    return false;
  }
  gAltPressed = false;
  return ProcessMenuKey(managers, Key);
}

LRESULT CALLBACK KeyboardHook(int Code, WPARAM Key, LPARAM KeyData) {
  const bool forwarding = gForwardingKey;
  bool consumed = false;
  try {
    consumed = ProcessKey(Code, Key, KeyData);
  } catch (...) {
    ReportHookException();
  }
  if (forwarding) return consumed ? 1 : 0;
  const LRESULT next = CallNextHookEx(gKeyboardHook, Code, Key, KeyData);
  return consumed ? 1 : next;
}

// ---- The mouse ----

// The item control under the pointer, none off the bar windows.
TdxBarItemControl* GetItemControlAtMouse(POINT ScreenPoint) {
  TCustomdxBarControl* window = BarControlOfWindow(WindowFromPoint(ScreenPoint));
  if (!window) return nullptr;
  POINT client = ScreenPoint;
  ScreenToClient(window->GetHandle(), &client);
  return window->ControlAtPos(client);
}

// The pointer is over an active bar window or a child window of one.
bool IsMouseInActiveBars(POINT ScreenPoint) {
  HWND under = WindowFromPoint(ScreenPoint);
  if (!under) return false;
  for (TCustomdxBarControl* window = ActiveBarControl(); window; window = window->ParentBarControl) {
    if (!window->HandleAllocated()) continue;
    if (under == window->GetHandle() || GetParent(under) == window->GetHandle()) return true;
  }
  // The open drop-down of the active window's combo control.
  const TCustomdxBarControl* active = ActiveBarControl();
  const TdxBarItemControl* selected = active ? active->GetSelectedControl() : nullptr;
  HWND dropDown = selected ? selected->GetDroppedDownWnd() : nullptr;
  return dropDown && (under == dropDown || IsChild(dropDown, under));
}

bool IsRightOrMiddleUp(WPARAM Msg) {
  return Msg == WM_RBUTTONUP || Msg == WM_NCRBUTTONUP || Msg == WM_MBUTTONUP || Msg == WM_NCMBUTTONUP;
}

bool IsButtonDown(WPARAM Msg) {
  switch (Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONDBLCLK:
  case WM_NCRBUTTONDOWN:
  case WM_NCRBUTTONDBLCLK:
  case WM_NCMBUTTONDOWN:
  case WM_NCMBUTTONDBLCLK:
    return true;
  }
  return false;
}

// Closes the open menus a press outside them concerns: true consumes the
// message.
bool CloseMenusOnMouse(WPARAM Msg, const MOUSEHOOKSTRUCT& Data) {
  const POINT pt = Data.pt;
  if (IsRightOrMiddleUp(Msg) && !GetItemControlAtMouse(pt) && !IsMouseInActiveBars(pt)) return true;
  // A manager dragging in customizing mode keeps its menus.
  if (ActiveBarControl() && ActiveBarControl()->GetBarManager()->GetDragging()) return false;
  while (TCustomdxBarControl* active = ActiveBarControl()) {
    bool test = IsButtonDown(Msg);
    if (Msg == WM_LBUTTONUP || Msg == WM_NCLBUTTONUP)
      test = !GetItemControlAtMouse(pt) && !AnimatedMenu() && !active->IsCustomizing() &&
             (dynamic_cast<TdxBarControl*>(active) || active->ParentBarControl);
    if (!test || IsMouseInActiveBars(pt)) break;
    active->Deactivate();
  }
  return Data.hwnd && !IsWindowVisible(Data.hwnd);
}

// While the customizing dialog has disabled the forms, the bar windows of
// the customizing manager still take the mouse: a message for a disabled
// form over one of them goes to that bar window.
bool RedirectToBarWindow(WPARAM Msg, const MOUSEHOOKSTRUCT& Data) {
  auto* form = dynamic_cast<TCustomForm*>(FindControl(Data.hwnd));
  if (!form || Data.wHitTestCode != static_cast<UINT>(HTERROR)) return false;
  TdxBarManager* manager = GetBarManagerOfForm(form);
  if (!manager || !manager->IsCustomizing()) manager = dxBarManagerList()->GetCustomizingManager();
  HWND dialog = ActiveCustomizingFormHandle();
  if (!manager || !manager->GetCustomizing() || !dialog || GetActiveWindow() != dialog) return false;
  TdxBarControl* window = nullptr;
  for (int i = 0; i < manager->GetBars()->GetCount() && !window; ++i) {
    TdxBarControl* barWindow = manager->GetBars()->GetItem(i)->GetBarControl();
    RECT r;
    if (barWindow && barWindow->HandleAllocated() && GetWindowRect(barWindow->GetHandle(), &r) &&
        PtInRect(&r, Data.pt))
      window = barWindow;
  }
  if (!window) return false;
  HWND wnd = window->GetHandle();
  const LRESULT hit = SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(Data.pt.x, Data.pt.y));
  SendMessageA(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(hit, Msg));
  UINT msg = static_cast<UINT>(Msg);
  if (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) msg += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
  if (msg != WM_MOUSEMOVE) SetForegroundWindow(dialog);
  POINT p = Data.pt;
  ScreenToClient(wnd, &p);
  WPARAM keys = 0;
  const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  if (GetKeyState(swapped ? VK_RBUTTON : VK_LBUTTON) < 0) keys |= MK_LBUTTON;
  if (GetKeyState(swapped ? VK_LBUTTON : VK_RBUTTON) < 0) keys |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  SendMessageA(wnd, msg, keys, MAKELPARAM(p.x, p.y));
  return true;
}

// Customizing an MDI child's bars: a client message for the frame where its
// client area shows that child counts as one for the disabled child, so the
// child's bar windows take it.
void RedirectToCustomizedMDIChild(WPARAM& Msg, MOUSEHOOKSTRUCT& Data) {
  TdxBarCustomizingForm* dialog = ActiveCustomizingForm();
  TdxBarManager* manager = dialog ? dialog->GetBarManager() : nullptr;
  TCustomForm* child = manager ? manager->GetOwnerForm() : nullptr;
  if (!child || child->GetFormStyle() != fsMDIChild || manager->GetDesigning() || !child->HandleAllocated())
    return;
  auto* control = dynamic_cast<TWinControl*>(FindControlOrParent(Data.hwnd));
  TCustomForm* frame = control ? GetParentForm(control) : nullptr;
  if (!frame || frame->GetFormStyle() != fsMDIForm || !frame->GetClientHandle()) return;
  POINT p = Data.pt;
  ScreenToClient(frame->GetClientHandle(), &p);
  if (ChildWindowFromPointEx(frame->GetClientHandle(), p, CWP_SKIPINVISIBLE) != child->GetHandle()) return;
  if (Msg >= WM_MOUSEMOVE && Msg <= WM_MBUTTONDBLCLK) Msg -= WM_MOUSEMOVE - WM_NCMOUSEMOVE;
  Data.hwnd = child->GetHandle();
  Data.wHitTestCode = static_cast<UINT>(HTERROR);
}

bool ProcessMouse(int Code, WPARAM Msg, MOUSEHOOKSTRUCT Data) {
  if (Code < 0) return false;
  RedirectToCustomizedMDIChild(Msg, Data);
  if (ActiveBarControl() && !gInMouseHook) {
    gInMouseHook = true;
    bool consumed = false;
    try {
      consumed = CloseMenusOnMouse(Msg, Data);
    } catch (...) {
      gInMouseHook = false;
      throw;
    }
    gInMouseHook = false;
    if (consumed) return true;
  }
  QuickControlMouseHook(static_cast<UINT>(Msg), Data.pt);
  if (RedirectToBarWindow(Msg, Data)) return true;
  // Right releases go to the popup-menu links of the control under the
  // pointer.
  if (Msg != WM_RBUTTONUP && Msg != WM_NCRBUTTONUP) return false;
  auto* control = dynamic_cast<TWinControl*>(FindControlOrParent(Data.hwnd));
  TCustomForm* form = control ? GetParentForm(control) : nullptr;
  TdxBarManager* manager = form ? GetBarManagerOfForm(form) : nullptr;
  TdxBarPopupLoopDeferral deferral;
  return manager && manager->GetPopupMenuLinks()->ProcessPopup(control, Data.hwnd, Data.pt);
}

LRESULT CALLBACK MouseHook(int Code, WPARAM Msg, LPARAM Data) {
  bool consumed = false;
  try {
    consumed = ProcessMouse(Code, Msg, *reinterpret_cast<const MOUSEHOOKSTRUCT*>(Data));
  } catch (...) {
    ReportHookException();
  }
  const LRESULT next = CallNextHookEx(gMouseHook, Code, Msg, Data);
  return consumed ? 1 : next;
}

// ---- A form's messages ----

// The customizing dialog shows and hides with an MDI main form, also when
// it customizes a child's bars.
void TellCustomizingFormOfMDIFrame(const CWPSTRUCT& Message) {
  if (Message.message != WM_WINDOWPOSCHANGED) return;
  TCustomForm* main = Application->GetMainForm();
  if (!main || main->GetFormStyle() != fsMDIForm || !main->HandleAllocated() || main->GetHandle() != Message.hwnd)
    return;
  if (TdxBarCustomizingForm* dialog = ActiveCustomizingForm())
    dialog->OwnerWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(Message.lParam));
}

void PassToManager(const CWPSTRUCT& Message) {
  TellCustomizingFormOfMDIFrame(Message);
  if (TdxBarManager* manager = ManagerOfFormWindow(Message.hwnd)) {
    manager->FormMessage(Message.message, Message.wParam, Message.lParam);
    return;
  }
  // The activation of a window the form owns counts as the form's.
  if (Message.message != WM_ACTIVATE || BarControlOfWindow(Message.hwnd)) return;
  HWND parent = GetParent(Message.hwnd);
  if (!parent || !IsWindowVisible(parent)) return;
  if (TdxBarManager* manager = ManagerOfFormWindow(parent))
    manager->FormMessage(Message.message, Message.wParam, Message.lParam);
}

LRESULT CALLBACK CallWndProcHook(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && !gInCallWndProc) {
    gInCallWndProc = true;
    try {
      PassToManager(*reinterpret_cast<const CWPSTRUCT*>(LParam));
    } catch (...) {
      ReportHookException();
    }
    gInCallWndProc = false;
  }
  const LRESULT result = CallNextHookEx(gCallWndProcHook, Code, WParam, LParam);
  if (Code == HC_ACTION) try {
      MDIChildMessage(*reinterpret_cast<const CWPSTRUCT*>(LParam));
    } catch (...) {
      ReportHookException();
    }
  return result;
}

} // namespace

void InstallBarHooks() {
  const DWORD thread = GetCurrentThreadId();
  if (!gKeyboardHook) gKeyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHook, nullptr, thread);
  if (!gMouseHook) gMouseHook = SetWindowsHookExA(WH_MOUSE, MouseHook, nullptr, thread);
  if (!gCallWndProcHook)
    gCallWndProcHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProcHook, nullptr, thread);
}

void RemoveBarHooks() {
  for (HHOOK* hook : {&gCallWndProcHook, &gMouseHook, &gKeyboardHook}) {
    if (*hook) UnhookWindowsHookEx(*hook);
    *hook = nullptr;
  }
  gAltPressed = false;
  gSwallowKeyUp = false;
}

bool BarHooksInstalled() {
  return gKeyboardHook && gMouseHook && gCallWndProcHook;
}

bool IsBarKeyDown(int Key) {
  return GetKeyState(Key) < 0 || (gDeliveringKey && gDeliveringKey == static_cast<WPARAM>(Key));
}

LRESULT ForwardKeyToBarHooks(WPARAM Key, LPARAM KeyData) {
  const bool old = gForwardingKey;
  gForwardingKey = true;
  // The editor kept Alt from the hook: its release alone opens the menu.
  if (Key == VK_MENU && IsKeyUp(KeyData)) gAltPressed = true;
  const LRESULT result = KeyboardHook(0, Key, KeyData);
  gForwardingKey = old;
  return result;
}
