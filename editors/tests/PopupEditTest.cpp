// The popup edit borrows a control of the form for its popup: a character
// typed into the closed editor reaches that control, the control goes back
// to its place afterwards, a circular choice is refused, and a control or
// parent freed while borrowed is never touched again.
#include "DropDownTest.h"

#include "ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

struct TPopupEditForm : TDropDownForm<TcxPopupEdit> {
  TPopupEditForm() {
    panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(200, 100, 150, 120);
    target = new TEdit(form.get());
    target->SetParent(panel);
    target->SetBounds(5, 6, 90, 21);
    target->SetVisible(false);
    edit->GetProperties()->SetPopupControl(target);
    // The test's own loop waits for the popup: the popup does not run one.
    edit->GetPopupWindow()->RunsModalLoop = false;
  }
  TPanel* panel;
  TEdit* target;
};

TEST(PopupEdit, ACharacterTypedIntoTheClosedEditorReachesTheBorrowedControl) {
  TPopupEditForm f;
  f.Show();
  f.Focus();
  guitest::TypeText("q");
  ASSERT_TRUE(f.WaitOpen());
  ASSERT_TRUE(PumpUntil([&] { return f.target->GetText() == "q"; }));
  EXPECT_EQ(f.Popup(), f.target->GetParent());
  EXPECT_TRUE(f.target->GetVisible());
  EXPECT_EQ("", f.edit->GetText()) << "the character went to the popup";
  f.edit->SetDroppedDown(false);
  ASSERT_TRUE(f.WaitOpen(false));
  // Back at its place and size, hidden as it was.
  EXPECT_EQ(f.panel, f.target->GetParent());
  EXPECT_EQ(TRect(5, 6, 95, 27), f.target->GetBoundsRect());
  EXPECT_FALSE(f.target->GetVisible());
  EXPECT_EQ(alNone, f.target->GetAlign());
}

TEST(PopupEdit, AControlThatHoldsTheEditorIsRefusedAsCircular) {
  TPopupEditForm f;
  f.Show();
  for (TControl* control : {static_cast<TControl*>(f.form.get()), static_cast<TControl*>(f.edit)}) {
    f.edit->GetProperties()->SetPopupControl(control);
    try {
      f.edit->DropDown();
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ("Circular referencing is not allowed", e.Message);
    }
    PumpFor(50);
    EXPECT_FALSE(f.edit->HasPopupWindow());
  }
  EXPECT_EQ(nullptr, f.form->GetParent()) << "the form was not touched";
}

TEST(PopupEdit, DestroyingTheEditorWhileOpenReturnsTheControl) {
  TPopupEditForm f;
  f.Show();
  f.edit->SetDroppedDown(true);
  ASSERT_TRUE(f.WaitOpen());
  delete f.edit;
  EXPECT_EQ(f.panel, f.target->GetParent());
  EXPECT_EQ(TRect(5, 6, 95, 27), f.target->GetBoundsRect());
}

// The borrowed control, or the parent it came from, freed while the popup
// shows it: closing and destroying the editor touch neither.
TEST(PopupEdit, AControlOrParentFreedWhileBorrowedIsLeftAlone) {
  for (bool freeParent : {false, true}) {
    SCOPED_TRACE(freeParent);
    TPopupEditForm f;
    f.Show();
    f.edit->SetDroppedDown(true);
    ASSERT_TRUE(f.WaitOpen());
    if (freeParent) {
      delete f.panel;
    } else {
      delete f.target;
      EXPECT_EQ(nullptr, f.edit->GetProperties()->GetPopupControl());
    }
    f.edit->SetDroppedDown(false);
    ASSERT_TRUE(f.WaitOpen(false));
    if (freeParent) {
      EXPECT_EQ(nullptr, f.target->GetParent()) << "no parent to go back to";
      EXPECT_FALSE(f.target->GetVisible());
    } else {
      EXPECT_FALSE(f.edit->CanDropDown());
    }
    delete f.edit;
  }
}

} // namespace
