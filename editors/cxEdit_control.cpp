#include "cxEdit.h"

#include "cxBrushCache.h"
#include "cxEditConsts.h"
#include "cxEditPaintUtils.h"

#include "ActnList.h"
#include "ExtCtrls.h"
#include "Forms.h"

#include <algorithm>

namespace {

bool IsNavigationKey(WORD Key) {
  return Key >= VK_PRIOR && Key <= VK_DOWN;
}

} // namespace

// Locks change events for its scope; the unlock delivers what is pending
// even when the scope ends by an exception, unless the editor is gone.
class TChangeEventsLock {
public:
  explicit TChangeEventsLock(TcxCustomEdit* AEdit) : FEdit(AEdit), FGuard(AEdit) {
    AEdit->LockChangeEvents(true);
  }
  ~TChangeEventsLock() {
    if (FGuard.Alive()) FEdit->LockChangeEvents(false);
  }
  TChangeEventsLock(const TChangeEventsLock&) = delete;
  TChangeEventsLock& operator=(const TChangeEventsLock&) = delete;

private:
  TcxCustomEdit* FEdit;
  TcxControlGuard FGuard;
};

// ---- TcxCustomEditData ----

TcxCustomEditData::TcxCustomEditData(TcxCustomEdit* AEdit)
    : FEdit(AEdit), FFreeNotificator(std::make_unique<TcxFreeNotificator>(nullptr)) {
  FFreeNotificator->OnFreeNotification = [this](TComponent* AComponent) {
    if (AComponent == FEdit) FEdit = nullptr;
  };
  if (FEdit) AddFreeNotification(FFreeNotificator.get(), FEdit);
}

TcxCustomEditData::~TcxCustomEditData() {
  if (FEdit) RemoveFreeNotification(FFreeNotificator.get(), FEdit);
}

// ---- TcxEditRepositoryItemListenerEditHelper ----

void TcxEditRepositoryItemListenerEditHelper::ItemRemoved(TcxEditRepositoryItem*) {
  FEdit->ClearRepositoryItemSilently();
}

void TcxEditRepositoryItemListenerEditHelper::ApplyPropertiesChange(TcxEditRepositoryItem* AItem) {
  if (FEdit->IsLoading() || FEdit->IsDestroying() || FEdit->FIsDestroying) return;
  FEdit->ApplyPropertiesChange(AItem->GetProperties());
}

// ---- Construction ----

TcxCustomEdit::TcxCustomEdit(TComponent* AOwner) : TcxContainer(AOwner) {
  ControlStyle.Include(csCaptureMouse);
  ControlStyle.Include(csSetCaption);
  SetTabStop(true);
  // Tab and the arrows reach the editor's own key handling, which passes
  // on what it leaves.
  SetWantedKeys(TcxWantedKeys{wkArrows, wkTab});
  FAutoSize = !FIsInplace;
  FRepositoryListener = std::make_unique<TcxEditRepositoryItemListenerEditHelper>(this);
  FDblClickTimer = new TTimer(this);
  FDblClickTimer->SetEnabled(false);
  FDblClickTimer->SetInterval(DoubleClickInterval());
  FDblClickTimer->SetOnTimer([this](TObject*) { FDblClickTimer->SetEnabled(false); });
}

TcxCustomEdit::~TcxCustomEdit() {
  FIsDestroying = true;
  SetDestroying();
  if (FRepositoryItem) FRepositoryItem->RemoveListener(FRepositoryListener.get());
  FRepositoryItem = nullptr;
  FRepositoryListener.reset();
  FInnerEdit = nullptr;
  if (!FIsInplace && FProperties) GetActiveProperties()->SetDefaultValuesProvider(nullptr);
  FDataBinding.reset();
  FModifiedStack.clear();
  FProperties.reset();
}

void TcxCustomEdit::AfterConstruction() {
  if (FConstructed) return;
  FConstructed = true;
  GetProperties();
  FInnerEdit = CreateInnerEdit();
  if (FInnerEdit) {
    InitializeInnerEdit();
    SetInnerControl(FInnerEdit->GetControl());
  }
  if (!FIsInplace) {
    GetActiveProperties()->SetDefaultValuesProvider(GetDataBinding()->GetDefaultValuesProvider());
    GetDataBinding()->UpdateUnboundDisplay();
  }
  ApplyPropertiesChange(GetActiveProperties());
  GetDataBinding()->UpdateDisplayValue();
}

void TcxCustomEdit::CreateWnd() {
  if (!FConstructed) AfterConstruction();
  TcxContainer::CreateWnd();
}

