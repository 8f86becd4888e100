#include "SyntaxMemo_model.h"

#include "SyntaxEd_stream.h"

#include <algorithm>

// ---- rows and positions

TRowLocation TSyntaxMemoModel::LocateRow(int position) {
  EnsureTopRow();
  TRowLocation at{FStore->GetTopRow(), FTopLine, FTopRowOffset};
  if (!at.Row) return TRowLocation();
  if (position < at.Start && position < at.Start / 2) {
    at = TRowLocation{GetFirstRow(), 0, 0};
  } else if (position < at.Start) {
    while (position < at.Start && at.Row->Prev) {
      at.Row = at.Row->Prev;
      at.Start -= at.Row->Length;
      --at.Line;
    }
    return at;
  }
  while (position - at.Start >= at.Row->Length) {
    ++at.Line;
    if (!at.Row->Next) {
      if (!RowEndsWithCR(at.Row)) --at.Line;
      break;
    }
    at.Start += at.Row->Length;
    at.Row = at.Row->Next;
  }
  return at;
}

TRowRecord* TSyntaxMemoModel::RowAt(int position, int& rowStart) {
  TRowLocation at = LocateRow(position);
  rowStart = at.Start;
  return at.Row;
}

TRowRecord* TSyntaxMemoModel::RowOfLine(int n, int& rowStart, int& reached) {
  rowStart = 0;
  reached = 0;
  TRowRecord* row = GetFirstRow();
  while (row && reached < n && row->Next) {
    rowStart += row->Length;
    row = row->Next;
    ++reached;
  }
  return row;
}

int TSyntaxMemoModel::ColumnInRow(int position) {
  int rowStart = 0;
  TRowRecord* row = RowAt(position, rowStart);
  if (!row) return 0;
  int index = std::min(position - rowStart, static_cast<int>(row->Length));
  if (!row->Next && index == row->Length && RowEndsWithCR(row)) return 0;
  return index;
}

int TSyntaxMemoModel::LineFromChar(int position) {
  return LocateRow(position < 0 ? FCaret : position).Line;
}

int TSyntaxMemoModel::LineIndex(int line) {
  if (line < 0) {
    int rowStart = 0;
    RowAt(FCaret, rowStart);
    return rowStart;
  }
  int start = 0;
  int index = 0;
  for (TRowRecord* row = GetFirstRow(); row && index < line; row = row->Next, ++index)
    start += row->Length;
  return start;
}

int TSyntaxMemoModel::LineLength(int position) {
  int rowStart = 0;
  TRowRecord* row = RowAt(position, rowStart);
  if (!row) return 0;
  return row->Length - (RowEndsWithCR(row) ? 1 : 0);
}

int TSyntaxMemoModel::GetLineCount() const {
  return std::max(GetRowCount(), 1);
}

String TSyntaxMemoModel::GetRowText(int line, int capacity) {
  if (line < 0 || line > GetRowCount()) return String();
  int rowStart = 0;
  int reached = 0;
  TRowRecord* row = RowOfLine(line, rowStart, reached);
  if (!row || reached != line) return String();
  int length = std::min(row->Length - (RowEndsWithCR(row) ? 1 : 0), capacity);
  return String(row->Text.get(), static_cast<size_t>(std::max(length, 0)));
}

// ---- columns

int TSyntaxMemoModel::NextTabStop(int column) {
  const auto& stops = FActiveSettings->TabColumns;
  for (int stop : stops) {
    if (stop < 0) break;
    if (stop > column) return stop;
  }
  int step = std::max(FActiveSettings->TabDefault, 1);
  return column + step - column % step;
}

int TSyntaxMemoModel::IndexToColumn(int index, const TRowRecord* row) {
  if (!row) return 0;
  if (!(row->Flags & rfHasTab)) {
    if (index < row->Length) return index;
    return row->Length - ((RowEndsWithCR(row) && row->Next) ? 1 : 0);
  }
  int column = 0;
  int end = std::min(index, static_cast<int>(row->Length));
  for (int i = 0; i < end; ++i)
    column = row->Text[i] == '\t' ? NextTabStop(column) : column + 1;
  return column;
}

