// The toolbars list, the list of recently used entries and the in-place sub
// item: on a main menu opened by real clicks and keys.
#include "BarsTest.h"

#include "dxBarExtItems.h"

#include "GuiTest.h"

#include <vector>

namespace {

// A main menu of "File" (Open, the recent list "Recent", the in-place sub
// item "More" with Cut and Copy, Exit) and the toolbars list "Toolbars",
// docked at the top of the form, beside the closable toolbars "Standard"
// (shown) and "Format" (hidden).
class ListItemsTest : public BarsTest {
protected:
  void SetUp() override {
    Build([this](TdxBarManager* m) {
      File = new TdxBarSubItem(m->GetOwnerForm());
      File->SetName("File");
      File->SetCaption("File");
      AddLink(File->GetItemLinks(), AddButton(m, "Open"));
      Recent = new TdxBarMRUListItem(m->GetOwnerForm());
      Recent->SetName("Recent");
      Recent->SetCaption("Recent");
      for (const char* entry : {"a.sql", "b.sql", "c.sql"}) Recent->GetItems()->Add(entry);
      AddLink(File->GetItemLinks(), Recent);
      More = new TdxBarInPlaceSubItem(m->GetOwnerForm());
      More->SetName("More");
      More->SetCaption("&More");
      AddLink(More->GetItemLinks(), AddButton(m, "Cut"));
      AddLink(More->GetItemLinks(), AddButton(m, "Copy"));
      MoreLink = AddLink(File->GetItemLinks(), More, true);
      AddLink(File->GetItemLinks(), AddButton(m, "Exit"));
      Toolbars = new TdxBarToolbarsListItem(m->GetOwnerForm());
      Toolbars->SetName("Toolbars");
      Toolbars->SetCaption("Toolbars");
      TdxBar* menu = m->GetBars()->Add();
      menu->SetCaption("Main Menu");
      menu->SetIsMainMenu(true);
      AddLink(menu->GetItemLinks(), File);
      AddLink(menu->GetItemLinks(), Toolbars);
      AddLink(menu->GetItemLinks(), More);
      menu->SetDockingStyle(dsTop);
      menu->SetVisible(true);
      TdxBar* standard = m->GetBars()->Add();
      standard->SetCaption("Standard");
      standard->SetDockingStyle(dsTop);
      standard->SetVisible(true);
      TdxBar* format = m->GetBars()->Add();
      format->SetCaption("Format");
      format->SetDockingStyle(dsTop);
    });
    Manager->SetStyle(bmsStandard);
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

  TdxBarControl* MenuBar() const { return Manager->GetBars()->GetItem(0)->GetBarControl(); }
  TdxBar* Bar(int i) const { return Manager->GetBars()->GetItem(i); }
  static TdxBarSubMenuControl* MenuOf(TCustomdxBarSubItem* item) {
    return dynamic_cast<TdxBarSubMenuControl*>(item->GetItemLinks()->GetBarControl());
  }
  static TdxBarSubMenuControl* MenuOf(TdxBarItemLink* link) {
    return dynamic_cast<TdxBarSubMenuControl*>(link->GetBarControl());
  }
  static POINT Centre(const TRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  static void ClickLink(TCustomdxBarControl* window, int shown) {
    const POINT p = Centre(window->GetItemLinks()->GetShownLink(shown)->ItemRect);
    guitest::ClickAt(window->GetHandle(), p.x, p.y);
    guitest::PumpFor(50);
  }
  TdxBarSubMenuControl* OpenFile() {
    ClickLink(MenuBar(), 0);
    guitest::PumpUntil([&] { return MenuOf(File) && IsWindowVisible(MenuOf(File)->GetHandle()); });
    return MenuOf(File);
  }
  // The captions a window shows, with "|" before a link that begins a group.
  static std::vector<String> Shown(TCustomdxBarControl* window) {
    std::vector<String> captions;
    TdxBarItemLinks* links = window->GetItemLinks();
    for (int i = 0; i < links->GetShownCount(); ++i) {
      TdxBarItemLink* link = links->GetShownLink(i);
      captions.push_back((i > 0 && link->GetBeginGroup() ? "|" : "") + link->GetControl()->GetCaption());
    }
    return captions;
  }
  // A key as the hooks deliver it: WM_KEYDOWN to the head of the active chain.
  static void Key(WORD vk) {
    TCustomdxBarControl* head = ActiveBarControl();
    ASSERT_NE(head, nullptr);
    SendMessageA(head->GetHandle(), WM_KEYDOWN, vk, 0);
    guitest::PumpFor(20);
  }

  TdxBarSubItem* File = nullptr;
  TdxBarMRUListItem* Recent = nullptr;
  TdxBarInPlaceSubItem* More = nullptr;
  TdxBarItemLink* MoreLink = nullptr;
  TdxBarToolbarsListItem* Toolbars = nullptr;
};

} // namespace

TEST_F(ListItemsTest, TheRecentListKeepsAtMostItsCountAndShortensLongPathsInTheMiddle) {
  const struct {
    int set, stored;
    size_t kept;
  } cases[] = {{3, 3, 3}, {0, 0, 5}, {-2, 0, 5}, {7, 7, 5}};
  for (const auto& c : cases) {
    Recent->GetItems()->Clear();
    for (const char* entry : {"1", "2", "3", "4", "5"}) Recent->GetItems()->Add(entry);
    Recent->SetMaxItemCount(c.set);
    EXPECT_EQ(Recent->GetMaxItemCount(), c.stored) << c.set;
    ASSERT_EQ(static_cast<size_t>(Recent->GetItems()->GetCount()), c.kept) << c.set;
    EXPECT_EQ(Recent->GetItems()->Get(0), "1");
    EXPECT_EQ(Recent->GetItems()->Get(static_cast<int>(c.kept) - 1), IntToStr(static_cast<int>(c.kept)));
  }

  // A deep path keeps its start and its file name around an ellipsis; a
  // 5,000-character entry is shortened as well.
  String deep = "C:\\Projects";
  for (int i = 0; i < 12; ++i) deep += "\\folder" + IntToStr(i);
  deep += "\\schema.sql";
  String huge = "D:";
  while (huge.size() < 5000) huge += "\\directory";
  huge += "\\last.sql";
  for (const String& path : {deep, huge}) {
    const String shown = Recent->GetDisplayText(path);
    EXPECT_LT(shown.size(), path.size()) << path.size();
    EXPECT_NE(shown.find("..."), String::npos) << shown;
    EXPECT_EQ(shown.substr(0, 2), path.substr(0, 2)) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 8), path.substr(path.size() - 8)) << shown;
  }
  EXPECT_EQ(Recent->GetDisplayText("short.sql"), "short.sql");

