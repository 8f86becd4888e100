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

// ---- In menus and in their own menus ----

namespace {

// A main menu of "File" (Open, the list "Recent", Exit), the list "Windows"
// and the container "Edit" (Cut, Copy), docked at the top of the form.
class ContainerMenusTest : public BarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      File = new TdxBarSubItem(m->GetOwnerForm());
      File->SetName("File");
      File->SetCaption("File");
      AddLink(File->GetItemLinks(), AddButton(m, "Open"));
      Recent = AddList(m, "Recent", {"One", "Two"});
      RecentLink = AddLink(File->GetItemLinks(), Recent);
      AddLink(File->GetItemLinks(), AddButton(m, "Exit"), true);
      Windows = AddList(m, "Windows", {"Alpha", "-", "Beta"});
      Edit = new TdxBarContainerItem(m->GetOwnerForm());
      Edit->SetName("Edit");
      Edit->SetCaption("Edit");
      AddLink(Edit->GetItemLinks(), AddButton(m, "Cut"));
      AddLink(Edit->GetItemLinks(), AddButton(m, "Copy"));
      TdxBar* bar = m->GetBars()->Add();
      bar->SetCaption("Main Menu");
      bar->SetIsMainMenu(true);
      AddLink(bar->GetItemLinks(), File);
      AddLink(bar->GetItemLinks(), Windows);
      AddLink(bar->GetItemLinks(), Edit);
      bar->SetDockingStyle(dsTop);
      bar->SetVisible(true);
    });
    Manager->SetStyle(bmsFlat);
    Manager->SetMenuAnimations(maNone);
    Manager->SetMenusShowRecentItemsFirst(false);
    Form->SetBounds(100, 100, 500, 300);
    Form->Show();
    SetCursorPos(5, 5);
    guitest::PumpFor(50);
  }

  void TearDown() override {
    Manager->SetCustomizing(false);
    Manager->DeactivateAll();
    MovePointerOff(MenuBar());
  }

  static TdxBarListItem* AddList(TdxBarManager* m, const String& name, std::initializer_list<const char*> items) {
    auto* list = new TdxBarListItem(m->GetOwnerForm());
    list->SetName(name);
    list->SetCaption(name);
    for (const char* item : items) list->GetItems()->Add(item);
    return list;
  }

  TdxBarControl* MenuBar() const { return Manager->GetBars()->GetItem(0)->GetBarControl(); }
  static TdxBarSubMenuControl* MenuOf(TCustomdxBarSubItem* item) {
    return dynamic_cast<TdxBarSubMenuControl*>(item->GetItemLinks()->GetBarControl());
  }
  static POINT Centre(const TRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  static void ClickLink(TCustomdxBarControl* window, int shown) {
    const POINT p = Centre(window->GetItemLinks()->GetShownLink(shown)->ItemRect);
    guitest::ClickAt(window->GetHandle(), p.x, p.y);
    guitest::PumpFor(50);
  }
  // Opens the menu of an entry of the main menu by a click.
  TdxBarSubMenuControl* Open(int entry, TCustomdxBarSubItem* item) {
    ClickLink(MenuBar(), entry);
    guitest::PumpUntil([&] { return MenuOf(item) && IsWindowVisible(MenuOf(item)->GetHandle()); });
    return MenuOf(item);
  }
  // The captions a window shows, with "|" before a link that begins a group.
  static std::vector<String> Shown(TCustomdxBarControl* window) {
    std::vector<String> captions;
    TdxBarItemLinks* links = window->GetItemLinks();
    for (int i = 0; i < links->GetShownCount(); ++i) {
      TdxBarItemLink* link = links->GetShownLink(i);
      captions.push_back((link->GetBeginGroup() ? "|" : "") + link->GetControl()->GetCaption());
    }
    return captions;
  }

  TdxBarSubItem* File = nullptr;
  TdxBarListItem* Recent = nullptr;
  TdxBarItemLink* RecentLink = nullptr;
  TdxBarListItem* Windows = nullptr;
  TdxBarContainerItem* Edit = nullptr;
};

} // namespace

