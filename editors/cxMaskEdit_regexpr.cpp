#include "cxMaskEdit.h"

#include "cxEditStringIds.h"

#include <algorithm>

namespace {

const TResStringRec cxSMaskEditRegExprErrors = {nullptr, IDS_cxSMaskEditRegExprErrors};

String ErrorsText(const TcxRegExprErrors* AErrors) {
  String text = LoadLibraryResString(&cxSMaskEditRegExprErrors);
  for (int i = 0; AErrors && i < AErrors->GetCount(); ++i)
    text += "\r\n" + AErrors->GetItem(i).ErrorText();
  return text;
}

// Moves the first characters of one text to the end of another.
void MoveFront(String& AFrom, String& ATo, size_t ACount) {
  ACount = std::min(ACount, AFrom.size());
  ATo += AFrom.substr(0, ACount);
  AFrom.erase(0, ACount);
}

// Moves the last characters of one text to the front of another.
void MoveBack(String& AFrom, String& ATo, size_t ACount) {
  ACount = std::min(ACount, AFrom.size());
  ATo.insert(0, AFrom.substr(AFrom.size() - ACount));
  AFrom.erase(AFrom.size() - ACount);
}

} // namespace

// ---- TcxMaskEditRegExprMode ----

TcxMaskEditRegExprMode::TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit,
                                               TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditCustomMode(AEdit, AProperties), FRegExpr(std::make_unique<TcxRegExpr>()) {
  FRegExpr->CaseInsensitive = GetProperties()->GetCaseInsensitive();
}

TcxMaskEditRegExprMode::~TcxMaskEditRegExprMode() = default;

void TcxMaskEditRegExprMode::CompileMask(const String& AMask) {
  SetMaskText(AMask);
  if (TcxCustomMaskEditProperties::IsMaskBlank(AMask)) return;
  TStringStream source(AMask);
  try {
    FRegExpr->CompileFromStream(&source);
  } catch (const EcxRegExprError& e) {
    throw EcxMaskEditError(ErrorsText(e.Errors));
  }
}

bool TcxMaskEditRegExprMode::CompileCopy(TcxRegExpr* AOther) {
  if (!FRegExpr->IsCompiled()) return false;
  AOther->CompileFromStream(FRegExpr->CompiledSource());
  return true;
}

std::unique_ptr<TcxRegExpr> TcxMaskEditRegExprMode::CreateProbe() {
  auto probe = std::make_unique<TcxRegExpr>();
  probe->CaseInsensitive = GetProperties()->GetCaseInsensitive();
  return probe;
}

// The head is what the automaton has taken, up to the caret.
void TcxMaskEditRegExprMode::Resync() {
  const String text = GetText();
  if (!FResync && !(FHead.empty() && FTail.empty() && !text.empty())) return;
  FResync = false;
  FRegExpr->RestartAutomaton();
  FTail = text;
  FHead.clear();
  const int caret = GetCaretPosition();
  for (int i = 0; i < caret && i < static_cast<int>(text.size()); ++i) {
    char c = text[static_cast<size_t>(i)];
    FRegExpr->AcceptChar(c);
    MoveFront(FTail, FHead, 1);
  }
}

// The automaton ends where it began.
bool TcxMaskEditRegExprMode::TailFits() {
  int accepted = 0;
  bool fits = true;
  for (char c : FTail) {
    if (!FRegExpr->AcceptChar(c)) {
      fits = false;
      break;
    }
    ++accepted;
  }
  for (int i = 0; i < accepted; ++i)
    FRegExpr->StepBack();
  return fits;
}

void TcxMaskEditRegExprMode::TruncateTail() {
  TcxEditDataBinding* binding = GetEdit()->GetDataBinding();
  const Variant value = binding->GetDisplayValue();
  String text = value.IsNull() ? String() : VarToStr(value);
  const size_t s = std::min(static_cast<size_t>(GetSelStart()), text.size());
  text.erase(s, FTail.size());
  binding->SetDisplayValue(Variant(text));
  SetInnerSelStart(static_cast<int>(text.size()));
  FTail.clear();
}

void TcxMaskEditRegExprMode::MoveLeft() {
  FRegExpr->StepBack();
  MoveBack(FHead, FTail, 1);
}

void TcxMaskEditRegExprMode::MoveRight() {
  char c = FTail[0];
  FRegExpr->AcceptChar(c);
  MoveFront(FTail, FHead, 1);
}

void TcxMaskEditRegExprMode::AcceptTail() {
  for (char c : FTail)
    FRegExpr->AcceptChar(c);
  FHead += FTail;
  FTail.clear();
}

