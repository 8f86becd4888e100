// The tab list, the visible-tab list and the tab control's selection and
// properties: the edge cases with their exact messages.
#include "TabControlTest.h"

#include "cxPCConsts.h"

#include <gtest/gtest.h>

namespace {

TEST(VisibleTabList, FindBisectsTheSortedIndices) {
  TTabForm<> f;
  f.AddTabs({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"});
  for (int i = 0; i < 11; ++i)
    f.Tab(i)->SetVisible(i == 2 || i == 5 || i == 9);
  struct {
    int tabIndex;
    bool found;
    int position;
  } cases[] = {{5, true, 1}, {6, false, 2}, {1, false, 0}, {10, false, 3},
               {2, true, 0}, {9, true, 2},  {3, false, 1}};
  for (const auto& c : cases) {
    int position = -7;
    EXPECT_EQ(c.found, f.control->GetVisibleTabList()->Find(c.tabIndex, position)) << c.tabIndex;
    EXPECT_EQ(c.position, position) << c.tabIndex;
  }
  EXPECT_EQ(-1, f.control->GetVisibleTabList()->IndexOf(6));
  EXPECT_EQ(2, f.control->GetVisibleTabList()->IndexOf(9));
}

TEST(Tab, DisplayCaptionDropsAcceleratorMarks) {
  struct {
    const char* caption;
    const char* display;
  } cases[] = {{"&File", "File"}, {"A&&B", "A&B"},    {"Save&", "Save_"},
               {"&&&x", "&x"},    {"plain", "plain"}, {"&", "_"}};
  TTabForm<> f;
  f.AddTabs({"x"});
  for (const auto& c : cases) {
    f.Tab(0)->SetCaption(c.caption);
    EXPECT_EQ(c.display, f.Tab(0)->GetDisplayCaption()) << c.caption;
    EXPECT_EQ(c.caption, f.control->GetTabs()->Get(0));
  }
}

TEST(Tabs, TheFirstInsertedTabIsSelectedWithoutEvents) {
  TTabForm<> f;
  int events = 0;
  f.control->OnChanging = [&](TObject*, bool&) { ++events; };
  f.control->OnChange = [&](TObject*) { ++events; };
  EXPECT_EQ(-1, f.control->GetTabIndex());
  f.AddTabs({"One"});
  EXPECT_EQ(0, f.control->GetTabIndex());
  f.control->GetTabs()->Insert(0, "Zero");
  f.AddTabs({"Two"});
  EXPECT_EQ(0, f.control->GetTabIndex());
  EXPECT_EQ(0, events);
}

TEST(Tabs, IndexErrorsCarryTheirExactTextsAndChangeNothing) {
  TTabForm<> f;
  f.AddTabs({"a", "b", "c"});
  TcxTabs* tabs = f.control->GetTabs();
  struct {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[&] { tabs->Delete(3); }, "TcxTabs.Delete: Tab's index (3) out of bounds"},
      {[&] { tabs->Get(5); }, "TcxTabs.Get: Tab's index (5) out of bounds"},
      {[&] { tabs->GetTab(-1); }, "TcxTabs.GetTab: Tab's index (-1) out of bounds"},
      {[&] { tabs->Insert(7, "x"); }, "TcxTabs.Insert: Tab's index (7) out of bounds"},
      {[&] { tabs->GetVisibleTab(4); }, "TcxTabs.GetVisibleTab: TabVisibleIndex (4) must be between 0 and 2"},
      {[&] { f.control->GetVisibleTabList()->GetTab(3); },
       "TcxVisibleTabList.GetTab: TabVisibleIndex (3) must be between 0 and 2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.message, ErrorOf(c.call));
    EXPECT_EQ(3, tabs->GetCount());
  }
  tabs->Delete(0);
  EXPECT_EQ(2, tabs->GetCount()) << "a failed Delete leaves the guard clear";
  EXPECT_EQ("b", tabs->Get(0));
  EXPECT_EQ(0, f.Tab(0)->GetIndex());
  for (int i = 0; i < 2; ++i)
    f.Tab(i)->SetVisible(false);
  EXPECT_EQ("TcxVisibleTabList.GetTab: There are no visible tabs",
            ErrorOf([&] { f.control->GetVisibleTabList()->GetTab(0); }));
}

TEST(Tabs, ANegativeImageIndexIsStoredAsNone) {
  TTabForm<> f;
  f.AddTabs({"a", "b"});
  EXPECT_EQ(1, f.Tab(1)->GetStoredImageIndex()) << "a new tab's stored index is its own";
  f.Tab(1)->SetImageIndex(-5);
  EXPECT_EQ(-1, f.Tab(1)->GetStoredImageIndex());
  EXPECT_EQ(-1, f.Tab(1)->GetImageIndex()) << "no images: no effective index";
}

TEST(Tabs, AssignCopiesEveryFlag) {
  TTabForm<> f;
  f.AddTabs({"a", "b"});
  f.Tab(0)->SetCaption("&Copy");
  f.Tab(0)->SetEnabled(false);
  f.Tab(0)->SetHighlighted(true);
  f.Tab(0)->SetVisible(false);
  f.Tab(1)->Assign(f.Tab(0));
  EXPECT_EQ("&Copy", f.Tab(1)->GetCaption());
  EXPECT_EQ("Copy", f.Tab(1)->GetDisplayCaption());
  EXPECT_FALSE(f.Tab(1)->GetEnabled());
  EXPECT_TRUE(f.Tab(1)->GetHighlighted());
  EXPECT_FALSE(f.Tab(1)->GetVisible());
}

TEST(TabControl, ChangeTabIndexIgnoresOutOfRangeValues) {
  TTabForm<> f;
  f.AddTabs({"a", "b", "c"});
  int changes = 0;
  f.control->OnChange = [&](TObject*) { ++changes; };
  for (int index : {-2, 3, 0}) {
    f.control->ChangeTabIndex(index);
    EXPECT_EQ(0, f.control->GetTabIndex()) << index;
  }
  f.control->ChangeTabIndex(-1);
  EXPECT_EQ(-1, f.control->GetTabIndex());
  f.control->ChangeTabIndex(2);
  EXPECT_EQ(2, f.control->GetTabIndex());
  EXPECT_EQ(2, changes);
}

TEST(TabControl, ARefusedChangeKeepsTheSelection) {
  TTabForm<> f;
  f.AddTabs({"a", "b"});
  f.control->OnChanging = [](TObject*, bool& allow) { allow = false; };
  f.control->ChangeTabIndex(1);
  EXPECT_EQ(0, f.control->GetTabIndex());
}

TEST(TabControl, ATabIndexSetWhileLoadingIsAppliedAtTheEndWithoutEvents) {
  TTabForm<> f;
  f.AddTabs({"a", "b", "c"});
  int events = 0;
  f.control->OnChanging = [&](TObject*, bool&) { ++events; };
  f.control->OnChange = [&](TObject*) { ++events; };
  f.control->BeginLoading();
  f.control->SetTabIndex(2);
  static_cast<TComponent*>(f.control)->Loaded();
  EXPECT_EQ(2, f.control->GetTabIndex());
  EXPECT_EQ(2, f.control->SelectedVisibleIndex);
  EXPECT_EQ(0, events);
}

TEST(TabControl, StyleChoosesAndKeepsPainters) {
  TTabForm<> f;
  f.AddTabs({"a"});
  f.control->GetLookAndFeel()->SetKind(lfStandard);
  f.control->SetStyle(5);
  TcxPCCustomPainter* flat = f.control->GetPainter();
  EXPECT_EQ(&FlatPainterClass, &flat->GetClass());
  f.control->SetStyle(5);
  EXPECT_EQ(flat, f.control->GetPainter()) << "the same style keeps the painter";
  f.control->SetStyle(77);
  EXPECT_EQ(flat, f.control->GetPainter()) << "an unknown style is ignored";
  EXPECT_EQ(5, f.control->GetStyle());
  f.control->SetStyle(0);
  EXPECT_EQ(&TabsPainterClass, &f.control->GetPainter()->GetClass()) << "0 follows the look-and-feel again";
  f.control->GetLookAndFeel()->SetNativeStyle(false);
  f.control->GetLookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(&FlatButtonsPainterClass, &f.control->GetPainter()->GetClass());
  f.control->GetLookAndFeel()->SetKind(lfStandard);
  EXPECT_EQ(&TabsPainterClass, &f.control->GetPainter()->GetClass());
  EXPECT_EQ(0, f.control->GetStyle());
}

TEST(TabControl, MaxRotatedTabWidthIsRaisedToThePaintersMinimum) {
  TTabForm<> f;
  f.AddTabs({"a"});
  f.control->SetStyle(1);
  const int minimum = f.control->GetPainter()->GetMinTabWidth();
  EXPECT_EQ(42, minimum);
  f.control->SetMaxRotatedTabWidth(3);
  EXPECT_EQ(minimum, f.control->GetMaxRotatedTabWidth());
  f.control->SetMaxRotatedTabWidth(-4);
  EXPECT_EQ(0, f.control->GetMaxRotatedTabWidth());
}

TEST(TabControl, RaggedRightWaitsForMultiLine) {
  RegisterSizedPainter();
  TTabForm<> f(204, 150);
  f.control->SetStyle(TSizedTabsPainter::kStyle);
  f.AddTabs({"60", "60", "60", "60", "60"});
  f.control->SetRaggedRight(true);
  EXPECT_EQ(1, f.control->LineCount);
  f.control->SetMultiLine(true);
  EXPECT_EQ(2, f.control->LineCount);
  EXPECT_EQ(60, f.Tab(0)->Width) << "ragged lines are not stretched";
}

} // namespace
