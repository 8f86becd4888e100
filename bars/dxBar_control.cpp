// The bar window base: its item controls, the active chain, the selection
// and the mouse and keys that drive them.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarEdits.h"
#include "dxBarShadow.h"

#include "Forms.h"
#include "ImgList.h"

#include <algorithm>

namespace {

TCustomdxBarControl* gActiveBarControl = nullptr;
bool gShowFullMenus = false;

TPoint MessagePoint(const TMessage& Message) {
  return TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
}

bool IsClientMouseMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL;
}

bool IsNonClientMouseMessage(UINT msg) {
  return msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK;
}

// A mouse message at a client point of the bar window goes on to the
// in-place window of the control when the point lies outside that window.
void ForwardToInPlaceWindow(TCustomdxBarControl* window, TdxBarItemControl* control, const TMessage& message) {
  HWND wnd = control ? control->GetInPlaceWnd() : nullptr;
  POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  if (!wnd || (message.Msg != WM_LBUTTONUP && control->GetInPlaceRect().Contains(p))) return;
  MapWindowPoints(window->GetHandle(), wnd, &p, 1);
  SendMessageA(wnd, message.Msg, message.WParam, MAKELPARAM(p.x, p.y));
}

// Left and right step through the links; on vertical bars Up and Down do.
WORD TurnArrow(WORD key) {
  switch (key) {
  case VK_LEFT:
    return VK_UP;
  case VK_UP:
    return VK_LEFT;
  case VK_RIGHT:
    return VK_DOWN;
  case VK_DOWN:
    return VK_RIGHT;
  default:
    return key;
  }
}

} // namespace

TCustomdxBarControl* ActiveBarControl() {
  return gActiveBarControl;
}

bool GetShowFullMenus() {
  return gShowFullMenus;
}

void SetShowFullMenus(bool Value) {
  gShowFullMenus = Value;
}

// ---- Creation and destruction ----

TCustomdxBarControl::TCustomdxBarControl(TdxBarManager* AOwner)
    : TCustomControl(AOwner), FBarManager(AOwner) {
  RegisterBarControl(this);
  ControlStyle = ControlStyle - TControlStyle{csCaptureMouse};
  UpdateDoubleClicks();
  SetColor(clBtnFace);
  SetVisible(false);
  SetBounds(100, 100, 50, 30);
}

TCustomdxBarControl::~TCustomdxBarControl() {
  TCustomdxBarControl::SetActive(false);
  FDestroying = true;
  if (FItemLinks && FItemLinks->GetBarControl() == this) {
    DestroyControls();
    FItemLinks->SetBarControl(nullptr);
  }
  UnregisterBarControl(this);
}

void TCustomdxBarControl::UpdateDoubleClicks() {
  const bool standard = FBarManager->GetEffectiveStyle() == bmsStandard && !IsCustomizing();
  ControlStyle =
      standard ? ControlStyle - TControlStyle{csDoubleClicks} : ControlStyle + TControlStyle{csDoubleClicks};
}

void TCustomdxBarControl::DrawCustomizingFrame(TdxBarItemControl* Control) {
  if (!IsCustomizing() || !Control || !Control->GetLink() || !HandleAllocated()) return;
  const bool picked = FBarManager->GetDragging()
                          ? Control->GetLink() == FBarManager->DraggedLink
                          : Control == FSelectedControl && Control == FBarManager->SelectedItemControl;
  if (!picked) return;
  TRect r = Control->GetLink()->ItemRect;
  HDC dc = GetCanvas()->GetHandle();
  if (IsPopup() && dynamic_cast<TdxBarSubItemControl*>(Control)) {
    // Inverted, so that the frame shows on the highlighted entry.
    const int oldRop = SetROP2(dc, R2_NOT);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < 2; ++i) {
      Rectangle(dc, r.left + i, r.top + i, r.right - 1 - i, r.bottom - 1 - i);
    }
    SelectObject(dc, oldBrush);
    SetROP2(dc, oldRop);
    return;
  }
  HBRUSH brush = GetSysColorBrush(COLOR_WINDOWTEXT);
  for (int i = 0; i < 2; ++i) {
    FrameRect(dc, &r, brush);
    InflateRect(&r, -1, -1);
  }
}

void TCustomdxBarControl::SetItemLinks(TdxBarItemLinks* Value) {
  FItemLinks = Value;
  if (Value) Value->SetBarControl(this);
}

void TCustomdxBarControl::CreateWnd() {
  TCustomControl::CreateWnd();
  CreateControls();
  UpdateTransparency();
  UpdateFont();
  CalcMetrics();
}

void TCustomdxBarControl::DestroyWnd() {
  HideShadow();
  if (FItemLinks)
    for (int i = 0; i < FItemLinks->GetVisibleCount(); ++i)
      if (TdxBarItemControl* control = FItemLinks->GetVisibleLink(i)->GetControl()) control->ReleaseControl();
  StopMouseTracking(GetHandle());
  DestroyControls();
  TCustomControl::DestroyWnd();
}

void TCustomdxBarControl::CreateControls() {
  if (!FItemLinks) return;
  for (int i = 0; i < FItemLinks->GetVisibleCount(); ++i)
    FItemLinks->GetVisibleLink(i)->CreateControl();
}

void TCustomdxBarControl::DestroyControls() {
  if (!FItemLinks) return;
  const bool old = FDestroying;
  FDestroying = true;
  for (int i = 0; i < FItemLinks->GetCount(); ++i)
    FItemLinks->GetItem(i)->DestroyControl();
  FDestroying = old;
}

