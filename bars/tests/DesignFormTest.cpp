// The customizing dialog of a designed manager: the All commands and Groups
// pages, with a recording designer hook.
#include "DesignTest.h"

#include "dxBarCustForm.h"
#include "dxBarDesignForm.h"
#include "dxBarEdits.h"

#include "GuiTest.h"

#include "ActnList.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "StdCtrls.h"

#include <algorithm>

namespace {

// Categories "Default" and "File"; buttons Open (Ctrl+O) and Save, an edit
// Find, and a button Loose without a category.
class DesignFormTest : public DesignTest {
protected:
  void SetUp() override {
    DesignTest::SetUp();
    RegisterBarCustomizingForm();
  }
  void TearDown() override {
    if (Manager) Manager->SetCustomizing(false);
    guitest::PumpFor(20);
    UnregisterBarCustomizingForm();
    DesignTest::TearDown();
  }

  static void Definition(TdxBarManager* m) {
    m->GetCategories()->Add("File");
    AddButton(m, "Open", "&Open")->SetShortCut(TextToShortCut("Ctrl+O"));
    AddButton(m, "Save", "Save")->SetCategory(1);
    auto* find = new TdxBarEdit(m->GetOwnerForm());
    find->SetName("Find");
    find->SetCaption("Find");
    find->SetCategory(0);
    auto* loose = new TdxBarButton(m->GetOwnerForm());
    loose->SetName("Loose");
  }

  TdxBarCustomizingForm* Open(bool designed = true, TdxBarDefinition definition = Definition) {
    if (designed)
      BuildDesigned(definition);
    else
      Build(definition);
    Form->SetBounds(200, 150, 500, 350);
    Form->Show();
    guitest::PumpFor(50);
    Manager->SetCustomizing(true);
    guitest::PumpFor(50);
    TdxBarCustomizingForm* dialog = ActiveCustomizingForm();
    if (dialog) Foreground(dialog);
    return dialog;
  }

  // Keys and modified clicks reach only the foreground window.
  static void Foreground(TCustomForm* form) {
    SetForegroundWindow(form->GetHandle());
    guitest::PumpUntil([&] { return GetForegroundWindow() == form->GetHandle(); }, 2000);
  }

  void ShowPage(TdxBarCustomizingForm* dialog, TTabSheet* page) {
    dialog->PageControl->SetActivePage(page);
    dialog->PageControlChange();
    guitest::PumpFor(30);
  }

  static std::vector<String> Names(TListBox* list) {
    std::vector<String> names;
    for (int i = 0; i < list->GetCount(); ++i)
      names.push_back(static_cast<TComponent*>(list->GetItems()->GetObject(i))->GetName());
    return names;
  }
  static std::vector<int> Selected(TListBox* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->GetCount(); ++i)
      if (list->GetSelected(i)) rows.push_back(i);
    return rows;
  }
  static void ClickRow(TListBox* list, int row) {
    const TRect r = list->ItemRect(row);
    guitest::ClickAt(list->GetHandle(), r.left + 40, (r.top + r.bottom) / 2);
    guitest::PumpFor(30);
  }
  bool Logged(const std::string& entry) const {
    return std::find(Hook.Log.begin(), Hook.Log.end(), entry) != Hook.Log.end();
  }
  static std::vector<std::string> NamesOf(TdxBarGroup* group) {
    std::vector<std::string> names;
    for (int i = 0; i < group->GetCount(); ++i)
      names.push_back(group->GetItem(i)->GetName());
    return names;
  }
};

} // namespace

TEST_F(DesignFormTest, TheDesignedDialogAloneHasTheAllCommandsAndGroupsPages) {
  for (const bool designed : {false, true}) {
    SCOPED_TRACE(designed);
    Form = std::make_unique<TForm>(nullptr);
    TdxBarCustomizingForm* dialog = Open(designed);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Design != nullptr, designed);
    EXPECT_EQ(dialog->PageControl->GetPageCount(), designed ? 5 : 3);
    if (designed) {
      EXPECT_EQ(dialog->Design->TabSheet4->GetCaption(), " All commands ");
      EXPECT_EQ(dialog->Design->TabSheet5->GetCaption(), "Groups");
    }
    Manager->SetCustomizing(false);
    guitest::PumpFor(20);
  }
}