void TcxCustomEdit::Loaded() {
  TcxContainer::Loaded();
  if (!FIsInplace) GetDataBinding()->UpdateUnboundDisplay();
  AdjustInnerControlBounds();
  if (!FRepositoryItem) HookOwnProperties();
  ApplyPropertiesChange(GetActiveProperties());
  GetViewInfo()->Shadow = false;
  ContainerStyleChanged(GetStyle());
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomEdit::CreateProperties() {
  return std::make_unique<TcxCustomEditProperties>(this);
}

std::unique_ptr<TcxEditDataBinding> TcxCustomEdit::CreateDataBinding() {
  return std::make_unique<TcxEditDataBinding>(this);
}

TcxCustomEditProperties* TcxCustomEdit::GetProperties() const {
  EnsureProperties();
  return FProperties.get();
}

void TcxCustomEdit::EnsureProperties() const {
  if (FProperties) return;
  auto* self = const_cast<TcxCustomEdit*>(this);
  FProperties = self->CreateProperties();
  if (!FRepositoryItem) self->HookOwnProperties();
}

void TcxCustomEdit::HookOwnProperties() {
  GetProperties()->OnPropertiesChanged = [this](TObject*) { ApplyPropertiesChange(GetProperties()); };
}

TcxEditDataBinding* TcxCustomEdit::GetDataBinding() const {
  if (!FDataBinding) FDataBinding = const_cast<TcxCustomEdit*>(this)->CreateDataBinding();
  return FDataBinding.get();
}

TcxCustomEditProperties* TcxCustomEdit::GetActiveProperties() const {
  if (FRepositoryItem && (GetComponentState() & (csReading | csWriting)) == 0)
    return FRepositoryItem->GetProperties();
  return GetProperties();
}

std::unique_ptr<TcxContainerStyle> TcxCustomEdit::CreateStyle(bool AIsInternal) {
  return GetActiveProperties()->CreateStyle(this, AIsInternal);
}

std::unique_ptr<TcxContainerViewInfo> TcxCustomEdit::CreateViewInfo() {
  return GetActiveProperties()->CreateViewInfo();
}

TcxContainerStyleValues TcxCustomEdit::GetHiddenStyleValues() const {
  return TcxContainerStyleValues{svButtonStyle, svButtonTransparency, svPopupBorderStyle};
}

void TcxCustomEdit::ThemeChanged() {
  ClearSolidBrushCache();
  TcxContainer::ThemeChanged();
}

// ---- Properties and repository items ----

void TcxCustomEdit::ApplyPropertiesChange(TcxCustomEditProperties*) {
  FIsEditValidated = false;
  if (FInnerEdit && !IsInnerEditMissing()) FInnerEdit->SetReadOnly(GetActiveProperties()->GetReadOnly());
  UpdateMouseStateAtCursor(false);
}

// Every item's properties derive from the base class; each editor kind
// narrows this to the items of its own properties class.
bool TcxCustomEdit::CanAcceptRepositoryItem(TcxEditRepositoryItem*) {
  return true;
}

void TcxCustomEdit::SetRepositoryItem(TcxEditRepositoryItem* Value) {
  if (Value == FRepositoryItem) return;
  if (!CanAcceptRepositoryItem(Value))
    throw EcxEditError(LoadLibraryResString(&cxSEditRepositoryItemNotAcceptable));
  RepositoryItemChanging();
  if (FRepositoryItem) FRepositoryItem->RemoveListener(FRepositoryListener.get());
  if (Value) Value->AddListener(FRepositoryListener.get());
  if (Value) {
    FRepositoryItem = Value;
    GetProperties()->OnPropertiesChanged = nullptr;
  } else {
    ClearRepositoryItemSilently();
  }
  RepositoryItemChanged();
}

void TcxCustomEdit::ClearRepositoryItemSilently() {
  FRepositoryItem = nullptr;
  if (FIsDestroying || IsDestroying() || IsLoading()) return;
  HookOwnProperties();
  GetActiveProperties()->SetDefaultValuesProvider(GetDataBinding()->GetDefaultValuesProvider());
}

void TcxCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TcxContainer::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FRepositoryItem) SetRepositoryItem(nullptr);
}

// ---- Edit value and change events ----

void TcxCustomEdit::LockChangeEvents(bool ALock, bool AInvokeChanged) {
  if (ALock) {
    if (FLockCount == 0) FChangePending = FEditValueChangedPending = false;
    ++FLockCount;
    return;
  }
  if (FLockCount == 0 || --FLockCount > 0 || !AInvokeChanged) return;
  if (IsLoading() || IsDestroying() || FIsDestroying) return;
  TcxControlGuard guard(this);
  TcxCustomEditProperties* properties = GetActiveProperties();
  if (FChangePending && properties->OnChange) properties->OnChange(this);
  if (!guard.Alive()) return;
  properties = GetActiveProperties();
  if (FEditValueChangedPending && properties->OnEditValueChanged) properties->OnEditValueChanged(this);
}

