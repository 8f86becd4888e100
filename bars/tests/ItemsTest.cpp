#include "BarsTest.h"

#include "ActnList.h"
#include "GuiTest.h"

using ItemsTest = BarsTest;

TEST_F(ItemsTest, TheHintFollowsTheCaption) {
  Build();
  const struct {
    const char* hint;
    const char* oldCaption;
    const char* newCaption;
    const char* expected;
  } cases[] = {
      {"", "", "&Open...", "Open"},
      {"Open|Opens a file", "&Open...", "&Save", "Save|Opens a file"},
      {"Open", "&Open...", "&Save", "Save"},
      {"Edited", "&Open...", "&Save", "Edited"},
      {"", "", "A&&B", "A&B"},
      {"x|long", "x", "y...z...", "yz...|long"},
  };
  for (const auto& c : cases) {
    TdxBarButton button(Form.get());
    button.SetCaption(c.oldCaption);
    button.Hint = c.hint;
    button.SetCaption(c.newCaption);
    EXPECT_EQ(button.Hint, c.expected) << c.newCaption;
  }
  TdxBarSubItem subItem(Form.get());
  subItem.SetCaption("&File");
  EXPECT_EQ(subItem.Hint, "");
}

TEST_F(ItemsTest, CategoryOutOfRangeIsIgnoredAfterLoading) {
  Build();
  TdxBarButton button(Form.get());
  for (int category : {5, -1})
    button.SetCategory(category);
  EXPECT_EQ(button.GetCategory(), -1);
  button.SetCategory(0);
  button.SetCategory(-1);
  EXPECT_EQ(button.GetCategory(), 0);
}

TEST_F(ItemsTest, EnabledReadsTrueWhileCustomizing) {
  Build();
  auto* inCategory = AddButton(Manager, "Open");
  TdxBarButton noCategory(Form.get());
  inCategory->SetEnabled(false);
  noCategory.SetEnabled(false);
  Manager->SetCustomizing(true);
  EXPECT_TRUE(inCategory->GetEnabled());
  EXPECT_FALSE(noCategory.GetEnabled());
  Manager->SetCustomizing(false);
  EXPECT_FALSE(inCategory->GetEnabled());
}

TEST_F(ItemsTest, VisibilityInTheCurrentMode) {
  Build();
  const struct {
    TdxBarItemVisible visible;
    bool outside, customizing;
  } cases[] = {{ivAlways, true, true}, {ivInCustomizing, false, true}, {ivNever, false, false}};
  for (const auto& c : cases) {
    TdxBarButton button(Form.get());
    button.SetVisible(c.visible);
    EXPECT_EQ(button.IsActuallyVisible(), c.outside) << c.visible;
    Manager->SetCustomizing(true);
    EXPECT_EQ(button.IsActuallyVisible(), c.customizing) << c.visible;
    Manager->SetCustomizing(false);
  }
}

TEST_F(ItemsTest, ClickRunsTheHandlerOrTheActionOnce) {
  Build();
  TAction action(Form.get());
  int executed = 0, clicked = 0, clickedItems = 0;
  action.OnExecute = [&](TObject*) { ++executed; };
  Manager->OnClickItem = [&](TObject*, TdxBarItem*) { ++clickedItems; };
  auto* button = AddButton(Manager, "Run");
  button->SetAction(&action);
  button->Click();
  EXPECT_EQ(executed, 1);
  EXPECT_EQ(clickedItems, 1);

  button->OnClick = [&](TObject*) { ++clicked; };
  button->Click();
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(executed, 1);

  button->SetEnabled(false);
  button->Click();
  EXPECT_EQ(clicked + executed + clickedItems, 1 + 1 + 2);
}

TEST_F(ItemsTest, AnExceptionOfAClickGoesToTheApplication) {
  Build();
  guitest::TExceptionCapture capture;
  auto* button = AddButton(Manager, "Fail");
  button->OnClick = [](TObject*) { throw Exception("boom"); };
  button->Click();
  EXPECT_EQ(capture.Messages, std::vector<String>{"boom"});
  Manager->OnClickItem = [](TObject*, TdxBarItem*) { throw Exception("early"); };
  button->DirectClick();
  EXPECT_EQ(capture.Messages, (std::vector<String>{"boom", "early"}));
}

