// The date navigator: metrics, the keys, the arrows with their repeat, the
// Today and Clear buttons, today's frame and the selection's colours.
#include "BarsTest.h"
#include "dxBarExtItems.h"

#include "DateUtils.h"
#include "GuiTest.h"

#include "Forms.h"

namespace {

// The user's first day of the week for a test (the locale's count, 0 =
// Monday), restored afterwards; the module reads it again each time.
class TFirstDay {
public:
  explicit TFirstDay(const char* value) {
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, FSaved, sizeof(FSaved));
    Set(value);
  }
  ~TFirstDay() { Set(FSaved); }

private:
  static void Set(const char* value) {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, value);
    EndExtItemsModule();
    StartExtItemsModule();
  }
  char FSaved[8] = {};
};

String Ymd(TDateTime date) {
  if (date == NullDate) return "null";
  int y, m, d;
  DecodeDate(date, y, m, d);
  return IntToStr(y) + "-" + IntToStr(m) + "-" + IntToStr(d);
}

class DateNavigatorTest : public BarsTest {
protected:
  void SetUp() override {
    Build();
    Form->SetBounds(100, 100, 500, 400);
    Form->Show();
  }
  void TearDown() override {
    guitest::SendMouseAt(POINT{20, 20}, 0);
    guitest::PumpFor(30);
  }

  TdxBarDateNavigator* Show(bool dropDown = true, int frameStyle = 1) {
    Navigator = new TdxBarDateNavigator(Form.get(), dropDown);
    Navigator->Manager = Manager;
    Navigator->ShowClearButton = true;
    Navigator->SetFrameStyle(frameStyle);
    Navigator->SetLeft(20);
    Navigator->SetTop(20);
    Navigator->SetParent(Form.get());
    Navigator->SetVisible(true);
    Navigator->OnSelect = [this](TObject*) { Selected.push_back(Ymd(Navigator->GetRangeStart())); };
    guitest::PumpFor(50);
    return Navigator;
  }
  // The client rectangle of the cell of a date shown in the grid.
  TRect CellOf(TDateTime date) {
    const int top = Navigator->GetMonthTop() + Navigator->DayNamesHeight;
    for (int row = 0; row < 6; ++row)
      for (int column = 0; column < 7; ++column) {
        const int x = Navigator->SideMargin + column * Navigator->CellWidth, y = top + row * Navigator->CellHeight;
        if (Navigator->DateAtPoint(x, y) == WholeDay(date))
          return TRect(x, y, x + Navigator->CellWidth, y + Navigator->CellHeight);
      }
    return TRect();
  }
  TPoint Centre(const TRect& r) const { return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  // Shows June 2026 with the 15th selected and holds the left button on the
  // title; answers the point pressed.
  TPoint ShowAndPressTheTitle() {
    Show();
    Navigator->SetSelection(EncodeDate(2026, 6, 15));
    const TPoint title = Centre(Navigator->GetTitleRect());
    guitest::MouseEventAt(Navigator->GetHandle(), title.x, title.y, MOUSEEVENTF_LEFTDOWN);
    return title;
  }

  TdxBarDateNavigator* Navigator = nullptr;
  std::vector<String> Selected;
};

} // namespace

TEST_F(DateNavigatorTest, MetricsFromTheFont) {
  Show();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Navigator->GetFont()->GetHandle());
  SIZE zero{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(Navigator->CellWidth, 3 * zero.cx);
  EXPECT_EQ(Navigator->SideMargin, 2 * zero.cx);
  EXPECT_EQ(Navigator->CellHeight, zero.cy + 2);
  EXPECT_EQ(Navigator->TitleHeight, zero.cy + 5) << "with its own frame";
  EXPECT_EQ(Navigator->GetClientWidth(), 2 * Navigator->SideMargin + 7 * Navigator->CellWidth);
  EXPECT_EQ(Navigator->GetClientHeight(), Navigator->TitleHeight + Navigator->DayNamesHeight +
                                              6 * Navigator->CellHeight + 1 + Navigator->ButtonBandHeight);
  EXPECT_EQ(Navigator->GetWidth() - Navigator->GetClientWidth(), 2) << "a one-pixel frame";
  const TRect today = Navigator->GetTodayButtonRect(), clear = Navigator->GetClearButtonRect();
  const int gap = today.left;
  EXPECT_EQ(clear.left - today.right, gap) << "three equal gaps";
  EXPECT_NEAR(Navigator->GetClientWidth() - clear.right, gap, 2);
}

