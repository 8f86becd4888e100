// The customizing dialog's module state and the entry points through which
// the rest of the toolbar library opens, closes and tells the dialog; the
// dialog's life from its window's messages to its destruction.
#include "dxBarCustForm.h"
#include "dxBarDesignForm.h"

#include <algorithm>

namespace {

bool gRegistered = false;
TdxBarCustomizingForm* gActiveForm = nullptr;
// The windows the open dialog disabled, enabled again when it goes.
std::vector<HWND> gOwnerFormsDisabled;
// Set while the dialog is being destroyed, so that ending customizing from
// its destruction neither enables the forms nor frees it a second time.
bool gDestroying = false;
// A dialog whose window went with its owner form's: customizing ended then,
// and the object is freed here once no message of it is being handled.
std::unique_ptr<TdxBarCustomizingForm> gOrphan;

} // namespace

void RegisterBarCustomizingForm() {
  gRegistered = true;
}

void UnregisterBarCustomizingForm() {
  gRegistered = false;
  gOrphan.reset();
}

bool IsBarCustomizingFormRegistered() {
  return gRegistered;
}

TdxBarCustomizingForm* ActiveCustomizingForm() {
  return gActiveForm;
}

HWND ActiveCustomizingFormHandle() {
  return gActiveForm && gActiveForm->HandleAllocated() ? gActiveForm->GetHandle() : nullptr;
}

void DisableOwnerForms(bool Enable) {
  if (Enable) {
    for (HWND wnd : gOwnerFormsDisabled)
      if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    gOwnerFormsDisabled.clear();
    return;
  }
  TdxBarManagerList* managers = dxBarManagerList();
  for (int i = 0; i < managers->GetCount(); ++i) {
    TCustomForm* form = managers->GetItem(i)->GetOwnerForm();
    if (!form || !form->HandleAllocated() || !IsWindowEnabled(form->GetHandle())) continue;
    EnableWindow(form->GetHandle(), FALSE);
    gOwnerFormsDisabled.push_back(form->GetHandle());
  }
}

void ShowCustomizingForm(TdxBarManager* BarManager, bool Show) {
  if (Show) {
    if (gActiveForm) return;
    gOrphan.reset();
    if (BarManager->OnShowCustomizingForm) BarManager->OnShowCustomizingForm(BarManager);
    DisableOwnerForms(false);
    gActiveForm = new TdxBarCustomizingForm(BarManager);
    gActiveForm->Show();
    return;
  }
  if (!gDestroying && gActiveForm) {
    DisableOwnerForms(true);
    TdxBarCustomizingForm* form = gActiveForm;
    gActiveForm = nullptr;
    delete form;
  }
  if (BarManager->OnHideCustomizingForm) BarManager->OnHideCustomizingForm(BarManager);
}

// ---- Notifications ----

void CustomizingFormHelpButtonChanged() {
  if (gActiveForm) gActiveForm->UpdateHelpButton();
}

void CustomizingFormStyleChanged() {
  if (!gActiveForm) return;
  gActiveForm->RefreshCommands();
  gActiveForm->UpdateOptions();
  gActiveForm->UpdateStyle();
}

void CustomizingFormOptionsChanged() {
  if (gActiveForm) gActiveForm->UpdateOptions();
}

void CustomizingFormBarChanged(TdxBar* Bar) {
  if (gActiveForm) gActiveForm->BarChanged(Bar);
}

void CustomizingFormBarRemoved(TdxBar* Bar) {
  if (gActiveForm) gActiveForm->BarRemoved(Bar);
}

void CustomizingFormRefreshCommands() {
  if (gActiveForm) gActiveForm->RefreshCommands();
}

void CustomizingFormSelectItem(TdxBarItem* Item, bool Force) {
  if (gActiveForm) gActiveForm->SelectItem(Item, Force);
}

void CustomizingFormItemsChanged() {
  if (gActiveForm) gActiveForm->ItemsChanged();
}

void CustomizingFormItemChanged(TdxBarItem* Item) {
  if (gActiveForm) gActiveForm->ItemChanged(Item);
}

// The All commands and Groups pages, which these refresh, exist only while
// a manager is designed.
void CustomizingFormItemNameChanged() {
  if (gActiveForm && gActiveForm->Design) gActiveForm->Design->CalcAllCommandsColumns();
}
void CustomizingFormGroupsChanged() {
  if (gActiveForm && gActiveForm->Design) gActiveForm->Design->RefreshGroups();
}
void CustomizingFormGroupItemsChanged() {
  if (gActiveForm && gActiveForm->Design) gActiveForm->Design->RefreshGroupItems();
}

// ---- The dialog's life ----

// Closed by the user or freed by the program, the dialog ends customizing
// once: the manager's end of it then finds the dialog going.
TdxBarCustomizingForm::~TdxBarCustomizingForm() {
  const bool ownsGuard = !gDestroying;
  gDestroying = true;
  if (gActiveForm == this) {
    // Freed by the program rather than closed, it still gives the forms back.
    DisableOwnerForms(true);
    FBarManager->SetCustomizing(false);
  }
  DestroyHandle();
  if (gActiveForm == this) gActiveForm = nullptr;
  if (ownsGuard) gDestroying = false;
}

void TdxBarCustomizingForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ACTIVATE: {
    TForm::WndProc(Message);
    if (gDestroying) return;
    TCustomForm* form = FBarManager->GetOwnerForm();
    const HWND other = reinterpret_cast<HWND>(Message.LParam);
    if (form && form->HandleAllocated() && other != form->GetHandle())
      SendMessageA(form->GetHandle(), WM_ACTIVATE, Message.WParam, Message.LParam);
    if (LOWORD(Message.WParam) != WA_INACTIVE && !ActiveCustomizingPopup()) PageControlChange();
    return;
  }
  case WM_DESTROY:
    TForm::WndProc(Message);
    if (gActiveForm == this && !gDestroying) {
      gActiveForm = nullptr;
      DisableOwnerForms(true);
      gOrphan.reset(this);
      FBarManager->SetCustomizing(false);
    }
    return;
  }
  TForm::WndProc(Message);
}
