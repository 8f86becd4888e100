// The extract dialog: options for a database script, shown by a hidden
// action; it extracts nothing.
#pragma once

#include "Forms.h"

class TBitBtn;
class TCheckListBox;
class TLabel;
class TRadioButton;
class TCheckBox;

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
  TCheckBox* cxCheckBox1 = nullptr;
  TCheckBox* cxCheckBox2 = nullptr;
  TLabel* Label1 = nullptr;
  TCheckBox* cxCheckBox3 = nullptr;
  TCheckBox* cxCheckBox7 = nullptr;
  TCheckBox* cxCheckBox5 = nullptr;
  TCheckBox* cxCheckBox4 = nullptr;
  TCheckBox* cxCheckBox6 = nullptr;
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
