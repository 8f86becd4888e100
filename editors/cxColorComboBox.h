// The colour combo box: a list-only drop-down editor whose value is a colour.
// Its list shows the most recently used colours first, then the colour
// items, each row a sample and (when descriptions are on) the colour's
// name; the items can be loaded from the colour tables, and a second button
// opens the colour dialog that adds any colour to the list.
#pragma once

#include "cxDropDownEdit.h"
#include "cxExtEditConsts.h"
#include "cxExtEditUtils.h"

class TcxCustomColorComboBox;
class TcxCustomColorComboBoxProperties;

enum TcxColorComboStyle { cxccsComboList, cxccsComboEdit };
enum TcxColorBoxAlign { cbaLeft, cbaRight };
enum TcxColorDialogType { cxcdtDefault, cxcdtCustom };

using TcxSelectCustomColorEvent =
    std::function<void(TObject* Sender, TColor& AColor, String& AColorDescription, bool& AddToList)>;
using TcxNamingConventionEvent =
    std::function<void(TObject* Sender, TColor AColor, String& AColorDescription)>;
using TcxGetDefaultColorEvent = std::function<void(TObject* Sender, TColor& AColor)>;

// What AddMRUColor and DelMRUColor did.
constexpr int cxMRUNone = 0;
constexpr int cxMRUMovedToFront = 1;
constexpr int cxMRUInserted = 2;
constexpr int cxMRURemoved = 3;

class TcxColorComboBoxItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  void Assign(const TPersistent* Source) override;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  const String& GetDescription() const { return FDescription; }
  void SetDescription(const String& Value);
  // Added by code or by the user rather than from a colour table.
  bool IsCustom = true;

protected:
  String ClassName() const override { return "TcxColorComboBoxItem"; }

private:
  TColor FColor = 0;
  String FDescription;
};

class TcxColorComboBoxItems : public TTypedCollection<TcxColorComboBoxItem> {
public:
  explicit TcxColorComboBoxItems(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }

  virtual TcxColorComboBoxItem* FindColor(TColor AColor) const;
  // None when the colour is listed already.
  virtual TcxColorComboBoxItem* AddColor(TColor AColor, const String& ADescription);
  virtual TcxColorComboBoxItem* InsertColor(int AIndex, TColor AColor, const String& ADescription);
  virtual void Move(int AFrom, int ATo);
  // Removes the items loaded from colour tables.
  virtual void ClearNonCustom();

  int IndexOfColor(TColor AColor) const;
  TColor GetColorAt(int AIndex, TColor ADefault) const;

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TcxColorComboBoxItems"; }

private:
  TPersistent* FOwner;
};

// ---- View data and view info ----

class TcxCustomColorComboBoxViewInfo : public TcxCustomTextEditViewInfo {
public:
  TColor BkgColor = clWindow;
  int ColorBoxWidth = 30;
  TcxColorBoxAlign ColorBoxAlign = cbaLeft;
  TRect ColorBoxRect;
  TColor ColorBoxFrameColor = clBtnShadow;
  TColor Color = clWindow;
  bool ShowDescriptions = true;
  TcxDefaultColorStyle DefaultColorStyle = cxdcColor;
  // The value is a listed colour.
  bool HasColor = false;

  void InternalPaint(TcxCanvas* ACanvas) override;
  void Offset(int DX, int DY) override;
};

class TcxCustomColorComboBoxViewData : public TcxCustomDropDownEditViewData {
public:
  using TcxCustomDropDownEditViewData::TcxCustomDropDownEditViewData;
  TcxCustomColorComboBoxProperties* GetColorProperties() const;

  virtual void PrepareColorViewInfo(TcxCustomColorComboBoxViewInfo* AViewInfo);

  bool IsComboBoxStyle() const override { return true; }
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void GetDisplayTextForValue(const Variant& DisplayValue, TcxCustomTextEditViewInfo* AViewInfo) override;
  SIZE GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                          const TcxEditSizeProperties& ASizeProperties) override;

protected:
  String ClassName() const override { return "TcxCustomColorComboBoxViewData"; }

private:
  // The colour and text of the editor's value.
  void AssignEditValue(TcxCustomColorComboBoxViewInfo* AViewInfo);
};

// ---- Settings ----

// Rows 0..M-1 of the list are the MRU colours, M..M+N-1 the items; -1 is
// no row.
class TcxCustomColorComboBoxProperties : public TcxCustomComboBoxProperties {
public:
  explicit TcxCustomColorComboBoxProperties(TPersistent* AOwner);
  ~TcxCustomColorComboBoxProperties() override;
  void Assign(const TPersistent* Source) override;
  void Changed() override;

