// The run-time tokenizer: standing on a character with a current state set,
// it recognises one token by the word table and the character maps, and
// applies the token's effects to the states.
#include "SynParse.h"
#include "SynParse_internal.h"

#include "SyntaxEd_settings.h"
#include "SyntaxEd_stream.h"

#include <algorithm>

// --- TRTStack ----------------------------------------------------------------

TRTStack::TRTStack() {
  OnFree = [](void* entry) { delete static_cast<TStateSet*>(entry); };
}

void TRTStack::PushStates(const TStateSet& states) {
  Push(new TStateSet(states), static_cast<int>(sizeof(TStateSet)));
}

TStateSet TRTStack::PopStates() {
  std::unique_ptr<TStateSet> top(static_cast<TStateSet*>(Pop()));
  return *top;
}

// --- Construction ------------------------------------------------------------

TSyntaxMemoParser::TSyntaxMemoParser(TComponent* AOwner)
    : TCustomSyntaxMemoParser(AOwner), FSettings(std::make_unique<TSM_Settings>()) {
  ResetLanguage();
}

TSyntaxMemoParser::~TSyntaxMemoParser() = default;

void TSyntaxMemoParser::ResetLanguage() {
  FDefaultMap = TCharacterMap();
  for (auto& m : FStateMaps)
    m.reset();
  for (auto& h : FHandlerRecords)
    h.reset();
  for (auto& e : FEffectRecords)
    e.reset();
  FContextStates.fill(TStateSet());
  FMapStates.reset();
  FBoundStates.reset();
  FNoStateMaps = true;
  FCurrentMap = nullptr;
  FStartStates.reset();
  FStartStates.set(0);
  FAnchorTokens.reset();
  FAnchorTokens.set(0);
  FKeywords = std::make_unique<TSyntaxKeywords>();
  FCaseSensitive = false;
  FUsesCustomHandlers = false;
  FStack = std::make_unique<TRTStack>();
  FContainerActive = FContainerPending = false;
  FContainerEnd = 0;
  FSettings->ResetToDefaults();
  ForgetStateAnswers();
}

// --- Scanning ----------------------------------------------------------------

TKeywords* TSyntaxMemoParser::TableKeywords() const {
  return FSettings->GetKeywords();
}

bool TSyntaxMemoParser::Group(uint16_t id, char c) const {
  return FKeywords->GetGroups().GroupById(id).Contains(static_cast<uint8_t>(c));
}

bool TSyntaxMemoParser::CallHandler(bool custom, uint32_t id, TEdStream& s, int& length, int& value) {
  if (custom) {
    if (!OnCustomParse || IsDesigning()) return false;
    bool ok = OnCustomParse(this, static_cast<int>(id), s, length, value);
    value &= 0xFF;
    return ok;
  }
  // An id that names no handler never matches.
  TBuiltInHandler h = BuiltInHandler(id);
  return h && h(this, s, length);
}

bool TSyntaxMemoParser::CallHandler(const TScanPart& part, TEdStream& s, int& length, int& value) {
  return CallHandler(part.IsCustom, part.HandlerId, s, length, value);
}

bool TSyntaxMemoParser::TestUnit(const TScanPart& body, TEdStream& s, int& length, int& value) {
  if (body.IsHandler) return CallHandler(body, s, length, value);
  if (!Group(body.GroupId, s.CurrentChar())) return false;
  // At the end of the text there is nothing left to consume.
  if (s.AtEnd()) return true;
  ++length;
  s.Advance();
  return true;
}

bool TSyntaxMemoParser::MatchEndPart(const TEndPart& end, TEdStream& s, int& length, int value) {
  if (end.IsHandler) return CallHandler(end.IsCustom, end.HandlerId, s, length, value);
  int p = s.CurrentPos();
  for (int k = 0; k < end.GroupCount; ++k) {
    if (s.AtEnd() || !Group(end.Groups[static_cast<size_t>(k)], s.CurrentChar())) {
      s.MoveTo(p);
      return false;
    }
    s.Advance();
  }
  if (end.Consume)
    length += end.GroupCount;
  else
    s.MoveTo(p);
  return true;
}

// The continuation of a matched word; false when the word is to be reset.
bool TSyntaxMemoParser::RunContinuation(const THandlerRecord& h, TEdStream& s, int& length, int& token) {
  bool endFirst = h.Body.ZeroOrMore && !h.End.IsEmpty();
  do {
    if (endFirst && MatchEndPart(h.End, s, length, token)) return true;
    endFirst = !h.End.IsEmpty();
    int kept = token;
    if (h.Body.IsHandler && !h.Body.IsCustom && h.Body.HandlerId >= hiIdentifier &&
        h.Body.HandlerId <= hiCStringSQ)
      return CallHandler(h.Body, s, length, kept);
    if (!TestUnit(h.Body, s, length, kept)) return false;
    token = kept;
    if (h.End.IsEmpty()) return true;
  } while (!s.AtEnd());
  return true;
}

// A token recognised by its first character; false when it is to be reset.
bool TSyntaxMemoParser::RunTokenRecord(const TTokenRecord& r, TEdStream& s, int& length, int& token) {
  bool endFirst = r.Body.ZeroOrMore;
  do {
    if (endFirst && MatchEndPart(r.End, s, length, token)) {
      token = r.Token;
      return true;
    }
    endFirst = true;
    int kept = token;
    if (!TestUnit(r.Body, s, length, kept)) return false;
    token = kept;
    if (r.Body.IsHandler && r.Body.IsCustom) return true;
    if (s.AtEnd()) {
      token = r.Token;
      return true;
    }
  } while (!s.AtEnd());
  return true;
}

