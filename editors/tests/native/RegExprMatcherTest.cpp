#include "RegExprSupport.h"
#include "SeparatorsScope.h"

#include <gtest/gtest.h>

namespace {

struct DriveCase {
  const char* pattern;
  bool autoInsert;
  const char* keys; // '<' steps back, every other character is typed
  const char* log;
};

// What happened, in order: each character as accepted (after any rewriting)
// or "!c" when refused, then "+c" for each literal inserted after it; "-" for
// each literal removed by a step back, then "<" or "<!" for the step itself;
// at the end F when the text is complete (else N) and S when nothing is
// accepted.
String Drive(const DriveCase& c, bool caseInsensitive = false) {
  TcxRegExpr regExpr;
  String log, events;
  regExpr.CaseInsensitive = caseInsensitive;
  regExpr.OnSymbolAdd = [&](char symbol) { events += String("+") + symbol + " "; };
  regExpr.OnSymbolDelete = [&] { events += "- "; };
  regExpr.SetAutoInsertLiterals(c.autoInsert);
  const std::vector<String> errors = Compile(regExpr, c.pattern);
  if (!errors.empty()) return "error: " + errors[0];
  log = events;
  for (const char* k = c.keys; *k; ++k) {
    events.clear();
    if (*k == '<') {
      const bool back = regExpr.StepBack();
      log += events + (back ? "< " : "<! ");
      continue;
    }
    char ch = *k;
    log += (regExpr.AcceptChar(ch) ? String(1, ch) + " " : String("!") + ch + " ") + events;
  }
  log += regExpr.InFinalState() ? "F" : "N";
  if (regExpr.AtStartState()) log += " S";
  return log;
}

void ExpectDrives(const std::vector<DriveCase>& cases, bool caseInsensitive = false) {
  for (const auto& c : cases)
    EXPECT_EQ(Drive(c, caseInsensitive), c.log) << c.pattern << " / " << c.keys;
}

} // namespace

TEST(RegExprMatcher, TypingStepsAndCompleteness) {
  SeparatorsScope separators('/', ':');
  ExpectDrives({
      {"ab?", false, "a", "a F"},
      {"a(b?)", false, "a", "a N"},
      {"a(b?)", false, "ab", "a b F"},
      {"(ab)*", false, "", "F S"},
      {"(ab)*", false, "aba", "a b a N"},
      {"(a|b)c", false, "ac", "a c F"},
      {"(a|b)c", false, "bc", "b c F"},
      {"(a|b)c", false, "ab", "a !b N"},
      {"(a)\\1", false, "aa", "a a F"},
      {"(a)*\\1", false, "aaa", "a a a F"},
      {"\\d+", false, "12a3", "1 2 !a 3 F"},
      {"\\d\\d", false, "1x<<", "1 !x < <! N S"},
      {"[^0-9]", false, "5x", "!5 x F"},
      {"[\\d.]", false, "a.", "!a . F"},
      {"[a-c]x[0-9]", false, "bx5", "b x 5 F"},
      {"a{1,3}", false, "aaaa", "a a a !a F"},
      {"a{2,}", false, "a", "a N"},
      {"a{0}", false, "a", "!a N S"},
      {"\\w\\W\\s\\S", false, "_- x", "_ - \x20 x F"},
      {"\\d/\\d:\\d", false, "1/2:3", "1 / 2 : 3 F"},
      {".", false, "\x01", "\x01 F"},
  });
}

TEST(RegExprMatcher, ForcedLiteralsInsertedAndRemoved) {
  SeparatorsScope separators('/', ':');
  ExpectDrives({
      {"\\d\\d:\\d\\d", true, "123<<", "1 2 +: 3 < - < N"},
      {"\\d\\d:\\d\\d", true, "1234", "1 2 +: 3 4 F"},
      {"\\d\\d:\\d\\d", false, "12:34", "1 2 : 3 4 F"},
      {"abc", true, "", "+a +b +c F"},
      {"abc", true, "<", "+a +b +c - - - <! N S"},
      {"ab?", true, "", "+a F"},
      {"'('\\d\\d')'", true, "12", "+( 1 2 +) F"},
      {"'('\\d\\d')'", true, "12<<<", "+( 1 2 +) - < < - <! N S"},
      {"a(b|c)", true, "c<", "+a c < N"},
  });
}

TEST(RegExprMatcher, SeparatorsAreReadWhenMatched) {
  TcxRegExpr regExpr;
  ASSERT_TRUE(Compile(regExpr, "\\d/\\d:\\d").empty());
  SeparatorsScope separators('-', '.');
  EXPECT_EQ(regExpr.FeedText("1-2.3"), "1-2.3");
  EXPECT_TRUE(regExpr.InFinalState());
  regExpr.RestartAutomaton();
  EXPECT_EQ(regExpr.FeedText("1/2:3"), "1");
  // A separator and a literal that stand for the same character are one
  // forced character.
  ExpectDrives(
      {{"-|/", true, "", "+- F"}, {"a|:", true, "", "N S"}, {"\\d\\d:\\d\\d", true, "12<", "1 2 +. - < N"}});
  FormatSettings.TimeSeparator = 'a';
  ExpectDrives({{"a|:", true, "", "+a F"}});
}

TEST(RegExprMatcher, CaseInsensitiveSymbolsTakeThePatternsCase) {
  ExpectDrives(
      {
          {"abc", false, "ABC", "a b c F"},
          {"[a-z]", false, "A", "!A N S"},
          {"[abc]", false, "B", "b F"},
          {"\\d\\D", false, "1X", "1 X F"},
      },
      true);
  ExpectDrives({{"abc", false, "A", "!A N S"}});
}

