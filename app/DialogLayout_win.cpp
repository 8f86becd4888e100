#include "DialogLayout.h"

#include "StandIns.h"
#include "StdCtrls.h"

namespace dialoglayout {

void SetUpDialog(TForm* form, const char* name, const char* caption, int clientWidth, int clientHeight) {
  form->SetName(name);
  form->SetCaption(caption);
  form->SetBorderStyle(bsDialog);
  form->Position = poMainFormCenter;
  form->GetFont()->SetName("Tahoma");
  form->GetFont()->SetSize(8);
  form->SetClientSize(clientWidth, clientHeight);
}

TLabel* AddLabel(TForm* form, const char* caption, int left, int top) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption(caption);
  label->SetLeft(left);
  label->SetTop(top);
  return label;
}

TLabel* AddLabelBeside(TForm* form, TWinControl* box, const char* caption, int left) {
  TLabel* label = AddLabel(form, caption, left, 0);
  label->SetTop(box->GetTop() + (box->GetHeight() - label->GetHeight()) / 2);
  label->FocusControl = box;
  return label;
}

TStandInButton* AddBottomButton(TForm* form, const char* name, const char* caption, int left, int width) {
  auto* button = new TStandInButton(form);
  button->SetName(name);
  button->SetParent(form);
  button->SetCaption(caption);
  button->SetBounds(left, form->GetClientHeight() - kMargin - kButtonHeight, width, kButtonHeight);
  return button;
}

} // namespace dialoglayout
