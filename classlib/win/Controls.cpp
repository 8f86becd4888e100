#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"

#include <algorithm>

namespace {

constexpr const char* kControlProp = "VelmoraControl";
TControl* CaptureControl = nullptr;

TWinControl* ControlOfWindow(HWND wnd) {
  if (!wnd) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropA(wnd, kControlProp));
}

TPoint SmallPoint(LPARAM lParam) {
  return TPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

bool IsMouseMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL;
}

} // namespace

TMouse* Mouse = new TMouse;

TControl* GetCaptureControl() {
  HWND capture = GetCapture();
  if (CaptureControl && CaptureControl->GetParent() && CaptureControl->GetParent()->HandleAllocated() &&
      capture == CaptureControl->GetParent()->GetHandle())
    return CaptureControl;
  CaptureControl = nullptr;
  return ControlOfWindow(capture);
}

void SetCaptureControl(TControl* control) {
  ReleaseCapture();
  CaptureControl = nullptr;
  if (!control) return;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    SetCapture(w->GetHandle());
    return;
  }
  if (!control->GetParent()) return;
  CaptureControl = control;
  SetCapture(control->GetParent()->GetHandle());
}

TPoint TMouse::GetCursorPos() const {
  POINT p{0, 0};
  ::GetCursorPos(&p);
  return p;
}

void TMouse::SetCursorPos(const TPoint& p) {
  ::SetCursorPos(p.x, p.y);
}

TControl* TMouse::GetCapture() const {
  return GetCaptureControl();
}

int TMouse::GetWheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return static_cast<int>(lines);
}

TShiftState MouseShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (keyData & 0x20000000) s.Include(ssAlt);
  return s;
}

TWinControl* FindControl(HWND handle) {
  return ControlOfWindow(handle);
}

TControl* FindDragTarget(const TPoint& pos, bool allowDisabled) {
  HWND wnd = WindowFromPoint(pos);
  TWinControl* control = nullptr;
  while (wnd && !(control = FindControl(wnd)))
    wnd = GetParent(wnd);
  if (!control) return nullptr;
  if (TControl* child = control->ControlAtPos(control->ScreenToClient(pos), allowDisabled)) return child;
  return control;
}

TCustomForm* GetParentForm(TControl* Control) {
  while (Control && Control->GetParent())
    Control = Control->GetParent();
  return dynamic_cast<TCustomForm*>(Control);
}

bool IsAccel(WORD VK, const String& Str) {
  for (size_t i = 0; i + 1 < Str.size(); ++i) {
    if (Str[i] != '&') continue;
    if (Str[i + 1] == '&') {
      ++i;
      continue;
    }
    return CharUpperA(
               reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<unsigned char>(Str[i + 1])))) ==
           CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(VK & 0xFF)));
  }
  return false;
}

String StripHotkey(const String& Text) {
  String s;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '&') {
      if (i + 1 < Text.size() && Text[i + 1] == '&') {
        s += '&';
        ++i;
      }
      continue;
    }
    s += Text[i];
  }
  return s;
}

// ---- TControl ----

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  ForgetDrag();
  if (CaptureControl == this) SetCaptureControl(nullptr);
  if (Application) Application->ControlDestroyed(this);
  LeaveParentOnDestroy();
  FActionLink.reset();
}

void TControl::LeaveParentOnDestroy() {
  TWinControl* parent = FParent;
  if (!parent) return;
  parent->RemoveControl(this);
  // A docked control that goes away leaves its site as undocking would: a
  // floating dock form is not left open empty. A site destroying its own
  // children has already taken them out, so it is never called here.
  if (parent == FHostDockSite) parent->DoRemoveDockClient(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (resized) Resize();
}

void TControl::UpdateBoundsRect(const TRect& r) {
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.Width();
  FHeight = r.Height();
}

TRect TControl::GetClientRect() {
  return TRect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int value) {
  SetClientSize(value, GetClientHeight());
}
void TControl::SetClientHeight(int value) {
  SetClientSize(GetClientWidth(), value);
}

void TControl::SetClientSize(int width, int height) {
  TRect client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Width() + width, FHeight - client.Height() + height);
}

