#include "cxSpinEdit.h"

#include "cxEditConsts.h"
#include "cxEditPaintUtils.h"
#include "cxEditStringIds.h"

#include "ExtCtrls.h"
#include "Locale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace {

const TResStringRec scxSEditRepositorySpinItem = {nullptr, IDS_scxSEditRepositorySpinItem};
const TResStringRec cxSEditNumericValueConvertError = {nullptr, IDS_cxSEditNumericValueConvertError};

constexpr UINT kFirstRepeatDelay = 400;
constexpr UINT kRepeatInterval = 100;

bool IsNumberOrString(const Variant& AValue) {
  return AValue.IsNumeric() || AValue.IsStr();
}

// Whole decimal digits with an optional sign.
bool IsIntegerText(const String& AText) {
  size_t i = AText[0] == '+' || AText[0] == '-' ? 1 : 0;
  if (i == AText.size()) return false;
  for (; i < AText.size(); ++i)
    if (AText[i] < '0' || AText[i] > '9') return false;
  return true;
}

} // namespace

// ---- TcxSpinEditButtons ----

void TcxSpinEditButtons::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxSpinEditButtons*>(Source);
  if (!source) return TPersistent::Assign(Source);
  FOwner->BeginUpdate();
  SetPosition(source->FPosition);
  SetShowFastButtons(source->FShowFastButtons);
  FOwner->EndUpdate(true);
}

void TcxSpinEditButtons::SetPosition(TcxSpinEditButtonsPosition Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  FOwner->Changed();
}

void TcxSpinEditButtons::SetShowFastButtons(bool Value) {
  if (FShowFastButtons == Value) return;
  FShowFastButtons = Value;
  FOwner->UpdateFastButtons();
  FOwner->Changed();
}

// ---- TcxSpinEditPropertiesValues ----

void TcxSpinEditPropertiesValues::Assign(const TPersistent* Source) {
  TcxTextEditPropertiesValues::Assign(Source);
  if (auto* source = dynamic_cast<const TcxSpinEditPropertiesValues*>(Source)) ValueType = source->ValueType;
}

void TcxSpinEditPropertiesValues::RestoreDefaults() {
  TcxTextEditPropertiesValues::RestoreDefaults();
  ValueType = false;
}

// ---- TcxCustomSpinEditProperties ----

TcxCustomSpinEditProperties::TcxCustomSpinEditProperties(TPersistent* AOwner)
    : TcxCustomMaskEditProperties(AOwner), FSpinButtons(std::make_unique<TcxSpinEditButtons>(this)) {
  GetButtons()->Add();
  GetButtons()->Add();
}

TcxCustomSpinEditProperties::~TcxCustomSpinEditProperties() = default;

void TcxCustomSpinEditProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomSpinEditProperties*>(Source);
  if (!source) return TcxCustomMaskEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomMaskEditProperties::Assign(Source);
    FCanEdit = source->FCanEdit;
    FIncrement = source->FIncrement;
    FLargeIncrement = source->FLargeIncrement;
    UseCtrlIncrement = source->UseCtrlIncrement;
    FValueType = source->FValueType;
    GetSpinAssignedValues()->ValueType = source->GetSpinAssignedValues()->ValueType;
    FSpinButtons->Assign(source->FSpinButtons.get());
  } catch (...) {
    EndUpdate(true);
    throw;
  }
  EndUpdate(true);
}

void TcxCustomSpinEditProperties::SetCanEdit(bool Value) {
  if (FCanEdit == Value) return;
  FCanEdit = Value;
  Changed();
}

void TcxCustomSpinEditProperties::SetIncrement(double Value) {
  if (FIncrement == Value) return;
  FIncrement = Value;
  Changed();
}

void TcxCustomSpinEditProperties::SetLargeIncrement(double Value) {
  if (FLargeIncrement == Value) return;
  FLargeIncrement = Value;
  Changed();
}

TcxSpinEditValueType TcxCustomSpinEditProperties::GetValueType() const {
  if (GetSpinAssignedValues()->ValueType) return FValueType;
  if (IcxEditDefaultValuesProvider* provider = GetDefaultValuesProvider())
    return provider->DefaultValueType() == 0 ? vtInt : vtFloat;
  return vtFloat;
}

