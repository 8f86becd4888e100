// The go dialog: its size, the tabs it lists, the tab index it hands back,
// and how it closes.
#include "TabControlTest.h"

#include "cxPCGoDialog.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpFor;

// Runs an action from the message loop after a delay: the dialog's own
// loop runs while the test waits for it to return.
std::function<void()> Delayed;

void CALLBACK DelayedTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  auto action = std::move(Delayed);
  Delayed = nullptr;
  if (action) action();
}

void AfterDelay(UINT ms, std::function<void()> action) {
  Delayed = std::move(action);
  SetTimer(nullptr, 0, ms, DelayedTimer);
}

class GoDialog : public testing::Test {
protected:
  GoDialog() {
    f.control->SetOptions(TcxPCOptions{pcoGoDialog});
    f.control->SetStyle(2);
  }
  TcxPCGoDialog* Dialog() { return f.control->GetGoDialog(); }
  TRect GoButton() { return f.control->GetPainter()->GetGoDialogButtonRect(); }
  POINT GoButtonOnScreen() {
    const TRect r = GoButton();
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(f.control->GetHandle(), &p);
    return p;
  }
  // Clicks the go-dialog button; the action runs while the dialog is open.
  void OpenAndThen(std::function<void()> action) {
    AfterDelay(400, std::move(action));
    const TRect r = GoButton();
    guitest::ClickAt(f.control->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PumpFor(100);
  }
  TTabForm<> f{300, 150};
};

TEST_F(GoDialog, TenTabsShowSevenRowsAndALongCaptionAddsTheBar) {
  for (int i = 0; i < 10; ++i)
    f.control->GetTabs()->Add("Tab " + std::to_string(i));
  Dialog()->FillList();
  Dialog()->CalculatePopupSize();
  const int rows = Dialog()->GetListBox()->GetItemHeight() * 7;
  EXPECT_EQ(129, Dialog()->GetWidth());
  EXPECT_EQ(rows + 4, Dialog()->GetHeight());
  f.control->GetTabs()->Add("A caption far too long for the narrow list of the dialog");
  Dialog()->FillList();
  Dialog()->CalculatePopupSize();
  EXPECT_EQ(129, Dialog()->GetWidth());
  EXPECT_EQ(rows + 4 + GetSystemMetrics(SM_CYHSCROLL), Dialog()->GetHeight());
}

TEST_F(GoDialog, OnlyVisibleEnabledTabsAreListedAndTheirIndicesHandedBack) {
  f.control->SetOptions(TcxPCOptions{pcoGoDialog, pcoSort});
  f.AddTabs({"Delta", "Alpha", "Charlie", "Echo", "Bravo", "Foxtrot", "Golf", "Hotel", "India"});
  f.Tab(1)->SetVisible(false);
  f.Tab(3)->SetEnabled(false);
  Dialog()->TabIndex = 0;
  Dialog()->FillList();
  TStrings* items = Dialog()->GetListBox()->GetItems();
  ASSERT_EQ(7, items->GetCount());
  EXPECT_EQ("Bravo", items->Get(0));
  EXPECT_EQ("Delta", items->Get(2));
  EXPECT_EQ(2, Dialog()->GetListBox()->GetItemIndex()) << "the selected tab preselected";
  EXPECT_EQ(-1, Dialog()->TabIndex);
  ASSERT_TRUE(f.control->NavigatorButtons.Contains(nbGoDialog));
  OpenAndThen([] {
    guitest::PressKey(VK_UP);
    PumpFor(50);
    guitest::PressKey(VK_RETURN);
  });
  EXPECT_FALSE(f.control->GoDialogShown);
  EXPECT_EQ(2, f.control->GetTabIndex()) << "Charlie, whose tab index counts the hidden Alpha";
}

TEST_F(GoDialog, EscapeAndAnOutsideClickChooseNothing) {
  f.AddTabs({"Zero", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight"});
  OpenAndThen([] { guitest::PressKey(VK_ESCAPE); });
  EXPECT_FALSE(f.control->GoDialogShown);
  EXPECT_EQ(0, f.control->GetTabIndex());
  const POINT outside{f.form->GetLeft() + 10, f.form->GetTop() + f.form->GetHeight() - 10};
  OpenAndThen([&] {
    guitest::PressKey(VK_DOWN);
    guitest::SendMouseAt(outside, MOUSEEVENTF_LEFTDOWN);
    guitest::SendMouseAt(outside, MOUSEEVENTF_LEFTUP);
  });
  PumpFor(100);
  EXPECT_FALSE(f.control->GoDialogShown);
  EXPECT_EQ(0, f.control->GetTabIndex());
}

TEST_F(GoDialog, AClickOnItsButtonClosesItWithoutReopening) {
  f.AddTabs({"Zero", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight"});
  const POINT button = GoButtonOnScreen();
  bool wasOpen = false;
  OpenAndThen([&] {
    wasOpen = Dialog()->IsOpen();
    guitest::SendMouseAt(button, MOUSEEVENTF_LEFTDOWN);
    guitest::SendMouseAt(button, MOUSEEVENTF_LEFTUP);
  });
  PumpFor(300);
  EXPECT_TRUE(wasOpen);
  EXPECT_FALSE(f.control->GoDialogShown);
  EXPECT_FALSE(Dialog()->IsOpen());
  EXPECT_EQ(nbsNormal, f.control->NavigatorButtonStates[nbGoDialog]);
}

} // namespace
