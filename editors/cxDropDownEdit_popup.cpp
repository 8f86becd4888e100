#include "cxDropDownEdit.h"

#include "cxEditPaintUtils.h"

#include <algorithm>

namespace {

constexpr int kShadowSize = 3;

// Only one popup is sized at a time: its state is the process's.
struct TSizingState {
  bool Sizing = false;
  bool CursorShown = false;
  int DX = 0;
  int DY = 0;
  TPoint Grab;
  // The frame drawn on the screen, empty when none shows.
  TRect Frame;
  TRect Tracked;
  int FrameWidth = 2;
  bool FrameShadow = false;
};

TSizingState Sizing;

bool IsEmptyBox(const TRect& R) {
  return R.right <= R.left || R.bottom <= R.top;
}

void DrawFrameRects(const TRect& R) {
  if (IsEmptyBox(R)) return;
  TRect r = R;
  if (Sizing.FrameShadow) {
    r.right -= kShadowSize;
    r.bottom -= kShadowSize;
  }
  TcxCanvas* canvas = GetScreenCanvas();
  for (int i = 0; i < Sizing.FrameWidth && !IsEmptyBox(r); ++i) {
    canvas->DrawFocusRect(r);
    InflateRect(&r, -1, -1);
  }
}

// XOR frames: a new one first erases the last; an empty one only erases.
void DrawSizingFrame(const TRect& R) {
  DrawFrameRects(Sizing.Frame);
  Sizing.Frame = R;
  DrawFrameRects(Sizing.Frame);
}

TCursor SizingCursor(int ADX, int ADY) {
  if (ADX != 0 && ADY != 0) return ADX == ADY ? crSizeNWSE : crSizeNESW;
  if (ADX != 0) return crSizeWE;
  return ADY != 0 ? crSizeNS : crDefault;
}

TRect Intersection(const TRect& A, const TRect& B) {
  return TRect(std::max(A.left, B.left), std::max(A.top, B.top), std::min(A.right, B.right),
               std::min(A.bottom, B.bottom));
}

} // namespace

TcxCustomEditPopupWindow::TcxCustomEditPopupWindow(TcxCustomDropDownEdit* AOwnerControl)
    : TcxCustomPopupWindow(AOwnerControl) {}

TcxCustomEditPopupWindow::~TcxCustomEditPopupWindow() {
  if (IsSizing()) EndSizing();
}

TcxCustomDropDownEdit* TcxCustomEditPopupWindow::GetEdit() const {
  return static_cast<TcxCustomDropDownEdit*>(GetOwnerControl());
}

std::unique_ptr<TcxContainerViewInfo> TcxCustomEditPopupWindow::CreateViewInfo() {
  return std::make_unique<TcxCustomEditPopupWindowViewInfo>();
}

bool TcxCustomEditPopupWindow::IsSizing() const {
  return Sizing.Sizing;
}

void TcxCustomEditPopupWindow::CalculateViewInfo() {
  TcxCustomEditPopupWindowViewInfo* info = GetViewInfo();
  info->Bounds = TRect(0, 0, GetWidth(), GetHeight());
  info->BorderKind = BorderKind;
  info->HasClientEdge = PopupClientEdge;
  info->ShowCloseButton = ShowCloseButton;
  info->UseNativeStyle = UseNativeStyle;
  info->HasShadow = HasShadow;
  info->IsSizeable = PopupSizeable;
  info->HasSysPanel = PopupSysPanelStyle;
  info->Calculate();
  static const TcxLookAndFeelKind kKinds[4] = {lfStandard, lfUltraFlat, lfStandard, lfFlat};
  info->CloseButtonKind = kKinds[BorderKind];
}

void TcxCustomEditPopupWindow::ForwardChar(char Ch) {
  if (HWND focus = GetFocus()) SendMessageA(focus, WM_CHAR, static_cast<BYTE>(Ch), 0);
}

SIZE TcxCustomEditPopupWindow::GetMinContentSize() {
  const TRect e = GetViewInfo()->GetClientExtent();
  SIZE result{e.left + e.right, e.top + e.bottom};
  if (PopupSizeable && PopupSysPanelStyle) {
    const TcxCustomEditPopupWindowViewInfo* info = GetViewInfo();
    result.cx += info->CloseButtonBounds.Width() + info->GripHitRect.Width() + 10;
  }
  return result;
}

