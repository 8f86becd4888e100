#include "SyntaxEd_store.h"

#include "SyntaxEd_breakpoints.h"
#include "SyntaxEd_marks.h"
#include "SyntaxEd_undo.h"

#include <algorithm>
#include <cstring>

// ---- row records

TRowRecord* NewRowRecord(const char* text, int length) {
  auto* row = new TRowRecord;
  row->Length = static_cast<uint16_t>(length);
  row->Text = std::make_unique<char[]>(static_cast<size_t>(length) + 1);
  if (length > 0) std::memcpy(row->Text.get(), text, static_cast<size_t>(length));
  row->Text[length] = 0;
  return row;
}

void FreeRowRecord(TRowRecord* row) {
  delete row;
}

void FreeRowChain(TRowRecord* first) {
  while (first) {
    TRowRecord* next = first->Next;
    FreeRowRecord(first);
    first = next;
  }
}

int RowStartPosition(const TRowRecord* row) {
  int start = 0;
  for (const TRowRecord* r = row ? row->Prev : nullptr; r; r = r->Prev)
    start += r->Length;
  return start;
}

// ---- TTextStore

TTextStore::TTextStore()
    : FUndoStack(std::make_unique<TUndoStack>()), FCustomBookmarks(std::make_unique<TCustomBookmarks>()),
      FBreakpoints(std::make_unique<TSM_Breakpoints>()), FCodeBreak(std::make_unique<TSM_CodeBreak>()) {}

TTextStore::~TTextStore() {
  FreeRowChain(FFirstRow);
  FUndoStack.reset();
  FCustomBookmarks.reset();
  FMarkList.reset();
  FBreakpoints.reset();
  FCodeBreak.reset();
}

TSM_Breakpoints& TTextStore::GetBreakpoints() const {
  return *FBreakpoints;
}

TSM_CodeBreak& TTextStore::GetCodeBreak() const {
  return *FCodeBreak;
}

void TTextStore::NotifyBreakpoints(int position, int extent) {
  FBreakpoints->AdjustForEdit(position, extent);
  FCodeBreak->AdjustForEdit(position, extent);
}

void TTextStore::SetUndoStack(std::unique_ptr<TUndoStack> stack) {
  FUndoStack = std::move(stack);
}

void TTextStore::SetMarkList(std::unique_ptr<TObjectList> list) {
  FMarkList = std::move(list);
}

void CheckBookmarkIndex(int k) {
  if (k < 0 || k >= TTextStore::BookmarkCount) throw ESyntaxMemo(SBookmarkRange);
}

uint16_t TTextStore::GetBookmarkColumn(int k) const {
  CheckBookmarkIndex(k);
  return FBookmarkColumns[k];
}

void TTextStore::SetBookmarkColumn(int k, uint16_t column) {
  CheckBookmarkIndex(k);
  FBookmarkColumns[k] = column;
}

TRowRecord* TTextStore::RowAt(int position, int& rowStart) const {
  rowStart = 0;
  TRowRecord* row = FFirstRow;
  if (!row) return nullptr;
  while (row->Next && position - rowStart >= row->Length) {
    rowStart += row->Length;
    row = row->Next;
  }
  return row;
}

void TTextStore::EnsureTopRow(int& topLine, int& topRowOffset) {
  if (FTopRow) return;
  int wanted = std::clamp(topLine, 0, std::max(FRowCount - 1, 0));
  int walked = 0;
  int offset = 0;
  TRowRecord* row = FFirstRow;
  while (row && walked < wanted && row->Next) {
    offset += row->Length;
    row = row->Next;
    ++walked;
  }
  topLine = walked;
  topRowOffset = offset;
  FTopRow = row;
}

void TTextStore::MarkRowsChanged(TRowRecord* row) {
  for (; row; row = row->Next)
    row->Flags |= rfChanged;
}

void TTextStore::MarkRowsRepaint(int count) {
  TRowRecord* row = FTopRow;
  for (int i = 0; row && i < count; ++i, row = row->Next)
    row->Flags |= rfRepaint;
}

bool TTextStore::SetBookmark(int k, int line, int column, bool wordWrap) {
  CheckBookmarkIndex(k);
  const uint16_t bit = static_cast<uint16_t>(1u << k);
  TRowRecord* oldRow = nullptr;
  int oldLine = 0;
  if (FBookmarkColumns[k] != 0) {
    int number = 1;
    for (TRowRecord* r = FFirstRow; r; r = r->Next, ++number) {
      if (r->Marks & bit) {
        r->Marks &= ~rmBookmarkBits;
        r->Flags |= rfRepaint;
        oldRow = r;
        oldLine = number;
        break;
      }
    }
  }
  if (line < 0) line = 1;
  if (column <= 0) column = 1;
  TRowRecord* target = FFirstRow;
  for (int i = 1; target && i < line && target->Next; ++i)
    target = target->Next;
  if (oldRow && oldLine == line) return false;
  if (!target) return false;
  if (wordWrap)
    while ((target->Marks & rmContinuation) && target->Prev)
      target = target->Prev;
  if (target == oldRow) {
    FBookmarkColumns[k] = 0;
  } else {
    target->Marks = static_cast<uint16_t>((target->Marks & ~rmBookmarkBits) | bit);
    target->Flags |= rfRepaint;
    FBookmarkColumns[k] = static_cast<uint16_t>(column);
  }
  return true;
}

int TTextStore::BookmarkPosition(int k) const {
  CheckBookmarkIndex(k);
  const uint16_t bit = static_cast<uint16_t>(1u << k);
  int start = 0;
  for (TRowRecord* r = FFirstRow; r; r = r->Next) {
    if (r->Marks & bit) return start + std::min<int>(FBookmarkColumns[k], r->Length) - 1;
    start += r->Length;
  }
  return -1;
}
