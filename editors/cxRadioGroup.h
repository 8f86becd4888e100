// The radio button that draws itself, with the visual style or from a
// shared cache of glyphs in the look-and-feel's kind, and the radio group:
// an editor whose value is chosen among items shown as such buttons in
// columns inside a captioned frame.
#pragma once

#include "cxTextEdit.h"

#include "Collections.h"
#include "StdCtrls.h"

#include <algorithm>
#include <memory>
#include <vector>

// ---- Radio glyphs ----

// The measured circle of the system's radio button.
SIZE cxRadioGlyphSize();

// Image states of the glyphs.
enum TcxRadioImageState { risDisabled, risNormal, risPressed, risHot };

namespace cxRadioGroupGlyphs {

// The radio buttons' own glyphs, one per look: built at their first use
// and again after a system colour change. Images are rebuilt in place,
// which the system image list does not do under Wine, so each is a bitmap
// of its own.
class TcxRadioButtonImageList : public TObject {
public:
  TcxRadioButtonImageList();
  ~TcxRadioButtonImageList() override;
  TcxRadioButtonImageList(const TcxRadioButtonImageList&) = delete;
  TcxRadioButtonImageList& operator=(const TcxRadioButtonImageList&) = delete;

  void Draw(TcxCanvas* ACanvas, int X, int Y, TcxLookAndFeelKind AKind, TcxRadioImageState AImageState,
            bool AChecked, bool AFocused, bool ADesigning, TColor ABackgroundColor, bool ATransparent);
  // Every glyph is built again at its next use.
  void Reset();
  bool IsBuilt(int AIndex) const { return FBuilt[AIndex]; }

  static int ImageIndex(TcxLookAndFeelKind AKind, TcxRadioImageState AImageState, bool AChecked,
                        bool AFocused);

private:
  void BuildImage(int AIndex, TcxLookAndFeelKind AKind, TcxRadioImageState AImageState, bool AChecked,
                  bool AFocused, bool ADesigning);
  // Masked by hand: the images are black outside the circle.
  void DrawMasked(HDC DC, int X, int Y, int AIndex);
  std::unique_ptr<TBitmap> FMask;
  std::unique_ptr<TBitmap> FImages[48];
  bool FBuilt[48] = {};
};

TcxRadioButtonImageList* RadioButtonImageList();

} // namespace cxRadioGroupGlyphs

// ---- Radio button ----

// Button states of the radio button.
constexpr int rbsDisabled = 0;
constexpr int rbsHot = 1;
constexpr int rbsNormal = 2;
constexpr int rbsPressed = 3;

TcxRadioImageState RadioStateToImageState(int AState);

