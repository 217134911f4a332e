#include "values/date_text.h"

#include "values/number_format.h"

namespace nv {

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

}  // namespace nv