  bool GetAllowSelectColor() const { return FAllowSelectColor; }
  void SetAllowSelectColor(bool Value);
  TcxColorComboStyle GetColorComboStyle() const { return FColorComboStyle; }
  void SetColorComboStyle(TcxColorComboStyle Value) { Store(FColorComboStyle, Value); }
  TcxColorBoxAlign GetColorBoxAlign() const { return FColorBoxAlign; }
  void SetColorBoxAlign(TcxColorBoxAlign Value) { Store(FColorBoxAlign, Value); }
  TColor GetColorBoxFrameColor() const { return FColorBoxFrameColor; }
  void SetColorBoxFrameColor(TColor Value) { Store(FColorBoxFrameColor, Value); }
  int GetColorBoxWidth() const { return FColorBoxWidth; }
  // A negative width is stored as 0.
  void SetColorBoxWidth(int Value) { Store(FColorBoxWidth, Value < 0 ? 0 : Value); }
  TcxColorDialogType ColorDialogType = cxcdtDefault;
  TcxColorValueFormat GetColorValueFormat() const { return FColorValueFormat; }
  void SetColorValueFormat(TcxColorValueFormat Value) { Store(FColorValueFormat, Value); }
  TColor GetDefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value) { Store(FDefaultColor, Value); }
  const String& GetDefaultDescription() const { return FDefaultDescription; }
  void SetDefaultDescription(const String& Value) { Store(FDefaultDescription, Value); }
  TcxDefaultColorStyle GetDefaultColorStyle() const { return FDefaultColorStyle; }
  void SetDefaultColorStyle(TcxDefaultColorStyle Value) { Store(FDefaultColorStyle, Value); }
  bool GetShowDescriptions() const { return FShowDescriptions; }
  void SetShowDescriptions(bool Value) { Store(FShowDescriptions, Value); }
  int GetMaxMRUColors() const { return FMaxMRUColors; }
  void SetMaxMRUColors(BYTE Value);
  TcxColorNamingConvention GetNamingConvention() const { return FNamingConvention; }
  void SetNamingConvention(TcxColorNamingConvention Value) { Store(FNamingConvention, Value); }
  TcxColorPrepareList PrepareList = cxplKorvel;
  TcxColorComboBoxItems* GetItems() const { return FItems.get(); }
  void SetItems(const TcxColorComboBoxItems* Value);
  TcxColorComboBoxItems* GetMRUColors() const { return FMRUColors.get(); }
  const String& GetPrepareInfo() const { return FPrepareInfo; }
  // Loads the PrepareList table behind the items.
  void SetPrepareInfo(const String& Value);

  TcxSelectCustomColorEvent OnSelectCustomColor;
  TcxNamingConventionEvent OnNamingConvention;
  TNotifyEvent OnAddedMRUColor;
  TNotifyEvent OnDeletedMRUColor;
  TcxGetDefaultColorEvent OnGetDefaultColor;

  // Result codes cxMRUNone, cxMRUMovedToFront, cxMRUInserted, cxMRURemoved.
  virtual int AddMRUColor(TColor AColor);
  virtual int DelMRUColor(TColor AColor);
  virtual void ClearMRUColors();
  virtual void DoGetDefaultColor(TColor& AColor);

  int IndexOfColorValue(const Variant& Value) const;
  TColor GetColorByIndex(int ARow) const;
  int GetIndexByColor(TColor AColor) const;
  TcxColorComboBoxItem* GetItemByIndex(int ARow) const;
  String GetDescriptionByIndex(int ARow) const;
  String GetColorNameByIndex(int ARow) const;
  // AColor is left alone when the value is a listed colour.
  void GetColorByValue(const Variant& Value, TColor& AColor, String& AText) const;
  void AssignColorToViewInfo(int ARow, TcxCustomColorComboBoxViewInfo* AViewInfo, const Variant& Value) const;
  void TrimMRUColors();
  int MRUCount() const { return FMRUColors->GetCount(); }
  int RowCount() const { return FMRUColors->GetCount() + FItems->GetCount(); }

  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  std::unique_ptr<TcxCustomTextEditLookupData> CreateLookupData(TcxCustomTextEdit* AEdit) const override;
  std::unique_ptr<TcxCustomEditPopupWindow> CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const override;
  int GetCapabilities() const override;
  int GetEditValueSource(bool) const override { return 0; }
  bool UsesValueBounds() const override { return true; }
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  void AssignItems(TcxCustomEditProperties* AProperties) override;

