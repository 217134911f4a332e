#include "platform/download_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

namespace nv {

bool DownloadFile::Open() {
  if (fd_ >= 0) return true;
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    error_ = errno;
    return false;
  }
  created_ = true;
  return true;
}

bool DownloadFile::Write(const char* data, size_t size) {
  if (size > maxBytes_ - written_) {
    capExceeded_ = true;
    return false;
  }
  if (!Open()) return false;
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    written_ += static_cast<uint64_t>(n);
  }
  return true;
}

bool DownloadFile::Commit() {
  if (!Open()) return false;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    error_ = errno;
    return false;
  }
  committed_ = true;
  return true;
}

void DownloadFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (created_ && !committed_) ::unlink(path_.c_str());
  created_ = false;
}

}  // namespace nv
