#include "cxEditPaintUtils.h"

#include "cxBrushCache.h"

#include <algorithm>

namespace {

const int kThemedButtonStates[4] = {4, 1, 3, 2};

// Outline codes of hot-flat spin buttons by button count (2, 4), layout and
// index.
const int kHotFlatCodes[2][3][4] = {{{1, 3, 0, 0}, {3, 2, 0, 0}, {7, 6, 0, 0}},
                                    {{1, 3, 0, 2}, {2, 2, 3, 2}, {5, 4, 3, 2}}};

enum TArrowDirection { adirUp, adirDown, adirLeft, adirRight };

int ArrowDirection(const TcxSpinEditViewInfo* AViewInfo, int AIndex) {
  static const int kHorz[4] = {adirLeft, adirRight, adirLeft, adirRight};
  static const int kVert[4] = {adirDown, adirUp, adirLeft, adirRight};
  return (AViewInfo->ButtonsPosition == sbpVert ? kVert : kHorz)[AIndex & 3];
}

void FillRow(TcxCanvas* ACanvas, HBRUSH ABrush, int X1, int Y1, int X2, int Y2) {
  FillRectWithBrush(ACanvas->GetHandle(), TRect(X1, Y1, X2, Y2), ABrush);
}

// One triangle of ASize rows (or columns) with its block at (X, Y).
void DrawArrow(TcxCanvas* ACanvas, HBRUSH ABrush, int X, int Y, int ASize, int ADirection) {
  const int w = 2 * ASize - 1;
  for (int i = 0; i < ASize; ++i) {
    switch (ADirection) {
    case adirUp:
      FillRow(ACanvas, ABrush, X + ASize - 1 - i, Y + i, X + ASize + i, Y + i + 1);
      break;
    case adirDown:
      FillRow(ACanvas, ABrush, X + i, Y + i, X + w - i, Y + i + 1);
      break;
    case adirLeft:
      FillRow(ACanvas, ABrush, X + i, Y + ASize - 1 - i, X + i + 1, Y + ASize + i);
      break;
    default:
      FillRow(ACanvas, ABrush, X + i, Y + i, X + i + 1, Y + w - i);
      break;
    }
  }
}

void Line(TcxCanvas* ACanvas, int X1, int Y1, int X2, int Y2, TColor AColor) {
  const TPoint points[2] = {TPoint(X1, Y1), TPoint(X2, Y2)};
  DrawSolidPolyLine(ACanvas, points, 1, true, AColor);
}

int HotFlatCode(const TcxSpinEditViewInfo* AViewInfo, int AIndex) {
  return kHotFlatCodes[AViewInfo->ButtonCount() >= 4 ? 1 : 0][AViewInfo->ButtonsPosition][AIndex & 3];
}

void DrawHotFlatOutline(TcxCanvas* ACanvas, int ACode, TRect& R) {
  static const TcxBorders kSides[8] = {
      {bBottom, bLeft, bTop}, cxBordersAll, {bTop, bRight, bBottom}, cxBordersAll, {bTop, bRight, bBottom},
      {bBottom, bRight},      cxBordersAll, {bLeft, bBottom, bRight}};
  ACanvas->FrameRect(R, clBtnShadow, 1, kSides[ACode]);
  if (ACode == 0) ++R.right;
  if (ACode == 2 || ACode == 4 || ACode == 5) --R.left;
  if (ACode == 5 || ACode == 7) --R.top;
  InflateRect(&R, -1, -1);
}

void DrawHotFlatSpinButton(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, int AIndex, TRect R) {
  const TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  DrawHotFlatOutline(ACanvas, HotFlatCode(AViewInfo, AIndex), R);
  static const TColor kBacks[4] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};
  const TColor back = b->Transparent && b->State != ebsDisabled ? b->BackgroundColor : kBacks[b->State];
  TColor arrow = clBtnHighlight;
  if (b->State == ebsDisabled || b->State == ebsNormal)
    arrow = clBtnText;
  else if (b->State == ebsSelected && b->Transparent)
    arrow = clBtnShadow;
  DrawSpinButtonContent(ACanvas, AViewInfo, AIndex, back, arrow, R);
}