String TcxMaskEditRegExprMode::GetFormattedText(const String& AText) {
  if (!FRegExpr->IsCompiled()) return String();
  FRegExpr->RestartAutomaton();
  String result;
  for (char c : AText)
    if (FRegExpr->AcceptChar(c)) result += c;
  return result;
}

void TcxMaskEditRegExprMode::SyncToEnd() {
  Resync();
  AcceptTail();
}

bool TcxMaskEditRegExprMode::IsCursorAtBegin() {
  return GetSelStart() == 0;
}

bool TcxMaskEditRegExprMode::IsCursorAtEnd() {
  return GetSelStart() == static_cast<int>(GetText().size());
}

bool TcxMaskEditRegExprMode::IsValidText(const String& AText) {
  if (AText.empty()) return true;
  std::unique_ptr<TcxRegExpr> probe = CreateProbe();
  if (!CompileCopy(probe.get())) return false;
  for (char c : AText)
    if (!probe->AcceptChar(c)) return false;
  return GetProperties()->IgnoreMaskBlank || probe->InFinalState();
}

bool TcxMaskEditRegExprMode::DoBackspace() {
  Resync();
  bool result = true;
  if (GetSelLength() > 0) {
    CutSelection();
    if (!TailFits()) {
      SendCharacter('\b');
      TruncateTail();
      result = false;
    }
  } else if (!FHead.empty()) {
    // The head loses its last character whether or not the tail stays.
    FRegExpr->StepBack();
    if (!TailFits()) TruncateTail();
    FHead.pop_back();
  }
  FSelection.clear();
  if (!result) Beep();
  return result;
}

bool TcxMaskEditRegExprMode::DoDelete() {
  Resync();
  bool result = true;
  if (GetSelLength() > 0) {
    CutSelection();
    if (!TailFits()) {
      SendKey(VK_DELETE);
      TruncateTail();
      result = false;
    }
  } else if (!FTail.empty()) {
    FSelection = FTail.substr(0, 1);
    FTail.erase(0, 1);
    if (!TailFits()) {
      TruncateTail();
      if (GetSelStart() > 0) SetInnerSelStart(GetSelStart() - 1);
    }
  }
  FSelection.clear();
  if (!result) Beep();
  return result;
}

bool TcxMaskEditRegExprMode::DoEnd() {
  Resync();
  AcceptTail();
  return true;
}

bool TcxMaskEditRegExprMode::DoHome() {
  Resync();
  if (FHead.empty()) return true;
  FTail = FHead + FTail;
  FHead.clear();
  FRegExpr->RestartAutomaton();
  return true;
}

bool TcxMaskEditRegExprMode::DoLeft() {
  return DoArrow(true);
}

bool TcxMaskEditRegExprMode::DoRight() {
  return DoArrow(false);
}

// An arrow with a selection and no Shift moves over the whole selection
// when the caret is at its near side and not at all at its far side.
bool TcxMaskEditRegExprMode::DoArrow(bool ALeft) {
  Resync();
  const String& from = ALeft ? FHead : FTail;
  if (from.empty()) return true;
  const int s = GetSelStart();
  const int l = GetSelLength();
  const auto move = [&] { ALeft ? MoveLeft() : MoveRight(); };
  if (l > 0 && !GetShift()) {
    const int caret = GetCaretPosition();
    if (caret == (ALeft ? s + l : s)) {
      for (int i = 0; i < l && !from.empty(); ++i)
        move();
      return true;
    }
    if (caret == (ALeft ? s : s + l)) return true;
  }
  move();
  return true;
}

bool TcxMaskEditRegExprMode::DoChar(char& Ch) {
  Resync();
  const bool cut = GetSelLength() > 0;
  if (cut) CutSelection();
  bool result = false;
  if (FRegExpr->AcceptChar(Ch)) {
    FHead += Ch;
    result = true;
    if (!TailFits()) {
      if (cut) {
        SendKey(VK_DELETE);
        SendCharacter(Ch);
        result = false;
      }
      TruncateTail();
    }
  } else {
    RestoreSelection();
  }
  FSelection.clear();
  if (!result) Beep();
  return result;
}

void TcxMaskEditRegExprMode::AdoptText(const String& AText) {
  FRegExpr->RestartAutomaton();
  FHead.clear();
  if (GetInsertedLength() < 1) {
    FTail = AText;
    return;
  }
  const size_t count =
      std::min(static_cast<size_t>(std::max(0, GetSelStart() + GetInsertedLength())), AText.size());
  for (size_t i = 0; i < count; ++i) {
    char c = AText[i];
    FRegExpr->AcceptChar(c);
    FHead += c;
  }
  FTail = AText.substr(count);
  SetInsertedLength(0);
}

