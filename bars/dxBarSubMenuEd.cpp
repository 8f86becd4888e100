// The sub-menu editor: a caption bar that keeps the menu of a sub item's
// links open beneath it while the manager is customized.
#include "dxBar.h"
#include "dxBarCommon.h"
#include "dxBarCustForm.h"
#include "dxBarDesign.h"
#include "dxBarStrs.h"

#include "ComCtrls.h"

namespace {

constexpr UINT kSubMenuEditorCaption = 65008;

TdxBarSubMenuEditor* gSubMenuEditor = nullptr;

} // namespace

TdxBarSubMenuEditor* ActiveSubMenuEditor() { return gSubMenuEditor; }

void CloseSubMenuEditor(TdxBarManager* BarManager) {
  if (!gSubMenuEditor) return;
  TdxBarItemLinks* links = gSubMenuEditor->GetItemLinks();
  if (!BarManager || !links || links->GetBarManager() == BarManager) delete gSubMenuEditor;
}

void ShowSubMenuEditor(TdxBarItemLinks* ItemLinks) {
  if (!ItemLinks) return;
  TdxBarManager* manager = ItemLinks->GetBarManager();
  manager->SetCustomizing(true);
  if (manager->IsCustomizing())
    if (TdxBarCustomizingForm* form = ActiveCustomizingForm()) {
      form->PageControl->SetActivePage(form->TabSheet2);
      form->PageControlChange();
    }
  if (!gSubMenuEditor) {
    gSubMenuEditor = new TdxBarSubMenuEditor();
    gSubMenuEditor->SetCaption(dxBarString(kSubMenuEditorCaption));
  }
  TdxBarSubMenuEditor* editor = gSubMenuEditor;
  editor->SetClientHeight(0);
  editor->SetItemLinks(ItemLinks);
  DispatchMouseMessages();
  editor->Show();
}

TdxBarSubMenuEditor::TdxBarSubMenuEditor() : TForm(nullptr) {
  SetName("dxBarSubMenuEditor");
  Tag = 100;
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  SetBounds(2, 105, GetWidth(), GetHeight());
  SetClientWidth(196);
  OnActivate = [this](TObject*) { FormActivate(); };
  OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
}

TdxBarSubMenuEditor::~TdxBarSubMenuEditor() {
  if (TdxBarSubMenuControl* menu = GetMenuWindow()) menu->Release();
  if (FLinksOwner) RemoveFreeNotification(FLinksOwner);
  if (gSubMenuEditor == this) gSubMenuEditor = nullptr;
}

TdxBarSubMenuControl* TdxBarSubMenuEditor::GetMenuWindow() const {
  return FItemLinks ? dynamic_cast<TdxBarSubMenuControl*>(FItemLinks->GetBarControl()) : nullptr;
}

void TdxBarSubMenuEditor::SetItemLinks(TdxBarItemLinks* Value) {
  if (Value == FItemLinks) return;
  if (!Value) {
    // The links go (their item is freed): the editor goes with them, before
    // its menu window could be asked for them.
    FItemLinks = nullptr;
    FLinksOwner = nullptr;
    delete this;
    return;
  }
  if (TdxBarSubMenuControl* menu = GetMenuWindow()) menu->Release();
  if (FLinksOwner) RemoveFreeNotification(FLinksOwner);
  FItemLinks = Value;
  FLinksOwner = dynamic_cast<TComponent*>(Value->GetOwner());
  if (FLinksOwner) FreeNotification(FLinksOwner);
  if (GetActive()) FormActivate();
}

void TdxBarSubMenuEditor::Notification(TComponent* AComponent, TOperation Operation) {
  const bool ownerGoes = Operation == opRemove && AComponent && AComponent == FLinksOwner;
  TForm::Notification(AComponent, Operation);
  if (ownerGoes) SetItemLinks(nullptr);
}

void TdxBarSubMenuEditor::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  // The customizing dialog's window kind, owned by the form it customizes.
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU;
  Params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  Params.WindowClass.style = CS_OWNDC | CS_SAVEBITS;
  Params.WndParent = nullptr;
  if (TdxBarCustomizingForm* form = ActiveCustomizingForm())
    if (form->HandleAllocated()) Params.WndParent = GetWindow(form->GetHandle(), GW_OWNER);
}

void TdxBarSubMenuEditor::PlaceMenu(TdxBarSubMenuControl* Menu) {
  RECT r{};
  GetWindowRect(GetHandle(), &r);
  SetWindowPos(Menu->GetHandle(), nullptr, r.left, r.bottom, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TdxBarSubMenuEditor::FormActivate() {
  if (!FItemLinks) return;
  TdxBarSubMenuControl* menu = GetMenuWindow();
  if (!menu) {
    menu = static_cast<TdxBarSubMenuControl*>(FItemLinks->CreateBarControl());
    RECT r{};
    GetWindowRect(GetHandle(), &r);
    menu->SetBounds(r.left, r.bottom, menu->GetWidth(), menu->GetHeight());
    menu->OwnerHeight = r.bottom - r.top;
    ShowMenuWindow(menu);
  }
  FMenuWidth = menu->GetWidth();
  SetWidth(FMenuWidth);
}

void TdxBarSubMenuEditor::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_GETMINMAXINFO: {
    TForm::WndProc(Message);
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    if (TdxBarSubMenuControl* menu = GetMenuWindow()) FMenuWidth = menu->GetWidth();
    info->ptMaxSize.y = info->ptMinTrackSize.y = info->ptMaxTrackSize.y = GetHeight();
    if (FMenuWidth > 0) info->ptMaxSize.x = info->ptMinTrackSize.x = info->ptMaxTrackSize.x = FMenuWidth;
    return;
  }
  case WM_MOVE:
    TForm::WndProc(Message);
    if (TdxBarSubMenuControl* menu = GetMenuWindow())
      if (menu->HandleAllocated()) PlaceMenu(menu);
    return;
  case WM_NCLBUTTONDOWN:
    TForm::WndProc(Message);
    if (gSubMenuEditor != this) return;
    if (Message.WParam == HTCLOSE) {
      if (TdxBarSubMenuControl* menu = GetMenuWindow()) menu->Release();
    } else {
      // A press on the caption brings a closed menu back.
      FormActivate();
    }
    return;
  default:
    TForm::WndProc(Message);
  }
}
