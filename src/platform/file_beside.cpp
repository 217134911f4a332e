#include "platform/file_beside.h"

#include "platform/path_text.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace nv {
namespace {

[[noreturn]] void ThrowErrno(int error, const char* what) {
  throw std::system_error(error, std::generic_category(), what);
}

// The folder part of `path`, with its final '/'; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// rename without replacing: renameat2 where the file system takes the flag,
// else a hard link (which never replaces either) and removing the old name.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  if (::link(from.c_str(), to.c_str()) != 0) return -1;
  ::unlink(from.c_str());
  return 0;
}

}  // namespace

std::string ShortTempName() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  char name[32];
  std::snprintf(name, sizeof name, ".nvx-%016llx", static_cast<unsigned long long>(generator()));
  return name;
}

FileBeside::FileBeside(std::u16string_view target) : target_(ToFileSystemPath(target)) {
  const std::string folder = FolderOf(target_);
  for (int attempt = 0; attempt < 16; ++attempt) {
    path_ = folder + ShortTempName();
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return;
    }
    if (errno != EEXIST) break;
  }
  ThrowErrno(errno, "cannot create a file");
}

FileBeside::~FileBeside() {
  if (!moved_) ::unlink(path_.c_str());
}

void FileBeside::ReplaceTarget() {
  if (::rename(path_.c_str(), target_.c_str()) != 0) ThrowErrno(errno, "cannot replace the file");
  moved_ = true;
}

void FileBeside::BecomeNewTarget() {
  if (RenameNoReplace(path_, target_) != 0) ThrowErrno(errno, "cannot create the file");
  moved_ = true;
}

}  // namespace nv
