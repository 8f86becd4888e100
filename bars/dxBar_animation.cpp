// Menu animation. The GUI thread takes the menu's finished picture into
// memory and starts one worker thread that grows the window step by step,
// copying the picture's part that the window shows; the GUI thread keeps
// serving messages meanwhile (the worker's window calls send it some) and,
// to stop the worker, waits for its end while still serving them.
//
// Shared state: the GUI thread writes everything before the worker starts;
// the worker writes only the stop flag, the animated menu and the menu's
// Animating flag at its end. The flags are atomics, so that a loop polling
// one always reads it again. The GUI thread owns the worker's handle and
// closes it once: after waiting for the worker, or before the next one.
#include "dxBarAnimation.h"

#include "dxBarCommon.h"

#include <random>

namespace {

struct TAnimation {
  std::atomic<TdxBarAnimatedMenu*> Menu{nullptr};
  std::atomic<bool> Stop{false};
  HANDLE Thread = nullptr;
  HWND Wnd = nullptr;
  HDC MemoryDC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ OldBitmap = nullptr;
  bool Unfold = true;
  bool GrowLeft = false, GrowUp = false;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int NonClientWidth = 0, NonClientHeight = 0;
  int Difference = 0, Distance = 0, Step = 8;

  ~TAnimation() {
    // At the program's end the worker (if any) is no longer waited for.
    if (Thread) CloseHandle(Thread);
  }
};

TAnimation& State() {
  static TAnimation state;
  return state;
}

// Waits for a worker that has already let go of its menu and closes its
// handle; it makes no window calls any more.
void CloseFinishedThread() {
  TAnimation& a = State();
  if (!a.Thread) return;
  WaitForSingleObject(a.Thread, INFINITE);
  CloseHandle(a.Thread);
  a.Thread = nullptr;
}

TRect ClientRectOf(HWND wnd) {
  RECT r;
  GetClientRect(wnd, &r);
  return TRect(r.left, r.top, r.right, r.bottom);
}

void FreePicture(TAnimation& a) {
  SelectObject(a.MemoryDC, a.OldBitmap);
  DeleteObject(a.Bitmap);
  DeleteDC(a.MemoryDC);
  a.Bitmap = nullptr;
  a.MemoryDC = nullptr;
}

// Step k: the window grows by one step, its edge away from the button in
// place, and shows the part of the picture its client area covers.
void RunStep(TAnimation& a, int k) {
  int w, h;
  if (!a.Unfold) {
    w = a.Width;
    h = k * a.Step;
  } else if (a.Difference < 0) {
    h = k * a.Step;
    w = h - a.Difference;
  } else {
    w = k * a.Step;
    h = a.Difference + k * a.Step;
  }
  RECT window;
  GetWindowRect(a.Wnd, &window);
  const TRect client = ClientRectOf(a.Wnd);
  const int x = a.GrowLeft ? window.left + client.Width() - w : window.left;
  const int y = a.GrowUp ? window.top + client.Height() - h : window.top;
  SetWindowPos(a.Wnd, nullptr, x, y, w + a.NonClientWidth, h + a.NonClientHeight,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
  const TRect now = ClientRectOf(a.Wnd);
  const int c = now.Width(), r = now.Height();
  // The client shows the picture's top-left part while growing upwards, its
  // bottom-right part while growing leftwards, else its bottom-left part.
  const int sx = a.GrowLeft && !a.GrowUp ? a.Width - c : 0;
  const int sy = a.GrowUp ? 0 : a.Height - r;
  HDC dc = GetDC(a.Wnd);
  TdxBarAnimatedMenu* menu = a.Menu.load();
  HPALETTE palette = menu ? menu->GetMenuPalette() : nullptr;
  HPALETTE oldPalette = palette ? SelectPalette(dc, palette, TRUE) : nullptr;
  BitBlt(dc, 0, 0, c, r, a.MemoryDC, sx, sy, SRCCOPY);
  if (palette) {
    SelectPalette(dc, oldPalette, TRUE);
    UpdateColors(dc);
  }
  ReleaseDC(a.Wnd, dc);
}

DWORD WINAPI AnimationThread(LPVOID) {
  TAnimation& a = State();
  TdxBarAnimatedMenu* menu = a.Menu.load();
  int n = a.Distance / a.Step;
  for (int k = 1; n > 0 && !a.Stop.load(); ++k, --n) {
    const DWORD t = GetTickCount();
    RunStep(a, k);
    Sleep(1);
    while (GetTickCount() == t && !a.Stop.load())
      Sleep(0);
  }
  FreePicture(a);
  menu->Animating = false;
  if (!menu->Destroying) {
    SetWindowPos(a.Wnd, nullptr, a.Left, a.Top, a.Width + a.NonClientWidth, a.Height + a.NonClientHeight,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    // The menu paints itself on its own thread.
    if (!menu->Destroying) PostMessageA(a.Wnd, MenuAnimationDoneMessage(), 0, 0);
  }
  a.Stop = false;
  a.Menu = nullptr;
  return 0;
}

int Random100() {
  static std::minstd_rand random(GetTickCount());
  return static_cast<int>(random() % 100);
}

} // namespace

TdxBarAnimatedMenu* AnimatedMenu() {
  return State().Menu.load();
}

UINT MenuAnimationDoneMessage() {
  static const UINT message = RegisterWindowMessageA("dxBarMenuAnimationDone");
  return message;
}

bool HandleMenuAnimationMessage(TdxBarAnimatedMenu* Menu, const TMessage& Message) {
  if (Message.Msg != MenuAnimationDoneMessage()) return false;
  if (!Menu->Destroying && !Menu->Animating) Menu->AnimationFinished();
  return true;
}

TdxBarMenuAnimations ChooseMenuAnimation(TdxBarMenuAnimations Value, int Random) {
  if (Value != maRandom) return Value;
  return Random < 33 ? maUnfold : Random < 66 ? maSlide : maFade;
}

void ShowMenuWindow(TdxBarAnimatedMenu* Menu) {
  Menu->NotifyPopup();
  TdxBarManager* manager = Menu->GetAnimationManager();
  Menu->AnimationType = ChooseMenuAnimation(manager->GetMenuAnimations(), Random100());
  const TdxBarMenuAnimations type = Menu->AnimationType;
  Menu->Animating = Menu->Animating && type != maNone && type != maFade && Menu->HasVisibleLinks() &&
                    !manager->IsCustomizing();
  if (type == maFade && dxUser32().AnimateWindow) {
    DispatchPaintMessages();
    dxUser32().AnimateWindow(Menu->GetAnimatedHandle(), 150, AW_BLEND);
    return;
  }
  const UINT show = Menu->Animating ? 0 : SWP_SHOWWINDOW;
  SetWindowPos(Menu->GetAnimatedHandle(), nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | show);
  DispatchPaintMessages();
}

void StartMenuAnimation(TdxBarAnimatedMenu* Menu) {
  TAnimation& a = State();
  if (a.Menu.load()) StopMenuAnimation(a.Menu.load());
  CloseFinishedThread();
  a.Wnd = Menu->GetAnimatedHandle();
  RECT window;
  GetWindowRect(a.Wnd, &window);
  const TRect client = ClientRectOf(a.Wnd);
  a.Left = window.left;
  a.Top = window.top;
  a.Width = client.Width();
  a.Height = client.Height();
  a.NonClientWidth = (window.right - window.left) - a.Width;
  a.NonClientHeight = (window.bottom - window.top) - a.Height;
  a.GrowLeft = Menu->GrowLeft;
  a.GrowUp = Menu->GrowUp;
  a.Unfold = Menu->AnimationType == maUnfold;
  if (a.Unfold) {
    a.Difference = a.Height - a.Width;
    a.Distance = a.Height <= a.Width ? a.Height : a.Width;
    a.Step = 8;
  } else {
    a.Difference = 0;
    a.Distance = a.Height;
    a.Step = 17;
  }
  HDC screen = GetDC(nullptr);
  a.Bitmap = CreateCompatibleBitmap(screen, std::max(a.Width, 1), std::max(a.Height, 1));
  a.MemoryDC = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  a.OldBitmap = SelectObject(a.MemoryDC, a.Bitmap);
  Menu->Animating = false;
  Menu->PaintMenuPicture(a.MemoryDC);
  Menu->Animating = true;
  Menu->PictureTaken();
  a.Stop = false;
  a.Menu = Menu;
  a.Thread = CreateThread(nullptr, 0, AnimationThread, nullptr, 0, nullptr);
  if (!a.Thread) {
    // No worker: the menu shows at once.
    a.Menu = nullptr;
    FreePicture(a);
    Menu->Animating = false;
    SetWindowPos(a.Wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  PlayMenuSound(0);
}

void StopMenuAnimation(TdxBarAnimatedMenu* Menu) {
  TAnimation& a = State();
  if (!Menu || a.Menu.load() != Menu) return;
  a.Stop = true;
  const HWND wnd = a.Wnd;
  while (MsgWaitForMultipleObjects(1, &a.Thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    // Peeking serves the messages the worker sends; the menu's own ones go
    // on only while the worker still has it.
    MSG msg;
    if (!a.Menu.load()) {
      PeekMessageA(&msg, wnd, 0, 0, PM_NOREMOVE);
      continue;
    }
    if (PeekMessageA(&msg, wnd, 0, 0, PM_REMOVE) && !Menu->Destroying) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  CloseHandle(a.Thread);
  a.Thread = nullptr;
  DispatchPaintMessages();
}
