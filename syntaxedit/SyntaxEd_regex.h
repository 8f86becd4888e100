// The editor's regular expressions: a pattern compiled into a small node
// program and run with backtracking over the text through a character
// stream. Matching is by character code, exactly as written, on the rows'
// form of the text, where a line ends with a single CR.
#pragma once

#include "SyntaxEd_stream.h"

#include <cstdint>
#include <vector>

// Identifiers of the engine's messages.
enum : int {
  reNoErrors = 4246,
  reNotFound = 4247,
  reInvalidParameter = 4248,
  reOutOfMemory = 4250,
  reTooManySubexpressions = 4251,
  reUnmatchedParenthesis = 4252,
  reInvalidRepeat = 4253,
  reNestedRepeat = 4254,
  reInvalidRange = 4255,
  reUnmatchedBracket = 4256,
  reBadKeySpecifier = 4257,
  reHexDigitExpected = 4258,
  reUnexpectedEnd = 4259,
  reQuoteExpected = 4260,
  reIndexRange = 4261,
  reInternalError = 4262,
};

// The text of an engine message, empty for an unknown identifier.
String REErrorText(int id);

class TREParser {
public:
  static constexpr int ListSize = 256;

  TREParser();

  // Compiles the pattern unless it is the one compiled last. On a compile
  // error the result is false and ErrorCode and ErrorPosition tell why.
  bool SetPattern(const String& pattern);
  // Finds the first position from the stream's, in the given direction, at
  // which the pattern matches forward; the stream then stands at the match end.
  bool SearchStream(TEdStream* stream, bool forward);

  // Entry 0 is the match start, entry ListCount the match end; between them
  // the places where the pattern's elements began.
  int MatchPosition(int index) const;
  int ListCount() const { return FListCount; }
  int ErrorCode() const { return FErrorCode; }
  int ErrorPosition() const { return FErrorPosition; }

private:
  struct Compiler;

  bool MatchHere();
  bool Match(int scan);
  bool MatchStar(int scan, int next);
  bool MatchClose(int next);
  bool MatchRepeat(int rep);
  bool RepeatStep(int rep);
  int Next(int p) const;
  int CountRun(int operand);
  bool SingleMatches(int operand, unsigned char c) const;
  void Append(int position);
  [[noreturn]] void Raise(int id);

  String FLastPattern;
  std::vector<uint8_t> FProgram;
  // Two spare entries beyond the list take the tail of the end record.
  int FPositions[ListSize + 2];
  int FCounters[ListSize];
  int FFirstGroupMark = -1;
  int FListCount = 0;
  int FErrorCode = reNoErrors;
  int FErrorPosition = 0;
  int FDepth = 0;
  TEdStream* FStream = nullptr;
};
