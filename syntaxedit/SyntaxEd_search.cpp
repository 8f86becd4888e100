#include "SyntaxEd_search.h"

#include <algorithm>
#include <cstring>

namespace {

String FoldCase(const String& s) {
  String folded = s;
  for (char& c : folded)
    c = AsciiUpper(c);
  return folded;
}

// One direction and case mode of the scan: the pattern and table in use.
struct Scan {
  const String& pattern;
  const uint8_t* table;
  bool fold;
  unsigned char At(TEdStream& s) const {
    char c = s.CurrentChar();
    return static_cast<unsigned char>(fold ? AsciiUpper(c) : c);
  }
};

// The stream keeps its row and offset in step with its position only inside
// the text, so the scan never moves it beyond the end of the searched range.
void MoveWithin(TEdStream& s, int target, int limit) {
  s.MoveTo(std::min(target, limit + 1));
}

int ScanForward(TEdStream& s, int limit, const Scan& scan) {
  const int length = static_cast<int>(scan.pattern.size());
  MoveWithin(s, s.CurrentPos() + length - 1, limit);
  int q = length;
  while (!s.AtEnd() && s.CurrentPos() <= limit && q > 0) {
    unsigned char c = scan.At(s);
    if (c == static_cast<unsigned char>(scan.pattern[q - 1])) {
      --q;
      if (s.CurrentPos() == 0) {
        if (q == 0) return 0;
        continue;
      }
      s.StepBack();
    } else {
      int shift = std::max<int>(scan.table[c], length - q + 1);
      MoveWithin(s, s.CurrentPos() + shift, limit);
      q = length;
    }
  }
  if (!s.AtEnd() && q == 0) return s.CurrentPos() + 1;
  return limit + 1;
}

int ScanBackward(TEdStream& s, int limit, const Scan& scan) {
  const int length = static_cast<int>(scan.pattern.size());
  int q = length;
  if (s.CurrentPos() < length) return limit + 1;
  s.MoveTo(s.CurrentPos() - length);
  while (s.CurrentPos() <= limit && !s.AtEnd() && q > 0) {
    unsigned char c = scan.At(s);
    if (c == static_cast<unsigned char>(scan.pattern[length - q])) {
      --q;
      s.Advance();
    } else {
      int shift = std::max<int>(scan.table[c], length - q + 1);
      if (s.CurrentPos() < shift) return limit + 1;
      s.MoveTo(s.CurrentPos() - shift);
      q = length;
    }
  }
  return s.CurrentPos() - length;
}

bool IsWordChar(const TWordChars& editor, char c) {
  return editor.CharStartsWord(c) || editor.CharIsInWord(c);
}

} // namespace

void BuildSkipTable(TSkipTable& table, const String& text) {
  const int length = static_cast<int>(text.size());
  table.FoldedPattern = FoldCase(text);
  table.Pattern = text;
  const uint8_t none = static_cast<uint8_t>(length);
  std::fill(std::begin(table.Forward), std::end(table.Forward), none);
  std::fill(std::begin(table.Backward), std::end(table.Backward), none);
  std::fill(std::begin(table.FoldedForward), std::end(table.FoldedForward), none);
  std::fill(std::begin(table.FoldedBackward), std::end(table.FoldedBackward), none);
  for (int i = 0; i < length; ++i) {
    const uint8_t skip = static_cast<uint8_t>(length - i - 1);
    table.Forward[static_cast<unsigned char>(text[i])] = skip;
    table.FoldedForward[static_cast<unsigned char>(AsciiUpper(text[i]))] = skip;
  }
  for (int i = length - 1; i >= 0; --i) {
    table.Backward[static_cast<unsigned char>(text[i])] = static_cast<uint8_t>(i);
    table.FoldedBackward[static_cast<unsigned char>(AsciiUpper(text[i]))] = static_cast<uint8_t>(i);
  }
}

int FindLiteral(const TWordChars& editor, TEdStream& stream, int limit, TSkipTable& table, bool wholeWord,
                bool matchCase, bool backward, int start, const String& text) {
  if (matchCase ? text != table.Pattern : FoldCase(text) != table.FoldedPattern) BuildSkipTable(table, text);
  // An empty string is found nowhere.
  if (text.empty()) return limit + 1;
  const int length = static_cast<int>(text.size());
  Scan scan{matchCase ? table.Pattern : table.FoldedPattern,
            matchCase ? (backward ? table.Backward : table.Forward)
                      : (backward ? table.FoldedBackward : table.FoldedForward),
            !matchCase};
  for (;;) {
    stream.MoveTo(start);
    int found = backward ? ScanBackward(stream, limit, scan) : ScanForward(stream, limit, scan);
    if (found > limit) return found;
    if (!wholeWord) {
      stream.MoveTo(found);
      return found;
    }
    bool whole = true;
    if (found > 0) {
      stream.MoveTo(found - 1);
      whole = !IsWordChar(editor, stream.CurrentChar());
    }
    if (whole && found + length - 1 < limit) {
      stream.MoveTo(found + length);
      whole = !IsWordChar(editor, stream.CurrentChar());
    }
    if (whole) {
      stream.MoveTo(found);
      return found;
    }
    // Go on past the rejected occurrence, overlapping ones included.
    start = backward ? found + length - 1 : found + 1;
  }
}

bool CompareMem(const void* a, const void* b, int count) {
  return count <= 0 || std::memcmp(a, b, static_cast<size_t>(count)) == 0;
}
