// The check box. This part holds what the shared painting routines read of
// its view info.
#pragma once

#include "cxTextEdit.h"

enum TcxCheckBoxState { cbsUnchecked, cbsChecked, cbsGrayed };
enum TcxCheckBoxNullValueShowingStyle { nssUnchecked, nssInactive, nssGrayedChecked };

// Check button states of the box.
constexpr int cbsNormalState = 0;
constexpr int cbsHotState = 1;
constexpr int cbsPressedState = 2;
constexpr int cbsDisabledState = 3;

class TcxCustomCheckBoxViewInfo : public TcxCustomTextEditViewInfo {
public:
  // taCenter: no caption and no focus rectangle.
  TAlignment Alignment = taLeftJustify;
  // 1 single, 2 thick, 3 flat, 4 3-D, 5 ultra flat.
  TcxContainerBorderStyle CheckBorderStyle = cbsFlat;
  TBitmap* Glyph = nullptr;
  int GlyphCount = 0;
  TRect CheckRect;
  int CheckButtonState = cbsNormalState;
  TRect FocusRect;
  bool FullFocusRect = false;
  bool HasGlyph = false;
  TcxCheckBoxNullValueShowingStyle NullStyle = nssGrayedChecked;
  TcxCheckBoxState State = cbsUnchecked;
  int CheckNativeState = 0;
  bool ParentBackground = false;

  void InternalPaint(TcxCanvas* ACanvas) override;
};
