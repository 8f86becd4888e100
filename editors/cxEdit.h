// The editor model every editor stands on: its properties (what an editor
// of a kind is), the style with its controller, the repository that shares
// properties between editors, the data binding and its default values, the
// view data that lays an editor out into a view info with embedded buttons,
// and the editor control with the life cycle of its edit value.
#pragma once

#include "cxClasses.h"
#include "cxContainer.h"

#include "Collections.h"
#include "ShortCuts.h"
#include "StdCtrls.h"
#include "Variants.h"

#include <functional>
#include <memory>
#include <vector>

class TTimer;
class TcxCustomEdit;
class TcxCustomEditProperties;
class TcxCustomEditStyle;
class TcxCustomEditViewData;
class TcxCustomEditViewInfo;
class TcxEditRepositoryItem;

enum TcxEditVertAlignment { taTopJustify, taBottomJustify, taVCenter };
enum TcxEditButtonKind { bkEllipsis, bkDown, bkGlyph };
enum TcxEditButtonStyle { btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat };
enum TcxEditButtonTransparency { ebtNone, ebtInactive, ebtAlways, ebtHideInactive, ebtHideUnselected };
enum TcxEditPopupBorderStyle { epbsDefault, epbsSingle, epbsFrame3D, epbsFlat };
enum TcxEditBorderStyle { ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat };

constexpr TAlignment cxEditDefaultHorzAlignment = taLeftJustify;
constexpr TcxEditVertAlignment cxEditDefaultVertAlignment = taTopJustify;

// The edit style's values after the container's eight.
constexpr TcxContainerStyleValue svButtonStyle = static_cast<TcxContainerStyleValue>(8);
constexpr TcxContainerStyleValue svButtonTransparency = static_cast<TcxContainerStyleValue>(9);
constexpr TcxContainerStyleValue svPopupBorderStyle = static_cast<TcxContainerStyleValue>(10);

// State codes of embedded buttons.
constexpr int ebsDisabled = 0;
constexpr int ebsNormal = 1;
constexpr int ebsPressed = 2;
constexpr int ebsSelected = 3;

// Raises, in the editor, the text of a block the library queued for it.
constexpr UINT CXM_EDITPOSTEXCEPTION = 0x8069;

using TcxEditButtonClickEvent = std::function<void(TObject* Sender, int AButtonIndex)>;
using TcxEditValidateEvent =
    std::function<void(TObject* Sender, Variant& DisplayValue, String& ErrorText, bool& Error)>;
using TcxEditEditingEvent = std::function<void(TObject* Sender, bool& CanEdit)>;
using TcxEditKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

class EcxEditError : public Exception {
public:
  using Exception::Exception;
};

// ---- Default values ----

// Defaults a data binding supplies to the properties of its editor.
class IcxEditDefaultValuesProvider {
public:
  virtual ~IcxEditDefaultValuesProvider() = default;
  virtual void NotifyChanged() = 0;
  virtual void DetachFromProperties() = 0;
  virtual TAlignment DefaultAlignment() = 0;
  virtual bool DefaultCanModify() = 0;
  virtual String DefaultEditMask() = 0;
  virtual int DefaultValueType() = 0;
  virtual int DefaultMaxLength() = 0;
  virtual double DefaultMaxValue() = 0;
  virtual double DefaultMinValue() = 0;
  virtual bool DefaultReadOnly() = 0;
  virtual bool DefaultIsMemo() = 0;
  virtual bool DefaultCanClickWhileLoading() = 0;
  virtual int DefaultBlobKind() = 0;
  virtual String DefaultDisplayFormat() = 0;
  virtual bool IsOnSetTextAssigned() = 0;
  virtual bool HasDisplayFormat(bool ACurrencyAccepted) = 0;
  virtual bool IsValidChar(char Ch) = 0;
  virtual TObject* GetInstance() = 0;
  virtual TNotifyEvent GetOnChanged() = 0;
  virtual void SetOnChanged(TNotifyEvent Value) = 0;
};

