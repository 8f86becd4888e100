#include "cxLookAndFeelPainters_internal.h"

#include <memory>

using namespace cxpainters;

namespace {

std::unique_ptr<TImageList> IndicatorImages;
std::unique_ptr<TBitmap> PagePattern;
std::unique_ptr<TBitmap> PressedPagePattern;

int ContentTextFlags(TAlignment AHAlign, TcxAlignmentVert AVAlign, bool AMultiLine, bool AShowEndEllipsis) {
  static const int horz[] = {tfLeft, tfRight, tfCenterX};
  static const int vert[] = {tfTop, tfBottom, tfCenterY};
  return horz[AHAlign] | vert[AVAlign] | (AMultiLine ? tfWordBreak : tfSingleLine) |
         (AShowEndEllipsis ? tfEndEllipsis : 0);
}

void LoadIndicatorImages() {
  static const char* const names[] = {"CX_ARROWBITMAP", "CX_EDITBITMAP", "CX_INSERTBITMAP",
                                      "CX_MULTIDOTBITMAP", "CX_MULTIARROWBITMAP"};
  IndicatorImages = std::make_unique<TImageList>(nullptr);
  for (const char* name : names) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(GetModuleHandleA(nullptr), name);
    if (IndicatorImages->GetCount() == 0) {
      IndicatorImages->SetWidth(bitmap.GetWidth());
      IndicatorImages->SetHeight(bitmap.GetHeight());
    }
    IndicatorImages->AddMasked(&bitmap, clWhite);
  }
}

void FillPattern(TBitmap* APattern, TColor ADiffer, TColor AAgree) {
  TCanvas* canvas = APattern->GetCanvas();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      canvas->SetPixel(x, y, (x % 2) != (y % 2) ? ADiffer : AAgree);
}

} // namespace

// ---- shared routines ----

namespace cxpainters {

void CalculateArrowPoints(TRect R, TcxArrowDirection ADirection, bool AProportional, TPoint P[3]) {
  if (AProportional) {
    const int d = R.Width() - R.Height();
    if (d > 0)
      InflateRect(&R, -d / 2, 0);
    else
      InflateRect(&R, 0, d / 2);
  }
  const int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
  int Sx, Sy;
  if (ADirection == adUp || ADirection == adDown) {
    Sx = OddOf((Rt - L - 1) / 2);
    Sy = Sx / 2 + 1;
  } else {
    Sy = OddOf((B - T - 1) / 2);
    Sx = Sy / 2 + 1;
  }
  switch (ADirection) {
  case adUp:
    P[0] = TPoint((L + Rt - 1) / 2, Half(T + B - Sy));
    P[1] = TPoint((L + Rt - Sx) / 2, P[0].y + Sy - 1);
    P[2] = TPoint(P[1].x + Sx - 1, P[1].y);
    break;
  case adDown:
    P[0] = TPoint((L + Rt - Sx) / 2, Half(T + B - Sy));
    P[1] = TPoint(P[0].x + Sx - 1, P[0].y);
    P[2] = TPoint((L + Rt - 1) / 2, P[0].y + Sy - 1);
    break;
  case adLeft:
    P[0] = TPoint((L + Rt - Sx) / 2, (T + B) / 2);
    P[1] = TPoint(P[0].x + Sx - 1, Half(T + B - Sy));
    P[2] = TPoint(P[1].x, P[1].y + Sy - 1);
    break;
  case adRight:
    P[0] = TPoint((L + Rt - Sx) / 2, Half(T + B - Sy));
    P[1] = TPoint(P[0].x + Sx - 1, (T + B) / 2);
    P[2] = TPoint(P[0].x, P[0].y + Sy - 1);
    break;
  }
}

void DrawTriangle(TcxCanvas* ACanvas, const TPoint P[3], TColor AColor) {
  ACanvas->GetBrush()->SetStyle(bsSolid);
  ACanvas->SetBrushColor(AColor);
  ACanvas->GetPen()->SetColor(AColor);
  ACanvas->Polygon(P, 3);
}

void DrawExpandSign(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) {
  const int cx = (R.left + R.right) / 2;
  const int cy = (R.top + R.bottom) / 2;
  const int h = (R.Width() - 4) / 2;
  ACanvas->FillRect(TRect(cx - h, cy, cx + h + 1, cy + 1), AColor);
  if (!AExpanded) ACanvas->FillRect(TRect(cx, cy - h, cx + 1, cy + h + 1), AColor);
}

void DrawSortArrowLines(TcxCanvas* ACanvas, const TRect& R, bool AAscending, SIZE ASize, TColor ALight,
                        TColor ADark) {
  const int W = ASize.cx, H = ASize.cy;
  const int s = AAscending ? 1 : -1;
  const int cx = (R.left + R.right) / 2 - (W % 2 == 0 ? 1 : 0);
  const int y0 = AAscending ? (R.top + R.bottom - H) / 2 : (R.top + R.bottom + H) / 2 - 1;
  const int hr = W / 2;
  const int hl = hr - (W % 2 == 0 ? 1 : 0);
  TPen* pen = ACanvas->GetPen();
  pen->SetColor(ALight);
  ACanvas->MoveTo(cx + hr, y0 + (H - 2) * s);
  ACanvas->LineTo(cx + hr - hl, y0);
  ACanvas->LineTo(cx + hr, y0 + (H - 1) * s);
  if (!AAscending) pen->SetColor(ADark);
  ACanvas->LineTo(cx - hl, y0 + (H - 1) * s);
  if (AAscending) pen->SetColor(ADark);
  ACanvas->LineTo(cx, y0);
  ACanvas->LineTo(cx - hl, y0 + (H - (W % 2)) * s);
}

void DrawScrollBarPage(TcxCanvas* ACanvas, const TRect& R, bool APressed) {
  TBrush* brush = ACanvas->GetBrush();
  brush->SetBitmap(APressed ? PressedPagePattern.get() : PagePattern.get());
  ACanvas->FillRect(R);
  brush->SetBitmap(nullptr);
  brush->SetStyle(bsSolid);
}

TcxArrowDirection ScrollBarArrowDirection(bool AHorizontal, TcxScrollBarPart APart) {
  if (AHorizontal) return APart == sbpLineUp ? adLeft : adRight;
  return APart == sbpLineUp ? adUp : adDown;
}

} // namespace cxpainters

