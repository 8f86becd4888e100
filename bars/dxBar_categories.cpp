// Categories of the manager and bar groups: every operation keeps each item
// on its category's name.
#include "dxBar.h"

#include "dxBarStrs.h"

#include <algorithm>

// ---- The category list ----

TdxBarManagerCategories::TdxBarManagerCategories(TdxBarManager* ABarManager) : FBarManager(ABarManager) {
  if (!ABarManager->IsLoading()) Add(dxBarString(dxSBAR_DEFAULTCATEGORYNAME));
  OnChange = [this](TObject*) { FBarManager->DesignerModified(); };
}

TdxBarManagerCategories::~TdxBarManagerCategories() {
  OnChange = nullptr;
  for (int i = 0; i < GetCount(); ++i)
    delete GetRecord(i);
}

TdxBarCategoryRecord* TdxBarManagerCategories::GetRecord(int Index) const {
  return static_cast<TdxBarCategoryRecord*>(GetObject(Index));
}

TdxBarCategoryRecord* TdxBarManagerCategories::RequireRecord(int Index) {
  if (!GetRecord(Index)) PutObject(Index, new TdxBarCategoryRecord);
  return GetRecord(Index);
}

std::vector<TdxBarItem*> TdxBarManagerCategories::CategoryItems(int Index) const {
  std::vector<TdxBarItem*> items;
  FBarManager->GetItemsByCategory(Index, items);
  return items;
}

void TdxBarManagerCategories::ShiftItems(int From, int To) {
  for (TdxBarItem* item : FBarManager->FItems)
    if (item->FCategory == From) item->FCategory = To;
}

void TdxBarManagerCategories::Insert(int Index, const String& S) {
  if (!FMoving && Index >= 0 && Index < GetCount())
    for (int j = GetCount() - 1; j >= Index; --j)
      ShiftItems(j, j + 1);
  TStringList::Insert(Index, S);
}

void TdxBarManagerCategories::Delete(int Index) {
  if (FMoving) {
    TStringList::Delete(Index);
    return;
  }
  if (Index < 0 || Index >= GetCount()) return;
  for (TdxBarItem* item : CategoryItems(Index))
    delete item;
  for (int j = Index + 1; j < GetCount(); ++j)
    ShiftItems(j, j - 1);
  delete GetRecord(Index);
  TStringList::Delete(Index);
  if (GetCount() == 0) Add(dxBarString(dxSBAR_DEFAULTCATEGORYNAME));
}

void TdxBarManagerCategories::Clear() {
  for (int i = 0; i < GetCount(); ++i)
    delete GetRecord(i);
  TStringList::Clear();
}

void TdxBarManagerCategories::Exchange(int Index1, int Index2) {
  if (Index1 < 0 || Index1 >= GetCount() || Index2 < 0 || Index2 >= GetCount()) return;
  const std::vector<TdxBarItem*> items1 = CategoryItems(Index1);
  const std::vector<TdxBarItem*> items2 = CategoryItems(Index2);
  for (TdxBarItem* item : items1)
    item->SetCategory(Index2);
  for (TdxBarItem* item : items2)
    item->SetCategory(Index1);
  TStrings::Exchange(Index1, Index2);
}

void TdxBarManagerCategories::Move(int CurIndex, int NewIndex) {
  if (CurIndex < 0 || CurIndex >= GetCount() || NewIndex < 0 || NewIndex >= GetCount() ||
      CurIndex == NewIndex)
    return;
  const std::vector<TdxBarItem*> moved = CategoryItems(CurIndex);
  for (TdxBarItem* item : moved)
    item->FCategory = -1000;
  if (CurIndex < NewIndex)
    for (int j = CurIndex + 1; j <= NewIndex; ++j)
      ShiftItems(j, j - 1);
  else
    for (int j = CurIndex - 1; j >= NewIndex; --j)
      ShiftItems(j, j + 1);
  for (TdxBarItem* item : moved)
    item->FCategory = NewIndex;
  FMoving = true;
  TStrings::Move(CurIndex, NewIndex);
  FMoving = false;
}

// ---- The manager's category operations ----

TdxBarItemVisible TdxBarManager::GetCategoryItemsVisible(int Index) const {
  if (Index < 0 || Index >= FCategories->GetCount()) return ivNever;
  const TdxBarCategoryRecord* record = FCategories->GetRecord(Index);
  return record ? record->ItemsVisible : ivAlways;
}

bool TdxBarManager::GetCategoryVisible(int Index) const {
  if (Index < 0 || Index >= FCategories->GetCount()) return false;
  const TdxBarCategoryRecord* record = FCategories->GetRecord(Index);
  return record ? record->Visible : true;
}

std::vector<TdxBar*> TdxBarManager::BarsWithoutAvailableLinks() const {
  std::vector<TdxBar*> bars;
  for (int i = 0; i < FBars->GetCount(); ++i)
    if (FBars->GetItem(i)->GetItemLinks()->GetAvailableCount() == 0) bars.push_back(FBars->GetItem(i));
  return bars;
}

void TdxBarManager::AutoHideBars(TdxBarItemVisible Value, const std::vector<TdxBar*>& EmptyBefore) {
  for (int i = 0; i < FBars->GetCount(); ++i) {
    TdxBar* bar = FBars->GetItem(i);
    const bool empty = bar->GetItemLinks()->GetAvailableCount() == 0;
    const bool wasEmpty = std::find(EmptyBefore.begin(), EmptyBefore.end(), bar) != EmptyBefore.end();
    if (Value == ivNever && empty && !wasEmpty && bar->GetVisible()) {
      bar->SetVisible(false);
      bar->HiddenAutomatically = true;
    } else if (Value == ivAlways && !empty && bar->HiddenAutomatically) {
      bar->SetVisible(true);
      bar->HiddenAutomatically = false;
    }
  }
}