class TcxCustomEditDefaultValuesProvider : public TcxInterfacedPersistent,
                                           public IcxEditDefaultValuesProvider {
public:
  explicit TcxCustomEditDefaultValuesProvider(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {}
  ~TcxCustomEditDefaultValuesProvider() override;

  void NotifyChanged() override;
  void DetachFromProperties() override;
  TAlignment DefaultAlignment() override { return cxEditDefaultHorzAlignment; }
  bool DefaultCanModify() override { return true; }
  String DefaultEditMask() override { return String(); }
  int DefaultValueType() override { return 0; }
  int DefaultMaxLength() override { return 0; }
  double DefaultMaxValue() override { return 0.0; }
  double DefaultMinValue() override { return 0.0; }
  bool DefaultReadOnly() override { return false; }
  bool DefaultIsMemo() override { return false; }
  bool DefaultCanClickWhileLoading() override { return false; }
  int DefaultBlobKind() override { return 3; }
  String DefaultDisplayFormat() override { return String(); }
  bool IsOnSetTextAssigned() override { return false; }
  bool HasDisplayFormat(bool) override { return false; }
  bool IsValidChar(char) override { return true; }
  TObject* GetInstance() override { return this; }
  TNotifyEvent GetOnChanged() override { return OnChanged; }
  void SetOnChanged(TNotifyEvent Value) override { OnChanged = std::move(Value); }

  TNotifyEvent OnChanged;

protected:
  String ClassName() const override { return "TcxCustomEditDefaultValuesProvider"; }
};

// ---- Properties ----

class TcxEditAlignment : public TPersistent {
public:
  explicit TcxEditAlignment(TPersistent* AOwner) : FOwner(AOwner) {}
  void Assign(const TPersistent* Source) override;
  TAlignment GetHorz() const { return FHorz; }
  // Marks Horz assigned and notifies even when the value stays.
  void SetHorz(TAlignment Value);
  TcxEditVertAlignment GetVert() const { return FVert; }
  void SetVert(TcxEditVertAlignment Value);
  bool IsHorzStored() const { return FIsHorzAssigned; }
  bool IsVertStored() const { return FVert != cxEditDefaultVertAlignment; }
  TPersistent* GetOwner() const { return FOwner; }
  TNotifyEvent OnChanged;

protected:
  String ClassName() const override { return "TcxEditAlignment"; }

private:
  friend class TcxCustomEditProperties;
  void DoChanged() {
    if (OnChanged) OnChanged(this);
  }
  TAlignment FHorz = cxEditDefaultHorzAlignment;
  bool FIsHorzAssigned = false;
  TcxEditVertAlignment FVert = cxEditDefaultVertAlignment;
  TPersistent* FOwner;
};

// Which optional values of the properties are set explicitly.
class TcxCustomEditPropertiesValues : public TPersistent {
public:
  void Assign(const TPersistent* Source) override;
  virtual void RestoreDefaults() { ReadOnly = false; }
  bool ReadOnly = false;

protected:
  String ClassName() const override { return "TcxCustomEditPropertiesValues"; }
};

class TcxEditButton : public TCollectionItem {
public:
  explicit TcxEditButton(TCollection* Collection);
  ~TcxEditButton() override;
  void Assign(const TPersistent* Source) override;

  bool GetDefault() const { return FDefault; }
  // A default button is the only one: the others lose it silently.
  void SetDefault(bool Value);
  // Made at the first read.
  TBitmap* GetGlyph();
  bool HasGlyph() const { return FGlyph != nullptr; }
  void SetGlyph(TBitmap* Value);
  TcxEditButtonKind GetKind() const { return FKind; }
  void SetKind(TcxEditButtonKind Value);
  bool GetLeftAlignment() const { return FLeftAlignment; }
  void SetLeftAlignment(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);

protected:
  String ClassName() const override { return "TcxEditButton"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(false);
  }
  bool FDefault = false;
  std::unique_ptr<TBitmap> FGlyph;
  TcxEditButtonKind FKind = bkDown;
  bool FLeftAlignment = false;
  bool FVisible = true;
  int FWidth = 0;
};

class TcxEditButtons : public TCollection {
public:
  explicit TcxEditButtons(TcxCustomEditProperties* AOwner);
  TcxEditButton* Add() { return static_cast<TcxEditButton*>(TCollection::Add()); }
  TcxEditButton* GetItem(int Index) const { return static_cast<TcxEditButton*>(TCollection::GetItem(Index)); }
  TcxEditButton* operator[](int Index) const { return GetItem(Index); }
  int VisibleCount() const;
  TPersistent* GetOwner() const override;

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TcxEditButtons"; }

private:
  TcxCustomEditProperties* FOwner;
};

// The size query's limits: a width below 0 is unlimited.
struct TcxEditSizeProperties {
  int MaxLineCount = 0;
  int Width = -1;
};

class TcxCustomEditProperties : public TcxInterfacedPersistent {
public:
  explicit TcxCustomEditProperties(TPersistent* AOwner);
  ~TcxCustomEditProperties() override;
  TcxCustomEditProperties(const TcxCustomEditProperties&) = delete;
  TcxCustomEditProperties& operator=(const TcxCustomEditProperties&) = delete;

  void Assign(const TPersistent* Source) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate(bool AInvalidate = true);
  void SetChangedLock(bool Value) { FChangedLock = Value; }
  bool IsChangedLocked() const { return FChangedLock || FUpdateCount > 0; }

  // The effective alignment: changing it changes the stored one.
  TcxEditAlignment* GetAlignment();
  bool IsAlignmentStored() const {
    return FStoredAlignment->IsHorzStored() || FStoredAlignment->IsVertStored();
  }
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value);
  TcxEditButtons* GetButtons() const { return FButtons.get(); }
  void SetButtons(const TcxEditButtons* Value) { FButtons->Assign(Value); }
  bool GetReadOnly() const;
  void SetReadOnly(bool Value);
  bool IsReadOnlyStored() const { return GetAssignedValues()->ReadOnly; }
  bool GetUseLeftAlignmentOnEditing() const;
  void SetUseLeftAlignmentOnEditing(bool Value);
  bool IsUseLeftAlignmentOnEditingStored() const;
  TcxCustomEditPropertiesValues* GetAssignedValues() const;
  IcxEditDefaultValuesProvider* GetDefaultValuesProvider() const { return FDefaultValuesProvider; }
  void SetDefaultValuesProvider(IcxEditDefaultValuesProvider* Value);
  TPersistent* GetOwner() const override { return FOwner; }

  bool CanModifyInplace() const;
  bool CanUseDisplayFormat();
  // The size an editor of these properties needs for the value.
  SIZE GetEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AStyle, bool AIsInplace, const Variant& EditValue,
                   TcxEditSizeProperties& ASizeProperties);

  bool BeepOnError = false;
  TShortCut ClearKey = scNone;
  TShortCut ClickKey = scCtrl | VK_RETURN;
  bool ImmediatePost = false;
  bool UseMouseWheel = true;
  bool ValidateOnEnter = false;
  TcxEditButtonClickEvent OnButtonClick;
  TNotifyEvent OnChange;
  TNotifyEvent OnEditValueChanged;
  TcxEditValidateEvent OnValidate;
  // The owner's change callback.
  TNotifyEvent OnPropertiesChanged;

  virtual void AlignmentChanged();
  virtual void SetAlignment(const TcxEditAlignment* Value);
  virtual void ButtonsChanged() { Changed(); }
  virtual bool CanValidate() const { return false; }
  virtual void Changed();
  virtual bool CompareEditValues() const { return false; }
  virtual bool GetDefaultUseLeftAlignmentOnEditing() const { return true; }
  virtual void DoFreeNotification(TComponent*) {}
  virtual std::unique_ptr<TcxCustomEditPropertiesValues> CreateAssignedValues() const;
  virtual TAlignment GetDefaultHorzAlignment();
  // Bit 0: a display format is supported; bit 1: not in the currency form.
  virtual int GetDisplayFormatOptions() const { return 0; }
  virtual void GetValidationErrorText(const Variant& Value, String& Text);
  virtual bool QueryDisplayFormat(bool AEditFocused);
  virtual std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                                      bool AIsInplace);
  virtual bool ChangeFiredByInnerEdit() const { return false; }
  virtual bool WantsTabKey() const { return false; }
  virtual bool WantsNavigationKeys() const { return false; }
  virtual TcxClassRef GetContainerClass() const;
  virtual std::unique_ptr<TcxCustomEditStyle> CreateStyle(TPersistent* AOwner, bool AIsInternal) const;
  virtual std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const;
  // A view data of the class the kind names, reset and filled.
  std::unique_ptr<TcxCustomEditViewData> CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace);
  virtual void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text);
  virtual int GetCapabilities() const;
  virtual bool IsEditValueValid(Variant& EditValue, bool AEditFocused);
  virtual bool CanResetEditValue() const { return false; }
  virtual void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused);
  virtual void AssignItems(TcxCustomEditProperties*) {}
  virtual void ValidateDisplayValue(Variant& DisplayValue, String& ErrorText, TcxCustomEdit* Edit,
                                    bool& Error);
  virtual int GetEditValueSource(bool) const { return 0; }

