#include "SyntaxEd_regex.h"

#include <algorithm>
#include <cstring>

// Program nodes: opcode, 16-bit big-endian offset to the next node (0: none;
// counted backward for the back and loop-end nodes), then the operands.
namespace {

enum : uint8_t {
  opEnd = 0,
  opLineStart = 1,
  opLineEnd = 2,
  opAny = 3,
  opAnyOf = 4,
  opAnyBut = 5,
  opBranch = 6,
  opBack = 7,
  opLiteral = 8, // 16-bit length, then the characters
  opNothing = 9,
  opStar = 10,
  opPlus = 11,
  opOpen = 20,       // + depth 1-9
  opClose = 40,      // + depth 1-9
  opRepeat = 150,    // counter, 16-bit minimum, 16-bit maximum, then the operand
  opRepeatEnd = 152, // points back to its repeat node
};

constexpr uint8_t kMagic = 0x9C;
constexpr uint8_t kNoProgram = 0x9D;
constexpr int kNodeSize = 3;
constexpr int kRepeatOperands = 5;
constexpr int kUnbounded = 0xFFFF;
constexpr int kMaxDepth = 9;
constexpr int kMaxPatternLength = 0xFFFF;
// Deep enough for any pattern the position list can hold, shallow enough for
// the smallest thread stack.
constexpr int kMaxRecursion = 1500;

// Element flags while compiling.
enum : int { fWorst = 0, fHasWidth = 1, fSimple = 2 };

struct CompileError {
  int id;
  int position;
};

// The pattern text was rewritten ("||"); compiling starts again.
struct Restart {};

bool IsWordChar(int c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

} // namespace

String REErrorText(int id) {
  switch (id) {
  case reNoErrors:
    return "No errors detected";
  case reNotFound:
    return "Expression not found";
  case reInvalidParameter:
    return "Invalid parameter";
  case reOutOfMemory:
    return "Out of memory";
  case reTooManySubexpressions:
    return "Too many sub-expressions";
  case reUnmatchedParenthesis:
    return "Unmatched parenthesis";
  case reInvalidRepeat:
    return "Invalid repeat";
  case reNestedRepeat:
    return "Nested repeat";
  case reInvalidRange:
    return "Invalid range";
  case reUnmatchedBracket:
    return "Unmatched bracket";
  case reBadKeySpecifier:
    return "Bad key specifier";
  case reHexDigitExpected:
    return "Hex digit expected";
  case reUnexpectedEnd:
    return "Unexpected end of input";
  case reQuoteExpected:
    return "' expected";
  case reIndexRange:
    return "Index range error";
  case reInternalError:
    return "Internal error";
  default:
    return String();
  }
}

// ---- compiling

struct TREParser::Compiler {
  explicit Compiler(String& text) : Text(text) {}

  String& Text;
  size_t Pos = 0;
  std::vector<uint8_t> Prog{kMagic};
  int Depth = 1;
  int Counters = 0;

  [[noreturn]] void Fail(int id) const { throw CompileError{id, static_cast<int>(Pos)}; }
  bool AtEnd() const { return Pos >= Text.size(); }
  char Peek(size_t ahead = 0) const { return Pos + ahead < Text.size() ? Text[Pos + ahead] : '\0'; }

  int Node(uint8_t op) {
    int at = static_cast<int>(Prog.size());
    Prog.insert(Prog.end(), {op, 0, 0});
    return at;
  }
  void Byte(uint8_t b) { Prog.push_back(b); }
  void Word(int w) {
    Byte(static_cast<uint8_t>(w >> 8));
    Byte(static_cast<uint8_t>(w));
  }
  void Insert(uint8_t op, int at, int operandBytes) {
    Prog.insert(Prog.begin() + at, static_cast<size_t>(kNodeSize + operandBytes), 0);
    Prog[at] = op;
  }
  int NextOf(int p) const {
    int off = Prog[p + 1] << 8 | Prog[p + 2];
    if (off == 0) return -1;
    return Prog[p] == opBack || Prog[p] == opRepeatEnd ? p - off : p + off;
  }
  void SetNext(int p, int target) {
    int off = Prog[p] == opBack || Prog[p] == opRepeatEnd ? p - target : target - p;
    // Offsets are 16 bits wide: a program that outgrows them is refused.
    if (off > 0xFFFF) Fail(reOutOfMemory);
    Prog[p + 1] = static_cast<uint8_t>(off >> 8);
    Prog[p + 2] = static_cast<uint8_t>(off);
  }
  // Links the last node of the chain from p to target.
  void Tail(int p, int target) {
    int scan = p;
    for (int next = NextOf(scan); next >= 0; next = NextOf(scan))
      scan = next;
    SetNext(scan, target);
  }
  void OpTail(int p, int target) {
    if (Prog[p] == opBranch) Tail(p + kNodeSize, target);
  }

