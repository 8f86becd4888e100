#include "EditorsLibrary.h"

#include "ControlsLibrary.h"
#include "cxCheckBox.h"
#include "cxEdit.h"
#include "cxEditPaintUtils.h"
#include "cxLabel.h"
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
  cxLabelInitialize();
}

void EndEditorsLibrary() {
  if (StartCount == 0 || --StartCount > 0) return;
  cxLabelFinalize();
  cxRadioGroupFinalize();
  cxTextEditFinalize();
  cxCheckBoxFinalize();
  cxEditFinalize();
  EndControlsLibrary();
}