protected:
  String ClassName() const override { return "TcxCustomEditProperties"; }

private:
  void HookAlignment();

  bool FAutoSelect = true;
  std::unique_ptr<TcxEditButtons> FButtons;
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
  std::unique_ptr<TcxEditAlignment> FStoredAlignment;
  bool FReadOnly = false;
  int FUpdateCount = 0;
  int FUseLeftAlignmentOnEditing = -1; // -1: the class's default
  std::unique_ptr<TcxEditAlignment> FAlignment;
  mutable std::unique_ptr<TcxCustomEditPropertiesValues> FAssignedValues;
  bool FChangedLock = false;
  IcxEditDefaultValuesProvider* FDefaultValuesProvider = nullptr;
  TPersistent* FOwner;
};

// Every live properties object.
const std::vector<TcxCustomEditProperties*>* EditPropertiesList();
// Every editor kind with its description; made at the first call.
TcxRegisteredClasses* EditPropertiesRegistry();

// ---- Style ----

class TcxCustomEditStyle : public TcxContainerStyle {
public:
  TcxCustomEditStyle(TPersistent* AOwner, bool AIsInternal);
  void Assign(const TPersistent* Source) override;

  TcxEditButtonStyle GetButtonStyle() const;
  void SetButtonStyle(TcxEditButtonStyle Value);
  TcxEditButtonTransparency GetButtonTransparency() const;
  void SetButtonTransparency(TcxEditButtonTransparency Value);
  TcxEditPopupBorderStyle GetPopupBorderStyle() const;
  void SetPopupBorderStyle(TcxEditPopupBorderStyle Value);
  TcxEditBorderStyle GetEditBorderStyle() const { return static_cast<TcxEditBorderStyle>(GetBorderStyle()); }
  bool PopupCloseButton = true;
  TcxCustomEdit* GetEdit() const;
  // Whether the value would be written with the editor.
  bool IsValueStored(TcxContainerStyleValue Index) const;

