#include "cxScrollBar.h"

#include <algorithm>

namespace {

constexpr TcxScrollBarPartCode kNone = 0;
constexpr TcxScrollBarPartCode kLineUp = 1;
constexpr TcxScrollBarPartCode kLineDown = 2;
constexpr TcxScrollBarPartCode kThumb = 3;
constexpr TcxScrollBarPartCode kPageUp = 4;
constexpr TcxScrollBarPartCode kPageDown = 5;

constexpr UINT kFirstRepeat = 400;
constexpr UINT kNextRepeats = 60;
// How far the mouse may leave the bar while it drags the thumb.
constexpr int kTrackingAlong = 34;
constexpr int kTrackingAcross = 136;

bool IsEmptyRect(const TRect& R) {
  return R.right <= R.left || R.bottom <= R.top;
}

// The start and end of a rectangle along the bar.
LONG Lo(const TRect& R, bool Horizontal) {
  return Horizontal ? R.left : R.top;
}
LONG Hi(const TRect& R, bool Horizontal) {
  return Horizontal ? R.right : R.bottom;
}

// A band across the bar from Start to End along it.
TRect Band(int Start, int End, int Thickness, bool Horizontal) {
  return Horizontal ? TRect(Start, 0, End, Thickness) : TRect(0, Start, Thickness, End);
}

} // namespace

TcxScrollBar::TcxScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FBitmap = std::make_unique<TBitmap>();
  FBitmapCanvas = std::make_unique<TcxCanvas>(FBitmap->GetCanvas());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { LookAndFeelChanged(); };
  FWidth = 121;
  ControlStyle = TControlStyle{csCaptureMouse, csFramed, csOpaque};
  FHeight = GetSystemMetrics(SM_CYHSCROLL);
  FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotificator->OnThemeSwitched = [this] { ThemeChanged(); };
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(kFirstRepeat);
  FTimer->SetOnTimer([this](TObject*) { TimerTick(); });
  CalculateThumbMinSize();
  CalculateLayout();
}

TcxScrollBar::~TcxScrollBar() {
  FTimer.reset();
  FThemeNotificator.reset();
  FLookAndFeel.reset();
  FBitmapCanvas.reset();
  FBitmap.reset();
}

void TcxScrollBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (AWidth <= 0 || AHeight <= 0) return;
  FBitmap->SetSize(AWidth, AHeight);
  CalculateLayout();
}

void TcxScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (IsLoading())
    CalculateLayout();
  else
    SetBounds(FLeft, FTop, FWidth, FHeight);
  Invalidate();
}

void TcxScrollBar::SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw) {
  if (AMax < AMin || AMax < APageSize) throw EInvalidOperation(SScrollBarRange);
  APosition = std::clamp(APosition, AMin, AMax);
  const bool unchanged = FMin == AMin && FMax == AMax && FPageSize == APageSize && FPosition == APosition;
  const bool redraw = ARedraw && HandleAllocated() && !unchanged;
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  if (FPosition == APosition) {
    CalculateThumb();
    if (redraw) Repaint();
    return;
  }
  SetEnabled(true);
  FPosition = APosition;
  CalculateThumb();
  if (redraw) Repaint();
  Change();
}

void TcxScrollBar::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TcxScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

bool TcxScrollBar::HasHotTracking() const {
  return FLookAndFeel->CurrentPainter()->HasHotTracking();
}

void TcxScrollBar::MouseEnter(TControl*) {
  if (HasHotTracking() || IsRepeatingPart(FPressedPart)) Invalidate();
}

void TcxScrollBar::MouseLeave(TControl*) {
  if (FPressedPart != kThumb) FHotPart = kNone;
  if (HasHotTracking() || IsRepeatingPart(FPressedPart)) Invalidate();
}

void TcxScrollBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND:
    Message.Result = 1;
    return;
  case WM_CANCELMODE:
    CancelTracking();
    break;
  case CM_VISIBLECHANGED:
    if (!Message.WParam) CancelTracking();
    break;
  case CN_HSCROLL:
  case CN_VSCROLL:
    DoScroll(static_cast<TScrollCode>(LOWORD(Message.WParam)));
    return;
  case CM_SYSCOLORCHANGE:
    RefreshScrollBarPatterns();
    break;
  case CN_CTLCOLORSCROLLBAR:
    RefreshScrollBarPatterns();
    return TWinControl::DefaultHandler(Message);
  case CM_ENABLEDCHANGED:
    TCustomControl::WndProc(Message);
    CalculateLayout();
    if (!GetEnabled()) CancelTracking();
    Invalidate();
    return;
  case CM_MOUSEENTER:
  case CM_MOUSELEAVE: {
    TCustomControl::WndProc(Message);
    TControl* control = Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this;
    if (Message.Msg == CM_MOUSEENTER)
      MouseEnter(control);
    else
      MouseLeave(control);
    return;
  }
  }
  TCustomControl::WndProc(Message);
}

// ---- Layout ----

void TcxScrollBar::CalculateLayout() {
  const bool horizontal = IsHorizontal();
  const int length = horizontal ? FWidth : FHeight;
  const int thickness = horizontal ? FHeight : FWidth;
  const int arrow = std::min(GetSystemMetrics(horizontal ? SM_CYHSCROLL : SM_CXVSCROLL), length / 2);
  FTopLeftArrowRect = Band(0, arrow, thickness, horizontal);
  FBottomRightArrowRect = Band(length - arrow, length, thickness, horizontal);
  CalculateThumb();
}

int TcxScrollBar::TrackStart() const {
  return Hi(FTopLeftArrowRect, IsHorizontal());
}

int TcxScrollBar::TrackLength() const {
  return Lo(FBottomRightArrowRect, IsHorizontal()) - TrackStart();
}

int TcxScrollBar::ThumbStart() const {
  return Lo(FThumbRect, IsHorizontal());
}

int TcxScrollBar::ThumbLength() const {
  return Hi(FThumbRect, IsHorizontal()) - ThumbStart();
}

void TcxScrollBar::CalculateThumb() {
  FThumbRect = TRect();
  if (GetEnabled()) {
    const bool horizontal = IsHorizontal();
    const int track = TrackLength();
    int len = 0;
    int offset = 0;
    bool hasThumb = true;
    if (FPageSize != 0) {
      len = std::min(track, MulDiv(FPageSize, track, FMax - FMin + 1));
      hasThumb = track >= FThumbMinSize && FMax != FMin;
      len = std::max(len, FThumbMinSize);
      // A page that covers the range leaves the thumb no room to move: a
      // zero divisor would put it a pixel into the arrow.
      const int range = FMax - FMin - FPageSize + 1;
      if (range > 0) offset = MulDiv(track - len, std::min(FPosition - FMin, range), range);
    } else {
      len = GetSystemMetrics(horizontal ? SM_CXHTHUMB : SM_CYVTHUMB);
      hasThumb = track >= len;
      if (track - len > 0 && FMax != FMin) offset = MulDiv(track - len, FPosition - FMin, FMax - FMin);
    }
    if (hasThumb) {
      const int start = TrackStart() + offset;
      FThumbRect = Band(start, start + len, horizontal ? FHeight : FWidth, horizontal);
    }
  }
  CalculatePageRects();
}

void TcxScrollBar::CalculatePageRects() {
  if (IsEmptyRect(FThumbRect)) {
    FPageUpRect = TRect();
    FPageDownRect = TRect();
    return;
  }
  const bool horizontal = IsHorizontal();
  const int thickness = horizontal ? FHeight : FWidth;
  FPageUpRect = Band(TrackStart(), ThumbStart(), thickness, horizontal);
  FPageDownRect =
      Band(Hi(FThumbRect, horizontal), Lo(FBottomRightArrowRect, horizontal), thickness, horizontal);
}

int TcxScrollBar::PositionFromThumb() const {
  int range = FMax - FMin;
  if (FPageSize > 0) range += 1 - FPageSize;
  const int room = TrackLength() - ThumbLength();
  // A thumb that fills the track stands for the first position.
  if (room <= 0) return FMin;
  return std::clamp(FMin + MulDiv(range, ThumbStart() - TrackStart(), room), FMin, FMax);
}

void TcxScrollBar::CalculateThumbMinSize() {
  FThumbMinSize = 8;
  if (!FLookAndFeel->CurrentPainter()->IsNative()) return;
  HTHEME theme = OpenThemeHandle(totScrollBar);
  if (!theme) return;
  const int size = ThemeThumbMinSize(theme);
  if (size > 7) FThumbMinSize = size;
}

