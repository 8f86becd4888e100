// The editor's find and replace dialogs under Wine, driven as a user would:
// keys and clicks in the dialogs, the confirmation answered from its loop.
#include "Dialogs.h"
#include "EditorWindowFixture.h"
#include "SyntaxEd_replace.h"
#include "SyntaxMemo.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

class SearchDialogs : public EditorWindowTest {
protected:
  template <typename T> T* Owned() {
    for (int i = 0; i < Memo->GetComponentCount(); ++i)
      if (auto* d = dynamic_cast<T*>(Memo->GetComponent(i))) return d;
    return nullptr;
  }
  // The dialog's window once it is up.
  HWND DialogWindow(TFindDialog* dialog) {
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return nullptr;
    EXPECT_TRUE(PumpUntil([&] { return dialog->GetHandle() && IsWindowVisible(dialog->GetHandle()); }));
    return dialog->GetHandle();
  }
  String ItemText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
  }
  void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    RECT r;
    GetClientRect(button, &r);
    guitest::ClickAt(button, r.right / 2, r.bottom / 2);
  }
  // Answers the confirmations that come one after another with these keys
  // (Alt plus the letter; Escape cancels), keeping their texts.
  void AnswerConfirmations(std::vector<WORD> keys) {
    if (keys.empty()) return;
    guitest::AnswerNextForm([this, keys](TCustomForm* form) {
      Questions.push_back(guitest::MessageText(form));
      Places.push_back(TPoint{form->GetLeft(), form->GetTop()});
      AnswerConfirmations(std::vector<WORD>(keys.begin() + 1, keys.end()));
      guitest::PressKey(keys[0], keys[0] == VK_ESCAPE ? guitest::kNone : guitest::kAlt);
    });
  }
  void WaitForAnswers() {
    EXPECT_TRUE(PumpUntil([] { return !guitest::AnswerPending(); }, 10000));
    PumpFor(100);
  }

  std::vector<String> Questions;
  std::vector<TPoint> Places;
};

constexpr int kFindEdit = 0x480;
constexpr int kReplaceEdit = 0x481;
constexpr int kReplaceButton = 0x400;
constexpr int kReplaceAllButton = 0x401;

} // namespace

TEST_F(SearchDialogs, FindDialogStartsWithTheSelectionAndFindsTheNextOccurrence) {
  SetText("select a from b;\r\nselect c");
  Memo->GetModel().SetSelection(0, 6, true);
  Memo->Perform(SM_FIND, 0, 0);
  HWND dialog = DialogWindow(Owned<TFindDialog>());
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ItemText(dialog, kFindEdit), "select");
  EXPECT_FALSE(Memo->HideSelection);
  // The first press finds the selected text itself, the next steps past it.
  Click(dialog, IDOK);
  ASSERT_TRUE(PumpUntil([&] { return Selection() == std::make_pair(0, 6); }));
  Click(dialog, IDOK);
  EXPECT_TRUE(PumpUntil([&] { return Selection() == std::make_pair(17, 23); }));
  guitest::TCapture::Paint(dialog).SavePng("syntaxmemo_find_dialog");

  String failed;
  Memo->OnSearchFail = [&](TObject*, const String& text) { failed = text; };
  Click(dialog, IDOK);
  EXPECT_TRUE(PumpUntil([&] { return failed == "select"; }));

  // In regular-expression mode the dialog starts empty.
  Memo->Perform(SM_FIND, sfRegularExpression, 0);
  EXPECT_EQ(ItemText(dialog, kFindEdit), "");
  // The replace dialog takes the find dialog's place.
  Memo->Perform(SM_REPLACE, 0, 0);
  HWND replace = DialogWindow(Owned<TReplaceDialog>());
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));
  EXPECT_TRUE(IsWindowVisible(replace));
}

TEST_F(SearchDialogs, DirectFindThroughTheMessage) {
  SetText("alpha beta\r\ngamma beta");
  EXPECT_EQ(Memo->Perform(SM_FIND, sfSearchNow, reinterpret_cast<LPARAM>("beta")), 6);
  EXPECT_NE(Memo->Perform(SM_FIND, sfSearchNow | sfRegularExpression, reinterpret_cast<LPARAM>("g[a-z]+")),
            -1);
  EXPECT_EQ(Selection(), std::make_pair(11, 16));
  EXPECT_EQ(Owned<TFindDialog>(), nullptr);
  // A bad pattern shows the error box with the pattern and a caret.
  String box;
  guitest::AnswerNextForm([&](TCustomForm* form) {
    box = guitest::MessageText(form);
    form->SetModalResult(mrOk);
  });
  EXPECT_EQ(Memo->Perform(SM_FIND, sfSearchNow | sfRegularExpression, reinterpret_cast<LPARAM>("a[b")), -1);
  EXPECT_NE(box.find("\r\na[b\r\n"), String::npos) << box;
  EXPECT_EQ(box.back(), '^');
}

TEST_F(SearchDialogs, ReplaceAskingYesNoAllCancel) {
  struct Case {
    std::vector<WORD> keys;
    const char* want;
  } cases[] = {
      {{'Y', 'N', VK_ESCAPE}, "b x a x a x a"},
      {{'N', 'A'}, "a x b x b x b"},
  };
  for (const Case& c : cases) {
    SetText("a x a x a x a");
    Memo->GetModel().SetSelection(0, 0, true);
    Memo->Perform(SM_REPLACE, 0, 0);
    HWND dialog = DialogWindow(Owned<TReplaceDialog>());
    ASSERT_TRUE(dialog);
    SetDlgItemTextA(dialog, kFindEdit, "a");
    SetDlgItemTextA(dialog, kReplaceEdit, "b");
    Questions.clear();
    Places.clear();
    AnswerConfirmations(c.keys);
    Click(dialog, kReplaceButton);
    WaitForAnswers();
    EXPECT_EQ(Text(), c.want);
    ASSERT_FALSE(Questions.empty());
    EXPECT_EQ(Questions[0], "Replace this occurence of 'a' with 'b' ?");
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(Places[0].x, r.left - 10);
    EXPECT_EQ(Places[0].y, r.top - 10);
  }
}

TEST_F(SearchDialogs, ReplaceAllUndoesInOneStep) {
  SetText("cat concat cat\r\ncat");
  Memo->GetModel().SetSelection(0, 0, true);
  Memo->Perform(SM_REPLACE, 0, 0);
  HWND dialog = DialogWindow(Owned<TReplaceDialog>());
  ASSERT_TRUE(dialog);
  SetDlgItemTextA(dialog, kFindEdit, "cat");
  SetDlgItemTextA(dialog, kReplaceEdit, "dog");
  CheckDlgButton(dialog, 0x410, BST_CHECKED); // whole word
  Click(dialog, kReplaceAllButton);
  ASSERT_TRUE(PumpUntil([&] { return Text() == "dog concat dog\rdog"; })) << Text();
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  Memo->GetModel().Undo();
  EXPECT_EQ(Text(), "cat concat cat\rcat");
}
