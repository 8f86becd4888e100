#include "BarsTest.h"

#include "GuiTest.h"

namespace {

class BarsModelTest : public BarsTest {
protected:
  // Two items, a "File" menu holding both and two bars: a main menu with the
  // menu, a tool bar with the second item.
  static void Definition(TdxBarManager* manager) {
    auto* open = AddButton(manager, "Open");
    auto* save = AddButton(manager, "Save");
    auto* file = new TdxBarSubItem(manager->GetOwnerForm());
    file->SetName("File");
    file->SetCategory(0);
    AddLink(file->GetItemLinks(), open);
    AddLink(file->GetItemLinks(), save, true)->SetMostRecentlyUsed(false);
    TdxBar* menu = manager->GetBars()->Add();
    menu->SetCaption("Main Menu");
    menu->SetIsMainMenu(true);
    AddLink(menu->GetItemLinks(), file);
    TdxBar* tools = manager->GetBars()->Add();
    tools->SetCaption("Tools");
    AddLink(tools->GetItemLinks(), save);
    AddLink(tools->GetItemLinks(), open)->SetMostRecentlyUsed(false);
    tools->SetDockingStyle(dsTop);
    tools->SetVisible(true);
  }

  // Presses a button of the next message box, keeping its text.
  static void AnswerBox(int button, String* text) {
    guitest::AnswerNextModal([=](HWND box) {
      *text = guitest::DialogText(box);
      PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    });
  }

  TdxBar* Bar(int index) const { return Manager->GetBars()->GetItem(index); }
};

} // namespace

TEST_F(BarsModelTest, LoadedBarsApplyTheirPendingState) {
  Build(Definition);
  EXPECT_TRUE(Bar(1)->GetVisible());
  EXPECT_EQ(Bar(1)->GetDockingStyle(), dsTop);
  EXPECT_TRUE(Bar(0)->CanReset());
  EXPECT_FALSE(Manager->GetModified());
  EXPECT_EQ(Bar(0)->GetName(), "") << "named only outside loading";
  TdxBar* added = Manager->GetBars()->Add();
  EXPECT_FALSE(added->CanReset());
}

TEST_F(BarsModelTest, OneMainMenu) {
  Build(Definition);
  EXPECT_EQ(Manager->GetMainMenuBar(), Bar(0));
  EXPECT_TRUE(Bar(0)->GetMultiLine());
  Bar(0)->SetMultiLine(false);
  EXPECT_TRUE(Bar(0)->GetMultiLine());
  Bar(1)->SetIsMainMenu(true);
  EXPECT_EQ(Manager->GetMainMenuBar(), Bar(1));
  EXPECT_FALSE(Bar(0)->GetIsMainMenu());
  EXPECT_FALSE(Bar(0)->GetMultiLine());
  EXPECT_FALSE(Bar(0)->GetWholeRow());
  EXPECT_TRUE(Bar(1)->GetWholeRow());
  EXPECT_FALSE(Bar(1)->CanClose());
  EXPECT_TRUE(Bar(0)->CanClose());
  delete Bar(1);
  EXPECT_EQ(Manager->GetMainMenuBar(), nullptr);
}

TEST_F(BarsModelTest, ClampedPositions) {
  Build();
  TdxBar* bar = Manager->GetBars()->Add();
  bar->SetRow(-3);
  bar->SetDockedLeft(-1);
  bar->SetDockedTop(-5);
  bar->SetFloatValue(1, -1);
  EXPECT_EQ(bar->GetRow(), 0);
  EXPECT_EQ(bar->GetDockedLeft(), 0);
  EXPECT_EQ(bar->GetDockedTop(), 0);
  EXPECT_EQ(bar->GetFloatValue(1), -1);
}

