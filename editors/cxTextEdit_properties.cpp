#include "cxTextEdit.h"

#include "cxEditStringIds.h"

#include "Locale.h"
#include "SysUtils.h"

namespace {

const TResStringRec cxSEditValueOutOfBounds = {nullptr, IDS_cxSEditValueOutOfBounds};
const TResStringRec scxSEditRepositoryTextItem = {nullptr, IDS_scxSEditRepositoryTextItem};

bool IsNumericOrDate(const Variant& Value) {
  return Value.IsNumeric() || Value.VarType() == varDate;
}

} // namespace

// ---- TcxTextEditPropertiesValues ----

void TcxTextEditPropertiesValues::Assign(const TPersistent* Source) {
  if (auto* source = dynamic_cast<const TcxTextEditPropertiesValues*>(Source)) {
    MaxLength = source->MaxLength;
    MaxValue = source->MaxValue;
    MinValue = source->MinValue;
  }
  TcxCustomEditPropertiesValues::Assign(Source);
}

void TcxTextEditPropertiesValues::RestoreDefaults() {
  TcxCustomEditPropertiesValues::RestoreDefaults();
  MaxLength = MaxValue = MinValue = false;
}

// ---- TcxCustomTextEditProperties ----

TcxCustomTextEditProperties::TcxCustomTextEditProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner), FLookupItems(std::make_unique<TStringList>()) {
  FLookupItems->OnChange = [this](TObject*) { LookupItemsChanged(); };
}

TcxCustomTextEditProperties::~TcxCustomTextEditProperties() {
  FLookupItems->OnChange = nullptr;
}

std::unique_ptr<TcxCustomEditPropertiesValues> TcxCustomTextEditProperties::CreateAssignedValues() const {
  return std::make_unique<TcxTextEditPropertiesValues>();
}

void TcxCustomTextEditProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomTextEditProperties*>(Source);
  if (!source) return TcxCustomEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomEditProperties::Assign(Source);
    SetCharCase(source->FCharCase);
    SetEchoMode(source->FEchoMode);
    SetListSelectionHighlight(source->FListSelectionHighlight);
    SetHideCursor(source->FHideCursor);
    SetHideSelection(source->FHideSelection);
    SetMaxLength(source->GetMaxLength());
    ValidChars = source->ValidChars;
    TcxTextEditPropertiesValues* values = GetTextAssignedValues();
    values->MaxValue = values->MinValue = false;
    if (source->IsMaxValueStored()) SetMaxValue(source->FMaxValue);
    if (source->IsMinValueStored()) SetMinValue(source->FMinValue);
    SetOEMConvert(source->FOEMConvert);
    ImmediateUpdateText = source->ImmediateUpdateText;
    FLookupItems->SetSorted(false);
    FLookupItems->Assign(source->FLookupItems.get());
    FLookupItems->SetSorted(source->FLookupItems->GetSorted());
    OnNewLookupDisplayText = source->OnNewLookupDisplayText;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomTextEditProperties::SetCharCase(TEditCharCase Value) {
  Store(FCharCase, Value);
}

void TcxCustomTextEditProperties::SetEchoMode(TcxEditEchoMode Value) {
  Store(FEchoMode, Value);
}

void TcxCustomTextEditProperties::SetListSelectionHighlight(bool Value) {
  if (FListSelectionHighlight == Value) return;
  FListSelectionHighlight = Value;
  if (GetEditingStyle() == tesListOnly) Changed();
}

void TcxCustomTextEditProperties::SetHideCursor(bool Value) {
  Store(FHideCursor, Value);
}

void TcxCustomTextEditProperties::SetHideSelection(bool Value) {
  Store(FHideSelection, Value);
}

void TcxCustomTextEditProperties::SetOEMConvert(bool Value) {
  Store(FOEMConvert, Value);
}

int TcxCustomTextEditProperties::GetMaxLength() const {
  return IsMaxLengthStored() ? FMaxLength : GetDefaultMaxLength();
}

void TcxCustomTextEditProperties::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  if (IsMaxLengthStored() && FMaxLength == Value) return;
  GetTextAssignedValues()->MaxLength = true;
  FMaxLength = Value;
  Changed();
}

double TcxCustomTextEditProperties::GetMaxValue() const {
  if (IsMaxValueStored()) return FMaxValue;
  IcxEditDefaultValuesProvider* provider = GetDefaultValuesProvider();
  return provider ? provider->DefaultMaxValue() : 0.0;
}

double TcxCustomTextEditProperties::GetMinValue() const {
  if (IsMinValueStored()) return FMinValue;
  IcxEditDefaultValuesProvider* provider = GetDefaultValuesProvider();
  return provider ? provider->DefaultMinValue() : 0.0;
}

