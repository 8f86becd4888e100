// The built-in token handlers: common token shapes (identifiers, numbers,
// quoted strings, mail addresses, comment lines) and string-body units that
// rules name by id instead of spelling them out with character groups.
#include "SynParse.h"
#include "SynParse_internal.h"

#include "SyntaxEd_stream.h"

namespace {

constexpr char CR = '\r';

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void Take(TEdStream& s, int& length) {
  if (s.AtEnd()) return;
  s.Advance();
  ++length;
}

// Takes characters while the test holds, as a loop of Take would, but tests
// a row's characters in a plain loop: most tokens are made of such runs.
template <typename Test> void TakeWhile(TEdStream& s, int& length, Test test) {
  for (;;) {
    const char* chars = nullptr;
    int count = s.RowRun(chars);
    int taken = 0;
    while (taken < count && test(chars[taken]))
      ++taken;
    if (taken == 0) return;
    s.Skip(taken);
    length += taken;
    if (taken < count) return;
  }
}

bool NotCR(char c) {
  return c != CR;
}

// The character after the current one, without moving.
char PeekNext(TEdStream& s) {
  const char* chars = nullptr;
  if (s.RowRun(chars) > 1) return chars[1];
  if (s.AtEnd()) return 0;
  int at = s.CurrentPos();
  s.Advance();
  char c = s.AtEnd() ? '\0' : s.CurrentChar();
  s.MoveTo(at);
  return c;
}

bool PascalChar(TSyntaxMemoParser*, TEdStream& s, int& length) {
  if (s.AtEnd()) return false;
  char c = s.CurrentChar();
  if (c == CR) return false;
  if (c != '\'') {
    Take(s, length);
    return true;
  }
  if (PeekNext(s) != '\'') return false;
  Take(s, length);
  Take(s, length);
  return true;
}

bool IsWebChar(char c) {
  if (IsLetter(c) || IsDigit(c)) return true;
  for (const char* p = "#&-./:=?@\\_|~"; *p; ++p)
    if (c == *p) return true;
  return false;
}

// A final '.' of what was taken is given back.
void GiveBackFinalDot(TEdStream& s, int& length) {
  s.StepBack();
  if (s.CurrentChar() == '.')
    --length;
  else
    s.Advance();
}

bool WebChar(TSyntaxMemoParser*, TEdStream& s, int& length) {
  int start = length;
  TakeWhile(s, length, IsWebChar);
  if (length == start) return false;
  GiveBackFinalDot(s, length);
  return length > start;
}

bool OriginalChar(TSyntaxMemoParser*, TEdStream& s, int& length) {
  int here = s.CurrentPos();
  int start = here - length;
  if (start > 0) {
    s.MoveTo(start - 1);
    bool lineStart = s.CurrentChar() == CR;
    s.MoveTo(here);
    if (!lineStart) return false;
  }
  TakeWhile(s, length, NotCR);
  return true;
}

bool Identifier(TSyntaxMemoParser*, TEdStream& s, int& length) {
  if (s.AtEnd()) return false;
  char c = s.CurrentChar();
  if (!IsLetter(c) && c != '_') return false;
  TakeWhile(s, length, [](char d) { return IsLetter(d) || IsDigit(d) || d == '_'; });
  return true;
}

void TakeDigits(TEdStream& s, int& length) {
  TakeWhile(s, length, IsDigit);
}

bool NumberOrFP(TSyntaxMemoParser*, TEdStream& s, int& length) {
  if (s.AtEnd() || !IsDigit(s.CurrentChar())) return false;
  TakeDigits(s, length);
  if (!s.AtEnd() && s.CurrentChar() == '.' && IsDigit(PeekNext(s))) {
    Take(s, length);
    TakeDigits(s, length);
  }
  if (!s.AtEnd() && (s.CurrentChar() == 'e' || s.CurrentChar() == 'E')) {
    Take(s, length);
    if (!s.AtEnd() && (s.CurrentChar() == '+' || s.CurrentChar() == '-')) Take(s, length);
    TakeDigits(s, length);
  }
  return true;
}

bool PascalString(TSyntaxMemoParser*, TEdStream& s, int& length) {
  Take(s, length);
  for (;;) {
    TakeWhile(s, length, [](char c) { return c != CR && c != '\''; });
    if (s.AtEnd() || s.CurrentChar() != '\'') break;
    Take(s, length);
    if (s.AtEnd() || s.CurrentChar() != '\'') break;
    Take(s, length);
  }
  return true;
}

// A quoted text in which a backslash takes the character after it too.
bool EscapedString(TEdStream& s, int& length, char close) {
  Take(s, length);
  bool escaped = false;
  TakeWhile(s, length, [&escaped, close](char c) {
    if (c == CR) return false;
    if (escaped) {
      escaped = false;
      return true;
    }
    escaped = c == '\\';
    return c != close;
  });
  if (!s.AtEnd() && s.CurrentChar() == close) Take(s, length);
  return true;
}

bool CString(TSyntaxMemoParser*, TEdStream& s, int& length) {
  return EscapedString(s, length, '"');
}
bool CChar(TSyntaxMemoParser*, TEdStream& s, int& length) {
  return EscapedString(s, length, '\'');
}

bool CNumberOrFPSigned(TSyntaxMemoParser* p, TEdStream& s, int& length) {
  if (!s.AtEnd() && (s.CurrentChar() == '+' || s.CurrentChar() == '-')) Take(s, length);
  return NumberOrFP(p, s, length);
}

bool Number(TSyntaxMemoParser*, TEdStream& s, int& length) {
  if (s.AtEnd() || !IsDigit(s.CurrentChar())) return false;
  TakeDigits(s, length);
  return true;
}

bool IsMailChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '~' || c == '.' || c == '@' || c == '-' || c == '_';
}

