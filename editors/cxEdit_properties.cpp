#include "cxEdit.h"

#include "cxEditConsts.h"
#include "cxVariants.h"

#include <algorithm>

namespace {

std::unique_ptr<std::vector<TcxCustomEditProperties*>> PropertiesList;
std::unique_ptr<TcxRegisteredClasses> PropertiesRegistry;

void RemoveFromList(TcxCustomEditProperties* AProperties) {
  if (!PropertiesList) return;
  auto& list = *PropertiesList;
  list.erase(std::remove(list.begin(), list.end(), AProperties), list.end());
}

} // namespace

const std::vector<TcxCustomEditProperties*>* EditPropertiesList() {
  return PropertiesList.get();
}

TcxRegisteredClasses* EditPropertiesRegistry() {
  if (!PropertiesRegistry) PropertiesRegistry = std::make_unique<TcxRegisteredClasses>(false);
  return PropertiesRegistry.get();
}

void cxEditInitialize() {
  PropertiesList = std::make_unique<std::vector<TcxCustomEditProperties*>>();
}

void cxEditFinalize() {
  PropertiesRegistry.reset();
  PropertiesList.reset();
}

// ---- TcxCustomEditDefaultValuesProvider ----

TcxCustomEditDefaultValuesProvider::~TcxCustomEditDefaultValuesProvider() {
  DetachFromProperties();
}

void TcxCustomEditDefaultValuesProvider::NotifyChanged() {
  if (OnChanged) OnChanged(this);
}

void TcxCustomEditDefaultValuesProvider::DetachFromProperties() {
  if (!PropertiesList) return;
  // Dropping the provider may notify owners; walk a copy.
  const std::vector<TcxCustomEditProperties*> list = *PropertiesList;
  for (TcxCustomEditProperties* properties : list)
    if (properties->GetDefaultValuesProvider() == this) properties->SetDefaultValuesProvider(nullptr);
}

// ---- TcxEditAlignment ----

void TcxEditAlignment::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxEditAlignment*>(Source);
  if (!source) return TPersistent::Assign(Source);
  FVert = source->FVert;
  FHorz = source->FHorz;
  FIsHorzAssigned = source->FIsHorzAssigned;
  DoChanged();
}

void TcxEditAlignment::SetHorz(TAlignment Value) {
  FIsHorzAssigned = true;
  FHorz = Value;
  DoChanged();
}

void TcxEditAlignment::SetVert(TcxEditVertAlignment Value) {
  if (FVert == Value) return;
  FVert = Value;
  DoChanged();
}

// ---- TcxCustomEditPropertiesValues ----

void TcxCustomEditPropertiesValues::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomEditPropertiesValues*>(Source);
  if (!source) return TPersistent::Assign(Source);
  ReadOnly = source->ReadOnly;
}

// ---- TcxEditButton ----

// Joins the collection only once its own fields are set: joining tells the
// properties, which lay the buttons out.
TcxEditButton::TcxEditButton(TCollection* Collection) : TCollectionItem(nullptr) {
  if (Collection) SetCollection(Collection);
}

TcxEditButton::~TcxEditButton() = default;

void TcxEditButton::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxEditButton*>(Source);
  if (!source) return TCollectionItem::Assign(Source);
  TCollection* collection = GetCollection();
  if (collection) collection->BeginUpdate();
  SetDefault(source->FDefault);
  SetGlyph(source->FGlyph.get());
  SetKind(source->FKind);
  SetLeftAlignment(source->FLeftAlignment);
  SetVisible(source->FVisible);
  SetWidth(source->FWidth);
  if (collection) collection->EndUpdate();
}

void TcxEditButton::SetDefault(bool Value) {
  if (Value && GetCollection()) {
    auto* buttons = static_cast<TcxEditButtons*>(GetCollection());
    for (int i = 0; i < buttons->GetCount(); ++i)
      buttons->GetItem(i)->FDefault = false;
  }
  FDefault = Value;
  Changed(true);
}

TBitmap* TcxEditButton::GetGlyph() {
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = [this](TObject*) { Changed(false); };
  }
  return FGlyph.get();
}

void TcxEditButton::SetGlyph(TBitmap* Value) {
  if (!Value)
    FGlyph.reset();
  else
    GetGlyph()->Assign(Value);
  Changed(false);
}

void TcxEditButton::SetKind(TcxEditButtonKind Value) {
  Store(FKind, Value);
}

