// The customizing dialog: opening and closing with the owner forms, the
// Toolbars page with its check squares and buttons, the name dialog, the
// Commands and Options pages.
#include "BarsTest.h"

#include "dxBarCustForm.h"
#include "dxBarEdits.h"
#include "dxBarStrs.h"

#include "GuiTest.h"
#include "InputThread.h"

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Registry.h"
#include "StdCtrls.h"

#include <atomic>
#include <vector>

namespace {

class CustFormTest : public BarsTest {
protected:
  void SetUp() override { RegisterBarCustomizingForm(); }
  void TearDown() override {
    if (Manager) Manager->SetCustomizing(false);
    UnregisterBarCustomizingForm();
  }

  // Categories "Default", "File" and an invisible "Secret"; a hidden bar
  // before the main menu and a tool bar.
  static void Definition(TdxBarManager* manager) {
    manager->GetCategories()->Add("File");
    manager->GetCategories()->Add("Secret");
    manager->SetCategoryVisible(2, false);
    auto* open = AddButton(manager, "Open", "&Open...");
    open->SetDescription("Opens a file");
    auto* save = AddButton(manager, "Save", "&Save");
    save->SetCategory(1);
    AddButton(manager, "Secret", "Secret")->SetCategory(2);
    TdxBar* hidden = manager->GetBars()->Add();
    hidden->SetCaption("Hidden");
    hidden->SetHidden(true);
    hidden->SetDockingStyle(dsTop);
    hidden->SetVisible(true);
    TdxBar* menu = manager->GetBars()->Add();
    menu->SetCaption("Main Menu");
    menu->SetIsMainMenu(true);
    menu->SetDockingStyle(dsTop);
    menu->SetVisible(true);
    AddLink(menu->GetItemLinks(), open);
    TdxBar* tools = manager->GetBars()->Add();
    tools->SetCaption("Tools");
    tools->SetDockingStyle(dsTop);
    tools->SetVisible(true);
    AddLink(tools->GetItemLinks(), save);
  }

  void ShowForm() {
    Form->SetBounds(200, 150, 500, 350);
    Form->Show();
    guitest::PumpFor(50);
  }

  TdxBarCustomizingForm* Open() {
    Manager->SetCustomizing(true);
    guitest::PumpFor(50);
    return ActiveCustomizingForm();
  }

  TdxBar* Bar(const String& caption) const { return Manager->FindBarByCaption(caption); }

  static std::vector<String> Rows(TListBox* list) {
    std::vector<String> rows;
    for (int i = 0; i < list->GetCount(); ++i)
      rows.push_back(list->GetItems()->Get(i));
    return rows;
  }

  // The centre of a row's check square, or of its caption.
  static POINT SquareOf(TListBox* list, int row) {
    const TRect r = list->ItemRect(row);
    return POINT{r.left + r.Height() / 2, (r.top + r.bottom) / 2};
  }
  static POINT CaptionOf(TListBox* list, int row) {
    const TRect r = list->ItemRect(row);
    return POINT{r.left + 60, (r.top + r.bottom) / 2};
  }

  // Answers the next name dialog with a text and OK, keeping its caption.
  // With a refusal expected, the message box is answered and the dialog,
  // which stays open, cancelled.
  static void AnswerName(const String& name, String* caption = nullptr, String* refusal = nullptr,
                         String* proposal = nullptr) {
    guitest::AnswerNextForm([=](TCustomForm* form) {
      auto* dialog = static_cast<TdxBarNameEd*>(form);
      if (caption) *caption = dialog->GetCaption();
      if (proposal) *proposal = dialog->EName->GetText();
      dialog->EName->SetText(name);
      if (refusal) {
        const HWND cancel = dialog->BCancel->GetHandle();
        guitest::AnswerNextModal([=](HWND box) {
          *refusal = guitest::DialogText(box);
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          PostMessageA(cancel, BM_CLICK, 0, 0);
        });
      }
      PostMessageA(dialog->BOK->GetHandle(), BM_CLICK, 0, 0);
    });
  }
};

} // namespace