  // In the menu the entry shows shortened, the list keeps the whole text.
  Recent->GetItems()->Clear();
  Recent->GetItems()->Add(deep);
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu)[1], "|&1 " + Recent->GetDisplayText(deep));
  EXPECT_EQ(Recent->GetItems()->Get(0), deep);
}

TEST_F(ListItemsTest, AClickedRecentEntryIsRemovedWhenAskedAndRemovalFindsByTextOrObject) {
  int clicks = 0;
  Recent->OnClick = [&](TObject*) { ++clicks; };
  Recent->RemoveItemOnClick = true;
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 a.sql", "&2 b.sql", "&3 c.sql", "|&More", "Exit"}));
  ClickLink(menu, 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Recent->ItemIndex, -1);
  ASSERT_EQ(Recent->GetItems()->GetCount(), 2);
  EXPECT_EQ(Recent->GetItems()->Get(1), "c.sql");

  // Kept when not asked.
  Recent->RemoveItemOnClick = false;
  menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  ClickLink(menu, 2);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Recent->ItemIndex, 1) << "c.sql, made anew after the removal";
  EXPECT_EQ(Recent->GetItems()->GetCount(), 2);

  TObject marker;
  Recent->GetItems()->AddObject("d.sql", &marker);
  Recent->RemoveItem("none.sql");
  EXPECT_EQ(Recent->GetItems()->GetCount(), 3) << "nothing to remove";
  Recent->RemoveItem("none.sql", &marker);
  EXPECT_EQ(Recent->GetItems()->IndexOf("d.sql"), -1) << "by the entry object";
  Recent->RemoveItem("a.sql");
  EXPECT_EQ(Recent->GetItems()->Get(0), "c.sql");
}

TEST_F(ListItemsTest, TheToolbarsListTogglesABarAndOpensNothingWhileCustomizing) {
  ClickLink(MenuBar(), 1);
  TdxBarSubMenuControl* menu = MenuOf(Toolbars);
  ASSERT_NE(menu, nullptr);
  guitest::PumpUntil([&] { return IsWindowVisible(menu->GetHandle()); });
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Standard", "Format"})) << "the main menu cannot be closed";
  auto* standard = dynamic_cast<TdxBarButton*>(menu->GetItemLinks()->GetItem(0)->GetItem());
  auto* format = dynamic_cast<TdxBarButton*>(menu->GetItemLinks()->GetItem(1)->GetItem());
  ASSERT_TRUE(standard && format);
  EXPECT_TRUE(standard->GetDown());
  EXPECT_FALSE(format->GetDown());
  EXPECT_FALSE(Toolbars->AllowsLinkCustomizing());

  ClickLink(menu, 1);
  EXPECT_EQ(MenuOf(Toolbars), nullptr);
  EXPECT_TRUE(Bar(2)->GetVisible()) << "Format shown";

  // Made anew at the next opening: the last entries are freed.
  ClickLink(MenuBar(), 1);
  menu = MenuOf(Toolbars);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(TempItems().size(), 2u) << "only this opening's entries";
  EXPECT_EQ(menu->GetItemLinks()->GetCount(), 2);
  EXPECT_TRUE(dynamic_cast<TdxBarButton*>(menu->GetItemLinks()->GetItem(1)->GetItem())->GetDown());
  Manager->DeactivateAll();
  guitest::PumpFor(20);

  Manager->SetCustomizing(true);
  auto* control = dynamic_cast<TdxBarSubItemControl*>(MenuBar()->GetItemLinks()->GetItem(1)->GetControl());
  ASSERT_NE(control, nullptr);
  control->Activate(true);
  EXPECT_EQ(MenuOf(Toolbars), nullptr);
}

