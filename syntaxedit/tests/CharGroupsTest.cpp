#include "SyntaxEd_chargroups.h"

#include "SyntaxEd_streamio.h"

#include <gtest/gtest.h>

namespace {

TSM_CharGroup Parse(const String& spec, int* endPos = nullptr) {
  TSM_CharGroup group;
  int pos = 1;
  ParseCharGroup(spec, pos, group);
  if (endPos) *endPos = pos;
  return group;
}

String Members(const TSM_CharGroup& group) {
  String s;
  for (int c = 0; c < 256; ++c)
    if (group.Contains(static_cast<uint8_t>(c))) s += static_cast<char>(c);
  return s;
}

TEST(CharGroups, SpecifiersGiveTheirCharacters) {
  struct Case {
    const char* spec;
    String members;
  };
  const Case cases[] = {
      {"[a\\-z]", "-az"},
      {"\\x41", "A"},
      {"\\101", "A"},
      {"[\\101]", "A"},
      {"[\\x41-\\x43x]", "ABCx"},
      {"a-e", "abcde"},
      {"\\n", "\r"},
      {"\\r", "\n"},
      {"[\\t\\s\\e\\b]", String("\b\t\x1b ")},
      {"[\\[\\]]", "[]"},
      {"\\[", "["},
      {"]", "]"},
      {"[\\\\]", "\\"},
      {"\\x141", "A"}, // as many digits as follow, kept to 8 bits
      {"\\q", "q"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Members(Parse(c.spec)), c.members) << c.spec;
}

TEST(CharGroups, NegatedGroupHoldsEverythingElse) {
  const TSM_CharGroup g = Parse("[^_A-Za-z0-9]");
  EXPECT_TRUE(g.GetNegated());
  for (char c : String(" +\r"))
    EXPECT_TRUE(g.Contains(static_cast<uint8_t>(c))) << c;
  for (char c : String("_aZ5"))
    EXPECT_FALSE(g.Contains(static_cast<uint8_t>(c))) << c;
}

TEST(CharGroups, ParsingStopsRightAfterTheSpecifier) {
  struct Case {
    const char* spec;
    int start, end;
  };
  const Case cases[] = {
      {"[abc]def", 1, 6}, {"a-zX", 1, 4}, {"\\nX", 1, 3}, {"xx[\\101]y", 3, 9}, {"q", 1, 2}};
  for (const Case& c : cases) {
    TSM_CharGroup g;
    int pos = c.start;
    ParseCharGroup(c.spec, pos, g);
    EXPECT_EQ(pos, c.end) << c.spec;
  }
}

TEST(CharGroups, RangeOutOfOrderIsRefused) {
  for (const char* spec : {"z-a", "[a-]", "[ab-a]"}) {
    try {
      Parse(spec);
      ADD_FAILURE() << spec;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Characters not in correct order for range specifier") << spec;
    }
  }
}

TEST(CharGroups, InterningSharesEqualGroups) {
  TSM_CharGroupManager m;
  const int empty = m.Intern(TSM_CharGroup());
  const int abc = m.Intern(Parse("[a-c]"));
  EXPECT_EQ(m.Intern(Parse("[abc]")), abc);
  const int notA = m.Intern(Parse("[^a]"));
  EXPECT_EQ((std::vector<int>{empty, abc, notA}), (std::vector<int>{0, 1, 2}));
  EXPECT_NE(m.Intern(Parse("[a]")), notA) << "negation makes a different group";
  EXPECT_TRUE(m.GroupById(abc).Equals(Parse("[cba]")));
  try {
    m.GroupById(m.GetCount());
    ADD_FAILURE();
  } catch (const ESyntaxMemo& e) {
    EXPECT_EQ(e.Message, "Invalid Set ID (4)");
  }
  EXPECT_THROW(m.GroupById(-1), ESyntaxMemo);
}

TEST(CharGroups, StreamFormRoundTripAndDuplicatesCollapse) {
  TMemoryStream s;
  const TSM_CharGroup g = Parse("[^A]");
  g.SaveToStream(s);
  EXPECT_EQ(s.GetSize(), 37);
  s.SetPosition(0);
  uint8_t bytes[37];
  s.ReadBuffer(bytes, 37);
  EXPECT_EQ(bytes[8], 0x02) << "A is bit 1 of byte 8";
  EXPECT_EQ(bytes[36], 1) << "negated";

  // A manager stream holding the same group twice reads back as one id.
  TMemoryStream ms;
  WriteInt(ms, 3);
  g.SaveToStream(ms);
  Parse("x").SaveToStream(ms);
  g.SaveToStream(ms);
  ms.SetPosition(0);
  TSM_CharGroupManager m;
  m.LoadFromStream(ms);
  EXPECT_EQ(m.GetCount(), 2);
  EXPECT_TRUE(m.GroupById(0).Equals(g));
  std::unique_ptr<TSM_Base> copy = m.Clone();
  EXPECT_EQ(static_cast<TSM_CharGroupManager&>(*copy).GetCount(), 2);
}

TEST(CharGroups, StoredExtendedRangesCountWithinEightBits) {
  TMemoryStream s;
  WriteCharSet(s, TCharSet());
  WriteInt(s, 2);
  for (uint16_t v : {0x41, 0x42, 0xFE, 0x120})
    WriteWord(s, v);
  WriteByte(s, 0);
  s.SetPosition(0);
  TSM_CharGroup g;
  g.LoadFromStream(s);
  EXPECT_EQ(Members(g), "AB\xFE\xFF");
}

TEST(StringScanner, WalksOneBasedAndStopsPastTheEnd) {
  TStringScanner sc("ab");
  String seen;
  for (; !sc.AtEnd(); sc.Next())
    seen += sc.CurrentChar();
  EXPECT_EQ(seen, "ab");
  EXPECT_EQ(sc.CurrentChar(), 0);
  sc.Next();
  EXPECT_EQ(sc.GetPos(), 3);
  TStringScanner empty("");
  EXPECT_TRUE(empty.AtEnd());
  EXPECT_EQ(empty.GetPos(), 0);
  EXPECT_EQ(empty.CurrentChar(), 0);
}

} // namespace