void TcxCustomEdit::DoChange() {
  if (IsLoading() || IsDestroying() || FIsDestroying) return;
  TcxCustomEditProperties* properties = GetActiveProperties();
  TcxControlGuard guard(this);
  if (properties->OnChange) {
    if (IsChangeEventsLocked())
      FChangePending = true;
    else
      properties->OnChange(this);
  }
  if (!guard.Alive()) return;
  properties = GetActiveProperties();
  if (!properties->ChangeFiredByInnerEdit() && !properties->CompareEditValues()) DoEditValueChanged();
}

void TcxCustomEdit::DoEditValueChanged() {
  if (IsLoading() || IsDestroying() || FIsDestroying) return;
  TcxCustomEditProperties* properties = GetActiveProperties();
  if (!properties->OnEditValueChanged) return;
  if (IsChangeEventsLocked())
    FEditValueChangedPending = true;
  else
    properties->OnEditValueChanged(this);
}

void TcxCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (!Value) FModifiedSinceEnter = false;
}

void TcxCustomEdit::SetModifiedSinceEnter(bool Value) {
  FModifiedSinceEnter = Value;
  if (!Value) return;
  FIsEditValidated = false;
  FModified = true;
}

void TcxCustomEdit::PushModifiedState() {
  FModifiedStack.emplace_back(FModified, FModifiedSinceEnter);
}

void TcxCustomEdit::PopModifiedState() {
  if (FModifiedStack.empty()) return;
  std::tie(FModified, FModifiedSinceEnter) = FModifiedStack.back();
  FModifiedStack.pop_back();
}

// Storing asks whether a user change may start; asking here as well would
// ask the OnEditing handler twice for one change.
void TcxCustomEdit::SetEditValue(const Variant& Value) {
  if (FInQueryEditing) return;
  StoreEditValue(Value, true);
}

void TcxCustomEdit::StoreEditValue(const Variant& Value, bool) {
  if (FUserChange && !QueryEditing()) return;
  TcxCustomEditProperties* properties = GetActiveProperties();
  const bool changed = properties->CompareEditValues() && !VarEqualsSameType(FEditValue, Value);
  FEditValue = Value;
  SynchronizeDisplayValue();
  if (FUserChange)
    SetModifiedSinceEnter(true);
  else
    SetModified(false);
  if (!changed) return;
  TcxControlGuard guard(this);
  DoEditValueChanged();
  if (guard.Alive() && !GetActiveProperties()->ChangeFiredByInnerEdit()) DoChange();
}

bool TcxCustomEdit::IsEditValueStored() {
  return !GetEditValueVariant().IsNull();
}

bool TcxCustomEdit::QueryEditing() {
  if (!CanStartEditing()) return false;
  if (GetDataBinding()->GetModified()) return true;
  TcxControlGuard guard(this);
  bool result = false;
  {
    FInQueryEditing = true;
    try {
      result = CanModify();
      if (result && OnEditing) OnEditing(this, result);
      if (guard.Alive() && result && !FIsInplace) result = GetDataBinding()->SetEditMode();
    } catch (...) {
      if (guard.Alive()) FInQueryEditing = false;
      throw;
    }
  }
  if (!guard.Alive()) return false;
  FInQueryEditing = false;
  return result;
}

bool TcxCustomEdit::CanModify() {
  TcxCustomEditProperties* properties = GetActiveProperties();
  if (FIsInplace) return properties->CanModifyInplace();
  const bool assigned = properties->GetAssignedValues()->ReadOnly;
  if (assigned) return !properties->GetReadOnly();
  if (GetDataBinding()->GetDefaultValuesProvider()->DefaultCanModify()) return GetDataBinding()->CanModify();
  return false;
}

bool TcxCustomEdit::IsCharAllowed(char Ch) {
  IcxEditDefaultValuesProvider* provider = GetActiveProperties()->GetDefaultValuesProvider();
  return provider ? provider->IsValidChar(Ch) : true;
}

bool TcxCustomEdit::FilterChar(char& Ch) {
  const bool control = static_cast<unsigned char>(Ch) < 32;
  if (control || IsCharAllowed(Ch)) {
    if (!GetDataBinding()->GetModified() && IsEditingChar(Ch) && !QueryEditing()) Ch = 0;
  } else {
    Ch = 0;
  }
  return Ch != 0;
}

void TcxCustomEdit::PropertiesEditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                      bool AEditFocused) {
  GetActiveProperties()->EditValueToDisplayValue(EditValue, DisplayValue, AEditFocused);
}

void TcxCustomEdit::ApplyDisplayValueKeepModified(const Variant& Value) {
  PushModifiedState();
  TcxControlGuard guard(this);
  try {
    ApplyDisplayValue(Value);
  } catch (...) {
    if (guard.Alive()) PopModifiedState();
    throw;
  }
  if (guard.Alive()) PopModifiedState();
}

