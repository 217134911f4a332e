#include "frame/automation/calendar.h"

#include <cmath>
#include <cstdint>

namespace nv::calendar {

// Era-based day counting: 400-year eras of 146097 days counted
// from March, so that the leap day falls at the end of a year.

bool IsLeapYear(int year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int64_t DaysFromCivil(int64_t y, int month, int day) noexcept {
  y -= month <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

YearMonthDay CivilFromDays(int64_t days) noexcept {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yearOfEra + era * 400 + (month <= 2)), month, day};
}

}  // namespace nv::calendar

namespace nv {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;

using calendar::DaysFromCivil;
using calendar::DaysInMonth;
using calendar::kDateOriginToUnixDays;

bool FieldsValid(const DateParts& p) {
  return p.year >= 100 && p.year <= 9999 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
         p.day <= DaysInMonth(p.year, p.month) && p.hour >= 0 && p.hour < 24 &&
         p.minute >= 0 && p.minute < 60 && p.second >= 0 && p.second < 60 &&
         p.millisecond >= 0 && p.millisecond < 1000;
}

void SetTime(int64_t ms, DateParts& parts) {
  parts.millisecond = static_cast<int>(ms % 1000);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.minute = static_cast<int>(ms / 60'000 % 60);
  parts.hour = static_cast<int>(ms / 3'600'000);
}

}  // namespace

std::optional<DateParts> SplitDate(DATE value, DatePrecision precision) {
  if (!(value > kMinDate - 1 && value < kMaxDate + 1)) return std::nullopt;  // NaN too
  const double whole = std::trunc(value);
  const double fraction = std::fabs(value - whole);  // exact: same binade
  const int64_t unit = precision == DatePrecision::kSecond ? 1000 : 1;
  int64_t ms = std::llround(fraction * static_cast<double>(kMsPerDay / unit)) * unit;
  int64_t day = static_cast<int64_t>(whole);
  if (ms >= kMsPerDay) {  // rounded up to midnight: the next calendar day
    ms -= kMsPerDay;
    ++day;
  }
  if (day > static_cast<int64_t>(kMaxDate)) return std::nullopt;
  const calendar::YearMonthDay date = calendar::CivilFromDays(day - kDateOriginToUnixDays);
  DateParts parts{date.year, date.month, date.day};
  SetTime(ms, parts);
  return parts;
}

std::optional<DATE> MakeDate(const DateParts& parts) {
  if (!FieldsValid(parts)) return std::nullopt;
  const int64_t day = DaysFromCivil(parts.year, parts.month, parts.day) + kDateOriginToUnixDays;
  const int64_t ms = ((parts.hour * 60 + parts.minute) * 60 + parts.second) * 1000LL +
                     parts.millisecond;
  const double time = static_cast<double>(ms) / kMsPerDay;
  return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

int DayOfWeek(const DateParts& parts) {
  const int64_t days = DaysFromCivil(parts.year, parts.month, parts.day);  // 1970-01-01: Thursday
  return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

}  // namespace nv

// SystemTimeToVariantTime and VariantTimeToSystemTime. Like their Windows
// counterparts they work to the second: SystemTimeToVariantTime ignores
// wMilliseconds and VariantTimeToSystemTime rounds the time half up to the
// nearest second and answers wMilliseconds = 0. Code that needs milliseconds
// uses nv::SplitDate / nv::MakeDate directly.
NVAPI INT SystemTimeToVariantTime(SYSTEMTIME* lpSystemTime, DOUBLE* pvtime) {
  if (lpSystemTime == nullptr || pvtime == nullptr) return FALSE;
  const SYSTEMTIME& st = *lpSystemTime;
  // Fields are checked strictly: a day past the end of its month is refused
  // rather than carried into the next month.
  const auto date = nv::MakeDate({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                                  st.wSecond, 0});
  if (!date) return FALSE;
  *pvtime = *date;
  return TRUE;
}

NVAPI INT VariantTimeToSystemTime(DOUBLE vtime, SYSTEMTIME* lpSystemTime) {
  if (lpSystemTime == nullptr) return FALSE;
  const auto parts = nv::SplitDate(vtime, nv::DatePrecision::kSecond);
  if (!parts) return FALSE;
  SYSTEMTIME& st = *lpSystemTime;
  st.wYear = static_cast<WORD>(parts->year);
  st.wMonth = static_cast<WORD>(parts->month);
  st.wDayOfWeek = static_cast<WORD>(nv::DayOfWeek(*parts));
  st.wDay = static_cast<WORD>(parts->day);
  st.wHour = static_cast<WORD>(parts->hour);
  st.wMinute = static_cast<WORD>(parts->minute);
  st.wSecond = static_cast<WORD>(parts->second);
  st.wMilliseconds = 0;
  return TRUE;
}
