// Test support: one mouse event at a screen point through SendInput, without
// pumping messages (callers may be inside another loop).
#pragma once

#include "WinApi.h"

inline void SendMouseAt(POINT screen, DWORD buttons) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (screen.x * 65536 + width - 1) / width;
  input.mi.dy = (screen.y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &input, sizeof(INPUT));
}
