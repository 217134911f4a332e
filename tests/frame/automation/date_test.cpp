#include "frame/automation/automation_api.h"
#include "frame/automation/date_parts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <tuple>

namespace {

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
  return {y, mo, 0, d, h, mi, s, ms};
}

// Calendar fields <-> DATE, both ways; before the epoch the fraction still
// counts forward from midnight.
TEST(Date, ConvertsBothWays) {
  struct Row {
    SYSTEMTIME time;
    DATE date;
    WORD dayOfWeek;
  };
  const Row rows[] = {
      {Time(1899, 12, 30), 0.0, 6},
      {Time(1899, 12, 29, 6), -1.25, 5},
      {Time(2000, 2, 29, 12), 36585.5, 2},
      {Time(2024, 3, 5, 14, 5, 9), 45356 + 50709.0 / 86400, 2},
      {Time(100, 1, 1), -657434.0, 5},
      {Time(1600, 3, 1), -109511.0, 3},
      {Time(9999, 12, 31, 23, 59, 59), 2958465 + 86399.0 / 86400, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.date);
    SYSTEMTIME time = row.time;
    DATE date = -1e9;
    ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
    EXPECT_EQ(date, row.date);
    ASSERT_TRUE(VariantTimeToSystemTime(row.date, &time));
    SYSTEMTIME expected = row.time;
    expected.wDayOfWeek = row.dayOfWeek;
    EXPECT_EQ(std::memcmp(&time, &expected, sizeof time), 0)
        << time.wYear << "-" << time.wMonth << "-" << time.wDay << " " << time.wHour << ":"
        << time.wMinute << ":" << time.wSecond << " dow " << time.wDayOfWeek;
  }
}

TEST(Date, InvalidFieldsAndOutOfRangeDatesAreRefused) {
  for (SYSTEMTIME time : {Time(99, 12, 31), Time(10000, 1, 1), Time(2024, 13, 1), Time(2024, 1, 0),
                          Time(2023, 2, 29), Time(1900, 2, 29), Time(2024, 1, 1, 24)}) {
    DATE date = 123;
    EXPECT_FALSE(SystemTimeToVariantTime(&time, &date)) << time.wYear << "-" << time.wMonth;
    EXPECT_EQ(date, 123);
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (DATE date : {-657435.0, 2958466.0, 2958465.999999999, nan}) {
    SYSTEMTIME time{};
    EXPECT_FALSE(VariantTimeToSystemTime(date, &time)) << date;
  }
  SYSTEMTIME time{};
  EXPECT_TRUE(VariantTimeToSystemTime(-657434.5, &time));  // 0100-01-01 12:00
  EXPECT_EQ(time.wHour, 12);
}

// Milliseconds in are ignored, and out the time is rounded half up to the
// second, carrying into the next day.
TEST(Date, SystemTimeIsSecondPrecise) {
  SYSTEMTIME time = Time(2024, 3, 5, 14, 5, 9, 999);
  DATE date = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
  EXPECT_EQ(date, 45356 + 50709.0 / 86400);

  // Day -1 at 24:00 is the next calendar day.
  for (auto [in, day, second] : {std::tuple{1 + 0.4 / 86400, 31, 0}, {1 + 0.6 / 86400, 31, 1},
                                 {-1 - 86399.7 / 86400, 30, 0}}) {
    ASSERT_TRUE(VariantTimeToSystemTime(in, &time)) << in;
    EXPECT_EQ(time.wMilliseconds, 0);
    EXPECT_EQ(time.wDay, day) << in;
    EXPECT_EQ(time.wHour * 3600 + time.wMinute * 60 + time.wSecond, second) << in;
  }
}

// The internal helpers keep milliseconds exactly, on both sides of the epoch.
TEST(DateParts, MillisecondsRoundTripAndRoundHalfUpToSeconds) {
  for (const nv::DateParts parts : {nv::DateParts{100, 2, 28, 23, 59, 59, 1},
                                    nv::DateParts{1899, 12, 29, 23, 59, 59, 999},
                                    nv::DateParts{9999, 2, 28, 23, 59, 59, 501}}) {
    const auto date = nv::MakeDate(parts);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(nv::SplitDate(*date), parts) << parts.year << " ms " << parts.millisecond;
  }
  const auto rounded =
      nv::SplitDate(*nv::MakeDate({2024, 3, 5, 10, 0, 0, 500}), nv::DatePrecision::kSecond);
  ASSERT_TRUE(rounded.has_value());
  EXPECT_EQ(rounded->second, 1);
  EXPECT_EQ(rounded->millisecond, 0);
}

}  // namespace
