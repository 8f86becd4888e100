// Routines the container, the popups, the inner list box and the editors
// share: button codes, shadows and frame bands, window regions, string
// comparison, and a component that reports the freeing of others.
#pragma once

#include "cxControls.h"

#include <functional>
#include <memory>

// Tells its event when a component it watches is freed.
class TcxFreeNotificator : public TComponent {
public:
  using TComponent::TComponent;
  std::function<void(TComponent* Sender)> OnFreeNotification;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TcxFreeNotificator"; }
};

int ContainerMouseButton(TMouseButton Button);
void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& R);
void ShrinkRect(TRect& R, const TRect& Margins);
TRect GetControlRect(TControl* AControl);
bool IsControlHandle(TWinControl* AControl, HWND Wnd);
bool IsSameString(const String& S1, const String& S2, bool ACaseSensitive);
void DrawFrameArea(TcxCanvas* ACanvas, const TRect& R, const TRect& AInner, TColor AColor);
TPoint GetMouseCursorPos();
TShiftState GetShiftState();
void InvalidateFrameArea(HWND Wnd, const TRect& R, const TRect& AInner, bool AErase);
void InvalidateWinControlRect(TWinControl* AControl, const TRect& R, bool AErase);
bool IsWinControlVisible(TWinControl* AControl);
inline HWND WindowHandleOf(HWND Wnd) {
  return Wnd;
}
TcxCanvas* GetScreenCanvas();
// R nil: no region.
void SetWindowRegionFromRect(TWinControl* AControl, const TRect* R);
// AExcluded nil: nothing cut out.
void SetContainerWindowRegion(HWND Wnd, const TRect& R, bool AShadow, bool ANative, const TRect* AExcluded);
bool IsScrollBarInfoAvailable();
bool IsNativeBorderAvailable(bool ANative, TdxThemedObjectType AThemeClass);
// AOther tells AComponent when it is freed.
void AddFreeNotification(TComponent* AComponent, TComponent* AOther);
void RemoveFreeNotification(TComponent* AComponent, TComponent* AOther);

// GetScrollBarInfo of user32 when the system has it; FALSE otherwise.
BOOL cxGetScrollBarInfo(HWND Wnd, LONG IdObject, SCROLLBARINFO* Info);

// The native bar of a window: false when it does not show; else its
// rectangle in ToWnd's client coordinates and whether it is enabled.
bool GetNativeScrollBarRect(HWND Wnd, TScrollBarKind Kind, HWND ToWnd, TRect& R, bool& Enabled);

// ---- Container style and style controller ----

enum TcxContainerBorderStyle { cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat };
// The indices of a style's values; the editors' styles add theirs after the
// last (up to 31).
enum TcxContainerStyleValue {
  csvBorderColor,
  csvBorderStyle,
  csvColor,
  csvEdges,
  csvFont,
  csvHotTrack,
  csvShadow,
  csvTransparentBorder
};
using TcxContainerStyleValues = TSet<TcxContainerStyleValue>;

class TcxContainer;
class TcxStyleController;
class TcxContainerStyle;

using TcxStyleChangedEvent = std::function<void(TObject* Sender, TcxContainerStyle* AStyle)>;

// The appearance values of a container or a popup: each assigned here,
// inherited through the style controller's chain, or a default.
class TcxContainerStyle : public TPersistent {
public:
  // An internal style belongs to a control drawn inside another one: it
  // shares the owner's font and answers fixed values.
  TcxContainerStyle(TPersistent* AOwner, bool AIsInternal);
  ~TcxContainerStyle() override;
  TcxContainerStyle(const TcxContainerStyle&) = delete;
  TcxContainerStyle& operator=(const TcxContainerStyle&) = delete;

  void Assign(const TPersistent* Source) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  TPersistent* GetOwner() const { return FOwner; }
  TcxContainer* GetContainer() const;
  void RefreshFontFromController();

