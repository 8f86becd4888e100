// The rule-script lexer: blanks and comments, a small preprocessor (macros,
// conditional parts, included files), the script's keywords, numbers and
// quoted strings, with line and column kept for error messages.
#pragma once

#include "Classes.h"

#include <array>
#include <cstdint>
#include <vector>

class ESYM_COMP_ERROR : public Exception {
public:
  using Exception::Exception;
};

// A case-insensitive character tree of words, each with a code or a text.
class TWordStore {
public:
  TWordStore();

  // A macro; a second definition replaces the text.
  void DefineText(const String& word, const String& text);
  // A keyword.
  void DefineCode(const String& word, int code);
  // The text of exactly this word; false when the word has none.
  bool FindText(const String& word, String& text) const;
  bool IsDefined(const String& word) const;
  // The code of the longest stored word that begins at pos and ends on a
  // word boundary; pos moves past it. -1, pos unchanged, when none.
  int MatchCode(const char*& pos) const;

private:
  struct TNode {
    char Ch;
    int Child = -1;
    int Sibling = -1;
    bool End = false;
    bool HasText = false;
    int Code = -1;
    String Text;
  };
  int Find(const String& word) const;
  int Insert(const String& word);
  int ChildWith(int node, char c) const;

  std::vector<TNode> FNodes;
  std::array<int, 256> FFirst;
};

// Token kinds of the rule script: the end, a number, a string, and one code
// per keyword.
enum TSymToken {
  symEnd,
  symNumber,
  symString,
  // Sections.
  symLanguage,
  symWords,
  symHandlers,
  symTokens,
  symMap,
  symEffects,
  symStates,
  symContainers,
  symKeys,
  symAutoReplace,
  symTemplates,
  symKwTables,
  // Language settings.
  symName,
  symCase,
  symOptions,
  symExampleText,
  symEditableStyles,
  symWordWrapColumn,
  symFontName,
  symFontSize,
  symFontCharset,
  symGutter,
  symGutterColor,
  symMarginColor,
  symMarginWidth,
  symAnchor,
  symStartState,
  symContextStates,
  symIndentStep,
  symWrapOverride,
  symSelTextColor,
  symSelTextBack,
  symRightMargin,
  symTabColumns,
  symTabDefault,
  symBoundStates,
  symGutterFontName,
  symGutterFontSize,
  symGutterFontColor,
  symGutterFontStyle,
  // Other words.
  symInState,
  symShift,
  symCtrl,
  symAlt,
  symOr,
  symMatch,
  symActionKeys,
  symHotKey,
  symForState,
  symEndsWith,
  symIs,
  symPush,
  symPop,
  // Punctuation.
  symEquals,
  symLParen,
  symRParen,
  symLBracket,
  symRBracket,
  symComma,
  symPlus,
  symMinus,
  symQuestion,
  symStar,
  symBar,
};

class TSYM_Compiler {
public:
  // The whole script is copied; includes in angle brackets are looked for in
  // scriptDirectory.
  TSYM_Compiler(TStream& script, const String& scriptDirectory);

  // The next token kind; symEnd for ever once the script has ended.
  int GetToken();

  int32_t LastNumber = 0;
  // The last string as written (escapes kept).
  String LastString;
  // The last string with its escapes replaced.
  String ProcessString() const;
  int Line = 0;
  int Column = 0;

  [[noreturn]] void ScriptError(const String& message) const;

private:
  // A text being read: the script itself first, then texts of expanded
  // macros and included files on top.
  struct TText {
    String Name;
    String Text;
    size_t Pos = 0;
  };
  struct TMark {
    size_t Depth, Pos;
    int Line, Column;
  };

  char Cur();
  char Peek(size_t ahead) const;
  void Advance();
  TMark Here() const;
  void Restore(const TMark& m);
  String ReadWord(bool digitsToo);
  void SkipBlanks();
  void SkipSpaces();
  bool RunDirective(const String& word);
  void DirectiveDefine();
  void DirectiveIfdef(bool wanted);
  void DirectiveInclude();
  void InsertText(const String& name, const String& text);
  int ScanToken();
  void ScanString();

  std::vector<TText> FTexts;
  String FScriptDirectory;
  TWordStore FMacros;
  TWordStore FKeywords;
  bool FInDirective = false;
  bool FSkipping = false;
  std::vector<bool> FLevels;
};
