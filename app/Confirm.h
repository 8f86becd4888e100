// The confirmation dialog: a question answered with OK or Cancel.
#pragma once

#include "Forms.h"

class TcxButton;
class TcxLabel;

class TfmConfirm : public TForm {
public:
  explicit TfmConfirm(TComponent* AOwner);
  ~TfmConfirm() override;

  TcxLabel* lbText = nullptr;
  TcxButton* bnOK = nullptr;
  TcxButton* bnCancel = nullptr;

protected:
  String ClassName() const override { return "TfmConfirm"; }
};

extern TfmConfirm* fmConfirm;

// Shows Text on the confirmation dialog; true when it was closed with OK.
bool AskConfirmation(const String& Text);
