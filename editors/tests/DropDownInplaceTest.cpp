// Drop-down editors hosted in place: opening on activation, by an
// activation key, a requested opening cancelled by the deactivation, the
// popup size kept in the host's edit data rather than in the settings, the
// keys and wheel of a closed in-place combo, the popup's look taken from
// the editor's style, and no selected-item look in place.
#include "DropDownTest.h"
#include "EditTest.h"

#include "ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;

using TInplaceCombo = TInplaceEditor<TcxComboBox>;
using TInplaceComboForm = TDropDownForm<TInplaceCombo>;

void AddItems(TcxComboBox* ACombo, int ACount) {
  for (int i = 0; i < ACount; ++i)
    ACombo->GetProperties()->GetItems()->Add("item" + IntToStr(i));
}

TcxCustomDropDownEditData* DataOf(const std::unique_ptr<TcxCustomEditData>& AData) {
  return dynamic_cast<TcxCustomDropDownEditData*>(AData.get());
}

TEST(DropDownInplace, ActivationOpensThePopupOnlyUnderImmediatePopup) {
  for (bool immediate : {false, true}) {
    SCOPED_TRACE(immediate);
    TInplaceComboForm f;
    AddItems(f.edit, 5);
    f.edit->GetProperties()->ImmediatePopup = immediate;
    f.Show();
    std::unique_ptr<TcxCustomEditData> data;
    f.edit->ActivateInplace(data);
    ASSERT_NE(nullptr, DataOf(data)) << "the editor makes its own edit data";
    EXPECT_TRUE(f.edit->IsFocused());
    if (immediate) {
      EXPECT_TRUE(f.WaitOpen());
    } else {
      PumpFor(200);
      EXPECT_FALSE(f.edit->HasPopupWindow());
    }
    EXPECT_TRUE(f.edit->DeactivateInplace());
    EXPECT_FALSE(f.edit->HasPopupWindow()) << "deactivation closes the popup";
  }
}

TEST(DropDownInplace, ATypedActivationKeyOpensTheComboAndIsTypedIntoIt) {
  TInplaceComboForm f;
  AddItems(f.edit, 5);
  f.Show();
  std::unique_ptr<TcxCustomEditData> data;
  f.edit->ActivateInplaceByKey('i', data);
  ASSERT_TRUE(f.WaitOpen()) << "ImmediateDropDown opens on a character";
  ASSERT_TRUE(PumpUntil([&] { return !f.edit->GetText().empty(); }));
  EXPECT_EQ('i', f.edit->GetText()[0]);
  f.edit->DeactivateInplace();
}

TEST(DropDownInplace, APopupEditActivatedByACharacterOpensAndHandsItToItsControl) {
  TDropDownForm<TInplaceEditor<TcxPopupEdit>> f;
  auto* panel = new TPanel(f.form.get());
  panel->SetParent(f.form.get());
  panel->SetBounds(200, 100, 150, 120);
  auto* target = new TEdit(f.form.get());
  target->SetParent(panel);
  target->SetBounds(5, 6, 90, 21);
  f.edit->GetProperties()->SetPopupControl(target);
  f.edit->GetPopupWindow()->RunsModalLoop = false;
  f.Show();
  std::unique_ptr<TcxCustomEditData> data;
  f.edit->ActivateInplaceByKey('q', data);
  ASSERT_TRUE(f.WaitOpen());
  ASSERT_TRUE(PumpUntil([&] { return target->GetText() == "q"; }));
  EXPECT_EQ("", f.edit->GetText()) << "the character went to the popup, not the editor";
  f.edit->DeactivateInplace();
  EXPECT_FALSE(f.edit->HasPopupWindow());
  EXPECT_EQ(panel, target->GetParent());
}

TEST(DropDownInplace, DeactivationCancelsARequestedOpeningAndClosesWithoutAccepting) {
  TInplaceComboForm f;
  AddItems(f.edit, 5);
  f.Show();
  std::unique_ptr<TcxCustomEditData> data;
  f.edit->ActivateInplace(data);
  // Requested: the opening is posted, not yet shown.
  f.edit->DropDown();
  EXPECT_FALSE(f.edit->HasPopupWindow());
  f.edit->DeactivateInplace();
  PumpFor(300);
  EXPECT_FALSE(f.edit->HasPopupWindow()) << "no late opening after the deactivation";
  // Open, a row highlighted: the deactivation closes without taking it.
  f.edit->ActivateInplace(data);
  f.edit->DropDown();
  ASSERT_TRUE(f.WaitOpen());
  PressKey(VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetComboLookupData()->GetListBox()->GetItemIndex() >= 0; }));
  f.edit->DeactivateInplace();
  EXPECT_FALSE(f.edit->HasPopupWindow());
  EXPECT_EQ("", f.edit->GetText());
}

