// The editing core: text split into rows, chunks, joins, the counters and
// the notifications around every change.
#include "ModelFixture.h"

#include "SyntaxEd_marks.h"

#include <cstring>
#include <utility>

namespace {

using Edit = ModelTest;

TEST_F(Edit, InsertingSplitsRowsAtLineEndsAndAtTheRowLimit) {
  Type("abc\r\ndef");
  EXPECT_EQ(RowTexts(), (std::vector<String>{"abc\r", "def"}));
  EXPECT_EQ(model.GetTextLength(), 7);
  EXPECT_EQ(model.GetRowCount(), 2);
  EXPECT_EQ(model.GetCaret(), 7);

  SetText(String(5000, 'x'));
  EXPECT_EQ(RowLengths(), (std::vector<int>{2047, 2047, 906}));
  auto rows = Rows();
  EXPECT_FALSE(rows[0]->Marks & rmContinuation);
  EXPECT_TRUE(rows[1]->Marks & rmContinuation);
  EXPECT_TRUE(rows[2]->Marks & rmContinuation);
  EXPECT_EQ(model.GetLongestRow(), 2047);
}

TEST_F(Edit, ALineEndOnAChunkBoundaryStaysOneLineEnd) {
  String text(8191, 'a');
  text += "\r\nbcd";
  Type(text);
  EXPECT_EQ(model.GetTextLength(), 8195);
  EXPECT_EQ(Text(), String(8191, 'a') + "\rbcd");
}

TEST_F(Edit, NulAndControlCharactersBecomeDots) {
  const char text[] = {'a', 0, 'b', 7, 0};
  model.InsertText(text, 5);
  EXPECT_EQ(Text(), "a.b..");
  model.InsertText(text + 1, 1);
  EXPECT_EQ(Text(), "a.b...");

  String loaded("x\0y\0", 4);
  TStringStream stream(loaded);
  model.LoadTextFromStream(stream);
  EXPECT_EQ(Text(), "x.y.");
}

TEST_F(Edit, TypingInsideARowKeepsItsMarksAndTrack) {
  SetText("abcdef\rxyz");
  TRowRecord* row = model.GetFirstRow();
  row->Marks = 1 << 3;
  auto track = std::make_unique<TLineTrack>();
  TLineTrack* kept = track.get();
  row->Track = std::move(track);
  row->Tokens = std::make_unique<uint8_t[]>(row->Length);
  model.SetSelection(3, 3, false);
  Type("Q");
  EXPECT_EQ(model.GetFirstRow(), row);
  EXPECT_EQ(RowTexts()[0], "abcQdef\r");
  EXPECT_EQ(row->Marks, 1 << 3);
  EXPECT_EQ(row->Track.get(), kept);
  EXPECT_EQ(row->Tokens, nullptr);
  EXPECT_TRUE(row->Flags & rfChanged);
}

TEST_F(Edit, DeletingAcrossALineJoinsItsRowsUnderTheFirstRowsMarks) {
  SetText("first\rsecond\rthird");
  model.GetFirstRow()->Marks = 1 << 2;
  model.SetSelection(2, 9, false);
  Type("");
  EXPECT_EQ(RowTexts(), (std::vector<String>{"fiond\r", "third"}));
  EXPECT_EQ(model.GetFirstRow()->Marks, 1 << 2);
  EXPECT_EQ(model.GetRowCount(), 2);
}

TEST_F(Edit, DeletingEverythingEmptiesTheStore) {
  SetText("abc\rdef");
  std::vector<std::pair<int, int>> changes;
  model.OnTextChange = [&](TObject*, int start, int extent) { changes.emplace_back(start, extent); };
  model.SelectAll();
  Type("");
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 0}}));
  EXPECT_EQ(model.GetLongestRow(), 0);
  EXPECT_EQ(model.GetRowCount(), 0);
  EXPECT_EQ(model.GetFirstRow(), nullptr);
}

TEST_F(Edit, JoiningTwoLongRowsRebreaksTheText) {
  SetText(String(1500, 'a') + "\r" + String(1500, 'b'));
  model.SetSelection(1500, 1501, false);
  Type("");
  EXPECT_EQ(Text(), String(1500, 'a') + String(1500, 'b'));
  EXPECT_LT(model.GetLongestRow(), 2048);
  EXPECT_GT(model.GetRowCount(), 1);
}

TEST_F(Edit, AStreamIsInsertedInChunksThatNeverSplitALineEnd) {
  String data(8193, 'x');
  data[8191] = '\r';
  std::vector<int> extents;
  model.OnTextChange = [&](TObject*, int, int extent) { extents.push_back(extent); };
  TStringStream stream(data);
  model.InsertFromStream(stream);
  EXPECT_EQ(extents, (std::vector<int>{8191, 2}));
  EXPECT_EQ(model.GetTextLength(), 8193);
}

// Hands out at most 5 bytes a read.
class TTrickleStream : public TStringStream {
public:
  using TStringStream::TStringStream;
  int64_t Read(void* buffer, int64_t count) override {
    return TStringStream::Read(buffer, std::min<int64_t>(count, 5));
  }
};

TEST_F(Edit, ShortReadsNeverSplitALineEnd) {
  TTrickleStream stream("abcd\r\nefg\r\n\r\nh");
  model.InsertFromStream(stream);
  EXPECT_EQ(Text(), "abcd\refg\r\rh");
}

