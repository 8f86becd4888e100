// Painted scroll bars: thumb geometry, limits, scroll codes; and on a
// control scrolling drawn content: the bars and grip in each look, held
// arrows, page clicks, thumb drags, the wheel and the layout loop.
#include "ControlTest.h"
#include "DrawTest.h"

#include <gtest/gtest.h>

namespace {

using guitest::PumpFor;
using guitest::PumpUntil;

// A bar with its protected steps in reach.
class TProbeBar : public TcxScrollBar {
public:
  using TcxScrollBar::CancelTracking;
  using TcxScrollBar::DoScroll;
  using TcxScrollBar::TcxScrollBar;
};

TEST(cxScrollBar, ThumbFollowsLimitsPageAndPosition) {
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  const int vthumb = GetSystemMetrics(SM_CYVTHUMB);
  const struct {
    const char* name;
    int height, min, max, page, position;
    int thumbTop, thumbHeight; // 0 height: no thumb
  } cases[] = {
      {"page a tenth, at the start", 200, 0, 99, 10, 0, arrow, MulDiv(10, 200 - 2 * arrow, 100)},
      {"page a tenth, at the end", 200, 0, 99, 10, 90, 200 - arrow - MulDiv(10, 200 - 2 * arrow, 100),
       MulDiv(10, 200 - 2 * arrow, 100)},
      {"no page: system thumb at the middle", 200, 0, 100, 0, 50,
       arrow + MulDiv(200 - 2 * arrow - vthumb, 50, 100), vthumb},
      {"no page, max equals min: system thumb at the start", 200, 5, 5, 0, 5, arrow, vthumb},
      {"max equals min", 200, 5, 5, 1, 5, 0, 0},
      {"track shorter than the thumb minimum", 2 * arrow + 7, 0, 99, 10, 0, 0, 0},
      // The page covers the whole range: the thumb fills the track and
      // starts at the arrow, never a pixel into it.
      {"page covers the range", 200, 1, 10, 10, 1, arrow, 200 - 2 * arrow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TProbeBar bar(nullptr);
    bar.SetKind(sbVertical);
    bar.SetBounds(0, 0, arrow, c.height);
    bar.SetScrollParams(c.min, c.max, c.position, c.page, false);
    const TRect thumb = bar.GetThumbRect();
    EXPECT_EQ(c.thumbHeight, thumb.Height());
    if (c.thumbHeight == 0) {
      EXPECT_EQ(0, bar.HitTest(TPoint(arrow / 2, c.height / 2))) << "no page parts without a thumb";
      continue;
    }
    EXPECT_EQ(c.thumbTop, thumb.top);
    EXPECT_EQ(3, bar.HitTest(CenterOf(thumb)));
  }
}

TEST(cxScrollBar, NarrowBarHalvesItsArrows) {
  TcxScrollBar bar(nullptr);
  bar.SetBounds(0, 0, 20, 17);
  EXPECT_EQ(10, bar.GetPartRect(1).Width());
  EXPECT_EQ(TRect(10, 0, 20, 17), bar.GetPartRect(2));
  EXPECT_EQ(1, bar.HitTest(TPoint(3, 5)));
  EXPECT_EQ(2, bar.HitTest(TPoint(15, 5)));
  EXPECT_EQ(0, bar.HitTest(TPoint(25, 5))) << "outside the bar";
}

TEST(cxScrollBar, InconsistentLimitsRaiseAndChangeNothing) {
  TcxScrollBar bar(nullptr);
  bar.SetScrollParams(0, 50, 20, 5, false);
  for (auto limits : {std::array<int, 4>{10, 5, 7, 0}, std::array<int, 4>{0, 10, 5, 11}}) {
    try {
      bar.SetScrollParams(limits[0], limits[1], limits[2], limits[3], false);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ("Scrollbar property out of range", e.Message);
    }
    EXPECT_EQ(0, bar.GetMin());
    EXPECT_EQ(50, bar.GetMax());
    EXPECT_EQ(20, bar.GetPosition());
    EXPECT_EQ(5, bar.GetPageSize());
  }
  bar.SetPosition(500);
  EXPECT_EQ(50, bar.GetPosition()) << "clamped to Max";
}

TEST(cxScrollBar, ScrollCodesMoveThePositionAndOnlyTrackingSkipsOnChange) {
  TProbeBar bar(nullptr);
  bar.SetScrollParams(0, 100, 50, 0, false);
  bar.SmallChange = 3;
  bar.LargeChange = 20;
  int changes = 0;
  int forced = -1;
  bar.OnChange = [&](TObject*) { ++changes; };
  bar.OnScroll = [&](TObject*, TScrollCode, int& pos) {
    if (forced >= 0) pos = forced;
  };
  const struct {
    TScrollCode code;
    int expected;
  } steps[] = {{scLineDown, 53}, {scLineUp, 50}, {scPageDown, 70}, {scPageUp, 50},
               {scBottom, 100},  {scTop, 0},     {scLineUp, 0},    {scPosition, 0}};
  for (const auto& s : steps) {
    bar.DoScroll(s.code);
    EXPECT_EQ(s.expected, bar.GetPosition()) << s.code;
  }
  EXPECT_EQ(6, changes) << "one change for each move";
  forced = 40;
  bar.DoScroll(scTrack);
  EXPECT_EQ(40, bar.GetPosition()) << "the handler's position";
  EXPECT_EQ(6, changes) << "tracking changes no OnChange";
  forced = 500;
  bar.DoScroll(scLineDown);
  EXPECT_EQ(100, bar.GetPosition()) << "the handler's position is clamped";
  EXPECT_EQ(7, changes);
}

// ---- On a window ----

const struct {
  const char* name;
  TcxLookAndFeelKind kind;
  bool native;
} kLooks[] = {
    {"flat", lfFlat, false},
    {"standard", lfStandard, false},
    {"ultraflat", lfUltraFlat, false},
    {"native", lfStandard, true},
};

int CountInRect(const guitest::TCapture& capture, const TRect& r, TColor color) {
  return capture.CountPixels(r, ColorToRGB(color));
}

TRect OnForm(TControl* control, TControl* form) {
  TPoint p = form->ScreenToClient(control->ClientToScreen(TPoint(0, 0)));
  return Bounds(p.x, p.y, control->GetWidth(), control->GetHeight());
}

void CheckBarsDrawn(TScrollingForm& f, const String& name) {
  TScrollingView* view = f.view;
  TcxControlScrollBar* h = view->GetHScrollBar();
  TcxControlScrollBar* v = view->GetVScrollBar();
  guitest::TCapture capture = guitest::TCapture::Paint(f.form->GetHandle());
  capture.SavePng(name);
  const TRect hr = OnForm(h, f.form.get());
  const TRect vr = OnForm(v, f.form.get());
  const TRect gr = OnForm(view->GetSizeGrip(), f.form.get());
  EXPECT_EQ(0, CountInRect(capture, hr, TScrollingView::kBandA)) << "the bar covers the content";
  EXPECT_EQ(0, CountInRect(capture, vr, TScrollingView::kBandB));
  EXPECT_EQ(gr.Width() * gr.Height(), CountInRect(capture, gr, clBtnFace)) << "the grip is a plain square";
  // The content beside the bars: the band colours at the scroll position.
  const TRect vb = OnForm(view, f.form.get());
  const TPoint inside(vb.left + 25 - view->LeftPos % 20, vb.top + 5);
  EXPECT_EQ(ColorToRGB(TScrollingView::BandColor(view->LeftPos + 25 - view->LeftPos % 20, view->TopPos + 5)),
            capture.Pixel(inside.x, inside.y));
  // Arrows and thumb: more than one colour in each bar.
  EXPECT_LT(CountInRect(capture, vr, clBtnFace), vr.Width() * vr.Height());
  EXPECT_LT(CountInRect(capture, hr, clBtnFace), hr.Width() * hr.Height());
}

TEST(cxControlScrollBars, BarsAndGripInEachLook) {
  TScrollingForm f;
  TScrollingView* view = f.view;
  ASSERT_TRUE(view->IsHScrollBarVisible());
  ASSERT_TRUE(view->IsVScrollBarVisible());
  TcxControlScrollBar* h = view->GetHScrollBar();
  TcxControlScrollBar* v = view->GetVScrollBar();
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
  EXPECT_EQ(TRect(0, 150 - barHeight, 200 - barWidth, 150), h->GetBoundsRect());
  EXPECT_EQ(TRect(200 - barWidth, 0, 200, 150 - barHeight), v->GetBoundsRect());
  EXPECT_TRUE(view->GetSizeGrip()->GetVisible());
  EXPECT_EQ(TRect(200 - barWidth, 150 - barHeight, 200, 150), view->GetSizeGrip()->GetBoundsRect());
  EXPECT_EQ(399, h->GetMax());
  EXPECT_EQ(200 - barWidth, h->GetPageSize());
  EXPECT_EQ(599, v->GetMax());
  EXPECT_EQ(150 - barHeight, v->GetPageSize());
  view->ScrollContent(sdDown);
  view->ScrollContent(sdRight);
  for (const auto& look : kLooks) {
    SCOPED_TRACE(look.name);
    view->GetLookAndFeel()->SetKind(look.kind);
    view->GetLookAndFeel()->SetNativeStyle(look.native);
    CheckBarsDrawn(f, String("scrollbars_") + look.name);
  }
}

TEST(cxControlScrollBarsStyleOff, BarsAndGripInEachLookWithoutTheStyle) {
  TScrollingForm f;
  for (const auto& look : kLooks) {
    SCOPED_TRACE(look.name);
    f.view->GetLookAndFeel()->SetKind(look.kind);
    f.view->GetLookAndFeel()->SetNativeStyle(look.native);
    CheckBarsDrawn(f, String("scrollbars_classic_") + look.name);
  }
}

TEST(cxControlScrollBars, ContentThatFitsShowsNoBarAndOneBarCanBringTheOther) {
  TScrollingForm f;
  TScrollingView* view = f.view;
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  const struct {
    int width, height;
    bool h, v;
  } cases[] = {
      {200, 150, false, false}, {400, 140, true, true}, // the horizontal bar takes the room the rows need
      {180, 600, false, true},  {200 - barWidth + 1, 600, true, true},
      {50, 50, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    view->SetContent(c.width, c.height);
    EXPECT_EQ(c.h, view->GetHScrollBar()->GetVisible());
    EXPECT_EQ(c.v, view->GetVScrollBar()->GetVisible());
    EXPECT_EQ(c.h && c.v, view->GetSizeGrip()->GetVisible());
  }
}

TEST(cxControlScrollBars, BarsNeededOnlyByEachOtherGoTogether) {
  TScrollingForm f;
  TScrollingView* view = f.view;
  view->PagesFromShownBars = true;
  view->SetContent(400, 600);
  ASSERT_TRUE(view->GetHScrollBar()->GetVisible() && view->GetVScrollBar()->GetVisible());
  // Measured with both bars shown, each page is a bar short of the content;
  // without them everything fits.
  view->SetContent(195, 145);
  EXPECT_FALSE(view->GetHScrollBar()->GetVisible());
  EXPECT_FALSE(view->GetVScrollBar()->GetVisible());
  view->PixelBars = false;
  view->SetContent(400, 600);
  view->SetContent(195, 145);
  EXPECT_TRUE(view->GetHScrollBar()->GetVisible()) << "only pixel bars are checked";
}

TEST(cxControlScrollBars, OscillatingLayoutEndsWithTheDisputedBarDisabled) {
  TScrollingForm f;
  TScrollingView* view = f.view;
  view->SetContent(100, 100);
  ASSERT_FALSE(view->GetVScrollBar()->GetVisible());
  view->Oscillating = true;
  view->UpdateScrollBars();
  EXPECT_TRUE(view->GetVScrollBar()->GetVisible());
  EXPECT_FALSE(view->GetVScrollBar()->GetEnabled());
  view->UpdateScrollBars();
  EXPECT_TRUE(view->GetVScrollBar()->GetVisible()) << "a second layout ends the same way";
}

// ---- Mouse ----

class ScrollBarMouse : public ::testing::Test {
protected:
  void SetUp() override {
    f = std::make_unique<TScrollingForm>();
    f->view->SetContent(400, 3000);
    v = f->view->GetVScrollBar();
    f->form->SetFocus();
  }
  void TearDown() override {
    guitest::MouseEventAt(f->form->GetHandle(), 300, 230, MOUSEEVENTF_LEFTUP);
    PumpFor(20);
    f.reset();
    EXPECT_EQ(0, MouseTrackingCount());
  }
  int CountCalls(TScrollCode code) const {
    int n = 0;
    for (const auto& call : f->view->Calls)
      n += call.Code == code;
    return n;
  }
  std::unique_ptr<TScrollingForm> f;
  TcxControlScrollBar* v = nullptr;
};

TEST_F(ScrollBarMouse, HeldArrowStepsAtOnceThenRepeatsAndPausesOffTheArrow) {
  const TPoint down = CenterOf(v->GetPartRect(2));
  guitest::MouseEventAt(v->GetHandle(), down.x, down.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return CountCalls(scLineDown) >= 1; }, 2000));
  const DWORD start = f->view->Calls.front().Time;
  PumpFor(250);
  EXPECT_EQ(1, CountCalls(scLineDown)) << "no repeat before about 400 ms";
  EXPECT_EQ(2, v->GetPressedPart());
  PumpUntil([&] { return CountCalls(scLineDown) >= 5; }, 1500);
  EXPECT_GE(CountCalls(scLineDown), 5) << "several steps within a second";
  EXPECT_LT(f->view->Calls.back().Time - start, 1500u);
  EXPECT_EQ(60u, v->GetRepeatInterval());
  // Off the arrow: the repeat pauses; back on it, it resumes.
  guitest::MouseEventAt(v->GetHandle(), down.x - 60, down.y);
  PumpFor(150);
  const int paused = CountCalls(scLineDown);
  PumpFor(300);
  EXPECT_EQ(paused, CountCalls(scLineDown));
  guitest::MouseEventAt(v->GetHandle(), down.x, down.y);
  EXPECT_TRUE(PumpUntil([&] { return CountCalls(scLineDown) > paused + 2; }, 1500));
  guitest::MouseEventAt(v->GetHandle(), down.x, down.y, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return CountCalls(scEndScroll) == 1; }, 1000));
  EXPECT_EQ(0, v->GetPressedPart());
  EXPECT_EQ(f->view->TopPos, v->GetPosition());
}