  virtual TcxEditButtonStyle GetDefaultButtonStyle() const { return btsDefault; }
  virtual TcxEditButtonTransparency GetDefaultButtonTransparency() const { return ebtNone; }
  virtual TcxEditPopupBorderStyle GetDefaultPopupBorderStyle() const { return epbsDefault; }
  TColor GetDefaultColor() const override;
  bool IsValueAssigned(TcxContainerStyleValue Index) const override;
  int GetStyleValueCount() const override { return 11; }
  bool GetStyleValueName(TcxContainerStyleValue Index, String& Name) const override;

protected:
  String ClassName() const override { return "TcxCustomEditStyle"; }

private:
  // The style whose own value answers: this one, one in the controller
  // chain, or nil for the default.
  const TcxCustomEditStyle* Source(TcxContainerStyleValue Index) const;
  template <typename T> void Store(TcxContainerStyleValue Index, T& Field, T Value) {
    if (IsAssignedAs(Index, Field, Value)) return;
    Field = Value;
    ValueChanged(Index);
  }
  TcxEditButtonStyle FButtonStyle = btsDefault;
  TcxEditButtonTransparency FButtonTransparency = ebtNone;
  TcxEditPopupBorderStyle FPopupBorderStyle = epbsDefault;
};

class TcxEditStyle : public TcxCustomEditStyle {
public:
  using TcxCustomEditStyle::TcxCustomEditStyle;

protected:
  String ClassName() const override { return "TcxEditStyle"; }
};

class TcxEditStyleController : public TcxStyleController {
public:
  using TcxStyleController::TcxStyleController;
  TcxEditStyle* GetStyle() { return static_cast<TcxEditStyle*>(TcxStyleController::GetStyle()); }
  void SetStyle(const TcxEditStyle* Value) { GetStyle()->Assign(Value); }

protected:
  std::unique_ptr<TcxContainerStyle> CreateStyle() override;
  String ClassName() const override { return "TcxEditStyleController"; }
};

// ---- Repository ----

class IcxRepositoryItemListener {
public:
  virtual ~IcxRepositoryItemListener() = default;
  virtual void ItemRemoved(TcxEditRepositoryItem* AItem) = 0;
  virtual void ApplyPropertiesChange(TcxEditRepositoryItem* AItem) = 0;
};

class TcxEditRepository;

class TcxEditRepositoryItem : public TComponent {
public:
  explicit TcxEditRepositoryItem(TComponent* AOwner);
  ~TcxEditRepositoryItem() override;
  // The properties are made at the first need, of the class the item's
  // kind names.
  TcxCustomEditProperties* GetProperties();
  void SetProperties(const TcxCustomEditProperties* Value) { GetProperties()->Assign(Value); }
  TcxEditRepository* GetRepository() const { return FRepository; }
  void SetRepository(TcxEditRepository* Value);
  void AddListener(IcxRepositoryItemListener* AListener);
  void RemoveListener(IcxRepositoryItemListener* AListener);
  TNotifyEvent PropertiesEvents;

  virtual std::unique_ptr<TcxCustomEditProperties> CreateProperties();

protected:
  void ApplyPropertiesChange(TObject* Sender);
  String ClassName() const override { return "TcxEditRepositoryItem"; }

private:
  friend class TcxEditRepository;
  std::vector<IcxRepositoryItemListener*> FListeners;
  std::unique_ptr<TcxCustomEditProperties> FProperties;
  TcxEditRepository* FRepository = nullptr;
};

class TcxEditRepository : public TComponent {
public:
  using TComponent::TComponent;
  ~TcxEditRepository() override;
  template <typename T> T* CreateItem() { return CreateItemEx<T>(this); }
  template <typename T> T* CreateItemEx(TComponent* AOwner) {
    auto* item = new T(AOwner);
    item->SetRepository(this);
    return item;
  }
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TcxEditRepositoryItem* GetItem(int Index) const { return FItems.at(Index); }
  void RemoveItem(TcxEditRepositoryItem* AItem);

protected:
  String ClassName() const override { return "TcxEditRepository"; }

private:
  friend class TcxEditRepositoryItem;
  void AddItem(TcxEditRepositoryItem* AItem);
  std::vector<TcxEditRepositoryItem*> FItems;
};

// The editor's side of a repository item.
class TcxEditRepositoryItemListenerEditHelper : public IcxRepositoryItemListener {
public:
  explicit TcxEditRepositoryItemListenerEditHelper(TcxCustomEdit* AEdit) : FEdit(AEdit) {}
  void ItemRemoved(TcxEditRepositoryItem* AItem) override;
  void ApplyPropertiesChange(TcxEditRepositoryItem* AItem) override;

private:
  TcxCustomEdit* FEdit;
};

// ---- Data binding ----

// The editor's link to data: this one is unbound and forwards to the editor.
class TcxEditDataBinding : public TPersistent {
public:
  explicit TcxEditDataBinding(TcxCustomEdit* AEdit);
  ~TcxEditDataBinding() override;
  TcxEditDataBinding(const TcxEditDataBinding&) = delete;
  TcxEditDataBinding& operator=(const TcxEditDataBinding&) = delete;
  TcxCustomEdit* GetEdit() const { return FEdit; }
  IcxEditDefaultValuesProvider* GetDefaultValuesProvider() const { return FDefaultValuesProvider.get(); }

