#include "SyntaxMemo_model.h"

#include "SyntaxEd_marks.h"
#include "SyntaxEd_rescan.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

bool HasTab(const char* text, int count) {
  return std::memchr(text, '\t', static_cast<size_t>(count)) != nullptr;
}

// A row's characters are zero-terminated; a NUL among them would cut it.
void MaskNul(char* text, int count) {
  for (int i = 0; i < count; ++i)
    if (text[i] == 0) text[i] = '.';
}

} // namespace

// ---- the chain

void TSyntaxMemoModel::LinkAfter(TRowRecord* after, TRowRecord* row) {
  row->Prev = after;
  row->Next = after ? after->Next : FStore->GetFirstRow();
  if (row->Next) row->Next->Prev = row;
  if (after)
    after->Next = row;
  else
    FStore->SetFirstRow(row);
  FStore->SetRowCount(FStore->GetRowCount() + 1);
}

void TSyntaxMemoModel::UnlinkAndFree(TRowRecord* row) {
  if (row == FStore->GetTopRow()) FStore->SetTopRow(nullptr);
  if (row == FRescanner->FirstChangedRow) FRescanner->FirstChangedRow = nullptr;
  if (row == FLastAppended) FLastAppended = nullptr;
  if (row == FStore->GetFirstRow()) FStore->SetFirstRow(row->Next);
  if (row->Prev) row->Prev->Next = row->Next;
  if (row->Next) row->Next->Prev = row->Prev;
  NoteRowGone(row);
  FStore->SetRowCount(std::max(0, FStore->GetRowCount() - 1));
  FreeRowRecord(row);
}

void TSyntaxMemoModel::NoteLongest(const TRowRecord* row) {
  FLongestNew = std::max(FLongestNew, static_cast<int>(row->Length));
}

void TSyntaxMemoModel::NoteRowGone(const TRowRecord* row) {
  if (row->Length >= FStore->GetLongestRow()) FLongestLost = true;
  // A row made by this edit and gone again may have been the longest noted.
  if (FLongestNew > 0 && row->Length >= FLongestNew) FLongestNewLost = true;
}

void TSyntaxMemoModel::SettleLongestRow() {
  if (FLongestNewLost || (FLongestLost && FLongestNew < FStore->GetLongestRow()))
    RecomputeLongestRow();
  else if (FLongestNew > FStore->GetLongestRow())
    FStore->SetLongestRow(FLongestNew);
  FLongestLost = false;
  FLongestNewLost = false;
  FLongestNew = 0;
}

void TSyntaxMemoModel::RecomputeLongestRow() {
  FStore->SetLongestRow(LongestRowLength());
}

int TSyntaxMemoModel::LongestRowLength() const {
  int longest = 0;
  for (const TRowRecord* row = GetFirstRow(); row; row = row->Next)
    longest = std::max(longest, static_cast<int>(row->Length));
  return longest;
}

void TSyntaxMemoModel::NoteFirstChanged(TRowRecord* row) {
  if (!FRescanner->FirstChangedRow) FRescanner->FirstChangedRow = row;
}

void TSyntaxMemoModel::DropTopRowBefore(const TRowRecord* row, int position) {
  if (row != FStore->GetTopRow() && position < FTopRowOffset) FStore->SetTopRow(nullptr);
}

void TSyntaxMemoModel::MarkChangedRows(TRowRecord* from, int count) {
  for (; from && count > 0; from = from->Next, --count)
    from->Flags |= rfChanged;
}

// ---- selection

int TSyntaxMemoModel::GetSelStart() const {
  return std::min(FAnchor, FCaret);
}

void TSyntaxMemoModel::SetSelStart(int value) {
  SetSelection(value, value, true);
}

int TSyntaxMemoModel::GetSelLength() {
  auto [start, end] = OrderRange({FAnchor, FCaret});
  if (start == end) return 0;
  int length = end - start;
  if (FStore->GetLineEndStyle() != lsCRLF) return length;
  int rowStart = 0;
  for (TRowRecord* row = RowAt(start, rowStart); row && rowStart < end;
       rowStart += row->Length, row = row->Next) {
    int last = rowStart + row->Length - 1;
    if (RowEndsWithCR(row) && last >= start && last < end) ++length;
  }
  return length;
}