TEST_F(DesignFormTest, AllCommandsListsCommandsWithACategoryAndFiltersThoseWithoutShortcuts) {
  TdxBarCustomizingForm* dialog = Open();
  TdxBarCustomizingFormDesign* design = dialog->Design.get();
  ShowPage(dialog, design->TabSheet4);
  EXPECT_TRUE(design->CBShowCommandsWithShortCut->GetChecked());
  EXPECT_EQ(Names(design->LAllCommands), (std::vector<String>{"Open", "Save"})) << "no edit, nothing without a category";
  guitest::ClickControl(design->CBShowCommandsWithShortCut);
  guitest::PumpFor(30);
  EXPECT_EQ(Names(design->LAllCommands), (std::vector<String>{"Open", "Save", "Find"}));
  // A renamed item widens its column.
  const int nameWidth = design->NameWidth();
  Manager->FindItemByName("Find")->SetName("FindInEveryOpenFile");
  CustomizingFormItemNameChanged();
  EXPECT_GT(design->NameWidth(), nameWidth);
}

TEST_F(DesignFormTest, AllCommandsDrawsThreeColumnsAndSelectingOneTellsTheDesigner) {
  TdxBarCustomizingForm* dialog = Open();
  TdxBarCustomizingFormDesign* design = dialog->Design.get();
  ShowPage(dialog, design->TabSheet4);
  ClickRow(design->LAllCommands, 0);
  EXPECT_EQ(Hook.Log.back(), "select Open");
  ClickRow(design->LAllCommands, 1);
  EXPECT_EQ(Hook.Log.back(), "select Save");

  // The column lines run from the first row down to the bottom of the list,
  // the shortcut text after the second one.
  auto capture = guitest::TCapture::Paint(design->LAllCommands->GetHandle());
  const int line1 = design->NameWidth() + 10;
  const int line2 = design->NameWidth() + design->CaptionWidth() + 20;
  const int rowOne = design->LAllCommands->ItemRect(0).top + 8;
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  for (int y : {rowOne, capture.Height() - 4}) {
    EXPECT_EQ(capture.Pixel(line1, y), text) << y;
    EXPECT_EQ(capture.Pixel(line2, y), text) << y;
  }
  EXPECT_GT(capture.CountPixels(RECT{line2 + 2, 0, capture.Width(), 16}, text), 10) << "Ctrl+O is written";
  EXPECT_EQ(capture.CountPixels(RECT{line2 + 2, 16, capture.Width(), 32}, text), 0) << "Save has no shortcut";
}

TEST_F(DesignFormTest, TheCommandsPageTellsTheDesignerOfTheCommandClicked) {
  TdxBarCustomizingForm* dialog = Open();
  ShowPage(dialog, dialog->TabSheet2);
  ClickRow(dialog->CommandsListBox, 1);
  EXPECT_EQ(Hook.Log.back(), "select Find");
  // Returning to the page selects the designer's selection in the list.
  Hook.Selection = Manager->FindItemByName("Save");
  ShowPage(dialog, dialog->TabSheet2);
  EXPECT_EQ(dialog->LCategories->GetItemIndex(), 1);
  EXPECT_EQ(dialog->CommandsListBox->GetItemIndex(), 0);
}

