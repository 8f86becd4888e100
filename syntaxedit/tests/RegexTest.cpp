#include "StoreText.h"

#include "SyntaxEd_regex.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <regex>
#include <vector>

namespace {

struct Found {
  bool ok;
  int start, end;
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Found& f) {
  return os << (f.ok ? "match " : "none ") << f.start << ".." << f.end;
}

const Found kNone{false, -1, -1};

// Searches text from the given position; the match start is entry 0, the
// match end the entry at the list count.
Found Search(TREParser& re, const String& text, int from, bool forward, std::vector<int>* list = nullptr) {
  TTextStore store;
  SetStoreText(store, text);
  TEdStream stream(&store);
  AttachAt(stream, store, from);
  if (!re.SearchStream(&stream, forward)) return kNone;
  if (list) {
    list->clear();
    for (int i = 0; i <= re.ListCount(); ++i)
      list->push_back(re.MatchPosition(i));
  }
  EXPECT_EQ(stream.CurrentPos(), re.MatchPosition(re.ListCount()));
  return {true, re.MatchPosition(0), re.MatchPosition(re.ListCount())};
}

Found Search(const String& pattern, const String& text, int from = 0, bool forward = true) {
  TREParser re;
  EXPECT_TRUE(re.SetPattern(pattern)) << pattern << ": " << REErrorText(re.ErrorCode());
  return Search(re, text, from, forward);
}

} // namespace

TEST(Regex, WorkedCases) {
  struct Case {
    const char* pattern;
    String text;
    int from;
    bool forward;
    Found want;
  } cases[] = {
      {"a.c", "abc", 0, true, {true, 0, 3}},
      {"a.c", "a\rc", 0, true, kNone},
      {"^abc", "abc", 0, true, kNone},
      {"^abc", "abc\rabc\rabc", 0, true, {true, 4, 7}},
      {"^abc", "abc\rabc\rabc", 5, true, {true, 8, 11}},
      {"abc$", "abc\r", 0, true, {true, 0, 3}},
      {"abc$", "abc", 0, true, kNone},
      {"x{3}", "xx", 0, true, kNone},
      {"x{3}", "xxxx", 0, true, {true, 0, 3}},
      {"x{0}", "ax", 0, true, {true, 1, 2}},
      {"x{1}", "ax", 0, true, {true, 1, 2}},
      {"a||b", "ab", 0, true, {true, 0, 2}},
      {"a||b", "ba", 0, true, {true, 0, 2}},
      {"a||b", "a", 0, true, {true, 0, 1}},
      {"a||b", "b", 0, true, {true, 0, 1}},
      {"a||b", "c", 0, true, kNone},
      {"ab", "abxab", 5, false, {true, 3, 5}},
      {"ab", "abxab", 2, false, {true, 0, 2}},
      {"ab", "abxab", 1, true, {true, 3, 5}},
      {"\\d+", "ab123c", 0, true, {true, 2, 5}},
      {"\\D", "12a", 0, true, {true, 2, 3}},
      {"\\w+", "  a_9!", 0, true, {true, 2, 5}},
      {"\\W", "ab c", 0, true, {true, 2, 3}},
      {"\\s", "ab\rc", 0, true, {true, 2, 3}},
      {"\\S+", " \tab ", 0, true, {true, 2, 4}},
      {"[^a-c]", "abcd", 0, true, {true, 3, 4}},
      {"[a-c]+", "xxbcay", 0, true, {true, 2, 5}},
      {"[\\]]", "a]", 0, true, {true, 1, 2}},
      {"[-a]+", "x-a-", 0, true, {true, 1, 4}},
      {"colou?r", "color", 0, true, {true, 0, 5}},
      {"colou?r", "colour", 0, true, {true, 0, 6}},
      {"cat|dog", "hotdog", 0, true, {true, 3, 6}},
      {"a*b", "aaab", 0, true, {true, 0, 4}},
      {"a*", "bbb", 0, true, {true, 0, 0}},
      {"a+", "bbb", 0, true, kNone},
      {"(ab)*c", "ababc", 0, true, {true, 0, 5}},
      {"(ab)+c", "xc abc", 0, true, {true, 3, 6}},
      {"(ab)?c", "xc", 0, true, {true, 1, 2}},
      {"x{2,3}", "xxxxx", 0, true, {true, 0, 3}},
      {"x{2,}", "xxxxx", 0, true, {true, 0, 5}},
      {"x{,2}y", "xxxy", 0, true, {true, 1, 4}},
      {"x{2,3}x", "xxx", 0, true, {true, 0, 3}},
      {"x{2,}x", "xx", 0, true, kNone},
      {"(ab){2}", "abababx", 0, true, {true, 0, 4}},
      {"(a|b){3}c", "abbac", 0, true, {true, 1, 5}},
      {"((ab){2}c){2}", "ababcababc", 0, true, {true, 0, 10}},
      {"\"a.c\"", "abc a.c", 0, true, {true, 4, 7}},
      {"\"a\\\"b\"", "a\"b", 0, true, {true, 0, 3}},
      {"x\"\"y", "xy", 0, true, {true, 0, 2}},
      {"\\x41\\101", "zAA", 0, true, {true, 1, 3}},
      {"a\\tb", "a\tb", 0, true, {true, 0, 3}},
      {"a\\nb", "a\rb", 0, true, {true, 0, 3}},
      {"\\.", "a.b", 0, true, {true, 1, 2}},
      {"a\\ b", "a b", 0, true, {true, 0, 3}},
      {".*", "abc\rdef", 0, true, {true, 0, 3}},
      {"[^x]+", "ab\rc", 0, true, {true, 0, 4}},
      {"b$", "ab\r", 0, true, {true, 1, 2}},
      {"(a|ab)c", "abc", 0, true, {true, 0, 3}},
      {"(a|ab)(c|bcd)", "abcd", 0, true, {true, 0, 4}},
      {"a.*c", "abcbc\rc", 0, true, {true, 0, 5}},
      {"a.*b$", "ab ab\r", 0, true, {true, 0, 5}},
      {"()x", "ax", 0, true, {true, 1, 2}},
      {"$?x", "ax", 0, true, {true, 1, 2}},
      {"a|", "b", 0, true, {true, 0, 0}},
      {"z", "", 0, true, kNone},
      {"c", "abc", 3, true, kNone},
      {"c", "abc", 3, false, {true, 2, 3}},
      {"a", "abc", 0, false, {true, 0, 1}},
      {"x", "abc", 3, false, kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Search(c.pattern, c.text, c.from, c.forward), c.want)
        << c.pattern << " in \"" << c.text << "\" from " << c.from << (c.forward ? " forward" : " backward");
  }
}

