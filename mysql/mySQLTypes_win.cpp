#include "mySQLTypes.h"

#include <windows.h>

String OemToAnsiText(const String& text) {
  String out(text);
  if (!out.empty()) OemToCharBuffA(text.data(), out.data(), static_cast<DWORD>(out.size()));
  return out;
}
