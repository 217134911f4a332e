#include "platform/file_system.h"

#include "frame/exception.h"
#include "platform/path_text.h"

#include <errno.h>
#include <sys/stat.h>

#include <filesystem>

namespace nv {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void ThrowCreateFailure(const Bstr& path, int error) {
  throw ENvException(u"Cannot create the following directory: " + path +
                     u" due to the following error: " + Bstr::FromUtf8(ErrnoText(error)));
}

bool IsFolderPath(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

bool IsFolder(std::u16string_view path) { return IsFolderPath(ToFileSystemPath(path)); }

bool FileExists(std::u16string_view path) {
  struct stat status {};
  return ::stat(ToFileSystemPath(path).c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

void CreateFolder(std::u16string_view path, unsigned mode) {
  if (::mkdir(ToFileSystemPath(path).c_str(), static_cast<mode_t>(mode)) != 0) {
    const int error = errno;
    ThrowCreateFailure(Bstr(path), error);
  }
}

void CreateFolderTree(std::u16string_view path) {
  // Walks the components so that a failure names the folder that failed.
  const std::string target = ToFileSystemPath(path);
  fs::path partial;
  for (const fs::path& part : fs::path(target)) {
    partial /= part;
    if (part.empty() || part == "/" || IsFolderPath(partial.string())) continue;
    if (::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) {
      const int error = errno;
      ThrowCreateFailure(Bstr::FromUtf8(partial.string()), error);
    }
  }
  if (!IsFolderPath(target)) ThrowCreateFailure(Bstr(path), ENOTDIR);
}

bool CopyFile(std::u16string_view source, std::u16string_view destination, bool failIfExists) {
  std::error_code error;
  const auto options = failIfExists ? fs::copy_options::none
                                    : fs::copy_options::overwrite_existing;
  return fs::copy_file(ToFileSystemPath(source), ToFileSystemPath(destination), options, error) &&
         !error;
}

}  // namespace nv
