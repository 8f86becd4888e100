// The program's entry: the main window is the first window created, the
// dialogs follow and wait hidden until they are needed.
#include "About.h"
#include "Confirm.h"
#include "DBConnInfo.h"
#include "Dump.h"
#include "EditorsLibrary.h"
#include "Main.h"
#include "Options.h"
#include "dxBar.h"
#include "TblChooser.h"

#include "WinApi.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The control, editor and toolbar libraries' shared state lives as long as
  // the program.
  TEditorsLibrary editors;
  TBarsLibrary bars;
  // The users customize the toolbars through the library's dialog.
  RegisterBarCustomizingForm();
  Application->Initialize();
  Application->CreateForm(fmMain);
  Application->CreateForm(fmDBConnInfo);
  Application->CreateForm(fmOptions);
  Application->CreateForm(fmDump);
  Application->CreateForm(fmAbout);
  Application->CreateForm(fmConfirm);
  Application->CreateForm(fmTblChooser);
  Application->Run();
  return 0;
}
