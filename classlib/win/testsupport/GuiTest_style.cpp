#include "GuiTest.h"

#include <gtest/gtest.h>

#include <uxtheme.h>

namespace guitest {

namespace {

BOOL CALLBACK NotifyThemeChange(HWND wnd, LPARAM) {
  SendMessageA(wnd, WM_THEMECHANGED, 0, 0);
  EnumChildWindows(wnd, NotifyThemeChange, 0);
  return TRUE;
}

const char* const StyleOffVariable = "VELMORA_STYLE_OFF";

using EnableThemingFunction = HRESULT(WINAPI*)(BOOL);

// Not in every SDK's import library: looked up by name.
void EnableTheming(bool on) {
  HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
  auto enable = reinterpret_cast<EnableThemingFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(uxtheme, "EnableTheming")));
  if (enable) enable(on);
}

void WriteThemeActive(const char* value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", 0,
                      nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, "ThemeActive", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                 static_cast<DWORD>(strlen(value) + 1));
  RegCloseKey(key);
}

} // namespace

void SetVisualStyle(bool on) {
  SetThemeAppProperties(on ? STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT : 0);
  EnumThreadWindows(GetCurrentThreadId(), NotifyThemeChange, 0);
}

bool IsStyleOffRun() {
  return GetEnvironmentVariableA(StyleOffVariable, nullptr, 0) > 0;
}

void InitStyleOffRuns() {
  if (IsStyleOffRun()) {
    EnableTheming(false);
    return;
  }
  String filter = GTEST_FLAG_GET(filter);
  filter += filter.find('-') == String::npos ? "-*StyleOff.*" : ":*StyleOff.*";
  GTEST_FLAG_SET(filter, filter);
}

int RunStyleOffCases(const String& filter) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof(exe));
  String command = "\"" + String(exe) + "\" --gtest_filter=" + filter;
  SetEnvironmentVariableA(StyleOffVariable, "1");
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &process);
  SetEnvironmentVariableA(StyleOffVariable, nullptr);
  if (!started) return -1;
  // The child tells every top-level window of the theme change: keep ours
  // answering while it runs.
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
    PumpFor(0);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  WriteThemeActive("1");
  // The child's change notice made this process read the style's state
  // while it was off: let it read it again.
  EnumThreadWindows(GetCurrentThreadId(), NotifyThemeChange, 0);
  return static_cast<int>(code);
}

} // namespace guitest
