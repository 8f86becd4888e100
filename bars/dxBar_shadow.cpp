// Shadows of bar windows: their parts, the parts' alpha images and where
// they lie beside a window and the button it is joined to.
#include "dxBarShadow.h"

#include "dxBarCommon.h"
#include "dxBarPainters.h"

namespace {

bool IsEmptyRect(const TRect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

// ---- The shadow ----

bool TdxBarShadow::IsTransparent() {
  return dxUser32().UpdateLayeredWindow && ScreenBitsPerPixel() > 8;
}

int TdxBarShadow::ShadowSize() {
  return IsTransparent() ? 4 : 2;
}

TdxBarShadow::TdxBarShadow(TCustomdxBarControl* AOwner) : FOwner(AOwner) {}

TdxBarShadow::~TdxBarShadow() {
  FreeParts();
}

int TdxBarShadow::GetPartCount() const {
  int count = 0;
  while (count < static_cast<int>(FParts.size()) && FParts[count])
    ++count;
  return count;
}

void TdxBarShadow::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  for (auto& part : FParts) {
    if (!part) continue;
    if (Value)
      part->ShowPart();
    else
      part->HidePart();
  }
}

void TdxBarShadow::SetRects(const TRect& OwnerRect, const TRect& WindowRect) {
  FRectA = OwnerRect;
  FRectB = WindowRect;
  FHorizontal = IsEmptyRect(FRectA) || FRectA.bottom == FRectB.top || FRectA.top == FRectB.bottom;
  // RectA is always the upper (or left) one.
  if ((FHorizontal && !IsEmptyRect(FRectA) && FRectA.top == FRectB.bottom) ||
      (!FHorizontal && FRectA.left == FRectB.right))
    std::swap(FRectA, FRectB);
  Refresh();
}

void TdxBarShadow::Refresh() {
  FreeParts();
  BuildParts();
}

void TdxBarShadow::FreeParts() {
  for (auto& part : FParts)
    part.reset();
}

void TdxBarShadow::AddPart(int Kind, int FadeEnds, const TRect& R) {
  if (IsEmptyRect(R)) return;
  const int slot = GetPartCount();
  if (slot >= static_cast<int>(FParts.size())) return;
  FParts[slot] = std::make_unique<TdxBarShadowPart>(this, Kind, FadeEnds);
  TdxBarShadowPart* part = FParts[slot].get();
  part->SetBounds(R.left, R.top, R.Width(), R.Height());
  part->BuildImage();
  if (FVisible) part->ShowPart();
}

void TdxBarShadow::BuildParts() {
  const int s = ShadowSize();
  const TRect& a = FRectA;
  const TRect& b = FRectB;
  const bool noOwner = IsEmptyRect(a);
  using P = TdxBarShadowPart;
  if (FHorizontal) {
    if (!noOwner) AddPart(1, P::feTop, TRect(a.right, a.top + s, a.right + s, a.bottom));
    AddPart(0, P::feLeft | P::feRight, TRect(b.left + s, b.bottom, b.right + s, b.bottom + s));
    if (!noOwner) {
      if (a.left + s < b.left) AddPart(0, P::feLeft, TRect(a.left + s, a.bottom, b.left, a.bottom + s));
      if (b.right < a.right) AddPart(0, P::feRight, TRect(b.right, a.bottom, a.right + s, a.bottom + s));
    }
    if (noOwner || a.right < b.right)
      AddPart(1, P::feTop, TRect(b.right, b.top + s, b.right + s, b.bottom));
    else
      AddPart(1, 0, TRect(b.right, b.top, b.right + s, b.bottom));
    return;
  }
  AddPart(1, P::feTop, TRect(b.right, b.top + s, b.right + s, b.bottom));
  if (a.top + s < b.top) AddPart(1, P::feTop, TRect(a.right, a.top + s, a.right + s, b.top));
  if (b.bottom < a.bottom) {
    AddPart(0, P::feLeft | P::feRight, TRect(a.left + s, a.bottom, a.right + s, a.bottom + s));
    AddPart(1, 0, TRect(a.right, b.bottom, a.right + s, a.bottom));
  } else
    AddPart(0, P::feLeft, TRect(a.left + s, a.bottom, a.right, a.bottom + s));
  if (a.bottom < b.bottom)
    AddPart(0, P::feLeft | P::feRight, TRect(b.left + s, b.bottom, b.right + s, b.bottom + s));
  else
    AddPart(0, P::feRight, TRect(b.left, b.bottom, b.right + s, b.bottom + s));
}

// ---- Its parts ----

TdxBarShadowPart::TdxBarShadowPart(TdxBarShadow* AShadow, int AKind, int AFadeEnds)
    : TCustomControl(nullptr), FShadow(AShadow), FKind(AKind), FFadeEnds(AFadeEnds),
      FImage(std::make_unique<TBitmap>()) {
  SetVisible(false);
  SetColor(clBtnShadow);
}

TdxBarShadowPart::~TdxBarShadowPart() {
  if (HandleAllocated()) DestroyHandle();
}

void TdxBarShadowPart::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  // A layered window takes the mouse at the system level before any hit
  // test of ours: WS_EX_TRANSPARENT lets it through there as well.
  Params.ExStyle = TdxBarShadow::IsTransparent() ? WS_EX_LAYERED | WS_EX_TRANSPARENT : 0;
  TCustomdxBarControl* owner = FShadow->GetOwner();
  HWND ownerWnd = owner->HandleAllocated() ? owner->GetHandle() : nullptr;
  if (ownerWnd && (GetWindowLongPtrA(ownerWnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) Params.ExStyle |= WS_EX_TOPMOST;
  Params.WndParent = ownerWnd;
  Params.WindowClass.style = 0;
}

void TdxBarShadowPart::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TCustomControl::WndProc(Message);
}

void TdxBarShadowPart::Paint() {
  const TRect r(0, 0, GetClientWidth(), GetClientHeight());
  FillRect(GetCanvas()->GetHandle(), &r, GetSysColorBrush(COLOR_BTNSHADOW));
}

bool TdxBarShadowPart::IsUsable() const {
  const int s = TdxBarShadow::ShadowSize();
  return FFadeEnds == 0 || (GetWidth() >= s && GetHeight() >= s);
}

void TdxBarShadowPart::BuildImage() {
  if (!IsUsable() || !TdxBarShadow::IsTransparent()) return;
  const int w = GetWidth(), h = GetHeight(), s = TdxBarShadow::ShadowSize();
  FImage->SetPixelFormat(pf32bit);
  FImage->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(FImage->GetScanLine(y));
    for (int x = 0; x < w; ++x) {
      int alpha = FKind == 1 ? 15 * (w - x) : 15 * (h - y);
      // The ends fade over an S by S square, counted from the outside.
      if ((FFadeEnds & feLeft) && x < s) alpha = MulDiv(alpha, x + 1, s + 1);
      if ((FFadeEnds & feRight) && x >= w - s) alpha = MulDiv(alpha, w - x, s + 1);
      if ((FFadeEnds & feTop) && y < s) alpha = MulDiv(alpha, y + 1, s + 1);
      uint8_t* pixel = row + 4 * x;
      pixel[0] = pixel[1] = pixel[2] = 0;
      pixel[3] = static_cast<uint8_t>(std::clamp(alpha, 0, 255));
    }
  }
}

