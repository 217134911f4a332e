#include "values/date_text.h"

#include "frame/automation/calendar.h"
#include "frame/exception.h"
#include "values/data_type_names.h"
#include "values/number_text.h"

#include <algorithm>
#include <climits>
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

void AppendDateText(std::u16string& out, const CalendarDate& date) {
  AppendZeroPadded(out, date.year, 4);
  out += u'-';
  AppendZeroPadded(out, date.month, 2);
  out += u'-';
  AppendZeroPadded(out, date.day, 2);
}

void AppendTimeText(std::u16string& out, const TimeOfDay& time) {
  AppendZeroPadded(out, time.hour, 2);
  out += u':';
  AppendZeroPadded(out, time.minute, 2);
  out += u':';
  AppendZeroPadded(out, time.second, 2);
  // Three digits, since a reader takes ".7" as 700 ms; ".0" when there are none.
  if (time.millisecond == 0) {
    out += u".0";
  } else {
    out += u'.';
    AppendZeroPadded(out, time.millisecond, 3);
  }
}

namespace {

using Kind = DateTimeKind;

bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }
int DigitAt(std::u16string_view text, size_t at) noexcept { return text[at] - u'0'; }

// A calendar or clock field: the leading integer after blanks and a sign,
// as the integer data types read it. Unlike them, a field never wraps: a
// value beyond int range saturates at INT_MAX or -INT_MAX (which a year's
// sign can still flip) and fails its encoding.
int FieldOf(std::u16string_view text) noexcept {
  size_t at = 0;
  while (at < text.size() && (text[at] == u' ' || (text[at] >= u'\t' && text[at] <= u'\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) negative = text[at++] == u'-';
  int64_t magnitude = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at)
    magnitude = std::min<int64_t>(magnitude * 10 + DigitAt(text, at), INT_MAX);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

// Removes a trailing zone designator, "Z" or a sign with hh:mm, keeping its
// offset. It is taken from the end of the whole text so that dates with a
// zone (2009-03-07+02:00) read as well as date-times.
std::u16string_view TakeZone(std::u16string_view text, int32_t& zone) noexcept {
  if (!text.empty() && text.back() == u'Z') return text.substr(0, text.size() - 1);
  if (text.size() < 6) return text;
  const std::u16string_view z = text.substr(text.size() - 6);
  if ((z[0] != u'+' && z[0] != u'-') || !IsDigit(z[1]) || !IsDigit(z[2]) || z[3] != u':' ||
      !IsDigit(z[4]) || !IsDigit(z[5])) {
    return text;
  }
  const int minutes =
      (DigitAt(z, 1) * 10 + DigitAt(z, 2)) * 60 + DigitAt(z, 4) * 10 + DigitAt(z, 5);
  zone = z[0] == u'-' ? -minutes : minutes;
  return text.substr(0, text.size() - 6);
}

// --MM-- : the month alone.
void ParseMonthOnly(std::u16string_view part, DateTimeRecord& record) {
  if (part.size() >= 6 && part[2] != u'-' && part[5] == u'-') {
    record.kind = Kind::kMonth;
    record.month = FieldOf(part.substr(2, 2));
  }
}

void ParseDatePart(std::u16string_view part, DateTimeRecord& record) {
  const bool negative = part.size() >= 2 && part[0] == u'-' && part[1] != u'-';
  if (negative) part.remove_prefix(1);
  const size_t dash = part.find(u'-');
  if (part.size() < 4) {
    record.kind = Kind::kCentury;
    record.year = FieldOf(part) * 100;
  } else if (dash == std::u16string_view::npos) {
    record.kind = Kind::kYear;
    record.year = FieldOf(part);
  } else if (dash == 0) {
    ParseMonthOnly(part, record);
  } else {
    record.year = FieldOf(part.substr(0, dash));
    const std::u16string_view rest = part.substr(dash + 1);
    const size_t second = rest.find(u'-');
    record.month = FieldOf(rest.substr(0, second));
    if (second == std::u16string_view::npos) {
      record.kind = Kind::kYearMonth;
    } else {
      record.kind = Kind::kDate;
      record.day = FieldOf(rest.substr(second + 1));
    }
  }
  if (negative) record.year = -record.year;
}

// The milliseconds of the digits after a decimal point: ".7" is 700 ms,
// ".007" is 7. Digits past the third are dropped rather than rounded, so a
// fraction never carries into the next second (59.9999 stays in second 59).
int MillisecondsOf(std::u16string_view fraction) noexcept {
  int milliseconds = 0;
  int scale = 100;
  for (size_t at = 0; at < fraction.size() && IsDigit(fraction[at]) && scale > 0; ++at) {
    milliseconds += DigitAt(fraction, at) * scale;
    scale /= 10;
  }
  return milliseconds;
}

// hh:mm:ss with an optional fraction of the seconds.
DATE ParseTimePart(std::u16string_view part) {
  const size_t first = part.find(u':');
  if (first == std::u16string_view::npos) throw ENvException("Invalid time format");
  const std::u16string_view rest = part.substr(first + 1);
  const size_t second = rest.find(u':');
  int seconds = 0;
  int milliseconds = 0;
  if (second != std::u16string_view::npos) {
    const std::u16string_view secondsText = rest.substr(second + 1);
    const size_t point = secondsText.find(u'.');
    seconds = FieldOf(secondsText.substr(0, point));
    if (point != std::u16string_view::npos) {
      milliseconds = MillisecondsOf(secondsText.substr(point + 1));
    }
  }
  return EncodeTime(FieldOf(part.substr(0, first)), FieldOf(rest.substr(0, second)), seconds,
                    milliseconds);
}

bool KindFits(Kind kind, DataTypeEnum type) noexcept {
  switch (type) {
    case dtDateTime:
      return kind == Kind::kDateTime;
    case dtTime:
      return kind == Kind::kTime;
    case dtDate:
      return kind == Kind::kDate;
    case dtGYear:
      return kind == Kind::kYear;
    case dtGMonth:
      return kind == Kind::kMonth || kind == Kind::kYearMonth;
    default:
      return false;
  }
}

}  // namespace

DateTimeRecord ParseDateTimeText(std::u16string_view text) {
  DateTimeRecord record;
  text = TakeZone(text, record.zone);
  std::u16string_view datePart;
  std::u16string_view timePart;
  if (const size_t t = text.find(u'T'); t != std::u16string_view::npos) {
    datePart = text.substr(0, t);
    timePart = text.substr(t + 1);
  } else if (text.find(u':') != std::u16string_view::npos) {
    timePart = text;
  } else {
    datePart = text;
  }
  const bool hasDate = !datePart.empty() || timePart.empty();
  if (hasDate) ParseDatePart(datePart, record);
  if (!timePart.empty()) {
    if (hasDate && record.kind != Kind::kDate) throw ENvException("Expecting a full date value");
    record.time = ParseTimePart(timePart);
    record.kind = hasDate ? Kind::kDateTime : Kind::kTime;
  }
  return record;
}

DATE DateValueFromText(std::u16string_view text, DataTypeEnum type) {
  DateTimeRecord record;
  try {
    record = ParseDateTimeText(text);
  } catch (const ENvException&) {
    ThrowInvalidValue(text, type);
  }
  if (!KindFits(record.kind, type)) ThrowInvalidValue(text, type);
  switch (record.kind) {
    case Kind::kTime:
      return record.time;
    case Kind::kMonth:
      return EncodeDate(1899, record.month, 1);
    case Kind::kYearMonth:
      return EncodeDate(record.year, record.month, 1);
    case Kind::kYear:
      return EncodeDate(record.year, 1, 1);
    default:  // a date, with or without a time
      return CombineDateAndTime(EncodeDate(record.year, record.month, record.day), record.time);
  }
}

}  // namespace nv
