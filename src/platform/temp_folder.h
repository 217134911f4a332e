// Temporary files and folders: the temporary directory, new files and folders in
// it, and a folder that lives as long as its owner.
#pragma once

#include "frame/bstr.h"

#include <string>
#include <string_view>

namespace nv {

// The temporary directory and new temporary files and folders in it.

// TEMP, else TMP, else TMPDIR (the first that is set and not empty), else
// "/tmp".
Bstr GetTempDirectory();

// A new, empty, uniquely named file in `folder`: prefix, unique part, ".tmp".
Bstr CreateTempFile(std::u16string_view folder, std::u16string_view prefix);

// A temporary folder owned by one object: made on construction, removed with
// everything in it when the owner is done, on every path out.
class TempFolder {
 public:
  // Makes a new folder in the temporary directory, named by a fresh GUID
  // (without braces) and accessible to its owner only; throws when that
  // fails, also when the name exists.
  TempFolder();
  TempFolder(TempFolder&& other) noexcept
      : path_(std::move(other.path_)), fileSystemPath_(std::move(other.fileSystemPath_)) {
    other.path_ = Bstr();
  }
  TempFolder& operator=(TempFolder&& other) noexcept;
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { Remove(); }

  // The folder's path; empty once removed.
  const Bstr& Path() const noexcept { return path_; }

  // Removes the folder and its content now, without allocating. Links inside
  // are removed, never followed. Failures are ignored: nothing more can be
  // done about them.
  void Remove() noexcept;

 private:
  Bstr path_;
  std::string fileSystemPath_;  // made at the start, so that removing needs no memory
};

}  // namespace nv
