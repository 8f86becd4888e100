// The bar window base and the item controls it hosts.
#include "dxBar.h"

#include <algorithm>

// ---- TCustomdxBarControl ----

TCustomdxBarControl::TCustomdxBarControl(TdxBarManager* AOwner)
    : TCustomControl(AOwner), FBarManager(AOwner) {
  RegisterBarControl(this);
  ControlStyle = ControlStyle - TControlStyle{csCaptureMouse};
  SetColor(clBtnFace);
  SetVisible(false);
  SetBounds(100, 100, 50, 30);
}

TCustomdxBarControl::~TCustomdxBarControl() {
  UnregisterBarControl(this);
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

HFONT TCustomdxBarControl::GetFontHandle() const {
  return FBarManager->GetMenuFontHandle();
}

HBRUSH TCustomdxBarControl::GetToolbarBrush() const {
  return GetPainter()->GetToolbarBrush();
}

HBRUSH TCustomdxBarControl::GetCheckedBrush() const {
  return GetPainter()->GetCheckedBrush();
}

HBRUSH TCustomdxBarControl::GetCheckedSelectedBrush() const {
  return GetPainter()->GetCheckedSelectedBrush();
}

HBRUSH TCustomdxBarControl::GetSelectedBrush() const {
  return GetPainter()->GetSelectedBrush();
}

HBRUSH TCustomdxBarControl::GetBarBackgroundBrush() const {
  return GetPainter()->GetBarBackgroundBrush(FBarManager);
}

void TCustomdxBarControl::DrawBackground(HDC DC, const TRect& R, bool UseOrigin, TColor Color, HBRUSH Brush) {
  TRect source = R;
  if (UseOrigin) {
    const TPoint origin = GetBackgroundOrigin();
    OffsetRect(&source, origin.x, origin.y);
  }
  GetPainter()->DrawFloatingBarBackground(this, DC, Color, Brush, source, R);
}

void TCustomdxBarControl::SetDockingStyle(TdxBarDockingStyle Value) {
  if (Value == FDockingStyle) return;
  FDockingStyle = Value;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TCustomdxBarControl::RefreshFrameAndInvalidate() {
  if (HandleAllocated()) SendMessageA(GetHandle(), WM_NCPAINT, 0, 0);
  Invalidate();
}

void TCustomdxBarControl::RefreshFrameAndRepaint() {
  if (HandleAllocated()) SendMessageA(GetHandle(), WM_NCPAINT, 0, 0);
  Repaint();
}

// ---- TdxBarItemControl ----

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* ALink, TCustomdxBarControl* ABarControl)
    : FLink(ALink), FBarControl(ABarControl) {}

TdxBarManager* TdxBarItemControl::GetBarManager() const {
  return FLink ? FLink->GetBarManager() : nullptr;
}

TdxBarItemControlPainterClass TdxBarItemControl::GetPainter() const {
  return FBarControl->GetPainter();
}

bool TdxBarItemControl::GetEnabled() const {
  return FLink && FLink->GetItem() && FLink->GetItem()->GetEnabled();
}