TdxBarItemControlPainterClass TCustomdxBarControl::GetPainter() const {
  return FBarManager->GetPainterClass();
}

void TCustomdxBarControl::CalcMetrics() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFontHandle());
  SIZE zero{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  TextHeight = zero.cy + 6;
  Indent = std::max(TextHeight / 5, 4);
  EditHeight = GetPainter()->GetEditHeight(zero.cy);
  ComboButtonWidth = GetPainter()->GetComboButtonWidth(metrics.tmAveCharWidth);
}

// ---- Answers ----

HFONT TCustomdxBarControl::GetFontHandle() const {
  return FBarManager->GetMenuFontHandle();
}

void TCustomdxBarControl::GetControlRect(const TdxBarItemControl* Control, TRect& R) {
  R = Control && Control->GetLink() ? Control->GetLink()->ItemRect : TRect();
}

bool TCustomdxBarControl::IsCustomizing() const {
  return FBarManager->IsCustomizing();
}

HBRUSH TCustomdxBarControl::GetToolbarBrush() const {
  return GetPainter()->GetToolbarBrush(FBarManager);
}

HBRUSH TCustomdxBarControl::GetCheckedBrush() const {
  return GetPainter()->GetCheckedBrush(FBarManager);
}

HBRUSH TCustomdxBarControl::GetCheckedSelectedBrush() const {
  return GetPainter()->GetCheckedSelectedBrush(FBarManager);
}

HBRUSH TCustomdxBarControl::GetSelectedBrush() const {
  return GetPainter()->GetSelectedBrush(FBarManager);
}

HBRUSH TCustomdxBarControl::GetBarBackgroundBrush() const {
  return GetPainter()->GetBarBackgroundBrush(FBarManager);
}

bool TCustomdxBarControl::IsMouseStill(POINT ScreenPoint) const {
  return IsCustomizing() || (ScreenPoint.x == FLastMousePos.x && ScreenPoint.y == FLastMousePos.y);
}

bool TCustomdxBarControl::CanCustomizeItems() const {
  return FBarManager->GetDesigning();
}

TdxBarItemControl* TCustomdxBarControl::ControlAtPos(POINT ClientPoint) {
  if (!FItemLinks || (IsCustomizing() && !CanCustomizeItems())) return nullptr;
  for (int i = 0; i < FItemLinks->GetShownCount(); ++i) {
    TdxBarItemLink* link = FItemLinks->GetShownLink(i);
    if (link->ItemRect.Contains(ClientPoint)) return link->GetControl();
  }
  return nullptr;
}

bool TCustomdxBarControl::IsControlOfWindow(const TdxBarItemControl* Control) const {
  if (!Control || !FItemLinks) return false;
  for (int i = 0; i < FItemLinks->GetCount(); ++i)
    if (FItemLinks->GetItem(i)->GetControl() == Control) return true;
  return false;
}

bool TCustomdxBarControl::IsInActiveChain() const {
  for (const TCustomdxBarControl* w = gActiveBarControl; w; w = w->ParentBarControl)
    if (w == this) return true;
  return false;
}

void TCustomdxBarControl::DrawBackground(HDC DC, const TRect& R, bool UseOrigin, TColor Color, HBRUSH Brush) {
  TRect source = R;
  if (UseOrigin) {
    const TPoint origin = GetBackgroundOrigin();
    OffsetRect(&source, origin.x, origin.y);
  }
  if (FDockControl)
    GetPainter()->DrawDockedBarBackground(this, DC, Color, Brush, source, R);
  else
    GetPainter()->DrawFloatingBarBackground(this, DC, Color, Brush, source, R);
}

void TCustomdxBarControl::SetDockingStyle(TdxBarDockingStyle Value) {
  if (Value == FDockingStyle) return;
  FDockingStyle = Value;
  Perform(CM_FONTCHANGED, 0, 0);
  UpdateTransparency();
}

void TCustomdxBarControl::PaintItemControl(TdxBarItemControl*) {
  BackgroundBrush = GetToolbarBrush();
}

void TCustomdxBarControl::RefreshFrameAndInvalidate() {
  if (HandleAllocated()) SendMessageA(GetHandle(), WM_NCPAINT, 0, 0);
  Invalidate();
}

void TCustomdxBarControl::RefreshFrameAndRepaint() {
  if (HandleAllocated()) SendMessageA(GetHandle(), WM_NCPAINT, 0, 0);
  Repaint();
}

// ---- Owner joints and customizing drops ----

bool TCustomdxBarControl::TouchesOwnerRect() {
  const TRect owner = GetOwnerRect();
  if (!HandleAllocated()) return false;
  RECT b;
  GetWindowRect(GetHandle(), &b);
  return ((owner.bottom == b.top || owner.top == b.bottom) && owner.left < b.right && b.left < owner.right) ||
         ((owner.right == b.left || owner.left == b.right) && owner.top < b.bottom && b.top < owner.bottom);
}

