#include "DateUtils.h"

#include <gtest/gtest.h>

namespace {

struct DateCase {
  int y, m, d;
  double serial;
};

TEST(DateUtils, EncodeAndDecodeAroundTheEpoch) {
  const DateCase cases[] = {
      {1899, 12, 30, 0},         {1899, 12, 31, 1},       {1900, 1, 1, 2},
      {1899, 12, 29, -1},        {2000, 2, 29, 36585},    {2004, 3, 1, 38047},
      {1, 1, 1, -DateDelta + 1}, {9999, 12, 31, 2958465}, {1900, 3, 1, 61},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    int y, m, d;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
  }
}

TEST(DateUtils, InvalidArgumentsRaise) {
  EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError); // not a leap year
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2000, 13, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
}

TEST(DateUtils, TimeBeforeTheEpochCountsForwardFromMidnight) {
  // 1899-12-29 06:00 is -1.25: the fraction counts away from zero.
  TDateTime v = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_DOUBLE_EQ(v, -1.25);
  int h, n, s, ms;
  DecodeTime(v, h, n, s, ms);
  EXPECT_EQ(h, 6);
  TTimeStamp ts = DateTimeToTimeStamp(v);
  EXPECT_EQ(ts.Date, DateDelta - 1);
  EXPECT_EQ(ts.Time, 6 * 3600000);
  EXPECT_DOUBLE_EQ(TimeStampToDateTime(ts), v);
}

TEST(DateUtils, TimeStampsAndMilliseconds) {
  TDateTime v = EncodeDateTime(2003, 7, 14, 23, 59, 59, 999);
  TTimeStamp ts = DateTimeToTimeStamp(v);
  EXPECT_EQ(ts.Time, MSecsPerDay - 1);
  double ms = TimeStampToMSecs(ts);
  TTimeStamp back = MSecsToTimeStamp(ms);
  EXPECT_EQ(back.Date, ts.Date);
  EXPECT_EQ(back.Time, ts.Time);
  EXPECT_EQ(DateTimeToTimeStamp(EncodeDate(1, 1, 1)).Date, 1);
  // A hair below midnight rounds into the next day, not to a time of 24:00.
  TTimeStamp edge = DateTimeToTimeStamp(2.0 - 1e-12);
  EXPECT_EQ(edge.Date, DateDelta + 2);
  EXPECT_EQ(edge.Time, 0);
  EXPECT_THROW(TimeStampToDateTime({0, 0}), EConvertError);
}

TEST(DateUtils, TextFormsRoundTrip) {
  TDateTime v = EncodeDateTime(2026, 12, 10, 9, 5, 3, 40);
  EXPECT_EQ(DateToStr(v), "2026-12-10");
  EXPECT_EQ(TimeToStr(v), "09:05:03");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 10)), "2026-12-10");
  EXPECT_EQ(FormatDateTime("d.m.yy h:n:s.zzz 'at' hh", v), "10.12.26 9:5:3.040 at 09");
  EXPECT_DOUBLE_EQ(StrToDateTime("2026-12-10 09:05:03.04"), v);
  EXPECT_DOUBLE_EQ(StrToDateTime("09:05"), EncodeTime(9, 5, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDate(" 1899-12-30 "), 0);
  for (const char* bad : {"", "2026-13-01", "2026-12-10 25:00", "12/10/2026", "2026-12-10x"})
    EXPECT_THROW(StrToDateTime(bad), EConvertError) << bad;
  EXPECT_THROW(StrToTime("2026-12-10"), EConvertError);
}

} // namespace
