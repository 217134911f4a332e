#include "platform/file_times.h"

#include "frame/exception.h"
#include "platform/local_time.h"
#include "platform/path_text.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nv {
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

}  // namespace nv
