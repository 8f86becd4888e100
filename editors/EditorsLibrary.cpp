#include "EditorsLibrary.h"

#include "ControlsLibrary.h"
#include "cxButtonEdit.h"
#include "cxCheckBox.h"
#include "cxColorComboBox.h"
#include "cxDropDownEdit.h"
#include "cxEdit.h"
#include "cxEditPaintUtils.h"
#include "cxFontNameComboBox.h"
#include "cxImageComboBox.h"
#include "cxLabel.h"
#include "cxMaskConsts.h"
#include "cxMaskEdit.h"
#include "cxMemo.h"
#include "cxProgressBar.h"
#include "cxRadioGroup.h"
#include "cxSpinEdit.h"
#include "cxTextEdit.h"
#include "cxTrackBar.h"

namespace {

int StartCount = 0;

// The mask engines' messages from the string table linked into the program.
String LoadMaskString(const TcxResourceString& ResString) {
  const TResStringRec record = {nullptr, ResString.Identifier};
  return LoadLibraryResString(&record);
}

} // namespace

void StartEditorsLibrary() {
  if (StartCount++ > 0) return;
  StartControlsLibrary();
  cxSetResourceStringLoader(LoadMaskString);
  cxEditInitialize();
  InitCheckBoxSize();
  cxCheckBoxInitialize();
  cxTextEditInitialize();
  cxProgressBarInitialize();
  cxRadioGroupInitialize();
  cxLabelInitialize();
  cxTrackBarInitialize();
  cxMaskEditInitialize();
  cxMemoInitialize();
  cxDropDownEditInitialize();
  cxFontNameComboBoxInitialize();
  cxImageComboBoxInitialize();
  cxColorComboBoxInitialize();
  cxSpinEditInitialize();
  cxButtonEditInitialize();
}

void EndEditorsLibrary() {
  if (StartCount == 0 || --StartCount > 0) return;
  cxSpinEditFinalize();
  cxColorComboBoxFinalize();
  cxImageComboBoxFinalize();
  cxFontNameComboBoxFinalize();
  cxDropDownEditFinalize();
  cxMemoFinalize();
  cxMaskEditFinalize();
  cxTrackBarFinalize();
  cxLabelFinalize();
  cxRadioGroupFinalize();
  cxProgressBarFinalize();
  cxTextEditFinalize();
  cxCheckBoxFinalize();
  cxEditFinalize();
  cxSetResourceStringLoader(nullptr);
  EndControlsLibrary();
}
