#include "archive/zip_staging.h"

#include "archive/zip_error_text.h"
#include "frame/text.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unordered_map>

namespace nv::archive {
namespace {

// Owns an archive being written; discarding it leaves the file untouched.
class WritingArchive {
 public:
  explicit WritingArchive(const std::string& path) {
    // Opened through a source, so that a failure keeps the system's reason.
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* file = zip_source_file_create(path.c_str(), 0, -1, &error);
    if (file != nullptr) {
      // An empty file (a name reserved for the archive) is an empty archive.
      struct stat st {};
      const bool empty = ::stat(path.c_str(), &st) == 0 && st.st_size == 0;
      archive_ = zip_open_from_source(file, ZIP_CREATE | ZIP_CHECKCONS | (empty ? ZIP_TRUNCATE : 0),
                                      &error);
      if (archive_ == nullptr) zip_source_free(file);
    }
    if (archive_ == nullptr) {
      ZipFailure failure(ZipErrorText(&error));
      zip_error_fini(&error);
      throw failure;
    }
    zip_error_fini(&error);
  }
  WritingArchive(const WritingArchive&) = delete;
  WritingArchive& operator=(const WritingArchive&) = delete;
  ~WritingArchive() {
    if (archive_ != nullptr) zip_discard(archive_);
  }
  zip_t* get() const { return archive_; }
  [[noreturn]] void Fail() const { throw ZipFailure(ZipErrorText(archive_)); }
  void Close() {
    if (zip_close(archive_) != 0) Fail();
    archive_ = nullptr;
  }

 private:
  zip_t* archive_ = nullptr;
};

}  // namespace

StagedArchive::StagedArchive() : folder_(Utf16ToUtf8(staging_.Path().View())) {}

StagedArchive::~StagedArchive() = default;

void StagedArchive::Add(const std::string& source, const std::string& entryName,
                        ZipCompression compression) {
  struct stat st {};
  if (::stat(source.c_str(), &st) != 0) {
    const int error = errno;
    throw ZipFailure("cannot read " + source + ": " + ErrnoText(error));
  }
  const std::string kept = folder_ + '/' + std::to_string(nextNumber_++);
  if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, kept.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    // Another file system, or links refused: a copy costs the same bytes as
    // reading the file for the archive would.
    std::error_code ec;
    if (!std::filesystem::copy_file(source, kept, ec))
      throw ZipFailure("cannot keep " + source + ": " + ec.message());
  }
  files_.push_back({entryName, kept, compression, st.st_mtime, st.st_mode});
}

void StagedArchive::RollBack(size_t mark) {
  while (files_.size() > mark) {
    ::unlink(files_.back().path.c_str());
    files_.pop_back();
  }
}

void StagedArchive::WriteTo(const std::string& archivePath) const {
  std::unordered_map<std::string_view, size_t> last;
  for (size_t k = 0; k < files_.size(); ++k) last[files_[k].entryName] = k;
  WritingArchive archive(archivePath);
  for (size_t k = 0; k < files_.size(); ++k) {
    const Staged& file = files_[k];
    if (last[file.entryName] != k) continue;
    zip_source_t* source = zip_source_file(archive.get(), file.path.c_str(), 0, -1);
    if (source == nullptr) archive.Fail();
    const zip_int64_t index = zip_file_add(archive.get(), file.entryName.c_str(), source,
                                           ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      archive.Fail();
    }
    const auto at = static_cast<zip_uint64_t>(index);
    const zip_uint32_t attributes = (S_IFREG | (file.mode & 0777)) << 16;
    if (zip_set_file_compression(archive.get(), at, file.compression.method,
                                 file.compression.level) != 0 ||
        zip_file_set_mtime(archive.get(), at, file.modified, 0) != 0 ||
        zip_file_set_external_attributes(archive.get(), at, 0, ZIP_OPSYS_UNIX, attributes) != 0)
      archive.Fail();
  }
  archive.Close();
}

}  // namespace nv::archive
