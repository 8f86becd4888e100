#include "GuiTest.h"

#include <uxtheme.h>

namespace guitest {

namespace {

BOOL CALLBACK NotifyThemeChange(HWND wnd, LPARAM) {
  SendMessageA(wnd, WM_THEMECHANGED, 0, 0);
  EnumChildWindows(wnd, NotifyThemeChange, 0);
  return TRUE;
}

} // namespace

void SetVisualStyle(bool on) {
  SetThemeAppProperties(on ? STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT : 0);
  EnumThreadWindows(GetCurrentThreadId(), NotifyThemeChange, 0);
}

} // namespace guitest