int TcxScrollBar::ThemeThumbMinSize(HTHEME Theme) const {
  const bool horizontal = IsHorizontal();
  const int part = horizontal ? 9 : 8;
  auto along = [horizontal](const SIZE& s) { return horizontal ? s.cx : s.cy; };
  SIZE minimum{};
  if (FAILED(dxUxTheme::GetThemePartSize(Theme, nullptr, part, 1, nullptr, 0, &minimum))) return 0;
  SIZE size{};
  if (FAILED(dxUxTheme::GetThemePartSize(Theme, nullptr, part, 1, nullptr, 1, &size))) return along(minimum);
  return std::max(along(minimum), along(size) + 4);
}

TRect TcxScrollBar::GetPartRect(TcxScrollBarPartCode Part) const {
  switch (Part) {
  case kLineUp:
    return FTopLeftArrowRect;
  case kLineDown:
    return FBottomRightArrowRect;
  case kThumb:
    return FThumbRect;
  case kPageUp:
    return FPageUpRect;
  case kPageDown:
    return FPageDownRect;
  }
  return TRect();
}

TcxScrollBarPartCode TcxScrollBar::HitTest(const TPoint& P) const {
  if (!TRect(0, 0, FWidth, FHeight).Contains(P)) return kNone;
  if (FTopLeftArrowRect.Contains(P)) return kLineUp;
  if (FBottomRightArrowRect.Contains(P)) return kLineDown;
  if (IsEmptyRect(FThumbRect)) return kNone;
  for (TcxScrollBarPartCode part : {kThumb, kPageUp, kPageDown})
    if (GetPartRect(part).Contains(P)) return part;
  return kNone;
}

// ---- Scrolling ----

void TcxScrollBar::DoScroll(TScrollCode Code) {
  int p = FPosition;
  switch (Code) {
  case scLineUp:
    p -= SmallChange;
    break;
  case scLineDown:
    p += SmallChange;
    break;
  case scPageUp:
    p -= LargeChange;
    break;
  case scPageDown:
    p += LargeChange;
    break;
  case scTop:
    p = FMin;
    break;
  case scBottom:
    p = FMax;
    break;
  default:
    break;
  }
  p = std::clamp(p, FMin, FMax);
  Scroll(Code, p);
  p = std::clamp(p, FMin, FMax);
  if (p == FPosition) return;
  if (Code != scTrack) return SetPosition(p);
  FPosition = p;
  CalculateThumb();
  Repaint();
}

bool TcxScrollBar::IsRepeatingPart(TcxScrollBarPartCode Part) const {
  return Part == kLineUp || Part == kLineDown || Part == kPageUp || Part == kPageDown;
}

void TcxScrollBar::StepPart(TcxScrollBarPartCode Part) {
  static const TScrollCode codes[] = {scLineUp, scLineDown, scEndScroll, scPageUp, scPageDown};
  DoScroll(codes[Part - 1]);
}

void TcxScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TcxScrollBarPartCode part = HitTest(TPoint(X, Y));
  if (part == kNone) return;
  if (part == kThumb) {
    FMouseDownPos = TPoint(X, Y);
    FSavePosition = FPosition;
    FSaveThumbOrigin = TPoint(FThumbRect.left, FThumbRect.top);
    DoScroll(scTrack);
  }
  FPressedPart = part;
  FHotPart = part;
  if (IsRepeatingPart(part)) {
    StepPart(part);
    FTimer->SetInterval(kFirstRepeat);
    FTimer->SetEnabled(true);
  }
  Repaint();
}

void TcxScrollBar::TimerTick() {
  if (!MouseCapture() || !IsRepeatingPart(FPressedPart)) return CancelTracking();
  if (FTimer->GetInterval() == kFirstRepeat) FTimer->SetInterval(kNextRepeats);
  StepPart(FPressedPart);
  FTimer->SetEnabled(HitTest(ScreenToClient(Mouse->GetCursorPos())) == FPressedPart);
}

void TcxScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FPressedPart == kThumb) return TrackThumb(TPoint(X, Y));
  const TcxScrollBarPartCode part = HitTest(TPoint(X, Y));
  if (IsRepeatingPart(FPressedPart)) FTimer->SetEnabled(part == FPressedPart);
  if (part == FHotPart) return;
  FHotPart = part;
  if (HasHotTracking()) Repaint();
}

