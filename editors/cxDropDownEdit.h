// The drop-down editors: the base that opens a popup window beside the
// editor and hands the choice made in it back, the popup window with its
// frame, system panel and mouse sizing, the combo box whose popup is a list
// of text items, and the popup edit that shows a control of the
// application in its popup.
#pragma once

#include "cxMaskEdit.h"

class TcxCustomDropDownEdit;
class TcxCustomEditPopupWindow;
class TcxCustomComboBox;

// Opens the popup with a drop-down edit (sent to the edit).
constexpr UINT CXM_DROPDOWN = 0x8067;
// Forwards a character to the focused control of an open popup.
constexpr UINT CXM_POPUPCHAR = 0x806B;

// The popup window's frame: border by kind, client edge, shadow and the
// system panel with size grip and close button on the side away from the
// editor.
class TcxCustomEditPopupWindowViewInfo : public TcxContainerViewInfo {
public:
  TcxEditPopupBorderStyle BorderKind = epbsDefault;
  bool HasClientEdge = false;
  bool ShowCloseButton = false;
  TRect CloseButtonBounds;
  TcxLookAndFeelKind CloseButtonKind = lfStandard;
  // The visual-style state; 0 when the button is drawn without styles.
  int CloseButtonThemeState = 0;
  // 1 normal, 2 hot, 3 pressed.
  BYTE CloseButtonMouseState = 1;
  int MinPanelHeight = 0;
  bool UseNativeStyle = false;
  bool HasShadow = false;
  bool IsSizeable = false;
  // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
  BYTE GripCorner = 3;
  TRect GripRect;
  TRect GripHitRect;
  // The window less frame and shadow: the client area and the panel.
  TRect InnerBounds;
  int EdgeSizingWidth = 0;
  int PanelHeight = 0;
  bool HasSysPanel = false;

  virtual void Calculate();
  // R shrinks by the frame.
  virtual void DrawPopupFrame(TcxCanvas* ACanvas, TRect& R);
  virtual TRect GetBorderExtent();
  TRect GetClientExtent() { return GetBorderExtent(); }
  virtual int GetSysPanelHeight();
  // Whether a press at (X, Y) of the window starts sizing, and in which
  // directions (-1, 0 or 1 each).
  virtual bool GetSizingDirection(int X, int Y, int& ADX, int& ADY);

  void InternalPaint(TcxCanvas* ACanvas) override;

  bool IsGripAtRight() const { return GripCorner == 1 || GripCorner == 3; }
  bool IsGripAtBottom() const { return GripCorner >= 2; }
};

// ---- Popup window ----

class TcxCustomEditPopupWindow : public TcxCustomPopupWindow {
public:
  explicit TcxCustomEditPopupWindow(TcxCustomDropDownEdit* AOwnerControl);
  ~TcxCustomEditPopupWindow() override;

  TcxCustomDropDownEdit* GetEdit() const;
  TcxCustomEditPopupWindowViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomEditPopupWindowViewInfo*>(TcxCustomPopupWindow::GetViewInfo());
  }

  // Set by the owner edit before every opening.
  bool PopupAutoSize = true;
  TcxEditPopupBorderStyle BorderKind = epbsDefault;
  bool PopupClientEdge = false;
  bool ShowCloseButton = true;
  int PopupMinHeight = 0;
  int PopupMinWidth = 0;
  bool UseNativeStyle = false;
  int PopupHeight = 0;
  int PopupWidth = 0;
  bool HasShadow = false;
  bool PopupSizeable = false;
  bool PopupSysPanelStyle = false;

  virtual void CalculateViewInfo();
  // Sends the character to the window that has the focus.
  virtual void ForwardChar(char Ch);
  virtual SIZE GetMinContentSize();
  void RecalculateLayout();
  // The window region: the shadow without the strip over the editor.
  void SetPopupWindowRegion();
  bool IsSizing() const;

  void CalculatePopupPosition(TPoint& P) override;
  void CalculatePopupSize() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void DoClosing() override;
  void DoClosed() override;
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override;
  void WndProc(TMessage& Message) override;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave(TControl* AControl) override;
  void Resize() override;
  String ClassName() const override { return "TcxCustomEditPopupWindow"; }

private:
  void SetCloseButtonState(BYTE AState);
  void SetSizingCursor(int ADX, int ADY);
  void SizingMouseMove(int X, int Y);
  void EndSizing();
  TRect ScreenBounds() const;
};

// ---- Properties ----

