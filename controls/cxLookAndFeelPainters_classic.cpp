// The standard, flat and ultra-flat looks.
#include "cxLookAndFeelPainters_internal.h"

using namespace cxpainters;

namespace {

TRect Inflated(const TRect& R, int d) {
  TRect result = R;
  InflateRect(&result, -d, -d);
  return result;
}

void DrawScrollButtonBorder(TcxCanvas* ACanvas, const TRect& R, bool APressedArrow) {
  if (APressedArrow) {
    ACanvas->DrawTwoToneFrame(R, clBtnShadow, clBtnShadow);
    ACanvas->DrawTwoToneFrame(Inflated(R, 1), clBtnFace, clBtnFace);
  } else {
    ACanvas->DrawTwoToneFrame(R, clBtnFace, cl3DDkShadow);
    ACanvas->DrawTwoToneFrame(Inflated(R, 1), clBtnHighlight, clBtnShadow);
  }
}

UINT ScrollArrowFrameState(bool AHorizontal, TcxScrollBarPart APart) {
  if (AHorizontal) return APart == sbpLineUp ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
  return APart == sbpLineUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
}

} // namespace

namespace cxpainters {

void DrawRaisedHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors) {
  ACanvas->DrawEdge(R, false, false);
  if (ANeighbors.Contains(bLeft)) {
    ACanvas->SetPixel(R.left, R.top + 1, clBtnFace);
    ACanvas->SetPixel(R.left, R.bottom - 2, clBtnFace);
  }
  if (ANeighbors.Contains(bRight)) {
    ACanvas->SetPixel(R.right - 1, R.top, clBtnHighlight);
    ACanvas->SetPixel(R.right - 1, R.top + 1, clBtnFace);
    ACanvas->SetPixel(R.right - 1, R.bottom - 2, clBtnFace);
  }
}

void DrawStandardFilterDropDownButton(const TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas,
                                      const TRect& R, TcxButtonState AState, bool AActive) {
  const bool pressed = AState == cxbsPressed;
  ACanvas->DrawEdge(R, pressed, pressed);
  const TRect r = Inflated(R, 1);
  ACanvas->FillRect(r, clBtnFace);
  APainter->DrawDropDownArrow(ACanvas, r, AActive ? clBlue : clBtnText);
}

void DrawStandardTabFrame(TcxCanvas* ACanvas, TRect R, TcxBorder ASide, TcxBorders ABorders, bool AVertical) {
  TColor color = clBtnHighlight;
  if (!AVertical) {
    if (ASide == bLeft || ASide == bRight) {
      if (ABorders.Contains(bTop)) R.top += 2;
      if (ABorders.Contains(bBottom)) R.bottom -= 1;
    } else if (ASide == bTop) {
      ++R.left;
      --R.right;
      ACanvas->SetPixel(R.left - 1, R.top + 1, clBtnHighlight);
      ACanvas->SetPixel(R.right, R.top + 1, clBtnHighlight);
    }
    if (ASide == bRight) color = clBtnShadow;
  } else {
    if (ASide == bLeft) {
      R.top += ABorders.Contains(bTop) ? 2 : 1;
      R.bottom -= ABorders.Contains(bBottom) ? 2 : 1;
      ACanvas->SetPixel(R.left + 1, R.top - 1, clBtnHighlight);
      ACanvas->SetPixel(R.left + 1, R.bottom, clBtnHighlight);
    } else if (ABorders.Contains(bLeft)) {
      ++R.left;
    }
    if (ASide == bBottom) color = clBtnShadow;
  }
  ACanvas->FillRect(R, color);
}

void DrawFlatScrollBarPart(const TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas, bool AHorizontal,
                           const TRect& R, TcxScrollBarPart APart, TcxButtonState AState, bool AUltraFlat) {
  if (IsRectEmpty(&R) || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  if (!AUltraFlat && AState == cxbsHot) AState = cxbsNormal;
  switch (APart) {
  case sbpPageUp:
  case sbpPageDown:
    DrawScrollBarPage(ACanvas, R, AState == cxbsPressed);
    return;
  case sbpLineUp:
  case sbpLineDown:
  case sbpThumbnail: {
    APainter->DrawPushButton(ACanvas, R, "", AState, true, clDefault, clDefault);
    if (APart == sbpThumbnail) return;
    const TRect r = AUltraFlat ? R : Inflated(R, APainter->GetButtonBorderWidth(cxbsNormal));
    APainter->DrawStateArrow(ACanvas, r, AState, ScrollBarArrowDirection(AHorizontal, APart));
    return;
  }
  default:
    return;
  }
}

} // namespace cxpainters

