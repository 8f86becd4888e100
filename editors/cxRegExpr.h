// Regular expressions for input masks: a pattern describes the whole text of
// an editor; it is compiled into a nondeterministic automaton that is driven
// one typed character at a time and can step back one character at a time.
// Portable: the masked editors use it, and it builds without Windows.
#pragma once

#include "Classes.h"
#include "SysUtils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum TcxLexemCode : uint8_t {
  lcSymbol,
  lcOperator,
  lcInteger,
  lcAnyChar,
  lcIdLetter,
  lcNotIdLetter,
  lcDigit,
  lcNotDigit,
  lcSpace,
  lcNotSpace,
  lcReference,
  lcDateSeparator,
  lcTimeSeparator
};

struct TcxLexem {
  int32_t Char = 0; // column of the first character on its line, from 1
  TcxLexemCode Code = lcSymbol;
  int32_t Line = 0;
  String Value; // one character, or the digits of an lcInteger
};

class TcxLexems {
public:
  void Add(const TcxLexem& Lexem) { FItems.push_back(Lexem); }
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TcxLexem GetItem(int Index) const { return FItems.at(Index); }

private:
  std::vector<TcxLexem> FItems;
};

struct TcxRegExprError {
  int32_t Column = 0;
  int32_t Line = 0;
  String Message;
  // "Line<n>, Char<m>: message"; the position parts only where they are known.
  String ErrorText() const;
};

class TcxRegExprErrors {
public:
  void Add(const TcxRegExprError& Error) { FItems.push_back(Error); }
  int GetCount() const { return static_cast<int>(FItems.size()); }
  const TcxRegExprError& GetItem(int Index) const { return FItems.at(Index); }

private:
  std::vector<TcxRegExprError> FItems;
};

// A failed compile. Its message is empty: callers build the text from the
// errors, which stay the compiler's until its next compile.
class EcxRegExprError : public Exception {
public:
  explicit EcxRegExprError(const TcxRegExprErrors* AErrors) : Exception(""), Errors(AErrors) {}
  const TcxRegExprErrors* Errors;
};

class TcxRegExprAutomat;

using TcxRegExprSymbolAddEvent = std::function<void(char Symbol)>;
using TcxRegExprSymbolDeleteEvent = std::function<void()>;

class TcxRegExpr {
public:
  TcxRegExpr();
  ~TcxRegExpr();
  TcxRegExpr(const TcxRegExpr&) = delete;
  TcxRegExpr& operator=(const TcxRegExpr&) = delete;

  // Compiles the pattern the stream holds, read from its beginning; raises
  // EcxRegExprError with every error found.
  void CompileFromStream(TStream* Stream);
  bool IsCompiled() const { return FCompiled; }

  // The matching operations raise Exception ("Regular expression is not
  // compiled") before a successful compile.
  // Takes one more character; a case-insensitive match rewrites it to the
  // pattern's case.
  bool AcceptChar(char& Ch);
  bool StepBack();
  void RestartAutomaton();
  bool InFinalState();
  bool AtStartState();
  // Runs the text on from where the automaton stands and returns the
  // characters it took, each as given.
  String FeedText(const String& Text);

  bool GetAutoInsertLiterals() const { return FAutoInsertLiterals; }
  void SetAutoInsertLiterals(bool Value);

  // The pattern while compiled (to compile another compiler from), else none.
  TStream* CompiledSource();
  const TcxLexems& GetLexems() const { return *FLexems; }
  // The parse tree written as a pattern, its counts and references expanded.
  String DumpText() const;

  bool CaseInsensitive = false;
  TcxRegExprSymbolDeleteEvent OnSymbolDelete;
  TcxRegExprSymbolAddEvent OnSymbolAdd;

private:
  void Reset();
  static std::unique_ptr<TMemoryStream> LoadSource(TStream* Stream);
  void CheckCompiled() const;
  [[noreturn]] void RaiseErrors() const;

  std::unique_ptr<TcxRegExprAutomat> FAutomat;
  bool FCompiled = false;
  std::unique_ptr<TcxRegExprErrors> FErrors;
  bool FFirstCompile = true;
  std::unique_ptr<TcxLexems> FLexems;
  std::unique_ptr<TMemoryStream> FSource;
  bool FAutoInsertLiterals = false;
};
