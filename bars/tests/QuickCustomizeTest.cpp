// Quick customization: the window of a toolbar's mark and its "Add or
// Remove Buttons" menu.
#include "BarsTest.h"

#include "Forms.h"

namespace {

class QuickCustomizeTest : public BarsTest {
protected:
  void SetUp() override {
    Build([](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      bar->SetCaption("Edit");
      for (const char* name : {"A", "B", "C"})
        AddLink(bar->GetItemLinks(), AddButton(m, name));
    });
    Manager->SetStyle(bmsXP);
    Form->SetBounds(60, 60, 600, 400);
    Form->Show();
    Bar()->SetDockingStyle(dsTop);
    Bar()->SetVisible(true);
    // Input sent by SendInput reaches only the foreground window.
    SetForegroundWindow(Form->GetHandle());
    guitest::PumpUntil([&] { return GetForegroundWindow() == Form->GetHandle(); });
    guitest::PumpFor(50);
  }
  void TearDown() override {
    if (Window() && Window()->GetMarkState() == 2) Window()->SetMarkState(0);
    MovePointerOff(nullptr);
  }
  TdxBar* Bar() const { return Manager->GetBars()->GetItem(0); }
  TdxBarControl* Window() const { return Bar()->GetBarControl(); }
  // Clicks the toolbar's mark and waits for the window.
  TdxBarQuickControl* OpenByMark() {
    const TRect mark = Window()->GetMarkRect();
    guitest::ClickAt(Window()->GetHandle(), (mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2);
    guitest::PumpUntil([] { return QuickControl() != nullptr; });
    guitest::PumpFor(50);
    return QuickControl();
  }
  int CheckButtons() const {
    int count = 0;
    for (int i = 0; i < Form->GetComponentCount(); ++i)
      count += dynamic_cast<TdxBarQuickCustItem*>(Form->GetComponent(i)) != nullptr;
    return count;
  }
};

} // namespace

TEST_F(QuickCustomizeTest, AToolbarWhoseLinksFitShowsOnlyAddOrRemoveButtons) {
  ASSERT_TRUE(Window()->MarkVisible());
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  EXPECT_EQ(quick->GetOwnerToolbar(), Window());
  ASSERT_EQ(quick->GetItemLinks()->GetCount(), 1);
  EXPECT_EQ(quick->GetItemLinks()->GetItem(0)->GetCaption(), "&Add or Remove Buttons");
  EXPECT_TRUE(IsWindowVisible(quick->GetHandle()));
  RECT r;
  GetWindowRect(quick->GetHandle(), &r);
  const TRect mark = Window()->GetMarkRect();
  EXPECT_EQ(r.top, Window()->ClientToScreen(TPoint(0, mark.bottom)).y) << "under the mark";
  Window()->SetMarkState(0);
  EXPECT_EQ(QuickControl(), nullptr);
}

TEST_F(QuickCustomizeTest, UncheckingAnEntryHidesTheLinkAndTheMenuStaysOpen) {
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarItemLink* entry = quick->GetItemLinks()->GetItem(0);
  guitest::ClickAt(quick->GetHandle(), (entry->ItemRect.left + entry->ItemRect.right) / 2,
                   (entry->ItemRect.top + entry->ItemRect.bottom) / 2);
  TdxBarItemLinks* menu = quick->GetQuickSubItem()->GetItemLinks();
  ASSERT_TRUE(guitest::PumpUntil([&] { return menu->GetBarControl() != nullptr; }));
  guitest::PumpFor(100);
  ASSERT_GE(menu->GetCount(), 3);
  auto* menuWindow = dynamic_cast<TdxBarSubMenuControl*>(menu->GetBarControl());
  ASSERT_NE(menuWindow, nullptr);
  EXPECT_TRUE(menuWindow->IsQuickCustomizationMenu());
  EXPECT_EQ(menu->GetItem(0)->GetControl()->GetCaption(), "A");
  auto* check = dynamic_cast<TdxBarQuickCustItemControl*>(menu->GetItem(1)->GetControl());
  ASSERT_NE(check, nullptr);
  EXPECT_TRUE(check->IsChecked());
  const TRect r = menu->GetItem(1)->ItemRect;
  guitest::ClickAt(menu->GetBarControl()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !Bar()->GetItemLinks()->GetItem(1)->GetVisible(); }));
  EXPECT_NE(menu->GetBarControl(), nullptr) << "the menu stays open";
  EXPECT_FALSE(check->IsChecked());
}

