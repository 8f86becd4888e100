// The spin edit's steps, bounds and keys, and the button edit's click and
// Ctrl+Enter, driven by real input on a form of their own.
#include "cxButtonEdit.h"
#include "cxSpinEdit.h"

#include "Forms.h"
#include "GuiTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <vector>

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

TEST(SpinEdit, FloatStepsKeepTheirIncrementAndStopAtTheBounds) {
  const struct {
    double increment, minValue, maxValue, start;
    TcxSpinEditButton kind;
    int steps;
    const char* text;
  } cases[] = {
      {0.1, 0, 0, 0, sebForward, 3, "0.3"},          // 0.30000000000000004 shown in 15 digits
      {0.5, 0, 0, 0, sebForward, 3, "1.5"},          // no rounding to integers
      {2.5, 0, 0, 0, sebBackward, 1, "-2.5"},
      {0.25, 0, 1, 0.9, sebForward, 1, "1"},         // stops at the upper bound
      {0.25, -1, 1, -0.9, sebBackward, 1, "-1"},     // and at the lower one
      {0.25, 0, 1, 1.5, sebBackward, 1, "1"},        // from above the bounds: the bound
      {0.25, 0, 1, -0.5, sebBackward, 1, "-0.5"},    // below them a backward step does nothing
      {0.25, 0, 1, 0.5, sebFastForward, 1, "1"},     // the large increment, clamped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.increment << " from " << c.start << " kind " << c.kind);
    TEditorForm<TcxSpinEdit> f;
    TcxCustomSpinEditProperties* properties = f.edit->GetProperties();
    properties->SetValueType(vtFloat);
    properties->SetIncrement(c.increment);
    properties->SetMinValue(c.minValue);
    properties->SetMaxValue(c.maxValue);
    EXPECT_EQ(c.kind <= sebForward ? c.increment : 10.0, std::abs(f.edit->GetIncrement(c.kind)));
    f.Show();
    f.edit->SetValue(Variant(c.start));
    for (int i = 0; i < c.steps; ++i)
      f.edit->DoStep(c.kind);
    EXPECT_EQ(c.text, f.edit->GetText());
    EXPECT_EQ(varDouble, f.edit->GetValue().VarType()) << "a float edit's value is a double";
  }
}

// A spin edit that notes the value it posts.
class TPostNotingSpinEdit : public TcxSpinEdit {
public:
  using TcxSpinEdit::TcxSpinEdit;
  std::vector<int> Posted;
  void BeginPost() override {
    Posted.push_back(GetEditValueVariant().AsInteger());
    TcxSpinEdit::BeginPost();
  }
};

TEST(SpinEdit, ImmediatePostPostsEachStepAtOnce) {
  for (bool immediate : {false, true}) {
    SCOPED_TRACE(immediate);
    TEditorForm<TPostNotingSpinEdit> f;
    f.edit->GetProperties()->ImmediatePost = immediate;
    std::vector<int> changed;
    f.edit->GetProperties()->OnChange = [&](TObject*) { changed.push_back(f.edit->GetValue().AsInteger()); };
    f.Show();
    const TRect up = f.edit->GetViewInfo()->ButtonsInfo[sebForward]->Bounds;
    guitest::ClickAt(f.edit->GetHandle(), (up.left + up.right) / 2, (up.top + up.bottom) / 2);
    PumpUntil([&] { return f.edit->GetValue().AsInteger() == 1; }, 2000);
    PressKey(VK_UP);
    PumpUntil([&] { return f.edit->GetValue().AsInteger() == 2; }, 2000);
    EXPECT_EQ(2, f.edit->GetValue().AsInteger());
    EXPECT_EQ(immediate ? std::vector<int>({1, 2}) : std::vector<int>(), f.edit->Posted)
        << "posted while the editor still has the focus";
    EXPECT_EQ((std::vector<int>{1, 2}), changed) << "one change event per step";
  }
}

TEST(SpinEdit, TheWheelStepsForwardUpAndBackwardDown) {
  TEditorForm<TcxSpinEdit> f;
  f.edit->GetProperties()->SetMinValue(-2);
  f.edit->GetProperties()->SetMaxValue(2);
  f.Show();
  const HWND wnd = f.edit->GetHandle();
  const struct {
    int delta, value;
  } turns[] = {{WHEEL_DELTA, 1}, {WHEEL_DELTA, 2}, {WHEEL_DELTA, 2}, {-WHEEL_DELTA, 1},
               {-WHEEL_DELTA, 0}, {-WHEEL_DELTA, -1}, {-WHEEL_DELTA, -2}, {-WHEEL_DELTA, -2}};
  for (const auto& t : turns) {
    guitest::WheelAt(wnd, 20, 10, t.delta);
    PumpUntil([&] { return f.edit->GetValue().AsInteger() == t.value; }, 1000);
    EXPECT_EQ(t.value, f.edit->GetValue().AsInteger()) << t.delta;
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
