// The base of every owner-drawn control: a canvas wrapper, its own
// look-and-feel, painted scroll bars laid out until their visibility is
// stable, mouse enter and leave, wanted dialog keys, and guards that let a
// running handler notice that its control was destroyed under it. Beside it:
// mouse-leave tracking, child components and screen utilities.
#pragma once

#include "cxScrollBar.h"

#include <memory>
#include <vector>

// Sent to a control when the system scroll-bar sizes may have changed.
constexpr UINT CXM_SCROLLBARMETRICS = 0x8131;

// The library's cursors, loaded at the start of the library.
constexpr TCursor crDragCopy = 2100;
constexpr TCursor crFullScroll = 2101;
constexpr TCursor crHorScroll = 2102;
constexpr TCursor crVerScroll = 2103;
constexpr TCursor crUpScroll = 2104;
constexpr TCursor crRightScroll = 2105;
constexpr TCursor crDownScroll = 2106;
constexpr TCursor crLeftScroll = 2107;
constexpr TCursor crcxRemove = 2108;
constexpr TCursor crcxVertSize = 2109;
constexpr TCursor crcxHorzSize = 2110;
constexpr TCursor crcxMultiDrag = 2111;
constexpr TCursor crcxNoDrop = 2112;
constexpr TCursor crcxDrag = 2113;

enum TcxScrollDirection { sdNone, sdLeft, sdRight, sdUp, sdDown };
enum TcxMouseWheelScrollingKind { mwskNone, mwskHorizontal, mwskVertical };
enum TcxWantedKey { wkAll, wkArrows, wkChars, wkTab };
using TcxWantedKeys = TSet<TcxWantedKey>;

// A capture owner may want to hear that it lost the capture.
class IcxCaptureOwnerNotify {
public:
  virtual ~IcxCaptureOwnerNotify() = default;
  virtual void CaptureReleased() = 0;
};

class TcxControl;
class TcxControlChildComponent;

enum TcxDragAndDropPhase { dndIdle, dndPending, dndDragging };

// Runs one drag-and-drop operation inside a control (moving a column, a
// splitter); controls supply their own kind.
class TcxDragAndDropObject : public TObject {
public:
  explicit TcxDragAndDropObject(TcxControl* AControl);
  TcxControl* GetControl() const { return FControl; }
  TcxCanvas* GetCanvas() const { return FCanvas; }
  bool GetDirty() const { return FDirty; }
  void SetDirty(bool Value);
  // In the control's client coordinates; (-1, -1) until Init.
  TPoint CurMousePos{-1, -1};
  TPoint PrevMousePos{-1, -1};

  virtual bool GetImmediateStart() { return false; }
  void Init();
  void DoDragAndDrop(const TPoint& P, bool& Accepted);
  void DoEndDragAndDrop(bool Accepted);

protected:
  virtual void DirtyChanged() {}
  virtual TCursor GetDragAndDropCursor(bool Accepted) { return Accepted ? crDrag : crNoDrop; }
  virtual void AfterDragAndDrop(bool) {}
  virtual void BeginDragAndDrop() { DirtyChanged(); }
  virtual void DragAndDrop(const TPoint& P, bool& Accepted);
  virtual void EndDragAndDrop(bool) { SetDirty(true); }

private:
  TcxControl* FControl;
  TcxCanvas* FCanvas;
  bool FDirty = false;
};

using TcxDragAndDropObjectClass = std::unique_ptr<TcxDragAndDropObject> (*)(TcxControl* AControl);

// The class library's drag of a control, with a copy cursor while Ctrl is
// held over a target that accepts.
class TcxDragControlObject : public TDragControlObject {
public:
  using TDragControlObject::TDragControlObject;
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
};

using TDragControlObjectClass = std::unique_ptr<TDragControlObject> (*)(TControl* AControl);

// The layout's wishes for one own scroll bar, applied once they are stable.
struct TcxScrollBarData {
  int Min = 0;
  int Max = 0;
  int Position = 0;
  int PageSize = 0;
  int SmallChange = 1;
  int LargeChange = 1;
  bool Enabled = false;
  bool Visible = false;
  bool ShowAllowed = false;
  bool HideAllowed = false;
};

class TcxControlScrollBar : public TcxScrollBar {
public:
  explicit TcxControlScrollBar(TcxControl* AOwner);
  TcxScrollBarData Data;
  bool IsVisible() const { return GetVisible(); }
  void SetVisible(bool Value) { TControl::SetVisible(Value); }
  void ApplyData();
  void WndProc(TMessage& Message) override;

protected:
  virtual void FocusParentControl();
  String ClassName() const override { return "TcxControlScrollBar"; }
};

// The square between the two bars.
class TcxSizeGrip : public TCustomControl {
public:
  explicit TcxSizeGrip(TComponent* AOwner);

protected:
  void Paint() override;
  String ClassName() const override { return "TcxSizeGrip"; }
};

