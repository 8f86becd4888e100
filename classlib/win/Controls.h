// Controls of the class library: windowed and graphic controls over Win32,
// their messages, focus, alignment and painting.
#pragma once

#include "Graphics.h"

#include <functional>
#include <vector>

// ---- Messages ----

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;

// Component messages. CM_BASE itself stays free: code posts it as a private
// message of its own.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 1;
constexpr UINT CM_DEACTIVATE = CM_BASE + 2;
constexpr UINT CM_GOTFOCUS = CM_BASE + 3;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 4;
constexpr UINT CM_CANCELMODE = CM_BASE + 5;
constexpr UINT CM_DIALOGKEY = CM_BASE + 6;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 7;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 9;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 10;
constexpr UINT CM_HITTEST = CM_BASE + 11;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 12;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 13;
constexpr UINT CM_COLORCHANGED = CM_BASE + 14;
constexpr UINT CM_FONTCHANGED = CM_BASE + 15;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 16;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 68;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_ISSHORTCUT = CM_BASE + 69;

// Notifications that Windows sends to a parent, reflected to the child.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// ---- Types ----

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateItem>;

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// What CM_DRAG's WParam asks of a control.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

class TDragObject;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

class TWinControl;
class TDragDockObject;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;
class TCustomForm;

// Shift state from the key flags of a mouse message (MK_…).
TShiftState MouseShiftState(WPARAM keys);
// Shift state of the keyboard now, and of a key message's data.
TShiftState KeyboardStateToShiftState();
TShiftState KeyDataToShiftState(LPARAM keyData);

struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  String WinClassName;
};

// ---- TControl ----

class TControl : public TComponent {
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);

  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  // Asked before the size changes; may adjust the new size or refuse it.
  virtual bool CanResize(int& NewWidth, int& NewHeight) {
    (void)NewWidth;
    (void)NewHeight;
    return true;
  }
  TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
  virtual TRect GetClientRect();
  int GetClientWidth() { return GetClientRect().Width(); }
  int GetClientHeight() { return GetClientRect().Height(); }
  void SetClientWidth(int value);
  void SetClientHeight(int value);
  virtual void SetClientSize(int width, int height);
  TPoint ClientToScreen(const TPoint& p);
  TPoint ScreenToClient(const TPoint& p);
  // The offset of this control's client area within the parent's.
  virtual TPoint GetClientOrigin();

  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign value);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors value);

  bool GetVisible() const { return FVisible; }
  void SetVisible(bool value);
  void Show();
  void Hide() { SetVisible(false); }
  // Visible, with every parent up to a form visible too.
  virtual bool IsShowing() const;
  bool GetEnabled() const;
  virtual void SetEnabled(bool value);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  TFont* GetFont() { return FFont.get(); }
  void SetFont(const TFont* value) { FFont->Assign(value); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  TBiDiMode GetBiDiMode() const { return FBiDiMode; }
  // A change reaches the control as CM_BIDIMODECHANGED.
  void SetBiDiMode(TBiDiMode value);
  // Text aligned from the right: bdRightToLeft.
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
  // Text read from right to left: every mode but bdLeftToRight.
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  // DT_RTLREADING when the text reads from right to left, else 0.
  UINT DrawTextBiDiModeFlagsReadingOnly() const;
  // DrawText flags for this control's mode: right-to-left alignment swaps
  // left and right (centred text stays centred), and the reading order is
  // added.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;

  String GetText() const;
  void SetText(const String& value);
  String GetCaption() const { return GetText(); }
  void SetCaption(const String& value) { SetText(value); }
  String Hint;
  bool ShowHint = false;

  TControlStyle ControlStyle;
  TControlState ControlState;
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor value);
  // The menu a right click shows; a control may answer another's.
  virtual TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* value);

  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* value);

  // Sends a message straight to the control's WindowProc.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void Invalidate();
  virtual void Repaint();
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // The procedure every message goes through; replaceable.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // Calls the message's handler of the class (the switch in WndProc).
  void Dispatch(TMessage& Message) { WndProc(Message); }

  virtual void Click();
  virtual void InitiateAction();
  // An action nothing else handled, offered to the control: true when the
  // action takes it as its target (and has run or updated for it).
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  // Drag and drop between controls.
  TDragMode GetDragMode() const { return FDragMode; }
  virtual void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TDragKind GetDragKind() const { return FDragKind; }
  virtual void SetDragKind(TDragKind Value) { FDragKind = Value; }
  TCursor DragCursor = crDrag;
  // Immediate false: the drag starts once the mouse is Threshold pixels
  // away (a negative one: Mouse's).
  void BeginDrag(bool Immediate, int Threshold = -1);
  bool Dragging() const;
  void EndDrag(bool Drop);
  // Source: the dragged control, or the drag object when it has none.
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);

  // Docking: the dock site the control is docked into (nil: none), docking
  // into another one (nil: floating on a dock form of its own).
  TWinControl* GetHostDockSite() const { return FHostDockSite; }
  bool ManualDock(TWinControl* NewDockSite);
  virtual void Dock(TWinControl* NewDockSite, const TRect& ARect);
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TMouseWheelEvent OnMouseWheel;
  TContextPopupEvent OnContextPopup;
  // The control's own handling of a context menu at MousePos (client
  // coordinates, (-1, -1) from the keyboard): OnContextPopup.
  virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);

