// The radio group on a form, its item buttons clicked by real input.
#include "cxRadioGroup.h"

#include "PaintTest.h"

#include <gtest/gtest.h>

namespace {

struct TGroupForm {
  TGroupForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(80, 80, 320, 200);
    form->SetColor(clBtnFace);
    group = new TcxRadioGroup(form.get());
    group->SetBounds(10, 10, 185, 105);
    group->SetParent(form.get());
    for (const char* caption : {"Alpha", "Beta", "Gamma"})
      group->GetProperties()->GetItems()->Add()->SetCaption(caption);
    form->Show();
    form->Update();
    guitest::PumpFor(20);
  }
  void Click(int AIndex) {
    HWND button = group->GetButton(AIndex)->GetHandle();
    guitest::MouseEventAt(button, 30, 8, 0);
    guitest::PumpFor(50);
    guitest::MouseEventAt(button, 30, 8, MOUSEEVENTF_LEFTDOWN);
    guitest::PumpFor(50);
    guitest::MouseEventAt(button, 30, 8, MOUSEEVENTF_LEFTUP);
    guitest::PumpUntil([&] { return group->GetItemIndex() == AIndex; }, 2000);
    guitest::PumpFor(50);
  }
  std::unique_ptr<TForm> form;
  TcxRadioGroup* group;
};

// Groups are made, clicked and freed again in one process: each item's
// caption is read only once the item is whole.
TEST(RadioGroupWindow, AClickOnAnItemSelectsIt) {
  for (int round = 0; round < 3; ++round) {
    TGroupForm f;
    f.Click(round);
    EXPECT_EQ(f.group->GetItemIndex(), round);
    EXPECT_TRUE(f.group->GetButton(round)->GetChecked());
    EXPECT_EQ(f.group->GetButton(round)->GetCaption(),
              f.group->GetProperties()->GetItems()->GetItem(round)->GetCaption());
  }
}

} // namespace