void TcxCustomEditPopupWindow::RecalculateLayout() {
  AnchorBounds = GetEdit()->GetPopupOwnerBounds();
  CalculateViewInfo();
  GetEdit()->PositionPopupContent(GetViewInfo()->ClientRect);
  if (!HandleAllocated()) return;
  InvalidateRect(GetHandle(), nullptr, TRUE);
  Update();
}

// ---- Size and position ----

void TcxCustomEditPopupWindow::CalculatePopupSize() {
  GetViewInfo()->GripCorner = 3;
  AnchorBounds = GetEdit()->GetPopupOwnerBounds();
  CalculateViewInfo();
  const TRect e = GetViewInfo()->GetClientExtent();
  const SIZE m = GetMinContentSize();
  const SIZE c = GetEdit()->CalculatePopupContentSize();
  const int ownerWidth = AnchorBounds.Width();
  int width = PopupAutoSize ? c.cx + e.left + e.right : (PopupWidth != 0 ? PopupWidth : ownerWidth);
  if (PopupSizeable && PopupMinWidth > 0) width = std::max(width, PopupMinWidth);
  width = std::max<int>(width, m.cx);
  int height = PopupAutoSize ? c.cy + e.top + e.bottom
                             : (PopupHeight > 0 ? PopupHeight : std::max<int>(m.cy, PopupMinHeight));
  if (PopupSizeable && PopupMinHeight > 0) height = std::max(height, PopupMinHeight);
  height = std::max<int>(height, m.cy);
  SetBounds(GetLeft(), GetTop(), width, height);
}

void TcxCustomEditPopupWindow::CalculatePopupPosition(TPoint& P) {
  AnchorBounds = GetEdit()->GetPopupOwnerBounds();
  AnchorParent = GetEdit()->GetParent();
  TcxCustomPopupWindow::CalculatePopupPosition(P);
  const TRect owner = ClientRectToScreen(AnchorParent, AnchorBounds);
  const TRect w = GetMonitorWorkArea(P);
  const bool below = P.y > owner.top;
  const bool right = (HorzPlacement == hpLeft && P.x == owner.left) || owner.left <= w.left ||
                     (HorzPlacement == hpRight && P.x + GetWidth() != owner.right) ||
                     (HorzPlacement == hpCenter && owner.left - w.left <= w.right - owner.right);
  GetViewInfo()->GripCorner = static_cast<BYTE>((below ? 2 : 0) + (right ? 1 : 0));
  if (HasShadow && !below) P.y += kShadowSize;
}

bool TcxCustomEditPopupWindow::CanResize(int& NewWidth, int& NewHeight) {
  const bool changes = NewWidth != GetWidth() || NewHeight != GetHeight();
  if (!PopupSizeable || !changes) return true;
  SIZE m = GetMinContentSize();
  if (PopupMinWidth > 0) m.cx = std::max<int>(m.cx, PopupMinWidth);
  if (PopupMinHeight > 0) m.cy = std::max<int>(m.cy, PopupMinHeight);
  NewWidth = std::max<int>(NewWidth, m.cx);
  NewHeight = std::max<int>(NewHeight, m.cy);
  TcxCustomDropDownEdit* edit = GetEdit();
  TcxCustomDropDownEditProperties* properties = edit ? edit->GetActiveProperties() : nullptr;
  IcxTextEditLookupData* lookup = edit ? edit->GetEditLookupData() : nullptr;
  if ((NewWidth == GetWidth() && NewHeight == GetHeight()) || !lookup || !properties->HasLookupData() ||
      !properties->PopupShowsLookupList())
    return true;
  const TRect e = GetViewInfo()->GetClientExtent();
  SIZE client{NewWidth - e.left - e.right, NewHeight - e.top - e.bottom};
  if (lookup->CanResizeList(client)) {
    NewWidth = std::max<int>(client.cx + e.left + e.right, m.cx);
    NewHeight = std::max<int>(client.cy + e.top + e.bottom, m.cy);
  } else {
    NewWidth = GetWidth();
    NewHeight = GetHeight();
  }
  return true;
}

