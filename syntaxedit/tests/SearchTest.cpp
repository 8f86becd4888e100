#include "StoreText.h"

#include "SyntaxEd_search.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>

namespace {

// The editor's default word tests.
class WordChars : public TWordChars {
public:
  bool CharStartsWord(char c) const override {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
  }
  bool CharIsInWord(char c) const override {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '\'' || c == '-';
  }
};

struct Search {
  explicit Search(const String& text) {
    SetStoreText(store, text);
    AttachAt(stream, store, 0);
  }
  // -1 when not found, as callers read a result at or beyond the text length.
  int Find(const String& what, int start, bool backward = false, bool matchCase = true,
           bool wholeWord = false) {
    const int limit = store.GetTextLength() - 1;
    int found = FindLiteral(words, stream, limit, table, wholeWord, matchCase, backward, start, what);
    if (found >= store.GetTextLength()) return -1;
    EXPECT_EQ(stream.CurrentPos(), found);
    return found;
  }
  TTextStore store;
  TEdStream stream{&store};
  TSkipTable table;
  WordChars words;
};

} // namespace

TEST(LiteralSearch, WorkedCases) {
  const String high = "a\xE9z\xC9";
  struct Case {
    String text, what;
    int start;
    bool backward, matchCase, wholeWord;
    int want;
  } cases[] = {
      {"xxabcabc", "abc", 0, false, true, false, 2},
      {"xxabcabc", "abc", 3, false, true, false, 5},
      {"xxabcabc", "abc", 6, false, true, false, -1},
      {"abcabc", "abc", 6, true, true, false, 3},
      {"abcabc", "abc", 3, true, true, false, 0},
      {"abcabc", "abc", 2, true, true, false, -1},
      {"xaBcx", "ABC", 0, false, false, false, 1},
      {"xaBcx", "ABC", 0, false, true, false, -1},
      {"xaBcx", "ABC", 5, true, false, false, 1},
      {"xaBcx", "abc", 5, true, true, false, -1},
      {high, "\xC9", 0, false, false, false, 3},
      {high, "\xE9", 0, false, false, false, 1},
      {"concat cat", "cat", 0, false, true, true, 7},
      {"concat cat", "cat", 0, false, true, false, 3},
      {"cat concat", "cat", 10, true, true, true, 0},
      {"cat's cat", "cat", 0, false, true, true, 6},
      {"a-cat cat", "cat", 0, false, true, true, 6},
      {"x cat", "cat", 0, false, true, true, 2},
      {"ab", "abc", 0, false, true, false, -1},
      {"ab", "abc", 2, true, true, false, -1},
      {"abc", "abc", 0, false, true, false, 0},
      {"aaab", "aab", 0, false, true, false, 1},
      {"baaa", "baa", 4, true, true, false, 0},
      {"one\rtwo\rthree", "o\rt", 0, false, true, false, 6},
      {"one\rtwo\rthree", "o\rt", 13, true, true, false, 6},
      {"x", "", 0, false, true, false, -1},
  };
  for (const Case& c : cases) {
    Search s(c.text);
    EXPECT_EQ(s.Find(c.what, c.start, c.backward, c.matchCase, c.wholeWord), c.want)
        << "\"" << c.what << "\" in \"" << c.text << "\" from " << c.start << (c.backward ? " backward" : "")
        << (c.matchCase ? "" : " folded") << (c.wholeWord ? " whole word" : "");
  }
}

TEST(LiteralSearch, FindsEveryOccurrenceAcrossRows) {
  // Occurrences straddle the 2047-character row breaks.
  String text;
  std::vector<int> where;
  for (int i = 0; i < 800; ++i) {
    text += (i % 7 == 0) ? "needle" : "hay";
    if (i % 7 == 0) where.push_back(static_cast<int>(text.size()) - 6);
  }
  Search s(text);
  std::vector<int> forward, backward;
  for (int at = s.Find("needle", 0); at >= 0; at = s.Find("needle", at + 1))
    forward.push_back(at);
  for (int at = s.Find("NEEDLE", static_cast<int>(text.size()), true, false); at >= 0;
       at = s.Find("NEEDLE", at, true, false))
    backward.insert(backward.begin(), at);
  EXPECT_EQ(forward, where);
  EXPECT_EQ(backward, where);
}

