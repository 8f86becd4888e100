// The lexer: pattern text to lexems, every lexical error collected.
#include "cxMaskConsts.h"
#include "cxRegExpr_internal.h"

namespace {

bool IsHexDigit(char C) {
  return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
}

int HexValue(char C) {
  if (C <= '9') return C - '0';
  return (C | 0x20) - 'a' + 10;
}

// The escapes that name a character class, and the characters of \a \e \f \n \r \t.
bool ClassEscape(char C, TcxLexemCode& Code) {
  switch (C) {
  case 'd':
    Code = lcDigit;
    return true;
  case 'D':
    Code = lcNotDigit;
    return true;
  case 's':
    Code = lcSpace;
    return true;
  case 'S':
    Code = lcNotSpace;
    return true;
  case 'w':
    Code = lcIdLetter;
    return true;
  case 'W':
    Code = lcNotIdLetter;
    return true;
  default:
    return false;
  }
}

bool ControlEscape(char C, char& Value) {
  switch (C) {
  case 'a':
    Value = 7;
    return true;
  case 'e':
    Value = 27;
    return true;
  case 'f':
    Value = 12;
    return true;
  case 'n':
    Value = 10;
    return true;
  case 'r':
    Value = 13;
    return true;
  case 't':
    Value = 9;
    return true;
  default:
    return false;
  }
}

// The quote character as the messages show it: between spaces.
constexpr const char* QuoteText = " ' ";

} // namespace

bool cxRegExprIsSpace(char C) {
  return C == 0 || C == 9 || C == 10 || C == 12 || C == 13 || C == ' ';
}

String TcxRegExprError::ErrorText() const {
  if (Line <= 0) return Message;
  String text = cxGetResourceString(cxSRegExprLine) + IntToStr(Line);
  if (Column > 0) text += ", " + cxGetResourceString(cxSRegExprChar) + IntToStr(Column);
  return text + ": " + Message;
}

char TcxRegExprLexer::Read() {
  const char c = FSource[FReadIndex++];
  if (c == 13) ++FLine;
  if (c == 10)
    FColumn = 0;
  else
    ++FColumn;
  return c;
}

void TcxRegExprLexer::Emit(TcxLexemCode Code, const String& Value, int32_t Line, int32_t Column) {
  TcxLexem lexem;
  lexem.Char = Column;
  lexem.Code = Code;
  lexem.Line = Line;
  lexem.Value = Value;
  FLexems.Add(lexem);
}

void TcxRegExprLexer::AddError(int32_t Line, int32_t Column, const String& Message) {
  FErrors.Add(TcxRegExprError{Column, Line, Message});
}

void TcxRegExprLexer::Run() {
  int depth = 0;
  while (!AtEnd()) {
    const char c = Read();
    switch (c) {
    case '\'':
      Quoted();
      break;
    case '(':
      ++depth;
      Emit(lcOperator, c);
      break;
    case ')':
      --depth;
      Emit(lcOperator, c);
      break;
    case '*':
    case '+':
    case '?':
    case '|':
      Emit(lcOperator, c);
      break;
    case '.':
      Emit(lcAnyChar, c);
      break;
    case '/':
      Emit(lcDateSeparator, c);
      break;
    case ':':
      Emit(lcTimeSeparator, c);
      break;
    case '[':
      Emit(lcOperator, c);
      Set();
      break;
    case '\\':
      Escape();
      break;
    case '{':
      Emit(lcOperator, c);
      Braces();
      break;
    default:
      if (!cxRegExprIsSpace(c)) Emit(lcSymbol, c);
    }
  }
  // Only the final count is checked: ")(" is left to the parser.
  if (depth > 0) AddError(0, 0, Format(cxGetResourceString(cxSRegExprMissing), ")"));
  if (depth < 0) AddError(0, 0, Format(cxGetResourceString(cxSRegExprUnnecessary), ")"));
}

void TcxRegExprLexer::Quoted() {
  while (!AtEnd()) {
    const char c = Read();
    if (c != '\'') {
      Emit(lcSymbol, c);
    } else if (!AtEnd() && Peek() == '\'') {
      Emit(lcSymbol, c);
      Read();
    } else {
      return;
    }
  }
  AddErrorAfterEnd(Format(cxGetResourceString(cxSRegExprMissing), QuoteText));
}