void TcxCustomEdit::InnerEditChanged(TObject*) {
  if (IsFocused()) SetModifiedSinceEnter(true);
  DoChange();
}

void TcxCustomEdit::InitializeInnerEdit() {
  FInnerEdit->SetOnChange([this](TObject* Sender) { InnerEditChanged(Sender); });
}

// ---- Validation, posting, reverting ----

bool TcxCustomEdit::ValidateEdit(bool ARaiseException) {
  if (!FModifiedSinceEnter || FIsEditValidated) return true;
  String text;
  GetDisplayText(text);
  Variant displayValue(text);
  bool error = false;
  String errorText;
  TcxControlGuard guard(this);
  TcxCustomEditProperties* properties = GetActiveProperties();
  if (properties->CanValidate()) properties->ValidateDisplayValue(displayValue, errorText, this, error);
  if (!guard.Alive()) return false;
  if (!error) {
    FIsEditValidated = true;
    if (!FUserChange || QueryEditing()) {
      if (!guard.Alive()) return false;
      ApplyDisplayValueKeepModified(displayValue);
      if (!guard.Alive()) return false;
      if (!FIsInplace && !IsFocused()) SetModifiedSinceEnter(false);
    }
    return true;
  }
  if (!ARaiseException) return false;
  ReportValidationError(errorText);
  if (guard.Alive()) Application->ProcessMessages();
  return false;
}

void TcxCustomEdit::ReportValidationError(const String& AErrorText) {
  TcxControlGuard guard(this);
  if (!IsFocused() && GetVisible()) {
    FFocusing = true;
    try {
      TWinControl* target = FInnerEdit ? FInnerEdit->GetControl() : this;
      if (target->CanFocus()) target->SetFocus();
      if (guard.Alive()) SelectAll();
    } catch (...) {
      if (guard.Alive()) FFocusing = false;
      throw;
    }
    if (!guard.Alive()) return;
    FFocusing = false;
  }
  if (GetActiveProperties()->BeepOnError) MessageBeep(0);
  if (!AErrorText.empty()) throw EcxEditError(AErrorText);
}

bool TcxCustomEdit::CanPostEditValue() {
  return GetDataBinding()->GetModified() && !IsDesigning();
}

void TcxCustomEdit::PostEditValue() {
  TcxControlGuard guard(this);
  try {
    BeginPost();
    try {
      if (FIsInplace) {
        if (OnPostInplace) OnPostInplace(this);
        if (guard.Alive()) SetModified(false);
      } else {
        GetDataBinding()->SetStoredValue(GetEditValueVariant());
      }
    } catch (...) {
      if (guard.Alive()) EndPost();
      throw;
    }
    if (guard.Alive()) EndPost();
  } catch (...) {
    if (!guard.Alive() || FIsInplace) return;
    ReportValidationError(String());
    throw;
  }
}

void TcxCustomEdit::ResetEditValue() {
  if (!FModifiedSinceEnter || !GetActiveProperties()->CanResetEditValue()) return;
  TChangeEventsLock lock(this);
  TcxControlGuard guard(this);
  FModifiedSinceEnter = false;
  SetEditValue(FPrevEditValue);
  if (!guard.Alive()) return;
  SetModified(true);
  SelectAll();
  if (GetActiveProperties()->ImmediatePost && CanPostEditValue()) PostEditValue();
}

// ---- Focus ----

void TcxCustomEdit::DoEnter() {
  if (FIsDestroying) return;
  TcxControlGuard guard(this);
  if (!FFocusing) {
    PushModifiedState();
    try {
      TcxContainer::DoEnter();
      if (guard.Alive()) {
        GetDataBinding()->UpdateDisplayValue();
        if (GetActiveProperties()->CanResetEditValue()) FPrevEditValue = GetEditValueVariant();
        SynchronizeDisplayValue();
      }
    } catch (...) {
      if (guard.Alive()) {
        PopModifiedState();
        FModifiedSinceEnter = false;
      }
      throw;
    }
    if (!guard.Alive()) return;
    PopModifiedState();
    FModifiedSinceEnter = false;
  }
  UpdateMouseStateAtCursor(false);
}

void TcxCustomEdit::DoExit() {
  HandleEditExit(true);
}

bool TcxCustomEdit::HandleEditExit(bool ARealExit) {
  if (FIsDestroying || IsDestroying() || FFocusing) return true;
  PushModifiedState();
  TcxControlGuard guard(this);
  if (FModifiedSinceEnter) {
    try {
      TChangeEventsLock lock(this);
      if (!ValidateEdit(true)) {
        if (guard.Alive()) PopModifiedState();
        return false;
      }
      if (!guard.Alive()) return false;
      if (!FIsInplace && CanPostEditValue()) PostEditValue();
    } catch (...) {
      if (guard.Alive()) PopModifiedState();
      throw;
    }
    if (!guard.Alive()) return false;
  }
  GetDataBinding()->UpdateDisplayValue();
  RefreshViewInfoText();
  UpdateMouseStateAtCursor(false);
  PopModifiedState();
  if (ARealExit) {
    TcxContainer::DoExit();
    if (!guard.Alive()) return true;
  }
  SetModifiedSinceEnter(false);
  return true;
}

