// The toolbar window: a bar docked in a dock control or floating.
#include "dxBar.h"

TdxBarControl::TdxBarControl(TdxBarManager* AOwner, TdxBar* ABar) : TCustomdxBarControl(AOwner), FBar(ABar) {}

bool TdxBarControl::MarkVisible() const {
  return FBar->ShowMark &&
         (FTruncated || (GetPainter()->SupportsQuickCustomization() && FBar->AllowQuickCustomizing));
}

int TdxBarControl::GetSeparatorSize() const {
  return GetPainter()->GetSeparatorSize();
}

HFONT TdxBarControl::GetFontHandle() const {
  return FBar->GetUseOwnFont() ? FBar->GetFont()->GetHandle() : TCustomdxBarControl::GetFontHandle();
}

HBRUSH TdxBarControl::GetToolbarBrush() const {
  return GetPainter()->GetToolbarWindowBrush(this);
}

void TdxBarControl::UpdateFont() {
  GetFont()->Assign(FBar->GetFont());
}

TRect TdxBarControl::GetCaptionRect() {
  const TdxBarItemControlPainterClass painter = GetPainter();
  TRect r(0, 0, GetWidth(), GetHeight());
  InflateRect(&r, -painter->GetFloatingBorderWidth(), -painter->GetFloatingBorderHeight());
  r.bottom = r.top + painter->GetSmallCaptionSize();
  return r;
}

TRect TdxBarControl::GetCaptionMarkRect() {
  const TRect caption = GetCaptionRect();
  return TRect(caption.left, caption.top, caption.left + caption.Height(), caption.bottom);
}
