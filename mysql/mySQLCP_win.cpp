#include "mySQLCP.h"

#include <windows.h>

unsigned SystemCodePage() {
  return GetACP();
}
