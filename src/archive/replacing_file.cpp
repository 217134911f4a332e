#include "archive/replacing_file.h"

#include "archive/beneath.h"
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace nv::archive {
namespace {

[[noreturn]] void ThrowErrno(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

ReplacingFile::ReplacingFile(int dirFd, std::string finalName)
    : dirFd_(dirFd), finalName_(std::move(finalName)) {
  for (int attempt = 0; attempt < 16 && !fd_; ++attempt) {
    tempName_ = ShortTempName();
    fd_ = OpenBeneath(dirFd_, tempName_, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (!fd_ && errno != EEXIST) break;
  }
  if (!fd_) ThrowErrno("cannot create a file");
}

ReplacingFile::~ReplacingFile() {
  if (!committed_) {
    fd_ = UniqueFd();
    ::unlinkat(dirFd_, tempName_.c_str(), 0);
  }
}

void ReplacingFile::Write(const char* data, size_t size) {
  while (size > 0) {
    const ssize_t put = ::write(fd_.get(), data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) ThrowErrno("cannot write");
    data += put, size -= static_cast<size_t>(put);
  }
}

void ReplacingFile::Commit(std::optional<time_t> times) {
  if (times) {
    const timespec both[2] = {{*times, 0}, {*times, 0}};
    if (::futimens(fd_.get(), both) != 0) ThrowErrno("cannot set the file times");
  }
  if (::close(fd_.release()) != 0) ThrowErrno("cannot write");
  if (::renameat(dirFd_, tempName_.c_str(), dirFd_, finalName_.c_str()) != 0)
    ThrowErrno("cannot replace the file");
  committed_ = true;
}

}  // namespace nv::archive
