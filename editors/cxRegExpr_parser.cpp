// The parser: lexems to the tree of alternatives and items, every error
// collected; quantifiers applied or wrapped, counts expanded, \N copied.
#include "cxMaskConsts.h"
#include "cxRegExpr_internal.h"

#include <algorithm>

namespace {

std::unique_ptr<TcxRegExprItem> ClassMatcher(TcxLexemCode Code) {
  switch (Code) {
  case lcAnyChar:
    return std::make_unique<TcxRegExprAll>();
  case lcIdLetter:
    return std::make_unique<TcxRegExprIdLetter>(false);
  case lcNotIdLetter:
    return std::make_unique<TcxRegExprIdLetter>(true);
  case lcDigit:
    return std::make_unique<TcxRegExprDigit>(false);
  case lcNotDigit:
    return std::make_unique<TcxRegExprDigit>(true);
  case lcSpace:
    return std::make_unique<TcxRegExprSpace>(false);
  case lcNotSpace:
    return std::make_unique<TcxRegExprSpace>(true);
  case lcDateSeparator:
    return std::make_unique<TcxRegExprDateSeparator>();
  case lcTimeSeparator:
    return std::make_unique<TcxRegExprTimeSeparator>();
  default:
    return nullptr;
  }
}

const TcxRegExprQuantifier* QuantifierOf(char C) {
  switch (C) {
  case '?':
    return TcxRegExprQuestionQuantifier::Instance();
  case '*':
    return TcxRegExprStarQuantifier::Instance();
  default:
    return TcxRegExprPlusQuantifier::Instance();
  }
}

TcxRegExprParserItemPtr CopyWith(const TcxRegExprParserItem& Item, const TcxRegExprQuantifier* Quantifier) {
  TcxRegExprParserItemPtr copy = Item.CopyParserItem();
  copy->SetQuantifier(Quantifier);
  return copy;
}

} // namespace

const TcxLexem* TcxRegExprParser::Next() {
  if (FLexemIndex >= FLexems.GetCount()) return nullptr;
  FCurrent = FLexems.GetItem(FLexemIndex++);
  return &FCurrent;
}

void TcxRegExprParser::AddError(const TcxLexem* At, const String& Message) {
  FErrors.Add(TcxRegExprError{At ? At->Char : 0, At ? At->Line : 0, Message});
}

bool TcxRegExprParser::IsOperator(const TcxLexem* Lexem, char C) const {
  return Lexem && Lexem->Code == lcOperator && Lexem->Value[0] == C;
}

std::unique_ptr<TcxRegExprParserAlts> TcxRegExprParser::Run() {
  auto alts = std::make_unique<TcxRegExprParserAlts>();
  do
    alts->push_back(std::make_unique<TcxRegExprParserAlt>());
  while (ParseAlternative(*alts->back(), true));
  if (FErrors.GetCount() > 0) return nullptr;
  for (const auto& alt : *alts)
    alt->Link();
  for (const auto& alt : *alts)
    alt->MarkFinal();
  return alts;
}

// Whether another alternative follows.
bool TcxRegExprParser::ParseAlternative(TcxRegExprParserAlt& Alt, bool TopLevel) {
  const TcxLexem* lexem = Next();
  if (!lexem) {
    AddError(nullptr, cxGetResourceString(cxSRegExprEmptyAlternative));
    return false;
  }
  if (IsOperator(lexem, '|')) {
    AddError(lexem, cxGetResourceString(cxSRegExprEmptyAlternative));
    return true;
  }
  if (!TopLevel && IsOperator(lexem, ')')) {
    AddError(lexem, cxGetResourceString(cxSRegExprEmptyBlock));
    return false;
  }
  do {
    switch (HandleLexem(Alt, *lexem, TopLevel)) {
    case aeGoOn:
      break;
    case aeEnd:
      return false;
    case aeNext:
      return true;
    }
  } while ((lexem = Next()));
  return false;
}

TcxRegExprParser::TAltEnd TcxRegExprParser::HandleLexem(TcxRegExprParserAlt& Alt, const TcxLexem& Lexem,
                                                        bool TopLevel) {
  switch (Lexem.Code) {
  case lcSymbol:
    AppendMatcher(Alt, std::make_unique<TcxRegExprSymbol>(Lexem.Value[0]));
    return aeGoOn;
  case lcReference:
    AppendReference(Alt, Lexem);
    return aeGoOn;
  case lcInteger:
    AddError(&Lexem, cxGetResourceString(cxSRegExprIllegalIntegerValue));
    return aeGoOn;
  case lcOperator:
    break;
  default:
    AppendMatcher(Alt, ClassMatcher(Lexem.Code));
    return aeGoOn;
  }
  const TcxLexem lexem = Lexem; // the reads below reuse the current lexem
  switch (lexem.Value[0]) {
  case '(':
    ParseGroup(Alt, lexem);
    break;
  case '[':
    ParseSet(Alt);
    break;
  case ')':
    if (!TopLevel) return aeEnd;
    AddError(&lexem, Format(cxGetResourceString(cxSRegExprIllegalSymbol), ")"));
    break;
  case '|':
    return aeNext;
  case '*':
  case '+':
  case '?':
    ApplyQuantifier(Alt, lexem);
    break;
  case '{':
    ParseBounds(Alt, lexem);
    break;
  case ']':
  case '}':
  case '-':
    AddError(&lexem, Format(cxGetResourceString(cxSRegExprIllegalSymbol), lexem.Value));
    break;
  default:
    break; // ',' and '^' out of place mean nothing
  }
  return aeGoOn;
}

