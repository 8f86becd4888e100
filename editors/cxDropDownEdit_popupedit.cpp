#include "cxDropDownEdit.h"

#include "cxEditConsts.h"
#include "cxEditPaintUtils.h"

// ---- TcxCustomPopupEditProperties ----

TcxCustomPopupEditProperties::TcxCustomPopupEditProperties(TPersistent* AOwner)
    : TcxCustomDropDownEditProperties(AOwner), FNotificator(std::make_unique<TcxFreeNotificator>(nullptr)) {
  FNotificator->OnFreeNotification = [this](TComponent* AComponent) { DoFreeNotification(AComponent); };
  PopupAutoSize = true;
  SetPopupMinHeight(100);
  SetPopupHeight(200);
  SetPopupMinWidth(100);
  SetPopupWidth(250);
  SetPopupSizeable(true);
}

TcxCustomPopupEditProperties::~TcxCustomPopupEditProperties() {
  SetPopupControl(nullptr);
}

void TcxCustomPopupEditProperties::Assign(const TPersistent* Source) {
  TcxCustomDropDownEditProperties::Assign(Source);
  if (auto* source = dynamic_cast<const TcxCustomPopupEditProperties*>(Source))
    SetPopupControl(source->FPopupControl);
}

void TcxCustomPopupEditProperties::SetPopupControl(TControl* Value) {
  if (Value == FPopupControl) return;
  ::RemoveFreeNotification(FNotificator.get(), FPopupControl);
  FPopupControl = Value;
  ::AddFreeNotification(FNotificator.get(), FPopupControl);
}

void TcxCustomPopupEditProperties::DoFreeNotification(TComponent* AComponent) {
  if (AComponent == FPopupControl) FPopupControl = nullptr;
}

std::unique_ptr<TcxCustomEditPopupWindow>
TcxCustomPopupEditProperties::CreatePopupWindow(TcxCustomDropDownEdit* AEdit) const {
  return std::make_unique<TcxPopupEditPopupWindow>(AEdit);
}

TcxClassRef TcxCustomPopupEditProperties::GetContainerClass() const {
  return cxClassRef<TcxPopupEdit>();
}

TcxPopupEditProperties::TcxPopupEditProperties(TPersistent* AOwner) : TcxCustomPopupEditProperties(AOwner) {
  ImmediateDropDown = true;
  ImmediatePopup = true;
}

// ---- Popup window ----

void TcxPopupEditPopupWindowViewInfo::DrawPopupFrame(TcxCanvas* ACanvas, TRect& R) {
  DrawPopupEditBorder(ACanvas, this, R);
}

std::unique_ptr<TcxContainerViewInfo> TcxPopupEditPopupWindow::CreateViewInfo() {
  return std::make_unique<TcxPopupEditPopupWindowViewInfo>();
}

// ---- TcxCustomPopupEdit ----

TcxCustomPopupEdit::TcxCustomPopupEdit(TComponent* AOwner)
    : TcxCustomDropDownEdit(AOwner), FWatcher(std::make_unique<TcxFreeNotificator>(nullptr)) {
  FWatcher->OnFreeNotification = [this](TComponent* AComponent) { WatchedFreed(AComponent); };
}

TcxCustomPopupEdit::~TcxCustomPopupEdit() {
  RestorePopupControl();
  FWatcher.reset();
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomPopupEdit::CreateProperties() {
  return std::make_unique<TcxPopupEditProperties>(this);
}

// A freed control is not put back; one whose parent went stays hidden
// without a parent.
void TcxCustomPopupEdit::WatchedFreed(TComponent* AComponent) {
  if (AComponent == FBorrowed) FBorrowed = nullptr;
  if (AComponent == FSavedParent) FSavedParent = nullptr;
}

void TcxCustomPopupEdit::SavePopupControl() {
  TControl* control = GetActiveProperties()->GetPopupControl();
  FSavedAlign = control->GetAlign();
  if (auto* form = dynamic_cast<TCustomForm*>(control)) {
    FSavedBorderStyle = form->GetBorderStyle();
    form->SetBorderStyle(bsNone);
  }
  FSavedBounds = control->GetBoundsRect();
  FSavedParent = control->GetParent();
  FSavedVisible = control->GetVisible();
  FBorrowed = control;
  ::AddFreeNotification(FWatcher.get(), FBorrowed);
  ::AddFreeNotification(FWatcher.get(), FSavedParent);
}

void TcxCustomPopupEdit::RestorePopupControl() {
  TControl* control = FBorrowed;
  TWinControl* parent = FSavedParent;
  ::RemoveFreeNotification(FWatcher.get(), FBorrowed);
  ::RemoveFreeNotification(FWatcher.get(), FSavedParent);
  FBorrowed = nullptr;
  FSavedParent = nullptr;
  if (!control) return;
  control->SetVisible(false);
  control->SetParent(parent);
  control->SetAlign(FSavedAlign);
  control->SetBoundsRect(FSavedBounds);
  if (auto* form = dynamic_cast<TCustomForm*>(control)) form->SetBorderStyle(FSavedBorderStyle);
  if (parent) control->SetVisible(FSavedVisible);
}

bool TcxCustomPopupEdit::CanDropDown() {
  return GetActiveProperties()->GetPopupControl() != nullptr;
}

void TcxCustomPopupEdit::DoInitPopup() {
  TControl* control = GetActiveProperties()->GetPopupControl();
  bool circular = control && (control == this || control == GetPopupWindow());
  for (TWinControl* parent = GetParent(); control && parent && !circular; parent = parent->GetParent())
    circular = parent == control;
  if (circular) throw Exception(LoadLibraryResString(&cxSEditPopupCircularReferencingError));
  TcxCustomDropDownEdit::DoInitPopup();
}

TWinControl* TcxCustomPopupEdit::GetPopupFocusedControl() {
  return dynamic_cast<TWinControl*>(GetActiveProperties()->GetPopupControl());
}

SIZE TcxCustomPopupEdit::CalculatePopupContentSize() {
  TControl* control = GetActiveProperties()->GetPopupControl();
  return SIZE{control->GetWidth(), control->GetHeight()};
}

void TcxCustomPopupEdit::SetupPopupWindow() {
  TControl* control = GetActiveProperties()->GetPopupControl();
  if (FBorrowed != control) {
    RestorePopupControl();
    SavePopupControl();
  }
  control->SetParent(GetPopupWindow());
  control->SetVisible(true);
  TcxCustomDropDownEdit::SetupPopupWindow();
  control->SetAlign(alClient);
}

void TcxCustomPopupEdit::PositionPopupContent(const TRect& AClientRect) {
  if (TControl* control = FBorrowed)
    control->SetBounds(AClientRect.left, AClientRect.top, AClientRect.Width(), AClientRect.Height());
}

void TcxCustomPopupEdit::PopupClosed() {
  RestorePopupControl();
  TcxCustomDropDownEdit::PopupClosed();
}
