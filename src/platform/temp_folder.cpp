#include "platform/temp_folder.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "platform/file_system.h"
#include "platform/paths.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

namespace nv {
namespace {

constexpr std::string_view kTempFileSuffix = ".tmp";

}  // namespace

Bstr GetTempDirectory() {
  for (const char* variable : {"TEMP", "TMP", "TMPDIR"}) {
    const char* value = ::getenv(variable);
    if (value != nullptr && *value != '\0') return Bstr::FromUtf8(value);
  }
  return Bstr(u"/tmp");
}

Bstr CreateTempFile(std::u16string_view folder, std::u16string_view prefix) {
  std::string pattern = ToFileSystemPath(JoinPath(folder, Bstr(prefix) + u"XXXXXX"));
  pattern += kTempFileSuffix;
  const int fd = ::mkstemps(pattern.data(), static_cast<int>(kTempFileSuffix.size()));
  if (fd < 0) throw ENvException("Failed to create a temp file.");
  ::close(fd);
  return Bstr::FromUtf8(pattern);
}

// Both paths come before the folder, so that a failure to make them leaves none.
TempFolder::TempFolder()
    : path_(JoinPath(GetTempDirectory(), Bstr::FromUtf8(NewGuidText()))),
      fileSystemPath_(ToFileSystemPath(path_)) {
  CreateFolder(path_, 0700);
}

TempFolder& TempFolder::operator=(TempFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    fileSystemPath_ = std::move(other.fileSystemPath_);
    other.path_ = Bstr();
  }
  return *this;
}

void TempFolder::Remove() noexcept {
  if (path_.Empty()) return;
  RemoveTree(fileSystemPath_.c_str());
  path_ = Bstr();
  fileSystemPath_.clear();
}

}  // namespace nv