class TcxRadioButton : public TRadioButton, public IcxMouseTrackingCaller {
public:
  explicit TcxRadioButton(TComponent* AOwner);
  ~TcxRadioButton() override;

  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(const TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  void SetParentBackground(bool Value);
  int GetState() const { return FState; }
  const TRect& GetGlyphRect() const { return FGlyphRect; }
  TRect CalcGlyphRect(const SIZE& ASize) const;
  bool IsThemed() const;
  // The device context the button paints on now, or none.
  HDC GetPaintDC() const { return FControlCanvas->HandleAllocated() ? FControlCanvas->GetHandle() : nullptr; }

  void Invalidate() override;
  void WndProc(TMessage& Message) override;
  void MouseLeave() override;

  virtual void AdjustTextRect(TRect& R, bool AThemed);
  virtual bool IsInplaceButton() const { return false; }
  virtual void LookAndFeelChanged() { Invalidate(); }
  virtual void Paint();
  virtual void UpdateState(TShiftState Shift, const TPoint& P);

protected:
  void CreateParams(TCreateParams& Params) override;
  void DoEnter() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxRadioButton"; }
  TcxCanvas* GetCxCanvas() const { return FCanvas.get(); }

private:
  void SetState(int Value);
  void UpdateStateAtCursor();
  void PaintThemed();
  void PaintClassic();
  void DrawCaption(bool AThemed);
  void DrawItem(const DRAWITEMSTRUCT& AItem);

  TRect FGlyphRect;
  std::unique_ptr<TControlCanvas> FControlCanvas;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  int FState = rbsNormal;
};

// ---- Radio group ----

class TcxCustomRadioGroup;
class TcxCustomRadioGroupProperties;

class TcxRadioGroupItem : public TCollectionItem {
public:
  explicit TcxRadioGroupItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(const TPersistent* Source) override;
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  const Variant& GetValue() const { return FValue; }
  void SetValue(const Variant& Value);
  bool IsValueStored() const { return !FValue.IsNull(); }

protected:
  String ClassName() const override { return "TcxRadioGroupItem"; }

private:
  String FCaption;
  Variant FValue = Null();
};

class TcxRadioGroupItems : public TCollection {
public:
  explicit TcxRadioGroupItems(TcxCustomRadioGroupProperties* AOwner);
  TcxRadioGroupItem* Add() { return static_cast<TcxRadioGroupItem*>(TCollection::Add()); }
  TcxRadioGroupItem* GetItem(int Index) const {
    return static_cast<TcxRadioGroupItem*>(TCollection::GetItem(Index));
  }
  TcxRadioGroupItem* operator[](int Index) const { return GetItem(Index); }
  TPersistent* GetOwner() const override;

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TcxRadioGroupItems"; }

private:
  TcxCustomRadioGroupProperties* FOwner;
};

class TcxRadioGroupStyle : public TcxCustomEditStyle {
public:
  using TcxCustomEditStyle::TcxCustomEditStyle;
  TColor GetDefaultColor() const override;
  void RestoreDefaults() override;

protected:
  String ClassName() const override { return "TcxRadioGroupStyle"; }
};

class TcxCustomRadioGroupProperties : public TcxCustomEditProperties {
public:
  explicit TcxCustomRadioGroupProperties(TPersistent* AOwner);
  ~TcxCustomRadioGroupProperties() override;

  void Assign(const TPersistent* Source) override;
  int GetColumns() const { return FColumns; }
  // Values of 0 and below are 1.
  void SetColumns(int Value);
  const String& GetDefaultCaption() const { return FDefaultCaption; }
  void SetDefaultCaption(const String& Value) { FDefaultCaption = Value; }
  bool IsDefaultCaptionStored() const;
  const Variant& GetDefaultValue() const { return FDefaultValue; }
  void SetDefaultValue(const Variant& Value);
  TcxRadioGroupItems* GetItems() const { return FItems.get(); }
  void SetItems(const TcxRadioGroupItems* Value) { FItems->Assign(Value); }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The rows the items fill.
  int GetRowCount() const;
  // The index of the item the value selects, or -1.
  int ItemIndexOf(const Variant& EditValue) const;

  bool CompareEditValues() const override { return true; }
  bool ChangeFiredByInnerEdit() const override { return true; }
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditStyle> CreateStyle(TPersistent* AOwner, bool AIsInternal) const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  int GetCapabilities() const override { return FItems->GetCount() > 0 ? 223 : 207; }
  bool CanResetEditValue() const override { return true; }
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;

protected:
  String ClassName() const override { return "TcxCustomRadioGroupProperties"; }

private:
  int FColumns = 1;
  String FDefaultCaption;
  Variant FDefaultValue = Null();
  std::unique_ptr<TcxRadioGroupItems> FItems;
  bool FWordWrap = false;
};

class TcxRadioGroupProperties : public TcxCustomRadioGroupProperties {
public:
  using TcxCustomRadioGroupProperties::TcxCustomRadioGroupProperties;

protected:
  String ClassName() const override { return "TcxRadioGroupProperties"; }
};

class TcxRadioGroupButtonViewInfo : public TcxEditButtonViewInfo {
public:
  void Assign(const TPersistent* Source) override;
  String Caption;
  int Column = 0;
  int Row = 0;

protected:
  String ClassName() const override { return "TcxRadioGroupButtonViewInfo"; }
};

class TcxCustomRadioGroupViewInfo : public TcxCustomTextEditViewInfo {
public:
  // The glyph's side: taRightJustify puts it left of the caption.
  TAlignment GlyphAlignment = taRightJustify;
  bool IsDesigning = false;
  int ItemIndex = -1;