TEST_F(DesignFormTest, GroupsAreAddedReorderedAndDeleted) {
  TdxBarCustomizingForm* dialog = Open();
  TdxBarCustomizingFormDesign* design = dialog->Design.get();
  ShowPage(dialog, design->TabSheet5);
  EXPECT_FALSE(design->btnGroupDelete->GetEnabled());
  EXPECT_FALSE(design->btnGroupItemAdd->GetEnabled());
  for (int i = 0; i < 3; ++i) {
    guitest::ClickControl(design->btnGroupAdd);
    guitest::PumpFor(30);
  }
  EXPECT_EQ(Names(design->lbGroups), (std::vector<String>{"dxBarGroup1", "dxBarGroup2", "dxBarGroup3"}));
  EXPECT_EQ(design->GetSelectedGroup(), Manager->GetGroup(2));
  EXPECT_EQ(Hook.Log.back(), "select dxBarGroup3");
  EXPECT_GE(Hook.ModifiedCount, 3);

  // The groups list entered last: the move buttons move the selected group.
  ClickRow(design->lbGroups, 1);
  EXPECT_EQ(Hook.Log.back(), "select dxBarGroup2");
  EXPECT_TRUE(design->btnMoveUp->GetEnabled());
  guitest::ClickControl(design->btnMoveUp);
  guitest::PumpFor(30);
  EXPECT_EQ(Names(design->lbGroups), (std::vector<String>{"dxBarGroup2", "dxBarGroup1", "dxBarGroup3"}));
  EXPECT_EQ(design->GetSelectedGroup()->GetName(), "dxBarGroup2");
  EXPECT_FALSE(design->btnMoveUp->GetEnabled()) << "the first group";

  // Delete selects the next group, or the one before the last, or none.
  guitest::PressKey(VK_DELETE);
  guitest::PumpFor(30);
  EXPECT_EQ(Names(design->lbGroups), (std::vector<String>{"dxBarGroup1", "dxBarGroup3"}));
  EXPECT_EQ(design->GetSelectedGroup()->GetName(), "dxBarGroup1");
  ClickRow(design->lbGroups, 1);
  guitest::ClickControl(design->btnGroupDelete);
  guitest::PumpFor(30);
  EXPECT_EQ(design->GetSelectedGroup()->GetName(), "dxBarGroup1");
  guitest::ClickControl(design->btnGroupDelete);
  guitest::PumpFor(30);
  EXPECT_EQ(Manager->GetGroupCount(), 0);
  EXPECT_EQ(design->GetSelectedGroup(), nullptr);
  EXPECT_EQ(Hook.Log.back(), "select " + Manager->GetName());
  for (TControl* button : std::initializer_list<TControl*>{design->btnGroupDelete, design->btnGroupItemAdd,
                                                          design->btnMoveUp, design->btnMoveDown})
    EXPECT_FALSE(button->GetEnabled()) << button->GetName();
}