  void Run() {
    if (Text.empty()) Fail(reInvalidParameter);
    if (Text.size() > kMaxPatternLength) Fail(reOutOfMemory);
    int flags;
    Alternatives(false, flags);
  }

  int Alternatives(bool paren, int& flags) {
    flags = fHasWidth;
    int ret = -1;
    int depth = 0;
    if (paren) {
      if (Depth > kMaxDepth) Fail(reTooManySubexpressions);
      depth = Depth++;
      ret = Node(static_cast<uint8_t>(opOpen + depth));
    }
    size_t branchStart = Pos;
    int f;
    int br = Branch(f);
    if (ret >= 0)
      Tail(ret, br);
    else
      ret = br;
    if (!(f & fHasWidth)) flags &= ~fHasWidth;
    while (Peek() == '|') {
      if (Peek(1) == '|') EitherOrder(branchStart);
      ++Pos;
      branchStart = Pos;
      br = Branch(f);
      Tail(ret, br);
      if (!(f & fHasWidth)) flags &= ~fHasWidth;
    }
    int ender = Node(static_cast<uint8_t>(paren ? opClose + depth : opEnd));
    Tail(ret, ender);
    for (int b = ret; b >= 0; b = NextOf(b))
      OpTail(b, ender);
    if (paren) {
      if (Peek() != ')') Fail(reUnmatchedParenthesis);
      ++Pos;
      --Depth;
    } else if (!AtEnd()) {
      Fail(Peek() == ')' ? reUnmatchedParenthesis : reInternalError);
    }
    return ret;
  }

  // "a||b" becomes "((a)(b)?)|((b)(a)?)": both sides, in either order.
  [[noreturn]] void EitherOrder(size_t branchStart) {
    String left = Text.substr(branchStart, Pos - branchStart);
    size_t r = Pos + 2;
    int nesting = 0;
    while (r < Text.size()) {
      char c = Text[r];
      if (c == '\\') {
        r += 2;
        continue;
      }
      if (c == '"' || c == '[') {
        char close = c == '"' ? '"' : ']';
        for (++r; r < Text.size() && Text[r] != close; ++r)
          if (Text[r] == '\\') ++r;
      } else if (c == '(') {
        ++nesting;
      } else if (c == ')') {
        if (nesting == 0) break;
        --nesting;
      } else if (c == '|' && nesting == 0) {
        break;
      }
      ++r;
    }
    r = std::min(r, Text.size());
    String right = Text.substr(Pos + 2, r - Pos - 2);
    auto wrap = [](const String& s) { return !s.empty() && s[0] == '(' ? s : "(" + s + ")"; };
    String both = "(" + wrap(left) + wrap(right) + "?)|(" + wrap(right) + wrap(left) + "?)";
    if (Text.size() - (r - branchStart) + both.size() > kMaxPatternLength) Fail(reOutOfMemory);
    Text = Text.substr(0, branchStart) + both + Text.substr(r);
    throw Restart{};
  }

  int Branch(int& flags) {
    flags = fWorst;
    int ret = Node(opBranch);
    int chain = -1;
    while (!AtEnd() && Peek() != '|' && Peek() != ')') {
      int f;
      int latest = Piece(f);
      flags |= f & fHasWidth;
      if (chain >= 0) Tail(chain, latest);
      chain = latest;
    }
    if (chain < 0) Node(opNothing);
    return ret;
  }