int TSyntaxMemoModel::ColumnToIndex(int column, const TRowRecord* row) {
  if (!row) return 0;
  if (!(row->Flags & rfHasTab)) {
    if (column < row->Length) return column;
    if (row->Next) return row->Length - 1;
    return row->Length - (RowEndsWithCR(row) ? 1 : 0);
  }
  int at = 0;
  for (int i = 0; i < row->Length; ++i) {
    if (at >= column) return i;
    at = row->Text[i] == '\t' ? NextTabStop(at) : at + 1;
  }
  return row->Length - 1;
}

bool TSyntaxMemoModel::CaretFitsRow(int column, const TRowRecord* row) {
  return row && IndexToColumn(row->Length - 1, row) >= column;
}

bool TSyntaxMemoModel::CaretBeyondEOLAllowed() const {
  return FMetrics.FixedPitch && HasOption(smoCaretAfterEOL);
}

int TSyntaxMemoModel::TextLeftEdge() {
  return FActiveSettings->MarginWidth + (HasOption(smoShowGutter) ? FActiveSettings->GutterWidth : 0);
}

int TSyntaxMemoModel::FixedPitchTextWidth(int count) {
  int head = std::min(count, 300);
  return head * FMetrics.AveCharWidth + std::max(count - 300, 0) * FMetrics.FixedCharWidth;
}

void TSyntaxMemoModel::BuildDisplayLine(const TRowRecord* row, String& chars, std::vector<uint8_t>& styles) {
  chars.clear();
  styles.clear();
  int length = row->Length - (RowEndsWithCR(row) ? 1 : 0);
  for (int i = 0; i < length; ++i) {
    uint8_t style = row->Tokens ? FActiveSettings->TokenStyle(row->Tokens[i]) : 0;
    int cells = 1;
    if (row->Text[i] == '\t')
      cells = NextTabStop(static_cast<int>(chars.size())) - static_cast<int>(chars.size());
    char c = row->Text[i] == '\t' ? ' ' : row->Text[i];
    chars.append(static_cast<size_t>(cells), c);
    styles.insert(styles.end(), static_cast<size_t>(cells), style);
  }
}

int TSyntaxMemoModel::RunWidth(const char* text, int count, uint8_t style) {
  if (count <= 0) return 0;
  if (FMetrics.FixedPitch) return FixedPitchTextWidth(count);
  return FMeasurer->TextWidth(text, count, style);
}

bool TSyntaxMemoModel::UniformPitch() const {
  return FMetrics.FixedPitch && FMetrics.FixedCharWidth == FMetrics.AveCharWidth && FMetrics.AveCharWidth > 0;
}

// Beyond the last character, which ends at pixel at, columns are as wide as
// an average character.
int TSyntaxMemoModel::ColumnBeyond(int x, int count, int at) {
  int beyond = (x - at + FMetrics.AveCharWidth / 2) / FMetrics.AveCharWidth;
  return std::max(count, FLeftColumn) + std::max(beyond, 0);
}

int TSyntaxMemoModel::XToColumn(int x, TRowRecord* row) {
  if (!row) return 0;
  if (UniformPitch()) {
    // Every column is one width: no need to build and measure the line.
    int width = FMetrics.AveCharWidth;
    int d = x - TextLeftEdge();
    int count = IndexToColumn(LineEndIndex(row), row);
    if (d < 0) return FLeftColumn;
    if (d / width >= count - FLeftColumn)
      return ColumnBeyond(x, count, TextLeftEdge() + std::max(count - FLeftColumn, 0) * width);
    return FLeftColumn + d / width + (d % width >= width / 2 ? 1 : 0);
  }
  String chars;
  std::vector<uint8_t> styles;
  BuildDisplayLine(row, chars, styles);
  int at = TextLeftEdge();
  int count = static_cast<int>(chars.size());
  for (int col = FLeftColumn; col < count;) {
    int end = col;
    while (end < count && styles[static_cast<size_t>(end)] == styles[static_cast<size_t>(col)])
      ++end;
    uint8_t style = styles[static_cast<size_t>(col)];
    int width = RunWidth(chars.data() + col, end - col, style);
    if (x >= at + width) {
      at += width;
      col = end;
      continue;
    }
    for (int k = col; k < end; ++k) {
      int before = RunWidth(chars.data() + col, k - col, style);
      int after = RunWidth(chars.data() + col, k - col + 1, style);
      if (x < at + after) return x < at + (before + after) / 2 ? k : k + 1;
    }
    return end;
  }
  return ColumnBeyond(x, count, at);
}

