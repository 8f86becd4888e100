// The spin button: its halves, the repeat of a held button (its timer fired
// by the test) and the arrow keys.
#include "GuiTest.h"
#include "SYM_Spin.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

class SpinButton : public ::testing::Test {
protected:
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(40, 40, 200, 120);
    Spin = new TSpinButton(Form.get());
    Spin->SetParent(Form.get());
    Spin->SetBounds(10, 10, 10, 40);
    Spin->OnUpClick = [this](TObject*) { ++Ups; };
    Spin->OnDownClick = [this](TObject*) { ++Downs; };
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Spin->IsShowing(); }));
  }
  // A button event over the middle of one of the two buttons.
  void Press(TControl* button, DWORD flags) {
    POINT p{button->GetLeft() + button->GetWidth() / 2, button->GetTop() + button->GetHeight() / 2};
    ClientToScreen(Spin->GetHandle(), &p);
    SetCursorPos(p.x, p.y);
    PumpFor(30);
    guitest::SendMouseAt(p, flags);
    PumpFor(60);
  }

  std::unique_ptr<TForm> Form;
  TSpinButton* Spin = nullptr;
  int Ups = 0;
  int Downs = 0;
};

} // namespace

TEST_F(SpinButton, NarrowIsWidenedAndTheHalvesOverlapByOnePixel) {
  EXPECT_EQ(Spin->GetWidth(), 15);
  EXPECT_EQ(Spin->GetUpButton()->GetHeight(), 20);
  EXPECT_EQ(Spin->GetDownButton()->GetTop(), 19);
  EXPECT_EQ(Spin->GetDownButton()->GetHeight(), 21);
  // Each half shows its arrow glyph.
  const guitest::TCapture shot = guitest::TCapture::Paint(Form->GetHandle());
  shot.SavePng("syntaxmemo_spin_button");
  for (TControl* half :
       {static_cast<TControl*>(Spin->GetUpButton()), static_cast<TControl*>(Spin->GetDownButton())}) {
    const TPoint origin = Form->ScreenToClient(Spin->ClientToScreen({half->GetLeft(), half->GetTop()}));
    const RECT r{origin.x, origin.y, origin.x + half->GetWidth(), origin.y + half->GetHeight()};
    EXPECT_GT(shot.CountPixels(r, RGB(0, 0, 0)), 6);
  }
}

TEST_F(SpinButton, AHeldButtonRepeatsAfterFourHundredThenEveryHundredMilliseconds) {
  Press(Spin->GetUpButton(), MOUSEEVENTF_LEFTDOWN);
  TTimer* timer = Spin->GetUpButton()->GetRepeatTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->GetEnabled());
  EXPECT_EQ(timer->GetInterval(), 400u);
  timer->GetOnTimer()(timer);
  EXPECT_EQ(timer->GetInterval(), 100u);
  timer->GetOnTimer()(timer);
  EXPECT_EQ(Ups, 2);
  Press(Spin->GetUpButton(), MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(timer->GetEnabled());
  // The release is the button's own click.
  EXPECT_EQ(Ups, 3);
  EXPECT_EQ(Downs, 0);
}

TEST_F(SpinButton, ArrowKeysClickTheirButtons) {
  Spin->SetTabStop(true);
  Spin->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return Spin->Focused(); }));
  guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_UP);
  ASSERT_TRUE(PumpUntil([&] { return Ups + Downs == 3; }));
  EXPECT_EQ(Downs, 2);
  EXPECT_EQ(Spin->GetFocusedButton(), Spin->GetUpButton());
  guitest::PressKey(VK_SPACE);
  EXPECT_TRUE(PumpUntil([&] { return Ups == 2; }));
}
