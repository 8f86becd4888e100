// The spin edit item, its control with the two buttons and their repeat,
// and the painters' spin and edit-button drawing.
#include "dxBarExtSpin.h"

#include "dxBarCommon.h"
#include "dxBarPainters.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include "Locale.h"
#include "Variants.h"

#include <climits>
#include <cmath>

namespace {

enum { spnpUp = 1, spnpDown = 2 };

const TdxBarItemControlFlatPainter* AsFlat(TdxBarItemControlPainterClass Painter) {
  return dynamic_cast<const TdxBarItemControlFlatPainter*>(Painter);
}
bool IsOffice11(TdxBarItemControlPainterClass Painter) {
  return dynamic_cast<const TdxBarItemControlOffice11Painter*>(Painter) != nullptr;
}
bool IsXP(TdxBarItemControlPainterClass Painter) {
  return dynamic_cast<const TdxBarItemControlXPPainter*>(Painter) != nullptr;
}

void Fill(HDC DC, const TRect& R, HBRUSH Brush) { FillRect(DC, &R, Brush); }

void FrameWith(HDC DC, const TRect& R, HBRUSH Brush) { FrameRect(DC, &R, Brush); }

void FrameWithColor(HDC DC, const TRect& R, TColor Color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  FrameRect(DC, &R, brush);
  DeleteObject(brush);
}

// A triangle Width wide whose base row is Y and whose apex lies Width div 2
// rows above (Up) or below it, row by row.
void FillArrow(HDC DC, int X, int Y, int Width, bool Up, TColor Color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  for (int i = 0; i <= Width / 2; ++i) {
    const int y = Up ? Y - i : Y + i;
    const TRect row(X + i, y, X + Width - i, y + 1);
    if (row.left < row.right) Fill(DC, row, brush);
  }
  DeleteObject(brush);
}

// The float text in the locale's decimal separator.
String FloatText(double Value) {
  String text = FloatToStr(Value);
  for (char& c : text)
    if (c == '.') c = FormatSettings.DecimalSeparator;
  return text;
}

bool TryFloatText(const String& Text, double& Value) {
  String text = Text;
  for (char& c : text)
    if (c == FormatSettings.DecimalSeparator)
      c = '.';
    else if (c == '.')
      return false;
  return TryStrToFloat(text, Value);
}

} // namespace

// ---- Painter operations ----

