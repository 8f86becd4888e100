// The stand-ins behave as the controls they stand for where the windows rely
// on it: the combo box's click only on a real change, the ellipsis button
// reporting its index.
#include "Forms.h"
#include "GuiTest.h"
#include "StandIns.h"
#include "cxButtons.h"

#include <gtest/gtest.h>

#include <memory>

using guitest::PumpUntil;

namespace {

class StandIns : public testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(50, 50, 400, 200);
  }
  template <typename T> T* Place(int left, int top, int width, int height) {
    auto* control = new T(form.get());
    control->SetParent(form.get());
    control->SetBounds(left, top, width, height);
    return control;
  }
  void ShowForm() {
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return form->IsShowing(); }));
  }
  std::unique_ptr<TForm> form;
};

TEST_F(StandIns, ComboBoxClicksOnlyWhenTheItemChanges) {
  auto* combo = Place<TStandInComboBox>(8, 8, 150, 21);
  int clicks = 0;
  combo->OnClick = [&](TObject*) { ++clicks; };
  TStrings* items = combo->GetProperties()->GetItems();
  items->Add("sales");
  items->Add("Stock");
  // Searched without regard to letter case, as the connection dialog does.
  EXPECT_EQ(1, items->IndexOf("STOCK"));
  struct Step {
    int index;
    int clicksAfter;
  };
  for (Step step : {Step{1, 1}, Step{1, 1}, Step{0, 2}, Step{-1, 3}, Step{-1, 3}}) {
    SCOPED_TRACE(step.index);
    combo->SetItemIndex(step.index);
    EXPECT_EQ(step.index, combo->GetItemIndex());
    EXPECT_EQ(step.clicksAfter, clicks);
  }
}

} // namespace
