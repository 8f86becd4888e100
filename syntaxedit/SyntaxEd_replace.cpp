#include "SyntaxEd_replace.h"

#include "SyntaxMemo_model.h"
#include "SysUtils.h"

#include <algorithm>
#include <vector>

namespace {

std::pair<int, int> Ordered(std::pair<int, int> range) {
  return {std::min(range.first, range.second), std::max(range.first, range.second)};
}

bool IsOctal(char c) {
  return c >= '0' && c <= '7';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The control character of a backslash letter, 0 for any other letter.
char EscapeLetter(char c) {
  switch (AsciiLower(c)) {
  case 'b':
    return 8;
  case 'f':
    return 12;
  case 'n':
    return 13;
  case 'r':
    return 10;
  case 's':
    return ' ';
  case 't':
    return '\t';
  default:
    return 0;
  }
}

// The busy cursor for the length of a Replace All, on every way out.
class TBusyScope {
public:
  explicit TBusyScope(TSearchPrompter& prompter) : FPrompter(prompter) { FPrompter.BeginBusy(); }
  ~TBusyScope() { FPrompter.EndBusy(); }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

private:
  TSearchPrompter& FPrompter;
};

} // namespace

String SearchFailText(const String& searchText) {
  return String(SSearchString) + " \"" + searchText + "\" " + SNotFound;
}

String RegexpErrorText(const String& message, const String& pattern, int errorPosition) {
  return message + "\r\n" + pattern + "\r\n" +
         String(static_cast<size_t>(std::max(errorPosition - 1, 0)), ' ') + "^";
}

struct TSyntaxMemoSearch::TMatch {
  int Start;
  int Length;
  String Replacement;
};

TSyntaxMemoSearch::TSyntaxMemoSearch(TSyntaxMemoModel& model, TSearchPrompter& prompter)
    : FModel(model), FPrompter(prompter) {}

TSyntaxMemoSearch::~TSyntaxMemoSearch() = default;

bool TSyntaxMemoSearch::CharStartsWord(char c) const {
  return FModel.CharStartsWord(c);
}

bool TSyntaxMemoSearch::CharIsInWord(char c) const {
  return FModel.CharIsInWord(c);
}

void TSyntaxMemoSearch::SetFlags(int flags) {
  FFlags = flags;
  FRegularExpression = (flags & sfRegularExpression) != 0;
}

TEdStream& TSyntaxMemoSearch::AttachStream(int position) {
  // Editors may change the store they show; the stream follows it.
  FStream = std::make_unique<TEdStream>(&FModel.GetStore());
  position = std::clamp(position, 0, FModel.GetTextLength());
  int rowStart = 0;
  TRowRecord* row = FModel.RowAt(position, rowStart);
  if (row) FStream->AttachToRow(row, position - rowStart, rowStart);
  return *FStream;
}

void TSyntaxMemoSearch::FlagsFromRequest(const TSearchRequest& request) {
  int flags = FRegularExpression ? sfRegularExpression : 0;
  if (request.MatchCase) flags |= sfMatchCase;
  if (!request.Down) flags |= sfBackward;
  if (request.WholeWord) flags |= sfWholeWord;
  FFlags = flags;
}

void TSyntaxMemoSearch::RegexpErrorMessage(const String& pattern) {
  FPrompter.RegexpError(RegexpErrorText(REErrorText(FParser.ErrorCode()), pattern, FParser.ErrorPosition()));
}

bool TSyntaxMemoSearch::CompileOrReport(const String& pattern) {
  if (FParser.SetPattern(pattern)) return true;
  RegexpErrorMessage(pattern);
  return false;
}

int TSyntaxMemoSearch::FindLiteralFrom(int start, const String& text, bool backward) {
  return FindLiteral(*this, *FStream, FModel.GetTextLength() - 1, FSkip, (FFlags & sfWholeWord) != 0,
                     (FFlags & sfMatchCase) != 0, backward, start, text);
}

void TSyntaxMemoSearch::SelectRange(int start, int end, bool repaint) {
  FModel.SetSelection(start, end, repaint);
}

int TSyntaxMemoSearch::FindDirect(int flags, const String& text) {
  SetFlags(flags);
  const int length = FModel.GetTextLength();
  if (length == 0) return -1;
  if (text.empty()) return length - 1;
  auto [start, end] = Ordered(FModel.GetSelection());
  const bool backward = (flags & sfBackward) != 0;
  if ((backward && start == 0) || (!backward && end >= length)) return -1;
  AttachStream(start == end || !backward ? end : start);
  FLastSearch = text;
  if (!FRegularExpression) {
    int found = FindLiteralFrom(start, text, backward);
    return found >= length ? -1 : found;
  }
  try {
    if (!CompileOrReport(text)) return -1;
    if (!FParser.SearchStream(FStream.get(), !backward)) return -1;
    const int matchStart = FParser.MatchPosition(0);
    SelectRange(matchStart, FParser.MatchPosition(FParser.ListCount()), true);
    FLastMatch = matchStart;
    return matchStart;
  } catch (const Exception&) {
    RegexpErrorMessage(text);
    return -1;
  }
}

void TSyntaxMemoSearch::FindNext(const TSearchRequest& request) {
  FlagsFromRequest(request);
  FLastSearch = request.FindText;
  const int length = FModel.GetTextLength();
  auto [start, end] = Ordered(FModel.GetSelection());
  const bool backward = !request.Down;
  if ((backward && start == 0) || (!backward && end >= length)) {
    FPrompter.SearchFailed(FLastSearch);
    return;
  }
  if (FLastMatch == start && backward) {
    // The selection is the previous match: look before it.
    --start;
    if (!FRegularExpression && end > start) --end;
    AttachStream(start);
  } else if (FLastMatch == start) {
    ++start;
    if (end < start) ++end;
    AttachStream(end);
  } else {
    AttachStream(end);
  }
  if (FRegularExpression) {
    try {
      if (!CompileOrReport(FLastSearch)) return;
      const bool found = FParser.SearchStream(FStream.get(), request.Down);
      const int matchStart = FParser.MatchPosition(0);
      const int matchEnd = FParser.MatchPosition(FParser.ListCount());
      if (found && matchEnd > matchStart) {
        SelectRange(matchStart, matchEnd, true);
        FLastMatch = matchStart;
      } else {
        FPrompter.SearchFailed(FLastSearch);
      }
    } catch (const Exception&) {
      RegexpErrorMessage(FLastSearch);
    }
  } else {
    const int found = FindLiteralFrom(start, FLastSearch, backward);
    if (found < length) {
      SelectRange(found, found + static_cast<int>(FLastSearch.size()), true);
      FLastMatch = found;
    } else {
      FPrompter.SearchFailed(FLastSearch);
    }
  }
  FModel.NotifyChange();
}

void TSyntaxMemoSearch::ReplaceFound(const TSearchRequest& request) {
  FlagsFromRequest(request);
  if (request.FindNext) FindNext(request);
  if (!request.Replace && !request.ReplaceAll) return;
  FAsk = !request.ReplaceAll;
  FCancelled = false;
  FLastMatch = Ordered(FModel.GetSelection()).second;
  while (ReplaceStep(request)) {
  }
}

bool TSyntaxMemoSearch::ReplaceStep(const TSearchRequest& request) {
  if (FModel.GetTextLength() == 0) {
    if (FAsk) FPrompter.SearchFailed(request.FindText);
    return false;
  }
  // The search goes on from the previous match.
  AttachStream(FLastMatch);
  if (FRegularExpression) {
    if (FAsk) return ReplaceStepRegexp(request);
    ReplaceAllRegexp(request);
    return false;
  }
  if (FAsk) return ReplaceStepLiteral(request);
  ReplaceAllLiteral(FLastMatch, request);
  return false;
}

bool TSyntaxMemoSearch::ConfirmMatch(const String& findText, const String& replacement) {
  if (!FAsk) return true;
  switch (FPrompter.ConfirmReplace(Format(SReplaceConfirm, findText, replacement))) {
  case raYes:
    return true;
  case raAll:
    FAsk = false;
    return true;
  case raCancel:
    FCancelled = true;
    return false;
  case raNo:
    return false;
  }
  return false;
}

void TSyntaxMemoSearch::ReplaceMatch(int start, int end, const String& replacement) {
  SelectRange(start, end, FAsk);
  FModel.ReplaceSelText(replacement.c_str(), FAsk);
}

bool TSyntaxMemoSearch::ReplaceStepRegexp(const TSearchRequest& request) {
  const bool backward = !request.Down;
  try {
    if (!CompileOrReport(request.FindText)) return false;
    const bool found = FParser.SearchStream(FStream.get(), request.Down);
    const int matchStart = FParser.MatchPosition(0);
    const int matchEnd = FParser.MatchPosition(FParser.ListCount());
    // An empty match would be found again at the same place for ever.
    if (!found || matchEnd == matchStart) {
      FPrompter.SearchFailed(request.FindText);
      return false;
    }
    SelectRange(matchStart, matchEnd, true);
    FLastMatch = matchEnd;
    const String replacement = ExpandReplacement(request.ReplaceText);
    const bool replace = ConfirmMatch(request.FindText, replacement);
    if (FCancelled) return false;
    if (replace) ReplaceMatch(matchStart, matchEnd, replacement);
    // Backward, the next search starts before this match, or it would find
    // the same one again.
    if (backward) {
      FLastMatch = matchStart - 1;
      return matchStart > 0;
    }
    FLastMatch = FModel.GetCaret();
    return true;
  } catch (const Exception&) {
    RegexpErrorMessage(request.FindText);
    return false;
  }
}

bool TSyntaxMemoSearch::ReplaceStepLiteral(const TSearchRequest& request) {
  const bool backward = !request.Down;
  const int found = FindLiteralFrom(FLastMatch, request.FindText, backward);
  if (found >= FModel.GetTextLength()) {
    FPrompter.SearchFailed(request.FindText);
    return false;
  }
  const int matchEnd = found + static_cast<int>(request.FindText.size());
  SelectRange(found, matchEnd, true);
  FLastMatch = matchEnd;
  const bool replace = ConfirmMatch(request.FindText, request.ReplaceText);
  if (FCancelled) return false;
  if (replace) {
    ReplaceMatch(found, matchEnd, request.ReplaceText);
    // After the text put in: a replacement holding the searched text is not
    // found again.
    FLastMatch = FModel.GetCaret();
  }
  if (backward) FLastMatch = found;
  return true;
}

void TSyntaxMemoSearch::ReplaceAllMatches(const std::vector<TMatch>& matches, std::pair<int, int> selection) {
  FModel.SetSelection(selection.first, selection.second, false);
  FModel.BeginUndoGroup(ugReplaceAll);
  int shift = 0;
  int lastStart = 0;
  for (const TMatch& match : matches) {
    lastStart = match.Start + shift;
    const int before = FModel.GetTextLength();
    FModel.SetSelection(lastStart, lastStart + match.Length, false);
    FModel.ReplaceSelText(match.Replacement.c_str(), false);
    FModel.Rescan();
    shift += FModel.GetTextLength() - before;
  }
  FModel.SetSelStart(lastStart);
  FModel.EndUndoGroup(ugReplaceAll);
}

void TSyntaxMemoSearch::ReplaceAllRegexp(const TSearchRequest& request) {
  if (!CompileOrReport(request.FindText)) {
    FPrompter.Beep();
    return;
  }
  TBusyScope busy(FPrompter);
  const auto selection = FModel.GetSelection();
  std::vector<TMatch> matches;
  try {
    while (FParser.SearchStream(FStream.get(), true)) {
      const int start = FParser.MatchPosition(0);
      const int end = FParser.MatchPosition(FParser.ListCount());
      if (end == start) break;
      matches.push_back({start, end - start, ExpandReplacement(request.ReplaceText)});
    }
  } catch (const Exception&) {
    FModel.SetSelection(selection.first, selection.second, false);
    RegexpErrorMessage(request.FindText);
    return;
  }
  if (matches.empty()) {
    FPrompter.SearchFailed(request.FindText);
    return;
  }
  ReplaceAllMatches(matches, selection);
}

void TSyntaxMemoSearch::ReplaceAllLiteral(int start, const TSearchRequest& request) {
  TBusyScope busy(FPrompter);
  const int length = static_cast<int>(request.FindText.size());
  std::vector<TMatch> matches;
  for (int found = FindLiteralFrom(start, request.FindText, false); found < FModel.GetTextLength();
       found = FindLiteralFrom(found + length, request.FindText, false))
    matches.push_back({found, length, request.ReplaceText});
  if (!matches.empty()) ReplaceAllMatches(matches, FModel.GetSelection());
}

String TSyntaxMemoSearch::ExpandReplacement(const String& replacement) {
  String out;
  const size_t n = replacement.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = replacement[i];
    if (c != '%' && c != '\\') {
      out += c;
      continue;
    }
    if (i + 1 >= n) {
      out += c;
      break;
    }
    const char next = replacement[++i];
    if (c == '%') {
      if (next < '0' || next > '9') {
        out += next;
        continue;
      }
      int number = 0;
      for (; i < n && replacement[i] >= '0' && replacement[i] <= '9'; ++i)
        number = std::min(number * 10 + (replacement[i] - '0'), 1000);
      --i;
      // Entries past the last match's end are left over from older matches.
      if (number < 1 || number > 255 || number > FParser.ListCount()) continue;
      FModel.SetSelection(FParser.MatchPosition(number - 1), FParser.MatchPosition(number), false);
      out += FModel.GetSelText();
      continue;
    }
    if (IsOctal(next)) {
      int value = 0;
      int digits = 0;
      for (; i < n && digits < 3 && IsOctal(replacement[i]); ++i, ++digits)
        value = value * 8 + (replacement[i] - '0');
      --i;
      if (value >= 256) break;
      out += static_cast<char>(value);
      continue;
    }
    if (next == 'x') {
      if (i + 1 >= n || HexValue(replacement[i + 1]) < 0) break;
      int value = HexValue(replacement[++i]);
      if (i + 1 < n && HexValue(replacement[i + 1]) >= 0) value = value * 16 + HexValue(replacement[++i]);
      out += static_cast<char>(value);
      continue;
    }
    const char escaped = EscapeLetter(next);
    out += escaped ? escaped : next;
  }
  return out;
}