void TSyntaxMemoModel::SetSelLength(int value) {
  int start = GetSelStart();
  SetSelection(start, start + value, true);
}

void TSyntaxMemoModel::SelectAll() {
  SetSelection(-1, 0, true);
}

void TSyntaxMemoModel::MarkSelectionRows(std::pair<int, int> range) {
  if (!ShowFocusLine && range.first == range.second) return;
  int rowStart = 0;
  TRowRecord* row = RowAt(range.first, rowStart);
  int endStart = 0;
  TRowRecord* last = RowAt(range.second, endStart);
  for (; row; row = row->Next) {
    row->Flags |= rfRepaint;
    if (row == last) break;
  }
}

void TSyntaxMemoModel::SetSelection(int anchor, int caret, bool repaint) {
  auto old = OrderRange({FAnchor, FCaret});
  int length = GetTextLength();
  if (anchor == -1) {
    anchor = 0;
    caret = length;
  }
  caret = std::clamp(caret, 0, length);
  anchor = std::clamp(anchor, 0, length);
  EnsureTopRow();
  if (!HasOption(smoCaretAfterEOL)) {
    int rowStart = 0;
    TRowRecord* row = RowAt(caret, rowStart);
    if (FColumnTrackRequest && HasOption(smoColumnTrack) && row) {
      caret = rowStart + ColumnToIndex(FCaretColumn, row);
      anchor = caret;
    } else {
      FCaretColumn = IndexToColumn(caret - rowStart, row);
    }
    FColumnTrackRequest = false;
  }
  MarkSelectionRows(old);
  FAnchor = anchor;
  FCaret = caret;
  auto now = OrderRange({FAnchor, FCaret});
  MarkSelectionRows(now);
  if (!repaint || !FRedraw) return;
  if (now == old)
    RescanFrom(FRescanner->FirstChangedRow);
  else
    AddChangeFlags(cfSelection);
  if (!FBeyondEOL) MakeVisible(FCaret);
  NotifyChange();
  FHost->Paint();
}

String TSyntaxMemoModel::GetSelectedText() {
  auto [start, end] = OrderRange({FAnchor, FCaret});
  String text;
  if (start >= end) return text;
  text.reserve(static_cast<size_t>(end - start));
  int rowStart = 0;
  for (TRowRecord* row = RowAt(start, rowStart); row && rowStart < end;
       rowStart += row->Length, row = row->Next) {
    int from = std::max(start - rowStart, 0);
    int to = std::min(end - rowStart, static_cast<int>(row->Length));
    if (to > from) text.append(row->Text.get() + from, static_cast<size_t>(to - from));
  }
  return text;
}

void TSyntaxMemoModel::Clear() {
  bool redraw = FRedraw;
  if (redraw) SetRedraw(false);
  SelectAll();
  ReplaceSelText(nullptr);
  if (redraw) SetRedraw(true);
  ClearUndo();
}

// ---- replacing the selection

String TSyntaxMemoModel::MakeFillText(int fromColumn, int toColumn) {
  String fill;
  int column = fromColumn;
  if (HasOption(smoUseTAB) && HasOption(smoSmartFill)) {
    for (int next = NextTabStop(column); next <= toColumn && next > column; next = NextTabStop(column)) {
      fill += '\t';
      column = next;
    }
  }
  if (toColumn > column) fill.append(static_cast<size_t>(toColumn - column), ' ');
  return fill;
}

String TSyntaxMemoModel::VirtualFill() {
  int rowStart = 0;
  TRowRecord* row = RowAt(FCaret, rowStart);
  int from = 0;
  if (row) {
    int last = row->Length - (RowEndsWithCR(row) ? 1 : 0);
    from = IndexToColumn(last, row);
  }
  return MakeFillText(from, FCaretColumn);
}

void TSyntaxMemoModel::ReplaceSelection(const String* text) {
  ReplaceSelectionText(text ? text->data() : nullptr, text ? static_cast<int>(text->size()) : 0);
}