void TcxCustomSpinEditProperties::SetValueType(TcxSpinEditValueType Value) {
  if (GetSpinAssignedValues()->ValueType && FValueType == Value) return;
  GetSpinAssignedValues()->ValueType = true;
  FValueType = Value;
  Changed();
}

void TcxCustomSpinEditProperties::UpdateFastButtons() {
  TcxEditButtons* buttons = GetButtons();
  const int count = FSpinButtons->GetShowFastButtons() ? 4 : 2;
  while (buttons->GetCount() < count)
    buttons->Add();
  while (buttons->GetCount() > count)
    buttons->Delete(buttons->GetCount() - 1);
}

double TcxCustomSpinEditProperties::TextToNumber(const String& AText) const {
  const String text = Trim(AText);
  double value = 0;
  if (GetValueType() == vtInt) {
    if (!IsIntegerText(text)) throw EConvertError(Format("'%s' is not a valid integer value", text));
    return StrToInt(text);
  }
  String normalized = text;
  for (char& c : normalized)
    if (c == FormatSettings.DecimalSeparator)
      c = '.';
    else if (c == '.')
      c = ',';
  if (!TryStrToFloat(normalized, value))
    throw EConvertError(Format("'%s' is not a valid floating point value", text));
  return value;
}

String TcxCustomSpinEditProperties::NumberToText(double AValue) const {
  if (GetValueType() == vtInt) return std::to_string(static_cast<long long>(std::nearbyint(AValue)));
  char buffer[40];
  std::snprintf(buffer, sizeof(buffer), "%.15g", AValue);
  String text = buffer;
  for (char& c : text)
    if (c == '.') c = FormatSettings.DecimalSeparator;
  return text;
}

Variant TcxCustomSpinEditProperties::NumberToValue(double AValue) const {
  if (GetValueType() == vtFloat) return Variant(AValue);
  return Variant(static_cast<int>(std::nearbyint(std::clamp<double>(AValue, INT_MIN, INT_MAX))));
}

double TcxCustomSpinEditProperties::GetMinNumber() const {
  return GetValueType() == vtInt ? std::trunc(GetMinValue()) : GetMinValue();
}

TcxClassRef TcxCustomSpinEditProperties::GetContainerClass() const {
  return cxClassRef<TcxSpinEdit>();
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomSpinEditProperties::CreateViewInfo() const {
  return std::make_unique<TcxSpinEditViewInfo>();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomSpinEditProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxSpinEditViewData>(this, AStyle, AIsInplace);
}

std::unique_ptr<TcxCustomEditPropertiesValues> TcxCustomSpinEditProperties::CreateAssignedValues() const {
  return std::make_unique<TcxSpinEditPropertiesValues>();
}

bool TcxCustomSpinEditProperties::IsEditValueValid(Variant& EditValue, bool AEditFocused) {
  if (!EditValue.IsNull() && !IsNumberOrString(EditValue)) return false;
  if (!TcxCustomMaskEditProperties::IsEditValueValid(EditValue, AEditFocused)) return false;
  if (EditValue.IsNull()) return true;
  try {
    if (EditValue.IsStr() && Trim(EditValue.AsString()).empty()) return true;
    if (EditValue.IsStr()) TextToNumber(EditValue.AsString());
    return true;
  } catch (const EConvertError&) {
    return false;
  }
}

void TcxCustomSpinEditProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                          bool) {
  if (EditValue.IsNull()) {
    DisplayValue = Variant(String());
    return;
  }
  if (!IsNumberOrString(EditValue))
    throw EConvertError(LoadLibraryResString(&cxSEditNumericValueConvertError));
  if (EditValue.IsStr() && Trim(EditValue.AsString()).empty()) {
    DisplayValue = Variant(NumberToText(0));
    return;
  }
  DisplayValue =
      Variant(NumberToText(EditValue.IsStr() ? TextToNumber(EditValue.AsString()) : EditValue.AsFloat()));
}

