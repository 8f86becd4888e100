#include "cxTextEdit.h"

#include "Clipbrd.h"
#include "Forms.h"
#include "Locale.h"
#include "SysUtils.h"

#include <algorithm>
#include <string>

namespace {

// Locks the editor's change events for a scope; the last unlock delivers
// them, unless the editor is gone.
class TLockedChangeEvents {
public:
  explicit TLockedChangeEvents(TcxCustomEdit* AEdit) : FEdit(AEdit), FGuard(AEdit) {
    AEdit->LockChangeEvents(true);
  }
  ~TLockedChangeEvents() {
    if (FGuard.Alive()) FEdit->LockChangeEvents(false);
  }
  TLockedChangeEvents(const TLockedChangeEvents&) = delete;
  TLockedChangeEvents& operator=(const TLockedChangeEvents&) = delete;

private:
  TcxCustomEdit* FEdit;
  TcxControlGuard FGuard;
};

String ValueText(const Variant& Value) {
  return Value.IsNull() ? String() : VarToStr(Value);
}

std::wstring Widen(const String& AText) {
  if (AText.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, AText.data(), static_cast<int>(AText.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, AText.data(), static_cast<int>(AText.size()), wide.data(), n);
  return wide;
}

String Narrow(const std::wstring& AText) {
  if (AText.empty()) return String();
  const int n = WideCharToMultiByte(CP_ACP, 0, AText.data(), static_cast<int>(AText.size()), nullptr, 0,
                                    nullptr, nullptr);
  String text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, AText.data(), static_cast<int>(AText.size()), text.data(), n, nullptr,
                      nullptr);
  return text;
}

} // namespace

int WideLength(const String& AText) {
  return static_cast<int>(Widen(AText).size());
}

String CutToUnits(const String& AText, int ALength) {
  std::wstring wide = Widen(AText);
  if (static_cast<int>(wide.size()) <= ALength) return AText;
  wide.resize(static_cast<size_t>(ALength));
  return Narrow(wide);
}

// ---- Creation ----

// Aligning the children would make the view info, and with it the
// settings, before a descendant's constructor could choose their class.
TcxCustomTextEdit::TcxCustomTextEdit(TComponent* AOwner) : TcxCustomEdit(AOwner) {
  SetParentColor(false);
  LockAlignControls(true);
  SetBounds(GetLeft(), GetTop(), 121, 21);
  LockAlignControls(false);
}

TcxCustomTextEdit::~TcxCustomTextEdit() {
  FLookupData.reset();
}

void TcxCustomTextEdit::AfterConstruction() {
  if (!FLookupData && GetActiveProperties()->HasLookupData()) {
    FLookupData = GetActiveProperties()->CreateLookupData(this);
    FLookupData->StoreOnSelectItem([this](TObject*) { LookupKeyChanged(); });
  }
  TcxCustomEdit::AfterConstruction();
}

IcxCustomInnerEdit* TcxCustomTextEdit::CreateInnerEdit() {
  auto* inner = new TcxCustomInnerTextEdit(this);
  inner->SetColor(clWindow);
  inner->SetParent(this);
  return inner->GetHelper();
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomTextEdit::CreateProperties() {
  return std::make_unique<TcxTextEditProperties>(this);
}

TcxCustomInnerTextEdit* TcxCustomTextEdit::Inner() const {
  IcxCustomInnerEdit* inner = GetInnerEdit();
  return inner ? dynamic_cast<TcxCustomInnerTextEdit*>(inner->GetControl()) : nullptr;
}

void TcxCustomTextEdit::Loaded() {
  TcxCustomEdit::Loaded();
  UpdateMouseStateAtCursor(false);
}

// ---- Settings ----

void TcxCustomTextEdit::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  const TAlignment alignment = properties->GetAlignment()->GetHorz();
  if (inner) inner->SetAlignment(alignment);
  if (FLookupData) {
    const TcxTextEditingStyle style = properties->GetEditingStyle();
    if (!FLookupTextSetting && (HasPopupWindow() || style == tesMatchItem || style == tesListOnly))
      FLookupData->SyncWithText();
  }
  if (!IsInnerEditMissing() && !IsInnerEditShown()) RefreshViewInfoText();
  if (inner) {
    inner->SetAutoSelect(properties->GetAutoSelect() && !GetIsInplace());
    inner->SetCharCase(properties->GetCharCase());
    inner->SetEchoMode(properties->GetEchoMode());
    inner->SetHideSelection(properties->GetHideSelection());
    inner->SetMaxLength(properties->GetMaxLength());
    inner->SetOEMConvert(properties->GetOEMConvert());
    inner->SetReadOnly(properties->GetReadOnly());
  }
  CheckValueBounds();
  if (!GetIsPosting()) ValidateTextForEditingStyle();
  RefreshViewInfoText();
  TcxCustomEdit::ApplyPropertiesChange(AProperties);
  if (IcxCustomInnerEdit* edit = GetInnerEdit()) edit->GetControl()->Invalidate();
}