void TcxCustomEdit::FocusChanged() {
  if (FIsDestroying || IsDestroying() || FFocusing) return;
  const bool focused = IsFocused() && Application->GetActive();
  if (focused == FLastFocusState) return;
  FLastFocusState = focused;
  TcxControlGuard guard(this);
  TcxContainer::FocusChanged();
  if (!guard.Alive()) return;
  RefreshViewInfoText();
  TCustomForm* form = GetParentForm(this);
  if (!form || form->GetVisible() || !form->FormState.Contains(fsModal)) return;
  const TModalResult result = form->GetModalResult();
  if (result != mrNone && result != mrCancel) ValidateEdit(false);
}

bool TcxCustomEdit::IsEditFocused() {
  if (IsFocused()) return true;
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  TWinControl* active = form->GetActiveControl();
  return active == this || (FInnerEdit && active == FInnerEdit->GetControl());
}

void TcxCustomEdit::SetFocus() {
  if (IsDesigning() || IsFocused()) return;
  TcxContainer::SetFocus();
  if (!FInnerEdit) return;
  TWinControl* inner = FInnerEdit->GetControl();
  if (inner->HandleAllocated() && HandleAllocated() && ::GetFocus() == GetHandle()) inner->SetFocus();
}

// ---- Keyboard ----

void TcxCustomEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  if (!IsClickKey(Key, Shift)) TcxContainer::KeyDown(Key, Shift);
  if (guard.Alive() && Key != 0) HandleEditKeyDown(Key, Shift);
}

void TcxCustomEdit::KeyPress(char& Key) {
  TcxControlGuard guard(this);
  TcxContainer::KeyPress(Key);
  if (guard.Alive() && Key != 0) HandleEditKeyPress(Key);
}

void TcxCustomEdit::KeyUp(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  TcxContainer::KeyUp(Key, Shift);
  if (guard.Alive()) HandleEditKeyUp(Key, Shift);
}

bool TcxCustomEdit::IsClickKey(WORD Key, TShiftState Shift) {
  return GetViewInfo()->ButtonCount() > 0 && ShortCut(Key, Shift) == GetActiveProperties()->ClickKey;
}

// The character that the click key's WM_KEYDOWN made would reach the
// editor after the click: it goes. Taking it out of the queue may take a
// quit request instead, which is posted again.
void TcxCustomEdit::RemoveOnePendingChar() {
  MSG msg;
  if (HandleAllocated() && PeekMessageA(&msg, GetHandle(), WM_CHAR, WM_CHAR, PM_REMOVE) &&
      msg.message == WM_QUIT)
    PostQuitMessage(static_cast<int>(msg.wParam));
}