protected:
  friend class TWinControl;
  friend class TControlActionLink;
  friend class TBaseDragControlObject;
  // The handling of a mouse message after the automatic drag's check.
  void HandleMouse(TMessage& Message);
  virtual void BeginAutoDrag();
  // A drag object given here (or by OnStartDrag) passes to the drag, which
  // frees it when the drag ends.
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, int X, int Y);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void DblClick();
  // The wheel over the control (MousePos on the screen); true: handled.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void Resize();
  virtual void Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }
  // The text of a control without a window.
  virtual String GetTextBuf() const { return FText; }
  virtual void SetTextBuf(const String& value);
  virtual void VisibleChanging() {}
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
  void RequestAlign();
  // The anchor distances are taken from the current bounds.
  void UpdateAnchorRules();
  virtual void UpdateBoundsRect(const TRect& r);
  void FontChanged();
  String ClassName() const override { return "TControl"; }

  TControlActionLink* GetActionLink() const { return FActionLink.get(); }

  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  // The text while there is no window to hold it.
  String FText;
  // Called by the destructors: out of the parent, and out of the dock site.
  void LeaveParentOnDestroy();

private:
  void CMDrag(TMessage& Message);
  void ForgetDrag();
  void CMVisibleChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void WMContextMenu(TMessage& Message);

  TWinControl* FParent = nullptr;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TPoint FAnchorOrigin;   // left and top when the anchors were taken
  SIZE FAnchorSize{0, 0}; // width and height then
  SIZE FOriginalParentSize{0, 0};
  TColor FColor = clWindow;
  bool FParentColor = true;
  bool FParentFont = true;
  bool FSettingParentFont = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  std::unique_ptr<TFont> FFont;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TControlActionLink> FActionLink;
  TDragMode FDragMode = dmManual;
  TDragKind FDragKind = dkDrag;
  TWinControl* FHostDockSite = nullptr;
};

