#include "GuiTest.h"

#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace guitest {

namespace {

// A mouse event at a screen point: button events carry the position too, or
// Wine may press where the pointer was before.
INPUT MouseInputAt(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (screen.x * 65536 + width - 1) / width;
  input.mi.dy = (screen.y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  return input;
}

void KeyEvent(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

struct PendingAnswer {
  std::function<void(HWND)> action;
  std::set<HWND> before;
  DWORD deadline = 0;
  UINT_PTR timer = 0;
};

PendingAnswer* Pending = nullptr;

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM data) {
  reinterpret_cast<std::set<HWND>*>(data)->insert(wnd);
  return TRUE;
}

std::set<HWND> ThreadWindows() {
  std::set<HWND> list;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&list));
  return list;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!Pending) return;
  // The new window that is visible, enabled and owns the input.
  HWND candidate = nullptr;
  for (HWND wnd : ThreadWindows()) {
    if (Pending->before.count(wnd) || !IsWindowVisible(wnd) || !IsWindowEnabled(wnd)) continue;
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof(cls));
    if (String(cls) == "TPUtilWindow") continue;
    candidate = wnd;
    if (wnd == GetActiveWindow()) break;
  }
  if (!candidate && GetTickCount() < Pending->deadline) return;
  std::unique_ptr<PendingAnswer> answer(Pending);
  Pending = nullptr;
  KillTimer(nullptr, answer->timer);
  if (!candidate) return;
  answer->action(candidate);
  // A check that failed inside the answer can leave the window open, and the
  // test would wait for it until it is killed: close it, so the test ends
  // and reports.
  if (testing::Test::HasFailure() && IsWindow(candidate) && IsWindowVisible(candidate)) {
    if (auto* form = dynamic_cast<TCustomForm*>(FindControl(candidate)))
      form->SetModalResult(mrCancel);
    else
      PostMessageA(candidate, WM_CLOSE, 0, 0);
  }
}

} // namespace

void PressKey(WORD vk, int modifiers) {
  if (modifiers & kCtrl) KeyEvent(VK_CONTROL, false);
  if (modifiers & kShift) KeyEvent(VK_SHIFT, false);
  if (modifiers & kAlt) KeyEvent(VK_MENU, false);
  KeyEvent(vk, false);
  KeyEvent(vk, true);
  if (modifiers & kAlt) KeyEvent(VK_MENU, true);
  if (modifiers & kShift) KeyEvent(VK_SHIFT, true);
  if (modifiers & kCtrl) KeyEvent(VK_CONTROL, true);
}

void KeyDown(WORD vk) {
  KeyEvent(vk, false);
}

void KeyUp(WORD vk) {
  KeyEvent(vk, true);
}

void TypeText(const String& text) {
  for (char c : text) {
    const SHORT scan = VkKeyScanA(c);
    if (scan == -1) continue;
    int modifiers = kNone;
    if (scan & 0x100) modifiers |= kShift;
    if (scan & 0x200) modifiers |= kCtrl;
    if (scan & 0x400) modifiers |= kAlt;
    PressKey(static_cast<WORD>(scan & 0xFF), modifiers);
  }
}

void ClickAt(HWND wnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  // The pointer is where the click goes, and the window is there to get it,
  // before the buttons go down: X delivers input on its own time.
  SetCursorPos(p.x, p.y);
  bool ready = PumpUntil(
      [&] {
        POINT now;
        GetCursorPos(&now);
        HWND under = WindowFromPoint(p);
        return now.x == p.x && now.y == p.y && (under == wnd || IsChild(wnd, under));
      },
      1000);
  if (!ready) {
    POINT now;
    GetCursorPos(&now);
    char cls[64] = {};
    GetClassNameA(WindowFromPoint(p), cls, sizeof(cls));
    fprintf(stderr, "ClickAt: not ready: cursor %ld,%ld want %ld,%ld under %s\n", now.x, now.y, p.x, p.y,
            cls);
  }
  // Motion the X server still delivers would move a list box's selection
  // while its button is down.
  PumpFor(50);
  INPUT input[3] = {MouseInputAt(p, 0), MouseInputAt(p, MOUSEEVENTF_LEFTDOWN),
                    MouseInputAt(p, MOUSEEVENTF_LEFTUP)};
  SendInput(3, input, sizeof(INPUT));
}

