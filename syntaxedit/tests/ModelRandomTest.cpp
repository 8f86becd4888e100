// A seeded run of random inserts, deletes, undos and redos on a highlighted
// model, checked after every step against a plain string: the rows, the
// counters, the continuation marks and the token bytes of a full scan.
#include "ModelFixture.h"
#include "SqlRulesSupport.h"

#include <random>

namespace {

// Characters of different widths, as a proportional font draws them.
class TProportional : public TTextMeasurer {
public:
  TEditorFontMetrics GetMetrics() override { return TEditorFontMetrics(); }
  int TextWidth(const char* text, int count, uint8_t style) override {
    int width = 0;
    for (int i = 0; i < count; ++i)
      width += 4 + static_cast<unsigned char>(text[i]) % 7 + (style & 1);
    return width;
  }
};

enum TRunKind { rkPlain, rkWrapped, rkProportional };

// Run without word wrap, with it at 20 columns, and with it on a
// proportional font.
class RandomEdits : public ModelTest, public testing::WithParamInterface<TRunKind> {
protected:
  void SetUp() override {
    model.AttachParser(1, &SqlParser());
    if (GetParam() == rkProportional) model.SetMeasurer(&proportional);
    if (GetParam() != rkPlain) {
      model.SetWrapAtColumn(20);
      SetOption(smoWordWrap, true);
    }
    model.ClearUndo();
  }
  TProportional proportional;
  void TearDown() override { model.AttachParser(1, nullptr); }

  // Inserted text as the rows keep it: LF, CR LF and LF CR become one CR.
  static String RowForm(const String& s) {
    if (s.size() == 1) return s == "\n" ? String("\r") : s;
    String out;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] != '\r' && s[i] != '\n') {
        out += s[i];
        continue;
      }
      out += '\r';
      char partner = s[i] == '\r' ? '\n' : '\r';
      if (i + 1 < s.size() && s[i + 1] == partner) ++i;
    }
    return out;
  }

  void Check(const String& expected, int step) {
    SCOPED_TRACE("step " + std::to_string(step));
    model.NotifyChange();
    ASSERT_EQ(Text(), expected);
    ASSERT_EQ(model.GetTextLength(), static_cast<int>(expected.size()));
    auto rows = Rows();
    ASSERT_EQ(model.GetRowCount(), static_cast<int>(rows.size()));
    int longest = expected.empty() ? 0 : 1;
    for (size_t i = 0; i < rows.size(); ++i) {
      TRowRecord* r = rows[i];
      ASSERT_GE(r->Length, 1);
      longest = std::max<int>(longest, r->Length);
      bool continues = i > 0 && rows[i - 1]->Text[rows[i - 1]->Length - 1] != '\r';
      ASSERT_EQ((r->Marks & rmContinuation) != 0, continues) << "row " << i;
      for (int k = 0; k + 1 < r->Length; ++k) {
        ASSERT_NE(r->Text[k], '\r') << "row " << i;
      }
    }
    if (!rows.empty()) {
      ASSERT_EQ(model.GetLongestRow(), longest);
    }
    std::vector<uint8_t> tokens;
    for (TRowRecord* r : rows) {
      ASSERT_NE(r->Tokens, nullptr);
      tokens.insert(tokens.end(), r->Tokens.get(), r->Tokens.get() + r->Length);
    }
    ASSERT_EQ(tokens, TokenBytes(SqlParser(), expected));
  }
};

TEST_P(RandomEdits, MatchAPlainStringAfterEveryStep) {
  static const char* pieces[] = {
      "select ", "'str", "ing' ", "/* c", "omment */", "-- line\r\n", "\r",
      "\n",      "x",    "`q`",   "123",  " ",         "\t",          "insert into t values (1,'a');\r\n",
      "\"dq\"",  "#"};
  std::mt19937 random(20261210);
  std::vector<String> history{String()};
  size_t at = 0;
  String expected;
  for (int step = 0; step < 400; ++step) {
    int action = static_cast<int>(random() % 10);
    if (action == 0 && at > 0) {
      model.Undo();
      expected = history[--at];
    } else if (action == 1 && at + 1 < history.size()) {
      model.Redo();
      expected = history[++at];
    } else {
      int length = static_cast<int>(expected.size());
      int a = length ? static_cast<int>(random() % (length + 1)) : 0;
      int b = action < 5 ? a : std::min(length, a + static_cast<int>(random() % (action < 7 ? 40 : 400)));
      String inserted;
      if (action != 4)
        for (int n = static_cast<int>(random() % 3); n >= 0; --n)
          inserted += pieces[random() % (sizeof pieces / sizeof *pieces)];
      if (random() % 50 == 0) inserted = String(2100 + random() % 3000, 'w');
      if (a == b && inserted.empty()) continue;
      model.SetSelection(a, b, false);
      model.ReplaceSelText(inserted.c_str());
      expected = expected.substr(0, a) + RowForm(inserted) + expected.substr(b);
      history.resize(at + 1);
      history.push_back(expected);
      at = history.size() - 1;
    }
    Check(expected, step);
    if (HasFatalFailure()) return;
  }
}

// Commands, block indents, word wrap switched on and off: the rows stay
// sound and highlighted, and undoing every step gives the first text back.
TEST_P(RandomEdits, CommandsKeepTheRowsSound) {
  const String first =
      "create table t (\r\tid int, -- key\r  name varchar(9) default 'a b'\r);\r/* x */ select 1;";
  SetText(first);
  model.ClearUndo();
  std::mt19937 random(7 + static_cast<int>(GetParam()));
  static const int commands[] = {
      ecLeft,       ecRight,          ecUp,         ecDown,           ecLineEnd,     ecLineStart,
      ecWordLeft,   ecWordRight,      ecDeleteChar, ecDeleteLastChar, ecBlockIndent, ecBlockUnindent,
      ecDeleteLine, ecDeleteLastWord, ecDeleteWord, ecPageDown,       ecPageUp,      ecDocEnd,
      ecDocStart,   ecUndo,           ecRedo};
  for (int step = 0; step < 400; ++step) {
    int length = model.GetTextLength();
    int a = length ? static_cast<int>(random() % (length + 1)) : 0;
    int b = random() % 3 ? a : std::min(length, a + static_cast<int>(random() % 30));
    model.SetSelection(a, b, false);
    switch (random() % 6) {
    case 0:
      Type(random() % 2 ? "x y" : "\r\t");
      break;
    case 1:
      if (random() % 4 == 0) model.SetWrapAtColumn(8 + static_cast<int>(random() % 20));
      if (random() % 8 == 0) SetOption(smoWordWrap, !model.HasOption(smoWordWrap));
      break;
    default: {
      int command = commands[random() % (sizeof commands / sizeof *commands)];
      bool extend = random() % 2 != 0;
      model.ExecuteCommand(command, 0, extend);
    }
    }
    Check(Text(), step);
    if (HasFatalFailure()) return;
  }
  while (model.CanUndo())
    model.Undo();
  EXPECT_EQ(Text(), first);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RandomEdits, testing::Values(rkPlain, rkWrapped, rkProportional));

} // namespace
