// The small dialogs: the table chooser, the confirmation question, the About
// box and the extract dialog, each a real window driven by real input, and the
// shell's document opener.
#include "About.h"
#include "ActnList.h"
#include "CheckLst.h"
#include "Confirm.h"
#include "Dump.h"
#include "ExtCtrls.h"
#include "GuiTest.h"
#include "Main.h"
#include "OpenDocument.h"
#include "cxButtonEdit.h"
#include "cxButtons.h"
#include "cxCheckListBox.h"
#include "TblChooser.h"
#include "cxLabel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using guitest::PumpUntil;

namespace {

std::vector<String> Texts(const TStrings& list) {
  std::vector<String> texts;
  for (int i = 0; i < list.GetCount(); ++i)
    texts.push_back(list.Get(i));
  return texts;
}

// Pixels within the rectangle that are within tolerance of the colour in
// each channel (JPEG pictures never keep colours exactly).
int CountNear(const guitest::TCapture& capture, const TRect& r, COLORREF colour, int tolerance) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF p = capture.Pixel(x, y);
      if (std::abs(GetRValue(p) - GetRValue(colour)) <= tolerance &&
          std::abs(GetGValue(p) - GetGValue(colour)) <= tolerance &&
          std::abs(GetBValue(p) - GetBValue(colour)) <= tolerance)
        ++count;
    }
  return count;
}

// ---- Table chooser

class TableChooser : public testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TfmTblChooser>(nullptr);
    SetTables({"orders", "Customers", "items"});
  }
  void SetTables(std::initializer_list<const char*> names) {
    TStringList tables;
    for (const char* name : names)
      tables.Add(name);
    form->SetTables(tables);
  }
  void Show() {
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  }
  TcxCheckListBoxItem* Item(int index) { return form->clTables->GetItems()->GetItem(index); }
  int Count() { return form->clTables->GetItems()->GetCount(); }
  // A click on the item's check box, as the user makes it.
  void ClickItem(int index) {
    TcxCustomInnerCheckListBox* rows = form->clTables->GetInnerCheckListBox();
    const TRect row = rows->ItemRect(index);
    const TcxCheckBoxState before = Item(index)->GetState();
    guitest::ClickAt(rows->GetHandle(), row.left + 7, (row.top + row.bottom) / 2);
    ASSERT_TRUE(PumpUntil([&] { return Item(index)->GetState() != before; })) << index;
  }
  void Click(TControl* button) {
    bool clicked = false;
    const TNotifyEvent old = button->OnClick;
    button->OnClick = [&](TObject* sender) {
      old(sender);
      clicked = true;
    };
    guitest::ClickControl(button);
    ASSERT_TRUE(PumpUntil([&] { return clicked; }));
    button->OnClick = old;
  }
  std::vector<String> Checked() {
    TStringList tables;
    form->GetCheckedTables(tables);
    return Texts(tables);
  }
  std::unique_ptr<TfmTblChooser> form;
};

TEST_F(TableChooser, OpensWithEveryTableCheckedAndSortedByName) {
  EXPECT_EQ("Select tables", form->GetCaption());
  EXPECT_EQ(382, form->GetWidth());
  EXPECT_EQ(349, form->GetHeight());
  EXPECT_EQ(202, form->clTables->GetWidth());
  EXPECT_EQ(poDesktopCenter, form->Position);
  Show();
  ASSERT_EQ(3, Count());
  const char* sorted[] = {"Customers", "items", "orders"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(sorted[i], Item(i)->GetText());
    EXPECT_EQ(cbsChecked, Item(i)->GetState());
    // The rows of the list show the same.
    EXPECT_EQ(sorted[i], form->clTables->GetInnerCheckListBox()->GetItems()->Get(i));
  }
  EXPECT_TRUE(form->bnOK->GetEnabled());
  EXPECT_EQ((std::vector<String>{"Customers", "items", "orders"}), Checked());

  auto capture = guitest::TCapture::Paint(form->GetHandle());
  capture.SavePng("dialog_table_chooser");
  // Every button lies within the window, right of the list, none over another.
  const TControl* buttons[] = {form->bnAll, form->bnNone, form->bnOK, form->bnCancel};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    const TControl* b = buttons[i];
    EXPECT_GT(b->GetLeft(), form->clTables->GetLeft() + form->clTables->GetWidth()) << i;
    EXPECT_LE(b->GetLeft() + b->GetWidth(), form->GetClientWidth()) << i;
    EXPECT_LE(b->GetTop() + b->GetHeight(), form->GetClientHeight()) << i;
    if (i > 0) {
      EXPECT_LT(buttons[i - 1]->GetTop() + buttons[i - 1]->GetHeight(), b->GetTop()) << i;
    }
  }
}

