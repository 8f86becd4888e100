#include "cxControls.h"

#include <algorithm>

namespace {

TPoint MessagePoint(TControl* AControl, const TMessage& Message) {
  if (AControl->GetWidth() > 0x8000 || AControl->GetHeight() > 0x8000)
    return AControl->ScreenToClient(Mouse->GetCursorPos());
  return TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
}

bool IsBarAdmitted(TScrollStyle Style, TScrollBarKind Kind) {
  return Style == ssBoth || Style == (Kind == sbHorizontal ? ssHorizontal : ssVertical);
}

} // namespace

// ---- TcxControlGuard ----

TcxControlGuard::TcxControlGuard(TcxControl* AControl) : FControl(AControl) {
  FControl->FGuards.push_back(&FControl);
}

TcxControlGuard::~TcxControlGuard() {
  if (!FControl) return;
  auto& guards = FControl->FGuards;
  guards.erase(std::remove(guards.begin(), guards.end(), &FControl), guards.end());
}

// ---- TcxControlScrollBar ----

TcxControlScrollBar::TcxControlScrollBar(TcxControl* AOwner) : TcxScrollBar(nullptr) {
  SetColor(clBtnFace);
  ControlStyle.Exclude(csFramed);
  ControlStyle.Include(csNoDesignVisible);
  SetTabStop(false);
  SetVisible(false);
  GetLookAndFeel()->SetMaster(AOwner->GetLookAndFeel());
}

void TcxControlScrollBar::ApplyData() {
  if (Data.Visible) {
    SetScrollParams(Data.Min, Data.Max, Data.Position, Data.PageSize, true);
    SmallChange = Data.SmallChange;
    LargeChange = Data.LargeChange;
  }
  SetEnabled(Data.Enabled);
  SetVisible(Data.Visible);
}

void TcxControlScrollBar::FocusParentControl() {
  TWinControl* parent = GetParent();
  if (!parent) return;
  if (auto* control = dynamic_cast<TcxControl*>(parent)) {
    if (control->FocusOnChildClick(this)) control->SetFocus();
    return;
  }
  if (parent->CanFocus()) parent->SetFocus();
}

void TcxControlScrollBar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDOWN) FocusParentControl();
  TcxScrollBar::WndProc(Message);
}

// ---- TcxSizeGrip ----

TcxSizeGrip::TcxSizeGrip(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  ControlStyle.Include(csNoDesignVisible);
}

void TcxSizeGrip::Paint() {
  GetCanvas()->GetBrush()->SetColor(GetColor());
  GetCanvas()->FillRect(GetClientRect());
}

// ---- TcxControl ----

TcxControl::TcxControl(TComponent* AOwner) : TCustomControl(AOwner) {
  FCanvas = std::make_unique<TcxCanvas>(TCustomControl::GetCanvas());
  FDefaultCursor = TControl::GetCursor();
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) {
    LookAndFeelChanged(Sender, Values);
  };
  SetTabStop(true);
}

TcxControl::~TcxControl() {
  SetDestroying();
  if (FHScrollBar) {
    GetSettingsController()->RemoveControl(this);
    FSizeGrip.reset();
    FVScrollBar.reset();
    FHScrollBar.reset();
  }
  FCanvas.reset();
  FLookAndFeel.reset();
  for (auto it = FGuards.rbegin(); it != FGuards.rend(); ++it)
    **it = nullptr;
  FGuards.clear();
}

// Bars exist only for controls that want them, which a constructor cannot
// ask a descendant: they are made at the first layout or window.
void TcxControl::CreateScrollBars() {
  if (FHScrollBar || !HasScrollBars()) return;
  FHScrollBar = std::make_unique<TcxControlScrollBar>(this);
  FHScrollBar->SetKind(sbHorizontal);
  FVScrollBar = std::make_unique<TcxControlScrollBar>(this);
  FVScrollBar->SetKind(sbVertical);
  FVScrollBar->SetWidth(GetSystemMetrics(SM_CXVSCROLL));
  for (TcxControlScrollBar* bar : {FHScrollBar.get(), FVScrollBar.get()})
    bar->OnScroll = [this, bar](TObject*, TScrollCode Code, int& Pos) { ScrollBarScroll(bar, Code, Pos); };
  FSizeGrip = std::make_unique<TcxSizeGrip>(nullptr);
  FSizeGrip->SetVisible(false);
  GetSettingsController()->AddControl(this);
}

