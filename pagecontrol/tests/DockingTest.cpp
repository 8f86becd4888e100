// Docking into the page control: a docked control gets a page that follows
// its caption and visibility; a double click on its tab floats it, a drag
// of the floating control onto the page control docks it again.
#include "TabControlTest.h"

#include "ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

using guitest::MouseEventAt;
using guitest::PumpFor;
using guitest::PumpUntil;

class Docking : public testing::Test {
protected:
  Docking() : f(360, 220) {
    f.control->SetDockSite(true);
    auto* sheet = new TcxTabSheet(f.form.get());
    sheet->SetCaption("Home");
    sheet->SetPageControl(f.control);
    panel = new TPanel(f.form.get());
    panel->SetBounds(0, 180, 100, 40);
    panel->SetParent(f.form.get());
    panel->SetDragKind(dkDock);
  }
  TcxPageControl* pc() { return f.control; }
  TPoint TabCenter(int index) {
    const TRect r = pc()->GetTabs()->GetTab(index)->GetVisibleRect();
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  TTabForm<TcxPageControl> f;
  TPanel* panel;
};

TEST_F(Docking, AControlDockedByCodeGetsAPageThatFollowsIt) {
  ASSERT_TRUE(panel->ManualDock(pc()));
  ASSERT_EQ(2, pc()->GetPageCount());
  TcxTabSheet* page = pc()->GetPage(1);
  EXPECT_EQ(page, panel->GetParent());
  EXPECT_EQ(pc(), panel->GetHostDockSite());
  EXPECT_EQ(alClient, panel->GetAlign());
  EXPECT_EQ(page, pc()->GetActivePage());
  EXPECT_EQ(page, pc()->PageForDockClient(panel));
  panel->SetCaption("Notes\r\nsecond line");
  EXPECT_EQ("Notes", page->GetCaption());
  EXPECT_EQ("Notes", pc()->GetTabs()->Get(1));
  panel->SetVisible(false);
  EXPECT_FALSE(page->GetTabVisible());
  EXPECT_EQ(pc()->GetPage(0), pc()->GetActivePage());
  panel->SetVisible(true);
  EXPECT_TRUE(page->GetTabVisible());
}

TEST_F(Docking, ADoubleClickOnTheTabFloatsTheControl) {
  panel->SetCaption("Notes");
  panel->ManualDock(pc());
  ASSERT_EQ(2, pc()->GetPageCount());
  const TPoint tab = TabCenter(1);
  EXPECT_EQ(panel, pc()->DockClientAt(tab));
  guitest::ClickAt(pc()->GetHandle(), tab.x, tab.y);
  guitest::ClickAt(pc()->GetHandle(), tab.x, tab.y);
  ASSERT_TRUE(PumpUntil([&] { return pc()->GetPageCount() == 1; }, 3000));
  auto* host = dynamic_cast<TCustomDockForm*>(panel->GetHostDockSite());
  ASSERT_NE(nullptr, host);
  EXPECT_EQ(host, panel->GetParent());
  EXPECT_EQ(alNone, panel->GetAlign());
  EXPECT_TRUE(host->GetVisible());
  EXPECT_EQ(pc()->GetPage(0), pc()->GetActivePage());
  // Docked again, the floating form goes with its last client.
  panel->ManualDock(pc());
  EXPECT_EQ(2, pc()->GetPageCount());
  PumpFor(100);
  EXPECT_EQ(pc(), panel->GetHostDockSite());
}

TEST_F(Docking, ATabDraggedOutByTheMouseFloatsItsControl) {
  panel->ManualDock(pc());
  const TPoint tab = TabCenter(1);
  MouseEventAt(pc()->GetHandle(), tab.x, tab.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(panel->Dragging()) << "the press starts a drag of the docked control";
  const HWND wnd = pc()->GetHandle();
  RECT form;
  GetWindowRect(f.form->GetHandle(), &form);
  POINT outside{form.right + 60, form.top + 60};
  ScreenToClient(wnd, &outside);
  MouseEventAt(wnd, tab.x + 20, tab.y + 20, 0);
  MouseEventAt(wnd, outside.x, outside.y, 0);
  MouseEventAt(wnd, outside.x + 5, outside.y + 5, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return pc()->GetPageCount() == 1; }, 3000));
  EXPECT_NE(nullptr, dynamic_cast<TCustomDockForm*>(panel->GetHostDockSite()));
  EXPECT_FALSE(panel->Dragging());
  // Docked again, so its floating form goes before the next test.
  panel->ManualDock(pc());
  PumpFor(100);
}

TEST_F(Docking, AFloatingControlDraggedByTheMouseOntoThePageControlDocksOnANewPage) {
  panel->ManualDock(nullptr);
  auto* host = dynamic_cast<TCustomDockForm*>(panel->GetHostDockSite());
  ASSERT_NE(nullptr, host);
  const HWND hostWnd = host->GetHandle();
  panel->SetDragMode(dmAutomatic);
  PumpFor(100);
  const HWND wnd = panel->GetHandle();
  MouseEventAt(wnd, 20, 20, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(panel->Dragging()) << "the press starts a drag of the floating control";
  RECT pcRect;
  GetWindowRect(pc()->GetHandle(), &pcRect);
  POINT target{(pcRect.left + pcRect.right) / 2, (pcRect.top + pcRect.bottom) / 2};
  ScreenToClient(wnd, &target);
  MouseEventAt(wnd, 40, 30, 0);
  MouseEventAt(wnd, target.x, target.y, 0);
  MouseEventAt(wnd, target.x + 2, target.y + 2, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return pc()->GetPageCount() == 2; }, 3000));
  EXPECT_FALSE(panel->Dragging());
  EXPECT_EQ(pc(), panel->GetHostDockSite());
  EXPECT_EQ(pc()->GetPage(1), panel->GetParent());
  EXPECT_EQ(pc()->GetPage(1), pc()->GetActivePage());
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hostWnd); }, 3000)) << "the floating form goes";
}

TEST_F(Docking, AControlOnAPageCannotDockThereAgain) {
  panel->ManualDock(pc());
  TRect influence;
  bool canDock = true;
  pc()->GetSiteInfo(panel, influence, TPoint(), canDock);
  EXPECT_FALSE(canDock);
  TPanel other(nullptr);
  canDock = true;
  pc()->GetSiteInfo(&other, influence, TPoint(), canDock);
  EXPECT_TRUE(canDock);
}

} // namespace
