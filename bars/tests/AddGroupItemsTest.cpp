#include "DesignTest.h"

#include "StdCtrls.h"

namespace {

// Categories "Default" (Open, Save) and "Empty" (nothing); groups made by
// each case.
class AddGroupItemsTest : public DesignTest {
protected:
  void SetUp() override {
    DesignTest::SetUp();
    BuildDesigned([](TdxBarManager* m) {
      m->GetCategories()->Add("Empty");
      AddButton(m, "Open", "Open file");
      AddButton(m, "Save", "Save file");
    });
  }

  // Opens the dialog for the group, records its rows, selects the rows with
  // the given texts and closes it with OK (or Cancel).
  bool Run(TdxBarGroup* group, const std::vector<String>& pick, bool ok, std::vector<TComponent*>& list) {
    guitest::AnswerNextForm([&](TCustomForm* form) {
      auto* dialog = static_cast<TfrmAddGroupItems*>(form);
      TStrings* rows = dialog->lbGroupItems->GetItems();
      Rows.clear();
      for (int i = 0; i < rows->GetCount(); ++i) {
        Rows.push_back(rows->Get(i));
        for (const String& text : pick)
          if (rows->Get(i) == text) dialog->lbGroupItems->SetSelected(i, true);
      }
      guitest::ClickControl(ok ? dialog->btnOk : dialog->btnCancel);
    });
    return AddGroupItemsDialog(group, list);
  }

  std::vector<String> Rows;
};

TEST_F(AddGroupItemsTest, OffersOtherGroupsAndTheItemsOfEachCategory) {
  TdxBarGroup* first = Manager->AddGroup();
  first->SetName("dxBarGroup1");
  TdxBarGroup* second = Manager->AddGroup();
  second->SetName("dxBarGroup2");
  std::vector<TComponent*> list;
  EXPECT_TRUE(Run(first, {"dxBarGroup2", "Save file"}, true, list));
  EXPECT_EQ(Rows, (std::vector<String>{"~< Groups >", "dxBarGroup2", "~Default", "Open file", "Save file"}));
  EXPECT_EQ(list, (std::vector<TComponent*>{second, Manager->FindItemByName("Save")}));
}

TEST_F(AddGroupItemsTest, ASingleGroupHasNoGroupsSectionAndCancelAddsNothing) {
  TdxBarGroup* group = Manager->AddGroup();
  std::vector<TComponent*> list;
  EXPECT_FALSE(Run(group, {"Open file"}, false, list));
  EXPECT_EQ(Rows, (std::vector<String>{"~Default", "Open file", "Save file"}));
  EXPECT_TRUE(list.empty());
  // A present member is offered again; picking it with a header adds only it.
  group->Add(Manager->FindItemByName("Open"));
  EXPECT_TRUE(Run(group, {"~Default", "Open file"}, true, list));
  EXPECT_EQ(list, (std::vector<TComponent*>{Manager->FindItemByName("Open")}));
}

} // namespace
