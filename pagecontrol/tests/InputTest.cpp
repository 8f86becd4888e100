// Real input by SendInput: the held scroll arrow and its repeat, the wheel,
// keys, accelerators, the tracking tab of the button styles and hot
// tracking.
#include "TabControlTest.h"

#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

using guitest::MouseEventAt;
using guitest::PressKey;
using guitest::PumpFor;
using guitest::PumpUntil;

TPoint Center(const TRect& r) {
  return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A classic Tabs control with more tabs than fit: the navigator shows.
struct TScrollingTabs : TTabForm<> {
  explicit TScrollingTabs(int count = 14) : TTabForm<>(300, 150) {
    control->GetLookAndFeel()->SetKind(lfStandard);
    control->GetLookAndFeel()->SetNativeStyle(false);
    for (int i = 0; i < count; ++i)
      control->GetTabs()->Add("Tab number " + std::to_string(i));
  }
  TRect Button(TcxPCNavigatorButton b) {
    for (const auto& info :
         static_cast<TcxPCStandardPainter*>(control->GetPainter())->GetNavigatorButtonInfos())
      if (info.Button == b) return info.Rect;
    return TRect();
  }
  HWND Wnd() { return control->GetHandle(); }
};

// Times (ms after the press) at which the first visible tab moved, while
// the loop pumps until done.
std::vector<DWORD> RecordSteps(TcxCustomTabControl* control, DWORD start, int ms) {
  std::vector<DWORD> steps;
  int first = control->FirstVisibleTab;
  PumpUntil(
      [&] {
        if (control->FirstVisibleTab != first) {
          first = control->FirstVisibleTab;
          steps.push_back(GetTickCount() - start);
        }
        return false;
      },
      ms);
  return steps;
}

TEST(ScrollArrow, AHeldArrowScrollsAtOnceThenAfterADelayThenRepeatedly) {
  TScrollingTabs f(30);
  const TPoint arrow = Center(f.Button(nbBottomRight));
  const DWORD start = GetTickCount();
  MouseEventAt(f.Wnd(), arrow.x, arrow.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(1, f.control->FirstVisibleTab) << "one step at once";
  EXPECT_EQ(nbsPressed, f.control->NavigatorButtonStates[nbBottomRight]);
  const std::vector<DWORD> steps = RecordSteps(f.control, start, 1300);
  ASSERT_GE(steps.size(), 3u);
  EXPECT_GE(steps[0], 200u) << "the repeat waits about 300 ms first";
  EXPECT_LE(steps[0], 900u);
  const double interval = double(steps.back() - steps[0]) / double(steps.size() - 1);
  EXPECT_GE(interval, 80.0) << "then about every 150 ms";
  EXPECT_LE(interval, 400.0);
  // Moving off the arrow stops the repeat.
  MouseEventAt(f.Wnd(), 20, 100, 0);
  const int stopped = f.control->FirstVisibleTab;
  PumpFor(500);
  EXPECT_EQ(stopped, f.control->FirstVisibleTab);
  EXPECT_EQ(nbsNormal, f.control->NavigatorButtonStates[nbBottomRight]);
  MouseEventAt(f.Wnd(), 20, 100, MOUSEEVENTF_LEFTUP);
}

TEST(ScrollArrow, TheRepeatStopsAtTheEndWithTheArrowDisabled) {
  TScrollingTabs f(8);
  const TPoint arrow = Center(f.Button(nbBottomRight));
  MouseEventAt(f.Wnd(), arrow.x, arrow.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(
      PumpUntil([&] { return f.control->NavigatorButtonStates[nbBottomRight] == nbsDisabled; }, 5000));
  PumpFor(400);
  EXPECT_FALSE(f.control->GetScrollTimer()->GetEnabled());
  EXPECT_FALSE(f.control->CanScroll(nbBottomRight));
  MouseEventAt(f.Wnd(), arrow.x, arrow.y, MOUSEEVENTF_LEFTUP);
}

// The release outside the control never reaches it: the next tick finds
// the button up, stops and releases the arrow.
TEST(ScrollArrow, AReleaseOutsideTheControlStopsTheRepeat) {
  TScrollingTabs f(30);
  const TPoint arrow = Center(f.Button(nbBottomRight));
  MouseEventAt(f.Wnd(), arrow.x, arrow.y, MOUSEEVENTF_LEFTDOWN);
  POINT outside{f.form->GetLeft() + f.form->GetWidth() + 40, f.form->GetTop() + 40};
  guitest::SendMouseAt(outside, MOUSEEVENTF_LEFTUP);
  PumpFor(400);
  const int first = f.control->FirstVisibleTab;
  PumpFor(600);
  EXPECT_EQ(first, f.control->FirstVisibleTab);
  EXPECT_LE(first, 3);
  EXPECT_EQ(nbsNormal, f.control->NavigatorButtonStates[nbBottomRight]);
  EXPECT_FALSE(f.control->GetScrollTimer()->GetEnabled());
}

void Wheel(HWND wnd, TPoint client, int delta) {
  guitest::MouseEventAt(wnd, client.x, client.y, 0);
  POINT p = client;
  ClientToScreen(wnd, &p);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  input.mi.mouseData = static_cast<DWORD>(delta);
  SendInput(1, &input, sizeof(input));
  PumpFor(60);
}

TEST(Wheel, TheWheelScrollsOnlyOverTheTabLine) {
  TScrollingTabs f(30);
  const TPoint onLine = Center(f.Tab(0)->GetFullRect());
  Wheel(f.Wnd(), onLine, -WHEEL_DELTA);
  EXPECT_EQ(1, f.control->FirstVisibleTab);
  Wheel(f.Wnd(), onLine, -WHEEL_DELTA);
  EXPECT_EQ(2, f.control->FirstVisibleTab);
  Wheel(f.Wnd(), onLine, WHEEL_DELTA);
  EXPECT_EQ(1, f.control->FirstVisibleTab);
  Wheel(f.Wnd(), TPoint(150, 120), -WHEEL_DELTA);
  EXPECT_EQ(1, f.control->FirstVisibleTab) << "below the tab line the wheel passes on";
}

class Keys : public testing::Test {
protected:
  Keys() {
    f.AddTabs({"Zero", "One", "Two", "Three", "Four"});
    f.control->SetFocus();
    PumpFor(30);
  }
  void Press(WORD vk, int modifiers = guitest::kNone) {
    PressKey(vk, modifiers);
    PumpFor(30);
  }
  TTabForm<> f{400, 150};
};

TEST_F(Keys, ArrowsAndCtrlTabMoveTheSelection) {
  Press(VK_RIGHT);
  EXPECT_EQ(1, f.control->GetTabIndex());
  f.Tab(2)->SetEnabled(false);
  Press(VK_RIGHT);
  EXPECT_EQ(3, f.control->GetTabIndex()) << "a disabled tab is skipped";
  Press(VK_END);
  EXPECT_EQ(4, f.control->GetTabIndex());
  Press(VK_RIGHT);
  EXPECT_EQ(4, f.control->GetTabIndex()) << "Right on the last tab changes nothing";
  Press(VK_TAB, guitest::kCtrl);
  EXPECT_EQ(0, f.control->GetTabIndex()) << "Ctrl+Tab wraps";
  Press(VK_TAB, guitest::kCtrl | guitest::kShift);
  EXPECT_EQ(4, f.control->GetTabIndex());
  Press(VK_HOME);
  EXPECT_EQ(0, f.control->GetTabIndex());
  Press(VK_RIGHT, guitest::kAlt);
  EXPECT_EQ(0, f.control->GetTabIndex()) << "Alt with an arrow is left to the form";
  Press(VK_RIGHT, guitest::kCtrl);
  EXPECT_EQ(1, f.control->GetTabIndex());
}

TEST_F(Keys, LeftTabsReverseTheArrows) {
  f.control->SetTabPosition(tpLeft);
  Press(VK_UP);
  EXPECT_EQ(1, f.control->GetTabIndex()) << "Up moves towards the next tab";
  Press(VK_DOWN);
  EXPECT_EQ(0, f.control->GetTabIndex());
}

TEST_F(Keys, EveryTabDisabledMovesNothing) {
  for (int i = 0; i < 5; ++i)
    f.Tab(i)->SetEnabled(false);
  Press(VK_RIGHT);
  Press(VK_TAB, guitest::kCtrl);
  EXPECT_EQ(0, f.control->GetTabIndex());
}

TEST_F(Keys, AnAcceleratorSelectsItsTab) {
  f.Tab(3)->SetCaption("&Three");
  Press('T', guitest::kAlt);
  EXPECT_EQ(3, f.control->GetTabIndex());
}

TEST_F(Keys, ButtonStylesMoveATrackingTabThatEnterSelects) {
  f.control->SetStyle(2);
  Press(VK_RIGHT);
  Press(VK_RIGHT);
  EXPECT_EQ(2, f.control->TrackingTab);
  EXPECT_EQ(0, f.control->GetTabIndex());
  EXPECT_TRUE(f.Tab(2)->IsTracking());
  Press(VK_RETURN);
  EXPECT_EQ(2, f.control->GetTabIndex());
  EXPECT_EQ(-1, f.control->TrackingTab);
  Press(VK_TAB, guitest::kCtrl);
  EXPECT_EQ(3, f.control->GetTabIndex()) << "Ctrl+Tab selects directly";
}

// The tracking tab is a visible position: a change of the visible tabs
// would let it name another tab, so those changes clear it.
TEST_F(Keys, ChangingTheVisibleTabsClearsTheTrackingTab) {
  f.control->SetStyle(2);
  const std::function<void()> changes[] = {
      [&] { f.Tab(0)->SetVisible(false); },
      [&] { f.Tab(0)->SetVisible(true); },
      [&] { f.control->GetTabs()->Insert(0, "New"); },
      [&] { f.control->GetTabs()->Delete(0); },
  };
  for (const auto& change : changes) {
    f.control->ChangeTabIndex(4);
    Press(VK_LEFT);
    Press(VK_LEFT);
    ASSERT_EQ(f.control->SelectedVisibleIndex - 2, f.control->TrackingTab);
    change();
    EXPECT_EQ(-1, f.control->TrackingTab);
    const int selected = f.control->GetTabIndex();
    Press(VK_SPACE);
    EXPECT_EQ(selected, f.control->GetTabIndex());
  }
}

TEST(Mouse, AButtonPressReleasedOverAnotherTabSelectsNothing) {
  TTabForm<> f(400, 150);
  f.control->SetStyle(2);
  f.AddTabs({"Zero", "One", "Two"});
  const TPoint one = Center(f.Tab(1)->GetFullRect());
  const TPoint two = Center(f.Tab(2)->GetFullRect());
  MouseEventAt(f.control->GetHandle(), one.x, one.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(1, f.control->PressedTab);
  MouseEventAt(f.control->GetHandle(), two.x, two.y, 0);
  EXPECT_EQ(-1, f.control->PressedTab);
  MouseEventAt(f.control->GetHandle(), two.x, two.y, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(0, f.control->GetTabIndex());
  MouseEventAt(f.control->GetHandle(), two.x, two.y, MOUSEEVENTF_LEFTDOWN);
  MouseEventAt(f.control->GetHandle(), two.x, two.y, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(2, f.control->GetTabIndex()) << "a release over the pressed tab selects it";
}

TEST(Mouse, HotTrackingFollowsHotTrackAndTheNativeStyle) {
  struct {
    bool native;
    bool hotTrack;
    bool tracked;
  } cases[] = {{false, false, false}, {false, true, true}, {true, false, true}};
  for (const auto& c : cases) {
    if (c.native && !ThemesAvailable(ThemeClassMask(totTab))) continue;
    TTabForm<> f(400, 150);
    f.control->GetLookAndFeel()->SetKind(lfStandard);
    f.control->GetLookAndFeel()->SetNativeStyle(c.native);
    f.control->SetHotTrack(c.hotTrack);
    f.AddTabs({"Zero", "One", "Two"});
    const TPoint two = Center(f.Tab(2)->GetFullRect());
    MouseEventAt(f.control->GetHandle(), two.x, two.y, 0);
    EXPECT_EQ(c.tracked ? 2 : -1, f.control->HotTab) << c.native << c.hotTrack;
    MouseEventAt(f.control->GetHandle(), two.x, 120, 0);
    EXPECT_EQ(-1, f.control->HotTab);
  }
}

} // namespace
