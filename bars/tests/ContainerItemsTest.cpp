// Container items: the buttons a list item generates into a menu's links,
// their numbers, groups and check mark, the selected entry by position and
// among the data entries, clicks on them, and the copies a container item
// makes of its own links.
#include "BarsTest.h"

namespace {

class ContainerItemsTest : public BarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      Menu = new TdxBarSubItem(m->GetOwnerForm());
      Menu->SetName("Menu");
      Open = AddButton(m, "Open");
      AddLink(Menu->GetItemLinks(), Open);
      List = new TdxBarListItem(m->GetOwnerForm());
      List->SetName("Recent");
      List->SetCaption("Recent");
      Source = AddLink(Menu->GetItemLinks(), List);
      AddLink(Menu->GetItemLinks(), AddButton(m, "Exit"));
    });
  }
  void SetItems(std::initializer_list<const char*> items) {
    List->GetItems()->Clear();
    for (const char* item : items) List->GetItems()->Add(item);
  }
  // The captions of the menu's links, with "|" before a link that begins a
  // group.
  std::vector<String> Captions() const {
    std::vector<String> captions;
    TdxBarItemLinks* links = Menu->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      captions.push_back((links->GetItem(i)->GetBeginGroup() ? "|" : "") + links->GetItem(i)->GetItem()->GetCaption());
    return captions;
  }
  TdxBarSubItem* Menu = nullptr;
  TdxBarButton* Open = nullptr;
  TdxBarListItem* List = nullptr;
  TdxBarItemLink* Source = nullptr;
};

} // namespace

TEST_F(ContainerItemsTest, AListItemGeneratesNumberedButtonsWithGroupsAfterSeparators) {
  SetItems({"One", "-", "Two", "Three"});
  Source->UseCount = 7;
  List->AddListedLinks(Menu->GetItemLinks(), 2, Source, true);
  EXPECT_EQ(Captions(), (std::vector<String>{"Open", "Recent", "|&1 One", "|&2 Two", "&3 Three", "Exit"}));
  TdxBarItemLink* three = Menu->GetItemLinks()->GetItem(4);
  EXPECT_EQ(three->SourceLink, Source);
  EXPECT_EQ(three->GetSourceLink(), Source);
  EXPECT_EQ(three->UseCount, 7) << "the usage of the link they stand for";
  EXPECT_EQ(Open->GetLink(0)->GetSourceLink(), Open->GetLink(0)) << "an ordinary link stands for itself";

  List->RemoveListedLinks(Menu->GetItemLinks(), 2);
  EXPECT_EQ(Captions(), (std::vector<String>{"Open", "Recent", "Exit"}));

  // The tenth data entry is numbered with a letter; without numbers the
  // entry's own text.
  List->MarkDataStale();
  SetItems({"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten", "eleven"});
  List->AddListedLinks(Menu->GetItemLinks(), 3, nullptr, false);
  EXPECT_EQ(List->GetButton(9)->GetCaption(), "&A ten");
  EXPECT_EQ(List->GetButton(10)->GetCaption(), "&B eleven");
  List->RemoveListedLinks(Menu->GetItemLinks(), 3);
  List->ShowNumbers = false;
  List->MarkDataStale();
  List->AddListedLinks(Menu->GetItemLinks(), 3, nullptr, false);
  EXPECT_EQ(List->GetButton(9)->GetCaption(), "ten");
}

TEST_F(ContainerItemsTest, TheSelectedEntryByPositionAndAmongTheDataEntries) {
  SetItems({"One", "-", "Two", "Three"});
  List->ShowCheck = true;
  List->ItemIndex = 2;
  EXPECT_EQ(List->GetDataIndex(), 1);
  List->AddListedLinks(Menu->GetItemLinks(), 2, Source, false);
  ASSERT_EQ(List->GetButtonCount(), 3);
  EXPECT_TRUE(List->GetButton(1)->GetDown()) << "Two";
  EXPECT_EQ(List->GetButton(1)->GetButtonStyle(), bsChecked);
  EXPECT_FALSE(List->GetButton(0)->GetDown());

  const struct {
    int dataIndex, itemIndex, readBack;
  } cases[] = {{0, 0, 0}, {1, 2, 1}, {2, 3, 2}, {5, 4, -1}, {-1, 4, -1}};
  for (const auto& c : cases) {
    List->SetDataIndex(c.dataIndex);
    EXPECT_EQ(List->ItemIndex, c.itemIndex) << c.dataIndex;
    EXPECT_EQ(List->GetDataIndex(), c.readBack) << c.dataIndex;
  }
  SetItems({});
  List->SetDataIndex(0);
  EXPECT_EQ(List->ItemIndex, -1);
}