void TcxMaskEditRegExprMode::RefreshFromEditValue() {
  TcxMaskEditCustomMode::RefreshFromEditValue();
  if (!IsUsable()) return;
  const String text = GetText();
  SetSelStart(static_cast<int>(text.size()));
  FHead = text;
  FTail.clear();
  FRegExpr->RestartAutomaton();
  FRegExpr->FeedText(FHead);
}

void TcxMaskEditRegExprMode::CutSelection() {
  const int s = GetSelStart();
  const int l = GetSelLength();
  if (s == static_cast<int>(FHead.size())) {
    FSelection = FTail.substr(0, static_cast<size_t>(l));
    FTail.erase(0, static_cast<size_t>(l));
    FSelectionAtStart = true;
  } else if (s + l == static_cast<int>(FHead.size())) {
    FSelection = FHead.substr(FHead.size() - static_cast<size_t>(l));
    FHead.erase(FHead.size() - static_cast<size_t>(l));
    for (int i = 0; i < l; ++i)
      FRegExpr->StepBack();
    FSelectionAtStart = false;
  }
}

void TcxMaskEditRegExprMode::RestoreSelection() {
  if (FSelectionAtStart) {
    FTail = FSelection + FTail;
    return;
  }
  for (char c : FSelection) {
    char ch = c;
    FRegExpr->AcceptChar(ch);
  }
  FHead += FSelection;
}

// ---- TcxMaskEditRegExprExMode ----

TcxMaskEditRegExprExMode::TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit,
                                                   TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditRegExprMode(AEdit, AProperties) {
  FRegExpr->OnSymbolAdd = [this](char Symbol) { FInsertedLiterals += Symbol; };
  FRegExpr->OnSymbolDelete = [this] { ++FRemovedCount; };
  SetAuto(true);
}

void TcxMaskEditRegExprExMode::Preface() {
  ResyncEx();
  FInsertedLiterals.clear();
  FRemovedCount = 0;
}

bool TcxMaskEditRegExprExMode::ForcedPrefixReported() {
  FInsertedLiterals.clear();
  SetAuto(false);
  SetAuto(true);
  return !FInsertedLiterals.empty();
}

void TcxMaskEditRegExprExMode::MoveRightByUnit() {
  if (FTail.empty()) return;
  FInsertedLiterals.clear();
  char c = FTail[0];
  FRegExpr->AcceptChar(c);
  MoveFront(FTail, FHead, 1 + FInsertedLiterals.size());
}

void TcxMaskEditRegExprExMode::MoveLeftByUnit() {
  if (FHead.empty()) return;
  FInsertedLiterals.clear();
  FRemovedCount = 0;
  FRegExpr->StepBack();
  MoveBack(FHead, FTail, static_cast<size_t>(FRemovedCount) + 1);
  if (FRegExpr->AtStartState()) FHead.clear();
}

// The caret always stands between units: a character with the forced
// literals after it.
void TcxMaskEditRegExprExMode::ResyncEx() {
  if (!IsUsable() || !GetEdit()->HandleAllocated()) return;
  const String text = GetText();
  if (FHead.empty() && FTail.empty() && !text.empty()) {
    FTail = text;
    FRegExpr->RestartAutomaton();
    FResync = true;
  }
  if (!FResync) return;
  FResync = false;
  const size_t a = static_cast<size_t>(GetSelStart());
  const size_t e = a + static_cast<size_t>(GetSelLength());
  if (FHead.size() < a) {
    while (FHead.size() < a && !FTail.empty())
      MoveRightByUnit();
    if (FHead.size() > a) {
      MoveLeftByUnit();
      SetInnerSelStart(static_cast<int>(FHead.size()));
    }
  } else if (FHead.size() > a) {
    while (FHead.size() > a && !FHead.empty())
      MoveLeftByUnit();
    if (FHead.size() < a) SetInnerSelStart(static_cast<int>(FHead.size()));
  }
  if (a >= e) return;
  while (FHead.size() < e && !FTail.empty())
    MoveRightByUnit();
  SetInnerSelLength(static_cast<int>(FHead.size()) - GetSelStart());
}

// After an edit that left the tail valid: the forced literals that now
// follow it are typed after it, and the caret comes back.
void TcxMaskEditRegExprExMode::RefeedTail() {
  FInsertedLiterals.clear();
  if (FTail.empty()) return;
  for (char c : FTail) {
    FRegExpr->AcceptChar(c);
    SetInnerSelStart(GetSelStart() + 1);
  }
  SetAuto(true);
  const String literals = FInsertedLiterals;
  for (char c : literals) {
    FTail += c;
    SendCharacter(c);
  }
  SetAuto(false);
  for (size_t i = 0; i < FTail.size(); ++i) {
    FRegExpr->StepBack();
    SetInnerSelStart(GetSelStart() - 1);
  }
}