// ---- TWinControl ----

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { GetHandle(); }
  // A window of another program or library as this control's parent.
  HWND ParentWindow = nullptr;

  int GetControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* GetControl(int index) const { return FControls[index]; }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  // The child control (windowed or not) at a client point.
  TControl* ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls = false);

  TRect GetClientRect() override;
  TPoint GetClientOrigin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool IsShowing() const override;
  void SetEnabled(bool value) override;

  void Invalidate() override;
  void Repaint() override;
  void Update() override;
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();

  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool value);
  int GetTabOrder() const;
  void SetTabOrder(int value);
  virtual bool CanFocus();
  bool Focused() const;
  virtual void SetFocus();
  // The windowed controls of this one in tab order, recursively.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  // Makes the first control in tab order (a tab stop when there is one) the
  // form's active control.
  void SelectFirst();
  // Makes a child visible to the user: the page control shows the page that
  // holds it. The base shows this control.
  virtual void ShowControl(TControl* AControl);

  // A dock site takes controls docked into it; CM_DOCKCLIENT docks one,
  // CM_UNDOCKCLIENT tells that one leaves, CM_DOCKNOTIFICATION passes on a
  // client's changes of text and visibility.
  bool GetDockSite() const { return FDockSite; }
  void SetDockSite(bool Value) { FDockSite = Value; }
  // The controls docked into this site.
  std::vector<TControl*> DockClients() const;
  virtual void DoAddDockClient(TControl* Client, const TRect& ARect);
  virtual void DoRemoveDockClient(TControl*) {}
  virtual void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
  // CanDock comes in true; a site may refuse the client.
  virtual void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock);
  // Sends the message to every child until one answers it.
  void Broadcast(TMessage& Message);

  bool GetParentBackground() const { return ControlStyle.Contains(csParentBackground); }
  TBrush* GetBrush() { return FBrush.get(); }
  bool Ctl3D = true;
  // Paints into a memory bitmap first and copies it in one block, so a
  // control that paints in layers does not flicker.
  bool DoubleBuffered = false;

  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void RecreateWnd();
  void PaintTo(HDC dc, int x, int y);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

protected:
  friend class TControl;
  friend class TCustomForm;
  friend class TApplication;
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  // Registers the window class of Params (superclassing a system class when
  // its name is given by CreateSubClass).
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  // After the window exists: font, text and children.
  virtual void CreateWndFinished() {}
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect) { (void)Rect; }
  // Painting of controls that draw themselves (TCustomControl) and of graphic
  // children.
  virtual void PaintWindow(HDC DC);
  void PaintControls(HDC DC, TControl* First);
  void PaintHandler(HDC DC);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();
  // Key messages routed by the message loop before they are dispatched.
  virtual bool IsMenuKey(TMessage& Message);
  void SetZOrder(bool TopMost);
  void UpdateBoundsRect(const TRect& r) override;
  void ColorChanged();
  // The window's rectangle in its parent's client coordinates.
  TRect GetBoundsRectOfWindow() const;
  // Places a child's window in the Z order of the control list.
  void SetZOrderOf(TWinControl* child);
  // Shows or hides the window when every parent up to a form shows.
  void UpdateControlState();
  // The control paints itself (its window class is the library's own).
  bool DrawsItself() const;
  String GetTextBuf() const override;
  void SetTextBuf(const String& value) override;
  String ClassName() const override { return "TWinControl"; }

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  int FAlignLevel = 0;
  bool FShowing = false;

private:
  static LRESULT CALLBACK InitWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void WMPaint(TMessage& Message);
  void PaintBuffered(HDC DC, const RECT& Area);
  void WMEraseBkgnd(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMCtlColor(TMessage& Message);
  void WMDrawItem(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysChar(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void UpdateShowing();
  void AlignControl(TControl* AControl);
  void ApplyAnchors(int dx, int dy);
  void ForwardFontAndColor(UINT msg);

  void CMDockClient(TMessage& Message);
  bool FDockSite = false;
  bool FTabStop = false;
  std::unique_ptr<TBrush> FBrush;
  TControl* FMouseControl = nullptr;
};

// Controls with a window that paint themselves on a canvas.
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* GetCanvas() { return FCanvas.get(); }

protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  String ClassName() const override { return "TCustomControl"; }

private:
  std::unique_ptr<TCanvas> FCanvas;
};

// Controls without a window, painted by their parent.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* GetCanvas() { return FCanvas.get(); }
  void WndProc(TMessage& Message) override;

protected:
  virtual void Paint() {}
  String ClassName() const override { return "TGraphicControl"; }

private:
  std::unique_ptr<TCanvas> FCanvas;
};

