// The extract dialog: options for a database script, shown by a hidden
// action; it extracts nothing.
#pragma once

#include "Forms.h"

class TBitBtn;
class TCheckListBox;
class TLabel;
class TRadioButton;
class TStandInCheckBox;

class TfmDump : public TForm {
public:
  explicit TfmDump(TComponent* AOwner);
  ~TfmDump() override;

  TCheckListBox* CheckListBox1 = nullptr;
  TRadioButton* rSourceDB = nullptr;
  TRadioButton* rTargetDB = nullptr;
  TLabel* lbSourceDB = nullptr;
  TLabel* lbTargetDB = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn4 = nullptr;
  TStandInCheckBox* cxCheckBox1 = nullptr;
  TStandInCheckBox* cxCheckBox2 = nullptr;
  TLabel* Label1 = nullptr;
  TStandInCheckBox* cxCheckBox3 = nullptr;
  TStandInCheckBox* cxCheckBox7 = nullptr;
  TStandInCheckBox* cxCheckBox5 = nullptr;
  TStandInCheckBox* cxCheckBox4 = nullptr;
  TStandInCheckBox* cxCheckBox6 = nullptr;
  TBitBtn* cxButton1 = nullptr;
  TBitBtn* cxButton2 = nullptr;
  TBitBtn* butOK = nullptr;
  TBitBtn* butCancel = nullptr;

protected:
  String ClassName() const override { return "TfmDump"; }

private:
  void rSourceDBClick();
};

extern TfmDump* fmDump;