void TcxRegExprParser::AppendMatcher(TcxRegExprParserAlt& Alt, std::unique_ptr<TcxRegExprItem> Matcher) {
  FNodesCreated += Matcher->Weight();
  Alt.Add(std::make_unique<TcxRegExprParserSimpleItem>(std::move(Matcher)));
}

bool TcxRegExprParser::Fits(const TcxRegExprParserItem& Item, int64_t Copies, int64_t Groups,
                            int Depth) const {
  if (FNesting + Depth > MaxNesting) return false;
  const int64_t room = MaxNodes - FNodesCreated - 2 * Groups;
  if (room < 0) return false;
  if (Copies == 0) return true;
  return Item.Weight(room / Copies + 1) * Copies <= room;
}

void TcxRegExprParser::ParseGroup(TcxRegExprParserAlt& Alt, const TcxLexem& Open) {
  if (FNesting >= MaxNesting) {
    AddError(&Open, Format(cxGetResourceString(cxSRegExprIllegalSymbol), "("));
    SkipGroup();
    return;
  }
  auto group = std::make_unique<TcxRegExprParserBlockItem>();
  FNodesCreated += 2;
  FGroups.push_back(group.get());
  ++FNesting;
  while (ParseAlternative(*group->AddAlt(), false)) {
  }
  --FNesting;
  Alt.Add(std::move(group));
}

// Steps over a group refused for its depth, to its closing parenthesis,
// without going deeper.
void TcxRegExprParser::SkipGroup() {
  int depth = 1;
  while (depth > 0) {
    const TcxLexem* lexem = Next();
    if (!lexem) return;
    if (IsOperator(lexem, '(')) ++depth;
    if (IsOperator(lexem, ')')) --depth;
  }
}

void TcxRegExprParser::ParseSet(TcxRegExprParserAlt& Alt) {
  const TcxLexem* l1 = Next();
  const bool inverse = IsOperator(l1, '^');
  if (inverse) l1 = Next();
  auto set = std::make_unique<TcxRegExprUserEnumeration>(inverse);
  if (IsOperator(l1, ']'))
    AddError(l1, cxGetResourceString(cxSRegExprCantCreateEmptyEnum));
  else if (l1)
    ParseSetMembers(*set, *l1);
  AppendMatcher(Alt, std::move(set));
}

// The lexer closed every set, so the reads end at its ']'.
void TcxRegExprParser::ParseSetMembers(TcxRegExprUserEnumeration& Set, TcxLexem First) {
  while (!IsOperator(&First, ']')) {
    const TcxLexem* l2 = Next();
    if (!l2) return;
    if (!IsOperator(l2, '-')) {
      AddSetMember(Set, First);
      First = *l2;
      continue;
    }
    l2 = Next();
    if (!l2) return;
    if (static_cast<unsigned char>(First.Value[0]) < static_cast<unsigned char>(l2->Value[0]))
      Set.Add(std::make_unique<TcxRegExprSubrange>(First.Value[0], l2->Value[0]));
    else
      AddError(l2, cxGetResourceString(cxSRegExprSubrangeOrder));
    const TcxLexem* l1 = Next();
    while (IsOperator(l1, '-')) {
      AddError(l1, Format(cxGetResourceString(cxSRegExprIllegalSymbol), "-"));
      l1 = Next();
    }
    if (!l1) return;
    First = *l1;
  }
}

void TcxRegExprParser::AddSetMember(TcxRegExprUserEnumeration& Set, const TcxLexem& Lexem) {
  std::unique_ptr<TcxRegExprItem> matcher = ClassMatcher(Lexem.Code);
  Set.Add(matcher ? std::move(matcher) : std::make_unique<TcxRegExprSymbol>(Lexem.Value[0]));
}

// A copy of the group as it stands now, not of the text it matched.
void TcxRegExprParser::AppendReference(TcxRegExprParserAlt& Alt, const TcxLexem& Lexem) {
  const size_t number = static_cast<size_t>(Lexem.Value[0] - '0');
  if (number > FGroups.size() || !Fits(*FGroups[number - 1], 1, 0, FGroups[number - 1]->Depth())) {
    AddError(&Lexem, cxGetResourceString(cxSRegExprTooBigReferenceNumber));
    return;
  }
  TcxRegExprParserItemPtr copy = FGroups[number - 1]->CopyParserItem();
  FNodesCreated += copy->Weight(MaxNodes);
  Alt.Add(std::move(copy));
}

