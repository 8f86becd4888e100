#include "SyntaxEd_keys.h"

#include <windows.h>

String SystemKeyName(TShortCut shortCut) {
  const LONG scanCode = static_cast<LONG>(MapVirtualKeyA(shortCut & 0xFF, 0) << 16);
  if (scanCode == 0) return String();
  char name[64] = {};
  const int n = GetKeyNameTextA(scanCode, name, sizeof name);
  return String(name, n > 0 ? static_cast<size_t>(n) : 0);
}

int16_t SystemVkKeyScan(char ch) {
  return ::VkKeyScanA(ch);
}