// ---- Opening and closing ----

TEST_F(CustFormTest, OpeningDisablesEveryManagersFormAndClosingEnablesExactlyThose) {
  Build(Definition);
  ShowForm();
  TForm other(nullptr);
  CreateBarManager(&other, [](TdxBarManager*) {});
  other.Show();
  TForm before(nullptr);
  CreateBarManager(&before, [](TdxBarManager*) {});
  before.Show();
  EnableWindow(before.GetHandle(), FALSE);
  std::vector<String> events;
  Manager->OnShowCustomizingForm = [&](TObject* sender) {
    events.push_back(sender == Manager && !ActiveCustomizingForm() ? "show" : "bad show");
  };
  Manager->OnHideCustomizingForm = [&](TObject*) { events.push_back("hide"); };

  TdxBarCustomizingForm* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog->GetHandle()));
  EXPECT_EQ(GetWindow(dialog->GetHandle(), GW_OWNER), Form->GetHandle());
  EXPECT_EQ(GetWindowLongPtrA(dialog->GetHandle(), GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED),
            static_cast<LONG_PTR>(WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU));
  EXPECT_FALSE(IsWindowEnabled(Form->GetHandle()));
  EXPECT_FALSE(IsWindowEnabled(other.GetHandle()));

  // A second manager cannot open another dialog meanwhile.
  TdxBarManager* second = GetBarManagerOfForm(&other);
  second->SetCustomizing(true);
  EXPECT_EQ(ActiveCustomizingForm(), dialog);
  EXPECT_FALSE(second->GetCustomizing());

  guitest::ClickControl(dialog->BClose);
  ASSERT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingForm() == nullptr; }));
  EXPECT_FALSE(Manager->GetCustomizing());
  EXPECT_TRUE(IsWindowEnabled(Form->GetHandle()));
  EXPECT_TRUE(IsWindowEnabled(other.GetHandle()));
  EXPECT_FALSE(IsWindowEnabled(before.GetHandle())) << "a form disabled before stays disabled";
  EXPECT_EQ(events, (std::vector<String>{"show", "hide"}));
}

TEST_F(CustFormTest, EveryWayOfClosingEndsCustomizingOnce) {
  Build(Definition);
  ShowForm();
  struct Case {
    const char* way;
    std::function<void(TdxBarCustomizingForm*)> close;
  };
  const Case cases[] = {
      {"Esc", [](TdxBarCustomizingForm*) { guitest::PressKey(VK_ESCAPE); }},
      {"Enter", [](TdxBarCustomizingForm*) { guitest::PressKey(VK_RETURN); }},
      {"system menu",
       [](TdxBarCustomizingForm* d) { PostMessageA(d->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"manager", [this](TdxBarCustomizingForm*) { Manager->SetCustomizing(false); }},
      {"freed", [](TdxBarCustomizingForm* d) { delete d; }},
      {"window destroyed", [](TdxBarCustomizingForm* d) { DestroyWindow(d->GetHandle()); }},
  };
  for (const Case& c : cases) {
    int hides = 0;
    Manager->OnHideCustomizingForm = [&](TObject*) { ++hides; };
    TdxBarCustomizingForm* dialog = Open();
    ASSERT_NE(dialog, nullptr) << c.way;
    SetForegroundWindow(dialog->GetHandle());
    dialog->BClose->SetFocus();
    guitest::PumpFor(30);
    c.close(dialog);
    EXPECT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingForm() == nullptr; })) << c.way;
    guitest::PumpFor(30);
    EXPECT_FALSE(Manager->GetCustomizing()) << c.way;
    EXPECT_EQ(hides, 1) << c.way;
    EXPECT_TRUE(IsWindowEnabled(Form->GetHandle())) << c.way;
  }
}

