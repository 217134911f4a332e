// A limit on the size of any file this process writes, for one scope: a
// write beyond it fails with EFBIG ("File too large"), as on a full disk,
// instead of raising SIGXFSZ.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace nv_test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    const rlimit lowered{bytes, saved_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  sighandler_t previous_;
};

}  // namespace nv_test