class TcxControl : public TCustomControl {
public:
  explicit TcxControl(TComponent* AOwner);
  ~TcxControl() override;

  void WndProc(TMessage& Message) override;
  using TControl::GetCursor;

  TcxCanvas* GetcxCanvas() const { return FCanvas.get(); }
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(const TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  TObject* GetCaptureOwner() const { return FCaptureOwner; }
  void SetCaptureOwner(TObject* AObject);
  TPoint GetMouseDownPos() const { return FMouseDownPos; }
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TcxWantedKeys GetWantedKeys() const { return FWantedKeys; }
  void SetWantedKeys(TcxWantedKeys AValue) { FWantedKeys = AValue; }
  TcxControlScrollBar* GetHScrollBar() const { return FHScrollBar.get(); }
  TcxControlScrollBar* GetVScrollBar() const { return FVScrollBar.get(); }
  TcxSizeGrip* GetSizeGrip() const { return FSizeGrip.get(); }

  bool IsHScrollBarVisible() const;
  bool IsVScrollBarVisible() const;
  void SetScrollBarData(TScrollBarKind Kind, int Min, int Max, int Step, int Page, int Position,
                        bool ShowAllowed, bool HideAllowed);
  void ScrollContent(TcxScrollDirection ADirection);
  void InvalidateRect(const TRect& R, bool AErase);

  TNotifyEvent OnFocusChanged;

  TcxDragAndDropPhase GetDragAndDropPhase() const { return FDragAndDropPhase; }
  TcxDragAndDropObject* GetDragAndDropObject();
  void FinishDragAndDrop(bool Accepted);
  // Scrolls towards the mouse while the middle button pans; returns when
  // panning ends.
  void RunPanningLoop();

  // First group of the control's overridables.
  virtual bool CanFocusOnClick();
  virtual bool FocusOnChildClick(TControl* AChild);
  virtual int GetBorderSize() { return 0; }
  virtual TRect GetBounds();
  virtual TRect GetClientBounds();
  virtual TCursor GetCursor(int X, int Y);
  virtual bool IsDesigning() { return false; }
  virtual bool IsFocused() { return Focused(); }
  virtual TcxMouseWheelScrollingKind GetMouseWheelScrollingKind();
  virtual bool HasBackground() { return false; }
  virtual bool IsInternalControl(TControl* AControl);
  TcxCustomLookAndFeelPainterClass GetPainter() const { return FLookAndFeel->CurrentPainter(); }
  virtual bool HasScrollBars() { return true; }
  virtual bool IsPixelScrollBar(TScrollBarKind) { return false; }
  virtual bool CanFocusNow();
  // Whether a release here still counts as a click of the last press: a
  // control that drags by itself allows only the drag threshold.
  virtual bool IsInClickArea(int X, int Y);
  virtual void AddChildComponent(TcxControlChildComponent* AComponent);
  virtual void RemoveChildComponent(TcxControlChildComponent* AComponent);

protected:
  virtual void AfterMouseDown(TMouseButton Button, int X, int Y);
  virtual void BeforeMouseDown(TMouseButton, TShiftState, int, int) {}
  virtual void LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {}
  virtual TRect GetHScrollBarBounds();
  virtual TRect GetSizeGripBounds();
  virtual TRect GetVScrollBarBounds();
  virtual void InitScrollBars();
  virtual void InitScrollBarsParameters() {}
  virtual void Scroll(TScrollBarKind, TScrollCode, int&) {}
  virtual void PlaceScrollBars();
  virtual void UpdateScrollBars();
  virtual bool CanStartDragAndDrop(const TPoint&) { return false; }
  virtual void BeginDragAndDrop();
  virtual void DragAndDrop(const TPoint& P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);
  virtual void FinishDragOnMouseUp();
  virtual TcxDragAndDropObjectClass GetDragAndDropObjectClass();
  // The class library's drag: may it start here, of which class, and is
  // the object it got acceptable.
  virtual bool CanDrag(int, int) { return FDragAndDropPhase == dndIdle; }
  virtual TDragControlObjectClass GetDragObjectClass();
  virtual bool AllowDragObject(TDragObject*) { return true; }

  // Second group, called from message handlers.
  virtual void HandleColorChange() {}
  virtual void VisibleChanged() {}
  virtual bool AllowUnfocusedMouseDown() { return false; }
  virtual void BoundsChanged() { UpdateScrollBars(); }
  virtual void CursorChanged() { FDefaultCursor = TControl::GetCursor(); }
  virtual void CancelMouseCapture() { SetCaptureOwner(nullptr); }
  virtual void FocusChanged();
  virtual void FontChanged() { Invalidate(); }
  virtual bool MayFocus() { return true; }
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  String ClassName() const override { return "TcxControl"; }

private:
  friend class TcxControlScrollBar;
  friend class TcxControlGuard;
  friend class TcxCustomPopupWindow;
  void CreateScrollBars();
  void ScrollBarScroll(TcxControlScrollBar* Bar, TScrollCode ScrollCode, int& ScrollPos);
  TcxScrollBarData& DataOf(TScrollBarKind Kind);
  void CalculateScrollBars();
  void HideBarsOfEachOther();
  void ApplyScrollBars(bool Stabilized);
  void ScrollBarMetricsChanged();
  void LeftButtonDownWithoutAutomaticDrag(TMessage& Message, const TPoint& P);
  void SetDragAndDropPhase(TcxDragAndDropPhase Value);
  void StartDragAndDropOnMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void DragAndDropOnMouseMove(int X, int Y);

  bool FCalculatingScrollBars = false;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxDragAndDropObject> FDragAndDropObject;
  TCursor FDragAndDropPrevCursor = crDefault;
  bool FFinishingDragAndDrop = false;
  TcxDragAndDropPhase FDragAndDropPhase = dndIdle;
  TCursor FDefaultCursor = crDefault;
  std::unique_ptr<TcxControlScrollBar> FHScrollBar;
  bool FHScrollBarStartVisible = false;
  bool FVScrollBarStartVisible = false;
  bool FScrollBarsStabilized = false;
  TcxWantedKeys FWantedKeys;
  // Variables of running handlers that hold this control; destruction sets
  // them to nil.
  std::vector<TcxControl**> FGuards;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TObject* FCaptureOwner = nullptr;
  TPoint FMouseDownPos;
  TScrollStyle FScrollBars = ssBoth;
  std::unique_ptr<TcxSizeGrip> FSizeGrip;
  bool FUpdatingScrollBars = false;
  std::unique_ptr<TcxControlScrollBar> FVScrollBar;
};

// Holds a control for a running handler, which tests Alive after each step
// that can run user code: the control's destruction clears it.
class TcxControlGuard {
public:
  explicit TcxControlGuard(TcxControl* AControl);
  ~TcxControlGuard();
  TcxControlGuard(const TcxControlGuard&) = delete;
  TcxControlGuard& operator=(const TcxControlGuard&) = delete;
  bool Alive() const { return FControl != nullptr; }

private:
  TcxControl* FControl;
};

// One per process: relays changes of the system's non-client metrics to the
// registered controls through a hidden window that exists exactly while any
// control is registered.
class TcxSettingsController : public TObject {
public:
  ~TcxSettingsController() override;
  void AddControl(TcxControl* AControl);
  void RemoveControl(TcxControl* AControl);
  HWND GetWindow() const { return FWindow; }

private:
  void MainWndProc(TMessage& Message);
  std::vector<TcxControl*> FControls;
  HWND FWindow = nullptr;
};

TcxSettingsController* GetSettingsController();

// Tells its caller when the mouse has left a rectangle.
class IcxMouseTrackingCaller {
public:
  virtual ~IcxMouseTrackingCaller() = default;
  virtual void MouseLeave() = 0;
};

// R is in the control's client coordinates (on the screen when AControl is
// nil).
void BeginMouseTracking(TWinControl* AControl, const TRect& R, IcxMouseTrackingCaller* ACaller);
void EndMouseTracking(IcxMouseTrackingCaller* ACaller);
bool IsMouseTracking(IcxMouseTrackingCaller* ACaller);
int MouseTrackingCount();

// A component held by a control as its child.
class TcxControlChildComponent : public TcxComponent {
public:
  using TcxComponent::TcxComponent;
  ~TcxControlChildComponent() override;
  TcxControl* GetControl() const { return FControl; }
  void SetParentComponent(TComponent* AParent);
  TComponent* GetParentComponent() const { return FControl; }
  bool HasParent() const { return FControl != nullptr; }
  virtual void SetControl(TcxControl* AControl) { FControl = AControl; }

protected:
  String ClassName() const override { return "TcxControlChildComponent"; }

private:
  TcxControl* FControl = nullptr;
};

bool IsWithinDragThreshold(const TPoint& P0, int X, int Y);
// Holds the mouse until it leaves a small square around the cursor (1),
// a button goes up (0), or Escape or the lost capture ends it (2).
int TrackDragStart(HWND Wnd);
bool IsComponentLoading(TComponent* AComponent);
TRect GetMonitorWorkArea(const TPoint& P);
void MapWindowRect(HWND FromWnd, HWND ToWnd, TRect& R);
// A rectangle in AControl's client coordinates on the screen; unchanged
// without a control.
TRect ClientRectToScreen(TControl* AControl, const TRect& R);
UINT DoubleClickInterval();
inline WORD TranslateKey(WORD Key) {
  return Key;
}

// A cursor kept as a raw cursor file (RT_RCDATA): the hot spot from its
// directory entry, then the image (a single-image file); else a cursor
// resource of that name.
HCURSOR LoadCursorFile(HINSTANCE Instance, const char* Name);
void cxControlsInitialize();
void cxControlsFinalize();