protected:
  String ClassName() const override { return "TcxCustomColorComboBoxProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void NamingConvention(TColor AColor, String& AText) const;

  bool FAllowSelectColor = false;
  TcxColorComboStyle FColorComboStyle = cxccsComboEdit;
  TcxColorBoxAlign FColorBoxAlign = cbaLeft;
  TColor FColorBoxFrameColor = clBtnShadow;
  int FColorBoxWidth = 30;
  TcxColorValueFormat FColorValueFormat = cxcvRGB;
  TColor FDefaultColor = clWindow;
  String FDefaultDescription;
  TcxDefaultColorStyle FDefaultColorStyle = cxdcColor;
  bool FShowDescriptions = true;
  BYTE FMaxMRUColors = 10;
  TcxColorNamingConvention FNamingConvention = cxncKorvel;
  String FPrepareInfo;
  // While set, an insertion into the MRU section notifies nobody.
  bool FMRUUpdating = false;
  std::unique_ptr<TcxColorComboBoxItems> FItems;
  std::unique_ptr<TcxColorComboBoxItems> FMRUColors;
};

class TcxColorComboBoxProperties : public TcxCustomColorComboBoxProperties {
public:
  using TcxCustomColorComboBoxProperties::TcxCustomColorComboBoxProperties;

protected:
  String ClassName() const override { return "TcxColorComboBoxProperties"; }
};

// ---- The list ----

class TcxCustomColorComboBoxListBox : public TcxComboBoxListBox {
public:
  TcxCustomColorComboBoxListBox(TComponent* AOwner, TcxCustomColorComboBox* AEdit);
  int GetItemHeight(int AIndex) override;
  void RecreateWindowIfNeeded() override {}

protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  String ClassName() const override { return "TcxCustomColorComboBoxListBox"; }

private:
  TcxCustomColorComboBoxProperties* Properties() const;
  TcxCustomColorComboBox* FColorEdit;
};

class TcxColorComboBoxLookupData : public TcxComboBoxLookupData {
public:
  using TcxComboBoxLookupData::TcxComboBoxLookupData;

  virtual int SyncItemIndexWithMRU(TColor AColor);

  TcxCustomEditListBox* CreateListBox(TComponent* AOwner) override;
  String GetItemText(int AIndex) override;
  int GetItemCount() override;
  // The current row follows the editor's value, not its text.
  void SyncWithText() override;

protected:
  String ClassName() const override { return "TcxColorComboBoxLookupData"; }

private:
  TcxCustomColorComboBoxProperties* Properties() const;
};

class TcxColorComboBoxPopupWindow : public TcxComboBoxPopupWindow {
public:
  using TcxComboBoxPopupWindow::TcxComboBoxPopupWindow;

protected:
  String ClassName() const override { return "TcxColorComboBoxPopupWindow"; }
};

class TcxCustomColorComboBoxInnerEdit : public TcxCustomComboBoxInnerEdit {
public:
  using TcxCustomComboBoxInnerEdit::TcxCustomComboBoxInnerEdit;

protected:
  String ClassName() const override { return "TcxCustomColorComboBoxInnerEdit"; }
};

// ---- The editor ----

class TcxCustomColorComboBox : public TcxCustomComboBox {
public:
  explicit TcxCustomColorComboBox(TComponent* AOwner);
  TcxCustomColorComboBoxProperties* GetActiveProperties() const {
    return static_cast<TcxCustomColorComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxColorComboBoxLookupData* GetColorLookupData() const {
    return static_cast<TcxColorComboBoxLookupData*>(GetLookupData());
  }

  TColor GetColorValue() const { return FColorValue; }
  void SetColorValue(TColor Value);
  // True while the colour dialog is open.
  bool IsColorDialogOpen() const { return FDialogOpen; }

  virtual void SelectCustomColor();
  virtual void UpdateMRUList(TColor AColor);
  virtual void ClearColorValue();

  void DoButtonClick(int AIndex) override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  bool IsCharAllowed(char Ch) override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  void StoreEditValue(const Variant& Value, bool AValidate) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void SynchronizeDisplayValue() override;
  void MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  void LookupKeyToEditValue(int AKey, Variant& EditValue) override;
  void CloseUp(bool AAccept) override;
  SIZE CalculatePopupContentSize() override;
  bool IsFocused() override;
  void Loaded() override;

protected:
  TcxCustomInnerTextEdit* NewInnerEdit() override;
  String ClassName() const override { return "TcxCustomColorComboBox"; }

private:
  // Makes the row current; a changed row is not a modification.
  void SelectColorIndex(int ARow);
  int CurrentKey() const;

  TColor FColorValue = clWindow;
  TColor FAssignedColorValue = clWindow;
  bool FPropertiesChanging = false;
  bool FDialogOpen = false;
};

class TcxColorComboBox : public TcxCustomColorComboBox {
public:
  using TcxCustomColorComboBox::TcxCustomColorComboBox;
  TcxColorComboBoxProperties* GetProperties() const {
    return static_cast<TcxColorComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  void SetProperties(const TcxColorComboBoxProperties* Value) {
    TcxCustomEdit::GetProperties()->Assign(Value);
  }

protected:
  String ClassName() const override { return "TcxColorComboBox"; }
};

void cxColorComboBoxInitialize();
void cxColorComboBoxFinalize();
