#include "cxEditPaintUtils.h"

#include "cxBrushCache.h"

#include "ImgList.h"

#include <algorithm>
#include <climits>

namespace {

const int kBorderWidths[6] = {0, 1, 2, 2, 2, 1};
const int kButtonHorzMargins[6] = {2, 4, 3, 3, 2, 2};
const int kButtonVertMargins[6] = {0, 4, 2, 2, 2, 2};
const int kThemedButtonStates[4] = {4, 1, 3, 2};
const TColor kHotFlatBackgrounds[4] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};

constexpr int TMT_FILLCOLOR_ = 3802;

// Adds without passing the ends of int: size queries lay out in rectangles
// that reach INT_MAX.
LONG SaturatedAdd(LONG A, int B) {
  const long long sum = static_cast<long long>(A) + B;
  return static_cast<LONG>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

void GrowOnEdges(TRect& R, int W, TcxBorders Edges) {
  if (Edges.Contains(bLeft)) R.left = SaturatedAdd(R.left, -W);
  if (Edges.Contains(bTop)) R.top = SaturatedAdd(R.top, -W);
  if (Edges.Contains(bRight)) R.right = SaturatedAdd(R.right, W);
  if (Edges.Contains(bBottom)) R.bottom = SaturatedAdd(R.bottom, W);
}

// The horizontal and vertical space a theme part keeps around its content.
SIZE ThemeContentMargins(TcxCanvas* ACanvas, TdxThemedObjectType AClass) {
  const TRect probe(0, 0, 100, 100);
  TRect content = probe;
  HTHEME theme = OpenThemeHandle(AClass);
  HDC dc = ACanvas ? ACanvas->GetHandle() : nullptr;
  if (theme) dxUxTheme::GetThemeBackgroundContentRect(theme, dc, 1, 1, &probe, &content);
  return SIZE{probe.Width() - content.Width(), probe.Height() - content.Height()};
}

void DrawThemePart(TcxCanvas* ACanvas, TdxThemedObjectType AClass, int APart, int AState, const TRect& R) {
  if (HTHEME theme = OpenThemeHandle(AClass))
    dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), APart, AState, &R, nullptr);
}