  virtual bool CanCheckEditorValue();
  virtual bool CanModify() { return true; }
  virtual void DefaultValuesChanged() { FDefaultValuesProvider->NotifyChanged(); }
  virtual bool ExecuteAction(TBasicAction*) { return false; }
  virtual Variant GetDisplayValue();
  virtual bool GetModified();
  virtual Variant GetStoredValue();
  virtual void Reset();
  virtual void SetDisplayValue(const Variant& Value);
  virtual bool SetEditMode() { return true; }
  virtual void SetStoredValue(const Variant&) {}
  virtual bool UpdateAction(TBasicAction*) { return false; }
  virtual void UpdateDisplayValue();
  virtual void UpdateUnboundDisplay() {}

protected:
  String ClassName() const override { return "TcxEditDataBinding"; }

private:
  TcxCustomEdit* FEdit;
  std::unique_ptr<TcxCustomEditDefaultValuesProvider> FDefaultValuesProvider;
};

// ---- View info ----

// One visible embedded button of one paint.
class TcxEditButtonViewInfo : public TPersistent {
public:
  void Assign(const TPersistent* Source) override;
  // Nothing when the look of the button stayed, else its bounds.
  std::unique_ptr<TcxRegion> GetUpdateRegion(const TcxEditButtonViewInfo* APrev) const;
  // Invalidates the bounds (moved by AOffset) when the look changed.
  bool Repaint(TWinControl* AControl, const TcxEditButtonViewInfo* APrev, const TPoint& AOffset) const;

  TRect Bounds;
  TColor BackgroundColor = clWindow;
  bool Default = false;
  bool IsInplace = false;
  TcxEditButtonKind Kind = bkDown;
  bool LeftAlignment = false;
  bool IsLeftmost = false;
  bool NativeStyle = false;
  bool IsRightmost = false;
  int State = ebsNormal;
  TcxEditButtonStyle ButtonStyle = btsDefault;
  bool Transparent = false;
  bool NativePartTransparent = false;
  bool IsSingleDownButton = false;
  int ThemePart = 0;
  int ThemeState = 0;
  TBitmap* Glyph = nullptr;
  bool HasBackground = false;
  int ButtonIndex = 0;
  TRect VisibleBounds;
  int Width = 0;

protected:
  String ClassName() const override { return "TcxEditButtonViewInfo"; }

private:
  bool LooksAs(const TcxEditButtonViewInfo* APrev) const;
};

class TcxCustomEditViewInfo : public TcxContainerViewInfo {
public:
  TcxCustomEditViewInfo() = default;
  ~TcxCustomEditViewInfo() override;

  std::vector<std::unique_ptr<TcxEditButtonViewInfo>> ButtonsInfo;
  TRect BorderExtent;
  TRect ContentRect;
  bool Enabled = true;
  bool Focused = false;
  TFont* Font = nullptr;
  bool HasBackground = false;
  bool InnerEditVisible = false;
  TRect InnerEditRect;
  int HotState = 0;
  bool IsButtonActive = false;
  bool IsInplace = false;
  // Copied from the view data's option flags.
  BYTE Options = 0;
  TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
  int PressedButton = -1;
  int HotButton = -1;
  bool HasContentOffset = false;
  TColor TextColor = clWindowText;
  bool Transparent = false;
  HWND WindowHandle = nullptr;
  TPoint PaintOffset;

  int ButtonCount() const { return static_cast<int>(ButtonsInfo.size()); }
  void SetButtonCount(int ACount);

  virtual std::unique_ptr<TcxEditButtonViewInfo> CreateButtonViewInfo() const;
  virtual void PaintEditButton(TcxCanvas* ACanvas, int AIndex);
  virtual void DrawButtonBorder(TcxCanvas* ACanvas, int AIndex, const TRect& ARect,
                                TcxEditButtonStyle AStyle);
  virtual void DrawButtonContent(TcxCanvas* ACanvas, int AIndex, TColor ABackColor, TColor AArrowColor,
                                 const TRect& ARect);
  virtual bool GetHotButton(int& AIndex) const;
  virtual void GetHintText(int X, int Y, String& AText);
  virtual bool IsHintAtPoint(const TPoint& P, String& AText, TRect& ATextRect, int& AValue);
  // Invalidates in AControl what differs from APrev; true when something did.
  virtual bool RepaintChanged(TWinControl* AControl, const TcxCustomEditViewInfo* APrev,
                              const TRect* AInnerRect);

  void InternalPaint(TcxCanvas* ACanvas) override;
  void Assign(const TcxContainerViewInfo* Source) override;
  std::unique_ptr<TcxRegion> GetUpdateRegion(const TcxContainerViewInfo* APrev) override;
  void Offset(int DX, int DY) override;

private:
  bool SameLayout(const TcxCustomEditViewInfo* APrev) const;
};

class IcxCustomInnerEdit : public IcxContainerInnerControl {
public:
  virtual bool GetReadOnly() = 0;
  virtual void SetReadOnly(bool Value) = 0;
  virtual void SetOnChange(TNotifyEvent Value) = 0;
};

// Calculates a view info from properties, style and bounds; lives for one
// calculation.
class TcxCustomEditViewData : public TPersistent {
public:
  TcxCustomEditViewData(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle, bool AIsInplace);

