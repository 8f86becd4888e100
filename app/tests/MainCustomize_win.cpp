// The toolbar customizing dialog on the main window: opened from the window's
// bars, the window disabled meanwhile, its two defined bars shown, hidden and
// kept, a toolbar of the user's made, renamed and deleted, buttons moved and
// dragged off and a command dragged onto the button bar with the mouse, and
// the defined layout back once the window is built again (the window stores
// no layout).
#include "ActnList.h"
#include "GuiTest.h"
#include "Main.h"
#include "StdCtrls.h"
#include "ComCtrls.h"
#include "dxBar.h"
#include "dxBarCustForm.h"
#include "../../bars/tests/InputThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using guitest::PumpUntil;

namespace {

class MainCustomize : public testing::Test {
protected:
  void SetUp() override {
    RegisterBarCustomizingForm();
    Form = std::make_unique<TfmMain>(nullptr);
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Form->IsShowing() && Bar("Button bar")->GetBarControl(); }));
    guitest::PumpFor(50);
  }
  void TearDown() override {
    if (Form) Form->bman->SetCustomizing(false);
    UnregisterBarCustomizingForm();
    guitest::SendMouseAt(POINT{5, 5}, 0);
    guitest::PumpFor(50);
  }

  TdxBar* Bar(const String& caption) const { return Form->bman->FindBarByCaption(caption); }

  // A double click on the top dock beside the button bar.
  TdxBarCustomizingForm* OpenByDock() {
    TdxBarControl* buttons = Bar("Button bar")->GetBarControl();
    TdxDockControl* dock = Form->bman->GetBars()->GetDockControl(dsTop);
    POINT p{buttons->GetWidth() + 20, buttons->GetHeight() / 2};
    ClientToScreen(buttons->GetHandle(), &p);
    ScreenToClient(dock->GetHandle(), &p);
    guitest::DoubleClickAt(dock->GetHandle(), p.x, p.y);
    PumpUntil([] { return ActiveCustomizingForm() != nullptr; });
    guitest::PumpFor(50);
    return ActiveCustomizingForm();
  }

  // The screen point at a fraction of a link's width, half way down.
  static POINT On(TdxBarItemLink* link, double dx = 0.5) {
    const TRect r = link->ItemRect;
    POINT p{r.left + static_cast<int>(r.Width() * dx), (r.top + r.bottom) / 2};
    ClientToScreen(link->GetBarControl()->GetHandle(), &p);
    return p;
  }

  // Presses the left button at From, moves through Path in steps and
  // releases at its last point, the input coming from another thread so
  // that it flows through every modal mouse loop on the way.
  bool Drag(POINT from, std::vector<POINT> path) {
    std::vector<TInputThread::TStep> steps{{0, [=] { guitest::SendMouseAt(from, 0); }},
                                           {30, [=] { guitest::SendMouseAt(from, MOUSEEVENTF_LEFTDOWN); }}};
    POINT last = from;
    for (const POINT& to : path) {
      for (int i = 1; i <= 4; ++i) {
        const POINT p{last.x + (to.x - last.x) * i / 4, last.y + (to.y - last.y) * i / 4};
        steps.push_back({50, [=] { guitest::SendMouseAt(p, 0); }});
      }
      last = to;
    }
    // Once the drag runs (a slow GUI thread may have taken every move before
    // it began), the pointer moves again over the target before the release.
    steps.push_back({0, [this] {
                       for (int waited = 0; waited < 5000 && !Form->bman->GetDragging(); waited += 10)
                         Sleep(10);
                     }});
    steps.push_back({30, [=] { guitest::SendMouseAt(POINT{last.x + 1, last.y}, 0); }});
    steps.push_back({30, [=] { guitest::SendMouseAt(last, 0); }});
    steps.push_back({60, [=] { guitest::SendMouseAt(last, MOUSEEVENTF_LEFTUP); }});
    TInputThread input(std::move(steps));
    const bool done = PumpUntil([&] { return input.Done() && !Form->bman->GetDragging(); }, 15000);
    guitest::PumpFor(50);
    return done;
  }

  // The names of the button bar's items in order, "|" before one that
  // begins a group.
  std::vector<String> Buttons() const {
    std::vector<String> names;
    TdxBarItemLinks* links = Bar("Button bar")->GetItemLinks();
    for (int i = 0; i < links->GetCount(); ++i)
      names.push_back((links->GetItem(i)->GetBeginGroup() ? "|" : "") + links->GetItem(i)->GetItem()->GetName());
    return names;
  }

  static POINT SquareOf(TListBox* list, int row) {
    const TRect r = list->ItemRect(row);
    return POINT{r.left + r.Height() / 2, (r.top + r.bottom) / 2};
  }

  static void AnswerName(const String& name) {
    guitest::AnswerNextForm([=](TCustomForm* form) {
      auto* dialog = static_cast<TdxBarNameEd*>(form);
      dialog->EName->SetText(name);
      PostMessageA(dialog->BOK->GetHandle(), BM_CLICK, 0, 0);
    });
  }

  std::unique_ptr<TfmMain> Form;
};

} // namespace