TRect TCustomdxBarControl::GetOwnerJointRect(bool InScreen) {
  TRect owner = GetOwnerRect();
  if (IsRectEmpty(&owner) || !TouchesOwnerRect()) return TRect();
  RECT screen;
  GetWindowRect(GetHandle(), &screen);
  TRect window(0, 0, screen.right - screen.left, screen.bottom - screen.top);
  OffsetRect(&owner, -screen.left, -screen.top);
  // A menu beside its button meets it along a column: the same strip with
  // x and y exchanged. The shadow takes its side by the same rule.
  const bool horizontal = owner.bottom == window.top || owner.top == window.bottom;
  auto swap = [](TRect& r) { r = TRect(r.top, r.left, r.bottom, r.right); };
  if (!horizontal) {
    swap(window);
    swap(owner);
  }
  // The window's own row along the owner; on the screen the owner's row
  // next to it, one pixel out of the window.
  TRect strip = window;
  const bool first = window.top == owner.bottom;
  if (first)
    strip.bottom = strip.top + 1;
  else
    strip.top = strip.bottom - 1;
  if (InScreen) OffsetRect(&strip, 0, first ? -1 : 1);
  strip.left = std::max(owner.left + 1, strip.left + 1);
  strip.right = std::min(owner.right - 1, strip.right - 1);
  if (!horizontal) swap(strip);
  if (InScreen) OffsetRect(&strip, screen.left, screen.top);
  return strip;
}

HRGN TCustomdxBarControl::CreateControlRegion(TdxBarItemControl* Control) {
  TRect r;
  GetControlRect(Control, r);
  return CreateRectRgnIndirect(&r);
}

TdxBarItemControl* TCustomdxBarControl::GetDropTarget(POINT ClientPoint, bool& Outside, bool& Vertical,
                                                      bool& Before) {
  auto* toolbar = dynamic_cast<TdxBarControl*>(this);
  Vertical = !toolbar || toolbar->IsVertical();
  Outside = Before = false;
  if (!FItemLinks) return nullptr;
  for (int i = 0; i < FItemLinks->GetShownCount(); ++i) {
    TdxBarItemControl* control = FItemLinks->GetShownLink(i)->GetControl();
    if (!control || !control->IsCustomizable()) continue;
    HRGN region = CreateControlRegion(control);
    const bool inside = PtInRegion(region, ClientPoint.x, ClientPoint.y);
    DeleteObject(region);
    if (!inside) continue;
    TRect r;
    GetControlRect(control, r);
    Outside = !r.Contains(ClientPoint);
    if (Outside) r = control->SeparatorRect;
    // Closer to the top than to the bottom (or to the left than to the right).
    if (Vertical || (Outside && ClientPoint.y < r.top))
      Before = ClientPoint.y - r.top < r.bottom - ClientPoint.y;
    else
      Before = ClientPoint.x - r.left < r.right - ClientPoint.x;
    return control;
  }
  return nullptr;
}

// ---- The active chain and the selection ----

void TCustomdxBarControl::SetActive(bool Value) {
  FBarManager->ShowHint(false, String());
  if (Value == FActive) return;
  FActive = Value;
  if (Value) {
    if (!gActiveBarControl) gShowFullMenus = IsCustomizing();
    FPrevActive = gActiveBarControl;
    gActiveBarControl = this;
    if (!IsCustomizing() && FItemLinks) FItemLinks->UpdateActions();
    return;
  }
  if (IsCustomizing())
    FSelectedControl = nullptr;
  else
    SelectControl(nullptr);
  if (gActiveBarControl == this) gActiveBarControl = FPrevActive;
  if (gActiveBarControl && (!IsBarControlAlive(gActiveBarControl) || !gActiveBarControl->FActive))
    gActiveBarControl = nullptr;
}

void TCustomdxBarControl::Deactivate() {
  SetActive(false);
  if (IsBarControlAlive(this) && ParentBarControl) ParentBarControl->Deactivate();
}

void TCustomdxBarControl::SelectControl(TdxBarItemControl* Control) {
  if (Control == FSelectedControl) return;
  if (FSelectedControl && FSelectedControl->IsActive()) {
    FSelectedControl->Deactivate(true);
    if (!IsBarControlAlive(this)) return;
  }
  if (Control) Control->HoverSelected = false;
  SetSelectedControl(Control);
}

void TCustomdxBarControl::HotTrackControl(TdxBarItemControl* Control) {
  if (!HandleAllocated() || Control == FSelectedControl) return;
  if (FSelectedControl && FSelectedControl->GetFocused()) return;
  if (FSelectedControl && FSelectedControl->IsActive()) {
    FSelectedControl->Deactivate(false);
    if (!IsBarControlAlive(this)) return;
  }
  if (Control) Control->HoverSelected = true;
  SetSelectedControl(Control);
  if (!IsBarControlAlive(this) || !FSelectedControl) return;
  // While customizing, a menu opens during a drag only for an item that may
  // go into it.
  if (auto* subItem = dynamic_cast<TdxBarSubItemControl*>(FSelectedControl);
      subItem && FBarManager->GetDragging() && FBarManager->DraggedItem &&
      !CanItemBeLinked(subItem->GetSubItem(), FBarManager->DraggedItem))
    return;
  FSelectedControl->Activate(false);
}

void TCustomdxBarControl::SetSelectedControl(TdxBarItemControl* Control) {
  if (Control == FSelectedControl) return;
  TdxBarItemControl* previous = FSelectedControl;
  if (TdxBarQuickControl* quick = QuickControl(); quick && quick != this && !quick->GetActive() && Control)
    StartQuickCloseTimer();
  FSelectedControl = Control;
  if (IsCustomizing()) {
    FBarManager->SetSelectedItemControl(Control);
    if (!IsBarControlAlive(this)) return;
  } else {
    FBarManager->SelectedItemControl = Control;
  }
  RepaintSelection(previous);
  GetCursorPos(&FLastMousePos);
  if (Control || GetMarkState() == 0) FBarManager->ShowHint(true, String());
  const bool hinted = Control && (Control->GetEnabled() || FBarManager->ShowHintForDisabledItems);
  String hint = hinted ? Control->GetHint() : String();
  const size_t bar = hint.find('|');
  Hint = bar == String::npos ? hint : hint.substr(bar + 1);
}