void TcxCustomSpinEditProperties::ValidateDisplayValue(Variant& DisplayValue, String& ErrorText,
                                                       TcxCustomEdit* Edit, bool& Error) {
  if (!IsDisplayValueValid(DisplayValue, true)) {
    Error = true;
    ErrorText = LoadLibraryResString(&cxSEditValidateErrorText);
  }
  TcxCustomMaskEditProperties::ValidateDisplayValue(DisplayValue, ErrorText, Edit, Error);
}

// A value beyond the bounds is not refused: it takes its canonical text,
// which the step and the clamp on leaving bring back within them.
bool TcxCustomSpinEditProperties::IsDisplayValueValid(Variant& DisplayValue, bool AEditFocused) {
  if (!TcxCustomMaskEditProperties::IsDisplayValueValid(DisplayValue, AEditFocused)) return false;
  const String text = DisplayValue.IsNull() ? String() : VarToStr(DisplayValue);
  if (Trim(text).empty()) return true;
  try {
    const double value = TextToNumber(text);
    if (HasBounds() && (value < GetMinValue() || value > GetMaxValue()))
      DisplayValue = Variant(NumberToText(value));
    return true;
  } catch (const EConvertError&) {
    return false;
  }
}

void TcxCustomSpinEditProperties::GetEmptyDisplayValue(Variant& Value) {
  Value = Variant(HasBounds() ? NumberToText(GetMinValue()) : String("0"));
}

// ---- View data: the button layout ----

TcxCustomSpinEditProperties* TcxSpinEditViewData::SpinProperties() const {
  return static_cast<TcxCustomSpinEditProperties*>(GetProperties());
}

bool TcxSpinEditViewData::CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AIndex) {
  return KeyboardPressed == 0 && TcxCustomTextEditViewData::CanPressButton(AViewInfo, AIndex);
}

bool TcxSpinEditViewData::IsButtonPressed(TcxCustomEditViewInfo*, int AIndex) {
  return KeyboardPressed == AIndex + 1;
}

void TcxSpinEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button,
                                    TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  auto* info = static_cast<TcxSpinEditViewInfo*>(AViewInfo);
  info->ButtonsPosition = SpinProperties()->GetSpinButtons()->GetPosition();
  info->DelimiterLine[0] = info->DelimiterLine[1] = TPoint();
  TcxCustomTextEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  CalculateSpinButtonsNativeInfo(this, info);
}

void TcxSpinEditViewData::CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                                TRect& ARect, int AIndex) {
  if (AIndex != AViewInfo->ButtonCount() - 1) return;
  PlaceButtons(ACanvas, static_cast<TcxSpinEditViewInfo*>(AViewInfo), ARect);
}

// The buttons are placed all at once, at the first of them to be set up;
// setting up the others takes each one's alignment from its settings again,
// so the backward buttons at the left are marked left-aligned once more, or
// the text area would end where they start.
void TcxSpinEditViewData::InitButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& ARect,
                                             int AIndex) {
  TcxCustomTextEditViewData::InitButtonViewInfo(ACanvas, AViewInfo, ARect, AIndex);
  TcxEditButtonViewInfo* button = AViewInfo->ButtonsInfo[AIndex].get();
  if (static_cast<TcxSpinEditViewInfo*>(AViewInfo)->ButtonsPosition == sbpHorzLeftRight &&
      (button->ButtonIndex == sebBackward || button->ButtonIndex == sebFastBackward))
    button->LeftAlignment = true;
}

