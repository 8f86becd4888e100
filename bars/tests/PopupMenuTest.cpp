// Popup menus: the component's properties and its modal loop, the toolbars
// popup, popup-menu links and the manager's background pictures.
#include "BarsTest.h"

#include "dxBarPopup.h"
#include "dxBarStrs.h"

#include "GuiTest.h"

#include "ActnList.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace {

class PopupMenuTest : public BarsTest {
protected:
  TdxBarPopupMenu* NewMenu(TComponent* owner, const String& name) {
    auto* menu = new TdxBarPopupMenu(owner);
    menu->SetName(name);
    return menu;
  }
};

} // namespace

// ---- The component ----

TEST_F(PopupMenuTest, WithoutAnyManagerNoMenuIsMade) {
  ASSERT_EQ(dxBarManagerList()->GetCount(), 0);
  try {
    TdxBarPopupMenu menu(Form.get());
    FAIL() << "made without a manager";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "There are no TdxBarManagers available");
  }
  EXPECT_EQ(Form->GetComponentCount(), 0) << "the failed menu left its owner";
}

TEST_F(PopupMenuTest, TheManagerIsTheOwnerFormsElseTheFirst) {
  Build();
  TForm other(nullptr);
  TdxBarManager* second = CreateBarManager(&other, [](TdxBarManager*) {});
  TForm plain(nullptr);
  EXPECT_EQ(NewMenu(&other, "A")->GetBarManager(), second);
  EXPECT_EQ(NewMenu(&plain, "B")->GetBarManager(), Manager) << "a form without a manager";
  EXPECT_EQ(NewMenu(nullptr, "")->GetBarManager(), Manager) << "no owner";
  EXPECT_EQ(second->GetPopupMenuCount(), 1);
  EXPECT_EQ(Manager->GetPopupMenuCount(), 2);
  // The last menu has no owner: its manager frees it.
  delete second;
  EXPECT_EQ(other.FindComponent("A"), nullptr) << "the manager frees its popup menus";
}

TEST_F(PopupMenuTest, MovingToAnotherManagerMovesTheLinks) {
  Build();
  TForm other(nullptr);
  TdxBarManager* second = CreateBarManager(&other, [](TdxBarManager*) {});
  TdxBarPopupMenu* menu = NewMenu(Form.get(), "Menu");
  menu->SetBarManager(second);
  EXPECT_EQ(menu->GetItemLinks()->GetBarManager(), second);
  EXPECT_EQ(Manager->GetPopupMenuCount(), 0);
  EXPECT_EQ(second->GetPopupMenuCount(), 1);
  menu->SetBarManager(nullptr);
  EXPECT_EQ(menu->GetBarManager(), second) << "only a menu that goes leaves its manager";
  delete menu;
  EXPECT_EQ(second->GetPopupMenuCount(), 0);
}

TEST_F(PopupMenuTest, OwnFontFollowsChangesOfTheFont) {
  Build();
  Manager->SetUseSystemFont(false);
  Manager->GetFont()->SetName("Tahoma");
  Manager->GetFont()->SetSize(8);
  TdxBarPopupMenu* menu = NewMenu(Form.get(), "Menu");
  EXPECT_EQ(menu->GetFont()->GetName(), "Tahoma");
  EXPECT_FALSE(menu->GetUseOwnFont());
  EXPECT_EQ(menu->GetFontHandle(), nullptr);

  menu->GetFont()->SetSize(20);
  EXPECT_TRUE(menu->GetUseOwnFont()) << "changing the font makes it the menu's own";
  ASSERT_NE(menu->GetFontHandle(), nullptr);
  EXPECT_EQ(FontPointSize(menu->GetFontHandle()), 20) << "at the font's size, not the system's";

  menu->SetUseOwnFont(false);
  EXPECT_EQ(menu->GetFont()->GetSize(), 8) << "the manager's font again";
  EXPECT_FALSE(menu->GetUseOwnFont()) << "taking the manager's font back is no change of its own";
  EXPECT_EQ(menu->GetFontHandle(), nullptr);

  menu->SetUseOwnFont(true);
  ASSERT_NE(menu->GetFontHandle(), nullptr);
  EXPECT_EQ(FontPointSize(menu->GetFontHandle()), 8);
}

