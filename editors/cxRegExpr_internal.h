// The inside of the regular-expression compiler: character matchers,
// automaton nodes and state sets, quantifiers, the parse tree, the lexer,
// the parser and the automaton.
#pragma once

#include "cxRegExpr.h"

#include <cstdint>
#include <memory>
#include <vector>

// Whitespace of patterns and of \s: NUL, TAB, LF, FF, CR and space.
bool cxRegExprIsSpace(char C);

// ---- character matchers ----

class TcxRegExprItem {
public:
  virtual ~TcxRegExprItem() = default;
  // May rewrite the character (a case-insensitive symbol gives its own case).
  virtual bool Matches(char& Ch, bool CaseInsensitive) const = 0;
  virtual std::unique_ptr<TcxRegExprItem> CopyItem() const = 0;
  // The one character it stands for at this moment, if it is a literal or a
  // separator.
  virtual bool FixedChar(char& /*Ch*/) const { return false; }
  virtual String DumpText() const = 0;
  // What it costs in memory and matching, counted with the nodes (see
  // TcxRegExprParserItem::Weight): a set counts its members too.
  virtual int64_t Weight() const { return 1; }
};

class TcxRegExprSymbol : public TcxRegExprItem {
public:
  explicit TcxRegExprSymbol(char C) : FChar(C) {}
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;
  bool FixedChar(char& Ch) const override;
  String DumpText() const override;

private:
  char FChar;
};

class TcxRegExprTimeSeparator : public TcxRegExprItem {
public:
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;
  bool FixedChar(char& Ch) const override;
  String DumpText() const override { return ":"; }
};

class TcxRegExprDateSeparator : public TcxRegExprItem {
public:
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;
  bool FixedChar(char& Ch) const override;
  String DumpText() const override { return "/"; }
};

class TcxRegExprSubrange : public TcxRegExprItem {
public:
  TcxRegExprSubrange(char First, char Last) : FFirst(First), FLast(Last) {}
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;
  String DumpText() const override;

private:
  char FFirst, FLast;
};

class TcxRegExprAll : public TcxRegExprItem {
public:
  bool Matches(char&, bool) const override { return true; }
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;
  String DumpText() const override { return "."; }
};

class TcxRegExprEnumeration : public TcxRegExprItem {
public:
  explicit TcxRegExprEnumeration(bool Inverse) : FInverse(Inverse) {}

protected:
  bool FInverse;
};

class TcxRegExprUserEnumeration : public TcxRegExprEnumeration {
public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  void Add(std::unique_ptr<TcxRegExprItem> Member) { FMembers.push_back(std::move(Member)); }
  bool Matches(char& Ch, bool CaseInsensitive) const override;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;
  String DumpText() const override;
  int64_t Weight() const override;

private:
  std::vector<std::unique_ptr<TcxRegExprItem>> FMembers;
};

// A character class with its complement: \d \D, \w \W, \s \S.
class TcxRegExprClass : public TcxRegExprEnumeration {
public:
  bool Matches(char& Ch, bool) const override { return InClass(Ch) != FInverse; }
  String DumpText() const override;

protected:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  virtual bool InClass(char Ch) const = 0;
  virtual char Letter() const = 0;
};

class TcxRegExprDigit : public TcxRegExprClass {
public:
  using TcxRegExprClass::TcxRegExprClass;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;

protected:
  bool InClass(char Ch) const override { return Ch >= '0' && Ch <= '9'; }
  char Letter() const override { return 'd'; }
};

class TcxRegExprIdLetter : public TcxRegExprClass {
public:
  using TcxRegExprClass::TcxRegExprClass;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;

protected:
  bool InClass(char Ch) const override;
  char Letter() const override { return 'w'; }
};

class TcxRegExprSpace : public TcxRegExprClass {
public:
  using TcxRegExprClass::TcxRegExprClass;
  std::unique_ptr<TcxRegExprItem> CopyItem() const override;

protected:
  bool InClass(char Ch) const override { return cxRegExprIsSpace(Ch); }
  char Letter() const override { return 's'; }
};

// ---- automaton nodes ----

class TcxRegExprSimpleState;

class TcxRegExprState {
public:
  virtual ~TcxRegExprState() = default;
  void AddNext(TcxRegExprState* State) { FNext.push_back(State); }
  const std::vector<TcxRegExprState*>& GetNext() const { return FNext; }
  // A consuming node, or none for a pass-through node.
  virtual TcxRegExprSimpleState* AsSimple() { return nullptr; }

