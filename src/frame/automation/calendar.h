// The calendar behind DATE: days since 1899-12-30 to and from calendar fields.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstdint>
#include <optional>

namespace nv::calendar {

// The proleptic Gregorian calendar by day numbers, shared by every date
// conversion of the library.

// Days from 1970-01-01 to 1899-12-30, the origin of automation dates.
inline constexpr int64_t kDateOriginToUnixDays = 25'569;

struct YearMonthDay {
  int year;
  int month;
  int day;
};

bool IsLeapYear(int year) noexcept;
// `month` 1..12.
int DaysInMonth(int year, int month) noexcept;
// Days since 1970-01-01 (negative before).
int64_t DaysFromCivil(int64_t year, int month, int day) noexcept;
YearMonthDay CivilFromDays(int64_t days) noexcept;

}  // namespace nv::calendar

namespace nv {

// DATE <-> calendar fields. A DATE counts days since 1899-12-30; its fraction
// is the time of day. Before the epoch the integer part counts days back while
// the fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00.

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const DateParts&, const DateParts&) = default;
};

// The representable range: 0100-01-01 through 9999-12-31 (whole days).
inline constexpr DATE kMinDate = -657434.0;
inline constexpr DATE kMaxDate = 2958465.0;

enum class DatePrecision { kMillisecond, kSecond };

// The fields of `value`, the time rounded half up to `precision` (a carry
// moves to the next calendar day). Empty outside the range or for NaN.
std::optional<DateParts> SplitDate(DATE value,
                                   DatePrecision precision = DatePrecision::kMillisecond);

// The DATE of `parts`; empty when a field is out of range (years 100..9999,
// a real calendar day, hour < 24, minute and second < 60, millisecond < 1000).
std::optional<DATE> MakeDate(const DateParts& parts);

// 0 for Sunday through 6 for Saturday.
int DayOfWeek(const DateParts& parts);

}  // namespace nv
