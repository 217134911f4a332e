#include "platform/local_time.h"

#include "frame/automation/date_parts.h"

#include <algorithm>

namespace nv {

DATE LocalDateFromTimespec(const timespec& time) {
  tm local{};
  if (::localtime_r(&time.tv_sec, &local) == nullptr) return 0.0;
  DateParts parts;
  parts.year = local.tm_year + 1900;
  parts.month = local.tm_mon + 1;
  parts.day = local.tm_mday;
  parts.hour = local.tm_hour;
  parts.minute = local.tm_min;
  parts.second = std::min(local.tm_sec, 59);  // a leap second
  parts.millisecond = static_cast<int>(time.tv_nsec / 1'000'000);
  return MakeDate(parts).value_or(0.0);
}

std::optional<timespec> TimespecFromLocalDate(DATE date) {
  const std::optional<DateParts> parts = SplitDate(date);
  if (!parts) return std::nullopt;
  tm local{};
  local.tm_year = parts->year - 1900;
  local.tm_mon = parts->month - 1;
  local.tm_mday = parts->day;
  local.tm_hour = parts->hour;
  local.tm_min = parts->minute;
  local.tm_sec = parts->second;
  local.tm_isdst = -1;  // let the time zone rules decide
  timespec time{};
  time.tv_sec = ::mktime(&local);
  time.tv_nsec = static_cast<long>(parts->millisecond) * 1'000'000;
  return time;
}

}  // namespace nv
