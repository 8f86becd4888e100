// Character matchers, automaton nodes and state sets, quantifiers and the
// parse tree with its linking and final marking.
#include "cxRegExpr_internal.h"

#include "Locale.h"

#include <algorithm>

// ---- character matchers ----

namespace {

// Characters that mean something in a pattern are written escaped.
String PatternChar(char C) {
  static const String special = "\\()[]{}*+?|.^-/:'$,";
  if (static_cast<unsigned char>(C) < 32 || C == ' ')
    return "\\x" + IntToHex(static_cast<unsigned char>(C), 2);
  if (special.find(C) != String::npos) return String(1, '\\') + C;
  return String(1, C);
}

} // namespace

bool TcxRegExprSymbol::Matches(char& Ch, bool CaseInsensitive) const {
  if (Ch == FChar) return true;
  if (!CaseInsensitive || AnsiUpperCase(String(1, Ch)) != AnsiUpperCase(String(1, FChar))) return false;
  Ch = FChar;
  return true;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprSymbol::CopyItem() const {
  return std::make_unique<TcxRegExprSymbol>(FChar);
}

bool TcxRegExprSymbol::FixedChar(char& Ch) const {
  Ch = FChar;
  return true;
}

String TcxRegExprSymbol::DumpText() const {
  return PatternChar(FChar);
}

bool TcxRegExprTimeSeparator::Matches(char& Ch, bool) const {
  return Ch == FormatSettings.TimeSeparator;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprTimeSeparator::CopyItem() const {
  return std::make_unique<TcxRegExprTimeSeparator>();
}

bool TcxRegExprTimeSeparator::FixedChar(char& Ch) const {
  Ch = FormatSettings.TimeSeparator;
  return true;
}

bool TcxRegExprDateSeparator::Matches(char& Ch, bool) const {
  return Ch == FormatSettings.DateSeparator;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprDateSeparator::CopyItem() const {
  return std::make_unique<TcxRegExprDateSeparator>();
}

bool TcxRegExprDateSeparator::FixedChar(char& Ch) const {
  Ch = FormatSettings.DateSeparator;
  return true;
}

bool TcxRegExprSubrange::Matches(char& Ch, bool) const {
  const auto c = static_cast<unsigned char>(Ch);
  return static_cast<unsigned char>(FFirst) <= c && c <= static_cast<unsigned char>(FLast);
}

std::unique_ptr<TcxRegExprItem> TcxRegExprSubrange::CopyItem() const {
  return std::make_unique<TcxRegExprSubrange>(FFirst, FLast);
}

String TcxRegExprSubrange::DumpText() const {
  return PatternChar(FFirst) + "-" + PatternChar(FLast);
}

std::unique_ptr<TcxRegExprItem> TcxRegExprAll::CopyItem() const {
  return std::make_unique<TcxRegExprAll>();
}

bool TcxRegExprUserEnumeration::Matches(char& Ch, bool CaseInsensitive) const {
  for (const auto& member : FMembers)
    if (member->Matches(Ch, CaseInsensitive)) return !FInverse;
  return FInverse;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprUserEnumeration::CopyItem() const {
  auto copy = std::make_unique<TcxRegExprUserEnumeration>(FInverse);
  for (const auto& member : FMembers)
    copy->Add(member->CopyItem());
  return copy;
}

int64_t TcxRegExprUserEnumeration::Weight() const {
  return 1 + static_cast<int64_t>(FMembers.size());
}

String TcxRegExprUserEnumeration::DumpText() const {
  String text = FInverse ? "[^" : "[";
  for (const auto& member : FMembers)
    text += member->DumpText();
  return text + "]";
}

String TcxRegExprClass::DumpText() const {
  const char letter = Letter();
  return String(1, '\\') + static_cast<char>(FInverse ? letter - 32 : letter);
}

std::unique_ptr<TcxRegExprItem> TcxRegExprDigit::CopyItem() const {
  return std::make_unique<TcxRegExprDigit>(FInverse);
}

bool TcxRegExprIdLetter::InClass(char Ch) const {
  return (Ch >= 'a' && Ch <= 'z') || (Ch >= 'A' && Ch <= 'Z') || (Ch >= '0' && Ch <= '9') || Ch == '_';
}

std::unique_ptr<TcxRegExprItem> TcxRegExprIdLetter::CopyItem() const {
  return std::make_unique<TcxRegExprIdLetter>(FInverse);
}

std::unique_ptr<TcxRegExprItem> TcxRegExprSpace::CopyItem() const {
  return std::make_unique<TcxRegExprSpace>(FInverse);
}

// ---- nodes and state sets ----

std::unique_ptr<TcxRegExprSimpleState> TcxRegExprSimpleState::CopyState() const {
  return std::make_unique<TcxRegExprSimpleState>(FMatcher ? FMatcher->CopyItem() : nullptr);
}

bool TcxRegExprStates::HasFinal() const {
  return std::any_of(FItems.begin(), FItems.end(), [](const TcxRegExprSimpleState* s) { return s->Final; });
}

bool TcxRegExprStates::SingleFixedChar(char& Ch) const {
  if (FItems.empty()) return false;
  char first = 0;
  for (size_t i = 0; i < FItems.size(); ++i) {
    const TcxRegExprItem* matcher = FItems[i]->GetMatcher();
    char c;
    if (!matcher || !matcher->FixedChar(c)) return false;
    if (i == 0)
      first = c;
    else if (c != first)
      return false;
  }
  Ch = first;
  return true;
}

// Depth first, successors in order, with a stack in place of the recursion
// (chains of pass-through nodes can be long): the nodes come out in the order
// of the recursive union. A pass-through node is expanded once per walk and a
// consuming node added once; one that refused the character is offered it
// again when met again, as the recursion would.
template <typename Accept>
void TcxRegExprWalker::Walk(const TcxRegExprStates& From, TcxRegExprStates& Into, Accept&& accept) {
  ++FStep;
  for (int i = 0; i < From.GetCount(); ++i) {
    const auto& next = From.GetItem(i)->GetNext();
    FStack.assign(next.rbegin(), next.rend());
    while (!FStack.empty()) {
      TcxRegExprState* state = FStack.back();
      FStack.pop_back();
      if (state->Mark == FStep) continue;
      if (TcxRegExprSimpleState* simple = state->AsSimple()) {
        if (!accept(*simple)) continue;
        simple->Mark = FStep;
        Into.Add(simple);
      } else {
        state->Mark = FStep;
        FStack.insert(FStack.end(), state->GetNext().rbegin(), state->GetNext().rend());
      }
    }
  }
}

TcxRegExprStates TcxRegExprWalker::NextStates(const TcxRegExprStates& States, char& Ch,
                                              bool CaseInsensitive) {
  TcxRegExprStates result;
  Walk(States, result, [&](const TcxRegExprSimpleState& s) { return s.Matches(Ch, CaseInsensitive); });
  return result;
}

TcxRegExprStates TcxRegExprWalker::SimpleStates(const TcxRegExprStates& States) {
  TcxRegExprStates result;
  Walk(States, result, [](const TcxRegExprSimpleState&) { return true; });
  return result;
}

// ---- quantifiers ----

const TcxRegExprQuantifier* TcxRegExprSimpleQuantifier::Instance() {
  static const TcxRegExprSimpleQuantifier instance;
  return &instance;
}

const TcxRegExprQuantifier* TcxRegExprQuestionQuantifier::Instance() {
  static const TcxRegExprQuestionQuantifier instance;
  return &instance;
}

const TcxRegExprQuantifier* TcxRegExprStarQuantifier::Instance() {
  static const TcxRegExprStarQuantifier instance;
  return &instance;
}

const TcxRegExprQuantifier* TcxRegExprPlusQuantifier::Instance() {
  static const TcxRegExprPlusQuantifier instance;
  return &instance;
}

// ---- parse tree ----

void TcxRegExprParserItem::SetQuantifier(const TcxRegExprQuantifier* Value) {
  if (Value) FQuantifier = Value;
}

TcxRegExprParserSimpleItem::TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprItem> Matcher)
    : FState(std::make_unique<TcxRegExprSimpleState>(std::move(Matcher))) {}

TcxRegExprParserSimpleItem::TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprSimpleState> State)
    : FState(std::move(State)) {}

TcxRegExprParserItemPtr TcxRegExprParserSimpleItem::CopyParserItem() const {
  auto copy = std::make_unique<TcxRegExprParserSimpleItem>(FState->CopyState());
  copy->SetQuantifier(FQuantifier);
  return copy;
}

String TcxRegExprParserSimpleItem::DumpText() const {
  return FState->GetMatcher()->DumpText() + FQuantifier->Suffix();
}

TcxRegExprParserAlt* TcxRegExprParserBlockItem::AddAlt() {
  FAlts.push_back(std::make_unique<TcxRegExprParserAlt>());
  return FAlts.back().get();
}

bool TcxRegExprParserBlockItem::MatchesEmpty() const {
  return MayBeAbsent() ||
         std::any_of(FAlts.begin(), FAlts.end(), [](const auto& alt) { return alt->MatchesEmpty(); });
}

TcxRegExprParserItemPtr TcxRegExprParserBlockItem::CopyParserItem() const {
  auto copy = std::make_unique<TcxRegExprParserBlockItem>();
  copy->SetQuantifier(FQuantifier);
  for (const auto& alt : FAlts)
    copy->FAlts.push_back(alt->Copy());
  return copy;
}

String TcxRegExprParserBlockItem::DumpText() const {
  String text = "(";
  for (size_t i = 0; i < FAlts.size(); ++i)
    text += (i ? "|" : "") + FAlts[i]->DumpText();
  return text + ")" + FQuantifier->Suffix();
}

void TcxRegExprParserBlockItem::MarkFinal() {
  for (const auto& alt : FAlts)
    alt->MarkFinal();
}

void TcxRegExprParserBlockItem::LinkInside() {
  for (const auto& alt : FAlts)
    for (TcxRegExprState* node : alt->FirstNodes(0))
      FEntry.AddNext(node);
  if (std::any_of(FAlts.begin(), FAlts.end(), [](const auto& alt) { return alt->MayBeAllAbsent(); }))
    FEntry.AddNext(&FExit);
  for (const auto& alt : FAlts)
    alt->Link();
  for (const auto& alt : FAlts)
    for (TcxRegExprState* node : alt->LastNodes())
      node->AddNext(&FExit);
}

int64_t TcxRegExprParserBlockItem::Weight(int64_t Limit) const {
  int64_t weight = 3; // entry, exit and the link between them
  for (const auto& alt : FAlts) {
    weight += alt->CountLinks() + static_cast<int64_t>(alt->FirstNodes(0).size() + alt->LastNodes().size());
    for (int i = 0; i < alt->GetCount() && weight <= Limit; ++i)
      weight += alt->GetItem(i)->Weight(Limit - weight);
  }
  return weight;
}
int TcxRegExprParserBlockItem::Depth() const {
  int depth = 0;
  for (const auto& alt : FAlts)
    for (int i = 0; i < alt->GetCount(); ++i)
      depth = std::max(depth, alt->GetItem(i)->Depth());
  return depth + 1;
}

TcxRegExprParserItemPtr TcxRegExprParserAlt::ReplaceLast(TcxRegExprParserItemPtr Item) {
  TcxRegExprParserItemPtr old = std::move(FItems.back());
  FItems.back() = std::move(Item);
  return old;
}

bool TcxRegExprParserAlt::MayBeAllAbsent() const {
  return std::all_of(FItems.begin(), FItems.end(), [](const auto& item) { return item->MayBeAbsent(); });
}

bool TcxRegExprParserAlt::MatchesEmpty() const {
  return std::all_of(FItems.begin(), FItems.end(), [](const auto& item) { return item->MatchesEmpty(); });
}

std::vector<TcxRegExprState*> TcxRegExprParserAlt::FirstNodes(int Index) const {
  std::vector<TcxRegExprState*> nodes;
  for (int i = Index; i < GetCount(); ++i) {
    nodes.push_back(FItems[i]->Entry());
    if (!FItems[i]->MayBeAbsent()) break;
  }
  return nodes;
}

// Each item links to the first nodes after it: a run of items that may be
// absent makes their number grow with the square of its length.
int64_t TcxRegExprParserAlt::CountLinks() const {
  int64_t links = 0, firstAfter = 0;
  for (int i = GetCount() - 1; i >= 0; --i) {
    links += firstAfter + (FItems[i]->GetQuantifier()->MayRepeat() ? 1 : 0);
    firstAfter = FItems[i]->MayBeAbsent() ? firstAfter + 1 : 1;
  }
  return links;
}

std::vector<TcxRegExprState*> TcxRegExprParserAlt::LastNodes() const {
  std::vector<TcxRegExprState*> nodes;
  for (int i = GetCount() - 1; i >= 0; --i) {
    nodes.push_back(FItems[i]->Exit());
    if (!FItems[i]->MayBeAbsent()) break;
  }
  return nodes;
}

void TcxRegExprParserAlt::Link() {
  for (int i = 0; i < GetCount(); ++i) {
    TcxRegExprParserItem& item = *FItems[i];
    for (TcxRegExprState* node : FirstNodes(i + 1))
      item.Exit()->AddNext(node);
    if (item.GetQuantifier()->MayRepeat()) item.Exit()->AddNext(item.Entry());
    item.LinkInside();
  }
}

// Whether a group's content can match the empty text plays no part: the walk
// stops at the first item that must be present.
void TcxRegExprParserAlt::MarkFinal() {
  for (int i = GetCount() - 1; i >= 0; --i) {
    FItems[i]->MarkFinal();
    if (!FItems[i]->MayBeAbsent()) break;
  }
}

std::unique_ptr<TcxRegExprParserAlt> TcxRegExprParserAlt::Copy() const {
  auto copy = std::make_unique<TcxRegExprParserAlt>();
  for (const auto& item : FItems)
    copy->Add(item->CopyParserItem());
  return copy;
}

String TcxRegExprParserAlt::DumpText() const {
  String text;
  for (const auto& item : FItems)
    text += item->DumpText();
  return text;
}
