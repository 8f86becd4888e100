// Incremental re-highlighting: after edits that open and close comments and
// strings, the rows carry the token bytes of a full scan, and only the rows
// around the change are scanned again.
#include "SqlRulesSupport.h"
#include "SyntaxEd_rescan.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A text in a store, highlighted with the SQL rules, and edits made the way
// the editing core makes them: changed rows lose their token bytes and are
// marked, the first of them becomes the first changed row.
class Rehighlight : public testing::Test {
protected:
  void SetUp() override {
    rescanner.Parser = &SqlParser();
    SetStoreText(store, "-- orders\r"
                        "create table orders (\r"
                        "  id int not null,\r"
                        "  note varchar(20) default 'none',\r"
                        "  total decimal(10,2)\r"
                        ");\r"
                        "insert into orders values (1, 'a', 2.5);\r"
                        "select count(*) from orders;\r"
                        "# done\r");
    rescanner.RescanAll();
  }

  TRowRecord* Row(int index) const {
    TRowRecord* r = store.GetFirstRow();
    for (int i = 0; i < index && r; ++i)
      r = r->Next;
    return r;
  }

  // Replaces count characters at column col of row index by text (no line
  // ends), as one edit.
  void Edit(int index, int col, int count, const String& text) {
    TRowRecord* old = Row(index);
    String line(old->Text.get(), old->Length);
    line.replace(static_cast<size_t>(col), static_cast<size_t>(count), text);
    TRowRecord* row = NewRowRecord(line.data(), static_cast<int>(line.size()));
    row->Prev = old->Prev;
    row->Next = old->Next;
    if (old->Prev)
      old->Prev->Next = row;
    else
      store.SetFirstRow(row);
    if (old->Next) old->Next->Prev = row;
    old->Prev = old->Next = nullptr;
    FreeRowRecord(old);
    row->Flags |= rfChanged;
    store.SetTextLength(store.GetTextLength() - count + static_cast<int>(text.size()));
    for (TRowRecord* r = store.GetFirstRow(); r; r = r->Next)
      r->Flags &= ~rfRepaint;
    rescanner.FirstChangedRow = row;
    rescanner.RescanHighlighting();
  }

  // The rows scanned again by the last rescan.
  std::vector<int> Repainted() const {
    std::vector<int> rows;
    int i = 0;
    for (TRowRecord* r = store.GetFirstRow(); r; r = r->Next, ++i)
      if (r->Flags & rfRepaint) rows.push_back(i);
    return rows;
  }

  // Every row's token bytes equal those of a scan of the whole text.
  void ExpectFullScanBytes() const {
    std::vector<uint8_t> full = TokenBytes(SqlParser(), StoreText(store));
    size_t at = 0;
    int i = 0;
    for (TRowRecord* r = store.GetFirstRow(); r; r = r->Next, ++i) {
      ASSERT_TRUE(r->Tokens) << "row " << i;
      std::vector<uint8_t> row(r->Tokens.get(), r->Tokens.get() + r->Length);
      EXPECT_EQ(row, std::vector<uint8_t>(full.begin() + static_cast<long>(at),
                                          full.begin() + static_cast<long>(at + r->Length)))
          << "row " << i;
      at += r->Length;
    }
  }

  TTextStore store;
  THighlightRescanner rescanner{store};
};

TEST_F(Rehighlight, AFullScanGivesEveryRowItsTokens) {
  ExpectFullScanBytes();
  EXPECT_EQ(Row(0)->Tokens[0], tkLineComment);
  EXPECT_EQ(rescanner.FirstChangedRow, nullptr);
}

TEST_F(Rehighlight, TypingInsideAKeywordRescansItsNeighbours) {
  Edit(2, 6, 0, "n"); // "int" becomes "innt", an identifier
  ExpectFullScanBytes();
  EXPECT_EQ(Repainted(), (std::vector<int>{1, 2, 3}));
  Edit(2, 6, 1, ""); // and back
  ExpectFullScanBytes();
  EXPECT_EQ(Repainted(), (std::vector<int>{1, 2, 3}));
}

