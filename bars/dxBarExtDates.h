// Calendar arithmetic of the date items: months stepped and shifted, month
// lengths and clamped days, days of the week in a week that starts on the
// user's first day, the one-month grid of the date navigator, its key moves
// and the month scroller's speeds. Window-free, so it builds everywhere.
#pragma once

#include "Variants.h"

// The date that stands for no date at all; never shown as a day.
inline constexpr TDateTime NullDate = -700000;

// One month back or forward, the year wrapping at January and December.
void MonthBack(int& Year, int& Month);
void MonthForward(int& Year, int& Month);
// Delta months forward (back when negative).
void ShiftMonths(int& Year, int& Month, int Delta);
int MonthLength(int Year, int Month);
// Day kept within the month: 1 below, the month's last day beyond it.
int ClampDay(int Year, int Month, int Day);
// The day a date falls on: a value a hair short of a whole day still counts
// as that day (also before day 0).
int WholeDay(TDateTime Date);
// The real day of the week, 0 = Sunday … 6 = Saturday, also on and before
// 30 December 1899.
int WeekdayOf(TDateTime Date);
// The class library's day of the week: 1 = Sunday … 7 = Saturday.
int DayOfWeek(TDateTime Date);
// The column, 0 to 6, of a date in a week that starts on FirstDay
// (0 = Sunday … 6 = Saturday).
int WeekdayColumn(TDateTime Date, int FirstDay);
// The user's first day of the week (0 = Sunday … 6 = Saturday) from the
// locale's answer (its first character, 0 = Monday … 6 = Sunday); Sunday
// when the answer is missing or out of range.
int FirstDayFromLocaleValue(const char* Value);

// The first of the month of a date, and the month's last day.
TDateTime FirstOfMonth(TDateTime Date);
TDateTime LastOfMonth(TDateTime Date);
// The one-month grid of six weeks: it always starts with at least one day of
// the month before. Month is any day of the shown month.
TDateTime CalendarFirstShown(TDateTime Month, int FirstDay);
TDateTime CalendarLastShown(TDateTime Month, int FirstDay);
TDateTime CalendarDateAt(TDateTime Month, int FirstDay, int Row, int Column);
// The month a view starting at ShownMonth moves to so that Selection shows.
TDateTime CalendarMonthShowing(TDateTime ShownMonth, TDateTime Selection, int FirstDay);

// The moves of the navigator's keys.
enum TdxCalendarMove {
  cmPrevMonth, cmNextMonth, cmMonthEnd, cmWeekEnd, cmMonthStart, cmWeekStart,
  cmPrevDay, cmNextDay, cmPrevWeek, cmNextWeek
};
TDateTime CalendarMove(TDateTime Selection, TdxCalendarMove Move, int FirstDay);

// The month scroller held beyond its edge: Y is the distance above (< 0) or
// below (> 0) the list; the step is −4 … 4 months per tick, its timer id
// step + 5 and its period 500, 250, 100 or 50 ms by the step's size.
int MonthListScrollStep(int Y);
int MonthListTimerId(int Step);
int MonthListTimerPeriod(int Step);
// The months a tick of a timer moves: −1 for ids below 6, else +1.
int MonthListTimerDirection(int TimerId);
