#include "SyntaxMemo_model.h"

#include "SyntaxEd_marks.h"
#include "SyntaxEd_rescan.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool IsBlank(char c) {
  auto u = static_cast<unsigned char>(c);
  return u <= 32 || u == 160;
}

// TAB widths are measured on a run of spaces of this length at most.
constexpr int SpaceBufferLength = 4097;

TRowRecord* LineEnd(TRowRecord* row) {
  while (!RowEndsWithCR(row) && row->Next)
    row = row->Next;
  return row;
}

// One logical line joined into one piece of any length.
struct TJoinedLine {
  String Text;
  std::vector<uint8_t> Tokens; // empty unless every row had token bytes
  bool HasTab = false;
  uint16_t Marks = 0;
  uint16_t GutterImages = 0;
  int32_t Paint1 = -1;
  int32_t Paint2 = -1;
  uint32_t Flags = 0;
  std::unique_ptr<TLineTrack> Track;
};

} // namespace

int TSyntaxMemoModel::WrapWidth() {
  int width;
  if (FActiveSettings->WordWrapColumn != 0) {
    width = FActiveSettings->WordWrapColumn * FMetrics.AveCharWidth;
  } else {
    int control = ControlWidth > 0 ? ControlWidth : FClientWidth;
    width = control - TextLeftEdge() - 2 * ScrollBarWidth;
  }
  return width < 1 ? 8 : width;
}

int TSyntaxMemoModel::WordBreak(const char* text, int position, int code, int length) {
  if (OnWordBreakProc) return OnWordBreakProc(text, position, length, code);
  switch (code) {
  case 0: {
    if (position < length && IsBlank(text[position])) {
      while (position < length && IsBlank(text[position]))
        ++position;
      return position;
    }
    int p = position - 1;
    while (p >= 0 && !IsBlank(text[p]))
      --p;
    return p > 0 ? p + 1 : position;
  }
  case 1:
    while (position < length && !IsBlank(text[position]))
      ++position;
    while (position < length && IsBlank(text[position]))
      ++position;
    return position;
  case 2:
    return position < length && IsBlank(text[position]) ? 1 : 0;
  default:
    return 0;
  }
}

void TSyntaxMemoModel::ReflowRows(TRowRecord* first, TRowRecord* last) {
  TRowRecord* start = first ? first : GetFirstRow();
  if (!start) return;
  while ((start->Marks & rmContinuation) && start->Prev)
    start = start->Prev;
  TRowRecord* stop = last ? LineEnd(last)->Next : nullptr;
  int wrapWidth = WrapWidth();
  // Token bytes are carried over into the new rows, so they must be current.
  RescanFrom(FRescanner->FirstChangedRow);
  TRowRecord* row = start;
  while (row && row != stop)
    row = ReflowLine(row, wrapWidth);
  for (int i = 0; row && i < FVisibleRows; ++i, row = row->Next)
    row->Flags |= rfRepaint;
  EnsureTopRow();
  FWrapSettingsChanged = false;
  SettleLongestRow();
}

TRowRecord* TSyntaxMemoModel::ReflowLine(TRowRecord* first, int wrapWidth) {
  TRowRecord* last = LineEnd(first);
  TRowRecord* after = last->Next;
  int total = 0;
  int rows = 0;
  bool allTokens = true;
  for (TRowRecord* r = first;; r = r->Next) {
    total += r->Length;
    ++rows;
    allTokens = allTokens && r->Tokens;
    if (r == last) break;
  }
  bool wrap = HasOption(smoWordWrap);
  auto keep = [&](char lead) {
    if (total >= ReflowLimit) return false;
    if (!wrap) return true;
    return HasOption(smoWrapOverride) &&
           StringToCharSet(FActiveSettings->WrapOverride).test(static_cast<unsigned char>(lead));
  };
  if (rows == 1 && keep(first->Text[0])) {
    first->Flags |= rfRepaint;
    NoteLongest(first);
    return after;
  }

  TJoinedLine line;
  line.Text.reserve(static_cast<size_t>(total));
  if (allTokens) line.Tokens.reserve(static_cast<size_t>(total));
  line.Marks = first->Marks;
  line.GutterImages = first->GutterImages;
  line.Paint1 = first->Paint1;
  line.Paint2 = first->Paint2;
  line.Flags = first->Flags | rfRepaint;
  line.Track = std::move(first->Track);
  bool hadTop = false;
  bool hadAppended = false;
  bool hadChanged = false;
  TRowRecord* before = first->Prev;
  for (TRowRecord* r = first; r != after;) {
    line.Text.append(r->Text.get(), r->Length);
    if (allTokens) line.Tokens.insert(line.Tokens.end(), r->Tokens.get(), r->Tokens.get() + r->Length);
    line.HasTab = line.HasTab || (r->Flags & rfHasTab);
    hadTop = hadTop || r == FStore->GetTopRow();
    hadAppended = hadAppended || r == FLastAppended;
    hadChanged = hadChanged || r == FRescanner->FirstChangedRow;
    NoteRowGone(r);
    TRowRecord* next = r->Next;
    FreeRowRecord(r);
    r = next;
  }
  FStore->SetRowCount(FStore->GetRowCount() - rows);
  if (before)
    before->Next = after;
  else
    FStore->SetFirstRow(after);
  if (after) after->Prev = before;
  if (hadTop) FStore->SetTopRow(nullptr);

  TRowRecord* previous = before;
  TRowRecord* lead = nullptr;
  int pos = 0;
  int length = static_cast<int>(line.Text.size());
  bool whole = keep(line.Text[0]);
  while (pos < length) {
    bool sawTab = line.HasTab;
    int taken = whole ? length : BreakRow(line.Text.data() + pos, length - pos, wrapWidth, sawTab);
    TRowRecord* row = NewRowRecord(line.Text.data() + pos, taken);
    if (!line.Tokens.empty()) {
      row->Tokens = std::make_unique<uint8_t[]>(static_cast<size_t>(taken));
      std::memcpy(row->Tokens.get(), line.Tokens.data() + pos, static_cast<size_t>(taken));
    }
    row->Flags = (line.Flags & ~rfHasTab) | (sawTab ? uint32_t(rfHasTab) : 0u);
    row->GutterImages = line.GutterImages;
    row->Paint1 = line.Paint1;
    row->Paint2 = line.Paint2;
    if (!lead) {
      row->Marks = line.Marks;
      row->Track = std::move(line.Track);
      if (row->Track) row->Track->Row = row;
      lead = row;
    } else {
      row->Marks = rmContinuation;
    }
    LinkAfter(previous, row);
    NoteLongest(row);
    previous = row;
    pos += taken;
  }
  if (hadAppended) FLastAppended = previous;
  if (hadChanged) FRescanner->FirstChangedRow = lead;
  return after;
}