void RefreshScrollBarPatterns() {
  for (auto* pattern : {&PagePattern, &PressedPagePattern}) {
    if (*pattern) continue;
    *pattern = std::make_unique<TBitmap>();
    (*pattern)->SetPixelFormat(pf32bit);
    (*pattern)->SetSize(8, 8);
  }
  FillPattern(PagePattern.get(), clBtnHighlight, clBtnFace);
  FillPattern(PressedPagePattern.get(), cl3DDkShadow, clBlack);
}

TCustomImageList* cxIndicatorImages() {
  return IndicatorImages.get();
}

// ---- TcxCustomLookAndFeelPainter ----

TcxCustomLookAndFeelPainterClass TcxCustomLookAndFeelPainter::Instance() {
  static const TcxCustomLookAndFeelPainter painter;
  return &painter;
}

void TcxCustomLookAndFeelPainter::DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor) const {
  const int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
  const int Wd = OddOf((Rt - L) / 2);
  const int Hd = Wd / 2 + 1;
  TPoint P[3];
  P[0] = TPoint((L + Rt - Wd) / 2, Half(T + B - Hd));
  P[1] = TPoint(P[0].x + Wd - 1, P[0].y);
  P[2] = TPoint((L + Rt) / 2, P[0].y + Hd - 1);
  DrawTriangle(ACanvas, P, AColor);
}

void TcxCustomLookAndFeelPainter::DrawContent(TcxCanvas* ACanvas, const TRect& R,
                                              const TRect& ATextAreaBounds, TAlignment AHAlign,
                                              TcxAlignmentVert AVAlign, bool AMultiLine,
                                              bool AShowEndEllipsis, const String& AText, const TFont* AFont,
                                              TColor ATextColor, TColor ABkColor,
                                              const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, R)) ACanvas->FillRect(R, ABkColor);
  if (AText.empty()) return;
  ACanvas->GetBrush()->SetStyle(bsClear);
  ACanvas->SetFont(AFont);
  ACanvas->GetFont()->SetColor(ATextColor);
  ACanvas->DrawText(AText, ATextAreaBounds, ContentTextFlags(AHAlign, AVAlign, AMultiLine, AShowEndEllipsis));
  ACanvas->GetBrush()->SetStyle(bsSolid);
}