void TcxSpinEditViewData::PlaceButtons(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, const TRect& R) {
  auto& buttons = AViewInfo->ButtonsInfo;
  const int count = AViewInfo->ButtonCount();
  const bool fast = count >= 4;
  const bool themed = IsThemedPartAvailable(NativeStyle, totSpin);
  const bool hotFlat = !themed && buttons[0]->ButtonStyle == btsHotFlat;
  const TcxSpinEditButtonsPosition layout = AViewInfo->ButtonsPosition;
  ACanvas->SetFont(GetStyle()->GetFont());
  const int w = GetEditButtonWidth(ACanvas, buttons[count - 1].get());
  int p = 0;
  if (themed) {
    TRect client, margins;
    GetClientExtent(AViewInfo, client);
    GetEditContentMargins(ACanvas, this, margins);
    const int h = ACanvas->TextHeight("Zg") + GetEditTextOffsets(this).cy + client.top + client.bottom -
                  margins.top - margins.bottom - 1;
    p = h / 2 + h % 2;
  } else {
    TRect arrow;
    GetArrowExtent(SIZE{w + 2, R.Height() / 2 + 2}, 0, arrow);
    AViewInfo->ArrowSize = arrow.Height();
    p = 4 * AViewInfo->ArrowSize - 3;
  }
  if (themed) {
    TRect arrow;
    GetArrowExtent(SIZE{w + 2, R.Height() / 2 + 2}, 0, arrow);
    AViewInfo->ArrowSize = arrow.Height();
  }
  const int fastWidth = 3 * p / 2 + (3 * p) % 2;
  auto place = [&](int AIndex, int ALeft, int ATop, int ARight, int ABottom, bool ALeftAligned) {
    TcxEditButtonViewInfo* b = buttons[AIndex].get();
    b->Bounds = TRect(ALeft, ATop, ARight, ABottom);
    b->VisibleBounds = b->Bounds;
    b->LeftAlignment = ALeftAligned;
  };
  int right = R.right;
  if (fast) {
    place(sebFastForward, right - fastWidth, R.top, right, R.bottom, false);
    right -= fastWidth;
  }
  switch (layout) {
  case sbpVert: {
    const int forwardHeight = themed ? (R.Height() - 1) / 2 : R.Height() / 2;
    int split = R.top + forwardHeight;
    const bool shiftBorder = hotFlat && forwardHeight < R.Height() - forwardHeight;
    if (shiftBorder) ++split;
    place(sebForward, right - w, R.top, right, split, false);
    place(sebBackward, right - w, split + (themed ? 1 : 0), right, R.bottom, false);
    if (fast) place(sebFastBackward, right - w - fastWidth, R.top, right - w, R.bottom, false);
    if (themed)
      AViewInfo->DelimiterLine[0] = TPoint(right - w, split),
      AViewInfo->DelimiterLine[1] = TPoint(right - 1, split);
    break;
  }
  case sbpHorzRight: {
    place(sebForward, right - p, R.top, right, R.bottom, false);
    int left = right - p - (themed ? 1 : 0);
    int backLeft = left - p;
    if (hotFlat && !fast) --backLeft;
    place(sebBackward, backLeft, R.top, left, R.bottom, false);
    if (themed)
      AViewInfo->DelimiterLine[0] = TPoint(left, R.top),
      AViewInfo->DelimiterLine[1] = TPoint(left, R.bottom - 1);
    if (fast)
      place(sebFastBackward, backLeft - fastWidth - (hotFlat ? 1 : 0), R.top, backLeft, R.bottom, false);
    break;
  }
  case sbpHorzLeftRight: {
    int forwardLeft = right - p - (hotFlat ? 1 : 0);
    place(sebForward, forwardLeft + (themed ? 1 : 0), R.top, right, R.bottom, false);
    int left = R.left;
    if (fast) {
      place(sebFastBackward, left, R.top, left + fastWidth, R.bottom, true);
      left += fastWidth;
    }
    place(sebBackward, left, R.top, left + p + (hotFlat ? 1 : 0), R.bottom, true);
    break;
  }
  }
  static const int kVertParts[4] = {SPNP_DOWN, SPNP_UP, SPNP_DOWNHORZ, SPNP_UPHORZ};
  static const int kHorzParts[4] = {SPNP_DOWNHORZ, SPNP_UPHORZ, SPNP_DOWNHORZ, SPNP_UPHORZ};
  for (int i = 0; i < count; ++i)
    buttons[i]->ThemePart = themed ? (layout == sbpVert ? kVertParts : kHorzParts)[i & 3] : 0;
}

// ---- TcxCustomSpinEdit ----

TcxCustomSpinEdit::TcxCustomSpinEdit(TComponent* AOwner) : TcxCustomMaskEdit(AOwner) {
  SetInternalEditValue(Variant(0));
}

TcxCustomSpinEdit::~TcxCustomSpinEdit() = default;

std::unique_ptr<TcxCustomEditProperties> TcxCustomSpinEdit::CreateProperties() {
  return std::make_unique<TcxSpinEditProperties>(this);
}