TEST_F(MainCustomize, TheDialogWorksOnTheWindowsBarsAndTheDefinedLayoutComesBack) {
  TdxBarCustomizingForm* dialog = OpenByDock();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowEnabled(Form->GetHandle())) << "the window waits while the dialog is open";
  TListBox* list = dialog->BarsListBox;
  ASSERT_EQ(list->GetCount(), 2);
  EXPECT_EQ(list->GetItems()->Get(0), "Main Menu");
  EXPECT_EQ(list->GetItems()->Get(1), "Button bar");
  for (int row : {0, 1}) {
    list->SetItemIndex(row);
    dialog->UpdateToolbarButtons();
    EXPECT_FALSE(dialog->BBarRename->GetEnabled()) << row;
    EXPECT_FALSE(dialog->BBarDelete->GetEnabled()) << row;
  }

  // The main menu stays; the button bar hides and shows by its square.
  const POINT menuSquare = SquareOf(list, 0), barSquare = SquareOf(list, 1);
  guitest::ClickAt(list->GetHandle(), menuSquare.x, menuSquare.y);
  guitest::PumpFor(50);
  EXPECT_TRUE(Bar("Main Menu")->GetVisible());
  guitest::ClickAt(list->GetHandle(), barSquare.x, barSquare.y);
  guitest::PumpFor(50);
  EXPECT_FALSE(Bar("Button bar")->GetVisible());
  guitest::ClickAt(list->GetHandle(), barSquare.x, barSquare.y);
  guitest::PumpFor(50);
  EXPECT_TRUE(Bar("Button bar")->GetVisible());
  EXPECT_NE(Bar("Button bar")->GetBarControl(), nullptr);

  // A toolbar of the user's: made floating, renamed, deleted.
  AnswerName("Custom 1");
  guitest::ClickControl(dialog->BBarNew);
  ASSERT_TRUE(PumpUntil([&] { return Bar("Custom 1") != nullptr; }));
  EXPECT_EQ(Bar("Custom 1")->GetDockingStyle(), dsNone);
  EXPECT_TRUE(dialog->BBarRename->GetEnabled());
  AnswerName("Mine");
  guitest::ClickControl(dialog->BBarRename);
  ASSERT_TRUE(PumpUntil([&] { return Bar("Mine") != nullptr; }));
  guitest::AnswerMessageBox(IDOK);
  guitest::ClickControl(dialog->BBarDelete);
  ASSERT_TRUE(PumpUntil([&] { return Bar("Mine") == nullptr; }));

  // The three pages, for a person to look at.
  const std::pair<TTabSheet*, const char*> pages[] = {{dialog->TabSheet1, "app_customize_toolbars"},
                                                      {dialog->TabSheet2, "app_customize_commands"},
                                                      {dialog->TabSheet3, "app_customize_options"}};
  for (const auto& [page, name] : pages) {
    dialog->PageControl->SetActivePage(page);
    guitest::PumpFor(50);
    guitest::TCapture::Paint(dialog->GetHandle()).SavePng(name);
  }

  // Hidden again, then closed: the window is enabled.
  dialog->PageControl->SetActivePage(dialog->TabSheet1);
  guitest::PumpFor(30);
  guitest::ClickAt(list->GetHandle(), barSquare.x, barSquare.y);
  guitest::PumpFor(30);
  EXPECT_FALSE(Bar("Button bar")->GetVisible());
  guitest::ClickControl(dialog->BClose);
  ASSERT_TRUE(PumpUntil([] { return ActiveCustomizingForm() == nullptr; }));
  EXPECT_TRUE(IsWindowEnabled(Form->GetHandle()));
  EXPECT_FALSE(Form->bman->GetCustomizing());

  // Built again the window has its defined bars: it stores no layout.
  Form = std::make_unique<TfmMain>(nullptr);
  Form->Show();
  ASSERT_TRUE(PumpUntil([&] { return Form->IsShowing() && Bar("Button bar")->GetBarControl(); }));
  EXPECT_EQ(Form->bman->GetBars()->GetCount(), 2);
  EXPECT_TRUE(Bar("Button bar")->GetVisible());
}