TRect TcxCustomLookAndFeelPainter::GetFooterContentBounds(const TRect& R) const {
  TRect result = R;
  InflateRect(&result, -GetFooterCellBorderWidth(), -GetFooterCellBorderWidth());
  return result;
}

TRect TcxCustomLookAndFeelPainter::GetFooterTextBounds(const TRect& R) const {
  TRect result = GetFooterContentBounds(R);
  InflateRect(&result, -2, -2);
  return result;
}

void TcxCustomLookAndFeelPainter::DrawArrow(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection ADirection,
                                            TColor AColor) const {
  TPoint P[3];
  CalculateArrowPoints(R, ADirection, true, P);
  DrawTriangle(ACanvas, P, AColor);
}

void TcxCustomLookAndFeelPainter::DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                  TcxArrowDirection ADirection, bool AWithBorder) const {
  TPoint P[3];
  CalculateArrowPoints(R, ADirection, false, P);
  if (AWithBorder)
    DrawPushButton(ACanvas, R, AState);
  else
    ACanvas->FillRect(R, GetButtonFaceColor(AState));
  DrawTriangle(ACanvas, P, GetButtonGlyphColor(AState));
}

void TcxCustomLookAndFeelPainter::DrawPushButton(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxButtonState AState) const {
  ACanvas->GetBrush()->SetStyle(bsSolid);
  ACanvas->FillRect(R, GetButtonFaceColor(AState));
  DrawButtonFrame(ACanvas, R, AState);
}

void TcxCustomLookAndFeelPainter::DrawStateArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                 TcxArrowDirection ADirection) const {
  TRect r = R;
  if (AState == cxbsPressed) OffsetRect(&r, GetButtonPressedShift(), GetButtonPressedShift());
  TPoint P[3];
  CalculateArrowPoints(r, ADirection, true, P);
  if (AState != cxbsDisabled) {
    DrawTriangle(ACanvas, P, GetButtonGlyphColor(AState));
    return;
  }
  TPoint shifted[3];
  for (int i = 0; i < 3; ++i)
    shifted[i] = TPoint(P[i].x + 1, P[i].y + 1);
  DrawTriangle(ACanvas, shifted, clBtnHighlight);
  DrawTriangle(ACanvas, P, clBtnShadow);
}

TRect TcxCustomLookAndFeelPainter::CalculateButtonFocusRect(TcxCanvas*, const TRect& R) const {
  TRect result = R;
  InflateRect(&result, -4, -4);
  return IsRectEmpty(&result) ? R : result;
}

TColor TcxCustomLookAndFeelPainter::GetButtonGlyphColor(TcxButtonState AState) const {
  return AState == cxbsDisabled ? clBtnShadow : clBtnText;
}

void TcxCustomLookAndFeelPainter::DrawPushButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption,
                                                 TcxButtonState AState, bool AWithBorder, TColor AFaceColor,
                                                 TColor ATextColor) const {
  TRect r = R;
  if (AWithBorder) {
    DrawButtonFrame(ACanvas, r, AState);
    InflateRect(&r, -GetButtonBorderWidth(AState), -GetButtonBorderWidth(AState));
  }
  ACanvas->GetBrush()->SetStyle(bsSolid);
  ACanvas->FillRect(r, AFaceColor == clDefault ? GetButtonFaceColor(AState) : AFaceColor);
  ACanvas->GetFont()->SetColor(ATextColor == clDefault ? GetButtonGlyphColor(AState) : ATextColor);
  ACanvas->GetBrush()->SetStyle(bsClear);
  if (r.Height() % 2 != 0) --r.bottom;
  if (r.Height() < 18) --r.top;
  if (AState == cxbsPressed) OffsetRect(&r, GetButtonPressedShift(), GetButtonPressedShift());
  if (!ACaption.empty())
    ACanvas->DrawText(ACaption, r, tfCenterX | tfCenterY | tfSingleLine | tfShowPrefix,
                      AState != cxbsDisabled);
  ACanvas->GetBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                  int, int, TColor) const {
  DrawPushButton(ACanvas, R, "", AState, true, clDefault, clDefault);
}

