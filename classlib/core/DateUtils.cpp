#include "DateUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

constexpr int D1 = 365;
constexpr int D4 = D1 * 4 + 1;
constexpr int D100 = D4 * 25 - 1;
constexpr int D400 = D100 * 4 + 1;

const int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

String Pad(int value, int width) {
  String s = IntToStr(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

// Reads an unsigned decimal number of 1 to maxDigits digits at s[i].
bool ReadNumber(const String& s, size_t& i, int maxDigits, int& value) {
  size_t start = i;
  value = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && static_cast<int>(i - start) < maxDigits)
    value = value * 10 + (s[i++] - '0');
  return i > start;
}

bool Expect(const String& s, size_t& i, char c) {
  if (i >= s.size() || s[i] != c) return false;
  ++i;
  return true;
}

bool ParseDate(const String& s, size_t& i, TDateTime& value) {
  int y, m, d;
  return ReadNumber(s, i, 4, y) && Expect(s, i, '-') && ReadNumber(s, i, 2, m) && Expect(s, i, '-') &&
         ReadNumber(s, i, 2, d) && TryEncodeDate(y, m, d, value);
}

bool ParseTime(const String& s, size_t& i, TDateTime& value) {
  int h, n, sec = 0, ms = 0;
  if (!ReadNumber(s, i, 2, h) || !Expect(s, i, ':') || !ReadNumber(s, i, 2, n)) return false;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!ReadNumber(s, i, 2, sec)) return false;
    if (i < s.size() && s[i] == '.') {
      ++i;
      size_t start = i;
      if (!ReadNumber(s, i, 3, ms)) return false;
      for (size_t k = i - start; k < 3; ++k)
        ms *= 10;
    }
  }
  return TryEncodeTime(h, n, sec, ms, value);
}

} // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
  return kMonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
    return false;
  const int* days = kMonthDays[IsLeapYear(year) ? 1 : 0];
  for (int m = 0; m < month - 1; ++m)
    day += days[m];
  int y = year - 1;
  value = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + day - DateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime v;
  if (!TryEncodeDate(year, month, day, v)) throw EConvertError("Invalid argument to date encode");
  return v;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
    return false;
  value = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime v;
  if (!TryEncodeTime(hour, min, sec, msec, v)) throw EConvertError("Invalid argument to time encode");
  return v;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  return date < 0 ? date - time : date + time;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

TTimeStamp DateTimeToTimeStamp(TDateTime value) {
  // Whole milliseconds first, so a value a hair below midnight rounds into
  // the next day instead of giving a time of 86 400 000.
  double ms = std::nearbyint(value * MSecsPerDay);
  auto total = static_cast<int64_t>(ms);
  TTimeStamp ts;
  ts.Date = static_cast<int32_t>(DateDelta + total / MSecsPerDay);
  ts.Time = static_cast<int32_t>((total < 0 ? -total : total) % MSecsPerDay);
  return ts;
}

TDateTime TimeStampToDateTime(const TTimeStamp& ts) {
  if (ts.Date <= 0 || ts.Time < 0 || ts.Time >= MSecsPerDay)
    throw EConvertError(Format("'%d.%d' is not a valid timestamp", ts.Date, ts.Time));
  double days = ts.Date - DateDelta;
  double frac = static_cast<double>(ts.Time) / MSecsPerDay;
  return days < 0 ? days - frac : days + frac;
}

double TimeStampToMSecs(const TTimeStamp& ts) {
  return static_cast<double>(ts.Date) * MSecsPerDay + ts.Time;
}

TTimeStamp MSecsToTimeStamp(double msecs) {
  auto total = static_cast<int64_t>(std::nearbyint(msecs));
  TTimeStamp ts;
  ts.Date = static_cast<int32_t>(total / MSecsPerDay);
  ts.Time = static_cast<int32_t>(total % MSecsPerDay);
  return ts;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  int t = DateTimeToTimeStamp(value).Date;
  if (t <= 0) {
    year = month = day = 0;
    return;
  }
  --t;
  int y = 1;
  while (t >= D400) {
    t -= D400;
    y += 400;
  }
  int i = t / D100, d = t % D100;
  if (i == 4) {
    --i;
    d += D100;
  }
  y += i * 100;
  i = d / D4;
  d %= D4;
  y += i * 4;
  i = d / D1;
  d %= D1;
  if (i == 4) {
    --i;
    d += D1;
  }
  y += i;
  const int* days = kMonthDays[IsLeapYear(y) ? 1 : 0];
  int m = 1;
  while (d >= days[m - 1]) {
    d -= days[m - 1];
    ++m;
  }
  year = y;
  month = m;
  day = d + 1;
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  int t = DateTimeToTimeStamp(value).Time;
  hour = t / 3600000;
  t %= 3600000;
  min = t / 60000;
  t %= 60000;
  sec = t / 1000;
  msec = t % 1000;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min, int& sec,
                    int& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
}