  TcxRadioGroupButtonViewInfo* Item(int AIndex) const {
    return static_cast<TcxRadioGroupButtonViewInfo*>(ButtonsInfo[AIndex].get());
  }
  std::unique_ptr<TcxEditButtonViewInfo> CreateButtonViewInfo() const override;
  void PaintEditButton(TcxCanvas* ACanvas, int AIndex) override;
  void Assign(const TcxContainerViewInfo* Source) override;

private:
  void PaintItemGlyph(TcxCanvas* ACanvas, TcxRadioGroupButtonViewInfo* AItem, const TRect& AGlyph,
                      int AIndex);
  void PaintItemCaption(TcxCanvas* ACanvas, TcxRadioGroupButtonViewInfo* AItem, const TRect& AGlyph);
};

class TcxCustomRadioGroupViewData : public TcxCustomEditViewData {
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;

  TcxContainerBorderStyle GetEditContainerBorderStyle(int AHotState) const override;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateButtons(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button,
                        TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void GetBorderExtent(TRect& R) override;
  void GetClientExtent(TcxCustomEditViewInfo* AViewInfo, TRect& R) override;
  void CalculateEditSize(TcxCanvas* ACanvas, TcxEditSizeProperties& ASizeProperties, SIZE& AFixedSize,
                         TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize) override;
  virtual int GetDrawTextFlags() const;

protected:
  String ClassName() const override { return "TcxCustomRadioGroupViewData"; }

private:
  TcxCustomRadioGroupProperties* RadioProperties() const {
    return static_cast<TcxCustomRadioGroupProperties*>(GetProperties());
  }
  TcxEditButtonStyle ItemButtonStyle(TcxCustomEditViewInfo* AViewInfo) const;
  void CalculateItemStates(TcxCustomRadioGroupViewInfo* AInfo, const TPoint& P, TShiftState Shift);
  SIZE GlyphSize() const;
};

// What an in-place host keeps of a radio group between activations.
class TcxCustomRadioGroupData : public TcxCustomEditData {
public:
  using TcxCustomEditData::TcxCustomEditData;
  int FocusedItemIndex = 0;
};

// One item's button of a radio group on a form.
class TcxCustomRadioGroupButton : public TcxRadioButton {
public:
  explicit TcxCustomRadioGroupButton(TcxCustomRadioGroup* AGroup);
  ~TcxCustomRadioGroupButton() override;
  TcxCustomRadioGroup* GetGroup() const { return FGroup; }
  int Column = 0;
  int Row = 0;

  bool IsInplaceButton() const override;
  bool CanFocus() override;
  void Click() override;
  void WndProc(TMessage& Message) override;
  // Checks the button without firing its click.
  void CheckSilently(bool AChecked);

protected:
  void DoEnter() override;
  void DoExit() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxCustomRadioGroupButton"; }

private:
  void CNCommand(TMessage& Message);
  TcxCustomRadioGroup* FGroup;
  bool FInCommand = false;
};

constexpr UINT CXM_RADIOGROUPFOCUSITEM = 0x806A;

class TcxCustomRadioGroup : public TcxCustomEdit {
public:
  explicit TcxCustomRadioGroup(TComponent* AOwner);
  ~TcxCustomRadioGroup() override;

