#include "platform/file_info.h"

#include "frame/automation/calendar.h"
#include "frame/exception.h"
#include "platform/paths.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

timespec ToTimespec(const statx_timestamp& time) {
  timespec result{};
  result.tv_sec = time.tv_sec;
  result.tv_nsec = time.tv_nsec;
  return result;
}

timespec TimeOrOmit(DATE date) {
  if (std::optional<timespec> time = TimespecFromLocalDate(date)) return *time;
  timespec omit{};
  omit.tv_nsec = UTIME_OMIT;
  return omit;
}

}  // namespace

FileInformation GetFileInformation(std::u16string_view fileName) {
  struct statx status {};
  const std::string path = ToFileSystemPath(fileName);
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &status) != 0) {
    const int error = errno;
    throw ENvException(u"Cannot receive information of file " + Bstr(fileName) +
                       u" due to the following error: " + Bstr::FromUtf8(ErrnoText(error)));
  }
  FileInformation info;
  info.size = status.stx_size;
  info.lastAccessTime = LocalDateFromTimespec(ToTimespec(status.stx_atime));
  info.lastWriteTime = LocalDateFromTimespec(ToTimespec(status.stx_mtime));
  info.creationTime = (status.stx_mask & STATX_BTIME) != 0
                          ? LocalDateFromTimespec(ToTimespec(status.stx_btime))
                          : info.lastWriteTime;
  return info;
}

void SetFileTimes(std::u16string_view fileName, DATE /*creationTime*/, DATE lastAccessTime,
                  DATE lastWriteTime) {
  const std::string path = ToFileSystemPath(fileName);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw ENvException(u"SetFileTime failed, cannot open file: " + Bstr(fileName));
  const timespec times[2] = {TimeOrOmit(lastAccessTime), TimeOrOmit(lastWriteTime)};
  const bool set = ::futimens(fd, times) == 0;
  const int error = errno;
  if (::close(fd) != 0)
    throw ENvException(u"SetFileTime failed, cannot close file: " + Bstr(fileName));
  if (!set) {
    throw ENvException(u"SetFileTime failed, cannot set the times of file: " + Bstr(fileName) +
                       u" due to the following error: " + Bstr::FromUtf8(ErrnoText(error)));
  }
}

Bstr GetCurrentComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0)
    throw ENvException("GetCurrentComputerName() failed, can't get computer name");
  return Bstr::FromUtf8(name);
}

}  // namespace nv