void TcxMaskEditRegExprExMode::RefeedOrTruncate() {
  SetAuto(false);
  if (TailFits())
    RefeedTail();
  else
    TruncateTail();
  SetAuto(true);
}

void TcxMaskEditRegExprExMode::CompileMask(const String& AMask) {
  FInsertedLiterals.clear();
  FRemovedCount = 0;
  TcxMaskEditRegExprMode::CompileMask(AMask);
  SetPendingEmpty(!IsUsable());
}

String TcxMaskEditRegExprExMode::ProbeForcedPrefix(TcxRegExpr* AProbe) {
  FProbeLiterals.clear();
  AProbe->OnSymbolAdd = [this](char Symbol) { FProbeLiterals += Symbol; };
  AProbe->SetAutoInsertLiterals(true);
  return FProbeLiterals;
}

String TcxMaskEditRegExprExMode::GetEmptyText() {
  std::unique_ptr<TcxRegExpr> probe = CreateProbe();
  if (!CompileCopy(probe.get())) return String();
  return ProbeForcedPrefix(probe.get());
}

String TcxMaskEditRegExprExMode::GetFormattedText(const String& AText) {
  if (!FRegExpr->IsCompiled()) return String();
  SetAuto(false);
  FInsertedLiterals.clear();
  FRemovedCount = 0;
  String result = TcxMaskEditRegExprMode::GetFormattedText(AText);
  SetAuto(true);
  return result + FInsertedLiterals;
}

void TcxMaskEditRegExprExMode::SyncToEnd() {
  SetAuto(false);
  TcxMaskEditRegExprMode::SyncToEnd();
  SetAuto(true);
}

bool TcxMaskEditRegExprExMode::IsValidText(const String& AText) {
  std::unique_ptr<TcxRegExpr> probe = CreateProbe();
  if (!CompileCopy(probe.get())) return false;
  if (AText == ProbeForcedPrefix(probe.get())) return true;
  probe->SetAutoInsertLiterals(false);
  probe->RestartAutomaton();
  for (char c : AText)
    if (!probe->AcceptChar(c)) return false;
  return GetProperties()->IgnoreMaskBlank || probe->InFinalState();
}

bool TcxMaskEditRegExprExMode::DoBackspace() {
  Preface();
  if (GetSelLength() > 0) return DoBackspaceOverSelection();
  if (!FHead.empty()) return DoBackspaceBeforeCaret();
  return false;
}

// A selection from the start keeps the forced prefix that was reported:
// it shrinks to what follows the prefix. False when nothing is left of it.
bool TcxMaskEditRegExprExMode::KeepForcedPrefix(int ALength) {
  FHead = FInsertedLiterals;
  FInsertedLiterals.clear();
  const int s = static_cast<int>(FHead.size());
  const int length = std::max(0, ALength - s);
  const String text = GetText();
  SetSelStart(s);
  SetSelLength(length);
  FTail = text.substr(std::min(static_cast<size_t>(s), text.size()), static_cast<size_t>(length)) + FTail;
  FSelection.clear();
  return length > 0;
}

bool TcxMaskEditRegExprExMode::DoBackspaceOverSelection() {
  const int length = GetSelLength();
  CutSelection();
  if (GetSelStart() == 0 && ForcedPrefixReported()) return KeepForcedPrefix(length) && DoBackspace();
  SendCharacter('\b');
  RefeedOrTruncate();
  FSelection.clear();
  return false;
}