int TSyntaxMemoModel::ColumnToX(int column, TRowRecord* row) {
  if (column < FLeftColumn) return -1;
  int x = TextLeftEdge();
  if (!row) return x;
  if (UniformPitch()) return x + (column - FLeftColumn) * FMetrics.AveCharWidth;
  String chars;
  std::vector<uint8_t> styles;
  BuildDisplayLine(row, chars, styles);
  int count = static_cast<int>(chars.size());
  int stop = std::min(column, count);
  for (int col = FLeftColumn; col < stop;) {
    int end = col;
    while (end < stop && styles[static_cast<size_t>(end)] == styles[static_cast<size_t>(col)])
      ++end;
    x += RunWidth(chars.data() + col, end - col, styles[static_cast<size_t>(col)]);
    col = end;
  }
  if (column > count) x += (column - std::max(count, FLeftColumn)) * FMetrics.AveCharWidth;
  return x;
}

std::pair<int, int> TSyntaxMemoModel::LineToRow(int line, int column) {
  TRowRecord* row = GetFirstRow();
  int rowNumber = 0;
  for (int skipped = 0; row && skipped < line - 1;) {
    if (RowEndsWithCR(row)) ++skipped;
    row = row->Next;
    ++rowNumber;
  }
  int remaining = column;
  while (row && row->Length < remaining && !RowEndsWithCR(row) && row->Next) {
    remaining -= row->Length;
    row = row->Next;
    ++rowNumber;
  }
  if (!row) return {1, rowNumber + 1};
  int index = std::min(remaining - 1, row->Length - 1);
  return {IndexToColumn(index, row) + 1, rowNumber + 1};
}

std::pair<int, int> TSyntaxMemoModel::RowToLine(int rowNumber, int column) {
  int offset = 0;
  int lines = 0;
  TRowRecord* row = GetFirstRow();
  for (int i = 1; row && i < rowNumber; ++i, row = row->Next) {
    if (RowEndsWithCR(row)) {
      ++lines;
      offset = 0;
    } else {
      offset += row->Length;
    }
  }
  return {offset + ColumnToIndex(column - 1, row) + 1, lines + 1};
}

// ---- metrics and the client area

void TSyntaxMemoModel::ComputeMetrics() {
  FMetrics = FMeasurer->GetMetrics();
  if (FMetrics.FontHeight <= 0) FMetrics.FontHeight = 17;
  if (FMetrics.AveCharWidth <= 0) FMetrics.AveCharWidth = 7;
  if (!FMetrics.FixedPitch) FMetrics.FixedCharWidth = 8;
  UpdateVisibleCounts();
}

void TSyntaxMemoModel::UpdateVisibleCounts() {
  int lineHeight = GetLineHeight();
  if (FMetrics.AveCharWidth <= 0 || lineHeight <= 0) {
    FVisibleColumns = 80;
    FVisibleRows = 40;
    return;
  }
  FVisibleColumns = (FClientWidth - TextLeftEdge()) / FMetrics.AveCharWidth;
  FVisibleRows = FClientHeight / lineHeight;
}

void TSyntaxMemoModel::SetClientSize(int width, int height) {
  bool rewrap = HasOption(smoWordWrap) && FActiveSettings->WordWrapColumn == 0 && width != FClientWidth;
  FClientWidth = width;
  FClientHeight = height;
  UpdateVisibleCounts();
  if (rewrap) ReflowRows();
  for (TRowRecord* row = GetFirstRow(); row; row = row->Next)
    row->Flags |= rfChanged;
  AddChangeFlags(cfLayout);
  MetricsDirty = true;
}

// ---- scrolling

int TSyntaxMemoModel::RowY(int position, TRowRecord*& row, int& remaining) {
  EnsureTopRow();
  row = FStore->GetTopRow();
  remaining = position - FTopRowOffset;
  if (remaining < 0) return -1;
  int y = 0;
  while (row && remaining >= row->Length && y < FClientHeight) {
    if (!row->Next) {
      if (!RowEndsWithCR(row)) break;
      remaining -= row->Length;
      return y + GetLineHeight();
    }
    remaining -= row->Length;
    row = row->Next;
    y += GetLineHeight();
  }
  return y;
}

