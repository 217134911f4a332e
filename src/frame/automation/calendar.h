// The proleptic Gregorian calendar by day numbers, shared by every date
// conversion of the library.
#pragma once

#include <cstdint>

namespace nv::calendar {

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
