// The single-line text editor: its settings, the system edit window it hosts
// for caret, selection and typing (which hands every event to the editor
// first), the view data and view info that paint the text while that window
// is not shown, and the lookup items it completes typed text against, with
// the owner-drawn list box of the drop-down editors.
#pragma once

#include "cxEdit.h"
#include "cxEditTextUtils.h"

#include "Classes.h"

#include <bitset>

class TcxCustomTextEdit;
class TcxCustomInnerTextEdit;
class TcxCustomEditListBox;
class TcxCustomTextEditLookupData;

enum TcxTextEditingStyle { tesFreeText, tesMatchItem, tesListOnly, tesNoCaret };
enum TcxEditEchoMode { eemNormal, eemPassword };

// Directions of NavigateLookupItems.
enum TcxEditLookupDirection { ldFirst, ldLast, ldNext, ldPrevious, ldPageUp, ldPageDown };

using TcxNewLookupDisplayTextEvent = std::function<void(TObject* Sender, const String& AText)>;

// ---- The inner edit's interface ----

// What a text editor asks of the edit window inside it.
class IcxInnerTextEdit : public IcxCustomInnerEdit {
public:
  virtual void GetEditValue(Variant& Value) = 0;
  virtual void SetEditValue(const Variant& Value) = 0;
  virtual void LockBounds(bool ALock) = 0;
  virtual void SafelySetFocus() = 0;
  virtual void CopyToClipboard() = 0;
  virtual TAlignment GetAlignment() = 0;
  virtual bool GetAutoSelect() = 0;
  virtual TEditCharCase GetCharCase() = 0;
  virtual TcxEditEchoMode GetEchoMode() = 0;
  virtual bool GetHideSelection() = 0;
  virtual char GetImeLastChar() = 0;
  virtual bool GetKeyEatenByContainer() = 0;
  virtual int GetMaxLength() = 0;
  virtual bool GetMultiLine() = 0;
  virtual bool GetOEMConvert() = 0;
  virtual int GetSelLength() = 0;
  virtual int GetSelStart() = 0;
  virtual String GetSelText() = 0;
  virtual void SelectAll() = 0;
  virtual void SetAlignment(TAlignment Value) = 0;
  virtual void SetAutoSelect(bool Value) = 0;
  virtual void SetCharCase(TEditCharCase Value) = 0;
  virtual void SetEchoMode(TcxEditEchoMode Value) = 0;
  virtual void SetHideSelection(bool Value) = 0;
  virtual void SetKeyEatenByContainer(bool Value) = 0;
  virtual void SetMaxLength(int Value) = 0;
  virtual void SetOEMConvert(bool Value) = 0;
  virtual void SetSelLength(int Value) = 0;
  virtual void SetSelStart(int Value) = 0;
  virtual void SetSelText(const String& Value) = 0;
};

// The inner edit's side of the interfaces, forwarding to it.
class TcxCustomInnerTextEditHelper : public TObject, public IcxInnerTextEdit {
public:
  explicit TcxCustomInnerTextEditHelper(TcxCustomInnerTextEdit* AEdit) : FEdit(AEdit) {}
  TWinControl* GetControl() override;
  TcxContainer* GetControlContainer() override;
  bool GetReadOnly() override;
  void SetReadOnly(bool Value) override;
  void SetOnChange(TNotifyEvent Value) override;
  void GetEditValue(Variant& Value) override;
  void SetEditValue(const Variant& Value) override;
  void LockBounds(bool ALock) override;
  void SafelySetFocus() override;
  void CopyToClipboard() override;
  TAlignment GetAlignment() override;
  bool GetAutoSelect() override;
  TEditCharCase GetCharCase() override;
  TcxEditEchoMode GetEchoMode() override;
  bool GetHideSelection() override;
  char GetImeLastChar() override;
  bool GetKeyEatenByContainer() override;
  int GetMaxLength() override;
  bool GetMultiLine() override { return false; }
  bool GetOEMConvert() override;
  int GetSelLength() override;
  int GetSelStart() override;
  String GetSelText() override;
  void SelectAll() override;
  void SetAlignment(TAlignment Value) override;
  void SetAutoSelect(bool Value) override;
  void SetCharCase(TEditCharCase Value) override;
  void SetEchoMode(TcxEditEchoMode Value) override;
  void SetHideSelection(bool Value) override;
  void SetKeyEatenByContainer(bool Value) override;
  void SetMaxLength(int Value) override;
  void SetOEMConvert(bool Value) override;
  void SetSelLength(int Value) override;
  void SetSelStart(int Value) override;
  void SetSelText(const String& Value) override;