void TcxCustomLookAndFeelPainter::DrawTreeExpandButtonOnColor(TcxCanvas* ACanvas, const TRect& R,
                                                              bool AExpanded, TColor AColor) const {
  ACanvas->FrameRect(R);
  if (AColor != clDefault) ACanvas->FillRect(TRect(R.left + 1, R.top + 1, R.right - 1, R.bottom - 1), AColor);
  DrawExpandSign(ACanvas, R, AExpanded, clBtnText);
}

TColor TcxCustomLookAndFeelPainter::GetCheckBackgroundColor(TcxButtonState AState) const {
  return AState == cxbsPressed || AState == cxbsDisabled ? clBtnFace : clWindow;
}

void TcxCustomLookAndFeelPainter::DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                bool AChecked, TColor AColor) const {
  ACanvas->FillRect(R, GetCheckBackgroundColor(AState));
  if (!AChecked) return;
  const int SW = R.Width() - 2;
  const int SH = R.Height() - 4;
  const int x0 = (R.left + R.right) / 2 - 1;
  ACanvas->GetPen()->SetColor(AColor);
  for (int d = 0; d <= 2; ++d) {
    const int y = (R.top + R.bottom + SH) / 2 - 2 + d;
    ACanvas->MoveTo(x0 - (SW / 2 - 1), y - SH / 2);
    ACanvas->LineTo(x0, y);
    ACanvas->LineTo(x0 + SW / 2 + 2, y - SH);
  }
}

void TcxCustomLookAndFeelPainter::DrawCheckBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               bool AChecked) const {
  DrawCheckFrame(ACanvas, R, AState);
  TRect r = R;
  InflateRect(&r, -GetCheckFrameWidth(), -GetCheckFrameWidth());
  DrawCheckMark(ACanvas, r, AState, AChecked, AState == cxbsDisabled ? clGrayText : clBtnText);
}

