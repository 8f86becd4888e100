// Memo lines, check boxes, radio buttons, menu shortcuts, recreated windows,
// the find dialog and pattern brushes.
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GuiTest.h"
#include "Menus.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

#include <dlgs.h>

namespace {

using guitest::PumpUntil;

TEST(StdControls, MemoLinesBeforeAndAfterItsWindow) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* memo = new TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetBounds(5, 5, 200, 100);
  memo->ScrollBars = ssVertical;
  memo->SetReadOnly(true);
  memo->GetLines()->Add("Table structure");
  memo->GetLines()->Add("Indices");
  EXPECT_EQ(2, memo->GetLines()->GetCount());
  form->Show();
  memo->GetLines()->Add("Done.");
  struct Case {
    int index;
    const char* text;
  };
  for (Case c : {Case{0, "Table structure"}, Case{1, "Indices"}, Case{2, "Done."}})
    EXPECT_EQ(c.text, memo->GetLines()->Get(c.index));
  EXPECT_EQ(3, memo->GetLines()->GetCount());
  EXPECT_EQ("Table structure\r\nIndices\r\nDone.\r\n", memo->GetText());
  memo->GetLines()->Delete(1);
  EXPECT_EQ("Table structure\r\nDone.\r\n", memo->GetText());
  memo->GetLines()->Clear();
  EXPECT_EQ(0, memo->GetLines()->GetCount());
  for (int i = 0; i < 30; ++i)
    memo->GetLines()->Add("line " + IntToStr(i));
  guitest::TCapture::Paint(form->GetHandle()).SavePng("std_memo");
}

// A generated script is appended statement by statement and easily passes the
// system's 32 KB default; no text may be cut off.
TEST(StdControls, MemoTakesTextBeyondTheSystemDefaultLimit) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* memo = new TMemo(form.get());
  memo->SetParent(form.get());
  form->Show();
  const String line = String(98, 'x') + "\r\n";
  String expected;
  for (int i = 0; i < 1000; ++i) {
    memo->SetSelStart(static_cast<int>(expected.size()));
    memo->SetSelText(line);
    expected += line;
  }
  EXPECT_EQ(expected.size(), memo->GetText().size());
  EXPECT_EQ(expected, memo->GetText());
}

TEST(StdControls, PasswordCharMasksWhetherSetBeforeOrAfterTheWindow) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* before = new TEdit(form.get());
  before->SetParent(form.get());
  before->SetPasswordChar('*');
  auto* after = new TEdit(form.get());
  after->SetParent(form.get());
  after->SetTop(40);
  form->Show();
  after->SetPasswordChar('#');
  EXPECT_EQ('*', char(SendMessageA(before->GetHandle(), EM_GETPASSWORDCHAR, 0, 0)));
  EXPECT_EQ('#', char(SendMessageA(after->GetHandle(), EM_GETPASSWORDCHAR, 0, 0)));
}

TEST(StdControls, CheckBoxAndRadioButtonsFollowClicks) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetClientSize(200, 100);
  auto* check = new TCheckBox(form.get());
  check->SetParent(form.get());
  check->SetCaption("Run as single transaction");
  check->SetBounds(10, 10, 180, 17);
  TRadioButton* radios[2];
  for (int i = 0; i < 2; ++i) {
    radios[i] = new TRadioButton(form.get());
    radios[i]->SetParent(form.get());
    radios[i]->SetCaption(i == 0 ? "Database" : "Script file");
    radios[i]->SetBounds(10, 40 + i * 20, 150, 17);
  }
  radios[0]->SetChecked(true);
  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  guitest::ClickAt(check->GetHandle(), 6, 8);
  EXPECT_TRUE(PumpUntil([&] { return check->GetChecked(); }));
  EXPECT_EQ(BST_CHECKED, SendMessageA(check->GetHandle(), BM_GETCHECK, 0, 0));
  EXPECT_EQ(1, clicks);
  guitest::ClickAt(radios[1]->GetHandle(), 6, 8);
  EXPECT_TRUE(PumpUntil([&] { return radios[1]->GetChecked(); }));
  EXPECT_FALSE(radios[0]->GetChecked());
  EXPECT_EQ(BST_UNCHECKED, SendMessageA(radios[0]->GetHandle(), BM_GETCHECK, 0, 0));
  guitest::TCapture::Paint(form->GetHandle()).SavePng("std_check_radio");
}