void TcxEditButton::SetLeftAlignment(bool Value) {
  Store(FLeftAlignment, Value);
}

void TcxEditButton::SetVisible(bool Value) {
  Store(FVisible, Value);
}

void TcxEditButton::SetWidth(int Value) {
  Store(FWidth, Value);
}

// ---- TcxEditButtons ----

TcxEditButtons::TcxEditButtons(TcxCustomEditProperties* AOwner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TcxEditButton(c); }), FOwner(AOwner) {}

int TcxEditButtons::VisibleCount() const {
  int count = 0;
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetVisible()) ++count;
  return count;
}

TPersistent* TcxEditButtons::GetOwner() const {
  return FOwner;
}

void TcxEditButtons::Update(TCollectionItem*) {
  if (FOwner) FOwner->ButtonsChanged();
}

// ---- TcxCustomEditProperties ----

TcxCustomEditProperties::TcxCustomEditProperties(TPersistent* AOwner)
    : TcxInterfacedPersistent(AOwner), FOwner(AOwner) {
  if (PropertiesList) PropertiesList->push_back(this);
  FFreeNotificator = std::make_unique<TcxFreeNotificator>(nullptr);
  FFreeNotificator->OnFreeNotification = [this](TComponent* AComponent) { DoFreeNotification(AComponent); };
  FAlignment = std::make_unique<TcxEditAlignment>(this);
  HookAlignment();
  FButtons = std::make_unique<TcxEditButtons>(this);
  FStoredAlignment = std::make_unique<TcxEditAlignment>(this);
}

TcxCustomEditProperties::~TcxCustomEditProperties() {
  FDefaultValuesProvider = nullptr;
  FButtons.reset();
  FStoredAlignment.reset();
  FAssignedValues.reset();
  FAlignment.reset();
  FFreeNotificator.reset();
  RemoveFromList(this);
}

void TcxCustomEditProperties::HookAlignment() {
  FAlignment->OnChanged = [this](TObject*) { AlignmentChanged(); };
}

TcxCustomEditPropertiesValues* TcxCustomEditProperties::GetAssignedValues() const {
  if (!FAssignedValues) FAssignedValues = CreateAssignedValues();
  return FAssignedValues.get();
}

std::unique_ptr<TcxCustomEditPropertiesValues> TcxCustomEditProperties::CreateAssignedValues() const {
  return std::make_unique<TcxCustomEditPropertiesValues>();
}

void TcxCustomEditProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomEditProperties*>(Source);
  if (!source) return TcxInterfacedPersistent::Assign(Source);
  auto* from = const_cast<TcxCustomEditProperties*>(source);
  BeginUpdate();
  try {
    SetAutoSelect(source->FAutoSelect);
    FButtons->Assign(source->FButtons.get());
    BeepOnError = source->BeepOnError;
    ClearKey = source->ClearKey;
    ClickKey = source->ClickKey;
    SetUseLeftAlignmentOnEditing(source->GetUseLeftAlignmentOnEditing());
    FDefaultValuesProvider = source->FDefaultValuesProvider;
    SetAlignment(from->GetAlignment());
    GetAssignedValues()->RestoreDefaults();
    if (source->GetAssignedValues()->ReadOnly) SetReadOnly(source->GetReadOnly());
    ImmediatePost = source->ImmediatePost;
    UseMouseWheel = source->UseMouseWheel;
    ValidateOnEnter = source->ValidateOnEnter;
    OnButtonClick = source->OnButtonClick;
    OnChange = source->OnChange;
    OnEditValueChanged = source->OnEditValueChanged;
    OnValidate = source->OnValidate;
  } catch (...) {
    EndUpdate(false);
    throw;
  }
  EndUpdate(true);
}

void TcxCustomEditProperties::EndUpdate(bool AInvalidate) {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && AInvalidate) Changed();
}

void TcxCustomEditProperties::Changed() {
  if (IsChangedLocked()) return;
  if (auto* owner = dynamic_cast<TComponent*>(FOwner); owner && owner->IsDestroying()) return;
  if (OnPropertiesChanged) OnPropertiesChanged(this);
}

void TcxCustomEditProperties::AlignmentChanged() {
  FStoredAlignment->Assign(FAlignment.get());
  Changed();
}

void TcxCustomEditProperties::SetAlignment(const TcxEditAlignment* Value) {
  FStoredAlignment->Assign(Value);
  Changed();
}

