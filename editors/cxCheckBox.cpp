#include "cxCheckBox.h"

#include "cxEditConsts.h"
#include "cxEditPaintUtils.h"
#include "cxVariants.h"

#include <algorithm>

// ---- TcxCustomCheckBoxProperties ----

TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner), DisplayChecked(LoadLibraryResString(&cxSEditCheckBoxChecked)),
      DisplayGrayed(LoadLibraryResString(&cxSEditCheckBoxGrayed)),
      DisplayUnchecked(LoadLibraryResString(&cxSEditCheckBoxUnchecked)) {}

TcxCustomCheckBoxProperties::~TcxCustomCheckBoxProperties() = default;

// The caption and the display texts belong to the editor, not to its kind.
void TcxCustomCheckBoxProperties::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TcxCustomCheckBoxProperties*>(Source);
  if (!source) return TcxCustomEditProperties::Assign(Source);
  BeginUpdate();
  try {
    TcxCustomEditProperties::Assign(Source);
    AllowGrayed = source->AllowGrayed;
    SetFullFocusRect(source->FFullFocusRect);
    SetGlyph(source->FGlyph.get());
    SetGlyphCount(source->FGlyphCount);
    SetMultiLine(source->FMultiLine);
    SetNullStyle(source->FNullStyle);
    SetValueChecked(source->FValueChecked);
    SetValueGrayed(source->FValueGrayed);
    SetValueUnchecked(source->FValueUnchecked);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TcxCustomCheckBoxProperties::SetCaption(const String& Value) {
  FCaptionAssigned = true;
  if (FCaption == Value) return;
  FCaption = Value;
  Changed();
}

void TcxCustomCheckBoxProperties::SetFullFocusRect(bool Value) {
  Store(FFullFocusRect, Value);
}

TBitmap* TcxCustomCheckBoxProperties::GetGlyph() {
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = [this](TObject*) { Changed(); };
  }
  return FGlyph.get();
}

void TcxCustomCheckBoxProperties::SetGlyph(const TBitmap* Value) {
  if (Value)
    GetGlyph()->Assign(Value);
  else
    FGlyph.reset();
  Changed();
}

void TcxCustomCheckBoxProperties::SetGlyphCount(int Value) {
  if (FGlyphCount == Value) return;
  FGlyphCount = Value;
  if (FGlyph) Changed();
}

void TcxCustomCheckBoxProperties::SetMultiLine(bool Value) {
  Store(FMultiLine, Value);
}

void TcxCustomCheckBoxProperties::SetNullStyle(TcxCheckBoxNullValueShowingStyle Value) {
  Store(FNullStyle, Value);
}

bool TcxCustomCheckBoxProperties::EqualsAnyValue(const Variant& Value) const {
  return VarEqualsSameType(Value, FValueChecked) || VarEqualsSameType(Value, FValueGrayed) ||
         VarEqualsSameType(Value, FValueUnchecked);
}

// Two states with one value could not be told apart.
void TcxCustomCheckBoxProperties::StoreValue(Variant& AField, const Variant& Value) {
  if (EqualsAnyValue(Value)) return;
  AField = Value;
  Changed();
}

void TcxCustomCheckBoxProperties::SetValueChecked(const Variant& Value) {
  if (!Value.IsNull()) StoreValue(FValueChecked, Value);
}

void TcxCustomCheckBoxProperties::SetValueGrayed(const Variant& Value) {
  StoreValue(FValueGrayed, Value);
}

void TcxCustomCheckBoxProperties::SetValueUnchecked(const Variant& Value) {
  if (!Value.IsNull()) StoreValue(FValueUnchecked, Value);
}

// Null and any value matching neither state are grayed; the grayed value
// itself is never consulted.
TcxCheckBoxState TcxCustomCheckBoxProperties::StateOf(const Variant& EditValue) const {
  if (VariantsEqual(EditValue, FValueChecked)) return cbsChecked;
  if (VariantsEqual(EditValue, FValueUnchecked)) return cbsUnchecked;
  return cbsGrayed;
}

Variant TcxCustomCheckBoxProperties::ValueOf(TcxCheckBoxState AState) const {
  switch (AState) {
  case cbsUnchecked:
    return FValueUnchecked;
  case cbsChecked:
    return FValueChecked;
  case cbsGrayed:
    return FValueGrayed;
  }
  return Variant();
}