void MouseEventAt(HWND wnd, int x, int y, DWORD flags) {
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  SetCursorPos(p.x, p.y);
  PumpUntil(
      [&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
      },
      1000);
  PumpFor(30);
  SendMouseAt(p, flags);
  PumpFor(30);
}

void SendMouseAt(POINT screen, DWORD flags) {
  INPUT input = MouseInputAt(screen, flags);
  SendInput(1, &input, sizeof(INPUT));
}

namespace {

DWORD DownFlag(MouseButton button) {
  static constexpr DWORD kDown[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
  return kDown[button];
}

DWORD UpFlag(MouseButton button) {
  static constexpr DWORD kUp[] = {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEUP};
  return kUp[button];
}

void Modifiers(int modifiers, bool up) {
  if (modifiers & kCtrl) KeyEvent(VK_CONTROL, up);
  if (modifiers & kShift) KeyEvent(VK_SHIFT, up);
  if (modifiers & kAlt) KeyEvent(VK_MENU, up);
}

} // namespace

void DoubleClickAt(HWND wnd, int x, int y, MouseButton button) {
  MouseEventAt(wnd, x, y);
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  INPUT input[4] = {MouseInputAt(p, DownFlag(button)), MouseInputAt(p, UpFlag(button)),
                    MouseInputAt(p, DownFlag(button)), MouseInputAt(p, UpFlag(button))};
  SendInput(4, input, sizeof(INPUT));
  PumpFor(50);
}

void DragAt(HWND wnd, POINT from, POINT to, int modifiers, MouseButton button) {
  Modifiers(modifiers, false);
  MouseEventAt(wnd, from.x, from.y, DownFlag(button));
  constexpr int kSteps = 5;
  for (int i = 1; i <= kSteps; ++i)
    MouseEventAt(wnd, from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps);
  MouseEventAt(wnd, to.x, to.y, UpFlag(button));
  Modifiers(modifiers, true);
}

void WheelAt(HWND wnd, int x, int y, int delta) {
  MouseEventAt(wnd, x, y);
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  INPUT input = MouseInputAt(p, MOUSEEVENTF_WHEEL);
  input.mi.mouseData = static_cast<DWORD>(delta);
  SendInput(1, &input, sizeof(INPUT));
  PumpFor(30);
}

void ClickControl(TControl* control) {
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    ClickAt(w->GetHandle(), w->GetWidth() / 2, w->GetHeight() / 2);
    return;
  }
  ClickAt(control->GetParent()->GetHandle(), control->GetLeft() + control->GetWidth() / 2,
          control->GetTop() + control->GetHeight() / 2);
}

void AnswerNextModal(std::function<void(HWND)> action, int timeoutMs) {
  delete Pending;
  Pending = new PendingAnswer;
  Pending->action = std::move(action);
  // Only the windows on show count as old: a dialog that was created earlier
  // and is hidden now is new when it appears.
  for (HWND wnd : ThreadWindows())
    if (IsWindowVisible(wnd)) Pending->before.insert(wnd);
  Pending->deadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
  Pending->timer = SetTimer(nullptr, 0, 50, AnswerTimer);
}

void AnswerNextForm(std::function<void(TCustomForm*)> action, int timeoutMs) {
  AnswerNextModal(
      [action = std::move(action)](HWND wnd) {
        if (auto* form = dynamic_cast<TCustomForm*>(FindControl(wnd))) action(form);
      },
      timeoutMs);
}

void AnswerMessageBox(int buttonId) {
  AnswerNextModal([buttonId](HWND wnd) { PostMessageA(wnd, WM_COMMAND, static_cast<WPARAM>(buttonId), 0); });
}

bool AnswerPending() {
  return Pending != nullptr;
}

String DialogText(HWND dialog) {
  char text[1024] = {};
  // A message box shows its text in the static control with id 0xFFFF.
  GetDlgItemTextA(dialog, 0xFFFF, text, sizeof(text));
  return text;
}

String MessageText(TCustomForm* form) {
  String text;
  for (int i = 0; i < form->GetControlCount(); ++i)
    if (auto* label = dynamic_cast<TLabel*>(form->GetControl(i))) text = label->GetCaption();
  return text;
}

TExceptionCapture::TExceptionCapture() : FOld(Application->OnException) {
  Application->OnException = [this](TObject*, Exception* e) { Messages.push_back(e->Message); };
}

TExceptionCapture::~TExceptionCapture() {
  Application->OnException = FOld;
}

} // namespace guitest