  // The walk that last reached this node (see TcxRegExprStates).
  uint64_t Mark = 0;

private:
  std::vector<TcxRegExprState*> FNext; // successors, not owned
};

class TcxRegExprSimpleState : public TcxRegExprState {
public:
  explicit TcxRegExprSimpleState(std::unique_ptr<TcxRegExprItem> Matcher) : FMatcher(std::move(Matcher)) {}
  TcxRegExprSimpleState* AsSimple() override { return this; }
  std::unique_ptr<TcxRegExprSimpleState> CopyState() const;
  bool Matches(char& Ch, bool CaseInsensitive) const {
    return FMatcher && FMatcher->Matches(Ch, CaseInsensitive);
  }
  const TcxRegExprItem* GetMatcher() const { return FMatcher.get(); }

  bool Final = false;

private:
  std::unique_ptr<TcxRegExprItem> FMatcher; // none for the start node
};

// Group entries and exits: they consume nothing and stand for their successors.
class TcxRegExprBlockState : public TcxRegExprState {};

// A state set: consuming nodes in order, owned elsewhere. Built by walks that
// follow pass-through nodes the way the recursive union of the successors
// would, except that a pass-through node is walked once per step and a node
// is added once (its first occurrence): a group whose content matches the
// empty text links its exit back to its entry, and the sets of "(a|a)*" would
// otherwise double with each character.
class TcxRegExprStates {
public:
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TcxRegExprSimpleState* GetItem(int Index) const { return FItems[Index]; }
  void Add(TcxRegExprSimpleState* State) { FItems.push_back(State); }
  bool HasFinal() const;
  // The literal or separator character every node stands for, if they agree.
  bool SingleFixedChar(char& Ch) const;

private:
  std::vector<TcxRegExprSimpleState*> FItems;
};

// Walks the successors of nodes; one walk is one step.
class TcxRegExprWalker {
public:
  // The nodes that the successors of States reach with the character.
  TcxRegExprStates NextStates(const TcxRegExprStates& States, char& Ch, bool CaseInsensitive);
  // The consuming nodes the successors of States stand for: what may come next.
  TcxRegExprStates SimpleStates(const TcxRegExprStates& States);

private:
  template <typename Accept> void Walk(const TcxRegExprStates& From, TcxRegExprStates& Into, Accept&& accept);

  uint64_t FStep = 0;
  std::vector<TcxRegExprState*> FStack;
};

// ---- quantifiers (stateless: one shared instance of each) ----

class TcxRegExprQuantifier {
public:
  virtual ~TcxRegExprQuantifier() = default;
  virtual bool MayBeAbsent() const = 0;
  virtual bool MayRepeat() const = 0;
  virtual String Suffix() const = 0;
};

class TcxRegExprSimpleQuantifier : public TcxRegExprQuantifier {
public:
  bool MayBeAbsent() const override { return false; }
  bool MayRepeat() const override { return false; }
  String Suffix() const override { return ""; }
  static const TcxRegExprQuantifier* Instance();
};

class TcxRegExprQuestionQuantifier : public TcxRegExprQuantifier {
public:
  bool MayBeAbsent() const override { return true; }
  bool MayRepeat() const override { return false; }
  String Suffix() const override { return "?"; }
  static const TcxRegExprQuantifier* Instance();
};

class TcxRegExprStarQuantifier : public TcxRegExprQuantifier {
public:
  bool MayBeAbsent() const override { return true; }
  bool MayRepeat() const override { return true; }
  String Suffix() const override { return "*"; }
  static const TcxRegExprQuantifier* Instance();
};

class TcxRegExprPlusQuantifier : public TcxRegExprQuantifier {
public:
  bool MayBeAbsent() const override { return false; }
  bool MayRepeat() const override { return true; }
  String Suffix() const override { return "+"; }
  static const TcxRegExprQuantifier* Instance();
};

// ---- parse tree ----

class TcxRegExprParserItem;
using TcxRegExprParserItemPtr = std::unique_ptr<TcxRegExprParserItem>;

class TcxRegExprParserAlt {
public:
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TcxRegExprParserItem* GetItem(int Index) const { return FItems[Index].get(); }
  TcxRegExprParserItem* Last() const { return FItems.empty() ? nullptr : FItems.back().get(); }
  void Add(TcxRegExprParserItemPtr Item) { FItems.push_back(std::move(Item)); }
  // Replaces the last item, handing it back.
  TcxRegExprParserItemPtr ReplaceLast(TcxRegExprParserItemPtr Item);