TEST_F(ContainerMenusTest, InAMenuTheGeneratedEntriesStandInForTheListUntilTheMenuCloses) {
  int asked = 0, clicks = 0;
  Recent->OnGetData = [&](TObject*) { ++asked; };
  Recent->OnClick = [&](TObject*) { ++clicks; };
  RecentLink->UseCount = 9;
  TdxBarSubMenuControl* menu = Open(0, File);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 One", "&2 Two", "|Exit"}));
  EXPECT_EQ(RecentLink->GetCollection(), nullptr) << "the list's own link stands aside";
  EXPECT_EQ(menu->GetItemLinks()->GetShownLink(2)->GetSourceLink(), RecentLink);
  EXPECT_EQ(menu->GetItemLinks()->GetShownLink(2)->UseCount, 9);
  EXPECT_EQ(asked, 1);

  ClickLink(menu, 2);
  EXPECT_EQ(MenuOf(File), nullptr) << "the command closed the menus";
  EXPECT_EQ(Recent->ItemIndex, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(Recent->IsDataStale());
  // The menu is as it was: the list's link back in its place.
  ASSERT_EQ(File->GetItemLinks()->GetCount(), 3);
  EXPECT_EQ(File->GetItemLinks()->GetItem(1), RecentLink);
  EXPECT_EQ(RecentLink->GetVisibleIndex(), 1);

  // Opened again the data are asked for again, and a rebuild of the open
  // menu keeps one set of entries.
  Recent->GetItems()->Add("Three");
  menu = Open(0, File);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 One", "&2 Two", "&3 Three", "|Exit"}));
  menu->Rebuild();
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 One", "&2 Two", "&3 Three", "|Exit"}));
  guitest::PressKey(VK_ESCAPE);
  guitest::PumpUntil([&] { return MenuOf(File) == nullptr; }, 1000);
  EXPECT_EQ(File->GetItemLinks()->GetCount(), 3);
}

TEST_F(ContainerMenusTest, OnTheMenuBarAListOpensItsOwnMenuOfGeneratedEntries) {
  int clicks = 0;
  Windows->OnClick = [&](TObject*) { ++clicks; };
  TdxBarSubMenuControl* menu = Open(1, Windows);
  ASSERT_NE(menu, nullptr);
  EXPECT_NE(dynamic_cast<TContainerItemSubMenuControl*>(menu), nullptr);
  EXPECT_FALSE(menu->IsCustomizing()) << "generated entries are not customized";
  EXPECT_EQ(Shown(menu), (std::vector<String>{"&1 Alpha", "|&2 Beta"}));
  EXPECT_EQ(clicks, 0) << "opening its menu is no click";
  ClickLink(menu, 1);
  EXPECT_EQ(Windows->ItemIndex, 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(MenuOf(Windows), nullptr);
  EXPECT_EQ(Windows->GetItemLinks()->GetCount(), 0) << "the generated links went with the menu";
  EXPECT_TRUE(Windows->IsDataStale());

  // The container shows its own links in its menu; they stay after it.
  menu = Open(2, Edit);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Cut", "Copy"}));
  guitest::PressKey(VK_ESCAPE);
  guitest::PumpUntil([&] { return MenuOf(Edit) == nullptr; }, 1000);
  EXPECT_EQ(MenuOf(Edit), nullptr);
  EXPECT_EQ(Edit->GetItemLinks()->GetCount(), 2);
}

TEST_F(ContainerMenusTest, WhileCustomizingAContainerShowsItsCaptionInParenthesesAndOpensNoMenu) {
  Manager->SetCustomizing(true);
  auto* file = dynamic_cast<TdxBarSubItemControl*>(MenuBar()->GetItemLinks()->GetItem(0)->GetControl());
  ASSERT_NE(file, nullptr);
  file->Activate(true);
  TdxBarSubMenuControl* menu = MenuOf(File);
  ASSERT_NE(menu, nullptr);
  guitest::PumpFor(50);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "(Recent)", "|Exit"}));
  auto* control = dynamic_cast<TdxBarContainerItemControl*>(RecentLink->GetControl());
  ASSERT_NE(control, nullptr);
  EXPECT_FALSE(control->HasSubMenu());
  // Drawn as a plain menu line: the parenthesised caption, no arrow.
  guitest::TCapture capture = guitest::TCapture::Paint(menu->GetHandle());
  capture.SavePng("bars_container_customizing");
  const TRect r = RecentLink->ItemRect;
  const int arrowZone = capture.CountPixels(TRect(r.right - menu->TextHeight, r.top, r.right, r.bottom),
                                            GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(arrowZone, 0) << "no sub-menu arrow";
  EXPECT_GT(capture.CountPixels(r, GetSysColor(COLOR_BTNTEXT)), 10) << "the caption";
  file->Deactivate(true);

  auto* windows = dynamic_cast<TdxBarContainerItemControl*>(MenuBar()->GetItemLinks()->GetItem(1)->GetControl());
  ASSERT_NE(windows, nullptr);
  EXPECT_EQ(windows->GetCaption(), "Windows") << "on a toolbar without parentheses";
  windows->Activate(true);
  EXPECT_EQ(MenuOf(Windows), nullptr) << "no menu while customizing";
  EXPECT_EQ(Windows->GetItemLinks()->GetCount(), 0);
}

TEST_F(ContainerMenusTest, AContainerFreedWhileItsMenuIsOpenLeavesNoLinksBehind) {
  AddLink(File->GetItemLinks(), Edit);
  TdxBarSubMenuControl* menu = Open(0, File);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 One", "&2 Two", "|Exit", "|Cut", "Copy"}));
  delete Edit;
  Edit = nullptr;
  delete Recent;
  Recent = nullptr;
  guitest::PressKey(VK_ESCAPE);
  guitest::PumpUntil([&] { return MenuOf(File) == nullptr; }, 1000);
  ASSERT_EQ(MenuOf(File), nullptr);
  ASSERT_EQ(File->GetItemLinks()->GetCount(), 2);
  EXPECT_EQ(File->GetItemLinks()->GetItem(0)->GetItem()->GetCaption(), "Open");
  EXPECT_EQ(File->GetItemLinks()->GetItem(1)->GetItem()->GetCaption(), "Exit");
}
