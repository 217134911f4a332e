#include "archive/beneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

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

}  // namespace nv::archive