  TcxContainerStyleValues GetAssignedValues() const;
  void SetAssignedValues(TcxContainerStyleValues Value);
  TColor GetBorderColor() const;
  void SetBorderColor(TColor Value);
  TcxContainerBorderStyle GetBorderStyle() const;
  void SetBorderStyle(TcxContainerBorderStyle Value);
  void SetColor(TColor Value);
  TcxBorders GetEdges() const;
  void SetEdges(TcxBorders Value);
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* Value);
  bool GetHotTrack() const;
  void SetHotTrack(bool Value);
  bool GetShadow() const;
  void SetShadow(bool Value);
  bool GetTransparentBorder() const;
  void SetTransparentBorder(bool Value);
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(const TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  TcxStyleController* GetStyleController() const;
  void SetStyleController(TcxStyleController* AValue);
  bool IsInternal() const { return FIsInternal; }
  // The text colour of internal styles, read by the editors' painting.
  TColor TextColor = clWindowText;

  std::function<void(TObject* Sender)> OnChanged;

  virtual void Changed();
  virtual void ControllerChanged();
  virtual void ControllerFreeNotification(TcxStyleController* AController);
  virtual TColor GetDefaultBorderColor() const { return clWindowFrame; }
  virtual TcxContainerBorderStyle GetDefaultBorderStyle() const;
  virtual TColor GetDefaultColor() const;
  virtual TcxBorders GetDefaultEdges() const { return cxBordersAll; }
  virtual bool GetDefaultHotTrack() const { return true; }
  virtual bool GetDefaultShadow() const { return false; }
  virtual bool GetDefaultTransparentBorder() const { return true; }
  virtual void FontChanged(TObject* Sender);
  virtual TColor GetColor() const;
  virtual TColor GetInternalColor() const;
  virtual bool IsValueAssigned(TcxContainerStyleValue Index) const;
  virtual void StyleControllerChanged();
  virtual TcxStyleController* GetDefaultStyleController() const { return nullptr; }
  virtual int GetStyleValueCount() const { return 8; }
  // False past the values this class knows.
  virtual bool GetStyleValueName(TcxContainerStyleValue Index, String& Name) const;
  virtual void RestoreDefaults();

protected:
  String ClassName() const override { return "TcxContainerStyle"; }
  // The style of the chain (this one or a controller's) where the value is
  // assigned, or nil.
  const TcxContainerStyle* AssignedIn(TcxContainerStyleValue Index) const;
  // True when the value is assigned here with the same contents.
  template <typename T>
  bool IsAssignedAs(TcxContainerStyleValue Index, const T& Field, const T& Value) const {
    return FAssignedValues.Contains(Index) && Field == Value;
  }
  void ValueChanged(TcxContainerStyleValue Index);

private:
  bool ChainLeadsTo(const TcxStyleController* AController) const;
  bool IsOwnerOrOwnersOwner(const TcxStyleController* AController) const;
  TcxContainer* ParentColorContainer() const;

  TColor FBorderColor = clWindowFrame;
  TcxContainerBorderStyle FBorderStyle = cbs3D;
  TcxBorders FEdges = cxBordersAll;
  bool FHotTrack = true;
  bool FShadow = false;
  bool FTransparentBorder = true;
  bool FIsInternal;
  bool FIsDestroying = false;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  bool FModified = false;
  TPersistent* FOwner;
  int FUpdateCount = 0;
  TcxContainerStyleValues FAssignedValues;
  bool FRefreshingFont = false;
  TcxStyleController* FStyleController = nullptr;
  TColor FColor = clWindow;
  // Owned unless internal: an internal style keeps its owner's font.
  std::unique_ptr<TFont> FOwnFont;
  TFont* FFont = nullptr;
};

// A component on a form that owns one style and pushes every change of it
// to the styles that name it.
class TcxStyleController : public TComponent {
public:
  explicit TcxStyleController(TComponent* AOwner);
  ~TcxStyleController() override;
  void Loaded() override;
  // Made at the first need, of the class the controller's kind asks for.
  TcxContainerStyle* GetStyle();
  int GetStyleCount() const { return static_cast<int>(FListeners.size()); }
  TcxStyleChangedEvent OnStyleChanged;

