#include "cxLookAndFeels.h"

#include <algorithm>
#include <memory>

namespace {

TcxLookAndFeel* Root = nullptr;
std::unique_ptr<TcxLookAndFeel> RootHolder;
int ControllerCount = 0;

bool IsController(IcxLookAndFeelListener* Listener) {
  return dynamic_cast<TcxLookAndFeelController*>(Listener->GetListenerObject()) != nullptr;
}

} // namespace

TcxLookAndFeel* RootLookAndFeel() {
  return Root;
}

int cxLookAndFeelControllerCount() {
  return ControllerCount;
}

// ---- TcxLookAndFeel ----

TcxLookAndFeel::TcxLookAndFeel(RootTag) : TcxInterfacedPersistent(nullptr), FIsRootLookAndFeel(true) {}

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {
  if (!Root) return;
  Root->AddChangeListener(this);
  FKind = CalculateKind();
  FNativeStyle = CalculateNativeStyle();
}

TcxLookAndFeel::~TcxLookAndFeel() {
  FIsDestroying = true;
  // A listener may unregister itself: walk a list that stays put meanwhile.
  for (size_t i = 0; i < FListeners.size(); ++i)
    FListeners[i]->MasterDestroying(this);
  FIsDestroying = false;
  FListeners.clear();
  if (TcxLookAndFeel* master = GetMasterLookAndFeel()) master->RemoveChangeListener(this);
  if (FIsRootLookAndFeel) {
    Root = nullptr;
    FIsRootLookAndFeel = false;
  }
}

void TcxLookAndFeel::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxLookAndFeel*>(Source);
  if (!source) return TcxInterfacedPersistent::Assign(Source);
  SaveState();
  FOwnKind = source->FOwnKind;
  FOwnNativeStyle = source->FOwnNativeStyle;
  FAssignedValues = source->FAssignedValues;
  TcxLookAndFeel* master = source->GetMasterLookAndFeel();
  if (master != GetMasterLookAndFeel() && master != this && !FIsRootLookAndFeel) {
    if (TcxLookAndFeel* old = GetMasterLookAndFeel()) old->RemoveChangeListener(this);
    FMaster = master == Root ? nullptr : master;
    if (TcxLookAndFeel* now = GetMasterLookAndFeel()) now->AddChangeListener(this);
  }
  CheckStateChanges();
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues Value) {
  if (Value == FAssignedValues) return;
  SaveState();
  FAssignedValues = Value;
  CheckStateChanges();
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind Value) {
  const TcxLookAndFeelKind previous = FKind;
  FAssignedValues.Include(lfvKind);
  FOwnKind = Value;
  if (CalculateKind() != previous) Changed(TcxLookAndFeelValues{lfvKind});
}

void TcxLookAndFeel::SetNativeStyle(bool Value) {
  const bool previous = FNativeStyle;
  FAssignedValues.Include(lfvNativeStyle);
  FOwnNativeStyle = Value;
  if (CalculateNativeStyle() != previous) Changed(TcxLookAndFeelValues{lfvNativeStyle});
}

void TcxLookAndFeel::SetMaster(TcxLookAndFeel* Value) {
  if (FIsRootLookAndFeel || Value == this || Value == GetMasterLookAndFeel()) return;
  if (!Value && GetMasterLookAndFeel() == Root) return;
  SaveState();
  if (TcxLookAndFeel* old = GetMasterLookAndFeel()) old->RemoveChangeListener(this);
  FMaster = Value;
  if (TcxLookAndFeel* now = GetMasterLookAndFeel()) now->AddChangeListener(this);
  CheckStateChanges();
}

