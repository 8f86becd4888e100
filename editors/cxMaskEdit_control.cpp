#include "cxMaskEdit.h"

#include "Clipbrd.h"

#include <algorithm>
#include <iterator>

namespace {

String ValueText(const Variant& Value) {
  return Value.IsNull() ? String() : VarToStr(Value);
}

// The characters an editor types itself mean what they are: the system
// edit takes no Backspace while the user holds Ctrl (as for Ctrl+X), so
// the key is released for the thread while they are sent.
class TControlKeyReleased {
public:
  explicit TControlKeyReleased(bool ARelease) {
    if (!ARelease || GetKeyState(VK_CONTROL) >= 0 || !GetKeyboardState(FState)) return;
    BYTE state[256];
    std::copy(std::begin(FState), std::end(FState), std::begin(state));
    state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_RCONTROL] = 0;
    FReleased = SetKeyboardState(state);
  }
  ~TControlKeyReleased() {
    if (FReleased) SetKeyboardState(FState);
  }
  TControlKeyReleased(const TControlKeyReleased&) = delete;
  TControlKeyReleased& operator=(const TControlKeyReleased&) = delete;

private:
  BYTE FState[256] = {};
  bool FReleased = false;
};

} // namespace

// ---- Creation ----

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* AOwner) : TcxCustomTextEdit(AOwner) {
  // The settings are made once the final class is known: until the mode
  // is pointed at them it reads the editor's.
  FMode = std::make_unique<TcxMaskEditStandardMode>(this, nullptr);
}