std::unique_ptr<TcxCustomEditViewData>
TcxCustomCheckBoxProperties::CreateViewDataObject(TcxCustomEditStyle* AStyle, bool AIsInplace) {
  return std::make_unique<TcxCustomCheckBoxViewData>(this, AStyle, AIsInplace);
}

TcxClassRef TcxCustomCheckBoxProperties::GetContainerClass() const {
  return cxClassRef<TcxCheckBox>();
}

std::unique_ptr<TcxCustomEditStyle> TcxCustomCheckBoxProperties::CreateStyle(TPersistent* AOwner,
                                                                             bool AIsInternal) const {
  return std::make_unique<TcxCheckBoxStyle>(AOwner, AIsInternal);
}

std::unique_ptr<TcxCustomEditViewInfo> TcxCustomCheckBoxProperties::CreateViewInfo() const {
  return std::make_unique<TcxCustomCheckBoxViewInfo>();
}

void TcxCustomCheckBoxProperties::EditValueToDisplayText(const Variant& EditValue, bool, String& Text) {
  switch (StateOf(EditValue)) {
  case cbsUnchecked:
    Text = DisplayUnchecked;
    break;
  case cbsChecked:
    Text = DisplayChecked;
    break;
  case cbsGrayed:
    Text = DisplayGrayed;
    break;
  }
}

bool TcxCustomCheckBoxProperties::IsEditValueValid(Variant& EditValue, bool AEditFocused) {
  return TcxCustomEditProperties::IsEditValueValid(EditValue, AEditFocused) && EqualsAnyValue(EditValue);
}

void TcxCustomCheckBoxProperties::EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                                          bool) {
  DisplayValue = static_cast<int>(StateOf(EditValue));
}

// ---- TcxCheckBoxStyle ----

TColor EditParentColor(const TcxCustomEditStyle* AStyle) {
  TcxCustomEdit* edit = AStyle->GetEdit();
  return edit && edit->GetParent() ? edit->GetParent()->GetColor() : clWindow;
}

void RestoreEditParentColor(const TcxCustomEditStyle* AStyle) {
  TcxStyleController* controller = AStyle->GetStyleController();
  if (controller && controller->GetStyle()->GetAssignedValues().Contains(csvColor)) return;
  if (TcxCustomEdit* edit = AStyle->GetEdit()) edit->SetParentColor(true);
}

TColor TcxCheckBoxStyle::GetDefaultColor() const {
  return EditParentColor(this);
}

void TcxCheckBoxStyle::RestoreDefaults() {
  TcxCustomEditStyle::RestoreDefaults();
  RestoreEditParentColor(this);
}

// ---- TcxCustomCheckBox ----

TcxCustomCheckBox::TcxCustomCheckBox(TComponent* AOwner) : TcxCustomEdit(AOwner) {
  ControlStyle.Exclude(csDoubleClicks);
  ControlStyle.Include(csParentBackground);
  SetParentColor(!GetIsInplace());
  SetWidth(121);
  TcxCustomEdit::StoreEditValue(GetActiveProperties()->ValueOf(cbsUnchecked), false);
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomCheckBox::CreateProperties() {
  return std::make_unique<TcxCheckBoxProperties>(this);
}

bool TcxCustomCheckBox::CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem) {
  return !AItem || dynamic_cast<TcxCustomCheckBoxProperties*>(AItem->GetProperties()) != nullptr;
}

TcxCheckBoxState TcxCustomCheckBox::GetState() {
  Variant state;
  PropertiesEditValueToDisplayValue(GetEditValueRef(), state, IsFocused());
  return static_cast<TcxCheckBoxState>(state.AsInteger());
}

void TcxCustomCheckBox::SetState(TcxCheckBoxState Value) {
  Variant value;
  MakeEditValue(static_cast<int>(Value), value, IsFocused());
  SetEditValue(value);
}

void TcxCustomCheckBox::MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool) {
  EditValue = Variant();
  const int state = ADisplayValue.AsInteger();
  if (state >= cbsUnchecked && state <= cbsGrayed)
    EditValue = GetActiveProperties()->ValueOf(static_cast<TcxCheckBoxState>(state));
}

// The caption follows the name until it is set.
void TcxCustomCheckBox::SetName(const String& NewName) {
  TcxCustomEdit::SetName(NewName);
  TcxCustomCheckBoxProperties* properties = GetProperties();
  if (properties->IsCaptionAssigned()) return;
  properties->SetCaption(NewName);
  properties->FCaptionAssigned = false;
}