void TcxCustomLookAndFeelPainter::DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState,
                                                  bool AChecked, bool AFocused, TColor ABrushColor,
                                                  bool AHighlightFrame) const {
  TcxRadioButtonImageList* images = GetRadioButtonImageList();
  images->PrepareImages(AHighlightFrame);
  images->DrawImage(ACanvas, cxRadioButtonImageIndex(AState, AChecked, GetPainterStyle(), AFocused), X, Y,
                    ABrushColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds,
                                                 const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                                 TcxBorders ABorders, TcxButtonState, TAlignment AHAlign,
                                                 TcxAlignmentVert AVAlign, bool AMultiLine,
                                                 bool AShowEndEllipsis, const String& AText,
                                                 const TFont* AFont, TColor ATextColor, TColor ABkColor,
                                                 const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderFrame(ACanvas, ABounds, ANeighbors, ABorders);
  DrawContent(ACanvas, GetHeaderContentBounds(ABounds, ABorders), ATextAreaBounds, AHAlign, AVAlign,
              AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawHeaderCellEx(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AHAlign, TcxAlignmentVert AVAlign, bool AMultiLine,
    bool AShowEndEllipsis, const String& AText, const TFont* AFont, TColor ATextColor, TColor ABkColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderCell(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AHAlign, AVAlign,
                 AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground);
}

TRect TcxCustomLookAndFeelPainter::GetHeaderContentBounds(const TRect& R, TcxBorders ABorders) const {
  const int w = GetHeaderBorderWidth();
  TRect result = R;
  if (ABorders.Contains(bLeft)) result.left += w;
  if (ABorders.Contains(bTop)) result.top += w;
  if (ABorders.Contains(bRight)) result.right -= w;
  if (ABorders.Contains(bBottom)) result.bottom -= w;
  return result;
}

int TcxCustomLookAndFeelPainter::GetHeaderHeight(int AFontHeight) const {
  return AFontHeight + 2 * (GetHeaderBorderWidth() + 2);
}

int TcxCustomLookAndFeelPainter::GetHeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText,
                                                const TFont* AFont) const {
  ACanvas->SetFont(AFont);
  int result = ACanvas->TextWidth(AText) + 4;
  if (ABorders.Contains(bLeft)) result += GetHeaderBorderWidth();
  if (ABorders.Contains(bRight)) result -= GetHeaderBorderWidth();
  return result;
}

SIZE TcxCustomLookAndFeelPainter::GetSortArrowAreaSize() const {
  return SIZE{16, GetSortArrowSize().cy};
}

void TcxCustomLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AHAlign,
                                                 TcxAlignmentVert AVAlign, bool AMultiLine,
                                                 const String& AText, const TFont* AFont, TColor ATextColor,
                                                 TColor ABkColor,
                                                 const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawFooterCellBorder(ACanvas, ABounds);
  DrawContent(ACanvas, GetFooterContentBounds(ABounds), GetFooterTextBounds(ABounds), AHAlign, AVAlign,
              AMultiLine, false, AText, AFont, ATextColor, ABkColor, AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawFilterCheckBox(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState, bool AChecked) const {
  DrawCheckBox(ACanvas, R, AState, AChecked);
}

void TcxCustomLookAndFeelPainter::DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState) const {
  DrawButtonFrame(ACanvas, R, AState);
  TRect r = R;
  InflateRect(&r, -GetButtonBorderWidth(cxbsNormal), -GetButtonBorderWidth(cxbsNormal));
  ACanvas->FillRect(r, GetButtonFaceColor(AState));
  int S = GetFilterCloseButtonExtent().cx / 2;
  if (S % 2 == 0) --S;
  const int shift = GetButtonGlyphState(AState) == cxbsPressed ? 1 : 0;
  ACanvas->GetPen()->SetColor(GetButtonGlyphColor(AState));
  for (int o = 0; o <= 1; ++o) {
    const TPoint P((r.left + r.right - S) / 2 + o + shift, (r.top + r.bottom - S) / 2 + shift);
    ACanvas->MoveTo(P.x, P.y);
    ACanvas->LineTo(P.x + S, P.y + S);
    ACanvas->MoveTo(P.x, P.y + S - 1);
    ACanvas->LineTo(P.x + S, P.y - 1);
  }
}

void TcxCustomLookAndFeelPainter::DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R,
                                                    TcxIndicatorKind AKind, TColor ABkColor,
                                                    const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderCell(ACanvas, R, R, TcxNeighbors(), GetHeaderEdges(TcxNeighbors{bTop, bBottom}), cxbsNormal,
                 taLeftJustify, vaTop, false, false, "", nullptr, clNone, ABkColor, AOnDrawBackground);
  DrawIndicatorImage(ACanvas, R, AKind);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorCellEx(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxIndicatorKind AKind, TColor ABkColor,
                                                      const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderCellEx(ACanvas, R, R, TcxNeighbors(), cxBordersAll, cxbsNormal, taLeftJustify, vaTop, false,
                   false, "", nullptr, clNone, ABkColor, AOnDrawBackground);
  DrawIndicatorImage(ACanvas, R, AKind);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxIndicatorKind AKind) const {
  if (AKind == ikNone || !IndicatorImages) return;
  const int x = (R.left + R.right - IndicatorImages->GetWidth()) / 2;
  const int y = (R.top + R.bottom - IndicatorImages->GetHeight()) / 2;
  IndicatorImages->Draw(ACanvas->GetCanvas(), x, y, AKind - 1, true);
}

// ---- module ----

void cxLookAndFeelPaintersInitialize() {
  LoadIndicatorImages();
  RefreshScrollBarPatterns();
}

void cxLookAndFeelPaintersFinalize() {
  cxRadioButtonImagesFinalize();
  PressedPagePattern.reset();
  PagePattern.reset();
  IndicatorImages.reset();
}