TEST_F(ItemsTest, AssigningAnActionCopiesItsProperties) {
  Build();
  TAction action(Form.get());
  action.SetCaption("&Print");
  action.SetHint("Print|Prints the script");
  action.SetShortCut(scCtrl | 'P');
  action.SetImageIndex(3);
  action.SetEnabled(false);
  action.SetVisible(false);
  action.HelpContext = 7;
  auto* button = AddButton(Manager, "Print", "Old");
  button->SetAction(&action);
  EXPECT_EQ(button->GetCaption(), "&Print");
  EXPECT_EQ(button->Hint, "Print|Prints the script");
  EXPECT_EQ(button->GetShortCut(), scCtrl | 'P');
  EXPECT_EQ(button->GetImageIndex(), 3);
  EXPECT_FALSE(button->GetEnabled());
  EXPECT_EQ(button->GetVisible(), ivNever);
  EXPECT_EQ(button->HelpContext, 7);
  EXPECT_FALSE(button->OnClick);
}

TEST_F(ItemsTest, AnActionAssignedWhileLoadingKeepsWhatIsNotDefault) {
  TAction* action = nullptr;
  Build([&](TdxBarManager* manager) {
    action = new TAction(manager->GetOwnerForm());
    action->SetCaption("From action");
    action->SetShortCut(scCtrl | 'K');
    action->BeginLoading();
    auto* button = AddButton(manager, "Mine", "Own caption");
    button->SetAction(action);
    action->Loaded();
  });
  auto* button = static_cast<TdxBarButton*>(Manager->FindItemByName("Mine"));
  EXPECT_EQ(button->GetCaption(), "Own caption");
  EXPECT_EQ(button->GetShortCut(), scCtrl | 'K');
  EXPECT_FALSE(Manager->GetModified());
}

TEST_F(ItemsTest, PropertiesFollowTheActionUntilChangedByHand) {
  Build();
  TAction action(Form.get());
  action.SetCaption("One");
  action.SetEnabled(true);
  auto* button = AddButton(Manager, "Cmd");
  button->SetAction(&action);
  action.SetCaption("Two");
  action.SetEnabled(false);
  EXPECT_EQ(button->GetCaption(), "Two");
  EXPECT_FALSE(button->GetEnabled());

  button->SetCaption("Mine");
  action.SetCaption("Three");
  EXPECT_EQ(button->GetCaption(), "Mine");
  action.SetEnabled(true);
  EXPECT_TRUE(button->GetEnabled());

  // A freed action is no longer followed.
  button->SetAction(nullptr);
  action.SetEnabled(false);
  EXPECT_TRUE(button->GetEnabled());
}

TEST_F(ItemsTest, ACheckedActionSetsDownOfACheckButton) {
  Build();
  TAction action(Form.get());
  auto* button = AddButton(Manager, "Bold");
  button->SetButtonStyle(bsChecked);
  button->SetAction(&action);
  action.SetChecked(true);
  EXPECT_TRUE(button->GetDown());
  action.SetChecked(false);
  EXPECT_FALSE(button->GetDown());
}

TEST_F(ItemsTest, FreeingTheActionClearsIt) {
  Build();
  auto* action = new TAction(Form.get());
  auto* button = AddButton(Manager, "Cmd");
  button->SetAction(action);
  delete action;
  EXPECT_EQ(button->GetAction(), nullptr);
  button->Click();
}