TcxContainerStyleValues TcxCustomCheckBox::GetHiddenStyleValues() const {
  return TcxContainerStyleValues{csvEdges, svButtonStyle, svButtonTransparency, svPopupBorderStyle};
}

void TcxCustomCheckBox::GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) {
  ASizeProperties.MaxLineCount = GetActiveProperties()->GetMultiLine() ? 0 : 1;
  ASizeProperties.Width = GetViewInfo()->TextRect.Width();
}

void TcxCustomCheckBox::Paint() {
  GetViewInfo()->ParentBackground = !GetIsInplace() && GetParentBackground();
  TcxCustomEdit::Paint();
}

void TcxCustomCheckBox::Toggle() {
  TcxCheckBoxState next = cbsChecked;
  if (GetState() == cbsChecked)
    next = cbsUnchecked;
  else if (GetState() == cbsUnchecked && GetActiveProperties()->AllowGrayed)
    next = cbsGrayed;
  TcxControlGuard guard(this);
  LockChangeEvents(true);
  SetUserChange(true);
  try {
    SetState(next);
  } catch (...) {
    if (guard.Alive()) {
      SetUserChange(false);
      LockChangeEvents(false);
    }
    throw;
  }
  if (!guard.Alive()) return;
  SetUserChange(false);
  LockChangeEvents(false);
  if (!guard.Alive() || !GetActiveProperties()->ImmediatePost || !CanPostEditValue()) return;
  if (ValidateEdit(true) && guard.Alive()) PostEditValue();
}

void TcxCustomCheckBox::StoreEditValue(const Variant& Value, bool AValidate) {
  const TcxCheckBoxState prev = GetState();
  TcxControlGuard guard(this);
  TcxCustomEdit::StoreEditValue(Value, AValidate);
  if (!guard.Alive()) return;
  const TcxCheckBoxState state = GetState();
  if (state != prev) {
    GetViewInfo()->State = state;
    Click();
    if (!guard.Alive()) return;
    DoChange();
    if (!guard.Alive()) return;
  }
  UpdateMouseStateAtCursor(false);
}

bool TcxCustomCheckBox::CanClickWhileLoading() {
  IcxEditDefaultValuesProvider* provider = GetActiveProperties()->GetDefaultValuesProvider();
  return provider && provider->DefaultCanClickWhileLoading();
}

// A left press released over the control toggles it.
void TcxCustomCheckBox::ButtonStatesChanged(const TcxCustomEditViewInfo* APrevViewInfo) {
  auto* prev = static_cast<const TcxCustomCheckBoxViewInfo*>(APrevViewInfo);
  if (prev->CheckButtonState == cbsPressedState && GetViewInfo()->CheckButtonState == cbsHotState) Toggle();
}

// A change of the values keeps the visible state: the edit value becomes
// the new value of that state.
void TcxCustomCheckBox::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  TcxCustomCheckBoxViewInfo* info = GetViewInfo();
  info->Text = GetActiveProperties()->GetCaption();
  SetState(info->State);
  TcxCustomEdit::ApplyPropertiesChange(AProperties);
}

// ---- Keys ----

void TcxCustomCheckBox::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  TcxCustomEdit::HandleEditKeyDown(Key, Shift);
  if (!guard.Alive() || Key != VK_SPACE) return;
  TcxCustomCheckBoxViewInfo* info = GetViewInfo();
  if (info->CheckButtonState != cbsNormalState && info->CheckButtonState != cbsHotState) return;
  FSpacePressed = true;
  info->CheckButtonState = cbsPressedState;
  UpdateMouseStateAtCursor(false);
  Key = 0;
}

void TcxCustomCheckBox::HandleEditKeyUp(WORD& Key, TShiftState Shift) {
  TcxControlGuard guard(this);
  TcxCustomEdit::HandleEditKeyUp(Key, Shift);
  if (!guard.Alive() || Key != VK_SPACE) return;
  TcxCustomCheckBoxViewInfo* info = GetViewInfo();
  if (info->CheckButtonState != cbsPressedState) return;
  FSpacePressed = false;
  info->CheckButtonState = cbsNormalState;
  InvalidateWinControlRect(this, info->CheckRect, info->HasBackground);
  Toggle();
}

void TcxCustomCheckBox::HandleEditKeyPress(char& Key) {
  TcxControlGuard guard(this);
  TcxCustomEdit::HandleEditKeyPress(Key);
  if (!guard.Alive() || Key != ' ' || !GetIsInplace()) return;
  if (GetViewInfo()->CheckButtonState != cbsNormalState) return;
  Toggle();
  Key = 0;
}