TPoint TControl::GetClientOrigin() {
  if (!FParent) return TPoint(FLeft, FTop);
  TPoint p = FParent->GetClientOrigin();
  return TPoint(p.x + FLeft, p.y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& p) {
  TPoint origin = GetClientOrigin();
  return TPoint(p.x + origin.x, p.y + origin.y);
}

TPoint TControl::ScreenToClient(const TPoint& p) {
  TPoint origin = GetClientOrigin();
  return TPoint(p.x - origin.x, p.y - origin.y);
}

void TControl::SetAlign(TAlign value) {
  if (value == FAlign) return;
  const TAlign old = FAlign;
  FAlign = value;
  FAnchors = value == alNone || value == alCustom ? TAnchors{akLeft, akTop}
             : value == alTop                     ? TAnchors{akLeft, akTop, akRight}
             : value == alBottom                  ? TAnchors{akLeft, akRight, akBottom}
             : value == alLeft                    ? TAnchors{akLeft, akTop, akBottom}
             : value == alRight                   ? TAnchors{akRight, akTop, akBottom}
                                                  : TAnchors{akLeft, akTop, akRight, akBottom};
  if (old == alNone || value != alNone) RequestAlign();
  UpdateAnchorRules();
}

void TControl::SetAnchors(TAnchors value) {
  FAnchors = value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (FParent && FParent->FAlignLevel > 0 && FParent->ControlState.Contains(csAlignmentNeeded)) return;
  FAnchorOrigin = TPoint(FLeft, FTop);
  FAnchorSize = SIZE{FWidth, FHeight};
  if (FParent) {
    TRect r = FParent->GetClientRect();
    FOriginalParentSize = SIZE{r.Width(), r.Height()};
  }
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  VisibleChanging();
  FVisible = value;
  Perform(CM_VISIBLECHANGED, value);
  RequestAlign();
}

void TControl::Show() {
  if (FParent) FParent->ShowControl(this);
  SetVisible(true);
}

bool TControl::IsShowing() const {
  return FVisible && FParent && FParent->IsShowing();
}

bool TControl::GetEnabled() const {
  return FEnabled;
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor value) {
  if (value == FColor) {
    FParentColor = false;
    return;
  }
  FColor = value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == FParentColor) return;
  FParentColor = value;
  if (FParent && value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (value == FParentFont) return;
  FParentFont = value;
  if (FParent && value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode value) {
  if (value == FBiDiMode) return;
  FBiDiMode = value;
  Perform(CM_BIDIMODECHANGED);
}

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const {
  return UseRightToLeftReading() ? DT_RTLREADING : 0;
}

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  UINT result = Flags;
  if (UseRightToLeftAlignment()) {
    if ((result & DT_RIGHT) == DT_RIGHT)
      result &= ~static_cast<UINT>(DT_RIGHT);
    else if ((result & DT_CENTER) != DT_CENTER)
      result |= DT_RIGHT;
  }
  return result | DrawTextBiDiModeFlagsReadingOnly();
}

void TControl::FontChanged() {
  if (!FSettingParentFont) FParentFont = false;
  Perform(CM_FONTCHANGED);
}

String TControl::GetText() const {
  return GetTextBuf();
}

void TControl::SetText(const String& value) {
  if (value == GetTextBuf()) return;
  SetTextBuf(value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetTextBuf(const String& value) {
  FText = value;
}

void TControl::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  FPopupMenu = value;
  if (value) value->FreeNotification(this);
}

TBasicAction* TControl::GetAction() const {
  return FActionLink ? FActionLink->GetAction() : nullptr;
}

void TControl::SetAction(TBasicAction* value) {
  if (!value) {
    FActionLink.reset();
    ControlStyle.Exclude(csActionClient);
    return;
  }
  ControlStyle.Include(csActionClient);
  if (!FActionLink) FActionLink = std::make_unique<TControlActionLink>(this);
  FActionLink->SetAction(value);
  ActionChange(value, false);
  value->FreeNotification(this);
}

void TControl::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  (void)CheckDefaults;
  SetCaption(action->GetCaption());
  SetEnabled(action->GetEnabled());
  Hint = action->GetHint();
  SetVisible(action->GetVisible());
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

bool TControl::ExecuteAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TControl::UpdateAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->UpdateTarget(this);
  return true;
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (FActionLink && AComponent == FActionLink->GetAction()) SetAction(nullptr);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WindowProc(m);
  if (FHostDockSite && (Msg == CM_TEXTCHANGED || Msg == CM_VISIBLECHANGED)) {
    // The dock site follows its client's caption and visibility.
    const String text = GetText();
    TDockNotifyRec rec{Msg == CM_TEXTCHANGED ? static_cast<UINT>(WM_SETTEXT) : Msg, WParam,
                       reinterpret_cast<LPARAM>(text.c_str())};
    FHostDockSite->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(this),
                           reinterpret_cast<LPARAM>(&rec));
  }
  return m.Result;
}

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  RECT r = GetBoundsRect();
  InvalidateRect(FParent->GetHandle(), &r, !ControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  if (ControlStyle.Contains(csOpaque)) {
    HDC dc = GetDC(FParent->GetHandle());
    int saved = SaveDC(dc);
    IntersectClipRect(dc, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    FParent->PaintControls(dc, this);
    RestoreDC(dc, saved);
    ReleaseDC(FParent->GetHandle(), dc);
    return;
  }
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->SetZOrder(true);
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->SetZOrder(false);
  Invalidate();
}

bool TControl::MouseCapture() const {
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  SetCaptureControl(value ? this : nullptr);
}

void TControl::Click() {
  if (OnClick)
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::HandleMouse(TMessage& Message) {
  const TPoint p = SmallPoint(Message.LParam);
  TShiftState shift = MouseShiftState(Message.WParam);
  TMouseButton button = mbLeft;
  switch (Message.Msg) {
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
    button = mbRight;
    break;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    button = mbMiddle;
    break;
  }
  switch (Message.Msg) {
  case WM_MOUSEMOVE:
    DefaultHandler(Message);
    MouseMove(shift, p.x, p.y);
    return;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDBLCLK: {
    const bool dbl =
        Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK || Message.Msg == WM_MBUTTONDBLCLK;
    DefaultHandler(Message);
    if (ControlStyle.Contains(csCaptureMouse) && button == mbLeft) SetMouseCapture(true);
    if (ControlStyle.Contains(csClickEvents) && button == mbLeft) ControlState.Include(csClicked);
    if (dbl) {
      if (ControlStyle.Contains(csDoubleClicks) && button == mbLeft) DblClick();
      shift.Include(ssDouble);
    }
    MouseDown(button, shift, p.x, p.y);
    return;
  }
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP: {
    DefaultHandler(Message);
    if (button == mbLeft && ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (button == mbLeft && ControlState.Contains(csClicked)) {
      ControlState.Exclude(csClicked);
      if (GetClientRect().Contains(p)) Click();
    }
    MouseUp(button, shift, p.x, p.y);
    return;
  }
  }
  DefaultHandler(Message);
}

void TControl::CMVisibleChanged(TMessage&) {
  if (!FParent || !FParent->HandleAllocated()) return;
  RECT r = GetBoundsRect();
  InvalidateRect(FParent->GetHandle(), &r, TRUE);
}

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor || !FParent) return;
  TColor color = Message.WParam ? static_cast<TColor>(Message.LParam) : FParent->GetColor();
  SetColor(color);
  FParentColor = true;
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  FSettingParentFont = true;
  try {
    FFont->Assign(FParent->GetFont());
  } catch (...) {
    FSettingParentFont = false;
    throw;
  }
  FSettingParentFont = false;
}

void TControl::CMMouseEnter(TMessage& Message) {
  if (FParent)
    FParent->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this));
  if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (FParent)
    FParent->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this));
  if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
}

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result) return;
  TPoint pos = SmallPoint(Message.LParam);
  TPopupMenu* menu = GetPopupMenu();
  if (!menu || !menu->GetAutoPopup()) {
    DefaultHandler(Message);
    return;
  }
  if (pos.x == -1 && pos.y == -1) pos = ClientToScreen(TPoint(0, 0));
  menu->SetPopupComponent(this);
  menu->Popup(pos.x, pos.y);
  Message.Result = 1;
}

