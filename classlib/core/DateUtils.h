// Date and time encoding of the class library. TDateTime counts days from
// 1899-12-30; the time of day is the fraction (for days before that date the
// fraction still counts forward from midnight).
#pragma once

#include "Variants.h"

#include <cstdint>

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = 24 * 60;
inline constexpr int SecsPerDay = MinsPerDay * 60;
inline constexpr int MSecsPerDay = SecsPerDay * 1000;
// Days from 0001-01-01 (day 1) to 1899-12-30.
inline constexpr int DateDelta = 693594;

// A date as day number (1 = 0001-01-01) and milliseconds of the day.
struct TTimeStamp {
  int32_t Time = 0;
  int32_t Date = 0;
};

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

// Raise EConvertError ("Invalid argument to date encode" / "... time encode").
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);
// The date and the time joined (the time counts forward also before 1899-12-30).
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min, int& sec,
                    int& msec);

TTimeStamp DateTimeToTimeStamp(TDateTime value);
// Raises EConvertError ("Invalid date/time") for a day number below 1.
TDateTime TimeStampToDateTime(const TTimeStamp& ts);
double TimeStampToMSecs(const TTimeStamp& ts);
TTimeStamp MSecsToTimeStamp(double msecs);

TDateTime Now();
TDateTime Date();
TDateTime Time();

// The program's fixed date and time formats: "yyyy-mm-dd" and "hh:nn:ss".
// DateTimeToStr leaves the time out at midnight.
String DateToStr(TDateTime value);
String TimeToStr(TDateTime value);
String DateTimeToStr(TDateTime value);
// Formats with yyyy, yy, mm, m, dd, d, hh, h, nn, n, ss, s, zzz, z; other
// characters and text in quotes are copied.
String FormatDateTime(const String& format, TDateTime value);
// Accept "yyyy-mm-dd", "hh:nn[:ss[.zzz]]" and the two joined by a blank;
// raise EConvertError ("'%s' is not a valid date and time" and the like).
TDateTime StrToDate(const String& s);
TDateTime StrToTime(const String& s);
TDateTime StrToDateTime(const String& s);
bool TryStrToDateTime(const String& s, TDateTime& value);
