#include "BarsTest.h"

#include <map>

namespace {

class CategoriesTest : public BarsTest {
protected:
  // Three categories A, B, C with two items each, named after them.
  void BuildThree() {
    Build([](TdxBarManager* manager) {
      manager->GetCategories()->SetCommaText("A,B,C");
      for (int category = 0; category < 3; ++category)
        for (int n = 1; n <= 2; ++n) {
          const String name = manager->GetCategories()->Get(category) + IntToStr(n);
          AddButton(manager, name)->SetCategory(category);
        }
    });
  }

  // Each item's category by name, as "name:category name".
  std::map<String, String> CategoryNames() const {
    std::map<String, String> names;
    for (int i = 0; i < Manager->GetItemCount(); ++i) {
      TdxBarItem* item = Manager->GetItem(i);
      names[item->GetName()] = Manager->GetCategories()->Get(item->GetCategory());
    }
    return names;
  }

  static std::map<String, String> ItemsOnTheirOwnCategory() {
    std::map<String, String> names;
    for (const char* name : {"A1", "A2", "B1", "B2", "C1", "C2"})
      names[name] = String(1, name[0]);
    return names;
  }
};

} // namespace

TEST_F(CategoriesTest, ItemsStayOnTheirCategoryName) {
  const struct {
    const char* operation;
    std::function<void(TdxBarManagerCategories*)> apply;
    const char* order;
  } cases[] = {
      {"move 0 to 2", [](TdxBarManagerCategories* c) { c->Move(0, 2); }, "B,C,A"},
      {"move 2 to 0", [](TdxBarManagerCategories* c) { c->Move(2, 0); }, "C,A,B"},
      {"insert before 1", [](TdxBarManagerCategories* c) { c->Insert(1, "N"); }, "A,N,B,C"},
      {"add at the end", [](TdxBarManagerCategories* c) { c->Add("N"); }, "A,B,C,N"},
      {"exchange 0 and 2", [](TdxBarManagerCategories* c) { c->Exchange(0, 2); }, "C,B,A"},
      {"invalid move", [](TdxBarManagerCategories* c) { c->Move(0, 3); }, "A,B,C"},
      {"invalid exchange", [](TdxBarManagerCategories* c) { c->Exchange(-1, 1); }, "A,B,C"},
  };
  for (const auto& c : cases) {
    BuildThree();
    auto* categories = static_cast<TdxBarManagerCategories*>(Manager->GetCategories());
    c.apply(categories);
    EXPECT_EQ(categories->GetCommaText(), c.order) << c.operation;
    EXPECT_EQ(CategoryNames(), ItemsOnTheirOwnCategory()) << c.operation;
    delete Manager;
  }
}

TEST_F(CategoriesTest, MovingKeepsTheRecords) {
  BuildThree();
  Manager->SetCategoryVisible(0, false);
  static_cast<TdxBarManagerCategories*>(Manager->GetCategories())->Move(0, 2);
  EXPECT_TRUE(Manager->GetCategoryVisible(0));
  EXPECT_FALSE(Manager->GetCategoryVisible(2));
}

TEST_F(CategoriesTest, DeletingACategoryFreesItsItems) {
  BuildThree();
  Manager->GetCategories()->Delete(1);
  EXPECT_EQ(Manager->GetCategories()->GetCommaText(), "A,C");
  EXPECT_EQ(CategoryNames(), (std::map<String, String>{{"A1", "A"}, {"A2", "A"}, {"C1", "C"}, {"C2", "C"}}));
  EXPECT_EQ(Form->FindComponent("B1"), nullptr);
  Manager->GetCategories()->Delete(7);
  EXPECT_EQ(Manager->GetItemCount(), 4);
}

TEST_F(CategoriesTest, DeletingTheOnlyCategoryLeavesDefault) {
  Build([](TdxBarManager* manager) { AddButton(manager, "Open"); });
  Manager->GetCategories()->Delete(0);
  EXPECT_EQ(Manager->GetCategories()->GetCommaText(), "Default");
  EXPECT_EQ(Manager->GetItemCount(), 0);
}

TEST_F(CategoriesTest, SwitchesOutsideTheList) {
  BuildThree();
  EXPECT_EQ(Manager->GetCategoryItemsVisible(3), ivNever);
  EXPECT_FALSE(Manager->GetCategoryVisible(-1));
  EXPECT_EQ(Manager->GetCategoryItemsVisible(1), ivAlways);
  EXPECT_TRUE(Manager->GetCategoryVisible(1));
  Manager->SetCategoryItemsVisible(3, ivNever);
  Manager->SetCategoryVisible(3, false);
  EXPECT_EQ(Manager->GetCategories()->GetCount(), 3);
}