int TSyntaxMemoModel::MeasureWidth(const char* text, int count) {
  if (count <= 0) return 0;
  if (FMetrics.FixedPitch) return count * FMetrics.AveCharWidth;
  return FMeasurer->TextWidth(text, count, 0);
}

int TSyntaxMemoModel::TabWidth(int x) {
  int average = std::max(FMetrics.AveCharWidth, 1);
  int column = x / average;
  int columns = NextTabStop(column) - column;
  if (FMetrics.FixedPitch) return columns * average;
  static const String spaces(SpaceBufferLength, ' ');
  return FMeasurer->TextWidth(spaces.data(), std::min(columns, SpaceBufferLength), 0);
}

// Characters from text that fit a row of wrapWidth pixels, at least one,
// moved back to a word break unless they reach the end. sawTab tells on
// return whether the row holds a TAB.
int TSyntaxMemoModel::BreakRow(const char* text, int length, int wrapWidth, bool& sawTab) {
  bool lineHasTab = sawTab;
  sawTab = false;
  int x = 0;
  int runStart = 0;
  int taken = -1;
  // Consumes the run [runStart, end); false (with taken set) when the row
  // ends inside it.
  auto consume = [&](int end) {
    int count = end - runStart;
    if (count <= 0) return true;
    int width = MeasureWidth(text + runStart, count);
    if (x + width < wrapWidth) {
      x += width;
      runStart = end;
      return true;
    }
    int fit = count - 1;
    while (fit > 0 && x + FMeasurer->TextWidth(text + runStart, fit, 0) >= wrapWidth)
      --fit;
    taken = runStart + fit;
    return false;
  };
  int i = 0;
  while (i < length && taken < 0) {
    if (lineHasTab && text[i] == '\t') {
      if (!consume(i)) break;
      sawTab = true;
      int width = TabWidth(x);
      ++i;
      runStart = i;
      if (x + width > wrapWidth) {
        taken = i;
        break;
      }
      x += width;
      continue;
    }
    ++i;
    if (i - runStart >= 5) consume(i);
  }
  if (taken < 0 && consume(i)) taken = i;
  taken = std::max(taken, 1);
  if (taken < length) taken = std::max(WordBreak(text, taken, 0, length), 1);
  if (lineHasTab) sawTab = std::memchr(text, '\t', static_cast<size_t>(taken)) != nullptr;
  return taken;
}

// ---- block indent

TRowRecord* TSyntaxMemoModel::BlockRows(int start, int end, TRowRecord*& last, int& firstStart) {
  TRowRecord* first = RowAt(start, firstStart);
  int endStart = 0;
  last = RowAt(end, endStart);
  if (last && endStart == end && last != first) last = last->Prev;
  if (HasOption(smoWordWrap))
    while (first && (first->Marks & rmContinuation) && first->Prev) {
      first = first->Prev;
      firstStart -= first->Length;
    }
  return first;
}

