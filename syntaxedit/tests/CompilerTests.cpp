// The rule-script compiler: every section of the language, what the compiled
// rules then do to a text, and the error texts with their positions.
#include "SqlRulesSupport.h"
#include "SYM_COMP.h"
#include "SyntaxEd_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

String CompileError(const String& script) {
  try {
    CompileRules(script);
  } catch (const Exception& e) {
    return e.Message;
  }
  return "no error";
}

String Letters(const String& script, const String& text) {
  auto p = CompileRules(script);
  String out;
  for (uint8_t t : TokenBytes(*p, text))
    out += t < 10 ? static_cast<char>('0' + t) : static_cast<char>('a' + t - 10);
  return out;
}

const char* const kWordsAndTokens = "%%words\r\n"
                                    "'begin' '[^a-z]' 6\r\n"
                                    "'end' '[^a-z]' 6\r\n"
                                    "'endif' '' 7\r\n"
                                    "'(' '' 5\r\n"
                                    "%%tokens\r\n"
                                    "2 __STD_IDENTIFIER\r\n"
                                    "4 __STD_NUMBER\r\n"
                                    "3 '\"' '[^\"\\n]' * '\"' _use_\r\n";

TEST(Compiler, TokenSections) {
  struct Case {
    const char* name;
    String script;
    const char* text;
    const char* tokens;
  } cases[] = {
      {"words, their end groups and the character map", kWordsAndTokens, "begin endif(end ends 12 \"ab\"",
       "6666607777756660222204403333"},
      {"a string left open is one plain character", kWordsAndTokens, "\"ab\rx", "02202"},
      {"an end that is not consumed stays for the next token",
       "%%tokens\r\n8 '<' '[a-z]' '>' _discard_\r\n%%words\r\n'>' '' 5\r\n", "<ab>", "8885"},
      {"without a star one body unit comes first", "%%tokens\r\n8 '<' '[a-z]' '>' _use_\r\n", "<> <a>",
       "000888"},
      {"with a star the end is tried first", "%%tokens\r\n8 '<' '[a-z]' * '>' _use_\r\n", "<> <a>", "880888"},
      {"a word continues through its handler record",
       "%%words\r\n'--' '' 12\r\n%%handlers\r\n12 '[^\\n]' * '\\n' _discard_\r\n", "x-- a\rb", "0cccc00"},
      {"a word whose continuation fails is one plain character",
       "%%words\r\n'<' '' 9\r\n%%handlers\r\n9 '[a-z]' '>' _use_\r\n", "<ab> <1>", "99990000"},
      {"a handler body recognises the rest of the word",
       "%%words\r\n'@' '' 9\r\n%%handlers\r\n9 __STD_IDENTIFIER\r\n", "@ab @1", "999000"},
      {"words valid only in a state appear after the state change",
       "%%words\r\n'on' '' 6\r\n'x' '' 7 [1]\r\n%%states\r\n6 (+[1])\r\n", "x on x", "006607"},
      {"states removed again",
       "%%words\r\n'on' '' 6\r\n'off' '' 8\r\n'x' '' 7 [1]\r\n%%states\r\n6 (+[1])\r\n"
       "8 (-[1])\r\n",
       "on x off x", "6607088800"},
      {"a state map replaces the default map in its state",
       "%%words\r\n'{' '' 6\r\n%%states\r\n6 (+[3] -[0])\r\n%%tokens\r\n2 'a' 'a' * '' 0\r\nInState 3 (4 'a' "
       "__STD_NUMBER '' 0)\r\n",
       "aa{a12a", "2264440"},
      {"the extra keyword table of the language",
       "%%kwTables\r\nforstate [] endswith '[^a-z]' ( 20 is 'foo', 'bar' 21 is 'baz' )\r\n",
       "foo bar bazz baz", "kkk0kkk000000lll"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Letters(c.script, c.text), c.tokens);
  }
}

TEST(Compiler, StackEffects) {
  // A pop after the change drops the change and pops the state pushed
  // before; popping an empty stack is an error of the scan.
  String script =
      "%%words\r\n'(' '' 5\r\n')' '' 6\r\n'x' '' 7 [1]\r\n%%states\r\n5 push (+[1])\r\n6 (+[2]) pop\r\n";
  EXPECT_EQ(Letters(script, "x(x)x"), "05760");
  try {
    Letters(script, ")x)");
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Stack underflow");
  }
}