void TSyntaxMemoModel::ReplaceSelectionText(const char* text, int count) {
  FUndo.BeginUndoGroup(ugReplaceSelection);
  String fill;
  auto [start, end] = OrderRange({FAnchor, FCaret});
  if (!FBulkLoad && FBeyondEOL && start == end) {
    FBeyondEOL = false;
    fill = VirtualFill();
  }
  String prefixed;
  if (!fill.empty()) {
    prefixed = fill;
    if (text) prefixed.append(text, static_cast<size_t>(count));
    text = prefixed.data();
    count = static_cast<int>(prefixed.size());
  }
  if (!FUndo.GetTransactionOpen() && !FUndo.GetUndoRunning()) {
    String logged = text ? String(text, static_cast<size_t>(count)) : String();
    FUndo.LogTransaction(ltText, ltOpen, TLogData{&logged, nullptr});
  }
  if (FBulkLoad) {
    DeleteSelection();
    LayoutChanged = true;
  } else if (start != end) {
    int startRow = 0;
    int endRow = 0;
    TRowRecord* first = RowAt(start, startRow);
    TRowRecord* last = RowAt(end, endRow);
    DeleteSelection();
    if (first != last) LayoutChanged = true;
  }
  EnsureTopRow();
  FAnchor = FCaret = start;
  if (FBulkLoad) FAnchor = FCaret = GetTextLength();
  if (text && count > 0) InsertText(text, count);
  FAnchor = FCaret;
  if (!FBulkLoad) {
    int rowStart = 0;
    TRowRecord* row = RowAt(FCaret, rowStart);
    FCaretColumn = row ? IndexToColumn(FCaret - rowStart, row) : 0;
  }
  EnsureTopRow();
  if (FUndo.GetTransactionOpen() && FUndo.GetTransactionType() == ltText)
    FUndo.LogTransaction(ltText, ltClose);
  Rescan();
  FUndo.EndUndoGroup(ugReplaceSelection);
  FBeyondEOL = false;
}

void TSyntaxMemoModel::ReplaceSelText(const char* text, bool repaint) {
  ReplaceSelectionText(text, text ? static_cast<int>(std::strlen(text)) : 0);
  if (!repaint || !FRedraw) return;
  AddChangeFlags(cfText | cfSelection);
  NotifyChange();
  MakeVisible(FCaret);
  FHost->Paint();
  FHost->UpdateScrollBars();
}

// ---- inserting

int TSyntaxMemoModel::InsertText(const char* text, int count) {
  if (!text) return 0;
  if (count == -1) count = static_cast<int>(std::strlen(text));
  if (count <= 0) return 0;
  int stored = 0;
  if (count == 1) {
    char c = text[0] == '\n' ? '\r' : text[0];
    MaskNul(&c, 1);
    stored = StoreRowText(&c, 1);
  } else {
    std::vector<char> converted(ChunkSize + 1);
    int pos = 0;
    while (pos < count) {
      int chunk = std::min(count - pos, ChunkSize);
      // A CR LF pair is never split: a chunk ending on CR leaves it to the next.
      if (count - pos > ChunkSize - 1 && chunk == ChunkSize && text[pos + ChunkSize - 1] == '\r') --chunk;
      int n = ConvertInsertText(converted.data(), text + pos, chunk);
      MaskNul(converted.data(), n);
      stored += StoreRowText(converted.data(), n);
      pos += chunk;
    }
  }
  SettleLongestRow();
  if (FStore->GetLongestRow() > MaxInsertRow) ReflowRows();
  return stored;
}

int TSyntaxMemoModel::StoreRowText(const char* text, int n) {
  if (n <= 0) return 0;
  InsertRowText(text, n);
  EnsureTopRow();
  int at = FCaret;
  if (OnTextChange) OnTextChange(Sender, at, n);
  FStore->NotifyBreakpoints(at, n);
  FCaret += n;
  FAnchor = FCaret;
  return n;
}

bool TSyntaxMemoModel::InsertCharInPlace(TRowRecord* row, int offset, char c) {
  if (c == '\r' || !row || offset >= row->Length) return false;
  auto text = std::make_unique<char[]>(static_cast<size_t>(row->Length) + 2);
  std::memcpy(text.get(), row->Text.get(), static_cast<size_t>(offset));
  text[offset] = c;
  std::memcpy(text.get() + offset + 1, row->Text.get() + offset,
              static_cast<size_t>(row->Length - offset) + 1);
  row->Text = std::move(text);
  row->Length = static_cast<uint16_t>(row->Length + 1);
  row->Tokens.reset();
  row->Flags |= rfRepaint | rfChanged;
  if (c == '\t') row->Flags |= rfHasTab;
  NoteLongest(row);
  NoteFirstChanged(row);
  return true;
}