// ---- Messages ----

void TcxCustomCheckBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_LBUTTONUP:
    // The check box clicks through its state; the press is no click of its
    // own.
    ControlState.Exclude(csClicked);
    break;
  case CM_DIALOGCHAR:
    return CMDialogChar(Message);
  }
  TcxCustomEdit::WndProc(Message);
}

void TcxCustomCheckBox::CMDialogChar(TMessage& Message) {
  if (!IsAccel(static_cast<WORD>(Message.WParam), GetActiveProperties()->GetCaption()) || !CanFocus())
    return TcxCustomEdit::WndProc(Message);
  TcxControlGuard guard(this);
  SetFocus();
  if (guard.Alive() && IsFocused()) Toggle();
  Message.Result = 1;
}

// ---- TcxCustomCheckBoxViewData ----

TcxCustomCheckBox* TcxCustomCheckBoxViewData::CheckBox() const {
  return dynamic_cast<TcxCustomCheckBox*>(Edit);
}

int TcxCustomCheckBoxViewData::GetDrawTextFlags() const {
  auto* properties = static_cast<TcxCustomCheckBoxProperties*>(GetProperties());
  const bool centred = IsInplace || properties->GetAlignment()->GetHorz() == taCenter;
  const int horz = centred ? tfCenterX : tfLeft;
  if (properties->GetMultiLine()) return horz | tfShowPrefix | tfWordBreak | tfNoClip | tfTop;
  return horz | tfShowPrefix | tfSingleLine | tfCenterY;
}

void TcxCustomCheckBoxViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                          int Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                          bool AIsMouseEvent) {
  auto* info = static_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  auto* properties = static_cast<TcxCustomCheckBoxProperties*>(GetProperties());
  const int prevState = info->CheckButtonState;
  TcxCustomEditViewData::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  info->Font = GetStyle()->GetFont();
  info->DrawTextFlags = GetDrawTextFlags();
  CalculateCheckBoxBorders(this, info);
  info->Alignment = IsInplace ? taCenter : properties->GetAlignment()->GetHorz();
  // The frame an ordinary editor would get; the box's own container has none.
  info->CheckBorderStyle = TcxCustomEditViewData::GetEditContainerBorderStyle(info->HotState);
  info->Glyph = properties->HasGlyphObject() ? properties->GetGlyph() : nullptr;
  info->GlyphCount = properties->GetGlyphCount();
  info->FullFocusRect = properties->GetFullFocusRect();
  info->NullStyle = properties->GetNullStyle();
  LayOut(ACanvas, info);
  info->CheckButtonState = CheckButtonState(P, Button, Shift, prevState);
  if (GetStyle()->GetEditBorderStyle() == ebsSingle && !GetStyle()->IsValueAssigned(csvBorderColor))
    info->BorderColor = clBtnShadow;
  CalculateCheckBoxState(ACanvas, this, info);
}

void TcxCustomCheckBoxViewData::LayOut(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo) {
  SIZE size{0, 0};
  GetCheckBoxGlyphSize(ACanvas, this, AViewInfo, size);
  const bool themed = IsThemedPartAvailable(GetStyle()->GetLookAndFeel()->GetNativeStyle(), totButton);
  TRect caption = AViewInfo->ClientRect;
  TRect check = AViewInfo->ClientRect;
  if (!IsInplace) InflateRect(&caption, -2, -2);
  if (!IsInplace && !themed) InflateRect(&check, -2, -2);
  if (size.cy < check.Height()) {
    check.top += (check.Height() - size.cy) / 2;
    check.bottom = check.top + size.cy;
  }
  if (size.cx >= check.Width()) {
    caption = TRect();
  } else if (AViewInfo->Alignment == taCenter) {
    check.left += (check.Width() - size.cx) / 2;
    check.right = check.left + size.cx;
  } else if (AViewInfo->Alignment == taRightJustify) {
    check.left = check.right - size.cx;
    caption.right = check.left - 3;
  } else {
    check.right = check.left + size.cx;
    caption.left = check.right + 3;
  }
  AViewInfo->CheckRect = check;
  AViewInfo->TextRect = caption;
}

int TcxCustomCheckBoxViewData::CheckButtonState(const TPoint& P, int Button, TShiftState Shift,
                                                int APrevState) const {
  if (!Enabled) return cbsDisabledState;
  TcxCustomCheckBox* checkBox = CheckBox();
  if (checkBox && checkBox->IsSpacePressed()) return cbsPressedState;
  if (IsDesigning || !Bounds.Contains(P)) return cbsNormalState;
  if (Shift.Empty()) return cbsHotState;
  if (Shift == TShiftState{ssLeft})
    return Button == 1 || APrevState == cbsPressedState ? cbsPressedState : cbsNormalState;
  return cbsNormalState;
}

