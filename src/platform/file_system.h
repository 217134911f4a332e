// File-system operations: tests, folder creation and emptying, copying, and new
// files written beside the name they are to take.
#pragma once

#include <cstdint>

#include <string>
#include <string_view>

namespace nv {

// Small file-system services: folder and file tests, folder creation, copying.

// True when the path exists and is a folder (a link to a folder counts).
bool IsFolder(std::u16string_view path);

// True when the path exists and is not a folder.
bool FileExists(std::u16string_view path);

// The whole content of a regular file (a link is followed). Fails with
// "Cannot read file <path>: <reason>" for a missing or unreadable file, a
// folder, or a file larger than `maxBytes`.
std::string ReadFileBytes(std::u16string_view path, uint64_t maxBytes);

// Creates one folder (its parent must exist) with `mode` less the umask.
// An existing folder is a failure too.
void CreateFolder(std::u16string_view path, unsigned mode = 0777);

// Creates every missing folder of `path`.
void CreateFolderTree(std::u16string_view path);

// Copies the file's content (a link is followed), in the kernel or in
// blocks whatever its size; with `failIfExists` an existing destination is
// left alone and the copy fails. Fails with "Cannot copy the file <source>
// to <destination>: <reason>".
void CopyFile(std::u16string_view source, std::u16string_view destination, bool failIfExists);

// Emptying a folder.

// Removes everything below `folder`, hidden and read-only entries included,
// and keeps the folder itself. Symbolic links are removed, never followed;
// a `folder` that is itself a link is refused.
void DelTreeNoRoot(std::u16string_view folder);

// Removes `path` with everything below it, links removed and never followed.
// Never allocates, so that cleaning up after an allocation failure cannot
// fail for want of memory. False when something stayed.
bool RemoveTree(const char* path) noexcept;

// A new file under a short random name in the folder of the file it is meant
// to become, moved onto that name only when complete. The short name keeps
// any suffix that other code adds to it (libzip's own temporary name) within
// the file system's name limit whatever the target's length. Dropped before
// it was moved, the file is removed.

// ".nvx-" and 16 random hexadecimal digits: a name that no client picks.
std::string ShortTempName();

// renameat without replacing: renameat2 with RENAME_NOREPLACE where the file
// system takes the flag, else a hard link (which never replaces either) and
// removing the old name. An existing `to` (a link too) fails with EEXIST.
// 0, or -1 with errno.
int RenameNoReplaceAt(int fromDir, const char* from, int toDir, const char* to);

class FileBeside {
 public:
  // Creates the file, empty, with O_CREAT | O_EXCL (mode 0666 less the
  // umask). Throws std::system_error with the system's reason.
  explicit FileBeside(std::u16string_view target);
  FileBeside(const FileBeside&) = delete;
  FileBeside& operator=(const FileBeside&) = delete;
  ~FileBeside();

  // The file's path, as UTF-8.
  const std::string& Path() const noexcept { return path_; }

  // Renames the file onto its target, replacing a file or a link there (a
  // link is replaced, never written through). Throws std::system_error.
  void ReplaceTarget();
  // Renames the file onto its target only while nothing has that name; an
  // existing one fails with EEXIST and is left as it is. Throws
  // std::system_error.
  void BecomeNewTarget();

 private:
  std::string target_;
  std::string path_;
  bool moved_ = false;
};

}  // namespace nv