TEST_F(PopupMenuTest, PlainProperties) {
  Build();
  TdxBarPopupMenu* menu = NewMenu(Form.get(), "Menu");
  EXPECT_EQ(menu->GetBarSize(), 0);
  menu->SetBarSize(-5);
  EXPECT_EQ(menu->GetBarSize(), 0);
  menu->SetBarSize(24);
  EXPECT_EQ(menu->GetBarSize(), 24);
  EXPECT_FALSE(menu->GetUseRecentItems());
  EXPECT_FALSE(menu->GetPopped());
  EXPECT_TRUE(menu->GetBackgroundBitmap()->GetEmpty());
  EXPECT_EQ(menu->GetItemLinks()->GetOwner(), menu);
}

TEST_F(PopupMenuTest, AMenuOfTheBarDefinitionIsLoadedWithTheManager) {
  TdxBarPopupMenu* menu = nullptr;
  Build([&](TdxBarManager* m) {
    menu = NewMenu(m->GetOwnerForm(), "Menu");
    EXPECT_TRUE(menu->IsLoading());
    AddLink(menu->GetItemLinks(), AddButton(m, "Hidden"))->SetVisible(false);
  });
  EXPECT_FALSE(menu->IsLoading());
  EXPECT_FALSE(menu->GetItemLinks()->GetItem(0)->GetVisible()) << "the stored state is applied";
}

// ---- The toolbars list ----

TEST_F(PopupMenuTest, ToolbarsListHasACheckedEntryPerClosableShownBar) {
  Build([](TdxBarManager* m) {
    const char* captions[] = {"Menu", "Standard", "Fixed", "Secret", "Format"};
    for (const char* caption : captions)
      m->GetBars()->Add()->SetCaption(caption);
    m->GetBars()->GetItem(0)->SetIsMainMenu(true);
    m->GetBars()->GetItem(2)->AllowClose = false;
    m->GetBars()->GetItem(3)->SetHidden(true);
  });
  Manager->GetBars()->GetItem(4)->SetVisible(true);
  TdxBarItemLinks* shown = nullptr;
  Manager->OnShowToolbarsPopup = [&](TObject*, TdxBarItemLinks* links) { shown = links; };
  TdxBarItemLinks links(Manager, nullptr);
  Manager->FillToolbarsList(&links);
  EXPECT_EQ(shown, &links) << "the event sees the list";
  ASSERT_EQ(links.GetCount(), 2);
  struct Entry {
    const char* Caption;
    int Tag;
    bool Down;
  } expected[] = {{"Standard", 1, false}, {"Format", 4, true}};
  for (int i = 0; i < 2; ++i) {
    auto* button = dynamic_cast<TdxBarButton*>(links.GetItem(i)->GetItem());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetCaption(), expected[i].Caption);
    EXPECT_EQ(button->Tag, expected[i].Tag);
    EXPECT_EQ(button->GetButtonStyle(), bsChecked);
    EXPECT_EQ(button->GetDown(), expected[i].Down);
    EXPECT_EQ(button->GetOwner(), nullptr);
    EXPECT_NE(std::find(TempItems().begin(), TempItems().end(), button), TempItems().end());
  }
  links.GetItem(0)->GetItem()->Click();
  EXPECT_TRUE(Manager->GetBars()->GetItem(1)->GetVisible()) << "an entry shows its bar";
  links.GetItem(1)->GetItem()->Click();
  EXPECT_FALSE(Manager->GetBars()->GetItem(4)->GetVisible()) << "and hides it";
  links.Clear();
  FreeUnusedTempItems();
  EXPECT_TRUE(TempItems().empty());
}

// ---- Popup-menu links ----

namespace {

class PopupMenuLinksTest : public PopupMenuTest {
protected:
  void SetUp() override {
    Build();
    Panel = new TPanel(Form.get());
    Panel->SetName("Panel");
    Panel->SetParent(Form.get());
    Panel->SetBounds(10, 10, 200, 150);
    Edit = new TEdit(Form.get());
    Edit->SetName("Edit");
    Edit->SetParent(Panel);
    Edit->SetBounds(20, 20, 120, 24);
    Menu = NewMenu(Form.get(), "Menu");
    Command = AddButton(Manager, "Command");
    Command->SetShortCut(TextToShortCut("Ctrl+K"));
    Command->OnClick = [this](TObject*) { ++Clicks; };
    AddLink(Menu->GetItemLinks(), Command);
    Links = Manager->GetPopupMenuLinks();
  }