TEST(LiteralSearch, TablesAreRebuiltOnlyForANewString) {
  Search s("xaBcx");
  s.Find("abc", 0, false, false);
  EXPECT_EQ(s.table.FoldedPattern, "ABC");
  EXPECT_EQ(s.table.Pattern, "abc");
  // A folded search with only the case changed keeps the tables.
  s.Find("ABC", 0, false, false);
  EXPECT_EQ(s.table.Pattern, "abc");
  // An exact search rebuilds them.
  s.Find("ABC", 0, false, true);
  EXPECT_EQ(s.table.Pattern, "ABC");
}

TEST(LiteralSearch, SkipTables) {
  TSkipTable t;
  BuildSkipTable(t, "abca");
  EXPECT_EQ(t.Forward['a'], 0);
  EXPECT_EQ(t.Forward['b'], 2);
  EXPECT_EQ(t.Forward['c'], 1);
  EXPECT_EQ(t.Forward['z'], 4);
  EXPECT_EQ(t.Backward['a'], 0);
  EXPECT_EQ(t.Backward['c'], 2);
  EXPECT_EQ(t.Backward['z'], 4);
  EXPECT_EQ(t.FoldedForward['B'], 2);
  EXPECT_EQ(t.FoldedForward['b'], 4);
  EXPECT_EQ(t.FoldedBackward['C'], 2);
}

TEST(LiteralSearch, StringsLongerThanTheTablesStillMatch) {
  const String what = String(299, 'q') + "z";
  const String text = String(500, 'q') + "z" + String(10, 'q') + what;
  Search s(text);
  EXPECT_EQ(s.Find(what, 0), 201);
  EXPECT_EQ(s.Find(what, 202), 511);
  EXPECT_EQ(s.Find(what, static_cast<int>(text.size()), true), 511);
  EXPECT_EQ(s.Find(what, 511, true), 201);
}

TEST(LiteralSearch, AnEmptyTextHasNothing) {
  Search s("");
  EXPECT_EQ(s.Find("a", 0), -1);
  EXPECT_EQ(s.Find("a", 0, true), -1);
}

TEST(LiteralSearch, CaseFunctionsTouchOnlyAsciiLetters) {
  for (int c = 0; c < 256; ++c) {
    char ch = static_cast<char>(c);
    char up = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : ch;
    char low = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : ch;
    EXPECT_EQ(AsciiUpper(ch), up) << c;
    EXPECT_EQ(AsciiLower(ch), low) << c;
  }
}

TEST(LiteralSearch, CompareMem) {
  const char a[] = "abcdefghij", b[] = "abcdefghiX";
  EXPECT_TRUE(CompareMem(a, b, 9));
  EXPECT_FALSE(CompareMem(a, b, 10));
  EXPECT_TRUE(CompareMem(a, b, 0));
}

// Every direction, case and whole-word mode against a plain walk over the
// text, on short texts and on texts whose rows break inside an occurrence.
TEST(LiteralSearch, AgreesWithAPlainWalk) {
  std::mt19937 rng(20261210);
  for (int i = 0; i < 3000; ++i) {
    String text;
    if (rng() % 20 == 0) text = String(2040 + rng() % 20, 'a') + "ab";
    for (int n = static_cast<int>(rng() % 30); n > 0; --n)
      text += "abAB \r"[rng() % 6];
    String what;
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n)
      what += "abAB "[rng() % 5];
    const bool backward = rng() % 2, matchCase = rng() % 2, wholeWord = rng() % 2;
    const int n = static_cast<int>(text.size()), length = static_cast<int>(what.size());
    const int start = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
    WordChars words;
    auto wordChar = [&](int at) { return words.CharStartsWord(text[at]) || words.CharIsInWord(text[at]); };
    auto occursAt = [&](int at) {
      for (int j = 0; j < length; ++j) {
        char a = text[at + j], b = what[j];
        if (matchCase ? a != b : AsciiUpper(a) != AsciiUpper(b)) return false;
      }
      if (!wholeWord) return true;
      return !(at > 0 && wordChar(at - 1)) && !(at + length < n && wordChar(at + length));
    };
    int want = -1;
    if (backward) {
      for (int at = start - length; at >= 0 && want < 0; --at)
        if (occursAt(at)) want = at;
    } else {
      for (int at = start; at + length <= n && want < 0; ++at)
        if (occursAt(at)) want = at;
    }
    Search s(text);
    EXPECT_EQ(s.Find(what, start, backward, matchCase, wholeWord), want)
        << ::testing::PrintToString(what) << " in " << ::testing::PrintToString(text) << " from " << start
        << (backward ? " backward" : "") << (matchCase ? "" : " folded") << (wholeWord ? " whole word" : "");
  }
}