  bool MayBeAllAbsent() const;
  bool MatchesEmpty() const;
  // Entry nodes of the items from Index up to the first that must be present.
  std::vector<TcxRegExprState*> FirstNodes(int Index) const;
  std::vector<TcxRegExprState*> LastNodes() const;
  // The links that Link makes between the items (not inside them).
  int64_t CountLinks() const;
  void Link();
  void MarkFinal();
  std::unique_ptr<TcxRegExprParserAlt> Copy() const;
  String DumpText() const;

private:
  std::vector<TcxRegExprParserItemPtr> FItems;
};

using TcxRegExprParserAlts = std::vector<std::unique_ptr<TcxRegExprParserAlt>>;

class TcxRegExprParserItem {
public:
  TcxRegExprParserItem() = default;
  TcxRegExprParserItem(const TcxRegExprParserItem&) = delete;
  TcxRegExprParserItem& operator=(const TcxRegExprParserItem&) = delete;
  virtual ~TcxRegExprParserItem() = default;
  const TcxRegExprQuantifier* GetQuantifier() const { return FQuantifier; }
  // None leaves the quantifier as it is.
  void SetQuantifier(const TcxRegExprQuantifier* Value);
  bool MayBeAbsent() const { return FQuantifier->MayBeAbsent(); }
  bool IsQuantified() const { return FQuantifier != TcxRegExprSimpleQuantifier::Instance(); }

  virtual bool MatchesEmpty() const = 0;
  virtual TcxRegExprParserItemPtr CopyParserItem() const = 0;
  virtual String DumpText() const = 0;
  virtual void MarkFinal() = 0;

  virtual TcxRegExprState* Entry() = 0;
  virtual TcxRegExprState* Exit() = 0;
  // Links what lies inside the item (nothing for a single node).
  virtual void LinkInside() {}
  // What the item costs in memory and in matching: its nodes, weighed by
  // their matchers, and the links inside it; counted no further than past
  // Limit.
  virtual int64_t Weight(int64_t Limit) const = 0;
  // Groups nested in the item, itself included.
  virtual int Depth() const = 0;

protected:
  const TcxRegExprQuantifier* FQuantifier = TcxRegExprSimpleQuantifier::Instance();
};

class TcxRegExprParserSimpleItem : public TcxRegExprParserItem {
public:
  explicit TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprItem> Matcher);
  explicit TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprSimpleState> State);
  bool MatchesEmpty() const override { return MayBeAbsent(); }
  TcxRegExprParserItemPtr CopyParserItem() const override;
  String DumpText() const override;
  void MarkFinal() override { FState->Final = true; }
  TcxRegExprState* Entry() override { return FState.get(); }
  TcxRegExprState* Exit() override { return FState.get(); }
  int64_t Weight(int64_t) const override { return FState->GetMatcher()->Weight(); }
  int Depth() const override { return 0; }

private:
  std::unique_ptr<TcxRegExprSimpleState> FState;
};

class TcxRegExprParserBlockItem : public TcxRegExprParserItem {
public:
  TcxRegExprParserAlt* AddAlt();
  const TcxRegExprParserAlts& GetAlts() const { return FAlts; }
  bool MatchesEmpty() const override;
  TcxRegExprParserItemPtr CopyParserItem() const override;
  String DumpText() const override;
  void MarkFinal() override;
  TcxRegExprState* Entry() override { return &FEntry; }
  TcxRegExprState* Exit() override { return &FExit; }
  void LinkInside() override;
  int64_t Weight(int64_t Limit) const override;
  int Depth() const override;

private:
  TcxRegExprParserAlts FAlts;
  TcxRegExprBlockState FExit;
  TcxRegExprBlockState FEntry;
};

// ---- lexer and parser ----

class TcxRegExprLexer {
public:
  TcxRegExprLexer(const char* Source, size_t Size, TcxLexems& Lexems, TcxRegExprErrors& Errors)
      : FSource(Source), FSize(Size), FLexems(Lexems), FErrors(Errors) {}
  void Run();

private:
  bool AtEnd() const { return FReadIndex >= FSize; }
  char Peek() const { return FSource[FReadIndex]; }
  char Read();
  void Emit(TcxLexemCode Code, const String& Value, int32_t Line, int32_t Column);
  void Emit(TcxLexemCode Code, char Value) { Emit(Code, String(1, Value), FLine, FColumn); }
  void AddError(int32_t Line, int32_t Column, const String& Message);
  void AddErrorAfterEnd(const String& Message) { AddError(FLine, FColumn + 1, Message); }