TEST_F(TableChooser, AllAndNoneSetEveryItemAndLeaveOkEnabled) {
  Show();
  ClickItem(1);
  EXPECT_EQ((std::vector<String>{"Customers", "orders"}), Checked());
  Click(form->bnAll);
  EXPECT_EQ((std::vector<String>{"Customers", "items", "orders"}), Checked());
  Click(form->bnNone);
  EXPECT_EQ(std::vector<String>{}, Checked());
  for (int i = 0; i < Count(); ++i)
    EXPECT_FALSE(Item(i)->GetChecked()) << i;
  // Only a click on an item decides about OK: confirming now runs no table.
  EXPECT_TRUE(form->bnOK->GetEnabled());
}

TEST_F(TableChooser, AClickNeverLeavesAnItemGrayed) {
  Show();
  std::vector<TcxCheckBoxState> reported;
  const TcxClickCheckEvent chooser = form->clTables->OnClickCheck;
  form->clTables->OnClickCheck = [&](TObject* sender, int index, TcxCheckBoxState oldState,
                                     TcxCheckBoxState newState) {
    reported.push_back(newState);
    chooser(sender, index, oldState, newState);
  };
  // Checked -> unchecked -> (grayed, made checked) -> unchecked.
  const TcxCheckBoxState expected[] = {cbsUnchecked, cbsChecked, cbsUnchecked};
  for (TcxCheckBoxState state : expected) {
    ClickItem(0);
    EXPECT_EQ(state, Item(0)->GetState());
  }
  // The list offers the grayed state; the chooser takes it back.
  EXPECT_EQ((std::vector<TcxCheckBoxState>{cbsUnchecked, cbsGrayed, cbsUnchecked}), reported);
}

TEST_F(TableChooser, OkDisabledByClicksStaysDisabledAtTheNextShowingUntilAClick) {
  Show();
  for (int i = 0; i < Count(); ++i)
    ClickItem(i);
  EXPECT_FALSE(form->bnOK->GetEnabled());
  form->Hide();

  SetTables({"b", "a"});
  Show();
  EXPECT_EQ((std::vector<String>{"a", "b"}), Checked());
  EXPECT_FALSE(form->bnOK->GetEnabled());
  ClickItem(0);
  EXPECT_EQ(std::vector<String>{"b"}, Checked());
  EXPECT_TRUE(form->bnOK->GetEnabled());
}

TEST_F(TableChooser, OkAndCancelCloseWithTheirResults) {
  struct Case {
    const char* button;
    TModalResult result;
  };
  for (Case c : {Case{"bnOK", mrOk}, Case{"bnCancel", mrCancel}}) {
    guitest::AnswerNextForm(
        [&](TCustomForm*) { guitest::ClickControl(c.result == mrOk ? form->bnOK : form->bnCancel); });
    EXPECT_EQ(c.result, form->ShowModal()) << c.button;
  }
}

// ---- Confirmation

class Confirmation : public testing::Test {
protected:
  std::unique_ptr<TfmConfirm> form = std::make_unique<TfmConfirm>(nullptr);
};

