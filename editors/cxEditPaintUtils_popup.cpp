#include "cxEditPaintUtils.h"

#include "cxDropDownEdit.h"

#include <algorithm>

namespace {

const int kPopupFrameWidths[4] = {0, 1, 4, 2};
const int kPopupClientEdgeWidths[4] = {0, 2, 2, 1};

constexpr int kShadowSize = 3;
constexpr int kWindowCloseButtonPart = 18;
constexpr int kScrollBarSizeBoxPart = 10;
constexpr int TS_TRUE_ = 1;

bool IsEmptyBox(const TRect& R) {
  return R.right <= R.left || R.bottom <= R.top;
}

void Shrink(TRect& R, int D) {
  InflateRect(&R, -D, -D);
}

// The true size of a theme part in state 1; none without the theme.
bool GetThemedPartSize(bool ANative, TdxThemedObjectType AClass, int APart, SIZE& ASize) {
  if (!IsNativeBorderAvailable(ANative, AClass)) return false;
  ASize = SIZE{0, 0};
  dxUxTheme::GetThemePartSize(OpenThemeHandle(AClass), nullptr, APart, 1, nullptr, TS_TRUE_, &ASize);
  return true;
}

bool IsWindowThemed(const TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  return AViewInfo->HasSysPanel && IsNativeBorderAvailable(AViewInfo->UseNativeStyle, totWindow);
}

bool HasPanelSeparator(const TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  return AViewInfo->UseNativeStyle || AViewInfo->BorderKind == epbsSingle;
}

// The strip of R PanelHeight high on the grip's side.
TRect PanelStrip(const TRect& R, const TcxCustomEditPopupWindowViewInfo* AViewInfo, int AHeight) {
  if (AViewInfo->IsGripAtBottom()) return TRect(R.left, R.bottom - AHeight, R.right, R.bottom);
  return TRect(R.left, R.top, R.right, R.top + AHeight);
}

void DrawRaisedRings(TcxCanvas* ACanvas, TRect& R) {
  ACanvas->DrawEdge(R, false, true);
  Shrink(R, 1);
  ACanvas->DrawEdge(R, false, false);
}

} // namespace

int GetPopupClientEdgeWidth(const TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  if (!AViewInfo->HasClientEdge) return 0;
  return AViewInfo->UseNativeStyle ? 2 : kPopupClientEdgeWidths[AViewInfo->BorderKind];
}

int GetPopupBorderWidth(const TcxCustomEditPopupWindowViewInfo* AViewInfo, bool AWithClientEdge) {
  const int frame = AViewInfo->UseNativeStyle ? 1 : kPopupFrameWidths[AViewInfo->BorderKind];
  return frame + (AWithClientEdge ? GetPopupClientEdgeWidth(AViewInfo) : 0);
}

int GetPopupPanelMinHeight(const TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  int result = std::max(GetSystemMetrics(SM_CYHSCROLL), GetSystemMetrics(SM_CYSIZE));
  if (!IsWindowThemed(AViewInfo)) return result;
  SIZE size;
  if (GetThemedPartSize(true, totWindow, kWindowCloseButtonPart, size))
    result = std::max<int>(result, size.cy);
  if (GetThemedPartSize(true, totScrollBar, kScrollBarSizeBoxPart, size))
    result = std::max<int>(result, size.cy);
  return result;
}

void GetPopupBorderExtent(TcxCustomEditPopupWindowViewInfo* AViewInfo, TRect& R) {
  const int w = GetPopupBorderWidth(AViewInfo, true);
  R = TRect(w, w, w, w);
  if (AViewInfo->HasShadow) {
    R.right += kShadowSize;
    R.bottom += kShadowSize;
  }
  AViewInfo->PanelHeight = 0;
  if (AViewInfo->HasSysPanel) {
    AViewInfo->PanelHeight = AViewInfo->GetSysPanelHeight();
    const int panel = AViewInfo->PanelHeight + (HasPanelSeparator(AViewInfo) ? 1 : 0);
    (AViewInfo->IsGripAtBottom() ? R.bottom : R.top) += panel;
  }
  AViewInfo->EdgeSizingWidth = std::max(GetSystemMetrics(SM_CYHSCROLL), GetSystemMetrics(SM_CYSIZE));
}