void TCustomdxBarControl::RepaintSelection(TdxBarItemControl* Previous) {
  if (FDestroying) return;
  FPaintingControl = true;
  try {
    if (Previous && Previous->GetItem() && !Previous->GetItem()->IsDestroying()) PaintItemControl(Previous);
    if (FSelectedControl) PaintItemControl(FSelectedControl);
  } catch (...) {
    FPaintingControl = false;
    throw;
  }
  FPaintingControl = false;
}

bool TCustomdxBarControl::DispatchKeyToSelected(WORD Key) {
  if (!FSelectedControl || !FSelectedControl->GetEnabled() || !FSelectedControl->WantsKey(Key)) return false;
  FSelectedControl->KeyDown(Key);
  return true;
}

// ---- Messages ----

bool TCustomdxBarControl::DropsMouseMessage(UINT Msg) const {
  return (IsClientMouseMessage(Msg) || IsNonClientMouseMessage(Msg)) && gActiveBarControl &&
         !IsInActiveChain();
}

void TCustomdxBarControl::WndProc(TMessage& Message) {
  if (DropsMouseMessage(Message.Msg)) return;
  switch (Message.Msg) {
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
    SetTextColor(reinterpret_cast<HDC>(Message.WParam), GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(reinterpret_cast<HDC>(Message.WParam), GetSysColor(COLOR_WINDOW));
    Message.Result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    return;
  case WM_COMMAND:
    // In-place editors see their own change notification.
    TCustomControl::WndProc(Message);
    if (Message.Result == 0 && HIWORD(Message.WParam) == EN_CHANGE)
      SendMessageA(reinterpret_cast<HWND>(Message.LParam), WM_COMMAND, Message.WParam, Message.LParam);
    return;
  case WM_MOUSEACTIVATE:
    Message.Result = MA_NOACTIVATE;
    return;
  case WM_ERASEBKGND:
    Message.Result = 1;
    return;
  case WM_WINDOWPOSCHANGED:
    TCustomControl::WndProc(Message);
    UpdateShadow();
    return;
  case WM_SETCURSOR:
    if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == GetHandle()) {
      ::SetCursor(Screen->GetCursors(GetCursor()));
      Message.Result = 1;
      return;
    }
    break;
  case WM_RBUTTONDOWN:
    return WMRButtonDown(Message);
  case WM_SETFOCUS:
    if (FSelectedControl && FSelectedControl->GetInPlaceWnd()) break;
    if (TCustomForm* form = FBarManager->GetOwnerForm(); form && form->HandleAllocated())
      ::SetFocus(IsWindowVisible(form->GetHandle()) ? form->GetHandle()
                                                    : GetWindow(form->GetHandle(), GW_HWNDNEXT));
    return;
  case WM_NCACTIVATE:
    if (Message.WParam && !IsCustomizing() && GetParent() && GetParent()->HandleAllocated())
      SendMessageA(GetParent()->GetHandle(), WM_NCACTIVATE, 1, 0);
    Message.WParam = 1;
    break;
  case WM_MOUSEMOVE:
    return WMMouseMove(Message);
  case WM_LBUTTONDOWN:
    return WMLButtonDown(Message);
  case WM_LBUTTONUP:
    return WMLButtonUp(Message);
  case WM_LBUTTONDBLCLK:
    return WMLButtonDblClk(Message);
  case WM_MOUSELEAVE:
    return WMMouseLeave(Message);
  case WM_KEYDOWN:
    return WMKeyDown(Message);
  case WM_CAPTURECHANGED:
    return WMCaptureChanged(Message);
  case WM_USER + 1:
    Rebuild();
    return;
  case WM_DESTROY:
    // The owner form's window takes a floating bar's window with it.
    if (!IsDestroying()) {
      StopMouseTracking(GetHandle());
      SetMarkState(0);
    }
    break;
  }
  TCustomControl::WndProc(Message);
}

void TCustomdxBarControl::WMCaptureChanged(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (DragPending) {
    FBarManager->DraggedItem = nullptr;
    FBarManager->DraggedLink = nullptr;
    DragPending = false;
  }
  FPressedControl = nullptr;
}

void TCustomdxBarControl::WMMouseMove(TMessage& Message) {
  if (FDestroying) return;
  const TPoint point = MessagePoint(Message);
  if (FPressedControl) {
    const bool hot = ControlAtPos(point) == FPressedControl;
    if (hot != FPressedControlHot) {
      FPressedControlHot = hot;
      FPressedControl->Repaint();
    }
  }
  if (DragPending) {
    // The drag starts once the pointer leaves the system's drag rectangle.
    const int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
    const TRect still(DragStartPoint.x - dx / 2, DragStartPoint.y - dy / 2, DragStartPoint.x - dx / 2 + dx,
                      DragStartPoint.y - dy / 2 + dy);
    if (still.Contains(point)) return;
    DragPending = false;
    TdxBarItem* item = FBarManager->DraggedItem;
    TdxBarItemLink* link = FBarManager->DraggedLink;
    ReleaseCapture();
    if (link && link->GetControl() && link->GetControl()->IsActive()) link->GetControl()->Deactivate(true);
    FBarManager->CustomizingDragLoop(item, link);
    return;
  }
  if (!GetClientRect().Contains(point)) return;
  TCustomControl::WndProc(Message);
  const TPoint screen = ClientToScreen(point);
  if (IsMouseStill(screen)) return;
  FLastMousePos = screen;
  TdxBarItemControl* hit = ControlAtPos(point);
  const TdxBarItemControl* editing = FBarManager->SelectedItemControl;
  const bool editorFocused = editing && editing->GetFocused();
  if (!gActiveBarControl || gActiveBarControl == this)
    SetCursor(hit && hit->GetInPlaceRect().Contains(point) && (!editorFocused || editing == hit) ? crIBeam
                                                                                                : crDefault);
  if (editorFocused) return;
  if (!IsTrackingMouse(GetHandle())) StartMouseTracking(GetHandle());
  if (hit && !hit->IsHotTrackable()) hit = nullptr;
  if ((FActive && !hit && dynamic_cast<TdxBarControl*>(this)) || FPressedControl) return;
  // The selection stays on the entry whose menu is open.
  auto* subItem = dynamic_cast<TdxBarSubItemControl*>(FSelectedControl);
  if (!hit && subItem && subItem->GetSubMenuControl()) return;
  HotTrackControl(hit);
}