namespace dxBarExtPainter {

void DrawEditButtonFrame(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                         TRect& R, bool Pressed, bool Hot, bool Enabled) {
  TCustomdxBarControl* window = Control->GetBarControl();
  HBRUSH current = window->BackgroundBrush;
  HBRUSH inside = current;
  if (const auto* flat = AsFlat(Painter)) {
    if (Hot) {
      flat->FrameSelected(DC, R);
      inside = Pressed ? Painter->GetCheckedSelectedBrush(Control->GetBarManager())
                       : Painter->GetSelectedBrush(Control->GetBarManager());
    } else if (!IsOffice11(Painter)) {
      FrameWith(DC, R, current);
    } else if (Enabled) {
      FrameWith(DC, R, current);
      inside = Office11Brushes.ToolbarFaceBrush;
    } else {
      FrameWithColor(DC, R, Office11Colors.DisabledText);
      inside = GetSysColorBrush(COLOR_BTNFACE);
    }
  } else if (Hot) {
    DrawEdge(DC, &R, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else {
    FrameWith(DC, R, current);
  }
  InflateRect(&R, -1, -1);
  Fill(DC, R, inside);
}

void DrawSpinButtonsFrame(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                          TRect& R) {
  if (IsXP(Painter)) return;
  HBRUSH background = Control->GetBarControl()->BackgroundBrush;
  Painter->FillBackground(Control, DC, false, background, TRect(R.left, R.top, R.left + 1, R.bottom));
  Painter->FillBackground(Control, DC, false, background, TRect(R.right - 1, R.top, R.right, R.bottom));
  InflateRect(&R, -1, 0);
}

void DrawSpinButton(TdxBarItemControlPainterClass Painter, const TdxBarItemControl* Control, HDC DC,
                    bool Pressed, TdxBarSpinEditButton PressedButton, TdxBarSpinEditButton Button, bool Hot,
                    int Split, int Offset, int Width, const TRect& R) {
  const bool up = Button == sbUp;
  const bool flat = AsFlat(Painter) || IsXP(Painter);
  TRect r = R;
  if (up)
    r.bottom = r.top + Split + (flat ? 1 : 0);
  else
    r.top += Split;
  const bool enabled = Control->GetEnabled();
  const bool active = PressedButton == Button;
  if (IsXP(Painter)) {
    Painter->FillBackground(Control, DC, false, Control->GetBarControl()->BackgroundBrush, r);
    const int state = !enabled ? 4 : active ? (Pressed ? 3 : 2) : 1;
    dxUxTheme::DrawThemeBackground(OpenThemeHandle(totSpin), DC, up ? spnpUp : spnpDown, state, &r, nullptr);
    return;
  }
  const bool down = Pressed && active;
  DrawEditButtonFrame(Painter, Control, DC, r, down, Hot, enabled);
  int x = r.left + Offset;
  int y = (r.top + r.bottom - Offset) / 2 + (up ? Offset - 1 : 0);
  if (down) ++x, ++y;
  if (enabled) {
    FillArrow(DC, x, y, Width, up, clBtnText);
  } else if (flat) {
    FillArrow(DC, x, y, Width, up, clBtnShadow);
  } else {
    FillArrow(DC, x + 1, y + 1, Width, up, clBtnHighlight);
    FillArrow(DC, x, y, Width, up, clBtnShadow);
  }
}

} // namespace dxBarExtPainter

// ---- TdxBarSpinEdit ----

TdxBarItemClass TdxBarSpinEdit::ClassInfo() { return MakeBarItemClassInfo<TdxBarSpinEdit>("TdxBarSpinEdit"); }

TdxBarSpinEdit::TdxBarSpinEdit(TComponent* AOwner) : TdxBarEdit(AOwner) { TdxBarEdit::SetText("0"); }

double TdxBarSpinEdit::RoundValue(double Value) const {
  return FValueType == svtInteger ? std::trunc(Value) : Value;
}

double TdxBarSpinEdit::ClampValue(double Value) const {
  Value = RoundValue(Value);
  if (!IsRangeActive()) return Value;
  return std::min(std::max(Value, FMinValue), FMaxValue);
}

String TdxBarSpinEdit::RemovePrefix(const String& Text) const {
  String text = Text;
  if (!FPrefix.empty())
    if (const size_t at = text.find(FPrefix); at != String::npos) text.erase(at, FPrefix.size());
  return text;
}

bool TdxBarSpinEdit::TryConvert(const String& Text, double& Value) const {
  const String text = RemovePrefix(Text);
  if (FValueType == svtFloat) return TryFloatText(text, Value);
  int64_t number = 0;
  if (!TryStrToInt64(text, number) || number < INT_MIN || number > INT_MAX) return false;
  Value = static_cast<double>(number);
  return true;
}

double TdxBarSpinEdit::TextToValue(const String& Text) const {
  double value = 0;
  return TryConvert(Text, value) ? value : FMinValue;
}

String TdxBarSpinEdit::ValueToText(double Value) const {
  const String number =
      FValueType == svtFloat ? FloatText(Value) : IntToStr(static_cast<int64_t>(std::trunc(Value)));
  return FPrefixPlace == ppEnd ? number + FPrefix : FPrefix + number;
}

void TdxBarSpinEdit::SetText(const String& Value) {
  double value = 0;
  if (!TryConvert(Value, value)) return;
  TdxBarEdit::SetText(ValueToText(ClampValue(value)));
}

void TdxBarSpinEdit::SetValue(double Value) {
  Value = ClampValue(Value);
  if (Value != GetValue()) TdxBarEdit::SetText(ValueToText(Value));
}

void TdxBarSpinEdit::SetCurValue(double Value) {
  Value = ClampValue(Value);
  if (Value != GetCurValue()) SetCurText(ValueToText(Value));
}

void TdxBarSpinEdit::SetIncrement(double Value) {
  Value = RoundValue(Value);
  if (FValueType == svtFloat ? Value <= 0 : Value < 1) Value = 1;
  FIncrement = Value;
}

void TdxBarSpinEdit::SetMaxValue(double Value) {
  Value = RoundValue(Value);
  if (Value == FMaxValue) return;
  FMaxValue = Value;
  if (FMaxValue < FMinValue) FMinValue = FMaxValue;
  SetValue(GetValue());
  SetCurValue(GetCurValue());
}

void TdxBarSpinEdit::SetMinValue(double Value) {
  Value = RoundValue(Value);
  if (Value == FMinValue) return;
  FMinValue = Value;
  if (FMinValue > FMaxValue) FMaxValue = FMinValue;
  SetValue(GetValue());
  SetCurValue(GetCurValue());
}

void TdxBarSpinEdit::SetPrefix(const String& Value) {
  if (Value == FPrefix) return;
  const double value = GetValue();
  FPrefix = Value;
  TdxBarEdit::SetText(ValueToText(value));
}

void TdxBarSpinEdit::SetPrefixPlace(TdxBarSpinEditPrefixPlace Value) {
  if (Value == FPrefixPlace) return;
  const double value = GetValue();
  FPrefixPlace = Value;
  TdxBarEdit::SetText(ValueToText(value));
}

void TdxBarSpinEdit::SetValueType(TdxBarSpinEditValueType Value) {
  if (Value == FValueType) return;
  const double increment = FIncrement, minValue = FMinValue, maxValue = FMaxValue;
  const double value = GetValue(), current = GetCurValue();
  FValueType = Value;
  if (Value != svtInteger) return;
  SetIncrement(increment);
  // Rounding toward zero keeps the range's order, so the ends never cross.
  FMinValue = RoundValue(minValue);
  FMaxValue = RoundValue(maxValue);
  TdxBarEdit::SetText(ValueToText(ClampValue(value)));
  SetCurValue(current);
}

TdxBarSpinEditControl* TdxBarSpinEdit::FocusedSpinControl() const {
  TdxBarItemLink* link = GetFocusedLink();
  return link ? dynamic_cast<TdxBarSpinEditControl*>(link->GetControl()) : nullptr;
}

void TdxBarSpinEdit::ButtonClick(TdxBarSpinEditButton Button) {
  if (Button == sbNone) return;
  SetCurValue(GetCurValue() + (Button == sbUp ? FIncrement : -FIncrement));
  if (OnButtonClick) OnButtonClick(this, Button);
}

void TdxBarSpinEdit::DoKeyPress(char& Key) {
  TdxBarEdit::DoKeyPress(Key);
  const bool passes = Key == '\b' || (Key >= '0' && Key <= '9') || (Key == '-' && FMinValue < 0) ||
                      (FValueType == svtFloat && Key == FormatSettings.DecimalSeparator);
  if (!passes) Key = 0;
}

void TdxBarSpinEdit::DoKeyDown(WORD& Key, TShiftState Shift) {
  TdxBarEdit::DoKeyDown(Key, Shift);
  if (Key != VK_UP && Key != VK_DOWN) return;
  TdxBarSpinEditControl* control = FocusedSpinControl();
  if (!control || ReadOnly) return;
  if (control->GetTimerId() == 0) {
    const TdxBarSpinEditButton button = Key == VK_UP ? sbUp : sbDown;
    control->SetPressedButton(button);
    ButtonClick(button);
  }
  Key = 0;
}

void TdxBarSpinEdit::DoKeyUp(WORD& Key, TShiftState Shift) {
  TdxBarEdit::DoKeyUp(Key, Shift);
  if (Key != VK_UP && Key != VK_DOWN) return;
  TdxBarSpinEditControl* control = FocusedSpinControl();
  if (control && control->GetTimerId() == 0) control->SetPressedButton(sbNone);
}

// ---- TdxBarSpinEditControl ----

TdxBarSpinEditControl::~TdxBarSpinEditControl() {
  if (FTimerId && FWnd) KillTimer(FWnd, FTimerId);
}

TdxBarSpinEdit* TdxBarSpinEditControl::GetSpinEdit() const { return dynamic_cast<TdxBarSpinEdit*>(GetItem()); }

void TdxBarSpinEditControl::SetPressedButton(TdxBarSpinEditButton Value) {
  if (Value == FPressedButton) return;
  FPressedButton = Value;
  FPressedLook = Value != sbNone;
  Repaint();
}

void TdxBarSpinEditControl::SetPressedLook(bool Value) {
  if (Value == FPressedLook) return;
  FPressedLook = Value;
  Repaint();
}

TdxBarSpinEditButton TdxBarSpinEditControl::ButtonAt(POINT InPlacePoint) const {
  if (!FWnd || (GetSpinEdit() && GetSpinEdit()->ReadOnly)) return sbNone;
  POINT p = InPlacePoint;
  MapWindowPoints(FWnd, GetBarControl()->GetHandle(), &p, 1);
  if (!FButtonsRect.Contains(p)) return sbNone;
  return p.y < (FButtonsRect.top + FButtonsRect.bottom) / 2 ? sbUp : sbDown;
}

void TdxBarSpinEditControl::Paint(const TRect& R, int PaintType) {
  FButtonsRect = TRect();
  const int a = (R.Height() / 2 - 2) / 2, w = 4 * a + 3;
  if (R.left == R.right || w >= R.Width() / 2) return TdxBarEditControl::Paint(R, PaintType);
  TdxBarEditControl::Paint(TRect(R.left, R.top, R.right - w, R.bottom), PaintType);
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  TRect strip(R.right - w, R.top, R.right, R.bottom);
  dxBarExtPainter::DrawSpinButtonsFrame(GetPainter(), this, dc, strip);
  FButtonsRect = strip;
  const bool hot = DrawSelected();
  for (TdxBarSpinEditButton button : {sbUp, sbDown})
    dxBarExtPainter::DrawSpinButton(GetPainter(), this, dc, FPressedLook, FPressedButton, button, hot,
                                    strip.Height() / 2, a, 2 * a - 1, strip);
}

void TdxBarSpinEditControl::StartTimer(UINT_PTR Id, UINT Period) {
  if (FTimerId) KillTimer(FWnd, FTimerId);
  FTimerId = SetTimer(FWnd, Id, Period, nullptr) ? Id : 0;
}

void TdxBarSpinEditControl::StopRepeat() {
  const HWND wnd = FWnd;
  if (FTimerId && wnd) KillTimer(wnd, FTimerId);
  FTimerId = 0;
  if (wnd && GetCapture() == wnd) ReleaseCapture();
  SetPressedButton(sbNone);
}

void TdxBarSpinEditControl::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  // The repeat's own timers never reach the edit window.
  if (msg == WM_TIMER && FTimerId && Message.WParam == FTimerId) {
    if (FTimerId == 1)
      StartTimer(2, RepeatPeriod);
    else if (FPressedLook && GetSpinEdit())
      GetSpinEdit()->ButtonClick(FPressedButton);
    return;
  }
  TCustomdxBarControl* window = GetBarControl();
  TdxBarEditControl::WndProc(Message);
  if (!IsBarControlAlive(window) || !window->IsControlOfWindow(this) || !FWnd) return;
  const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    if (FPressedButton != sbNone) return;
    const TdxBarSpinEditButton button = ButtonAt(p);
    if (button == sbNone) return;
    SetCapture(FWnd);
    SetPressedButton(button);
    if (GetSpinEdit()) GetSpinEdit()->ButtonClick(button);
    if (IsBarControlAlive(window) && window->IsControlOfWindow(this) && FWnd) StartTimer(1, FirstRepeatDelay());
    return;
  }
  case WM_MOUSEMOVE:
    if (FTimerId) SetPressedLook(ButtonAt(p) == FPressedButton);
    return;
  case WM_LBUTTONUP:
  case WM_CAPTURECHANGED:
    if (FTimerId) StopRepeat();
    return;
  case WM_KILLFOCUS:
    if (FPressedButton != sbNone) StopRepeat();
    return;
  }
}