void CalculatePopupWindowLayout(TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  TRect e;
  GetPopupBorderExtent(AViewInfo, e);
  const TRect whole(0, 0, AViewInfo->Bounds.Width(), AViewInfo->Bounds.Height());
  AViewInfo->ClientRect =
      TRect(whole.left + e.left, whole.top + e.top, whole.right - e.right, whole.bottom - e.bottom);
  TRect inner = whole;
  Shrink(inner, GetPopupBorderWidth(AViewInfo, !AViewInfo->HasSysPanel));
  if (AViewInfo->HasShadow) {
    inner.right -= kShadowSize;
    inner.bottom -= kShadowSize;
  }
  AViewInfo->InnerBounds = inner;
  AViewInfo->CloseButtonThemeState = IsWindowThemed(AViewInfo) ? AViewInfo->CloseButtonMouseState : 0;
  if (!AViewInfo->HasSysPanel) return;
  if (AViewInfo->IsSizeable) CalculatePopupSizeGrip(AViewInfo);
  CalculatePopupCloseButton(AViewInfo);
}

void CalculatePopupSizeGrip(TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  TRect r = AViewInfo->InnerBounds;
  int w = GetPopupPanelMinHeight(AViewInfo) - 2;
  int h = w;
  SIZE size;
  if (GetThemedPartSize(AViewInfo->UseNativeStyle, totScrollBar, kScrollBarSizeBoxPart, size)) {
    w = std::max<int>(w, size.cx + 2);
    h = std::max<int>(h, size.cy + 2);
  }
  const bool right = AViewInfo->IsGripAtRight();
  const bool bottom = AViewInfo->IsGripAtBottom();
  if (right)
    r.left = r.right - w;
  else
    r.right = r.left + w;
  if (bottom)
    r.top = r.bottom - h;
  else
    r.bottom = r.top + h;
  AViewInfo->GripHitRect = r;
  (right ? r.right : r.left) += right ? -2 : 2;
  (bottom ? r.bottom : r.top) += bottom ? -2 : 2;
  AViewInfo->GripRect = r;
}

void CalculatePopupCloseButton(TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  if (!AViewInfo->ShowCloseButton) {
    AViewInfo->CloseButtonBounds = TRect();
    return;
  }
  TRect r = AViewInfo->InnerBounds;
  const bool themed = AViewInfo->CloseButtonThemeState != 0;
  SIZE size;
  if (!themed || !GetThemedPartSize(true, totWindow, kWindowCloseButtonPart, size)) {
    const int side = GetPopupPanelMinHeight(AViewInfo) - 4;
    size = SIZE{side, side};
  }
  const bool right = AViewInfo->IsGripAtRight();
  if (!themed) (right ? r.left : r.right) += right ? 2 : -2;
  if (right) {
    r.right = r.left + size.cx;
    OffsetRect(&r, 1, 0);
  } else {
    r.left = r.right - size.cx;
    OffsetRect(&r, -1, 0);
  }
  const int inset = themed ? (AViewInfo->PanelHeight - size.cy) / 2 : 2;
  if (AViewInfo->IsGripAtBottom()) {
    r.bottom -= inset;
    r.top = r.bottom - size.cy;
  } else {
    r.top += inset;
    r.bottom = r.top + size.cy;
  }
  AViewInfo->CloseButtonBounds = r;
}

void DrawPopupBorder(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo, TRect& R) {
  const TcxEditPopupBorderStyle kind = AViewInfo->BorderKind;
  if (AViewInfo->UseNativeStyle || kind == epbsSingle) {
    ACanvas->FrameRect(R, clBtnText);
  } else if (kind == epbsFrame3D || kind == epbsFlat) {
    DrawRaisedRings(ACanvas, R);
    if (kind == epbsFrame3D) {
      Shrink(R, 1);
      ACanvas->FrameRect(R, AViewInfo->HasClientEdge ? clInactiveBorder : clBtnFace);
      Shrink(R, 1);
      if (AViewInfo->HasClientEdge)
        ACanvas->FrameRect(R, clBtnFace);
      else
        ACanvas->DrawEdge(R, true, true);
    }
  }
  Shrink(R, 1);
}

