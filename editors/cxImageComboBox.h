// The image combo box: a list-only combo box of items that carry a value, a
// description and an image index. The editor's value is the chosen item's
// value; it shows the item's image and, optionally, its description, and
// the list draws each row with its image and a one- or many-line text.
#pragma once

#include "cxDropDownEdit.h"

#include "ImgList.h"

class TcxCustomImageComboBox;
class TcxCustomImageComboBoxProperties;

enum TcxImageAlign { iaLeft, iaRight };

class TcxImageComboBoxItem : public TCollectionItem {
public:
  // Takes the image of its own position while the owner's images reach it.
  explicit TcxImageComboBoxItem(TCollection* Collection);
  void Assign(const TPersistent* Source) override;

  const String& GetDescription() const { return FDescription; }
  void SetDescription(const String& Value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  const Variant& GetValue() const { return FValue; }
  void SetValue(const Variant& Value);

protected:
  String ClassName() const override { return "TcxImageComboBoxItem"; }

private:
  String FDescription;
  int FImageIndex = -1;
  Variant FValue = Null();
};

class TcxImageComboBoxItems : public TTypedCollection<TcxImageComboBoxItem> {
public:
  explicit TcxImageComboBoxItems(TcxCustomImageComboBoxProperties* AOwner) : FOwner(AOwner) {}
  TPersistent* GetOwner() const override;
  TcxCustomImageComboBoxProperties* GetProperties() const { return FOwner; }

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TcxImageComboBoxItems"; }

private:
  TcxCustomImageComboBoxProperties* FOwner;
};

// ---- View data and view info ----

class TcxImageComboBoxViewInfo : public TcxCustomTextEditViewInfo {
public:
  TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
  TRect ImageRect;
  TcxImageAlign ImageAlign = iaLeft;
  bool ShowDescriptions = true;

  void InternalPaint(TcxCanvas* ACanvas) override;
  void Offset(int DX, int DY) override;
};

class TcxImageComboBoxViewData : public TcxCustomDropDownEditViewData {
public:
  using TcxCustomDropDownEditViewData::TcxCustomDropDownEditViewData;
  TcxCustomImageComboBoxProperties* GetImageProperties() const;

  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void GetDisplayTextForValue(const Variant& DisplayValue, TcxCustomTextEditViewInfo* AViewInfo) override;
  SIZE GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                          const TcxEditSizeProperties& ASizeProperties) override;

protected:
  String ClassName() const override { return "TcxImageComboBoxViewData"; }

private:
  // The image and text of the editor's value.
  void AssignEditValue(TcxImageComboBoxViewInfo* AViewInfo);
};

// ---- Settings ----

class TcxCustomImageComboBoxProperties : public TcxCustomComboBoxProperties {
public:
  explicit TcxCustomImageComboBoxProperties(TPersistent* AOwner);
  ~TcxCustomImageComboBoxProperties() override;
  void Assign(const TPersistent* Source) override;

