#include "cxMaskEdit.h"

#include <algorithm>

// ---- TcxMaskEditCustomMode ----

bool TcxMaskEditCustomMode::IsUsable() const {
  return FEdit && !FEdit->IsDestroying() && !TcxContainer::IsContainerDestroying(FEdit) &&
         FEdit->InnerTextEdit() != nullptr;
}

TcxCustomMaskEditProperties* TcxMaskEditCustomMode::GetProperties() const {
  return FProperties ? FProperties : FEdit->GetActiveProperties();
}

// While the user edits, the text typed so far is refitted; otherwise the
// value is shown as the settings convert it.
void TcxMaskEditCustomMode::RefreshFromEditValue() {
  if (!IsUsable()) return;
  Variant display;
  if (FEdit->GetModifiedSinceEnter()) {
    String text;
    FEdit->GetDisplayText(text);
    display = Variant(GetFormattedText(text));
  } else {
    GetProperties()->EditValueToDisplayValue(FEdit->GetEditValueRef(), display, FEdit->IsFocused());
  }
  FEdit->UpdateInnerEditValue(display);
}

void TcxMaskEditCustomMode::Beep() {
  if (GetProperties()->BeepOnError) MessageBeep(0);
}

void TcxMaskEditCustomMode::SetInnerSelStart(int Value) {
  if (IcxInnerTextEdit* inner = FEdit->InnerTextEdit()) inner->SetSelStart(Value);
}

void TcxMaskEditCustomMode::SetInnerSelLength(int Value) {
  if (IcxInnerTextEdit* inner = FEdit->InnerTextEdit()) inner->SetSelLength(Value);
}

bool TcxMaskEditCustomMode::GetShift() const {
  return FEdit->GetShiftDown();
}

void TcxMaskEditCustomMode::SetShift(bool Value) {
  FEdit->SetShiftDown(Value);
}

String TcxMaskEditCustomMode::GetText() const {
  String text;
  FEdit->GetDisplayText(text);
  return text;
}

int TcxMaskEditCustomMode::GetSelStart() const {
  return FEdit->GetEditSelStart();
}

int TcxMaskEditCustomMode::GetSelLength() const {
  return FEdit->GetEditSelLength();
}

int TcxMaskEditCustomMode::GetCaretPosition() const {
  return FEdit->GetCaretCharIndex();
}

void TcxMaskEditCustomMode::SetSelStart(int Value) {
  FEdit->SetSelStart(Value);
}

void TcxMaskEditCustomMode::SetSelLength(int Value) {
  FEdit->SetSelLength(Value);
}

void TcxMaskEditCustomMode::SendKey(WORD Key) {
  FEdit->SendInternalKey(Key);
}

void TcxMaskEditCustomMode::SendCharacter(char Ch) {
  FEdit->SendInternalChar(Ch);
}

// ---- TcxMaskEditStandardMode ----

