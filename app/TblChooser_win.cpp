#include "TblChooser.h"

#include "DialogLayout.h"
#include "cxButtons.h"
#include "cxCheckListBox.h"

TfmTblChooser* fmTblChooser = nullptr;

using namespace dialoglayout;

TfmTblChooser::TfmTblChooser(TComponent* AOwner) : TForm(AOwner) {
  fmTblChooser = this;
  SetUpForm(this, "fmTblChooser", "Select tables", poDesktopCenter);
  SetBounds(0, 0, 382, 349);
  const int clientWidth = GetClientWidth();
  const int clientHeight = GetClientHeight();

  clTables = new TcxCheckListBox(this);
  clTables->SetName("clTables");
  clTables->SetParent(this);
  clTables->SetBounds(kMargin, kMargin, 202, clientHeight - 2 * kMargin);
  clTables->SetAnchors(TAnchors{akLeft, akTop, akBottom});
  clTables->SetAllowGrayed(true);
  clTables->GetStyle()->GetLookAndFeel()->SetNativeStyle(true);
  clTables->SetSorted(true);
  clTables->OnClickCheck = [this](TObject* Sender, int AIndex, TcxCheckBoxState OldState,
                                  TcxCheckBoxState NewState) {
    clTablesClickCheck(Sender, AIndex, OldState, NewState);
  };

  const int buttonLeft = clientWidth - kMargin - kButtonWidth;
  auto button = [&](const char* name, const char* caption, int top, TAnchors anchors) {
    TcxButton* b = AddButton(this, name, caption, buttonLeft, top, kButtonWidth);
    b->SetAnchors(anchors);
    return b;
  };
  bnAll = button("bnAll", "All", kMargin, TAnchors{akTop, akRight});
  bnNone = button("bnNone", "None", kMargin + kButtonHeight + 6, TAnchors{akTop, akRight});
  const int cancelTop = clientHeight - kMargin - kButtonHeight;
  bnOK = button("bnOK", "OK", cancelTop - kButtonHeight - 6, TAnchors{akRight, akBottom});
  bnOK->ModalResult = mrOk;
  bnCancel = button("bnCancel", "Cancel", cancelTop, TAnchors{akRight, akBottom});
  bnCancel->Cancel = true;
  bnCancel->ModalResult = mrCancel;
  bnAll->OnClick = [this](TObject*) { SetAllChecked(true); };
  bnNone->OnClick = [this](TObject*) { SetAllChecked(false); };

  OnShow = [this](TObject*) { FormShow(); };
}

TfmTblChooser::~TfmTblChooser() {
  if (fmTblChooser == this) fmTblChooser = nullptr;
}

void TfmTblChooser::SetTables(const TStrings& tables) {
  FTables.Assign(tables);
}

void TfmTblChooser::GetCheckedTables(TStrings& tables) const {
  tables.BeginUpdate();
  tables.Clear();
  const TcxCheckListBoxItems* items = clTables->GetItems();
  for (int i = 0; i < items->GetCount(); ++i)
    if (items->GetItem(i)->GetChecked()) tables.Add(items->GetItem(i)->GetText());
  tables.EndUpdate();
}

// The OK button keeps the state the user's last click left: a fresh list
// does not enable it again.
void TfmTblChooser::FormShow() {
  TcxCheckListBoxItems* items = clTables->GetItems();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < FTables.GetCount(); ++i) {
    TcxCheckListBoxItem* item = items->Add();
    item->SetText(FTables.Get(i));
    item->SetChecked(true);
  }
  items->EndUpdate();
}

void TfmTblChooser::SetAllChecked(bool checked) {
  TcxCheckListBoxItems* items = clTables->GetItems();
  for (int i = 0; i < items->GetCount(); ++i)
    items->GetItem(i)->SetChecked(checked);
}

void TfmTblChooser::clTablesClickCheck(TObject*, int AIndex, TcxCheckBoxState, TcxCheckBoxState NewState) {
  TcxCheckListBoxItems* items = clTables->GetItems();
  if (NewState == cbsGrayed) items->GetItem(AIndex)->SetState(cbsChecked);
  bool anyChecked = false;
  for (int i = 0; i < items->GetCount() && !anyChecked; ++i)
    anyChecked = items->GetItem(i)->GetChecked();
  bnOK->SetEnabled(anyChecked);
}