TEST(Compiler, ContainersScanTheirInsideAgain) {
  String script = "%%tokens\r\n9 '<' '[^>]' * '>' _use_\r\n%%containers\r\n9 (+[2])\r\n"
                  "%%words\r\n'b' '' 5 [2]\r\n'c' '' 6 [0]\r\n";
  auto p = CompileRules(script);
  TTextStore store;
  SetStoreText(store, "a<xbx>bc");
  TEdStream s(&store);
  AttachAt(s, store, 0);
  p->SetStateFromToken(0);
  int length = 0;
  EXPECT_EQ(p->NextToken(nullptr, s, length), 0);
  EXPECT_EQ(p->NextToken(nullptr, s, length), 9);
  EXPECT_EQ(length, 5);
  EXPECT_TRUE(p->GetContainerActive());
  // The inside, scanned again in the container's states.
  AttachAt(s, store, 2);
  EXPECT_EQ(p->NextToken(nullptr, s, length), 0);
  EXPECT_EQ(p->NextToken(nullptr, s, length), 5);
  EXPECT_EQ(p->NextToken(nullptr, s, length), 0);
  EXPECT_EQ(p->NextToken(nullptr, s, length), 0);
  EXPECT_FALSE(p->GetContainerActive());
  EXPECT_EQ(p->NextToken(nullptr, s, length), 0); // 'b' outside: state 2 is gone
  EXPECT_EQ(p->NextToken(nullptr, s, length), 6); // 'c': the states from before the container are back
}

TEST(Compiler, CustomHandlers) {
  String script =
      "%%words\r\n'$' '' 9\r\n%%handlers\r\n9 match (7)\r\n%%tokens\r\n8 '#' '[a-z]' * match(4) 1\r\n";
  auto p = CompileRules(script);
  EXPECT_TRUE(p->GetUsesCustomHandlers());
  // Without the event no custom unit matches.
  EXPECT_EQ(Letters(script, "$a#b"), "0088");
  std::vector<int> ids;
  p->OnCustomParse = [&](TObject*, int id, TEdStream& s, int& length, int& value) {
    ids.push_back(id);
    if (id == 4) return false;
    if (s.AtEnd() || s.CurrentChar() == ' ') return false;
    s.Advance();
    ++length;
    if (id == 7) value = 11;
    return true;
  };
  String out;
  for (uint8_t t : TokenBytes(*p, "$a #bc"))
    out += static_cast<char>('a' + t);
  EXPECT_EQ(out, "llaiii");
  EXPECT_EQ(ids, (std::vector<int>{7, 4, 4}));
}

TEST(Compiler, AValueFromAHandlerCountsOnlyInItsStates) {
  // '#' and the character after it get the value of 'z', whose effect holds
  // in state 0 only: after '{' leaves state 0 the same token is rejected,
  // before it and after '}' it counts.
  String script = "%%words\r\n'{' '' 6\r\n'}' '' 7 [3]\r\n'z' '' 9\r\n%%states\r\n6 (+[3] -[0])\r\n"
                  "7 (+[0] -[3])\r\n%%tokens\r\n8 '#' match(1) [3]\r\n";
  auto p = CompileRules(script);
  p->OnCustomParse = [](TObject*, int, TEdStream& s, int& length, int& value) {
    s.Advance();
    ++length;
    value = 9;
    return true;
  };
  String out;
  for (uint8_t t : TokenBytes(*p, "#a{#a}#a"))
    out += static_cast<char>('a' + t);
  EXPECT_EQ(out, "jjgaahjj");
}