TEST_F(CustFormTest, WithoutRegistrationCustomizingOpensNoDialog) {
  Build(Definition);
  ShowForm();
  UnregisterBarCustomizingForm();
  Manager->SetCustomizing(true);
  EXPECT_TRUE(Manager->GetCustomizing());
  EXPECT_EQ(ActiveCustomizingForm(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Form->GetHandle()));
}

TEST_F(CustFormTest, TheDialogShowsAndHidesWithItsOwnerForm) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  Form->Hide();
  guitest::PumpFor(30);
  EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
  Form->Show();
  guitest::PumpFor(30);
  EXPECT_TRUE(IsWindowVisible(dialog->GetHandle()));
}

TEST_F(CustFormTest, ADoubleClickOnADockOpensTheDialogOnlyWhenRegistered) {
  Build();
  ShowForm();
  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  Manager->SetDockControlHeights(0, 0, 30, 0);
  guitest::PumpFor(30);
  for (bool registered : {false, true}) {
    if (registered)
      RegisterBarCustomizingForm();
    else
      UnregisterBarCustomizingForm();
    guitest::DoubleClickAt(dock->GetHandle(), 40, 10);
    guitest::PumpFor(50);
    EXPECT_EQ(ActiveCustomizingForm() != nullptr, registered);
    EXPECT_EQ(Manager->GetCustomizing(), registered);
  }
}

// ---- Toolbars page ----

TEST_F(CustFormTest, TheToolbarListLeavesHiddenBarsOutAndSelectsTheFirstShownOne) {
  Build(Definition);
  Bar("Main Menu")->SetVisible(false);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  EXPECT_EQ(Rows(dialog->BarsListBox), (std::vector<String>{"Main Menu", "Tools"}));
  EXPECT_EQ(dialog->BarsListBox->GetItemIndex(), 1);
  // Toolbars of the definition may be reset but neither renamed nor deleted.
  EXPECT_FALSE(dialog->BBarRename->GetEnabled());
  EXPECT_FALSE(dialog->BBarDelete->GetEnabled());
  EXPECT_TRUE(dialog->BBarReset->GetEnabled());
}

TEST_F(CustFormTest, TheMainMenusSquareIsInactiveAndClickingItKeepsTheBar) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  TListBox* list = dialog->BarsListBox;
  auto capture = guitest::TCapture::Paint(list->GetHandle());
  // The main menu's check is drawn in the inactive colour, the tool bar's in
  // the button text colour.
  const TRect menu = list->ItemRect(0), tools = list->ItemRect(1);
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT), black = GetSysColor(COLOR_BTNTEXT);
  const RECT menuSquare{menu.left + 1, menu.top + 1, menu.left + menu.Height() - 1, menu.bottom - 1};
  const RECT toolsSquare{tools.left + 1, tools.top + 1, tools.left + tools.Height() - 1, tools.bottom - 1};
  EXPECT_GT(capture.CountPixels(menuSquare, grey), 0);
  EXPECT_EQ(capture.CountPixels(menuSquare, black), 0);
  EXPECT_GT(capture.CountPixels(toolsSquare, black), 0);
  POINT p = SquareOf(list, 0);
  guitest::ClickAt(list->GetHandle(), p.x, p.y);
  guitest::PumpFor(30);
  EXPECT_TRUE(Bar("Main Menu")->GetVisible());
}