void TcxControl::ScrollBarScroll(TcxControlScrollBar* Bar, TScrollCode ScrollCode, int& ScrollPos) {
  Scroll(Bar->GetKind(), ScrollCode, ScrollPos);
}

void TcxControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxControl::CreateWnd() {
  TCustomControl::CreateWnd();
  InitScrollBars();
}

void TcxControl::InitScrollBars() {
  CreateScrollBars();
  if (!FHScrollBar) return;
  FHScrollBar->SetParent(this);
  FVScrollBar->SetParent(this);
  FSizeGrip->SetParent(this);
}

void TcxControl::Resize() {
  TCustomControl::Resize();
  BoundsChanged();
}

void TcxControl::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  BoundsChanged();
}

void TcxControl::SetCaptureOwner(TObject* AObject) {
  if (FCaptureOwner == AObject) return;
  if (auto* notify = dynamic_cast<IcxCaptureOwnerNotify*>(FCaptureOwner)) notify->CaptureReleased();
  FCaptureOwner = AObject;
  SetMouseCapture(AObject != nullptr);
}

void TcxControl::InvalidateRect(const TRect& R, bool AErase) {
  if (HandleAllocated()) ::InvalidateRect(GetHandle(), &R, AErase);
}

// ---- Messages ----

void TcxControl::WndProc(TMessage& Message) {
  TcxControlGuard guard(this);
  const TPoint p = MessagePoint(this, Message);
  switch (Message.Msg) {
  case WM_CANCELMODE:
    TCustomControl::WndProc(Message);
    if (guard.Alive()) FinishDragAndDrop(false);
    if (guard.Alive()) CancelMouseCapture();
    break;
  case WM_ERASEBKGND:
    if (HasBackground())
      TCustomControl::WndProc(Message);
    else
      Message.Result = 1;
    break;
  case WM_GETDLGCODE: {
    static const LRESULT codes[] = {DLGC_WANTALLKEYS, DLGC_WANTARROWS, DLGC_WANTCHARS, DLGC_WANTTAB};
    Message.Result = 0;
    for (TcxWantedKey key : {wkAll, wkArrows, wkChars, wkTab})
      if (FWantedKeys.Contains(key)) Message.Result += codes[key];
    break;
  }
  case WM_NCCALCSIZE:
    TCustomControl::WndProc(Message);
    if (guard.Alive()) PostMessageA(GetHandle(), CXM_SCROLLBARMETRICS, 0, 0);
    break;
  case CM_COLORCHANGED:
    HandleColorChange();
    TCustomControl::WndProc(Message);
    break;
  case CM_CURSORCHANGED:
    CursorChanged();
    TCustomControl::WndProc(Message);
    break;
  case CM_FONTCHANGED:
    TCustomControl::WndProc(Message);
    if (guard.Alive()) FontChanged();
    break;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE: {
    // The parent hears of it as the class library tells it; the events fire
    // here, once, for this control and its children alike.
    TControl* control = Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this;
    if (GetParent()) GetParent()->Perform(Message.Msg, 0, reinterpret_cast<LPARAM>(control));
    if (!guard.Alive()) return;
    if (Message.Msg == CM_MOUSEENTER)
      MouseEnter(control);
    else
      MouseLeave(control);
    break;
  }
  case CM_VISIBLECHANGED:
    TCustomControl::WndProc(Message);
    if (guard.Alive()) VisibleChanged();
    break;
  case CXM_SCROLLBARMETRICS:
    ScrollBarMetricsChanged();
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    LeftButtonDownWithoutAutomaticDrag(Message, p);
    break;
  default:
    TCustomControl::WndProc(Message);
  }
  if (!guard.Alive()) return;
  switch (Message.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    FocusChanged();
    break;
  case WM_LBUTTONDOWN:
    AfterMouseDown(mbLeft, p.x, p.y);
    break;
  case WM_RBUTTONDOWN:
    AfterMouseDown(mbRight, p.x, p.y);
    break;
  case WM_MBUTTONDOWN:
    AfterMouseDown(mbMiddle, p.x, p.y);
    break;
  }
}