  void Quoted();
  void Escape();
  void HexEscape(int32_t Line, int32_t Column);
  // Handles the characters that mean the same first in a set and later on.
  bool SetCommon(char C);
  void Set();
  void SetDash();
  void Braces();

  const char* FSource;
  size_t FSize;
  TcxLexems& FLexems;
  TcxRegExprErrors& FErrors;
  size_t FReadIndex = 0;
  int32_t FLine = 1;
  int32_t FColumn = 0;
};

class TcxRegExprParser {
public:
  TcxRegExprParser(const TcxLexems& Lexems, TcxRegExprErrors& Errors) : FLexems(Lexems), FErrors(Errors) {}
  // The top-level alternatives, or none when errors were added.
  std::unique_ptr<TcxRegExprParserAlts> Run();

  // Far above any mask; they bound the memory, the stack depth and the work
  // of one step of the automaton. Copies and expansions count their weight
  // (nodes, set members and links) against MaxNodes.
  static constexpr int64_t MaxNodes = 20000;
  static constexpr int MaxNesting = 1000;

private:
  enum TAltEnd { aeGoOn, aeEnd, aeNext };

  const TcxLexem* Next();
  void AddError(const TcxLexem* At, const String& Message);
  bool IsOperator(const TcxLexem* Lexem, char C) const;

  bool ParseAlternative(TcxRegExprParserAlt& Alt, bool TopLevel);
  TAltEnd HandleLexem(TcxRegExprParserAlt& Alt, const TcxLexem& Lexem, bool TopLevel);
  void AppendMatcher(TcxRegExprParserAlt& Alt, std::unique_ptr<TcxRegExprItem> Matcher);
  void ParseGroup(TcxRegExprParserAlt& Alt, const TcxLexem& Open);
  void SkipGroup();
  void ParseSet(TcxRegExprParserAlt& Alt);
  void ParseSetMembers(TcxRegExprUserEnumeration& Set, TcxLexem First);
  void AddSetMember(TcxRegExprUserEnumeration& Set, const TcxLexem& Lexem);
  void AppendReference(TcxRegExprParserAlt& Alt, const TcxLexem& Lexem);
  void ApplyQuantifier(TcxRegExprParserAlt& Alt, const TcxLexem& Lexem);
  void ParseBounds(TcxRegExprParserAlt& Alt, const TcxLexem& Brace);
  bool ReadBounds(int& N, int& M, bool& Unbounded);
  void Expand(TcxRegExprParserAlt& Alt, const TcxLexem& Brace, int N, int M, bool Unbounded);
  // Whether Copies copies of Item and Groups more groups fit the limits.
  bool Fits(const TcxRegExprParserItem& Item, int64_t Copies, int64_t Groups, int Depth) const;

  const TcxLexems& FLexems;
  TcxRegExprErrors& FErrors;
  int FLexemIndex = 0;
  TcxLexem FCurrent; // the lexem read last
  int FNesting = 0;
  int64_t FNodesCreated = 0;
  std::vector<TcxRegExprParserBlockItem*> FGroups; // numbered groups, in tree or retired
  std::vector<TcxRegExprParserItemPtr> FRetired;   // expanded numbered groups, kept for \N
};

// ---- the automaton ----

class TcxRegExprAutomat {
public:
  TcxRegExprAutomat(TcxRegExpr& Owner, std::unique_ptr<TcxRegExprParserAlts> Alts);
  bool Advance(char& Ch, bool CaseInsensitive);
  bool Retreat();
  void ResetAutomat();
  bool HasFinal() const { return FCurrent.HasFinal(); }
  bool IsAtStart() const { return FCurrent.GetCount() > 0 && FCurrent.GetItem(0) == &FStart; }
  void InsertForcedLiterals();
  void RemoveForcedLiterals();
  String DumpText() const;

private:
  TcxRegExprStates FCurrent;
  std::unique_ptr<TcxRegExprParserAlts> FAlts;
  std::vector<TcxRegExprStates> FHistory;
  TcxRegExpr& FOwner;
  TcxRegExprSimpleState FStart{nullptr};
  TcxRegExprWalker FWalker;
  int64_t FNodeCount = 0; // at least the nodes: bounds a run of forced literals
};
