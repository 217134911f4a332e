#include "archive/beneath.h"

#include "platform/file_system.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace nv::archive {
namespace {

std::atomic<bool> openat2Usable{true};

// Whether a failure of openat2 means the call itself is unavailable (old
// kernel, or a sandbox filtering the system call) rather than the file.
bool Unavailable(int error) { return error == ENOSYS || error == EPERM || error == E2BIG; }

int OpenWithOpenat2(int dirFd, const char* name, int flags, mode_t mode) {
#ifdef SYS_openat2
  open_how how{};
  how.flags = static_cast<uint64_t>(flags);
  how.mode = (flags & O_CREAT) ? mode : 0;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
  return static_cast<int>(::syscall(SYS_openat2, dirFd, name, &how, sizeof how));
#else
  (void)dirFd, (void)name, (void)flags, (void)mode;
  errno = ENOSYS;
  return -1;
#endif
}

}  // namespace

void UseOpenat2ForTests(bool use) { openat2Usable = use; }

UniqueFd OpenBeneath(int dirFd, const std::string& name, int flags, mode_t mode) {
  flags |= O_NOFOLLOW | O_CLOEXEC;
  if (openat2Usable) {
    const int fd = OpenWithOpenat2(dirFd, name.c_str(), flags, mode);
    if (fd >= 0 || !Unavailable(errno)) return UniqueFd(fd);
    // A sandbox's EPERM could also concern the file itself, so only ENOSYS
    // retires openat2; the fallback is safe for a single component either way.
    if (errno == ENOSYS) openat2Usable = false;
  }
  return UniqueFd(::openat(dirFd, name.c_str(), flags, mode));
}

UniqueFd MakeFoldersBeneath(int dirFd, const std::vector<std::string>& components) {
  UniqueFd current(::fcntl(dirFd, F_DUPFD_CLOEXEC, 0));
  for (const std::string& part : components) {
    if (!current) break;
    if (::mkdirat(current.get(), part.c_str(), 0777) != 0 && errno != EEXIST) return UniqueFd();
    current = OpenBeneath(current.get(), part, O_RDONLY | O_DIRECTORY);
  }
  return current;
}

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

void ReplacingFile::Close(std::optional<timespec> times) {
  if (times) {
    const timespec both[2] = {*times, *times};
    if (::futimens(fd_.get(), both) != 0) ThrowErrno("cannot set the file times");
  }
  if (::close(fd_.release()) != 0) ThrowErrno("cannot write");
}

void ReplacingFile::Commit(std::optional<time_t> times) {
  Close(times ? std::optional<timespec>(timespec{*times, 0}) : std::nullopt);
  if (::renameat(dirFd_, tempName_.c_str(), dirFd_, finalName_.c_str()) != 0)
    ThrowErrno("cannot replace the file");
  committed_ = true;
}

void ReplacingFile::CommitAsNew(std::optional<timespec> modified) {
  Close(modified);
  if (RenameNoReplaceAt(dirFd_, tempName_.c_str(), dirFd_, finalName_.c_str()) != 0)
    ThrowErrno("cannot create the file");
  committed_ = true;
}

}  // namespace nv::archive
