// The check list box: a bordered list of text items, each with a check box
// of three states and an enabled flag, in a container that hosts an
// owner-drawn inner list box whose rows mirror the items. The checked items
// are also an integer bit mask, the edit value.
#pragma once

#include "cxExtEditConsts.h"
#include "cxExtEditUtils.h"

#include "Collections.h"

using TcxClickCheckEvent =
    std::function<void(TObject* Sender, int AIndex, TcxCheckBoxState OldState, TcxCheckBoxState NewState)>;
using TcxCustomMapStateToEditValueEvent = std::function<void(TObject* Sender, Variant& EditValue)>;
using TcxCustomMapEditValueToStateEvent =
    std::function<void(TObject* Sender, int Index, const Variant& EditValue, TcxCheckBoxState& CheckState)>;

class TcxCustomInnerCheckListBox;
class TcxCustomCheckListBox;

class TcxCheckListBoxItem : public TCollectionItem {
public:
  explicit TcxCheckListBoxItem(TCollection* Collection);
  ~TcxCheckListBoxItem() override;
  void Assign(const TPersistent* Source) override;
  String GetDisplayName() const override;

  const String& GetText() const { return FText; }
  // With Sorted set, the item and its row move to their place in text order.
  void SetText(const String& Value);
  TcxCheckBoxState GetState() const { return FState; }
  void SetState(TcxCheckBoxState Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetChecked() const { return FState == cbsChecked; }
  void SetChecked(bool Value);

protected:
  String ClassName() const override { return "TcxCheckListBoxItem"; }

private:
  friend class TcxCustomInnerCheckListBox;
  friend class TcxCustomCheckListBox;
  TcxCustomInnerCheckListBox* ListBox() const;
  String FText;
  TcxCheckBoxState FState = cbsUnchecked;
  bool FEnabled = true;
};

class TcxCheckListBoxItems : public TTypedCollection<TcxCheckListBoxItem> {
public:
  explicit TcxCheckListBoxItems(TcxCustomInnerCheckListBox* AOwner) : FOwner(AOwner) {}
  ~TcxCheckListBoxItems() override;
  TcxCustomInnerCheckListBox* GetOwnerListBox() const { return FOwner; }

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TcxCheckListBoxItems"; }

private:
  TcxCustomInnerCheckListBox* FOwner;
};

class TcxCustomInnerCheckListBox : public TcxCustomInnerListBox {
public:
  explicit TcxCustomInnerCheckListBox(TComponent* AOwner);
  ~TcxCustomInnerCheckListBox() override;

  bool AllowGrayed = false;
  bool AllowDblClickToggle = true;
  TcxCheckListBoxItems* GetCheckItems() const { return FItems.get(); }
  TcxCheckPaintHelper* GetPaintHelper() const { return FPaintHelper.get(); }
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* Value);
  int GetGlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int Value);
  bool GetItemsSorted() const { return FSorted; }
  // Puts the items and their rows in text order.
  void SetItemsSorted(bool Value);
  int GetRowHeight() const { return FRowHeight; }
  // The user's toggle of a row: nothing out of range or on a disabled item.
  void ToggleItem(int Index);

  virtual void GlyphChanged();
  virtual void FullRepaint();
  virtual void InvalidateItem(int Index);
  virtual void UpdateEditValue();
  virtual void DoClickCheck(int Index, TcxCheckBoxState OldState, TcxCheckBoxState NewState);
  virtual void CheckClicked() {}
  virtual void ClearStatesSilently();

protected:
  friend class TcxCheckListBoxItem;
  friend class TcxCustomCheckListBox;
  void CreateWndFinished() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void WndProc(TMessage& Message) override;
  String ClassName() const override { return "TcxCustomInnerCheckListBox"; }

private:
  TcxCustomCheckListBox* CheckListBox() const;
  void UpdateRowHeight();
  bool InCheckSquare(int Index, const TPoint& P);
  void EnsureRows(int Index);
  void PlaceSorted(TcxCheckListBoxItem* AItem);
  void RemoveRow(const String& AText);

  int FRowHeight = 16;
  std::unique_ptr<TcxCheckPaintHelper> FPaintHelper;
  std::unique_ptr<TBitmap> FGlyph;
  int FGlyphCount = 6;
  std::unique_ptr<TcxCheckListBoxItems> FItems;
  bool FSorted = false;
};

class TcxCustomCheckListBox : public TcxContainer {
public:
  explicit TcxCustomCheckListBox(TComponent* AOwner);
  ~TcxCustomCheckListBox() override;

