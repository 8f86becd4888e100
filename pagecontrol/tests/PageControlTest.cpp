// The page control: page i owns tab i, page events in their order, refusals,
// the active page when pages and tabs change, page indices and the focus.
#include "TabControlTest.h"

#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpFor;

class PageControlTest : public testing::Test {
protected:
  PageControlTest() : f(300, 200) {
    for (const char* caption : {"One", "Two", "Three"}) {
      auto* sheet = new TcxTabSheet(f.form.get());
      sheet->SetCaption(caption);
      sheet->SetPageControl(f.control);
      sheets.push_back(sheet);
    }
    f.control->OnChanging = [this](TObject*, bool& allow) {
      events.push_back("Changing");
      allow = allowChanging;
    };
    f.control->OnPageChanging = [this](TObject*, TcxTabSheet* page, bool& allow) {
      events.push_back("PageChanging " + (page ? page->GetCaption() : String("none")));
      allow = allowPageChanging;
    };
    f.control->OnChange = [this](TObject*) { events.push_back("Change"); };
  }
  TcxPageControl* pc() { return f.control; }
  TTabForm<TcxPageControl> f;
  std::vector<TcxTabSheet*> sheets;
  std::vector<String> events;
  bool allowChanging = true;
  bool allowPageChanging = true;
};

TEST_F(PageControlTest, PagesOwnTheirTabsAndTheFirstIsShown) {
  ASSERT_EQ(3, pc()->GetPageCount());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(i, sheets[i]->GetPageIndex());
    EXPECT_EQ(sheets[i]->GetTab(), pc()->GetTabs()->GetTab(i));
    EXPECT_EQ(sheets[i]->GetCaption(), pc()->GetTabs()->Get(i));
  }
  EXPECT_EQ(sheets[0], pc()->GetActivePage());
  EXPECT_TRUE(sheets[0]->GetVisible());
  EXPECT_FALSE(sheets[1]->GetVisible());
  EXPECT_EQ(0, pc()->GetTabIndex());
}