// A canvas over a control: a DC of the control's window, or of its parent's
// for a graphic control, released by FreeHandle.
class TControlCanvas : public TCanvas {
public:
  explicit TControlCanvas(TControl* control) : FControl(control) {}
  ~TControlCanvas() override { FreeHandle(); }
  void FreeHandle();
  // Runs paint with the canvas on a DC that Windows (or a parent) gives.
  void PaintOn(HDC dc, const std::function<void()>& paint);

protected:
  void CreateHandle() override;

private:
  TControl* FControl;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// ---- Drag objects ----

// What CM_DRAG's LParam points to.
struct TDragRec {
  TPoint Pos; // on the screen
  TDragObject* Source = nullptr;
  TControl* Target = nullptr;
};

// One drag between controls. While it runs a capture window of its own
// takes the mouse: moves find the target and ask it (CM_DRAG), a button up
// drops, Escape or a lost capture cancels.
class TDragObject : public TObject {
public:
  ~TDragObject() override;
  virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
  // At the end; Target is nil unless the drop was accepted.
  virtual void Finished(TObject* Target, int X, int Y, bool Accepted);
  TPoint DragPos; // the mouse on the screen
  TControl* DragTarget = nullptr;
  TPoint DragTargetPos; // the mouse in the target's client coordinates
  bool Cancelling = false;
  bool Dropped = false;
  // The window holding the mouse while this drag runs, else nil.
  HWND GetCaptureWindow() const;
  // The capture window's messages while this drag runs.
  virtual void WndProc(TMessage& Message);
};

// A drag of a control: its end reaches the control's DoEndDrag.
class TBaseDragControlObject : public TDragObject {
public:
  explicit TBaseDragControlObject(TControl* AControl) : FControl(AControl) {}
  TControl* GetControl() const { return FControl; }
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;

protected:
  virtual void EndDrag(TObject* Target, int X, int Y);

private:
  TControl* FControl;
};

// The drag object a control gets when its start supplies none; accepted,
// it shows the control's DragCursor.
class TDragControlObject : public TBaseDragControlObject {
public:
  using TBaseDragControlObject::TBaseDragControlObject;
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
};

// A drag that docks its control: dropped on a dock site (DockSite) it docks
// there, anywhere else it floats on a dock form of its own.
class TDragDockObject : public TBaseDragControlObject {
public:
  explicit TDragDockObject(TControl* AControl);
  // Where the control would land, on the screen.
  TRect DockRect;
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;

private:
  TPoint FStartPos;
};

// CM_DOCKCLIENT's LParam.
struct TCMDockClient {
  TDragDockObject* DockSource;
  TPoint MousePos;
};
// CM_UNDOCKCLIENT's LParam.
struct TCMUnDockClient {
  TWinControl* NewTarget;
  TControl* Client;
};
// CM_DOCKNOTIFICATION's LParam (WParam: the client): WM_SETTEXT with the
// text in MsgLParam, or CM_VISIBLECHANGED with the visibility in MsgWParam.
struct TDockNotifyRec {
  UINT ClientMsg;
  WPARAM MsgWParam;
  LPARAM MsgLParam;
};

// Ends the running drag without a drop.
void CancelDrag();
// The pictures of crDrag and crMultiDrag (the screen makes them once).
HCURSOR CreateDragCursor(bool Multi);

// ---- Helpers ----

// The control of a window made by the class library, or nullptr.
TWinControl* FindControl(HWND handle);
// The control under a screen point.
TControl* FindDragTarget(const TPoint& pos, bool allowDisabled);
TCustomForm* GetParentForm(TControl* Control);
// True when the caption has '&' before the character (letter case ignored).
bool IsAccel(WORD VK, const String& Str);
// The caption without its '&' marks ("&&" is a literal ampersand).
String StripHotkey(const String& Text);

// The mouse: position and capture, as the class library's Mouse object.
class TMouse {
public:
  TPoint GetCursorPos() const;
  void SetCursorPos(const TPoint& p);
  TControl* GetCapture() const;
  bool GetMousePresent() const { return true; }
  int GetWheelScrollLines() const;
  // How far the mouse may move from where a button went down before a drag
  // starts.
  int DragThreshold = 5;
  // Whether an automatic drag starts at the press or after DragThreshold.
  bool DragImmediate = true;
};
extern TMouse* Mouse;

// The control whose mouse messages arrive through its parent's capture.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