TEST_F(Edit, LongestRowFollowsGrowthAndLoss) {
  SetText("ab\rabcdef\rabc");
  EXPECT_EQ(model.GetLongestRow(), 7);
  model.SetSelection(3, 10, false);
  Type("");
  EXPECT_EQ(model.GetLongestRow(), 3);
  model.SetSelection(0, 0, false);
  Type("0123456789");
  EXPECT_EQ(model.GetLongestRow(), 13);
}

TEST_F(Edit, NotificationsReportEveryChangeToMarksBookmarksAndBreakpoints) {
  SetText("0123456789\rabc");
  model.GetStore().GetCustomBookmarks().AddBookmark("b", 11);
  std::vector<std::pair<int, int>> changes;
  model.OnTextChange = [&](TObject*, int start, int extent) { changes.emplace_back(start, extent); };
  model.SetSelection(2, 5, false);
  Type("XY");
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{2, -3}, {2, 2}}));
  EXPECT_EQ(model.GetStore().GetCustomBookmarks().GetFirst()->Position, 10);
}

TEST_F(Edit, UndoAndRedoRestoreTextAndSelection) {
  SetText("hello world");
  model.ClearUndo();
  model.SetSelection(6, 11, false);
  Type("there");
  model.SetSelection(0, 0, false);
  Type(">");
  model.Undo();
  EXPECT_EQ(Text(), "hello there");
  model.Undo();
  EXPECT_EQ(Text(), "hello world");
  EXPECT_EQ(model.GetSelection(), std::make_pair(6, 11));
  model.Redo();
  model.Redo();
  EXPECT_EQ(Text(), ">hello there");
  EXPECT_FALSE(model.CanRedo());
}

// Selections as the selection message takes them.
TEST_F(Edit, SelectionIsClampedAndMeasuredInTheLineEndStyle) {
  SetText("0123456789");
  struct Case {
    int first, second, anchor, caret;
  } cases[] = {{5, 1000, 5, 10}, {-1, 3, 0, 10}, {-5, 4, 0, 4}, {7, 2, 7, 2}};
  for (const Case& c : cases) {
    model.SetSelection(c.first, c.second, false);
    EXPECT_EQ(model.GetSelection(), std::make_pair(c.anchor, c.caret)) << c.first << "," << c.second;
  }
  SetText("ab\rcd\ref");
  model.SetSelection(1, 7, false);
  EXPECT_EQ(model.GetSelLength(), 8);
  EXPECT_EQ(model.GetSelText(), "b\r\ncd\r\ne");
  model.GetStore().SetLineEndStyle(lsLF);
  EXPECT_EQ(model.GetSelLength(), 6);
}

TEST_F(Edit, WindowTextCopiesAtMostTheCapacity) {
  SetText("a\rb");
  char buffer[8] = "#######";
  EXPECT_EQ(model.GetWindowText(buffer, 0), 0);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(model.GetWindowText(buffer, 4), 3);
  EXPECT_STREQ(buffer, "a\r\n");
  EXPECT_EQ(model.GetWindowText(buffer, 5), 4);
  EXPECT_STREQ(buffer, "a\r\nb");
  EXPECT_EQ(model.GetWindowTextLength(), 4);
}

TEST_F(Edit, SelectedTextIntoABufferNeverPassesItsSize) {
  SetText("a\rb\rc");
  model.SelectAll();
  char buffer[5];
  std::memset(buffer, '#', sizeof buffer);
  // Five positions are seven bytes with CR LF line ends.
  EXPECT_EQ(model.GetSelTextBuf(buffer, 4), 4);
  EXPECT_EQ(String(buffer, 4), "a\r\nb");
  EXPECT_EQ(buffer[4], 0);
  EXPECT_EQ(model.GetSelection(), std::make_pair(0, 5));
}

TEST_F(Edit, EditLineQueries) {
  EXPECT_EQ(model.GetLineCount(), 1);
  EXPECT_EQ(model.LineLength(0), 0);
  SetText("abc\rdefgh\r");
  EXPECT_EQ(model.LineLength(1), 3);
  EXPECT_EQ(model.LineLength(5), 5);
  EXPECT_EQ(model.LineIndex(1), 4);
  EXPECT_EQ(model.LineIndex(7), 10);
  EXPECT_EQ(model.LineFromChar(10), 2);
  EXPECT_EQ(model.GetRowText(1), "defgh");
  EXPECT_EQ(model.GetRowText(2), "");
}

TEST_F(Edit, TokenBytesInAndOutByLines) {
  SetText("ab\rcd\ref");
  const uint8_t put[] = {1, 2, 3, 4, 5, 6, 7, 8};
  model.PutTokenBytes(put, 1, 1);
  uint8_t got[8] = {};
  model.GetTokenBytes(got);
  EXPECT_EQ(std::vector<uint8_t>(got, got + 8), (std::vector<uint8_t>{0, 0, 0, 1, 2, 3, 0, 0}));
  model.PutTokenBytes(put);
  model.GetTokenBytes(got, 2, 2);
  EXPECT_EQ(got[0], 7);
  EXPECT_EQ(got[1], 8);
  EXPECT_EQ(model.GetFirstChangedRow(), nullptr);
}

} // namespace
