#include "StoreText.h"

#include <gtest/gtest.h>

namespace {

// Rows "ab\r", "\r", "cde\r", "f": every kind of row boundary.
const String kText = "ab\r\rcde\rf";

class EdStreamTest : public ::testing::Test {
protected:
  void SetUp() override { SetStoreText(store, kText); }
  TTextStore store;
};

} // namespace

TEST_F(EdStreamTest, AdvanceWalksEveryCharacterAcrossRows) {
  TEdStream s(&store);
  AttachAt(s, store, 0);
  String seen;
  while (!s.AtEnd()) {
    EXPECT_EQ(s.CurrentPos(), static_cast<int>(seen.size()));
    seen += s.CurrentChar();
    s.Advance();
  }
  EXPECT_EQ(seen, kText);
  EXPECT_EQ(s.CurrentPos(), 9);
  EXPECT_EQ(s.CurrentChar(), 0);
  s.Advance();
  s.Advance();
  EXPECT_EQ(s.CurrentPos(), 9);
  EXPECT_TRUE(s.AtEnd());
  s.StepBack();
  EXPECT_EQ(s.CurrentPos(), 8);
  EXPECT_EQ(s.CurrentChar(), 'f');
}

TEST_F(EdStreamTest, StepBackWalksToTheStartAndStops) {
  TEdStream s(&store);
  AttachAt(s, store, 9);
  String seen;
  while (s.CurrentPos() > 0) {
    s.StepBack();
    seen += s.CurrentChar();
  }
  EXPECT_EQ(seen, ReverseString(kText));
  s.StepBack();
  EXPECT_EQ(s.CurrentPos(), 0);
  EXPECT_EQ(s.CurrentChar(), 'a');
}

TEST_F(EdStreamTest, MoveToReachesEveryPositionFromEveryPosition) {
  TEdStream s(&store);
  for (int from = 0; from <= 9; ++from) {
    for (int to = 0; to <= 9; ++to) {
      AttachAt(s, store, from);
      s.MoveTo(to);
      EXPECT_EQ(s.CurrentPos(), to);
      char want = to < 9 ? kText[to] : 0;
      EXPECT_EQ(s.CurrentChar(), want) << from << " -> " << to;
      int rowStart = 0;
      TRowRecord* row = store.RowAt(to, rowStart);
      EXPECT_EQ(s.GetRow(), row) << from << " -> " << to;
      EXPECT_EQ(s.GetOffset(), to - rowStart) << from << " -> " << to;
    }
  }
}

TEST_F(EdStreamTest, MoveToOutsideTheTextStopsAtTheEndsButReportsTheTarget) {
  TEdStream s(&store);
  AttachAt(s, store, 5);
  s.MoveTo(-4);
  EXPECT_EQ(s.CurrentPos(), -4);
  EXPECT_EQ(s.CurrentChar(), 'a');
  EXPECT_EQ(s.GetRow(), store.GetFirstRow());
  AttachAt(s, store, 5);
  s.MoveTo(50);
  EXPECT_EQ(s.CurrentPos(), 50);
  EXPECT_EQ(s.CurrentChar(), 0);
  EXPECT_TRUE(s.AtEnd());
}

TEST_F(EdStreamTest, RowRunHoldsTheRestOfTheRowAndSkipMovesAsAdvanceDoes) {
  for (int at = 0; at <= static_cast<int>(kText.size()); ++at) {
    SCOPED_TRACE(at);
    TEdStream s(&store);
    AttachAt(s, store, at);
    const char* chars = nullptr;
    int count = s.RowRun(chars);
    size_t cr = kText.find('\r', static_cast<size_t>(at));
    size_t rowEnd = cr == String::npos ? kText.size() : cr + 1;
    ASSERT_EQ(count, static_cast<int>(rowEnd) - at);
    if (count > 0) {
      EXPECT_EQ(String(chars, static_cast<size_t>(count)),
                kText.substr(static_cast<size_t>(at), rowEnd - at));
    }
    for (int n = 1; n <= count; ++n) {
      TEdStream skipped(&store), stepped(&store);
      AttachAt(skipped, store, at);
      AttachAt(stepped, store, at);
      skipped.Skip(n);
      for (int k = 0; k < n; ++k)
        stepped.Advance();
      EXPECT_EQ(skipped.CurrentPos(), stepped.CurrentPos());
      EXPECT_EQ(skipped.GetRow(), stepped.GetRow());
      EXPECT_EQ(skipped.GetOffset(), stepped.GetOffset());
    }
  }
}

