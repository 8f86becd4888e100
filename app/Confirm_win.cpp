#include "Confirm.h"

#include "DialogLayout.h"
#include "cxButtons.h"
#include "cxLabel.h"

TfmConfirm* fmConfirm = nullptr;

using namespace dialoglayout;

TfmConfirm::TfmConfirm(TComponent* AOwner) : TForm(AOwner) {
  fmConfirm = this;
  SetUpForm(this, "fmConfirm", "Please confirm", poMainFormCenter);
  SetBounds(0, 0, 422, 156);

  lbText = new TcxLabel(this);
  lbText->SetName("lbText");
  lbText->SetParent(this);
  lbText->SetAutoSize(false);
  lbText->GetProperties()->SetWordWrap(true);
  lbText->SetBounds(kMargin, kMargin, 393, 65);
  lbText->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});

  auto button = [&](const char* name, const char* caption, int left, TModalResult result) {
    TcxButton* b = AddBottomButton(this, name, caption, left, kButtonWidth);
    b->SetAnchors(TAnchors{akRight, akBottom});
    b->ModalResult = result;
    return b;
  };
  const int cancelLeft = GetClientWidth() - kMargin - kButtonWidth;
  bnOK = button("bnOK", "OK", cancelLeft - 6 - kButtonWidth, mrOk);
  bnCancel = button("bnCancel", "Cancel", cancelLeft, mrCancel);
  bnCancel->Cancel = true;
}

TfmConfirm::~TfmConfirm() {
  if (fmConfirm == this) fmConfirm = nullptr;
}

bool AskConfirmation(const String& Text) {
  fmConfirm->lbText->SetCaption(Text);
  return fmConfirm->ShowModal() == mrOk;
}
