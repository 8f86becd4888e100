// The text utilities and the SQL-aware scanning.
#include "TestLines.h"
#include "Util.h"

#include <gtest/gtest.h>

namespace {

TEST(StringUtilities, EdgeCases) {
  TStringList list;
  SplitString(';', "a;b;", list);
  EXPECT_EQ(Items(list), (Lines{"a", "b", ""}));
  SplitString(';', "", list);
  EXPECT_EQ(Items(list), (Lines{""}));

  String s = "primary key (id)";
  EXPECT_EQ(CutToken(' ', s), "primary");
  EXPECT_EQ(s, "key (id)");
  String none = "abc";
  EXPECT_EQ(CutToken(';', none), "");
  EXPECT_EQ(none, "abc");

  EXPECT_EQ(RightPart("ABCDE", -2), "CDE");
  EXPECT_EQ(LeftPart("ABCDE", -2), "ABC");
  EXPECT_EQ(RightPart("ABCDE", 2), "DE");
  EXPECT_EQ(LeftPart("ABCDE", 2), "AB");
  EXPECT_EQ(LeftPart("AB", -5), "");
  EXPECT_EQ(LastPos("aa", "aaa"), 2);
  EXPECT_EQ(LastPos("x", "aaa"), 0);
  EXPECT_EQ(RemoveChar("`a`.`b`", '`'), "a.b");

  String trailing = "a,,,";
  StripTrailingChar(trailing, ',');
  EXPECT_EQ(trailing, "a");

  String between;
  ASSERT_TRUE(TextBetween("KEY ix (a,b)", "(", ")", true, between));
  EXPECT_EQ(between, "(a,b)");
  ASSERT_TRUE(TextBetween("KEY ix (a,b)", "(", ")", false, between));
  EXPECT_EQ(between, "a,b");
  between = "untouched";
  EXPECT_FALSE(TextBetween("a) b (", "(", ")", false, between));
  EXPECT_EQ(between, "untouched");

  EXPECT_EQ(ReplaceAll("aab", "ab", "b"), "b");
  // A new text that holds the old one is replaced once, not forever.
  EXPECT_EQ(ReplaceAll("a'b'", "'", "''"), "a''b''");
}

TEST(StringUtilities, RemoveDelimited) {
  String s = "select 1 # one\nselect 2 -- two\nselect 3 # no line end";
  RemoveDelimited(s, "#", "\n", "");
  RemoveDelimited(s, "--", "\n", "");
  EXPECT_EQ(s, "select 1 select 2 select 3 # no line end");
  String kept = "drop x; /*a*/";
  RemoveDelimited(kept, "/*", "*/", "SET");
  EXPECT_EQ(kept, "drop x; /*a*/");
}

TEST(StringUtilities, InsertPastTheEndAppends) {
  TStringList list;
  list.Add("a");
  InsertAt(list, 5, "b");
  InsertAt(list, 0, "c");
  EXPECT_EQ(Items(list), (Lines{"c", "a", "b"}));
}

TEST(SqlText, QuotedTextAndParentheses) {
  String s = "a ('x''y)' \"q\\\")\" `b)`) tail)";
  EXPECT_EQ(FindMatchingParen(s, 2), s.find(") tail"));
  EXPECT_EQ(SkipQuoted("'ab", 0), String::npos);
  EXPECT_EQ(SkipQuotedToEnd("'ab", 0), 3u);
  EXPECT_EQ(FindOutsideQuotes("c 'auto_increment' AUTO_INCREMENT", "auto_increment"), 19u);
  EXPECT_EQ(FindOutsideQuotes("`auto_increment`", "auto_increment"), String::npos);
}

TEST(SqlText, Quoting) {
  struct Case {
    const char* name;
    const char* quoted;
  } cases[] = {
      {"t1", "t1"},     {"Order", "`Order`"}, {"select", "`select`"}, {"a b", "`a b`"}, {"x`y", "`x``y`"},
      {"1a", "`1a`"},   {"", "``"},           {"$x_9", "$x_9"},       {"key", "`key`"}, {"status", "status"},
      {"a-b", "`a-b`"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(QuoteName(c.name), c.quoted) << c.name;
}

TEST(SqlText, UnquoteOnlyWhereNoQuotesAreNeeded) {
  EXPECT_EQ(UnquoteIdentifiers("KEY `ix` (`a`,`order`,`a b`) COMMENT 'see `a`' DEFAULT \"`x`\""),
            "KEY ix (a,`order`,`a b`) COMMENT 'see `a`' DEFAULT \"`x`\"");
  EXPECT_EQ(UnquoteIdentifiers("`x``y` `unclosed"), "`x``y` `unclosed");
}

TEST(SqlText, ReadIdentifier) {
  size_t i = 0;
  String s = "  `a``b` c(1)";
  EXPECT_EQ(ReadIdentifier(s, i), "a`b");
  EXPECT_EQ(ReadIdentifier(s, i), "c");
  EXPECT_EQ(s.substr(i), "(1)");
  // A bare name ends before an assignment or a literal.
  s = "version='2.0.1'";
  i = 0;
  EXPECT_EQ(ReadIdentifier(s, i), "version");
  EXPECT_EQ(s.substr(i), "='2.0.1'");
  s = "x'2.0'";
  i = 0;
  EXPECT_EQ(ReadIdentifier(s, i), "x");
}

TEST(SqlText, SplitScript) {
  struct Case {
    const char* script;
    Lines statements;
  } cases[] = {
      {"a; b;c", {"a", "b", "c"}},
      {"select ';', \"--;\", `;#`;", {"select ';', \"--;\", `;#`"}},
      {"select 1 -- comment;\n;", {"select 1"}},
      {"select 1--1;", {"select 1--1"}},
      {"select 1 # c ; d\n+1;", {"select 1 \n+1"}},
      {"select 'a\\';b';", {"select 'a\\';b'"}},
      {"/*!40101 SET a=1 */;", {"/*!40101 SET a=1 */"}},
      {"/* ; */ x;", {"/* ; */ x"}},
      {"select 1; -- final comment", {"select 1"}},
      {"DELIMITER $$\ncreate procedure p() begin select 1; select 2; end$$\nDELIMITER ;\nselect 3;",
       {"create procedure p() begin select 1; select 2; end", "select 3"}},
      {"select 'delimiter x';\n  delimiter //\nselect 1//", {"select 'delimiter x'", "select 1"}},
      {"/* licence\n; */\nDELIMITER //\ncreate function f() returns int begin return 1; end//\nDELIMITER "
       ";\nselect 1;",
       {"create function f() returns int begin return 1; end", "select 1"}},
      {"select 1; /* only a comment */ ;/*!40101 x */", {"select 1", "/*!40101 x */"}},
      {"", {}},
      {"  ;  ; ", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitScript(c.script), c.statements) << c.script;
}

} // namespace
