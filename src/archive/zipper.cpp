#include "archive/zipper.h"

#include "archive/entry_names.h"
#include "archive/zip_reader.h"
#include "frame/exception.h"
#include "frame/text.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unordered_map>

namespace nv::archive {

char EngineLevel(ArchiveFileCompressionLevelEnum level) {
  switch (level) {
    case afclNone:
      return '0';
    case afclMedium:
      return '6';
    case afclHigh:
      return '9';
    default:
      return '4';
  }
}

ZipCompression CompressionFor(ArchiveFileCompressionLevelEnum level) {
  const uint32_t engine = static_cast<uint32_t>(EngineLevel(level) - '0');
  if (engine == 0) return {ZIP_CM_STORE, 0};
  return {ZIP_CM_DEFLATE, engine};
}

namespace fs = std::filesystem;
namespace {

std::string Slashed(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

std::string JoinName(const std::string& folder, const std::string& rest) {
  if (folder.empty()) return rest;
  return rest.empty() ? folder : folder + '/' + rest;
}

std::pair<std::string, std::string> SplitLast(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Every regular file below `folder` whose own name matches `mask` (no mask:
// all), named `prefix` + its path below the folder.
void Walk(const fs::path& folder, const std::string& mask, const std::string& prefix,
          std::vector<SourceFile>& out) {
  for (fs::recursive_directory_iterator it(folder), end; it != end; ++it) {
    if (!it->is_regular_file()) continue;
    if (!mask.empty() && !MatchesMask(it->path().filename().string(), mask)) continue;
    const std::string below = it->path().lexically_relative(folder).generic_string();
    out.push_back({it->path().string(), JoinName(prefix, EntryNameFromPath(below))});
  }
}

}  // namespace

std::vector<SourceFile> ExpandPending(const std::string& pending,
                                      const std::string& baseDirectory) {
  const bool underBase = !baseDirectory.empty() && pending.starts_with(baseDirectory);
  const std::string given = underBase ? pending.substr(baseDirectory.size()) : pending;
  const bool rooted = !pending.empty() && (pending[0] == '/' || pending[0] == '\\');
  const std::string path = Slashed(
      underBase || rooted || baseDirectory.empty() ? pending : baseDirectory + '/' + pending);
  std::vector<SourceFile> files;
  const auto [folder, leaf] = SplitLast(path);
  std::error_code ec;
  if (HasWildcard(leaf)) {
    if (fs::is_directory(folder, ec))
      Walk(folder, leaf, EntryNameFromPath(SplitLast(Slashed(given)).first), files);
  } else if (fs::is_directory(path, ec)) {
    Walk(path, std::string(), EntryNameFromPath(given), files);
  } else if (fs::is_regular_file(path, ec)) {
    files.push_back({path, EntryNameFromPath(given)});
  }
  std::erase_if(files, [](const SourceFile& f) { return f.entryName.empty(); });
  std::sort(files.begin(), files.end(),
            [](const SourceFile& a, const SourceFile& b) { return a.entryName < b.entryName; });
  return files;
}

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

namespace nv {
namespace {

// Saves run one at a time in the process.
std::mutex& SaveLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

CNvTAbZipperImpl::~CNvTAbZipperImpl() {
  try {
    std::lock_guard<std::mutex> hold(SaveLock());
    WriteStaged();
  } catch (...) {
  }
}

void CNvTAbZipperImpl::AddFiles(const BstrArg& fileMask) {
  pending_.push_back(fileMask);
  if (autoSave_) Save();
}

void CNvTAbZipperImpl::Save() {
  if (pending_.empty()) return;
  std::lock_guard<std::mutex> hold(SaveLock());
  if (!staged_) {
    try {
      staged_ = std::make_unique<archive::StagedArchive>();
    } catch (const ENvException& e) {  // no staging folder could be made
      throw ENvException(u"Cannot initialize zip library: " + std::u16string(e.Message().View()));
    }
  }
  const std::string base = Utf16ToUtf8(baseDirectory_.View());
  std::error_code ec;
  if (!base.empty() && !std::filesystem::is_directory(base, ec))
    throw ENvException("Cannot sets options in zip library");
  const std::string archive = Utf16ToUtf8(fileName_.View());
  if (archive.empty() || archive.find('\0') != std::string::npos)
    throw ENvException("The name of the zip file is not correct");
  stagedFor_ = archive;
  StagePending(base);
  pending_.clear();
}

void CNvTAbZipperImpl::StagePending(const std::string& baseDirectory) {
  const archive::ZipCompression compression = archive::CompressionFor(level_);
  const size_t mark = staged_->Mark();
  try {
    for (const Bstr& pending : pending_) {
      const std::string name = Utf16ToUtf8(pending.View());
      const auto files = archive::ExpandPending(name, baseDirectory);
      if (files.empty())
        throw archive::ZipFailure("cannot read " + name + ": " + ErrnoText(ENOENT));
      for (const archive::SourceFile& file : files)
        staged_->Add(file.path, file.entryName, compression);
    }
  } catch (const archive::ZipFailure& failure) {
    staged_->RollBack(mark);
    ThrowFailure(stagedFor_, failure.what());
  } catch (const std::filesystem::filesystem_error& failure) {
    staged_->RollBack(mark);
    ThrowFailure(stagedFor_,
                 "cannot read " + failure.path1().string() + ": " + failure.code().message());
  }
}

void CNvTAbZipperImpl::ThrowFailure(const std::string& archive, const std::string& reason) const {
  const std::u16string subject = subject_.empty() ? u"archive " + Utf8ToUtf16(archive) : subject_;
  throw ENvException(u"Cannot write " + subject + u": " + Utf8ToUtf16(reason));
}

void CNvTAbZipperImpl::WriteStaged() {
  const std::unique_ptr<archive::StagedArchive> staged = std::move(staged_);
  if (!staged || staged->Empty()) return;
  try {
    staged->WriteTo(stagedFor_);
  } catch (const archive::ZipFailure& failure) {
    ThrowFailure(stagedFor_, failure.what());
  }
}

void CNvTAbZipperImpl::Abandon() noexcept {
  pending_.clear();
  staged_.reset();
}

void AbandonArchive(const ComPtr<ITAbZipper>& zipper) noexcept {
  if (auto* ours = dynamic_cast<CNvTAbZipperImpl*>(zipper.get())) ours->Abandon();
}

void CNvTAbZipperImpl::CloseArchive() {
  fileName_ = Bstr();
  std::lock_guard<std::mutex> hold(SaveLock());
  WriteStaged();
}

void CNvTAbZipperImpl::PutFileName(const BstrArg& value) {
  if (value.View() != fileName_.View()) {
    std::lock_guard<std::mutex> hold(SaveLock());
    WriteStaged();
  }
  fileName_ = value;
}

}  // namespace nv