TcxEditAlignment* TcxCustomEditProperties::GetAlignment() {
  FAlignment->OnChanged = nullptr;
  FAlignment->Assign(FStoredAlignment.get());
  TComponent* owner = GetOwnerComponent(this);
  if (IsAlignmentStored() && owner && (owner->GetComponentState() & csWriting)) return FAlignment.get();
  if (!FStoredAlignment->IsHorzStored()) FAlignment->FHorz = GetDefaultHorzAlignment();
  HookAlignment();
  return FAlignment.get();
}

TAlignment TcxCustomEditProperties::GetDefaultHorzAlignment() {
  if (FDefaultValuesProvider) return FDefaultValuesProvider->DefaultAlignment();
  return FAlignment->GetHorz();
}

void TcxCustomEditProperties::SetAutoSelect(bool Value) {
  if (FAutoSelect == Value) return;
  FAutoSelect = Value;
  Changed();
}

bool TcxCustomEditProperties::GetReadOnly() const {
  if (GetAssignedValues()->ReadOnly) return FReadOnly;
  return FDefaultValuesProvider ? FDefaultValuesProvider->DefaultReadOnly() : false;
}

void TcxCustomEditProperties::SetReadOnly(bool Value) {
  if (GetAssignedValues()->ReadOnly && FReadOnly == Value) return;
  GetAssignedValues()->ReadOnly = true;
  FReadOnly = Value;
  Changed();
}

bool TcxCustomEditProperties::GetUseLeftAlignmentOnEditing() const {
  return FUseLeftAlignmentOnEditing < 0 ? GetDefaultUseLeftAlignmentOnEditing()
                                        : FUseLeftAlignmentOnEditing != 0;
}

void TcxCustomEditProperties::SetUseLeftAlignmentOnEditing(bool Value) {
  if (GetUseLeftAlignmentOnEditing() == Value) return;
  FUseLeftAlignmentOnEditing = Value ? 1 : 0;
  Changed();
}

bool TcxCustomEditProperties::IsUseLeftAlignmentOnEditingStored() const {
  return GetUseLeftAlignmentOnEditing() != GetDefaultUseLeftAlignmentOnEditing();
}

bool TcxCustomEditProperties::CanModifyInplace() const {
  const bool assigned = GetAssignedValues()->ReadOnly;
  if (assigned && !FReadOnly) return true;
  if (!GetReadOnly() && FDefaultValuesProvider) return FDefaultValuesProvider->DefaultCanModify();
  return !GetReadOnly();
}

void TcxCustomEditProperties::SetDefaultValuesProvider(IcxEditDefaultValuesProvider* Value) {
  FDefaultValuesProvider = Value;
  if (!dynamic_cast<TcxCustomEdit*>(FOwner)) return;
  if (Value) Value->SetOnChanged([this](TObject*) { Changed(); });
  Changed();
}

bool TcxCustomEditProperties::CanUseDisplayFormat() {
  const int options = GetDisplayFormatOptions();
  return (options & 1) != 0 && GetEditValueSource(true) == 0 && GetEditValueSource(false) == 1 &&
         FDefaultValuesProvider && FDefaultValuesProvider->HasDisplayFormat((options & 2) == 0);
}

bool TcxCustomEditProperties::QueryDisplayFormat(bool AEditFocused) {
  const int options = GetDisplayFormatOptions();
  if (AEditFocused || (options & 1) == 0 || !FDefaultValuesProvider) return false;
  return FDefaultValuesProvider->HasDisplayFormat((options & 2) == 0);
}

void TcxCustomEditProperties::GetValidationErrorText(const Variant&, String& Text) {
  Text = LoadLibraryResString(&cxSEditValidateErrorText);
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomEditProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomEditViewData>(this, AStyle, AIsInplace);
}

std::unique_ptr<TcxCustomEditViewData> TcxCustomEditProperties::CreateViewData(TcxCustomEditStyle* AStyle,
                                                                               bool AIsInplace) {
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewDataObject(AStyle, AIsInplace);
  viewData->Reset();
  viewData->ReadProperties();
  return viewData;
}

TcxClassRef TcxCustomEditProperties::GetContainerClass() const {
  return cxClassRef<TcxCustomEdit>();
}

std::unique_ptr<TcxCustomEditStyle> TcxCustomEditProperties::CreateStyle(TPersistent* AOwner,
                                                                         bool AIsInternal) const {
  return std::make_unique<TcxCustomEditStyle>(AOwner, AIsInternal);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomEditProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomEditViewInfo>();
}

