#include "DialogLayout.h"

#include "cxButtons.h"
#include "StdCtrls.h"
#include "cxCheckBox.h"

namespace dialoglayout {

void SetUpForm(TForm* form, const char* name, const char* caption, TPosition position) {
  form->SetName(name);
  form->SetCaption(caption);
  form->GetFont()->SetName("Tahoma");
  form->GetFont()->SetSize(8);
  form->Position = position;
}

void SetUpDialog(TForm* form, const char* name, const char* caption, int clientWidth, int clientHeight) {
  SetUpForm(form, name, caption, poMainFormCenter);
  form->SetBorderStyle(bsDialog);
  form->SetClientSize(clientWidth, clientHeight);
}

void SetBold(TControl* control) {
  control->GetFont()->SetStyle(TFontStyles{fsBold});
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

TcxButton* AddButton(TForm* form, const char* name, const char* caption, int left, int top, int width) {
  auto* button = new TcxButton(form);
  button->SetName(name);
  button->SetParent(form);
  button->SetCaption(caption);
  button->SetBounds(left, top, width, kButtonHeight);
  return button;
}

TcxButton* AddBottomButton(TForm* form, const char* name, const char* caption, int left, int width) {
  return AddButton(form, name, caption, left, form->GetClientHeight() - kMargin - kButtonHeight, width);
}

namespace {

void SetBoxCaption(TcxCheckBox* box, const char* caption) {
  box->GetProperties()->SetCaption(caption);
}

void SetBoxCaption(TCheckBox* box, const char* caption) {
  box->SetCaption(caption);
}

} // namespace

template <typename TBox>
TBox* AddCheckBox(TForm* form, TWinControl* parent, const char* name, const char* caption, int left, int top,
                  int width) {
  auto* box = new TBox(form);
  box->SetName(name);
  SetBoxCaption(box, caption);
  box->SetParent(parent);
  box->SetBounds(left, top, width, kCheckHeight);
  return box;
}

template TcxCheckBox* AddCheckBox<TcxCheckBox>(TForm*, TWinControl*, const char*, const char*, int, int, int);
template TCheckBox* AddCheckBox<TCheckBox>(TForm*, TWinControl*, const char*, const char*, int, int, int);

} // namespace dialoglayout