TcxContainerStyleValues TcxCustomSpinEdit::GetHiddenStyleValues() const {
  TcxContainerStyleValues values = TcxCustomMaskEdit::GetHiddenStyleValues();
  // The popup border: a spin edit has no popup.
  values.Include(static_cast<TcxContainerStyleValue>(10));
  return values;
}

double TcxCustomSpinEdit::GetIncrement(TcxSpinEditButton AKind) {
  TcxCustomSpinEditProperties* properties = GetActiveProperties();
  double increment = AKind <= sebForward ? properties->GetIncrement() : properties->GetLargeIncrement();
  if (properties->GetValueType() == vtInt) increment = std::nearbyint(increment);
  return AKind == sebBackward || AKind == sebFastBackward ? -increment : increment;
}

double TcxCustomSpinEdit::NumberOf(const Variant& AValue) {
  return AValue.IsNull() ? 0 : AValue.AsFloat();
}

Variant TcxCustomSpinEdit::GetValue() {
  TcxCustomSpinEditProperties* properties = GetActiveProperties();
  double number = properties->GetMinNumber();
  if (IsFocused()) {
    String text;
    GetDisplayText(text);
    Variant value;
    MakeEditValue(Variant(text), value, true);
    if (!value.IsNull()) number = value.AsFloat();
  } else {
    const Variant& value = GetEditValueRef();
    try {
      if (value.IsNumeric()) number = value.AsFloat();
      if (value.IsStr())
        number = Trim(value.AsString()).empty() ? 0 : properties->TextToNumber(value.AsString());
    } catch (const EConvertError&) {
    }
  }
  return properties->NumberToValue(number);
}

void TcxCustomSpinEdit::SetValue(const Variant& Value) {
  if (Value.IsNull()) return;
  if (IsFocused()) {
    ApplyDisplayText(VarToStr(Value));
    return;
  }
  Variant copy = Value;
  if (GetActiveProperties()->IsEditValueValid(copy, false)) SetEditValue(Value);
}

void TcxCustomSpinEdit::MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool) {
  TcxCustomSpinEditProperties* properties = GetActiveProperties();
  const String text = ADisplayValue.IsNull() ? String() : Trim(VarToStr(ADisplayValue));
  if (text.empty()) {
    EditValue = Null();
    return;
  }
  double number = 0;
  try {
    number = properties->TextToNumber(text);
  } catch (const EConvertError&) {
    number = properties->GetMinNumber();
  }
  EditValue = properties->NumberToValue(number);
}

// A vtInt step never leaves the 32-bit range: it stops at its limit, as a
// bound does.
bool TcxCustomSpinEdit::SteppedNumber(TcxSpinEditButton AKind, double& AResult) {
  TcxCustomSpinEditProperties* properties = GetActiveProperties();
  const double value = NumberOf(GetValue());
  const bool forward = AKind == sebForward || AKind == sebFastForward;
  if (!properties->HasBounds()) {
    AResult = value + GetIncrement(AKind);
    if (properties->GetValueType() == vtInt) AResult = std::clamp<double>(AResult, INT_MIN, INT_MAX);
    return true;
  }
  const double minValue = properties->GetMinValue();
  const double maxValue = properties->GetMaxValue();
  if (value < minValue) {
    AResult = minValue;
    return forward;
  }
  if (value > maxValue) {
    AResult = maxValue;
    return !forward;
  }
  AResult = value + GetIncrement(AKind);
  if (AResult >= minValue && AResult <= maxValue) return true;
  if (!StepClampsToBounds()) return false;
  AResult = AResult < minValue ? minValue : maxValue;
  return true;
}

bool TcxCustomSpinEdit::DoStep(TcxSpinEditButton AKind) {
  TcxControlGuard guard(this);
  LockChangeEvents(true);
  bool changed = false;
  try {
    double value = 0;
    if (SteppedNumber(AKind, value) && QueryEditing() && guard.Alive()) ApplyStep(value, changed);
  } catch (...) {
    if (guard.Alive()) LockChangeEvents(false);
    throw;
  }
  if (guard.Alive()) LockChangeEvents(false);
  return changed;
}