TEST_F(BarsModelTest, CaptionsAreUniqueAndNameTheBar) {
  Build();
  TdxBars* bars = Manager->GetBars();
  TdxBar* a = bars->Add();
  a->SetCaption("Edit");
  EXPECT_EQ(a->GetName(), "Edit");
  TdxBar* b = bars->Add();
  b->SetCaption("Edit");
  EXPECT_EQ(b->GetCaption(), "");
  a->SetCaption("Other");
  b->SetCaption("Edit");
  EXPECT_EQ(b->GetName(), "Edit1") << "the first bar keeps the name Edit";
  TdxBar* c = bars->Add();
  c->SetName("Tools1");
  TdxBar* d = bars->Add();
  a->SetName("Tools");
  d->SetCaption("Tools");
  EXPECT_EQ(d->GetName(), "Tools2");
  EXPECT_EQ(MakeUniqueBarName(bars, "tools"), "tools1") << "names compare exactly";
  EXPECT_EQ(Manager->FindBarByCaption("Tools"), d);
  EXPECT_EQ(Manager->FindBarByName("Tools1"), c);
  EXPECT_EQ(Manager->FindBarByName("tools1"), nullptr);
}

TEST_F(BarsModelTest, TheFontRule) {
  Build();
  TdxBar* bar = Manager->GetBars()->Add();
  EXPECT_EQ(bar->GetFont()->GetName(), Manager->GetFont()->GetName());
  Manager->GetFont()->SetName("Courier New");
  EXPECT_EQ(bar->GetFont()->GetName(), "Courier New");
  EXPECT_FALSE(bar->GetUseOwnFont());
  bar->GetFont()->SetName("Tahoma");
  EXPECT_TRUE(bar->GetUseOwnFont());
  Manager->GetFont()->SetName("Marlett");
  EXPECT_EQ(bar->GetFont()->GetName(), "Tahoma");
  bar->SetUseOwnFont(false);
  EXPECT_EQ(bar->GetFont()->GetName(), "Marlett");
}

TEST_F(BarsModelTest, StatusBarsAndEvents) {
  Build();
  std::vector<String> events;
  Manager->OnBarAdd = [&](TObject*, TdxBar*) { events.push_back("add"); };
  Manager->OnBarDelete = [&](TObject*, TdxBar*) { events.push_back("delete"); };
  Manager->OnBarVisibleChange = [&](TObject*, TdxBar*) { events.push_back("visible"); };
  Manager->OnBarDockingStyleChange = [&](TObject*, TdxBar*) { events.push_back("docking"); };
  TdxBar* bar = Manager->GetBars()->Add();
  bar->SetDockingStyle(dsBottom);
  bar->SetWholeRow(true);
  EXPECT_FALSE(bar->IsStatusBar());
  bar->BorderStyle = bbsNone;
  EXPECT_TRUE(bar->IsStatusBar());
  bar->SetVisible(true);
  bar->SetVisible(true);
  delete bar;
  EXPECT_EQ(events, (std::vector<String>{"add", "docking", "visible", "delete"}));
}

TEST_F(BarsModelTest, TheDetachingBarFollowsTheBar) {
  Build(Definition);
  auto* file = static_cast<TdxBarSubItem*>(Manager->FindItemByName("File"));
  file->SetDetachingBar(1);
  EXPECT_EQ(file->GetDetachingBarRef(), Bar(1));
  for (int invalid : {-5, 2})
    file->SetDetachingBar(invalid);
  EXPECT_EQ(file->GetDetachingBar(), -1);
  file->SetDetachingBar(1);
  delete Bar(0);
  EXPECT_EQ(file->GetDetachingBar(), 0);
  delete Bar(0);
  EXPECT_EQ(file->GetDetachingBar(), -1);
}