void DrawPopupEditBorder(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo, TRect& R) {
  if (AViewInfo->UseNativeStyle || AViewInfo->BorderKind != epbsFrame3D)
    return DrawPopupBorder(ACanvas, AViewInfo, R);
  DrawRaisedRings(ACanvas, R);
  Shrink(R, 1);
  ACanvas->FrameRect(R, clInactiveBorder);
  Shrink(R, 1);
  ACanvas->FrameRect(R, clBtnFace);
  Shrink(R, 1);
}

void DrawPopupCloseButton(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  const TRect r = AViewInfo->CloseButtonBounds;
  const int state = AViewInfo->CloseButtonMouseState;
  HTHEME theme = AViewInfo->CloseButtonThemeState != 0 ? OpenThemeHandle(totWindow) : nullptr;
  if (!theme) {
    GetEditPainterClass(AViewInfo->UseNativeStyle, AViewInfo->CloseButtonKind)
        ->DrawFilterCloseButton(ACanvas, r, static_cast<TcxButtonState>(state));
    return;
  }
  AViewInfo->CloseButtonThemeState = state;
  if (dxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, kWindowCloseButtonPart, state))
    ACanvas->FillRect(r, clBtnFace);
  dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), kWindowCloseButtonPart, state, &r, nullptr);
  ACanvas->ExcludeClipRect(r);
}

