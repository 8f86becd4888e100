// The spin edit. This part holds what the shared painting routines read of
// its view info.
#pragma once

#include "cxTextEdit.h"

enum TcxSpinEditButtonsPosition { sbpHorzLeftRight, sbpHorzRight, sbpVert };

// Theme parts of the Spin class.
constexpr int SPNP_UP = 1;
constexpr int SPNP_DOWN = 2;
constexpr int SPNP_UPHORZ = 3;
constexpr int SPNP_DOWNHORZ = 4;

class TcxSpinEditViewInfo : public TcxCustomTextEditViewInfo {
public:
  int ArrowSize = 0;
  TcxSpinEditButtonsPosition ButtonsPosition = sbpVert;
  // The line between themed buttons, in the background colour.
  TPoint DelimiterLine[2];

  void DrawButtonBorder(TcxCanvas* ACanvas, int AIndex, const TRect& ARect,
                        TcxEditButtonStyle AStyle) override;
  void DrawButtonContent(TcxCanvas* ACanvas, int AIndex, TColor ABackColor, TColor AArrowColor,
                         const TRect& ARect) override;
  void InternalPaint(TcxCanvas* ACanvas) override;
};