TEST(Compiler, LanguageSettings) {
  String script = "%%language\r\n"
                  "Name = 'A language whose name is far too long to be kept whole'\r\n"
                  "Case = __sensitive\r\n"
                  "Options = __OPT_LINE_NUMBERS or __OPT_WORDWRAP + 0\r\n"
                  "ExampleText = 'one\\ntwo'\r\n"
                  "EditableStyles ('Keyword', 6), ('A style name that is longer than 25', 7)\r\n"
                  "WordWrapColumn = 72 GutterColor = [*] clRed MarginColor = [] clBlue\r\n"
                  "SelTextColor = clWhite SelTextBack = [*] clNavy\r\n"
                  "IndentStep = 4 WrapOverride = ',;' RightMargin = 100 FontName = 'Courier New'\r\n"
                  "FontSize = 12 FontCharset = EASTEUROPE_CHARSET TabColumns = '9; 17 25' TabDefault = 8\r\n"
                  "MarginWidth = 3 Gutter = _default_gutter + 6 Anchor = [] StartState = [1, 2]\r\n"
                  "BoundStates = [4] GutterFontName = 'Arial' GutterFontSize = 9 GutterFontColor = clGray\r\n"
                  "GutterFontStyle [fsBold, fsUnderline]\r\n"
                  "%%effects\r\n"
                  "0 [] clBlack * clWhite *\r\n"
                  "6 [fsBold, fsItalic] clNavy clYellow 'hotspot'\r\n"
                  "%%map\r\n6 6 7 6\r\n";
  auto p = CompileRules(script);
  TSM_Settings& s = p->GetSettings();
  EXPECT_EQ(s.LanguageName, "A language whose name is far too lo");
  EXPECT_EQ(s.Options, 1025u);
  EXPECT_EQ(s.ExampleText, "one\rtwo");
  EXPECT_EQ(s.GetEditableStyle(1).Name, "Keyword");
  EXPECT_EQ(s.GetEditableStyle(1).StyleNumber, 6);
  EXPECT_EQ(s.GetEditableStyle(2).Name, "A style name that is long");
  EXPECT_EQ(s.WordWrapColumn, 72);
  EXPECT_EQ(s.GutterColor, 255u);
  EXPECT_EQ(s.MarginColor, 16711680u);
  EXPECT_EQ(s.SelTextColor, 16777215u);
  EXPECT_EQ(s.SelTextBack, 8388608u);
  EXPECT_EQ(s.SystemColorMarkers, (std::array<bool, 4>{false, false, true, true}));
  EXPECT_EQ(s.IndentStep, 4);
  EXPECT_EQ(s.WrapOverride, ",;");
  EXPECT_EQ(s.RightMargin, 100);
  EXPECT_EQ(s.FontName, "Courier New");
  EXPECT_EQ(s.FontSize, 12);
  EXPECT_EQ(s.FontCharSet, 238);
  EXPECT_EQ(s.TabColumn(0), 8);
  EXPECT_EQ(s.TabColumn(2), 24);
  EXPECT_EQ(s.TabColumn(3), -1);
  EXPECT_EQ(s.TabDefault, 8);
  EXPECT_EQ(s.MarginWidth, 3);
  EXPECT_EQ(s.GutterWidth, 40);
  EXPECT_EQ(s.GutterFont.Name, "Arial");
  EXPECT_EQ(s.GutterFont.Size, 9);
  EXPECT_EQ(s.GutterFont.Color, 8421504u);
  EXPECT_EQ(s.GutterFont.Style, 5);
  TSM_StyleRecord style = s.GetStyle(6);
  EXPECT_EQ(style.FontStyle, 3);
  EXPECT_EQ(style.Foreground, 8388608u);
  EXPECT_EQ(style.Background, 65535u);
  EXPECT_TRUE(style.Hotspot);
  EXPECT_EQ(style.Defined, 1);
  EXPECT_TRUE(s.GetStyle(0).SysForeground);
  EXPECT_TRUE(s.GetStyle(0).SysBackground);
  EXPECT_EQ(s.TokenStyle(7), 6);
  EXPECT_TRUE(p->GetAnchorTokens()[0]);
  EXPECT_EQ(p->GetAnchorTokens().count(), 1u);
  p->SetStateFromToken(0);
  TStateSet start;
  start.set(1).set(2);
  EXPECT_EQ(p->GetCurrentStates(), start);
  EXPECT_FALSE(p->InBoundState());
}

TEST(Compiler, ContextStatesAndEmptyLanguage) {
  auto empty = CompileRules("");
  empty->SetStateFromToken(200);
  TStateSet zero;
  zero.set(0);
  EXPECT_EQ(empty->GetCurrentStates(), zero);
  EXPECT_EQ(TokenLetters(*empty, "any text"), "........");

  auto p = CompileRules("%%language\r\nStartState = [5]\r\nContextStates = (3 4 [7]), (6)\r\n");
  TStateSet seven, five;
  seven.set(7);
  five.set(5);
  p->SetStateFromToken(3);
  EXPECT_EQ(p->GetCurrentStates(), seven);
  p->SetStateFromToken(6);
  EXPECT_EQ(p->GetCurrentStates(), five);
  p->SetStateFromToken(9);
  EXPECT_EQ(p->GetCurrentStates(), five);
  auto none = CompileRules("%%language\r\nStartState = []\r\n");
  none->SetStateFromToken(0);
  EXPECT_TRUE(none->GetCurrentStates().none());
}

