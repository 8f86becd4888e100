// Editors laid out and painted without windows: a view info calculated for
// a rectangle of a drawing surface in a chosen look, with its buttons
// forced into a state, and the check-box, spin and text view infos filled
// by hand as their editors will fill them.
#pragma once

#include "EditTest.h"

#include "cxEditPaintUtils.h"

#include "DrawTest.h"

#include <memory>

enum TPaintState { psNormal, psHot, psFocused, psDisabled, psPressed };

struct TLook {
  const char* name;
  TcxLookAndFeelKind kind;
  bool native;
};

inline const TLook kLooks[] = {{"standard", lfStandard, false},
                               {"flat", lfFlat, false},
                               {"ultraflat", lfUltraFlat, false},
                               {"native", lfStandard, true}};

// Properties, style and view info of one painted editor.
struct TPaintedEdit {
  explicit TPaintedEdit(const TLook& ALook) {
    style.GetLookAndFeel()->SetKind(ALook.kind);
    style.GetLookAndFeel()->SetNativeStyle(ALook.native);
    info = props.CreateViewInfo();
  }
  TcxEditButton* AddButton(TcxEditButtonKind AKind, bool ALeft = false) {
    TcxEditButton* button = props.GetButtons()->Add();
    button->SetKind(AKind);
    button->SetLeftAlignment(ALeft);
    if (AKind == bkGlyph) button->GetGlyph()->Assign(Glyph());
    return button;
  }
  // Calculates for R in the state; hot and pressed reach every button.
  void Calculate(TcxCanvas* ACanvas, const TRect& R, TPaintState AState) {
    std::unique_ptr<TcxCustomEditViewData> data = props.CreateViewData(&style, false);
    data->Enabled = AState != psDisabled;
    data->Focused = AState == psFocused;
    const TPoint inside((R.left + R.right) / 2, (R.top + R.bottom) / 2);
    const TPoint p = AState == psHot || AState == psPressed ? inside : TPoint(-1, -1);
    data->Calculate(ACanvas, R, p, 0, TShiftState(), info.get(), false);
    if (AState != psHot && AState != psPressed) return;
    for (auto& button : info->ButtonsInfo) {
      button->State = AState == psHot ? ebsSelected : ebsPressed;
      CalculateButtonNativeInfo(button.get());
    }
  }
  void Paint(TcxCanvas* ACanvas, const TRect& R, TPaintState AState) {
    Calculate(ACanvas, R, AState);
    info->Paint(ACanvas);
  }
  // A red square on a white, transparent field.
  static TBitmap* Glyph() {
    static const std::unique_ptr<TBitmap> glyph = [] {
      auto b = std::make_unique<TBitmap>();
      b->SetSize(8, 8);
      TcxCanvas canvas(b->GetCanvas());
      canvas.FillRect(TRect(0, 0, 8, 8), clWhite);
      canvas.FillRect(TRect(2, 2, 6, 6), clRed);
      b->SetTransparentColor(clWhite);
      return b;
    }();
    return glyph.get();
  }
  TTestProperties props{nullptr};
  TcxCustomEditStyle style{nullptr, false};
  std::unique_ptr<TcxCustomEditViewInfo> info;
};

// A check box in R: the box at the left, the caption beside it.
inline void FillCheckBox(TcxCustomCheckBoxViewInfo& AInfo, const TRect& R, TFont* AFont, bool ANative) {
  AInfo.Bounds = R;
  AInfo.BorderRect = R;
  AInfo.ClientRect = R;
  AInfo.NativeStyle = ANative;
  AInfo.SetBackgroundColor(clWindow);
  AInfo.BorderColor = clBlack;
  AInfo.CheckRect = TRect(R.left + 2, R.top + 2, R.left + 15, R.top + 15);
  AInfo.TextRect = TRect(R.left + 18, R.top, R.right, R.bottom);
  AInfo.Text = "Check";
  AInfo.Font = AFont;
  AInfo.TextColor = clWindowText;
  AInfo.DrawTextFlags = tfLeft | tfCenterY | tfSingleLine;
  AInfo.FocusRect = AInfo.TextRect;
}

// Spin buttons in R by layout: vertical ones share the right column, the
// fast ones sit left of it; horizontal ones sit side by side.
inline void FillSpin(TcxSpinEditViewInfo& AInfo, const TRect& R, TcxSpinEditButtonsPosition ALayout,
                     int ACount, TcxEditButtonStyle AStyle, int AState, bool ANative) {
  AInfo.Bounds = R;
  AInfo.BorderRect = R;
  AInfo.ClientRect = R;
  AInfo.SetBackgroundColor(clWindow);
  AInfo.ButtonsPosition = ALayout;
  AInfo.ArrowSize = 3;
  AInfo.SetButtonCount(ACount);
  const int w = 15;
  const int midY = (R.top + R.bottom) / 2;
  for (int i = 0; i < ACount; ++i) {
    TcxEditButtonViewInfo& b = *AInfo.ButtonsInfo[i];
    const int slot = i < 2 ? 0 : 4 - i;
    if (ALayout == sbpVert && i < 2)
      b.Bounds = TRect(R.right - w, i == 1 ? R.top : midY, R.right, i == 1 ? midY : R.bottom);
    else if (ALayout == sbpHorzLeftRight && i == 0)
      b.Bounds = TRect(R.left, R.top, R.left + w, R.bottom);
    else if (ALayout == sbpHorzRight && i < 2)
      b.Bounds = TRect(R.right - (2 - i) * w, R.top, R.right - (1 - i) * w, R.bottom);
    else
      b.Bounds = TRect(R.right - (slot + 1) * w - (i < 2 ? 0 : w), R.top,
                       R.right - slot * w - (i < 2 ? 0 : w), R.bottom);
    b.VisibleBounds = b.Bounds;
    b.ButtonStyle = AStyle;
    b.State = AState;
    b.BackgroundColor = clWindow;
    b.NativeStyle = ANative;
    b.ThemePart = ALayout == sbpVert ? (i == 1 ? SPNP_UP : SPNP_DOWN) : (i % 2 ? SPNP_UPHORZ : SPNP_DOWNHORZ);
    static const int kThemed[4] = {4, 1, 3, 2};
    b.ThemeState = ANative && IsThemedPartAvailable(true, totSpin) ? kThemed[AState] : 0;
  }
}

inline void PaintButtons(TcxCanvas* ACanvas, TcxCustomEditViewInfo& AInfo) {
  for (int i = 0; i < AInfo.ButtonCount(); ++i)
    AInfo.PaintEditButton(ACanvas, i);
}