void TcxRegExprParser::ApplyQuantifier(TcxRegExprParserAlt& Alt, const TcxLexem& Lexem) {
  TcxRegExprParserItem* last = Alt.Last();
  const char op = Lexem.Value[0];
  if (!last) {
    AddError(&Lexem, Format(cxGetResourceString(cxSRegExprIllegalQuantifier), Lexem.Value));
    return;
  }
  if (op != '?' && last->MatchesEmpty()) {
    AddError(&Lexem, cxGetResourceString(op == '*' ? cxSRegExprCantUseStarQuantifier
                                                   : cxSRegExprCantUsePlusQuantifier));
    return;
  }
  if (!last->IsQuantified()) {
    last->SetQuantifier(QuantifierOf(op));
    return;
  }
  // "a*?" is "(a*)?": each further quantifier wraps, and nests one deeper.
  if (!Fits(*last, 0, 1, last->Depth() + 1)) {
    AddError(&Lexem, Format(cxGetResourceString(cxSRegExprIllegalQuantifier), Lexem.Value));
    return;
  }
  auto wrap = std::make_unique<TcxRegExprParserBlockItem>();
  FNodesCreated += 2;
  wrap->SetQuantifier(QuantifierOf(op));
  TcxRegExprParserBlockItem& group = *wrap;
  group.AddAlt()->Add(Alt.ReplaceLast(std::move(wrap)));
}

void TcxRegExprParser::ParseBounds(TcxRegExprParserAlt& Alt, const TcxLexem& Brace) {
  if (!Alt.Last()) {
    // What follows the brace is then read as ordinary lexems.
    AddError(&Brace, cxGetResourceString(cxSRegExprIncorrectParameterQuantifier));
    return;
  }
  int n = 0, m = 0;
  bool unbounded = false;
  if (ReadBounds(n, m, unbounded)) Expand(Alt, Brace, n, m, unbounded);
}

// n, n-comma or n-comma-m with m not below n, then the closing brace; the
// error stands at the lexem where the form broke.
bool TcxRegExprParser::ReadBounds(int& N, int& M, bool& Unbounded) {
  const TcxLexem* lexem = Next();
  if (lexem && lexem->Code == lcInteger) {
    N = M = StrToInt(lexem->Value);
    lexem = Next();
    if (IsOperator(lexem, '}')) return true;
    if (IsOperator(lexem, ',')) {
      lexem = Next();
      Unbounded = IsOperator(lexem, '}');
      if (Unbounded) return true;
      if (lexem && lexem->Code == lcInteger) {
        M = StrToInt(lexem->Value);
        if (M >= N) {
          lexem = Next();
          if (IsOperator(lexem, '}')) return true;
        }
      }
    }
  }
  AddError(lexem, cxGetResourceString(cxSRegExprIncorrectParameterQuantifier));
  return false;
}

// X{n,m} becomes a group of n copies of X followed by X* (m unbounded) or by
// the optional chain (X(X(...X?)?)?) of m - n copies.
void TcxRegExprParser::Expand(TcxRegExprParserAlt& Alt, const TcxLexem& Brace, int N, int M, bool Unbounded) {
  TcxRegExprParserItem& x = *Alt.Last();
  if (x.MayBeAbsent()) {
    AddError(&Brace, cxGetResourceString(cxSRegExprCantUseParameterQuantifier));
    return;
  }
  const int64_t optional = Unbounded ? 1 : int64_t(M) - N;
  const int64_t chain = optional > 1 ? optional - 1 : 0;
  if (chain + 1 + x.Depth() > MaxNesting ||
      !Fits(x, N + optional, 1 + chain, static_cast<int>(chain) + 1 + x.Depth())) {
    AddError(&Brace, cxGetResourceString(cxSRegExprIncorrectParameterQuantifier));
    return;
  }
  auto group = std::make_unique<TcxRegExprParserBlockItem>();
  TcxRegExprParserAlt& content = *group->AddAlt();
  for (int i = 0; i < N; ++i)
    content.Add(x.CopyParserItem());
  if (Unbounded) {
    content.Add(CopyWith(x, TcxRegExprStarQuantifier::Instance()));
  } else if (optional > 0) {
    TcxRegExprParserItemPtr tail = CopyWith(x, TcxRegExprQuestionQuantifier::Instance());
    for (int64_t k = 0; k < chain; ++k) {
      auto link = std::make_unique<TcxRegExprParserBlockItem>();
      link->SetQuantifier(TcxRegExprQuestionQuantifier::Instance());
      TcxRegExprParserAlt& linkContent = *link->AddAlt();
      linkContent.Add(x.CopyParserItem());
      linkContent.Add(std::move(tail));
      tail = std::move(link);
    }
    content.Add(std::move(tail));
  }
  FNodesCreated += group->Weight(MaxNodes);
  // A numbered group leaves the tree but keeps its number for \N.
  TcxRegExprParserItemPtr old = Alt.ReplaceLast(std::move(group));
  if (std::find(FGroups.begin(), FGroups.end(), old.get()) != FGroups.end())
    FRetired.push_back(std::move(old));
}
