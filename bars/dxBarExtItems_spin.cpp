// The spin edit item, its control with the two buttons and their repeat,
// and the painters' spin and edit-button drawing.
#include "dxBarExtSpin.h"

#include "dxBarCommon.h"
#include "dxBarPainters.h"
#include "dxBarStrs.h"
#include "dxBarSubMenu.h"
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

// ---- TPlaceForm ----

TPlaceForm::TPlaceForm(TComponent* AOwner) : TCustomForm(AOwner) {
  SetBorderStyle(bsNone);
  SetVisible(false);
}

void TPlaceForm::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  if (!GetParent()) return;
  Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.ExStyle = 0;
  Params.WndParent = GetParent()->GetHandle();
}

void TPlaceForm::WndProc(TMessage& Message) {
  if (Message.Msg != WM_ERASEBKGND) return TCustomForm::WndProc(Message);
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  HBRUSH brush = CreateSolidBrush(ColorToRGB(GetColor()));
  const TRect client = GetClientRect();
  if (ItemControl)
    ItemControl->GetPainter()->FillBackground(ItemControl, dc, false, brush, client);
  else
    FillRect(dc, &client, brush);
  DeleteObject(brush);
  Message.Result = 1;
}

// ---- TdxBarControlContainerItem ----

TdxBarItemClass TdxBarControlContainerItem::ClassInfo() {
  return MakeBarItemClassInfo<TdxBarControlContainerItem>("TdxBarControlContainerItem");
}

TdxBarControlContainerItem::TdxBarControlContainerItem(TComponent* AOwner)
    : TdxBarItem(AOwner), FPlaceForm(std::make_unique<TPlaceForm>(nullptr)) {}

TdxBarControlContainerItem::~TdxBarControlContainerItem() {
  // The host window would free its child: the control goes back first.
  SetControl(nullptr);
}

void TdxBarControlContainerItem::LayoutChanged() {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (TdxBarItemControl* control = GetLink(i)->GetControl()) control->LayoutChanged();
}

void TdxBarControlContainerItem::SetControl(TControl* Value) {
  TdxBarManager* manager = GetBarManager();
  if (Value && manager)
    for (int i = 0; i < manager->GetItemCount(); ++i) {
      auto* other = dynamic_cast<TdxBarControlContainerItem*>(manager->GetItem(i));
      if (other && other != this && other->GetControl() == Value) throw Exception(dxBarString(65067));
    }
  if (Value == FControl) return;
  if (TControl* old = FControl) {
    old->WindowProc = FPrevWndProc;
    FPrevWndProc = nullptr;
    old->RemoveFreeNotification(this);
    FControl = nullptr;
    if (!old->IsDestroying() && !(manager && manager->GetDesigning())) old->SetParent(nullptr);
  }
  FControl = Value;
  if (Value) {
    Value->FreeNotification(this);
    FPrevWndProc = Value->WindowProc;
    Value->WindowProc = [this](TMessage& Message) { HookedWndProc(Message); };
    FLastWidth = Value->GetWidth();
    FLastHeight = Value->GetHeight();
  }
  LayoutChanged();
}

void TdxBarControlContainerItem::HookedWndProc(TMessage& Message) {
  TControl* control = FControl;
  if (FPrevWndProc) FPrevWndProc(Message);
  if (Placing || !control || control != FControl) return;
  const bool bounds = Message.Msg == WM_SIZE || (Message.Msg == WM_WINDOWPOSCHANGED && Message.LParam == 0);
  if (!bounds || (control->GetWidth() == FLastWidth && control->GetHeight() == FLastHeight)) return;
  FLastWidth = control->GetWidth();
  FLastHeight = control->GetHeight();
  LayoutChanged();
}

void TdxBarControlContainerItem::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarItem::Notification(AComponent, Operation);
  if (Operation != opRemove || !FControl || AComponent != FControl) return;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TdxBarControlContainerControl*>(GetLink(i)->GetControl()))
      control->ReleaseControl();
  SetControl(nullptr);
}

void TdxBarControlContainerItem::SetName(const String& Value) {
  TdxBarItem::SetName(Value);
  if (!FControl) LayoutChanged();
}

void TdxBarControlContainerItem::HideControl(TdxBarControlContainerControl* Control) {
  if (!FPlaceForm || FPlaceForm->GetParent() != Control->GetBarControl()) return;
  FPlaceForm->SetVisible(false);
  FPlaceForm->ItemControl = nullptr;
  FPlaceForm->SetParent(nullptr);
}

// ---- TdxBarControlContainerControl ----

TdxBarControlContainerControl::~TdxBarControlContainerControl() {
  if (TdxBarControlContainerItem* item = GetContainer()) item->HideControl(this);
}

TdxBarControlContainerItem* TdxBarControlContainerControl::GetContainer() const {
  return dynamic_cast<TdxBarControlContainerItem*>(GetItem());
}

bool TdxBarControlContainerControl::OnQuickList() const {
  const auto* menu = dynamic_cast<const TdxBarSubMenuControl*>(GetBarControl());
  return menu && menu->IsQuickCustomizationMenu();
}