TEST_F(DesignFormTest, MembersAreAddedThroughTheDialogReorderedAndRemoved) {
  TdxBarCustomizingForm* dialog = Open();
  TdxBarCustomizingFormDesign* design = dialog->Design.get();
  for (const char* name : {"A", "B", "C"})
    AddButton(Manager, name);
  TdxBarGroup* other = Manager->AddGroup();
  other->SetName("Other");
  TdxBarGroup* group = Manager->AddGroup();
  group->SetName("Main");
  design->FillGroups();
  ShowPage(dialog, design->TabSheet5);
  ClickRow(design->lbGroups, 1);

  // Picked in the dialog: a group and five items, in the dialog's row order.
  guitest::AnswerNextForm([](TCustomForm* form) {
    auto* add = static_cast<TfrmAddGroupItems*>(form);
    TListBox* rows = add->lbGroupItems;
    for (int i = 0; i < rows->GetCount(); ++i)
      if (rows->GetItems()->GetObject(i)) rows->SetSelected(i, true);
    guitest::ClickControl(add->btnOk);
  });
  guitest::ClickControl(design->btnGroupItemAdd);
  guitest::PumpFor(50);
  Foreground(dialog);
  EXPECT_EQ(NamesOf(group), (std::vector<std::string>{"Other", "Open", "Find", "A", "B", "C", "Save"}));
  EXPECT_EQ(Selected(design->lbGroupItems).size(), 7u) << "the added members are selected";

  // The members list entered last: Move up closes the selection (rows 2 and
  // 4) into one block a row higher.
  ClickRow(design->lbGroupItems, 2);
  EXPECT_EQ(Hook.Log.back(), "select Find");
  EXPECT_TRUE(design->GroupMembersActive());
  design->lbGroupItems->SetSelected(4, true);
  design->lbGroupItems->OnClick(design->lbGroupItems);
  EXPECT_EQ(Hook.Log.back(), "select Main") << "two selected: the designer selects the group";
  const size_t logged = Hook.Log.size();
  guitest::ClickControl(design->btnMoveUp);
  guitest::PumpFor(30);
  EXPECT_EQ(NamesOf(group), (std::vector<std::string>{"Other", "Find", "B", "Open", "A", "C", "Save"}));
  EXPECT_EQ(Selected(design->lbGroupItems), (std::vector<int>{1, 2}));
  EXPECT_EQ(Hook.Log.size(), logged) << "reselecting after the move tells the designer nothing";
  guitest::ClickControl(design->btnMoveUp);
  guitest::PumpFor(30);
  EXPECT_EQ(NamesOf(group), (std::vector<std::string>{"Find", "B", "Other", "Open", "A", "C", "Save"}));
  EXPECT_FALSE(design->btnMoveUp->GetEnabled()) << "the first two rows";
  EXPECT_TRUE(design->btnMoveDown->GetEnabled());
  guitest::ClickControl(design->btnMoveDown);
  guitest::PumpFor(30);
  EXPECT_EQ(NamesOf(group), (std::vector<std::string>{"Other", "Find", "B", "Open", "A", "C", "Save"}));

  // Removing all but the last keeps the last selected.
  design->lbGroupItems->SetFocus();
  for (int i = 0; i < design->lbGroupItems->GetCount() - 1; ++i)
    design->lbGroupItems->SetSelected(i, true);
  guitest::PressKey(VK_DELETE);
  guitest::PumpFor(30);
  EXPECT_EQ(NamesOf(group), (std::vector<std::string>{"Save"}));
  EXPECT_EQ(Selected(design->lbGroupItems), (std::vector<int>{0}));
  EXPECT_FALSE(design->btnMoveUp->GetEnabled());
  EXPECT_FALSE(design->btnMoveDown->GetEnabled());
}

TEST_F(DesignFormTest, AGroupThatWouldContainItselfIsRefusedKeepingTheMembersAddedBefore) {
  TdxBarCustomizingForm* dialog = Open();
  TdxBarCustomizingFormDesign* design = dialog->Design.get();
  TdxBarGroup* outer = Manager->AddGroup();
  outer->SetName("Outer");
  TdxBarGroup* inner = Manager->AddGroup();
  inner->SetName("Inner");
  inner->Add(outer);
  design->FillGroups();
  ShowPage(dialog, design->TabSheet5);
  ClickRow(design->lbGroups, 0);
  guitest::AnswerNextForm([](TCustomForm* form) {
    auto* add = static_cast<TfrmAddGroupItems*>(form);
    add->lbGroupItems->SetSelected(add->lbGroupItems->GetItems()->IndexOf("Inner"), true);
    guitest::ClickControl(add->btnOk);
  });
  EXPECT_THROW(design->btnGroupItemAddClick(), Exception);
  EXPECT_EQ(outer->GetCount(), 0);
  EXPECT_EQ(design->lbGroupItems->GetCount(), 0);
}

// ---- The designer's branches of the Toolbars and Commands pages ----

TEST_F(DesignFormTest, TheDesignedToolbarsPageListsHiddenBarsAndLetsEveryBarBeRenamed) {
  auto definition = [](TdxBarManager* m) {
    Definition(m);
    m->SetCategoryVisible(1, false);
    TdxBar* hidden = m->GetBars()->Add();
    hidden->SetCaption("Hidden");
    hidden->SetHidden(true);
    TdxBar* tools = m->GetBars()->Add();
    tools->SetCaption("Tools");
  };
  TdxBarCustomizingForm* dialog = Open(true, definition);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->BarsListBox->GetCount(), 2) << "the hidden bar is listed";
  EXPECT_EQ(dialog->LCategories->GetCount(), 2) << "the invisible category is listed";
  EXPECT_FALSE(dialog->BBarReset->GetVisible());
  dialog->BarsListBox->SetItemIndex(1);
  dialog->BarsListBox->OnClick(dialog->BarsListBox);
  EXPECT_EQ(Hook.Selection, Manager->FindBarByCaption("Tools"));
  EXPECT_TRUE(dialog->BBarRename->GetEnabled()) << "a bar of the definition";
  EXPECT_TRUE(dialog->BBarDelete->GetEnabled());
}