  virtual void AddStyle(TcxContainerStyle* AStyle);
  virtual void NotifyStyleChanged(TcxContainerStyle* AStyle);
  virtual void RemoveStyle(TcxContainerStyle* AStyle);

protected:
  virtual std::unique_ptr<TcxContainerStyle> CreateStyle();
  void Changed();
  String ClassName() const override { return "TcxStyleController"; }

private:
  std::vector<TcxContainerStyle*> FListeners;
  std::unique_ptr<TcxContainerStyle> FStyle;
  bool FIsDestroying = false;
};

// ---- Container ----

enum TcxContainerStateItem { cstFocused, cstDisabled, cstHot, cstNormal };
using TcxContainerState = TSet<TcxContainerStateItem>;

// Implemented by the windows that live inside a container.
class IcxContainerInnerControl {
public:
  virtual ~IcxContainerInnerControl() = default;
  virtual TWinControl* GetControl() = 0;
  virtual TcxContainer* GetControlContainer() = 0;
};

// The calculated geometry and colours of a container; paints its border,
// shadow and background.
class TcxContainerViewInfo : public TObject {
public:
  TcxContainerViewInfo() = default;
  TColor GetBackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor AColor);
  // Descendants' second colour, reset with every background colour.
  TColor BackgroundColorAlt = 0;
  TColor BorderColor = clDefault;
  TRect BorderRect;
  // The painted kind: 0 none, 1 single, 2 thick, 3 flat, 4 3-D.
  int BorderStyle = 0;
  int BorderWidth = 0;
  TRect Bounds;
  TRect ClientRect;
  TcxContainerState ContainerState;
  TcxBorders Edges;
  bool NativeStyle = false;
  int ThemePart = 0;
  int ThemeState = 0;
  TdxThemedObjectType ThemeClass = totEdit;
  bool Shadow = false;

  virtual void InternalPaint(TcxCanvas* ACanvas);
  virtual void Assign(const TcxContainerViewInfo* Source) { ClientRect = Source->ClientRect; }
  virtual std::unique_ptr<TcxRegion> GetUpdateRegion(const TcxContainerViewInfo*) {
    return std::make_unique<TcxRegion>();
  }
  virtual void Offset(int DX, int DY);
  virtual void Paint(TcxCanvas* ACanvas) { InternalPaint(ACanvas); }

private:
  void PaintNativeBorder(TcxCanvas* ACanvas);
  void PaintBorder(TcxCanvas* ACanvas);
  TColor FBackgroundColor = clWindow;
};

// The bordered host of the editors: its style decides the border, colours,
// font and hot tracking; it may hold one inner window that fills the space
// inside the border and sees every key and mouse event after the container.
class TcxContainer : public TcxControl, public IcxMouseTrackingCaller {
public:
  explicit TcxContainer(TComponent* AOwner);
  ~TcxContainer() override;

  // Style and view info are made at the first need, of the classes that
  // CreateStyle and CreateViewInfo give once construction is done.
  TcxContainerStyle* GetStyle() const;
  void SetStyle(const TcxContainerStyle* Value) { GetStyle()->Assign(Value); }
  TcxContainerViewInfo* GetViewInfo() const;
  TWinControl* GetInnerControl() const { return FInnerControl; }
  // Descendants set it in their constructors; the container does not own it.
  void SetInnerControl(TWinControl* Value) { FInnerControl = Value; }
  TWinControl* GetEffectiveControl() const {
    return FInnerControl ? FInnerControl : const_cast<TcxContainer*>(this);
  }

  void WndProc(TMessage& Message) override;
  void Loaded() override;
  bool IsFocused() override;
  bool HasScrollBars() override { return false; }
  // The inner control drags as the container does.
  void SetDragMode(TDragMode Value) override;
  void SetDragKind(TDragKind Value) override;
  TRect GetClientBounds() override { return FViewInfo->ClientRect; }
  void UpdateMouseStateAtCursor(bool AIsMouseEvent);
  void LockAlignControls(bool ALock);
  void UpdateWindowRegion();
  static bool IsContainerDestroying(TcxContainer* AControl);

