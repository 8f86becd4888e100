#include "cxContainer.h"

#include <algorithm>

namespace {

const char* const kStyleValueNames[] = {"BorderColor", "BorderStyle", "Color",  "Edges",
                                        "Font",        "HotTrack",    "Shadow", "TransparentBorder"};

// The owner of a persistent object, for the kinds that have one.
TPersistent* OwnerOf(TPersistent* AObject) {
  if (auto* component = dynamic_cast<TComponent*>(AObject)) return component->GetOwner();
  if (auto* style = dynamic_cast<TcxContainerStyle*>(AObject)) return style->GetOwner();
  if (auto* persistent = dynamic_cast<TcxInterfacedPersistent*>(AObject)) return persistent->GetOwner();
  return nullptr;
}

} // namespace

// ---- TcxContainerStyle ----

TcxContainerStyle::TcxContainerStyle(TPersistent* AOwner, bool AIsInternal)
    : FIsInternal(AIsInternal), FOwner(AOwner) {
  if (!FIsInternal) {
    FOwnFont = std::make_unique<TFont>();
    FOwnFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
    FFont = FOwnFont.get();
  }
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { Changed(); };
  FStyleController = GetDefaultStyleController();
  if (FIsInternal) FAssignedValues = TcxContainerStyleValues{csvColor, csvFont};
}

TcxContainerStyle::~TcxContainerStyle() {
  FIsDestroying = true;
  FOwnFont.reset();
  if (FStyleController) FStyleController->RemoveStyle(this);
  FLookAndFeel.reset();
}

TcxContainer* TcxContainerStyle::GetContainer() const {
  return dynamic_cast<TcxContainer*>(FOwner);
}

TcxContainer* TcxContainerStyle::ParentColorContainer() const {
  TcxContainer* container = GetContainer();
  return container && container->GetParentColor() && container->GetParent() ? container : nullptr;
}

void TcxContainerStyle::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxContainerStyle*>(Source);
  if (!source) return TPersistent::Assign(Source);
  BeginUpdate();
  SetStyleController(source->FStyleController);
  FLookAndFeel->Assign(source->FLookAndFeel.get());
  FBorderColor = source->FBorderColor;
  FBorderStyle = source->FBorderStyle;
  FEdges = source->FEdges;
  FHotTrack = source->FHotTrack;
  FShadow = source->FShadow;
  FTransparentBorder = source->FTransparentBorder;
  FColor = source->FColor;
  TextColor = source->TextColor;
  if (FIsInternal)
    FFont = source->FFont;
  else
    FFont->Assign(source->FFont);
  FAssignedValues = source->FAssignedValues;
  Changed();
  EndUpdate();
}

void TcxContainerStyle::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FModified) Changed();
}

void TcxContainerStyle::Changed() {
  if (FUpdateCount > 0) {
    FModified = true;
    return;
  }
  if (!FIsInternal && !FIsDestroying && OnChanged) OnChanged(this);
  FModified = false;
}

void TcxContainerStyle::ControllerChanged() {
  RefreshFontFromController();
  Changed();
}

void TcxContainerStyle::ControllerFreeNotification(TcxStyleController* AController) {
  if (AController && AController == FStyleController) SetStyleController(nullptr);
}

void TcxContainerStyle::StyleControllerChanged() {
  RefreshFontFromController();
  Changed();
}

const TcxContainerStyle* TcxContainerStyle::AssignedIn(TcxContainerStyleValue Index) const {
  for (const TcxContainerStyle* style = this; style;
       style = style->FStyleController ? style->FStyleController->GetStyle() : nullptr)
    if (style->FAssignedValues.Contains(Index)) return style;
  return nullptr;
}

void TcxContainerStyle::ValueChanged(TcxContainerStyleValue Index) {
  FAssignedValues.Include(Index);
  Changed();
}

void TcxContainerStyle::RefreshFontFromController() {
  if (FIsInternal || FAssignedValues.Contains(csvFont) || !FStyleController) return;
  const TcxContainerStyle* source = FStyleController->GetStyle()->AssignedIn(csvFont);
  if (!source) return;
  FRefreshingFont = true;
  FFont->Assign(source->FFont);
  FRefreshingFont = false;
}

void TcxContainerStyle::FontChanged(TObject*) {
  if (!FRefreshingFont) FAssignedValues.Include(csvFont);
  Changed();
}

// ---- Values ----

