#include "BarsTest.h"

namespace {

class LinksTest : public BarsTest {
protected:
  void SetUp() override {
    Build();
    Links = std::make_unique<TdxBarItemLinks>(Manager, nullptr);
  }
  void TearDown() override { Links.reset(); }

  // Links to new buttons named by the letters; "|" before a letter begins a
  // group.
  void AddLinks(const String& spec) {
    bool group = false;
    for (char c : spec) {
      if (c == '|') {
        group = true;
        continue;
      }
      AddLink(Links.get(), AddButton(Manager, String(1, c)), group);
      group = false;
    }
  }

  TdxBarItemLink* Link(char name) const {
    for (int i = 0; i < Links->GetCount(); ++i)
      if (Links->GetItem(i)->GetItem()->GetName() == String(1, name)) return Links->GetItem(i);
    return nullptr;
  }

  // The shown links, "|" before one that begins a group.
  String Shown() const {
    String s;
    for (int i = 0; i < Links->GetShownCount(); ++i) {
      TdxBarItemLink* link = Links->GetShownLink(i);
      if (link->GetBeginGroup()) s += '|';
      s += link->GetItem()->GetName();
    }
    return s;
  }

  String Recent() const {
    String s;
    for (int i = 0; i < Links->GetRecentCount(); ++i)
      s += Links->GetRecentLink(i)->GetItem()->GetName();
    return s;
  }

  std::unique_ptr<TdxBarItemLinks> Links;
};

} // namespace

TEST_F(LinksTest, SeparatorsPassToTheNextShownLink) {
  const struct {
    const char* links;
    const char* hiddenLinks;
    const char* hiddenItems;
    const char* shown;
  } cases[] = {
      {"|ABC", "", "", "ABC"}, {"A|BC", "B", "", "A|C"}, {"A|B|C", "B", "", "A|C"},
      {"A|BC", "", "B", "AC"}, {"|AB", "A", "", "B"},
  };
  for (const auto& c : cases) {
    while (Manager->GetItemCount() > 0)
      delete Manager->GetItem(0);
    AddLinks(c.links);
    for (const char* p = c.hiddenLinks; *p; ++p)
      Link(*p)->SetVisible(false);
    for (const char* p = c.hiddenItems; *p; ++p)
      Link(*p)->GetItem()->SetVisible(ivNever);
    EXPECT_EQ(Shown(), c.shown) << c.links << " " << c.hiddenLinks << " " << c.hiddenItems;
  }
}

TEST_F(LinksTest, TheFourLists) {
  AddLinks("ABCD");
  Link('B')->SetVisible(false);
  Link('C')->GetItem()->SetVisible(ivInCustomizing);
  EXPECT_EQ(Links->GetAvailableCount(), 3);
  EXPECT_EQ(Links->GetVisibleCount(), 2);
  EXPECT_EQ(Shown(), "AD");
  EXPECT_EQ(Link('B')->GetAvailableIndex(), 1);
  EXPECT_EQ(Link('B')->GetVisibleIndex(), -1);
  Manager->SetCustomizing(true);
  Links->RebuildLists();
  EXPECT_EQ(Shown(), "ACD");
}

TEST_F(LinksTest, RecentItemCountLimitsTheShownLinks) {
  AddLinks("ABCD");
  EXPECT_EQ(Recent(), "ABCD");
  Links->SetRecentItemCount(0);
  EXPECT_EQ(Shown(), "");
  Links->SetRecentItemCount(2);
  EXPECT_EQ(Shown(), "AB");
  Link('D')->BringToTopInRecentList(true);
  EXPECT_EQ(Link('D')->UseCount, 21);
  EXPECT_EQ(Shown(), "AD");
  Links->RestoreRecentItemCount();
  EXPECT_EQ(Shown(), "");
  Links->SetRecentItemCount(-1);
  EXPECT_EQ(Shown(), "ABCD");
  // Without recent items in force all are shown.
  Manager->SetStyle(bmsStandard);
  Links->SetRecentItemCount(1);
  EXPECT_EQ(Shown(), "ABCD");
}

TEST_F(LinksTest, RecentCountOfPersonalisedMenus) {
  AddLinks("ABCD");
  for (char c : String("ABCD"))
    Link(c)->UseCount = 0;
  Link('B')->UseCount = 10;
  Link('B')->BringToTopInRecentList(false);
  EXPECT_EQ(Links->GetRecentItemCount(), 1);
  Manager->SetMostRecentItemsPercents(100);
  EXPECT_EQ(Links->GetRecentItemCount(), -1);
  Manager->SetStyle(bmsStandard);
  EXPECT_EQ(Links->GetRecentItemCount(), -1);
}

TEST_F(LinksTest, MostRecentlyUsedAndUsageReset) {
  AddLinks("ABC");
  EXPECT_EQ(Link('A')->UseCount, 20);
  Link('A')->SetMostRecentlyUsed(false);
  EXPECT_EQ(Link('A')->UseCount, 0);
  EXPECT_EQ(Recent(), "BCA");
  Link('B')->MoveToRecentEnd();
  EXPECT_EQ(Recent(), "CAB");
  Link('A')->SetMostRecentlyUsed(true);
  EXPECT_EQ(Link('A')->UseCount, 20);
  EXPECT_EQ(Recent(), "ACB");
}