  // The mouse-tracking caller's side.
  void MouseLeave() override;

  virtual void ApplyStyleToInnerControl();
  virtual void CalculateViewInfo(const TPoint& P, bool AIsHotTest);
  virtual void ClearInnerControlRegion() { FInnerRegion.reset(); }
  virtual void ContainerStyleChanged(TObject* Sender);
  virtual void DataChange() {}
  virtual void DataSetChange() {}
  virtual void MouseTrackingLeave();
  virtual TRect GetBorderExtent();
  // ARect: the part of the child inside ABounds, in the child's coordinates,
  // when something of it lies outside; else nil.
  virtual void GetInnerControlClipRect(const TRect& ABounds, TControl* AControl,
                                       std::unique_ptr<TRect>& ARect);
  virtual std::unique_ptr<TcxContainerStyle> CreateStyle(bool AIsInternal);
  virtual std::unique_ptr<TcxContainerViewInfo> CreateViewInfo();
  virtual TRect GetHotTrackBounds();
  virtual bool IsInnerControlRegionChanged(TControl* AControl, const TRect* ARect);
  virtual bool IsInternalStyle() { return false; }
  virtual bool UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent);
  virtual void SetInnerControlRegionRect(TControl* AControl, const TRect* ARect);
  virtual void AdjustInnerScrollBars();
  virtual void AdjustInnerControlBounds();
  virtual bool HandlesTabKey() { return false; }
  virtual void UpdateDataValue() {}
  virtual TdxThemedObjectType GetThemeClassIndex() { return totEdit; }
  virtual int GetNativePart() { return 1; }
  virtual int GetNativeState();
  virtual void ThemeChanged() { UpdateMouseStateAtCursor(false); }
  // The style values that containers of this class do not use.
  virtual TcxContainerStyleValues GetHiddenStyleValues() const { return TcxContainerStyleValues(); }

protected:
  friend class TcxCustomInnerListBox;
  friend class TcxCustomInnerTextEdit;
  friend class TcxInnerEditRouting;
  virtual void EnabledChanged();
  // Lays the own bar over the inner window's native one, enabled as that is
  // and the parent flag allows, with its range; true when it shows.
  bool PlaceOverNativeScrollBar(TcxControlScrollBar* ABar, bool AParentEnabled);

  bool CanFocusOnClick() override;
  void HandleColorChange() override;
  void CursorChanged() override;
  void FontChanged() override;
  void FocusChanged() override;
  bool MayFocus() override;
  void MouseEnter(TControl* AControl) override;
  void MouseLeave(TControl* AControl) override;
  void AdjustClientRect(TRect& Rect) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;
  void Resize() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  String ClassName() const override { return "TcxContainer"; }
  bool IsDestroyingContainer() const { return FIsDestroying; }

private:
  bool InnerControlFocused() const;
  bool IsNativeBorder();
  TPoint CursorPos();
  void BeginTracking();
  void WMKillFocus(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  bool SameFont(TFont* A, TFont* B) const;

  TWinControl* FInnerControl = nullptr;
  bool FIsInnerClick = false;
  std::unique_ptr<TRect> FInnerRegion;
  bool FIsDestroying = false;
  bool FAdjusting = false;
  int FAlignLock = 0;
  bool FAdjustingScrollBars = false;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  bool FStyleApplying = false;
  bool FIsCreating = false;
  mutable std::unique_ptr<TcxContainerStyle> FStyle;
  mutable std::unique_ptr<TcxContainerViewInfo> FViewInfo;
};

// ---- Inner list box ----

// The list box inside a container or a popup: its events go to the container
// first, and painted bars lie over its native ones, which keep scrolling.
class TcxCustomInnerListBox : public TListBox, public IcxContainerInnerControl {
public:
  explicit TcxCustomInnerListBox(TComponent* AOwner);
  ~TcxCustomInnerListBox() override;