TEST_F(BarsModelTest, ResetGivesBackTheDefinition) {
  Build(Definition);
  std::vector<String> events;
  Manager->OnBarBeforeReset = [&](TObject*, TdxBar*) { events.push_back("before"); };
  Manager->OnBarAfterReset = [&](TObject*, TdxBar*) { events.push_back("after"); };
  TdxBarItemLinks* links = Bar(1)->GetItemLinks();
  links->GetItem(0)->SetItem(nullptr);
  AddLink(links, Manager->FindItemByName("File"));
  auto* file = static_cast<TdxBarSubItem*>(Manager->FindItemByName("File"));
  file->GetItemLinks()->GetItem(1)->SetItem(nullptr);
  const int forms = Screen->GetFormCount();

  String text;
  AnswerBox(IDCANCEL, &text);
  Bar(1)->ResetWithConfirmation();
  EXPECT_EQ(text, "Are you sure you want to reset the changes made to the 'Tools' toolbar?");
  EXPECT_EQ(links->GetCount(), 2);
  EXPECT_EQ(links->GetItem(0)->GetItem()->GetName(), "Open");
  EXPECT_TRUE(events.empty());

  guitest::AnswerMessageBox(IDOK);
  Bar(1)->ResetWithConfirmation();
  ASSERT_EQ(links->GetCount(), 2);
  EXPECT_EQ(links->GetItem(0)->GetItem(), Manager->FindItemByName("Save"))
      << "the item of the manager's own form";
  EXPECT_EQ(links->GetItem(1)->GetItem(), Manager->FindItemByName("Open"));
  EXPECT_FALSE(links->GetItem(1)->GetMostRecentlyUsed());
  EXPECT_EQ(events, (std::vector<String>{"before", "after"}));
  EXPECT_EQ(Screen->GetFormCount(), forms) << "the fresh form is freed";
  EXPECT_EQ(GetBarManagerOfForm(Form.get()), Manager);

  // The main menu's reset gives the menu its entries back.
  Bar(0)->Reset();
  ASSERT_EQ(file->GetItemLinks()->GetCount(), 2);
  EXPECT_EQ(file->GetItemLinks()->GetItem(1)->GetItem(), Manager->FindItemByName("Save"));
  EXPECT_TRUE(file->GetItemLinks()->GetItem(1)->GetStoredBeginGroup());
}

TEST_F(BarsModelTest, FullResetAssignsTheWholeBar) {
  Build(Definition);
  Manager->UseFullReset = true;
  Bar(1)->SetDockingStyle(dsLeft);
  Bar(1)->SetRow(4);
  Bar(1)->Reset();
  EXPECT_EQ(Bar(1)->GetDockingStyle(), dsTop);
  EXPECT_EQ(Bar(1)->GetRow(), 0);
  EXPECT_TRUE(Bar(1)->GetVisible());
  EXPECT_FALSE(Manager->GetLockUpdate());
}

TEST_F(BarsModelTest, NoResetWithoutADefinition) {
  Build();
  Manager->GetBars()->Add();
  int resets = 0;
  Manager->OnBarBeforeReset = [&](TObject*, TdxBar*) { ++resets; };
  Bar(0)->Reset();
  EXPECT_EQ(resets, 0);
}

TEST_F(BarsModelTest, UsageDataResetsToTheDefinition) {
  Build(Definition);
  auto* file = static_cast<TdxBarSubItem*>(Manager->FindItemByName("File"));
  TdxBarItemLinks* menu = file->GetItemLinks();
  menu->GetItem(0)->SetMostRecentlyUsed(false);
  menu->GetItem(1)->BringToTopInRecentList(true);
  TdxBarItemLinks* tools = Bar(1)->GetItemLinks();
  tools->GetItem(0)->SetMostRecentlyUsed(false);

  String text;
  AnswerBox(IDNO, &text);
  Manager->ResetUsageDataWithConfirmation();
  EXPECT_EQ(
      text,
      "This will delete the record of the commands you've used in this application and restore the default "
      "set of visible commands to the menus and toolbars. It will not undo any explicit customizations.   "
      "Are you sure you want to proceed?");
  EXPECT_FALSE(menu->GetItem(0)->GetMostRecentlyUsed());

  guitest::AnswerMessageBox(IDYES);
  Manager->ResetUsageDataWithConfirmation();
  EXPECT_TRUE(menu->GetItem(0)->GetMostRecentlyUsed());
  EXPECT_FALSE(menu->GetItem(1)->GetMostRecentlyUsed());
  EXPECT_EQ(menu->GetItem(1)->UseCount, 0);
  EXPECT_EQ(menu->GetRecentLink(0), menu->GetItem(0));
  EXPECT_TRUE(tools->GetItem(0)->GetMostRecentlyUsed());
  EXPECT_FALSE(tools->GetItem(1)->GetMostRecentlyUsed());
}