TEST_F(DateNavigatorTest, KeysMoveTheSelectionAndTheViewFollows) {
  TFirstDay monday("0");
  Show();
  Navigator->SetSelection(EncodeDate(2026, 3, 11));
  Navigator->SetFocus();
  ASSERT_TRUE(guitest::PumpUntil([&] { return GetFocus() == Navigator->GetHandle(); }));
  struct Case {
    WORD Key;
    int Modifiers;
    const char* Selection;
    const char* Shown;
  } cases[] = {
      {VK_RIGHT, guitest::kNone, "2026-3-12", "2026-3-1"}, {VK_DOWN, guitest::kNone, "2026-3-19", "2026-3-1"},
      {VK_END, guitest::kNone, "2026-3-22", "2026-3-1"},   {VK_HOME, guitest::kNone, "2026-3-16", "2026-3-1"},
      {VK_END, guitest::kCtrl, "2026-3-31", "2026-3-1"},   {VK_NEXT, guitest::kNone, "2026-4-30", "2026-4-1"},
      // The 30th stays in April's first row, the 1st in February's last.
      {VK_PRIOR, guitest::kNone, "2026-3-30", "2026-4-1"}, {VK_HOME, guitest::kCtrl, "2026-3-1", "2026-2-1"},
      {VK_UP, guitest::kNone, "2026-2-22", "2026-2-1"},    {VK_HOME, guitest::kCtrl, "2026-2-1", "2026-2-1"},
      // Left on the first shown day leaves for the previous month.
      {VK_HOME, guitest::kNone, "2026-1-26", "2026-2-1"},  {VK_LEFT, guitest::kNone, "2026-1-25", "2026-1-1"},
  };
  for (const Case& c : cases) {
    guitest::PressKey(c.Key, c.Modifiers);
    guitest::PumpFor(20);
    EXPECT_EQ(Ymd(Navigator->GetRangeStart()), c.Selection) << "key " << c.Key;
    EXPECT_EQ(Ymd(Navigator->GetShownMonth()), c.Shown) << "key " << c.Key;
  }
  guitest::PressKey(VK_RETURN);
  guitest::PumpFor(20);
  EXPECT_EQ(Selected, (std::vector<String>{"2026-1-25"}));
}

