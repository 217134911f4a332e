#include "platform/file_system.h"

#include "frame/exception.h"
#include "frame/unique_fd.h"
#include "platform/paths.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

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

std::string ReadFileBytes(std::u16string_view path, uint64_t maxBytes) {
  const auto fail = [&](const std::string& reason) {
    throw ENvException(u"Cannot read file " + std::u16string(path) + u": " + Bstr::FromUtf8(reason));
  };
  const UniqueFd file(::open(ToFileSystemPath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) fail(ErrnoText(errno));
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) fail(ErrnoText(errno));
  if (!S_ISREG(info.st_mode)) fail("not a regular file");
  if (static_cast<uint64_t>(info.st_size) > maxBytes) fail("the file is too large");
  std::string bytes(static_cast<size_t>(info.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) fail(ErrnoText(errno));
    if (got == 0) break;  // the file shrank meanwhile
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

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

void CopyFile(std::u16string_view source, std::u16string_view destination, bool failIfExists) {
  std::error_code error;
  const auto options = failIfExists ? fs::copy_options::none
                                    : fs::copy_options::overwrite_existing;
  if (!fs::copy_file(ToFileSystemPath(source), ToFileSystemPath(destination), options, error) ||
      error) {
    throw ENvException(u"Cannot copy the file " + Bstr(source) + u" to " + Bstr(destination) +
                       u": " + Bstr::FromUtf8(error.message()));
  }
}

namespace {

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

namespace {

// RemoveTree beneath an open folder. The entries are read into a buffer on
// the stack, without the C library's directory streams (which allocate).
bool RemoveTreeAt(int parent, const char* name) noexcept {
  if (::unlinkat(parent, name, 0) == 0 || errno == ENOENT) return true;
  if (errno != EISDIR) return false;
  const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) return false;
  bool removed = true;
  alignas(dirent64) char entries[1024];
  for (ssize_t got; (got = ::getdents64(folder, entries, sizeof entries)) > 0;) {
    for (ssize_t at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
      at += entry->d_reclen;
      const std::string_view entryName = entry->d_name;
      if (entryName == "." || entryName == "..") continue;
      removed = RemoveTreeAt(folder, entry->d_name) && removed;
    }
  }
  ::close(folder);
  return ::unlinkat(parent, name, AT_REMOVEDIR) == 0 && removed;
}

}  // namespace

bool RemoveTree(const char* path) noexcept { return RemoveTreeAt(AT_FDCWD, path); }

namespace {

[[noreturn]] void ThrowErrno(int error, const char* what) {
  throw std::system_error(error, std::generic_category(), what);
}

// The folder part of `path`, with its final '/'; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int RenameNoReplaceAt(int fromDir, const char* from, int toDir, const char* to) {
  if (::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  if (::linkat(fromDir, from, toDir, to, 0) != 0) return -1;
  ::unlinkat(fromDir, from, 0);
  return 0;
}

std::string ShortTempName() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  char name[32];
  std::snprintf(name, sizeof name, ".nvx-%016llx", static_cast<unsigned long long>(generator()));
  return name;
}

FileBeside::FileBeside(std::u16string_view target) : target_(ToFileSystemPath(target)) {
  const std::string folder = FolderOf(target_);
  for (int attempt = 0; attempt < 16; ++attempt) {
    path_ = folder + ShortTempName();
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return;
    }
    if (errno != EEXIST) break;
  }
  ThrowErrno(errno, "cannot create a file");
}

FileBeside::~FileBeside() {
  if (!moved_) ::unlink(path_.c_str());
}

void FileBeside::ReplaceTarget() {
  if (::rename(path_.c_str(), target_.c_str()) != 0) ThrowErrno(errno, "cannot replace the file");
  moved_ = true;
}

void FileBeside::BecomeNewTarget() {
  if (RenameNoReplaceAt(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str()) != 0)
    ThrowErrno(errno, "cannot create the file");
  moved_ = true;
}

}  // namespace nv