// Saves the device context and restores it when the scope ends, on every
// path.
class TSavedDC {
public:
  explicit TSavedDC(TcxCanvas* ACanvas) : FDC(ACanvas->GetHandle()), FId(SaveDC(FDC)) {}
  ~TSavedDC() { Restore(); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
  void Restore() {
    if (FId == 0) return;
    RestoreDC(FDC, FId);
    FId = 0;
  }

private:
  HDC FDC;
  int FId;
};

void Line(TcxCanvas* ACanvas, int X1, int Y1, int X2, int Y2, TColor AColor) {
  const TPoint points[2] = {TPoint(X1, Y1), TPoint(X2, Y2)};
  DrawSolidPolyLine(ACanvas, points, 1, true, AColor);
}

void ShrinkBy1(TRect& R) {
  InflateRect(&R, -1, -1);
}

bool ReachesOutside(const TRect& R, const TRect& ABorderRect) {
  return R.left < ABorderRect.left || R.top < ABorderRect.top || R.right > ABorderRect.right ||
         R.bottom > ABorderRect.bottom;
}

// Fits the arrow's extent D along one axis around [From, To).
void FitSpan(LONG& From, LONG& To, int D, bool APressed) {
  const int diff = D - (To - From);
  const int half = diff / 2;
  const int odd = diff - 2 * half;
  From -= half;
  if (odd != 0 && !APressed) From -= odd;
  if (odd == 0 && APressed) ++From;
  To = From + D;
}

void DrawThemedEditBorder(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, HBRUSH ABrush,
                          bool AFillBackground, int AMode) {
  if (AViewInfo->IsInplace) {
    if (!AViewInfo->Transparent) FillRectWithBrush(ACanvas->GetHandle(), AViewInfo->Bounds, ABrush);
    return;
  }
  const TRect r = AViewInfo->Bounds;
  TRect content = r;
  if (AMode == 0) {
    if (HTHEME theme = OpenThemeHandle(totEdit))
      dxUxTheme::GetThemeBackgroundContentRect(theme, ACanvas->GetHandle(), 1, AViewInfo->ThemeState, &r,
                                               &content);
  } else if (AMode == 1) {
    InflateRect(&content, -3, -3);
    content.right = AViewInfo->ClientRect.right - 1;
  } else {
    content = AViewInfo->ClientRect;
  }
  {
    TSavedDC saved(ACanvas);
    ACanvas->ExcludeClipRect(content);
    DrawThemePart(ACanvas, totEdit, 1, AViewInfo->ThemeState, r);
  }
  if (AViewInfo->Transparent) return;
  if (!AFillBackground && AMode != 2) {
    FillRectBetween(ACanvas, content, AViewInfo->BorderRect, ABrush);
    return;
  }
  if (AFillBackground) FillRectWithBrush(ACanvas->GetHandle(), content, ABrush);
}

void DrawClassicEditBorder(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, HBRUSH ABrush,
                           bool AFillBackground) {
  const auto style = static_cast<TcxContainerBorderStyle>(AViewInfo->BorderStyle);
  const int w = GetEditBorderWidth(style);
  TRect r = AViewInfo->BorderRect;
  r.left -= w;
  r.top -= w;
  GrowOnEdges(r, w, AViewInfo->Edges * TcxBorders{bRight, bBottom});
  if (AViewInfo->Shadow) DrawContainerShadow(ACanvas, r);
  GrowOnEdges(r, w, TcxBorders{bRight, bBottom} - AViewInfo->Edges);
  switch (style) {
  case cbsSingle:
  case cbsThick:
    ACanvas->FrameRect(r, AViewInfo->BorderColor, w);
    break;
  case cbsFlat:
  case cbs3D:
    ACanvas->DrawEdge(r, true, true, AViewInfo->Edges);
    ShrinkBy1(r);
    if (style == cbsFlat)
      ACanvas->FrameRect(r, clBtnFace);
    else
      ACanvas->DrawTwoToneFrame(r, cl3DDkShadow, cl3DLight, AViewInfo->Edges);
    break;
  default:
    break;
  }
  HDC dc = ACanvas->GetHandle();
  if (AViewInfo->IsInplace) {
    if (AViewInfo->Transparent) return;
    if (AFillBackground)
      FillRectWithBrush(dc, AViewInfo->Bounds, ABrush);
    else if (AViewInfo->HasContentOffset)
      FillRectBetween(ACanvas, AViewInfo->Bounds, AViewInfo->BorderRect, ABrush);
    return;
  }
  if (AFillBackground && !AViewInfo->Transparent) FillRectWithBrush(dc, AViewInfo->BorderRect, ABrush);
}

void DrawNativeButton(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AIndex) {
  TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  if (b->IsSingleDownButton) {
    DrawThemePart(ACanvas, totComboBox, 1, b->ThemeState, b->Bounds);
    return;
  }
  DrawThemePart(ACanvas, totButton, 1, b->ThemeState, b->Bounds);
  TRect content = b->Bounds;
  if (HTHEME theme = OpenThemeHandle(totButton))
    dxUxTheme::GetThemeBackgroundContentRect(theme, ACanvas->GetHandle(), 1, b->ThemeState, &b->Bounds,
                                             &content);
  AViewInfo->DrawButtonContent(ACanvas, AIndex, 0, clBtnText, content);
}

void Draw3DButton(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* b, TRect& R, TColor ABack) {
  if (b->State == ebsPressed) {
    ACanvas->FrameRect(R, clBtnShadow);
    ShrinkBy1(R);
    ACanvas->FrameRect(R, ABack);
  } else {
    ACanvas->DrawTwoToneFrame(R, cl3DLight, cl3DDkShadow);
    ShrinkBy1(R);
    ACanvas->DrawTwoToneFrame(R, clBtnHighlight, clBtnShadow);
  }
  ShrinkBy1(R);
}

void DrawFlatButton(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* b, TRect& R, TColor ABack) {
  Line(ACanvas, R.left, R.top, R.left, R.bottom - 1, ABack);
  ++R.left;
  if (b->State == ebsPressed)
    ACanvas->DrawTwoToneFrame(R, clBtnShadow, clBtnHighlight);
  else
    ACanvas->DrawTwoToneFrame(R, clBtnHighlight, clBtnShadow);
  ShrinkBy1(R);
}

// Returns the content's background colour.
TColor DrawSimpleButton(TcxCanvas* ACanvas, const TcxCustomEditViewInfo* AViewInfo,
                        const TcxEditButtonViewInfo* b, TRect& R) {
  const TColor back = b->State != ebsDisabled ? b->BackgroundColor : clBtnFace;
  if (!AViewInfo->Transparent) ACanvas->FrameRect(R, back);
  ShrinkBy1(R);
  Line(ACanvas, R.left, R.top, R.left, R.bottom - 1,
       AViewInfo->Transparent && !b->Transparent ? clBtnFace : back);
  ++R.left;
  return b->Transparent ? back : clBtnFace;
}

void DrawHotFlatButton(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* b, TRect& R, TColor& ABack,
                       TColor& AArrow) {
  const bool innermost = b->LeftAlignment ? b->IsRightmost : b->IsLeftmost;
  if (innermost) {
    ACanvas->FrameRect(R, clBtnShadow);
  } else if (!b->LeftAlignment) {
    ACanvas->FrameRect(R, clBtnShadow, 1, TcxBorders{bTop, bRight, bBottom});
    --R.left;
  } else {
    ACanvas->FrameRect(R, clBtnShadow, 1, TcxBorders{bTop, bLeft, bBottom});
    ++R.right;
  }
  ShrinkBy1(R);
  const bool transparent = b->State != ebsDisabled && b->Transparent;
  ABack = transparent ? b->BackgroundColor : kHotFlatBackgrounds[b->State];
  if (b->State == ebsDisabled || b->State == ebsNormal)
    AArrow = clBtnText;
  else if (b->State == ebsSelected && b->Transparent)
    AArrow = clBtnShadow;
  else
    AArrow = clWindow;
}

TColor DrawUltraFlatButton(TcxCanvas* ACanvas, const TcxCustomEditViewInfo* AViewInfo,
                           const TcxEditButtonViewInfo* b, TRect& R) {
  const TColor back = GetUltraFlatButtonBackColor(b);
  if (DrawUltraFlatButtonFrame(ACanvas, AViewInfo, b, R)) return back;
  if (b->LeftAlignment) {
    Line(ACanvas, R.left, R.top, R.left, R.bottom - 1, b->IsLeftmost ? back : clHighlight);
    ++R.left;
    Line(ACanvas, R.right - 1, R.top, R.right - 1, R.bottom - 1, clHighlight);
    --R.right;
  } else {
    Line(ACanvas, R.right - 1, R.top, R.right - 1, R.bottom - 1, b->IsRightmost ? back : clHighlight);
    --R.right;
    Line(ACanvas, R.left, R.top, R.left, R.bottom - 1, clHighlight);
    ++R.left;
  }
  Line(ACanvas, R.left, R.top, R.right - 1, R.top, back);
  Line(ACanvas, R.left, R.bottom - 1, R.right - 1, R.bottom - 1, back);
  ++R.top;
  --R.bottom;
  return back;
}

void DrawEllipsisContent(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* b, TColor AArrowColor,
                         const TRect& R) {
  const int dot = R.Width() > 11 ? 2 : 1;
  int x = 0;
  int y = 0;
  GetCenteredPos(R, SIZE{3 * dot + 4, dot}, b->State == ebsPressed, x, y);
  if (b->State != ebsDisabled) {
    DrawEllipsisDots(ACanvas, x, y, dot, AArrowColor);
    return;
  }
  DrawEllipsisDots(ACanvas, x + 1, y + 1, dot, clBtnHighlight);
  DrawEllipsisDots(ACanvas, x, y, dot, clBtnShadow);
}

void DrawDownContent(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* b, TColor AArrowColor, const TRect& R) {
  const bool pressed = b->State == ebsPressed;
  int d = b->Bounds.Width();
  if (b->ButtonStyle == btsHotFlat && b->ThemePart == 0)
    d -= (b->IsRightmost ? 1 : 0) + (b->IsLeftmost ? 1 : 0);
  TRect a = R;
  FitSpan(a.left, a.right, d, pressed);
  if (pressed) OffsetRect(&a, 0, 1);
  if (b->IsInplace) FitSpan(a.top, a.bottom, b->Bounds.Height(), pressed);
  TcxCustomLookAndFeelPainterClass painter = TcxCustomLookAndFeelPainter::Instance();
  if (b->State != ebsDisabled) {
    painter->DrawArrow(ACanvas, a, adDown, AArrowColor);
    return;
  }
  TRect shifted = a;
  OffsetRect(&shifted, 1, 1);
  painter->DrawArrow(ACanvas, shifted, adDown, clBtnHighlight);
  painter->DrawArrow(ACanvas, a, adDown, clBtnShadow);
}

void DrawGlyphContent(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* b, TColor ABackColor, const TRect& R) {
  TBitmap* glyph = b->Glyph;
  const SIZE size{std::min<LONG>(glyph->GetWidth(), R.Width()),
                  std::min<LONG>(glyph->GetHeight(), R.Height())};
  int x = 0;
  int y = 0;
  GetCenteredPos(R, size, b->State == ebsPressed, x, y);
  TRect g(x, y, x + size.cx, y + size.cy);
  IntersectRect(&g, &g, &R);
  const bool enabled = b->State != ebsDisabled;
  if (b->ThemeState != 0) {
    TBitmap background;
    background.SetSize(g.Width(), g.Height());
    TRect part = b->Bounds;
    OffsetRect(&part, -g.left, -g.top);
    TcxCanvas canvas(background.GetCanvas());
    DrawThemePart(&canvas, totButton, 1, b->ThemeState, part);
    DrawGlyph(ACanvas, g.left, g.top, &background, clNone, enabled, glyph);
    return;
  }
  FillRectBetween(ACanvas, R, g, CachedSolidBrush(ACanvas, ABackColor));
  DrawGlyph(ACanvas, g.left, g.top, nullptr, ABackColor, enabled, glyph);
}

} // namespace