TEST_F(ItemsTest, RadioGroupsOfCheckButtons) {
  Build();
  std::vector<TdxBarButton*> group;
  for (const char* name : {"Left", "Center", "Right"}) {
    auto* button = AddButton(Manager, name);
    button->SetButtonStyle(bsChecked);
    button->SetGroupIndex(1);
    group.push_back(button);
  }
  auto downs = [&] {
    String s;
    for (auto* b : group)
      s += b->GetDown() ? '1' : '0';
    return s;
  };
  group[0]->Click();
  EXPECT_EQ(downs(), "100");
  group[1]->Click();
  EXPECT_EQ(downs(), "010");
  group[1]->Click(); // the only down button stays down
  EXPECT_EQ(downs(), "010");
  group[2]->SetAllowAllUp(true);
  EXPECT_TRUE(group[0]->GetAllowAllUp());
  group[1]->Click();
  EXPECT_EQ(downs(), "000");
  // Changing the group releases the button.
  group[0]->SetDown(true);
  group[0]->SetGroupIndex(2);
  EXPECT_EQ(downs(), "000");
}

TEST_F(ItemsTest, DownOnlyForCheckButtons) {
  Build();
  auto* button = AddButton(Manager, "Plain");
  button->SetDown(true);
  EXPECT_FALSE(button->GetDown());
  button->SetGroupIndex(1);
  EXPECT_EQ(button->GetGroupIndex(), 0);
  button->SetButtonStyle(bsChecked);
  button->Click();
  EXPECT_TRUE(button->GetDown());
  button->SetButtonStyle(bsDropDown);
  EXPECT_FALSE(button->GetDown());
}

TEST_F(ItemsTest, TheDropDownMenuIsForgottenWhenFreed) {
  Build();
  auto* button = AddButton(Manager, "Paste");
  auto* menu = new TComponent(Form.get());
  button->SetDropDownMenu(menu);
  EXPECT_EQ(button->GetDropDownMenu(), menu);
  delete menu;
  EXPECT_EQ(button->GetDropDownMenu(), nullptr);
}

TEST_F(ItemsTest, DestroyingAnItemFreesItsLinks) {
  Build();
  TdxBar* bar = Manager->GetBars()->Add();
  auto* button = AddButton(Manager, "Gone");
  AddLink(bar->GetItemLinks(), button);
  AddLink(bar->GetItemLinks(), AddButton(Manager, "Stays"));
  TempItems().push_back(button);
  delete button;
  EXPECT_EQ(bar->GetItemLinks()->GetCount(), 1);
  EXPECT_EQ(bar->GetItemLinks()->GetVisibleCount(), 1);
  EXPECT_TRUE(TempItems().empty());
  EXPECT_EQ(Manager->FindItemByName("gone"), nullptr);
  EXPECT_NE(Manager->FindItemByName("STAYS"), nullptr);
}

using ShownItemsTest = EditingBarsTest;

// A toolbar of A, B and C: changing B reaches the controls of its links.
TEST_F(ShownItemsTest, CaptionVisibilityAndEnabledChangesReachTheShownLinks) {
  TdxBarButton* b = nullptr;
  Build([&](TdxBarManager* m) {
    TdxBar* bar = m->GetBars()->Add();
    for (const char* name : {"A", "B", "C"}) {
      TdxBarButton* button = AddButton(m, name);
      if (String(name) == "B") b = button;
      AddLink(bar->GetItemLinks(), button);
    }
  });
  ShowDocked(500, 200);
  auto link = [&](int i) { return Bar->GetItemLinks()->GetItem(i); };
  const int cLeft = link(2)->ItemRect.left;
  b->SetCaption("Bumblebee");
  EXPECT_GT(link(2)->ItemRect.left, cLeft) << "the longer caption widens B";

  const int bLeft = link(1)->ItemRect.left;
  b->SetVisible(ivNever);
  EXPECT_EQ(link(1)->GetControl(), nullptr);
  EXPECT_EQ(link(2)->ItemRect.left, bLeft) << "C takes B's place";
  b->SetVisible(ivAlways);
  ASSERT_NE(link(1)->GetControl(), nullptr);
  EXPECT_GT(link(2)->ItemRect.left, bLeft);

  Window->SetSelectedControl(link(1)->GetControl());
  b->SetEnabled(false);
  EXPECT_EQ(Window->GetSelectedControl(), nullptr) << "a disabled control is no longer selected";
}
