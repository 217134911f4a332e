#include "archive/zip_reader.h"

#include "archive/archive_limits.h"
#include "archive/central_directory.h"
#include "archive/entry_name.h"
#include "archive/unique_fd.h"
#include "archive/zip_error_text.h"
#include "frame/exception.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace nv::archive {
namespace {

std::string Quoted(std::string_view text) { return "\"" + PrintableName(text) + "\""; }

[[noreturn]] void CannotOpen(const std::string& path, std::string_view reason) {
  throw ENvException(("Cannot open archive " + Quoted(path) + ": " + std::string(reason)).c_str());
}

std::string WithSlashes(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

}  // namespace

void RefuseEntry(std::string_view rawName, std::string_view reason) {
  throw ENvException(
      ("Refused archive entry " + Quoted(rawName) + ": " + std::string(reason)).c_str());
}

void CannotExtract(std::string_view name, std::string_view reason) {
  throw ENvException(
      ("Cannot extract archive entry " + Quoted(name) + ": " + std::string(reason)).c_str());
}

ZipReader::ZipReader(const std::string& path) : path_(path), block_(kCopyBlockSize) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) CannotOpen(path, ErrnoText(errno));
  if (!S_ISREG(st.st_mode)) CannotOpen(path, "not a regular file");
  // The raw names come first: an oversized directory is refused before
  // libzip spends time and memory on it. Other scan failures wait for libzip's
  // verdict, which names the problem better when the file is no archive.
  std::vector<std::string> rawNames;
  std::string scanFailure;
  try {
    rawNames = ReadCentralDirectoryNames(fd.get());
  } catch (const OversizedDirectory& e) {
    Refuse(e.what());
  } catch (const CentralDirectoryError& e) {
    scanFailure = e.what();
  }
  // libzip reads through its own descriptor of the same open file, so both
  // see the same bytes.
  UniqueFd forZip(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
  int error = 0;
  archive_.reset(zip_fdopen(forZip.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
  if (!archive_)
    CannotOpen(path, error == ZIP_ER_EXISTS ? "duplicate entry names" : ZipErrorText(error));
  forZip.release();
  if (!scanFailure.empty()) Refuse(scanFailure);
  Vet(rawNames);
}

void ZipReader::Refuse(std::string_view reason) const {
  throw ENvException(("Refused archive " + Quoted(path_) + ": " + std::string(reason)).c_str());
}

void ZipReader::Vet(const std::vector<std::string>& rawNames) {
  const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
  if (count < 0 || static_cast<uint64_t>(count) > kMaxEntries) Refuse("more than 200000 entries");
  if (rawNames.size() != static_cast<uint64_t>(count))
    Refuse("the central directory does not match the entry count");
  entries_.reserve(rawNames.size());
  uint64_t total = 0;
  for (size_t k = 0; k < rawNames.size(); ++k) {
    entries_.push_back(VetEntry(k, rawNames[k]));
    total += entries_.back().size;
    if (total > kMaxTotalSize) Refuse("the declared sizes exceed 64 GiB");
    byName_.emplace(WithSlashes(entries_.back().name), static_cast<int64_t>(k));
  }
}

ZipEntry ZipReader::VetEntry(zip_uint64_t index, const std::string& raw) {
  // The stored bytes reveal NULs that libzip turns into blanks. Extraction
  // uses libzip's name, which may come from a Unicode extra field or a code
  // page conversion: every check runs on that name as well, so safety never
  // rests on the two readers agreeing.
  if (std::string_view reason = UnsafeNameReason(raw); !reason.empty()) RefuseEntry(raw, reason);
  const char* name = zip_get_name(archive_.get(), index, 0);
  if (name == nullptr) RefuseEntry(raw, ZipErrorText(archive_.get()));
  if (std::string_view reason = UnsafeNameReason(name); !reason.empty()) RefuseEntry(name, reason);
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive_.get(), index, 0, &st) != 0)
    RefuseEntry(raw, ZipErrorText(archive_.get()));
  constexpr auto kNeeded = ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
  if ((st.valid & kNeeded) != kNeeded) RefuseEntry(raw, "size or compression method unknown");
  if (st.encryption_method != ZIP_EM_NONE) RefuseEntry(raw, "encrypted entry");
  if (st.comp_method != ZIP_CM_STORE && st.comp_method != ZIP_CM_DEFLATE)
    RefuseEntry(raw, "unsupported compression method " + std::to_string(st.comp_method));
  if (st.size > kMaxEntrySize) RefuseEntry(raw, "declared size over 16 GiB");
  const bool folder = IsFolderName(name);
  CheckFileType(index, folder, raw);
  if (folder && st.size != 0) RefuseEntry(raw, "folder entry with data");
  ZipEntry entry{name, folder, st.size, std::nullopt};
  if (st.valid & ZIP_STAT_MTIME) entry.modified = st.mtime;
  return entry;
}

void ZipReader::CheckFileType(zip_uint64_t index, bool folder, const std::string& raw) {
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(archive_.get(), index, 0, &system, &attributes) != 0)
    RefuseEntry(raw, ZipErrorText(archive_.get()));
  // Only Unix-style systems keep a file type in the high half; others' bits
  // (DOS attributes) carry none that matters here.
  if (system != ZIP_OPSYS_UNIX && system != ZIP_OPSYS_OS_X) return;
  const mode_t type = (attributes >> 16) & S_IFMT;
  if (type == 0) return;
  if (type == S_IFLNK) RefuseEntry(raw, "symbolic link");
  if (type != (folder ? S_IFDIR : S_IFREG))
    RefuseEntry(raw, folder ? "folder name on an entry that is no folder" : "not a regular file");
}

int64_t ZipReader::Find(std::string_view name) const {
  const auto found = byName_.find(WithSlashes(std::string(name)));
  return found == byName_.end() ? -1 : found->second;
}

}  // namespace nv::archive
