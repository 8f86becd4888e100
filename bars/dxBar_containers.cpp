// Container items: sub items whose menu entries are generated, from a list
// of strings or from the links of their own menu; in a menu the generated
// links stand in for the item's link, on a toolbar its own menu shows them.
#include "dxBar.h"

#include "Forms.h"

#include <algorithm>

// ---- TCustomdxBarContainerItem ----

void TCustomdxBarContainerItem::AddListedLinks(TdxBarItemLinks*, int, TdxBarItemLink*, bool GetData) {
  if (FDataStale) ClearData();
  if (!GetData || !OnGetData) return;
  FDataSupplied = true;
  try {
    OnGetData(this);
  } catch (...) {
    // The generation goes on with the data as they are.
    FDataSupplied = false;
  }
}

void TCustomdxBarContainerItem::RemoveListedLinks(TdxBarItemLinks*, int) {}

void TCustomdxBarContainerItem::DataChanged() {
  if (!FDataSupplied) VisibleChanged();
}

// ---- TdxBarListItem ----

namespace {

bool IsSeparator(const String& Entry) { return Entry == "-"; }

} // namespace

TdxBarItemClass TdxBarListItem::ClassInfo() { return MakeBarItemClassInfo<TdxBarListItem>("TdxBarListItem"); }

TdxBarListItem::TdxBarListItem(TComponent* AOwner)
    : TCustomdxBarContainerItem(AOwner), FItems(std::make_unique<TStringList>()) {
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TdxBarListItem::~TdxBarListItem() {
  // The generated buttons go with the item: their click handler is the
  // item's.
  FreeButtons();
  FItems->OnChange = nullptr;
}

void TdxBarListItem::FreeButtons() {
  while (!FButtons.empty()) {
    TdxBarButton* button = FButtons.back();
    FButtons.pop_back();
    button->RemoveFreeNotification(this);
    delete button;
  }
}

void TdxBarListItem::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomdxBarContainerItem::Notification(AComponent, Operation);
  if (Operation == opRemove) std::erase(FButtons, AComponent);
}

void TdxBarListItem::ItemsChanged() {
  if (!FDataSupplied) VisibleChanged();
}

int TdxBarListItem::GetDataIndex() const {
  if (ItemIndex < 0 || ItemIndex >= FItems->GetCount()) return -1;
  int count = 0;
  for (int i = 0; i <= ItemIndex; ++i)
    if (!IsSeparator(FItems->Get(i))) ++count;
  return count - 1;
}

void TdxBarListItem::SetDataIndex(int Value) {
  if (FItems->GetCount() == 0) {
    ItemIndex = -1;
    return;
  }
  int count = -1;
  for (int i = 0; i < FItems->GetCount(); ++i) {
    if (!IsSeparator(FItems->Get(i))) ++count;
    if (count == Value) {
      ItemIndex = i;
      return;
    }
  }
  ItemIndex = FItems->GetCount();
}

bool TdxBarListItem::CanBeVisible() const { return static_cast<bool>(OnGetData) || FItems->GetCount() > 0; }

void TdxBarListItem::DirectClick() {
  // Opening the item's own menu goes through here as well; it is no click.
  if (!GetActiveLink()) TCustomdxBarContainerItem::DirectClick();
}

void TdxBarListItem::ButtonClick(TObject* Sender) {
  if (auto* button = dynamic_cast<TdxBarButton*>(Sender)) ItemIndex = button->Tag;
  DirectClick();
}

void TdxBarListItem::AddListedLinks(TdxBarItemLinks* Links, int Index, TdxBarItemLink* Source, bool GetData) {
  TCustomdxBarContainerItem::AddListedLinks(Links, Index, Source, GetData);
  const bool existed = !FButtons.empty();
  TComponent* owner = GetBarManager() && GetBarManager()->GetOwnerForm()
                          ? static_cast<TComponent*>(GetBarManager()->GetOwnerForm())
                          : GetOwner();
  bool groupPending = false;
  int n = 0;
  for (int i = 0; i < FItems->GetCount(); ++i) {
    const String entry = FItems->Get(i);
    if (IsSeparator(entry)) {
      groupPending = true;
      continue;
    }
    if (!existed) {
      auto* button = new TdxBarButton(owner);
      button->FreeNotification(this);
      FButtons.push_back(button);
      if (ShowCheck && i == ItemIndex) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      String number;
      if (ShowNumbers) number = "&" + (n < 9 ? IntToStr(n + 1) : String(1, static_cast<char>(n + 56))) + " ";
      button->SetCaptionDirectly(number + GetDisplayText(entry));
      button->Tag = i;
      button->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
      button->SetEnabled(GetEnabled());
    }
    if (n < static_cast<int>(FButtons.size())) {
      TdxBarItemLink* link = Links->Add();
      link->SourceLink = Source;
      link->SetIndex(Index + n);
      link->SetItem(FButtons[n]);
      link->SetBeginGroup(n == 0 || groupPending);
      if (Source) link->CopyUsageFrom(Source);
    }
    groupPending = false;
    ++n;
  }
}