  static bool IsRepeat(char c) { return c == '*' || c == '+' || c == '?'; }

  int Piece(int& flags) {
    int f;
    int ret = Atom(f);
    char op = Peek();
    if (!IsRepeat(op) && op != '{') {
      flags = f;
      return ret;
    }
    if (!(f & fHasWidth) && op != '?') Fail(reInvalidRepeat);
    if (op == '{') {
      flags = Bounded(ret, f);
    } else if (op == '*' && (f & fSimple)) {
      Insert(opStar, ret, 0);
      flags = fWorst;
    } else if (op == '*') {
      // x* as a loop: branch (x, back to the branch) or nothing.
      Insert(opBranch, ret, 0);
      OpTail(ret, Node(opBack));
      OpTail(ret, ret);
      Tail(ret, Node(opBranch));
      Tail(ret, Node(opNothing));
      flags = fWorst;
    } else if (op == '+' && (f & fSimple)) {
      Insert(opPlus, ret, 0);
      flags = fHasWidth;
    } else if (op == '+') {
      // x+ as x, then a branch back to x or on.
      int next = Node(opBranch);
      Tail(ret, next);
      Tail(Node(opBack), ret);
      Tail(next, Node(opBranch));
      Tail(ret, Node(opNothing));
      flags = fHasWidth;
    } else {
      // x? as a branch of x or nothing.
      Insert(opBranch, ret, 0);
      Tail(ret, Node(opBranch));
      int next = Node(opNothing);
      Tail(ret, next);
      OpTail(ret, next);
      flags = fWorst;
    }
    if (op != '{') ++Pos;
    if (IsRepeat(Peek())) Fail(reNestedRepeat);
    return ret;
  }

  int Number() {
    int n = -1;
    while (Peek() >= '0' && Peek() <= '9') {
      n = (n < 0 ? 0 : n) * 10 + (Peek() - '0');
      if (n >= kUnbounded) Fail(reInvalidRange);
      ++Pos;
    }
    return n;
  }

  // x{n}, x{n,}, x{,m}, x{n,m}: a loop on its own counter.
  int Bounded(int ret, int f) {
    ++Pos;
    int min = Number();
    int max = min;
    bool single = true;
    if (Peek() == ',') {
      single = false;
      ++Pos;
      max = Number();
    }
    if (Peek() != '}' || (min < 0 && max < 0)) Fail(reInvalidRange);
    ++Pos;
    if (single && min <= 1) return f;
    if (min < 0) min = 0;
    if (max < 0) max = kUnbounded;
    if (max < min) Fail(reInvalidRange);
    if (Counters >= ListSize) Fail(reTooManySubexpressions);
    Insert(opRepeat, ret, kRepeatOperands);
    Prog[ret + 3] = static_cast<uint8_t>(Counters++);
    Prog[ret + 4] = static_cast<uint8_t>(min >> 8);
    Prog[ret + 5] = static_cast<uint8_t>(min);
    Prog[ret + 6] = static_cast<uint8_t>(max >> 8);
    Prog[ret + 7] = static_cast<uint8_t>(max);
    int end = Node(opRepeatEnd);
    Tail(ret + kNodeSize + kRepeatOperands, end);
    SetNext(end, ret);
    return min > 0 ? fHasWidth : fWorst;
  }

  // The character of an escape; Pos stands after the backslash.
  uint8_t Escape() {
    if (AtEnd()) Fail(reUnexpectedEnd);
    char c = Text[Pos++];
    switch (c) {
    case 'b':
    case 'B':
      return 8;
    case 'f':
    case 'F':
      return 12;
    case 'n':
    case 'N':
      return 13;
    case 'r':
    case 'R':
      return 10;
    case 't':
    case 'T':
      return 9;
    case 'x':
    case 'X': {
      int v = HexValue(Peek());
      if (v < 0) Fail(reHexDigitExpected);
      ++Pos;
      int w = HexValue(Peek());
      if (w >= 0) {
        v = v * 16 + w;
        ++Pos;
      }
      return static_cast<uint8_t>(v);
    }
    default:
      break;
    }
    if (c >= '0' && c <= '7') {
      int v = c - '0';
      for (int i = 0; i < 2 && Peek() >= '0' && Peek() <= '7'; ++i)
        v = v * 8 + (Text[Pos++] - '0');
      return static_cast<uint8_t>(v);
    }
    return static_cast<uint8_t>(c);
  }

