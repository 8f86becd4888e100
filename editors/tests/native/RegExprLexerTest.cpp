#include "RegExprSupport.h"
#include "cxMaskConsts.h"

#include <gtest/gtest.h>

namespace {

// Lexems as "<kind><value>@<line>:<column>", kinds by letter: s symbol,
// o operator, i integer, . any, w W d D s S class escapes (as "\d"), r
// reference, / and : separators.
String LexemText(const TcxLexem& l) {
  static const char* kinds[] = {"s", "o", "i", "", "\\", "\\", "\\", "\\", "\\", "\\", "r", "", ""};
  String value = l.Value;
  if (l.Code == lcSymbol && static_cast<unsigned char>(value[0]) < 32) value = "#" + IntToStr(value[0]);
  return kinds[l.Code] + value + "@" + IntToStr(l.Line) + ":" + IntToStr(l.Char);
}

String Lexems(const String& pattern) {
  TcxRegExpr regExpr;
  Compile(regExpr, pattern);
  String text;
  for (int i = 0; i < regExpr.GetLexems().GetCount(); ++i)
    text += (i ? " " : "") + LexemText(regExpr.GetLexems().GetItem(i));
  return text;
}

} // namespace

TEST(RegExprLexer, LexemsWithTheirPositions) {
  struct Case {
    const char* pattern;
    const char* lexems;
  } cases[] = {
      {"ab", "sa@1:1 sb@1:2"},
      {"a b", "sa@1:1 sb@1:3"},
      {"'a b'", "sa@1:2 s @1:3 sb@1:4"},
      {"'it''s'", "si@1:2 st@1:3 s'@1:4 ss@1:6"},
      {"(a|b)*+?", "o(@1:1 sa@1:2 o|@1:3 sb@1:4 o)@1:5 o*@1:6 o+@1:7 o?@1:8"},
      {"./:", ".@1:1 /@1:2 :@1:3"},
      {"\\d\\D\\w\\W\\s\\S", "\\d@1:1 \\D@1:3 \\w@1:5 \\W@1:7 \\s@1:9 \\S@1:11"},
      {"\\a\\e\\f\\n\\r\\t", "s#7@1:1 s#27@1:3 s#12@1:5 s#10@1:7 s#13@1:9 s#9@1:11"},
      {"\\x41\\x6a", "sA@1:1 sj@1:5"},
      {"\\.\\\\\\(\\/\\:\\0", "s.@1:1 s\\@1:3 s(@1:5 s/@1:7 s:@1:9 s0@1:11"},
      {"(a)\\1\\9", "o(@1:1 sa@1:2 o)@1:3 r1@1:4 r9@1:6"},
      {"a\\", "sa@1:1"},
      {"] } - ^ ,", "s]@1:1 s}@1:3 s-@1:5 s^@1:7 s,@1:9"},
      // Sets: a leading or trailing dash is literal, a dash between members
      // an operator, whitespace skipped around it.
      {"[-a]", "o[@1:1 s-@1:2 sa@1:3 o]@1:4"},
      {"[a-]", "o[@1:1 sa@1:2 s-@1:3 o]@1:4"},
      {"[a-z]", "o[@1:1 sa@1:2 o-@1:3 sz@1:4 o]@1:5"},
      {"[a - z]", "o[@1:1 sa@1:2 o-@1:4 sz@1:6 o]@1:7"},
      {"[^.^[]", "o[@1:1 o^@1:2 s.@1:3 s^@1:4 s[@1:5 o]@1:6"},
      {"[]", "o[@1:1 o]@1:2"},
      {"[\\d\\1/:'x']", "o[@1:1 \\d@1:2 r1@1:4 /@1:6 :@1:7 sx@1:9 o]@1:11"},
      {"a{ 12 , 345 }", "sa@1:1 o{@1:2 i12@1:4 o,@1:7 i345@1:9 o}@1:13"},
      {"a{2}", "sa@1:1 o{@1:2 i2@1:3 o}@1:4"},
      {"a\r\nb", "sa@1:1 sb@2:1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Lexems(c.pattern), c.lexems) << c.pattern;
}

TEST(RegExprLexer, ErrorsAreCollectedToTheEnd) {
  struct Case {
    String pattern;
    std::vector<String> errors;
  } cases[] = {
      {"\\x4g", {"Line1, Char4: Hexadecimal number expected but 'g' found"}},
      {"\\x4", {"Line1, Char4: Hexadecimal number expected"}},
      {"(ab", {"Missing ')'"}},
      {"ab)", {"Unnecessary ')'"}},
      {"\\ ", {"Line1, Char2: The space character is not allowed after '\\'"}},
      {"ab\r\n\\\t", {"Line2, Char2: The space character is not allowed after '\\'"}},
      {"'ab", {"Line1, Char4: Missing ' ' '"}},
      {"[ab", {"Line1, Char4: Missing ']'"}},
      {"[a-", {"Line1, Char4: Missing ']'"}},
      {"[a-  ", {"Line1, Char6: Missing ']'"}},
      {"[", {"Line1, Char2: Missing ']'"}},
      {"a{2", {"Line1, Char4: Missing '}'"}},
      {"a{1'}", {"Line1, Char4: Illegal ' ' '"}},
      {"a{1x}", {"Line1, Char4: Illegal 'x'"}},
      // Every lexical error of the pattern, in order.
      {"\\xg(a{x}'",
       {"Line1, Char3: Hexadecimal number expected but 'g' found", "Line1, Char7: Illegal 'x'",
        "Line1, Char10: Missing ' ' '", "Missing ')'"}},
      {"", {"The source stream is empty"}},
      {String(" \t\r\n\f", 5) + String(1, '\0'), {"The source stream is empty"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompileErrors(c.pattern), c.errors) << c.pattern;
  EXPECT_TRUE(CompileErrors(String(1, '\v')).empty()) << "vertical tab is no whitespace";
}

TEST(RegExprLexer, MissingSourceStream) {
  TcxRegExpr regExpr;
  try {
    regExpr.CompileFromStream(nullptr);
    FAIL();
  } catch (const EcxRegExprError& e) {
    ASSERT_EQ(e.Errors->GetCount(), 1);
    EXPECT_EQ(e.Errors->GetItem(0).ErrorText(), "The source stream is not assigned");
    EXPECT_EQ(e.Message, "");
  }
  EXPECT_FALSE(regExpr.IsCompiled());
}

TEST(RegExprLexer, ErrorTextWithAndWithoutPosition) {
  struct Case {
    TcxRegExprError error;
    const char* text;
  } cases[] = {
      {{3, 1, "Illegal quantifier '*'"}, "Line1, Char3: Illegal quantifier '*'"},
      {{0, 2, "m"}, "Line2: m"},
      {{5, 0, "m"}, "m"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.error.ErrorText(), c.text);
}

namespace {
String GermanPositions(const TcxResourceString& s) {
  if (s.Identifier == cxSRegExprLine.Identifier) return "Zeile";
  if (s.Identifier == cxSRegExprChar.Identifier) return "Spalte";
  return s.DefaultText;
}
} // namespace

TEST(RegExprLexer, MessagesComeThroughTheInstalledLoader) {
  cxSetResourceStringLoader(GermanPositions);
  EXPECT_EQ(CompileErrors("\\x4"), std::vector<String>{"Zeile1, Spalte4: Hexadecimal number expected"});
  cxSetResourceStringLoader(nullptr);
  EXPECT_EQ(CompileErrors("\\x4"), std::vector<String>{"Line1, Char4: Hexadecimal number expected"});
}
