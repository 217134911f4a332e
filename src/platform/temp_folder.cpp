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

Bstr CreateTempFolder() {
  const Bstr path = JoinPath(GetTempDirectory(), Bstr::FromUtf8(NewGuidText()));
  CreateFolder(path, 0700);
  return path;
}

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