  TcxImageComboBoxItems* GetItems() const { return FItems.get(); }
  void SetItems(const TcxImageComboBoxItems* Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TcxImageAlign GetImageAlign() const { return FImageAlign; }
  void SetImageAlign(TcxImageAlign Value) { Store(FImageAlign, Value); }
  bool GetShowDescriptions() const { return FShowDescriptions; }
  void SetShowDescriptions(bool Value) { Store(FShowDescriptions, Value); }
  bool GetMultiLineText() const { return FMultiLineText; }
  void SetMultiLineText(bool Value) { Store(FMultiLineText, Value); }
  const String& GetDefaultDescription() const { return FDefaultDescription; }
  void SetDefaultDescription(const String& Value) { Store(FDefaultDescription, Value); }
  int GetDefaultImageIndex() const { return FDefaultImageIndex; }
  void SetDefaultImageIndex(int Value) { Store(FDefaultImageIndex, Value); }

  // The first item of the value, or none.
  TcxImageComboBoxItem* FindItemByValue(const Variant& Value) const;
  // With descriptions shown, the first item so described (letter case
  // ignored), or none.
  TcxImageComboBoxItem* FindItemByText(const String& Text) const;

  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  std::unique_ptr<TcxCustomTextEditLookupData> CreateLookupData(TcxCustomTextEdit* AEdit) const override;
  bool IsEditValueValid(Variant&, bool) override { return true; }
  int GetDisplayFormatOptions() const override { return 0; }
  int GetEditValueSource(bool) const override;
  int GetCapabilities() const override;
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  bool IsLookupItem(const String& Text) const override;
  void DoFreeNotification(TComponent* AComponent) override;

protected:
  String ClassName() const override { return "TcxCustomImageComboBoxProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  // Moves the change link and the free notification to the new list.
  void SetImageList(TCustomImageList*& AField, TChangeLink* ALink, TCustomImageList* Value);
  String DescriptionOf(const Variant& EditValue) const;

  std::unique_ptr<TcxImageComboBoxItems> FItems;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  std::unique_ptr<TChangeLink> FImagesLink;
  std::unique_ptr<TChangeLink> FLargeImagesLink;
  std::unique_ptr<TcxFreeNotificator> FImagesNotificator;
  TcxImageAlign FImageAlign = iaLeft;
  bool FShowDescriptions = true;
  bool FMultiLineText = false;
  String FDefaultDescription;
  int FDefaultImageIndex = -1;
};

class TcxImageComboBoxProperties : public TcxCustomImageComboBoxProperties {
public:
  using TcxCustomImageComboBoxProperties::TcxCustomImageComboBoxProperties;

protected:
  String ClassName() const override { return "TcxImageComboBoxProperties"; }
};

// ---- The list ----

class TcxImageComboBoxListBox : public TcxComboBoxListBox {
public:
  TcxImageComboBoxListBox(TComponent* AOwner, TcxCustomImageComboBox* AEdit);

  // The widest row: description, image and the bar when rows scroll.
  virtual int GetMaxItemWidth();

  int GetItemHeight(int AIndex) override;
  int GetItemsHeight(int ACount) override;
  // Rows always have their own heights.
  void RecreateWindowIfNeeded() override;

protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  String ClassName() const override { return "TcxImageComboBoxListBox"; }

private:
  TcxCustomImageComboBoxProperties* Properties() const;
  TCustomImageList* ListImages() const;
  TcxCustomImageComboBox* FImageEdit;
  // The width wrapped descriptions have; 0 outside multi-line rows.
  int FTextWidth = 0;
};

class TcxImageComboBoxLookupData : public TcxComboBoxLookupData {
public:
  using TcxComboBoxLookupData::TcxComboBoxLookupData;

  TcxCustomEditListBox* CreateListBox(TComponent* AOwner) override;
  SIZE CalculateListSize(int AMaxHeight, int AWidth) override;
  String GetItemText(int AIndex) override;
  int GetItemCount() override;
  // The current item follows the editor's value, not its text.
  void SyncWithText() override;

protected:
  String ClassName() const override { return "TcxImageComboBoxLookupData"; }

private:
  TcxCustomImageComboBoxProperties* Properties() const;
};

// ---- The editor ----

class TcxCustomImageComboBox : public TcxCustomComboBox {
public:
  using TcxCustomComboBox::TcxCustomComboBox;
  TcxCustomImageComboBoxProperties* GetActiveProperties() const {
    return static_cast<TcxCustomImageComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxImageComboBoxProperties* GetProperties() const {
    return static_cast<TcxImageComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxImageComboBoxLookupData* GetImageLookupData() const {
    return static_cast<TcxImageComboBoxLookupData*>(GetLookupData());
  }

  bool IsCharAllowed(char Ch) override;
  void LookupKeyToEditValue(int AKey, Variant& EditValue) override;
  void MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  void SynchronizeDisplayValue() override;
  void RefreshViewInfoText() override;
  SIZE CalculatePopupContentSize() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;

protected:
  String ClassName() const override { return "TcxCustomImageComboBox"; }

private:
  Variant ValueOfKey(int AKey) const;
};

void cxImageComboBoxInitialize();
void cxImageComboBoxFinalize();