void TcxControl::ScrollBarMetricsChanged() {
  if (!HasScrollBars() || !FHScrollBar) return;
  const int height = GetSystemMetrics(SM_CYHSCROLL);
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  if (FHScrollBar->GetHeight() == height && FVScrollBar->GetWidth() == width) return;
  FHScrollBar->SetHeight(height);
  FVScrollBar->SetWidth(width);
  BoundsChanged();
}

// The class library would start its automatic drag at the press; the drag
// starts in AfterMouseDown instead, once the mouse really moved.
void TcxControl::LeftButtonDownWithoutAutomaticDrag(TMessage& Message, const TPoint& P) {
  if (GetDragMode() != dmAutomatic || Dragging() || ControlAtPos(P, false))
    return TCustomControl::WndProc(Message);
  TcxControlGuard guard(this);
  ControlState.Include(csLButtonDown);
  HandleMouse(Message);
  if (guard.Alive()) ControlState.Exclude(csLButtonDown);
}

void TcxControl::AfterMouseDown(TMouseButton Button, int X, int Y) {
  TcxControlGuard guard(this);
  if (GetDragMode() == dmAutomatic && CanDrag(X, Y) && TrackDragStart(GetHandle()) == 1 && guard.Alive())
    BeginDrag(false, -1);
  if (guard.Alive() && Button == mbMiddle) RunPanningLoop();
}

void TcxControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FMouseDownPos = TPoint(X, Y);
  TcxControlGuard guard(this);
  if (CanFocusOnClick() && !Shift.Contains(ssDouble)) {
    SetFocus();
    if (!guard.Alive()) return;
    // Focus refused: the click is swallowed.
    if (!IsFocused() && !AllowUnfocusedMouseDown()) return SetMouseCapture(false);
  }
  StartDragAndDropOnMouseDown(Button, Shift, X, Y);
  if (!guard.Alive()) return;
  BeforeMouseDown(Button, Shift, X, Y);
  if (!guard.Alive()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TcxControl::MouseMove(TShiftState Shift, int X, int Y) {
  // The temporary cursor leaves the one the user set untouched.
  const TCursor saved = FDefaultCursor;
  TControl::SetCursor(GetCursor(X, Y));
  FDefaultCursor = saved;
  TcxControlGuard guard(this);
  TCustomControl::MouseMove(Shift, X, Y);
  if (guard.Alive()) DragAndDropOnMouseMove(X, Y);
}

bool TcxControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const TcxMouseWheelScrollingKind kind = GetMouseWheelScrollingKind();
  if (kind == mwskNone) return false;
  const TcxScrollDirection direction =
      kind == mwskVertical ? (WheelDelta < 0 ? sdDown : sdUp) : (WheelDelta < 0 ? sdRight : sdLeft);
  for (int i = 0; i < Mouse->GetWheelScrollLines(); ++i)
    ScrollContent(direction);
  return true;
}

void TcxControl::ScrollContent(TcxScrollDirection ADirection) {
  if (ADirection == sdNone || !HasScrollBars() || !FHScrollBar) return;
  const bool vertical = ADirection == sdUp || ADirection == sdDown;
  int position = (vertical ? FVScrollBar : FHScrollBar)->GetPosition();
  const TScrollCode code = ADirection == sdLeft || ADirection == sdUp ? scLineUp : scLineDown;
  Scroll(vertical ? sbVertical : sbHorizontal, code, position);
}

// ---- Overridables ----

bool TcxControl::CanFocusOnClick() {
  return !IsDesigning() && MayFocus() && CanFocus();
}

bool TcxControl::FocusOnChildClick(TControl*) {
  return CanFocusOnClick();
}