TEdPoint TSyntaxMemoModel::PositionToPoint(int position) {
  TRowRecord* row = nullptr;
  int remaining = 0;
  int y = RowY(position, row, remaining);
  if (y < 0) return TEdPoint{-1, -1};
  if (!row) return TEdPoint{TextLeftEdge(), 0};
  int column =
      remaining >= row->Length && !row->Next && RowEndsWithCR(row) ? 0 : IndexToColumn(remaining, row);
  return TEdPoint{ColumnToX(column, row), y};
}

int TSyntaxMemoModel::PointToPosition(int x, int y) {
  EnsureTopRow();
  TRowRecord* row = FStore->GetTopRow();
  if (!row) return 0;
  int position = FTopRowOffset;
  for (int passed = GetLineHeight(); passed <= y && row->Next; passed += GetLineHeight()) {
    position += row->Length;
    row = row->Next;
  }
  return position + ColumnToIndex(XToColumn(x, row), row);
}

void TSyntaxMemoModel::ScrollTopRow(int delta) {
  TRowRecord* top = FStore->GetTopRow();
  if (delta < 0) {
    top = top->Prev;
    FTopRowOffset -= top->Length;
    --FTopLine;
  } else {
    FTopRowOffset += top->Length;
    top = top->Next;
    ++FTopLine;
  }
  FStore->SetTopRow(top);
  AddChangeFlags(cfScrolled);
  MetricsDirty = true;
}

void TSyntaxMemoModel::MakeVisible(int position) {
  if (!AutoScroll || TextLeftEdge() >= FClientWidth || FClientHeight == 0) return;
  int oldTop = FTopLine;
  int oldLeft = FLeftColumn;
  EnsureTopRow();
  if (!FStore->GetTopRow()) return;
  int x = 0;
  TRowRecord* row = nullptr;
  int remaining = 0;
  for (;;) {
    int y = RowY(position, row, remaining);
    TRowRecord* top = FStore->GetTopRow();
    if (y == -1 && top->Prev) {
      ScrollTopRow(-1);
      continue;
    }
    if (GetLineHeight() < UsableClientHeight() && y + GetLineHeight() > UsableClientHeight() && top->Next) {
      ScrollTopRow(1);
      continue;
    }
    int column = FBeyondEOL ? FCaretColumn : IndexToColumn(std::max(remaining, 0), row);
    x = ColumnToX(column, row);
    if (UsableClientWidth() < 1 || x < UsableClientWidth() || !row || FLeftColumn >= row->Length) break;
    FLeftColumn += 8;
    AddChangeFlags(cfScrolled);
    MetricsDirty = true;
  }
  int c = FBeyondEOL ? FCaretColumn : IndexToColumn(std::max(remaining, 0), row);
  if (c < FLeftColumn || x < 0) {
    while ((c < FLeftColumn || x < 0) && FLeftColumn >= 1) {
      FLeftColumn -= 8;
      x += 8 * FMetrics.AveCharWidth;
    }
    FLeftColumn = std::max(FLeftColumn, 0);
    AddChangeFlags(cfScrolled);
    MetricsDirty = true;
  } else if (c >= FLeftColumn + FVisibleColumns) {
    while (c >= FLeftColumn + FVisibleColumns)
      FLeftColumn += 8;
    AddChangeFlags(cfScrolled);
  }
  if (HasOption(smoWordWrap) && c < FVisibleColumns && FLeftColumn > 0) {
    while (c < FVisibleColumns && FLeftColumn > 0)
      FLeftColumn -= 8;
    FLeftColumn = std::max(FLeftColumn, 0);
    MetricsDirty = true;
  }
  if (FTopLine == oldTop && FLeftColumn == oldLeft) return;
  MetricsDirty = true;
  FHost->UpdateScrollBars();
}

void TSyntaxMemoModel::ScrollTo(int leftColumn, int topLine, bool repaint) {
  if (leftColumn >= GetLongestRow()) leftColumn = GetLongestRow() - 1;
  if (topLine >= GetRowCount()) topLine = GetRowCount() - 1;
  topLine = std::max(topLine, 0);
  int previous = FTopLine;
  FTopLine = topLine;
  FLeftColumn = std::max(leftColumn, 0);
  if (topLine != previous || !FStore->GetTopRow()) {
    FStore->SetTopRow(nullptr);
    EnsureTopRow();
    AddChangeFlags(cfScrolled);
  }
  if (!repaint) return;
  FStore->MarkRowsRepaint(FVisibleRows + 3);
  AddChangeFlags(cfScrolled);
  NotifyChange();
  FHost->UpdateScrollBars();
  FHost->Paint();
}