bool MailUrl(TSyntaxMemoParser*, TEdStream& s, int& length) {
  int start = s.CurrentPos(), startLength = length;
  bool at = false;
  TakeWhile(s, length, [&at](char c) {
    at = at || c == '@';
    return IsMailChar(c);
  });
  if (!at) {
    s.MoveTo(start);
    length = startLength;
    return false;
  }
  GiveBackFinalDot(s, length);
  return true;
}

bool HtmlString(TSyntaxMemoParser*, TEdStream& s, int& length) {
  Take(s, length);
  TakeWhile(s, length, [](char c) { return c != '"' && c != CR; });
  Take(s, length);
  return true;
}

bool JsLineComment(TSyntaxMemoParser*, TEdStream& s, int& length) {
  int dashes = 0;
  TakeWhile(s, length, [&dashes](char c) {
    if (c == CR || (c == '>' && dashes >= 2)) return false;
    dashes = c == '-' ? dashes + 1 : 0;
    return true;
  });
  if (!s.AtEnd() && s.CurrentChar() == '>' && dashes >= 2) {
    s.MoveTo(s.CurrentPos() - 2);
    length -= 2;
  }
  return true;
}

TCharSet Chars(const char* list, bool letters, bool digits) {
  TCharSet set;
  for (const char* p = list; *p; ++p)
    set.set(static_cast<uint8_t>(*p));
  for (int c = 0; c < 256; ++c)
    if ((letters && IsLetter(static_cast<char>(c))) || (digits && IsDigit(static_cast<char>(c))))
      set.set(static_cast<size_t>(c));
  return set;
}

} // namespace

TBuiltInHandler BuiltInHandler(uint32_t id) {
  switch (id) {
  case hiPascalChar:
    return PascalChar;
  case hiWebChar:
    return WebChar;
  case hiOriginalChar:
    return OriginalChar;
  case hiIdentifier:
    return Identifier;
  case hiNumberOrFP:
    return NumberOrFP;
  case hiPascalString:
    return PascalString;
  case hiCString:
    return CString;
  case hiCChar:
    return CChar;
  case hiCNumberOrFPSigned:
    return CNumberOrFPSigned;
  case hiNumber:
    return Number;
  case hiMailUrl:
    return MailUrl;
  case hiHtmlString:
    return HtmlString;
  case hiJsLineComment:
    return JsLineComment;
  case hiCStringSQ:
    return CChar;
  default:
    return nullptr;
  }
}

TCharSet HandlerStartChars(uint32_t id) {
  switch (id) {
  case hiIdentifier:
    return Chars("_", true, false);
  case hiNumberOrFP:
    return Chars(".", false, true);
  case hiPascalString:
  case hiCChar:
  case hiCStringSQ:
    return Chars("'", false, false);
  case hiCString:
  case hiHtmlString:
    return Chars("\"", false, false);
  case hiCNumberOrFPSigned:
    return Chars("+-.", false, true);
  case hiNumber:
    return Chars("", false, true);
  case hiMailUrl:
    return Chars("", true, true);
  case hiJsLineComment:
    return Chars("/", false, false);
  default:
    return TCharSet();
  }
}