  void Table(uint8_t op, const TCharSet& set) {
    Node(op);
    for (int c = 0; c < 256; ++c)
      Byte(set.test(c) ? 1 : 0);
  }

  void Literal(const String& chars) {
    Node(opLiteral);
    Word(static_cast<int>(chars.size()));
    for (char c : chars)
      Byte(static_cast<uint8_t>(c));
  }

  int Atom(int& flags) {
    int ret = static_cast<int>(Prog.size());
    char c = Text[Pos++];
    flags = fHasWidth | fSimple;
    switch (c) {
    case '^':
      Node(opLineStart);
      flags = fHasWidth; // it consumes the CR
      break;
    case '$':
      Node(opLineEnd);
      flags = fWorst;
      break;
    case '.':
      Node(opAny);
      break;
    case '[':
      Set();
      break;
    case '(': {
      int f;
      Alternatives(true, f);
      flags = f & fHasWidth;
      break;
    }
    case '|':
    case ')':
      --Pos;
      Fail(reInternalError);
    case '?':
    case '+':
    case '*':
      --Pos;
      Fail(reInvalidRepeat);
    case '"': {
      String chars;
      for (;;) {
        if (AtEnd()) Fail(reQuoteExpected);
        char q = Text[Pos++];
        if (q == '"') break;
        chars += q == '\\' ? static_cast<char>(Escape()) : q;
      }
      if (chars.empty()) {
        Node(opNothing);
        flags = fWorst;
      } else {
        Literal(chars);
        if (chars.size() > 1) flags = fHasWidth;
      }
      break;
    }
    case '\\':
      if (AtEnd()) Fail(reUnexpectedEnd);
      if (ClassEscape(Peek())) {
        ++Pos;
        break;
      }
      Literal(String(1, static_cast<char>(Escape())));
      break;
    default:
      Literal(String(1, c));
      break;
    }
    return ret;
  }

  // \d \w \s and their complements.
  bool ClassEscape(char c) {
    TCharSet set;
    switch (c) {
    case 'd':
    case 'D':
      for (int i = '0'; i <= '9'; ++i)
        set.set(i);
      break;
    case 'w':
    case 'W':
      for (int i = 0; i < 256; ++i)
        if (IsWordChar(i)) set.set(i);
      break;
    case 's':
    case 'S':
      for (int i : {13, 32, 10, 12, 9, 8})
        set.set(i);
      break;
    default:
      return false;
    }
    Table(c >= 'a' ? opAnyOf : opAnyBut, set);
    return true;
  }

  uint8_t SetChar() {
    char c = Text[Pos++];
    return c == '\\' ? Escape() : static_cast<uint8_t>(c);
  }

