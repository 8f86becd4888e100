#include "RegExprSupport.h"

#include <gtest/gtest.h>

namespace {

String Tree(const String& pattern) {
  TcxRegExpr regExpr;
  const std::vector<String> errors = Compile(regExpr, pattern);
  return errors.empty() ? regExpr.DumpText() : "error: " + errors[0];
}

String Repeat(const String& s, int count) {
  String text;
  for (int i = 0; i < count; ++i)
    text += s;
  return text;
}

} // namespace

// The tree written back as a pattern shows the wrapping of quantifiers, the
// expansion of counts and the copies of references.
TEST(RegExprParser, TreeOfQuantifiersCountsAndReferences) {
  struct Case {
    const char* pattern;
    const char* tree;
  } cases[] = {
      {"a|bc", "a|bc"},
      {"a*?", "(a*)?"},
      {"a+*", "(a+)*"},
      {"a??", "(a?)?"},
      {"a{3}", "(aaa)"},
      {"a{2,}", "(aaa*)"},
      {"a{0,1}", "(a?)"},
      {"a{1,3}", "(a(aa?)?)"},
      {"a{0}", "()"},
      {"a+{2}", "(a+a+)"},
      {"a+{1,2}", "(a+a?)"},
      {"(ab){1,2}", "((ab)(ab)?)"},
      {"(a?){2,}", "((a?)(a?)(a?)*)"},
      {"(a)\\1", "(a)(a)"},
      {"(a)*\\1", "(a)*(a)*"},
      {"(a){2}\\1", "((a)(a))(a)"},
      {"(a\\1)", "(a(a))"},
      {"((a)b\\2)\\1", "((a)b(a))((a)b(a))"},
      {"[^0-9]", "[^0-9]"},
      {"[\\d.]", "[\\d\\.]"},
      {"[\\1a-c]", "[1a-c]"},
      {"\\w\\W\\s\\S\\D./:\\/", "\\w\\W\\s\\S\\D./:\\/"},
      {"a{2}{2}", "((aa)(aa))"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Tree(c.pattern), c.tree) << c.pattern;
}

TEST(RegExprParser, ErrorsAreCollectedToTheEnd) {
  struct Case {
    const char* pattern;
    std::vector<String> errors;
  } cases[] = {
      {"a{2,1}", {"Line1, Char5: Incorrect parameter quantifier", "Line1, Char6: Illegal '}'"}},
      {"a{,}", {"Line1, Char3: Incorrect parameter quantifier", "Line1, Char4: Illegal '}'"}},
      {"a{1 2}", {"Line1, Char5: Incorrect parameter quantifier", "Line1, Char6: Illegal '}'"}},
      {"{2}",
       {"Line1, Char1: Incorrect parameter quantifier", "Line1, Char2: Illegal integer value",
        "Line1, Char3: Illegal '}'"}},
      {"a?{2}", {"Line1, Char3: The parameter quantifier cannot be applied here"}},
      {"a*{2,3}", {"Line1, Char3: The parameter quantifier cannot be applied here"}},
      {"[z-a]", {"Line1, Char4: The starting character of the subrange must be less than the finishing one"}},
      {"[a-a]", {"Line1, Char4: The starting character of the subrange must be less than the finishing one"}},
      {"[a-b-c]", {"Line1, Char5: Illegal '-'"}},
      {"[]", {"Line1, Char2: Can't create empty enumeration"}},
      {"[^]", {"Line1, Char3: Can't create empty enumeration"}},
      {"*a", {"Line1, Char1: Illegal quantifier '*'"}},
      {"a|*b", {"Line1, Char3: Illegal quantifier '*'"}},
      {"(+)", {"Line1, Char2: Illegal quantifier '+'"}},
      {"a**", {"Line1, Char3: The '*' quantifier cannot be applied here"}},
      {"a?+", {"Line1, Char3: The '+' quantifier cannot be applied here"}},
      {"(a?)*", {"Line1, Char5: The '*' quantifier cannot be applied here"}},
      {"(a|b?)+", {"Line1, Char7: The '+' quantifier cannot be applied here"}},
      {"a{0}*", {"Line1, Char5: The '*' quantifier cannot be applied here"}},
      {"|a", {"Line1, Char1: The alternative should not be empty"}},
      {"a|", {"The alternative should not be empty"}},
      {"a||b", {"Line1, Char3: The alternative should not be empty"}},
      {"(|a)", {"Line1, Char2: The alternative should not be empty"}},
      {"()", {"Line1, Char2: The block should not be empty"}},
      {"(a|)", {"Line1, Char4: The block should not be empty"}},
      {")(", {"Line1, Char1: Illegal ')'", "The alternative should not be empty"}},
      {"a)(b", {"Line1, Char2: Illegal ')'"}},
      {"\\1", {"Line1, Char1: Too big reference number"}},
      {"(a)\\2", {"Line1, Char4: Too big reference number"}},
      {"a}b", {}},
      {"*a{x", {"Line1, Char4: Illegal 'x'", "Line1, Char5: Missing '}'"}}, // no parse after lexical errors
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompileErrors(c.pattern), c.errors) << c.pattern;
}

TEST(RegExprParser, NumberBeyondIntegerRangeEndsTheCompileWithItsConversionError) {
  TcxRegExpr regExpr;
  TStringStream source("a{2147483648}");
  EXPECT_THROW(regExpr.CompileFromStream(&source), EConvertError);
  EXPECT_FALSE(regExpr.IsCompiled());
  EXPECT_TRUE(Compile(regExpr, "a{2147483647,}").size() == 1) << "refused by the node limit";
  EXPECT_TRUE(Compile(regExpr, "ab").empty());
}

// An expansion or a copy beyond the node limit (a set weighs as much as its
// members, and a run of optional items as many links as it makes) and
// nesting beyond the depth limit are refused at their lexem; shapes within
// the limits compile.
TEST(RegExprParser, LimitsOfExpansionAndNesting) {
  const int limit = 1000;
  struct Case {
    String pattern;
    std::vector<String> errors;
  } cases[] = {
      {"a{999999999}", {"Line1, Char2: Incorrect parameter quantifier"}},
      {"a{1,999999999}", {"Line1, Char2: Incorrect parameter quantifier"}},
      {"a{999999999,}", {"Line1, Char2: Incorrect parameter quantifier"}},
      {"(a{1000}){1000}", {"Line1, Char10: Incorrect parameter quantifier"}},
      {"a{0," + IntToStr(limit + 1) + "}", {"Line1, Char2: Incorrect parameter quantifier"}},
      {"(a{3000})\\1\\1\\1", {"Line1, Char14: Too big reference number"}},
      {"[" + Repeat("a", 1000) + "]{200}", {"Line1, Char1003: Incorrect parameter quantifier"}},
      {"(" + Repeat("a?", 400) + "b){10}", {"Line1, Char804: Incorrect parameter quantifier"}},
      {Repeat("(", limit + 1) + "a" + Repeat(")", limit + 1),
       {"Line1, Char" + IntToStr(limit + 1) + ": Illegal '('"}},
      {"a" + Repeat("?", limit + 2), {"Line1, Char" + IntToStr(limit + 3) + ": Illegal quantifier '?'"}},
      {"\\d{1,500}", {}},
      {"a{0," + IntToStr(limit) + "}", {}},
      {"(a{60}){60}", {}},
      {"[" + Repeat("a", 1000) + "]{15}", {}},
      {"(" + Repeat("a?", 100) + "b){3}", {}},
      {Repeat("(", limit) + "a" + Repeat(")", limit), {}},
      {"a" + Repeat("?", limit + 1), {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompileErrors(c.pattern), c.errors) << c.pattern.substr(0, 40);
}
