// The spin edit's steps, bounds and keys, and the button edit's click and
// Ctrl+Enter, driven by real input on a form of their own.
#include "cxButtonEdit.h"
#include "cxSpinEdit.h"

#include "Forms.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;

template <typename TEditClass> struct TEditorForm {
  TEditorForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 300, 120);
    edit = new TEditClass(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 160, 21);
    edit->AfterConstruction();
  }
  void Show() {
    form->Show();
    form->Update();
    PumpFor(20);
    edit->SetFocus();
    PumpUntil([this] { return edit->IsFocused(); }, 2000);
  }
  std::unique_ptr<TForm> form;
  TEditClass* edit;
};

TEST(SpinEdit, IntegerIncrementsRoundHalfToEven) {
  const struct {
    double increment;
    int step;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.increment);
    TEditorForm<TcxSpinEdit> f;
    f.edit->GetProperties()->SetIncrement(c.increment);
    EXPECT_EQ(vtInt, f.edit->GetProperties()->GetValueType()) << "a stand-alone edit counts integers";
    EXPECT_EQ(c.step, f.edit->GetIncrement(sebForward));
    EXPECT_EQ(-c.step, f.edit->GetIncrement(sebBackward));
    f.Show();
    f.edit->SetValue(Variant(0));
    f.edit->DoStep(sebForward);
    EXPECT_EQ(c.step, f.edit->GetValue().AsInteger());
  }
}

TEST(SpinEdit, StepsStopAtTheBoundsAndAtThe32BitLimits) {
  const struct {
    double minValue, maxValue;
    int start;
    TcxSpinEditButton kind;
    int expected;
  } cases[] = {
      {1, 10, 10, sebForward, 10},
      {1, 10, 0, sebBackward, 0},
      {1, 10, 0, sebForward, 1},
      {1, 10, 9, sebFastForward, 10},
      {1, 10, 12, sebBackward, 10},
      {0, 0, 0, sebBackward, -1},
      {0, 0, INT_MAX, sebForward, INT_MAX},
      {0, 0, INT_MIN, sebFastBackward, INT_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " " << c.kind);
    TEditorForm<TcxSpinEdit> f;
    f.edit->GetProperties()->SetMinValue(c.minValue);
    f.edit->GetProperties()->SetMaxValue(c.maxValue);
    f.Show();
    f.edit->SetValue(Variant(c.start));
    f.edit->DoStep(c.kind);
    EXPECT_EQ(c.expected, f.edit->GetValue().AsInteger());
  }
}

TEST(SpinEdit, ArrowKeysSpinOnlyWithCtrlUnderUseCtrlIncrementAndLettersAreRefused) {
  for (bool useCtrl : {false, true}) {
    SCOPED_TRACE(useCtrl);
    TEditorForm<TcxSpinEdit> f;
    f.edit->GetProperties()->UseCtrlIncrement = useCtrl;
    f.Show();
    PressKey(VK_UP);
    PumpFor(100);
    EXPECT_EQ(useCtrl ? 0 : 1, f.edit->GetValue().AsInteger());
    PressKey(VK_UP, guitest::kCtrl);
    PumpFor(100);
    EXPECT_EQ(useCtrl ? 1 : 2, f.edit->GetValue().AsInteger());
    PressKey(VK_PRIOR);
    PumpFor(100);
    EXPECT_EQ(useCtrl ? 1 : 12, f.edit->GetValue().AsInteger());
    const String before = f.edit->GetText();
    guitest::TypeText("a");
    PumpFor(100);
    EXPECT_EQ(before, f.edit->GetText());
  }
}

TEST(SpinEdit, AHeldButtonStepsAtOnceThenRepeatsUntilReleased) {
  TEditorForm<TcxSpinEdit> f;
  f.Show();
  const TRect up = f.edit->GetViewInfo()->ButtonsInfo[sebForward]->Bounds;
  const int x = (up.left + up.right) / 2;
  const int y = (up.top + up.bottom) / 2;
  guitest::MouseEventAt(f.edit->GetHandle(), x, y);
  guitest::MouseEventAt(f.edit->GetHandle(), x, y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return f.edit->GetValue().AsInteger() >= 1; }, 2000));
  PumpFor(200);
  EXPECT_EQ(1, f.edit->GetValue().AsInteger()) << "no repeat before about 400 ms";
  PumpFor(1000);
  const int held = f.edit->GetValue().AsInteger();
  EXPECT_GE(held, 4) << "several steps within a second";
  guitest::MouseEventAt(f.edit->GetHandle(), x, y, MOUSEEVENTF_LEFTUP);
  PumpFor(50);
  const int released = f.edit->GetValue().AsInteger();
  PumpFor(500);
  EXPECT_EQ(released, f.edit->GetValue().AsInteger()) << "none after the release";
}

TEST(ButtonEdit, TheEllipsisButtonAndCtrlEnterClickItUnlessDisabled) {
  TEditorForm<TcxButtonEdit> f;
  ASSERT_EQ(1, f.edit->GetProperties()->GetButtons()->GetCount());
  EXPECT_EQ(bkEllipsis, f.edit->GetProperties()->GetButtons()->GetItem(0)->GetKind());
  f.edit->GetProperties()->GetButtons()->GetItem(0)->SetDefault(true);
  std::vector<int> clicks;
  f.edit->GetProperties()->OnButtonClick = [&](TObject*, int AIndex) { clicks.push_back(AIndex); };
  f.Show();
  const TRect r = f.edit->GetViewInfo()->ButtonsInfo[0]->Bounds;
  guitest::ClickAt(f.edit->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 1; }, 2000));
  PressKey(VK_RETURN, guitest::kCtrl);
  ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 2; }, 2000));
  EXPECT_EQ((std::vector<int>{0, 0}), clicks);
  EXPECT_EQ("", f.edit->GetText()) << "no character typed by Ctrl+Enter";
  f.edit->SetEnabled(false);
  PumpFor(20);
  guitest::ClickAt(f.edit->GetHandle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PumpFor(200);
  EXPECT_EQ(2u, clicks.size());
}

} // namespace