void TcxCustomSpinEdit::ApplyStep(double AValue, bool& AChanged) {
  TcxCustomSpinEditProperties* properties = GetActiveProperties();
  TcxControlGuard guard(this);
  const String oldText = GetText();
  Variant display;
  properties->EditValueToDisplayValue(properties->NumberToValue(AValue), display, IsFocused());
  const int selStart = GetEditSelStart();
  const int selLength = GetEditSelLength();
  SetUserChange(true);
  try {
    ApplyDisplayText(VarToStr(display));
  } catch (...) {
    if (guard.Alive()) SetUserChange(false);
    throw;
  }
  if (!guard.Alive()) return;
  SetUserChange(false);
  AChanged = GetText() != oldText;
  if (!AChanged) return;
  SetModifiedSinceEnter(true);
  if (properties->KeepsSelectionOnStep())
    SetSelection(selStart, selLength);
  else
    SetSelection(static_cast<int>(GetText().size()), 0);
  if (properties->ImmediatePost && CanPostEditValue() && ValidateEdit(true) && guard.Alive()) PostEditValue();
}

void TcxCustomSpinEdit::ClampValueToBounds() {
  TcxCustomSpinEditProperties* properties = GetActiveProperties();
  if (!properties->HasBounds()) return;
  const bool userChange = IsUserChange();
  SetUserChange(GetModifiedSinceEnter());
  const double value = NumberOf(GetValue());
  if (value < properties->GetMinValue()) SetValue(properties->NumberToValue(properties->GetMinValue()));
  if (value > properties->GetMaxValue()) SetValue(properties->NumberToValue(properties->GetMaxValue()));
  SetUserChange(userChange);
}

void TcxCustomSpinEdit::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  TcxCustomMaskEdit::ApplyPropertiesChange(AProperties);
  if (GetModifiedSinceEnter() && !IsInnerEditMissing()) ClampValueToBounds();
}

void TcxCustomSpinEdit::InitializeViewData(TcxCustomEditViewData* AViewData) {
  TcxCustomMaskEdit::InitializeViewData(AViewData);
  if (auto* data = dynamic_cast<TcxSpinEditViewData*>(AViewData)) data->KeyboardPressed = FKeyboardPressed;
}

// ---- Buttons and the repeat ----

void TcxCustomSpinEdit::DoButtonDown(int AIndex) {
  TcxCustomMaskEdit::DoButtonDown(AIndex);
  if (FKeyboardPressed != 0 || AIndex < 0) return;
  TcxControlGuard guard(this);
  DoStep(static_cast<TcxSpinEditButton>(AIndex));
  if (!guard.Alive() || GetActiveProperties()->GetReadOnly()) return;
  delete FTimer;
  FTimer = new TTimer(this);
  FTimer->SetInterval(kFirstRepeatDelay);
  FTimer->SetOnTimer([this](TObject*) { TimerTick(); });
}

void TcxCustomSpinEdit::TimerTick() {
  if (FTimer->GetInterval() == kFirstRepeatDelay) FTimer->SetInterval(kRepeatInterval);
  const int pressed = GetViewInfo()->PressedButton;
  if (pressed < 0) return;
  // The step's events may free the editor, and with it this timer: nothing
  // of either is touched afterwards.
  DoStep(static_cast<TcxSpinEditButton>(GetViewInfo()->ButtonsInfo[pressed]->ButtonIndex));
}

void TcxCustomSpinEdit::StopSpinning() {
  if (FKeyboardPressed != 0) {
    FKeyboardPressed = 0;
    CalculateEditViewInfoAtCursor();
    Invalidate();
  }
  TcxCustomEditViewInfo* info = GetViewInfo();
  for (int i = 0; i < std::min(2, info->ButtonCount()); ++i)
    if (info->ButtonsInfo[i]->State == ebsPressed) {
      info->ButtonsInfo[i]->State = ebsNormal;
      Invalidate();
    }
  delete FTimer;
  FTimer = nullptr;
  if (MouseCapture()) SetMouseCapture(false);
}

void TcxCustomSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::MouseUp(Button, Shift, X, Y);
  if (guard.Alive()) StopSpinning();
}