TEST(Regex, PositionListMarksTheElements) {
  struct Case {
    const char* pattern;
    String text;
    std::vector<int> want;
  } cases[] = {
      // Each outermost group leaves its start twice; the next entry ends it.
      {"ab(cd)e", "abcde", {0, 1, 2, 2, 4, 5}},
      {"(ab)(cd)", "abcd", {0, 0, 2, 2, 4}},
      {"a(b(c)d)e", "abcde", {0, 1, 1, 4, 5}},
      {"x*y", "xxy", {0, 2, 3}},
      {"\"lit\"x", "litx", {0, 3, 4}},
      {"^b$", "a\rb\r", {2, 3, 3}},
      {"(ab)+", "abab", {0, 0, 2, 2, 4}},
      // An empty group still leaves its start twice.
      {"a()b", "ab", {0, 1, 1, 1, 2}},
  };
  for (const Case& c : cases) {
    TREParser re;
    ASSERT_TRUE(re.SetPattern(c.pattern)) << c.pattern;
    std::vector<int> list;
    ASSERT_TRUE(Search(re, c.text, 0, true, &list).ok) << c.pattern;
    EXPECT_EQ(list, c.want) << c.pattern;
    // The end record also fills the two entries after the end.
    EXPECT_EQ(re.MatchPosition(re.ListCount() + 2), list.back()) << c.pattern;
    EXPECT_EQ(re.MatchPosition(re.ListCount() + 3), -1) << c.pattern;
  }
}

TEST(Regex, CompileErrors) {
  struct Case {
    String pattern;
    const char* text;
  } cases[] = {
      {"", "Invalid parameter"},         {"((((((((((a))))))))))", "Too many sub-expressions"},
      {"(a", "Unmatched parenthesis"},   {"a)", "Unmatched parenthesis"},
      {"*", "Invalid repeat"},           {"+a", "Invalid repeat"},
      {"(?a)", "Invalid repeat"},        {"a|*b", "Invalid repeat"},
      {"()*", "Invalid repeat"},         {"(a*)+", "Invalid repeat"},
      {"$*", "Invalid repeat"},          {"\"\"+", "Invalid repeat"},
      {"(a?){2}", "Invalid repeat"},     {"a**", "Nested repeat"},
      {"a+?", "Nested repeat"},          {"a{2}*", "Nested repeat"},
      {"[z-a]", "Invalid range"},        {"[a-]", "Invalid range"},
      {"[a-", "Invalid range"},          {"a{2", "Invalid range"},
      {"a{}", "Invalid range"},          {"a{,}", "Invalid range"},
      {"a{3,2}", "Invalid range"},       {"a{2x}", "Invalid range"},
      {"a{99999}", "Invalid range"},     {"[]", "Unmatched bracket"},
      {"[^]", "Unmatched bracket"},      {"[abc", "Unmatched bracket"},
      {"\\x", "Hex digit expected"},     {"\\xg", "Hex digit expected"},
      {"\\", "Unexpected end of input"}, {"[a\\", "Unexpected end of input"},
      {"\"abc", "' expected"},
  };
  for (const Case& c : cases) {
    TREParser re;
    EXPECT_FALSE(re.SetPattern(c.pattern)) << c.pattern;
    EXPECT_EQ(REErrorText(re.ErrorCode()), c.text) << c.pattern;
    // A failed pattern leaves nothing to search with.
    TTextStore store;
    SetStoreText(store, "abc");
    TEdStream stream(&store);
    AttachAt(stream, store, 0);
    EXPECT_THROW(re.SearchStream(&stream, true), Exception) << c.pattern;
  }
}

