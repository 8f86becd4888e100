#include "cxEdit.h"

#include <algorithm>

namespace {

const char* const kEditStyleValueNames[] = {"ButtonStyle", "ButtonTransparency", "PopupBorderStyle"};

bool IsEditStyleValue(TcxContainerStyleValue Index) {
  return Index >= svButtonStyle && Index <= svPopupBorderStyle;
}

} // namespace

// ---- TcxCustomEditStyle ----

TcxCustomEditStyle::TcxCustomEditStyle(TPersistent* AOwner, bool AIsInternal)
    : TcxContainerStyle(AOwner, AIsInternal) {}

void TcxCustomEditStyle::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomEditStyle*>(Source);
  if (!source) return TcxContainerStyle::Assign(Source);
  BeginUpdate();
  FButtonStyle = source->FButtonStyle;
  FButtonTransparency = source->FButtonTransparency;
  FPopupBorderStyle = source->FPopupBorderStyle;
  PopupCloseButton = source->PopupCloseButton;
  // The container's part copies the assigned values with the rest.
  TcxContainerStyle::Assign(Source);
  Changed();
  EndUpdate();
}

const TcxCustomEditStyle* TcxCustomEditStyle::Source(TcxContainerStyleValue Index) const {
  if (IsInternal()) return IsAssignedAs(Index, 0, 0) ? this : nullptr;
  return dynamic_cast<const TcxCustomEditStyle*>(AssignedIn(Index));
}

TcxEditButtonStyle TcxCustomEditStyle::GetButtonStyle() const {
  const TcxCustomEditStyle* style = Source(svButtonStyle);
  return style ? style->FButtonStyle : GetDefaultButtonStyle();
}

void TcxCustomEditStyle::SetButtonStyle(TcxEditButtonStyle Value) {
  Store(svButtonStyle, FButtonStyle, Value);
}

TcxEditButtonTransparency TcxCustomEditStyle::GetButtonTransparency() const {
  const TcxCustomEditStyle* style = Source(svButtonTransparency);
  return style ? style->FButtonTransparency : GetDefaultButtonTransparency();
}

void TcxCustomEditStyle::SetButtonTransparency(TcxEditButtonTransparency Value) {
  Store(svButtonTransparency, FButtonTransparency, Value);
}

TcxEditPopupBorderStyle TcxCustomEditStyle::GetPopupBorderStyle() const {
  const TcxCustomEditStyle* style = Source(svPopupBorderStyle);
  return style ? style->FPopupBorderStyle : GetDefaultPopupBorderStyle();
}

void TcxCustomEditStyle::SetPopupBorderStyle(TcxEditPopupBorderStyle Value) {
  Store(svPopupBorderStyle, FPopupBorderStyle, Value);
}

TcxCustomEdit* TcxCustomEditStyle::GetEdit() const {
  return dynamic_cast<TcxCustomEdit*>(GetOwner());
}

bool TcxCustomEditStyle::IsValueStored(TcxContainerStyleValue Index) const {
  if (!GetAssignedValues().Contains(Index)) return false;
  TcxCustomEdit* edit = GetEdit();
  return !edit || !edit->GetHiddenStyleValues().Contains(Index);
}

TColor TcxCustomEditStyle::GetDefaultColor() const {
  TcxCustomEdit* edit = GetEdit();
  if (edit && !edit->GetIsInplace() && edit->GetParentColor() && edit->GetParent())
    return edit->GetParent()->GetColor();
  return clWindow;
}

bool TcxCustomEditStyle::IsValueAssigned(TcxContainerStyleValue Index) const {
  if (IsEditStyleValue(Index)) return AssignedIn(Index) != nullptr;
  return TcxContainerStyle::IsValueAssigned(Index);
}

bool TcxCustomEditStyle::GetStyleValueName(TcxContainerStyleValue Index, String& Name) const {
  if (!IsEditStyleValue(Index)) return TcxContainerStyle::GetStyleValueName(Index, Name);
  Name = kEditStyleValueNames[Index - svButtonStyle];
  return true;
}