TEST_F(Rehighlight, OpeningAndClosingABlockComment) {
  Edit(2, 0, 0, "/*");
  ExpectFullScanBytes();
  EXPECT_EQ(Repainted(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(Row(8)->Tokens[0], tkBlockComment);

  Edit(4, 0, 0, "*/");
  ExpectFullScanBytes();
  // The scan restarts before the comment's start.
  EXPECT_EQ(Repainted(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(Row(5)->Tokens[0], tkSymbol);

  Edit(2, 0, 2, "");
  ExpectFullScanBytes();
  EXPECT_EQ(Repainted(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(Rehighlight, OpeningAndClosingAString) {
  Edit(3, 29, 0, "'");
  ExpectFullScanBytes();
  Edit(3, 35, 0, "'");
  ExpectFullScanBytes();
  // Strings end with their line: the rows after it keep their bytes.
  for (int row : Repainted())
    EXPECT_LE(row, 4);
  Edit(6, 32, 0, "\\");
  ExpectFullScanBytes();
}

TEST_F(Rehighlight, ACommentRunningToTheEndAndALineCommentMadeAndUnmade) {
  Edit(8, 0, 1, "/*");
  ExpectFullScanBytes();
  EXPECT_EQ(Repainted(), (std::vector<int>{7, 8}));
  Edit(7, 0, 0, "-- ");
  ExpectFullScanBytes();
  EXPECT_EQ(Repainted(), (std::vector<int>{6, 7, 8}));
  Edit(7, 2, 1, "");
  ExpectFullScanBytes();
  EXPECT_EQ(Row(7)->Tokens[0], tkSymbol);
}

TEST_F(Rehighlight, EventsAndRowsThatNeedNoScan) {
  std::vector<std::array<int, 3>> seen;
  rescanner.OnTokenSeen = [&](TObject*, int& token, int start, int end) {
    seen.push_back({token, start, end});
  };
  rescanner.RescanHighlighting(); // no first changed row
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], (std::array<int, 3>{-2, -2, -2}));

  // A forced row is scanned even when its bytes do not change.
  seen.clear();
  rescanner.RescanFrom(Row(5));
  EXPECT_EQ(seen.front(), (std::array<int, 3>{-1, -1, -1}));
  EXPECT_EQ(seen.back(), (std::array<int, 3>{-2, -2, -2}));
  ExpectFullScanBytes();
  EXPECT_EQ(Row(5)->Flags & rfForceScan, 0u);

  // The handler may change what is written.
  rescanner.OnTokenSeen = [](TObject*, int& token, int, int) {
    if (token == tkReserved) token = 99;
  };
  rescanner.RescanFrom(Row(7));
  EXPECT_EQ(Row(7)->Tokens[0], 99);

  // Without an active parser nothing changes and the row is let go.
  rescanner.OnTokenSeen = nullptr;
  rescanner.Parser = nullptr;
  std::vector<uint8_t> before(Row(3)->Tokens.get(), Row(3)->Tokens.get() + Row(3)->Length);
  rescanner.RescanFrom(Row(3));
  EXPECT_EQ(rescanner.FirstChangedRow, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(Row(3)->Tokens.get(), Row(3)->Tokens.get() + Row(3)->Length), before);
}

TEST(RehighlightText, EmptyAndUntokenisedTexts) {
  TTextStore store;
  THighlightRescanner rescanner(store);
  rescanner.Parser = &SqlParser();
  rescanner.RescanAll(); // an empty text
  EXPECT_EQ(rescanner.FirstChangedRow, nullptr);

  // A row never tokenised above the change is scanned from its start.
  SetStoreText(store, "select\r/* a\rb */ x\r");
  TRowRecord* last = store.GetFirstRow()->Next->Next;
  last->Tokens = std::make_unique<uint8_t[]>(last->Length);
  last->Flags |= rfChanged;
  rescanner.FirstChangedRow = last;
  rescanner.RescanHighlighting();
  EXPECT_FALSE(store.GetFirstRow()->Tokens);
  std::vector<uint8_t> full = TokenBytes(SqlParser(), StoreText(store));
  size_t at = store.GetFirstRow()->Length;
  for (TRowRecord* r = store.GetFirstRow()->Next; r; r = r->Next) {
    ASSERT_TRUE(r->Tokens);
    EXPECT_EQ(0, std::memcmp(r->Tokens.get(), full.data() + at, r->Length));
    at += r->Length;
  }
}

} // namespace