  bool IsInplace;
  int FirstLeftButton = -1;
  int LastLeftButton = -1;
  int FirstRightButton = -1;
  int LastRightButton = -1;
  TcxEditBorderStyle BorderStyle = ebs3D;
  TRect Bounds;
  int VisibleButtonCount = 0;
  TRect ContentOffset;
  TcxCustomEdit* Edit = nullptr;
  TcxContainerState ContainerState;
  bool Enabled = true;
  bool Focused = false;
  TAlignment HorzAlignment = taLeftJustify;
  TcxControlScrollBar* HScrollBar = nullptr;
  TcxControlScrollBar* VScrollBar = nullptr;
  IcxCustomInnerEdit* InnerEdit = nullptr;
  bool IsDesigning = false;
  bool IsValueSourceZero = false;
  bool NativeStyle = false;
  // Bit 0: an empty text measures no height.
  BYTE Options = 0;
  bool IsHotOrFocused = false;
  TColor ColorOverride1 = clDefault;
  TColor ColorOverride2 = clDefault;
  TcxEditVertAlignment VertAlignment = taTopJustify;
  HWND WindowHandle = nullptr;

  TcxCustomEditProperties* GetProperties() const { return FProperties; }
  TcxCustomEditStyle* GetStyle() const { return FStyle; }
  int GetPressedButton() const;
  bool IsFocused() const;
  void CalculateEditorSize(TcxCanvas* ACanvas, const Variant& EditValue, SIZE& ASize,
                           TcxEditSizeProperties ASizeProperties);

  virtual bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AIndex);
  virtual TcxContainerBorderStyle GetEditContainerBorderStyle(int AHotState) const;
  virtual void Reset();
  virtual void ReadProperties();
  virtual void CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace, SIZE& AFixedSize,
                                      TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize);
  virtual bool IsButtonPressed(TcxCustomEditViewInfo*, int) { return false; }
  virtual void InitButtonNativeInfo(TcxEditButtonViewInfo* AButtonViewInfo);
  virtual void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button,
                         TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& ARect,
                                     int AIndex);
  virtual void CalculateButtons(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button,
                                TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void InitButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& ARect,
                                  int AIndex);
  virtual void AssignValueToViewInfo(TcxCustomEditViewInfo*) {}
  virtual void GetBorderExtent(TRect& R);
  virtual void GetClientExtent(TcxCustomEditViewInfo* AViewInfo, TRect& R);
  virtual void CalculateEditSize(TcxCanvas* ACanvas, TcxEditSizeProperties& ASizeProperties, SIZE& AFixedSize,
                                 TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize);
  virtual SIZE GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                                  const TcxEditSizeProperties& ASizeProperties);

protected:
  String ClassName() const override { return "TcxCustomEditViewData"; }

private:
  int ButtonStateAt(TcxCustomEditViewInfo* AViewInfo, int AIndex, const TPoint& P, int Button,
                    TShiftState Shift, int APrevPressed);
  void MarkGroupEnds(TcxCustomEditViewInfo* AViewInfo, const TRect& AArea);
  TcxCustomEditProperties* FProperties;
  TcxCustomEditStyle* FStyle;
};

// ---- Editor control ----

// Data an in-place host keeps for an editor between activations.
class TcxCustomEditData : public TObject {
public:
  explicit TcxCustomEditData(TcxCustomEdit* AEdit);
  ~TcxCustomEditData() override;
  TcxCustomEditData(const TcxCustomEditData&) = delete;
  TcxCustomEditData& operator=(const TcxCustomEditData&) = delete;
  TcxCustomEdit* GetEdit() const { return FEdit; }
  bool Cleared = true;

private:
  TcxCustomEdit* FEdit;
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
};

class TcxCustomEdit : public TcxContainer {
public:
  explicit TcxCustomEdit(TComponent* AOwner);
  ~TcxCustomEdit() override;

  // The steps that need the final class: the properties, the inner edit,
  // the data binding's defaults. Window creation runs them when nobody did.
  virtual void AfterConstruction();
  void Loaded() override;

  TcxCustomEditProperties* GetActiveProperties() const;
  // The own properties, made at the first need of the class the editor's
  // kind names.
  TcxCustomEditProperties* GetProperties() const;
  void SetProperties(const TcxCustomEditProperties* Value) { GetProperties()->Assign(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(TcxContainer::GetStyle()); }
  void SetStyle(const TcxCustomEditStyle* Value) { GetStyle()->Assign(Value); }
  TcxCustomEditViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomEditViewInfo*>(TcxContainer::GetViewInfo());
  }
  TcxEditDataBinding* GetDataBinding() const;
  TcxEditRepositoryItem* GetRepositoryItem() const { return FRepositoryItem; }
  void SetRepositoryItem(TcxEditRepositoryItem* Value);
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  const Variant& GetEditValueRef() const { return FEditValue; }
  Variant GetEditValueVariant() {
    Variant v;
    GetEditValue(v);
    return v;
  }
  bool GetIsInplace() const { return FIsInplace; }
  bool GetIsPosting() const { return FIsPosting; }
  bool GetIsEditValidated() const { return FIsEditValidated; }
  bool GetModified() const { return FModified; }
  bool GetModifiedSinceEnter() const { return FModifiedSinceEnter; }
  const Variant& GetPrevEditValue() const { return FPrevEditValue; }
  int GetPressedButtonIndex() const { return FPressedButton; }
  IcxCustomInnerEdit* GetInnerEdit() const { return FInnerEdit; }