TEST_F(CustFormTest, SquaresAndCaptionsToggleTheirToolbar) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  TListBox* list = dialog->BarsListBox;
  HWND wnd = list->GetHandle();
  struct Case {
    const char* what;
    std::function<void()> act;
    bool toggles;
  };
  const Case cases[] = {
      {"click on the square", [&] { guitest::ClickAt(wnd, SquareOf(list, 1).x, SquareOf(list, 1).y); }, true},
      {"click on the caption", [&] { guitest::ClickAt(wnd, CaptionOf(list, 1).x, CaptionOf(list, 1).y); }, false},
      {"right click on the square",
       [&] {
         guitest::MouseEventAt(wnd, SquareOf(list, 1).x, SquareOf(list, 1).y, MOUSEEVENTF_RIGHTDOWN);
         guitest::MouseEventAt(wnd, SquareOf(list, 1).x, SquareOf(list, 1).y, MOUSEEVENTF_RIGHTUP);
       },
       true},
      {"double click on the caption",
       [&] { guitest::DoubleClickAt(wnd, CaptionOf(list, 1).x, CaptionOf(list, 1).y); }, true},
      {"double click on the square", [&] { guitest::DoubleClickAt(wnd, SquareOf(list, 1).x, SquareOf(list, 1).y); },
       false},
      {"space", [&] {
         list->SetFocus();
         list->SetItemIndex(1);
         guitest::PressKey(VK_SPACE);
       }, true},
  };
  for (const Case& c : cases) {
    const bool before = Bar("Tools")->GetVisible();
    c.act();
    guitest::PumpFor(50);
    EXPECT_EQ(Bar("Tools")->GetVisible(), c.toggles ? !before : before) << c.what;
    // The square shows the state.
    auto capture = guitest::TCapture::Paint(wnd);
    const TRect r = list->ItemRect(1);
    const RECT square{r.left + 3, r.top + 3, r.left + r.Height() - 3, r.bottom - 3};
    EXPECT_EQ(capture.CountPixels(square, GetSysColor(COLOR_BTNTEXT)) > 0, Bar("Tools")->GetVisible()) << c.what;
  }
}

TEST_F(CustFormTest, NewToolbarsFloatBesideTheDialogAndMayBeRenamedAndDeleted) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  struct Case {
    int dialogLeft;
    const char* name;
  };
  // At the screen's left edge there is no room on the left.
  for (const Case& c : {Case{300, "Custom 1"}, Case{0, "Custom 2"}}) {
    dialog->SetBounds(c.dialogLeft, 100, dialog->GetWidth(), dialog->GetHeight());
    String caption, proposal;
    AnswerName(c.name, &caption, nullptr, &proposal);
    dialog->BBarNew->Click();
    TdxBar* bar = Bar(c.name);
    ASSERT_NE(bar, nullptr) << c.name;
    EXPECT_EQ(caption, "Add Toolbar");
    EXPECT_EQ(proposal, c.name) << "the first free number";
    EXPECT_EQ(bar->GetFloatValue(1), c.dialogLeft == 0 ? dialog->GetWidth() + 10 : c.dialogLeft - 50);
    EXPECT_EQ(bar->GetFloatValue(2), 100);
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetDockingStyle(), dsNone);
    EXPECT_EQ(dialog->BarsListBox->GetItems()->Get(dialog->BarsListBox->GetItemIndex()), c.name);
    EXPECT_TRUE(dialog->BBarRename->GetEnabled());
    EXPECT_TRUE(dialog->BBarDelete->GetEnabled());
  }

  // Renaming keeps the row selected; the same name is accepted.
  for (const char* name : {"Mine", "Mine"}) {
    String caption;
    AnswerName(name, &caption);
    dialog->BBarRename->Click();
    EXPECT_EQ(caption, "Rename Toolbar");
    EXPECT_EQ(dialog->BarsListBox->GetItems()->Get(dialog->BarsListBox->GetItemIndex()), "Mine");
    EXPECT_NE(Bar("Mine"), nullptr);
  }

  // Deleting asks, then selects the row now last.
  String question;
  guitest::AnswerNextModal([&](HWND box) {
    question = guitest::DialogText(box);
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  });
  dialog->BBarDelete->Click();
  EXPECT_EQ(question, "Are you sure you want to delete the 'Mine' toolbar?");
  EXPECT_NE(Bar("Mine"), nullptr);
  guitest::AnswerMessageBox(IDOK);
  dialog->BBarDelete->Click();
  EXPECT_EQ(Bar("Mine"), nullptr);
  EXPECT_EQ(Rows(dialog->BarsListBox), (std::vector<String>{"Main Menu", "Tools", "Custom 1"}));
  EXPECT_EQ(dialog->BarsListBox->GetItemIndex(), 2);
  EXPECT_EQ(Manager->GetBars()->GetCount(), 4);
}