void TSyntaxMemoModel::InsertRowText(const char* text, int n) {
  int rowStart = 0;
  TRowRecord* row;
  if (FBulkLoad) {
    FCaret = GetTextLength();
    row = FLastAppended;
    rowStart = row ? GetTextLength() - row->Length : 0;
  } else {
    row = RowAt(FCaret, rowStart);
  }
  FStore->SetTextLength(GetTextLength() + n);
  FStore->GetCustomBookmarks().BookmarksInserted(n, FCaret);
  if (FStore->GetMarkList()) FStore->GetMarkList()->MarksInserted(FCaret, n);
  int offset = row ? std::clamp(FCaret - rowStart, 0, static_cast<int>(row->Length)) : 0;
  DropTopRowBefore(row, FCaret);
  if (n == 1 && InsertCharInPlace(row, offset, text[0])) {
    if (HasOption(smoWordWrap)) ReflowRows(row, row);
    return;
  }
  String combined;
  uint16_t marks = 0;
  uint16_t images = 0;
  int32_t paint1 = -1;
  int32_t paint2 = -1;
  std::unique_ptr<TLineTrack> track;
  TRowRecord* after = nullptr;
  if (row) {
    combined.reserve(static_cast<size_t>(row->Length + n));
    combined.append(row->Text.get(), static_cast<size_t>(offset));
    combined.append(text, static_cast<size_t>(n));
    combined.append(row->Text.get() + offset, static_cast<size_t>(row->Length - offset));
    marks = row->Marks;
    images = row->GutterImages;
    paint1 = row->Paint1;
    paint2 = row->Paint2;
    track = std::move(row->Track);
    after = row->Prev;
    UnlinkAndFree(row);
  } else {
    combined.assign(text, static_cast<size_t>(n));
  }
  TRowRecord* firstNew = nullptr;
  TRowRecord* lastNew = SplitIntoRows(combined, after, firstNew);
  firstNew->Marks = marks;
  firstNew->GutterImages = images;
  firstNew->Paint1 = paint1;
  firstNew->Paint2 = paint2;
  firstNew->Track = std::move(track);
  if (firstNew->Track) firstNew->Track->Row = firstNew;
  NoteFirstChanged(firstNew);
  MarkChangedRows(firstNew, FVisibleRows + 2);
  if (HasOption(smoWordWrap)) ReflowRows(firstNew, lastNew);
}

TRowRecord* TSyntaxMemoModel::SplitIntoRows(const String& combined, TRowRecord* after,
                                            TRowRecord*& firstNew) {
  const char* text = combined.data();
  int total = static_cast<int>(combined.size());
  int pos = 0;
  firstNew = nullptr;
  TRowRecord* previous = after;
  while (pos < total) {
    int examine = std::min(total - pos, MaxInsertRow - 1);
    const void* cr = std::memchr(text + pos, '\r', static_cast<size_t>(examine));
    int length = cr ? static_cast<int>(static_cast<const char*>(cr) - (text + pos)) + 1
                    : std::min(total - pos, MaxInsertRow);
    TRowRecord* row = NewRowRecord(text + pos, length);
    row->Flags = rfRepaint | rfChanged | (HasTab(text + pos, length) ? uint32_t(rfHasTab) : 0u);
    if (firstNew && !RowEndsWithCR(previous)) row->Marks = rmContinuation;
    LinkAfter(previous, row);
    NoteLongest(row);
    FLastAppended = row;
    if (!firstNew) firstNew = row;
    previous = row;
    pos += length;
  }
  return previous;
}

// ---- deleting