// ---- TcxStandardLookAndFeelPainter ----

TcxCustomLookAndFeelPainterClass TcxStandardLookAndFeelPainter::Instance() {
  static const TcxStandardLookAndFeelPainter painter;
  return &painter;
}

void TcxStandardLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawTwoToneFrame(R, clBtnShadow, clBtnHighlight);
  ACanvas->DrawTwoToneFrame(Inflated(R, 1), cl3DDkShadow, cl3DLight);
}

void TcxStandardLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R,
                                                    TcxButtonState AState) const {
  TRect r = R;
  if (AState == cxbsPressed || AState == cxbsDefault) {
    ACanvas->FrameRect(r, clBlack);
    r = Inflated(r, 1);
  }
  if (AState == cxbsPressed) {
    ACanvas->DrawTwoToneFrame(r, clBtnShadow, clBtnShadow);
    return;
  }
  ACanvas->DrawTwoToneFrame(r, clBtnHighlight, cl3DDkShadow);
  ACanvas->DrawTwoToneFrame(Inflated(r, 1), cl3DLight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                         TColor AColor) const {
  ACanvas->DrawEdge(R, false, false, TcxBorders{bLeft, bTop});
  ACanvas->DrawEdge(R, false, true, TcxBorders{bRight, bBottom});
  TRect r = Inflated(R, 1);
  ACanvas->DrawEdge(r, false, false, TcxBorders{bRight, bBottom});
  --r.right;
  --r.bottom;
  ACanvas->FillRect(r, AColor == clDefault ? clBtnFace : AColor);
  DrawExpandSign(ACanvas, r, AExpanded, clBtnText);
  ACanvas->ExcludeClipRect(R);
}

void TcxStandardLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState) const {
  ACanvas->DrawEdge(R, true, false);
  ACanvas->DrawEdge(Inflated(R, 1), true, true);
}

void TcxStandardLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R,
                                                    TcxNeighbors ANeighbors, TcxBorders) const {
  DrawRaisedHeaderFrame(ACanvas, R, ANeighbors);
}

void TcxStandardLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortArrowLines(ACanvas, R, AAscending, GetSortArrowSize(), clBtnHighlight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawEdge(R, false, false);
}

void TcxStandardLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawEdge(R, true, true);
}

void TcxStandardLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                                             TcxButtonState AState, bool AActive) const {
  DrawStandardFilterDropDownButton(this, ACanvas, R, AState, AActive);
}

void TcxStandardLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide,
                                                 TcxBorders ABorders, bool AVertical) const {
  DrawStandardTabFrame(ACanvas, R, ASide, ABorders, AVertical);
}

void TcxStandardLookAndFeelPainter::DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R,
                                                       TcxBorders ABorders, bool) const {
  ACanvas->DrawEdge(R, false, false, ABorders);
}

void TcxStandardLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                      TcxScrollBarPart APart, TcxButtonState AState) const {
  if (IsRectEmpty(&R) || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  const bool pressed = AState == cxbsPressed;
  switch (APart) {
  case sbpPageUp:
  case sbpPageDown:
    DrawScrollBarPage(ACanvas, R, pressed);
    return;
  case sbpThumbnail:
    DrawScrollButtonBorder(ACanvas, R, false);
    ACanvas->FillRect(Inflated(R, GetButtonBorderWidth(cxbsNormal)), clBtnFace);
    return;
  case sbpLineUp:
  case sbpLineDown: {
    TRect r = R;
    if (pressed) OffsetRect(&r, 1, 1);
    const UINT state = ScrollArrowFrameState(AHorizontal, APart) |
                       (AState == cxbsDisabled ? DFCS_INACTIVE : 0) | (pressed ? DFCS_FLAT : 0);
    DrawFrameControl(ACanvas->GetHandle(), &r, DFC_SCROLL, state);
    DrawScrollButtonBorder(ACanvas, R, pressed);
    return;
  }
  default:
    return;
  }
}

// ---- TcxFlatLookAndFeelPainter ----

TcxCustomLookAndFeelPainterClass TcxFlatLookAndFeelPainter::Instance() {
  static const TcxFlatLookAndFeelPainter painter;
  return &painter;
}

void TcxFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawEdge(R, true, true);
}

void TcxFlatLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R,
                                                TcxButtonState AState) const {
  if (AState == cxbsPressed) {
    ACanvas->DrawTwoToneFrame(R, clBtnShadow, clBtnHighlight);
    return;
  }
  TRect r = R;
  if (AState == cxbsDefault) {
    ACanvas->FrameRect(r, clBlack);
    r = Inflated(r, 1);
  }
  ACanvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                     TColor AColor) const {
  DrawPushButton(ACanvas, R, "", cxbsNormal, true, AColor, clDefault);
  DrawExpandSign(ACanvas, Inflated(R, 1), AExpanded, clBtnText);
  ACanvas->ExcludeClipRect(R);
}

void TcxFlatLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R,
                                               TcxButtonState AState) const {
  ACanvas->DrawEdge(R, true, true);
  ACanvas->FrameRect(Inflated(R, 1), GetCheckBackgroundColor(AState));
}

void TcxFlatLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                                                TcxBorders) const {
  DrawRaisedHeaderFrame(ACanvas, R, ANeighbors);
}

void TcxFlatLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortArrowLines(ACanvas, R, AAscending, GetSortArrowSize(), clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawEdge(R, false, false);
}

void TcxFlatLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawEdge(R, true, true);
}

void TcxFlatLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                                         TcxButtonState AState, bool AActive) const {
  DrawStandardFilterDropDownButton(this, ACanvas, R, AState, AActive);
}

void TcxFlatLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide,
                                             TcxBorders ABorders, bool AVertical) const {
  DrawStandardTabFrame(ACanvas, R, ASide, ABorders, AVertical);
}

void TcxFlatLookAndFeelPainter::DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                   bool) const {
  ACanvas->DrawEdge(R, false, false, ABorders);
}

void TcxFlatLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                  TcxScrollBarPart APart, TcxButtonState AState) const {
  DrawFlatScrollBarPart(this, ACanvas, AHorizontal, R, APart, AState, false);
}

// ---- TcxUltraFlatLookAndFeelPainter ----

TcxCustomLookAndFeelPainterClass TcxUltraFlatLookAndFeelPainter::Instance() {
  static const TcxUltraFlatLookAndFeelPainter painter;
  return &painter;
}

void TcxUltraFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FrameRect(R, clBtnShadow);
}

TColor TcxUltraFlatLookAndFeelPainter::GetButtonFaceColor(TcxButtonState AState) const {
  if (AState == cxbsHot) return BlendHighlightColorLight();
  if (AState == cxbsPressed) return BlendHighlightColorDark();
  return clBtnFace;
}

TRect TcxUltraFlatLookAndFeelPainter::CalculateButtonFocusRect(TcxCanvas*, const TRect& R) const {
  const TRect result = Inflated(R, 3);
  return IsRectEmpty(&result) ? R : result;
}

TColor TcxUltraFlatLookAndFeelPainter::GetButtonGlyphColor(TcxButtonState AState) const {
  if (AState == cxbsPressed) return clHighlightText;
  return TcxCustomLookAndFeelPainter::GetButtonGlyphColor(AState);
}

void TcxUltraFlatLookAndFeelPainter::DrawPlainButton(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState, int AButtonCount,
                                                     int AButtonIndex, TColor ABorderColor) const {
  const bool first = AButtonIndex == 0;
  const bool last = AButtonIndex == AButtonCount - 1;
  TRect r(R.left + (first ? 1 : 0), R.top + 1, R.right - (last ? 1 : 0), R.bottom - 1);
  if (AState == cxbsNormal || AState == cxbsDisabled) {
    ACanvas->FrameRect(r, ABorderColor);
    r = Inflated(r, 1);
  } else {
    ACanvas->SetBrushColor(clHighlight);
    if (!first) {
      ACanvas->FillRect(TRect(r.left, r.top, r.left + 1, r.bottom));
      ++r.left;
    }
    if (!last) {
      ACanvas->FillRect(TRect(r.right - 1, r.top, r.right, r.bottom));
      --r.right;
    }
  }
  ACanvas->FillRect(r, GetButtonFaceColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) const {
  switch (AState) {
  case cxbsDefault:
    ACanvas->FrameRect(R, clWindowFrame);
    ACanvas->FrameRect(Inflated(R, 1), clWindowFrame);
    return;
  case cxbsNormal:
    ACanvas->FrameRect(R, clBtnText);
    return;
  default:
    ACanvas->FrameRect(R, clHighlight);
    return;
  }
}

void TcxUltraFlatLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                          TColor AColor) const {
  ACanvas->FrameRect(R, clBtnShadow);
  const TRect r = Inflated(R, 1);
  ACanvas->FillRect(r, AColor == clDefault ? clBtnFace : AColor);
  DrawExpandSign(ACanvas, r, AExpanded, clBtnText);
  ACanvas->ExcludeClipRect(R);
}

void TcxUltraFlatLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R,
                                                    TcxButtonState AState) const {
  ACanvas->FrameRect(R, clBtnText);
  ACanvas->FrameRect(Inflated(R, 1), GetCheckBackgroundColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderCellEx(TcxCanvas* ACanvas, const TRect& ABounds,
                                                      const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                                      TcxBorders ABorders, TcxButtonState, TAlignment AHAlign,
                                                      TcxAlignmentVert AVAlign, bool AMultiLine,
                                                      bool AShowEndEllipsis, const String& AText,
                                                      const TFont* AFont, TColor ATextColor, TColor ABkColor,
                                                      const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawContent(ACanvas, ABounds, Inflated(ATextAreaBounds, 1), AHAlign, AVAlign, AMultiLine, AShowEndEllipsis,
              AText, AFont, ATextColor, ABkColor, AOnDrawBackground);
  DrawHeaderFrame(ACanvas, Inflated(ABounds, 1), ANeighbors, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors,
                                                     TcxBorders ABorders) const {
  ACanvas->SetBrushColor(clBtnText);
  if (ABorders.Contains(bLeft)) ACanvas->FillRect(TRect(R.left, R.top, R.left + 1, R.bottom));
  if (ABorders.Contains(bTop)) ACanvas->FillRect(TRect(R.left, R.top, R.right, R.top + 1));
  ACanvas->FillRect(TRect(R.right - 1, R.top, R.right, R.bottom));
  ACanvas->FillRect(TRect(R.left, R.bottom - 1, R.right, R.bottom));
}

void TcxUltraFlatLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R,
                                                   bool AAscending) const {
  DrawSortArrowLines(ACanvas, R, AAscending, GetSortArrowSize(), clBtnShadow, clBtnShadow);
}

TcxBorders TcxUltraFlatLookAndFeelPainter::GetHeaderEdges(TcxNeighbors ANeighbors) const {
  TcxBorders result = cxBordersAll;
  if (ANeighbors.Contains(bLeft)) result.Exclude(bLeft);
  if (ANeighbors.Contains(bTop)) result.Exclude(bTop);
  return result;
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->SetBrushColor(clBtnShadow);
  ACanvas->FillRect(TRect(R.right - 1, R.top, R.right, R.bottom));
  ACanvas->FillRect(TRect(R.left, R.bottom - 1, R.right, R.bottom));
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FrameRect(R, clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                                              TcxButtonState AState, bool AActive) const {
  ACanvas->FrameRect(R, AState == cxbsNormal ? clBtnShadow : clHighlight);
  const TRect r = Inflated(R, 1);
  ACanvas->FillRect(r, GetButtonFaceColor(AState));
  DrawDropDownArrow(ACanvas, r, AActive ? clBlue : GetButtonGlyphColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide,
                                                  TcxBorders, bool AVertical) const {
  TRect r = R;
  const bool farBand = AVertical ? ASide == bBottom : ASide == bRight;
  if (farBand && !AVertical) r.bottom -= GetTabBorderWidth(false);
  ACanvas->FillRect(r, farBand ? clBtnText : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawTabsBackground(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxBorders ABorders, bool AVertical) const {
  ACanvas->DrawTwoToneFrame(R, clBtnShadow, clBtnShadow, ABorders, GetTabBorderWidth(AVertical));
}

void TcxUltraFlatLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                       TcxScrollBarPart APart, TcxButtonState AState) const {
  DrawFlatScrollBarPart(this, ACanvas, AHorizontal, R, APart, AState, true);
}
