// Drop-down buttons: the arrow part opens the button's popup menu, the main
// part runs its command, Down opens the menu from the keyboard.
#include "BarsTest.h"

#include "GuiTest.h"
#include "dxBarPopup.h"
#include "dxBarSubMenu.h"

#include "Forms.h"

namespace {

class DropDownTest : public BarsTest {
protected:
  // A docked bar of "Bold" and the drop-down button "Open", whose menu holds
  // "First" and "Second"; the menu "File" holds a second link to "Open".
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      TdxBar* bar = m->GetBars()->Add();
      AddLink(bar->GetItemLinks(), Logged(AddButton(m, "Bold")));
      Open = Logged(AddButton(m, "Open"));
      Open->SetButtonStyle(bsDropDown);
      AddLink(bar->GetItemLinks(), Open);
      File = new TdxBarSubItem(m->GetOwnerForm());
      File->SetName("File");
      File->SetCaption("File");
      AddLink(File->GetItemLinks(), Logged(AddButton(m, "New")));
      AddLink(File->GetItemLinks(), Open);
    });
    Menu = new TdxBarPopupMenu(Form.get());
    AddLink(Menu->GetItemLinks(), Logged(AddButton(Manager, "First")));
    AddLink(Menu->GetItemLinks(), Logged(AddButton(Manager, "Second")));
    Open->SetDropDownMenu(Menu);
    Manager->SetStyle(bmsStandard);
    Manager->SetMenuAnimations(maNone);
    Bar = Manager->GetBars()->GetItem(0);
    Form->SetBounds(50, 50, 500, 300);
    Form->Show();
    SetCursorPos(5, 5);
    guitest::PumpFor(50);
    Window = DockTopWindow(Bar);
  }

  void TearDown() override {
    Manager->DeactivateAll();
    MovePointerOff(Window);
  }

  TdxBarButton* Logged(TdxBarButton* button) {
    button->OnClick = [this](TObject* sender) {
      Clicks.push_back(static_cast<TComponent*>(sender)->GetName());
    };
    return button;
  }

  TdxBarButtonControl* OpenControl() const {
    return dynamic_cast<TdxBarButtonControl*>(Bar->GetItemLinks()->GetItem(1)->GetControl());
  }
  TdxBarSubMenuControl* DropDownWindow() const {
    return dynamic_cast<TdxBarSubMenuControl*>(Menu->GetItemLinks()->GetBarControl());
  }
  bool WaitForDropDown() const {
    return guitest::PumpUntil(
        [this] { return DropDownWindow() && IsWindowVisible(DropDownWindow()->GetHandle()); }, 2000);
  }
  bool WaitForNoDropDown() const {
    return guitest::PumpUntil([this] { return !DropDownWindow(); }, 2000);
  }

  // A click at a point of the toolbar's client area, then a pause.
  void ClickBar(POINT p) {
    guitest::ClickAt(Window->GetHandle(), p.x, p.y);
    guitest::PumpFor(100);
  }
  POINT ArrowPart() const {
    const TRect r = Bar->GetItemLinks()->GetItem(1)->ItemRect;
    return POINT{r.right - OpenControl()->GetArrowWidth() / 2, (r.top + r.bottom) / 2};
  }
  POINT MainPart() const {
    const TRect r = Bar->GetItemLinks()->GetItem(1)->ItemRect;
    return POINT{r.left + 4, (r.top + r.bottom) / 2};
  }
  static POINT EntryOnScreen(TCustomdxBarControl* window, int index) {
    const TRect r = window->GetItemLinks()->GetItem(index)->ItemRect;
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(window->GetHandle(), &p);
    return p;
  }

  TdxBar* Bar = nullptr;
  TdxBarControl* Window = nullptr;
  TdxBarButton* Open = nullptr;
  TdxBarSubItem* File = nullptr;
  TdxBarPopupMenu* Menu = nullptr;
  std::vector<String> Clicks;
};

} // namespace

TEST_F(DropDownTest, TheArrowPartOpensTheMenuAndTheMainPartRunsTheCommand) {
  const int openUses = Bar->GetItemLinks()->GetItem(1)->UseCount;
  ClickBar(ArrowPart());
  ASSERT_TRUE(WaitForDropDown());
  TdxBarSubMenuControl* menu = DropDownWindow();
  const TRect button = Bar->GetItemLinks()->GetItem(1)->ItemRect;
  const TPoint below = Window->ClientToScreen(TPoint(button.left, button.bottom));
  EXPECT_EQ(menu->GetLeft(), below.x) << "below the button";
  EXPECT_EQ(menu->GetTop(), below.y);
  EXPECT_EQ(menu->OwnerHeight, button.Height());
  EXPECT_EQ(menu->OwnerControl, OpenControl());
  EXPECT_TRUE(OpenControl()->DroppedDown);
  EXPECT_TRUE(Menu->GetPopped());
  EXPECT_EQ(menu->GetSelectedControl(), nullptr) << "opened by the mouse: nothing selected";
  EXPECT_TRUE(Clicks.empty()) << "the release on the arrow runs nothing while the menu is open";

  // An entry runs its command and closes the menu.
  const POINT second = EntryOnScreen(menu, 1);
  guitest::SendMouseAt(second, 0);
  guitest::SendMouseAt(second, MOUSEEVENTF_LEFTDOWN);
  guitest::SendMouseAt(second, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitForNoDropDown());
  guitest::PumpFor(50);
  EXPECT_EQ(Clicks, std::vector<String>{"Second"});
  EXPECT_EQ(Bar->GetItemLinks()->GetItem(1)->UseCount, openUses + 1) << "the button counts as used";
  EXPECT_FALSE(OpenControl()->DroppedDown);
  EXPECT_FALSE(Menu->GetPopped());

  // The main part is the button.
  Clicks.clear();
  ClickBar(MainPart());
  EXPECT_EQ(Clicks, std::vector<String>{"Open"});
  EXPECT_EQ(DropDownWindow(), nullptr);
}