void TCustomdxBarControl::WMMouseLeave(TMessage& Message) {
  if (GetMarkState() == 1) SetMarkState(0);
  TCustomControl::WndProc(Message);
  if (!IsBarControlAlive(this) || IsCustomizing() || ChildMenu) return;
  HotTrackControl(nullptr);
}

void TCustomdxBarControl::WMLButtonDown(TMessage& Message) {
  if (SkipMouseUp || !FItemLinks || FItemLinks->GetShownCount() == 0) return;
  TCustomControl::WndProc(Message);
  const TPoint point = MessagePoint(Message);
  TdxBarItemControl* hit = GetClientRect().Contains(point) ? ControlAtPos(point) : nullptr;
  if (IsCustomizing()) return CustomizingLButtonDown(hit, point);
  if (hit && (!hit->GetEnabled() || !hit->AcceptsMouseClick())) hit = nullptr;
  if (!hit) return;
  SelectControl(hit);
  if (!IsBarControlAlive(this)) return;
  auto* button = dynamic_cast<TdxBarButtonControl*>(FSelectedControl);
  if (button) button->PressedByMouse = true;
  if (auto* subItem = dynamic_cast<TdxBarSubItemControl*>(FSelectedControl)) subItem->OpenedByMouse = true;
  hit->Press(true);
  if (!IsBarControlAlive(this) || !IsControlOfWindow(hit)) return;
  if (button) button->PressedByMouse = false;
  if (dynamic_cast<TdxBarControl*>(this) && FSelectedControl && FSelectedControl->TracksPress()) {
    FPressedControl = hit;
    FPressedControlHot = true;
    SetCapture(GetHandle());
    hit->Repaint();
  }
  ForwardToInPlaceWindow(this, hit, Message);
}

// Customizing mode: a press picks the control (a picked one toggles its
// menu) and arms a drag of its link.
void TCustomdxBarControl::CustomizingLButtonDown(TdxBarItemControl* Hit, POINT Point) {
  if (Hit && !Hit->IsCustomizable()) return;
  if (Hit || !GetClientRect().Contains(Point)) {
    if (Hit && Hit == FSelectedControl) {
      if (Hit->IsActive())
        Hit->Deactivate(true);
      else
        Hit->Activate(true);
      if (!IsBarControlAlive(this) || !IsControlOfWindow(Hit)) return;
      FBarManager->SetSelectedItemControl(Hit);
      Hit->Repaint();
    }
    HotTrackControl(Hit);
    if (!IsBarControlAlive(this)) return;
  }
  if (!Hit || !IsControlOfWindow(Hit)) return;
  DragStartPoint = Point;
  FBarManager->DraggedItem = Hit->GetItem();
  FBarManager->DraggedLink = Hit->GetLink();
  DragPending = true;
  SetCapture(GetHandle());
}

void TCustomdxBarControl::WMLButtonUp(TMessage& Message) {
  if (SkipMouseUp) {
    SkipMouseUp = false;
    return;
  }
  TCustomControl::WndProc(Message);
  if (DragPending) {
    ReleaseCapture();
    return;
  }
  TdxBarItemControl* pressed = FPressedControl;
  if (pressed) ReleaseCapture();
  const TPoint point = MessagePoint(Message);
  if (GetClientRect().Contains(point) && FActive && !IsCustomizing()) {
    TdxBarItemControl* hit = ControlAtPos(point);
    if (hit && !hit->AcceptsMouseClick()) hit = nullptr;
    if (hit && hit->GetEnabled() && hit == FSelectedControl) {
      ForwardToInPlaceWindow(this, hit, Message);
      if (!IsBarControlAlive(this) || !IsControlOfWindow(hit)) return;
      hit->Execute(true);
      if (!IsBarControlAlive(this)) return;
    } else if (hit && !hit->GetEnabled() && hit != FSelectedControl && dynamic_cast<TdxBarControl*>(this)) {
      Deactivate();
      if (!IsBarControlAlive(this)) return;
    }
  }
  if (pressed && IsBarControlAlive(this)) Deactivate();
}

void TCustomdxBarControl::WMRButtonDown(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (!IsCustomizing()) return;
  if (FSelectedControl && FSelectedControl->IsActive()) {
    FSelectedControl->Deactivate(true);
    if (!IsBarControlAlive(this)) return;
  }
  const TPoint point = MessagePoint(Message);
  TdxBarItemControl* hit = GetClientRect().Contains(point) ? ControlAtPos(point) : nullptr;
  if (hit && hit == FSelectedControl) {
    FBarManager->SetSelectedItemControl(hit);
    hit->Repaint();
  }
  SelectControl(hit);
  if (!IsBarControlAlive(this) || !hit || !IsControlOfWindow(hit)) return;
  ShowCustomizingPopup(FBarManager, hit->GetLink(), FItemLinks, ClientToScreen(point));
}