void TControl::WndProc(TMessage& Message) {
  if (IsMouseMessage(Message.Msg)) {
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && FDragMode == dmAutomatic)
      return BeginAutoDrag();
    return HandleMouse(Message);
  }
  switch (Message.Msg) {
  case CM_DRAG:
    return CMDrag(Message);
  case CM_VISIBLECHANGED:
    return CMVisibleChanged(Message);
  case CM_PARENTCOLORCHANGED:
    return CMParentColorChanged(Message);
  case CM_PARENTFONTCHANGED:
    return CMParentFontChanged(Message);
  case CM_MOUSEENTER:
    return CMMouseEnter(Message);
  case CM_MOUSELEAVE:
    return CMMouseLeave(Message);
  case CM_HITTEST:
    Message.Result = HTCLIENT;
    return;
  case CM_ENABLEDCHANGED:
  case CM_FONTCHANGED:
  case CM_COLORCHANGED:
  case CM_TEXTCHANGED:
    Invalidate();
    return;
  case WM_CONTEXTMENU:
    return WMContextMenu(Message);
  }
  DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
  case WM_GETTEXTLENGTH:
    Message.Result = static_cast<LRESULT>(FText.size());
    return;
  case WM_GETTEXT: {
    if (Message.WParam == 0) return;
    size_t n = std::min<size_t>(FText.size(), Message.WParam - 1);
    std::copy_n(FText.data(), n, reinterpret_cast<char*>(Message.LParam));
    reinterpret_cast<char*>(Message.LParam)[n] = 0;
    Message.Result = static_cast<LRESULT>(n);
    return;
  }
  case WM_SETTEXT:
    FText = reinterpret_cast<const char*>(Message.LParam);
    Perform(CM_TEXTCHANGED);
    Message.Result = 1;
    return;
  }
}