  TcxCanvas* GetcxCanvas() const { return FCanvas.get(); }
  TcxScrollBar* GetHScrollBar() const { return FHScrollBar; }
  TcxScrollBar* GetVScrollBar() const { return FVScrollBar; }
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  TcxContainer* Container = nullptr;
  TWinControl* GetControl() override { return this; }
  TcxContainer* GetControlContainer() override { return Container; }

  void Click() override;
  // The container's menu, so a right click shows it once, for the list box.
  TPopupMenu* GetPopupMenu() const override;
  void WndProc(TMessage& Message) override;
  // The container's, at its coordinates.
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void UpdateScrollBars();
  // The corner between the two bars in window coordinates; empty unless
  // both show.
  TRect GetSizeGripRect();
  void LockUpdateScrollBars(bool ALock) { FLockCount += ALock ? 1 : -1; }

protected:
  virtual void MouseEnter(TControl*) {}
  virtual void MouseLeave(TControl* AControl);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxCustomInnerListBox"; }

private:
  TcxScrollBar* CreateScrollBar(TScrollBarKind Kind);
  void ScrollBarScroll(TcxScrollBar* Bar, TScrollCode ScrollCode, int& ScrollPos);
  void UpdateScrollBar(TcxScrollBar* Bar);
  void PaintSizeGrip();
  bool BothBarsVisible() const;

  std::unique_ptr<TcxCanvas> FCanvas;
  TcxScrollBar* FHScrollBar = nullptr;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxScrollBar* FVScrollBar = nullptr;
  bool FCalculating = false;
  int FLockCount = 0;
};

// A painted bar takes the native bar's range, page and position.
void CopyNativeScrollBarRange(HWND Wnd, TScrollBarKind Kind, TcxScrollBar* Bar);

void cxContainerInitialize();
void cxContainerFinalize();

// ---- Popup windows ----
// Every drop-down is a popup window: a form that opens beside a rectangle of
// its owner control, keeps the owner's form looking active and closes by
// itself on clicks elsewhere, application switches, the owner hiding or
// closing, and system keys, which three thread hooks watch.

// Closes a popup and focuses its owner.
constexpr UINT CXM_CLOSEPOPUP = 0x8065;
// Opens a popup (WParam: the control to focus).
constexpr UINT CXM_SHOWPOPUP = 0x8066;

enum TcxPopupHorzPlacement { hpLeft, hpCenter, hpRight };
enum TcxPopupVertPlacement { vpTop, vpCenter, vpBottom };
enum TcxPopupOpenDirection { odHorizontal, odVertical };

// A borderless stay-on-top form placed beside AnchorBounds of AnchorParent.
class TcxPopupWindow : public TForm {
public:
  TcxPopupWindow();
  ~TcxPopupWindow() override;

  bool AutoFitChildren = true;
  TcxPopupHorzPlacement HorzPlacement = hpLeft;
  TcxPopupVertPlacement VertPlacement = vpBottom;
  int FramePadding = 0;
  // 0 none, 1 a line in FrameColor, 2 one raised ring, 3 two raised rings.
  BYTE FrameKind = 0;
  TcxPopupOpenDirection OpenDirection = odVertical;
  TColor FrameColor = clWindowText;
  // In the client coordinates of AnchorParent.
  TRect AnchorBounds;
  TControl* AnchorParent = nullptr;
  TcxCanvas* GetcxCanvas() const { return FcxCanvas.get(); }
  HWND GetPreviousActiveWindow() const { return FPreviousActiveWindow; }

  virtual void CalculatePopupPosition(TPoint& P);
  virtual void CalculatePopupSize();
  // Side 0 left, 1 top, 2 right, 3 bottom.
  virtual int GetClientOffset(int Side);
  virtual int GetFrameWidth(int Side);
  virtual void InitPopup();
  virtual void DrawFrame();
  virtual void HidePopup() { Hide(); }
  virtual void ShowPopup();

  void WndProc(TMessage& Message) override;

protected:
  virtual void VisibleChanged() {}
  virtual void Paint();
  void PaintWindow(HDC DC) override;
  void Deactivate() override;
  String ClassName() const override { return "TcxPopupWindow"; }

