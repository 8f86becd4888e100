// Word wrap, the row limit and block indent of the editor model.
#include "ModelFixture.h"

namespace {

using Reflow = ModelTest;

TEST_F(Reflow, WrapAtAColumnBreaksAfterBlanks) {
  String words;
  for (int i = 0; i < 12; ++i)
    words += "word ";
  SetText(words);
  model.SetWrapAtColumn(10);
  SetOption(smoWordWrap, true);
  auto rows = RowTexts();
  ASSERT_GT(rows.size(), 5u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_LT(rows[i].find_last_not_of(' ') + 1, 10u) << i;
    EXPECT_EQ(rows[i].back(), ' ') << i;
    EXPECT_EQ(Rows()[i]->Marks & rmContinuation, i ? rmContinuation : 0) << i;
  }
  EXPECT_EQ(Text(), words);
}

TEST_F(Reflow, AWordLongerThanTheWidthIsCut) {
  model.SetWrapAtColumn(10);
  SetOption(smoWordWrap, true);
  SetText("abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(RowTexts(), (std::vector<String>{"abcdefghi", "jklmnopqr", "stuvwxyz"}));
}

TEST_F(Reflow, AnOverrideCharacterKeepsALineWhole) {
  model.SetWrapAtColumn(10);
  SetOption(smoWrapOverride, true);
  model.SetWrapOverride(">|:");
  SetOption(smoWordWrap, true);
  SetText("> quoted text that is long\rplain text that is long");
  auto rows = RowTexts();
  EXPECT_EQ(rows[0], "> quoted text that is long\r");
  EXPECT_GT(rows.size(), 3u);
}

TEST_F(Reflow, SwitchingWrapOffJoinsLinesButKeepsTheRowLimit) {
  model.SetWrapAtColumn(10);
  SetOption(smoWordWrap, true);
  SetText("aaaa bbbb cccc dddd\r");
  EXPECT_EQ(RowTexts(), (std::vector<String>{"aaaa bbbb ", "cccc dddd\r"}));
  SetOption(smoWordWrap, false);
  EXPECT_EQ(RowTexts(), (std::vector<String>{"aaaa bbbb cccc dddd\r"}));
  // Made by a join, a row of 3000 characters is broken at the window width.
  model.SetWrapAtColumn(0);
  SetText(String(1500, 'a') + "\r" + String(1500, 'b'));
  model.SetSelection(1500, 1501, false);
  Type("");
  int wrapWidth = model.GetClientWidth() - Left() - 2 * model.ScrollBarWidth;
  EXPECT_EQ(model.GetLongestRow(), (wrapWidth - 1) / CellWidth);
  EXPECT_EQ(Text(), String(1500, 'a') + String(1500, 'b'));
}

TEST_F(Reflow, LinesOfMoreThanSixtyFourThousandCharactersReflowWhole) {
  model.SetWrapAtColumn(1000);
  String line(70000, 'z');
  line[35000] = ' ';
  SetText(line);
  SetOption(smoWordWrap, true);
  EXPECT_EQ(Text(), line);
  SetOption(smoWordWrap, false);
  EXPECT_EQ(Text(), line);
  EXPECT_LT(model.GetLongestRow(), 2048);
}

// Proportional widths; TAB widths are measured on runs of spaces.
class TWideSpaces : public TTextMeasurer {
public:
  TEditorFontMetrics GetMetrics() override { return TEditorFontMetrics(); }
  int TextWidth(const char* text, int count, uint8_t) override {
    int width = 0;
    if (String(text, static_cast<size_t>(count)).find_first_not_of(' ') == String::npos)
      LongestSpaces = std::max(LongestSpaces, count);
    for (int i = 0; i < count; ++i)
      width += text[i] == ' ' ? 3 : 7;
    return width;
  }
  int LongestSpaces = 0;
};

TEST_F(Reflow, TabWidthsNeverReadPastTheSpaceBuffer) {
  TWideSpaces wide;
  model.SetMeasurer(&wide);
  model.SetTabDefault(100000);
  model.SetWrapAtColumn(2000);
  SetOption(smoWordWrap, true);
  SetText("a\tb");
  EXPECT_GT(wide.LongestSpaces, 0);
  EXPECT_LE(wide.LongestSpaces, 4097);
  EXPECT_EQ(Text(), "a\tb");
}

TEST_F(Reflow, IndentAndUnindentTheSelectedLines) {
  model.SetIndentStep(2);
  SetText("one\rtwo\rthree\rfour");
  model.ClearUndo();
  model.SetSelection(1, 10, false);
  model.BlockIndent(0, false);
  EXPECT_EQ(Text(), "  one\r  two\r  three\rfour");
  EXPECT_EQ(model.GetSelection(), std::make_pair(1, 16));
  model.Undo();
  EXPECT_EQ(Text(), "one\rtwo\rthree\rfour");

  SetText("    a\r\r b\rc");
  model.SelectAll();
  model.SetIndentStep(3);
  model.BlockUnindent(0);
  EXPECT_EQ(Text(), " a\r\rb\rc");
  model.Undo();
  EXPECT_EQ(Text(), "    a\r\r b\rc");
}

TEST_F(Reflow, AnEndAtARowStartLeavesThatRowAlone) {
  SetText("a\rb\rc");
  model.SetSelection(0, 4, false);
  model.BlockIndent(1, false);
  EXPECT_EQ(Text(), " a\r b\rc");
  SetOption(smoUseTAB, true);
  model.SetSelection(0, 1, false);
  model.BlockIndent(1, true);
  EXPECT_EQ(Text(), "\t a\r b\rc");
}

} // namespace