// ---- Primitive fills and lines ----

void FillRectWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  ::FillRect(DC, &R, Brush);
}

void FillRectBetween(TcxCanvas* ACanvas, const TRect& AOuter, const TRect& AInner, HBRUSH ABrush) {
  if (IsRectEmpty(&AOuter) || AOuter == AInner) return;
  HDC dc = ACanvas->GetHandle();
  if (IsRectEmpty(&AInner)) return FillRectWithBrush(dc, AOuter, ABrush);
  FillRectWithBrush(dc, TRect(AOuter.left, AOuter.top, AInner.left, AOuter.bottom), ABrush);
  FillRectWithBrush(dc, TRect(AInner.left, AOuter.top, AInner.right, AInner.top), ABrush);
  FillRectWithBrush(dc, TRect(AInner.right, AOuter.top, AOuter.right, AOuter.bottom), ABrush);
  FillRectWithBrush(dc, TRect(AInner.left, AInner.bottom, AInner.right, AOuter.bottom), ABrush);
}

void DrawSolidPolyLine(TcxCanvas* ACanvas, const TPoint* APoints, int ASegmentCount, bool AUseBrush,
                       TColor AColor) {
  const TPoint& last = APoints[ASegmentCount];
  if (!AUseBrush) {
    ACanvas->GetPen()->SetColor(AColor);
    ACanvas->Polyline(APoints, ASegmentCount + 1);
    ACanvas->SetPixel(last.x, last.y, AColor);
    return;
  }
  HBRUSH brush = CachedSolidBrush(ACanvas, AColor);
  HDC dc = ACanvas->GetHandle();
  for (int i = 0; i < ASegmentCount; ++i) {
    const TPoint& a = APoints[i];
    const TPoint& b = APoints[i + 1];
    TRect r(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    if (a.y == b.y)
      ++r.bottom;
    else
      ++r.right;
    FillRectWithBrush(dc, r, brush);
  }
  FillRectWithBrush(dc, TRect(last.x, last.y, last.x + 1, last.y + 1), brush);
}

void GetCenteredPos(const TRect& R, const SIZE& ASize, bool AShiftOdd, int& X, int& Y) {
  const int freeX = R.Width() - ASize.cx;
  const int freeY = R.Height() - ASize.cy;
  X = R.left + freeX / 2;
  Y = R.top + freeY / 2;
  if (!AShiftOdd) return;
  if (freeX % 2 != 0) ++X;
  if (freeY % 2 != 0) ++Y;
}

void DrawEllipsisDots(TcxCanvas* ACanvas, int X, int Y, int ADotSize, TColor AColor) {
  HBRUSH brush = CachedSolidBrush(ACanvas, AColor);
  for (int i = 0; i < 3; ++i) {
    const int left = X + i * (ADotSize + 2);
    FillRectWithBrush(ACanvas->GetHandle(), TRect(left, Y, left + ADotSize, Y + ADotSize), brush);
  }
}

// ---- Glyphs and images ----

bool IsGlyphAssigned(TBitmap* AGlyph) {
  return AGlyph && !AGlyph->GetEmpty() && AGlyph->GetWidth() > 0 && AGlyph->GetHeight() > 0;
}

void DrawGlyph(TcxCanvas* ACanvas, int X, int Y, TBitmap* ABackground, TColor ABkColor, bool AEnabled,
               TBitmap* AGlyph) {
  if (!ABackground) return ACanvas->DrawGlyph(X, Y, AGlyph, AEnabled, ABkColor);
  TcxCanvas background(ABackground->GetCanvas());
  background.DrawGlyph(0, 0, AGlyph, AEnabled, clNone);
  ACanvas->Draw(X, Y, ABackground);
}

void DrawImageOnBackground(TcxCanvas* ACanvas, TCustomImageList* AImages, int AIndex, TBitmap* ABitmap,
                           bool AEnabled, TColor ABkColor, const TRect& R) {
  std::unique_ptr<TBitmap> own;
  if (!ABitmap) {
    own = std::make_unique<TBitmap>();
    own->SetSize(AImages->GetWidth(), AImages->GetHeight());
    TcxCanvas canvas(own->GetCanvas());
    canvas.FillRect(TRect(0, 0, AImages->GetWidth(), AImages->GetHeight()), ABkColor);
    ABitmap = own.get();
  }
  AImages->Draw(ABitmap->GetCanvas(), 0, 0, AIndex, AEnabled);
  ACanvas->Draw(R.left, R.top, ABitmap);
}

// ---- Editor border geometry ----

int GetEditNativeState(TcxCustomEditViewData* AViewData) {
  if (!AViewData->Enabled) return 4;
  if (AViewData->GetProperties()->GetReadOnly()) return 6;
  if (AViewData->ContainerState.Contains(cstFocused)) return 5;
  if (AViewData->ContainerState.Contains(cstHot)) return 2;
  return 1;
}

int GetEditBorderWidth(TcxContainerBorderStyle AContainerBorderStyle) {
  return kBorderWidths[AContainerBorderStyle];
}

void GetEditBorderExtent(TcxCustomEditViewData* AViewData, TRect& R) {
  if (AViewData->IsInplace) {
    R = AViewData->ContentOffset;
    return;
  }
  TcxCustomEditStyle* style = AViewData->GetStyle();
  const bool native = IsThemedPartAvailable(style->GetLookAndFeel()->GetNativeStyle(), totEdit);
  if (style->GetTransparentBorder() || style->GetHotTrack() || native) {
    R = TRect(2, 2, 2, 2);
  } else {
    const int w = GetEditBorderWidth(AViewData->GetEditContainerBorderStyle(0));
    R = TRect(w, w, w, w);
  }
  if (native || !style->GetShadow()) return;
  R.right += 3;
  R.bottom += 3;
}

void GetEditContentMargins(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, TRect& R) {
  if (AViewData->IsInplace) {
    R = AViewData->ContentOffset;
    return;
  }
  if (!AViewData->NativeStyle) return GetEditBorderExtent(AViewData, R);
  const TRect probe(0, 0, 100, 100);
  TRect content = probe;
  if (HTHEME theme = OpenThemeHandle(totEdit))
    dxUxTheme::GetThemeBackgroundContentRect(theme, ACanvas ? ACanvas->GetHandle() : nullptr, 1, 1, &probe,
                                             &content);
  R = TRect(content.left, content.top, 100 - content.right, 100 - content.bottom);
}

bool HasEditShadow(TcxCustomEditViewData* AViewData) {
  TcxCustomEditStyle* style = AViewData->GetStyle();
  return !AViewData->IsInplace && style->GetShadow() &&
         !IsThemedPartAvailable(style->GetLookAndFeel()->GetNativeStyle(), totEdit);
}

void GetEditColors(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo, TColor& ABackground,
                   TColor& ATextColor) {
  TcxCustomEditStyle* style = AViewData->GetStyle();
  if (!AViewData->Enabled)
    ATextColor = clBtnShadow;
  else if (style->IsInternal() || AViewData->IsInplace)
    ATextColor = style->TextColor;
  else
    ATextColor = style->GetFont()->GetColor();
  if (AViewData->Enabled) {
    ABackground = style->GetColor();
    return;
  }
  ABackground = clBtnFace;
  COLORREF color = 0;
  HTHEME theme = AViewInfo->NativeStyle ? OpenThemeHandle(totEdit) : nullptr;
  if (theme && SUCCEEDED(dxUxTheme::GetThemeColor(theme, 1, AViewInfo->ThemeState, TMT_FILLCOLOR_, &color)))
    ABackground = static_cast<TColor>(color);
}

bool CalculateEditBorders(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo) {
  AViewInfo->NativeStyle = AViewData->NativeStyle;
  AViewInfo->ThemeClass = totEdit;
  AViewInfo->ThemePart = 1;
  AViewInfo->ThemeState = AViewData->NativeStyle ? GetEditNativeState(AViewData) : 0;
  AViewData->GetBorderExtent(AViewInfo->BorderExtent);
  AViewInfo->BorderRect = AViewInfo->Bounds;
  ShrinkRect(AViewInfo->BorderRect, AViewInfo->BorderExtent);
  TRect extent;
  GetEditBorderExtent(AViewData, extent);
  AViewInfo->ContentRect = AViewInfo->Bounds;
  ShrinkRect(AViewInfo->ContentRect, extent);
  TcxCustomEditStyle* style = AViewData->GetStyle();
  if (!AViewData->IsInplace) {
    if (AViewData->BorderStyle != ebsUltraFlat) {
      AViewInfo->BorderColor = style->GetBorderColor();
    } else {
      const TcxContainerState state = AViewData->ContainerState;
      const bool highlighted = state.Contains(cstFocused) ||
                               (state.Contains(cstHot) && style->GetHotTrack()) ||
                               (AViewData->IsDesigning && AViewData->Enabled);
      AViewInfo->BorderColor = highlighted ? clHighlight : clBtnShadow;
    }
  }
  TColor background = clWindow;
  GetEditColors(AViewData, AViewInfo, background, AViewInfo->TextColor);
  AViewInfo->SetBackgroundColor(background);
  const TRect& offset = AViewData->ContentOffset;
  AViewInfo->HasContentOffset =
      offset.left != 0 || offset.top != 0 || offset.right != 0 || offset.bottom != 0;
  return AViewInfo->HasContentOffset;
}

int GetEditHotBounds(const TcxCustomEditViewInfo* AViewInfo, const TRect& ABounds, TRect& R) {
  R = ABounds;
  const bool native = AViewInfo->ThemeState != 0;
  if (!native || AViewInfo->IsInplace) ShrinkRect(R, AViewInfo->BorderExtent);
  const int w = native ? 0 : GetEditBorderWidth(static_cast<TcxContainerBorderStyle>(AViewInfo->BorderStyle));
  GrowOnEdges(R, w, AViewInfo->Edges);
  return w;
}

void SetEditWindowRegion(const TcxCustomEditViewInfo* AViewInfo, HWND AWnd) {
  TRect r = AViewInfo->ContentRect;
  GrowOnEdges(r, GetEditBorderWidth(static_cast<TcxContainerBorderStyle>(AViewInfo->BorderStyle)),
              AViewInfo->Edges);
  SetContainerWindowRegion(AWnd, r, AViewInfo->Shadow, AViewInfo->NativeStyle, nullptr);
}

void GetEditPopupOwnerBounds(const TcxCustomEditViewInfo* AViewInfo, TRect& R) {
  R = AViewInfo->Bounds;
  if (AViewInfo->NativeStyle) return;
  if (AViewInfo->Shadow) R.bottom -= 3;
  if (AViewInfo->IsInplace) return;
  const int w = GetEditBorderWidth(static_cast<TcxContainerBorderStyle>(AViewInfo->BorderStyle));
  InflateRect(&R, w - 2, w - 2);
  GrowOnEdges(R, -w, cxBordersAll - AViewInfo->Edges);
}

// ---- Embedded buttons ----

int GetEditButtonHorzMargin(TcxCanvas* ACanvas, const TcxEditButtonViewInfo* AButton) {
  if (AButton->NativeStyle) return ThemeContentMargins(ACanvas, totButton).cx;
  return kButtonHorzMargins[AButton->ButtonStyle];
}

int GetEditButtonVertMargin(TcxCanvas* ACanvas, const TcxCustomEditViewInfo* AViewInfo) {
  if (AViewInfo->NativeStyle) return ThemeContentMargins(ACanvas, totEdit).cy;
  const TcxEditButtonStyle style =
      AViewInfo->ButtonCount() > 0 ? AViewInfo->ButtonsInfo[0]->ButtonStyle : btsDefault;
  return kButtonVertMargins[style];
}

int GetEditButtonWidth(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButton) {
  if (AButton->NativeStyle)
    AButton->NativeStyle = IsThemedPartAvailable(true, AButton->IsSingleDownButton ? totComboBox : totButton);
  const int margin = GetEditButtonHorzMargin(ACanvas, AButton);
  if (AButton->Width > 0) return std::max(AButton->Width, margin);
  if (AButton->Kind == bkGlyph && IsGlyphAssigned(AButton->Glyph)) return AButton->Glyph->GetWidth() + margin;
  return GetSystemMetrics(SM_CYHSCROLL);
}

void CalculateButtonNativeInfo(TcxEditButtonViewInfo* AButton) {
  AButton->ThemePart = 0;
  AButton->ThemeState = 0;
  AButton->NativePartTransparent = false;
  if (!AButton->NativeStyle) return;
  HTHEME theme = OpenThemeHandle(AButton->IsSingleDownButton ? totComboBox : totButton);
  if (!theme) return;
  AButton->ThemePart = 1;
  AButton->ThemeState = kThemedButtonStates[AButton->State];
  AButton->NativePartTransparent =
      dxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, 1, AButton->ThemeState);
}