TRect TcxControl::GetBounds() {
  if (HandleAllocated()) return GetClientRect();
  return TRect(0, 0, FWidth, FHeight);
}

TRect TcxControl::GetClientBounds() {
  TRect r = GetBounds();
  const int border = GetBorderSize();
  r = TRect(r.left + border, r.top + border, r.right - border, r.bottom - border);
  if (IsHScrollBarVisible()) r.bottom -= FHScrollBar->GetHeight();
  if (IsVScrollBarVisible()) r.right -= FVScrollBar->GetWidth();
  return r;
}

TCursor TcxControl::GetCursor(int, int) {
  return FDefaultCursor;
}

TcxMouseWheelScrollingKind TcxControl::GetMouseWheelScrollingKind() {
  return IsVScrollBarVisible() ? mwskVertical : mwskNone;
}

bool TcxControl::IsInternalControl(TControl* AControl) {
  return AControl &&
         (AControl == FHScrollBar.get() || AControl == FVScrollBar.get() || AControl == FSizeGrip.get());
}

TRect TcxControl::GetHScrollBarBounds() {
  TRect r = GetClientBounds();
  r.top = r.bottom;
  r.bottom = r.top + FHScrollBar->GetHeight();
  return r;
}

TRect TcxControl::GetVScrollBarBounds() {
  TRect r = GetClientBounds();
  r.left = r.right;
  r.right = r.left + FVScrollBar->GetWidth();
  return r;
}

TRect TcxControl::GetSizeGripBounds() {
  const int left = FVScrollBar->GetLeft();
  const int top = FHScrollBar->GetTop();
  return TRect(left, top, left + FVScrollBar->GetWidth(), top + FHScrollBar->GetHeight());
}

void TcxControl::PlaceScrollBars() {
  if (FHScrollBar->IsVisible()) FHScrollBar->SetBoundsRect(GetHScrollBarBounds());
  if (FVScrollBar->IsVisible()) FVScrollBar->SetBoundsRect(GetVScrollBarBounds());
  if (FSizeGrip->GetVisible()) FSizeGrip->SetBoundsRect(GetSizeGripBounds());
}

bool TcxControl::CanFocusNow() {
  if (!CanFocus()) return false;
  TCustomForm* form = GetParentForm(this);
  return !form || (form->CanFocus() && form->GetEnabled() && form->GetVisible());
}

void TcxControl::AddChildComponent(TcxControlChildComponent* AComponent) {
  AComponent->SetControl(this);
}

void TcxControl::RemoveChildComponent(TcxControlChildComponent* AComponent) {
  AComponent->SetControl(nullptr);
}

void TcxControl::FocusChanged() {
  if (OnFocusChanged) OnFocusChanged(this);
}