void TcxCustomEditPopupWindow::SetPopupWindowRegion() {
  if (!HandleAllocated()) return;
  const TcxCustomEditPopupWindowViewInfo* info = GetViewInfo();
  TRect r(0, 0, GetWidth(), GetHeight());
  TRect cut;
  bool hasCut = false;
  if (!UseNativeStyle && HasShadow) {
    r.right -= kShadowSize;
    r.bottom -= kShadowSize;
    TcxCustomDropDownEdit* edit = GetEdit();
    if (!info->IsGripAtBottom() && edit && edit->GetParent()) {
      cut = ClientRectToScreen(edit->GetParent(), edit->GetBoundsRect());
      OffsetRect(&cut, -GetLeft(), -GetTop());
      cut.right -= kShadowSize;
      cut.top = std::max<LONG>(cut.top, GetHeight() - kShadowSize);
      cut.bottom = std::min<LONG>(cut.bottom, GetHeight());
      hasCut = !IsEmptyBox(cut);
    }
  }
  SetContainerWindowRegion(GetHandle(), r, HasShadow, UseNativeStyle, hasCut ? &cut : nullptr);
}

void TcxCustomEditPopupWindow::Resize() {
  TcxCustomPopupWindow::Resize();
  if (HandleAllocated()) SetPopupWindowRegion();
}

// ---- Closing ----

void TcxCustomEditPopupWindow::DoClosing() {
  TcxCustomPopupWindow::DoClosing();
  DrawSizingFrame(TRect());
}

void TcxCustomEditPopupWindow::DoClosed() {
  if (IsSizing()) EndSizing();
  TcxCustomPopupWindow::DoClosed();
}

void TcxCustomEditPopupWindow::EndSizing() {
  DrawSizingFrame(TRect());
  Sizing = TSizingState();
}

void TcxCustomEditPopupWindow::WndProc(TMessage& Message) {
  if (Message.Msg == CXM_POPUPCHAR) {
    if (IsOpen()) ForwardChar(static_cast<char>(LOBYTE(Message.WParam)));
    return;
  }
  TcxCustomPopupWindow::WndProc(Message);
}

// ---- Mouse ----

void TcxCustomEditPopupWindow::SetCloseButtonState(BYTE AState) {
  TcxCustomEditPopupWindowViewInfo* info = GetViewInfo();
  if (info->CloseButtonMouseState == AState) return;
  info->CloseButtonMouseState = AState;
  if (info->CloseButtonThemeState != 0) info->CloseButtonThemeState = AState;
  if (HandleAllocated()) InvalidateRect(GetHandle(), &info->CloseButtonBounds, FALSE);
}

void TcxCustomEditPopupWindow::SetSizingCursor(int ADX, int ADY) {
  const TCursor cursor = SizingCursor(ADX, ADY);
  if (cursor == crDefault && !Sizing.CursorShown) return;
  Sizing.CursorShown = cursor != crDefault;
  SetCursor(cursor);
  ::SetCursor(Screen->GetCursors(cursor));
}

TRect TcxCustomEditPopupWindow::ScreenBounds() const {
  return TRect(GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight());
}

void TcxCustomEditPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxCustomPopupWindow::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TcxCustomEditPopupWindowViewInfo* info = GetViewInfo();
  if (info->CloseButtonBounds.Contains(TPoint(X, Y)) && info->CloseButtonMouseState != 3) {
    SetCloseButtonState(3);
    return;
  }
  int dx = 0;
  int dy = 0;
  if (!info->GetSizingDirection(X, Y, dx, dy)) return;
  if (!MouseCapture()) SetMouseCapture(true);
  Sizing.Sizing = true;
  Sizing.DX = dx;
  Sizing.DY = dy;
  Sizing.Grab = TPoint(dx == -1 ? X : GetWidth() - X, dy == -1 ? Y : GetHeight() - Y);
  Sizing.FrameWidth = std::max(2, GetPopupBorderWidth(info, false));
  Sizing.FrameShadow = HasShadow;
  Sizing.Tracked = ScreenBounds();
  SetSizingCursor(dx, dy);
  DrawSizingFrame(Sizing.Tracked);
}

