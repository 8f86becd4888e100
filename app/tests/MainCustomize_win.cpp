// The toolbar customizing dialog on the main window: opened from the window's
// bars, the window disabled meanwhile, its two defined bars shown, hidden and
// kept, a toolbar of the user's made, renamed and deleted, and the defined
// layout back once the window is built again (the window stores no layout).
#include "GuiTest.h"
#include "Main.h"
#include "StdCtrls.h"
#include "ComCtrls.h"
#include "dxBar.h"
#include "dxBarCustForm.h"

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
