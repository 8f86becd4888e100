#include "StoreText.h"

#include "SyntaxEd_marks.h"
#include "SyntaxEd_undo.h"

#include <gtest/gtest.h>

namespace {

TRowRecord* RowNo(const TTextStore& store, int index) {
  TRowRecord* r = store.GetFirstRow();
  while (r && index-- > 0)
    r = r->Next;
  return r;
}

int BookmarkRow(const TTextStore& store, int k) {
  int i = 0;
  for (TRowRecord* r = store.GetFirstRow(); r; r = r->Next, ++i)
    if (r->Marks & (1u << k)) return i;
  return -1;
}

} // namespace

TEST(TextStore, NewStoreIsEmpty) {
  TTextStore store;
  EXPECT_EQ(store.GetFirstRow(), nullptr);
  EXPECT_EQ(store.GetTopRow(), nullptr);
  EXPECT_EQ(store.GetRowCount(), 0);
  EXPECT_EQ(store.GetTextLength(), 0);
  EXPECT_EQ(store.GetLongestRow(), 1);
  EXPECT_EQ(store.GetLineEndStyle(), lsCRLF);
  EXPECT_NE(store.GetUndoStack(), nullptr);
  EXPECT_EQ(store.GetMarkList(), nullptr);
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(store.GetBookmarkColumn(k), 0);
  int start = -1;
  EXPECT_EQ(store.RowAt(0, start), nullptr);
}

TEST(TextStore, NewRowHoldsATerminatedCopyAndNoColours) {
  const char text[] = "ab\r";
  TRowRecord* row = NewRowRecord(text, 3);
  EXPECT_EQ(row->Length, 3);
  EXPECT_EQ(String(row->Text.get()), "ab\r");
  EXPECT_EQ(row->Text[3], 0);
  EXPECT_EQ(row->Tokens, nullptr);
  EXPECT_EQ(row->Paint1, -1);
  EXPECT_EQ(row->Paint2, -1);
  FreeRowRecord(row);
  FreeRowRecord(nullptr);
}

TEST(TextStore, RowsFreedWithTheirTrackObjects) {
  struct Track : TLineTrack {
    explicit Track(int& gone) : Gone(gone) {}
    ~Track() override { ++Gone; }
    int& Gone;
  };
  int gone = 0;
  {
    TTextStore store;
    SetStoreText(store, "a\rb\rc");
    for (TRowRecord* r = store.GetFirstRow(); r; r = r->Next) {
      r->Track = std::make_unique<Track>(gone);
      r->Track->Row = r;
    }
  }
  EXPECT_EQ(gone, 3);
}

TEST(TextStore, RowAtGivesBoundariesToTheLaterRowAndTheEndToTheLast) {
  TTextStore store;
  SetStoreText(store, "abc\rde\r\rfg"); // rows start at 0, 4, 7, 8
  struct Case {
    int position, row, start;
  } cases[] = {{0, 0, 0}, {3, 0, 0}, {4, 1, 4}, {6, 1, 4}, {7, 2, 7}, {8, 3, 8}, {9, 3, 8}, {10, 3, 8}};
  for (const Case& c : cases) {
    int start = -1;
    TRowRecord* row = store.RowAt(c.position, start);
    EXPECT_EQ(row, RowNo(store, c.row)) << c.position;
    EXPECT_EQ(start, c.start) << c.position;
    EXPECT_EQ(RowStartPosition(row), c.start) << c.position;
  }
  EXPECT_EQ(RowStartPosition(nullptr), 0);
}

TEST(TextStore, LongLinesAreCutIntoContinuationRows) {
  TTextStore store;
  SetStoreText(store, String(5000, 'x'));
  ASSERT_EQ(store.GetRowCount(), 3);
  EXPECT_EQ(RowNo(store, 0)->Length, 2047);
  EXPECT_EQ(RowNo(store, 2)->Length, 906);
  EXPECT_FALSE(RowNo(store, 0)->Marks & rmContinuation);
  EXPECT_TRUE(RowNo(store, 1)->Marks & rmContinuation);
  EXPECT_TRUE(RowNo(store, 2)->Marks & rmContinuation);
}

TEST(TextStore, EnsureTopRowClampsAndWalks) {
  TTextStore store;
  SetStoreText(store, "ab\rcde\rf\rgh");
  struct Case {
    int line, wantLine, wantOffset;
  } cases[] = {{0, 0, 0}, {2, 2, 7}, {-5, 0, 0}, {99, 3, 9}};
  for (const Case& c : cases) {
    store.SetTopRow(nullptr);
    int line = c.line, offset = -1;
    store.EnsureTopRow(line, offset);
    EXPECT_EQ(line, c.wantLine) << c.line;
    EXPECT_EQ(offset, c.wantOffset) << c.line;
    EXPECT_EQ(store.GetTopRow(), RowNo(store, c.wantLine));
  }
  // A cached top row is kept as it is.
  int line = 0, offset = 0;
  store.EnsureTopRow(line, offset);
  EXPECT_EQ(line, 0);
  EXPECT_EQ(store.GetTopRow(), RowNo(store, 3));

  TTextStore empty;
  line = 4;
  empty.EnsureTopRow(line, offset);
  EXPECT_EQ(line, 0);
  EXPECT_EQ(empty.GetTopRow(), nullptr);
}