TEST_F(EdStreamTest, RowRunStopsAtTheTextLength) {
  // A store whose length says less than its rows hold: the stream's end wins.
  store.SetTextLength(6);
  TEdStream s(&store);
  AttachAt(s, store, 4);
  const char* chars = nullptr;
  EXPECT_EQ(s.RowRun(chars), 2);
}

TEST_F(EdStreamTest, SeekByOrigin) {
  TEdStream s(&store);
  AttachAt(s, store, 4);
  struct Case {
    int64_t offset;
    TSeekOrigin origin;
    int64_t want;
  } cases[] = {{0, soCurrent, 4}, {2, soCurrent, 6}, {-3, soCurrent, 3}, {7, soBeginning, 7},
               {0, soEnd, 9},     {3, soEnd, 6},     {1, soBeginning, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(s.Seek(c.offset, c.origin), c.want);
    EXPECT_EQ(s.CurrentPos(), c.want);
  }
  EXPECT_EQ(s.GetSize(), 9);
  EXPECT_EQ(s.GetPosition(), 1);

  TEdStream orphan(nullptr);
  EXPECT_EQ(orphan.Seek(2, soEnd), 0);
}

TEST_F(EdStreamTest, ReadCopiesAcrossRows) {
  struct Case {
    int from, count;
    String want;
    int endPos;
  } cases[] = {{0, 3, "ab\r", 3}, {1, 5, "b\r\rcd", 6}, {4, 100, "cde\rf", 9}, {9, 4, "", 9}, {2, 0, "", 2}};
  for (const Case& c : cases) {
    TEdStream s(&store);
    AttachAt(s, store, c.from);
    char buf[128] = {};
    int64_t n = s.Read(buf, c.count);
    EXPECT_EQ(String(buf, static_cast<size_t>(n)), c.want) << c.from;
    EXPECT_EQ(s.CurrentPos(), c.endPos) << c.from;
  }
}

TEST_F(EdStreamTest, ReadEndingOnARowBoundaryStandsOnTheNextRow) {
  TEdStream s(&store);
  AttachAt(s, store, 0);
  char buf[4];
  ASSERT_EQ(s.Read(buf, 3), 3);
  EXPECT_EQ(s.GetRow(), store.GetFirstRow()->Next);
  EXPECT_EQ(s.GetOffset(), 0);
  EXPECT_EQ(s.CurrentChar(), '\r');
}

TEST_F(EdStreamTest, ReadingPastTheEndLeavesNoRow) {
  TEdStream s(&store);
  AttachAt(s, store, 6);
  char buf[16];
  EXPECT_EQ(s.Read(buf, 16), 3);
  EXPECT_EQ(s.GetRow(), nullptr);
  EXPECT_EQ(s.Read(buf, 16), 0);
}

TEST_F(EdStreamTest, WritingIsRefused) {
  TEdStream s(&store);
  AttachAt(s, store, 0);
  try {
    s.Write("x", 1);
    FAIL();
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message, "Cannot write to a read-only stream");
  }
  EXPECT_EQ(StoreText(store), kText);
}

TEST(EdStream, WithoutARowNothingMoves) {
  TTextStore store;
  SetStoreText(store, "abc");
  TEdStream s(&store);
  s.Advance();
  s.StepBack();
  s.MoveTo(2);
  EXPECT_EQ(s.CurrentPos(), 0);
  char buf[4];
  EXPECT_EQ(s.Read(buf, 4), 0);
}

TEST(EdStream, AnEmptyTextIsAtItsEnd) {
  TTextStore store;
  TEdStream s(&store);
  AttachAt(s, store, 0);
  EXPECT_TRUE(s.AtEnd());
  const char* chars = nullptr;
  EXPECT_EQ(s.RowRun(chars), 0);
  TEdStream orphan(nullptr);
  EXPECT_TRUE(orphan.AtEnd());
  EXPECT_EQ(orphan.RowRun(chars), 0);
}

TEST(EdStream, AttachReadsTheLengthAgain) {
  TTextStore store;
  SetStoreText(store, "ab");
  TEdStream s(&store);
  SetStoreText(store, "abcd\rxy");
  AttachAt(s, store, 5);
  EXPECT_EQ(s.Seek(0, soEnd), 7);
}
