#include "SyntaxEd_keywords.h"

#include "KeywordsFixture.h"
#include "SyntaxEd_streamio.h"

#include <gtest/gtest.h>

namespace {

TStateSet States(std::initializer_list<int> states) {
  TStateSet s;
  for (int i : states)
    s.set(static_cast<size_t>(i));
  return s;
}

TSM_CharGroup Group(const String& spec) {
  TSM_CharGroup g;
  int pos = 1;
  ParseCharGroup(spec, pos, g);
  return g;
}

struct Match {
  bool found;
  int32_t value;
  int length;
  int streamPos;
};

Match MatchAt(TKeywords& k, const String& text, int position, bool forward = true,
              bool caseSensitive = false) {
  TTestText t(text);
  auto stream = t.StreamAt(position);
  int startOffset = -1, startPos = -1, length = -1;
  TKeywordEntry* e = k.MatchWord(*stream, caseSensitive, forward, startOffset, startPos, length);
  EXPECT_EQ(startPos, position);
  return {e != nullptr, e ? e->Value : 0, length, stream->CurrentPos()};
}

struct MatchCase {
  const char* text;
  int position;
  Match expected;
};

template <size_t N> void ExpectMatches(TKeywords& k, const MatchCase (&cases)[N], bool forward) {
  for (const MatchCase& c : cases) {
    const Match m = MatchAt(k, c.text, c.position, forward);
    EXPECT_EQ(m.found, c.expected.found) << c.text;
    EXPECT_EQ(m.value, c.expected.value) << c.text;
    EXPECT_EQ(m.length, c.expected.length) << c.text;
    EXPECT_EQ(m.streamPos, c.expected.streamPos) << c.text;
  }
}

class KeywordsTest : public ::testing::Test {
protected:
  KeywordsTest() { k.ActiveStates = States({0}); }
  void Add(const String& word, int32_t value, const String& group = "", TStateSet states = States({0}),
           uint8_t caseFlag = 0) {
    k.AddWord(word, caseFlag, value, states, Group(group));
  }
  TKeywords k;
};

TEST_F(KeywordsTest, ForwardMatchesTakeTheLongestValidWord) {
  Add("Begin", 1);
  Add("end", 2, "[(x]");
  Add("endif", 3, "[(]");
  Add("in", 4, "[^a-z]");
  Add("int", 5, "[^a-z]");
  Add("integer", 6, "[^a-z]");
  Add("stop", 7, "\\n");
  const MatchCase cases[] = {
      {"BEGIN x", 0, {true, 1, 5, 5}}, {"x := begin", 5, {true, 1, 5, 10}}, // a word at the end of the text
      {"endif(", 0, {true, 3, 5, 5}},  {"endx", 0, {true, 2, 3, 3}},        {"integer;", 0, {true, 6, 7, 7}},
      {"int;", 0, {true, 5, 3, 3}},    {"inte;", 0, {false, 0, 1, 1}},     // "int" is followed by a letter
      {"intx", 0, {false, 0, 1, 1}},   {"stop\rnext", 0, {true, 7, 4, 4}}, // the line end follows the word
      {"stops", 0, {false, 0, 1, 1}},  {"zzz", 1, {false, 0, 1, 2}},       // no match: one on from the start
  };
  ExpectMatches(k, cases, true);
}

TEST_F(KeywordsTest, AnEmptyTextMatchesNothing) {
  Add("a", 1);
  TTestText t("");
  auto stream = t.StreamAt(0);
  int offset = -1, start = -1, length = -1;
  EXPECT_EQ(k.MatchWord(*stream, false, true, offset, start, length), nullptr);
  EXPECT_EQ(length, 1);
  EXPECT_EQ(start, 0);
}

TEST_F(KeywordsTest, NegatedTerminatorRefusesALetter) {
  Add("end", 2, "[^a-z]");
  EXPECT_FALSE(MatchAt(k, "endx", 0).found);
  EXPECT_TRUE(MatchAt(k, "end+", 0).found);
}

TEST_F(KeywordsTest, CaseSensitiveWordsKeepTheirCase) {
  Add("Begin", 1, "", States({0}), 1);
  EXPECT_FALSE(MatchAt(k, "BEGIN", 0, true, true).found);
  EXPECT_TRUE(MatchAt(k, "Begin", 0, true, true).found);
}

TEST_F(KeywordsTest, StatesSeparateWordsAndGateMatches) {
  Add("word", 1, "", States({1}));
  Add("word", 2, "", States({2}));
  try {
    Add("WORD", 3, "", States({2, 3}));
    ADD_FAILURE() << "no error";
  } catch (const EKeywords& e) {
    EXPECT_EQ(e.Message, "Duplicate keyword - 'word'");
  }
  Add("only5", 5, "", States({5}));
  k.ActiveStates = States({0});
  EXPECT_FALSE(MatchAt(k, "only5", 0).found);
  EXPECT_FALSE(MatchAt(k, "word", 0).found);
  k.ActiveStates = States({2});
  EXPECT_EQ(MatchAt(k, "word", 0).value, 2);
  k.ActiveStates = States({1, 5});
  EXPECT_EQ(MatchAt(k, "word", 0).value, 1);
  EXPECT_EQ(MatchAt(k, "only5", 0).value, 5);
}

TEST_F(KeywordsTest, BackwardMatchesWalkReversedWordsFromTheCaret) {
  // Names stored reversed and matched backwards from the character before
  // the caret, as templates are.
  Add("rof", 1);
  Add("elihw", 2);
  const MatchCase cases[] = {
      {"x for", 4, {true, 1, 3, 2}},    {"for", 2, {true, 1, 3, 0}}, // a name at the very start of the text
      {"a\rwhile", 6, {true, 2, 5, 2}}, {"while", 4, {true, 2, 5, 0}}, {"fox", 2, {false, 0, 1, 3}},
  };
  ExpectMatches(k, cases, false);
}

TEST_F(KeywordsTest, FindNodeGivesTheLongestStoredPrefix) {
  Add("format", 1);
  const TKeywordNode* r = k.FindNode("for", false);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->Ch, 'r');
  EXPECT_EQ(r->FirstChild->Ch, 'm');
  const TKeywordNode* o = k.FindNode("FOX", false);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->Ch, 'o');
  EXPECT_EQ(k.FindNode("x", false), nullptr);
  EXPECT_EQ(k.FindNode("", false), nullptr);
  EXPECT_EQ(k.FindNode("FOR", true), nullptr);
  EXPECT_NE(k.FindNode("format", false)->Entries, nullptr);
}

