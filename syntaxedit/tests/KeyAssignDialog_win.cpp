// The key pair dialog driven by real keys and clicks from inside its loop.
#include "GuiTest.h"
#include "SYM_KDlg.h"

#include <gtest/gtest.h>

namespace {

using guitest::PressKey;
using guitest::PumpUntil;

struct Answered {
  bool nextEnabled = false;
  String first;
  String second;
};

// Presses each key in the focused box of the step, as the user would.
void Press(TKeyAssignDialog* d, int step, WORD key, int modifiers = guitest::kNone) {
  EXPECT_TRUE(PumpUntil([&] { return d->GetKeyBox(step)->Focused(); }, 2000)) << "step " << step;
  PressKey(key, modifiers);
  PumpUntil([&] { return !d->GetKeyBox(step)->GetText().empty(); }, 1000);
}

} // namespace

TEST(KeyAssignDialog, AddingCapturesBothStepsAndFinishes) {
  TKeyAssignDialog dialog(nullptr);
  Answered seen;
  guitest::AnswerNextForm([&](TCustomForm*) {
    seen.nextEnabled = dialog.NextButton->GetEnabled();
    Press(&dialog, 1, 'K', guitest::kCtrl);
    seen.first = dialog.GetKeyBox(1)->GetText();
    guitest::ClickControl(dialog.NextButton);
    PumpUntil([&] { return dialog.GetStep() == 2; });
    guitest::TCapture::Paint(dialog.GetHandle()).SavePng("syntaxmemo_key_dialog_step2");
    Press(&dialog, 2, 'B');
    seen.second = dialog.GetKeyBox(2)->GetText();
    EXPECT_EQ(dialog.NextButton->GetCaption(), "Finish");
    guitest::ClickControl(dialog.NextButton);
  });
  TShortCut first = 0x4041, second = 0x42;
  EXPECT_TRUE(
      dialog.ExecuteKeyPair(first, second, "Block indent", "Press the first key", "Press the second key", 1));
  EXPECT_EQ(dialog.GetCaption(), "Add new key pair for: Block indent");
  EXPECT_FALSE(seen.nextEnabled);
  EXPECT_EQ(seen.first, ShortCutToText(ShortCut('K', TShiftState{ssCtrl})));
  EXPECT_EQ(first, ShortCut('K', TShiftState{ssCtrl}));
  EXPECT_EQ(second, ShortCut('B', TShiftState{}));
}

TEST(KeyAssignDialog, EditingShowsThePairCapturesTabAndCancelStillReturnsTheBoxes) {
  TKeyAssignDialog dialog(nullptr);
  String shown;
  guitest::AnswerNextForm([&](TCustomForm*) {
    shown = dialog.GetKeyBox(1)->GetText() + "|" + dialog.GetKeyBox(2)->GetText();
    guitest::TCapture::Paint(dialog.GetHandle()).SavePng("syntaxmemo_key_dialog_step1");
    EXPECT_TRUE(PumpUntil([&] { return dialog.GetKeyBox(1)->Focused(); }, 2000));
    PressKey(VK_TAB);
    PumpUntil([&] { return dialog.GetKeyBox(1)->GetText() == "Tab"; }, 1000);
    EXPECT_TRUE(dialog.GetKeyBox(1)->Focused()) << "Tab moved the focus";
    // The second key is on the step behind.
    dialog.ClearKey2Button->OnClick(dialog.ClearKey2Button);
    guitest::ClickControl(dialog.CancelButton);
  });
  const TShortCut ctrlK = ShortCut('K', TShiftState{ssCtrl});
  TShortCut first = ctrlK, second = ShortCut('B', TShiftState{});
  EXPECT_FALSE(dialog.ExecuteKeyPair(first, second, "Block indent", "one", "two", 0));
  EXPECT_EQ(dialog.GetCaption(), "Edit key pair for: Block indent");
  EXPECT_EQ(shown, ShortCutToText(ctrlK) + "|B");
  EXPECT_EQ(first, ShortCut(VK_TAB, TShiftState{}));
  EXPECT_EQ(second, 0);
}