// A bound never crosses the other one when that one is set.
void TcxCustomTextEditProperties::SetMaxValue(double Value) {
  if (IsMinValueStored() && Value < FMinValue) Value = FMinValue;
  if (IsMaxValueStored() && FMaxValue == Value) return;
  GetTextAssignedValues()->MaxValue = true;
  FMaxValue = Value;
  Changed();
}

void TcxCustomTextEditProperties::SetMinValue(double Value) {
  if (IsMaxValueStored() && Value > FMaxValue) Value = FMaxValue;
  if (IsMinValueStored() && FMinValue == Value) return;
  GetTextAssignedValues()->MinValue = true;
  FMinValue = Value;
  Changed();
}

int TcxCustomTextEditProperties::GetDefaultMaxLength() const {
  IcxEditDefaultValuesProvider* provider = GetDefaultValuesProvider();
  return provider ? provider->DefaultMaxLength() : 0;
}

void TcxCustomTextEditProperties::AlignmentChanged() {
  BeginUpdate();
  try {
    TcxCustomEditProperties::AlignmentChanged();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomTextEditProperties::SetAlignment(const TcxEditAlignment* Value) {
  BeginUpdate();
  try {
    TcxCustomEditProperties::SetAlignment(Value);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TcxCustomTextEditProperties::ApplyCharCase(const String& AText) const {
  if (FCharCase == ecNormal) return AText;
  String text = AText;
  for (char& c : text) {
    if (FCharCase == ecUpperCase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (FCharCase == ecLowerCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void TcxCustomTextEditProperties::GetDisplayTextForValue(const Variant& DisplayValue, String& Text) {
  Text = DisplayValue.IsNull() ? String() : VarToStr(DisplayValue);
  if (FEchoMode == eemPassword) Text.assign(Text.size(), '*');
  Text = ApplyCharCase(Text);
}

void TcxCustomTextEditProperties::DoNewLookupDisplayText(TObject* Sender, const String& Text) {
  if (OnNewLookupDisplayText) OnNewLookupDisplayText(Sender, Text);
}

bool TcxCustomTextEditProperties::IsLookupItem(const String& Text) const {
  const String text = AnsiUpperCase(Text);
  for (int i = 0; i < FLookupItems->GetCount(); ++i)
    if (AnsiUpperCase(FLookupItems->Get(i)) == text) return true;
  return false;
}

bool TcxCustomTextEditProperties::IsDisplayValueValid(Variant& DisplayValue, bool) {
  const String text = DisplayValue.IsNull() ? String() : VarToStr(DisplayValue);
  if (text.empty()) return true;
  const TcxTextEditingStyle style = GetEditingStyle();
  if ((style == tesMatchItem || style == tesListOnly) && HasLookupData() && !IsLookupItem(text)) return false;
  DisplayValue = Variant(ApplyCharCase(text));
  return true;
}

bool TcxCustomTextEditProperties::IsEditValueValid(Variant& EditValue, bool AEditFocused) {
  if (EditValue.IsNull() || EditValue.VarType() != varString) return true;
  return IsDisplayValueValid(EditValue, AEditFocused);
}

void TcxCustomTextEditProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                          bool) {
  DisplayValue = Variant(EditValue.IsNull() ? String() : VarToStr(EditValue));
}

void TcxCustomTextEditProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  Variant copy = EditValue;
  Variant displayValue;
  if (IsEditValueValid(copy, false))
    EditValueToDisplayValue(copy, displayValue, false);
  else
    displayValue = Variant(VarToStr(EditValue));
  GetDisplayTextForValue(displayValue, Text);
}

void TcxCustomTextEditProperties::ValidateValueBounds(const Variant& DisplayValue, String& ErrorText,
                                                      TcxCustomEdit* Edit, bool& Error) {
  Variant value;
  Edit->MakeEditValue(DisplayValue, value, Edit->IsFocused());
  if (!IsNumericOrDate(value)) return;
  const double number = value.AsFloat();
  if (GetMinValue() <= number && number <= GetMaxValue()) return;
  Error = true;
  ErrorText = LoadLibraryResString(&cxSEditValueOutOfBounds);
}

void TcxCustomTextEditProperties::ValidateDisplayValue(Variant& DisplayValue, String& ErrorText,
                                                       TcxCustomEdit* Edit, bool& Error) {
  if (UsesValueBounds() && GetMaxValue() != GetMinValue() && Edit)
    ValidateValueBounds(DisplayValue, ErrorText, Edit, Error);
  TcxCustomEditProperties::ValidateDisplayValue(DisplayValue, ErrorText, Edit, Error);
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomTextEditProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomTextEditViewData>(this, AStyle, AIsInplace);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomTextEditProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomTextEditViewInfo>();
}

TcxClassRef TcxCustomTextEditProperties::GetContainerClass() const {
  return cxClassRef<TcxTextEdit>();
}

// ---- Module start ----

void cxTextEditInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxTextEditProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryTextItem));
}

void cxTextEditFinalize() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxTextEditProperties));
}
