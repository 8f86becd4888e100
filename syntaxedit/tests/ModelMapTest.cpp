// Tab stops, columns, pixels and scrolling of the editor model.
#include "ModelFixture.h"

namespace {

using Map = ModelTest;

TEST_F(Map, NextTabStopUsesTheListThenTheDefault) {
  model.SetTabColumns("9 17");
  model.SetTabDefault(4);
  EXPECT_EQ(model.NextTabStop(0), 8);
  EXPECT_EQ(model.NextTabStop(8), 16);
  EXPECT_EQ(model.NextTabStop(16), 20);
  EXPECT_EQ(model.GetTabColumns(), "9 17");
}

TEST_F(Map, TabColumnsAndTabDefaultRefuseBadValues) {
  model.SetTabColumns("5;9");
  EXPECT_EQ(model.GetTabColumns(), "5 9");
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {{"5 3", "Tab columns must be in order and unique"},
               {"1", "Tab column must be > 1"},
               {"4 x", "Tab stop column value expected"}};
  for (const Case& c : cases) {
    try {
      model.SetTabColumns(c.text);
      ADD_FAILURE() << c.text;
    } catch (const ESyntaxMemo& e) {
      EXPECT_EQ(e.Message, c.message);
    }
    EXPECT_EQ(model.GetTabColumns(), "5 9") << c.text;
  }
  String many;
  for (int i = 2; i <= 34; ++i)
    many += std::to_string(i) + " ";
  EXPECT_THROW(model.SetTabColumns(many), ESyntaxMemo);
  for (int bad : {0, -3}) {
    try {
      model.SetTabDefault(bad);
      ADD_FAILURE() << bad;
    } catch (const ESyntaxMemo& e) {
      EXPECT_EQ(e.Message, "=Illegal default tab stop value, must be > 0") << bad;
    }
    EXPECT_EQ(model.GetSettings().TabDefault, 4);
  }
}

TEST_F(Map, GutterAndIndentStepIgnoreValuesOutOfRange) {
  model.SetGutter(20);
  EXPECT_EQ(model.GetSettings().GutterWidth, 34);
  model.SetGutter(0);
  EXPECT_EQ(model.GetSettings().GutterWidth, 0);
  model.SetIndentStep(20);
  EXPECT_EQ(model.GetSettings().IndentStep, 1);
}

TEST_F(Map, IndexesAndColumnsWithTabs) {
  model.SetTabDefault(4);
  SetText("ab\tcd\rxyz\r");
  TRowRecord* first = model.GetFirstRow();
  EXPECT_EQ(model.IndexToColumn(5, first), 6);
  EXPECT_EQ(model.IndexToColumn(3, first), 4);
  EXPECT_EQ(model.ColumnToIndex(4, first), 3);
  EXPECT_EQ(model.ColumnToIndex(50, first), 5);
  TRowRecord* second = first->Next;
  EXPECT_EQ(model.ColumnToIndex(50, second), 3);
  EXPECT_EQ(model.IndexToColumn(50, second), 4);
  EXPECT_EQ(model.IndexToColumn(0, nullptr), 0);
}

TEST_F(Map, PixelsAtAFixedPitch) {
  SetText("abcdef\rxyz");
  TRowRecord* first = model.GetFirstRow();
  EXPECT_EQ(model.ColumnToX(3, first), Left() + 3 * CellWidth);
  EXPECT_EQ(model.XToColumn(Left() + 3 * CellWidth + 3, first), 3);
  EXPECT_EQ(model.XToColumn(Left() + 3 * CellWidth + 5, first), 4);
  EXPECT_EQ(model.PointToPosition(Left() + 2 * CellWidth, RowHeight + 2), 9);
  TEdPoint p = model.PositionToPoint(8);
  EXPECT_EQ(p.X, Left() + CellWidth);
  EXPECT_EQ(p.Y, RowHeight);
}

TEST_F(Map, LogicalLinesAndRowsMapBothWays) {
  model.SetWrapAtColumn(10);
  SetOption(smoWordWrap, true);
  SetText("aaaa bbbb cccc\rdd");
  ASSERT_EQ(RowTexts(), (std::vector<String>{"aaaa bbbb ", "cccc\r", "dd"}));
  struct Case {
    int line, column, displayColumn, rowNumber;
  } cases[] = {{1, 1, 1, 1}, {1, 12, 2, 2}, {2, 2, 2, 3}, {1, 11, 1, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(model.LineToRow(c.line, c.column), std::make_pair(c.displayColumn, c.rowNumber))
        << c.line << ":" << c.column;
    EXPECT_EQ(model.RowToLine(c.rowNumber, c.displayColumn), std::make_pair(c.column, c.line))
        << c.line << ":" << c.column;
  }
}

TEST_F(Map, ChangeNotificationWaitsForLockAndRedraw) {
  int changes = 0;
  model.OnChange = [&](TObject*) { ++changes; };
  model.SetUpdateLock(true);
  Type("abc");
  EXPECT_EQ(changes, 0);
  model.SetUpdateLock(false);
  EXPECT_EQ(changes, 1);
  model.SetRedraw(false);
  model.SelectAll();
  Type("x");
  EXPECT_EQ(changes, 1);
  model.SetRedraw(true);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(model.GetChangeFlags(), 0);
  model.NotifyChange();
  EXPECT_EQ(changes, 2);
}

// The same widths, but not known to be one pitch: measured run by run.
class TMeasuredPitch : public TTextMeasurer {
public:
  TEditorFontMetrics GetMetrics() override {
    TEditorFontMetrics m;
    m.AveCharWidth = CellWidth;
    m.FontHeight = RowHeight - 1;
    m.ExternalLeading = 1;
    return m;
  }
  int TextWidth(const char*, int count, uint8_t) override { return count * CellWidth; }
};

TEST_F(Map, AFixedPitchMapsColumnsAsMeasuringDoes) {
  SetText("a\tbc\t\td efg\rxy\rtail");
  TMeasuredPitch measured;
  for (int left : {0, 3, 9}) {
    model.ScrollTo(left, 0, false);
    for (TRowRecord* row = model.GetFirstRow(); row; row = row->Next) {
      std::vector<int> fixedX, fixedColumns;
      for (int column = 0; column < 40; ++column)
        fixedX.push_back(model.ColumnToX(column, row));
      for (int x = -5; x < 40 * CellWidth; ++x)
        fixedColumns.push_back(model.XToColumn(x, row));
      model.SetMeasurer(&measured);
      for (int column = 0; column < 40; ++column)
        ASSERT_EQ(model.ColumnToX(column, row), fixedX[static_cast<size_t>(column)]) << left << " " << column;
      for (int x = -5; x < 40 * CellWidth; ++x)
        ASSERT_EQ(model.XToColumn(x, row), fixedColumns[static_cast<size_t>(x + 5)]) << left << " " << x;
      model.SetMeasurer(&measurer);
    }
  }
}

TEST_F(Map, AnEmptyTextMapsToTheTextEdge) {
  EXPECT_EQ(model.LocateRow(0).Row, nullptr);
  TEdPoint p = model.PositionToPoint(0);
  EXPECT_EQ(p.X, Left());
  EXPECT_EQ(p.Y, 0);
  EXPECT_EQ(model.PointToPosition(50, 50), 0);
}

TEST_F(Map, LocateRowFromTheTopRowInBothDirections) {
  String text;
  for (int i = 0; i < 50; ++i)
    text += "row" + std::to_string(i) + "\r";
  SetText(text);
  model.ScrollTo(0, 30, false);
  for (int line : {0, 10, 29, 30, 40, 49}) {
    TRowLocation at = model.LocateRow(model.LineIndex(line) + 1);
    EXPECT_EQ(at.Line, line);
    EXPECT_EQ(at.Start, model.LineIndex(line));
  }
  EXPECT_EQ(model.LocateRow(model.GetTextLength()).Line, 50);
  EXPECT_EQ(model.PositionToPoint(model.LineIndex(29)).Y, -1);
}

TEST_F(Map, MakeVisibleScrollsTheLeastNeeded) {
  String text;
  for (int i = 0; i < 100; ++i)
    text += String(static_cast<size_t>(i * 3), 'x') + "\r";
  SetText(text);
  model.ScrollTo(0, 0, false);
  model.MakeVisible(model.LineIndex(50));
  EXPECT_EQ(model.GetTopLine(), 50 - 20 + 1);
  model.MakeVisible(model.LineIndex(5));
  EXPECT_EQ(model.GetTopLine(), 5);
  model.MakeVisible(model.LineIndex(60) + 170);
  EXPECT_GT(model.GetLeftColumn(), 170 - 100);
  EXPECT_LE(model.GetLeftColumn(), 170);
  EXPECT_EQ(model.GetLeftColumn() % 8, 0);
  model.MakeVisible(model.LineIndex(60));
  EXPECT_EQ(model.GetLeftColumn(), 0);
}

TEST_F(Map, WithWordWrapAColumnThatFitsBringsTheViewBackToTheLeft) {
  SetText(String(300, 'x'));
  model.MakeVisible(250);
  EXPECT_GT(model.GetLeftColumn(), 0);
  SetOption(smoWordWrap, true);
  model.MakeVisible(5);
  EXPECT_EQ(model.GetLeftColumn(), 0);
}

TEST_F(Map, ScrollBarsOfAHundredThousandRows) {
  String text;
  text.reserve(400000);
  for (int i = 0; i < 100000; ++i)
    text += "ab\r";
  SetText(text.substr(0, text.size() - 1));
  EXPECT_EQ(model.GetRowCount(), 100000);
  EXPECT_EQ(model.GetScrollDivisor(), 4);
  model.ScrollTo(0, 4002, false);
  TScrollValues v = model.VertScrollValues(true);
  EXPECT_EQ(v.Max, 25000);
  EXPECT_EQ(v.Pos, 1000);
  EXPECT_EQ(v.TrackPos, 4002);
  model.ScrollTo(0, 1000000, false);
  EXPECT_EQ(model.GetTopLine(), 99999);
}

TEST_F(Map, WordCharactersAndWordSteps) {
  EXPECT_TRUE(model.CharIsInWord('\''));
  EXPECT_TRUE(model.CharIsInWord('-'));
  EXPECT_FALSE(model.CharStartsWord('7'));
  EXPECT_TRUE(model.CharStartsWord('_'));
  SetText("don't stop re-entry 42x now");
  struct Case {
    int caret, left, right;
  } cases[] = {{0, 0, 6}, {3, 0, 6}, {6, 0, 11}, {9, 6, 11}, {14, 11, 20}, {20, 11, 24}, {27, 24, 27}};
  for (const Case& c : cases) {
    model.SetSelection(c.caret, c.caret, false);
    EXPECT_EQ(model.WordLeft(), c.left) << c.caret;
    EXPECT_EQ(model.WordRight(), c.right) << c.caret;
  }
}

} // namespace
