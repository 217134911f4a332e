#include "platform/temp_folder.h"

#include "platform/path_text.h"
#include "platform/temp_paths.h"

#include <filesystem>

namespace nv {

TempFolder::TempFolder() : path_(CreateTempFolder()) {}

TempFolder& TempFolder::operator=(TempFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    other.path_ = Bstr();
  }
  return *this;
}

void TempFolder::Remove() noexcept {
  if (path_.Empty()) return;
  try {
    std::error_code ignored;
    std::filesystem::remove_all(ToFileSystemPath(path_), ignored);
  } catch (...) {
    // Only allocation can throw here; the folder stays behind then.
  }
  path_ = Bstr();
}

}  // namespace nv