TcxCustomMaskEdit::~TcxCustomMaskEdit() {
  FMode.reset();
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomMaskEdit::CreateProperties() {
  return std::make_unique<TcxMaskEditProperties>(this);
}

void TcxCustomMaskEdit::RepositoryItemChanged() {
  FMode->SetProperties(GetActiveProperties());
}

String TcxCustomMaskEdit::InnerText() const {
  Variant value;
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->GetEditValue(value);
  return ValueText(value);
}

void TcxCustomMaskEdit::Loaded() {
  TcxCustomTextEdit::Loaded();
  if (!HasMask()) return;
  TcxControlGuard guard(this);
  LockChangeEvents(true);
  try {
    ApplyDisplayValue(Variant(GetText()));
  } catch (...) {
    if (guard.Alive()) LockChangeEvents(false);
    throw;
  }
  if (guard.Alive()) LockChangeEvents(false);
}

// ---- Keys ----

void TcxCustomMaskEdit::SendInternal(UINT Msg, WPARAM WParam) {
  if (!HandleAllocated()) return;
  const bool internal = FInternalKeys;
  FInternalKeys = true;
  TcxControlGuard guard(this);
  {
    TControlKeyReleased released(Msg == WM_CHAR);
    SendMessageA(GetHandle(), Msg, WParam, 0);
  }
  if (guard.Alive()) FInternalKeys = internal;
}

void TcxCustomMaskEdit::Unhandled(WORD& Key, TShiftState Shift) {
  if (OnUnhandledKey) OnUnhandledKey(this, Key, Shift);
  Key = 0;
}

void TcxCustomMaskEdit::HandleEditKeyDown(WORD& Key, TShiftState Shift) {
  if (!HasMask()) return TcxCustomTextEdit::HandleEditKeyDown(Key, Shift);
  TcxControlGuard guard(this);
  if (!CanProcessKey(Key, Shift)) {
    if (guard.Alive()) Unhandled(Key, Shift);
    return;
  }
  if (!guard.Alive() || FInternalKeys) return;
  if (Key != VK_TAB) {
    FShiftDown = Shift.Contains(ssShift);
    if (!HandleMaskedKeyDown(Key, Shift) || !guard.Alive()) return;
  }
  if (Key != 0) TcxCustomTextEdit::HandleEditKeyDown(Key, Shift);
}

// False when the key was consumed.
bool TcxCustomMaskEdit::HandleMaskedKeyDown(WORD& Key, TShiftState Shift) {
  TcxMaskEditCustomMode* mode = FMode.get();
  switch (Key) {
  case VK_UP:
  case VK_DOWN:
    if (HasPopupWindow()) return true;
    Unhandled(Key, Shift);
    return false;
  case VK_LEFT:
  case VK_RIGHT: {
    const bool left = Key == VK_LEFT;
    // Ctrl moves to the start or the end, as Home and End do.
    if (Shift.Contains(ssCtrl)) {
      if (left ? mode->DoHome() : mode->DoEnd()) SendInternalKey(left ? VK_HOME : VK_END);
      Key = 0;
      return false;
    }
    const bool atEdge = left ? mode->IsCursorAtBegin() : mode->IsCursorAtEnd();
    if (left ? mode->DoLeft() : mode->DoRight()) return true;
    if (atEdge) {
      Unhandled(Key, Shift);
      return false;
    }
    Key = 0;
    return false;
  }
  case VK_DELETE:
    if (!Shift.Contains(ssShift)) {
      if (!mode->DoDelete()) Key = 0;
    } else if (GetEditSelLength() == 0) {
      // Acting as Backspace, it moves as an unshifted key would.
      FShiftDown = false;
      if (!mode->DoBackspace()) Key = 0;
    } else {
      // The system edit would cut the characters out itself, past the
      // mask: the editor's own cut copies and lets the mode delete.
      Perform(WM_CUT, 0, 0);
      Key = 0;
    }
    return Key != 0;
  case VK_HOME:
    if (!mode->DoHome()) Key = 0;
    return Key != 0;
  case VK_END:
    if (!mode->DoEnd()) Key = 0;
    return Key != 0;
  }
  return true;
}

void TcxCustomMaskEdit::HandleEditKeyPress(char& Key) {
  if (!HasMask()) return TcxCustomTextEdit::HandleEditKeyPress(Key);
  if (Key == '\t' || Key == '\x1b' || !FilterChar(Key)) {
    Key = 0;
    return;
  }
  if (Key == '\r' || FInternalKeys) return;
  if (Key == 3 || Key == 22 || Key == 24) return TcxCustomTextEdit::HandleEditKeyPress(Key);
  const bool passOn = Key == '\b' ? FMode->DoBackspace() : FMode->DoChar(Key);
  if (!passOn) Key = 0;
}

void TcxCustomMaskEdit::HandleEditKeyUp(WORD& Key, TShiftState Shift) {
  if (FInternalKeys && HasMask()) return;
  TcxCustomTextEdit::HandleEditKeyUp(Key, Shift);
}

// ---- Clipboard and selection ----

void TcxCustomMaskEdit::ReplaceSelText(const String& Text) {
  if (!HasMask()) return TcxCustomTextEdit::ReplaceSelText(Text);
  FMode->SetInsertedLength(static_cast<int>(Text.size()));
  FMode->BeforePaste();
  TcxControlGuard guard(this);
  TcxCustomTextEdit::ReplaceSelText(Text);
  if (guard.Alive()) FMode->AfterPaste();
}

void TcxCustomMaskEdit::CutToClipboard() {
  if (!HasMask()) return TcxCustomTextEdit::CutToClipboard();
  CopyToClipboard();
  // A mode that leaves the deletion to the inner edit gets it done.
  if (FMode->DoDelete()) SendInternalKey(VK_DELETE);
}

void TcxCustomMaskEdit::SetSelLength(int Value) {
  TcxCustomTextEdit::SetSelLength(Value);
  FMode->UpdateSelection();
}

void TcxCustomMaskEdit::SetSelStart(int Value) {
  TcxCustomTextEdit::SetSelStart(Value);
  FMode->UpdateSelection();
}

// ---- Text and values ----

void TcxCustomMaskEdit::InnerEditChanged(TObject* Sender) {
  if (HasMask()) FValueText = FMode->GetEditValueText(InnerText());
  TcxCustomTextEdit::InnerEditChanged(Sender);
}

void TcxCustomMaskEdit::MakeEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused) {
  if (!HasMask()) return TcxCustomTextEdit::MakeEditValue(ADisplayValue, EditValue, AEditFocused);
  EditValue = Variant(FMode->GetEditValueText(ValueText(ADisplayValue)));
}

void TcxCustomMaskEdit::ApplyDisplayValue(const Variant& Value) {
  if (!HasMask() || IsLoading()) return TcxCustomTextEdit::ApplyDisplayValue(Value);
  const String text = ValueText(Value);
  TcxControlGuard guard(this);
  if (IsFocused() || FMode->GetMaskKind() != emkStandard || GetActiveProperties()->GetFormatWhenUnfocused())
    TcxCustomTextEdit::ApplyDisplayValue(Variant(FMode->GetFormattedText(text)));
  else
    TcxCustomTextEdit::ApplyDisplayValue(Variant(FMode->GetEditValueText(text)));
  if (guard.Alive()) FMode->AdoptText(InnerText());
}

void TcxCustomMaskEdit::GetDisplayTextForLookup(String& Text) {
  if (!HasMask()) return TcxCustomTextEdit::GetDisplayTextForLookup(Text);
  Text = FValueText;
}

bool TcxCustomMaskEdit::SetDisplayTextForLookup(const String& Text) {
  if (!HasMask()) return TcxCustomTextEdit::SetDisplayTextForLookup(Text);
  SetEditValue(Variant(Text));
  SetInternalEditValue(Variant(FValueText));
  return true;
}