TEST(StdControls, MainMenuShortcutsAndCommandsRunItems) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* menu = new TMainMenu(form.get());
  auto* file = new TMenuItem(form.get());
  file->SetCaption("&File");
  menu->GetItems()->Add(file);
  auto* open = new TMenuItem(form.get());
  open->SetCaption("&Open script...");
  open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
  int opened = 0;
  open->OnClick = [&](TObject*) { ++opened; };
  file->Add(open);
  form->SetMenu(menu);
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return edit->Focused(); }));
  guitest::PressKey('O', guitest::kCtrl);
  EXPECT_TRUE(PumpUntil([&] { return opened == 1; }));
  // The menu bar sends the item's command.
  PostMessageA(form->GetHandle(), WM_COMMAND, open->GetCommand(), 0);
  EXPECT_TRUE(PumpUntil([&] { return opened == 2; }));
  open->SetEnabled(false);
  guitest::PressKey('O', guitest::kCtrl);
  guitest::PumpFor(100);
  EXPECT_EQ(2, opened);
  char text[64] = {};
  GetMenuStringA(GetMenu(form->GetHandle()), 0, text, sizeof(text), MF_BYPOSITION);
  EXPECT_STREQ("&File", text);
}

} // namespace

namespace {

TEST(StdControls, RecreatedPanelBringsBackItsChildren) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 200, 100);
  auto* button = new TButton(form.get());
  button->SetParent(panel);
  button->SetCaption("Test");
  button->SetBounds(10, 10, 75, 25);
  form->Show();
  HWND before = button->GetHandle();
  panel->SetBorderStyle(bsSingle);
  EXPECT_TRUE(panel->HandleAllocated());
  ASSERT_TRUE(button->HandleAllocated());
  EXPECT_NE(before, button->GetHandle());
  EXPECT_TRUE(IsWindowVisible(button->GetHandle()));
  EXPECT_EQ(panel->GetHandle(), GetParent(button->GetHandle()));
  EXPECT_EQ("Test", button->GetCaption());
}

TEST(StdControls, FindDialogReportsWhatToFind) {
  auto form = std::make_unique<TForm>(nullptr);
  form->Show();
  TFindDialog find(nullptr);
  find.FindText = "select";
  int finds = 0;
  String found;
  find.OnFind = [&](TObject*) {
    ++finds;
    found = find.FindText;
  };
  ASSERT_TRUE(find.Execute());
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(find.GetHandle()) != FALSE; }));
  SetForegroundWindow(find.GetHandle());
  SetFocus(GetDlgItem(find.GetHandle(), edt1));
  SendMessageA(GetDlgItem(find.GetHandle(), edt1), EM_SETSEL, 0, -1);
  guitest::TypeText("where");
  guitest::PressKey(VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return finds == 1; }));
  EXPECT_EQ("where", found);
  EXPECT_TRUE(find.Options.Contains(frDown));
  find.CloseDialog();
  EXPECT_EQ(nullptr, find.GetHandle());
}

TEST(StdControls, BrushPatternBitmapFills) {
  TBitmap pattern;
  pattern.SetPixelFormat(pf24bit);
  pattern.SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      pattern.GetCanvas()->SetPixel(x, y, (x + y) % 2 ? clBlack : clWhite);
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(16, 16);
  target.GetCanvas()->GetBrush()->SetBitmap(&pattern);
  target.GetCanvas()->FillRect(TRect(0, 0, 16, 16));
  EXPECT_EQ(clWhite, target.GetCanvas()->GetPixel(0, 0) & 0xFFFFFF);
  EXPECT_EQ(clBlack, target.GetCanvas()->GetPixel(1, 0) & 0xFFFFFF);
  EXPECT_EQ(clWhite, target.GetCanvas()->GetPixel(9, 1) & 0xFFFFFF);
}

} // namespace