TEST_F(CustFormTest, DeletingTheOnlyToolbarLeavesNoSelection) {
  Build();
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  AnswerName("Solo");
  dialog->BBarNew->Click();
  guitest::AnswerMessageBox(IDOK);
  dialog->BBarDelete->Click();
  EXPECT_EQ(dialog->BarsListBox->GetCount(), 0);
  EXPECT_EQ(dialog->BarsListBox->GetItemIndex(), -1);
  EXPECT_FALSE(dialog->BBarRename->GetEnabled());
  EXPECT_FALSE(dialog->BBarDelete->GetEnabled());
  EXPECT_FALSE(dialog->BBarReset->GetEnabled());
  EXPECT_EQ(Manager->GetBars()->GetCount(), 0);
}

TEST_F(CustFormTest, TheNameDialogRefusesAnotherToolbarsCaption) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  struct Case {
    const char* name;
    bool accepted;
  };
  const Case cases[] = {{"Tools", false}, {"TOOLS", true}};
  for (const Case& c : cases) {
    String refusal;
    AnswerName(c.name, nullptr, c.accepted ? nullptr : &refusal);
    dialog->BBarNew->Click();
    EXPECT_EQ(Bar(c.name) != nullptr && Bar(c.name)->GetDockingStyle() == dsNone, c.accepted) << c.name;
    if (!c.accepted) {
      EXPECT_EQ(refusal, "A toolbar named 'Tools' already exists. Type another name.");
    }
  }
  EXPECT_EQ(Manager->GetBars()->GetCount(), 4);
}

TEST_F(CustFormTest, TheNameDialogConfirmsOnlyANonEmptyName) {
  Build(Definition);
  ShowForm();
  Open();
  bool emptyEnabled = true, typedEnabled = false;
  guitest::AnswerNextForm([&](TCustomForm* form) {
    auto* dialog = static_cast<TdxBarNameEd*>(form);
    emptyEnabled = dialog->BOK->GetEnabled();
    dialog->EName->SetFocus();
    guitest::TypeText("x");
    guitest::PumpFor(20);
    typedEnabled = dialog->BOK->GetEnabled();
    guitest::ClickControl(dialog->BCancel);
  });
  String name;
  EXPECT_FALSE(EditBarName(name, 1, 0, nullptr, Manager));
  EXPECT_FALSE(emptyEnabled);
  EXPECT_TRUE(typedEnabled);
  EXPECT_EQ(name, "");
}

// ---- Commands page ----

TEST_F(CustFormTest, CategoriesListTheirVisibleCommands) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  EXPECT_EQ(Rows(dialog->LCategories), (std::vector<String>{"Default", "File"}));
  EXPECT_EQ(Rows(dialog->CommandsListBox), (std::vector<String>{"&Open..."}));
  dialog->PageControl->SetActivePage(dialog->TabSheet2);
  guitest::PumpFor(30);
  // A press on a row selects it and shows its description.
  TListBox* commands = dialog->CommandsListBox;
  guitest::ClickAt(commands->GetHandle(), 60, 10);
  guitest::PumpFor(30);
  EXPECT_EQ(commands->GetItemIndex(), 0);
  EXPECT_EQ(dialog->DescriptionLabel->GetCaption(), "Opens a file");
  // A right press on a category selects it.
  const TRect file = dialog->LCategories->ItemRect(1);
  guitest::MouseEventAt(dialog->LCategories->GetHandle(), 20, file.top + 3, MOUSEEVENTF_RIGHTDOWN);
  guitest::MouseEventAt(dialog->LCategories->GetHandle(), 20, file.top + 3, MOUSEEVENTF_RIGHTUP);
  guitest::PumpFor(30);
  EXPECT_EQ(dialog->LCategories->GetItemIndex(), 1);
  EXPECT_EQ(Rows(commands), (std::vector<String>{"&Save"}));
  EXPECT_EQ(dialog->DescriptionLabel->GetCaption(), "");
}

