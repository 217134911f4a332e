// A new file under a short random name in the folder of the file it is meant
// to become, moved onto that name only when complete. The short name keeps
// any suffix that other code adds to it (libzip's own temporary name) within
// the file system's name limit whatever the target's length. Dropped before
// it was moved, the file is removed.
#pragma once

#include <string>
#include <string_view>

namespace nv {

// ".nvx-" and 16 random hexadecimal digits: a name that no client picks.
std::string ShortTempName();

class FileBeside {
 public:
  // Creates the file, empty, with O_CREAT | O_EXCL (mode 0666 less the
  // umask). Throws std::system_error with the system's reason.
  explicit FileBeside(std::u16string_view target);
  FileBeside(const FileBeside&) = delete;
  FileBeside& operator=(const FileBeside&) = delete;
  ~FileBeside();

  // The file's path, as UTF-8.
  const std::string& Path() const noexcept { return path_; }

  // Renames the file onto its target, replacing a file or a link there (a
  // link is replaced, never written through). Throws std::system_error.
  void ReplaceTarget();
  // Renames the file onto its target only while nothing has that name; an
  // existing one fails with EEXIST and is left as it is. Throws
  // std::system_error.
  void BecomeNewTarget();

 private:
  std::string target_;
  std::string path_;
  bool moved_ = false;
};

}  // namespace nv