  HWND FPreviousActiveWindow = nullptr;

private:
  std::unique_ptr<TcxCanvas> FcxCanvas;
  // The client offset the children were moved by, so each opening moves
  // them only by what changed.
  TPoint FChildrenOffset;
};

// The popup of the drop-down controls: focus-taking (a top-level form with
// a modal loop) or non-activating (floats on the desktop, the focus stays
// with the owner's form).
class TcxCustomPopupWindow : public TcxPopupWindow {
public:
  explicit TcxCustomPopupWindow(TControl* AOwnerControl);
  ~TcxCustomPopupWindow() override;

  bool GetCaptureFocus() const { return FCaptureFocus; }
  void SetCaptureFocus(bool Value);
  bool GetTopMostAsParent() const { return FTopMostAsParent; }
  void SetTopMostAsParent(bool Value);
  TWinControl* GetPopupFocusedControl() const { return FPopupFocusedControl; }
  bool GetClosingByHook() const { return FClosingByHook; }
  TControl* GetOwnerControl() const { return FOwnerControl; }
  // Set when a left click on the owner's anchor closed the popup; an owner
  // that opens on a click reads and clears it.
  bool ClosedByOwnerClick = false;
  bool RunsModalLoop = true;
  TNotifyEvent OnClosed;
  TNotifyEvent OnClosing;
  TNotifyEvent OnShowed;
  TNotifyEvent OnShowing;

  virtual void DoClosed();
  virtual void DoClosing();
  virtual void DoShowed();
  virtual bool HasBackground() { return false; }
  virtual void StyleChanged() {}
  virtual bool IsSysKeyAccepted(WORD Key);
  virtual void ClosePopup(bool AUseCloseQuery);
  // A focus-taking popup with RunsModalLoop returns when it is closed.
  virtual void Popup(TWinControl* AFocusedControl);

  // Style and view info are made at the first need, of the classes that
  // CreateStyle and CreateViewInfo give once construction is done.
  TcxContainerStyle* GetStyle() const;
  TcxContainerViewInfo* GetViewInfo() const;
  virtual std::unique_ptr<TcxContainerStyle> CreateStyle();
  virtual std::unique_ptr<TcxContainerViewInfo> CreateViewInfo();

  bool IsOpen() const;
  void DoShowing();
  TWinControl* FindFocusControl(TWinControl* AControl);
  bool CanFocus() override { return GetVisible(); }
  // Open, taking the focus, and the focus on the popup or inside it.
  virtual bool IsFocused();
  // The popup keeps its own font: the anchor's is not taken.
  void InitPopup() override {}
  void WndProc(TMessage& Message) override;
  // The hooks' side: closes with the closing-by-hook flag set.
  void CloseByHook();
  // Tells a library control that owns the popup that its focus may have
  // changed.
  void OwnerFocusChanged();

protected:
  virtual void MouseEnter(TControl*) {}
  virtual void MouseLeave(TControl*) {}
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Deactivate() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void VisibleChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TcxCustomPopupWindow"; }

private:
  void ShowWithoutActivation();
  void RunModalLoop();
  void ReopenIfOpen();
  bool HoldsCapture();

  bool FCaptureFocus = true;
  TWinControl* FPopupFocusedControl = nullptr;
  bool FClosingByHook = false;
  bool FTopMostAsParent = false;
  TControl* FOwnerControl;
  HWND FNewActiveWindow = nullptr;
  // Variables of running loops that hold this popup; destruction clears them.
  std::vector<bool*> FAliveFlags;
  mutable std::unique_ptr<TcxContainerStyle> FStyle;
  mutable std::unique_ptr<TcxContainerViewInfo> FViewInfo;
};

// The open popups in opening order.
std::vector<TcxCustomPopupWindow*>& OpenPopups();
bool IsWindowInControl(TWinControl* AControl, HWND Wnd);
bool IsWindowInOwnerForm(TControl* AOwner, HWND Wnd);

void cxPopupsInitialize();
void cxPopupsFinalize();