TColor GetUltraFlatButtonBackColor(const TcxEditButtonViewInfo* b) {
  if (b->State == ebsDisabled) return clBtnFace;
  if (b->Transparent) return b->BackgroundColor;
  switch (b->State) {
  case ebsPressed:
    return BlendHighlightColorDark();
  case ebsSelected:
    return BlendHighlightColorLight();
  default:
    return clBtnFace;
  }
}

bool DrawUltraFlatButtonFrame(TcxCanvas* ACanvas, const TcxCustomEditViewInfo* AViewInfo,
                              const TcxEditButtonViewInfo* b, TRect& R) {
  const bool active = b->State == ebsPressed || b->State == ebsSelected;
  if (active && !b->IsInplace) return false;
  if (active)
    ACanvas->FrameRect(R, clHighlight);
  else if (!AViewInfo->Transparent)
    ACanvas->FrameRect(R, b->BackgroundColor);
  InflateRect(&R, -1, -1);
  return true;
}

// ---- Painting ----

void DrawEditBackgroundAndButtons(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, bool AFillBackground,
                                  int ANativeContentMode) {
  HBRUSH brush = CachedSolidBrush(ACanvas, AViewInfo->GetBackgroundColor());
  const bool hasButtons = AViewInfo->ButtonCount() > 0;
  {
    std::unique_ptr<TSavedDC> saved;
    if (hasButtons && !AViewInfo->ButtonsInfo[0]->NativePartTransparent) {
      saved = std::make_unique<TSavedDC>(ACanvas);
      for (const auto& button : AViewInfo->ButtonsInfo)
        ACanvas->ExcludeClipRect(button->VisibleBounds);
    }
    if (AViewInfo->NativeStyle)
      DrawThemedEditBorder(ACanvas, AViewInfo, brush, AFillBackground, ANativeContentMode);
    else
      DrawClassicEditBorder(ACanvas, AViewInfo, brush, AFillBackground);
  }
  for (int i = 0; i < AViewInfo->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* button = AViewInfo->ButtonsInfo[i].get();
    button->BackgroundColor = AViewInfo->GetBackgroundColor();
    if (IsRectEmpty(&button->VisibleBounds)) continue;
    std::unique_ptr<TNarrowedClip> clip;
    if (ReachesOutside(button->Bounds, AViewInfo->BorderRect))
      clip = std::make_unique<TNarrowedClip>(ACanvas, button->VisibleBounds);
    AViewInfo->PaintEditButton(ACanvas, i);
  }
}

