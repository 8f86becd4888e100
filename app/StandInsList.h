// The stand-in for the check-list box of the program's own editors, on the
// class library's TCheckListBox. It offers what the dialogs call, under the
// same member names.
#pragma once

#include "CheckLst.h"
#include "cxCheckBox.h"

#include <functional>
#include <memory>
#include <vector>

class TStandInCheckListBox;

// One item of the check-list box: a text and a state. The item keeps both,
// so its text and state survive re-sorting and a recreated window.
class TStandInCheckListBoxItem {
public:
  explicit TStandInCheckListBoxItem(TStandInCheckListBox* list) : FList(list) {}
  String GetText() const { return FText; }
  void SetText(const String& Value);
  TcxCheckBoxState GetState() const { return FState; }
  // Redraws the item's row only when the state actually changes.
  void SetState(TcxCheckBoxState Value);
  bool GetChecked() const { return FState == cbsChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbsChecked : cbsUnchecked); }
  int GetIndex() const;

private:
  friend class TStandInCheckListBox;
  TStandInCheckListBox* FList;
  String FText;
  TcxCheckBoxState FState = cbsUnchecked;
};

// The list's item collection, kept in the order the list shows.
class TStandInCheckListBoxItems {
public:
  explicit TStandInCheckListBoxItems(TStandInCheckListBox* list) : FList(list) {}
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TStandInCheckListBoxItem* GetItem(int Index) const;
  // Appends a new unchecked item.
  TStandInCheckListBoxItem* Add();
  void Clear();
  // The list shows the items again (sorted when asked) only at the end of
  // the outermost update.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool Updating() const { return FUpdateCount > 0; }

private:
  friend class TStandInCheckListBox;
  friend class TStandInCheckListBoxItem;
  TStandInCheckListBox* FList;
  std::vector<std::unique_ptr<TStandInCheckListBoxItem>> FItems;
  int FUpdateCount = 0;
};

// Raised after a user's click changed the state of item AIndex; never for a
// state the program sets.
using TcxClickCheckEvent =
    std::function<void(TObject* Sender, int AIndex, TcxCheckBoxState OldState, TcxCheckBoxState NewState)>;

// The list box's own rows mirror the items: the stand-in's GetItems,
// GetSorted and OnClickCheck take the place of the list box's.
class TStandInCheckListBox : public TCheckListBox {
public:
  explicit TStandInCheckListBox(TComponent* AOwner);
  TStandInCheckListBoxItems* GetItems() { return &FItems; }
  const TStandInCheckListBoxItems* GetItems() const { return &FItems; }
  // Items are shown, and kept in the collection, sorted by text.
  bool GetSorted() const { return FSortedItems; }
  void SetSorted(bool Value);
  TcxClickCheckEvent OnClickCheck;

protected:
  void ClickCheck() override;
  String ClassName() const override { return "TStandInCheckListBox"; }

private:
  friend class TStandInCheckListBoxItem;
  friend class TStandInCheckListBoxItems;
  // Shows the collection in the list's rows, sorting it first when asked.
  void ShowItems();
  void ShowState(int Index);
  TStandInCheckListBoxItems FItems;
  bool FSortedItems = false;
};