void TcxCustomTextEdit::CheckValueBounds() {
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  if (GetDataBinding()->CanCheckEditorValue() && properties->UsesValueBounds() && !IsInnerEditMissing() &&
      properties->GetMaxValue() != properties->GetMinValue())
    ClampValueToBounds();
}

void TcxCustomTextEdit::ValidateTextForEditingStyle() {
  if (IsInnerEditMissing()) return;
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (style == tesMatchItem || style == tesListOnly) {
    if (GetModifiedSinceEnter()) {
      String text;
      GetDisplayText(text);
      Variant value(text);
      if (!GetActiveProperties()->IsDisplayValueValid(value, true)) {
        Variant empty;
        GetActiveProperties()->GetEmptyDisplayValue(empty);
        PushModifiedState();
        GetDataBinding()->SetDisplayValue(empty);
        PopModifiedState();
      }
    } else {
      SynchronizeDisplayValue();
    }
  } else if (!GetModifiedSinceEnter()) {
    GetDataBinding()->UpdateDisplayValue();
  }
  if (!IsInnerEditShown()) RefreshViewInfoText();
}

void TcxCustomTextEdit::UpdateInnerEditStyle() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || !GetViewInfo()) return;
  TWinControl* control = inner->GetControl();
  inner->LockBounds(true);
  control->SetColor(GetViewInfo()->GetBackgroundColor());
  control->GetFont()->Assign(GetStyle()->GetFont());
  control->GetFont()->SetColor(GetViewInfo()->TextColor);
  inner->LockBounds(false);
}

// ---- Display value and text ----

void TcxCustomTextEdit::PrepareDisplayValue(const Variant& EditValue, Variant& DisplayValue,
                                            bool AEditFocused) {
  Variant copy = EditValue;
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  if (properties->IsEditValueValid(copy, AEditFocused))
    properties->EditValueToDisplayValue(copy, DisplayValue, AEditFocused);
  else
    DisplayValue = Variant(ValueText(EditValue));
}

void TcxCustomTextEdit::GetDisplayText(String& Text) {
  Text.clear();
  if (IcxInnerTextEdit* inner = InnerTextEdit()) {
    Variant value;
    inner->GetEditValue(value);
    Text = ValueText(value);
  }
}

void TcxCustomTextEdit::UpdateInnerEditValue(const Variant& Value) {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SetEditValue(Value);
}

void TcxCustomTextEdit::MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool) {
  EditValue = ADisplayValue;
}

void TcxCustomTextEdit::SynchronizeDisplayValue() {
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  Variant copy = GetEditValueRef();
  Variant displayValue;
  if (properties->IsEditValueValid(copy, IsFocused()))
    PropertiesEditValueToDisplayValue(copy, displayValue, IsFocused());
  else if (IsFocused())
    properties->GetEmptyDisplayValue(displayValue);
  else
    displayValue = Variant(ValueText(GetEditValueRef()));
  TcxControlGuard guard(this);
  PushModifiedState();
  try {
    GetDataBinding()->SetDisplayValue(displayValue);
  } catch (...) {
    if (guard.Alive()) {
      PopModifiedState();
      ResetAutoCompleteSelection();
      RefreshViewInfoText();
    }
    throw;
  }
  if (!guard.Alive()) return;
  PopModifiedState();
  ResetAutoCompleteSelection();
  RefreshViewInfoText();
}

void TcxCustomTextEdit::StoreDisplayText() {
  const Variant previous = GetEditValueRef();
  String text;
  GetDisplayText(text);
  Variant value;
  MakeEditValue(Variant(text), value, IsFocused());
  SetInternalEditValue(value);
  if (IsUserChange())
    SetModifiedSinceEnter(true);
  else
    SetModified(false);
  if (VarEqualsSameType(previous, value)) return;
  TcxControlGuard guard(this);
  DoEditValueChanged();
  if (guard.Alive() && !GetActiveProperties()->ChangeFiredByInnerEdit()) DoChange();
}

