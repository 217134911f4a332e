#include "values/date_encoding.h"

#include "frame/automation/calendar.h"
#include "frame/exception.h"

#include <cmath>
#include <cstdint>

namespace nv {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;
// Day 1 is 0001-01-01; 1899-12-30 is day 693594.
constexpr int64_t kEpochDay = 693594;
constexpr int64_t kLastDay = 3652059;  // 9999-12-31

using calendar::DaysInMonth;

// Day 1 is 0001-01-01.
int64_t DayNumber(int year, int month, int day) noexcept {
  return calendar::DaysFromCivil(year, month, day) + calendar::kDateOriginToUnixDays + kEpochDay;
}

CalendarDate DateOfDayNumber(int64_t number) noexcept {
  const calendar::YearMonthDay date =
      calendar::CivilFromDays(number - kEpochDay - calendar::kDateOriginToUnixDays);
  return {date.year, date.month, date.day};
}

}  // namespace

DATE EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    throw ENvException("Invalid argument to date encode");
  }
  return static_cast<DATE>(DayNumber(year, month, day) - kEpochDay);
}

DATE EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    throw ENvException("Invalid argument to time encode");
  }
  const int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<DATE>(ms) / kMsPerDay;
}

DATE CombineDateAndTime(DATE day, DATE timeOfDay) noexcept {
  return day < 0 ? day - timeOfDay : day + timeOfDay;
}

bool DecodeDateTime(DATE value, CalendarDate& date, TimeOfDay& time) noexcept {
  // The range test also refuses NaN; it leaves room for the rounding carry.
  constexpr double kFirst = static_cast<double>(1 - kEpochDay) - 1.0;
  constexpr double kLast = static_cast<double>(kLastDay - kEpochDay) + 1.0;
  if (!(value > kFirst && value < kLast)) return false;
  // The time counts forward from midnight on either side of the epoch.
  double whole = 0.0;
  const double fraction = std::modf(value, &whole);
  int64_t ms = std::llround(std::fabs(fraction) * static_cast<double>(kMsPerDay));
  int64_t number = static_cast<int64_t>(whole) + kEpochDay;
  if (ms == kMsPerDay) ms = 0, ++number;  // rounded up to the next midnight
  if (number < 1 || number > kLastDay) return false;
  date = DateOfDayNumber(number);
  time.millisecond = static_cast<int>(ms % 1000), ms /= 1000;
  time.second = static_cast<int>(ms % 60), ms /= 60;
  time.minute = static_cast<int>(ms % 60);
  time.hour = static_cast<int>(ms / 60);
  return true;
}

}  // namespace nv
