#include "cxMaskEdit.h"

#include "cxEditStringIds.h"

namespace {

const TResStringRec cxSMaskEditInvalidEditValue = {nullptr, IDS_cxSMaskEditInvalidEditValue};
const TResStringRec scxSEditRepositoryMaskItem = {nullptr, IDS_scxSEditRepositoryMaskItem};

String ValueText(const Variant& Value) {
  return Value.IsNull() ? String() : VarToStr(Value);
}

} // namespace

TcxCustomMaskEditProperties::TcxCustomMaskEditProperties(TPersistent* AOwner)
    : TcxCustomTextEditProperties(AOwner) {
  ValidateOnEnter = true;
  SetCaseInsensitive(true);
}

TcxCustomMaskEditProperties::~TcxCustomMaskEditProperties() {
  FDisplayMode.reset();
}

void TcxCustomMaskEditProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomMaskEditProperties*>(Source);
  if (!source) return TcxCustomTextEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomTextEditProperties::Assign(Source);
    SetMaskKind(source->FMaskKind);
    SetEditMask(source->FEditMask);
    SetCaseInsensitive(source->FCaseInsensitive);
    IgnoreMaskBlank = source->IgnoreMaskBlank;
    SetFormatWhenUnfocused(source->FFormatWhenUnfocused);
  } catch (...) {
    EndUpdate(true);
    throw;
  }
  EndUpdate(true);
}

// A converted letter case makes the mask's letters match in any case.
void TcxCustomMaskEditProperties::SetCaseInsensitive(bool Value) {
  FCaseInsensitive = GetCharCase() != ecNormal || Value;
  Changed();
}

void TcxCustomMaskEditProperties::SetCharCase(TEditCharCase Value) {
  if (Value == ecUpperCase || Value == ecLowerCase) SetCaseInsensitive(true);
  TcxCustomTextEditProperties::SetCharCase(Value);
}

void TcxCustomMaskEditProperties::SetMaxLength(int Value) {
  TcxCustomTextEditProperties::SetMaxLength(HasMask() ? 0 : Value);
}

TcxEditMask TcxCustomMaskEditProperties::GetEditMask() const {
  if (FMaskKind != emkStandard || !IsMaskBlank(FEditMask)) return FEditMask;
  IcxEditDefaultValuesProvider* provider = GetDefaultValuesProvider();
  return provider ? provider->DefaultEditMask() : String();
}

void TcxCustomMaskEditProperties::SetEditMask(const TcxEditMask& Value) {
  if (Value == GetEditMask()) {
    FEditMask = Value;
    return;
  }
  CreateMode(FMaskKind, nullptr, this)->CompileMask(Value);
  FEditMask = Value;
  Changed();
}

void TcxCustomMaskEditProperties::SetMaskKind(TcxEditMaskKind Value) {
  if (FMaskKind == Value) return;
  FMaskKind = Value;
  Changed();
}

void TcxCustomMaskEditProperties::SetFormatWhenUnfocused(bool Value) {
  if (FFormatWhenUnfocused == Value) return;
  FFormatWhenUnfocused = Value;
  Changed();
}

bool TcxCustomMaskEditProperties::IsMaskBlankChar(char C) {
  switch (C) {
  case '\0':
  case '\t':
  case '\n':
  case '\f':
  case '\r':
  case ' ':
    return true;
  default:
    return false;
  }
}

bool TcxCustomMaskEditProperties::IsMaskBlank(const String& S) {
  for (char c : S)
    if (!IsMaskBlankChar(c)) return false;
  return true;
}

std::unique_ptr<TcxMaskEditCustomMode>
TcxCustomMaskEditProperties::CreateMode(TcxEditMaskKind AKind, TcxCustomMaskEdit* AEdit,
                                        TcxCustomMaskEditProperties* AProperties) {
  switch (AKind) {
  case emkRegExpr:
    return std::make_unique<TcxMaskEditRegExprMode>(AEdit, AProperties);
  case emkRegExprEx:
    return std::make_unique<TcxMaskEditRegExprExMode>(AEdit, AProperties);
  default:
    return std::make_unique<TcxMaskEditStandardMode>(AEdit, AProperties);
  }
}

std::unique_ptr<TcxMaskEditCustomMode> TcxCustomMaskEditProperties::CreateMaskMode() {
  const String mask = GetEditMask();
  if (IsMaskBlank(mask)) return nullptr;
  std::unique_ptr<TcxMaskEditCustomMode> mode = CreateMode(FMaskKind, nullptr, this);
  mode->CompileMask(mask);
  return mode;
}

TcxClassRef TcxCustomMaskEditProperties::GetContainerClass() const {
  return cxClassRef<TcxMaskEdit>();
}

bool TcxCustomMaskEditProperties::IsEditValueValid(Variant& EditValue, bool AEditFocused) {
  return HasMask() || TcxCustomTextEditProperties::IsEditValueValid(EditValue, AEditFocused);
}

void TcxCustomMaskEditProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                          bool AEditFocused) {
  if (!HasMask())
    return TcxCustomTextEditProperties::EditValueToDisplayValue(EditValue, DisplayValue, AEditFocused);
  const String text = ValueText(EditValue);
  if (!FDisplayMode || FDisplayMode->GetMaskKind() != FMaskKind ||
      FDisplayMode->GetMaskText() != GetEditMask())
    FDisplayMode = CreateMaskMode();
  if (!FDisplayMode) return;
  if (AEditFocused || FMaskKind != emkStandard || FFormatWhenUnfocused)
    DisplayValue = Variant(FDisplayMode->GetFormattedText(text));
  else
    DisplayValue = Variant(FDisplayMode->GetEditValueText(text));
}

void TcxCustomMaskEditProperties::ValidateDisplayValue(Variant& DisplayValue, String& ErrorText,
                                                       TcxCustomEdit* Edit, bool& Error) {
  if (!Error) {
    auto* edit = dynamic_cast<TcxCustomMaskEdit*>(Edit);
    if (HasMask() && edit) {
      Error = !edit->GetMode()->IsValidText(ValueText(DisplayValue));
      if (Error) ErrorText = LoadLibraryResString(&cxSMaskEditInvalidEditValue);
    } else {
      Error = false;
    }
  }
  TcxCustomTextEditProperties::ValidateDisplayValue(DisplayValue, ErrorText, Edit, Error);
}

// ---- Module start ----

void cxMaskEditInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxMaskEditProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryMaskItem));
}

void cxMaskEditFinalize() {
  if (TcxRegisteredClasses* registry = EditPropertiesRegistry())
    registry->Unregister(typeid(TcxMaskEditProperties));
}