TcxContainerStyleValues TcxContainerStyle::GetAssignedValues() const {
  if (!FIsInternal) return FAssignedValues;
  return TcxContainerStyleValues::FromBits((uint64_t{1} << GetStyleValueCount()) - 1);
}

void TcxContainerStyle::SetAssignedValues(TcxContainerStyleValues Value) {
  if (Value == FAssignedValues) return;
  FAssignedValues = Value;
  RefreshFontFromController();
  Changed();
}

bool TcxContainerStyle::IsValueAssigned(TcxContainerStyleValue Index) const {
  return Index <= csvTransparentBorder && AssignedIn(Index) != nullptr;
}

bool TcxContainerStyle::GetStyleValueName(TcxContainerStyleValue Index, String& Name) const {
  if (Index < csvBorderColor || Index > csvTransparentBorder) return false;
  Name = kStyleValueNames[Index];
  return true;
}

TColor TcxContainerStyle::GetBorderColor() const {
  if (FIsInternal) return clDefault;
  const TcxContainerStyle* style = AssignedIn(csvBorderColor);
  return style ? style->FBorderColor : GetDefaultBorderColor();
}

void TcxContainerStyle::SetBorderColor(TColor Value) {
  if (IsAssignedAs(csvBorderColor, FBorderColor, Value)) return;
  FBorderColor = Value;
  ValueChanged(csvBorderColor);
}

TcxContainerBorderStyle TcxContainerStyle::GetDefaultBorderStyle() const {
  switch (FLookAndFeel->GetKind()) {
  case lfFlat:
    return cbsFlat;
  case lfStandard:
    return cbs3D;
  default:
    return cbsUltraFlat;
  }
}

TcxContainerBorderStyle TcxContainerStyle::GetBorderStyle() const {
  const TcxContainerStyle* style =
      FIsInternal ? (FAssignedValues.Contains(csvBorderStyle) ? this : nullptr) : AssignedIn(csvBorderStyle);
  return style ? style->FBorderStyle : GetDefaultBorderStyle();
}

void TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle Value) {
  if (IsAssignedAs(csvBorderStyle, FBorderStyle, Value)) return;
  FBorderStyle = Value;
  ValueChanged(csvBorderStyle);
}

TColor TcxContainerStyle::GetDefaultColor() const {
  if (TcxContainer* container = ParentColorContainer()) return container->GetParent()->GetColor();
  return clWindow;
}

TColor TcxContainerStyle::GetColor() const {
  if (FIsInternal) return FColor;
  if (TcxContainer* container = ParentColorContainer()) return container->GetParent()->GetColor();
  return GetInternalColor();
}

TColor TcxContainerStyle::GetInternalColor() const {
  if (FIsInternal) return FColor;
  const TcxContainerStyle* style = AssignedIn(csvColor);
  return style ? style->FColor : GetDefaultColor();
}

void TcxContainerStyle::SetColor(TColor Value) {
  if (IsAssignedAs(csvColor, FColor, Value)) return;
  FColor = Value;
  ValueChanged(csvColor);
}

TcxBorders TcxContainerStyle::GetEdges() const {
  if (FIsInternal) return TcxBorders();
  const TcxContainerStyle* style = AssignedIn(csvEdges);
  return style ? style->FEdges : GetDefaultEdges();
}

void TcxContainerStyle::SetEdges(TcxBorders Value) {
  if (IsAssignedAs(csvEdges, FEdges, Value)) return;
  FEdges = Value;
  ValueChanged(csvEdges);
}

void TcxContainerStyle::SetFont(TFont* Value) {
  if (FIsInternal) {
    FFont = Value;
    return;
  }
  FFont->Assign(Value);
  ValueChanged(csvFont);
}

bool TcxContainerStyle::GetHotTrack() const {
  const TcxContainerStyle* style =
      FIsInternal ? (FAssignedValues.Contains(csvHotTrack) ? this : nullptr) : AssignedIn(csvHotTrack);
  return style ? style->FHotTrack : GetDefaultHotTrack();
}

void TcxContainerStyle::SetHotTrack(bool Value) {
  if (IsAssignedAs(csvHotTrack, FHotTrack, Value)) return;
  FHotTrack = Value;
  ValueChanged(csvHotTrack);
}

bool TcxContainerStyle::GetShadow() const {
  if (FIsInternal) return false;
  const TcxContainerStyle* style = AssignedIn(csvShadow);
  return style ? style->FShadow : GetDefaultShadow();
}