TEST_F(DropDownTest, APressOnTheArrowOfTheOpenMenuClosesItForGood) {
  ClickBar(ArrowPart());
  ASSERT_TRUE(WaitForDropDown());
  ClickBar(ArrowPart());
  EXPECT_TRUE(WaitForNoDropDown());
  guitest::PumpFor(100);
  EXPECT_EQ(DropDownWindow(), nullptr) << "the press that closed it does not open it again";
  EXPECT_FALSE(OpenControl()->DroppedDown);
  EXPECT_FALSE(Window->SkipMouseUp) << "its release was swallowed";
  EXPECT_TRUE(Clicks.empty());

  // The next click is an ordinary one again.
  ClickBar(MainPart());
  EXPECT_EQ(Clicks, std::vector<String>{"Open"});
  ClickBar(ArrowPart());
  EXPECT_TRUE(WaitForDropDown());
}

TEST_F(DropDownTest, APressOnTheMainPartOfTheOpenMenuClosesItAndRunsTheCommand) {
  ClickBar(ArrowPart());
  ASSERT_TRUE(WaitForDropDown());
  ClickBar(MainPart());
  EXPECT_TRUE(WaitForNoDropDown());
  EXPECT_EQ(Clicks, std::vector<String>{"Open"});
}

TEST_F(DropDownTest, DownOnTheSelectedButtonOpensTheMenuWithItsFirstEntrySelected) {
  Window->EnterKeyboardMode(OpenControl());
  ASSERT_EQ(Window->GetSelectedControl(), OpenControl());
  guitest::PressKey(VK_DOWN);
  ASSERT_TRUE(WaitForDropDown());
  TdxBarSubMenuControl* menu = DropDownWindow();
  EXPECT_EQ(menu->GetSelectedControl(), Menu->GetItemLinks()->GetItem(0)->GetControl());
  EXPECT_EQ(ActiveBarControl(), menu) << "the menu takes the keys";
  guitest::PressKey(VK_DOWN);
  EXPECT_TRUE(guitest::PumpUntil(
      [&] { return menu->GetSelectedControl() == Menu->GetItemLinks()->GetItem(1)->GetControl(); }, 2000));

  // Esc closes the menu only: the toolbar keeps the keyboard on the button.
  guitest::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForNoDropDown());
  EXPECT_EQ(ActiveBarControl(), Window);
  EXPECT_EQ(Window->GetSelectedControl(), OpenControl());
  EXPECT_FALSE(OpenControl()->DroppedDown);

  // Enter runs the button itself.
  guitest::PressKey(VK_RETURN);
  EXPECT_TRUE(guitest::PumpUntil([&] { return !Clicks.empty(); }, 2000));
  EXPECT_EQ(Clicks, std::vector<String>{"Open"});
}

TEST_F(DropDownTest, InAMenuRightOpensTheDropDownBesideTheEntry) {
  auto* file = dynamic_cast<TdxBarSubMenuControl*>(File->GetItemLinks()->CreateBarControl());
  file->SetBounds(200, 150, file->GetWidth(), file->GetHeight());
  ShowMenuWindow(file);
  guitest::PumpFor(20);
  TdxBarItemControl* entry = File->GetItemLinks()->GetItem(1)->GetControl();
  file->SelectControl(entry);
  guitest::PressKey(VK_RIGHT);
  ASSERT_TRUE(WaitForDropDown());
  TdxBarSubMenuControl* menu = DropDownWindow();
  const TRect r = File->GetItemLinks()->GetItem(1)->ItemRect;
  const TPoint beside = file->ClientToScreen(TPoint(r.right, r.top));
  EXPECT_EQ(menu->GetLeft(), beside.x);
  EXPECT_EQ(menu->GetTop(), beside.y - file->GetMenuBorderSize());
  EXPECT_EQ(menu->OwnerWidth, r.Width());
  EXPECT_EQ(file->ChildMenu, menu) << "the menu holds the drop-down as its open child";
  EXPECT_EQ(menu->GetSelectedControl(), Menu->GetItemLinks()->GetItem(0)->GetControl());

  // Left goes back to the entry.
  guitest::PressKey(VK_LEFT);
  ASSERT_TRUE(WaitForNoDropDown());
  EXPECT_EQ(file->ChildMenu, nullptr);
  EXPECT_EQ(ActiveBarControl(), file);
  EXPECT_EQ(file->GetSelectedControl(), entry);
  file->Release();
}

TEST_F(DropDownTest, AFlatMenuJoinsItsButton) {
  const struct {
    TdxBarManagerStyle style;
    bool joined;
  } cases[] = {{bmsStandard, false}, {bmsFlat, true}};
  for (const auto& c : cases) {
    Manager->SetStyle(c.style);
    guitest::PumpFor(50);
    ClickBar(ArrowPart());
    ASSERT_TRUE(WaitForDropDown()) << c.style;
    const TRect r = Bar->GetItemLinks()->GetItem(1)->ItemRect;
    const TPoint topLeft = Window->ClientToScreen(TPoint(r.left, r.top));
    const TRect button(topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height());
    EXPECT_EQ(DropDownWindow()->OwnerRect, c.joined ? button : TRect()) << c.style;
    EXPECT_EQ(DropDownWindow()->OwnerBarControl, Window) << c.style;
    Manager->DeactivateAll();
    ASSERT_TRUE(WaitForNoDropDown());
    EXPECT_EQ(Menu->OwnerBarControl, nullptr) << "for the one call";
    EXPECT_FALSE(Menu->NonModal);
  }
}