void TcxCustomEdit::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  if (Key == 0) return;
  const TShortCut shortCut = ShortCut(Key, Shift);
  TcxCustomEditProperties* properties = GetActiveProperties();
  TcxControlGuard guard(this);
  if (shortCut == properties->ClearKey) {
    TFlagScope userChange(FUserChange);
    SetEditValue(Null());
    Key = 0;
    return;
  }
  if (GetViewInfo()->ButtonCount() > 0 && shortCut == properties->ClickKey) {
    RemoveOnePendingChar();
    ClickDefaultButton();
    Key = 0;
    return;
  }
  if (!CanProcessKey(Key, Shift)) {
    if (guard.Alive() && OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
    Key = 0;
    return;
  }
  if (!guard.Alive()) return;
  switch (Key) {
  case VK_TAB:
    if (IsFocused() && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && !properties->WantsTabKey())
      return HandleTabKey(Key, Shift);
    break;
  case VK_RETURN:
    if (properties->ValidateOnEnter) HandleEnterKey(Key);
    break;
  case VK_ESCAPE:
    if (FModified) {
      ResetEditValue();
      Key = 0;
    }
    break;
  }
  if (!guard.Alive() || Key == 0) return;
  if (!GetActiveProperties()->WantsNavigationKeys() && IsNavigationKey(Key)) {
    if (OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
    Key = 0;
  }
}

void TcxCustomEdit::HandleTabKey(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  if (OnUnhandledKey) {
    OnUnhandledKey(this, Key, Shift);
    if (!guard.Alive() || Key == 0) return;
  }
  Key = 0;
  if (FIsInplace || !HasPopupWindow()) {
    TCustomForm* form = GetParentForm(this);
    if (form) form->SelectNext(form->GetActiveControl(), !Shift.Contains(ssShift), true);
  }
  if (!guard.Alive() || !FInnerEdit) return;
  if (HandleAllocated() && ::GetFocus() == GetHandle()) FInnerEdit->GetControl()->SetFocus();
}

void TcxCustomEdit::HandleEnterKey(WORD& Key) {
  Key = 0;
  TcxControlGuard guard(this);
  TChangeEventsLock lock(this);
  if (ValidateEdit(true) && guard.Alive() && CanPostEditValue()) PostEditValue();
}

bool TcxCustomEdit::CanProcessKey(WORD Key, TShiftState Shift) {
  return GetDataBinding()->GetModified() || !IsEditingKey(Key, Shift) || QueryEditing();
}

void TcxCustomEdit::WMClipboard(TMessage& Message) {
  const bool readOnly = GetActiveProperties()->GetReadOnly();
  switch (Message.Msg) {
  case WM_CUT: {
    TFlagScope userChange(FUserChange);
    if (readOnly)
      CopyToClipboard();
    else
      CutToClipboard();
    break;
  }
  case WM_COPY:
    CopyToClipboard();
    break;
  case WM_PASTE:
    if (!readOnly) {
      TFlagScope userChange(FUserChange);
      PasteFromClipboard();
    }
    break;
  }
}

// ---- Buttons and the mouse ----

void TcxCustomEdit::ClickDefaultButton() {
  TcxCustomEditViewInfo* info = GetViewInfo();
  for (int i = 0; i < info->ButtonCount(); ++i)
    if (info->ButtonsInfo[i]->Default) return DoButtonClick(i);
}

void TcxCustomEdit::DoButtonClick(int AIndex) {
  TcxCustomEditProperties* properties = GetActiveProperties();
  if (properties->OnButtonClick)
    properties->OnButtonClick(this, GetViewInfo()->ButtonsInfo[AIndex]->ButtonIndex);
}

int TcxCustomEdit::GetButtonAtPoint(const TPoint& P) const {
  TcxCustomEditViewInfo* info = GetViewInfo();
  for (int i = 0; i < info->ButtonCount(); ++i)
    if (info->ButtonsInfo[i]->Bounds.Contains(P)) return i;
  return -1;
}

std::unique_ptr<TcxCustomEditViewData> TcxCustomEdit::CreateViewData() {
  std::unique_ptr<TcxCustomEditViewData> viewData =
      GetActiveProperties()->CreateViewData(GetStyle(), FIsInplace);
  viewData->Edit = IsInnerEditMissing() ? nullptr : this;
  viewData->WindowHandle = HandleAllocated() ? GetHandle() : nullptr;
  return viewData;
}

void TcxCustomEdit::InitializeViewData(TcxCustomEditViewData* AViewData) {
  AViewData->Enabled = GetEnabled();
  AViewData->Focused = IsFocused();
  if (IsHScrollBarVisible()) AViewData->HScrollBar = GetHScrollBar();
  AViewData->InnerEdit = FInnerEdit;
  AViewData->IsDesigning = IsDesigning();
  if (IsVScrollBarVisible()) AViewData->VScrollBar = GetVScrollBar();
}

void TcxCustomEdit::CalculateEditViewInfo(const TPoint& P, int Button, TShiftState Shift,
                                          bool AIsMouseEvent) {
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewData();
  InitializeViewData(viewData.get());
  viewData->Calculate(GetcxCanvas(), TRect(0, 0, GetWidth(), GetHeight()), P, Button, Shift, GetViewInfo(),
                      AIsMouseEvent);
}

void TcxCustomEdit::CalculateEditViewInfoAtCursor() {
  CalculateEditViewInfo(ScreenToClient(GetMouseCursorPos()), 0, GetShiftState(), false);
}

bool TcxCustomEdit::IsInnerEditMissing() {
  return FIsDestroying || (HasInnerEditClass() && !FInnerEdit);
}

bool TcxCustomEdit::CanUseMouseWheel(TShiftState Shift) const {
  return !FIsInplace || GetActiveProperties()->UseMouseWheel || Shift.Contains(ssCtrl);
}

bool TcxCustomEdit::UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) {
  if (!HandleAllocated() || ControlState.Contains(csDestroyingHandle) || FIsDestroying || IsDestroying())
    return false;
  if (FPressedButton >= 0 && !MouseCapture()) FPressedButton = -1;
  std::unique_ptr<TcxCustomEditViewInfo> prev;
  if (AIsMouseEvent) {
    prev = GetActiveProperties()->CreateViewInfo();
    prev->Assign(GetViewInfo());
  }
  CalculateEditViewInfo(P, Button, Shift, AIsMouseEvent);
  TRect innerRect;
  const TRect* inner = nullptr;
  if (FInnerEdit && IsInnerEditShown()) {
    innerRect = FInnerEdit->GetControl()->GetBoundsRect();
    inner = &innerRect;
  }
  const bool changed = GetViewInfo()->RepaintChanged(this, prev.get(), inner);
  if (prev && !changed) return false;
  TcxControlGuard guard(this);
  AdjustInnerControlBounds();
  if (!guard.Alive()) return true;
  UpdateRegion();
  if (prev) ButtonStatesChanged(prev.get());
  return true;
}