void TcxCustomEditProperties::EditValueToDisplayText(const Variant&, bool, String& Text) {
  Text.clear();
}

int TcxCustomEditProperties::GetCapabilities() const {
  return FButtons->GetCount() > 0 ? 16 : 0;
}

bool TcxCustomEditProperties::IsEditValueValid(Variant&, bool) {
  return true;
}

void TcxCustomEditProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool) {
  DisplayValue = EditValue;
}

void TcxCustomEditProperties::ValidateDisplayValue(Variant& DisplayValue, String& ErrorText,
                                                   TcxCustomEdit* Edit, bool& Error) {
  if (!CanValidate()) return;
  if (ErrorText.empty()) GetValidationErrorText(DisplayValue, ErrorText);
  if (Edit && OnValidate) OnValidate(Edit, DisplayValue, ErrorText, Error);
}

SIZE TcxCustomEditProperties::GetEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AStyle, bool AIsInplace,
                                          const Variant& EditValue, TcxEditSizeProperties& ASizeProperties) {
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewData(AStyle, AIsInplace);
  SIZE size{0, 0};
  viewData->CalculateEditorSize(ACanvas, EditValue, size, ASizeProperties);
  return size;
}

// ---- Unit routines ----

TShiftState MouseButtonToShift(TMouseButton Button) {
  switch (Button) {
  case mbLeft:
    return TShiftState{ssLeft};
  case mbRight:
    return TShiftState{ssRight};
  default:
    return TShiftState{ssMiddle};
  }
}

TShiftState ContainerButtonToShift(int Code) {
  switch (Code) {
  case 1:
    return TShiftState{ssLeft};
  case 2:
    return TShiftState{ssRight};
  case 3:
    return TShiftState{ssMiddle};
  default:
    return TShiftState();
  }
}

WPARAM ShiftStateToMouseKeys(TShiftState Shift) {
  static const struct {
    TShiftStateItem State;
    WPARAM Key;
  } kKeys[] = {{ssShift, MK_SHIFT},
               {ssCtrl, MK_CONTROL},
               {ssLeft, MK_LBUTTON},
               {ssMiddle, MK_MBUTTON},
               {ssRight, MK_RBUTTON}};
  WPARAM keys = 0;
  for (const auto& k : kKeys)
    if (Shift.Contains(k.State)) keys |= k.Key;
  return keys;
}

bool VarEqualsSameType(const Variant& A, const Variant& B) {
  return A.VarType() == B.VarType() && VariantsEqual(A, B);
}

void EnlargeSize(SIZE& Size, const SIZE& Other) {
  Size.cx = std::max(Size.cx, Other.cx);
  Size.cy = std::max(Size.cy, Other.cy);
}

TComponent* GetOwnerComponent(TPersistent* APersistent) {
  while (APersistent) {
    if (auto* component = dynamic_cast<TComponent*>(APersistent)) return component;
    if (auto* persistent = dynamic_cast<TcxInterfacedPersistent*>(APersistent))
      APersistent = persistent->GetOwner();
    else if (auto* style = dynamic_cast<TcxContainerStyle*>(APersistent))
      APersistent = style->GetOwner();
    else if (auto* collection = dynamic_cast<TCollection*>(APersistent))
      APersistent = collection->GetOwner();
    else if (auto* item = dynamic_cast<TCollectionItem*>(APersistent))
      APersistent = item->GetCollection();
    else if (auto* alignment = dynamic_cast<TcxEditAlignment*>(APersistent))
      APersistent = alignment->GetOwner();
    else
      return nullptr;
  }
  return nullptr;
}

bool IsRegionEmpty(TcxRegion* ARegion) {
  RECT box;
  return GetRgnBox(ARegion->GetHandle(), &box) == NULLREGION;
}

void RegionUnion(TcxRegion* ARegion, TcxRegion* AOther) {
  CombineRgn(ARegion->GetHandle(), ARegion->GetHandle(), AOther->GetHandle(), RGN_OR);
}

void SendKeyDown(TWinControl* AControl, WORD Key) {
  SendMessageA(AControl->GetHandle(), WM_KEYDOWN, Key, 0);
}

void SendChar(TWinControl* AControl, char Ch) {
  SendMessageA(AControl->GetHandle(), WM_CHAR, static_cast<BYTE>(Ch), 0);
}