TcxLookAndFeel* TcxLookAndFeel::GetMasterLookAndFeel() const {
  if (FIsRootLookAndFeel) return nullptr;
  return FMaster ? FMaster : Root;
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::CurrentPainter() const {
  return PainterForLook(GetNativeStyle(), GetKind());
}

TcxCustomLookAndFeelPainterClass PainterForLook(bool ANativeStyle, TcxLookAndFeelKind AKind) {
  if (ANativeStyle && ThemesAvailable()) return TcxWinXPLookAndFeelPainter::Instance();
  switch (AKind) {
  case lfFlat:
    return TcxFlatLookAndFeelPainter::Instance();
  case lfStandard:
    return TcxStandardLookAndFeelPainter::Instance();
  default:
    return TcxUltraFlatLookAndFeelPainter::Instance();
  }
}

TcxLookAndFeelKind TcxLookAndFeel::CalculateKind() const {
  if (FAssignedValues.Contains(lfvKind)) return FOwnKind;
  if (FIsRootLookAndFeel) return lfUltraFlat;
  const TcxLookAndFeel* master = GetMasterLookAndFeel();
  return master ? master->GetKind() : lfUltraFlat;
}

bool TcxLookAndFeel::CalculateNativeStyle() const {
  if (FAssignedValues.Contains(lfvNativeStyle)) return FOwnNativeStyle;
  if (FIsRootLookAndFeel) return false;
  const TcxLookAndFeel* master = GetMasterLookAndFeel();
  return master ? master->GetNativeStyle() : false;
}

void TcxLookAndFeel::SaveState() {
  FPrevKind = FKind;
  FPrevNativeStyle = FNativeStyle;
}

void TcxLookAndFeel::CheckStateChanges() {
  TcxLookAndFeelValues changed;
  if (CalculateKind() != FPrevKind) changed.Include(lfvKind);
  if (CalculateNativeStyle() != FPrevNativeStyle) changed.Include(lfvNativeStyle);
  Changed(changed);
}

void TcxLookAndFeel::Changed(TcxLookAndFeelValues AChangedValues) {
  if (AChangedValues.Empty() || FIsDestroying) return;
  FKind = CalculateKind();
  FNativeStyle = CalculateNativeStyle();
  size_t i = 0;
  while (i < FListeners.size()) {
    const size_t count = FListeners.size();
    FListeners[i]->MasterChanged(this, AChangedValues);
    // A listener that left made its successor move into its place.
    if (FListeners.size() == count) ++i;
  }
  if (OnChanged) OnChanged(this, AChangedValues);
}

void TcxLookAndFeel::MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues AChangedValues) {
  Changed(AChangedValues - FAssignedValues);
}

void TcxLookAndFeel::MasterDestroying(TcxLookAndFeel*) {
  SaveState();
  // The master is going: fall back to the root without calling it back.
  FMaster = nullptr;
  if (Root && Root != this) Root->AddChangeListener(this);
  CheckStateChanges();
}

void TcxLookAndFeel::AddChangeListener(IcxLookAndFeelListener* Listener) {
  if (!Listener) return;
  const bool controller = IsController(Listener);
  if (controller && !FIsRootLookAndFeel) return;
  if (std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end()) return;
  FListeners.push_back(Listener);
  if (controller) ++ControllerCount;
}

void TcxLookAndFeel::RemoveChangeListener(IcxLookAndFeelListener* Listener) {
  if (!Listener) return;
  auto it = std::find(FListeners.begin(), FListeners.end(), Listener);
  if (it == FListeners.end() || FIsDestroying) return;
  FListeners.erase(it);
  if (!FIsRootLookAndFeel || !IsController(Listener)) return;
  if (--ControllerCount == 0) Reset();
}

// ---- TcxLookAndFeelController ----

TcxLookAndFeelController::TcxLookAndFeelController(TComponent* AOwner) : TComponent(AOwner) {
  if (Root) Root->AddChangeListener(this);
}

TcxLookAndFeelController::~TcxLookAndFeelController() {
  if (Root) Root->RemoveChangeListener(this);
}

TcxLookAndFeelKind TcxLookAndFeelController::GetKind() const {
  return Root ? Root->GetKind() : lfUltraFlat;
}

void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind Value) {
  if (Root) Root->SetKind(Value);
}

bool TcxLookAndFeelController::GetNativeStyle() const {
  return Root ? Root->GetNativeStyle() : false;
}

void TcxLookAndFeelController::SetNativeStyle(bool Value) {
  if (Root) Root->SetNativeStyle(Value);
}

// ---- module ----

void cxLookAndFeelsInitialize() {
  RootHolder.reset(new TcxLookAndFeel(TcxLookAndFeel::RootTag{}));
  Root = RootHolder.get();
}

void cxLookAndFeelsFinalize() {
  RootHolder.reset();
}