void TdxBarListItem::RemoveListedLinks(TdxBarItemLinks* Links, int Index) {
  for (int i = 0; i < FItems->GetCount(); ++i)
    if (!IsSeparator(FItems->Get(i)) && Index < Links->GetCount()) delete Links->GetItem(Index);
}

void TdxBarListItem::ClearData() {
  if (!FButtons.empty() && FButtons.front()->GetLinkCount() == 0) FreeButtons();
  TCustomdxBarContainerItem::ClearData();
}

// ---- TdxBarContainerItem ----

TdxBarItemClass TdxBarContainerItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarContainerItem>("TdxBarContainerItem");
}

bool TdxBarContainerItem::HasVisibleLinks() const {
  const TdxBarItemLinks* links = GetItemLinks();
  for (int i = 0; i < links->GetCount(); ++i) {
    const TdxBarItem* item = links->GetItem(i)->GetItem();
    if (item && item->IsActuallyVisible()) return true;
  }
  return false;
}

void TdxBarContainerItem::AddListedLinks(TdxBarItemLinks* Links, int Index, TdxBarItemLink* Source, bool GetData) {
  TCustomdxBarContainerItem::AddListedLinks(Links, Index, Source, GetData);
  TdxBarItemLinks* own = GetItemLinks();
  if (Links == own) return;
  for (int i = 0; i < own->GetVisibleCount(); ++i) {
    TdxBarItemLink* link = Links->Add();
    link->SourceLink = Source;
    link->Assign(own->GetVisibleLink(i));
    link->SetIndex(Index + i);
    if (i == 0 && FirstLinkBeginsGroup()) link->SetBeginGroup(true);
    if (Source) link->CopyUsageFrom(Source);
  }
}

void TdxBarContainerItem::RemoveListedLinks(TdxBarItemLinks* Links, int Index) {
  if (Links == GetItemLinks()) return;
  for (int i = GetItemLinks()->GetVisibleCount(); i > 0 && Index < Links->GetCount(); --i)
    delete Links->GetItem(Index);
}

// ---- Links standing aside for their generated links ----

int TdxBarItemLinks::ExtractLink(TdxBarItemLink* Link) {
  const int recentIndex = Link->GetRecentIndex();
  std::erase(FRecent, Link);
  Link->SetCollection(nullptr);
  return recentIndex;
}

void TdxBarItemLinks::RestoreLink(TdxBarItemLink* Link, int Index, int RecentIndex) {
  Link->SetCollection(this);
  Link->SetIndex(std::min(Index, GetCount() - 1));
  std::erase(FRecent, Link);
  FRecent.insert(FRecent.begin() + std::clamp(RecentIndex, 0, static_cast<int>(FRecent.size())), Link);
  RebuildLists();
}

// ---- Menus: container links give way to their generated links ----

void TdxBarSubMenuControl::CreateControls() {
  TdxBarItemLinks* links = GetItemLinks();
  if (links && !Rebuilding && !GetBarManager()->IsCustomizing() && FContainerLinks.empty()) {
    std::vector<TCustomdxBarContainerItem*> asked;
    for (int i = 0; i < links->GetCount(); ++i) {
      TdxBarItemLink* link = links->GetItem(i);
      auto* item = dynamic_cast<TCustomdxBarContainerItem*>(link->GetItem());
      if (!item || link->GetVisibleIndex() < 0) continue;
      const int recentIndex = link->GetRecentIndex();
      const bool first = std::find(asked.begin(), asked.end(), item) == asked.end();
      if (first) asked.push_back(item);
      const int before = links->GetCount();
      item->AddListedLinks(links, i + 1, link, first);
      const int added = links->GetCount() - before;
      if (item->ReplacesOwnLink()) {
        link->MoveToRecentEnd();
        links->ExtractLink(link);
        FContainerLinks.push_back({i, item, link, true, recentIndex});
        i += added - 1;
      } else {
        FContainerLinks.push_back({i, item, link, false, recentIndex});
        i += added;
      }
    }
  }
  TCustomdxBarControl::CreateControls();
}

