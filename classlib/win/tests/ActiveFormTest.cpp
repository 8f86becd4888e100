// The screen's active form is a living one: a form that goes while its
// focus is in a control on a panel never records itself as active on its way
// out (the focus moves to the panel as the control's window is destroyed).
#include "ExtCtrls.h"
#include "Forms.h"
#include "GuiTest.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ActiveForm, AFormThatGoesWithTheFocusInAControlIsNoLongerTheActiveForm) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 300, 200);
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetAlign(alClient);
  auto* edit = new TEdit(form.get());
  edit->SetParent(panel);
  edit->SetBounds(10, 10, 120, 21);
  form->Show();
  ASSERT_TRUE(guitest::PumpUntil([&] { return GetActiveWindow() == form->GetHandle(); }));
  edit->SetFocus();
  ASSERT_TRUE(guitest::PumpUntil([&] { return GetFocus() == edit->GetHandle(); }));
  ASSERT_EQ(form.get(), Screen->GetActiveForm());

  const TCustomForm* gone = form.get();
  form.reset();
  EXPECT_NE(gone, Screen->GetActiveForm());
}