TEST(TextStore, RowFlagsForChangesAndRepaint) {
  TTextStore store;
  SetStoreText(store, "a\rb\rc\rd\r");
  TTextStore::MarkRowsChanged(RowNo(store, 1));
  EXPECT_FALSE(RowNo(store, 0)->Flags & rfChanged);
  for (int i = 1; i < 4; ++i)
    EXPECT_TRUE(RowNo(store, i)->Flags & rfChanged);

  store.SetTopRow(RowNo(store, 1));
  store.MarkRowsRepaint(2);
  EXPECT_EQ(RowNo(store, 0)->Flags & rfRepaint, 0u);
  EXPECT_TRUE(RowNo(store, 1)->Flags & rfRepaint);
  EXPECT_TRUE(RowNo(store, 2)->Flags & rfRepaint);
  EXPECT_EQ(RowNo(store, 3)->Flags & rfRepaint, 0u);
}

TEST(TextStore, BookmarkOnItsOwnLineTogglesAndKeepsTheUpperMarkBits) {
  TTextStore store;
  SetStoreText(store, "one\rtwo\rthree\r");
  RowNo(store, 1)->Marks |= rmContinuation; // a foreign upper bit stays
  EXPECT_TRUE(store.SetBookmark(3, 2, 2, false));
  EXPECT_EQ(BookmarkRow(store, 3), 1);
  EXPECT_EQ(store.GetBookmarkColumn(3), 2);
  EXPECT_EQ(store.BookmarkPosition(3), 5);

  EXPECT_FALSE(store.SetBookmark(3, 2, 2, false));
  EXPECT_EQ(BookmarkRow(store, 3), -1);
  EXPECT_EQ(store.BookmarkPosition(3), -1);
  EXPECT_EQ(RowNo(store, 1)->Marks, rmContinuation);

  EXPECT_TRUE(store.SetBookmark(3, 2, 1, false));
  EXPECT_EQ(BookmarkRow(store, 3), 1);
}

TEST(TextStore, BookmarkMovesToAnotherLine) {
  TTextStore store;
  SetStoreText(store, "one\rtwo\rthree\r");
  store.SetBookmark(5, 1, 1, false);
  EXPECT_TRUE(store.SetBookmark(5, 3, 4, false));
  EXPECT_EQ(BookmarkRow(store, 5), 2);
  EXPECT_EQ(RowNo(store, 0)->Marks, 0);
  EXPECT_EQ(store.BookmarkPosition(5), 8 + 3);
}

TEST(TextStore, ARowCarriesOneNumberedBookmark) {
  TTextStore store;
  SetStoreText(store, "one\rtwo\r");
  store.SetBookmark(2, 2, 1, false);
  store.SetBookmark(4, 2, 1, false);
  EXPECT_EQ(BookmarkRow(store, 4), 1);
  EXPECT_EQ(store.BookmarkPosition(2), -1);
}

TEST(TextStore, BookmarkLinesAndColumnsOutsideTheTextAreClamped) {
  TTextStore store;
  SetStoreText(store, "one\rtwo\r");
  store.SetBookmark(0, 99, 0, false);
  EXPECT_EQ(BookmarkRow(store, 0), 1);
  EXPECT_EQ(store.GetBookmarkColumn(0), 1);
  store.SetBookmark(1, 0, 50, false);
  EXPECT_EQ(BookmarkRow(store, 1), 0);
  // A stored column beyond the row lands on its last character.
  EXPECT_EQ(store.BookmarkPosition(1), 3);

  TTextStore empty;
  EXPECT_FALSE(empty.SetBookmark(1, 1, 1, false));
  EXPECT_EQ(empty.BookmarkPosition(1), -1);
}

TEST(TextStore, BookmarkUnderWordWrapSitsOnTheFirstRowOfTheLine) {
  TTextStore store;
  SetStoreText(store, "x\r" + String(3000, 'a') + "\r");
  ASSERT_TRUE(RowNo(store, 2)->Marks & rmContinuation);
  store.SetBookmark(7, 3, 5, true);
  EXPECT_EQ(BookmarkRow(store, 7), 1);
  store.SetBookmark(8, 3, 5, false);
  EXPECT_EQ(BookmarkRow(store, 8), 2);
}

TEST(TextStore, BookmarkNumbersOutsideZeroToNineAreRefused) {
  TTextStore store;
  SetStoreText(store, "one\r");
  for (int k : {-1, 10, 1000}) {
    try {
      store.SetBookmark(k, 1, 1, false);
      ADD_FAILURE() << k;
    } catch (const ESyntaxMemo& e) {
      EXPECT_EQ(e.Message, "Bookmark index range error");
    }
    EXPECT_THROW(store.BookmarkPosition(k), ESyntaxMemo);
    EXPECT_THROW(store.GetBookmarkColumn(k), ESyntaxMemo);
  }
  EXPECT_EQ(RowNo(store, 0)->Marks, 0);
}

TEST(TextStore, OwnsItsUndoStackAndMarkList) {
  TTextStore store;
  int freed = 0;
  auto list = std::make_unique<TObjectList>();
  list->OnFree = [&](TMark*) { ++freed; };
  list->AddMark(1, 2, 0);
  store.SetMarkList(std::move(list));
  store.GetUndoStack()->PushEntry(std::make_unique<TUndoEntry>());
  store.SetUndoStack(std::make_unique<TUndoStack>());
  EXPECT_EQ(store.GetUndoStack()->GetCount(), 0);
  store.SetMarkList(nullptr);
  EXPECT_EQ(freed, 1);
}