void TSyntaxMemoModel::DeleteSelection() {
  auto [start, end] = OrderRange({FAnchor, FCaret});
  if (start >= end || !GetFirstRow()) return;
  int count = end - start;
  FStore->SetTextLength(GetTextLength() - count);
  FStore->GetCustomBookmarks().BookmarksDeleted(count, start);
  if (FStore->GetMarkList()) FStore->GetMarkList()->MarksDeleted(start, end);

  int rowStart = 0;
  TRowRecord* row = RowAt(start, rowStart);
  TRowRecord* pred = row->Prev;
  uint16_t marks = row->Marks;
  uint16_t images = row->GutterImages;
  int32_t paint1 = row->Paint1;
  int32_t paint2 = row->Paint2;
  int prefixLength = start - rowStart;
  String joined(row->Text.get(), static_cast<size_t>(prefixLength));
  std::unique_ptr<TLineTrack> track;
  if (prefixLength > 0) track = std::move(row->Track);
  DropTopRowBefore(row, start);

  int remaining = count + prefixLength;
  TRowRecord* succ = nullptr;
  while (row && remaining >= row->Length) {
    remaining -= row->Length;
    TRowRecord* next = row->Next;
    UnlinkAndFree(row);
    row = next;
  }
  if (row) {
    joined.append(row->Text.get() + remaining, static_cast<size_t>(row->Length - remaining));
    succ = row->Next;
    UnlinkAndFree(row);
  }
  if (joined.empty() && !pred && !succ) {
    EmptyText();
    return;
  }
  TRowRecord* fresh = nullptr;
  if (!joined.empty()) {
    fresh = NewRowRecord(joined.data(), static_cast<int>(joined.size()));
    fresh->Flags =
        rfChanged | (HasTab(joined.data(), static_cast<int>(joined.size())) ? uint32_t(rfHasTab) : 0u);
    fresh->Marks = marks;
    fresh->GutterImages = images;
    fresh->Paint1 = paint1;
    fresh->Paint2 = paint2;
    fresh->Track = std::move(track);
    if (fresh->Track) fresh->Track->Row = fresh;
    LinkAfter(pred, fresh);
    NoteFirstChanged(fresh);
    NoteLongest(fresh);
  }
  SettleLongestRow();
  EnsureTopRow();
  if (FStore->GetLongestRow() >= ReflowLimit)
    ReflowRows();
  else if (HasOption(smoWordWrap))
    ReflowRows(pred ? pred : GetFirstRow(), succ ? succ : (fresh ? fresh : pred));
  if (OnTextChange) OnTextChange(Sender, start, -count);
  FStore->NotifyBreakpoints(start, -count);
}

void TSyntaxMemoModel::EmptyText() {
  FreeRowChain(FStore->GetFirstRow());
  FAnchor = FCaret = 0;
  FTopLine = 0;
  FTopRowOffset = 0;
  FStore->SetFirstRow(nullptr);
  FStore->SetTopRow(nullptr);
  FRescanner->FirstChangedRow = nullptr;
  FLastAppended = nullptr;
  if (OnTextChange) OnTextChange(Sender, 0, 0);
  FStore->SetTextLength(0);
  FStore->SetRowCount(0);
  SetSelection(0, 0, false);
  FStore->SetLongestRow(0);
  FLongestLost = false;
  FLongestNewLost = false;
  FLongestNew = 0;
  FStore->GetCustomBookmarks().ClearBookmarks();
}

// ---- streams

void TSyntaxMemoModel::InsertFromStream(TStream& stream) {
  int64_t remaining = stream.GetSize() - stream.GetPosition();
  auto [start, end] = OrderRange({FAnchor, FCaret});
  // Positions are 32-bit: a text that would pass them is refused whole.
  if (remaining > static_cast<int64_t>(INT_MAX) - (GetTextLength() - (end - start)))
    throw ESyntaxMemo(SNotEnoughMemory);
  std::vector<char> buffer(ChunkSize + 1);
  if (remaining <= 0) ReplaceSelectionText(nullptr, 0);
  while (remaining > 0) {
    int want = static_cast<int>(std::min<int64_t>(remaining, ChunkSize));
    int got = static_cast<int>(stream.Read(buffer.data(), want));
    if (got <= 0) break;
    // A CR that may have its LF in the next read goes with it, also after a
    // short read.
    if (got > 1 && got < remaining && buffer[static_cast<size_t>(got - 1)] == '\r') {
      --got;
      stream.Seek(-1, soCurrent);
    }
    ReplaceSelectionText(buffer.data(), got);
    FAnchor = FCaret;
    remaining -= got;
  }
  AddChangeFlags(cfSelection);
  NotifyChange();
  FHost->UpdateScrollBars();
}

void TSyntaxMemoModel::InsertStreamText(TStream& stream, bool repaint) {
  InsertFromStream(stream);
  if (!repaint) return;
  AddChangeFlags(cfText | cfSelection);
  NotifyChange();
  SetSelection(FAnchor, FCaret, true);
  MakeVisible(FCaret);
  FHost->Paint();
}
