#include "dxBarExtDates.h"

#include "DateUtils.h"

#include <cstdlib>

void MonthBack(int& Year, int& Month) {
  if (--Month < 1) {
    Month = 12;
    --Year;
  }
}

void MonthForward(int& Year, int& Month) {
  if (++Month > 12) {
    Month = 1;
    ++Year;
  }
}

void ShiftMonths(int& Year, int& Month, int Delta) {
  Year += Delta / 12;
  Month += Delta % 12;
  if (Month < 1) {
    Month += 12;
    --Year;
  } else if (Month > 12) {
    Month -= 12;
    ++Year;
  }
}

int MonthLength(int Year, int Month) {
  static const int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool Leap = (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
  return Lengths[Month - 1] + (Month == 2 && Leap ? 1 : 0);
}

int ClampDay(int Year, int Month, int Day) {
  if (Day < 1) return 1;
  int Last = MonthLength(Year, Month);
  return Day > Last ? Last : Day;
}

int WholeDay(TDateTime Date) {
  // Before day 0 the day is still the integer part (the time of day counts
  // forward from its midnight), so the hair goes away from zero there: added
  // on that side, −1 would become day 0.
  return static_cast<int>(Date < 0 ? Date - 1e-11 : Date + 1e-11);
}

int WeekdayOf(TDateTime Date) {
  // Day 1, 31 December 1899, was a Sunday; the remainder is taken downward so
  // that earlier days keep counting back through the week.
  int Rest = (WholeDay(Date) - 1) % 7;
  return Rest < 0 ? Rest + 7 : Rest;
}

int DayOfWeek(TDateTime Date) { return WeekdayOf(Date) + 1; }

int WeekdayColumn(TDateTime Date, int FirstDay) {
  int K = DayOfWeek(Date) - FirstDay;
  return K > 0 ? K - 1 : K + 6;
}

int FirstDayFromLocaleValue(const char* Value) {
  if (!Value || *Value < '0' || *Value > '9') return 0;
  int Day = *Value - '0' + 1;
  return Day > 6 ? 0 : Day;
}

TDateTime FirstOfMonth(TDateTime Date) {
  int Year, Month, Day;
  DecodeDate(WholeDay(Date), Year, Month, Day);
  return WholeDay(Date) - Day + 1;
}

TDateTime LastOfMonth(TDateTime Date) {
  int Year, Month, Day;
  DecodeDate(WholeDay(Date), Year, Month, Day);
  return WholeDay(Date) - Day + MonthLength(Year, Month);
}

TDateTime CalendarFirstShown(TDateTime Month, int FirstDay) {
  TDateTime First = FirstOfMonth(Month);
  int Column = WeekdayColumn(First, FirstDay);
  return First - (Column == 0 ? 7 : Column);
}

TDateTime CalendarLastShown(TDateTime Month, int FirstDay) { return CalendarFirstShown(Month, FirstDay) + 41; }

TDateTime CalendarDateAt(TDateTime Month, int FirstDay, int Row, int Column) {
  return CalendarFirstShown(Month, FirstDay) + 7 * Row + Column;
}

TDateTime CalendarMonthShowing(TDateTime ShownMonth, TDateTime Selection, int FirstDay) {
  TDateTime Shown = FirstOfMonth(ShownMonth);
  if (CalendarFirstShown(Shown, FirstDay) > Selection) {
    int Year, Month, Day;
    DecodeDate(WholeDay(Selection), Year, Month, Day);
    MonthBack(Year, Month);
    Shown = EncodeDate(Year, Month, ClampDay(Year, Month, Day));
    Shown = FirstOfMonth(Shown);
  }
  if (CalendarLastShown(Shown, FirstDay) < Selection) Shown = FirstOfMonth(Selection);
  return Shown;
}

TDateTime CalendarMove(TDateTime Selection, TdxCalendarMove Move, int FirstDay) {
  TDateTime Day0 = WholeDay(Selection);
  int Year, Month, Day;
  DecodeDate(Day0, Year, Month, Day);
  switch (Move) {
  case cmPrevMonth:
  case cmNextMonth:
    if (Move == cmPrevMonth)
      MonthBack(Year, Month);
    else
      MonthForward(Year, Month);
    return EncodeDate(Year, Month, ClampDay(Year, Month, Day));
  case cmMonthEnd: return LastOfMonth(Day0);
  case cmWeekEnd: return Day0 + 6 - WeekdayColumn(Day0, FirstDay);
  case cmMonthStart: return FirstOfMonth(Day0);
  case cmWeekStart: return Day0 - WeekdayColumn(Day0, FirstDay);
  case cmPrevDay: return Day0 - 1;
  case cmNextDay: return Day0 + 1;
  case cmPrevWeek: return Day0 - 7;
  case cmNextWeek: return Day0 + 7;
  }
  return Day0;
}

int MonthListScrollStep(int Y) {
  if (Y == 0) return 0;
  int Step = (Y < 0 ? -1 : 1) + Y / 12;
  if (Step > 4) return 4;
  if (Step < -4) return -4;
  return Step;
}

int MonthListTimerId(int Step) { return Step + 5; }

int MonthListTimerPeriod(int Step) {
  static const int Periods[4] = {500, 250, 100, 50};
  int Size = std::abs(Step);
  return Size >= 1 && Size <= 4 ? Periods[Size - 1] : 0;
}

int MonthListTimerDirection(int TimerId) { return TimerId < 6 ? -1 : 1; }