TEST_F(PageControlTest, AClickRaisesEachEventOnceAndActivePageOnlyTheLastTwo) {
  const TRect tab = pc()->GetTabs()->GetTab(1)->GetVisibleRect();
  guitest::ClickAt(pc()->GetHandle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  PumpFor(50);
  EXPECT_EQ((std::vector<String>{"Changing", "PageChanging Two", "Change"}), events);
  EXPECT_EQ(sheets[1], pc()->GetActivePage());
  events.clear();
  pc()->SetActivePage(sheets[2]);
  EXPECT_EQ((std::vector<String>{"PageChanging Three", "Change"}), events);
  EXPECT_EQ(2, pc()->GetTabIndex());
}

TEST_F(PageControlTest, ARefusalKeepsThePageAndItsTab) {
  allowPageChanging = false;
  pc()->ChangeTabIndex(1);
  pc()->SetActivePage(sheets[2]);
  EXPECT_EQ(sheets[0], pc()->GetActivePage());
  EXPECT_EQ(0, pc()->GetTabIndex());
  allowPageChanging = true;
  allowChanging = false;
  pc()->ChangeTabIndex(1);
  EXPECT_EQ(sheets[0], pc()->GetActivePage());
}

TEST_F(PageControlTest, AnIndexOutOfRangeLeavesNoPage) {
  pc()->SetActivePageIndex(5);
  EXPECT_EQ(nullptr, pc()->GetActivePage());
  EXPECT_EQ(-1, pc()->GetTabIndex());
  EXPECT_FALSE(sheets[0]->GetVisible());
  pc()->SetActivePageIndex(0);
  EXPECT_EQ(sheets[0], pc()->GetActivePage());
}

TEST_F(PageControlTest, ASheetOfAnotherPageControlIsIgnored) {
  TTabForm<TcxPageControl> other;
  auto* foreign = new TcxTabSheet(other.form.get());
  foreign->SetPageControl(other.control);
  pc()->SetActivePage(foreign);
  EXPECT_EQ(sheets[0], pc()->GetActivePage());
  EXPECT_TRUE(events.empty());
}

TEST_F(PageControlTest, HidingTheActiveTabSelectsTheNearest) {
  pc()->SetActivePage(sheets[1]);
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(sheets[2], pc()->GetActivePage());
  EXPECT_EQ(2, pc()->GetTabIndex());
  sheets[2]->SetTabVisible(false);
  EXPECT_EQ(sheets[0], pc()->GetActivePage()) << "the last tab hidden: the one before";
  sheets[0]->SetTabVisible(false);
  EXPECT_EQ(-1, pc()->GetTabIndex());
  pc()->ChangeTabIndex(1);
  EXPECT_EQ(-1, pc()->GetTabIndex()) << "a hidden tab is not selected";
}

TEST_F(PageControlTest, PageIndexMovesThePageAndItsTab) {
  const String expected = "3 is an invalid PageIndex value.  PageIndex must be between 0 and 2";
  EXPECT_EQ(expected, ErrorOf([&] { sheets[0]->SetPageIndex(3); }));
  EXPECT_THROW(sheets[0]->SetPageIndex(3), EListError);
  sheets[2]->SetPageIndex(1);
  EXPECT_EQ(1, sheets[2]->GetPageIndex());
  EXPECT_EQ("Three", pc()->GetTabs()->Get(1));
  EXPECT_EQ(sheets[2]->GetTab(), pc()->GetTabs()->GetTab(1));
  EXPECT_EQ(sheets[2], pc()->GetActivePage());
  // The page lands where the selected tab stands.
  pc()->SetActivePage(sheets[1]);
  ASSERT_EQ(2, pc()->GetTabIndex());
  sheets[0]->SetPageIndex(2);
  EXPECT_EQ(sheets[0], pc()->GetActivePage());
  EXPECT_EQ(2, pc()->GetTabIndex());
  EXPECT_EQ("One", pc()->GetTabs()->Get(pc()->GetTabIndex()));
}

TEST_F(PageControlTest, DeletingTheActivePageShowsTheNext) {
  pc()->SetActivePage(sheets[1]);
  delete sheets[1];
  EXPECT_EQ(sheets[2], pc()->GetActivePage());
  EXPECT_EQ(2, pc()->GetPageCount());
  EXPECT_EQ("Three", pc()->GetTabs()->Get(pc()->GetTabIndex()));
  delete sheets[2];
  EXPECT_EQ(sheets[0], pc()->GetActivePage()) << "the last page: the first";
}

TEST_F(PageControlTest, TheFocusEntersTheNewPage) {
  auto* edit0 = new TEdit(f.form.get());
  edit0->SetParent(sheets[0]);
  auto* edit1 = new TEdit(f.form.get());
  edit1->SetParent(sheets[1]);
  f.form->SetActiveControl(edit0);
  PumpFor(50);
  pc()->SetActivePage(sheets[1]);
  PumpFor(50);
  EXPECT_EQ(edit1, f.form->GetActiveControl());
  EXPECT_TRUE(edit1->Focused());
}

TEST_F(PageControlTest, TheSheetFollowsItsPagesProperties) {
  sheets[1]->SetCaption("Renamed");
  sheets[1]->SetEnabled(false);
  sheets[1]->SetHighlighted(true);
  TcxTab* tab = pc()->GetTabs()->GetTab(1);
  EXPECT_EQ("Renamed", tab->GetCaption());
  EXPECT_FALSE(tab->GetEnabled());
  EXPECT_TRUE(tab->GetHighlighted());
  int shown = 0;
  sheets[2]->OnShow = [&](TObject*) { ++shown; };
  pc()->SetActivePage(sheets[2]);
  EXPECT_EQ(1, shown);
}

} // namespace
