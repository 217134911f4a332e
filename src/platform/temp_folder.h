// A temporary folder owned by one object: made on construction, removed with
// everything in it when the owner is done, on every path out.
#pragma once

#include "frame/bstr.h"

namespace nv {

class TempFolder {
 public:
  // Makes a new folder (CreateTempFolder); throws when that fails.
  TempFolder();
  TempFolder(TempFolder&& other) noexcept : path_(std::move(other.path_)) { other.path_ = Bstr(); }
  TempFolder& operator=(TempFolder&& other) noexcept;
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { Remove(); }

  // The folder's path; empty once removed.
  const Bstr& Path() const noexcept { return path_; }

  // Removes the folder and its content now. Links inside are removed, never
  // followed. Failures are ignored: nothing more can be done about them.
  void Remove() noexcept;

 private:
  Bstr path_;
};

}  // namespace nv