  void Set() {
    bool negate = Peek() == '^';
    if (negate) ++Pos;
    TCharSet set;
    bool any = false;
    for (;;) {
      if (AtEnd()) Fail(reUnmatchedBracket);
      if (Peek() == ']') {
        if (!any) Fail(reUnmatchedBracket);
        ++Pos;
        break;
      }
      uint8_t first = SetChar();
      any = true;
      if (Peek() != '-') {
        set.set(first);
        continue;
      }
      ++Pos;
      if (AtEnd() || Peek() == ']') Fail(reInvalidRange);
      uint8_t last = SetChar();
      if (last < first) Fail(reInvalidRange);
      for (int i = first; i <= last; ++i)
        set.set(i);
    }
    Table(negate ? opAnyBut : opAnyOf, set);
  }
};

// ---- TREParser

TREParser::TREParser() : FProgram{kNoProgram} {
  std::fill(std::begin(FPositions), std::end(FPositions), -1);
  std::fill(std::begin(FCounters), std::end(FCounters), 0);
}

void TREParser::Raise(int id) {
  FErrorCode = id;
  throw Exception(REErrorText(id));
}

bool TREParser::SetPattern(const String& pattern) {
  if (pattern == FLastPattern && !pattern.empty()) return true;
  FLastPattern = pattern;
  FErrorCode = reNoErrors;
  FErrorPosition = 0;
  String text = pattern;
  try {
    for (;;) {
      Compiler c(text);
      try {
        c.Run();
        FProgram = std::move(c.Prog);
        return true;
      } catch (const Restart&) {
      }
    }
  } catch (const CompileError& e) {
    FErrorCode = e.id;
    FErrorPosition = e.position;
  }
  FLastPattern.clear();
  FProgram.assign(1, kNoProgram);
  return false;
}

int TREParser::MatchPosition(int index) const {
  if (index < 0 || index >= ListSize) throw Exception(REErrorText(reIndexRange));
  return FPositions[index];
}

int TREParser::Next(int p) const {
  int off = FProgram[p + 1] << 8 | FProgram[p + 2];
  if (off == 0) return -1;
  return FProgram[p] == opBack || FProgram[p] == opRepeatEnd ? p - off : p + off;
}

void TREParser::Append(int position) {
  if (FListCount >= ListSize) Raise(reIndexRange);
  FPositions[FListCount++] = position;
}

bool TREParser::SingleMatches(int operand, unsigned char c) const {
  switch (FProgram[operand]) {
  case opAny:
    return c != '\r';
  case opLiteral:
    return c == FProgram[operand + 5];
  case opAnyOf:
    return FProgram[operand + kNodeSize + c] != 0;
  case opAnyBut:
    return FProgram[operand + kNodeSize + c] == 0;
  default:
    return false;
  }
}

int TREParser::CountRun(int operand) {
  int n = 0;
  while (!FStream->AtEnd() && SingleMatches(operand, static_cast<unsigned char>(FStream->CurrentChar()))) {
    FStream->Advance();
    ++n;
  }
  return n;
}

bool TREParser::MatchStar(int scan, int next) {
  const int operand = scan + kNodeSize;
  const int min = FProgram[scan] == opStar ? 0 : 1;
  int nextChar = -1;
  if (next >= 0 && FProgram[next] == opLiteral) nextChar = FProgram[next + 5];
  const int start = FStream->CurrentPos();
  const int entry = FListCount;
  Append(start);
  int count = CountRun(operand);
  while (count >= min) {
    if (nextChar < 0 || static_cast<unsigned char>(FStream->CurrentChar()) == nextChar)
      if (Match(next)) return true;
    FListCount = entry + 1;
    if (--count < min) break;
    FStream->MoveTo(start + count);
  }
  FListCount = entry;
  return false;
}

bool TREParser::MatchClose(int next) {
  const int mark = FFirstGroupMark;
  const int count = FListCount;
  std::vector<int> cut;
  if (mark >= 0) {
    if (FListCount > mark + 1) {
      cut.assign(FPositions + mark + 1, FPositions + FListCount);
      FListCount = mark + 1;
    } else if (FListCount == mark) {
      // Nothing inside left an entry: the group's start again.
      Append(FPositions[mark - 1]);
    }
  }
  FFirstGroupMark = -1;
  if (Match(next)) return true;
  std::copy(cut.begin(), cut.end(), FPositions + mark + 1);
  FListCount = count;
  FFirstGroupMark = mark;
  return false;
}

bool TREParser::MatchRepeat(int rep) {
  const int counter = FProgram[rep + 3];
  const int saved = FCounters[counter];
  FCounters[counter] = 0;
  if (RepeatStep(rep)) return true;
  FCounters[counter] = saved;
  return false;
}

bool TREParser::RepeatStep(int rep) {
  const int counter = FProgram[rep + 3];
  const int min = FProgram[rep + 4] << 8 | FProgram[rep + 5];
  const int max = FProgram[rep + 6] << 8 | FProgram[rep + 7];
  const int body = rep + kNodeSize + kRepeatOperands;
  const int k = FCounters[counter];
  if (k < min) {
    FCounters[counter] = k + 1;
    if (Match(body)) return true;
    FCounters[counter] = k;
    return false;
  }
  if (max == kUnbounded || k < max) {
    const int position = FStream->CurrentPos();
    const int count = FListCount;
    FCounters[counter] = k + 1;
    if (Match(body)) return true;
    FCounters[counter] = k;
    FStream->MoveTo(position);
    FListCount = count;
  }
  return Match(Next(rep));
}

bool TREParser::Match(int scan) {
  struct DepthGuard {
    explicit DepthGuard(int& d) : depth(++d) {}
    ~DepthGuard() { --depth; }
    int& depth;
  } guard(FDepth);
  if (FDepth > kMaxRecursion) Raise(reOutOfMemory);
  TEdStream& s = *FStream;
  while (scan >= 0) {
    const int next = Next(scan);
    const uint8_t op = FProgram[scan];
    switch (op) {
    case opLineStart:
      if (s.AtEnd() || s.CurrentChar() != '\r') return false;
      s.Advance();
      break;
    case opLineEnd:
      if (s.AtEnd() || s.CurrentChar() != '\r') return false;
      Append(s.CurrentPos());
      break;
    case opAny:
    case opAnyOf:
    case opAnyBut:
      if (s.AtEnd() || !SingleMatches(scan, static_cast<unsigned char>(s.CurrentChar()))) return false;
      Append(s.CurrentPos());
      s.Advance();
      break;
    case opLiteral: {
      const int length = FProgram[scan + 3] << 8 | FProgram[scan + 4];
      const int start = s.CurrentPos();
      for (int i = 0; i < length; ++i) {
        if (s.AtEnd() || static_cast<uint8_t>(s.CurrentChar()) != FProgram[scan + 5 + i]) {
          s.MoveTo(start);
          return false;
        }
        s.Advance();
      }
      Append(start);
      break;
    }
    case opNothing:
    case opBack:
      break;
    case opBranch: {
      if (next < 0 || FProgram[next] != opBranch) {
        scan = scan + kNodeSize;
        continue;
      }
      const int position = s.CurrentPos();
      const int count = FListCount;
      for (int alt = scan; alt >= 0 && FProgram[alt] == opBranch; alt = Next(alt)) {
        if (Match(alt + kNodeSize)) return true;
        s.MoveTo(position);
        FListCount = count;
      }
      return false;
    }
    case opStar:
    case opPlus:
      return MatchStar(scan, next);
    case opRepeat:
      return MatchRepeat(scan);
    case opRepeatEnd:
      return RepeatStep(next);
    case opEnd:
      // The end and two spare entries after it; the count stays.
      if (FListCount >= ListSize) Raise(reIndexRange);
      FPositions[FListCount] = FPositions[FListCount + 1] = FPositions[FListCount + 2] = s.CurrentPos();
      return true;
    default:
      if (op > opOpen && op <= opOpen + kMaxDepth) {
        Append(s.CurrentPos());
        if (op == opOpen + 1) FFirstGroupMark = FListCount;
        break;
      }
      if (op > opClose && op <= opClose + kMaxDepth) {
        if (op == opClose + 1) return MatchClose(next);
        break;
      }
      Raise(reInvalidParameter);
    }
    scan = next;
  }
  return false;
}

bool TREParser::MatchHere() {
  std::fill(std::begin(FPositions), std::end(FPositions), -1);
  FListCount = 0;
  FFirstGroupMark = -1;
  FDepth = 0;
  return Match(1);
}

bool TREParser::SearchStream(TEdStream* stream, bool forward) {
  if (FProgram.size() < 2 || !stream || FProgram[0] != kMagic) Raise(reInvalidParameter);
  FStream = stream;
  FErrorCode = 0;
  // Nothing to walk in an empty text.
  if (!stream->GetRow()) return false;
  if (!forward && stream->AtEnd()) {
    if (stream->CurrentPos() == 0) return false;
    stream->StepBack();
  }
  for (;;) {
    const int p = stream->CurrentPos();
    if (MatchHere()) return true;
    stream->MoveTo(p);
    if (forward) {
      if (stream->AtEnd()) return false;
      stream->Advance();
    } else {
      if (p == 0) return false;
      stream->StepBack();
    }
  }
}
