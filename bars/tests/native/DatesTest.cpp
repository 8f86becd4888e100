#include "DateUtils.h"
#include "dxBarExtDates.h"

#include <gtest/gtest.h>

namespace {

String Ymd(TDateTime Date) {
  int Y, M, D;
  DecodeDate(Date, Y, M, D);
  return IntToStr(Y) + "-" + IntToStr(M) + "-" + IntToStr(D);
}

constexpr int Sunday = 0, Monday = 1, Saturday = 6;

} // namespace

TEST(BarDates, MonthSteps) {
  struct Case {
    int Year, Month, Delta, WantYear, WantMonth;
  } Cases[] = {
      {2026, 1, -1, 2025, 12}, {2026, 12, 1, 2027, 1},   {2026, 5, 0, 2026, 5},
      {2026, 3, -3, 2025, 12}, {2026, 3, -13, 2025, 2}, {2026, 11, 14, 2028, 1},
      {2026, 1, -24, 2024, 1}, {2026, 12, 25, 2029, 1},
  };
  for (const Case& C : Cases) {
    int Y = C.Year, M = C.Month;
    ShiftMonths(Y, M, C.Delta);
    EXPECT_EQ(C.WantYear * 100 + C.WantMonth, Y * 100 + M) << C.Year << "/" << C.Month << " by " << C.Delta;
    if (C.Delta == 1 || C.Delta == -1) {
      Y = C.Year, M = C.Month;
      (C.Delta < 0 ? MonthBack : MonthForward)(Y, M);
      EXPECT_EQ(C.WantYear * 100 + C.WantMonth, Y * 100 + M);
    }
  }
}

TEST(BarDates, MonthLengthsAndClampedDays) {
  struct Case {
    int Year, Month, Day, Length, Clamped;
  } Cases[] = {
      {2026, 1, 31, 31, 31}, {2026, 4, 31, 30, 30}, {2026, 2, 29, 28, 28}, {2024, 2, 30, 29, 29},
      {1900, 2, 29, 28, 28}, {2000, 2, 29, 29, 29}, {2026, 6, 0, 30, 1},   {2026, 6, -5, 30, 1},
      {2026, 12, 15, 31, 15},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(C.Length, MonthLength(C.Year, C.Month)) << C.Year << "/" << C.Month;
    EXPECT_EQ(C.Clamped, ClampDay(C.Year, C.Month, C.Day)) << C.Year << "/" << C.Month << "/" << C.Day;
  }
}

TEST(BarDates, WholeDayCountsAHairBelowAsTheDay) {
  EXPECT_EQ(46000, WholeDay(46000.0));
  EXPECT_EQ(46000, WholeDay(46000.99));
  EXPECT_EQ(46001, WholeDay(46001.0 - 1e-12));
  EXPECT_EQ(0, WholeDay(0.0));
  EXPECT_EQ(-700000, WholeDay(NullDate));
  // Before day 0 the time of day counts forward from the day's midnight.
  EXPECT_EQ(-1, WholeDay(-1.0));
  EXPECT_EQ(-1, WholeDay(-1.0 + 1e-12));
  EXPECT_EQ(-1, WholeDay(-1.5));
}

// The weekday handed to the date formatting is the date's own, 0 to 6, also
// on day 0 (30 December 1899) and before it, where the count of whole days
// goes negative.
TEST(BarDates, RealWeekdayOnEveryDate) {
  struct Case {
    int Year, Month, Day, Weekday;
  } Cases[] = {
      {1899, 12, 30, 6}, {1899, 12, 29, 5}, {1899, 12, 31, 0}, {1899, 12, 24, 0}, {1800, 1, 1, 3},
      {1, 1, 1, 1},      {1900, 1, 1, 1},   {2024, 2, 29, 4},  {2026, 12, 11, 5},
  };
  for (const Case& C : Cases) {
    TDateTime Date = EncodeDate(C.Year, C.Month, C.Day);
    EXPECT_EQ(C.Weekday, WeekdayOf(Date)) << Ymd(Date);
    EXPECT_EQ(C.Weekday + 1, DayOfWeek(Date)) << Ymd(Date);
    // The time of day does not move the day, before day 0 neither.
    EXPECT_EQ(C.Weekday, WeekdayOf(Date < 0 ? Date - 0.75 : Date + 0.75)) << Ymd(Date);
  }
}