void TcxCustomMaskEdit::SynchronizeDisplayValue() {
  TcxControlGuard guard(this);
  TcxCustomTextEdit::SynchronizeDisplayValue();
  if (guard.Alive() && HasMask()) FMode->AdoptText(InnerText());
}

// ---- Settings ----

void TcxCustomMaskEdit::ApplyPropertiesChange(TcxCustomEditProperties* AProperties) {
  TcxCustomMaskEditProperties* properties = GetActiveProperties();
  bool kindChanged = false;
  bool maskChanged = false;
  bool caseChanged = false;
  properties->SetChangedLock(true);
  const TcxEditEchoMode echoMode = properties->GetEchoMode();
  const bool echoChanged = echoMode != FMode->GetAppliedEchoMode();
  int selStart = 0;
  int selLength = 0;
  try {
    ApplyMaskChange(kindChanged, maskChanged, caseChanged);
    if (echoChanged) {
      selStart = GetEditSelStart();
      selLength = GetEditSelLength();
    }
    if (HasMask() && (!HasInnerEdit() || !GetEditValueRef().IsNull())) FMode->ApplyPendingEmptyValue();
  } catch (...) {
    properties->SetChangedLock(false);
    throw;
  }
  properties->SetChangedLock(false);
  if (auto* regExprMode = dynamic_cast<TcxMaskEditRegExprMode*>(FMode.get()))
    regExprMode->GetRegExpr()->CaseInsensitive = properties->GetCaseInsensitive();
  TcxControlGuard guard(this);
  TcxCustomTextEdit::ApplyPropertiesChange(AProperties);
  if (!guard.Alive()) return;
  if (echoChanged) {
    SetSelStart(selStart);
    SetSelLength(selLength);
    FMode->SetAppliedEchoMode(echoMode);
  }
  if (kindChanged || maskChanged || caseChanged) FValueText = FMode->GetEditValueText(InnerText());
}

// Steps 2 to 5 of a change of the settings: the mode follows the kind, the
// mask and the letter case.
void TcxCustomMaskEdit::ApplyMaskChange(bool& AKindChanged, bool& AMaskChanged, bool& ACaseChanged) {
  TcxCustomMaskEditProperties* properties = GetActiveProperties();
  const String mask = properties->GetEditMask();
  AMaskChanged = FMode->GetMaskText() != mask;
  AKindChanged = FMode->GetMaskKind() != properties->GetMaskKind();
  ACaseChanged = properties->GetCharCase() != FMode->GetAppliedCharCase();
  bool maskCleared = false;
  if (AKindChanged) RecreateMode(maskCleared);
  if (AMaskChanged) {
    properties->TcxCustomTextEditProperties::SetMaxLength(0);
    FMode->CompileMask(mask);
    if (maskCleared) properties->RestoreStoredEditMask(mask);
    if (HasMask())
      FMode->RefreshFromEditValue();
    else if (FMode->GetMaskKind() == emkStandard && GetEditSelLength() == 1)
      SetSelection(GetEditSelStart(), 0);
  }
  if (ACaseChanged) {
    if (properties->GetCharCase() == ecNormal) {
      if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SetCharCase(ecNormal);
      FMode->RefreshFromEditValue();
    }
    FMode->SetAppliedCharCase(properties->GetCharCase());
  }
}

// A change between picture masks and expressions drops the stored mask.
void TcxCustomMaskEdit::RecreateMode(bool& AMaskCleared) {
  TcxCustomMaskEditProperties* properties = GetActiveProperties();
  const TcxEditMaskKind oldKind = FMode->GetMaskKind();
  FMode.reset();
  if ((oldKind == emkStandard) != (properties->GetMaskKind() == emkStandard)) {
    properties->ClearStoredEditMask();
    AMaskCleared = true;
  }
  FMode = TcxCustomMaskEditProperties::CreateMode(properties->GetMaskKind(), this, properties);
  FMode->CompileMask(properties->GetEditMask());
  if (HasMask()) FMode->RefreshFromEditValue();
}

// ---- Focus and mouse ----

void TcxCustomMaskEdit::DoEnter() {
  if (HasMask() && GetActiveProperties()->GetAutoSelect()) FMode->SyncToEnd();
  TcxCustomTextEdit::DoEnter();
}

void TcxCustomMaskEdit::DblClick() {
  if (HasMask()) FMode->SyncToEnd();
  TcxCustomTextEdit::DblClick();
}

void TcxCustomMaskEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (HasMask() && Button == mbLeft) FMode->UpdateSelection();
  TcxCustomTextEdit::MouseDown(Button, Shift, X, Y);
}

void TcxCustomMaskEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if (HasMask() && Shift.Contains(ssLeft)) {
    const bool shift = FShiftDown;
    FShiftDown = true;
    FMode->UpdateSelection();
    FShiftDown = shift;
  }
  TcxCustomTextEdit::MouseMove(Shift, X, Y);
}
