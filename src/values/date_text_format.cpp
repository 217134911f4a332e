#include "values/date_text.h"

#include "values/number_format.h"

namespace nv {
namespace {

// `value` zero-padded to `width` digits (value is never negative here).
void AppendPadded(std::u16string& out, int value, size_t width) {
  NumberBuffer buffer;
  const std::string_view digits = FormatDecimal(value, buffer);
  if (digits.size() < width) out.append(width - digits.size(), u'0');
  AppendAscii(out, digits);
}

}  // namespace

void AppendDateText(std::u16string& out, const CalendarDate& date) {
  AppendPadded(out, date.year, 4);
  out += u'-';
  AppendPadded(out, date.month, 2);
  out += u'-';
  AppendPadded(out, date.day, 2);
}

void AppendTimeText(std::u16string& out, const TimeOfDay& time) {
  AppendPadded(out, time.hour, 2);
  out += u':';
  AppendPadded(out, time.minute, 2);
  out += u':';
  AppendPadded(out, time.second, 2);
  out += u'.';
  AppendDecimal(out, time.millisecond);
}

}  // namespace nv