void TcxControl::MouseEnter(TControl*) {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TcxControl::MouseLeave(TControl*) {
  if (OnMouseLeave) OnMouseLeave(this);
}

// ---- Scroll-bar layout ----

bool TcxControl::IsHScrollBarVisible() const {
  if (!FHScrollBar) return false;
  return FCalculatingScrollBars ? FHScrollBar->Data.Visible : FHScrollBar->IsVisible();
}

bool TcxControl::IsVScrollBarVisible() const {
  if (!FVScrollBar) return false;
  return FCalculatingScrollBars ? FVScrollBar->Data.Visible : FVScrollBar->IsVisible();
}

TcxScrollBarData& TcxControl::DataOf(TScrollBarKind Kind) {
  return (Kind == sbHorizontal ? FHScrollBar : FVScrollBar)->Data;
}

void TcxControl::SetScrollBarData(TScrollBarKind Kind, int Min, int Max, int Step, int Page, int Position,
                                  bool ShowAllowed, bool HideAllowed) {
  CreateScrollBars();
  if (!FHScrollBar) return;
  TcxScrollBarData& data = DataOf(Kind);
  data.ShowAllowed = ShowAllowed && IsBarAdmitted(FScrollBars, Kind);
  data.HideAllowed = HideAllowed;
  if (data.ShowAllowed && Max >= Min && Page < Max - Min + 1 && Position >= Min) {
    data.PageSize = Page;
    data.Min = Min;
    data.Max = Max;
    data.SmallChange = Step;
    data.LargeChange = Page;
    data.Position = Position;
    data.Enabled = true;
    data.Visible = true;
    return;
  }
  data.Enabled = false;
  data.Visible = data.ShowAllowed && !data.HideAllowed;
}

void TcxControl::CalculateScrollBars() {
  if (FCalculatingScrollBars) return;
  FCalculatingScrollBars = true;
  FHScrollBar->Data.Visible = false;
  FVScrollBar->Data.Visible = false;
  bool hVisible = false;
  bool vVisible = false;
  do {
    hVisible = IsHScrollBarVisible();
    vVisible = IsVScrollBarVisible();
    InitScrollBarsParameters();
  } while (hVisible != IsHScrollBarVisible() || vVisible != IsVScrollBarVisible());
  HideBarsOfEachOther();
  FCalculatingScrollBars = false;
}

// Two bars that are only needed because of each other go together.
void TcxControl::HideBarsOfEachOther() {
  const TcxScrollBarData h = FHScrollBar->Data;
  const TcxScrollBarData v = FVScrollBar->Data;
  auto hideable = [](const TcxScrollBarData& d) { return d.Visible && d.Enabled && d.HideAllowed; };
  if (!hideable(h) || !hideable(v)) return;
  if (!IsPixelScrollBar(sbHorizontal) || !IsPixelScrollBar(sbVertical)) return;
  const int vWidth = FVScrollBar->GetWidth();
  const int hHeight = FHScrollBar->GetHeight();
  if (vWidth + h.PageSize < h.Max - h.Min + 1 || hHeight + v.PageSize < v.Max - v.Min + 1) return;
  SetScrollBarData(sbHorizontal, h.Min, h.Max, h.SmallChange, h.PageSize + vWidth, h.Position, h.ShowAllowed,
                   h.HideAllowed);
  SetScrollBarData(sbVertical, v.Min, v.Max, v.SmallChange, v.PageSize + hHeight, v.Position, v.ShowAllowed,
                   v.HideAllowed);
}

void TcxControl::ApplyScrollBars(bool Stabilized) {
  if (!Stabilized) {
    FHScrollBar->ApplyData();
    FVScrollBar->ApplyData();
    return;
  }
  // The bars swing between shown and hidden: the disputed one stays, disabled.
  const bool starts[] = {FHScrollBarStartVisible, FVScrollBarStartVisible};
  TcxControlScrollBar* bars[] = {FHScrollBar.get(), FVScrollBar.get()};
  for (int i = 0; i < 2; ++i) {
    if (bars[i]->IsVisible() == starts[i]) continue;
    bars[i]->SetEnabled(false);
    bars[i]->SetVisible(true);
  }
}

void TcxControl::UpdateScrollBars() {
  if (!HasScrollBars()) return;
  CreateScrollBars();
  const bool nested = FUpdatingScrollBars;
  if (!nested) {
    FHScrollBarStartVisible = FHScrollBar->IsVisible();
    FVScrollBarStartVisible = FVScrollBar->IsVisible();
  }
  FUpdatingScrollBars = true;
  const bool hVisible = FHScrollBar->IsVisible();
  const bool vVisible = FVScrollBar->IsVisible();
  if (!FScrollBarsStabilized) {
    CalculateScrollBars();
    FScrollBarsStabilized = nested && FHScrollBar->Data.Visible == FHScrollBarStartVisible &&
                            FVScrollBar->Data.Visible == FVScrollBarStartVisible;
    ApplyScrollBars(FScrollBarsStabilized);
  }
  if (hVisible != FHScrollBar->IsVisible() || vVisible != FVScrollBar->IsVisible()) {
    BoundsChanged();
  } else {
    FSizeGrip->SetVisible(FHScrollBar->IsVisible() && FVScrollBar->IsVisible());
    PlaceScrollBars();
    FHScrollBar->BringToFront();
    FVScrollBar->BringToFront();
    FSizeGrip->BringToFront();
  }
  if (!nested) FScrollBarsStabilized = false;
  FUpdatingScrollBars = nested;
}

// ---- Settings controller ----

namespace {

std::unique_ptr<TcxSettingsController> SettingsController;

} // namespace

TcxSettingsController* GetSettingsController() {
  if (!SettingsController) SettingsController = std::make_unique<TcxSettingsController>();
  return SettingsController.get();
}

TcxSettingsController::~TcxSettingsController() {
  if (FWindow) DeallocateHWnd(FWindow);
}

void TcxSettingsController::AddControl(TcxControl* AControl) {
  if (std::find(FControls.begin(), FControls.end(), AControl) != FControls.end()) return;
  if (FControls.empty()) FWindow = AllocateHWnd([this](TMessage& Message) { MainWndProc(Message); });
  FControls.push_back(AControl);
}

void TcxSettingsController::RemoveControl(TcxControl* AControl) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  if (!FControls.empty() || !FWindow) return;
  DeallocateHWnd(FWindow);
  FWindow = nullptr;
}

