#include "Menus.h"

#include "Forms.h"

#include <algorithm>
#include <map>

namespace {

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

UINT NextCommand() {
  static UINT next = 0x1000;
  while (Commands().count(next) || next == 0)
    next = next >= 0xEFFF ? 0x1000 : next + 1;
  return next++;
}

} // namespace

class TMenuActionLink : public TBasicActionLink {
public:
  explicit TMenuActionLink(TMenuItem* client) : FClient(client) {}
  bool IsOnExecuteLinked() override { return !FClient->OnClick; }

protected:
  void SetCaption(const String& value) override { FClient->SetCaption(value); }
  void SetChecked(bool value) override { FClient->SetChecked(value); }
  void SetEnabled(bool value) override { FClient->SetEnabled(value); }
  void SetHint(const String& value) override { FClient->Hint = value; }
  void SetShortCut(TShortCut value) override { FClient->SetShortCut(value); }
  void SetVisible(bool value) override { FClient->SetVisible(value); }

private:
  TMenuItem* FClient;
};

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand()) {
  Commands()[FCommand] = this;
}

TMenuItem::~TMenuItem() {
  Commands().erase(FCommand);
  FActionLink.reset();
  if (FParent) FParent->Remove(this);
  for (TMenuItem* item : std::vector<TMenuItem*>(FItems))
    item->FParent = nullptr;
  FItems.clear();
  if (FHandle) DestroyMenu(FHandle);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->GetAction()) SetAction(nullptr);
}

void TMenuItem::MenuChanged() {
  for (TMenuItem* p = this; p; p = p->FParent) {
    if (p->FHandle) {
      DestroyMenu(p->FHandle);
      p->FHandle = nullptr;
    }
    if (p->FMenu) p->FMenu->MenuChanged();
  }
}

void TMenuItem::SetCaption(const String& value) {
  if (value == FCaption) return;
  FCaption = value;
  MenuChanged();
}

void TMenuItem::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  if (value && RadioItem && FParent)
    for (TMenuItem* item : FParent->FItems)
      if (item != this && item->RadioItem && item->GroupIndex == GroupIndex) item->SetChecked(false);
  MenuChanged();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  MenuChanged();
}

void TMenuItem::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  FShortCut = value;
  MenuChanged();
}

void TMenuItem::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  MenuChanged();
}

TBasicAction* TMenuItem::GetAction() const {
  return FActionLink ? FActionLink->GetAction() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* value) {
  if (!value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TMenuActionLink>(this);
  FActionLink->SetAction(value);
  value->FreeNotification(this);
  if (auto* action = dynamic_cast<TCustomAction*>(value)) {
    SetCaption(action->GetCaption());
    SetChecked(action->GetChecked());
    SetEnabled(action->GetEnabled());
    SetShortCut(action->GetShortCut());
    SetVisible(action->GetVisible());
    Hint = action->GetHint();
    ImageIndex = action->GetImageIndex();
  }
}

void TMenuItem::Add(TMenuItem* Item) {
  Insert(GetCount(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item->FParent) throw EInvalidOperation("Menu inserted twice");
  Index = std::clamp(Index, 0, GetCount());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
  MenuChanged();
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = FItems.at(Index);
  Remove(item);
  delete item;
}

void TMenuItem::Clear() {
  while (!FItems.empty())
    Delete(GetCount() - 1);
}

int TMenuItem::IndexOf(TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Click() {
  if (OnClick) {
    OnClick(this);
  } else if (FActionLink) {
    FActionLink->Execute(this);
  }
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::AppendTo(HMENU menu) {
  if (!FVisible) return;
  if (IsLine()) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  String text = FCaption;
  if (FShortCut) text += "\t" + ShortCutToText(FShortCut);
  UINT flags = MF_STRING | (FEnabled ? MF_ENABLED : MF_GRAYED) | (FChecked ? MF_CHECKED : MF_UNCHECKED);
  if (!FItems.empty()) {
    AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(GetHandle()), text.c_str());
  } else {
    AppendMenuA(menu, flags, FCommand, text.c_str());
  }
  if (FDefault) SetMenuDefaultItem(menu, FCommand, FALSE);
}

void TMenuItem::RebuildHandle() {
  FHandle = FMenu && dynamic_cast<TMainMenu*>(FMenu) ? CreateMenu() : CreatePopupMenu();
  for (TMenuItem* item : FItems)
    item->AppendTo(FHandle);
}

HMENU TMenuItem::GetHandle() {
  if (!FHandle) RebuildHandle();
  return FHandle;
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
  if (FCommand == command) return this;
  for (TMenuItem* item : FItems)
    if (TMenuItem* found = item->FindCommand(command)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut sc) {
  for (TMenuItem* item : FItems) {
    if (item->FShortCut == sc && item->FVisible && !item->IsLine()) return item;
    if (TMenuItem* found = item->FindShortCut(sc)) return found;
  }
  return nullptr;
}

void TMenuItem::UpdateItemsInner() {
  for (TMenuItem* item : std::vector<TMenuItem*>(FItems)) {
    item->InitiateAction();
    item->UpdateItemsInner();
  }
}

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() = default;

bool TMenu::IsShortCut(TMessage& Message) {
  const TShortCut sc = ShortCut(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam));
  if (sc == 0) return false;
  TMenuItem* item = FItems->FindShortCut(sc);
  if (!item) return false;
  item->InitiateAction();
  if (!item->GetEnabled()) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchCommand(UINT command) {
  auto it = Commands().find(command);
  if (it == Commands().end()) return false;
  it->second->Click();
  return true;
}

bool TMenu::DispatchOwnerDraw(TMessage&) {
  return false;
}

void TMenu::UpdateItems() {
  FItems->UpdateItemsInner();
}

HMENU TMainMenu::GetHandle() {
  return GetItems()->GetHandle();
}

void TMainMenu::MenuChanged() {
  // The form shows the rebuilt menu bar.
  for (int i = 0; i < Screen->GetFormCount(); ++i) {
    TCustomForm* form = Screen->GetForms(i);
    if (form->GetMenu() == this && form->HandleAllocated()) {
      ::SetMenu(form->GetHandle(), GetHandle());
      DrawMenuBar(form->GetHandle());
    }
  }
}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  UpdateItems();
  HWND owner = Application->GetHandle();
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(GetHandle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, X, Y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  if (command) DispatchCommand(command);
}