TEST_F(CustFormTest, AnEmptyCommandsListShowsOnlyItsBackground) {
  Build([](TdxBarManager* manager) { manager->GetCategories()->Add("Empty"); });
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  dialog->LCategories->SetItemIndex(1);
  dialog->LCategoriesClick();
  dialog->PageControl->SetActivePage(dialog->TabSheet2);
  dialog->CommandsListBox->SetFocus();
  guitest::PumpFor(30);
  auto capture = guitest::TCapture::Paint(dialog->CommandsListBox->GetHandle());
  const RECT all{0, 0, capture.Width(), capture.Height()};
  EXPECT_EQ(capture.CountPixels(all, GetSysColor(COLOR_BTNFACE)), capture.Width() * capture.Height());
}

// ---- Options page ----

TEST_F(CustFormTest, ThePanelFollowsTheStyleAndBothOfferEveryAnimation) {
  Build(Definition);
  ShowForm();
  for (TdxBarManagerStyle style : {bmsStandard, bmsFlat}) {
    Manager->SetStyle(style);
    TdxBarCustomizingForm* dialog = Open();
    EXPECT_EQ(dialog->StandardOptionsPanel->GetVisible(), style == bmsStandard);
    EXPECT_EQ(dialog->EnhancedOptionsPanel->GetVisible(), style != bmsStandard);
    // The style changes while the dialog is open: the other panel shows and
    // offers the fade too.
    Manager->SetStyle(style == bmsStandard ? bmsFlat : bmsStandard);
    EXPECT_EQ(dialog->StandardOptionsPanel->GetVisible(), style != bmsStandard);
    for (TComboBox* box : {dialog->ComboBoxMenuAnimations, dialog->ComboBoxMenuAnimationsEx}) {
      ASSERT_EQ(box->GetItems()->GetCount(), 5);
      EXPECT_EQ(box->GetItems()->Get(4), "Fade");
    }
    for (TCheckBox* box : {dialog->CBLargeIcons, dialog->CBLargeIconsEx})
      EXPECT_EQ(box->GetCaption(), "&Large icons");
    Manager->SetCustomizing(false);
  }
}

TEST_F(CustFormTest, OptionsFollowTheManagerAndSetIt) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  Manager->SetLargeIcons(true);
  EXPECT_TRUE(dialog->CBLargeIcons->GetChecked());
  EXPECT_TRUE(dialog->CBLargeIconsEx->GetChecked());
  Manager->SetMenuAnimations(maFade);
  EXPECT_EQ(dialog->ComboBoxMenuAnimations->GetItemIndex(), 4);
  EXPECT_EQ(dialog->ComboBoxMenuAnimationsEx->GetItemIndex(), 4);

  dialog->PageControl->SetActivePage(dialog->TabSheet3);
  guitest::PumpFor(30);
  guitest::ClickControl(dialog->CBLargeIconsEx);
  guitest::PumpFor(30);
  EXPECT_FALSE(Manager->GetLargeIcons());
  guitest::ClickControl(dialog->CBHint1Ex);
  guitest::PumpFor(30);
  EXPECT_FALSE(Manager->GetShowHint());
  EXPECT_FALSE(dialog->CBHint2Ex->GetEnabled());
  guitest::ClickControl(dialog->CBMenusShowRecentItemsFirst);
  guitest::PumpFor(30);
  EXPECT_FALSE(Manager->GetMenusShowRecentItemsFirst());
  EXPECT_FALSE(dialog->CBShowFullMenusAfterDelay->GetEnabled());
  dialog->ComboBoxMenuAnimationsEx->SetFocus();
  guitest::PressKey(VK_UP);
  guitest::PumpFor(30);
  EXPECT_EQ(Manager->GetMenuAnimations(), maSlide);
}