TRowRecord* TSyntaxMemoModel::SkipContinuations(TRowRecord* row, int& rowStart, bool changed) {
  bool wrap = HasOption(smoWordWrap);
  // Rows passed over are rescanned only once the block changed something:
  // before that no rescan is pending that would give them their bytes back.
  auto touch = [changed](TRowRecord* r) {
    if (!changed) return;
    r->Tokens.reset();
    r->Flags |= rfRepaint | rfChanged;
  };
  rowStart += row->Length;
  row = row->Next;
  while (wrap && row && (row->Marks & rmContinuation)) {
    touch(row);
    rowStart += row->Length;
    row = row->Next;
  }
  if (!wrap && row) touch(row);
  return row;
}

void TSyntaxMemoModel::RowTextChanged(TRowRecord* row, int rowStart, int delta) {
  row->Flags |= rfRepaint | rfChanged;
  NoteFirstChanged(row);
  DropTopRowBefore(row, rowStart);
  FStore->SetTextLength(GetTextLength() + delta);
  if (OnTextChange) OnTextChange(Sender, rowStart, delta);
  FStore->NotifyBreakpoints(rowStart, delta);
}

void TSyntaxMemoModel::RunBlock(int32_t group, const TBlockRowFunc& treat) {
  bool caretFirst = FCaret < FAnchor;
  auto [start, end] = OrderRange({FAnchor, FCaret});
  bool opened = false;
  bool redraw = FRedraw;
  FRedraw = false;
  auto finish = [&] {
    EnsureTopRow();
    FRedraw = redraw;
    if (opened) FUndo.EndUndoGroup(group);
    LayoutChanged = true;
    if (!redraw) return;
    NotifyChange();
    FHost->Paint();
  };
  try {
    int rowStart = 0;
    TRowRecord* last = nullptr;
    TRowRecord* first = BlockRows(start, end, last, rowStart);
    TRowRecord* treated = first;
    for (TRowRecord* row = first; row; row = SkipContinuations(row, rowStart, opened)) {
      if (opened) row->Tokens.reset();
      // The group opens with the first change, so that a block with nothing
      // to change leaves no undo step.
      auto open = [&] {
        if (opened) return;
        FUndo.BeginUndoGroup(group);
        opened = true;
        AddChangeFlags(cfText | cfSelection);
      };
      end += treat(row, rowStart, open);
      treated = row;
      if (row == last) break;
    }
    SettleLongestRow();
    SetSelection(start, end, false);
    MakeVisible(caretFirst ? start : end);
    if (HasOption(smoWordWrap) && opened) ReflowRows(first, treated ? treated->Next : nullptr);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TSyntaxMemoModel::BlockIndent(int count, bool useTabs) {
  int n = count != 0 ? count : FActiveSettings->IndentStep;
  if (n < 1) return;
  if (FAnchor == FCaret) {
    FHost->Paint();
    return;
  }
  bool tabs = useTabs && HasOption(smoUseTAB);
  String indent(static_cast<size_t>(n), tabs ? '\t' : ' ');
  RunBlock(ugBlockIndent, [&](TRowRecord* row, int rowStart, const std::function<void()>& open) {
    open();
    row->Tokens.reset();
    FStore->GetCustomBookmarks().BookmarksInserted(n, rowStart);
    if (FStore->GetMarkList()) FStore->GetMarkList()->MarksInserted(rowStart, n);
    FUndo.LogTransaction(ltIndent, rowStart, TLogData{&indent, nullptr});
    String text = indent + String(row->Text.get(), row->Length);
    TRowRecord* fresh = NewRowRecord(text.data(), static_cast<int>(text.size()));
    row->Text = std::move(fresh->Text);
    row->Length = fresh->Length;
    FreeRowRecord(fresh);
    if (tabs) row->Flags |= rfHasTab;
    NoteLongest(row);
    RowTextChanged(row, rowStart, n);
    return n;
  });
}

void TSyntaxMemoModel::BlockUnindent(int count) {
  int n = count != 0 ? count : FActiveSettings->IndentStep;
  if (FAnchor == FCaret || n < 1) {
    FHost->Paint();
    return;
  }
  RunBlock(ugBlockUnindent, [&](TRowRecord* row, int rowStart, const std::function<void()>& open) {
    if (row->Text[0] == '\r') return 0;
    // A row keeps at least one character.
    int i = 0;
    while (i < n && i < row->Length - 1 &&
           (row->Text[i] == ' ' || row->Text[i] == '\t' || static_cast<unsigned char>(row->Text[i]) == 160))
      ++i;
    if (i == 0) return 0;
    open();
    row->Tokens.reset();
    FStore->GetCustomBookmarks().BookmarksDeleted(i, rowStart);
    if (FStore->GetMarkList()) FStore->GetMarkList()->MarksDeleted(rowStart, rowStart + i);
    String removed(row->Text.get(), static_cast<size_t>(i));
    FUndo.LogTransaction(ltUnindent, rowStart, TLogData{&removed, nullptr});
    NoteRowGone(row);
    std::memmove(row->Text.get(), row->Text.get() + i, static_cast<size_t>(row->Length - i) + 1);
    row->Length = static_cast<uint16_t>(row->Length - i);
    RowTextChanged(row, rowStart, -i);
    return -i;
  });
}
