#include "frame/automation/automation_api.h"
#include "frame/automation/date_parts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
  return {y, mo, 0, d, h, mi, s, ms};
}

struct Row {
  SYSTEMTIME time;
  DATE date;
  WORD dayOfWeek;
};

// Calendar fields <-> DATE, both ways; includes dates before the epoch, where
// the fraction still counts forward from midnight.
const Row kRows[] = {
    {Time(1899, 12, 30), 0.0, 6},
    {Time(1899, 12, 31), 1.0, 0},
    {Time(1900, 1, 1), 2.0, 1},
    {Time(1899, 12, 29, 6), -1.25, 5},
    {Time(1899, 12, 29, 18), -1.75, 5},
    {Time(1899, 12, 30, 12), 0.5, 6},
    {Time(2000, 2, 29, 12), 36585.5, 2},
    {Time(2024, 3, 5, 14, 5, 9), 45356 + 50709.0 / 86400, 2},
    {Time(100, 1, 1), -657434.0, 5},
    {Time(1600, 3, 1), -109511.0, 3},
    {Time(9999, 12, 31, 23, 59, 59), 2958465 + 86399.0 / 86400, 5},
};

TEST(Date, SystemTimeToVariantTime) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.date);
    SYSTEMTIME time = row.time;
    DATE date = -1e9;
    ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
    EXPECT_EQ(date, row.date);
  }
}

TEST(Date, VariantTimeToSystemTime) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.date);
    SYSTEMTIME time{};
    ASSERT_TRUE(VariantTimeToSystemTime(row.date, &time));
    SYSTEMTIME expected = row.time;
    expected.wDayOfWeek = row.dayOfWeek;
    EXPECT_EQ(std::memcmp(&time, &expected, sizeof time), 0)
        << time.wYear << "-" << time.wMonth << "-" << time.wDay << " " << time.wHour << ":"
        << time.wMinute << ":" << time.wSecond << " dow " << time.wDayOfWeek;
  }
}

TEST(Date, InvalidFieldsAreRefused) {
  const SYSTEMTIME invalid[] = {Time(99, 12, 31),    Time(10000, 1, 1),  Time(2024, 0, 1),
                                Time(2024, 13, 1),   Time(2024, 1, 0),   Time(2023, 2, 29),
                                Time(1900, 2, 29),   Time(2024, 4, 31),  Time(2024, 1, 1, 24),
                                Time(2024, 1, 1, 0, 60), Time(2024, 1, 1, 0, 0, 60)};
  for (SYSTEMTIME time : invalid) {
    DATE date = 123;
    EXPECT_FALSE(SystemTimeToVariantTime(&time, &date)) << time.wYear << "-" << time.wMonth;
    EXPECT_EQ(date, 123);
  }
}

// Windows works to the second: milliseconds in are ignored, and out the time
// is rounded half up to the second, carrying into the next day.
TEST(Date, SystemTimeIsSecondPrecise) {
  SYSTEMTIME time = Time(2024, 3, 5, 14, 5, 9, 999);
  DATE date = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
  EXPECT_EQ(date, 45356 + 50709.0 / 86400);

  struct Rounding {
    DATE date;
    SYSTEMTIME expected;
  };
  const Rounding rows[] = {
      {1 + 0.4 / 86400, Time(1899, 12, 31, 0, 0, 0)},
      {1 + 0.6 / 86400, Time(1899, 12, 31, 0, 0, 1)},
      {1 + 86399.6 / 86400, Time(1900, 1, 1)},
      {-1 - 86399.7 / 86400, Time(1899, 12, 30)},  // day -1 at 24:00 is the next calendar day
  };
  for (const Rounding& row : rows) {
    SYSTEMTIME out{};
    ASSERT_TRUE(VariantTimeToSystemTime(row.date, &out)) << row.date;
    EXPECT_EQ(out.wMilliseconds, 0);
    EXPECT_EQ(out.wDay, row.expected.wDay) << row.date;
    EXPECT_EQ(out.wSecond, row.expected.wSecond) << row.date;
    EXPECT_EQ(out.wHour, row.expected.wHour) << row.date;
  }
}

TEST(Date, OutOfRangeDatesAreRefused) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (DATE date : {-657435.0, 2958466.0, 2958465.999999999, nan, inf, -inf}) {
    SYSTEMTIME time{};
    EXPECT_FALSE(VariantTimeToSystemTime(date, &time)) << date;
  }
  SYSTEMTIME time{};
  EXPECT_TRUE(VariantTimeToSystemTime(-657434.5, &time));  // 0100-01-01 12:00
  EXPECT_EQ(time.wHour, 12);
}

// The internal helpers keep milliseconds exactly, on both sides of the epoch.
TEST(DateParts, MillisecondsRoundTrip) {
  for (int year : {100, 1899, 1900, 2024, 9999}) {
    for (int ms : {0, 1, 499, 500, 501, 998, 999}) {
      const int month = year == 1899 ? 12 : 2, day = year == 1899 ? 29 : 28;  // 1899: before the epoch
      const nv::DateParts parts{year, month, day, 23, 59, 59, ms};
      const auto date = nv::MakeDate(parts);
      ASSERT_TRUE(date.has_value());
      EXPECT_EQ(nv::SplitDate(*date), parts) << year << " ms " << ms;
    }
  }
}

TEST(DateParts, SecondPrecisionRoundsHalfUp) {
  const auto date = nv::MakeDate({2024, 3, 5, 10, 0, 0, 500});
  ASSERT_TRUE(date.has_value());
  const auto rounded = nv::SplitDate(*date, nv::DatePrecision::kSecond);
  ASSERT_TRUE(rounded.has_value());
  EXPECT_EQ(rounded->second, 1);
  EXPECT_EQ(rounded->millisecond, 0);
}

}  // namespace