void TcxScrollBar::MoveThumbTo(int Start) {
  const bool horizontal = IsHorizontal();
  const int len = ThumbLength();
  Start = std::clamp(Start, TrackStart(), std::max(TrackStart(), TrackStart() + TrackLength() - len));
  FThumbRect = Band(Start, Start + len, horizontal ? FHeight : FWidth, horizontal);
  CalculatePageRects();
}

void TcxScrollBar::TrackThumb(const TPoint& P) {
  TRect area(0, 0, FWidth, FHeight);
  const int dx = IsHorizontal() ? kTrackingAlong : kTrackingAcross;
  const int dy = IsHorizontal() ? kTrackingAcross : kTrackingAlong;
  area = TRect(area.left - dx, area.top - dy, area.right + dx, area.bottom + dy);
  if (!UnlimitedTracking && !area.Contains(P)) {
    SetPosition(FSavePosition);
    // The thumb may have moved by less than a position: put it back anyway.
    CalculateThumb();
    Repaint();
    int p = FSavePosition;
    Scroll(scTrack, p);
    return;
  }
  const int offset = IsHorizontal() ? P.x - FMouseDownPos.x : P.y - FMouseDownPos.y;
  MoveThumbTo((IsHorizontal() ? FSaveThumbOrigin.x : FSaveThumbOrigin.y) + offset);
  Repaint();
  const int position = PositionFromThumb();
  if (position == FPosition) return;
  FPosition = position;
  int p = position;
  Scroll(scTrack, p);
}

void TcxScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  CancelTracking();
  FHotPart = HitTest(TPoint(X, Y));
}

void TcxScrollBar::CancelTracking() {
  if (FPressedPart == kNone) return;
  if (FPressedPart == kThumb) {
    SetPosition(PositionFromThumb());
    DoScroll(scPosition);
  }
  FTimer->SetEnabled(false);
  FPressedPart = kNone;
  FHotPart = kNone;
  DoScroll(scEndScroll);
  CalculateThumb();
  Invalidate();
}

// ---- Painting ----

TcxButtonState TcxScrollBar::PartState(TcxScrollBarPartCode Part) const {
  if (!GetEnabled()) return cxbsDisabled;
  if (Part == kThumb && !HasHotTracking()) return cxbsNormal;
  if (FPressedPart != kNone) return Part == FPressedPart && Part == FHotPart ? cxbsPressed : cxbsNormal;
  return Part == FHotPart ? cxbsHot : cxbsNormal;
}

void TcxScrollBar::DrawPart(TcxScrollBarPartCode Part, const TRect& R, TcxButtonState State) {
  FLookAndFeel->CurrentPainter()->DrawScrollBarPart(FBitmapCanvas.get(), IsHorizontal(), R,
                                                    static_cast<TcxScrollBarPart>(Part), State);
}

void TcxScrollBar::Paint() {
  if (IsEmptyRect(FThumbRect))
    DrawPart(kPageUp, TRect(0, 0, FWidth, FHeight), GetEnabled() ? cxbsNormal : cxbsDisabled);
  else
    DrawPart(kThumb, FThumbRect, PartState(kThumb));
  DrawPart(kLineUp, FTopLeftArrowRect, PartState(kLineUp));
  DrawPart(kLineDown, FBottomRightArrowRect, PartState(kLineDown));
  for (TcxScrollBarPartCode part : {kPageUp, kPageDown})
    if (!IsEmptyRect(GetPartRect(part))) DrawPart(part, GetPartRect(part), PartState(part));
  BitBlt(GetCanvas()->GetHandle(), 0, 0, FWidth, FHeight, FBitmapCanvas->GetHandle(), 0, 0, SRCCOPY);
}

// ---- Reactions ----

void TcxScrollBar::LookAndFeelChanged() {
  CalculateThumbMinSize();
  CalculateLayout();
  Invalidate();
}

void TcxScrollBar::ThemeChanged() {
  CalculateThumbMinSize();
  CalculateLayout();
  RefreshScrollBarPatterns();
  Invalidate();
  if (GetParent()) GetParent()->Realign();
}