TEST_F(ListItemsTest, AnInPlaceSubItemExpandsByClickAndByKeysWithASeparatorAfterTheBlock) {
  More->KeepBeginGroupWhileExpanded = true;
  std::vector<String> events;
  auto where = [this](TdxBarItemLink* link) { return String(link == MoreLink ? "menu" : "bar"); };
  More->OnAfterExpand = [&](TObject*, TdxBarItemLink* link) { events.push_back("after " + where(link)); };
  More->OnBeforeCollapse = [&](TObject*, TdxBarItemLink* link) { events.push_back("before " + where(link)); };
  int clicks = 0;
  More->OnClick = [&](TObject*) { ++clicks; };
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  const int more = 4; // Open, three recent entries
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 a.sql", "&2 b.sql", "&3 c.sql", "|&More", "Exit"}));
  auto* control = dynamic_cast<TdxBarInPlaceSubItemControl*>(MoreLink->GetControl());
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(control->ExpandsInPlace());
  EXPECT_FALSE(control->HasSubMenu());
  const int height = MoreLink->ItemRect.Height();

  ClickLink(menu, more);
  EXPECT_TRUE(More->GetExpanded());
  EXPECT_EQ(MenuOf(MoreLink), menu) << "the same menu, made again";
  EXPECT_EQ(Shown(menu),
            (std::vector<String>{"Open", "|&1 a.sql", "&2 b.sql", "&3 c.sql", "|&More", "Cut", "Copy", "|Exit"}));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(events, (std::vector<String>{"after menu", "after bar"})) << "for each link";
  EXPECT_EQ(MoreLink->ItemRect.Height(), height) << "the header keeps its place and height";
  ASSERT_NE(menu->GetItemLinks()->GetShownLink(7)->ItemRect.bottom, 0) << "Exit still fits";

  // The keys: Left collapses the selected header, Right expands it; the
  // selection stays on it.
  menu->SelectControl(MoreLink->GetControl());
  EXPECT_FALSE(MoreLink->GetControl()->WantsKey(VK_RIGHT));
  Key(VK_LEFT);
  EXPECT_FALSE(More->GetExpanded());
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 a.sql", "&2 b.sql", "&3 c.sql", "|&More", "Exit"}));
  EXPECT_EQ(events, (std::vector<String>{"after menu", "after bar", "before menu", "before bar"}));
  EXPECT_EQ(menu->GetSelectedControl(), MoreLink->GetControl());
  Key(VK_RIGHT);
  EXPECT_TRUE(More->GetExpanded());
  EXPECT_EQ(MenuOf(File), menu) << "Right opened no menu";
  EXPECT_EQ(menu->GetSelectedControl(), MoreLink->GetControl());
  EXPECT_EQ(Shown(menu).size(), 8u);

  // Closed while expanded, the menu gives its entries back; opened again it
  // shows them at once.
  Manager->DeactivateAll();
  guitest::PumpFor(20);
  EXPECT_EQ(File->GetItemLinks()->GetCount(), 4);
  menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu).size(), 8u);
}

