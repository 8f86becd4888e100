// The compiler object and the incremental matcher with its history and its
// forced literals.
#include "cxRegExpr.h"

#include "cxMaskConsts.h"
#include "cxRegExpr_internal.h"

#include <algorithm>

// ---- the automaton ----

TcxRegExprAutomat::TcxRegExprAutomat(TcxRegExpr& Owner, std::unique_ptr<TcxRegExprParserAlts> Alts)
    : FAlts(std::move(Alts)), FOwner(Owner) {
  for (const auto& alt : *FAlts) {
    for (TcxRegExprState* node : alt->FirstNodes(0))
      FStart.AddNext(node);
    if (alt->MayBeAllAbsent()) FStart.Final = true;
    for (int i = 0; i < alt->GetCount(); ++i)
      FNodeCount += alt->GetItem(i)->Weight(TcxRegExprParser::MaxNodes);
  }
  FCurrent.Add(&FStart);
}

bool TcxRegExprAutomat::Advance(char& Ch, bool CaseInsensitive) {
  TcxRegExprStates next = FWalker.NextStates(FCurrent, Ch, CaseInsensitive);
  if (next.GetCount() == 0) return false;
  FHistory.push_back(std::move(FCurrent));
  FCurrent = std::move(next);
  return true;
}

bool TcxRegExprAutomat::Retreat() {
  if (FHistory.empty()) return false;
  FCurrent = std::move(FHistory.back());
  FHistory.pop_back();
  return true;
}

void TcxRegExprAutomat::ResetAutomat() {
  FHistory.clear();
  FCurrent = TcxRegExprStates();
  FCurrent.Add(&FStart);
}

// Inserts while the text is not complete and the only way on is one fixed
// character. A run longer than the automaton has nodes can only be a loop
// that never completes the text ("(ab)+c{0}"): it stops there.
void TcxRegExprAutomat::InsertForcedLiterals() {
  for (int64_t inserted = 0; !FCurrent.HasFinal() && inserted <= FNodeCount; ++inserted) {
    TcxRegExprStates next = FWalker.SimpleStates(FCurrent);
    char c;
    if (!next.SingleFixedChar(c)) return;
    if (FOwner.OnSymbolAdd) FOwner.OnSymbolAdd(c);
    FHistory.push_back(std::move(FCurrent));
    FCurrent = std::move(next);
  }
}

// Run before a step back: takes back the forced literals that follow the
// character typed last, so that one step back removes them with it.
void TcxRegExprAutomat::RemoveForcedLiterals() {
  char c;
  while (FCurrent.SingleFixedChar(c) && !FHistory.empty()) {
    const TcxRegExprStates& previous = FHistory.back();
    if (previous.HasFinal() || !FWalker.SimpleStates(previous).SingleFixedChar(c)) return;
    if (FOwner.OnSymbolDelete) FOwner.OnSymbolDelete();
    FCurrent = std::move(FHistory.back());
    FHistory.pop_back();
  }
}

String TcxRegExprAutomat::DumpText() const {
  String text;
  for (size_t i = 0; i < FAlts->size(); ++i)
    text += (i ? "|" : "") + (*FAlts)[i]->DumpText();
  return text;
}

// ---- the compiler object ----

TcxRegExpr::TcxRegExpr()
    : FErrors(std::make_unique<TcxRegExprErrors>()), FLexems(std::make_unique<TcxLexems>()),
      FSource(std::make_unique<TMemoryStream>()) {}

TcxRegExpr::~TcxRegExpr() = default;

// Case sensitivity, automatic literals and the events survive a new compile.
void TcxRegExpr::Reset() {
  FErrors = std::make_unique<TcxRegExprErrors>();
  FLexems = std::make_unique<TcxLexems>();
  FAutomat.reset();
  FCompiled = false;
}

void TcxRegExpr::RaiseErrors() const {
  throw EcxRegExprError(FErrors.get());
}

// Read into a new copy before the old one goes: the stream may be this
// compiler's own source.
std::unique_ptr<TMemoryStream> TcxRegExpr::LoadSource(TStream* Stream) {
  if (!Stream) return nullptr;
  auto source = std::make_unique<TMemoryStream>();
  try {
    source->CopyFrom(*Stream, 0);
  } catch (const EStreamError&) {
    return nullptr;
  }
  return source;
}

void TcxRegExpr::CompileFromStream(TStream* Stream) {
  std::unique_ptr<TMemoryStream> loaded = LoadSource(Stream);
  if (!FFirstCompile) Reset();
  FFirstCompile = false;
  if (!loaded) {
    FErrors->Add(TcxRegExprError{0, 0, cxGetResourceString(cxSRegExprNotAssignedSourceStream)});
    RaiseErrors();
  }
  FSource = std::move(loaded);
  const char* source = FSource->GetMemory();
  const size_t size = static_cast<size_t>(FSource->GetSize());
  if (std::all_of(source, source + size, cxRegExprIsSpace)) {
    FErrors->Add(TcxRegExprError{0, 0, cxGetResourceString(cxSRegExprEmptySourceStream)});
    RaiseErrors();
  }
  TcxRegExprLexer(source, size, *FLexems, *FErrors).Run();
  if (FErrors->GetCount() > 0) RaiseErrors();
  std::unique_ptr<TcxRegExprParserAlts> alts = TcxRegExprParser(*FLexems, *FErrors).Run();
  if (!alts) RaiseErrors();
  FAutomat = std::make_unique<TcxRegExprAutomat>(*this, std::move(alts));
  FCompiled = true;
  if (FAutoInsertLiterals) FAutomat->InsertForcedLiterals();
}

void TcxRegExpr::CheckCompiled() const {
  if (!FCompiled) throw Exception(cxGetResourceString(cxSRegExprNotCompiled));
}

bool TcxRegExpr::AcceptChar(char& Ch) {
  CheckCompiled();
  const bool accepted = FAutomat->Advance(Ch, CaseInsensitive);
  if (accepted && FAutoInsertLiterals && !FAutomat->HasFinal()) FAutomat->InsertForcedLiterals();
  return accepted;
}

bool TcxRegExpr::StepBack() {
  CheckCompiled();
  if (FAutoInsertLiterals) FAutomat->RemoveForcedLiterals();
  return FAutomat->Retreat();
}

void TcxRegExpr::RestartAutomaton() {
  CheckCompiled();
  FAutomat->ResetAutomat();
}

bool TcxRegExpr::InFinalState() {
  CheckCompiled();
  return FAutomat->HasFinal();
}

bool TcxRegExpr::AtStartState() {
  CheckCompiled();
  return FAutomat->IsAtStart();
}

String TcxRegExpr::FeedText(const String& Text) {
  CheckCompiled();
  String accepted;
  for (char given : Text) {
    char c = given;
    if (FAutomat->Advance(c, CaseInsensitive)) accepted += given;
  }
  return accepted;
}

void TcxRegExpr::SetAutoInsertLiterals(bool Value) {
  FAutoInsertLiterals = Value;
  if (FCompiled && Value) FAutomat->InsertForcedLiterals();
}

TStream* TcxRegExpr::CompiledSource() {
  return FCompiled ? FSource.get() : nullptr;
}

String TcxRegExpr::DumpText() const {
  return FAutomat ? FAutomat->DumpText() : String();
}