// ---- The pages, for a person to look at ----

TEST_F(CustFormTest, ThePagesAreDrawn) {
  Build(Definition);
  Manager->SetStyle(bmsXP);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  dialog->CommandsListBox->SetItemIndex(0);
  const std::pair<TTabSheet*, const char*> pages[] = {{dialog->TabSheet1, "bars_custform_toolbars"},
                                                      {dialog->TabSheet2, "bars_custform_commands"},
                                                      {dialog->TabSheet3, "bars_custform_options"}};
  for (const auto& [page, name] : pages) {
    dialog->PageControl->SetActivePage(page);
    guitest::PumpFor(50);
    auto capture = guitest::TCapture::Paint(dialog->GetHandle());
    capture.SavePng(name);
    // The Close button's caption fits it.
    const TRect close = dialog->BClose->GetBoundsRect();
    EXPECT_GT(close.Width(), TextExtentOnScreen(dialog->GetFont()->GetHandle(), "Close").cx + 40);
  }
}

// ---- A stored layout and resets ----

namespace {

const String kCustFormLayoutKey = "Software\\Velmora Customizing Test";

class CustFormStoreTest : public CustFormTest {
protected:
  void SetUp() override {
    CustFormTest::SetUp();
    Registry.DeleteKey("\\" + kCustFormLayoutKey);
  }
  void TearDown() override {
    CustFormTest::TearDown();
    Form.reset();
    Registry.DeleteKey("\\" + kCustFormLayoutKey);
  }

  void BuildStored() {
    Form = std::make_unique<TForm>(nullptr);
    Build([](TdxBarManager* manager) {
      Definition(manager);
      AddLink(manager->FindBarByCaption("Tools")->GetItemLinks(), manager->FindItemByName("Open"));
      manager->StoreInRegistry = true;
      manager->RegistryPath = kCustFormLayoutKey;
    });
    ShowForm();
  }

  std::vector<String> ToolsLinks() const {
    std::vector<String> names;
    TdxBarItemLinks* links = Bar("Tools")->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      names.push_back(links->GetItem(i)->GetItem()->GetName());
    return names;
  }

  TRegistry Registry;
};

} // namespace

TEST_F(CustFormStoreTest, WhatTheDialogChangedComesBackWithTheFormAndResetGivesTheDefinitionBack) {
  BuildStored();
  TdxBarCustomizingForm* dialog = Open();
  guitest::ClickAt(dialog->BarsListBox->GetHandle(), SquareOf(dialog->BarsListBox, 1).x,
                   SquareOf(dialog->BarsListBox, 1).y);
  guitest::PumpFor(30);
  ASSERT_FALSE(Bar("Tools")->GetVisible());
  AnswerName("Custom 1");
  dialog->BBarNew->Click();
  Bar("Tools")->GetItemLinks()->GetItem(1)->SetIndex(0);
  guitest::ClickControl(dialog->BClose);
  ASSERT_TRUE(guitest::PumpUntil([] { return ActiveCustomizingForm() == nullptr; }));

  BuildStored();
  ASSERT_NE(Bar("Custom 1"), nullptr) << "the user's toolbar is stored";
  EXPECT_TRUE(Bar("Custom 1")->GetVisible());
  EXPECT_FALSE(Bar("Tools")->GetVisible());
  EXPECT_EQ(ToolsLinks(), (std::vector<String>{"Open", "Save"}));

  dialog = Open();
  dialog->BarsListBox->SetItemIndex(1);
  dialog->UpdateToolbarButtons();
  ASSERT_TRUE(dialog->BBarReset->GetEnabled());
  guitest::AnswerMessageBox(IDOK);
  guitest::ClickControl(dialog->BBarReset);
  guitest::PumpUntil([] { return !guitest::AnswerPending(); });
  EXPECT_EQ(ToolsLinks(), (std::vector<String>{"Save", "Open"})) << "the defined order";
}

