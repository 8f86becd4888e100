// The options dialog: the fonts of the change log and the script window and
// the synchronizer's switches. It edits the main window's fonts and settings.
#pragma once

#include "Forms.h"

class TLabel;
class TStandInButton;
class TStandInCheckBox;
class TStandInFontNameComboBox;
class TStandInSpinEdit;

class TfmOptions : public TForm {
public:
  explicit TfmOptions(TComponent* AOwner);
  ~TfmOptions() override;

  TStandInFontNameComboBox* cFontChanges = nullptr;
  TStandInFontNameComboBox* cFontScript = nullptr;
  TStandInSpinEdit* szFontChanges = nullptr;
  TStandInSpinEdit* szFontScript = nullptr;
  TStandInCheckBox* chkDropExtraColumns = nullptr;
  TStandInCheckBox* chkDropExtraIndices = nullptr;
  TStandInCheckBox* chkDropExtraConstraints = nullptr;
  TStandInCheckBox* chkDropExtraTables = nullptr;
  TStandInCheckBox* chkSyncRunUnprompted = nullptr;
  TStandInCheckBox* chkConnectOnStartup = nullptr;
  TStandInCheckBox* chkScriptToClipboard = nullptr;
  TStandInCheckBox* chkAllowTblTypeChg = nullptr;
  TStandInCheckBox* chkUseBackticks = nullptr;
  TStandInCheckBox* chkVerboseLog = nullptr;
  TStandInCheckBox* chkSelectSyncTables = nullptr;
  TStandInCheckBox* chkNoForeignKeyChecks = nullptr;
  TStandInButton* butOK = nullptr;
  TStandInButton* butCancel = nullptr;

protected:
  String ClassName() const override { return "TfmOptions"; }

private:
  void FormShow();
  void butOKClick();
};

extern TfmOptions* fmOptions;