BYTE TdxBarShadowPart::AlphaAt(int X, int Y) const {
  if (FImage->GetEmpty() || X < 0 || Y < 0 || X >= FImage->GetWidth() || Y >= FImage->GetHeight()) return 0;
  return static_cast<const uint8_t*>(FImage->GetScanLine(Y))[4 * X + 3];
}

void TdxBarShadowPart::ShowPart() {
  if (!IsUsable()) return;
  TCustomdxBarControl* owner = FShadow->GetOwner();
  if (!owner->HandleAllocated()) return;
  HWND wnd = GetHandle();
  if (TdxBarShadow::IsTransparent() && !FImage->GetEmpty()) {
    SIZE size{GetWidth(), GetHeight()};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    dxUser32().UpdateLayeredWindow(wnd, nullptr, nullptr, &size, FImage->GetCanvas()->GetHandle(), &origin, 0,
                                   &blend, ULW_ALPHA);
  }
  SetWindowPos(wnd, owner->GetHandle(), 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TdxBarShadowPart::HidePart() {
  if (!HandleAllocated()) return;
  ShowWindow(GetHandle(), SW_HIDE);
  DestroyHandle();
}

// ---- The window's side ----

TdxBarShadow* TCustomdxBarControl::GetShadow() {
  if (!FShadow) FShadow = std::make_unique<TdxBarShadow>(this);
  return FShadow.get();
}

bool TCustomdxBarControl::IsShadowVisible() {
  return HandleAllocated() && IsWindowVisible(GetHandle()) && GetPainter()->HasShadow(this);
}

void TCustomdxBarControl::UpdateShadow() {
  if (!IsShadowVisible()) {
    if (FShadow) FShadow->SetVisible(false);
    return;
  }
  RECT window;
  GetWindowRect(GetHandle(), &window);
  TdxBarShadow* shadow = GetShadow();
  shadow->SetRects(GetOwnerRect(), TRect(window.left, window.top, window.right, window.bottom));
  shadow->SetVisible(true);
}

void TCustomdxBarControl::HideShadow() {
  if (FShadow) FShadow->SetVisible(false);
}