void TCustomdxBarControl::WMLButtonDblClk(TMessage& Message) {
  TCustomControl::WndProc(Message);
  const TPoint point = MessagePoint(Message);
  if (!FSelectedControl || !GetClientRect().Contains(point) || ControlAtPos(point) != FSelectedControl)
    return;
  ForwardToInPlaceWindow(this, FSelectedControl, Message);
  if (!IsBarControlAlive(this) || !FSelectedControl) return;
  if (FSelectedControl->WantsDblClick()) {
    if (!FSelectedControl->HasSubMenu()) FSelectedControl->DblClick();
    return;
  }
  Message.Result = SendMessageA(GetHandle(), WM_LBUTTONDOWN, Message.WParam, Message.LParam);
}

void TCustomdxBarControl::WMKeyDown(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (!gActiveBarControl) return;
  WORD key = static_cast<WORD>(Message.WParam);
  SelectByKey(key);
  Message.WParam = key;
}

void TCustomdxBarControl::SelectByKey(WORD& Key) {
  auto* toolbar = dynamic_cast<TdxBarControl*>(this);
  if (toolbar && toolbar->IsVertical()) Key = TurnArrow(Key);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  if (Key == VK_TAB && ctrl) return SelectNeighbourBar(!shift);
  WORD step = Key;
  if (Key == VK_TAB && !ctrl) step = shift ? VK_LEFT : VK_RIGHT;
  TdxBarItemLink* current = FSelectedControl ? FSelectedControl->GetLink() : nullptr;
  TdxBarItemLink* target = nullptr;
  switch (step) {
  case VK_END:
    target = FItemLinks->LastSelectable();
    break;
  case VK_HOME:
    target = FItemLinks->FirstSelectable();
    break;
  case VK_LEFT:
    target = current ? FItemLinks->PrevSelectable(current) : FItemLinks->FirstSelectable();
    break;
  case VK_RIGHT:
    target = current ? FItemLinks->NextSelectable(current) : FItemLinks->FirstSelectable();
    break;
  case VK_F10:
    if (!FBarManager->UseF10ForMenu) return;
    [[fallthrough]];
  case VK_MENU:
    Key = 0;
    Deactivate();
    return;
  default:
    SelectByAccelerator(Key);
    return;
  }
  if (!target) return;
  SelectControl(target->GetControl());
  // Tab to an edit starts editing it.
  if (Key == VK_TAB && IsBarControlAlive(this) && FSelectedControl && FSelectedControl->GetInPlaceWnd())
    FSelectedControl->Click(false);
}

void TCustomdxBarControl::SelectNeighbourBar(bool Forward) {
  TCustomdxBarControl* root = this;
  while (root->ParentBarControl)
    root = root->ParentBarControl;
  auto* toolbar = dynamic_cast<TdxBarControl*>(root);
  if (!toolbar) return;
  TdxBars* bars = FBarManager->GetBars();
  const int count = bars->GetCount(), start = toolbar->GetBar()->GetIndex();
  for (int i = (start + (Forward ? 1 : count - 1)) % count; i != start;
       i = (i + (Forward ? 1 : count - 1)) % count) {
    TdxBarControl* window = bars->GetItem(i)->GetBarControl();
    TdxBarItemLink* first = window ? window->GetItemLinks()->FirstSelectable() : nullptr;
    if (!first) continue;
    toolbar->LeaveKeyboardMode();
    if (IsBarControlAlive(window)) window->EnterKeyboardMode(first->GetControl());
    return;
  }
}