TScrollValues TSyntaxMemoModel::HorzScrollValues(bool visible, bool showBar) {
  TScrollValues v;
  v.Max = HasOption(smoWordWrap) || !showBar ? 0 : GetLongestRow();
  v.Page = visible ? FVisibleColumns : 0;
  v.Pos = v.TrackPos = FLeftColumn;
  return v;
}

TScrollValues TSyntaxMemoModel::VertScrollValues(bool visible) {
  TScrollValues v;
  v.Max = GetRowCount();
  v.Page = visible ? FVisibleRows : 0;
  v.Pos = v.TrackPos = FTopLine;
  if (FTopLine > 0 && GetRowCount() < FVisibleRows) v.Page = GetRowCount() - FTopLine;
  int d = GetScrollDivisor();
  v.Min /= d;
  v.Max /= d;
  v.Page /= d;
  v.Pos /= d;
  return v;
}

// ---- words

bool TSyntaxMemoModel::CharStartsWord(char c) const {
  if (fn_CharStartsWord) return fn_CharStartsWord(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool TSyntaxMemoModel::CharIsInWord(char c) const {
  if (fn_CharIsInWord) return fn_CharIsInWord(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '\'' || c == '-';
}

namespace {

struct TWordWalk {
  TEdStream& S;
  const TSyntaxMemoModel& M;
  bool InWord() const { return M.CharIsInWord(S.CurrentChar()); }
  bool Starts() const { return M.CharStartsWord(S.CurrentChar()); }
  bool Neither() const { return !InWord() && !Starts(); }

  int SkipBack() {
    while (S.CurrentPos() > 0 && !InWord())
      S.StepBack();
    if (Neither()) return -1;
    while (InWord() && S.CurrentPos() > 0)
      S.StepBack();
    if (!Starts()) S.Advance();
    return S.CurrentPos();
  }
};

} // namespace

int TSyntaxMemoModel::WordLeft() {
  int p = FCaret;
  int rowStart = 0;
  TRowRecord* row = RowAt(p, rowStart);
  if (!row || p == 0) return p;
  TEdStream stream(FStore.get());
  stream.AttachToRow(row, p - rowStart, rowStart);
  TWordWalk walk{stream, *this};
  if (walk.Neither()) return walk.SkipBack();
  stream.StepBack();
  if (walk.Neither()) return walk.SkipBack();
  while (stream.CurrentPos() >= 1 && walk.InWord())
    stream.StepBack();
  if (!walk.Starts()) stream.Advance();
  return stream.CurrentPos();
}

int TSyntaxMemoModel::WordRight() {
  int rowStart = 0;
  TRowRecord* row = RowAt(FCaret, rowStart);
  if (!row) return FCaret;
  TEdStream stream(FStore.get());
  stream.AttachToRow(row, FCaret - rowStart, rowStart);
  TWordWalk walk{stream, *this};
  if (walk.Starts()) stream.Advance();
  while (!stream.AtEnd() && walk.InWord())
    stream.Advance();
  while (!stream.AtEnd() && !walk.InWord())
    stream.Advance();
  if (!stream.AtEnd() && walk.Neither()) return -1;
  return stream.CurrentPos();
}

// ---- bookmarks

void TSyntaxMemoModel::SetBookmark(int k, int line, int column) {
  CheckBookmarkIndex(k);
  if (line == -1) {
    TRowLocation at = LocateRow(FCaret);
    line = at.Line + 1;
    column = FCaret - at.Start + 1;
  }
  bool set = FStore->SetBookmark(k, line, column, HasOption(smoWordWrap));
  if (set && OnBookmarkSet) OnBookmarkSet(Sender, k);
  FHost->Invalidate();
}

void TSyntaxMemoModel::GotoBookmark(int k) {
  int position = FStore->BookmarkPosition(k);
  if (position < 0) return;
  SetSelection(position, position, true);
  int line = LineFromChar(position);
  int lineHeight = GetLineHeight();
  int half = lineHeight > 0 ? (FClientHeight / lineHeight) / 2 : 0;
  ScrollTo(FLeftColumn, line - half, true);
}
