// A file written under a temporary name in its folder and renamed over its
// final name only when complete. Dropped before Commit, the temporary file is
// removed: a failed extraction leaves neither a partial file nor a damaged
// earlier one. The temporary file is created beneath the folder with
// O_CREAT | O_EXCL and no link is followed; the rename replaces a link at the
// final name instead of writing through it.
#pragma once

#include "archive/unique_fd.h"

#include <ctime>
#include <optional>
#include <string>

namespace nv::archive {

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

 private:
  int dirFd_;
  std::string finalName_;
  std::string tempName_;
  UniqueFd fd_;
  bool committed_ = false;
};

}  // namespace nv::archive
