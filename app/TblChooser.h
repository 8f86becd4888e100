// The table chooser: the user picks the source tables of a run.
#pragma once

#include "Forms.h"

class TcxButton;
class TcxCheckListBox;
enum TcxCheckBoxState : int;

class TfmTblChooser : public TForm {
public:
  explicit TfmTblChooser(TComponent* AOwner);
  ~TfmTblChooser() override;

  // The tables listed, all checked, when the chooser is next shown.
  void SetTables(const TStrings& tables);
  // The texts of the checked items, in the list's order.
  void GetCheckedTables(TStrings& tables) const;

  TcxCheckListBox* clTables = nullptr;
  TcxButton* bnAll = nullptr;
  TcxButton* bnNone = nullptr;
  TcxButton* bnOK = nullptr;
  TcxButton* bnCancel = nullptr;

protected:
  String ClassName() const override { return "TfmTblChooser"; }

private:
  void FormShow();
  // All and None.
  void SetAllChecked(bool checked);
  void clTablesClickCheck(TObject* Sender, int AIndex, TcxCheckBoxState OldState, TcxCheckBoxState NewState);

  TStringList FTables;
};

extern TfmTblChooser* fmTblChooser;