TEST_F(CategoriesTest, ItemsVisibilityChangesItemsThatHadTheOldValue) {
  BuildThree();
  Manager->GetItem(1)->SetVisible(ivInCustomizing); // A2
  Manager->SetCategoryItemsVisible(0, ivNever);
  EXPECT_EQ(Manager->GetItem(0)->GetVisible(), ivNever);
  EXPECT_EQ(Manager->GetItem(1)->GetVisible(), ivInCustomizing);
  EXPECT_EQ(Manager->GetItem(2)->GetVisible(), ivAlways);
  Manager->SetCategoryItemsVisible(0, ivAlways);
  EXPECT_EQ(Manager->GetItem(0)->GetVisible(), ivAlways);
  EXPECT_FALSE(Manager->GetLockUpdate());
}

TEST_F(CategoriesTest, AutoHideEmptyBars) {
  BuildThree();
  Manager->SetAutoHideEmptyBars(true);
  TdxBar* onlyA = Manager->GetBars()->Add();
  AddLink(onlyA->GetItemLinks(), Manager->GetItem(0));
  TdxBar* mixed = Manager->GetBars()->Add();
  AddLink(mixed->GetItemLinks(), Manager->GetItem(1));
  AddLink(mixed->GetItemLinks(), Manager->GetItem(2));
  TdxBar* empty = Manager->GetBars()->Add();
  for (TdxBar* bar : {onlyA, mixed, empty})
    bar->SetVisible(true);

  Manager->SetCategoryItemsVisible(0, ivNever);
  EXPECT_FALSE(onlyA->GetVisible());
  EXPECT_TRUE(onlyA->HiddenAutomatically);
  EXPECT_TRUE(mixed->GetVisible());
  // A bar that was empty before is neither hidden nor marked.
  EXPECT_TRUE(empty->GetVisible());
  EXPECT_FALSE(empty->HiddenAutomatically);

  Manager->SetCategoryItemsVisible(0, ivAlways);
  EXPECT_TRUE(onlyA->GetVisible());
  EXPECT_FALSE(onlyA->HiddenAutomatically);

  // Showing a bar by hand clears the mark; switching the option off too.
  Manager->SetCategoryItemsVisible(0, ivNever);
  Manager->SetAutoHideEmptyBars(false);
  EXPECT_FALSE(onlyA->HiddenAutomatically);
  Manager->SetCategoryItemsVisible(0, ivAlways);
  EXPECT_FALSE(onlyA->GetVisible());
}

TEST_F(CategoriesTest, ARecordMadeWhileLoadingKeepsItsItemsVisible) {
  Build([](TdxBarManager* manager) {
    manager->GetCategories()->SetCommaText("A,B");
    AddButton(manager, "A1")->SetCategory(0);
    AddButton(manager, "B1")->SetCategory(1);
    manager->SetCategoryVisible(0, false);
    manager->SetCategoryItemsVisible(1, ivInCustomizing);
  });
  EXPECT_EQ(Manager->GetItem(0)->GetVisible(), ivAlways);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(0), ivAlways);
  EXPECT_EQ(Manager->GetItem(1)->GetVisible(), ivInCustomizing);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(1), ivInCustomizing);
}

TEST_F(CategoriesTest, GroupsRefuseRecursion) {
  Build();
  TdxBarGroup* outer = Manager->AddGroup();
  TdxBarGroup* inner = Manager->AddGroup();
  outer->Add(inner);
  for (auto [group, member] : {std::pair{outer, outer}, std::pair{inner, outer}}) {
    try {
      group->Add(member);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "You cannot create recursive groups");
    }
  }
  EXPECT_EQ(outer->GetCount(), 1);
  EXPECT_EQ(inner->GetCount(), 0);
  outer->Add(inner);
  outer->Add(nullptr);
  outer->Add(Form.get());
  EXPECT_EQ(outer->GetCount(), 1);
}

TEST_F(CategoriesTest, GroupsPassEnabledAndVisibleToTheirMembers) {
  Build();
  auto* open = AddButton(Manager, "Open");
  auto* save = AddButton(Manager, "Save");
  TdxBarGroup* outer = Manager->AddGroup();
  TdxBarGroup* inner = Manager->AddGroup();
  outer->Add(open);
  outer->Add(inner);
  inner->Add(save);
  outer->SetEnabled(false);
  EXPECT_FALSE(open->GetEnabled());
  EXPECT_FALSE(save->GetEnabled());
  EXPECT_FALSE(inner->GetEnabled());
  outer->SetVisible(ivNever);
  EXPECT_EQ(save->GetVisible(), ivNever);
  EXPECT_FALSE(Manager->GetLockUpdate());
  // A freed member leaves the group.
  delete save;
  EXPECT_EQ(inner->GetCount(), 0);
  inner->SetIndex(0);
  EXPECT_EQ(Manager->GetGroup(0), inner);
  EXPECT_EQ(outer->GetIndex(), 1);
}
