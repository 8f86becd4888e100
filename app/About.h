// The About box.
#pragma once

#include "Forms.h"

class TBevel;
class TImage;
class TLabel;
class TcxButton;

class TfmAbout : public TForm {
public:
  explicit TfmAbout(TComponent* AOwner);
  ~TfmAbout() override;

  TImage* Image1 = nullptr;
  TImage* Image2 = nullptr;
  TLabel* lbVersion = nullptr;
  TLabel* lbMaker = nullptr;
  TBevel* Bevel1 = nullptr;
  TcxButton* butWeb = nullptr;
  TcxButton* Button1 = nullptr;

protected:
  String ClassName() const override { return "TfmAbout"; }

private:
  void FormKeyDown(WORD& Key, TShiftState Shift);
  void butWebClick();
};

extern TfmAbout* fmAbout;