void TcxSettingsController::MainWndProc(TMessage& Message) {
  if (Message.Msg != WM_SETTINGCHANGE || Message.WParam != SPI_SETNONCLIENTMETRICS) {
    Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  for (TcxControl* control : FControls)
    if (control->HandleAllocated()) SendNotifyMessageA(control->GetHandle(), CXM_SCROLLBARMETRICS, 0, 0);
  Message.Result = 0;
}

// ---- Mouse tracking ----

namespace {

class TMouseTrackingTimer : public TTimer {
public:
  TMouseTrackingTimer(TWinControl* AControl, const TRect& R, IcxMouseTrackingCaller* ACaller)
      : TTimer(nullptr), Caller(ACaller), Control(AControl), Bounds(R) {
    SetInterval(10);
    SetOnTimer([this](TObject*) { Tick(); });
  }
  IcxMouseTrackingCaller* Caller;
  TWinControl* Control;
  TRect Bounds;

private:
  // The caller's MouseLeave frees this timer: the tick works from copies.
  void Tick() {
    if (Bounds.Contains(Mouse->GetCursorPos())) return;
    IcxMouseTrackingCaller* caller = Caller;
    TWinControl* control = Control;
    if (control && control->HandleAllocated())
      control->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(control));
    caller->MouseLeave();
    EndMouseTracking(caller);
  }
};

std::vector<std::unique_ptr<TMouseTrackingTimer>> MouseTrackingTimers;

auto FindTimer(IcxMouseTrackingCaller* ACaller) {
  return std::find_if(MouseTrackingTimers.begin(), MouseTrackingTimers.end(),
                      [ACaller](const auto& timer) { return timer->Caller == ACaller; });
}

} // namespace

void BeginMouseTracking(TWinControl* AControl, const TRect& R, IcxMouseTrackingCaller* ACaller) {
  if (IsMouseTracking(ACaller)) return;
  TRect r = R;
  if (AControl) MapWindowRect(AControl->GetHandle(), nullptr, r);
  MouseTrackingTimers.push_back(std::make_unique<TMouseTrackingTimer>(AControl, r, ACaller));
}

void EndMouseTracking(IcxMouseTrackingCaller* ACaller) {
  auto it = FindTimer(ACaller);
  if (it == MouseTrackingTimers.end()) return;
  // Out of the list first: the timer's destruction may pump no messages,
  // but the list must never hold a dying timer.
  std::unique_ptr<TMouseTrackingTimer> timer = std::move(*it);
  MouseTrackingTimers.erase(it);
}

bool IsMouseTracking(IcxMouseTrackingCaller* ACaller) {
  return FindTimer(ACaller) != MouseTrackingTimers.end();
}

int MouseTrackingCount() {
  return static_cast<int>(MouseTrackingTimers.size());
}

// ---- Child components ----

TcxControlChildComponent::~TcxControlChildComponent() {
  if (FControl) FControl->RemoveChildComponent(this);
}

void TcxControlChildComponent::SetParentComponent(TComponent* AParent) {
  if (auto* control = dynamic_cast<TcxControl*>(AParent)) control->AddChildComponent(this);
}