TEST(Regex, NineNestedGroupsCompile) {
  TREParser re;
  EXPECT_TRUE(re.SetPattern("(((((((((a)))))))))"));
  EXPECT_EQ(re.ErrorCode(), reNoErrors);
  EXPECT_EQ(Search(re, "xa", 0, true), (Found{true, 1, 2}));
}

TEST(Regex, ErrorPositionIsWhereParsingStopped) {
  struct Case {
    const char* pattern;
    int position;
  } cases[] = {{"ab**", 3}, {"(a", 2}, {"a)", 1}, {"*", 0}, {"[z-a]", 4}, {"\\x", 2}};
  for (const Case& c : cases) {
    TREParser re;
    EXPECT_FALSE(re.SetPattern(c.pattern));
    EXPECT_EQ(re.ErrorPosition(), c.position) << c.pattern;
  }
}

TEST(Regex, SamePatternCompilesOnce) {
  TREParser re;
  ASSERT_TRUE(re.SetPattern("abc"));
  EXPECT_EQ(re.ErrorCode(), reNoErrors);
  Search(re, "abc", 0, true); // a search clears the error code
  EXPECT_EQ(re.ErrorCode(), 0);
  EXPECT_TRUE(re.SetPattern("abc"));
  EXPECT_EQ(re.ErrorCode(), 0);

  EXPECT_FALSE(re.SetPattern("(x"));
  EXPECT_EQ(re.ErrorCode(), reUnmatchedParenthesis);
  EXPECT_FALSE(re.SetPattern("(x"));
  EXPECT_EQ(re.ErrorCode(), reUnmatchedParenthesis);
}

TEST(Regex, SearchNeedsAPatternAndAStream) {
  TREParser re;
  TTextStore store;
  SetStoreText(store, "abc");
  TEdStream stream(&store);
  AttachAt(stream, store, 0);
  try {
    re.SearchStream(&stream, true);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Invalid parameter");
  }
  ASSERT_TRUE(re.SetPattern("a"));
  EXPECT_THROW(re.SearchStream(nullptr, true), Exception);
}

TEST(Regex, MatchPositionIndexRange) {
  TREParser re;
  EXPECT_EQ(re.MatchPosition(0), -1);
  EXPECT_EQ(re.MatchPosition(255), -1);
  for (int index : {-1, 256, 1000}) {
    try {
      re.MatchPosition(index);
      ADD_FAILURE() << index;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Index range error");
    }
  }
}

TEST(Regex, PositionListLimit) {
  const String text(400, 'a');
  struct Case {
    String pattern;
    bool fits;
  } cases[] = {{String(255, 'a'), true}, {String(256, 'a'), false}, {"a{300}", false}, {"(a){200}", false}};
  for (const Case& c : cases) {
    TREParser re;
    ASSERT_TRUE(re.SetPattern(c.pattern));
    if (c.fits) {
      std::vector<int> list;
      EXPECT_EQ(Search(re, text, 0, true, &list), (Found{true, 0, 255}));
      EXPECT_EQ(re.ListCount(), 255);
    } else {
      try {
        Search(re, text, 0, true);
        ADD_FAILURE() << c.pattern.size();
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Index range error");
        EXPECT_EQ(re.ErrorCode(), reIndexRange);
      }
    }
  }
}

TEST(Regex, LoopCountersAreLimited) {
  String pattern;
  for (int i = 0; i < 256; ++i)
    pattern += "a{2}";
  TREParser re;
  EXPECT_TRUE(re.SetPattern(pattern));
  EXPECT_FALSE(re.SetPattern(pattern + "b{2}"));
  EXPECT_EQ(re.ErrorCode(), reTooManySubexpressions);
}

