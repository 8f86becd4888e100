#include "SyntaxEd_templates.h"

#include "KeywordsFixture.h"
#include "SyntaxEd_streamio.h"

#include <gtest/gtest.h>

namespace {

bool InWord(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '\'' || c == '-';
}
bool StartsWord(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

constexpr uint16_t kJ = 'J';

class TemplatesTest : public ::testing::Test {
protected:
  TemplatesTest() {
    t.AddTemplate("for", "for loop", "for i := 0 to n do\r\nbegin\r\n  |\r\nend;");
    t.AddTemplate("while", "", "while | do");
    t.OnFire = [this](TMacroKeywords* sender, const String& name, String& replacement) {
      EXPECT_EQ(sender, &t);
      fired.push_back(name + "=" + replacement);
    };
  }
  // Presses the trigger key with the caret at position in text.
  bool Press(const String& text, int caret, uint16_t key = kJ, TKeyShift shift = ksCtrl) {
    TTestText tt(text);
    auto stream = tt.StreamAt(caret);
    handled = true;
    return t.HandleTriggerKey(stream.get(), key, shift, handled, InWord, StartsWord);
  }
  TCodeTemplates t;
  std::vector<String> fired;
  bool handled = false;
};

TEST_F(TemplatesTest, TriggerKeyExpandsTheNameBeforeTheCaret) {
  struct Case {
    const char* text;
    int caret;
    const char* name; // fired name, or nullptr for none
    const char* selectionWord;
  };
  const Case cases[] = {
      {"for\r", 3, "for", ""},        {"for", 3, "for", ""}, // a name at the very start of the text
      {"x := FOR", 8, "FOR", ""},     {"a\rwhile\rb", 7, "while", ""},
      {"forx\r", 4, nullptr, "forx"}, {"x Fo", 4, nullptr, "fo"},
      {"forxy", 4, nullptr, ""}, // the caret stands inside a word
      {"for", 0, nullptr, ""},        {"", 0, nullptr, ""},
  };
  for (const Case& c : cases) {
    fired.clear();
    const bool result = Press(c.text, c.caret);
    EXPECT_EQ(result, c.name != nullptr) << c.text;
    EXPECT_EQ(handled, c.name != nullptr) << c.text;
    if (c.name) {
      ASSERT_EQ(fired.size(), 1u) << c.text;
      EXPECT_EQ(fired[0].substr(0, fired[0].find('=')), c.name);
    } else {
      EXPECT_TRUE(fired.empty()) << c.text;
    }
    EXPECT_EQ(t.GetSelectionWord(), c.selectionWord) << c.text;
  }
  fired.clear();
  Press("while", 5);
  EXPECT_EQ(fired, (std::vector<String>{"while=while | do"}));
}

TEST_F(TemplatesTest, OtherKeysAndADisabledListDoNothing) {
  EXPECT_FALSE(Press("for", 3, 'K'));
  EXPECT_FALSE(Press("for", 3, kJ, ksCtrl | ksShift));
  t.Enabled = false;
  EXPECT_FALSE(Press("for", 3));
  EXPECT_TRUE(fired.empty());
  EXPECT_TRUE(t.WantsPopup());
  TCodeTemplates empty;
  EXPECT_FALSE(empty.WantsPopup());
}

TEST_F(TemplatesTest, TemplatesAreReplacedFoundAndDeletedByName) {
  String expansion;
  EXPECT_TRUE(t.FindTemplate("FOR", expansion));
  EXPECT_EQ(expansion, "for i := 0 to n do\rbegin\r  |\rend;") << "stored with the rows' line ends";
  EXPECT_FALSE(t.FindTemplate("fo", expansion)) << "a prefix is no template";
  t.AddTemplate("For", "other", "x");
  ASSERT_EQ(t.GetEntries().size(), 2u);
  EXPECT_TRUE(t.FindTemplate("for", expansion));
  EXPECT_EQ(expansion, "x");
  try {
    t.AddMacro("WHILE", "", 0, "y");
    ADD_FAILURE() << "no error";
  } catch (const EKeywords& e) {
    EXPECT_EQ(e.Message, "Duplicate keyword - 'elihw'");
  }
  t.DeleteTemplate("While");
  EXPECT_FALSE(t.FindTemplate("while", expansion));
  fired.clear();
  EXPECT_TRUE(Press("for", 3));
  EXPECT_EQ(fired, (std::vector<String>{"for=x"}));
  EXPECT_FALSE(Press("while", 5)) << "a deleted name is gone from the tree";
}

TEST_F(TemplatesTest, StreamFormKeepsEntriesTriggerKeyAndEnabled) {
  t.TriggerKey = scCtrl | scShift | 'T';
  t.Enabled = false;
  TMemoryStream s;
  t.SaveToStream(s);
  s.SetPosition(0);
  EXPECT_EQ(ReadInt(s), 2);
  EXPECT_EQ(ReadShortString(s), "for");
  EXPECT_EQ(ReadShortString(s), "for loop");
  ReadLongString(s);
  EXPECT_EQ(ReadShortString(s), "while");
  EXPECT_EQ(ReadShortString(s), "");
  EXPECT_EQ(ReadLongString(s), "while | do");
  EXPECT_EQ(ReadLongString(s), "Shift+Ctrl+T");
  EXPECT_EQ(ReadInt(s), 0);
  EXPECT_EQ(s.GetPosition(), s.GetSize());

  std::unique_ptr<TSM_Base> copy = t.Clone();
  auto& c = dynamic_cast<TCodeTemplates&>(*copy);
  EXPECT_EQ(c.TriggerKey, scCtrl | scShift | 'T');
  EXPECT_FALSE(c.Enabled);
  String expansion;
  EXPECT_TRUE(c.FindTemplate("while", expansion));
  EXPECT_EQ(expansion, "while | do");

  TCodeTemplates defaults;
  defaults.Assign(TCodeTemplates());
  EXPECT_EQ(defaults.TriggerKey, scCtrl | 'J');
  EXPECT_TRUE(defaults.Enabled);
}

TEST_F(TemplatesTest, AssignRefusesOtherClasses) {
  try {
    t.Assign(TKeywords());
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Cannot assign TKeywords to TCodeTemplates");
  }
}

TEST(Expansion, MarkerAndIndentation) {
  struct Case {
    const char* replacement;
    int indent;
    bool marker;
    const char* text;
    int markerOffset;
  };
  const Case cases[] = {
      {"begin\r\n  |\r\nend;", 4, true, "begin\r      \r    end;", 12},
      {"a|b|c", 0, true, "ab|c", 1},
      {"a|b", 0, false, "a|b", -1},
      {"one\rtwo\n", 2, false, "one\r  two\r", -1},
      {"", 3, true, "", -1},
      {"x\ty\a", 0, false, "x\ty\a", -1},
  };
  for (const Case& c : cases) {
    int offset = 99;
    EXPECT_EQ(PrepareExpansion(c.replacement, c.indent, c.marker, offset), c.text) << c.replacement;
    EXPECT_EQ(offset, c.markerOffset) << c.replacement;
  }
}

TEST(AutoReplace, DefaultActionKeysAndSpecifiers) {
  SetVkKeyScanFunc(UsLayoutVkKeyScan);
  TAutoReplace a;
  std::vector<uint16_t> expected;
  for (char ch : String(";,:.=()[]"))
    expected.push_back(static_cast<uint16_t>(UsLayoutVkKeyScan(ch)));
  for (uint16_t code : {13, 9, 32})
    expected.push_back(code);
  EXPECT_EQ(a.GetActionKeyCodes(), expected);
  EXPECT_EQ(a.GetActionKeys(), ";,:.=()[]\\{Return}\\{Tab}\\{Space}");

  struct Case {
    const char* text;
    std::vector<uint16_t> codes;
  };
  const Case cases[] = {
      {"\\n\\r\\N\\s\\t", {13, 32, 9}},
      {"\\{Foo}", {0}},
      {"\\{F-1 0}\\{page down}", {121, 34}},
      {"\\:;", {0xBA}}, // an escaped character counts without its shift state
      {"A\\A", {0x141, 0x41}},
      {"", {}},
  };
  for (const Case& c : cases) {
    a.SetActionKeys(c.text);
    EXPECT_EQ(a.GetActionKeyCodes(), c.codes) << c.text;
  }
  try {
    a.SetActionKeys("\\{Tab");
    ADD_FAILURE() << "no error";
  } catch (const ESyntaxMemo& e) {
    EXPECT_EQ(e.Message, "Bad key specifier");
  }
  SetVkKeyScanFunc(nullptr);
}

TEST(AutoReplace, ActionKeysTriggerAndTheListRoundTrips) {
  SetVkKeyScanFunc(UsLayoutVkKeyScan);
  TAutoReplace a;
  EXPECT_TRUE(a.IsTriggerKey(0xBA, ksShift)) << ":";
  EXPECT_TRUE(a.IsTriggerKey(0x20, 0));
  EXPECT_FALSE(a.IsTriggerKey('A', 0));
  EXPECT_FALSE(a.IsTriggerKey(0x20, ksCtrl));
  EXPECT_EQ(KeyCode(0x141, 0), 0);
  EXPECT_EQ(KeyCode('A', ksShift | ksCtrl | ksAlt), 0x741);

  a.AddReplacement("teh", "the");
  a.SetActionKeys("\\{Space}.");
  TMemoryStream s;
  a.SaveToStream(s);
  s.SetPosition(0);
  TAutoReplace b;
  b.LoadFromStream(s);
  EXPECT_EQ(s.GetPosition(), s.GetSize());
  EXPECT_EQ(b.GetActionKeys(), "\\{Space}.");
  EXPECT_EQ(b.GetActionKeyCodes(), (std::vector<uint16_t>{32, 0xBE}));
  String r;
  EXPECT_TRUE(b.FindTemplate("TEH", r));
  EXPECT_EQ(r, "the");
  EXPECT_FALSE(b.KeyHandled || b.IndentExpansion || b.CaretMarker || b.ShowPopup);

  b.ClearEntries();
  EXPECT_TRUE(b.GetEntries().empty());
  EXPECT_EQ(b.GetActionKeyCodes().size(), 12u);
  a.Enabled = false;
  EXPECT_FALSE(a.IsTriggerKey(0x20, 0));
  a.Enabled = true;
  a.SetActionKeys("");
  EXPECT_FALSE(a.IsTriggerKey(0x20, 0));
  SetVkKeyScanFunc(nullptr);
}

TEST(AutoReplace, OnlyWholeWordsAreReplaced) {
  struct Case {
    const char* text;
    int caret;
    const char* name;
    const char* replacement;
    bool can;
  };
  const Case cases[] = {
      {"teh", 3, "teh", "the", true},
      {"x teh y", 5, "teh", "the", true},
      {"tehx", 3, "teh", "the", false},  // followed by a letter
      {"xteh ", 4, "teh", "the", false}, // the replacement would glue onto x
      {"xteh ", 4, "teh", "(the)", true},
      {" ..x", 3, "..", "and", true}, // a name ending in no word character
      {"x..", 3, "..", "and", false},
      {"teh", 3, "teh", "", true},
  };
  for (const Case& c : cases) {
    TTestText tt(c.text);
    auto stream = tt.StreamAt(0);
    EXPECT_EQ(CanAutoReplace(*stream, c.caret, c.name, c.replacement, InWord, StartsWord), c.can) << c.text;
  }
}

} // namespace