TEST(Compiler, EditingAidSections) {
  String script = "%%keys\r\n"
                  "caCOPY ([ctrl] 'c' | [ctrl, shift] INSERT) 'Copy it'\r\n"
                  "caUNDO ([alt] BACKSPACE, 'z')\r\n"
                  "%%autoreplace\r\n"
                  "'teh' = 'the'\r\n"
                  "actionkeys = ' .'\r\n"
                  "%%templates\r\n"
                  "'sel' ('a select') = 'select * from |'\r\n"
                  "hotkey = ([ctrl] 'J')\r\n";
  auto p = CompileRules(script);
  TSM_Settings& s = p->GetSettings();
  TShortCut first = 0, second = 0;
  ASSERT_TRUE(s.GetKeyController().FindFirstKeys(13, first, second));
  EXPECT_EQ(s.GetKeyController().CommandName(13), "Copy it");
  EXPECT_EQ(s.GetKeyController().GetKeyStore().ProcessKey(scAlt | 8), TKeyStore::krSequenceStarted);
  EXPECT_EQ(s.GetKeyController().GetKeyStore().ProcessKey('Z'), TKeyStore::krBindingDone);
  EXPECT_EQ(s.GetKeyController().GetKeyStore().GetMatchedAction(), 41);
  String expansion;
  EXPECT_TRUE(s.GetCodeTemplates().FindTemplate("sel", expansion));
  EXPECT_EQ(s.GetCodeTemplates().TriggerKey, scCtrl | 'J');
  EXPECT_TRUE(s.GetAutoReplace().FindTemplate("teh", expansion));
  EXPECT_EQ(expansion, "the");

  // A second %%keys section starts from no bindings.
  auto again = CompileRules(script + "%%keys\r\ncaPASTE ([ctrl] 'V')\r\n");
  EXPECT_FALSE(again->GetSettings().GetKeyController().FindFirstKeys(13, first, second));
  EXPECT_TRUE(again->GetSettings().GetKeyController().FindFirstKeys(14, first, second));
}

TEST(Compiler, IncludedWordLists) {
  String dir = testing::TempDir();
  if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  String words = dir + "/compiler_words.inc";
  std::ofstream(words, std::ios::binary) << "#define END_OF_WORD '[^a-z]'\r\n'alpha' END_OF_WORD 6\r\n";
  String script =
      "#define MORE\r\n%%words\r\n#include <compiler_words.inc>\r\n#ifdef MORE\r\n'beta' END_OF_WORD 7\r\n"
      "#else\r\n'gamma' END_OF_WORD 7\r\n#endif\r\n";
  auto p = CompileRules(script, dir);
  String out;
  for (uint8_t t : TokenBytes(*p, "alpha beta gamma"))
    out += static_cast<char>('0' + t);
  EXPECT_EQ(out, "6666607777000000");
  std::remove(words.c_str());
}