namespace {

bool IsItemOf(const TdxBarManager* Manager, const TdxBarItem* Item) {
  for (int i = 0; i < Manager->GetItemCount(); ++i)
    if (Manager->GetItem(i) == Item) return true;
  return false;
}

} // namespace

void TdxBarSubMenuControl::DestroyControls() {
  TCustomdxBarControl::DestroyControls();
  TdxBarItemLinks* links = GetItemLinks();
  if (!links || Rebuilding || FContainerLinks.empty()) return;
  Rebuilding = true;
  std::vector<TContainerLink> records;
  records.swap(FContainerLinks);
  std::vector<TCustomdxBarContainerItem*> alive;
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (IsItemOf(GetBarManager(), record->Item)) {
      alive.push_back(record->Item);
      record->Item->RemoveListedLinks(links, record->Index + (record->Replaced ? 0 : 1));
      if (record->Replaced) links->RestoreLink(record->Link, record->Index, record->RecentIndex);
      continue;
    }
    // An item freed while its menu was open took its own link along; the
    // links made for it are known by the link they stood for.
    for (int i = links->GetCount() - 1; i >= 0; --i)
      if (links->GetItem(i)->SourceLink == record->Link) delete links->GetItem(i);
  }
  for (TCustomdxBarContainerItem* item : alive)
    item->MarkDataStale();
  Rebuilding = false;
}

// ---- TdxBarContainerItemControl ----

TCustomdxBarContainerItem* TdxBarContainerItemControl::GetContainerItem() const {
  return dynamic_cast<TCustomdxBarContainerItem*>(GetItem());
}

void TdxBarContainerItemControl::CreateSubMenuControl() {
  TCustomdxBarContainerItem* item = GetContainerItem();
  if (!item || GetBarManager()->IsCustomizing()) return;
  auto* menu = new TContainerItemSubMenuControl(GetBarManager(), item);
  menu->SetItemLinks(item->GetItemLinks());
  item->AddListedLinks(item->GetItemLinks(), 0, GetLink(), true);
}

String TdxBarContainerItemControl::GetCaption() const {
  const String caption = TdxBarSubItemControl::GetCaption();
  TCustomdxBarContainerItem* item = GetContainerItem();
  if (GetBarControl()->IsPopup() && item && item->FirstLinkBeginsGroup()) return "(" + caption + ")";
  return caption;
}

bool TdxBarContainerItemControl::HasSubMenu() const {
  return !GetBarManager()->IsCustomizing();
}

void TdxBarContainerItemControl::Paint(const TRect& R, int PaintType) {
  if (PaintType != 1) return TdxBarSubItemControl::Paint(R, PaintType);
  if (R.Width() <= 0 || R.Height() <= 0) return;
  GetPainter()->DrawMenuItem(this, GetBarControl()->GetCanvas()->GetHandle(), R, false, true, false);
}

// ---- TContainerItemSubMenuControl ----

TContainerItemSubMenuControl::TContainerItemSubMenuControl(TdxBarManager* AOwner, TCustomdxBarContainerItem* AItem)
    : TdxBarSubMenuControl(AOwner), FItem(AItem) {
  FItem->FreeNotification(this);
}

TContainerItemSubMenuControl::~TContainerItemSubMenuControl() {
  // The window goes here, while the generated links can still be removed.
  DestroyHandle();
  if (!FItem) return;
  if (!FLinksRemoved && !FItem->IsDestroying()) NotifyCloseUp();
  FItem->MarkDataStale();
  FItem->RemoveFreeNotification(this);
}

void TContainerItemSubMenuControl::NotifyCloseUp() {
  if (FItem && !FLinksRemoved && !FItem->IsDestroying()) {
    FLinksRemoved = true;
    FItem->RemoveListedLinks(FItem->GetItemLinks(), 0);
  }
  TdxBarSubMenuControl::NotifyCloseUp();
}

void TContainerItemSubMenuControl::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarSubMenuControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FItem) FItem = nullptr;
}