void TdxBarManager::SetCategoryItemsVisible(int Index, TdxBarItemVisible Value) {
  if (Index < 0 || Index >= FCategories->GetCount()) return;
  const TdxBarItemVisible old = GetCategoryItemsVisible(Index);
  TdxBarCategoryRecord* record = FCategories->RequireRecord(Index);
  if (IsLoading()) {
    record->PendingItemsVisible = Value;
    record->HasPendingItemsVisible = true;
    return;
  }
  record->ItemsVisible = Value;
  const std::vector<TdxBar*> emptyBefore =
      FAutoHideEmptyBars ? BarsWithoutAvailableLinks() : std::vector<TdxBar*>();
  {
    TLockUpdateScope lock(this);
    std::vector<TdxBarItem*> items;
    GetItemsByCategory(Index, items);
    if (Value == ivAlways) std::reverse(items.begin(), items.end());
    for (TdxBarItem* item : items)
      if (item->GetVisible() == old) item->SetVisible(Value);
    if (FAutoHideEmptyBars) AutoHideBars(Value, emptyBefore);
  }
  if (Value != old) DesignerModified();
}

void TdxBarManager::SetCategoryVisible(int Index, bool Value) {
  if (Index < 0 || Index >= FCategories->GetCount() || GetCategoryVisible(Index) == Value) return;
  FCategories->RequireRecord(Index)->Visible = Value;
  DesignerModified();
}

// ---- Groups ----

TdxBarGroup::TdxBarGroup(TComponent* AOwner) : TComponent(AOwner) {}

TdxBarGroup::~TdxBarGroup() {
  SetDestroying();
  if (!FBarManager) return;
  auto& groups = FBarManager->FGroups;
  groups.erase(std::remove(groups.begin(), groups.end(), this), groups.end());
}

template <typename F> void TdxBarGroup::ForEachMember(F&& Apply) {
  const bool lock = FBarManager && !IsLoading() && !IsDestroying();
  const bool old = FBarManager ? FBarManager->GetLockUpdate() : false;
  if (lock) FBarManager->SetLockUpdate(true);
  try {
    for (TComponent* member : std::vector<TComponent*>(FItems))
      Apply(member);
  } catch (...) {
    if (lock) FBarManager->SetLockUpdate(old);
    throw;
  }
  if (lock) FBarManager->SetLockUpdate(old);
}

void TdxBarGroup::SetEnabled(bool Value) {
  FEnabled = Value;
  ForEachMember([Value](TComponent* member) {
    if (auto* item = dynamic_cast<TdxBarItem*>(member))
      item->SetEnabled(Value);
    else
      static_cast<TdxBarGroup*>(member)->SetEnabled(Value);
  });
}

void TdxBarGroup::SetVisible(TdxBarItemVisible Value) {
  FVisible = Value;
  ForEachMember([Value](TComponent* member) {
    if (auto* item = dynamic_cast<TdxBarItem*>(member))
      item->SetVisible(Value);
    else
      static_cast<TdxBarGroup*>(member)->SetVisible(Value);
  });
}

int TdxBarGroup::IndexOf(TComponent* AItem) const {
  auto it = std::find(FItems.begin(), FItems.end(), AItem);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

bool TdxBarGroup::Contains(const TdxBarGroup* AGroup) const {
  for (TComponent* member : FItems) {
    auto* group = dynamic_cast<TdxBarGroup*>(member);
    if (group && (group == AGroup || group->Contains(AGroup))) return true;
  }
  return false;
}

void TdxBarGroup::Add(TComponent* AItem) {
  if (!AItem || IndexOf(AItem) >= 0) return;
  auto* group = dynamic_cast<TdxBarGroup*>(AItem);
  if (!group && !dynamic_cast<TdxBarItem*>(AItem)) return;
  if (group && (group == this || group->Contains(this))) throw Exception(dxBarString(dxSBAR_RECURSIVEGROUPS));
  FItems.push_back(AItem);
  AItem->FreeNotification(this);
}

void TdxBarGroup::Remove(TComponent* AItem) {
  const int index = IndexOf(AItem);
  if (index < 0) return;
  FItems.erase(FItems.begin() + index);
  AItem->RemoveFreeNotification(this);
}

void TdxBarGroup::Move(int CurIndex, int NewIndex) {
  TComponent* member = FItems[CurIndex];
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, member);
}

int TdxBarGroup::GetIndex() const {
  if (!FBarManager) return -1;
  const auto& groups = FBarManager->FGroups;
  return static_cast<int>(std::find(groups.begin(), groups.end(), this) - groups.begin());
}

void TdxBarGroup::SetIndex(int Value) {
  const int index = GetIndex();
  if (index < 0 || Value == index || Value < 0 || Value >= FBarManager->GetGroupCount()) return;
  auto& groups = FBarManager->FGroups;
  groups.erase(groups.begin() + index);
  groups.insert(groups.begin() + Value, this);
}

void TdxBarGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != this) {
    const int index = IndexOf(AComponent);
    if (index >= 0) FItems.erase(FItems.begin() + index);
  }
}