TEST(Compiler, ErrorTexts) {
  struct Case {
    String script;
    const char* message;
  } cases[] = {
      {"12", "** ERROR near line 1, Column 3: Script syntax error"},
      {"\r\n%%words 'a' '' 5 'a' '' 5", "** ERROR near line 2, Column 26: Duplicate entry in %%word table"},
      {"%%words 'a' 5", "** ERROR near line 1, Column 14: String value expected"},
      {"%%words 'a' 'ab' 5", "** ERROR near line 1, Column 19: Single character specifier expected"},
      {"%%words 'a' 'z-a' 5",
       "** ERROR near line 1, Column 20: Characters not in correct order for range specifier"},
      {"%%handlers 12 'x' 12 'y'", "** ERROR near line 1, Column 25: Duplicate entry in %%handler table"},
      {"%%handlers 3 'a' 'abcde' 1",
       "** ERROR near line 1, Column 27: Maximum of 4 character specifier allowed"},
      {"%%tokens 2 'a' 'b' 'c' 1 3 'a' 'x' 'y' 1",
       "** ERROR near line 1, Column 41: Ambigious start set in %%token table"},
      {"%%tokens 2 __STD_IDENTIFIER 3 '_' 'b' 'c' 1",
       "** ERROR near line 1, Column 46: Ambigious start set in %%token table"},
      {"%%tokens 2 9", "** ERROR near line 1, Column 13: Script syntax error"},
      {"%%tokens 2 21", "** ERROR near line 1, Column 14: Script syntax error"},
      {"%%tokens 300 'a' 'b' 'c' 1", "Range error, value outwith 0 .. 255"},
      {"%%tokens InState 2 4 'a' 'b' 'c' 1", "** ERROR near line 1, Column 21: '(' expected"},
      {"%%tokens InState 2 (4 'a' 'b' 'c' 1", "** ERROR near line 1, Column 36: ')' expected"},
      {"%%language name 'x'", "** ERROR near line 1, Column 20: '=' expected"},
      {"%%language name = 5", "** ERROR near line 1, Column 20: String value expected"},
      {"%%language options = (1", "** ERROR near line 1, Column 24: Expression expected"},
      {"%%language options = 'x'", "** ERROR near line 1, Column 25: Expression expected"},
      {"%%language indentstep = 21", "Range error, value outwith 0 .. 20"},
      {"%%language editablestyles ('a', 300)", "** ERROR near line 1, Column 37: Value must be 0..255"},
      {"%%language editablestyles 'a'", "** ERROR near line 1, Column 30: '(' expected"},
      {"%%language contextstates = (3 [1]), (3)", "Token value 3 re-specified in ContextState"},
      {"%%language contextstates = (3) contextstates = (3)", "Token value 3 re-specified in ContextState"},
      {"%%language GutterFontStyle [x]", "** ERROR near line 1, Column 29: Bad font style specifier"},
      {"%%language GutterFontStyle 3", "** ERROR near line 1, Column 29: Bad font style specifier"},
      {"%%effects 5 [] 1 2 5 [] 1 2", "** ERROR near line 1, Column 28: Duplicate %%effect entry"},
      {"%%effects 5 1 2", "** ERROR near line 1, Column 14: '[' expected"},
      {"%%effects 5 [1 2", "** ERROR near line 1, Column 17: ']' expected"},
      {"%%keys 13 ('AB')", "** ERROR near line 1, Column 16: Single character specifier expected"},
      {"%%keys 13 ([ctrl])", "** ERROR near line 1, Column 19: Key specification required"},
      {"%%keys 13 ''", "** ERROR near line 1, Column 13: Key function name cannot be blank"},
      {"%%kwTables forstate 1", "** ERROR near line 1, Column 22: '[' expected"},
      {"%%kwTables forstate [] 'x'", "** ERROR near line 1, Column 27: '[' expected"},
      {"%%kwTables forstate [] endswith '' ( 20 'a' )",
       "** ERROR near line 1, Column 44: String value expected"},
      {"%%kwTables forstate [] endswith '' 20", "** ERROR near line 1, Column 38: '(' expected"},
      {"%%language tabcolumns = '9 5'", "Tab columns must be in order and unique"},
      {"%%language tabcolumns = '1'", "Tab column must be > 1"},
      {"%%language tabcolumns = '9 x'", "Tab stop column value expected"},
      {"%%effects 5 [] 1 2 'other'", "** ERROR near line 1, Column 27: Script syntax error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(CompileError(c.script), c.message);
  }
  String many = "%%language editablestyles ";
  for (int i = 0; i < 51; ++i)
    many += (i ? ", ('s" : "('s") + IntToStr(i) + "', 1)";
  EXPECT_EQ(CompileError(many), "** ERROR near line 1, Column 627: Too many editable styles");
  String stops = "%%language tabcolumns = '";
  for (int i = 2; i < 35; ++i)
    stops += IntToStr(i) + " ";
  EXPECT_EQ(CompileError(stops + "'"), "Too many tab stops - maximum of 32");
}

TEST(Compiler, TheProjectsSqlRules) {
  TSyntaxMemoParser& p = SqlParser();
  TSM_Settings& s = p.GetSettings();
  EXPECT_EQ(s.LanguageName, "MySQL");
  EXPECT_EQ(s.FontName, "Courier New");
  EXPECT_EQ(s.GetEditableStyle(1).Name, "Reserved word");
  EXPECT_EQ(s.TokenStyle(tkBlockComment), tkLineComment);
  EXPECT_FALSE(p.GetUsesCustomHandlers());
  // Every keyword class holds words of its own.
  struct Case {
    const char* word;
    uint8_t token;
  } cases[] = {{"alter", tkReserved},         {"mediumtext", tkDataType}, {"group_concat", tkFunction},
               {"auto_increment", tkKeyword}, {"charset", tkKeyword},     {"unsigned", tkReserved},
               {"json_table", tkKeyword},     {"UUID", tkDataType}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(TokenBytes(p, c.word), std::vector<uint8_t>(strlen(c.word), c.token));
  }
}

} // namespace
