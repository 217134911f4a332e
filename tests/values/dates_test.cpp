#include "values/date_text.h"

#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace nv::test {
namespace {

TEST(DateEncoding, DayNumbersCountFromTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(2009, 3, 7), 39879.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);  // 400-year leap
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1.0);  // century, no leap
  EXPECT_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
}

TEST(DateEncoding, ImpossibleDatesAndTimesAreRefused) {
  const int dates[][3] = {{0, 1, 1},   {10000, 1, 1},  {2009, 0, 1},
                          {2009, 1, 0}, {2009, 4, 31}, {1900, 2, 29}};
  for (const auto& d : dates) {
    EXPECT_EQ(FailureOf([&] { EncodeDate(d[0], d[1], d[2]); }), "Invalid argument to date encode")
        << d[0] << "-" << d[1] << "-" << d[2];
  }
  const int times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
  for (const auto& t : times) {
    EXPECT_EQ(FailureOf([&] { EncodeTime(t[0], t[1], t[2], t[3]); }),
              "Invalid argument to time encode");
  }
}

// Every day of the encodable range decodes to the date that encodes to it.
TEST(DateEncoding, EveryDayDecodesToItsOwnDate) {
  CalendarDate date;
  TimeOfDay time;
  int mismatches = 0;
  for (int number = -693593; number <= 2958465; ++number) {
    if (!DecodeDateTime(number, date, time) ||
        EncodeDate(date.year, date.month, date.day) != number) {
      if (++mismatches < 5) ADD_FAILURE() << "day " << number;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(DateEncoding, DecodingRoundsToTheMillisecondAndCountsTimeForward) {
  using Fields = std::tuple<int, int, int, int, int, int, int>;
  const std::pair<DATE, Fields> rows[] = {
      {At(2009, 3, 7, 14, 5, 9, 7) + 0.4 / 86400000, {2009, 3, 7, 14, 5, 9, 7}},
      // Rounding up to midnight moves to the next day.
      {EncodeDate(2009, 3, 7) + 86399999.6 / 86400000, {2009, 3, 8, 0, 0, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
      {-1.0 - 86399999.6 / 86400000, {1899, 12, 30, 0, 0, 0, 0}},
      {-693593.5, {1, 1, 1, 12, 0, 0, 0}},
  };
  for (const auto& [value, fields] : rows) {
    CalendarDate d;
    TimeOfDay t;
    ASSERT_TRUE(DecodeDateTime(value, d, t)) << value;
    EXPECT_EQ(Fields(d.year, d.month, d.day, t.hour, t.minute, t.second, t.millisecond), fields)
        << value;
  }
  CalendarDate date;
  TimeOfDay time;
  // 2958465.9999999954 would round into year 10000.
  for (DATE value : {std::nan(""), 2958466.0, -693594.0, -1e300, static_cast<double>(INFINITY),
                     2958465.0 + 86399999.6 / 86400000}) {
    EXPECT_FALSE(DecodeDateTime(value, date, time)) << value;
  }
}

}  // namespace
}  // namespace nv::test
