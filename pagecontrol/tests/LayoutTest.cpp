// The layout: one line with the navigator when the tabs do not fit, lines
// broken greedily, balanced and stretched, and their order around the page.
// Tab lengths come from the captions (TSizedTabsPainter): the Tabs painter
// starts a line 2 pixels in, a multi-line control has width - 4 for it, a
// single line width - 2, less 40 for the two arrows.
#include "TabControlTest.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

class LayoutTest : public testing::Test {
protected:
  LayoutTest() { RegisterSizedPainter(); }
  std::unique_ptr<TTabForm<>> Make(int width, const std::vector<String>& lengths, bool multiLine) {
    auto f = std::make_unique<TTabForm<>>(width, 200);
    f->control->SetStyle(TSizedTabsPainter::kStyle);
    f->control->SetMultiLine(multiLine);
    f->AddTabs(lengths);
    return f;
  }
  static std::vector<int> Lines(TTabForm<>& f) {
    std::vector<int> lines;
    for (int i = 0; i < f.control->GetTabs()->GetCount(); ++i)
      lines.push_back(f.Tab(i)->LayoutLineIndex);
    return lines;
  }
  static std::vector<int> Widths(TTabForm<>& f) {
    std::vector<int> widths;
    for (int i = 0; i < f.control->GetTabs()->GetCount(); ++i)
      widths.push_back(f.Tab(i)->Width);
    return widths;
  }
};

TEST_F(LayoutTest, LinesAreBrokenBalancedAndStretched) {
  struct {
    std::vector<String> lengths;
    std::vector<int> lines;
    std::vector<int> widths;
  } cases[] = {
      // Greedy 3 + 2 (leftovers 20 and 80); moving a tab down would give 80
      // and 20, not better.
      {{"60", "60", "60", "60", "60"}, {0, 0, 0, 1, 1}, {66, 66, 68, 100, 100}},
      // Greedy [100, 50, 50] [50] leaves 150; [100, 50] [50, 50] leaves 100;
      // [100] [50, 50, 50] also 100 and is not taken.
      {{"100", "50", "50", "50"}, {0, 0, 1, 1}, {133, 67, 100, 100}},
      // A tab longer than the line gets a line of its own, cut to its length.
      {{"60", "300", "60"}, {0, 1, 2}, {200, 200, 200}},
  };
  for (const auto& c : cases) {
    auto f = Make(204, c.lengths, true);
    EXPECT_EQ(c.lines, Lines(*f)) << c.lengths.size();
    EXPECT_EQ(c.widths, Widths(*f)) << c.lengths.size();
  }
}

TEST_F(LayoutTest, NoRoomForALineLaysOutNothing) {
  auto f = Make(4, {"60", "60"}, true);
  EXPECT_EQ(0, f->control->LineCount);
  EXPECT_TRUE(IsRectEmpty(&f->control->NearTabsArea));
  EXPECT_TRUE(IsRectEmpty(&f->control->FarTabsArea));
}

TEST_F(LayoutTest, ThreeTabsThatFitNeedNoNavigator) {
  auto f = Make(300, {"60", "60", "60"}, false);
  EXPECT_TRUE(f->control->NavigatorButtons.Empty());
  EXPECT_EQ(0, f->control->FirstVisibleTab);
  EXPECT_EQ(2, f->control->LastVisibleTab);
  EXPECT_TRUE(f->control->LastTabFits);
  EXPECT_EQ(TPoint(2, 2), f->Tab(0)->Origin);
  EXPECT_EQ(TPoint(122, 2), f->Tab(2)->Origin);
}

TEST_F(LayoutTest, ALastTabCutByOnePixelBringsTheNavigator) {
  auto f = Make(300, {"100", "100", "98"}, false);
  EXPECT_TRUE(f->control->NavigatorButtons.Empty());
  f->control->SetWidth(299);
  EXPECT_TRUE(f->control->NavigatorButtons.Contains(nbTopLeft));
  EXPECT_TRUE(f->control->NavigatorButtons.Contains(nbBottomRight));
  EXPECT_FALSE(f->control->NavigatorButtons.Contains(nbGoDialog));
}

TEST_F(LayoutTest, ShrinkingAtTheEndKeepsTheFirstTabAndWideningShowsMore) {
  auto f = Make(200, {"60", "60", "60", "60", "60", "60"}, false);
  while (f->control->CanScroll(nbBottomRight))
    f->control->ScrollTabs(1);
  EXPECT_EQ(4, f->control->FirstVisibleTab);
  EXPECT_EQ(nbsDisabled, f->control->NavigatorButtonStates[nbBottomRight]);
  f->control->SetWidth(180);
  EXPECT_EQ(4, f->control->FirstVisibleTab);
  f->control->SetWidth(300);
  EXPECT_EQ(2, f->control->FirstVisibleTab) << "tabs 2 to 5 take 240 of 258";
  EXPECT_EQ(5, f->control->LastVisibleTab);
}

TEST_F(LayoutTest, ShowTabScrollsTheSelectedTabIntoView) {
  auto f = Make(200, {"60", "60", "60", "60", "60", "60"}, false);
  f->control->ChangeTabIndex(5);
  EXPECT_EQ(4, f->control->FirstVisibleTab);
  EXPECT_EQ(5, f->control->LastVisibleTab);
  f->control->ChangeTabIndex(1);
  EXPECT_EQ(1, f->control->FirstVisibleTab);
}

TEST_F(LayoutTest, TheSelectedLineMovesNextToThePage) {
  auto f = Make(204, {"100", "100", "100", "100", "100", "100"}, true);
  const int t = f->control->LineThickness;
  f->control->ChangeTabIndex(0);
  EXPECT_EQ(3, f->control->LineCount);
  EXPECT_EQ(2, f->Tab(0)->LineIndex) << "the selected line is the lowest";
  EXPECT_EQ(0, f->Tab(2)->LineIndex);
  EXPECT_EQ(1, f->Tab(4)->LineIndex);
  EXPECT_EQ(2 + 2 * t, f->Tab(0)->Origin.y);
  f->control->SetScrollOpposite(true);
  EXPECT_EQ(1, f->control->NearLineCount) << "the lines after the selected one go below the page";
  EXPECT_EQ(0, f->Tab(0)->LineIndex);
  EXPECT_LT(f->control->FarTabsArea.top, f->Tab(2)->Origin.y + 1);
  EXPECT_GT(f->Tab(2)->Origin.y, 100);
}

TEST_F(LayoutTest, ThreeHundredTabsOnManyLinesLayOutPromptly) {
  std::vector<String> lengths;
  for (int i = 0; i < 300; ++i)
    lengths.push_back(std::to_string(40 + (i * 37) % 61));
  auto f = Make(404, lengths, true);
  const int lineCount = f->control->LineCount;
  EXPECT_GT(lineCount, 30);
  std::vector<int> used(lineCount, 0);
  int previous = 0;
  for (int i = 0; i < 300; ++i) {
    const int line = f->Tab(i)->LayoutLineIndex;
    EXPECT_GE(line, previous) << "lines follow the tab order";
    previous = line;
    used[line] += f->Tab(i)->Width;
  }
  for (int line = 0; line < lineCount; ++line)
    EXPECT_EQ(400, used[line]) << "every line is stretched to its length: " << line;
}

} // namespace