  // The selection when an input-method character arrived.
  int SavedSelLength = 0;
  int SavedSelStart = 0;

private:
  TcxCustomInnerTextEdit* FEdit;
};

// What the inner windows of the text editors (the edit and the memo) do
// alike: hand keys and the mouse to their container first, at its
// coordinates, move under its adjusting flag, tell it of focus changes and
// let it clear the selection.
class TcxInnerEditRouting {
public:
  // Calls AContainerHandler, then ABaseHandler unless the container ate the
  // key (set it to 0); AKeyEaten tells which.
  template <typename TKey, typename FContainer, typename FBase>
  static void RouteKey(bool& AKeyEaten, TKey& Key, FContainer&& AContainerHandler, FBase&& ABaseHandler) {
    AKeyEaten = false;
    AContainerHandler();
    if (Key != 0)
      ABaseHandler();
    else
      AKeyEaten = true;
  }
  static void KeyDown(TcxContainer* AContainer, WORD& Key, TShiftState Shift);
  static void KeyPress(TcxContainer* AContainer, char& Key);
  static void KeyUp(TcxContainer* AContainer, WORD& Key, TShiftState Shift);
  static void MouseDown(TWinControl* AInner, TcxContainer* AContainer, TMouseButton Button, TShiftState Shift,
                        int X, int Y);
  static void MouseMove(TWinControl* AInner, TcxContainer* AContainer, TShiftState Shift, int X, int Y);
  static void MouseUp(TWinControl* AInner, TcxContainer* AContainer, TMouseButton Button, TShiftState Shift,
                      int X, int Y);
  static void SetBounds(TcxContainer* AContainer, const std::function<void()>& ASetBounds);
  // After the inner window handled WM_SETFOCUS or WM_KILLFOCUS.
  static void FocusChanged(TWinControl* AInner, TcxContainer* AContainer, const TMessage& Message);
  // WM_CLEAR of the inner window, unless the editor is read-only.
  static void ClearSelection(TcxCustomTextEdit* AContainer);
};

// The system edit inside a text editor.
class TcxCustomInnerTextEdit : public TCustomEdit {
public:
  explicit TcxCustomInnerTextEdit(TComponent* AOwner);
  ~TcxCustomInnerTextEdit() override;

  TcxCustomInnerTextEditHelper* GetHelper() const { return FHelper.get(); }
  TcxCustomTextEdit* GetContainer() const;
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool GetEchoMode() const { return FPasswordEcho; }
  void SetEchoMode(bool APassword);
  bool KeyEatenByContainer = false;
  int GetImeCharCount() const { return FImeCharCount; }
  char GetImeByte() const { return FImeByte; }
  void LockBounds(bool ALock);
  // The index of the character under the caret.
  int GetCaretCharIndex();

