// The toolbar-name dialog of the customizing dialog: a name that must not be
// empty, and for a toolbar one that no other toolbar has.
#include "dxBarCustForm.h"

#include "StdCtrls.h"
#include "dxBarStrs.h"

TdxBarNameEd::TdxBarNameEd() : TForm(nullptr) {
  SetName("dxBarNameEd");
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{});
  SetFormStyle(fsStayOnTop);
  Position = poScreenCenter;
  SetClientWidth(266);
  SetClientHeight(87);
  OnCloseQuery = [this](TObject*, bool& CanClose) { FormCloseQuery(CanClose); };

  LName = new TLabel(this);
  LName->SetName("LName");
  LName->SetParent(this);
  LName->SetBounds(8, 8, 251, 13);
  EName = new TEdit(this);
  EName->SetName("EName");
  EName->SetParent(this);
  EName->SetBounds(8, 24, 251, 21);
  EName->OnChange = [this](TObject*) { ENameChange(); };
  LName->FocusControl = EName;
  auto button = [this](const char* name, int left, TModalResult result) {
    auto* b = new TButton(this);
    b->SetName(name);
    b->SetParent(this);
    b->SetBounds(left, 56, 75, 23);
    b->ModalResult = result;
    return b;
  };
  BOK = button("BOK", 103, mrOk);
  BOK->SetDefault(true);
  BCancel = button("BCancel", 184, mrCancel);
  BCancel->Cancel = true;
}

void TdxBarNameEd::ENameChange() {
  BOK->SetEnabled(!EName->GetText().empty());
}

// A toolbar may not take the caption of another toolbar (letter case counts).
void TdxBarNameEd::FormCloseQuery(bool& CanClose) {
  if (GetModalResult() != mrOk || FKind != 0) return;
  const String name = EName->GetText();
  TdxBar* other = FBarManager->FindBarByCaption(name);
  if (!other || other == FBar) return;
  CanClose = false;
  Application->MessageBox(Format(dxBarString(dxSBAR_TOOLBAREXISTS), name), Application->Title, MB_ICONERROR);
}

bool EditBarName(String& Name, int Kind, int Mode, TdxBar* Bar, TdxBarManager* BarManager) {
  TdxBarNameEd dialog;
  if (TdxBarCustomizingForm* form = ActiveCustomizingForm()) dialog.SetFont(form->GetFont());
  dialog.FKind = Kind;
  dialog.FBarManager = BarManager;
  dialog.FBar = Bar;
  static const UINT toolbarCaptions[] = {dxSBAR_TOOLBARADD, dxSBAR_TOOLBARRENAME};
  static const UINT categoryCaptions[] = {dxSBAR_CATEGORYADD, dxSBAR_CATEGORYINSERT, dxSBAR_CATEGORYRENAME};
  if (Kind == 0 && Mode >= 0 && Mode < 2) dialog.SetCaption(dxBarString(toolbarCaptions[Mode]));
  if (Kind == 1 && Mode >= 0 && Mode < 3) dialog.SetCaption(dxBarString(categoryCaptions[Mode]));
  dialog.LName->SetCaption(dxBarString(Kind == 0 ? dxSBAR_TOOLBARNAME : dxSBAR_CATEGORYNAME));
  dialog.EName->SetText(Name);
  dialog.BOK->SetCaption(dxBarString(dxSBAR_OK));
  dialog.BOK->SetEnabled(!Name.empty());
  dialog.BCancel->SetCaption(dxBarString(dxSBAR_CANCEL));
  dialog.OnShow = [&dialog](TObject*) { dialog.SetActiveControl(dialog.EName); };
  const bool confirmed = dialog.ShowModal() == mrOk;
  if (confirmed) Name = dialog.EName->GetText();
  return confirmed;
}