class TcxCustomDropDownEditProperties : public TcxCustomMaskEditProperties {
public:
  explicit TcxCustomDropDownEditProperties(TPersistent* AOwner);
  void Assign(const TPersistent* Source) override;
  void Changed() override;

  // The glyph of the drop-down button: a glyph makes it bkGlyph, none turns
  // it back into bkDown. Nil when the button is gone.
  TBitmap* GetButtonGlyph();
  void SetButtonGlyph(TBitmap* Value);
  void SetGlyphButtonIndex(int Index);
  bool ImmediateDropDown = true;
  bool ImmediatePopup = false;
  TAlignment GetPopupAlignment() const { return FPopupAlignment; }
  void SetPopupAlignment(TAlignment Value) { Store(FPopupAlignment, Value); }
  bool PopupAutoSize = true;
  bool GetPopupClientEdge() const { return FPopupClientEdge; }
  void SetPopupClientEdge(bool Value) { Store(FPopupClientEdge, Value); }
  int GetPopupHeight() const { return FPopupHeight; }
  // Raised to PopupMinHeight.
  void SetPopupHeight(int Value);
  int GetPopupMinHeight() const { return FPopupMinHeight; }
  void SetPopupMinHeight(int Value);
  int GetPopupMinWidth() const { return FPopupMinWidth; }
  void SetPopupMinWidth(int Value);
  bool GetPopupSizeable() const { return FPopupSizeable; }
  void SetPopupSizeable(bool Value) { Store(FPopupSizeable, Value); }
  bool GetPopupSysPanelStyle() const { return FPopupSysPanelStyle; }
  void SetPopupSysPanelStyle(bool Value) { Store(FPopupSysPanelStyle, Value); }
  int GetPopupWidth() const { return FPopupWidth; }
  // Negative values give 0, a positive value at least PopupMinWidth.
  void SetPopupWidth(int Value);
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnInitPopup;
  TNotifyEvent OnPopup;

  virtual int GetDropDownButtonIndex() const { return 0; }
  virtual bool DropDownOnClick() const { return false; }
  virtual bool PostOnPopupClosed() const { return false; }
  virtual std::unique_ptr<TcxCustomEditPopupWindow> CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const;
  virtual bool PopupCapturesFocus() const { return false; }

  bool PopupShowsLookupList() const override { return true; }
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;

protected:
  String ClassName() const override { return "TcxCustomDropDownEditProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  TcxEditButton* GlyphButton() const;
  int FGlyphButtonIndex = 0;
  bool FChangedGuard = false;
  TAlignment FPopupAlignment = taLeftJustify;
  bool FPopupClientEdge = false;
  int FPopupHeight = 0;
  int FPopupMinHeight = 0;
  int FPopupMinWidth = 0;
  bool FPopupSizeable = false;
  bool FPopupSysPanelStyle = false;
  int FPopupWidth = 0;
};

// What survives the re-creation of an in-place editor.
class TcxCustomDropDownEditData : public TcxCustomEditData {
public:
  using TcxCustomEditData::TcxCustomEditData;
  bool SizeStored = false;
  int PopupWidth = 0;
  int PopupHeight = 0;
};

class TcxCustomDropDownEditViewData : public TcxCustomTextEditViewData {
public:
  using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
  bool HasPopupWindow = false;
  bool PopupToggleGuard = false;

  bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AIndex) override;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;

protected:
  String ClassName() const override { return "TcxCustomDropDownEditViewData"; }
};

// The look the popup's contents take as their master: the kind from the
// editor's button style, the native style of its view info.
class TcxEditPopupControlLookAndFeel : public TcxLookAndFeel {
public:
  explicit TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* AEdit);
  void Refresh();

protected:
  TcxLookAndFeelKind CalculateKind() const override;
  bool CalculateNativeStyle() const override;
  String ClassName() const override { return "TcxEditPopupControlLookAndFeel"; }

private:
  TcxLookAndFeelKind EditKind() const;
  bool EditNativeStyle() const;
  TcxCustomDropDownEdit* FEdit;
};

class TcxCustomDropDownInnerEdit : public TcxCustomInnerTextEdit {
public:
  using TcxCustomInnerTextEdit::TcxCustomInnerTextEdit;
  void WndProc(TMessage& Message) override;

protected:
  void KeyUp(WORD& Key, TShiftState Shift) override;
  String ClassName() const override { return "TcxCustomDropDownInnerEdit"; }
};

// ---- The drop-down edit ----

