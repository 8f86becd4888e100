// The run-time tokenizer on the project's SQL rules, and the built-in token
// handlers one by one.
#include "SqlRulesSupport.h"
#include "SynParse_internal.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The text laid out as usual, then the row holding position `at` broken in
// two there, as word wrap breaks a long row; 0 breaks nothing.
void SetStoreTextBrokenAt(TTextStore& store, const String& text, int at) {
  SetStoreText(store, text);
  int rowStart = 0;
  TRowRecord* row = store.RowAt(at, rowStart);
  int offset = at - rowStart;
  if (!row || offset == 0) return;
  TRowRecord* head = NewRowRecord(row->Text.get(), offset);
  TRowRecord* tail = NewRowRecord(row->Text.get() + offset, row->Length - offset);
  tail->Marks |= rmContinuation;
  head->Prev = row->Prev;
  head->Next = tail;
  tail->Prev = head;
  tail->Next = row->Next;
  if (row->Prev)
    row->Prev->Next = head;
  else
    store.SetFirstRow(head);
  if (row->Next) row->Next->Prev = tail;
  FreeRowRecord(row);
  store.SetRowCount(store.GetRowCount() + 1);
}

String TokenLettersBrokenAt(TSyntaxMemoParser& parser, const String& text, int at) {
  TTextStore store;
  SetStoreTextBrokenAt(store, text, at);
  TEdStream s(&store);
  AttachAt(s, store, 0);
  parser.SetStateFromToken(0);
  String letters;
  while (!s.AtEnd()) {
    int length = 0;
    uint8_t t = parser.NextToken(nullptr, s, length);
    letters.append(static_cast<size_t>(length), TokenLetter(t));
  }
  parser.SetStateFromToken(0);
  return letters;
}

TEST(Tokenizer, SqlSnippets) {
  struct Case {
    const char* text;
    const char* tokens;
  } cases[] = {
      // Each keyword class, and words that only begin like keywords.
      {"SELECT qty FROM t", "RRRRRR.iii.RRRR.i"},
      {"select selector select_x", "RRRRRR.iiiiiiii.iiiiiiii"},
      {"varchar(20) NOT NULL", "TTTTTTTynny.RRR.RRRR"},
      {"INT UNSIGNED zerofill", "TTT.RRRRRRRR.RRRRRRRR"},
      {"count(*) Now()", "FFFFFyyy.FFFyy"},
      {"ENGINE=InnoDB", "KKKKKKyiiiiii"},
      {"current_timestamp", "RRRRRRRRRRRRRRRRR"},
      {"json_extract(doc)", "FFFFFFFFFFFFyiiiy"},
      {"t.col@v", "iyiiiyi"},
      // Quoted names and strings with their escapes.
      {"`my col` `a``b`", "qqqqqqqq.qqqqqq"},
      {"'it\\'s' \"say \\\"hi\\\"\"", "sssssss.ssssssssssss"},
      {"'a''b'", "ssssss"},
      {"'' \"\"", "ss.ss"},
      // Numbers.
      {"12.5E+3 1e 7.x .5", "nnnnnnn.nn.nyi.yn"},
      // Line comments need white space after the two dashes.
      {"-- note\rx", "ccccccc.i"},
      {"--x", "yyi"},
      {"a--\r", "icc."},
      {"a --", "i.cc"},
      {"# hash; select\rselect", "cccccccccccccc.RRRRRR"},
      {"/* one\rtwo */x", "CCCCCCCCCCCCCi"},
      {"/**/ /*/ */", "CCCC.CCCCCC"},
      // Unterminated strings end with their line; unterminated comments and
      // a last line without a line end run to the end of the text.
      {"'open\rselect", "sssss.RRRRRR"},
      {"x = 'open", "i.y.sssss"},
      {"\"open", "sssss"},
      // A quoted name left open is no name: its backquote is plain text.
      {"`abc\rx", ".iii.i"},
      {"select /* open\rstill\r", "RRRRRR.CCCCCCCCCCCCCC"},
      {"-- to the end", "ccccccccccccc"},
      // Characters no rule knows are plain text.
      {"$ \\ \x80", "....."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TokenLetters(SqlParser(), c.text), c.tokens);
    // A row broken anywhere, as word wrap does, changes no token.
    for (int at = 1; at < static_cast<int>(strlen(c.text)); ++at)
      EXPECT_EQ(TokenLettersBrokenAt(SqlParser(), c.text, at), c.tokens) << "broken at " << at;
  }
}

TEST(Tokenizer, AParserWithoutRulesGivesPlainText) {
  TSyntaxMemoParser empty(nullptr);
  EXPECT_EQ(TokenLetters(empty, "select 'x' -- y\r"), String(16, '.'));
}