  TdxBarPopupMenuLink* Link(TWinControl* control, TdxBarPopupMenu* menu, bool children = true) {
    TdxBarPopupMenuLink* link = Links->Add();
    link->SetControl(control);
    link->SetPopupMenu(menu);
    link->ProcessChildren = children;
    return link;
  }

  TPanel* Panel = nullptr;
  TEdit* Edit = nullptr;
  TdxBarPopupMenu* Menu = nullptr;
  TdxBarButton* Command = nullptr;
  TdxBarPopupMenuLinks* Links = nullptr;
  int Clicks = 0;
};

} // namespace

TEST_F(PopupMenuLinksTest, OnlyControlsOfTheManagersFormAreTaken) {
  TForm other(nullptr);
  auto* stranger = new TEdit(&other);
  stranger->SetParent(&other);
  TdxBarPopupMenuLink* link = Link(stranger, Menu);
  EXPECT_EQ(link->GetControl(), nullptr);
  link->SetControl(Edit);
  EXPECT_EQ(link->GetControl(), Edit);
  TdxBarPopupMenuLink* unparented = Link(new TEdit(Form.get()), Menu);
  EXPECT_EQ(unparented->GetControl(), nullptr) << "a control on no form";
}

TEST_F(PopupMenuLinksTest, ALinkForgetsAControlOrMenuThatGoes) {
  TdxBarPopupMenuLink* link = Link(Edit, Menu);
  delete Edit;
  EXPECT_EQ(link->GetControl(), nullptr);
  delete Menu;
  EXPECT_EQ(link->GetPopupMenu(), nullptr);
}

TEST_F(PopupMenuLinksTest, AssignFindsTheComponentsByName) {
  TForm other(nullptr);
  TdxBarManager* second = CreateBarManager(&other, [](TdxBarManager*) {});
  auto* edit = new TEdit(&other);
  edit->SetName("Edit");
  edit->SetParent(&other);
  auto* menu = new TdxBarPopupMenu(&other);
  menu->SetName("Menu");
  auto* panel = new TPanel(&other);
  panel->SetName("Other");
  panel->SetParent(&other);

  TdxBarPopupMenuLink* source = Link(Edit, Menu, false);
  TdxBarPopupMenuLink* copy = second->GetPopupMenuLinks()->Add();
  copy->Assign(source);
  EXPECT_EQ(copy->GetControl(), edit);
  EXPECT_EQ(copy->GetPopupMenu(), menu);
  EXPECT_FALSE(copy->ProcessChildren);

  TdxBarPopupMenuLink* unnamed = Link(Panel, nullptr);
  copy->Assign(unnamed);
  EXPECT_EQ(copy->GetControl(), nullptr) << "no control of that name";
  EXPECT_EQ(copy->GetPopupMenu(), nullptr);
  EXPECT_TRUE(copy->ProcessChildren);
}

TEST_F(PopupMenuLinksTest, ShortCutsOfTheMenuWorkInItsControlAndItsChildren) {
  const TShortCut key = TextToShortCut("Ctrl+K");
  // On the edit itself.
  TdxBarPopupMenuLink* own = Link(Edit, Menu);
  EXPECT_TRUE(Links->IsShortCut(Edit, key));
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(Links->IsShortCut(Edit, TextToShortCut("Ctrl+J")));
  delete own;
  // Through the panel: only while it serves its children.
  TdxBarPopupMenuLink* parent = Link(Panel, Menu, false);
  EXPECT_FALSE(Links->IsShortCut(Edit, key));
  parent->ProcessChildren = true;
  EXPECT_TRUE(Links->IsShortCut(Edit, key));
  EXPECT_EQ(Clicks, 2);
  // OnAction may forbid the menu; it sees no point and no mouse.
  parent->OnAction = [](TdxBarPopupMenuLink*, int& x, int& y, bool byMouse, bool& allow) {
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_FALSE(byMouse);
    allow = false;
  };
  EXPECT_FALSE(Links->IsShortCut(Edit, key));
  EXPECT_EQ(Clicks, 2);
}

// ---- Backgrounds ----