TEST_F(ScrollBarMouse, PageClicksMoveByAPage) {
  const int page = v->GetPageSize();
  const TRect pageDown = v->GetPartRect(5);
  guitest::MouseEventAt(v->GetHandle(), pageDown.left + 3, pageDown.bottom - 3, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(v->GetHandle(), pageDown.left + 3, pageDown.bottom - 3, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return CountCalls(scEndScroll) == 1; }, 2000));
  EXPECT_EQ(page, f->view->TopPos);
  EXPECT_EQ(page, v->GetPosition());
  const TRect pageUp = v->GetPartRect(4);
  guitest::MouseEventAt(v->GetHandle(), pageUp.left + 3, pageUp.top + 1, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(v->GetHandle(), pageUp.left + 3, pageUp.top + 1, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return CountCalls(scEndScroll) == 2; }, 2000));
  EXPECT_EQ(0, f->view->TopPos);
}

TEST_F(ScrollBarMouse, ThumbDragTracksThenSetsThePositionAndSnapsBackFarAcross) {
  int changes = 0;
  v->OnChange = [&](TObject*) { ++changes; };
  const TRect thumb = v->GetThumbRect();
  const TPoint grip = CenterOf(thumb);
  guitest::MouseEventAt(v->GetHandle(), grip.x, grip.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return v->GetPressedPart() == 3; }, 2000));
  guitest::MouseEventAt(v->GetHandle(), grip.x, grip.y + 40);
  ASSERT_TRUE(PumpUntil([&] { return f->view->TopPos > 0; }, 2000));
  EXPECT_EQ(thumb.top + 40, v->GetThumbRect().top);
  EXPECT_EQ(0, changes) << "tracking changes no OnChange";
  EXPECT_EQ(0, CountCalls(scPosition));
  const int tracked = f->view->TopPos;
  EXPECT_EQ(tracked, v->GetPosition());
  // Far across the bar the thumb goes back to where it started.
  guitest::MouseEventAt(v->GetHandle(), grip.x - 160, grip.y + 40);
  ASSERT_TRUE(PumpUntil([&] { return f->view->TopPos == 0; }, 2000));
  EXPECT_EQ(thumb, v->GetThumbRect());
  guitest::MouseEventAt(v->GetHandle(), grip.x - 120, grip.y + 40);
  ASSERT_TRUE(PumpUntil([&] { return f->view->TopPos == tracked; }, 2000)) << "within reach again";
  guitest::MouseEventAt(v->GetHandle(), grip.x - 120, grip.y + 40, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return CountCalls(scEndScroll) == 1; }, 2000));
  ASSERT_EQ(1, CountCalls(scPosition));
  const auto& calls = f->view->Calls;
  EXPECT_EQ(scPosition, calls[calls.size() - 2].Code) << "the position, then the end";
  EXPECT_EQ(tracked, calls[calls.size() - 2].Position);
  EXPECT_EQ(tracked, f->view->TopPos);
}

