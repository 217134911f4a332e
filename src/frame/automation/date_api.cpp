// SystemTimeToVariantTime and VariantTimeToSystemTime. Like their Windows
// counterparts they work to the second: SystemTimeToVariantTime ignores
// wMilliseconds and VariantTimeToSystemTime rounds the time half up to the
// nearest second and answers wMilliseconds = 0. Code that needs milliseconds
// uses nv::SplitDate / nv::MakeDate directly.
#include "frame/automation/automation_api.h"
#include "frame/automation/calendar.h"

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