  TcxCustomRadioGroupProperties* GetProperties() const {
    return static_cast<TcxCustomRadioGroupProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomRadioGroupProperties* GetActiveProperties() const {
    return static_cast<TcxCustomRadioGroupProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomRadioGroupViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomRadioGroupViewInfo*>(TcxCustomEdit::GetViewInfo());
  }
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int GetButtonCount() const { return static_cast<int>(FButtons.size()); }
  TcxCustomRadioGroupButton* GetButton(int AIndex) const { return FButtons[AIndex]; }
  int IndexOfButton(const TcxCustomRadioGroupButton* AButton) const {
    const auto it = std::find(FButtons.begin(), FButtons.end(), AButton);
    return it == FButtons.end() ? -1 : static_cast<int>(it - FButtons.begin());
  }
  void SetParentBackground(bool Value);
  bool IsRefreshing() const { return FRefreshing; }
  // The item whose bounds hold the point, or -1.
  int ItemAtPoint(const TPoint& P) const;

  virtual void PlaceButtons();
  virtual void ItemButtonClicked(TObject*) {}
  virtual TcxCustomRadioGroupButton* CreateItemButton() { return new TcxCustomRadioGroupButton(this); }
  virtual void RefreshButtons();

  void SetName(const String& NewName) override;
  bool IsFocused() override;
  bool IsInternalControl(TControl* AControl) override;
  bool HandlesTabKey() override { return false; }
  void AdjustInnerControlBounds() override {}
  bool UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) override;
  void ContainerStyleChanged(TObject* Sender) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void StoreEditValue(const Variant& Value, bool AValidate) override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  void ClearContent() override { SetItemIndex(-1); }
  void MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  std::unique_ptr<TcxCustomEditData> CreateEditData() override;
  bool CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem) override;
  void ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void ActivateInplaceByMouse(TMouseButton Button, TShiftState Shift, int X, int Y,
                              std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void SetDragMode(TDragMode Value) override;
  void SetDragKind(TDragKind Value) override;

  // What the item buttons hand on.
  using TcxCustomEdit::IsUserChange;
  using TcxCustomEdit::KeyDown;
  using TcxCustomEdit::KeyPress;
  using TcxCustomEdit::KeyUp;
  using TcxCustomEdit::MouseDown;
  using TcxCustomEdit::MouseMove;
  using TcxCustomEdit::MouseUp;
  using TcxCustomEdit::SetUserChange;
  TcxCustomRadioGroupData* GetRadioEditData() const;
  void ButtonRemoved(TcxCustomRadioGroupButton* AButton);
  // Mouse events handed on by an item button, in the group's coordinates:
  // the group's mouse events and drag fire, but the items are no embedded
  // buttons of the editor to press, and a press takes no focus.
  void InnerMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void InnerMouseMove(TShiftState Shift, int X, int Y);
  void InnerMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  bool CanFocusOnClick() override { return !FInnerClick && TcxCustomEdit::CanFocusOnClick(); }
  void ButtonAdded(TcxCustomRadioGroupButton* AButton) { FButtons.push_back(AButton); }

protected:
  void CreateWnd() override;
  void EnabledChanged() override;
  void CursorChanged() override;
  void Paint() override;
  String ClassName() const override { return "TcxCustomRadioGroup"; }

private:
  void SetButtonCount(int ACount);
  void FocusItem(int AIndex);
  void PaintThemedFrame();
  void PaintClassicFrame();
  void WMEraseBkgnd(TMessage& Message);
  void CMDialogChar(TMessage& Message);

  std::vector<TcxCustomRadioGroupButton*> FButtons;
  String FCaption;
  bool FRefreshing = false;
  bool FCaptionAssigned = false;
  int FItemIndex = -1;
  bool FButtonsParentBackground = true;
  bool FCreating = true;
  bool FInnerClick = false;
  TcxCustomRadioGroupData* FRadioEditData = nullptr;
};

class TcxRadioGroup : public TcxCustomRadioGroup {
public:
  using TcxCustomRadioGroup::TcxCustomRadioGroup;

protected:
  String ClassName() const override { return "TcxRadioGroup"; }
};

void cxRadioGroupInitialize();
void cxRadioGroupFinalize();