bool TdxBarControlContainerControl::Designing() const {
  return GetBarManager() && GetBarManager()->GetDesigning();
}

bool TdxBarControlContainerControl::ShowsRealControl() const {
  return !OnQuickList() && GetContainer() && GetContainer()->GetControl() && !Designing();
}

bool TdxBarControlContainerControl::IsSelectable() const {
  return OnQuickList() ? TdxBarItemControl::IsSelectable() : Designing();
}

int TdxBarControlContainerControl::GetHeight() {
  TdxBarControlContainerItem* item = GetContainer();
  if (item && item->GetControl() && !OnQuickList()) return item->GetControl()->GetHeight();
  const int height = GetBarControl()->TextHeight;
  return IsParentClosable() ? std::max(height, GetBarManager()->GetButtonHeight()) : height;
}

int TdxBarControlContainerControl::GetWidth() {
  TdxBarControlContainerItem* item = GetContainer();
  TCustomdxBarControl* window = GetBarControl();
  const int pointSize = FontPointSize(window->GetFontHandle());
  if (OnQuickList())
    return CaptionTextWidth(window, GetCaption()) + (HasImage() ? GetBarManager()->GetButtonWidth() + 4 : pointSize);
  if (item && item->GetControl()) return item->GetControl()->GetWidth();
  const int name = CaptionTextWidth(window, item ? item->GetName() : String());
  if (!IsParentClosable()) return name + 2 * window->TextHeight + GetPainter()->GetMenuCaptionExtraWidth() + 6;
  return name + pointSize;
}

void TdxBarControlContainerControl::PaintPlaceholder(HDC DC, const TRect& R) {
  TdxBarControlContainerItem* item = GetContainer();
  TRect r = R;
  FrameRect(DC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  InflateRect(&r, -1, -1);
  HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, GetSysColor(COLOR_BTNSHADOW));
  const COLORREF oldBk = SetBkColor(DC, ColorToRGB(GetBarControl()->GetColor()));
  const int oldMode = SetBkMode(DC, OPAQUE);
  FillRect(DC, &r, hatch);
  DeleteObject(hatch);
  SetBkMode(DC, TRANSPARENT);
  const String name = item && item->GetControl() ? item->GetControl()->GetName() : (item ? item->GetName() : String());
  const String text = dxBarString(65066) + name;
  const COLORREF oldText = SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ oldFont = SelectObject(DC, GetBarControl()->GetFontHandle());
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(DC, oldFont);
  SetTextColor(DC, oldText);
  SetBkMode(DC, oldMode);
  SetBkColor(DC, oldBk);
}

void TdxBarControlContainerControl::PlaceControl() {
  TdxBarControlContainerItem* item = GetContainer();
  if (!ShowsRealControl() || item->Placing) return;
  // A control left over from a hidden link places nothing.
  if (!item->IsActuallyVisible() || !GetLink()->GetVisible()) return item->HideControl(this);
  struct TPlacing {
    bool& Flag;
    ~TPlacing() { Flag = false; }
  } placing{item->Placing};
  item->Placing = true;
  TCustomdxBarControl* window = GetBarControl();
  TRect r;
  window->GetControlRect(this, r);
  const bool empty = r.Width() <= 0 || r.Height() <= 0;
  TPlaceForm* host = item->GetPlaceForm();
  TControl* control = item->GetControl();
  if (!empty || item->GetLinkCount() == 1) host->SetParent(window);
  if (!empty || host->GetParent() == window) host->SetBounds(r.left, r.top, r.Width(), r.Height());
  control->SetParent(host);
  if (!empty) {
    control->SetBounds(0, 0, host->GetClientWidth(), host->GetClientHeight());
    control->SetVisible(true);
  }
  host->SetColor(window->GetColor());
  host->ItemControl = this;
  host->SetVisible(true);
}

void TdxBarControlContainerControl::Paint(const TRect& R, int PaintType) {
  HDC dc = GetBarControl()->GetCanvas()->GetHandle();
  if (OnQuickList()) {
    TRect text = R;
    DrawGlyphArea(R, nullptr, PaintType, !HasImage(), IsSelected(), false, GetPressed(), false, false);
    const int pointSize = FontPointSize(GetBarControl()->GetFontHandle());
    text.left += HasImage() ? GetBarManager()->GetButtonWidth() : pointSize / 2;
    GetPainter()->OffsetPressedContent(text, GetPressed());
    DrawCaption(dc, GetCaption(), text, 0, GetEnabled(), IsSelected(), false, true, false);
    return;
  }
  TdxBarControlContainerItem* item = GetContainer();
  if (!item || !item->GetControl() || Designing()) return PaintPlaceholder(dc, R);
  PlaceControl();
}

void TdxBarControlContainerControl::ReleaseControl() {
  TdxBarControlContainerItem* item = GetContainer();
  if (!item || item->GetPlaceForm()->GetParent() != GetBarControl()) return;
  // Detaching the host destroys its window with the hosted control's.
  item->GetPlaceForm()->SetVisible(false);
  item->GetPlaceForm()->SetParent(nullptr);
}