  TcxCustomInnerCheckListBox* GetInnerCheckListBox() const { return FInnerCheckListBox; }
  TcxCheckListBoxItems* GetItems() const { return FInnerCheckListBox->GetCheckItems(); }
  void SetItems(const TcxCheckListBoxItems* Value);
  bool GetAllowGrayed() const { return FInnerCheckListBox->AllowGrayed; }
  void SetAllowGrayed(bool Value) { FInnerCheckListBox->AllowGrayed = Value; }
  bool GetAllowDblClickToggle() const { return FInnerCheckListBox->AllowDblClickToggle; }
  void SetAllowDblClickToggle(bool Value) { FInnerCheckListBox->AllowDblClickToggle = Value; }
  bool GetSorted() const { return FInnerCheckListBox->GetItemsSorted(); }
  void SetSorted(bool Value) { FInnerCheckListBox->SetItemsSorted(Value); }
  int GetColumns() const { return FInnerCheckListBox->GetColumns(); }
  void SetColumns(int Value) { FInnerCheckListBox->SetColumns(Value); }
  int GetScrollWidth() const { return FInnerCheckListBox->GetScrollWidth(); }
  // A width beyond the list's adds its horizontal bar.
  void SetScrollWidth(int Value);
  int GetTabWidth() const { return FInnerCheckListBox->GetTabWidth(); }
  void SetTabWidth(int Value) { FInnerCheckListBox->SetTabWidth(Value); }
  bool GetAutoComplete() const { return FInnerCheckListBox->AutoComplete; }
  void SetAutoComplete(bool Value) { FInnerCheckListBox->AutoComplete = Value; }
  void SetGlyph(const TBitmap* Value) { FInnerCheckListBox->SetGlyph(Value); }
  void SetGlyphCount(int Value) { FInnerCheckListBox->SetGlyphCount(Value); }
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  TcxExtContainerStyle* GetStyle() const {
    return static_cast<TcxExtContainerStyle*>(TcxContainer::GetStyle());
  }

  virtual void FullRepaint() { FInnerCheckListBox->FullRepaint(); }
  virtual int GetItemCount() const { return FInnerCheckListBox->GetCount(); }
  virtual Variant GetEditValue();
  // Any number of the mask's kinds; anything else becomes 0.
  virtual void SetEditValue(const Variant& Value);
  virtual bool IsValidEditValue(const Variant& Value, bool AllowEmpty);
  virtual void NormalizeEditValue(const Variant& Value, Variant& Result);
  virtual void ConvertEditValue(const Variant& Value, Variant& Result);
  // The checked items below 64 as bits, stopping before the one that would
  // pass ALimit.
  virtual int64_t GetCheckedMask(int64_t ALimit);

  void ApplyStyleToInnerControl() override;
  void ContainerStyleChanged(TObject* Sender) override;
  void DataChange() override;
  void WndProc(TMessage& Message) override;

  // Fired with the inner list box as Sender.
  TcxClickCheckEvent OnClickCheck;
  TcxCustomMapStateToEditValueEvent OnCustomMapStateToEditValue;
  TcxCustomMapEditValueToStateEvent OnCustomMapEditValueToState;
  TNotifyEvent OnEditValueChanged;
  TDrawItemEvent OnDrawItem;
  // Fired with the check list box as the control, for rows of their own
  // heights (the inner list box's style lbOwnerDrawVariable).
  TMeasureItemEvent OnMeasureItem;

protected:
  friend class TcxCustomInnerCheckListBox;
  std::unique_ptr<TcxContainerStyle> CreateStyle(bool AIsInternal) override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void AdjustInnerControlBounds() override;
  // Paints item AIndex of the narrowed row R.
  void DrawItemHandler(int AIndex, const TRect& R, TOwnerDrawState AState);
  // The height of a row of its own height: the text's and 2, at least 15,
  // then OnMeasureItem's.
  void MeasureItemHandler(int AIndex, int& AHeight);
  String ClassName() const override { return "TcxCustomCheckListBox"; }

private:
  void ApplyEditValueMask(int64_t AMask);
  int CalcIntegralHeight(int AHeight);
  int HeightForRows(int ARows);

  TcxCustomInnerCheckListBox* FInnerCheckListBox = nullptr;
  bool FIntegralHeight = false;
  Variant FEditValue = Variant(0);
};

class TcxCheckListBox : public TcxCustomCheckListBox {
public:
  using TcxCustomCheckListBox::TcxCustomCheckListBox;

protected:
  String ClassName() const override { return "TcxCheckListBox"; }
};