int UltraFlatCode(const TcxSpinEditViewInfo* AViewInfo, int AIndex) {
  const int count = AViewInfo->ButtonCount();
  const TcxSpinEditButtonsPosition layout = AViewInfo->ButtonsPosition;
  switch (AIndex) {
  case 0:
    if (layout == sbpVert) return count == 2 ? 6 : 4;
    return count == 2 && layout == sbpHorzLeftRight ? 0 : 1;
  case 1:
    if (count < 3) return layout == sbpVert ? 5 : 2;
    return layout == sbpVert ? 3 : 1;
  case 2:
    return layout == sbpHorzLeftRight ? 0 : 1;
  default:
    return 2;
  }
}

// Codes 0 to 2: one-pixel columns at the sides, rows at top and bottom.
void DrawUltraFlatSides(TcxCanvas* ACanvas, const TcxSpinEditViewInfo* AViewInfo, int ACode, TColor ABack,
                        TRect& R) {
  TColor left = ACode == 0 ? ABack : clHighlight;
  if (ACode == 1 && R.left == AViewInfo->BorderRect.left) left = ABack;
  Line(ACanvas, R.left, R.top, R.left, R.bottom - 1, left);
  ++R.left;
  Line(ACanvas, R.right - 1, R.top, R.right - 1, R.bottom - 1, ACode == 2 ? ABack : clHighlight);
  --R.right;
  Line(ACanvas, R.left, R.top, R.right - 1, R.top, ABack);
  ++R.top;
  Line(ACanvas, R.left, R.bottom - 1, R.right - 1, R.bottom - 1, ABack);
  --R.bottom;
}

// Codes 3 to 6: three sides in the highlight, the fourth in the face.
void DrawUltraFlatOutline(TcxCanvas* ACanvas, const TcxSpinEditViewInfo* AViewInfo, int ACode, TColor ABack,
                          TRect& R) {
  const int l = R.left;
  const int t = R.top;
  const int r = R.right - 1;
  const int b = R.bottom - 1;
  const bool atBorder = R.left == AViewInfo->BorderRect.left;
  switch (ACode) {
  case 3:
    ACanvas->FrameRect(R, clHighlight, 1, {bLeft, bBottom, bRight});
    Line(ACanvas, l + 1, t, r - 1, t, ABack);
    break;
  case 4:
    ACanvas->FrameRect(R, clHighlight, 1, {bLeft, bTop, bRight});
    Line(ACanvas, l + 1, b, r - 1, b, ABack);
    break;
  case 5:
    if (atBorder) {
      Line(ACanvas, l, t, l, b - 2, ABack);
      Line(ACanvas, l, b, r, b, clHighlight);
    } else {
      ACanvas->FrameRect(R, clHighlight, 1, {bLeft, bBottom});
    }
    Line(ACanvas, l, t, r, t, ABack);
    Line(ACanvas, r, t, r, b - 1, ABack);
    break;
  default:
    if (atBorder) {
      Line(ACanvas, l, t + 2, l, b, ABack);
      Line(ACanvas, l, t, r, t, clHighlight);
    } else {
      ACanvas->FrameRect(R, clHighlight, 1, {bLeft, bTop});
    }
    Line(ACanvas, l, b, r, b, ABack);
    Line(ACanvas, r, t + 1, r, b, ABack);
    break;
  }
  InflateRect(&R, -1, -1);
}

void DrawUltraFlatSpinButton(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, int AIndex, TRect R) {
  const TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  const TColor back = GetUltraFlatButtonBackColor(b);
  if (!DrawUltraFlatButtonFrame(ACanvas, AViewInfo, b, R)) {
    const int code = UltraFlatCode(AViewInfo, AIndex);
    if (code <= 2)
      DrawUltraFlatSides(ACanvas, AViewInfo, code, back, R);
    else
      DrawUltraFlatOutline(ACanvas, AViewInfo, code, back, R);
  }
  DrawSpinButtonContent(ACanvas, AViewInfo, AIndex, back, clBtnText, R);
}

} // namespace

void GetArrowExtent(const SIZE& ASize, int ADirection, TRect& R) {
  const int s = std::min(ASize.cx, ASize.cy);
  int a = (s - 1) / 2;
  if (a % 2 == 0) ++a;
  const int h = a / 2 + 1;
  R = ADirection <= adirDown ? TRect(0, 0, a, h) : TRect(0, 0, h, a);
}