TcxMaskEditStandardMode::TcxMaskEditStandardMode(TcxCustomMaskEdit* AEdit,
                                                 TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditCustomMode(AEdit, AProperties), FMask(std::make_unique<TcxStandardMask>()) {}

bool TcxMaskEditStandardMode::IsLiteralAt(int AIndex) const {
  return AIndex >= FMask->GetCount() || FMask->IsLiteral(AIndex);
}

int TcxMaskEditStandardMode::LiteralsBefore(int AIndex) const {
  int count = 0;
  for (int i = AIndex - 1; i >= 0 && IsLiteralAt(i); --i)
    ++count;
  return count;
}

int TcxMaskEditStandardMode::LiteralsAfter(int AIndex) const {
  int count = 0;
  for (int i = AIndex + 1; i < FMask->GetCount() && FMask->IsLiteral(i); ++i)
    ++count;
  return count;
}

void TcxMaskEditStandardMode::CompileMask(const String& AMask) {
  SetMaskText(AMask);
  if (TcxCustomMaskEditProperties::IsMaskBlank(AMask)) {
    FMask->ClearMask();
    return;
  }
  FMask->ParseMask(AMask);
  SetPendingEmpty(!IsUsable());
}

String TcxMaskEditStandardMode::GetFormattedText(const String& AText) {
  String text = AText;
  FMask->FillMaskPositions(text, true);
  return text;
}

String TcxMaskEditStandardMode::GetEditValueText(const String& AText) {
  if (FMask->GetCount() == 0) return AText;
  String text = AText;
  FMask->FillMaskPositions(text, GetProperties()->GetCharCase() == ecNormal);
  FMask->ExtractEditValue(text);
  return text;
}

bool TcxMaskEditStandardMode::IsValidText(const String& AText) {
  String text = AText;
  if (FMask->IsTextValid(text)) return true;
  return GetProperties()->IgnoreMaskBlank && AText == GetFormattedText(String());
}

bool TcxMaskEditStandardMode::IsCursorAtBegin() {
  int leading = 0;
  while (leading < FMask->GetCount() && FMask->IsLiteral(leading))
    ++leading;
  const int s = GetSelStart();
  return leading >= s && (GetSelLength() < 2 || GetCaretPosition() == s);
}

bool TcxMaskEditStandardMode::IsCursorAtEnd() {
  return GetSelStart() == static_cast<int>(GetText().size());
}

// Outside a mouse or Shift selection one character is always selected: the
// one typing overwrites.
void TcxMaskEditStandardMode::UpdateSelection() {
  if (!IsUsable() || !GetEdit()->HandleAllocated() || !GetProperties()->HasMask()) return;
  if (GetSelLength() == 0) SetInnerSelLength(1);
}

void TcxMaskEditStandardMode::BeforePaste() {
  FPasteStart = GetSelStart();
  SetInnerSelStart(FPasteStart);
  SetInnerSelLength(GetInsertedLength());
}

// A paste near the end can leave more characters than positions.
void TcxMaskEditStandardMode::CutToMaskLength() {
  const String text = GetText();
  if (static_cast<int>(text.size()) > FMask->GetCount())
    GetEdit()->UpdateInnerEditValue(Variant(text.substr(0, static_cast<size_t>(FMask->GetCount()))));
}

void TcxMaskEditStandardMode::AfterPaste() {
  if (FMask->GetCount() == 0) return;
  CutToMaskLength();
  const int n = static_cast<int>(GetText().size());
  int s = FPasteStart + GetInsertedLength();
  if (s >= n) s = n - 1;
  if (s < 0) s = 0;
  SetSelStart(s);
  if (!IsLiteralAt(s)) return;
  SetShift(false);
  DoRight();
}

bool TcxMaskEditStandardMode::DoBackspace() {
  if (GetSelLength() <= 1) DoLeft();
  DoDelete();
  return false;
}

bool TcxMaskEditStandardMode::DoDelete() {
  String text = GetText();
  const int s = GetSelStart();
  const int end = std::min({s + GetSelLength(), static_cast<int>(text.size()), FMask->GetCount()});
  bool blanked = false;
  for (int i = s; i < end; ++i) {
    if (FMask->IsLiteral(i)) continue;
    text[static_cast<size_t>(i)] = FMask->GetBlank();
    blanked = true;
  }
  if (!blanked) return false;
  GetEdit()->UpdateInnerEditValue(Variant(text));
  SetSelStart(s);
  return false;
}

bool TcxMaskEditStandardMode::DoEnd() {
  if (GetShift()) return true;
  SetSelStart(static_cast<int>(GetText().size()));
  return false;
}

bool TcxMaskEditStandardMode::DoHome() {
  if (GetShift()) return true;
  SetSelStart(0);
  if (FMask->GetCount() > 0 && FMask->IsLiteral(0)) DoRight();
  return false;
}

bool TcxMaskEditStandardMode::DoLeft() {
  const int s = GetSelStart();
  const int l = GetSelLength();
  if (GetShift()) {
    // The one-character selection becomes an anchor after it, which the
    // key then extends leftwards. Setting the anchor shows the caret
    // character after it, which one Left takes back; after the last
    // position there is none to take back.
    if (l == 1) {
      SetSelStart(s + 1);
      SetSelLength(0);
      if (GetSelLength() > 0) SendKey(VK_LEFT);
      SendKey(VK_LEFT);
    }
    return true;
  }
  if (l >= 2) return DoLeftOverSelection(s, l);
  const int k = LiteralsBefore(s);
  if (s > 0 && s - (k + 1) >= 0) SetSelStart(s - (k + 1));
  return false;
}

// Left over a selection: the first input position in it, or its edge.
bool TcxMaskEditStandardMode::DoLeftOverSelection(int AStart, int ALength) {
  const int n = static_cast<int>(GetText().size());
  const bool beforeEnd = AStart + ALength < n;
  const int b = std::max(0, beforeEnd ? AStart + ALength : AStart + ALength - 1);
  int count = 0;
  bool input = false;
  for (int i = AStart; i <= b; ++i) {
    if (!IsLiteralAt(i)) {
      input = true;
      break;
    }
    ++count;
  }
  const int target = input ? AStart + count : (beforeEnd ? AStart : AStart + ALength);
  SetSelStart(0);
  SetSelStart(target);
  return false;
}

bool TcxMaskEditStandardMode::DoRight() {
  const int s = GetSelStart();
  const int l = GetSelLength();
  if (GetShift()) {
    if (l == 1 && s == GetCaretPosition()) SetSelLength(0);
    return true;
  }
  if (l >= 2) return DoRightOverSelection(s, l);
  const int k = LiteralsAfter(s);
  if (s + k + 1 <= static_cast<int>(GetText().size())) SetSelStart(s + k + 1);
  return false;
}

// Right over a selection: after its last input position.
bool TcxMaskEditStandardMode::DoRightOverSelection(int AStart, int ALength) {
  int e = AStart + ALength;
  if (e < static_cast<int>(GetText().size())) {
    int literals = 0;
    for (int i = e - 1; i >= AStart && IsLiteralAt(i); --i)
      ++literals;
    if (literals == ALength) literals = 0;
    e = e - 1 - literals;
  }
  SetSelStart(e);
  return false;
}

bool TcxMaskEditStandardMode::DoChar(char& Ch) {
  String text = GetText();
  const int s = GetSelStart();
  if (text.empty() || s >= static_cast<int>(text.size())) return false;
  if (IsLiteralAt(s)) {
    SetShift(false);
    if (GetSelLength() > 1) SetSelStart(s);
    DoRight();
    if (GetSelStart() != s) DoChar(Ch);
    return false;
  }
  if (!FMask->GetItem(s)->Accepts(Ch)) {
    Beep();
    return false;
  }
  text[static_cast<size_t>(s)] = Ch;
  GetEdit()->UpdateInnerEditValue(Variant(text));
  SetSelStart(s);
  SetShift(false);
  DoRight();
  return false;
}

void TcxMaskEditStandardMode::RefreshFromEditValue() {
  TcxMaskEditCustomMode::RefreshFromEditValue();
  UpdateSelection();
}

void TcxMaskEditStandardMode::ApplyPendingEmptyValue() {
  if (!GetPendingEmpty() || !GetEdit()) return;
  GetEdit()->SetEditValue(Variant(FMask->EmptyValueText()));
  SetPendingEmpty(false);
}