TEST_F(LinksTest, NormalizeKeepsVisibleLinksInFront) {
  AddLinks("ABCD");
  Link('C')->SetVisible(false);
  Link('A')->SetVisible(false);
  EXPECT_EQ(Recent(), "BDCA");
  Link('C')->SetVisible(true); // to the front
  Link('D')->SetVisible(false);
  EXPECT_EQ(Recent(), "CBAD");
  Links->NormalizeRecentOrder();
  EXPECT_EQ(Recent(), "CBAD");
  Link('B')->MoveToRecentEnd();
  EXPECT_EQ(Recent(), "CADB");
  Links->NormalizeRecentOrder();
  EXPECT_EQ(Recent(), "CBAD");
}

TEST_F(LinksTest, StoredStateAppliesPendingOrder) {
  AddLinks("ABC");
  Link('A')->PendingRecentIndex = 0;
  Link('A')->PendingUseCount = 5;
  Link('C')->PendingRecentIndex = 2;
  Link('B')->SetMostRecentlyUsed(false);
  Links->ApplyStoredState(false);
  EXPECT_EQ(Recent(), "ABC");
  EXPECT_EQ(Link('A')->UseCount, 5);
  EXPECT_EQ(Link('B')->UseCount, 0);
  EXPECT_EQ(Link('A')->PendingRecentIndex, -1);
}

TEST_F(LinksTest, UserOverrides) {
  AddLinks("A");
  TdxBarItemLink* link = Link('A');
  link->SetUserWidth(5);
  EXPECT_EQ(link->GetUserWidth(), 20);
  EXPECT_EQ(link->GetWidth(), 20);
  EXPECT_TRUE(link->GetUserDefine().Contains(udWidth));
  int changes = 0;
  Manager->OnItemLinkChange = [&](TObject*, TdxBarItemLink*) { ++changes; };
  link->SetUserWidth(20);
  EXPECT_EQ(changes, 0);
  link->SetUserDefine({});
  EXPECT_EQ(link->GetUserWidth(), 0);
  EXPECT_EQ(changes, 1);

  link->SetUserPaintStyle(psStandard);
  EXPECT_FALSE(link->GetUserDefine().Contains(udPaintStyle));
  static_cast<TdxBarButton*>(link->GetItem())->SetPaintStyle(psCaption);
  EXPECT_EQ(link->GetPaintStyle(), psCaption);
  link->SetUserPaintStyle(psCaptionGlyph);
  EXPECT_EQ(link->GetPaintStyle(), psCaptionGlyph);

  TBitmap glyph;
  link->SetUserGlyph(&glyph);
  EXPECT_TRUE(link->GetUserDefine().Contains(udGlyph));
  EXPECT_EQ(link->GetGlyph(), link->GetUserGlyph());
  link->SetUserCaption("Mine");
  EXPECT_EQ(link->GetCaption(), "Mine");
  link->SetUserDefine({udWidth});
  EXPECT_EQ(link->GetCaption(), "A");
  EXPECT_EQ(link->GetUserCaption(), "");
  EXPECT_EQ(link->GetPaintStyle(), psCaption);
}

TEST_F(LinksTest, AcceleratorsOfCaptions) {
  AddLinks("A");
  TdxBarItemLink* link = Link('A');
  const struct {
    const char* caption;
    WORD key;
    TShiftState shift;
    bool matches;
  } cases[] = {
      {"&Open", 'O', {}, true},           {"&Open", 'O', {ssShift}, true}, {"&open", 'O', {ssShift}, false},
      {"&open", 'O', {}, true},           {"A&&B &Copy", 'C', {}, true},   {"A&&B &Copy", 'B', {}, false},
      {"Save&", 'S', {}, false},          {"No accel", 'N', {}, false},    {"Item &2", '2', {}, true},
      {"Item &2", '2', {ssShift}, false}, {"&Open", 'P', {}, false},
  };
  for (const auto& c : cases) {
    link->GetItem()->SetCaption(c.caption);
    EXPECT_EQ(link->MatchesAccelerator(c.key, c.shift), c.matches) << c.caption << " " << c.key;
  }
}

TEST_F(LinksTest, MenuAcceleratorSearchExaminesTheStartLast) {
  AddLinks("ABCD");
  for (char c : String("ABCD"))
    Link(c)->GetItem()->SetCaption(c == 'C' ? "&Cut" : "&Copy");
  EXPECT_EQ(Links->FindAcceleratorLink('C', {ssAlt}, Link('A')), Link('B'));
  EXPECT_EQ(Links->FindAcceleratorLink('C', {}, Link('D')), Link('A'));
  Link('B')->GetItem()->SetEnabled(false);
  Link('C')->GetItem()->SetEnabled(false);
  Link('D')->GetItem()->SetEnabled(false);
  EXPECT_EQ(Links->FindAcceleratorLink('C', {}, Link('A')), Link('A'));
  EXPECT_EQ(Links->FindAcceleratorLink('X', {}, nullptr), nullptr);
}