bool TcxCustomTextEdit::ApplyDisplayText(const String& Text) {
  Variant value(String(Text.c_str()));
  if (!GetActiveProperties()->IsDisplayValueValid(value, IsFocused())) return false;
  if (IsUserChange() && !QueryEditing()) return false;
  ApplyDisplayValue(value);
  return true;
}

void TcxCustomTextEdit::ApplyDisplayValue(const Variant& Value) {
  TcxControlGuard guard(this);
  GetDataBinding()->SetDisplayValue(Value);
  if (!guard.Alive() || IsUserChange()) return;
  ResetAutoCompleteSelection();
  StoreDisplayText();
  if (guard.Alive()) SetModified(false);
}

void TcxCustomTextEdit::ApplyDisplayValueKeepModified(const Variant& Value) {
  const bool autoComplete = FAutoCompleteSelection;
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  const String text = ValueText(Value);
  if (properties->GetEditingStyle() == tesFreeText && FLookupData && !properties->IsLookupItem(text))
    properties->DoNewLookupDisplayText(this, text);
  TcxControlGuard guard(this);
  TcxCustomEdit::ApplyDisplayValueKeepModified(Value);
  if (guard.Alive()) SetAutoCompleteSelection(autoComplete);
}

void TcxCustomTextEdit::InnerEditChanged(TObject* Sender) {
  TcxCustomEdit::InnerEditChanged(Sender);
  if (!IsInnerEditShown()) RefreshViewInfoText();
}

// ---- Painting the text ----

bool TcxCustomTextEdit::IsInnerEditShown() {
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (style == tesListOnly || style == tesNoCaret || IsInnerEditMissing() || IsDesigning()) return false;
  return IsFocused() || GetActiveProperties()->GetAlignment()->GetHorz() == taLeftJustify;
}

void TcxCustomTextEdit::RefreshViewInfoText() {
  if (IsInnerEditMissing()) return;
  std::unique_ptr<TcxCustomEditViewData> data = CreateViewData();
  auto* viewData = static_cast<TcxCustomTextEditViewData*>(data.get());
  String text;
  GetDisplayText(text);
  viewData->GetDisplayTextForValue(Variant(text), GetViewInfo());
  GetViewInfo()->TextRowsValid = false;
  if (!HandleAllocated()) return;
  CalculateEditViewInfoAtCursor();
  UpdateListStyleSelection();
  Invalidate();
}

void TcxCustomTextEdit::UpdateListStyleSelection() {
  TcxCustomTextEditViewInfo* info = GetViewInfo();
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (style != tesListOnly && style != tesNoCaret) return;
  if (style == tesNoCaret || !FAutoCompleteSelection || !GetActiveProperties()->GetListSelectionHighlight()) {
    info->SelLength = 0;
    return;
  }
  if (info->IsSelectedLook) {
    info->SelStart = 0;
    info->SelLength = static_cast<int>(info->Text.size()) - InnerTextEdit()->GetSelLength();
    info->SelTextColor = clHighlight;
    info->SelBackgroundColor = clHighlightText;
  } else {
    info->SelStart = InnerTextEdit()->GetSelStart();
    info->SelLength = InnerTextEdit()->GetSelLength();
    info->SelTextColor = clHighlightText;
    info->SelBackgroundColor = clHighlight;
  }
}

bool TcxCustomTextEdit::UpdateMouseState(const TPoint& P, int Button, TShiftState Shift, bool AIsMouseEvent) {
  if (!HandleAllocated() || IsDestroying()) return false;
  const bool result = TcxCustomEdit::UpdateMouseState(P, Button, Shift, AIsMouseEvent);
  if (result) UpdateInnerEditStyle();
  DoubleBuffered = !IsInnerEditShown();
  return result;
}

void TcxCustomTextEdit::GetInnerControlClipRect(const TRect& ABounds, TControl* AControl,
                                                std::unique_ptr<TRect>& ARect) {
  if (!IsInnerEditShown()) {
    ARect = std::make_unique<TRect>();
    return;
  }
  TcxCustomEdit::GetInnerControlClipRect(ABounds, AControl, ARect);
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (GetIsInplace() || !GetViewInfo()->NativeStyle || !GetViewInfo()->IsComboBoxStyle ||
      (style != tesFreeText && style != tesMatchItem))
    return;
  if (!ARect) {
    const TRect bounds = AControl->GetBoundsRect();
    ARect = std::make_unique<TRect>(0, 0, bounds.Width(), bounds.Height());
  }
  --ARect->right;
  --ARect->bottom;
}