TEST_F(ScrollBarMouse, UnlimitedTrackingFollowsFarAcross) {
  v->UnlimitedTracking = true;
  const TPoint grip = CenterOf(v->GetThumbRect());
  guitest::MouseEventAt(v->GetHandle(), grip.x, grip.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return v->GetPressedPart() == 3; }, 2000));
  guitest::MouseEventAt(v->GetHandle(), grip.x - 170, grip.y + 30);
  ASSERT_TRUE(PumpUntil([&] { return f->view->TopPos > 0; }, 2000));
  guitest::MouseEventAt(v->GetHandle(), grip.x - 170, grip.y + 30, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return CountCalls(scEndScroll) == 1; }, 2000));
  EXPECT_GT(f->view->TopPos, 0);
}

TEST_F(ScrollBarMouse, TheWheelScrollsLinesAndAHiddenBarLeavesItUnhandled) {
  int formDelta = 0;
  f->form->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    formDelta += delta;
    handled = true;
  };
  HWND wnd = f->view->GetHandle();
  SendMessageA(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(50, 50));
  EXPECT_EQ(Mouse->GetWheelScrollLines() * TScrollingView::kLine, f->view->TopPos);
  EXPECT_EQ(f->view->TopPos, v->GetPosition());
  SendMessageA(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(50, 50));
  EXPECT_EQ(0, f->view->TopPos);
  EXPECT_EQ(0, formDelta);
  f->view->SetContent(400, 100);
  ASSERT_FALSE(v->GetVisible());
  const size_t calls = f->view->Calls.size();
  SendMessageA(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(50, 50));
  EXPECT_EQ(calls, f->view->Calls.size()) << "nothing scrolls";
  EXPECT_EQ(-WHEEL_DELTA, formDelta) << "the parent gets the wheel";
}

// A thumb that fills the track stands for the first position when dropped.
TEST(cxScrollBarOnAForm, DroppedThumbThatFillsTheTrackGivesMin) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(40, 40, 200, 200);
  auto* bar = new TcxScrollBar(form.get());
  bar->SetParent(form.get());
  bar->SetKind(sbVertical);
  bar->SetBounds(10, 10, GetSystemMetrics(SM_CXVSCROLL), 150);
  bar->SetScrollParams(1, 10, 1, 10, false);
  std::vector<std::pair<TScrollCode, int>> calls;
  bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) { calls.emplace_back(code, pos); };
  form->Show();
  form->Update();
  const TPoint grip = CenterOf(bar->GetThumbRect());
  guitest::MouseEventAt(bar->GetHandle(), grip.x, grip.y, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(bar->GetHandle(), grip.x, grip.y + 20);
  guitest::MouseEventAt(bar->GetHandle(), grip.x, grip.y + 20, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !calls.empty() && calls.back().first == scEndScroll; }, 2000));
  EXPECT_EQ(1, bar->GetPosition());
  for (const auto& call : calls)
    EXPECT_EQ(1, call.second) << "code " << call.first;
  bar->OnScroll = nullptr;
}

} // namespace