void TSyntaxMemoParser::StatesChanged() {
  if (TKeywords* table = TableKeywords()) table->ActiveStates = Current();
}

void TSyntaxMemoParser::ForgetStateAnswers() {
  if (++FStatesStamp != 0) return;
  // After four billion changes the stamps start again from a clean slate.
  FEffectHolds.Clear();
  FMapEntryHolds.Clear();
  FStatesStamp = 1;
}

// Runs after every change of the current states.
void TSyntaxMemoParser::SelectStateMap() {
  ForgetStateAnswers();
  FCurrentMap = &FDefaultMap;
  if (FNoStateMaps) return;
  TStateSet both = FMapStates & Current();
  if (both.none()) return;
  if (const auto& map = FStateMaps[both._Find_first()]) FCurrentMap = map.get();
}

void TSyntaxMemoParser::ApplyEffects(const TEffectRecord& f) {
  if (f.StackFlags & sfPopBefore) {
    Current() = FStack->PopStates();
    SelectStateMap();
  } else if (f.StackFlags & sfPushBefore) {
    FStack->PushStates(Current());
  }
  if (!f.NoStateChange) {
    Current() = (Current() | f.AddStates) & ~f.RemoveStates;
    SelectStateMap();
  }
  if (f.StackFlags & sfPopAfter) {
    Current() = FStack->PopStates();
    SelectStateMap();
  } else if (f.StackFlags & sfPushAfter) {
    FStack->PushStates(Current());
  }
  StatesChanged();
}

uint8_t TSyntaxMemoParser::NextToken(TCustomSyntaxMemo* Editor, TEdStream& s, int& Length) {
  if (FContainerPending && !FContainerActive) return 0;
  struct TPendingGuard {
    TSyntaxMemoParser* P;
    ~TPendingGuard() { P->FContainerPending = P->FContainerActive; }
  } guard{this};

  // An editor that asks for tokens joins the parser's editors; the control
  // attaches it to the language settings.
  if (Editor && std::find(FEditors.begin(), FEditors.end(), Editor) == FEditors.end())
    FEditors.push_back(Editor);
  char c = s.CurrentChar();
  int start = s.CurrentPos();
  int token = 0;
  bool matched = false, fromTable = false;
  int startOffset = 0, startPosition = 0;
  auto reset = [&] {
    s.MoveTo(start);
    Length = 1;
    token = 0;
    s.Advance();
    matched = false;
  };

  const bool caseSensitive = FKeywords->GetCaseFlag() != 0;
  TKeywordEntry* e = nullptr;
  if (FKeywords->BeginsWord(c, caseSensitive)) {
    e = FKeywords->MatchWord(s, caseSensitive, true, startOffset, startPosition, Length);
  } else {
    // Most characters begin no word; the lookup would only step over them.
    Length = 1;
    s.Advance();
  }
  if (e) {
    token = e->Value & 0xFF;
    matched = true;
  } else if (TKeywords* table = TableKeywords()) {
    s.MoveTo(start);
    if (TKeywordEntry* t = table->MatchWord(s, FCaseSensitive, true, startOffset, startPosition, Length)) {
      token = t->Value & 0xFF;
      matched = fromTable = true;
    }
  }
  if (matched) {
    if (const auto& h = FHandlerRecords[static_cast<uint8_t>(token)])
      if (!RunContinuation(*h, s, Length, token)) reset();
  }
  if (!matched && FCurrentMap) {
    const TTokenRecord* r = FCurrentMap->Entries[static_cast<uint8_t>(c)].get();
    if (r && FMapEntryHolds.Get(static_cast<uint8_t>(c), FStatesStamp,
                                [&] { return (r->States & Current()).any(); })) {
      if (r->Start.IsHandler) {
        s.MoveTo(start);
        Length = 0;
        int value = 0;
        if (CallHandler(r->Start, s, Length, value))
          token = r->Token;
        else
          reset();
      } else if (!RunTokenRecord(*r, s, Length, token)) {
        reset();
      }
    }
  }
  const TEffectRecord* effect = FEffectRecords[static_cast<uint8_t>(token)].get();
  bool rejected = (effect && !fromTable &&
                   !FEffectHolds.Get(static_cast<uint8_t>(token), FStatesStamp,
                                     [&] { return (effect->ValidStates & Current()).any(); })) ||
                  s.CurrentPos() == start;
  if (rejected) {
    s.MoveTo(start + 1);
    Length = 1;
    token = 0;
    effect = FEffectRecords[0].get();
  }
  // The end of a container brings back the states from before its token's
  // effects; only a token that starts one needs them kept.
  const bool startsContainer = !FContainerActive && effect && effect->IsContainer;
  if (startsContainer) FSavedStates = Current();
  if (!rejected && effect) {
    if (effect->StackFlags || !effect->NoStateChange)
      ApplyEffects(*effect);
    else
      StatesChanged(); // most tokens leave the states as they are
  }

  bool wasActive = FContainerActive;
  if (wasActive) {
    if (s.CurrentPos() >= FContainerEnd || s.AtEnd()) {
      Current() = FSavedStates;
      SelectStateMap();
      StatesChanged();
    }
  } else if (startsContainer) {
    FContainerEnd = s.CurrentPos();
    FContainerToken = static_cast<uint8_t>(token);
  }
  FContainerActive = (wasActive && s.CurrentPos() < FContainerEnd) || startsContainer;
  return static_cast<uint8_t>(token);
}

void TSyntaxMemoParser::SetStateFromToken(uint8_t Token) {
  Current() = FContextStates[Token].none() ? FStartStates : FContextStates[Token];
  FContainerActive = false;
  FContainerEnd = 0;
  FContainerPending = false;
  FStack = std::make_unique<TRTStack>();
  SelectStateMap();
  StatesChanged();
}
