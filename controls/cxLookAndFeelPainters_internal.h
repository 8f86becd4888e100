// Drawing routines the painters share.
#pragma once

#include "cxLookAndFeelPainters.h"

namespace cxpainters {

// The system's rounded halving (half away from zero).
inline int Half(int x) {
  return MulDiv(x, 1, 2);
}
inline int OddOf(int v) {
  return (v % 2 != 0) ? v : v + 1;
}

void CalculateArrowPoints(TRect R, TcxArrowDirection ADirection, bool AProportional, TPoint P[3]);
void DrawTriangle(TcxCanvas* ACanvas, const TPoint P[3], TColor AColor);
void DrawExpandSign(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor);
void DrawSortArrowLines(TcxCanvas* ACanvas, const TRect& R, bool AAscending, SIZE ASize, TColor ALight,
                        TColor ADark);
void DrawScrollBarPage(TcxCanvas* ACanvas, const TRect& R, bool APressed);
TcxArrowDirection ScrollBarArrowDirection(bool AHorizontal, TcxScrollBarPart APart);

// The drawings the standard and flat looks share.
void DrawRaisedHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors);
void DrawStandardFilterDropDownButton(const TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas,
                                      const TRect& R, TcxButtonState AState, bool AActive);
void DrawStandardTabFrame(TcxCanvas* ACanvas, TRect R, TcxBorder ASide, TcxBorders ABorders, bool AVertical);
// The flat and ultra-flat scroll-bar parts: buttons with a state arrow.
void DrawFlatScrollBarPart(const TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas, bool AHorizontal,
                           const TRect& R, TcxScrollBarPart APart, TcxButtonState AState, bool AUltraFlat);

} // namespace cxpainters

// Frees the radio images and their pixel map.
void cxRadioButtonImagesFinalize();