void TcxCustomEditPopupWindow::MouseMove(TShiftState Shift, int X, int Y) {
  TcxCustomPopupWindow::MouseMove(Shift, X, Y);
  if (Sizing.Sizing) return SizingMouseMove(X, Y);
  TcxCustomEditPopupWindowViewInfo* info = GetViewInfo();
  const bool overClose = info->CloseButtonBounds.Contains(TPoint(X, Y));
  const bool buttonHeld = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
  if (info->CloseButtonMouseState != 1 && !overClose)
    SetCloseButtonState(1);
  else if (info->CloseButtonMouseState == 1 && overClose && !buttonHeld)
    SetCloseButtonState(2);
  int dx = 0;
  int dy = 0;
  info->GetSizingDirection(X, Y, dx, dy);
  SetSizingCursor(dx, dy);
}

void TcxCustomEditPopupWindow::SizingMouseMove(int X, int Y) {
  const TcxCustomEditPopupWindowViewInfo* info = GetViewInfo();
  int a = X - (Sizing.DX == -1 ? Sizing.Grab.x : GetWidth() - Sizing.Grab.x);
  int b = Y - (Sizing.DY == -1 ? Sizing.Grab.y : GetHeight() - Sizing.Grab.y);
  // Inside the window, growth counts only with the pointer over the grip.
  const bool grip = info->HasSysPanel && !IsEmptyBox(info->GripHitRect);
  if (grip && Sizing.DX == 1 && a > 0 && X < GetWidth() &&
      (X < info->GripHitRect.left || X >= info->GripHitRect.right))
    a = 0;
  if (grip && Sizing.DY == 1 && b > 0 && Y < GetHeight() &&
      (Y < info->GripHitRect.top || Y >= info->GripHitRect.bottom))
    b = 0;
  if (Sizing.DX == 0) a = 0;
  if (Sizing.DY == 0) b = 0;
  const TRect current = ScreenBounds();
  TRect r = current;
  (Sizing.DX == 1 ? r.right : r.left) += a;
  (Sizing.DY == 1 ? r.bottom : r.top) += b;
  int width = r.Width();
  int height = r.Height();
  if (!CanResize(width, height) || (width == current.Width() && height == current.Height())) return;
  if (info->IsGripAtRight())
    r = TRect(current.left, r.top, current.left + width, r.bottom);
  else
    r = TRect(current.right - width, r.top, current.right, r.bottom);
  if (info->IsGripAtBottom())
    r = TRect(r.left, current.top, r.right, current.top + height);
  else
    r = TRect(r.left, current.bottom - height, r.right, current.bottom);
  const TRect owner = ClientRectToScreen(GetEdit()->GetParent(), AnchorBounds);
  r.left = std::min<LONG>(r.left, owner.right - 1);
  r.right = std::max<LONG>(r.right, owner.left + 1);
  r = Intersection(r, GetMonitorWorkArea(GetMouseCursorPos()));
  if (r == Sizing.Tracked) return;
  GetEdit()->SetResizedByUser(true);
  Sizing.Tracked = r;
  DrawSizingFrame(r);
}

void TcxCustomEditPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxCustomPopupWindow::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (Sizing.Sizing) {
    const TRect r = Sizing.Tracked;
    SetMouseCapture(false);
    EndSizing();
    SetBounds(r.left, r.top, r.Width(), r.Height());
    RecalculateLayout();
    int dx = 0;
    int dy = 0;
    GetViewInfo()->GetSizingDirection(X, Y, dx, dy);
    Sizing.CursorShown = true;
    SetSizingCursor(dx, dy);
    return;
  }
  if (GetViewInfo()->CloseButtonMouseState != 3) return;
  TcxCustomDropDownEdit* edit = GetEdit();
  if (CloseQuery()) edit->CloseUp(false);
  if (GetVisible()) SetCloseButtonState(2);
}

void TcxCustomEditPopupWindow::MouseLeave(TControl* AControl) {
  TcxCustomPopupWindow::MouseLeave(AControl);
  SetCloseButtonState(1);
  SetSizingCursor(0, 0);
}