  virtual void GetInnerText(String& Text) { Text = GetText(); }
  virtual void SetInnerText(const String& Text) { SetText(Text); }
  virtual void UpdateMargins();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool CanFocus() override;
  void WndProc(TMessage& Message) override;
  // A right click in the window shows the editor's menu.
  TPopupMenu* GetPopupMenu() const override;
  // The window's own handling (an edit action on the focused window), else
  // the editor's data binding.
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Click() override;
  void DblClick() override;
  // The container's: the inner window handles no wheel itself.
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // The container's, at its coordinates.
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  String ClassName() const override { return "TcxCustomInnerTextEdit"; }

private:
  struct TPrevState {
    String Text;
    int SelLength = 0;
    int SelStart = 0;
  };
  void SaveState(TPrevState& State);
  bool StateChanged(const TPrevState& State);
  void WMKeyDown(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMImeChar(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMClipboard(TMessage& Message);
  void WMFocus(TMessage& Message);

  bool FPasswordEcho = false;
  std::unique_ptr<TcxCustomInnerTextEditHelper> FHelper;
  bool FCreating = true;
  int FBoundsLock = 0;
  TAlignment FAlignment = taLeftJustify;
  int FImeCharCount = 0;
  char FImeByte = 0;
};

// ---- Settings ----

class TcxTextEditPropertiesValues : public TcxCustomEditPropertiesValues {
public:
  void Assign(const TPersistent* Source) override;
  void RestoreDefaults() override;
  bool MaxLength = false;
  bool MaxValue = false;
  bool MinValue = false;

protected:
  String ClassName() const override { return "TcxTextEditPropertiesValues"; }
};

class TcxCustomTextEditProperties : public TcxCustomEditProperties {
public:
  explicit TcxCustomTextEditProperties(TPersistent* AOwner);
  ~TcxCustomTextEditProperties() override;

  void Assign(const TPersistent* Source) override;

  TEditCharCase GetCharCase() const { return FCharCase; }
  TcxEditEchoMode GetEchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode Value);
  bool GetListSelectionHighlight() const { return FListSelectionHighlight; }
  void SetListSelectionHighlight(bool Value);
  bool GetHideCursor() const { return FHideCursor; }
  void SetHideCursor(bool Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  TStringList* GetLookupItems() const { return FLookupItems.get(); }
  void SetLookupItems(const TStrings* Value) { FLookupItems->Assign(Value); }
  bool GetLookupItemsSorted() const { return FLookupItems->GetSorted(); }
  void SetLookupItemsSorted(bool Value) { FLookupItems->SetSorted(Value); }
  int GetMaxLength() const;
  double GetMaxValue() const;
  void SetMaxValue(double Value);
  double GetMinValue() const;
  void SetMinValue(double Value);
  bool IsMaxLengthStored() const { return GetTextAssignedValues()->MaxLength; }
  bool IsMaxValueStored() const { return GetTextAssignedValues()->MaxValue; }
  bool IsMinValueStored() const { return GetTextAssignedValues()->MinValue; }
  TcxTextEditPropertiesValues* GetTextAssignedValues() const {
    return static_cast<TcxTextEditPropertiesValues*>(GetAssignedValues());
  }

  bool ImmediateUpdateText = false;
  std::bitset<256> ValidChars;
  TcxNewLookupDisplayTextEvent OnNewLookupDisplayText;

  // Applies CharCase to the ASCII letters only.
  String ApplyCharCase(const String& AText) const;

  virtual void ValidateValueBounds(const Variant& DisplayValue, String& ErrorText, TcxCustomEdit* Edit,
                                   bool& Error);
  virtual void GetEmptyDisplayValue(Variant& Value) { Value = Variant(String()); }
  virtual void GetDisplayTextForValue(const Variant& DisplayValue, String& Text);
  virtual void DoNewLookupDisplayText(TObject* Sender, const String& Text);
  virtual bool IsLookupItem(const String& Text) const;
  virtual int GetDefaultMaxLength() const;
  virtual int GetDropDownPageSize() const { return 8; }
  virtual TcxTextEditingStyle GetEditingStyle() const { return FHideCursor ? tesNoCaret : tesFreeText; }
  virtual bool UsesValueBounds() const { return false; }
  virtual bool PopupShowsLookupList() const { return false; }
  virtual bool IsMultiLineText() const { return false; }
  virtual bool IsPopupKey(WORD, TShiftState) const { return false; }
  virtual void LookupItemsChanged() { Changed(); }
  virtual void SetCharCase(TEditCharCase Value);
  virtual void SetMaxLength(int Value);
  virtual bool HasLookupData() const { return true; }
  // The lookup data of an editor of these settings (the drop-down editors
  // make their own kind).
  virtual std::unique_ptr<TcxCustomTextEditLookupData> CreateLookupData(TcxCustomTextEdit* AEdit) const;
  virtual bool IsDisplayValueValid(Variant& DisplayValue, bool AEditFocused);

  void AlignmentChanged() override;
  void SetAlignment(const TcxEditAlignment* Value) override;
  bool CanValidate() const override { return true; }
  bool CompareEditValues() const override { return true; }
  std::unique_ptr<TcxCustomEditPropertiesValues> CreateAssignedValues() const override;
  int GetDisplayFormatOptions() const override { return 1; }
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  bool ChangeFiredByInnerEdit() const override { return true; }
  bool WantsNavigationKeys() const override { return true; }
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  int GetCapabilities() const override { return GetButtons()->GetCount() > 0 ? 126 : 110; }
  bool IsEditValueValid(Variant& EditValue, bool AEditFocused) override;
  bool CanResetEditValue() const override { return GetEditingStyle() != tesNoCaret; }
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;
  void ValidateDisplayValue(Variant& DisplayValue, String& ErrorText, TcxCustomEdit* Edit,
                            bool& Error) override;
  int GetEditValueSource(bool) const override { return 1; }

protected:
  String ClassName() const override { return "TcxCustomTextEditProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  TEditCharCase FCharCase = ecNormal;
  TcxEditEchoMode FEchoMode = eemNormal;
  bool FListSelectionHighlight = true;
  bool FHideCursor = false;
  bool FHideSelection = true;
  bool FOEMConvert = false;
  std::unique_ptr<TStringList> FLookupItems;
  int FMaxLength = 0;
  double FMaxValue = 0;
  double FMinValue = 0;
};

class TcxTextEditProperties : public TcxCustomTextEditProperties {
public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;

protected:
  String ClassName() const override { return "TcxTextEditProperties"; }
};

// ---- View data and view info ----

class TcxCustomTextEditViewInfo : public TcxCustomEditViewInfo {
public:
  String Text;
  TRect TextRect;
  // Editor text flags: the text-row flag word with the alignment bits.
  int DrawTextFlags = 0;
  // The text rows, made at the first paint after the text or rectangle
  // changed.
  bool TextRowsValid = false;
  TcxTextLayoutParams TextParams;
  TRect TextRowsArea;
  TcxTextRows TextRows;
  int TextRowCount = 0;
  int MaxLineCount = 0;
  bool IsTextClipped = false;
  int SelStart = 0;
  int SelLength = 0;
  TColor SelTextColor = clHighlightText;
  TColor SelBackgroundColor = clHighlight;
  bool IsSelectedLook = false;
  bool IsComboBoxStyle = false;
  TcxTextEditingStyle EditingStyle = tesFreeText;
  bool HasPopupWindow = false;
  bool IsInnerEditShown = false;

  virtual void PaintText(TcxCanvas* ACanvas);
  // May change the font the text is drawn in.
  virtual void AdjustTextFont(TcxCanvas*) {}
  void InternalPaint(TcxCanvas* ACanvas) override;
  void Offset(int DX, int DY) override;
  bool IsHintAtPoint(const TPoint& P, String& AText, TRect& ATextRect, int& AValue) override;
  // P and AVisibleRect in window coordinates; an empty AVisibleRect tests
  // the whole text rectangle.
  bool IsHintAtPoint(TcxCanvas* ACanvas, const TPoint& P, TRect& AHintRect, bool& AIsMultiLine, String& AText,
                     const TRect& AVisibleRect);
};

// The view data of text editors.
class TcxCustomTextEditViewData : public TcxCustomEditViewData {
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;
  TcxTextEditingStyle EditingStyle = tesFreeText;
  bool UsesDisplayFormat = false;
  int SelStart = 0;
  int SelLength = 0;
  TColor SelTextColor = clDefault;
  TColor SelBackgroundColor = clDefault;

  TcxCustomTextEditProperties* GetTextProperties() const {
    return static_cast<TcxCustomTextEditProperties*>(GetProperties());
  }
  virtual bool IsInnerEditShownByEdit();
  virtual bool IsComboBoxStyle() const { return false; }
  virtual void CalculateTextOutData(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
  virtual void GetDisplayTextForValue(const Variant& DisplayValue, TcxCustomTextEditViewInfo* AViewInfo);
  // The editor text flags the text is drawn with.
  virtual int GetDrawTextFlags() const;
  virtual void GetTextRect(TRect& R);
  // The display text of an edit value: password echo and case applied.
  String DisplayTextOf(const Variant& Value);

  void ReadProperties() override;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void AssignValueToViewInfo(TcxCustomEditViewInfo* AViewInfo) override;
  void GetClientExtent(TcxCustomEditViewInfo* AViewInfo, TRect& R) override;
  SIZE GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                          const TcxEditSizeProperties& ASizeProperties) override;

protected:
  String ClassName() const override { return "TcxCustomTextEditViewData"; }
};

// ---- Lookup data ----

class IcxTextEditLookupData {
public:
  virtual ~IcxTextEditLookupData() = default;
  virtual bool CanResizeList(SIZE& ASize) = 0;
  virtual void ListClosed() = 0;
  virtual void ReleaseList() = 0;
  virtual void ListOpening() = 0;
  virtual void ListOpened(const String& AFindText) = 0;
  virtual bool IsTextInItems(const String& AText) = 0;
  virtual TcxCustomEditListBox* GetList() = 0;
  virtual int QueryCurrentKey() = 0;
  virtual String GetItemTextByKey(int AKey) = 0;
  virtual TNotifyEvent GetOnCurrentKeyChanged() = 0;
  virtual TNotifyEvent GetOnSelectItem() = 0;
  // The list's size for at most AMaxHeight; AWidth above 0 limits it.
  virtual SIZE CalculateListSize(int AMaxHeight, int AWidth) = 0;
  virtual void NavigateLookupItems(TcxEditLookupDirection ADirection, bool AWrap) = 0;
  virtual void PrepareListBox(TWinControl* AParent) = 0;
  virtual bool IsEmpty() = 0;
  virtual bool IsMouseOverList(const TPoint& AScreenPoint) = 0;
  virtual bool Locate(String& AText, String& ATail, bool ANext) = 0;
  virtual void SetListBoxBounds(const TRect& R) = 0;
  virtual void ItemsChanged() = 0;
  virtual void AcceptListItem() = 0;
  virtual void SelectItemByKey(int AKey) = 0;
  virtual void StoreOnCurrentKeyChanged(TNotifyEvent Value) = 0;
  virtual void StoreOnSelectItem(TNotifyEvent Value) = 0;
  virtual void SyncWithText() = 0;
};

class TcxCustomTextEditLookupData : public TcxInterfacedPersistent, public IcxTextEditLookupData {
public:
  explicit TcxCustomTextEditLookupData(TcxCustomTextEdit* AOwner);
  ~TcxCustomTextEditLookupData() override;
  TPersistent* GetOwner() const override;
  TcxCustomTextEdit* GetEdit() const { return FEdit; }
  int GetCurrentKey() const { return FCurrentKey; }
  int GetItemIndex() const { return FItemIndex; }
  void SetCurrentKey(int AIndex);
  void SetItemIndex(int AIndex);

  virtual String GetItemText(int AIndex);
  virtual int GetItemCount();
  // The class of the list of the drop-down editors; none here.
  virtual TcxCustomEditListBox* CreateListBox(TComponent*) { return nullptr; }
  virtual void ListItemClicked();
  virtual bool LocateByText(String& AText, String& ATail, bool AFromCurrent, bool AResetKeyOnFail);
  virtual void UpdateListItemCount();
  bool CanResizeList(SIZE&) override { return true; }
  void ListOpening() override {}
  void ListOpened(const String&) override {}
  bool IsTextInItems(const String& AText) override;
  SIZE CalculateListSize(int, int) override { return SIZE{0, 0}; }
  void PrepareListBox(TWinControl* AParent) override;
  void SetListBoxBounds(const TRect& R) override;
  void ItemsChanged() override { UpdateListItemCount(); }
  void SyncWithText() override;

  void ListClosed() override { SetItemIndex(FCurrentKey); }
  void ReleaseList() override {}
  TcxCustomEditListBox* GetList() override { return FList; }
  int QueryCurrentKey() override { return FCurrentKey; }
  String GetItemTextByKey(int AKey) override;
  TNotifyEvent GetOnCurrentKeyChanged() override { return FOnCurrentKeyChanged; }
  TNotifyEvent GetOnSelectItem() override { return FOnSelectItem; }
  void NavigateLookupItems(TcxEditLookupDirection ADirection, bool AWrap) override;
  bool IsEmpty() override { return GetItemCount() == 0; }
  bool IsMouseOverList(const TPoint& AScreenPoint) override;
  bool Locate(String& AText, String& ATail, bool ANext) override {
    return LocateByText(AText, ATail, ANext, false);
  }
  void AcceptListItem() override;
  void SelectItemByKey(int AKey) override;
  void StoreOnCurrentKeyChanged(TNotifyEvent Value) override { FOnCurrentKeyChanged = std::move(Value); }
  void StoreOnSelectItem(TNotifyEvent Value) override { FOnSelectItem = std::move(Value); }

protected:
  String ClassName() const override { return "TcxCustomTextEditLookupData"; }

private:
  void FireSelectItem();
  int NavigationTarget(TcxEditLookupDirection ADirection, bool AWrap, int AStart, int ACount);

  int FCurrentKey = -1;
  int FItemIndex = -1;
  TcxCustomEditListBox* FList = nullptr;
  TcxCustomTextEdit* FEdit;
  TNotifyEvent FOnCurrentKeyChanged;
  TNotifyEvent FOnSelectItem;
};

// The owner-drawn list of editor popups.
class TcxCustomEditListBox : public TcxCustomInnerListBox {
public:
  explicit TcxCustomEditListBox(TComponent* AOwner);
  TNotifyEvent OnItemSelected;
  bool HotTrack = true;

  virtual bool DrawItemByEvent(int, const TRect&, TOwnerDrawState) { return false; }
  virtual int GetItemsHeight(int ACount) { return ACount * GetItemHeight(-1); }
  virtual String GetItemText(int AIndex);
  virtual int GetItemHeight(int AIndex);
  virtual void RecreateWindowIfNeeded() {}

  bool IsListVisible() { return HandleAllocated() && IsWindowVisible(GetHandle()); }
  void SetItemCount(int ACount);
  void RecreateWindow() { RecreateWnd(); }
  void SelectionChanged();
  // The item texts the rows show; the list's own strings by default.
  std::function<String(int AIndex)> ItemTextSource;

  void Click() override;
  virtual void SetItemIndex(int AIndex);
  void WndProc(TMessage& Message) override;

protected:
  void MeasureItem(int Index, int& Height) override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  String ClassName() const override { return "TcxCustomEditListBox"; }
};

// ---- The editor ----

class TcxCustomTextEdit : public TcxCustomEdit {
public:
  explicit TcxCustomTextEdit(TComponent* AOwner);
  ~TcxCustomTextEdit() override;

  void AfterConstruction() override;
  void Loaded() override;
  TcxCustomTextEditProperties* GetActiveProperties() const {
    return static_cast<TcxCustomTextEditProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomTextEditProperties* GetProperties() const {
    return static_cast<TcxCustomTextEditProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomTextEditViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomTextEditViewInfo*>(TcxCustomEdit::GetViewInfo());
  }

  bool BeepOnEnter = true;
  bool SwallowNextEnter = false;
  bool GetAutoCompleteSelection() const { return FAutoCompleteSelection; }
  bool GetLookupTextSetting() const { return FLookupTextSetting; }
  void SetLookupTextSetting(bool Value) { FLookupTextSetting = Value; }
  bool GetLookupPosting() const { return FLookupPosting; }
  void SetLookupPosting(bool Value) { FLookupPosting = Value; }

  IcxInnerTextEdit* InnerTextEdit() const { return dynamic_cast<IcxInnerTextEdit*>(GetInnerEdit()); }
  IcxTextEditLookupData* GetEditLookupData() const { return FLookupData.get(); }
  TcxCustomTextEditLookupData* GetLookupData() const { return FLookupData.get(); }
  int GetEditSelStart();
  int GetEditSelLength();
  void SetSelection(int AStart, int ALength);
  int GetCaretCharIndex();
  void SetAutoCompleteSelection(bool Value);
  void NotifyItemSelected();
  void LockItemNotifications(bool ALock);
  void ValidateTextForEditingStyle();
  // The text as the display shows it: cut at a zero character.
  void PrepareDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused);

  virtual void UpdateInnerEditStyle();
  virtual void CheckValueBounds();
  virtual void ClampValueToBounds() {}
  virtual bool CanChangeLookupItem(bool) { return false; }
  virtual void LookupKeyChanged();
  virtual void GetDisplayTextForLookup(String& Text) { GetDisplayText(Text); }
  virtual bool SetDisplayTextForLookup(const String& Text) { return ApplyDisplayText(Text); }
  virtual void LookupKeyToEditValue(int AKey, Variant& EditValue);
  virtual void ResetAutoCompleteSelection();
  virtual void SetSelLength(int Value);
  virtual void SetSelStart(int Value);
  virtual void ReplaceSelText(const String& Text);
  virtual void ClearSelection();

  void AdjustInnerEditPosition(int AHeight) override;
  bool IsEditingKey(WORD Key, TShiftState Shift) override;
  bool IsEditingChar(char Ch) override;
  void InnerEditChanged(TObject* Sender) override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleEditKeyPress(char& Key) override;
  void GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) override;
  void GetDisplayText(String& Text) override;
  bool HasInnerEditClass() const override { return true; }
  IcxCustomInnerEdit* CreateInnerEdit() override;
  bool CanStartEditing() override { return GetActiveProperties()->GetEditingStyle() != tesNoCaret; }
  void ApplyDisplayValue(const Variant& Value) override;
  void ApplyDisplayValueKeepModified(const Variant& Value) override;
  bool IsInnerEditShown() override;
  bool IsCharAllowed(char Ch) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  bool ApplyDisplayText(const String& Text) override;
  void UpdateInnerEditValue(const Variant& Value) override;
  void SynchronizeDisplayValue() override;
  void StoreDisplayText() override;
  void RefreshViewInfoText() override;
  void CallInnerWndProc(TMessage& Message) override;
  void UnhookInnerWndProc() override;
  void ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void ClearContent() override { ApplyDisplayText(String()); }
  void CopyToClipboard() override;
  void CutToClipboard() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  void PasteFromClipboard() override;
  void MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) override;
  void SelectAll() override;
  bool UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) override;
  void GetInnerControlClipRect(const TRect& ABounds, TControl* AControl,
                               std::unique_ptr<TRect>& ARect) override;
  void WndProc(TMessage& Message) override;

protected:
  friend class TcxCustomInnerTextEdit;
  friend class TcxInnerEditRouting;
  friend class TcxCustomTextEditLookupData;
  void DoExit() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  String ClassName() const override { return "TcxCustomTextEdit"; }

private:
  TcxCustomInnerTextEdit* Inner() const;
  bool LocateAndShow(String& AText);
  bool CanLocate();
  void NavigateByKey(WORD& Key, TShiftState Shift);
  void PostLookupChange(int APrevKey, bool AFound);
  void HandleLookupBackspace(bool& AFound, char& Key);
  void HandleLookupChar(bool& AFound, char& Key, bool APrevAutoComplete);
  void UpdateListStyleSelection();
  void WMGetText(TMessage& Message);
  void WMSetText(TMessage& Message);

  int FItemNotificationLock = 0;
  bool FAutoCompleteSelection = false;
  bool FLookupPosting = false;
  bool FPositionGuard = false;
  std::unique_ptr<TcxCustomTextEditLookupData> FLookupData;
  bool FLookupTextSetting = false;
};

class TcxTextEdit : public TcxCustomTextEdit {
public:
  using TcxCustomTextEdit::TcxCustomTextEdit;
  TcxTextEditProperties* GetProperties() const {
    return static_cast<TcxTextEditProperties*>(TcxCustomTextEdit::GetProperties());
  }
  // Ignored while a repository item gives the settings.
  void SetProperties(const TcxTextEditProperties* Value) {
    if (!GetRepositoryItem()) GetProperties()->Assign(Value);
  }

protected:
  String ClassName() const override { return "TcxTextEdit"; }
};

// MaxLength counts UTF-16 units: the length of a text in them, and its
// first ALength units in the ANSI code page.
int WideLength(const String& AText);
String CutToUnits(const String& AText, int ALength);

void cxTextEditInitialize();
void cxTextEditFinalize();