void TcxCustomTextEdit::AdjustInnerEditPosition(int AHeight) {
  TcxCustomInnerTextEdit* inner = Inner();
  if (!inner || FPositionGuard) return;
  FPositionGuard = true;
  const TRect client = GetViewInfo()->ClientRect;
  TRect r(client.left + 1, 0, client.right, 0);
  const bool native = GetViewInfo()->NativeStyle;
  switch (GetActiveProperties()->GetAlignment()->GetVert()) {
  case taTopJustify:
    r.top = client.top + 1;
    break;
  case taBottomJustify:
    r.top = client.bottom - AHeight + 1 + (GetIsInplace() && native ? 1 : 0);
    break;
  case taVCenter:
    r.top = client.top + (client.Height() - AHeight) / 2 + 1 + (GetIsInplace() && native ? 1 : 0);
    break;
  }
  if (GetIsInplace()) r.top = std::max<LONG>(r.top, client.top + 1);
  r.bottom = r.top + AHeight;
  try {
    if (!(inner->GetBoundsRect() == r)) inner->SetBoundsRect(r);
    TRect area = client;
    if (GetIsInplace()) InflateRect(&area, 0, -1);
    AlignControls(inner, area);
  } catch (...) {
    FPositionGuard = false;
    throw;
  }
  FPositionGuard = false;
}

void TcxCustomTextEdit::GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) {
  TcxCustomEdit::GetAutoSizeConstraints(ASizeProperties);
  ASizeProperties.MaxLineCount = 1;
  ASizeProperties.Width = 0;
}

// ---- Selection ----

int TcxCustomTextEdit::GetEditSelStart() {
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (style == tesNoCaret || (style == tesListOnly && !FAutoCompleteSelection) || !InnerTextEdit()) return 0;
  return InnerTextEdit()->GetSelStart();
}

int TcxCustomTextEdit::GetEditSelLength() {
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (style == tesNoCaret || (style == tesListOnly && !FAutoCompleteSelection) || !InnerTextEdit()) return 0;
  return InnerTextEdit()->GetSelLength();
}

void TcxCustomTextEdit::SetSelStart(int Value) {
  if (GetActiveProperties()->GetEditingStyle() != tesNoCaret && InnerTextEdit())
    InnerTextEdit()->SetSelStart(Value);
}

void TcxCustomTextEdit::SetSelLength(int Value) {
  if (GetActiveProperties()->GetEditingStyle() != tesNoCaret && InnerTextEdit())
    InnerTextEdit()->SetSelLength(Value);
}

void TcxCustomTextEdit::SetSelection(int AStart, int ALength) {
  SetSelStart(AStart);
  SetSelLength(ALength);
}

int TcxCustomTextEdit::GetCaretCharIndex() {
  TcxCustomInnerTextEdit* inner = Inner();
  return inner ? inner->GetCaretCharIndex() : 0;
}

void TcxCustomTextEdit::SelectAll() {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SelectAll();
}

void TcxCustomTextEdit::SetAutoCompleteSelection(bool Value) {
  if (!HandleAllocated() || FAutoCompleteSelection == Value) return;
  FAutoCompleteSelection = Value;
  CalculateEditViewInfoAtCursor();
  RefreshViewInfoText();
}

void TcxCustomTextEdit::ResetAutoCompleteSelection() {
  if (GetActiveProperties()->HasLookupData()) SetAutoCompleteSelection(false);
}

void TcxCustomTextEdit::DoExit() {
  TcxControlGuard guard(this);
  TcxCustomEdit::DoExit();
  if (guard.Alive()) SetAutoCompleteSelection(false);
}

// ---- The inner window's procedure ----

void TcxCustomTextEdit::CallInnerWndProc(TMessage& Message) {
  if (Message.Msg != WM_SETFOCUS) return TcxCustomEdit::CallInnerWndProc(Message);
  if (InnerTextEdit() && InnerTextEdit()->GetAutoSelect()) InnerTextEdit()->SelectAll();
}

void TcxCustomTextEdit::UnhookInnerWndProc() {
  TcxCustomEdit::UnhookInnerWndProc();
  TcxCustomInnerTextEdit* inner = Inner();
  if (!inner || !inner->HandleAllocated()) return;
  const bool autoSelect = inner->AutoSelect;
  inner->AutoSelect = false;
  SendMessageA(inner->GetHandle(), WM_SETFOCUS, 0, 0);
  inner->AutoSelect = autoSelect;
}