// ---- Dragging a command onto a toolbar ----

TEST_F(CustFormTest, ACommandDraggedFromTheListGoesOntoAToolbarAndEscCancels) {
  Build(Definition);
  ShowForm();
  TdxBarCustomizingForm* dialog = Open();
  dialog->PageControl->SetActivePage(dialog->TabSheet2);
  // The keys reach only the foreground window's thread.
  SetForegroundWindow(dialog->GetHandle());
  guitest::PumpUntil([&] { return GetForegroundWindow() == dialog->GetHandle(); });
  guitest::PumpFor(50);
  TListBox* commands = dialog->CommandsListBox;
  ASSERT_EQ(Rows(commands), (std::vector<String>{"&Open..."}));
  POINT from{40, 10};
  ClientToScreen(commands->GetHandle(), &from);
  TdxBarControl* tools = Bar("Tools")->GetBarControl();
  ASSERT_NE(tools, nullptr);
  TdxBarItemLinks* links = Bar("Tools")->GetItemLinks();
  // The right part of "Save": the drop goes after it.
  const TRect save = links->GetItem(0)->ItemRect;
  POINT to{save.right - save.Width() / 5, (save.top + save.bottom) / 2};
  ClientToScreen(tools->GetHandle(), &to);

  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "Esc" : "drop");
    guitest::SendMouseAt(from, 0);
    guitest::PumpFor(50);
    std::atomic<bool> sawDrag{false};
    std::vector<TInputThread::TStep> steps{{0, [=] { guitest::SendMouseAt(from, MOUSEEVENTF_LEFTDOWN); }}};
    for (int i = 1; i <= 6; ++i) {
      const POINT p{from.x + (to.x - from.x) * i / 6, from.y + (to.y - from.y) * i / 6};
      steps.push_back({60, [=] { guitest::SendMouseAt(p, 0); }});
    }
    steps.push_back({0, [&] {
                       for (int waited = 0; waited < 5000 && !Manager->GetDragging(); waited += 10)
                         Sleep(10);
                       sawDrag = Manager->GetDragging();
                     }});
    // The drag loop sees the pointer over the target, whatever moves the
    // drag detection took.
    steps.push_back({30, [=] { guitest::SendMouseAt(POINT{to.x + 1, to.y}, 0); }});
    steps.push_back({30, [=] { guitest::SendMouseAt(to, 0); }});
    if (cancel) {
      steps.push_back({30, [] { guitest::KeyDown(VK_ESCAPE); }});
      steps.push_back({30, [] { guitest::KeyUp(VK_ESCAPE); }});
    }
    steps.push_back({60, [=] { guitest::SendMouseAt(to, MOUSEEVENTF_LEFTUP); }});
    TInputThread input(std::move(steps));
    ASSERT_TRUE(guitest::PumpUntil([&] { return input.Done() && !Manager->GetDragging(); }, 15000));
    guitest::PumpFor(50);
    EXPECT_TRUE(sawDrag) << "the press and move on the list started the manager's drag";
    if (cancel) {
      EXPECT_EQ(links->GetCount(), 1) << "Esc changes nothing";
    } else {
      ASSERT_EQ(links->GetCount(), 2);
      EXPECT_EQ(links->GetItem(1)->GetItem()->GetName(), "Open") << "dropped after the last button";
      EXPECT_EQ(Manager->SelectedItemControl, links->GetItem(1)->GetControl()) << "the new link is picked";
    }
    EXPECT_EQ(Bar("Main Menu")->GetItemLinks()->GetCount(), 1);
    EXPECT_EQ(ActiveCustomizingForm(), dialog);
    EXPECT_EQ(commands->GetItemIndex(), 0);
    EXPECT_EQ(GetCapture(), nullptr);
  }
}
