#include "DesignTest.h"

namespace {

TEST_F(DesignTest, ADesignedFormDesignsItsManagerAndItems) {
  BuildDesigned();
  TdxBarButton* button = AddButton(Manager, "Hidden");
  button->SetVisible(ivNever);
  EXPECT_TRUE(Manager->GetDesigning());
  EXPECT_TRUE(Manager->IsCustomizing());
  EXPECT_FALSE(Manager->GetCustomizing());
  EXPECT_TRUE(button->IsDesigning());
  // While designing every item of a category is a command, hidden or not.
  std::vector<TdxBarItem*> commands;
  EXPECT_EQ(Manager->GetCategoryCommands(0, commands), 1);
}

TEST_F(DesignTest, UndesignedFormKeepsTheRunningBehaviour) {
  Build();
  TdxBarButton* button = AddButton(Manager, "Hidden");
  button->SetVisible(ivNever);
  EXPECT_FALSE(Manager->GetDesigning());
  EXPECT_FALSE(Manager->IsCustomizing());
  std::vector<TdxBarItem*> commands;
  EXPECT_EQ(Manager->GetCategoryCommands(0, commands), 0);
  EXPECT_EQ(DesignerHookOf(Manager), nullptr);
}

TEST_F(DesignTest, ChangesTellTheHookOnlyWhileDesigning) {
  struct Case {
    bool designing;
    bool hookInstalled;
    bool told;
  };
  for (Case c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}}) {
    SCOPED_TRACE(std::to_string(c.designing) + std::to_string(c.hookInstalled));
    Form = std::make_unique<TForm>(nullptr);
    Hook.ModifiedCount = 0;
    SetBarDesignerHook(c.hookInstalled ? &Hook : nullptr);
    if (c.designing) BuildDesigned();
    else Build();
    EXPECT_EQ(Hook.ModifiedCount, 0) << "building is no change";
    Manager->GetBars()->Add()->SetCaption("Bar");
    Manager->SetLargeIcons(true);
    EXPECT_TRUE(Manager->GetModified());
    EXPECT_EQ(Hook.ModifiedCount > 0, c.told);
  }
}

} // namespace
