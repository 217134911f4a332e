// Dates and times: automation dates from calendar fields and back, and the date
// and time texts of the instance document.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/interfaces.h"

#include <string>
#include <string_view>

namespace nv {

// Calendar fields <-> automation dates (days since 1899-12-30, the fraction
// being the time of day). Years 1 to 9999 are encodable. Before the epoch
// the whole days count back while the time still counts forward from
// midnight, as everywhere in the automation runtime: -1.25 is 1899-12-29 06:00.

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

// Date and time texts of the instance document: the writer's forms
// (2009-03-07, 14:05:09.250) and the reader's parse into a
// date/time record whose kind tells which parts the text gave.

enum class DateTimeKind : int32_t {
  kUnset = -1,
  kCentury = 0,
  kYear = 1,
  kMonth = 2,
  kDate = 3,
  kTime = 4,
  kDateTime = 5,
  kYearMonth = 6,
};

struct DateTimeRecord {
  DateTimeKind kind = DateTimeKind::kUnset;
  int32_t year = 0;   // negative for years before year 1
  int32_t month = 0;  // 0 when the text gave none
  int32_t day = 0;
  DATE time = 0;     // fraction of a day
  int32_t zone = 0;  // offset in minutes; 0 also for "Z" and for no zone
};

// Writer forms. Year: at least four digits; month and day: two.
void AppendDateText(std::u16string& out, const CalendarDate& date);
// hh:mm:ss, then the milliseconds in three digits (14:05:09.007), or ".0"
// when there are none (14:05:09.0).
void AppendTimeText(std::u16string& out, const TimeOfDay& time);

// Splits a date/time text into its record. Throws ENvException "Invalid time
// format", "Expecting a full date value" or "Invalid argument to time encode".
DateTimeRecord ParseDateTimeText(std::u16string_view text);

// The date value of a text for dtDateTime, dtTime, dtDate, dtGMonth or
// dtGYear. A text that does not parse, or gives a kind the type does not
// take, fails with the invalid-value message; an impossible calendar date
// with "Invalid argument to date encode".
DATE DateValueFromText(std::u16string_view text, DataTypeEnum type);

}  // namespace nv