// The path a person takes: a right click on the button bar, "&Customize..."
// from the popup, buttons moved and dragged off with the mouse on the
// disabled window, a command dragged from the dialog onto the bar, and the
// window working again once the dialog is closed.
TEST_F(MainCustomize, CustomizeFromTheButtonBarsPopupAndDragsOnTheBar) {
  SetForegroundWindow(Form->GetHandle());
  PumpUntil([&] { return GetForegroundWindow() == Form->GetHandle(); });
  TdxBarControl* bar = Bar("Button bar")->GetBarControl();
  POINT p{bar->GetWidth() - 3, bar->GetHeight() / 2};
  ClientToScreen(bar->GetHandle(), &p);
  guitest::SendMouseAt(p, 0);
  guitest::SendMouseAt(p, MOUSEEVENTF_RIGHTDOWN);
  guitest::SendMouseAt(p, MOUSEEVENTF_RIGHTUP);
  auto* popup = dynamic_cast<TdxBarSubMenuControl*>(ActiveBarControl());
  ASSERT_TRUE(PumpUntil([&] {
    popup = dynamic_cast<TdxBarSubMenuControl*>(ActiveBarControl());
    return popup && !popup->GetAnimating() && IsWindowVisible(popup->GetHandle());
  }));
  TdxBarItemLink* customize = nullptr;
  for (int i = 0; i < popup->GetItemLinks()->GetCount(); ++i)
    if (popup->GetItemLinks()->GetItem(i)->GetCaption() == "&Customize...")
      customize = popup->GetItemLinks()->GetItem(i);
  ASSERT_NE(customize, nullptr) << "the toolbars popup offers the dialog";
  const POINT entry = On(customize);
  guitest::SendMouseAt(entry, 0);
  guitest::PumpFor(50);
  guitest::SendMouseAt(entry, MOUSEEVENTF_LEFTDOWN);
  guitest::SendMouseAt(entry, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([] { return ActiveCustomizingForm() != nullptr; }));
  guitest::PumpFor(50);
  TdxBarCustomizingForm* dialog = ActiveCustomizingForm();
  EXPECT_FALSE(IsWindowEnabled(Form->GetHandle())) << "the window waits while the dialog is open";
  EXPECT_TRUE(Form->bman->GetCustomizing());
  const std::vector<String> defined{"dxBarLargeButton4", "dxBarLargeButton3", "|dxBarLargeButton1",
                                    "dxBarLargeButton2"};
  ASSERT_EQ(Buttons(), defined);

  // The first button moved past the second, on the disabled window.
  TdxBarItemLinks* links = Bar("Button bar")->GetItemLinks();
  ASSERT_TRUE(Drag(On(links->GetItem(0)), {On(links->GetItem(0), 0.7), On(links->GetItem(1), 0.8)}));
  EXPECT_EQ(Buttons(), (std::vector<String>{"dxBarLargeButton3", "dxBarLargeButton4", "|dxBarLargeButton1",
                                            "dxBarLargeButton2"}));

  // The last button dragged off the bars onto the window's client area goes.
  RECT formRect{}, dialogRect{};
  GetWindowRect(Form->GetHandle(), &formRect);
  GetWindowRect(dialog->GetHandle(), &dialogRect);
  const POINT outside{formRect.left + 40, formRect.bottom - 40};
  ASSERT_FALSE(PtInRect(&dialogRect, outside));
  ASSERT_TRUE(Drag(On(links->GetItem(3)), {On(links->GetItem(3), 0.7), outside}));
  EXPECT_EQ(Buttons(), (std::vector<String>{"dxBarLargeButton3", "dxBarLargeButton4", "|dxBarLargeButton1"}));
  EXPECT_NE(Form->bman->FindItemByName("dxBarLargeButton2"), nullptr) << "only its link went";

  // A command of the File category dragged from the dialog after the last button.
  dialog->PageControl->SetActivePage(dialog->TabSheet2);
  guitest::PumpFor(50);
  TListBox* categories = dialog->LCategories;
  const int fileRow = categories->GetItems()->IndexOf("File");
  ASSERT_GE(fileRow, 0);
  const TRect category = categories->ItemRect(fileRow);
  guitest::ClickAt(categories->GetHandle(), category.left + 10, (category.top + category.bottom) / 2);
  guitest::PumpFor(50);
  TListBox* commands = dialog->CommandsListBox;
  ASSERT_GT(commands->GetCount(), 0);
  ASSERT_EQ(static_cast<TdxBarItem*>(commands->GetItems()->GetObject(0))->GetName(), "Opensourcescript1");
  const TRect first = commands->ItemRect(0);
  POINT from{first.left + 40, (first.top + first.bottom) / 2};
  ClientToScreen(commands->GetHandle(), &from);
  ASSERT_TRUE(Drag(from, {On(links->GetItem(2), 0.8)}));
  EXPECT_EQ(Buttons(), (std::vector<String>{"dxBarLargeButton3", "dxBarLargeButton4", "|dxBarLargeButton1",
                                            "Opensourcescript1"}));
  EXPECT_EQ(links->GetItem(3)->GetItem()->GetCaption(), Form->acOpenSrcScript->GetCaption());
  guitest::TCapture::Paint(Form->GetHandle()).SavePng("app_customize_dragged");

  // Closed: the window is enabled and its menus open again.
  guitest::ClickControl(dialog->BClose);
  ASSERT_TRUE(PumpUntil([] { return ActiveCustomizingForm() == nullptr; }));
  EXPECT_TRUE(IsWindowEnabled(Form->GetHandle()));
  EXPECT_FALSE(Form->bman->GetCustomizing());
  EXPECT_EQ(Buttons().size(), 4u) << "the changes stay while the window lives";
  TdxBarItemLink* file = Bar("Main Menu")->GetItemLinks()->GetItem(0);
  const POINT fileAt = On(file);
  guitest::SendMouseAt(fileAt, 0);
  guitest::SendMouseAt(fileAt, MOUSEEVENTF_LEFTDOWN);
  guitest::SendMouseAt(fileAt, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] {
    TCustomdxBarControl* menu = Form->N1->GetItemLinks()->GetBarControl();
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->GetHandle());
  })) << "the File menu opens";
  Form->bman->DeactivateAll();
}