TEST_F(LinksTest, RecursiveSubItemsAreRefusedAtAnyDepth) {
  auto* file = new TdxBarSubItem(Form.get());
  auto* recent = new TdxBarSubItem(Form.get());
  auto* deeper = new TdxBarSubItem(Form.get());
  AddLink(file->GetItemLinks(), recent);
  AddLink(recent->GetItemLinks(), deeper);
  for (auto [owner, item] : {std::pair{file, file}, std::pair{deeper, file}, std::pair{deeper, recent}}) {
    TdxBarItemLink* link = owner->GetItemLinks()->Add();
    try {
      link->SetItem(item);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "You cannot create recursive subitems");
    }
    EXPECT_EQ(link->GetItem(), nullptr);
  }
  EXPECT_TRUE(CanItemBeLinked(file, deeper));
  EXPECT_TRUE(file->GetItemLinks()->ContainsItem(deeper));
}

namespace {

// A menu of links, as a popup menu is to a drop-down button.
class TLinksMenu : public TComponent {
public:
  explicit TLinksMenu(TdxBarManager* manager) : TComponent(nullptr), Links(manager, this) {}
  TdxBarItemLinks Links;
};

} // namespace

TEST_F(LinksTest, ADropDownButtonStaysOutOfTheMenusItsMenuHolds) {
  TLinksMenu menu(Manager);
  auto* edit = new TdxBarSubItem(Form.get());
  auto* paste = new TdxBarSubItem(Form.get());
  auto* elsewhere = new TdxBarSubItem(Form.get());
  edit->SetName("Edit");
  paste->SetName("Paste");
  elsewhere->SetName("Elsewhere");
  AddLink(&menu.Links, edit);
  AddLink(edit->GetItemLinks(), paste);
  auto* button = AddButton(Manager, "Undo");
  button->SetButtonStyle(bsDropDown);
  EXPECT_TRUE(CanItemBeLinked(edit, button)) << "no drop-down menu yet";
  button->SetDropDownMenu(&menu);
  const struct {
    TdxBarSubItem* owner;
    bool allowed;
  } cases[] = {{edit, false}, {paste, false}, {elsewhere, true}};
  for (const auto& c : cases)
    EXPECT_EQ(CanItemBeLinked(c.owner, button), c.allowed) << c.owner->GetName();
  TdxBarItemLink* link = paste->GetItemLinks()->Add();
  EXPECT_THROW(link->SetItem(button), Exception);
  EXPECT_EQ(link->GetItem(), nullptr);
  AddLink(elsewhere->GetItemLinks(), button);
  EXPECT_EQ(elsewhere->GetItemLinks()->GetCount(), 1);
  button->SetDropDownMenu(nullptr);
}

TEST_F(LinksTest, ShortCutsAreFoundThroughSubItems) {
  auto* file = new TdxBarSubItem(Form.get());
  auto* open = AddButton(Manager, "Open");
  open->SetShortCut(scCtrl | 'O');
  int opened = 0;
  open->OnClick = [&](TObject*) { ++opened; };
  AddLink(file->GetItemLinks(), open);
  AddLinks("A");
  AddLink(Links.get(), file);
  EXPECT_TRUE(Links->IsShortCut(scCtrl | 'O'));
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(Links->IsShortCut(0));
  EXPECT_FALSE(Links->IsShortCut(scCtrl | 'P'));
  file->SetEnabled(false);
  EXPECT_FALSE(Links->IsShortCut(scCtrl | 'O'));
  EXPECT_EQ(opened, 1);
}

TEST_F(LinksTest, SettingNoItemFreesTheLink) {
  AddLinks("AB");
  int deleted = 0;
  Manager->OnItemLinkDelete = [&](TObject*, TdxBarItemLink*) { ++deleted; };
  Link('A')->SetItem(nullptr);
  EXPECT_EQ(Links->GetCount(), 1);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(Recent(), "B");
}

TEST_F(LinksTest, AssignCopiesLinksAndEffectiveGroups) {
  AddLinks("A|B|C");
  Link('B')->SetVisible(false);
  Link('A')->SetUserCaption("First");
  TdxBarItemLinks copy(Manager, nullptr);
  copy.Assign(Links.get());
  ASSERT_EQ(copy.GetCount(), 3);
  EXPECT_EQ(copy.GetItem(0)->GetCaption(), "First");
  EXPECT_FALSE(copy.GetItem(1)->GetVisible());
  EXPECT_TRUE(copy.GetItem(2)->GetStoredBeginGroup());
  EXPECT_EQ(copy.GetItem(2)->GetItem(), Link('C')->GetItem());
}

TEST_F(LinksTest, LinkEvents) {
  std::vector<String> events;
  Manager->OnItemLinkAdd = [&](TObject*, TdxBarItemLink*) { events.push_back("add"); };
  Manager->OnItemLinkChange = [&](TObject*, TdxBarItemLink*) { events.push_back("change"); };
  AddLinks("A");
  EXPECT_EQ(events, (std::vector<String>{"add", "change"}));
}