void PaintSizeGrip(TcxCanvas* ACanvas, const TRect& R, int ACorner, bool ANative) {
  ACanvas->FillRect(R, clBtnFace);
  SIZE size{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  SIZE themed;
  if (GetThemedPartSize(ANative, totScrollBar, kScrollBarSizeBoxPart, themed))
    size = SIZE{themed.cx + 2, themed.cy + 2};
  const bool right = ACorner == 1 || ACorner == 3;
  const bool bottom = ACorner >= 2;
  TRect g(right ? R.right - size.cx : R.left, bottom ? R.bottom - size.cy : R.top,
          right ? R.right : R.left + size.cx, bottom ? R.bottom : R.top + size.cy);
  (right ? g.left : g.right) += right ? 2 : -2;
  (bottom ? g.top : g.bottom) += bottom ? 2 : -2;
  const int w = g.Width();
  const int h = g.Height();
  if (w <= 0 || h <= 0) return;
  HDC dc = ACanvas->GetHandle();
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT local{0, 0, w, h};
  FillRect(memory, &local, GetSysColorBrush(COLOR_BTNFACE));
  if (IsNativeBorderAvailable(ANative, totScrollBar))
    dxUxTheme::DrawThemeBackground(OpenThemeHandle(totScrollBar), memory, kScrollBarSizeBoxPart, 1, &local,
                                   nullptr);
  else
    DrawFrameControl(memory, &local, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // The grip lines always point into the corner.
  StretchBlt(dc, right ? g.left : g.right - 1, bottom ? g.top : g.bottom - 1, right ? w : -w, bottom ? h : -h,
             memory, 0, 0, w, h, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

namespace {

void DrawPanelSeparator(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  TRect c = AViewInfo->ClientRect;
  if (AViewInfo->HasClientEdge)
    InflateRect(&c, GetPopupClientEdgeWidth(AViewInfo), GetPopupClientEdgeWidth(AViewInfo));
  const int y = AViewInfo->IsGripAtBottom() ? c.bottom : c.top - 1;
  ACanvas->FillRect(TRect(c.left, y, c.right, y + 1), clBtnText);
}

void DrawClientEdge(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo, const TRect& R) {
  int panel = AViewInfo->PanelHeight;
  if (AViewInfo->HasSysPanel && HasPanelSeparator(AViewInfo)) ++panel;
  TRect e = R;
  (AViewInfo->IsGripAtBottom() ? e.bottom : e.top) += AViewInfo->IsGripAtBottom() ? -panel : panel;
  ACanvas->DrawEdge(e, true, true);
  if (!AViewInfo->UseNativeStyle && AViewInfo->BorderKind == epbsFlat) return;
  Shrink(e, 1);
  ACanvas->DrawEdge(e, true, false);
}

} // namespace

void PaintPopupWindow(TcxCanvas* ACanvas, TcxCustomEditPopupWindowViewInfo* AViewInfo) {
  TRect r(0, 0, AViewInfo->Bounds.Width(), AViewInfo->Bounds.Height());
  if (AViewInfo->HasShadow) {
    r.right -= kShadowSize;
    r.bottom -= kShadowSize;
    DrawContainerShadow(ACanvas, r);
  }
  AViewInfo->DrawPopupFrame(ACanvas, r);
  if (AViewInfo->HasSysPanel &&
      (AViewInfo->BorderKind == epbsSingle || AViewInfo->CloseButtonThemeState != 0))
    DrawPanelSeparator(ACanvas, AViewInfo);
  if (AViewInfo->HasClientEdge) DrawClientEdge(ACanvas, AViewInfo, r);
  if (AViewInfo->HasSysPanel) {
    if (AViewInfo->IsSizeable) {
      PaintSizeGrip(ACanvas, AViewInfo->GripRect, AViewInfo->GripCorner, AViewInfo->UseNativeStyle);
      ACanvas->ExcludeClipRect(AViewInfo->GripRect);
    }
    if (!IsEmptyBox(AViewInfo->CloseButtonBounds)) {
      DrawPopupCloseButton(ACanvas, AViewInfo);
      ACanvas->ExcludeClipRect(AViewInfo->CloseButtonBounds);
    }
  }
  ACanvas->FillRect(AViewInfo->ClientRect, clBtnFace);
  ACanvas->FillRect(PanelStrip(r, AViewInfo, AViewInfo->PanelHeight), clBtnFace);
}

// ---- TcxCustomEditPopupWindowViewInfo ----

void TcxCustomEditPopupWindowViewInfo::Calculate() {
  CalculatePopupWindowLayout(this);
}

void TcxCustomEditPopupWindowViewInfo::DrawPopupFrame(TcxCanvas* ACanvas, TRect& R) {
  DrawPopupBorder(ACanvas, this, R);
}

TRect TcxCustomEditPopupWindowViewInfo::GetBorderExtent() {
  TRect r;
  GetPopupBorderExtent(this, r);
  return r;
}

int TcxCustomEditPopupWindowViewInfo::GetSysPanelHeight() {
  const int height = GetPopupPanelMinHeight(this);
  return MinPanelHeight > 0 ? std::max(height, MinPanelHeight) : height;
}

bool TcxCustomEditPopupWindowViewInfo::GetSizingDirection(int X, int Y, int& ADX, int& ADY) {
  ADX = ADY = 0;
  const TPoint p(X, Y);
  const TRect whole(0, 0, Bounds.Width(), Bounds.Height());
  if (!IsSizeable || !whole.Contains(p)) return false;
  const bool inGrip = HasSysPanel && GripHitRect.Contains(p);
  if (InnerBounds.Contains(p) && !inGrip) return false;
  if (inGrip) {
    ADX = IsGripAtRight() ? 1 : -1;
    ADY = IsGripAtBottom() ? 1 : -1;
    return true;
  }
  if (!IsGripAtRight() && X < EdgeSizingWidth) ADX = -1;
  if (IsGripAtRight() && X >= whole.right - EdgeSizingWidth) ADX = 1;
  if (!IsGripAtBottom() && Y < EdgeSizingWidth) ADY = -1;
  if (IsGripAtBottom() && Y >= whole.bottom - EdgeSizingWidth) ADY = 1;
  return ADX != 0 || ADY != 0;
}

void TcxCustomEditPopupWindowViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  PaintPopupWindow(ACanvas, this);
}