  void LockChangeEvents(bool ALock, bool AInvokeChanged = true);
  bool IsChangeEventsLocked() const { return FLockCount > 0; }
  void DoChange();
  void DoEditValueChanged();
  void SetModified(bool Value);
  void SetModifiedSinceEnter(bool Value);
  void PushModifiedState();
  void PopModifiedState();
  bool QueryEditing();
  bool ValidateEdit(bool ARaiseException);
  bool CanPostEditValue();
  void PostEditValue();
  void CalculateEditViewInfo(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent);
  void CalculateEditViewInfoAtCursor();
  int GetButtonAtPoint(const TPoint& P) const;
  bool HasInnerEdit() const { return FInnerEdit != nullptr; }
  bool IsInnerEditMissing();
  bool CanUseMouseWheel(TShiftState Shift) const;
  // The control's own handling first, then the data binding's.
  bool ExecuteAction(TBasicAction* Action) override {
    return TcxContainer::ExecuteAction(Action) || GetDataBinding()->ExecuteAction(Action);
  }
  bool UpdateAction(TBasicAction* Action) override {
    return TcxContainer::UpdateAction(Action) || GetDataBinding()->UpdateAction(Action);
  }

  TcxEditKeyEvent OnUnhandledKey;
  TcxEditEditingEvent OnEditing;
  TNotifyEvent OnPostInplace;
  TNotifyEvent PropertiesEvents;

  // The editor's overridables.
  virtual void AdjustInnerEditPosition(int AHeight);
  virtual void EndPost() { FIsPosting = false; }
  virtual void BeginPost() { FIsPosting = true; }
  virtual bool CanAutoSize() { return true; }
  virtual bool CanAutoWidth() { return false; }
  virtual bool IsEditingKey(WORD, TShiftState) { return false; }
  virtual bool IsEditingChar(char) { return false; }
  virtual bool CanModify();
  virtual void InnerEditChanged(TObject* Sender);
  virtual IcxCustomInnerEdit* CreateInnerEdit() { return nullptr; }
  virtual std::unique_ptr<TcxCustomEditViewData> CreateViewData();
  virtual void ClickDefaultButton();
  virtual void DoButtonClick(int AIndex);
  virtual void DoButtonDown(int) {}
  virtual void DoButtonUp(int) {}
  virtual void HandleEditKeyDown(WORD& Key, TShiftState Shift);
  virtual void HandleEditKeyPress(char& Key) { FilterChar(Key); }
  virtual void HandleEditKeyUp(WORD&, TShiftState) {}
  virtual void GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties);
  virtual std::unique_ptr<TcxEditDataBinding> CreateDataBinding();
  virtual void GetDisplayText(String& Text) { Text.clear(); }
  virtual std::unique_ptr<TcxCustomEditData> CreateEditData() { return nullptr; }
  virtual void GetEditValue(Variant& Value) { Value = FEditValue; }
  virtual bool HasInnerEditClass() const { return false; }
  virtual void ReportValidationError(const String& AErrorText);
  virtual void InitializeEditData() {}
  virtual void InitializeInnerEdit();
  virtual void InitializeViewData(TcxCustomEditViewData* AViewData);
  virtual bool CanStartEditing() { return true; }
  virtual void ApplyDisplayValue(const Variant&) {}
  virtual void StoreEditValue(const Variant& Value, bool AValidate);
  virtual void ApplyDisplayValueKeepModified(const Variant& Value);
  virtual bool IsEditFocused();
  virtual bool CanClickWhileLoading() { return false; }
  virtual bool IsInnerEditShown() { return false; }
  virtual bool IsClickKey(WORD Key, TShiftState Shift);
  virtual bool IsEditValueStored();
  virtual bool CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem);
  virtual bool IsCharAllowed(char Ch);
  virtual void PropertiesEditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                 bool AEditFocused);
  virtual void ButtonStatesChanged(const TcxCustomEditViewInfo* APrevViewInfo);
  virtual void ApplyPropertiesChange(TcxCustomEditProperties* AProperties);
  virtual void RepositoryItemChanged() {}
  virtual void RepositoryItemChanging() {}
  virtual void ResetEditValue();
  virtual bool CanSendActivationKey(char) { return true; }
  virtual bool ApplyDisplayText(const String&) { return false; }
  virtual void SetEditValue(const Variant& Value);
  virtual void UpdateInnerEditValue(const Variant&) {}
  virtual void SynchronizeDisplayValue() {}
  virtual void StoreDisplayText() {}
  virtual void RefreshViewInfoText() {}
  virtual bool CanProcessKey(WORD Key, TShiftState Shift);
  virtual bool FilterChar(char& Ch);
  virtual void CallInnerWndProc(TMessage& Message);
  virtual void HookInnerWndProc();
  virtual void UnhookInnerWndProc();
  // The host owns the edit data between activations.
  virtual void ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData);
  virtual void ActivateInplaceByKey(char Key, std::unique_ptr<TcxCustomEditData>& AEditData);
  virtual void ActivateInplaceByMouse(TMouseButton Button, TShiftState Shift, int X, int Y,
                                      std::unique_ptr<TcxCustomEditData>& AEditData);
  virtual bool DeactivateInplace();
  virtual void ClearContent() {}
  virtual void CopyToClipboard() {}
  virtual void CutToClipboard() {}
  virtual std::unique_ptr<TcxCustomEditProperties> CreateProperties();
  virtual bool HasPopupWindow() { return false; }
  virtual void PasteFromClipboard() {}
  virtual void MakeEditValue(const Variant&, Variant&, bool) {}
  virtual void SelectAll() {}

  void WndProc(TMessage& Message) override;
  void SetFocus() override;
  bool UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) override;
  void AdjustInnerControlBounds() override;
  bool HandlesTabKey() override { return true; }
  void ThemeChanged() override;
  TcxContainerStyleValues GetHiddenStyleValues() const override;
  TRect GetHotTrackBounds() override;
  std::unique_ptr<TcxContainerStyle> CreateStyle(bool AIsInternal) override;
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void Click() override;

  // Queues a text for CXM_EDITPOSTEXCEPTION to raise in the editor.
  void PostEditException(const String& AText);