TEST(RegExprMatcher, FeedTextReturnsTheAcceptedCharactersAsGiven) {
  TcxRegExpr regExpr;
  ASSERT_TRUE(Compile(regExpr, "\\d*").empty());
  EXPECT_EQ(regExpr.FeedText("1x2"), "12");
  ASSERT_TRUE(Compile(regExpr, "abc").empty());
  regExpr.CaseInsensitive = true;
  EXPECT_EQ(regExpr.FeedText("AbC"), "AbC");
  EXPECT_TRUE(regExpr.InFinalState());
  regExpr.SetAutoInsertLiterals(true);
  regExpr.RestartAutomaton();
  EXPECT_EQ(regExpr.FeedText("ab"), "ab") << "FeedText inserts no literals";
  EXPECT_FALSE(regExpr.InFinalState());
}

TEST(RegExprMatcher, MatchingBeforeACompileRaises) {
  TcxRegExpr regExpr;
  char c = 'a';
  const auto expectNotCompiled = [&] {
    try {
      regExpr.AcceptChar(c);
      FAIL();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Regular expression is not compiled");
      EXPECT_EQ(dynamic_cast<const EcxRegExprError*>(&e), nullptr);
    }
    EXPECT_THROW(regExpr.StepBack(), Exception);
    EXPECT_THROW(regExpr.RestartAutomaton(), Exception);
    EXPECT_THROW(regExpr.InFinalState(), Exception);
    EXPECT_THROW(regExpr.AtStartState(), Exception);
    EXPECT_THROW(regExpr.FeedText("a"), Exception);
    EXPECT_EQ(regExpr.CompiledSource(), nullptr);
  };
  expectNotCompiled();
  ASSERT_TRUE(Compile(regExpr, "a").empty());
  ASSERT_FALSE(Compile(regExpr, "(a").empty());
  expectNotCompiled();
  EXPECT_EQ(regExpr.DumpText(), "");
}

TEST(RegExprMatcher, ANewCompileKeepsTheSettingsAndEvents) {
  TcxRegExpr regExpr;
  String added;
  regExpr.OnSymbolAdd = [&](char symbol) { added += symbol; };
  regExpr.CaseInsensitive = true;
  ASSERT_TRUE(Compile(regExpr, "a").empty());
  regExpr.SetAutoInsertLiterals(true);
  EXPECT_EQ(added, "a") << "switching the literals on inserts at once";
  ASSERT_TRUE(Compile(regExpr, "x\\d").empty());
  EXPECT_EQ(added, "ax");
  char c = '5';
  EXPECT_TRUE(regExpr.AcceptChar(c));
  ASSERT_TRUE(Compile(regExpr, "b").empty());
  regExpr.SetAutoInsertLiterals(false);
  ASSERT_TRUE(Compile(regExpr, "b").empty());
  c = 'B';
  EXPECT_TRUE(regExpr.AcceptChar(c));
  EXPECT_EQ(c, 'b');
}

TEST(RegExprMatcher, ASecondCompilerFromTheCompiledSource) {
  TcxRegExpr first, second;
  ASSERT_TRUE(Compile(first, "\\d{2}-x").empty());
  second.CompileFromStream(first.CompiledSource());
  EXPECT_EQ(second.FeedText("12-x"), "12-x");
  EXPECT_TRUE(second.InFinalState());
  EXPECT_EQ(first.DumpText(), second.DumpText());
  first.CompileFromStream(first.CompiledSource());
  EXPECT_EQ(first.FeedText("34-X"), "34-");
}

// A group whose content matches the empty text, repeated: its entry and exit
// lead to each other, and the pattern keeps its meaning.
TEST(RegExprMatcher, PassThroughLoopsAreWalkedOncePerStep) {
  ExpectDrives({
      {"(a?){2,}", false, "", "N S"},
      {"(a?){2,}", false, "aaaa", "a a a a F"},
      {"(a?){2,}b", false, "b", "b F"},
      {"(a?){2,}b", true, "aab", "a a b F"},
      {"((a?)(b?)){2,}c", false, "abbac", "a b b a c F"},
      {"((a?)(b?)){2,}c", true, "", "N S"},
  });
}

// Sets hold each node once: "(a|a)*" stays two nodes wide however long the
// text, where duplicates would double the set with each character.
TEST(RegExprMatcher, StateSetsHoldNoDuplicates) {
  TcxRegExpr regExpr;
  ASSERT_TRUE(Compile(regExpr, "(a|a|(a|a)+)*b").empty());
  const String text(400, 'a');
  EXPECT_EQ(regExpr.FeedText(text + "b"), text + "b");
  EXPECT_TRUE(regExpr.InFinalState());
  for (int i = 0; i < 401; ++i)
    ASSERT_TRUE(regExpr.StepBack());
  EXPECT_TRUE(regExpr.AtStartState());
}

// A loop of forced characters that never completes the text stops after a
// number of characters bounded by the size of the automaton.
TEST(RegExprMatcher, ForcedLiteralsNeverLoopWithoutEnd) {
  TcxRegExpr regExpr;
  String added;
  regExpr.OnSymbolAdd = [&](char symbol) { added += symbol; };
  regExpr.SetAutoInsertLiterals(true);
  ASSERT_TRUE(Compile(regExpr, "(ab)+c{0}").empty());
  EXPECT_FALSE(regExpr.InFinalState());
  EXPECT_EQ(added.substr(0, 4), "abab");
  EXPECT_LT(added.size(), 100u);
}