TDateTime Now() {
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                        tm.tm_sec > 59 ? 59 : tm.tm_sec, static_cast<int>(ms));
}

TDateTime Date() {
  return std::trunc(Now());
}

TDateTime Time() {
  TDateTime n = Now();
  return n - std::trunc(n);
}

String FormatDateTime(const String& format, TDateTime value) {
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(value, y, mo, d, h, mi, s, ms);
  String out;
  size_t i = 0;
  auto run = [&](char c) {
    size_t n = 0;
    while (i + n < format.size() && (format[i + n] | 0x20) == c)
      ++n;
    return n;
  };
  while (i < format.size()) {
    char c = format[i];
    char lc = static_cast<char>(c | 0x20);
    if (c == '"' || c == '\'') {
      size_t end = format.find(c, i + 1);
      if (end == String::npos) end = format.size();
      out.append(format, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    size_t n = (lc >= 'a' && lc <= 'z') ? run(lc) : 0;
    switch (n ? lc : 0) {
    case 'y':
      out += n <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
      break;
    case 'm':
      out += n == 1 ? IntToStr(mo) : Pad(mo, 2);
      break;
    case 'd':
      out += n == 1 ? IntToStr(d) : Pad(d, 2);
      break;
    case 'h':
      out += n == 1 ? IntToStr(h) : Pad(h, 2);
      break;
    case 'n':
      out += n == 1 ? IntToStr(mi) : Pad(mi, 2);
      break;
    case 's':
      out += n == 1 ? IntToStr(s) : Pad(s, 2);
      break;
    case 'z':
      out += n == 1 ? IntToStr(ms) : Pad(ms, 3);
      break;
    default:
      out += c;
      n = 1;
    }
    i += n;
  }
  return out;
}

String DateToStr(TDateTime value) {
  return FormatDateTime("yyyy-mm-dd", value);
}
String TimeToStr(TDateTime value) {
  return FormatDateTime("hh:nn:ss", value);
}

String DateTimeToStr(TDateTime value) {
  if (DateTimeToTimeStamp(value).Time == 0) return DateToStr(value);
  return FormatDateTime("yyyy-mm-dd hh:nn:ss", value);
}

bool TryStrToDateTime(const String& s, TDateTime& value) {
  String t = Trim(s);
  size_t i = 0;
  TDateTime date = 0, time = 0;
  bool isTime = t.find(':') != String::npos && t.find('-') == String::npos;
  if (isTime) {
    if (!ParseTime(t, i, time)) return false;
  } else {
    if (!ParseDate(t, i, date)) return false;
    if (i < t.size()) {
      if (t[i] != ' ' && t[i] != 'T') return false;
      ++i;
      if (!ParseTime(t, i, time)) return false;
    }
  }
  if (i != t.size()) return false;
  value = ComposeDateTime(date, time);
  return true;
}

TDateTime StrToDateTime(const String& s) {
  TDateTime v;
  if (!TryStrToDateTime(s, v)) throw EConvertError(Format("'%s' is not a valid date and time", s));
  return v;
}

namespace {

TDateTime ParseWhole(const String& s, bool (*part)(const String&, size_t&, TDateTime&), const char* what) {
  String t = Trim(s);
  size_t i = 0;
  TDateTime v;
  if (!part(t, i, v) || i != t.size()) throw EConvertError(Format("'%s' is not a valid %s", s, what));
  return v;
}

} // namespace

TDateTime StrToDate(const String& s) {
  return ParseWhole(s, ParseDate, "date");
}
TDateTime StrToTime(const String& s) {
  return ParseWhole(s, ParseTime, "time");
}