TEST(Regex, DeepBacktrackingIsRefusedNotOverflowed) {
  // Line starts leave no entries, so only the recursion limit stops these.
  const String text = String(5000, '\r') + "x";
  for (const char* pattern : {"^*x", "^{2,}x", "(^)*y"}) {
    TREParser re;
    ASSERT_TRUE(re.SetPattern(pattern)) << pattern;
    EXPECT_THROW(Search(re, text, 0, true), Exception) << pattern;
  }
}

TEST(Regex, EitherOrderRewriteNestsAndKeepsGroupsIntact) {
  struct Case {
    const char* pattern;
    String text;
    Found want;
  } cases[] = {
      {"(a)||b", "ba", {true, 0, 2}}, {"x(a||b)y", "xbay", {true, 0, 4}}, {"x(a||b)y", "xay", {true, 0, 3}},
      {"a||b||c", "c", {true, 0, 1}}, {"[|]||a", "a|", {true, 0, 2}},     {"\\|||a", "|", {true, 0, 1}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Search(c.pattern, c.text), c.want) << c.pattern;
}

TEST(Regex, RunawayEitherOrderRewriteIsRefused) {
  // Both sides are written twice: the text would outgrow the program's reach.
  String pattern = String(40000, 'a') + "||b";
  TREParser re;
  EXPECT_FALSE(re.SetPattern(pattern));
  EXPECT_EQ(re.ErrorCode(), reOutOfMemory);
}

TEST(Regex, MatchesAcrossRowBoundariesAndLongRows) {
  const String text = String(3000, 'x') + "needle\rtail";
  EXPECT_EQ(Search("x{2}needle$", text), (Found{true, 2998, 3006}));
  EXPECT_EQ(Search("ne+dle\\ntail", text, 0, true), (Found{true, 3000, 3011}));
  EXPECT_EQ(Search("x", text, 3011, false), (Found{true, 2999, 3000}));
}

// Where the two syntaxes agree (characters, ".", sets, groups, alternatives,
// greedy repeats), the first match and its end are those of the standard
// library's backtracking engine.
TEST(Regex, AgreesWithTheStandardEngineOnTheCommonSyntax) {
  std::mt19937 rng(20261210);
  const char* atoms[] = {"a", "b", "c", ".", "[ab]", "[^a]"};
  std::function<String(int)> pattern = [&](int depth) {
    String out;
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) {
      String atom = depth < 2 && rng() % 4 == 0 ? "(" + pattern(depth + 1) + ")" : atoms[rng() % 6];
      switch (rng() % 6) {
      case 0:
        atom += "*";
        break;
      case 1:
        atom += "+";
        break;
      case 2:
        atom += "?";
        break;
      case 3:
        atom += "{" + std::to_string(rng() % 3) + "," + std::to_string(2 + rng() % 2) + "}";
        break;
      default:
        break;
      }
      out += atom;
    }
    if (rng() % 4 == 0) out += "|" + pattern(depth + 1);
    return out;
  };
  int compared = 0;
  for (int i = 0; i < 1500; ++i) {
    const String p = pattern(0);
    String text;
    for (int n = 1 + static_cast<int>(rng() % 12); n > 0; --n)
      text += "abc\r"[rng() % 4];
    TREParser re;
    // Repeats of what may match nothing are refused here, allowed there.
    if (!re.SetPattern(p)) continue;
    Found ours = Search(re, text, 0, true);
    const std::regex rx(p, std::regex::ECMAScript);
    Found theirs = kNone;
    for (size_t at = 0; at <= text.size() && !theirs.ok; ++at) {
      std::smatch m;
      if (std::regex_search(text.cbegin() + static_cast<std::ptrdiff_t>(at), text.cend(), m, rx,
                            std::regex_constants::match_continuous))
        theirs = {true, -1, static_cast<int>(at + static_cast<size_t>(m.length(0)))};
    }
    ++compared;
    EXPECT_EQ(ours.ok, theirs.ok) << p << " in " << ::testing::PrintToString(text);
    if (ours.ok && theirs.ok) {
      EXPECT_EQ(ours.end, theirs.end) << p << " in " << ::testing::PrintToString(text);
    }
  }
  EXPECT_GT(compared, 1000);
}

TEST(Regex, ProgramsBeyondTheReachOfTheirLinksAreRefused) {
  // Each set takes 259 bytes: 300 of them in one alternative cannot be linked.
  String sets;
  for (int i = 0; i < 300; ++i)
    sets += "[ab]";
  for (const String& pattern : {sets, "x|" + sets, String(70000, 'a')}) {
    TREParser re;
    EXPECT_FALSE(re.SetPattern(pattern)) << pattern.size();
    EXPECT_EQ(re.ErrorCode(), reOutOfMemory) << pattern.size();
  }
  TREParser re;
  EXPECT_TRUE(re.SetPattern(sets.substr(0, 4 * 200)));
}
