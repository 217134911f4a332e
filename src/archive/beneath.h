// The files that extraction writes: created beneath the target folder without
// following links, and renamed over their final names only when complete.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frame/unique_fd.h"

namespace nv::archive {

// Opening and creating files and folders beneath a folder without ever
// leaving it: every name is one component (no separators, no "." or "..")
// and no symbolic link is followed. openat2 with RESOLVE_BENEATH and
// RESOLVE_NO_SYMLINKS is used where the kernel has it, openat with
// O_NOFOLLOW otherwise, which for a single component is equivalent.

// Opens `name` in folder `dirFd`; -1 with errno on failure. O_NOFOLLOW and
// O_CLOEXEC are always added.
UniqueFd OpenBeneath(int dirFd, const std::string& name, int flags, mode_t mode = 0);

// Makes each folder of `components` below `dirFd` (existing ones are kept)
// and answers the deepest one; -1 with errno when a component is a link, a
// file, or cannot be made.
UniqueFd MakeFoldersBeneath(int dirFd, const std::vector<std::string>& components);

// For tests: forces the openat fallback even where openat2 exists.
void UseOpenat2ForTests(bool use);

// A file written under a temporary name in its folder and renamed over its
// final name only when complete. Dropped before Commit, the temporary file is
// removed: a failed extraction leaves neither a partial file nor a damaged
// earlier one. The temporary file is created beneath the folder with
// O_CREAT | O_EXCL and no link is followed; the rename replaces a link at the
// final name instead of writing through it.

class ReplacingFile {
 public:
  // `dirFd` is borrowed and must stay open. Throws std::system_error when
  // the temporary file cannot be created.
  ReplacingFile(int dirFd, std::string finalName);
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();

  // Appends bytes; throws std::system_error.
  void Write(const char* data, size_t size);
  // Sets the access and modification times when given, closes the file and
  // renames it to its final name; throws std::system_error.
  void Commit(std::optional<time_t> times);
  // The same for a file that must not replace anything: the access and
  // modification times become `modified` when given (to the nanosecond),
  // and a file, folder or link that has the final name meanwhile is left as
  // it is and the commit fails with EEXIST.
  void CommitAsNew(std::optional<timespec> modified);

 private:
  // Sets the times when given and closes the file; throws std::system_error.
  void Close(std::optional<timespec> times);

  int dirFd_;
  std::string finalName_;
  std::string tempName_;
  UniqueFd fd_;
  bool committed_ = false;
};

}  // namespace nv::archive