TEST(BarDates, WeekdayColumnsFromTheFirstDay) {
  // 2026-06-01 is a Monday, 2026-03-01 a Sunday, 2026-12-11 a Friday.
  struct Case {
    int Year, Month, Day, FirstDay, Column;
  } Cases[] = {
      {2026, 6, 1, Monday, 0},   {2026, 6, 1, Sunday, 1},   {2026, 6, 1, Saturday, 2},
      {2026, 3, 1, Monday, 6},   {2026, 3, 1, Sunday, 0},   {2026, 3, 1, Saturday, 1},
      {2026, 12, 11, Monday, 4}, {2026, 12, 11, Sunday, 5}, {2026, 12, 11, Saturday, 6},
      {1899, 12, 30, Monday, 5}, {1899, 12, 30, Sunday, 6}, {1899, 12, 30, Saturday, 0},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(C.Column, WeekdayColumn(EncodeDate(C.Year, C.Month, C.Day), C.FirstDay))
        << C.Year << "/" << C.Month << "/" << C.Day << " first " << C.FirstDay;
}

TEST(BarDates, FirstDayFromTheLocale) {
  struct Case {
    const char* Value;
    int FirstDay;
  } Cases[] = {{"0", Monday}, {"5", Saturday}, {"6", Sunday}, {"7", Sunday}, {"9", Sunday},
               {"", Sunday},  {nullptr, Sunday}, {"x", Sunday}, {"12", 2}};
  for (const Case& C : Cases)
    EXPECT_EQ(C.FirstDay, FirstDayFromLocaleValue(C.Value)) << (C.Value ? C.Value : "(none)");
}

TEST(BarDates, OneMonthGridStartsInThePreviousMonth) {
  struct Case {
    int Year, Month, FirstDay;
    const char *First, *Last;
  } Cases[] = {
      // A month starting on the first day of the week shows the whole week before.
      {2026, 6, Monday, "2026-5-25", "2026-7-5"},
      {2026, 3, Sunday, "2026-2-22", "2026-4-4"},
      {2026, 3, Monday, "2026-2-23", "2026-4-5"},
      {2026, 12, Saturday, "2026-11-28", "2027-1-8"},
      {1900, 1, Monday, "1899-12-25", "1900-2-4"},
  };
  for (const Case& C : Cases) {
    TDateTime Mid = EncodeDate(C.Year, C.Month, 17);
    EXPECT_EQ(C.First, Ymd(CalendarFirstShown(Mid, C.FirstDay))) << C.Year << "/" << C.Month;
    EXPECT_EQ(C.Last, Ymd(CalendarLastShown(Mid, C.FirstDay))) << C.Year << "/" << C.Month;
    EXPECT_EQ(C.First, Ymd(CalendarDateAt(Mid, C.FirstDay, 0, 0)));
    EXPECT_EQ(C.Last, Ymd(CalendarDateAt(Mid, C.FirstDay, 5, 6)));
    // The first of the month stands in the first row at its column, or in
    // the second row's first cell.
    TDateTime First = EncodeDate(C.Year, C.Month, 1);
    int Column = WeekdayColumn(First, C.FirstDay);
    EXPECT_EQ(First, CalendarDateAt(Mid, C.FirstDay, Column == 0 ? 1 : 0, Column));
  }
}

TEST(BarDates, ViewFollowsTheSelection) {
  struct Case {
    const char* Name;
    TDateTime Shown, Selection;
    int FirstDay;
    const char* Want;
  } Cases[] = {
      {"shown day", EncodeDate(2026, 3, 1), EncodeDate(2026, 3, 20), Monday, "2026-3-1"},
      {"leading day of the previous month", EncodeDate(2026, 3, 1), EncodeDate(2026, 2, 23), Monday, "2026-3-1"},
      {"trailing day of the next month", EncodeDate(2026, 3, 1), EncodeDate(2026, 4, 5), Monday, "2026-3-1"},
      {"one before the first shown", EncodeDate(2026, 3, 1), EncodeDate(2026, 2, 22), Monday, "2026-2-1"},
      {"one after the last shown", EncodeDate(2026, 3, 1), EncodeDate(2026, 4, 6), Monday, "2026-4-1"},
      {"months before, day 31", EncodeDate(2026, 3, 1), EncodeDate(2025, 10, 31), Monday, "2025-10-1"},
      {"years after", EncodeDate(2026, 3, 1), EncodeDate(2030, 1, 31), Sunday, "2030-1-1"},
      {"from the middle of a month", EncodeDate(2026, 3, 17), EncodeDate(2026, 3, 2), Sunday, "2026-3-1"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(C.Want, Ymd(CalendarMonthShowing(C.Shown, C.Selection, C.FirstDay))) << C.Name;
}

TEST(BarDates, KeyMoves) {
  // From Wednesday 2026-03-11 and from Tuesday 2026-03-31.
  TDateTime Mid = EncodeDate(2026, 3, 11), End = EncodeDate(2026, 3, 31);
  struct Case {
    TDateTime From;
    TdxCalendarMove Move;
    int FirstDay;
    const char* Want;
  } Cases[] = {
      {Mid, cmPrevMonth, Monday, "2026-2-11"},  {End, cmPrevMonth, Monday, "2026-2-28"},
      {End, cmNextMonth, Monday, "2026-4-30"},  {EncodeDate(2026, 12, 31), cmNextMonth, Monday, "2027-1-31"},
      {EncodeDate(2026, 1, 15), cmPrevMonth, Monday, "2025-12-15"},
      {Mid, cmMonthEnd, Monday, "2026-3-31"},   {Mid, cmMonthStart, Monday, "2026-3-1"},
      {Mid, cmWeekStart, Monday, "2026-3-9"},   {Mid, cmWeekEnd, Monday, "2026-3-15"},
      {Mid, cmWeekStart, Sunday, "2026-3-8"},   {Mid, cmWeekEnd, Sunday, "2026-3-14"},
      {End, cmWeekEnd, Monday, "2026-4-5"},     {Mid, cmPrevDay, Monday, "2026-3-10"},
      {EncodeDate(2026, 3, 1), cmPrevDay, Monday, "2026-2-28"},
      {End, cmNextDay, Monday, "2026-4-1"},     {Mid, cmPrevWeek, Monday, "2026-3-4"},
      {End, cmNextWeek, Monday, "2026-4-7"},    {Mid + 0.5, cmNextDay, Monday, "2026-3-12"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(C.Want, Ymd(CalendarMove(C.From, C.Move, C.FirstDay))) << Ymd(C.From) << " move " << C.Move;
}

// Left on the first shown day leaves the view, which then follows into the
// previous month.
TEST(BarDates, LeftOnTheFirstShownDayShowsThePreviousMonth) {
  TDateTime Shown = EncodeDate(2026, 3, 1);
  TDateTime First = CalendarFirstShown(Shown, Monday);
  TDateTime Selection = CalendarMove(First, cmPrevDay, Monday);
  EXPECT_EQ("2026-2-22", Ymd(Selection));
  EXPECT_EQ("2026-2-1", Ymd(CalendarMonthShowing(Shown, Selection, Monday)));
}

TEST(BarDates, MonthScrollerSpeeds) {
  struct Case {
    int Y, Step, Id, Period;
  } Cases[] = {
      {5, 1, 6, 500},    {11, 1, 6, 500},   {12, 2, 7, 250},   {20, 2, 7, 250},  {30, 3, 8, 100},
      {40, 4, 9, 50},    {400, 4, 9, 50},   {-5, -1, 4, 500},  {-12, -2, 3, 250}, {-30, -3, 2, 100},
      {-40, -4, 1, 50},  {-1000, -4, 1, 50}, {1, 1, 6, 500},   {-1, -1, 4, 500},
  };
  for (const Case& C : Cases) {
    int Step = MonthListScrollStep(C.Y);
    EXPECT_EQ(C.Step, Step) << C.Y;
    EXPECT_EQ(C.Id, MonthListTimerId(Step)) << C.Y;
    EXPECT_EQ(C.Period, MonthListTimerPeriod(Step)) << C.Y;
    EXPECT_EQ(C.Step < 0 ? -1 : 1, MonthListTimerDirection(MonthListTimerId(Step))) << C.Y;
  }
  EXPECT_EQ(0, MonthListScrollStep(0));
}