// ---- TGraphicControl and TControlCanvas ----

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_PAINT && Message.WParam) {
    static_cast<TControlCanvas*>(FCanvas.get())->PaintOn(reinterpret_cast<HDC>(Message.WParam), [this] {
      Paint();
    });
    return;
  }
  TControl::WndProc(Message);
}

void TControlCanvas::CreateHandle() {
  TWinControl* window = dynamic_cast<TWinControl*>(FControl);
  TPoint offset(0, 0);
  if (!window) {
    window = FControl->GetParent();
    offset = TPoint(FControl->GetLeft(), FControl->GetTop());
  }
  if (!window) return;
  FWindowHandle = window->GetHandle();
  FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  SetViewportOrgEx(FDeviceContext, offset.x, offset.y, nullptr);
  IntersectClipRect(FDeviceContext, 0, 0, FControl->GetWidth(), FControl->GetHeight());
  SetHandle(FDeviceContext);
}

void TControlCanvas::PaintOn(HDC dc, const std::function<void()>& paint) {
  FreeHandle();
  SetHandle(dc);
  try {
    paint();
  } catch (...) {
    SetHandle(nullptr);
    throw;
  }
  SetHandle(nullptr);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
  FCanvas.reset();
}

void TCustomControl::PaintWindow(HDC DC) {
  static_cast<TControlCanvas*>(FCanvas.get())->PaintOn(DC, [this] { Paint(); });
}