TEST_F(Confirmation, ShowsTheQuestionAndAnswersTrueOnlyForOk) {
  EXPECT_EQ("Please confirm", form->GetCaption());
  EXPECT_EQ(422, form->GetWidth());
  EXPECT_EQ(156, form->GetHeight());
  EXPECT_EQ(393, form->lbText->GetWidth());
  EXPECT_EQ(65, form->lbText->GetHeight());
  EXPECT_FALSE(form->lbText->GetAutoSize());
  EXPECT_TRUE(form->lbText->GetProperties()->GetWordWrap());

  const String question = "Sync SQL script is generated. You can run it immediately, or you can "
                          "inspect/modify and run it from script window. Press OK to run it now.";
  struct Case {
    WORD key; // 0: click OK
    bool answer;
  };
  for (Case c : {Case{0, true}, Case{VK_ESCAPE, false}}) {
    String shown;
    int textPixels = 0;
    guitest::AnswerNextForm([&](TCustomForm*) {
      shown = form->lbText->GetCaption();
      auto capture = guitest::TCapture::Paint(form->GetHandle());
      if (c.answer) capture.SavePng("dialog_confirm");
      // The question is drawn on two lines within the label.
      const TRect r = form->lbText->GetBoundsRect();
      const TRect secondLine(r.left, r.top + 14, r.right, r.bottom);
      textPixels = CountNear(capture, secondLine, 0x000000, 60);
      if (c.key)
        guitest::PressKey(c.key);
      else
        guitest::ClickControl(form->bnOK);
    });
    EXPECT_EQ(c.answer, AskConfirmation(question));
    EXPECT_EQ(question, shown);
    EXPECT_GT(textPixels, 20);
  }
}

// ---- About box

class AboutBox : public testing::Test {
protected:
  std::unique_ptr<TfmAbout> form = std::make_unique<TfmAbout>(nullptr);
};

TEST_F(AboutBox, ShowsBothPicturesAndHidesTheWebButtonWithoutAnAddress) {
  EXPECT_EQ("About Velmora", form->GetCaption());
  EXPECT_EQ(bsDialog, form->GetBorderStyle());
  EXPECT_EQ(clWhite, form->GetColor());
  EXPECT_TRUE(form->KeyPreview);
  EXPECT_EQ("v1.0", form->lbVersion->GetCaption());
  EXPECT_TRUE(form->Button1->GetDefault());
  EXPECT_EQ(mrCancel, form->Button1->ModalResult);
  EXPECT_EQ("Close", form->Button1->GetCaption());
  EXPECT_EQ("Visit web page", form->butWeb->GetCaption());
  // The build gives no web address by default.
  EXPECT_FALSE(form->butWeb->GetVisible());
  EXPECT_EQ(150, form->Image1->GetPicture()->GetWidth());
  EXPECT_EQ(41, form->Image1->GetPicture()->GetHeight());
  EXPECT_EQ(200, form->Image2->GetPicture()->GetWidth());
  EXPECT_EQ(51, form->Image2->GetPicture()->GetHeight());

  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  EXPECT_EQ(214, form->GetClientWidth());
  EXPECT_EQ(260, form->GetClientHeight());
  auto capture = guitest::TCapture::Paint(form->GetHandle());
  capture.SavePng("dialog_about");
  // The logo's name in navy, the picture's two drums in blue and green, on
  // its light blue ground.
  const TRect logo = form->Image1->GetBoundsRect();
  const TRect picture = form->Image2->GetBoundsRect();
  EXPECT_GT(CountNear(capture, logo, RGB(0, 0, 128), 40), 150);
  EXPECT_GT(CountNear(capture, picture, RGB(150, 190, 240), 30), 300);
  EXPECT_GT(CountNear(capture, picture, RGB(120, 210, 120), 30), 300);
  EXPECT_GT(CountNear(capture, picture, RGB(215, 230, 247), 12), 1500);
  // Nothing else is drawn over the pictures: the rest of the box is white
  // around them.
  EXPECT_EQ(RGB(255, 255, 255), capture.Pixel(logo.right + 2, logo.bottom - 2));
  EXPECT_GT(CountNear(capture, form->lbMaker->GetBoundsRect(), RGB(128, 128, 128), 40), 20);
  // The version sits in the top right corner, clear of the logo.
  EXPECT_GT(form->lbVersion->GetLeft(), logo.right);
  EXPECT_LE(form->lbVersion->GetLeft() + form->lbVersion->GetWidth(), form->GetClientWidth());
  // The maker's line fits above the bottom picture.
  EXPECT_LE(form->lbMaker->GetLeft() + form->lbMaker->GetWidth(), form->GetClientWidth());
  EXPECT_LE(form->lbMaker->GetTop() + form->lbMaker->GetHeight(), picture.top);
}