void TcxCustomCheckBoxViewData::CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace, SIZE& AFixedSize,
                                                       TcxCustomEditViewInfo* AViewInfo,
                                                       SIZE& AMinContentSize) {
  TcxCustomEditViewData::CalculateFixedPartSize(ACanvas, AIsInplace, AFixedSize, AViewInfo, AMinContentSize);
  auto* info = static_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  auto* properties = static_cast<TcxCustomCheckBoxProperties*>(GetProperties());
  SIZE check{0, 0};
  GetCheckBoxGlyphSize(ACanvas, this, info, check);
  const bool themed = IsThemedPartAvailable(GetStyle()->GetLookAndFeel()->GetNativeStyle(), totButton);
  const int frame = AIsInplace || themed ? 0 : 4;
  const String caption =
      info->Alignment == taCenter || AIsInplace ? String("Gg") : RemoveAccelChars(properties->GetCaption());
  SIZE text{0, 0};
  CalculateTextContentSize(ACanvas, this, caption, text, false, TcxEditSizeProperties(),
                           CanvasFlagsToEditTextFlags(GetDrawTextFlags()) | 0x200);
  AFixedSize.cx += check.cx + frame + text.cx + 3;
  AFixedSize.cy += std::max<LONG>(check.cy + frame, text.cy);
}

// ---- TcxCustomCheckBoxViewInfo ----

void TcxCustomCheckBoxViewInfo::PaintText(TcxCanvas* ACanvas) {
  PaintCheckBoxCaption(ACanvas, this);
}

void TcxCustomCheckBoxViewInfo::Assign(const TcxContainerViewInfo* Source) {
  if (auto* source = dynamic_cast<const TcxCustomCheckBoxViewInfo*>(Source)) {
    CheckButtonState = source->CheckButtonState;
    CheckNativeState = source->CheckNativeState;
  }
  TcxCustomTextEditViewInfo::Assign(Source);
}

bool TcxCustomCheckBoxViewInfo::CheckLooksAs(const TcxCustomEditViewInfo* APrev) const {
  auto* prev = dynamic_cast<const TcxCustomCheckBoxViewInfo*>(APrev);
  return !prev || (CheckButtonState == prev->CheckButtonState && CheckNativeState == prev->CheckNativeState);
}

std::unique_ptr<TcxRegion> TcxCustomCheckBoxViewInfo::GetUpdateRegion(const TcxContainerViewInfo* APrev) {
  std::unique_ptr<TcxRegion> region = TcxCustomTextEditViewInfo::GetUpdateRegion(APrev);
  auto* prev = dynamic_cast<const TcxCustomEditViewInfo*>(APrev);
  if (prev && !CheckLooksAs(prev)) {
    TcxRegion check(CheckRect);
    RegionUnion(region.get(), &check);
  }
  return region;
}

void TcxCustomCheckBoxViewInfo::Offset(int DX, int DY) {
  TcxCustomTextEditViewInfo::Offset(DX, DY);
  OffsetRect(&CheckRect, DX, DY);
  OffsetRect(&FocusRect, DX, DY);
}

void TcxCustomCheckBoxViewInfo::GetHintText(int, int, String& AText) {
  AText.clear();
}

// The check alone is repainted when only its look changed.
bool TcxCustomCheckBoxViewInfo::RepaintChanged(TWinControl* AControl, const TcxCustomEditViewInfo* APrev,
                                               const TRect* AInnerRect) {
  const bool changed = TcxCustomTextEditViewInfo::RepaintChanged(AControl, APrev, AInnerRect);
  if (!APrev || CheckLooksAs(APrev)) return changed;
  TRect r = CheckRect;
  OffsetRect(&r, PaintOffset.x, PaintOffset.y);
  InvalidateWinControlRect(AControl, r, HasBackground);
  return true;
}

// ---- Registration ----

void cxCheckBoxInitialize() {
  EditPropertiesRegistry()->Register(
      cxClassRef<TcxCheckBoxProperties>(),
      "CheckBox|Represents a check box control that allows selecting an option");
}

void cxCheckBoxFinalize() {
  EditPropertiesRegistry()->Unregister(typeid(TcxCheckBoxProperties));
}
