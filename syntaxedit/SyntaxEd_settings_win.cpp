#include "SyntaxEd_settings.h"

#include <windows.h>

TColor SystemSysColor(int index) {
  return ::GetSysColor(index);
}
