#include "EditorsLibrary.h"

#include "ControlsLibrary.h"
#include "cxCheckBox.h"
#include "cxEdit.h"
#include "cxEditPaintUtils.h"
#include "cxRadioGroup.h"
#include "cxTextEdit.h"

namespace {

int StartCount = 0;

} // namespace

void StartEditorsLibrary() {
  if (StartCount++ > 0) return;
  StartControlsLibrary();
  cxEditInitialize();
  InitCheckBoxSize();
  cxCheckBoxInitialize();
  cxTextEditInitialize();
  cxRadioGroupInitialize();
}

void EndEditorsLibrary() {
  if (StartCount == 0 || --StartCount > 0) return;
  cxRadioGroupFinalize();
  cxTextEditFinalize();
  cxCheckBoxFinalize();
  cxEditFinalize();
  EndControlsLibrary();
}
