#include "SyntaxEd_settings.h"

#include <windows.h>

TColor SystemSysColor(int index) {
  return static_cast<TColor>(::GetSysColor(index));
}