TEST_F(ListItemsTest, ExpandingRebuildsEachMenuOnceAndThePainterDrawsTheHeader) {
  // A second link of the item in the same menu.
  AddLink(File->GetItemLinks(), More);
  int asked = 0;
  More->OnGetData = [&](TObject*) { ++asked; };
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(asked, 0) << "collapsed it lists nothing";
  More->SetExpanded(true);
  EXPECT_EQ(asked, 1) << "made again once, asked once for both links";
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 a.sql", "&2 b.sql", "&3 c.sql", "|&More", "Cut", "Copy",
                                              "Exit", "&More", "Cut", "Copy"}));

  // The header: a band in the button shadow with the caption in highlight
  // text and the arrow; the row below it in the menu's background.
  menu->SelectControl(nullptr);
  guitest::TCapture capture = guitest::TCapture::Paint(menu->GetHandle());
  capture.SavePng("bars_inplace_subitem");
  const TRect r = MoreLink->ItemRect;
  const TRect band(r.left, r.top, r.right, r.bottom - 1);
  EXPECT_GT(capture.CountPixels(band, GetSysColor(COLOR_BTNSHADOW)), band.Width() * band.Height() / 2);
  EXPECT_GT(capture.CountPixels(band, GetSysColor(COLOR_HIGHLIGHTTEXT)), 5) << "the caption";
  EXPECT_EQ(capture.CountPixels(TRect(r.left, r.bottom - 1, r.right, r.bottom), GetSysColor(COLOR_BTNSHADOW)), 0);
  const TRect arrowZone(r.right - menu->TextHeight, r.top, r.right, r.bottom - 1);
  EXPECT_GT(capture.CountPixels(arrowZone, GetSysColor(COLOR_BTNTEXT)), 3) << "the arrow";
  auto* control = dynamic_cast<TdxBarInPlaceSubItemControl*>(MoreLink->GetControl());
  ASSERT_NE(control, nullptr);
  const SIZE caption = TextExtentOnScreen(menu->GetFontHandle(), "More");
  EXPECT_EQ(control->GetDefaultWidth(), caption.cx + menu->TextHeight + 5);
}

TEST_F(ListItemsTest, OnAToolbarTheInPlaceSubItemOpensAMenuOfItsLinks) {
  ClickLink(MenuBar(), 2);
  TdxBarSubMenuControl* menu = MenuOf(More);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Cut", "Copy"}));
  auto* control = dynamic_cast<TdxBarInPlaceSubItemControl*>(MenuBar()->GetItemLinks()->GetItem(2)->GetControl());
  ASSERT_NE(control, nullptr);
  EXPECT_FALSE(control->ExpandsInPlace());
  EXPECT_TRUE(control->HasSubMenu());
  EXPECT_FALSE(More->GetExpanded());
}

TEST_F(ListItemsTest, TheHeaderIsShadedOrSelectedAndFramedInTheFlatLooks) {
  auto colourOf = [](HBRUSH brush) {
    LOGBRUSH info{};
    GetObjectA(brush, sizeof(info), &info);
    return info.lbColor;
  };
  const struct {
    TdxBarManagerStyle style;
    bool framed;
  } cases[] = {{bmsStandard, false}, {bmsFlat, true}, {bmsOffice11, true}};
  for (const auto& c : cases) {
    Manager->SetStyle(c.style);
    TdxBarSubMenuControl* menu = OpenFile();
    ASSERT_NE(menu, nullptr) << c.style;
    for (bool selected : {false, true}) {
      menu->SelectControl(selected ? MoreLink->GetControl() : nullptr);
      guitest::TCapture capture = guitest::TCapture::Paint(menu->GetHandle());
      const TRect r = MoreLink->ItemRect;
      const TRect band(r.left, r.top, r.right, r.bottom - 1);
      const COLORREF fill =
          colourOf(selected ? menu->GetSelectedBrush() : Manager->GetPainterClass()->GetShadowBrush());
      TRect inner = band;
      InflateRect(&inner, -1, -1);
      EXPECT_GT(capture.CountPixels(inner, fill), inner.Width() * inner.Height() / 2)
          << c.style << " selected " << selected;
      const bool frame = selected && c.framed;
      EXPECT_EQ(capture.Pixel(band.left, band.top) != fill, frame) << c.style << " selected " << selected;
    }
    Manager->DeactivateAll();
    guitest::PumpFor(20);
  }
}

TEST_F(ListItemsTest, ExpandedWithItsMenuClosedTheSeparatorGoesToTheEntryRightAfterTheItem) {
  // File: Open, Recent, More (Cut, Copy), Exit, Print, Close. With the menu
  // closed no copies stand after More: counting its own links would reach
  // past Exit to Close.
  AddLink(File->GetItemLinks(), AddButton(Manager, "Print"));
  AddLink(File->GetItemLinks(), AddButton(Manager, "Close"));
  More->KeepBeginGroupWhileExpanded = true;
  TdxBarItemLinks* links = File->GetItemLinks();
  More->SetExpanded(true);
  EXPECT_TRUE(links->GetItem(3)->GetBeginGroup()) << "Exit";
  EXPECT_FALSE(links->GetItem(5)->GetBeginGroup()) << "Close";
  TdxBarSubMenuControl* menu = OpenFile();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu), (std::vector<String>{"Open", "|&1 a.sql", "&2 b.sql", "&3 c.sql", "|&More", "Cut", "Copy",
                                              "|Exit", "Print", "Close"}));
  Manager->DeactivateAll();
  guitest::PumpFor(20);
  More->SetExpanded(false);
  EXPECT_FALSE(links->GetItem(3)->GetBeginGroup());
}