void TcxCustomSpinEdit::FocusChanged() {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::FocusChanged();
  if (guard.Alive()) StopSpinning();
}

void TcxCustomSpinEdit::DblClick() {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::DblClick();
  if (guard.Alive() && GetPressedButtonIndex() < 0) StopSpinning();
}

bool TcxCustomSpinEdit::UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) {
  const bool result = TcxCustomMaskEdit::UpdateMouseState(P, Button, Shift, AIsMouseEvent);
  if (FTimer && GetViewInfo()->PressedButton < 0 && !Shift.Contains(ssLeft)) StopSpinning();
  return result;
}

bool TcxCustomSpinEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint) {
  if (!CanUseMouseWheel(Shift)) return false;
  DoStep(WheelDelta < 0 ? sebBackward : sebForward);
  return true;
}

// ---- Keys ----

bool TcxCustomSpinEdit::IsSpinKey(WORD Key, TShiftState Shift) const {
  if (Key != VK_UP && Key != VK_DOWN && Key != VK_PRIOR && Key != VK_NEXT) return false;
  return !GetActiveProperties()->UseCtrlIncrement || Shift.Contains(ssCtrl);
}

void TcxCustomSpinEdit::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  if (IsSpinKey(Key, Shift)) {
    if (!GetDataBinding()->GetModified() && !QueryEditing()) {
      Key = 0;
      return;
    }
    if (!guard.Alive()) return;
    const TcxSpinEditButton kind = Key == VK_PRIOR  ? sebFastForward
                                   : Key == VK_NEXT ? sebFastBackward
                                   : Key == VK_UP   ? sebForward
                                                    : sebBackward;
    FKeyboardPressed = kind + 1;
    if (IcxCustomInnerEdit* inner = GetInnerEdit())
      if (inner->GetControl()->MouseCapture()) inner->GetControl()->SetMouseCapture(false);
    CalculateEditViewInfoAtCursor();
    Invalidate();
    DoStep(kind);
    Key = 0;
    return;
  }
  StopSpinning();
  if (!GetActiveProperties()->GetCanEdit() && IsEditingKey(Key, Shift)) {
    if (OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
    Key = 0;
    return;
  }
  if (guard.Alive()) TcxCustomMaskEdit::HandleEditKeyDown(Key, Shift);
}

void TcxCustomSpinEdit::HandleEditKeyUp(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  TcxCustomMaskEdit::HandleEditKeyUp(Key, Shift);
  if (guard.Alive() && (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT)) StopSpinning();
}

void TcxCustomSpinEdit::HandleEditKeyPress(char& Key) {
  if (Key == ',' || Key == '.') Key = FormatSettings.DecimalSeparator;
  const auto code = static_cast<unsigned char>(Key);
  if ((Key == '\b' || code >= 32) && !IsCharAllowed(Key)) {
    Key = 0;
    MessageBeep(0);
    return;
  }
  TcxCustomMaskEdit::HandleEditKeyPress(Key);
}

bool TcxCustomSpinEdit::IsCharAllowed(char Ch) {
  const auto code = static_cast<unsigned char>(Ch);
  if (!GetActiveProperties()->GetCanEdit()) return Ch != '\b' && code < 32;
  if (code < 32 || Ch == '+' || Ch == '-' || (Ch >= '0' && Ch <= '9')) return true;
  if (GetActiveProperties()->GetValueType() == vtFloat && Ch == FormatSettings.DecimalSeparator) return true;
  return GetActiveProperties()->ValidChars.test(code);
}

void TcxCustomSpinEdit::CutToClipboard() {
  if (IsUserChange() && !GetActiveProperties()->GetCanEdit()) return CopyToClipboard();
  TcxCustomMaskEdit::CutToClipboard();
}

void TcxCustomSpinEdit::PasteFromClipboard() {
  if (IsUserChange() && !GetActiveProperties()->GetCanEdit()) return;
  TcxCustomMaskEdit::PasteFromClipboard();
}

// ---- Registration ----

void cxSpinEditInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxSpinEditProperties>(),
                                     LoadLibraryResString(&scxSEditRepositorySpinItem));
}

void cxSpinEditFinalize() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxSpinEditProperties));
}
