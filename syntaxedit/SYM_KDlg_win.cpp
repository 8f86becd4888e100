#include "SYM_KDlg.h"

#include <algorithm>

// --- Hot-key box ----------------------------------------------------------------

TSM_HotKey::TSM_HotKey(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetReadOnly(true);
}

void TSM_HotKey::SetShortCut(TShortCut code) {
  FShortCut = code;
  SetText(code ? ShortCutToText(code) : String());
  Change();
}

void TSM_HotKey::KeyDown(WORD& Key, TShiftState Shift) {
  SetShortCut(ShortCut(Key, Shift));
}

void TSM_HotKey::WndProc(TMessage& Message) {
  TCustomEdit::WndProc(Message);
  // Tab, Enter, Esc and the arrows are keys to capture, not to navigate by.
  if (Message.Msg == WM_GETDLGCODE)
    Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

// --- Key assignment dialog ----------------------------------------------------------

namespace {

TButton* NewButton(TWinControl* parent, const String& caption) {
  auto* button = new TButton(parent);
  button->SetParent(parent);
  button->SetCaption(caption);
  button->SetBounds(0, 0, 75, 25);
  return button;
}

} // namespace

TPanel* TKeyAssignDialog::StepPanel(int tag, TLabel*& title, TLabel*& info, TSM_HotKey*& box,
                                    TButton*& clear) {
  auto* panel = new TPanel(this);
  panel->SetParent(WizardPanel);
  panel->SetAlign(alClient);
  panel->SetBevelOuter(bvNone);
  panel->Tag = tag;
  title = new TLabel(this);
  title->SetParent(panel);
  title->SetBounds(8, 8, 200, 16);
  TFontStyles bold;
  bold.Include(fsBold);
  title->GetFont()->SetStyle(bold);
  title->SetCaption("Step " + std::to_string(tag));
  info = new TLabel(this);
  info->SetParent(panel);
  info->SetWordWrap(true);
  info->SetBounds(8, 32, 225, 60);
  box = new TSM_HotKey(this);
  box->SetParent(panel);
  box->SetBounds(248, 32, 121, 21);
  box->OnChange = [this](TObject*) { UpdateButtons(); };
  clear = NewButton(panel, "Clear");
  TSM_HotKey* target = box;
  clear->OnClick = [target](TObject*) {
    target->SetShortCut(0);
    target->SetFocus();
  };
  panel->OnEnter = [target](TObject*) { target->SetFocus(); };
  return panel;
}

TKeyAssignDialog::TKeyAssignDialog(TComponent* AOwner) : TForm(AOwner) {
  SetName("KeyAssignDialog");
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  Position = poScreenCenter;
  SetClientSize(400, 160);
  ButtonPanel = new TPanel(this);
  ButtonPanel->SetParent(this);
  ButtonPanel->SetAlign(alBottom);
  ButtonPanel->SetHeight(40);
  ButtonPanel->SetBevelOuter(bvNone);
  WizardPanel = new TPanel(this);
  WizardPanel->SetParent(this);
  WizardPanel->SetAlign(alClient);
  WizardPanel->SetBevelOuter(bvNone);
  Step1Panel = StepPanel(1, Step1Label, Step1InfoLabel, FKey1, ClearKey1Button);
  Step2Panel = StepPanel(2, Step2Label, Step2InfoLabel, FKey2, ClearKey2Button);
  BackButton = NewButton(ButtonPanel, "< Back");
  NextButton = NewButton(ButtonPanel, "Next >");
  CancelButton = NewButton(ButtonPanel, "Cancel");
  CancelButton->ModalResult = mrCancel;
  BackButton->OnClick = [this](TObject*) { BackButtonClick(); };
  NextButton->OnClick = [this](TObject*) { NextButtonClick(); };
  FStep = 1;
  Step1Panel->BringToFront();
  UpdateButtons();
}

bool TKeyAssignDialog::ExecuteKeyPair(TShortCut& firstKey, TShortCut& secondKey, const String& commandName,
                                      const String& step1Info, const String& step2Info, uint8_t mode) {
  FMode = mode;
  FFirstKey = firstKey;
  FSecondKey = secondKey;
  const char* verb = mode == 0 ? "Edit " : mode == 1 ? "Add new " : "";
  SetCaption(String(verb) + "key pair for: " + commandName);
  Step1InfoLabel->SetCaption(step1Info);
  Step1InfoLabel->SetWidth(225);
  Step2InfoLabel->SetCaption(step2Info);
  Step2InfoLabel->SetWidth(225);
  const bool accepted = ShowModal() == mrOk;
  firstKey = TextToShortCut(FKey1->GetText());
  secondKey = TextToShortCut(FKey2->GetText());
  return accepted;
}

void TKeyAssignDialog::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TKeyAssignDialog::FormShow() {
  FKey1->SetShortCut(FMode == 0 ? FFirstKey : 0);
  FKey2->SetShortCut(FMode == 0 ? FSecondKey : 0);
  const int labelWidth = std::max(Step1InfoLabel->GetWidth(), Step2InfoLabel->GetWidth());
  SetWidth(labelWidth + Step2InfoLabel->GetLeft() + FKey1->GetWidth() + 40);
  for (int step : {1, 2}) {
    TLabel* info = step == 1 ? Step1InfoLabel : Step2InfoLabel;
    TSM_HotKey* box = GetKeyBox(step);
    TButton* clear = step == 1 ? ClearKey1Button : ClearKey2Button;
    box->SetBounds(info->GetLeft() + info->GetWidth() + 15, info->GetTop(), box->GetWidth(),
                   box->GetHeight());
    clear->SetBounds(box->GetLeft() + box->GetWidth() - clear->GetWidth(),
                     box->GetTop() + box->GetHeight() + 6, clear->GetWidth(), clear->GetHeight());
  }
  const int area = std::max({Step1InfoLabel->GetHeight(), Step2InfoLabel->GetHeight(),
                             ClearKey1Button->GetTop() + ClearKey1Button->GetHeight() + 4});
  const int height = ButtonPanel->GetHeight() + Step2Label->GetTop() + Step2Label->GetHeight() + area + 24;
  if (GetHeight() != height) SetHeight(height);
  const int right = ButtonPanel->GetClientWidth();
  CancelButton->SetLeft(right - 8 - CancelButton->GetWidth());
  NextButton->SetLeft(CancelButton->GetLeft() - 8 - NextButton->GetWidth());
  BackButton->SetLeft(NextButton->GetLeft() - 8 - BackButton->GetWidth());
  for (TButton* button : {BackButton, NextButton, CancelButton})
    button->SetTop((ButtonPanel->GetHeight() - button->GetHeight()) / 2);
  GoToStep(1);
}

void TKeyAssignDialog::GoToStep(int step) {
  TPanel* page = step == 1 ? Step1Panel : Step2Panel;
  page->BringToFront();
  FStep = step;
  if (page->CanFocus()) GetKeyBox(step)->SetFocus();
  UpdateButtons();
}

void TKeyAssignDialog::NextButtonClick() {
  if (NextButton->GetCaption() == "Finish") {
    SetModalResult(mrOk);
    return;
  }
  GoToStep(FStep + 1);
}

void TKeyAssignDialog::BackButtonClick() {
  GoToStep(FStep - 1);
}

void TKeyAssignDialog::UpdateButtons() {
  if (!NextButton) return;
  NextButton->SetCaption(FStep == 2 ? "Finish" : "Next >");
  const bool first = !FKey1->GetText().empty();
  NextButton->SetEnabled(first);
  BackButton->SetEnabled(FStep > 1);
  ClearKey1Button->SetEnabled(first);
  ClearKey2Button->SetEnabled(!FKey2->GetText().empty());
}