TEST_F(DateNavigatorTest, ArrowsMoveAndRepeatWhileHeldOnThem) {
  Show();
  Navigator->SetShownMonth(EncodeDate(2026, 6, 15));
  const TPoint left = Centre(Navigator->GetLeftArrowRect());
  guitest::MouseEventAt(Navigator->GetHandle(), left.x, left.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-5-1") << "a month back at the press";
  EXPECT_EQ(Navigator->GetTimer(), TdxBarDateNavigator::ArrowTimerId);
  EXPECT_EQ(TdxBarDateNavigator::ArrowTimerPeriod, 170u);
  // The system timer of that id runs; the test takes it over and gives the
  // ticks itself.
  EXPECT_TRUE(KillTimer(Navigator->GetHandle(), TdxBarDateNavigator::ArrowTimerId));
  // Each tick over the arrow moves one month; off the arrow none.
  SendMessageA(Navigator->GetHandle(), WM_TIMER, TdxBarDateNavigator::ArrowTimerId, 0);
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-4-1");
  const TPoint title = Centre(Navigator->GetTitleRect());
  guitest::MouseEventAt(Navigator->GetHandle(), title.x, title.y);
  SendMessageA(Navigator->GetHandle(), WM_TIMER, TdxBarDateNavigator::ArrowTimerId, 0);
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-4-1");
  guitest::MouseEventAt(Navigator->GetHandle(), left.x, left.y);
  SendMessageA(Navigator->GetHandle(), WM_TIMER, TdxBarDateNavigator::ArrowTimerId, 0);
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-3-1");
  guitest::MouseEventAt(Navigator->GetHandle(), left.x, left.y, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Navigator->GetTimer(), 0u) << "the release stops the repeat";

  const TPoint right = Centre(Navigator->GetRightArrowRect());
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-3-1") << "the release only ended the repeat";
  guitest::MouseEventAt(Navigator->GetHandle(), right.x, right.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(KillTimer(Navigator->GetHandle(), TdxBarDateNavigator::ArrowTimerId));
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-4-1");
  SendMessageA(Navigator->GetHandle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(Navigator->GetTimer(), 0u) << "cancelled";
  guitest::MouseEventAt(Navigator->GetHandle(), right.x, right.y, MOUSEEVENTF_LEFTUP);
}

TEST_F(DateNavigatorTest, TodayButtonTracksThePress) {
  Show();
  Navigator->SetSelection(EncodeDate(2020, 1, 15));
  const TPoint today = Centre(Navigator->GetTodayButtonRect());
  const TPoint away = Centre(Navigator->GetTitleRect());
  // Dragged off and back: today.
  guitest::MouseEventAt(Navigator->GetHandle(), today.x, today.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(Navigator->GetTodayPressed());
  guitest::MouseEventAt(Navigator->GetHandle(), away.x, away.y);
  EXPECT_FALSE(Navigator->GetTodayPressed());
  guitest::MouseEventAt(Navigator->GetHandle(), today.x, today.y);
  EXPECT_TRUE(Navigator->GetTodayPressed());
  guitest::MouseEventAt(Navigator->GetHandle(), today.x, today.y, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Ymd(Navigator->GetRangeStart()), Ymd(Date()));
  EXPECT_EQ(Selected, (std::vector<String>{Ymd(Date())}));

  // Released off the button: nothing.
  Navigator->SetSelection(EncodeDate(2020, 1, 15));
  guitest::MouseEventAt(Navigator->GetHandle(), today.x, today.y, MOUSEEVENTF_LEFTDOWN);
  guitest::MouseEventAt(Navigator->GetHandle(), away.x, away.y);
  guitest::MouseEventAt(Navigator->GetHandle(), away.x, away.y, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Ymd(Navigator->GetRangeStart()), "2020-1-15");
  EXPECT_EQ(Selected.size(), 1u);

  // Clear selects no date.
  const TPoint clear = Centre(Navigator->GetClearButtonRect());
  guitest::ClickAt(Navigator->GetHandle(), clear.x, clear.y);
  guitest::PumpFor(30);
  EXPECT_EQ(Ymd(Navigator->GetRangeStart()), "null");
  EXPECT_EQ(Selected.size(), 2u);
}

TEST_F(DateNavigatorTest, AClickOnADaySelectsIt) {
  Show();
  Navigator->SetShownMonth(EncodeDate(2026, 3, 1));
  const TPoint day = Centre(CellOf(EncodeDate(2026, 3, 18)));
  guitest::ClickAt(Navigator->GetHandle(), day.x, day.y);
  ASSERT_TRUE(guitest::PumpUntil([&] { return !Selected.empty(); }));
  EXPECT_EQ(Selected, (std::vector<String>{"2026-3-18"}));
}

TEST_F(DateNavigatorTest, TodaysFrameAndSelectionColoursByLook) {
  const TDateTime today = WholeDay(Date());
  // Another day of today's month for the selection.
  int y, m, d;
  DecodeDate(today, y, m, d);
  const TDateTime other = EncodeDate(y, m, d == 15 ? 16 : 15);
  struct Case {
    const char* Name;
    int FrameStyle;
    TdxBarManagerStyle Style;
    COLORREF Selection, Text;
  } cases[] = {
      {"standard", 1, bmsStandard, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_HIGHLIGHTTEXT)},
      {"client edge", 0, bmsStandard, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT)},
      {"flat", 1, bmsFlat, 0, GetSysColor(COLOR_WINDOWTEXT)},
  };
  for (const Case& c : cases) {
    Manager->SetStyle(c.Style);
    Show(true, c.FrameStyle);
    Navigator->SetSelection(other);
    Navigator->SetShownMonth(today);
    guitest::TCapture picture = guitest::TCapture::Paint(Navigator->GetHandle());
    picture.SavePng(String("bars_navigator_") + c.Name);
    const TRect frame = CellOf(today), selected = CellOf(other);
    ASSERT_GT(frame.Width(), 0) << c.Name;
    EXPECT_EQ(picture.Pixel(frame.left, frame.top), RGB(128, 0, 0)) << "today's maroon frame, " << c.Name;
    EXPECT_EQ(picture.Pixel(frame.right - 1, frame.bottom - 1), RGB(128, 0, 0)) << c.Name;
    const COLORREF back = c.Style == bmsFlat ? ColorToRGB(Manager->GetFlatSelectionColor()) : c.Selection;
    EXPECT_EQ(picture.Pixel(selected.left + 1, selected.top + 1), back) << c.Name;
    EXPECT_GT(picture.CountPixels(selected, c.Text), 0) << "the day number, " << c.Name;
    EXPECT_EQ(picture.Pixel(Navigator->GetTitleRect().left + 2, Navigator->GetTitleRect().top + 2),
              GetSysColor(COLOR_BTNFACE))
        << "the header, " << c.Name;
    EXPECT_GT(picture.CountPixels(Navigator->GetLeftArrowRect(), GetSysColor(COLOR_BTNTEXT)), 3) << c.Name;
    EXPECT_GT(picture.CountPixels(Navigator->GetRightArrowRect(), GetSysColor(COLOR_BTNTEXT)), 3) << c.Name;
    delete Navigator;
    Navigator = nullptr;
  }
}

namespace {

// The month scroller's screen rectangle.
RECT ScreenRect(TWinControl* control) {
  RECT r;
  GetWindowRect(control->GetHandle(), &r);
  return r;
}

} // namespace

TEST_F(DateNavigatorTest, APressOnTheTitleOpensTheMonthScrollerAndTheRowReleasedOnIsShown) {
  const TPoint title = ShowAndPressTheTitle();
  TAMonthListBox* scroller = Navigator->GetMonthScroller();
  ASSERT_NE(scroller, nullptr);
  EXPECT_EQ(Ymd(scroller->FirstRowMonth), "2026-3-1") << "the shown month is the fourth row";
  EXPECT_TRUE(IsWindowVisible(scroller->GetHandle()));
  EXPECT_NE(GetActiveWindow(), scroller->GetHandle()) << "shown without activation";
  EXPECT_TRUE(GetWindowLongA(scroller->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  const int line = scroller->GetLineHeight();
  EXPECT_EQ(line, Navigator->TitleHeight - 2);
  EXPECT_EQ(scroller->GetClientHeight(), 7 * line);
  EXPECT_EQ(scroller->GetClientWidth(), 6 * Navigator->CellWidth);
  // Centred on the title.
  POINT centre{title.x, title.y};
  ClientToScreen(Navigator->GetHandle(), &centre);
  const RECT r = ScreenRect(scroller);
  EXPECT_NEAR((r.left + r.right) / 2, centre.x, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, centre.y, 1);

  // The pointer over the sixth row makes it hot, drawn in reverse colours.
  guitest::MouseEventAt(scroller->GetHandle(), 10, 5 * line + line / 2);
  guitest::PumpFor(30);
  EXPECT_EQ(scroller->GetHotRow(), 5);
  {
    auto capture = guitest::TCapture::Paint(scroller->GetHandle());
    capture.SavePng("bars_month_scroller");
    EXPECT_EQ(capture.Pixel(1, 5 * line + 1), ColorToRGB(clWindowText));
    EXPECT_EQ(capture.Pixel(1, 1), ColorToRGB(clWindow));
  }
  guitest::MouseEventAt(scroller->GetHandle(), 10, 5 * line + line / 2, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Navigator->GetMonthScroller(), nullptr);
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-8-1");
  EXPECT_EQ(Ymd(Navigator->GetRangeStart()), "2026-6-15") << "the selection stays";
  EXPECT_TRUE(Selected.empty());

  // Released beside the list, level with it: no month chosen.
  guitest::MouseEventAt(Navigator->GetHandle(), title.x, title.y, MOUSEEVENTF_LEFTDOWN);
  scroller = Navigator->GetMonthScroller();
  ASSERT_NE(scroller, nullptr);
  EXPECT_EQ(Ymd(scroller->FirstRowMonth), "2026-5-1");
  guitest::MouseEventAt(scroller->GetHandle(), scroller->GetClientWidth() + 10, line);
  EXPECT_EQ(scroller->GetHotRow(), -1);
  EXPECT_EQ(scroller->GetTimerId(), 0u) << "beside the list nothing scrolls";
  guitest::MouseEventAt(scroller->GetHandle(), scroller->GetClientWidth() + 10, line, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Navigator->GetMonthScroller(), nullptr);
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-8-1");
}

TEST_F(DateNavigatorTest, HeldBeyondTheMonthScrollerItScrollsFasterTheFartherOff) {
  const TPoint title = ShowAndPressTheTitle();
  TAMonthListBox* scroller = Navigator->GetMonthScroller();
  ASSERT_NE(scroller, nullptr);
  const int height = scroller->GetClientHeight();
  // Pixels beyond the list's edge (negative above), the timer id asked for
  // and its period.
  const struct {
    int beyond;
    UINT_PTR id;
    int period;
  } cases[] = {{5, 6, 500}, {20, 7, 250}, {30, 8, 100}, {40, 9, 50}, {90, 9, 50}, {-5, 4, 500}, {-40, 1, 50}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.beyond);
    const int y = c.beyond > 0 ? height - 1 + c.beyond : c.beyond;
    guitest::MouseEventAt(scroller->GetHandle(), 10, y);
    EXPECT_EQ(scroller->GetTimerId(), c.id);
    EXPECT_EQ(MonthListTimerPeriod(static_cast<int>(c.id) - 5), c.period);
    EXPECT_EQ(scroller->GetHotRow(), -1);
  }
  // The test takes the running timer over and gives the ticks itself: each
  // moves the list one month, back for the ids below 6.
  EXPECT_TRUE(KillTimer(scroller->GetHandle(), 1));
  scroller->FirstRowMonth = EncodeDate(2026, 3, 1);
  SendMessageA(scroller->GetHandle(), WM_TIMER, 1, 0);
  EXPECT_EQ(Ymd(scroller->FirstRowMonth), "2026-2-1");
  guitest::MouseEventAt(scroller->GetHandle(), 10, height + 10);
  EXPECT_TRUE(KillTimer(scroller->GetHandle(), 6));
  scroller->FirstRowMonth = EncodeDate(2026, 2, 1);
  SendMessageA(scroller->GetHandle(), WM_TIMER, 6, 0);
  SendMessageA(scroller->GetHandle(), WM_TIMER, 6, 0);
  EXPECT_EQ(Ymd(scroller->FirstRowMonth), "2026-4-1");
  // Back inside the scrolling stops; the row released on counts from the
  // scrolled first row.
  guitest::MouseEventAt(scroller->GetHandle(), 10, 1);
  EXPECT_EQ(scroller->GetTimerId(), 0u);
  EXPECT_EQ(scroller->GetHotRow(), 0);
  guitest::MouseEventAt(scroller->GetHandle(), 10, 1, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Ymd(Navigator->GetShownMonth()), "2026-4-1");

  // Cancelling the press frees an open scroller.
  guitest::MouseEventAt(Navigator->GetHandle(), title.x, title.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_NE(Navigator->GetMonthScroller(), nullptr);
  SendMessageA(Navigator->GetHandle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(Navigator->GetMonthScroller(), nullptr);
  guitest::MouseEventAt(Navigator->GetHandle(), title.x, title.y, MOUSEEVENTF_LEFTUP);
}