TEST_F(KeywordsTest, ClearReportsEveryFreedEntry) {
  std::vector<int32_t> freed;
  k.OnEntryFree = [&](int32_t v) { freed.push_back(v); };
  Add("ab", 1, "", States({1}));
  Add("ab", 2, "", States({2}));
  Add("c", 3);
  k.Clear();
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(freed, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_FALSE(MatchAt(k, "c", 0).found);
}

TEST(SyntaxKeywords, StreamFormRoundTrip) {
  TSyntaxKeywords k;
  k.AddWord("select", 0, 10, States({0, 3}), Group("[^a-z]"));
  k.AddWord("From", 0, 11, States({0}), Group(""));
  k.AddWord("", 0, 12, States({0}), Group("")); // an empty word is not kept
  EXPECT_THROW(k.AddWord("from", 0, 13, States({0}), Group("")), EKeywords);
  EXPECT_EQ(k.GetWords().size(), 2u) << "refused and empty words are not remembered";

  TMemoryStream s;
  k.SaveToStream(s);
  EXPECT_EQ(s.GetSize(), 4 + 4 + 2 * (37 + 32 + 4) + 7 + 5 + 1);
  s.SetPosition(0);
  TSyntaxKeywords copy;
  copy.LoadFromStream(s);
  EXPECT_EQ(s.GetPosition(), s.GetSize());
  copy.ActiveStates = States({3});
  EXPECT_EQ(MatchAt(copy, "select ", 0).value, 10);
  EXPECT_FALSE(MatchAt(copy, "from ", 0).found);
  TMemoryStream again;
  copy.SaveToStream(again);
  EXPECT_EQ(String(again.GetMemory(), static_cast<size_t>(again.GetSize())),
            String(s.GetMemory(), static_cast<size_t>(s.GetSize())));
}

TEST(SyntaxKeywords, EmptyListAndStoredDuplicatesStillRead) {
  TMemoryStream s;
  WriteInt(s, 0);
  WriteInt(s, 0);
  WriteByte(s, 0);
  // An older list that remembered a word the tree had refused.
  WriteInt(s, 0);
  WriteInt(s, 2);
  for (int32_t value : {1, 2}) {
    WriteShortString(s, "dup");
    TSM_CharGroup().SaveToStream(s);
    WriteCharSet(s, States({0}));
    WriteInt(s, value);
  }
  WriteByte(s, 0);
  s.SetPosition(0);
  TSyntaxKeywords k;
  k.LoadFromStream(s);
  EXPECT_TRUE(k.GetWords().empty());
  k.LoadFromStream(s);
  EXPECT_EQ(s.GetPosition(), s.GetSize());
  k.ActiveStates = States({0});
  EXPECT_EQ(MatchAt(k, "dup", 0).value, 1);
}

} // namespace