// ---- Utilities ----

namespace {

HMODULE User32 = nullptr;

} // namespace

bool IsWithinDragThreshold(const TPoint& P0, int X, int Y) {
  return std::abs(X - P0.x) < Mouse->DragThreshold && std::abs(Y - P0.y) < Mouse->DragThreshold;
}

bool IsComponentLoading(TComponent* AComponent) {
  return AComponent->IsLoading();
}

TRect GetMonitorWorkArea(const TPoint& P) {
  using TGetMonitorInfo = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
  using TMonitorFromPoint = HMONITOR(WINAPI*)(POINT, DWORD);
  auto getInfo = User32 ? reinterpret_cast<TGetMonitorInfo>(
                              reinterpret_cast<void*>(GetProcAddress(User32, "GetMonitorInfoA")))
                        : nullptr;
  auto fromPoint = User32 ? reinterpret_cast<TMonitorFromPoint>(
                                reinterpret_cast<void*>(GetProcAddress(User32, "MonitorFromPoint")))
                          : nullptr;
  if (getInfo && fromPoint) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (getInfo(fromPoint(P, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  }
  RECT r{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

void MapWindowRect(HWND FromWnd, HWND ToWnd, TRect& R) {
  MapWindowPoints(FromWnd, ToWnd, reinterpret_cast<POINT*>(&R), 2);
}

TRect ClientRectToScreen(TControl* AControl, const TRect& R) {
  if (!AControl) return R;
  const TPoint topLeft = AControl->ClientToScreen(TPoint(R.left, R.top));
  const TPoint bottomRight = AControl->ClientToScreen(TPoint(R.right, R.bottom));
  return TRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
}

UINT DoubleClickInterval() {
  return GetDoubleClickTime();
}

// ---- Start and end ----

namespace {

const struct {
  TCursor Id;
  const char* Name;
} kCursors[] = {
    {crDragCopy, "CX_DRAGCOPYCURSOR"},     {crFullScroll, "CX_FULLSCROLLCURSOR"},
    {crHorScroll, "CX_HORSCROLLCURSOR"},   {crVerScroll, "CX_VERSCROLLCURSOR"},
    {crUpScroll, "CX_UPSCROLLCURSOR"},     {crRightScroll, "CX_RIGHTSCROLLCURSOR"},
    {crDownScroll, "CX_DOWNSCROLLCURSOR"}, {crLeftScroll, "CX_LEFTSCROLLCURSOR"},
    {crcxRemove, "CX_REMOVECURSOR"},       {crcxVertSize, "CX_VERTSIZECURSOR"},
    {crcxHorzSize, "CX_HORZSIZECURSOR"},   {crcxMultiDrag, "CX_MULTIDRAGCURSOR"},
    {crcxNoDrop, "CX_NODROPCURSOR"},       {crcxDrag, "CX_DRAGCURSOR"},
};

} // namespace

HCURSOR LoadCursorFile(HINSTANCE Instance, const char* Name) {
  HRSRC info = FindResourceA(Instance, Name, reinterpret_cast<LPCSTR>(RT_RCDATA));
  if (!info) return LoadCursorA(Instance, Name);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(Instance, info)));
  const DWORD size = SizeofResource(Instance, info);
  constexpr DWORD kImageOffset = 22;
  if (!data || size <= kImageOffset) return nullptr;
  std::vector<BYTE> image(4 + size - kImageOffset);
  std::copy(data + 10, data + 14, image.begin()); // hot spot x and y
  std::copy(data + kImageOffset, data + size, image.begin() + 4);
  return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), FALSE, 0x00030000, 0, 0, 0);
}

void cxControlsInitialize() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const auto& cursor : kCursors)
    Screen->SetCursors(cursor.Id, LoadCursorFile(instance, cursor.Name));
  User32 = LoadLibraryA("user32.dll");
}

void cxControlsFinalize() {
  // A caller that never ended its tracking must not keep a timer past the
  // library's end.
  MouseTrackingTimers.clear();
  if (User32) FreeLibrary(User32);
  User32 = nullptr;
  SettingsController.reset();
}