void TcxContainerStyle::SetShadow(bool Value) {
  if (IsAssignedAs(csvShadow, FShadow, Value)) return;
  FShadow = Value;
  ValueChanged(csvShadow);
}

bool TcxContainerStyle::GetTransparentBorder() const {
  if (FIsInternal) return true;
  const TcxContainerStyle* style = AssignedIn(csvTransparentBorder);
  return style ? style->FTransparentBorder : GetDefaultTransparentBorder();
}

void TcxContainerStyle::SetTransparentBorder(bool Value) {
  if (IsAssignedAs(csvTransparentBorder, FTransparentBorder, Value)) return;
  FTransparentBorder = Value;
  ValueChanged(csvTransparentBorder);
}

void TcxContainerStyle::RestoreDefaults() {
  BeginUpdate();
  if (TcxContainer* container = GetContainer()) {
    container->SetParentColor(false);
    container->SetParentFont(true);
  }
  FLookAndFeel->Reset();
  SetAssignedValues(TcxContainerStyleValues());
  EndUpdate();
}

// ---- The controller ----

TcxStyleController* TcxContainerStyle::GetStyleController() const {
  return FStyleController == GetDefaultStyleController() ? nullptr : FStyleController;
}

bool TcxContainerStyle::IsOwnerOrOwnersOwner(const TcxStyleController* AController) const {
  for (TPersistent* owner = FOwner; owner; owner = OwnerOf(owner))
    if (owner == AController) return true;
  return false;
}

// Lookups walk the controllers' styles: a controller whose chain comes back
// here would make every lookup go round for ever.
bool TcxContainerStyle::ChainLeadsTo(const TcxStyleController* AController) const {
  for (TcxStyleController* controller = const_cast<TcxStyleController*>(AController); controller;
       controller = controller->GetStyle()->FStyleController)
    if (controller->GetStyle() == this) return true;
  return false;
}

void TcxContainerStyle::SetStyleController(TcxStyleController* AValue) {
  if (!AValue) AValue = GetDefaultStyleController();
  if (AValue && (IsOwnerOrOwnersOwner(AValue) || ChainLeadsTo(AValue))) return;
  if (AValue == FStyleController) return;
  if (FStyleController) FStyleController->RemoveStyle(this);
  FStyleController = AValue;
  if (FStyleController) FStyleController->AddStyle(this);
  StyleControllerChanged();
}

// ---- TcxStyleController ----

TcxStyleController::TcxStyleController(TComponent* AOwner) : TComponent(AOwner) {}

TcxStyleController::~TcxStyleController() {
  FIsDestroying = true;
  // The list stays intact meanwhile: each style leaves it by RemoveStyle,
  // which keeps it while the controller goes.
  for (size_t i = 0; i < FListeners.size(); ++i)
    FListeners[i]->ControllerFreeNotification(this);
  FStyle.reset();
  FListeners.clear();
}

TcxContainerStyle* TcxStyleController::GetStyle() {
  if (!FStyle) {
    FStyle = CreateStyle();
    FStyle->OnChanged = [this](TObject*) { Changed(); };
  }
  return FStyle.get();
}

std::unique_ptr<TcxContainerStyle> TcxStyleController::CreateStyle() {
  return std::make_unique<TcxContainerStyle>(this, false);
}

void TcxStyleController::Loaded() {
  TComponent::Loaded();
  Changed();
}

void TcxStyleController::Changed() {
  if (OnStyleChanged) OnStyleChanged(this, GetStyle());
  if (FIsDestroying) return;
  for (size_t i = 0; i < FListeners.size(); ++i)
    NotifyStyleChanged(FListeners[i]);
}

void TcxStyleController::AddStyle(TcxContainerStyle* AStyle) {
  if (!AStyle || std::find(FListeners.begin(), FListeners.end(), AStyle) != FListeners.end()) return;
  FListeners.push_back(AStyle);
  AStyle->GetLookAndFeel()->SetMaster(GetStyle()->GetLookAndFeel());
}

void TcxStyleController::NotifyStyleChanged(TcxContainerStyle* AStyle) {
  AStyle->ControllerChanged();
  if (OnStyleChanged) OnStyleChanged(this, AStyle);
}

void TcxStyleController::RemoveStyle(TcxContainerStyle* AStyle) {
  auto it = std::find(FListeners.begin(), FListeners.end(), AStyle);
  if (it == FListeners.end()) return;
  if (!FIsDestroying) FListeners.erase(it);
  AStyle->GetLookAndFeel()->SetMaster(nullptr);
}
