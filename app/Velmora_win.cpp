// The program's entry: the main window is the first window created.
#include "Main.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application->Initialize();
  Application->CreateForm(fmMain);
  Application->Run();
  return 0;
}
