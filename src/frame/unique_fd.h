// An owned POSIX file descriptor, closed when its owner is done.
#pragma once

#include <unistd.h>

#include <utility>

namespace nv {

class UniqueFd {
 public:
  UniqueFd() noexcept = default;
  explicit UniqueFd(int fd) noexcept : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    UniqueFd(std::move(other)).swap(*this);
    return *this;
  }
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }

  int get() const noexcept { return fd_; }
  explicit operator bool() const noexcept { return fd_ >= 0; }
  int release() noexcept { return std::exchange(fd_, -1); }
  void swap(UniqueFd& other) noexcept { std::swap(fd_, other.fd_); }
  // Closes now, so that a failure to flush can be reported; false with errno.
  bool Close() noexcept { return ::close(release()) == 0; }

 private:
  int fd_ = -1;
};

}  // namespace nv
