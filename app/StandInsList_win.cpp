#include "StandInsList.h"

#include <algorithm>

namespace {

TCheckBoxState ToRowState(TcxCheckBoxState state) {
  switch (state) {
  case cbsChecked:
    return cbChecked;
  case cbsGrayed:
    return cbGrayed;
  case cbsUnchecked:
    break;
  }
  return cbUnchecked;
}

TcxCheckBoxState FromRowState(TCheckBoxState state) {
  switch (state) {
  case cbChecked:
    return cbsChecked;
  case cbGrayed:
    return cbsGrayed;
  case cbUnchecked:
    break;
  }
  return cbsUnchecked;
}

} // namespace

void TStandInCheckListBoxItem::SetText(const String& Value) {
  if (Value == FText) return;
  FText = Value;
  if (!FList->FItems.Updating()) FList->ShowItems();
}

void TStandInCheckListBoxItem::SetState(TcxCheckBoxState Value) {
  if (Value == FState) return;
  FState = Value;
  if (!FList->FItems.Updating()) FList->ShowState(GetIndex());
}

int TStandInCheckListBoxItem::GetIndex() const {
  const auto& items = FList->FItems.FItems;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

TStandInCheckListBoxItem* TStandInCheckListBoxItems::GetItem(int Index) const {
  if (Index < 0 || Index >= GetCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return FItems[static_cast<size_t>(Index)].get();
}

TStandInCheckListBoxItem* TStandInCheckListBoxItems::Add() {
  auto* item = FItems.emplace_back(std::make_unique<TStandInCheckListBoxItem>(FList)).get();
  // Showing sorts the collection, so the new item need not stay last.
  if (!Updating()) FList->ShowItems();
  return item;
}

void TStandInCheckListBoxItems::Clear() {
  FItems.clear();
  if (!Updating()) FList->ShowItems();
}

void TStandInCheckListBoxItems::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) FList->ShowItems();
}

TStandInCheckListBox::TStandInCheckListBox(TComponent* AOwner) : TCheckListBox(AOwner), FItems(this) {}

void TStandInCheckListBox::SetSorted(bool Value) {
  if (Value == FSortedItems) return;
  FSortedItems = Value;
  if (Value && !FItems.Updating()) ShowItems();
}

void TStandInCheckListBox::ShowItems() {
  auto& items = FItems.FItems;
  if (FSortedItems)
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return CompareText(a->FText, b->FText) < 0; });
  TStrings* rows = TCheckListBox::GetItems();
  rows->BeginUpdate();
  rows->Clear();
  for (const auto& item : items)
    rows->Add(item->FText);
  for (int i = 0; i < FItems.GetCount(); ++i)
    TCheckListBox::SetState(i, ToRowState(items[static_cast<size_t>(i)]->FState));
  rows->EndUpdate();
}

void TStandInCheckListBox::ShowState(int Index) {
  TCheckListBox::SetState(Index, ToRowState(FItems.GetItem(Index)->FState));
}

// The class library's list changed one row's box on a click; that row is the
// one whose box no longer matches its item.
void TStandInCheckListBox::ClickCheck() {
  for (int i = 0; i < FItems.GetCount(); ++i) {
    TStandInCheckListBoxItem* item = FItems.GetItem(i);
    const TcxCheckBoxState newState = FromRowState(TCheckListBox::GetState(i));
    if (newState == item->FState) continue;
    const TcxCheckBoxState oldState = item->FState;
    item->FState = newState;
    if (OnClickCheck) OnClickCheck(this, i, oldState, newState);
    return;
  }
}