void TcxCustomEdit::UpdateRegion() {
  if (!HandleAllocated()) return;
  TFlagScope updating(FUpdatingRegion);
  SetEditWindowRegion(GetViewInfo(), GetHandle());
}

void TcxCustomEdit::ButtonStatesChanged(const TcxCustomEditViewInfo* APrevViewInfo) {
  const TcxCustomEditViewInfo* info = GetViewInfo();
  const int pressed = info->PressedButton;
  const int prevPressed = APrevViewInfo->PressedButton;
  if (pressed == prevPressed && info->HotButton == APrevViewInfo->HotButton) return;
  TcxControlGuard guard(this);
  if (prevPressed >= 0) {
    const bool releasedOver = info->HotButton == prevPressed;
    DoButtonUp(prevPressed);
    if (!guard.Alive()) return;
    if (releasedOver) DoButtonClick(prevPressed);
    if (!guard.Alive()) return;
  }
  if (pressed >= 0 && prevPressed < 0) DoButtonDown(pressed);
}

void TcxCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TcxControlGuard guard(this);
  if (Button == mbLeft && FDblClickTimer->GetEnabled()) {
    FDblClickTimer->SetEnabled(false);
    if (GetButtonAtPoint(TPoint(X, Y)) < 0) DblClick();
    if (!guard.Alive()) return;
  }
  TcxContainer::MouseDown(Button, Shift, X, Y);
  if (!guard.Alive() || Button != mbLeft || !MouseCapture()) return;
  const int index = GetButtonAtPoint(TPoint(X, Y));
  if (index >= 0 && GetViewInfo()->ButtonsInfo[index]->State == ebsPressed) FPressedButton = index;
}

void TcxCustomEdit::MouseLeave(TControl* AControl) {
  TcxControlGuard guard(this);
  TcxContainer::MouseLeave(AControl);
  if (!guard.Alive()) return;
  for (auto& button : GetViewInfo()->ButtonsInfo) {
    if (button->State != ebsSelected) continue;
    button->State = ebsNormal;
    InvalidateWinControlRect(this, button->Bounds, button->HasBackground);
  }
}

void TcxCustomEdit::DblClick() {
  const TPoint cursor = ScreenToClient(GetMouseCursorPos());
  if (GetButtonAtPoint(cursor) < 0) return TcxContainer::DblClick();
  TcxControlGuard guard(this);
  MouseDown(mbLeft, GetShiftState() + TShiftState{ssLeft}, cursor.x, cursor.y);
  if (guard.Alive()) Click();
}

void TcxCustomEdit::Click() {
  if (IsDestroying() || FIsDestroying) return;
  if (IsLoading() && !CanClickWhileLoading()) return;
  TcxContainer::Click();
}

TRect TcxCustomEdit::GetHotTrackBounds() {
  TRect r;
  GetEditHotBounds(GetViewInfo(), TRect(0, 0, GetWidth(), GetHeight()), r);
  return r;
}

// ---- Size ----

void TcxCustomEdit::GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) {
  ASizeProperties.MaxLineCount = 1;
  ASizeProperties.Width = GetWidth();
}

SIZE TcxCustomEdit::CalculateAutoSize(int AWidth, TRect* AClientExtent) {
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewData();
  InitializeViewData(viewData.get());
  if (AClientExtent) viewData->GetClientExtent(GetViewInfo(), *AClientExtent);
  TcxEditSizeProperties sizeProperties;
  GetAutoSizeConstraints(sizeProperties);
  sizeProperties.Width = AWidth;
  SIZE size{0, 0};
  viewData->CalculateEditorSize(GetcxCanvas(), GetEditValueVariant(), size, sizeProperties);
  return size;
}

void TcxCustomEdit::AdjustInnerControlBounds() {
  if (!HandleAllocated()) return;
  TRect extent;
  const SIZE size = CalculateAutoSize(GetWidth(), &extent);
  int height = GetHeight();
  if (FAutoSize && CanAutoSize()) {
    height = size.cy;
    SetBounds(GetLeft(), GetTop(), CanAutoWidth() ? size.cx : GetWidth(), height);
  }
  if (FInnerEdit) AdjustInnerEditPosition(height - extent.top - extent.bottom);
}

void TcxCustomEdit::AdjustInnerEditPosition(int) {
  if (!FInnerEdit) return;
  FInnerEdit->GetControl()->SetBoundsRect(GetViewInfo()->ClientRect);
  FInnerEdit->GetControl()->Realign();
}