bool TcxMaskEditRegExprExMode::DoBackspaceBeforeCaret() {
  FRegExpr->StepBack();
  if (FRegExpr->AtStartState() && GetSelStart() == FRemovedCount) {
    // Only the forced prefix is before the caret: it stays.
    char c = FHead[0];
    FRegExpr->AcceptChar(c);
    Beep();
    return false;
  }
  const int count = std::min(FRemovedCount + 1, static_cast<int>(FHead.size()));
  FHead.erase(FHead.size() - static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    SendCharacter('\b');
  RefeedOrTruncate();
  return false;
}

bool TcxMaskEditRegExprExMode::DoDelete() {
  Preface();
  if (GetSelLength() > 0) return DoBackspace();
  if (FTail.empty()) return false;
  if (GetSelStart() == 0 && ForcedPrefixReported()) {
    FRegExpr->StepBack();
    FInsertedLiterals.clear();
    Beep();
    return false;
  }
  FInsertedLiterals.clear();
  char c = FTail[0];
  FRegExpr->AcceptChar(c);
  const size_t count = std::min(1 + FInsertedLiterals.size(), FTail.size());
  for (size_t i = 0; i < count; ++i)
    SendKey(VK_DELETE);
  FTail.erase(0, count);
  FRegExpr->StepBack();
  RefeedOrTruncate();
  return false;
}

bool TcxMaskEditRegExprExMode::DoEnd() {
  Preface();
  SetAuto(false);
  TcxMaskEditRegExprMode::DoEnd();
  SetAuto(true);
  return true;
}

bool TcxMaskEditRegExprExMode::DoHome() {
  Preface();
  return TcxMaskEditRegExprMode::DoHome();
}

bool TcxMaskEditRegExprExMode::DoLeft() {
  Preface();
  const int s = GetSelStart();
  const int l = GetSelLength();
  if (l > 0 && !GetShift()) {
    const int caret = GetCaretPosition();
    if (s + l == caret) {
      SetAuto(false);
      TcxMaskEditRegExprMode::DoLeft();
      AutoOnWithoutLiterals();
      return true;
    }
    if (caret == s) return true;
  }
  TcxMaskEditRegExprMode::DoLeft();
  if (FRegExpr->AtStartState() && ((s != 0 && s == FRemovedCount) || (s == 0 && l == FRemovedCount)))
    --FRemovedCount;
  for (int i = 0; i < FRemovedCount && !FHead.empty(); ++i) {
    MoveBack(FHead, FTail, 1);
    SendKey(VK_LEFT);
  }
  return true;
}

bool TcxMaskEditRegExprExMode::DoRight() {
  Preface();
  const int s = GetSelStart();
  const int l = GetSelLength();
  if (l > 0 && !GetShift()) {
    const int caret = GetCaretPosition();
    if (caret == s) {
      SetAuto(false);
      TcxMaskEditRegExprMode::DoRight();
      FInsertedLiterals.clear();
      SetAuto(true);
      return true;
    }
    if (caret == s + l) return true;
  }
  TcxMaskEditRegExprMode::DoRight();
  const String literals = FInsertedLiterals;
  for (size_t i = 0; i < literals.size() && !FTail.empty(); ++i) {
    MoveFront(FTail, FHead, 1);
    SendKey(VK_RIGHT);
  }
  return true;
}

bool TcxMaskEditRegExprExMode::DoChar(char& Ch) {
  Preface();
  const bool selection = GetSelLength() > 0;
  const int length = GetSelLength();
  if (selection) {
    CutSelection();
    if (GetSelStart() == 0 && ForcedPrefixReported()) {
      KeepForcedPrefix(length);
      return DoChar(Ch);
    }
  }
  FInsertedLiterals.clear();
  if (FRegExpr->AcceptChar(Ch)) {
    const String literals = FInsertedLiterals;
    FHead += Ch + literals;
    SendCharacter(Ch);
    for (char c : literals)
      SendCharacter(c);
    RefeedOrTruncate();
  } else {
    if (selection) RestoreSelection();
    Beep();
  }
  FSelection.clear();
  return false;
}

void TcxMaskEditRegExprExMode::AdoptText(const String& AText) {
  SetAuto(false);
  FRegExpr->RestartAutomaton();
  String head;
  for (char c : AText) {
    char ch = c;
    FRegExpr->AcceptChar(ch);
    head += ch;
  }
  FInsertedLiterals.clear();
  SetAuto(true);
  FHead = head + FInsertedLiterals;
  FTail.clear();
  if (IsUsable()) {
    FResync = true;
    ResyncEx();
  }
  SetInsertedLength(0);
}

void TcxMaskEditRegExprExMode::ApplyPendingEmptyValue() {
  if (!GetPendingEmpty() || !GetEdit()) return;
  GetEdit()->SetEditValue(Variant(FInsertedLiterals));
  SetPendingEmpty(false);
}

// Literals that switching back on inserts after the head are taken back.
void TcxMaskEditRegExprExMode::AutoOnWithoutLiterals() {
  FInsertedLiterals.clear();
  SetAuto(true);
  if (FInsertedLiterals.empty()) return;
  FRegExpr->StepBack();
  FInsertedLiterals.clear();
}

void TcxMaskEditRegExprExMode::CutSelection() {
  SetAuto(false);
  TcxMaskEditRegExprMode::CutSelection();
  AutoOnWithoutLiterals();
}

void TcxMaskEditRegExprExMode::RestoreSelection() {
  SetAuto(false);
  TcxMaskEditRegExprMode::RestoreSelection();
  AutoOnWithoutLiterals();
}