void DrawArrows(TcxCanvas* ACanvas, int ASize, const TRect& R, TColor AColor, bool AShifted, bool ADouble,
                int ADirection) {
  const int n = ADouble ? 2 : 1;
  const bool vertical = ADirection <= adirDown;
  const int w = vertical ? 2 * ASize - 1 : n * ASize;
  const int h = vertical ? n * ASize : 2 * ASize - 1;
  int x = R.left + (R.Width() - w) / 2;
  int y = R.top + (R.Height() - h) / 2;
  if (AShifted) {
    ++x;
    ++y;
  }
  HBRUSH brush = CachedSolidBrush(ACanvas, AColor);
  for (int i = 0; i < n; ++i)
    DrawArrow(ACanvas, brush, vertical ? x : x + i * ASize, vertical ? y + i * ASize : y, ASize, ADirection);
}

void CalculateSpinButtonsNativeInfo(TcxCustomEditViewData* AViewData, TcxSpinEditViewInfo* AViewInfo) {
  HTHEME theme = IsThemedPartAvailable(AViewData->NativeStyle, totSpin) ? OpenThemeHandle(totSpin) : nullptr;
  for (auto& button : AViewInfo->ButtonsInfo) {
    if (!theme) {
      button->ThemeState = 0;
      continue;
    }
    button->ThemeState = kThemedButtonStates[button->State];
    button->NativePartTransparent =
        dxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, button->ThemePart, button->ThemeState);
  }
}

void PaintSpinEdit(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo) {
  PaintTextEdit(ACanvas, AViewInfo);
  if (AViewInfo->ButtonCount() == 0 || AViewInfo->ButtonsInfo[0]->ThemeState == 0 ||
      AViewInfo->ButtonsPosition == sbpHorzLeftRight)
    return;
  DrawSolidPolyLine(ACanvas, AViewInfo->DelimiterLine, 1, true, AViewInfo->GetBackgroundColor());
}

void DrawSpinButtonBorder(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, int AIndex, const TRect& R,
                          TcxEditButtonStyle AStyle) {
  const TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  if (b->ThemeState != 0) {
    if (HTHEME theme = OpenThemeHandle(totSpin))
      dxUxTheme::DrawThemeBackground(theme, ACanvas->GetHandle(), b->ThemePart, b->ThemeState, &b->Bounds,
                                     nullptr);
    return;
  }
  switch (AStyle) {
  case btsHotFlat:
    return DrawHotFlatSpinButton(ACanvas, AViewInfo, AIndex, R);
  case btsUltraFlat:
    return DrawUltraFlatSpinButton(ACanvas, AViewInfo, AIndex, R);
  default:
    return DrawEditButtonBorder(ACanvas, AViewInfo, AIndex, R, AStyle);
  }
}

void DrawSpinButtonContent(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, int AIndex, TColor ABackColor,
                           TColor AArrowColor, const TRect& R) {
  const TcxEditButtonViewInfo* b = AViewInfo->ButtonsInfo[AIndex].get();
  ACanvas->FillRect(R, ABackColor);
  const int direction = ArrowDirection(AViewInfo, AIndex);
  const bool twice = AIndex > 1;
  if (b->State != ebsDisabled) {
    DrawArrows(ACanvas, AViewInfo->ArrowSize, R, AArrowColor, b->State == ebsPressed, twice, direction);
    return;
  }
  TRect shifted = R;
  OffsetRect(&shifted, 1, 1);
  DrawArrows(ACanvas, AViewInfo->ArrowSize, shifted, clBtnHighlight, false, twice, direction);
  DrawArrows(ACanvas, AViewInfo->ArrowSize, R, clBtnShadow, false, twice, direction);
}

// ---- The spin view info's own painting ----

void TcxSpinEditViewInfo::DrawButtonBorder(TcxCanvas* ACanvas, int AIndex, const TRect& ARect,
                                           TcxEditButtonStyle AStyle) {
  DrawSpinButtonBorder(ACanvas, this, AIndex, ARect, AStyle);
}

void TcxSpinEditViewInfo::DrawButtonContent(TcxCanvas* ACanvas, int AIndex, TColor ABackColor,
                                            TColor AArrowColor, const TRect& ARect) {
  DrawSpinButtonContent(ACanvas, this, AIndex, ABackColor, AArrowColor, ARect);
}

void TcxSpinEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  PaintSpinEdit(ACanvas, this);
}