void DrawEditButton(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AIndex) {
  const TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  TcxEditButtonStyle style = b->ButtonStyle;
  if (!b->NativeStyle && style == btsSimple && (b->State == ebsPressed || b->State == ebsSelected))
    style = btsFlat;
  AViewInfo->DrawButtonBorder(ACanvas, AIndex, b->Bounds, style);
}

void DrawEditButtonBorder(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AIndex, const TRect& R,
                          TcxEditButtonStyle AStyle) {
  const TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  if (b->ThemeState != 0) return DrawNativeButton(ACanvas, AViewInfo, AIndex);
  TRect r = R;
  TColor back = b->State != ebsDisabled && b->Transparent ? b->BackgroundColor : clBtnFace;
  TColor arrow = clBtnText;
  switch (AStyle) {
  case bts3D:
    Draw3DButton(ACanvas, b, r, back);
    break;
  case btsFlat:
    DrawFlatButton(ACanvas, b, r, back);
    break;
  case btsSimple:
    back = DrawSimpleButton(ACanvas, AViewInfo, b, r);
    break;
  case btsHotFlat:
    DrawHotFlatButton(ACanvas, b, r, back, arrow);
    break;
  case btsUltraFlat:
    back = DrawUltraFlatButton(ACanvas, AViewInfo, b, r);
    break;
  default:
    break;
  }
  AViewInfo->DrawButtonContent(ACanvas, AIndex, back, arrow, r);
}

void DrawEditButtonContent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AIndex,
                           TColor ABackColor, TColor AArrowColor, const TRect& R) {
  const TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  if (IsRectEmpty(&R)) return;
  const bool glyph = b->Kind == bkGlyph && IsGlyphAssigned(b->Glyph);
  if (!b->NativeStyle && !glyph) ACanvas->FillRect(R, ABackColor);
  switch (b->Kind) {
  case bkEllipsis:
    return DrawEllipsisContent(ACanvas, b, AArrowColor, R);
  case bkDown:
    return DrawDownContent(ACanvas, b, AArrowColor, R);
  case bkGlyph:
    if (glyph) DrawGlyphContent(ACanvas, b, ABackColor, R);
    return;
  }
}

// ---- Check box ----

int CheckBoxWidth = 0;
int CheckBoxHeight = 0;

void InitCheckBoxSize() {
  HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759));
  BITMAP info{};
  if (bitmap && ::GetObjectA(bitmap, sizeof(info), &info)) {
    CheckBoxWidth = info.bmWidth / 4;
    CheckBoxHeight = info.bmHeight / 3;
  }
  if (bitmap) DeleteObject(bitmap);
}