bool TcxCustomEdit::CanResize(int& NewWidth, int& NewHeight) {
  if (!TcxContainer::CanResize(NewWidth, NewHeight)) return false;
  if (FAutoSize && !IsLoading() && FConstructed) NewHeight = CalculateAutoSize(NewWidth, nullptr).cy;
  return true;
}

void TcxCustomEdit::SetAutoSize(bool Value) {
  if (FAutoSize == Value || FIsInplace) return;
  FAutoSize = Value;
  if (!Value) return;
  AdjustInnerControlBounds();
  UpdateMouseStateAtCursor(false);
}

// ---- Messages ----

void TcxCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NCCALCSIZE:
    if (FUpdatingRegion) {
      Message.Result = 0;
      return;
    }
    break;
  case WM_CUT:
  case WM_COPY:
  case WM_PASTE:
    return WMClipboard(Message);
  case CXM_EDITPOSTEXCEPTION:
    return WMPostException(Message);
  }
  TcxControlGuard guard(this);
  TcxContainer::WndProc(Message);
  if (guard.Alive() && Message.Msg == CM_SHOWINGCHANGED && IsShowing()) AdjustInnerControlBounds();
}

void TcxCustomEdit::PostEditException(const String& AText) {
  FQueuedErrors.push_back(std::make_unique<String>(AText));
  PostMessageA(GetHandle(), CXM_EDITPOSTEXCEPTION, reinterpret_cast<WPARAM>(FQueuedErrors.back().get()), 0);
}

// Only a block this editor queued is taken: any other WParam is no text of
// ours and is left alone.
void TcxCustomEdit::WMPostException(TMessage& Message) {
  const auto block = std::find_if(FQueuedErrors.begin(), FQueuedErrors.end(), [&](const auto& text) {
    return reinterpret_cast<WPARAM>(text.get()) == Message.WParam;
  });
  if (block == FQueuedErrors.end()) return;
  const String text = **block;
  FQueuedErrors.erase(block);
  throw EcxEditError(text);
}

// ---- The inner window and in-place hosting ----

void TcxCustomEdit::CallInnerWndProc(TMessage& Message) {
  if (FInnerPrevWindowProc) FInnerPrevWindowProc(Message);
}

void TcxCustomEdit::HookInnerWndProc() {
  if (!FInnerEdit || FInnerHooked) return;
  TWinControl* inner = FInnerEdit->GetControl();
  FInnerPrevWindowProc = inner->WindowProc;
  inner->WindowProc = [this](TMessage& Message) { CallInnerWndProc(Message); };
  FInnerHooked = true;
}

void TcxCustomEdit::UnhookInnerWndProc() {
  if (!FInnerEdit || !FInnerHooked) return;
  FInnerEdit->GetControl()->WindowProc = FInnerPrevWindowProc;
  FInnerPrevWindowProc = nullptr;
  FInnerHooked = false;
}

void TcxCustomEdit::ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) {
  if (!AEditData) AEditData = CreateEditData();
  FEditData = AEditData.get();
  if (FEditData && FEditData->Cleared) {
    InitializeEditData();
    FEditData->Cleared = false;
  }
  SetVisible(true);
  TcxControlGuard guard(this);
  if (HandleAllocated() && CanFocus()) {
    SetFocus();
    if (!guard.Alive()) return;
    if (GetActiveProperties()->GetAutoSelect()) SelectAll();
  }
  SynchronizeDisplayValue();
  SetModified(false);
}

void TcxCustomEdit::ActivateInplaceByKey(char Key, std::unique_ptr<TcxCustomEditData>& AEditData) {
  HookInnerWndProc();
  TcxControlGuard guard(this);
  ActivateInplace(AEditData);
  if (guard.Alive() && CanSendActivationKey(Key))
    SendMessageA(GetHandle(), WM_CHAR, static_cast<BYTE>(Key), 0);
  if (guard.Alive()) UnhookInnerWndProc();
}

void TcxCustomEdit::ActivateInplaceByMouse(TMouseButton, TShiftState Shift, int X, int Y,
                                           std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxControlGuard guard(this);
  ActivateInplace(AEditData);
  if (!guard.Alive()) return;
  const TPoint p(X - GetLeft(), Y - GetTop());
  const UINT msg = Shift.Contains(ssLeft) ? WM_LBUTTONDOWN : WM_LBUTTONUP;
  SendMessageA(GetHandle(), msg, ShiftStateToMouseKeys(Shift), MAKELPARAM(p.x, p.y));
  if (guard.Alive()) FDblClickTimer->SetEnabled(true);
}

bool TcxCustomEdit::DeactivateInplace() {
  TcxControlGuard guard(this);
  const bool result = ValidateEdit(true);
  if (result && guard.Alive()) SynchronizeDisplayValue();
  return result;
}