void TCustomdxBarControl::SelectByAccelerator(WORD Key) {
  UINT character = MapVirtualKeyA(Key, MAPVK_VK_TO_CHAR) & 0x7FFF;
  if (character >= 'a' && character <= 'z') character -= 'a' - 'A';
  if (!((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9'))) return;
  TShiftState shift = KeyboardStateToShiftState();
  shift.Exclude(ssAlt);
  TdxBarItemLink* current = FSelectedControl ? FSelectedControl->GetLink() : nullptr;
  TdxBarItemLink* link = FItemLinks->FindAcceleratorLink(static_cast<WORD>(character), shift, current);
  if (!link || !link->GetItem() || !link->GetItem()->GetEnabled() || !link->GetControl()) return;
  // A unique accelerator chooses its entry; repeated ones select in turn.
  const WORD key = static_cast<WORD>(character);
  const bool unique = FItemLinks->FindAcceleratorLink(key, shift, link) == link;
  // A personalised menu expands for an entry it hides.
  bool hidden = false;
  for (TdxBarItemLink* match = link; match && !hidden;) {
    hidden = match->GetShownIndex() < 0;
    match = FItemLinks->FindAcceleratorLink(key, shift, match);
    if (match == link) break;
  }
  if (IsPopup() && FBarManager->CanShowRecentItems() && hidden &&
      (!unique || !link->GetControl()->ClosesMenusOnClick())) {
    SetMarkState(2);
    if (!IsBarControlAlive(this) || !link->GetControl()) return;
  }
  SelectControl(link->GetControl());
  if (unique && IsBarControlAlive(this) && HandleAllocated())
    SendMessageA(GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
}

// ---- Item controls ----

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl)
    : FLink(ALink), FBarControl(ABarControl) {}

TdxBarItemControl::~TdxBarItemControl() {
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->SelectedItemControl == this) manager->SelectedItemControl = nullptr;
  if (!FBarControl || !IsBarControlAlive(FBarControl) || FBarControl->GetSelectedControl() != this) return;
  if (!manager || manager->IsDestroying() || manager->IsCustomizing()) return;
  if (!FLink || FLink->GetShownIndex() < 0 || FBarControl->GetDestroying())
    FBarControl->SetSelectedControl(nullptr);
  else
    FBarControl->HotTrackControl(nullptr);
}

TdxBarItem* TdxBarItemControl::GetItem() const {
  return FLink ? FLink->GetItem() : nullptr;
}

TdxBarManager* TdxBarItemControl::GetBarManager() const {
  return FLink ? FLink->GetBarManager() : nullptr;
}

TdxBarItemControlPainterClass TdxBarItemControl::GetPainter() const {
  return FBarControl->GetPainter();
}

void TdxBarItemControl::LayoutChanged() {
  FBarControl->Rebuild();
}

void TdxBarItemControl::CaptionChanged() {
  FBarControl->Rebuild();
}

void TdxBarItemControl::EnabledChanged() {
  if (!GetEnabled() && FBarControl->GetSelectedControl() == this) FBarControl->SetSelectedControl(nullptr);
  Repaint();
}

void TdxBarItemControl::PressedChanged() {
  if (!FPressed) Repaint();
}

void TdxBarItemControl::ShortCutChanged() {
  if (dynamic_cast<TdxBarSubMenuControl*>(FBarControl)) FBarControl->Rebuild();
}

void TdxBarItemControl::VisibleChanged() {
  FBarControl->Rebuild();
}

bool TdxBarItemControl::IsCustomizable() const {
  const TdxBarItem* item = GetItem();
  return item && FLink && item->GetBarManager() == FLink->GetBarManager();
}

bool TdxBarItemControl::IsSelectable() const {
  return FBarControl->IsCustomizing() ? IsCustomizable() : true;
}

void TdxBarItemControl::Click(bool ByMouse) {
  if (!GetEnabled()) return;
  TCustomdxBarControl* window = FBarControl;
  Press(ByMouse);
  if (IsBarControlAlive(window) && window->IsControlOfWindow(this)) Execute(ByMouse);
}

void TdxBarItemControl::Execute(bool) {
  TdxBarItemLink* link = FLink;
  TdxBarItem* item = GetItem();
  const bool clickable = IsClickable(), closes = ClosesMenusOnClick();
  TCustomdxBarControl* window = FBarControl;
  if (closes) try {
      link->MarkAsRecentlyUsed(true);
    } catch (...) {
    }
  const bool unclick = GetUnclickAfterDoing() && (!closes || IsParentClosable());
  if (unclick) SetPressed(true);
  try {
    if (closes) window->Deactivate();
    if (clickable && item) item->DirectClick();
  } catch (...) {
    if (unclick && IsBarControlAlive(window)) SetPressed(false);
    throw;
  }
  if (unclick && IsBarControlAlive(window) && window->IsControlOfWindow(this)) try {
      SetPressed(false);
    } catch (...) {
    }
}

void TdxBarItemControl::GetTextColors(int PaintType, bool Enabled, bool Selected, bool DroppedDown,
                                      int& TextColorIndex, HBRUSH& Brush) const {
  GetPainter()->GetTextColors(this, PaintType, Enabled, Selected, DroppedDown, TextColorIndex, Brush);
}

String TdxBarItemControl::GetCaption() const {
  return FLink ? FLink->GetCaption() : String();
}

bool TdxBarItemControl::GetEnabled() const {
  return GetItem() && GetItem()->GetEnabled();
}

TBitmap* TdxBarItemControl::GetGlyph() const {
  return FLink ? FLink->GetGlyph() : nullptr;
}

int TdxBarItemControl::GetImageIndex() const {
  return GetItem() ? GetItem()->GetImageIndex() : -1;
}

TCustomImageList* TdxBarItemControl::GetImages() const {
  TdxBarManager* manager = GetBarManager();
  if (!manager) return nullptr;
  return !GetEnabled() && manager->GetDisabledImages() ? manager->GetDisabledImages() : manager->GetImages();
}

String TdxBarItemControl::GetHint() const {
  return GetItem() ? GetItem()->Hint : String();
}

bool TdxBarItemControl::HasStateImageList() const {
  TdxBarManager* manager = GetBarManager();
  return (manager && manager->GetDisabledImages()) || GetEnabled();
}

TShortCut TdxBarItemControl::GetShortCut() const {
  return GetItem() ? GetItem()->GetShortCut() : 0;
}

void TdxBarItemControl::Repaint() {
  if (FBarControl->GetDestroying()) return;
  FBarControl->PaintItemControl(this);
}

bool TdxBarItemControl::IsSelected() const {
  return FBarControl->GetSelectedControl() == this && (GetEnabled() || !HoverSelected);
}

void TdxBarItemControl::SetPressed(bool Value) {
  if (Value == FPressed) return;
  FPressed = Value;
  PressedChanged();
}

bool TdxBarItemControl::IsParentClosable() const {
  return dynamic_cast<const TdxBarControl*>(FBarControl) != nullptr;
}

TdxBarItemAlign TdxBarItemControl::GetEffectiveAlign() const {
  const TdxBarItem* item = GetItem();
  if (!item || item->GetAlign() == iaLeft || !FBarControl->CanAlignControl(this)) return iaLeft;
  return item->GetAlign();
}

int TdxBarItemControl::GetLayoutWidth() {
  const bool vertical = FBarControl->GetDockingStyle() == dsLeft || FBarControl->GetDockingStyle() == dsRight;
  return GetEffectiveAlign() == iaClient && !vertical ? GetMinWidth() : GetWidth();
}

int TdxBarItemControl::GetLayoutHeight() {
  const bool vertical = FBarControl->GetDockingStyle() == dsLeft || FBarControl->GetDockingStyle() == dsRight;
  if (GetEffectiveAlign() != iaClient || !vertical) return GetHeight();
  return ShowsRotatedCaptions() ? GetMinWidth() : GetMinHeight();
}

bool TdxBarItemControl::HasImageListImage() const {
  const TCustomImageList* images = GetImages();
  return images && GetImageIndex() >= 0 && GetImageIndex() < images->GetCount();
}

bool TdxBarItemControl::HasImage() const {
  const TBitmap* glyph = GetGlyph();
  return (glyph && !glyph->GetEmpty()) || HasImageListImage();
}

bool TdxBarItemControl::IsMousePressedInside() const {
  if (!GetEnabled() || !FBarControl->HandleAllocated()) return false;
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(FBarControl->GetHandle(), &p);
  return FLink->ItemRect.Contains(p) && GetKeyState(VK_LBUTTON) < 0;
}

bool TdxBarItemControl::GetUnclickAfterDoing() const {
  const auto* button = dynamic_cast<const TdxBarButton*>(GetItem());
  return !button || button->UnclickAfterDoing;
}

bool TdxBarItemControl::ShowsRotatedCaptions() const {
  const auto* toolbar = dynamic_cast<const TdxBarControl*>(FBarControl);
  return toolbar && toolbar->ShowsRotatedCaptions();
}

void TdxBarItemControl::DrawGlyphArea(const TRect& R, const TRect* BoxRect, int PaintType, bool NoGlyph,
                                      bool Selected, bool Down, bool Pressed, bool WholeRect,
                                      bool DropDown) const {
  GetPainter()->DrawGlyphArea(this, R, BoxRect, PaintType, NoGlyph, Selected, Down, Pressed, WholeRect,
                              DropDown);
}

void TdxBarItemControl::DrawCaption(HDC DC, const String& Text, const TRect& R, int Alignment, bool Enabled,
                                    bool Highlighted, bool Rotated, bool Clip, bool FlatHighlight) const {
  GetPainter()->DrawCaption(this, DC, Text, R, Alignment, Enabled, Highlighted, Rotated, Clip, FlatHighlight);
}

// ---- Links and their controls ----

TCustomdxBarControl* TdxBarItemLink::GetBarControl() const {
  TdxBarItemLinks* links = GetLinks();
  return links ? links->GetBarControl() : nullptr;
}

void TdxBarItemLink::CreateControl() {
  TCustomdxBarControl* window = GetBarControl();
  if (!window || !FItem || FControl) return;
  // No in-place window stands on a bar whose captions are turned: an edit or
  // a combo is a plain button there.
  if (dynamic_cast<TdxBarWindowItem*>(FItem) && IsBarControlRotated(window)) {
    FControl = std::make_unique<TdxBarButtonControl>(this, window);
    return;
  }
  const TdxBarItemControlClass* controlClass = GetItemControlClass(FItem);
  if (!controlClass || !*controlClass) return;
  FControl.reset(dynamic_cast<TdxBarItemControl*>((*controlClass)(this)));
}

void TdxBarItemLink::DestroyControl() {
  FControl.reset();
}

void TdxBarItemLinks::ClearItemRects() {
  for (int i = 0; i < GetCount(); ++i)
    GetItem(i)->ItemRect = TRect();
}

int TdxBarItemLinks::GetFittingCount() const {
  if (!dynamic_cast<TdxBar*>(FOwner) || !FBarControl) return GetShownCount();
  const TRect client = FBarControl->GetClientRect();
  int count = 0;
  for (; count < GetShownCount(); ++count) {
    const TRect r = GetShownLink(count)->ItemRect;
    if (r.Width() <= 0 || r.Height() <= 0 || r.left < client.left || r.top < client.top ||
        r.right > client.right || r.bottom > client.bottom)
      break;
  }
  return count;
}

namespace {

bool IsSelectableLink(const TdxBarItemLink* link) {
  return link->GetControl() && link->GetControl()->IsSelectable();
}

// From the shown position of Link (or from the end before the start),
// Step places round the fitting links; none after a whole round.
TdxBarItemLink* StepSelectable(const TdxBarItemLinks* links, const TdxBarItemLink* link, int step) {
  const int count = links->GetFittingCount();
  if (count == 0) return nullptr;
  int index = link ? link->GetShownIndex() : -1;
  if (index < 0 || index >= count) index = step > 0 ? -1 : count;
  for (int i = 0; i < count; ++i) {
    index = ((index + step) % count + count) % count;
    if (IsSelectableLink(links->GetShownLink(index))) return links->GetShownLink(index);
  }
  return nullptr;
}

} // namespace

TdxBarItemLink* TdxBarItemLinks::FirstSelectable() const {
  return StepSelectable(this, nullptr, 1);
}

TdxBarItemLink* TdxBarItemLinks::LastSelectable() const {
  return StepSelectable(this, nullptr, -1);
}

TdxBarItemLink* TdxBarItemLinks::NextSelectable(const TdxBarItemLink* Link) const {
  return StepSelectable(this, Link, 1);
}

TdxBarItemLink* TdxBarItemLinks::PrevSelectable(const TdxBarItemLink* Link) const {
  return StepSelectable(this, Link, -1);
}