TEST_F(PopupMenuTest, ChangingTheBarPictureRestylesTheBars) {
  Build([](TdxBarManager* m) { m->GetBars()->Add()->SetCaption("Floating"); });
  Form->Show();
  TdxBar* bar = Manager->GetBars()->GetItem(0);
  bar->SetDockingStyle(dsNone);
  bar->SetVisible(true);
  int restyles = 0;
  Manager->OnBarVisibleChange = [&](TObject*, TdxBar*) { ++restyles; };
  TdxBarBackgrounds* backgrounds = Manager->GetBackgrounds();
  TBitmap picture;
  picture.SetSize(8, 8);

  backgrounds->SetBar(nullptr);
  EXPECT_EQ(restyles, 0) << "clearing an empty picture";
  backgrounds->SetBar(&picture);
  EXPECT_EQ(restyles, 2) << "a floating bar is shown anew once";
  EXPECT_EQ(backgrounds->GetBar()->GetWidth(), 8);
  backgrounds->GetBar()->SetSize(16, 16);
  EXPECT_EQ(restyles, 4) << "a change of the picture itself";
  backgrounds->SetBar(nullptr);
  EXPECT_EQ(restyles, 6) << "clearing a set picture";
  EXPECT_TRUE(backgrounds->GetBar()->GetEmpty());

  backgrounds->SetSubMenu(&picture);
  EXPECT_EQ(restyles, 6) << "the menus' picture restyles nothing";
  TdxBarBackgrounds copy(Manager);
  copy.Assign(backgrounds);
  EXPECT_TRUE(copy.GetBar()->GetEmpty());
  EXPECT_EQ(copy.GetSubMenu()->GetWidth(), 8);
  bar->SetVisible(false);
}

TEST_F(PopupMenuTest, TheBarPictureLiesBehindDocksAndToolbars) {
  Build([](TdxBarManager* m) {
    for (const char* caption : {"Docked", "Floating"}) {
      TdxBar* bar = m->GetBars()->Add();
      bar->SetCaption(caption);
      AddLink(bar->GetItemLinks(), AddButton(m, String("Button") + caption, "Go"));
    }
  });
  Manager->SetStyle(bmsStandard);
  Form->SetBounds(50, 50, 400, 250);
  Form->Show();
  const COLORREF green = RGB(0, 200, 0);
  TBitmap picture;
  picture.SetSize(8, 8);
  FillRectWithColor(picture.GetCanvas()->GetHandle(), TRect(0, 0, 8, 8), static_cast<TColor>(green));
  Manager->GetBackgrounds()->SetBar(&picture);
  TdxBar* docked = Manager->GetBars()->GetItem(0);
  docked->SetDockingStyle(dsTop);
  docked->SetVisible(true);
  TdxBar* floating = Manager->GetBars()->GetItem(1);
  floating->SetDockingStyle(dsNone);
  floating->SetVisible(true);
  guitest::PumpFor(100);

  TdxDockControl* dock = Manager->GetBars()->GetDockControl(dsTop);
  guitest::TCapture dockCapture = guitest::TCapture::Paint(dock->GetHandle());
  dockCapture.SavePng("BarPictureDocked");
  TdxBarControl* window = docked->GetBarControl();
  const TPoint barAt = window->ClientToScreen(TPoint(0, 0)), dockAt = dock->ClientToScreen(TPoint(0, 0));
  const TRect free(window->GetWidth() + 10, 2, dock->GetWidth() - 2, dock->GetHeight() - 2);
  EXPECT_EQ(dockCapture.CountPixels(free, green), free.Width() * free.Height()) << "the dock";
  const TRect button = docked->GetItemLinks()->GetItem(0)->ItemRect;
  const TRect afterButton(barAt.x - dockAt.x + button.right + 1, barAt.y - dockAt.y + button.top,
                          barAt.x - dockAt.x + window->GetClientWidth() - 1, barAt.y - dockAt.y + button.bottom);
  EXPECT_GT(dockCapture.CountPixels(afterButton, green), afterButton.Width() * afterButton.Height() / 2)
      << "the docked toolbar continues its dock's picture";

  TdxBarControl* floatingWindow = floating->GetBarControl();
  guitest::TCapture floatCapture = guitest::TCapture::Paint(floatingWindow->GetHandle());
  floatCapture.SavePng("BarPictureFloating");
  const TRect item = floating->GetItemLinks()->GetItem(0)->ItemRect;
  const TRect inItem(item.left + 1, item.bottom - 3, item.right - 1, item.bottom - 1);
  EXPECT_EQ(floatCapture.CountPixels(inItem, green), inItem.Width() * inItem.Height())
      << "a floating toolbar's button stands on the picture";
  docked->SetVisible(false);
  floating->SetVisible(false);
}