TEST_F(AboutBox, EscAndEnterClose) {
  for (WORD key : {WORD(VK_ESCAPE), WORD(VK_RETURN)}) {
    guitest::AnswerNextForm([&](TCustomForm*) { guitest::PressKey(key); });
    EXPECT_EQ(mrCancel, form->ShowModal()) << key;
    EXPECT_FALSE(form->GetVisible());
  }
}

// ---- Extract dialog

class ExtractDialog : public testing::Test {
protected:
  void SetUp() override {
    main = std::make_unique<TfmMain>(nullptr);
    form = std::make_unique<TfmDump>(nullptr);
  }
  void TearDown() override {
    form.reset();
    main.reset();
  }
  std::unique_ptr<TfmMain> main;
  std::unique_ptr<TfmDump> form;
};

TEST_F(ExtractDialog, StartsWithTheTargetChosenAndNothingToExtract) {
  EXPECT_EQ("Extract database structure", form->GetCaption());
  EXPECT_EQ(534, form->GetWidth());
  EXPECT_EQ(342, form->GetHeight());
  EXPECT_EQ(poMainFormCenter, form->Position);
  EXPECT_EQ(217, form->CheckListBox1->GetWidth());
  EXPECT_EQ(0, form->CheckListBox1->GetCount());
  EXPECT_EQ("Source ", form->rSourceDB->GetCaption());
  EXPECT_FALSE(form->rSourceDB->GetChecked());
  EXPECT_TRUE(form->rTargetDB->GetChecked());
  EXPECT_FALSE(form->lbSourceDB->GetEnabled());
  EXPECT_TRUE(form->lbTargetDB->GetEnabled());
  for (TLabel* label : {form->lbSourceDB, form->lbTargetDB}) {
    EXPECT_EQ(clNavy, label->GetFont()->GetColor()) << label->GetName();
    EXPECT_TRUE(label->GetFont()->GetStyle().Contains(fsBold)) << label->GetName();
  }
  EXPECT_TRUE(form->Label1->GetFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ("Script options", form->Label1->GetCaption());
  EXPECT_EQ(main->acEditSrcDB, form->BitBtn1->GetAction());
  EXPECT_EQ(main->acEditTgtDB, form->BitBtn4->GetAction());
  EXPECT_EQ("Edit...", form->BitBtn1->GetCaption());
  struct Box {
    TCheckBox* box;
    const char* caption;
    bool checked;
  };
  const Box boxes[] = {{form->cxCheckBox1, "Extract metadata", true},
                       {form->cxCheckBox2, "Extract data", false},
                       {form->cxCheckBox3, "Use short insert syntax", true},
                       {form->cxCheckBox7, "Ignore foreign key restrictions", true},
                       {form->cxCheckBox5, "Drop DB if exists", false},
                       {form->cxCheckBox4, "Create and use DB", false},
                       {form->cxCheckBox6, "Drop table if exists", false}};
  for (const Box& b : boxes) {
    EXPECT_EQ(b.caption, b.box->GetCaption());
    EXPECT_EQ(b.checked, b.box->GetChecked()) << b.caption;
  }
  EXPECT_EQ("All", form->cxButton1->GetCaption());
  EXPECT_EQ("None", form->cxButton2->GetCaption());
  EXPECT_EQ("Extract", form->butOK->GetCaption());
  EXPECT_TRUE(form->butOK->GetDefault());
  EXPECT_FALSE(form->butOK->GetEnabled());
  EXPECT_TRUE(form->butCancel->Cancel);
  EXPECT_EQ(mrCancel, form->butCancel->ModalResult);

  // The statuses as the main window writes them, one of them long.
  form->lbSourceDB->SetCaption(main->lbSource->GetCaption());
  form->lbTargetDB->SetCaption("Target DB: root@[127.0.0.2/velmora_demo_target]");
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  guitest::TCapture::Paint(form->GetHandle()).SavePng("dialog_extract");
  // The options stay within the window, above its bottom row of buttons.
  for (const Box& b : boxes) {
    EXPECT_LE(b.box->GetLeft() + b.box->GetWidth(), form->GetClientWidth()) << b.caption;
    EXPECT_LT(b.box->GetTop() + b.box->GetHeight(), form->butOK->GetTop()) << b.caption;
  }
  // Each status lies below its Edit button, free to take the whole width, and
  // above what follows.
  // A long status wraps within its label.
  for (TLabel* label : {form->lbSourceDB, form->lbTargetDB}) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->GetFont()->GetHandle());
    RECT need{0, 0, label->GetWidth(), 0};
    const String text = label->GetCaption();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_LE(need.right, label->GetWidth()) << label->GetName();
    EXPECT_LE(need.bottom, label->GetHeight()) << label->GetName();
    EXPECT_LE(label->GetLeft() + label->GetWidth(), form->GetClientWidth()) << label->GetName();
  }
  const TControl* column[] = {form->BitBtn1, form->lbSourceDB, form->BitBtn4, form->lbTargetDB,
                              form->cxCheckBox1};
  for (size_t i = 1; i < std::size(column); ++i)
    EXPECT_LE(column[i - 1]->GetTop() + column[i - 1]->GetHeight(), column[i]->GetTop()) << i;
}