// ---- TcxEditStyleController ----

std::unique_ptr<TcxContainerStyle> TcxEditStyleController::CreateStyle() {
  return std::make_unique<TcxEditStyle>(this, false);
}

// ---- TcxEditRepositoryItem ----

TcxEditRepositoryItem::TcxEditRepositoryItem(TComponent* AOwner) : TComponent(AOwner) {}

TcxEditRepositoryItem::~TcxEditRepositoryItem() {
  SetDestroying();
  // A listener drops itself from the list while it is told.
  for (size_t i = FListeners.size(); i > 0; --i)
    if (i <= FListeners.size()) FListeners[i - 1]->ItemRemoved(this);
  SetRepository(nullptr);
  FProperties.reset();
}

TcxCustomEditProperties* TcxEditRepositoryItem::GetProperties() {
  if (!FProperties) {
    FProperties = CreateProperties();
    FProperties->OnPropertiesChanged = [this](TObject* Sender) { ApplyPropertiesChange(Sender); };
  }
  return FProperties.get();
}

std::unique_ptr<TcxCustomEditProperties> TcxEditRepositoryItem::CreateProperties() {
  return std::make_unique<TcxCustomEditProperties>(this);
}

void TcxEditRepositoryItem::SetRepository(TcxEditRepository* Value) {
  if (FRepository == Value) return;
  if (FRepository) FRepository->RemoveItem(this);
  FRepository = Value;
  if (FRepository) FRepository->AddItem(this);
}

void TcxEditRepositoryItem::AddListener(IcxRepositoryItemListener* AListener) {
  if (std::find(FListeners.begin(), FListeners.end(), AListener) == FListeners.end())
    FListeners.push_back(AListener);
}

void TcxEditRepositoryItem::RemoveListener(IcxRepositoryItemListener* AListener) {
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), AListener), FListeners.end());
}

void TcxEditRepositoryItem::ApplyPropertiesChange(TObject*) {
  for (size_t i = FListeners.size(); i > 0; --i)
    if (i <= FListeners.size()) FListeners[i - 1]->ApplyPropertiesChange(this);
}

// ---- TcxEditRepository ----

TcxEditRepository::~TcxEditRepository() {
  SetDestroying();
  while (!FItems.empty())
    delete FItems.back();
}

void TcxEditRepository::AddItem(TcxEditRepositoryItem* AItem) {
  if (std::find(FItems.begin(), FItems.end(), AItem) == FItems.end()) FItems.push_back(AItem);
}

void TcxEditRepository::RemoveItem(TcxEditRepositoryItem* AItem) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), AItem), FItems.end());
  if (AItem->GetRepository() == this) AItem->FRepository = nullptr;
}

// ---- TcxEditDataBinding ----

TcxEditDataBinding::TcxEditDataBinding(TcxCustomEdit* AEdit)
    : FEdit(AEdit), FDefaultValuesProvider(std::make_unique<TcxCustomEditDefaultValuesProvider>(nullptr)) {}

TcxEditDataBinding::~TcxEditDataBinding() = default;

bool TcxEditDataBinding::CanCheckEditorValue() {
  return FEdit->IsDesigning();
}

Variant TcxEditDataBinding::GetDisplayValue() {
  String text;
  FEdit->GetDisplayText(text);
  return Variant(text);
}

bool TcxEditDataBinding::GetModified() {
  return FEdit->GetModifiedSinceEnter();
}

Variant TcxEditDataBinding::GetStoredValue() {
  return FEdit->GetEditValueVariant();
}

void TcxEditDataBinding::Reset() {
  FEdit->ResetEditValue();
}

void TcxEditDataBinding::SetDisplayValue(const Variant& Value) {
  FEdit->UpdateInnerEditValue(Value);
}

void TcxEditDataBinding::UpdateDisplayValue() {
  FEdit->SynchronizeDisplayValue();
}
