// The destination file of a download. It is created when the first block
// arrives (or at the end, for an empty body), so a request refused before
// any data leaves an existing file alone; each block is written as it
// arrives; a failed download removes what was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nv {

class DownloadFile {
 public:
  DownloadFile(std::string path, uint64_t maxBytes) : path_(std::move(path)), maxBytes_(maxBytes) {}
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;
  ~DownloadFile() { Discard(); }

  // Appends a block; false when it would exceed the size limit or the file
  // cannot be written (see CapExceeded and Error).
  bool Write(const char* data, size_t size);
  // Creates the file when no block came and closes it; false on failure.
  bool Commit();
  // Closes and removes the file when this download created it.
  void Discard() noexcept;

  bool CapExceeded() const noexcept { return capExceeded_; }
  // The errno of a failed create, write or close; 0 when none.
  int Error() const noexcept { return error_; }
  const std::string& Path() const noexcept { return path_; }

 private:
  bool Open();

  std::string path_;
  uint64_t maxBytes_;
  uint64_t written_ = 0;
  int fd_ = -1;
  bool created_ = false;
  bool committed_ = false;
  bool capExceeded_ = false;
  int error_ = 0;
};

}  // namespace nv