TEST_F(ExtractDialog, ChoosingTheSourceGivesBackTheSourceConnection) {
  // As after a script source was chosen in the main window.
  main->acEditSrcDB->SetEnabled(false);
  main->edScriptPath->SetEnabled(true);
  main->lbSource->SetCaption("");
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  EXPECT_FALSE(form->BitBtn1->GetEnabled());

  guitest::ClickControl(form->rSourceDB);
  ASSERT_TRUE(PumpUntil([&] { return form->lbSourceDB->GetEnabled(); }));
  EXPECT_TRUE(form->rSourceDB->GetChecked());
  EXPECT_TRUE(main->acEditSrcDB->GetEnabled());
  EXPECT_TRUE(form->BitBtn1->GetEnabled());
  EXPECT_FALSE(main->edScriptPath->GetEnabled());
  // The main window's status was refreshed.
  EXPECT_EQ("Source database not connected.", main->lbSource->GetCaption());
}

// ---- Opening documents

TEST(OpenDocument, AMissingDocumentIsReportedByName) {
  char temp[MAX_PATH], dir[MAX_PATH], old[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  GetTempFileNameA(temp, "vel", 0, dir);
  DeleteFileA(dir);
  ASSERT_TRUE(CreateDirectoryA(dir, nullptr));
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA(dir);
  String message;
  try {
    OpenDocument("Help.chm", "", "", SW_SHOWNORMAL);
  } catch (const Exception& e) {
    message = e.Message;
  }
  SetCurrentDirectoryA(old);
  RemoveDirectoryA(dir);
  EXPECT_EQ("Document Help.chm is missing.", message);
}

TEST(OpenDocument, EachShellFailureHasItsMessage) {
  struct Case {
    int result;
    const char* message;
  };
  const Case cases[] = {
      {2, "Document Help.chm is missing."},           {3, "Wrong path for document Help.chm."},
      {8, "Not enough memory to start Help.chm."},    {10, "Wrong Windows version."},
      {0, "Error 0 while trying to start Help.chm."}, {31, "Error 31 while trying to start Help.chm."}};
  for (const Case& c : cases)
    EXPECT_EQ(c.message, OpenDocumentErrorMessage(c.result, "Help.chm")) << c.result;
}

} // namespace