TEST(Tokenizer, ScanningLeavesTheStartStatesForTheNextScan) {
  TSyntaxMemoParser& p = SqlParser();
  p.SetStateFromToken(tkBlockComment);
  TStateSet zero;
  zero.set(0);
  EXPECT_EQ(p.GetCurrentStates(), zero);
  EXPECT_FALSE(p.InBoundState());
  EXPECT_FALSE(p.IsContainerPending());
  EXPECT_TRUE(p.GetAnchorTokens()[0]);
}

TEST(BuiltInHandlers, RecogniseTheirShapes) {
  struct Case {
    uint32_t id;
    const char* text;
    int at; // where the token starts
    bool result;
    int length;
  } cases[] = {
      {hiPascalChar, "a", 0, true, 1},
      {hiPascalChar, "''x", 0, true, 2},
      {hiPascalChar, "'x", 0, false, 0},
      {hiPascalChar, "\r", 0, false, 0},
      {hiWebChar, "a/b.c. ", 0, true, 5},
      {hiWebChar, ". ", 0, false, 0},
      {hiWebChar, " ", 0, false, 0},
      {hiOriginalChar, "line\rnext", 0, true, 4},
      {hiOriginalChar, "line\rnext", 5, true, 4},
      {hiOriginalChar, "line\rnext", 6, false, 0},
      {hiIdentifier, "_a1 b", 0, true, 3},
      {hiIdentifier, "1a", 0, false, 0},
      {hiNumberOrFP, "12.5E+3", 0, true, 7},
      {hiNumberOrFP, "1e", 0, true, 2},
      {hiNumberOrFP, "7.a", 0, true, 1},
      {hiNumberOrFP, ".5", 0, false, 0},
      {hiPascalString, "'it''s' x", 0, true, 7},
      {hiPascalString, "'abc\rx", 0, true, 4},
      {hiCString, "\"a\\\"b\" x", 0, true, 6},
      {hiCString, "\"abc\r", 0, true, 4},
      {hiCChar, "'a\\'b'", 0, true, 6},
      {hiCChar, "'a\\\\' x", 0, true, 5},
      {hiCChar, "'a\\\rb'", 0, true, 3},
      {hiCChar, "'ab\\", 0, true, 4},
      {hiCStringSQ, "'x' y", 0, true, 3},
      {hiCNumberOrFPSigned, "5.a", 0, true, 1},
      {hiCNumberOrFPSigned, "55.a", 0, true, 2},
      {hiCNumberOrFPSigned, "-12.5", 0, true, 5},
      {hiCNumberOrFPSigned, "- ", 0, false, 0},
      {hiNumber, "123a", 0, true, 3},
      {hiNumber, "a", 0, false, 0},
      {hiMailUrl, "me@x.org.", 0, true, 8},
      {hiMailUrl, "word", 0, false, 0},
      {hiHtmlString, "\"abc\rx", 0, true, 5},
      {hiHtmlString, "\"ab\" x", 0, true, 4},
      {hiJsLineComment, "// a -->b", 0, true, 5},
      {hiJsLineComment, "// a ->b\rx", 0, true, 8},
  };
  for (const auto& c : cases) {
    // The same answer with the row broken anywhere, as word wrap does.
    for (int brokenAt = 0; brokenAt < static_cast<int>(strlen(c.text)); ++brokenAt) {
      SCOPED_TRACE(String(c.text) + " with handler " + IntToStr(c.id) + " broken at " + IntToStr(brokenAt));
      TTextStore store;
      SetStoreTextBrokenAt(store, c.text, brokenAt);
      TEdStream s(&store);
      AttachAt(s, store, c.at);
      int length = 0;
      bool result = BuiltInHandler(c.id)(nullptr, s, length);
      EXPECT_EQ(result, c.result);
      if (c.result) {
        EXPECT_EQ(length, c.length);
        EXPECT_EQ(s.CurrentPos(), c.at + c.length);
      }
    }
  }
  EXPECT_EQ(BuiltInHandler(3), nullptr);
  EXPECT_EQ(BuiltInHandler(21), nullptr);
}

TEST(BuiltInHandlers, StartCharacters) {
  EXPECT_TRUE(HandlerStartChars(hiIdentifier)['_']);
  EXPECT_FALSE(HandlerStartChars(hiIdentifier)['1']);
  EXPECT_TRUE(HandlerStartChars(hiNumberOrFP)['.']);
  EXPECT_TRUE(HandlerStartChars(hiCNumberOrFPSigned)['-']);
  EXPECT_TRUE(HandlerStartChars(hiCStringSQ)['\'']);
  EXPECT_TRUE(HandlerStartChars(hiHtmlString)['"']);
  EXPECT_TRUE(HandlerStartChars(hiJsLineComment)['/']);
  EXPECT_EQ(HandlerStartChars(hiMailUrl).count(), 62u);
  EXPECT_TRUE(HandlerStartChars(hiPascalChar).none());
}

} // namespace
