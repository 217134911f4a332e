#include "platform/del_tree.h"

#include "frame/exception.h"
#include "platform/path_text.h"

#include <errno.h>
#include <sys/stat.h>

#include <filesystem>

namespace nv {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void ThrowDeleteFailure(std::u16string_view folder, int error) {
  throw ENvException(u"DelTreeNoRoot: Error deleting files from folder \"" + Bstr(folder) +
                     u"\": " + Bstr::FromUtf8(ErrnoText(error)));
}

}  // namespace

void DelTreeNoRoot(std::u16string_view folder) {
  if (folder.empty()) throw ENvException("DelTreeNoRoot: Parameter is an empty string");
  const fs::path root(ToFileSystemPath(folder));
  struct stat status {};
  if (::lstat(root.c_str(), &status) != 0) ThrowDeleteFailure(folder, errno);
  if (S_ISLNK(status.st_mode)) ThrowDeleteFailure(folder, ELOOP);
  if (!S_ISDIR(status.st_mode)) ThrowDeleteFailure(folder, ENOTDIR);

  std::error_code error;
  fs::directory_iterator entries(root, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    // remove_all removes a link itself, not what it points to.
    fs::remove_all(entries->path(), error);
    if (error) break;
  }
  if (error) ThrowDeleteFailure(folder, error.value());
}

}  // namespace nv
