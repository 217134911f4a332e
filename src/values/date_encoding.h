// Calendar fields <-> automation dates (days since 1899-12-30, the fraction
// being the time of day). Years 1 to 9999 are encodable. Before the epoch
// the whole days count back while the time still counts forward from
// midnight, as everywhere in the automation runtime: -1.25 is 1899-12-29 06:00.
#pragma once

#include "frame/automation/automation_api.h"

namespace nv {

struct CalendarDate {
  int year = 1899;
  int month = 12;
  int day = 30;
};

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Throws ENvException "Invalid argument to date encode" outside 0001-01-01..9999-12-31
// or for a day that its month does not have.
DATE EncodeDate(int year, int month, int day);

// The fraction of a day; throws ENvException "Invalid argument to time encode"
// unless hour < 24, minute < 60, second < 60, millisecond < 1000 (none negative).
DATE EncodeTime(int hour, int minute, int second, int millisecond);

// The date value of a day and a time within it.
DATE CombineDateAndTime(DATE day, DATE timeOfDay) noexcept;

// A date value split into calendar date and time, rounded to the nearest
// millisecond (a carry moves to the next day). Answers false for NaN and for
// values outside the encodable years.
bool DecodeDateTime(DATE value, CalendarDate& date, TimeOfDay& time) noexcept;

}  // namespace nv
