#include "archive/unzipper.h"

#include "archive/beneath.h"
#include "archive/entry_names.h"
#include "frame/exception.h"
#include "frame/text.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <mutex>
#include <optional>
#include <system_error>

namespace nv::archive {

void DebugOutput(std::string_view line) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
  std::fflush(stderr);
}

}  // namespace nv::archive

namespace nv {
namespace {

// Listings run one at a time in the process.
std::mutex& ListingLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

void CNvTAbUnZipperImpl::Init() {
  initialized_ = true;
  entryNames_.clear();
}

void CNvTAbUnZipperImpl::PutFileName(const BstrArg& value) {
  fileName_ = value;
  archive_.reset();
  entryNames_.clear();
}

archive::ZipReader& CNvTAbUnZipperImpl::Archive() {
  if (!initialized_) throw ENvException("Cannot initialize unzip library");
  if (!archive_) archive_ = std::make_shared<archive::ZipReader>(Utf16ToUtf8(fileName_.View()));
  return *archive_;
}

std::unique_ptr<archive::EntryReader> CNvTAbUnZipperImpl::OpenEntry(std::string_view entryName) {
  archive::ZipReader& zip = Archive();
  const int64_t index = zip.Find(entryName);
  if (index < 0 || zip.Entries()[static_cast<size_t>(index)].folder)
    throw ENvException(("The archive \"" + Utf16ToUtf8(fileName_.View()) + "\" has no entry \"" +
                        std::string(entryName) + "\"")
                           .c_str());
  std::unique_ptr<archive::EntryReader> reader = zip.OpenEntry(static_cast<size_t>(index));
  reader->KeepAlive(archive_);
  return reader;
}

UniqueFd CNvTAbUnZipperImpl::OpenBaseDirectory() const {
  UniqueFd base;
  if (!baseDirectory_.Empty())
    base = UniqueFd(::open(baseDirectory_.Utf8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!base) throw ENvException("Cannot set options in unzip library");
  return base;
}

LONG CNvTAbUnZipperImpl::FindFile(const BstrArg& fullFileName) {
  return static_cast<LONG>(Archive().Find(Utf16ToUtf8(fullFileName.View())));
}

void CNvTAbUnZipperImpl::ListEntries() {
  archive::ZipReader& zip = Archive();
  if (!entryNames_.empty()) return;
  std::lock_guard<std::mutex> hold(ListingLock());
  entryNames_.reserve(zip.Entries().size());
  for (const archive::ZipEntry& entry : zip.Entries())
    entryNames_.push_back(Bstr::FromUtf8(entry.name));
}

SHORT CNvTAbUnZipperImpl::Count() {
  ListEntries();
  // The count is 16-bit; Item still reaches every entry.
  const size_t limit = std::numeric_limits<SHORT>::max();
  return static_cast<SHORT>(std::min(entryNames_.size(), limit));
}

Bstr CNvTAbUnZipperImpl::Item(LONG index) {
  ListEntries();
  if (index < 0 || static_cast<size_t>(index) >= entryNames_.size())
    throw ENvException("Failed to get item from archive. Index given is bigger then archive size.");
  return entryNames_[static_cast<size_t>(index)];
}

// Extraction: whole masks into the base directory, one entry to a new file.

namespace {

// An error number of the same family as the archive engine's, for the
// messages that carry one: nothing in the archive matched.
constexpr int kNoMatch = ZIP_ER_NOENT;

// The temporary file for `target` in its folder, or nothing when the folder
// cannot be opened or the name cannot be a file.
std::optional<archive::ReplacingFile> OpenDestination(const std::string& target,
                                                      UniqueFd& dir) {
  const size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : target.substr(0, std::max<size_t>(slash, 1));
  const std::string leaf = slash == std::string::npos ? target : target.substr(slash + 1);
  if (leaf.empty() || leaf == "." || leaf == "..") return std::nullopt;
  dir = UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat st {};
  if (!dir ||
      (::fstatat(dir.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)))
    return std::nullopt;
  try {
    return std::optional<archive::ReplacingFile>(std::in_place, dir.get(), leaf);
  } catch (const std::system_error&) {
    return std::nullopt;
  }
}

}  // namespace

void CNvTAbUnZipperImpl::ExtractEntry(archive::ZipReader& zip, size_t index, int baseFd) {
  const archive::ZipEntry& entry = zip.Entries()[index];
  std::vector<std::string> parts = archive::NameComponents(entry.name);
  const std::string leaf = entry.folder ? std::string() : parts.back();
  if (!entry.folder) parts.pop_back();
  const UniqueFd folder = archive::MakeFoldersBeneath(baseFd, parts);
  if (!folder)
    archive::CannotExtract(entry.name,
                           std::string("cannot make its folder: ") + ErrnoText(errno));
  if (entry.folder) return;
  try {
    archive::ReplacingFile out(folder.get(), leaf);
    zip.Copy(index, [&](const char* data, size_t size) { out.Write(data, size); });
    out.Commit(entry.modified);
  } catch (const std::system_error& e) {
    archive::CannotExtract(entry.name, e.what());
  }
}

void CNvTAbUnZipperImpl::ExtractFiles(const BstrArg& fileMask) {
  if (!initialized_) throw ENvException("Cannot initialize unzip library");
  const UniqueFd base = OpenBaseDirectory();
  archive::ZipReader& zip = Archive();
  const std::string mask = ToFileSystemPath(fileMask.View());
  size_t matched = 0;
  for (size_t k = 0; k < zip.Entries().size(); ++k) {
    std::string name = zip.Entries()[k].name;
    std::replace(name.begin(), name.end(), '\\', '/');
    if (!archive::MatchesMask(name, mask)) continue;
    ++matched;
    ExtractEntry(zip, k, base.get());
  }
  if (matched == 0)
    throw ENvException(
        ("Failed to extract files. error code = " + std::to_string(kNoMatch)).c_str());
}

int64_t CNvTAbUnZipperImpl::FindFileEntry(archive::ZipReader& zip, const std::string& mask) {
  const int64_t exact = zip.Find(mask);
  if (exact >= 0) return zip.Entries()[static_cast<size_t>(exact)].folder ? -1 : exact;
  if (!archive::HasWildcard(mask)) return -1;
  const auto& entries = zip.Entries();
  for (size_t k = 0; k < entries.size(); ++k)
    if (!entries[k].folder && archive::MatchesMask(entries[k].name, mask))
      return static_cast<int64_t>(k);
  return -1;
}

LONG CNvTAbUnZipperImpl::ExtractFilesToNewLocation(const BstrArg& fileMask,
                                                   const BstrArg& newFileMask) {
  archive::ZipReader& zip = Archive();
  const int64_t index = FindFileEntry(zip, ToFileSystemPath(fileMask.View()));
  if (index < 0)
    throw ENvException(
        ("Failed to extract files from archive. error code = " + std::to_string(kNoMatch)).c_str());
  const std::string what = "Failed to extract file: " + Utf16ToUtf8(fileMask.View()) +
                           " to new file: " + Utf16ToUtf8(newFileMask.View());
  UniqueFd dir;
  std::optional<archive::ReplacingFile> out =
      OpenDestination(ToFileSystemPath(newFileMask.View()), dir);
  if (!out) throw ENvException((what + ". Cannot open destination file.").c_str());
  uint64_t written = 0;
  try {
    zip.Copy(static_cast<size_t>(index), [&](const char* data, size_t size) {
      out->Write(data, size);
      written += size;
    });
    out->Commit(zip.Entries()[static_cast<size_t>(index)].modified);
  } catch (const std::system_error& e) {
    archive::DebugOutput("UnZipToMemAndSaveInNewName catch fwrite exception");
    throw ENvException(
        (what + ". Cannot write destination file: " + e.code().message() + ".").c_str());
  }
  // The result is 32-bit; larger files are written whole all the same.
  return static_cast<LONG>(std::min<uint64_t>(written, std::numeric_limits<LONG>::max()));
}

}  // namespace nv
