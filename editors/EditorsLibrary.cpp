#include "EditorsLibrary.h"

#include "ControlsLibrary.h"
#include "cxCheckBox.h"
#include "cxEdit.h"
#include "cxEditPaintUtils.h"

namespace {

int StartCount = 0;

} // namespace

void StartEditorsLibrary() {
  if (StartCount++ > 0) return;
  StartControlsLibrary();
  cxEditInitialize();
  InitCheckBoxSize();
  cxCheckBoxInitialize();
}

void EndEditorsLibrary() {
  if (StartCount == 0 || --StartCount > 0) return;
  cxCheckBoxFinalize();
  cxEditFinalize();
  EndControlsLibrary();
}
