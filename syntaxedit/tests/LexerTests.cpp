// The rule-script lexer: tokens, strings and their escapes, macros,
// conditional parts, included files and the error texts with positions.
#include "SYM_COMP.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

// The script's tokens as text: keywords by code, numbers as n<value>,
// strings as s<raw>.
String Lex(const String& script, const String& dir = "") {
  TStringStream in(script);
  TSYM_Compiler lex(in, dir);
  String out;
  for (int t = lex.GetToken(); t != symEnd; t = lex.GetToken()) {
    if (!out.empty()) out += ' ';
    if (t == symNumber)
      out += "n" + IntToStr(lex.LastNumber);
    else if (t == symString)
      out += "s<" + lex.LastString + ">";
    else
      out += "k" + IntToStr(t);
  }
  return out;
}

String LexError(const String& script, const String& dir = "") {
  try {
    Lex(script, dir);
  } catch (const ESYM_COMP_ERROR& e) {
    return e.Message;
  }
  return "no error";
}

String K(int code) {
  return "k" + IntToStr(code);
}

TEST(Lexer, KeywordsNumbersAndStrings) {
  struct Case {
    const char* script;
    String tokens;
  } cases[] = {
      {"%%language Name = 'SQL'", K(symLanguage) + " " + K(symName) + " " + K(symEquals) + " s<SQL>"},
      {"%%HANDLER %%handlers %%Handlers", K(symHandlers) + " " + K(symHandlers) + " " + K(symHandlers)},
      {"%%kwtables GutterFontStyle instate",
       K(symKwTables) + " " + K(symGutterFontStyle) + " " + K(symInState)},
      {"( ) [ ] , + - ? * | =", K(symLParen) + " " + K(symRParen) + " " + K(symLBracket) + " " +
                                    K(symRBracket) + " " + K(symComma) + " " + K(symPlus) + " " +
                                    K(symMinus) + " " + K(symQuestion) + " " + K(symStar) + " " + K(symBar) +
                                    " " + K(symEquals)},
      {"12+007", "n12 " + K(symPlus) + " n7"},
      {"or(1)", K(symOr) + " " + K(symLParen) + " n1 " + K(symRParen)},
      {"'a\\'b' 'c'", "s<a\\'b> s<c>"},
      {"// comment\r\n 1 /* two\r\n lines */ 2", "n1 n2"},
      {"'unterminated", "s<unterminated>"},
      {"/* unterminated comment", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(Lex(c.script), c.tokens);
  }
  // A quote right after the closing one is skipped, not taken as a quote.
  EXPECT_EQ(Lex("'it'' 1"), "s<it> n1");
  EXPECT_EQ(LexError("'it''s'"), "** ERROR near line 1, Column 6: Identifier \"s\" Unknown");
}

TEST(Lexer, StringsAcrossLinesAndEscapes) {
  TStringStream in("'one\\\r\n   \\two' 'three\r\nfour' '\\n\\R\\t\\x41\\101\\S\\B\\e\\q\\'");
  TSYM_Compiler lex(in, "");
  ASSERT_EQ(lex.GetToken(), symString);
  EXPECT_EQ(lex.LastString, "onetwo");
  EXPECT_EQ(lex.Line, 1);
  ASSERT_EQ(lex.GetToken(), symString);
  EXPECT_EQ(lex.LastString, "three\r\nfour");
  EXPECT_EQ(lex.Line, 2);
  ASSERT_EQ(lex.GetToken(), symString);
  EXPECT_EQ(lex.LastString, "\\n\\R\\t\\x41\\101\\S\\B\\e\\q\\'");
  EXPECT_EQ(lex.ProcessString(), String("\r\n\tAA \x08\x1Bq'"));
  EXPECT_EQ(lex.GetToken(), symEnd);
  EXPECT_EQ(lex.GetToken(), symEnd);
}

TEST(Lexer, Macros) {
  struct Case {
    const char* script;
    String tokens;
  } cases[] = {
      {"#define MYSTATE 5\r\n[MYSTATE]", K(symLBracket) + " n5 " + K(symRBracket)},
      {"#define A 1 + B\r\n#define B 2\r\nA", "n1 " + K(symPlus) + " n2"},
      {"#define A 1\r\n#define a 3\r\nA", "n3"},
      {"#define EMPTY\r\nEMPTY 4", "n4"},
      {"clRed fsItalic __STD_C_STRING_SQ caGOTOBOOKMARK9 F12 None MAC_CHARSET __DEFAULT_OPTIONS",
       "n255 n1 n20 n39 n123 n0 n77 n67099632"},
      {"#ifdef ver200\r\n1\r\n#else\r\n2\r\n#endif", "n1"},
      {"#define SELF self\r\n#ifdef SELF\r\n1\r\n#endif 2", "n2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(Lex(c.script), c.tokens);
  }
}

TEST(Lexer, ConditionalParts) {
  struct Case {
    const char* script;
    String tokens;
  } cases[] = {
      {"#ifdef NOPE\r\n1\r\n#else\r\n2\r\n#endif\r\n3", "n2 n3"},
      {"#ifndef NOPE\r\n1\r\n#else\r\n2\r\n#endif", "n1"},
      {"#define X\r\n#ifndef X\r\n1\r\n#endif", ""},
      {"#ifdef NOPE\r\n#ifdef ver200\r\n1\r\n#else\r\n2\r\n#endif\r\n3\r\n#else\r\n4\r\n#endif", "n4"},
      {"#ifdef ver200\r\n#ifdef NOPE\r\n1\r\n#else\r\n2\r\n#endif\r\n3\r\n#endif", "n2 n3"},
      // Nothing in a false part is read as a token: no string, no error.
      {"#ifdef NOPE\r\n'open %%words unknown # $\r\n#endif\r\n5", "n5"},
      // A definition in a false part does not take effect.
      {"#ifdef NOPE\r\n#define Y 7\r\n#endif\r\n#ifdef Y\r\n1\r\n#else\r\n2\r\n#endif", "n2"},
      {"#ifdef NOPE\r\n#define Y 7\r\n#endif\r\nY", "error"},
      // An unclosed part simply runs to the end.
      {"#ifdef NOPE\r\n1", ""},
      {"#endif 1 #else 2", "n1 n2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    if (c.tokens == "error")
      EXPECT_EQ(LexError(c.script), "** ERROR near line 4, Column 1: Identifier \"Y\" Unknown");
    else
      EXPECT_EQ(Lex(c.script), c.tokens);
  }
}

TEST(Lexer, ErrorTextsAndPositions) {
  struct Case {
    const char* script;
    const char* message;
  } cases[] = {
      {"1\r\n  origin", "** ERROR near line 2, Column 3: Identifier \"origin\" Unknown"},
      {"#Define X 1", "** ERROR near line 1, Column 1: Unknown character in input stream: #$23"},
      {"1 $", "** ERROR near line 1, Column 3: Unknown character in input stream: #$24"},
      {"ver200", "** ERROR near line 1, Column 13: Recursive expansion of macro 'ver200'"},
      {"#define A B\r\n#define B A\r\nA", "** ERROR near line 3, Column 4: Recursive expansion of macro 'a'"},
      {"#define 9 x", "** ERROR near line 1, Column 9: Macro name expected"},
      {"#ifdef\r\n", "** ERROR near line 1, Column 7: Macro name expected after #ifdef"},
      {"#ifndef 5", "** ERROR near line 1, Column 9: Macro name expected after #ifdef"},
      {"#include x", "** ERROR near line 1, Column 10: #include filename not enclosed in \"...\" or <...>"},
      {"#include \"abc\r\n", "** ERROR near line 1, Column 14: #include filename missing terminating \""},
      {"#include <abc", "** ERROR near line 1, Column 14: #include filename missing terminating >"},
      {"#include <no_such_file.inc>",
       "** ERROR near line 1, Column 28: Unable to open #include file <no_such_file.inc>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(LexError(c.script), c.message);
  }
}

TEST(Lexer, IncludedFiles) {
  String dir = testing::TempDir();
  if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  String part = dir + "/lexer_part.inc", bad = dir + "/lexer_bad.inc", self = dir + "/lexer_self.inc";
  std::ofstream(part, std::ios::binary) << "#define FROM_PART 9\r\n2\r\nFROM_PART";
  std::ofstream(bad, std::ios::binary) << "#define FROM_PART 9\r\n2\r\n3 $";
  std::ofstream(self, std::ios::binary) << "1 #include <lexer_self.inc>";

  EXPECT_EQ(Lex("1 #include <lexer_part.inc>\r\n4 FROM_PART", dir), "n1 n2 n9 n4 n9");
  EXPECT_EQ(LexError("1 #include <lexer_bad.inc>\r\n", dir),
            "** ERROR near line 3, Column 3: Unknown character in input stream: #$24");
  EXPECT_EQ(LexError("#include \"" + bad + "\"\r\n", dir),
            "** ERROR near line 3, Column 3: Unknown character in input stream: #$24");
  String recursive = LexError("#include <lexer_self.inc>", dir);
  EXPECT_EQ(recursive.substr(0, 71),
            "** ERROR near line 1, Column 53: Recursive expansion of macro '-file-: ");
  EXPECT_EQ(recursive.substr(recursive.size() - 15), "lexer_self.inc'");
  std::remove(part.c_str());
  std::remove(bad.c_str());
  std::remove(self.c_str());
}

TEST(WordStore, CaseInsensitiveWordsAndLongestMatchOnABoundary) {
  TWordStore s;
  s.DefineCode("or", 1);
  s.DefineCode("order", 2);
  s.DefineCode("%%", 3);
  s.DefineText("Macro", "x");
  String text;
  EXPECT_TRUE(s.FindText("MACRO", text));
  EXPECT_EQ(text, "x");
  s.DefineText("macro", "y");
  EXPECT_TRUE(s.FindText("macro", text));
  EXPECT_EQ(text, "y");
  EXPECT_FALSE(s.IsDefined("mac"));
  EXPECT_FALSE(s.FindText("or", text));

  struct Case {
    const char* at;
    int code;
    int advance;
  } cases[] = {{"ORDER by", 2, 5}, {"or(", 1, 2}, {"origin", -1, 0},
               {"orderly", -1, 0}, {"%%x", 3, 2}, {"o", -1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    const char* p = c.at;
    EXPECT_EQ(s.MatchCode(p), c.code);
    EXPECT_EQ(p - c.at, c.advance);
  }
}

} // namespace