class TcxCustomDropDownEdit : public TcxCustomMaskEdit {
public:
  explicit TcxCustomDropDownEdit(TComponent* AOwner);
  ~TcxCustomDropDownEdit() override;

  void AfterConstruction() override;
  TcxCustomDropDownEditProperties* GetActiveProperties() const {
    return static_cast<TcxCustomDropDownEditProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomDropDownEditProperties* GetProperties() const {
    return static_cast<TcxCustomDropDownEditProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomEditPopupWindow* GetPopupWindow() const { return FPopupWindow.get(); }
  TcxEditPopupControlLookAndFeel* GetPopupControlsLookAndFeel() const { return FPopupLookAndFeel.get(); }
  bool GetDroppedDown() { return HasPopupWindow(); }
  void SetDroppedDown(bool Value);
  bool IsResizedByUser() const { return FResizedByUser; }
  void SetResizedByUser(bool Value) { FResizedByUser = Value; }
  bool IgnoreNextListMove = false;
  TRect GetPopupOwnerBounds();
  bool IsPopupToggleGuardSet() const { return FPopupToggleGuard; }

  virtual bool CanDropDown() { return false; }
  virtual void CloseUp(bool AAccept);
  virtual void DoInitPopup();
  virtual void DoPopup();
  virtual void DropDown();
  virtual TWinControl* GetPopupFocusedControl();
  virtual SIZE CalculatePopupContentSize() = 0;
  virtual void AttachLookupListToPopup();
  virtual void SetupPopupWindowProperties();
  virtual void PositionPopupContent(const TRect& AClientRect);
  virtual void SetupPopupWindow();
  virtual void PopupCloseQuery(bool& CanClose);
  virtual void PopupClosed();
  virtual void AfterPopupShow();

  bool IsFocused() override;
  bool HasPopupWindow() override;
  void HandleEditKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleEditKeyPress(char& Key) override;
  bool CanSendActivationKey(char Key) override;
  bool IsClickKey(WORD Key, TShiftState Shift) override;
  bool CanChangeLookupItem(bool AByWheel) override;
  void DoButtonDown(int AIndex) override;
  bool UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) override;
  void InitializeViewData(TcxCustomEditViewData* AViewData) override;
  IcxCustomInnerEdit* CreateInnerEdit() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  std::unique_ptr<TcxCustomEditData> CreateEditData() override;
  void InitializeEditData() override;
  void ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void ActivateInplaceByKey(char Key, std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void ActivateInplaceByMouse(TMouseButton Button, TShiftState Shift, int X, int Y,
                              std::unique_ptr<TcxCustomEditData>& AEditData) override;
  bool DeactivateInplace() override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void ContainerStyleChanged(TObject* Sender) override;
  void ThemeChanged() override;
  TcxContainerStyleValues GetHiddenStyleValues() const override { return TcxContainerStyleValues(); }
  void WndProc(TMessage& Message) override;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void DoExit() override;
  String ClassName() const override { return "TcxCustomDropDownEdit"; }
  // The inner edit that the class makes.
  virtual TcxCustomInnerTextEdit* NewInnerEdit();

private:
  bool HasLookupList();
  void AcceptLookupItem();
  void PostImmediately();
  void PostForwardedChar(char Key);
  bool HandlePopupKey(WORD& Key, TShiftState Shift);

  std::unique_ptr<TcxEditPopupControlLookAndFeel> FPopupLookAndFeel;
  std::unique_ptr<TcxCustomEditPopupWindow> FPopupWindow;
  bool FActivatingByMouse = false;
  bool FPopupToggleGuard = false;
  bool FResizedByUser = false;
};

// ---- Combo box ----

enum TcxEditDropDownListStyle { lsEditList, lsEditFixedList, lsFixedList };

using TcxEditDrawItemEvent = std::function<void(TcxCustomComboBox* AControl, TcxCanvas* ACanvas, int AIndex,
                                                const TRect& ARect, TOwnerDrawState AState)>;

class TcxCustomComboBoxProperties : public TcxCustomDropDownEditProperties {
public:
  explicit TcxCustomComboBoxProperties(TPersistent* AOwner);
  void Assign(const TPersistent* Source) override;

  TcxEditDropDownListStyle GetDropDownListStyle() const { return FDropDownListStyle; }
  void SetDropDownListStyle(TcxEditDropDownListStyle Value);
  int GetDropDownRows() const { return FDropDownRows; }
  // Values below 1 are ignored.
  void SetDropDownRows(int Value);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  bool Revertable = false;
  TcxEditDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TStrings* GetItems() const { return GetLookupItems(); }
  void SetItems(const TStrings* Value) { SetLookupItems(Value); }
  bool GetSorted() const { return GetLookupItemsSorted(); }
  void SetSorted(bool Value) { SetLookupItemsSorted(Value); }
  bool GetDropDownAutoWidth() const { return PopupAutoSize; }
  void SetDropDownAutoWidth(bool Value) { PopupAutoSize = Value; }
  bool GetDropDownSizeable() const { return GetPopupSizeable(); }
  void SetDropDownSizeable(bool Value) { SetPopupSizeable(Value); }
  int GetDropDownWidth() const { return GetPopupWidth(); }
  void SetDropDownWidth(int Value) { SetPopupWidth(Value); }

  bool DropDownOnClick() const override { return FDropDownListStyle == lsFixedList; }
  std::unique_ptr<TcxCustomEditPopupWindow> CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const override;
  std::unique_ptr<TcxCustomTextEditLookupData> CreateLookupData(TcxCustomTextEdit* AEdit) const override;
  int GetDropDownPageSize() const override { return FDropDownRows; }
  TcxTextEditingStyle GetEditingStyle() const override;
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;

protected:
  String ClassName() const override { return "TcxCustomComboBoxProperties"; }

private:
  TcxEditDropDownListStyle FDropDownListStyle = lsEditList;
  int FDropDownRows = 8;
  int FItemHeight = 0;
};

class TcxComboBoxProperties : public TcxCustomComboBoxProperties {
public:
  using TcxCustomComboBoxProperties::TcxCustomComboBoxProperties;

protected:
  String ClassName() const override { return "TcxComboBoxProperties"; }
};

class TcxCustomComboBoxViewData : public TcxCustomDropDownEditViewData {
public:
  using TcxCustomDropDownEditViewData::TcxCustomDropDownEditViewData;
  bool IsComboBoxStyle() const override { return true; }

protected:
  String ClassName() const override { return "TcxCustomComboBoxViewData"; }
};

class TcxComboBoxPopupWindow : public TcxCustomEditPopupWindow {
public:
  using TcxCustomEditPopupWindow::TcxCustomEditPopupWindow;
  void CalculatePopupSize() override;

protected:
  String ClassName() const override { return "TcxComboBoxPopupWindow"; }
};

class TcxComboBoxListBox : public TcxCustomEditListBox {
public:
  TcxComboBoxListBox(TComponent* AOwner, TcxCustomComboBox* AEdit);
  TcxCustomComboBox* GetEdit() const { return FEdit; }

  void SetItemIndex(int AIndex) override;
  bool DrawItemByEvent(int AIndex, const TRect& ARect, TOwnerDrawState AState) override;
  int GetItemsHeight(int ACount) override;
  int GetItemHeight(int AIndex) override;
  void RecreateWindowIfNeeded() override;

protected:
  void MeasureItem(int Index, int& Height) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Resize() override;
  String ClassName() const override { return "TcxComboBoxListBox"; }

private:
  TcxCustomComboBox* FEdit;
  bool FFirstCreation = true;
  bool FHadMeasureItem = false;
  int FLastItemHeight = 0;
};

class TcxComboBoxLookupData : public TcxCustomTextEditLookupData {
public:
  using TcxCustomTextEditLookupData::TcxCustomTextEditLookupData;
  TcxComboBoxListBox* GetListBox() { return static_cast<TcxComboBoxListBox*>(GetList()); }

  TcxCustomEditListBox* CreateListBox(TComponent* AOwner) override;
  void UpdateListItemCount() override;
  bool CanResizeList(SIZE& ASize) override;
  SIZE CalculateListSize(int AMaxHeight, int AWidth) override;
  void PrepareListBox(TWinControl* AParent) override;

protected:
  String ClassName() const override { return "TcxComboBoxLookupData"; }
};

class TcxCustomComboBoxInnerEdit : public TcxCustomDropDownInnerEdit {
public:
  using TcxCustomDropDownInnerEdit::TcxCustomDropDownInnerEdit;

protected:
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxCustomComboBoxInnerEdit"; }
};

class TcxCustomComboBox : public TcxCustomDropDownEdit {
public:
  explicit TcxCustomComboBox(TComponent* AOwner);
  TcxCustomComboBoxProperties* GetActiveProperties() const {
    return static_cast<TcxCustomComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxComboBoxLookupData* GetComboLookupData() const {
    return static_cast<TcxComboBoxLookupData*>(GetLookupData());
  }
  int GetItemIndex() const;
  // Click only when the index changed; Modified is cleared then.
  void SetItemIndex(int Value);

  bool CanDropDown() override;
  SIZE CalculatePopupContentSize() override;
  void SetupPopupWindowProperties() override;
  void InnerEditChanged(TObject* Sender) override;
  void AfterPopupShow() override;
  void ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;

protected:
  void DblClick() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  TcxCustomInnerTextEdit* NewInnerEdit() override;
  String ClassName() const override { return "TcxCustomComboBox"; }
};

class TcxComboBox : public TcxCustomComboBox {
public:
  using TcxCustomComboBox::TcxCustomComboBox;
  TcxComboBoxProperties* GetProperties() const {
    return static_cast<TcxComboBoxProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  void SetProperties(const TcxComboBoxProperties* Value) { TcxCustomEdit::GetProperties()->Assign(Value); }

protected:
  String ClassName() const override { return "TcxComboBox"; }
};

// ---- Popup edit ----

class TcxCustomPopupEditProperties : public TcxCustomDropDownEditProperties {
public:
  explicit TcxCustomPopupEditProperties(TPersistent* AOwner);
  ~TcxCustomPopupEditProperties() override;
  void Assign(const TPersistent* Source) override;
  TControl* GetPopupControl() const { return FPopupControl; }
  void SetPopupControl(TControl* Value);

  std::unique_ptr<TcxCustomEditPopupWindow> CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const override;
  bool PopupShowsLookupList() const override { return false; }
  bool PopupCapturesFocus() const override { return true; }
  TcxClassRef GetContainerClass() const override;
  void DoFreeNotification(TComponent* AComponent) override;

protected:
  String ClassName() const override { return "TcxCustomPopupEditProperties"; }

private:
  TControl* FPopupControl = nullptr;
  std::unique_ptr<TcxFreeNotificator> FNotificator;
};

class TcxPopupEditProperties : public TcxCustomPopupEditProperties {
public:
  explicit TcxPopupEditProperties(TPersistent* AOwner);

protected:
  String ClassName() const override { return "TcxPopupEditProperties"; }
};

class TcxPopupEditPopupWindowViewInfo : public TcxCustomEditPopupWindowViewInfo {
public:
  void DrawPopupFrame(TcxCanvas* ACanvas, TRect& R) override;
};

class TcxPopupEditPopupWindow : public TcxCustomEditPopupWindow {
public:
  using TcxCustomEditPopupWindow::TcxCustomEditPopupWindow;
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override;

protected:
  String ClassName() const override { return "TcxPopupEditPopupWindow"; }
};

class TcxCustomPopupEdit : public TcxCustomDropDownEdit {
public:
  explicit TcxCustomPopupEdit(TComponent* AOwner);
  ~TcxCustomPopupEdit() override;
  TcxCustomPopupEditProperties* GetActiveProperties() const {
    return static_cast<TcxCustomPopupEditProperties*>(TcxCustomEdit::GetActiveProperties());
  }

  virtual void RestorePopupControl();
  virtual void SavePopupControl();

  bool CanDropDown() override;
  void DoInitPopup() override;
  TWinControl* GetPopupFocusedControl() override;
  SIZE CalculatePopupContentSize() override;
  void SetupPopupWindow() override;
  void PositionPopupContent(const TRect& AClientRect) override;
  void PopupClosed() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;

protected:
  String ClassName() const override { return "TcxCustomPopupEdit"; }

private:
  // The borrowed control and the parent it came from are watched: either
  // may be freed while the popup shows it.
  void WatchedFreed(TComponent* AComponent);

  TControl* FBorrowed = nullptr;
  TAlign FSavedAlign = alNone;
  TRect FSavedBounds;
  TWinControl* FSavedParent = nullptr;
  bool FSavedVisible = false;
  TFormBorderStyle FSavedBorderStyle = bsNone;
  std::unique_ptr<TcxFreeNotificator> FWatcher;
};

class TcxPopupEdit : public TcxCustomPopupEdit {
public:
  using TcxCustomPopupEdit::TcxCustomPopupEdit;
  TcxPopupEditProperties* GetProperties() const {
    return static_cast<TcxPopupEditProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  void SetProperties(const TcxPopupEditProperties* Value) { TcxCustomEdit::GetProperties()->Assign(Value); }

protected:
  String ClassName() const override { return "TcxPopupEdit"; }
};

void cxDropDownEditInitialize();
void cxDropDownEditFinalize();