TEST_F(QuickCustomizeTest, EachOpeningFreesThePreviousCheckButton) {
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  for (int i = 0; i < 3; ++i)
    quick->FillAddRemoveMenu();
  EXPECT_EQ(CheckButtons(), 1);
  Window()->SetMarkState(0);
  EXPECT_EQ(CheckButtons(), 0) << "it goes with the window";
}

TEST_F(QuickCustomizeTest, WithoutQuickCustomizingAddOrRemoveButtonsIsDisabled) {
  Bar()->AllowQuickCustomizing = false;
  Bar()->SetVisible(false);
  Bar()->SetVisible(true);
  guitest::PumpFor(50);
  Window()->SetMarkState(2);
  TdxBarQuickControl* quick = QuickControl();
  ASSERT_NE(quick, nullptr);
  EXPECT_FALSE(quick->GetQuickSubItem()->GetEnabled());
  EXPECT_FALSE(quick->GetQuickSubItem()->OnPopup);
}

TEST_F(QuickCustomizeTest, ClickingTheMarkWhileOpenClosesItWithoutReopening) {
  ASSERT_NE(OpenByMark(), nullptr);
  const TRect mark = Window()->GetMarkRect();
  // A second press within the double-click time would be a double click.
  guitest::PumpFor(static_cast<int>(GetDoubleClickTime()) + 50);
  guitest::ClickAt(Window()->GetHandle(), (mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2);
  ASSERT_TRUE(guitest::PumpUntil([] { return QuickControl() == nullptr; }));
  guitest::PumpFor(100);
  EXPECT_EQ(QuickControl(), nullptr) << "the release does not open it again";
  EXPECT_NE(Window()->GetMarkState(), 2);
}

// Presses outside the window close it; over its toolbar only outside the
// mark or with the right button.
TEST_F(QuickCustomizeTest, APressOutsideTheWindowClosesIt) {
  struct Case {
    const char* where;
    bool right;
  };
  for (const Case c : {Case{"form", false}, Case{"toolbar button", false}, Case{"mark", true}}) {
    SCOPED_TRACE(c.where);
    ASSERT_NE(OpenByMark(), nullptr);
    HWND wnd = Window()->GetHandle();
    POINT p;
    if (std::string(c.where) == "form") {
      wnd = Form->GetHandle();
      p = POINT{300, 300};
    } else if (std::string(c.where) == "mark") {
      const TRect mark = Window()->GetMarkRect();
      p = POINT{(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2};
    } else {
      const TRect r = Bar()->GetItemLinks()->GetItem(0)->ItemRect;
      p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    if (c.right) {
      guitest::MouseEventAt(wnd, p.x, p.y, MOUSEEVENTF_RIGHTDOWN);
      guitest::MouseEventAt(wnd, p.x, p.y, MOUSEEVENTF_RIGHTUP);
    } else {
      guitest::MouseEventAt(wnd, p.x, p.y, MOUSEEVENTF_LEFTDOWN);
    }
    EXPECT_TRUE(guitest::PumpUntil([] { return QuickControl() == nullptr; }));
    if (!c.right) guitest::MouseEventAt(wnd, p.x, p.y, MOUSEEVENTF_LEFTUP);
    guitest::PumpFor(50);
    if (Window()->GetMarkState() == 2) Window()->SetMarkState(0);
    MovePointerOff(nullptr);
    guitest::PumpFor(50);
  }
}

TEST_F(QuickCustomizeTest, HoveringAButtonOfTheToolbarClosesItAfterAWhile) {
  ASSERT_NE(OpenByMark(), nullptr);
  const TRect r = Bar()->GetItemLinks()->GetItem(0)->ItemRect;
  guitest::MouseEventAt(Window()->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(guitest::PumpUntil([] { return QuickControl() == nullptr; }));
  EXPECT_NE(Window()->GetMarkState(), 2);
}

TEST_F(QuickCustomizeTest, AVerticalToolbarAtTheRightEdgeOfTheScreenOpensLeftOfTheMark) {
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  Form->SetBounds(screen - 300, 60, 300, 400);
  Bar()->SetDockingStyle(dsRight);
  guitest::PumpFor(50);
  ASSERT_TRUE(Window()->IsVertical());
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  RECT r;
  GetWindowRect(quick->GetHandle(), &r);
  const TRect mark = Window()->GetMarkRect();
  const TPoint markTopLeft = Window()->ClientToScreen(TPoint(mark.left, mark.top));
  EXPECT_EQ(r.right, markTopLeft.x);
  EXPECT_EQ(r.top, markTopLeft.y);
  EXPECT_LE(r.right, screen);
}