TEST(DropDownInplace, ThePopupSizeLivesInTheEditDataNotInTheSettings) {
  TInplaceComboForm f;
  AddItems(f.edit, 30);
  TcxComboBoxProperties* properties = f.edit->GetProperties();
  properties->SetDropDownSizeable(true);
  properties->SetPopupHeight(140);
  f.Show();
  std::unique_ptr<TcxCustomEditData> data;
  f.edit->ActivateInplace(data);
  TcxCustomDropDownEditData* stored = DataOf(data);
  ASSERT_NE(nullptr, stored);
  // Fresh data starts from the settings.
  EXPECT_FALSE(stored->SizeStored);
  EXPECT_EQ(140, stored->PopupHeight);
  EXPECT_FALSE(f.edit->IsResizedByUser());
  // The data's height, not the settings', sizes the popup.
  stored->PopupHeight = 180;
  f.edit->DropDown();
  ASSERT_TRUE(f.WaitOpen());
  // (The list keeps whole rows, so the window may come out a little lower.)
  const int row = f.edit->GetComboLookupData()->GetListBox()->GetItemHeight(0);
  const int height = f.edit->GetPopupWindow()->GetHeight();
  EXPECT_LE(height, 180);
  EXPECT_GT(height, 180 - row);
  // A size the user chose goes into the data on closing; the settings keep theirs.
  f.edit->SetResizedByUser(true);
  const int width = f.edit->GetPopupWindow()->GetWidth();
  f.edit->SetDroppedDown(false);
  ASSERT_TRUE(f.WaitOpen(false));
  EXPECT_TRUE(stored->SizeStored);
  EXPECT_EQ(width, stored->PopupWidth);
  EXPECT_EQ(height, stored->PopupHeight);
  EXPECT_EQ(140, properties->GetPopupHeight());
  EXPECT_EQ(0, properties->GetPopupWidth());
  // Deactivation records the flag, the next activation takes it back.
  f.edit->SetResizedByUser(false);
  f.edit->DeactivateInplace();
  EXPECT_FALSE(stored->SizeStored);
  stored->SizeStored = true;
  f.edit->ActivateInplace(data);
  EXPECT_TRUE(f.edit->IsResizedByUser());
  properties->SetDropDownSizeable(false);
  EXPECT_FALSE(f.edit->IsResizedByUser()) << "a popup that cannot be sized forgets the user's size";
  f.edit->DeactivateInplace();
}

TEST(DropDownInplace, AClosedInPlaceComboChangesItsItemByTheWheelOnly) {
  TInplaceComboForm f;
  AddItems(f.edit, 5);
  f.Show();
  std::unique_ptr<TcxCustomEditData> data;
  f.edit->ActivateInplace(data);
  ASSERT_TRUE(f.edit->IsFocused());
  EXPECT_FALSE(f.edit->CanChangeLookupItem(false));
  EXPECT_TRUE(f.edit->CanChangeLookupItem(true));
  PressKey(VK_DOWN);
  PumpFor(100);
  EXPECT_EQ("", f.edit->GetText()) << "Down leaves a closed in-place combo alone";
  guitest::WheelAt(f.edit->GetHandle(), 20, 10, -WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetText() == "item0"; }));
  // Open: keys with Alt or Ctrl and characters outside 32..255 are click keys.
  EXPECT_FALSE(f.edit->IsClickKey(VK_DOWN, TShiftState{ssAlt}));
  f.edit->DropDown();
  ASSERT_TRUE(f.WaitOpen());
  EXPECT_TRUE(f.edit->CanChangeLookupItem(false));
  EXPECT_TRUE(f.edit->IsClickKey(VK_DOWN, TShiftState{ssAlt}));
  EXPECT_TRUE(f.edit->IsClickKey('A', TShiftState{ssCtrl}));
  EXPECT_TRUE(f.edit->IsClickKey(VK_BACK, TShiftState()));
  EXPECT_FALSE(f.edit->IsClickKey('A', TShiftState()));
  f.edit->DeactivateInplace();
}

TEST(DropDownInplace, ThePopupLookFollowsTheStyleInPlaceAndTheButtonsOtherwise) {
  TDropDownForm<TcxComboBox> standAlone;
  TInplaceComboForm inPlace;
  for (TcxComboBox* edit : {static_cast<TcxComboBox*>(standAlone.edit), static_cast<TcxComboBox*>(inPlace.edit)}) {
    edit->GetStyle()->GetLookAndFeel()->SetKind(lfUltraFlat);
    edit->GetStyle()->SetButtonStyle(bts3D);
    edit->GetProperties()->SetDropDownListStyle(lsFixedList);
    AddItems(edit, 3);
  }
  standAlone.Show();
  inPlace.Show();
  EXPECT_EQ(lfStandard, standAlone.edit->GetPopupControlsLookAndFeel()->GetKind()) << "from the 3-D button";
  EXPECT_EQ(lfUltraFlat, inPlace.edit->GetPopupControlsLookAndFeel()->GetKind()) << "from the style";
  // A focused, closed fixed list looks like a selected item only stand-alone.
  standAlone.Focus();
  ASSERT_TRUE(standAlone.edit->IsFocused());
  EXPECT_TRUE(standAlone.edit->GetViewInfo()->IsSelectedLook);
  std::unique_ptr<TcxCustomEditData> data;
  inPlace.edit->ActivateInplace(data);
  ASSERT_TRUE(inPlace.edit->IsFocused());
  EXPECT_FALSE(inPlace.edit->GetViewInfo()->IsSelectedLook);
  inPlace.edit->DeactivateInplace();
}

} // namespace
