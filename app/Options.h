// The options dialog: the fonts of the change log and the script window and
// the synchronizer's switches. It edits the main window's fonts and settings.
#pragma once

#include "Forms.h"

class TLabel;
class TcxButton;
class TcxCheckBox;
class TcxFontNameComboBox;
class TcxSpinEdit;

class TfmOptions : public TForm {
public:
  explicit TfmOptions(TComponent* AOwner);
  ~TfmOptions() override;

  TcxFontNameComboBox* cFontChanges = nullptr;
  TcxFontNameComboBox* cFontScript = nullptr;
  TcxSpinEdit* szFontChanges = nullptr;
  TcxSpinEdit* szFontScript = nullptr;
  TcxCheckBox* chkDropExtraColumns = nullptr;
  TcxCheckBox* chkDropExtraIndices = nullptr;
  TcxCheckBox* chkDropExtraConstraints = nullptr;
  TcxCheckBox* chkDropExtraTables = nullptr;
  TcxCheckBox* chkSyncRunUnprompted = nullptr;
  TcxCheckBox* chkConnectOnStartup = nullptr;
  TcxCheckBox* chkScriptToClipboard = nullptr;
  TcxCheckBox* chkAllowTblTypeChg = nullptr;
  TcxCheckBox* chkUseBackticks = nullptr;
  TcxCheckBox* chkVerboseLog = nullptr;
  TcxCheckBox* chkSelectSyncTables = nullptr;
  TcxCheckBox* chkNoForeignKeyChecks = nullptr;
  TcxButton* butOK = nullptr;
  TcxButton* butCancel = nullptr;

protected:
  String ClassName() const override { return "TfmOptions"; }

private:
  void FormShow();
  void butOKClick();
};

extern TfmOptions* fmOptions;