TEST_F(ContainerItemsTest, ClickingAGeneratedButtonSelectsItsEntryAndClicksTheListOnce) {
  SetItems({"One", "-", "Two", "Three"});
  std::vector<TdxBarItem*> clicked;
  int clicks = 0;
  Manager->OnClickItem = [&](TObject*, TdxBarItem* item) { clicked.push_back(item); };
  List->OnClick = [&](TObject*) { ++clicks; };
  List->AddListedLinks(Menu->GetItemLinks(), 2, Source, false);
  List->GetButton(2)->DirectClick();
  EXPECT_EQ(List->ItemIndex, 3);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(std::count(clicked.begin(), clicked.end(), List), 1);
}

TEST_F(ContainerItemsTest, GeneratedButtonsLastUntilNoLinkUsesThemAndGoWithTheList) {
  SetItems({"One", "Two"});
  List->AddListedLinks(Menu->GetItemLinks(), 2, Source, false);
  TdxBarButton* first = List->GetButton(0);
  // Still linked: clearing keeps them, and the captions stay until they
  // are made again.
  List->ClearData();
  EXPECT_EQ(List->GetButton(0), first);
  SetItems({"Uno", "Dos"});
  List->RemoveListedLinks(Menu->GetItemLinks(), 2);
  List->AddListedLinks(Menu->GetItemLinks(), 2, Source, false);
  EXPECT_EQ(Captions()[2], "|&1 One");
  List->RemoveListedLinks(Menu->GetItemLinks(), 2);
  List->MarkDataStale();
  List->AddListedLinks(Menu->GetItemLinks(), 2, Source, false);
  EXPECT_EQ(Captions()[2], "|&1 Uno") << "stale data are cleared first";

  // Freeing the list frees its buttons: their click handler is the list's.
  const int before = Form->GetComponentCount();
  delete List;
  EXPECT_EQ(Form->GetComponentCount(), before - 3);
  EXPECT_EQ(Captions(), (std::vector<String>{"Open", "Exit"}));
}

TEST_F(ContainerItemsTest, AFailingDataRequestIsSwallowedAndVisibilityFollowsTheData) {
  EXPECT_FALSE(List->CanBeVisible()) << "no strings, no data request";
  int asked = 0;
  List->OnGetData = [&](TObject*) {
    ++asked;
    throw Exception("no data");
  };
  EXPECT_TRUE(List->CanBeVisible());
  SetItems({"One"});
  EXPECT_NO_THROW(List->AddListedLinks(Menu->GetItemLinks(), 2, Source, true));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Captions()[2], "|&1 One") << "generated with the data as they are";
}

TEST_F(ContainerItemsTest, AContainerItemCopiesItsVisibleLinksIntoAnotherMenu) {
  auto* container = new TdxBarContainerItem(Form.get());
  EXPECT_FALSE(container->CanBeVisible());
  TdxBarButton* hidden = AddButton(Manager, "Hidden");
  hidden->SetVisible(ivNever);
  AddLink(container->GetItemLinks(), hidden);
  EXPECT_FALSE(container->CanBeVisible()) << "no visible link";
  AddLink(container->GetItemLinks(), AddButton(Manager, "Cut"));
  AddLink(container->GetItemLinks(), AddButton(Manager, "Copy"), true);
  EXPECT_TRUE(container->CanBeVisible());

  container->AddListedLinks(Menu->GetItemLinks(), 1, Source, false);
  EXPECT_EQ(Captions(), (std::vector<String>{"Open", "|Cut", "|Copy", "Recent", "Exit"}));
  EXPECT_EQ(Menu->GetItemLinks()->GetItem(1)->SourceLink, Source);
  container->AddListedLinks(container->GetItemLinks(), 0, nullptr, false);
  EXPECT_EQ(container->GetItemLinks()->GetCount(), 3) << "never into its own links";
  container->RemoveListedLinks(Menu->GetItemLinks(), 1);
  EXPECT_EQ(Captions(), (std::vector<String>{"Open", "Recent", "Exit"}));
}