void TcxCustomTextEdit::ActivateInplace(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxControlGuard guard(this);
  TcxCustomEdit::ActivateInplace(AEditData);
  if (!guard.Alive() || !HandleAllocated() || !InnerTextEdit()) return;
  InnerTextEdit()->SetSelStart(0);
  if (InnerTextEdit()->GetAutoSelect()) InnerTextEdit()->SelectAll();
}

// ---- Clipboard ----

void TcxCustomTextEdit::CopyToClipboard() {
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (style == tesListOnly || style == tesNoCaret) SelectAll();
  if (InnerTextEdit() && InnerTextEdit()->GetSelLength() > 0) InnerTextEdit()->CopyToClipboard();
}

void TcxCustomTextEdit::CutToClipboard() {
  const TcxTextEditingStyle style = GetActiveProperties()->GetEditingStyle();
  if (IsUserChange() && style == tesNoCaret) return;
  if (style == tesListOnly || style == tesNoCaret) SelectAll();
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || inner->GetSelLength() == 0) return;
  inner->CopyToClipboard();
  ClearSelection();
}

void TcxCustomTextEdit::ClearSelection() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || inner->GetSelLength() == 0) return;
  String text;
  GetDisplayText(text);
  const int start = inner->GetSelStart();
  text.erase(static_cast<size_t>(start), static_cast<size_t>(inner->GetSelLength()));
  if (ApplyDisplayText(text)) SetSelection(start, 0);
}

void TcxCustomTextEdit::PasteFromClipboard() {
  if (Clipboard()->HasFormat(CF_TEXT)) ReplaceSelText(Clipboard()->GetAsText());
}

void TcxCustomTextEdit::ReplaceSelText(const String& Text) {
  TcxCustomTextEditProperties* properties = GetActiveProperties();
  const TcxTextEditingStyle style = properties->GetEditingStyle();
  const bool fromInner = IsUserChange();
  if (fromInner && style == tesNoCaret) return;
  if (style == tesListOnly || style == tesNoCaret) SelectAll();
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner) return;
  String text;
  GetDisplayText(text);
  const size_t start = std::min(static_cast<size_t>(inner->GetSelStart()), text.size());
  const size_t length = std::min(static_cast<size_t>(inner->GetSelLength()), text.size() - start);
  const String before = text.substr(0, start);
  const String after = text.substr(start + length);
  const int maxLength = properties->GetMaxLength();
  String newText;
  int caret = 0;
  if (fromInner && (style == tesFreeText || style == tesNoCaret) && maxLength > 0) {
    const String head = CutToUnits(before + Text, maxLength);
    if (head.size() <= before.size()) return;
    newText = CutToUnits(head + after, maxLength);
    caret = static_cast<int>(head.size());
  } else {
    newText = before + Text + after;
    caret = static_cast<int>(before.size() + Text.size());
  }
  if (ApplyDisplayText(newText)) SetSelection(caret, 0);
}

// ---- Messages ----

void TcxCustomTextEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_CLEAR:
    if (!GetActiveProperties()->GetReadOnly()) {
      SetUserChange(true);
      TcxControlGuard guard(this);
      try {
        ClearSelection();
      } catch (...) {
        if (guard.Alive()) SetUserChange(false);
        throw;
      }
      if (guard.Alive()) SetUserChange(false);
    }
    return;
  case WM_GETTEXT:
    return WMGetText(Message);
  case WM_GETTEXTLENGTH: {
    AfterConstruction();
    String text;
    GetDisplayTextForLookup(text);
    Message.Result = static_cast<LRESULT>(text.size());
    return;
  }
  case WM_SETTEXT:
    return WMSetText(Message);
  }
  TcxCustomEdit::WndProc(Message);
}

// Returns the copied length without the terminating zero, as the system's
// edit does: callers size the text by it.
void TcxCustomTextEdit::WMGetText(TMessage& Message) {
  Message.Result = 0;
  if (Message.WParam < 1) return;
  AfterConstruction();
  String text;
  GetDisplayTextForLookup(text);
  const size_t count = std::min(text.size(), static_cast<size_t>(Message.WParam) - 1);
  char* buffer = reinterpret_cast<char*>(Message.LParam);
  std::copy_n(text.data(), count, buffer);
  buffer[count] = '\0';
  Message.Result = static_cast<LRESULT>(count);
}

void TcxCustomTextEdit::WMSetText(TMessage& Message) {
  AfterConstruction();
  Message.Result = 0;
  const char* text = reinterpret_cast<const char*>(Message.LParam);
  if (SetDisplayTextForLookup(text ? String(text) : String())) Message.Result = 1;
}