protected:
  // Only a host that places the editor inside itself calls it.
  void SetIsInplace(bool Value) { FIsInplace = Value; }
  // The host's data of the current in-place activation; nil stand-alone.
  TcxCustomEditData* GetEditData() const { return FEditData; }
  bool IsUserChange() const { return FUserChange; }
  void SetUserChange(bool Value) { FUserChange = Value; }
  // The edit value as the display made it, without any further step.
  void SetInternalEditValue(const Variant& Value) { FEditValue = Value; }

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void DblClick() override;
  void DoEnter() override;
  void DoExit() override;
  void FocusChanged() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave(TControl* AControl) override;
  // Validates and posts on leaving; false when validation failed.
  bool HandleEditExit(bool ARealExit);
  String ClassName() const override { return "TcxCustomEdit"; }

private:
  friend class TcxEditRepositoryItemListenerEditHelper;
  class TFocusGuard;
  void EnsureProperties() const;
  void HookOwnProperties();
  void ClearRepositoryItemSilently();
  void RemoveOnePendingChar();
  void HandleTabKey(WORD& Key, TShiftState Shift);
  void HandleEnterKey(WORD& Key);
  void WMClipboard(TMessage& Message);
  void WMPostException(TMessage& Message);
  void UpdateRegion();
  // The auto-size height and width for a width, and the client extent.
  SIZE CalculateAutoSize(int AWidth, TRect* AClientExtent);

  bool FAutoSize = true;
  int FPressedButton = -1;
  bool FChangePending = false;
  bool FEditValueChangedPending = false;
  int FLockCount = 0;
  TTimer* FDblClickTimer = nullptr;
  TcxCustomEditData* FEditData = nullptr;
  std::unique_ptr<TcxEditRepositoryItemListenerEditHelper> FRepositoryListener;
  bool FInQueryEditing = false;
  bool FLastFocusState = false;
  IcxCustomInnerEdit* FInnerEdit = nullptr;
  bool FIsEditValidated = false;
  bool FIsInplace = false;
  bool FIsPosting = false;
  bool FUserChange = false;
  bool FModified = false;
  bool FModifiedSinceEnter = false;
  Variant FPrevEditValue;
  std::vector<std::pair<bool, bool>> FModifiedStack;
  TcxEditRepositoryItem* FRepositoryItem = nullptr;
  TWndMethod FInnerPrevWindowProc;
  bool FInnerHooked = false;
  mutable std::unique_ptr<TcxEditDataBinding> FDataBinding;
  Variant FEditValue = Null();
  mutable std::unique_ptr<TcxCustomEditProperties> FProperties;
  bool FUpdatingRegion = false;
  bool FFocusing = false;
  bool FConstructed = false;
  bool FIsDestroying = false;
  std::vector<std::unique_ptr<String>> FQueuedErrors;
};

// ---- Unit routines ----

// Sets a flag for the scope it lives in.
class TFlagScope {
public:
  explicit TFlagScope(bool& AFlag) : FFlag(AFlag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& FFlag;
};

TShiftState MouseButtonToShift(TMouseButton Button);
TShiftState ContainerButtonToShift(int Code);
WPARAM ShiftStateToMouseKeys(TShiftState Shift);
bool VarEqualsSameType(const Variant& A, const Variant& B);
void EnlargeSize(SIZE& Size, const SIZE& Other);
TComponent* GetOwnerComponent(TPersistent* APersistent);
bool IsRegionEmpty(TcxRegion* ARegion);
void RegionUnion(TcxRegion* ARegion, TcxRegion* AOther);
void SendKeyDown(TWinControl* AControl, WORD Key);
void SendChar(TWinControl* AControl, char Ch);

void cxEditInitialize();
void cxEditFinalize();