void TcxRegExprLexer::Escape() {
  const int32_t line = FLine, column = FColumn;
  if (AtEnd()) return;
  const char c = Read();
  TcxLexemCode code;
  char value;
  if (c >= '1' && c <= '9')
    Emit(lcReference, String(1, c), line, column);
  else if (cxRegExprIsSpace(c))
    AddError(FLine, FColumn, cxGetResourceString(cxSRegExprSpaceAfterBackslash));
  else if (ClassEscape(c, code))
    Emit(code, String(1, c), line, column);
  else if (ControlEscape(c, value))
    Emit(lcSymbol, String(1, value), line, column);
  else if (c == 'x')
    HexEscape(line, column);
  else
    Emit(lcSymbol, String(1, c), line, column);
}

void TcxRegExprLexer::HexEscape(int32_t Line, int32_t Column) {
  int code = 0;
  for (int i = 0; i < 2; ++i) {
    if (AtEnd()) {
      AddErrorAfterEnd(cxGetResourceString(cxSRegExprHexNumberExpected0));
      return;
    }
    const char c = Read();
    if (!IsHexDigit(c)) {
      AddError(FLine, FColumn, Format(cxGetResourceString(cxSRegExprHexNumberExpected), String(1, c)));
      return;
    }
    code = code * 16 + HexValue(c);
  }
  Emit(lcSymbol, String(1, static_cast<char>(code)), Line, Column);
}

bool TcxRegExprLexer::SetCommon(char C) {
  switch (C) {
  case '\'':
    Quoted();
    return true;
  case '/':
    Emit(lcDateSeparator, C);
    return true;
  case ':':
    Emit(lcTimeSeparator, C);
    return true;
  case '\\':
    Escape();
    return true;
  default:
    return false;
  }
}

void TcxRegExprLexer::Set() {
  while (!AtEnd() && cxRegExprIsSpace(Peek()))
    Read();
  if (!AtEnd()) {
    const char c = Read();
    if (c == ']') {
      Emit(lcOperator, c);
      return;
    }
    if (!SetCommon(c)) Emit(c == '^' ? lcOperator : lcSymbol, c);
  }
  while (true) {
    if (AtEnd()) {
      AddErrorAfterEnd(Format(cxGetResourceString(cxSRegExprMissing), "]"));
      return;
    }
    const char c = Read();
    if (cxRegExprIsSpace(c) || SetCommon(c)) continue;
    if (c == '-') {
      SetDash();
      if (AtEnd()) return;
      continue;
    }
    Emit(c == ']' ? lcOperator : lcSymbol, c);
    if (c == ']') return;
  }
}

// A dash is a range operator unless the set closes after it.
void TcxRegExprLexer::SetDash() {
  const int32_t line = FLine, column = FColumn;
  while (!AtEnd() && cxRegExprIsSpace(Peek()))
    Read();
  if (AtEnd()) {
    Emit(lcOperator, "-", line, column);
    AddErrorAfterEnd(Format(cxGetResourceString(cxSRegExprMissing), "]"));
    return;
  }
  Emit(Peek() == ']' ? lcSymbol : lcOperator, "-", line, column);
}

void TcxRegExprLexer::Braces() {
  while (true) {
    if (AtEnd()) {
      AddErrorAfterEnd(Format(cxGetResourceString(cxSRegExprMissing), "}"));
      return;
    }
    const char c = Read();
    if (cxRegExprIsSpace(c)) continue;
    if (c >= '0' && c <= '9') {
      const int32_t line = FLine, column = FColumn;
      String digits(1, c);
      while (!AtEnd() && Peek() >= '0' && Peek() <= '9')
        digits += Read();
      Emit(lcInteger, digits, line, column);
    } else if (c == ',' || c == '}') {
      Emit(lcOperator, c);
      if (c == '}') return;
    } else {
      AddError(FLine, FColumn,
               Format(cxGetResourceString(cxSRegExprIllegalSymbol), c == '\'' ? QuoteText : String(1, c)));
    }
  }
}