TEST_F(DesignFormTest, CategoriesAreInsertedAndDeletedByKeys) {
  TdxBarCustomizingForm* dialog = Open();
  ShowPage(dialog, dialog->TabSheet2);
  ClickRow(dialog->LCategories, 1);
  String caption, label;
  bool okEnabled = true;
  guitest::AnswerNextForm([&](TCustomForm* form) {
    auto* names = static_cast<TdxBarNameEd*>(form);
    caption = names->GetCaption();
    label = names->LName->GetCaption();
    okEnabled = names->BOK->GetEnabled();
    names->EName->SetText("Edit");
    guitest::ClickControl(names->BOK);
  });
  guitest::PressKey(VK_INSERT);
  guitest::PumpFor(50);
  EXPECT_EQ(caption, "Insert Category");
  EXPECT_EQ(label, "&Category name:");
  EXPECT_FALSE(okEnabled) << "an empty name cannot be confirmed";
  TStrings* categories = Manager->GetCategories();
  EXPECT_EQ(categories->Get(1), "Edit");
  EXPECT_EQ(dialog->LCategories->GetItems()->Get(1), "Edit");
  EXPECT_EQ(Manager->FindItemByName("Save")->GetCategory(), 2) << "items follow their category";

  // Delete asks first; the category after takes the selection.
  Foreground(dialog);
  dialog->LCategories->SetFocus();
  String question;
  guitest::AnswerNextModal([&](HWND box) {
    question = guitest::DialogText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  guitest::PressKey(VK_DELETE);
  guitest::PumpFor(50);
  EXPECT_EQ(question, "Are you sure you want to delete the 'Edit' category?");
  EXPECT_EQ(categories->GetCount(), 2);
  EXPECT_EQ(dialog->LCategories->GetItemIndex(), 1);
  EXPECT_EQ(Manager->FindItemByName("Save")->GetCategory(), 1);
}

TEST_F(DesignFormTest, CommandsAreMovedDeletedAndEditedByKeysAndDoubleClicks) {
  TdxBarCustomizingForm* dialog = Open();
  ShowPage(dialog, dialog->TabSheet2);
  TListBox* commands = dialog->CommandsListBox;
  ClickRow(commands, 0);
  EXPECT_EQ(Hook.Log.back(), "select Open");
  const int open = Manager->FindItemByName("Open")->GetIndex();
  const int find = Manager->FindItemByName("Find")->GetIndex();
  guitest::PressKey(VK_DOWN, guitest::kCtrl);
  guitest::PumpFor(30);
  EXPECT_EQ(Names(commands), (std::vector<String>{"Find", "Open"}));
  EXPECT_EQ(commands->GetItemIndex(), 1) << "the moved command stays selected";
  EXPECT_EQ(Manager->FindItemByName("Open")->GetIndex(), find);
  EXPECT_EQ(Manager->FindItemByName("Find")->GetIndex(), open);

  // A double click asks the designer to edit the command.
  commands->OnDblClick(commands);
  EXPECT_EQ(Hook.Log.back(), "edit Open");
  ClickRow(commands, 0);
  guitest::PressKey(VK_DELETE);
  guitest::PumpFor(30);
  EXPECT_TRUE(Logged("delete Find"));
  EXPECT_EQ(Manager->FindItemByName("Find"), nullptr);
  EXPECT_EQ(Names(commands), (std::vector<String>{"Open"}));
  EXPECT_EQ(commands->GetItemIndex(), 0);
  EXPECT_EQ(dialog->DescriptionLabel->GetCaption(), "");
}

TEST_F(DesignFormTest, ANewCommandLandsInTheCategoryChosenAndARefusedNameKeepsTheDialogOpen) {
  TdxBarCustomizingForm* dialog = Open();
  ShowPage(dialog, dialog->TabSheet2);
  ClickRow(dialog->LCategories, 1);
  ClickRow(dialog->CommandsListBox, 0);
  std::vector<String> proposals;
  String category;
  guitest::AnswerNextForm([&](TCustomForm* form) {
    auto* add = static_cast<TdxBarItemAddEditor*>(form);
    category = add->ComboBox2->GetText();
    add->ComboBox2->SetItemIndex(0);
    proposals.push_back(add->Edit1->GetText());
    add->Edit1->SetText("Open");
    guitest::ClickControl(add->BOk);
    guitest::PumpFor(30);
    proposals.push_back(add->Edit1->GetText());
    add->Edit2->SetText("Print");
    guitest::ClickControl(add->BOk);
  });
  guitest::PressKey(VK_INSERT);
  guitest::PumpFor(50);
  EXPECT_EQ(category, "File") << "the selected category is proposed";
  ASSERT_EQ(proposals.size(), 2u);
  EXPECT_EQ(proposals[0], "dxBarButton1");
  EXPECT_EQ(proposals[1], "dxBarButton1") << "a fresh name after the refused one";
  TdxBarItem* item = Manager->FindItemByName("dxBarButton1");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetCategory(), 0);
  EXPECT_EQ(item->GetCaption(), "Print");
  EXPECT_EQ(dialog->LCategories->GetItemIndex(), 0);
  EXPECT_EQ(dialog->CommandsListBox->GetItems()->IndexOfObject(item), dialog->CommandsListBox->GetItemIndex());
}

// ---- The designing pages and dialogs, for a person to look at ----

TEST_F(DesignFormTest, TheDesigningPagesAndDialogsAreDrawn) {
  TdxBarCustomizingForm* dialog = Open();
  TdxBarCustomizingFormDesign* design = dialog->Design.get();
  TdxBarGroup* group = Manager->AddGroup();
  group->SetName("FileGroup");
  group->Add(Manager->FindItemByName("Open"));
  group->Add(Manager->FindItemByName("Save"));
  TdxBarGroup* other = Manager->AddGroup();
  other->SetName("OtherGroup");
  group->Add(other);
  design->FillGroups();
  design->lbGroups->SetItemIndex(0);
  design->lbGroups->OnClick(design->lbGroups);
  design->LAllCommands->SetItemIndex(0);
  const std::pair<TTabSheet*, const char*> pages[] = {{design->TabSheet4, "bars_design_all_commands"},
                                                      {design->TabSheet5, "bars_design_groups"}};
  for (const auto& [page, name] : pages) {
    ShowPage(dialog, page);
    guitest::PumpFor(50);
    auto capture = guitest::TCapture::Paint(dialog->GetHandle());
    EXPECT_FALSE(capture.SavePng(name).empty());
  }
  EXPECT_EQ(design->lbGroupItems->GetCount(), 3);

  guitest::AnswerNextForm([](TCustomForm* form) {
    guitest::PumpFor(50);
    auto capture = guitest::TCapture::Paint(form->GetHandle());
    EXPECT_FALSE(capture.SavePng("bars_design_add_group_items").empty());
    guitest::ClickControl(static_cast<TfrmAddGroupItems*>(form)->btnCancel);
  });
  design->btnGroupItemAddClick();
  guitest::PumpFor(50);

  guitest::AnswerNextForm([](TCustomForm* form) {
    guitest::PumpFor(50);
    auto capture = guitest::TCapture::Paint(form->GetHandle());
    EXPECT_FALSE(capture.SavePng("bars_design_add_item").empty());
    guitest::ClickControl(static_cast<TdxBarItemAddEditor*>(form)->BCancel);
  });
  EXPECT_EQ(AddBarItemDialog(Manager, 0), nullptr);
}
