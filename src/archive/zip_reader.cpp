#include "archive/zip_reader.h"

#include "archive/beneath.h"
#include "archive/entry_names.h"
#include "frame/exception.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>
#include <optional>
#include <utility>

namespace nv::archive {

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = ZipErrorText(&error);
  zip_error_fini(&error);
  return text;
}

std::string ZipErrorText(zip_t* archive) { return ZipErrorText(zip_get_error(archive)); }

std::string ZipErrorText(zip_error_t* error) {
  // libzip's and zlib's own allocation failures answer as every other
  // allocation failure does; the test comes before zip_error_strerror, which
  // allocates. A failure with no error recorded counts as one: the libzip
  // paths that fail without recording why are allocations (the file list
  // when closing, the bytes of a name).
  const int code = zip_error_code_zip(error);
  if (code == ZIP_ER_MEMORY || code == ZIP_ER_OK ||
      (code == ZIP_ER_ZLIB && zip_error_code_system(error) == Z_MEM_ERROR))
    throw std::bad_alloc();
  return zip_error_strerror(error);
}

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kRecordSignature = 0x02014b50;
constexpr size_t kEndSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kRecordSize = 46;
constexpr size_t kMaxComment = 0xFFFF;
// Candidate end records tried; a comment full of fake ones costs no more.
constexpr int kMaxCandidates = 4;

using Bytes = std::vector<unsigned char>;

uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const unsigned char* p) { return Le16(p) | static_cast<uint32_t>(Le16(p + 2)) << 16; }
uint64_t Le64(const unsigned char* p) { return Le32(p) | static_cast<uint64_t>(Le32(p + 4)) << 32; }

bool ReadAt(int fd, uint64_t offset, unsigned char* out, size_t size) {
  while (size > 0) {
    const ssize_t got = ::pread(fd, out, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got, offset += static_cast<uint64_t>(got), size -= static_cast<size_t>(got);
  }
  return true;
}

struct Directory {
  uint64_t offset, size, count;
};

// The directory that the end record at `endPos` describes (ZIP64 aware).
std::optional<Directory> Describe(int fd, uint64_t endPos, const unsigned char* end) {
  Directory dir{Le32(end + 16), Le32(end + 12), Le16(end + 10)};
  uint64_t limit = endPos;
  unsigned char locator[kZip64LocatorSize];
  if (endPos >= kZip64LocatorSize &&
      ReadAt(fd, endPos - kZip64LocatorSize, locator, sizeof locator) &&
      Le32(locator) == kZip64LocatorSignature) {
    const uint64_t zip64End = Le64(locator + 8);
    unsigned char record[kZip64EndSize];
    if (zip64End > endPos - kZip64LocatorSize || !ReadAt(fd, zip64End, record, sizeof record) ||
        Le32(record) != kZip64EndSignature)
      return std::nullopt;
    dir = {Le64(record + 48), Le64(record + 40), Le64(record + 32)};
    limit = zip64End;
  }
  if (dir.offset > limit || dir.size > limit - dir.offset) return std::nullopt;
  return dir;
}

// Reads `count` records, then any further ones that fill the directory: an
// archive with more than 65535 entries but no ZIP64 record only says so
// through the directory's size, and libzip reads those too.
std::optional<std::vector<std::string>> ParseRecords(const Bytes& data, uint64_t count) {
  std::vector<std::string> names;
  size_t pos = 0;
  auto recordAt = [&](size_t at) {
    return data.size() - at >= kRecordSize && Le32(&data[at]) == kRecordSignature;
  };
  for (uint64_t k = 0; k < count || recordAt(pos); ++k) {
    if (!recordAt(pos)) return std::nullopt;
    if (k >= kMaxEntries) throw OversizedDirectory("more than 200000 entries");
    const unsigned char* record = &data[pos];
    const size_t nameLength = Le16(record + 28);
    const size_t rest = nameLength + Le16(record + 30) + Le16(record + 32);
    if (data.size() - pos - kRecordSize < rest) return std::nullopt;
    names.emplace_back(reinterpret_cast<const char*>(record + kRecordSize), nameLength);
    pos += kRecordSize + rest;
  }
  return names;
}

std::optional<std::vector<std::string>> TryEndRecord(int fd, uint64_t endPos,
                                                     const unsigned char* end) {
  const std::optional<Directory> dir = Describe(fd, endPos, end);
  if (!dir) return std::nullopt;
  if (dir->count > kMaxEntries) throw OversizedDirectory("more than 200000 entries");
  if (dir->size > kMaxCentralDirectory) throw OversizedDirectory("central directory over 64 MiB");
  Bytes data(static_cast<size_t>(dir->size));
  if (!ReadAt(fd, dir->offset, data.data(), data.size())) return std::nullopt;
  return ParseRecords(data, dir->count);
}

}  // namespace

std::vector<std::string> ReadCentralDirectoryNames(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(kEndSize))
    throw CentralDirectoryError("no end of central directory record");
  const uint64_t fileSize = static_cast<uint64_t>(st.st_size);
  const uint64_t tailSize = std::min<uint64_t>(fileSize, kEndSize + kMaxComment);
  const uint64_t tailStart = fileSize - tailSize;
  Bytes tail(static_cast<size_t>(tailSize));
  if (!ReadAt(fd, tailStart, tail.data(), tail.size()))
    throw CentralDirectoryError("cannot read the end of the archive");
  // The end record nearest the end of the file is tried first, as ZIP readers do.
  int tried = 0;
  for (size_t k = tail.size() - kEndSize + 1; k-- > 0 && tried < kMaxCandidates;) {
    if (Le32(&tail[k]) != kEndSignature) continue;
    ++tried;
    if (auto names = TryEndRecord(fd, tailStart + k, &tail[k])) return std::move(*names);
  }
  throw CentralDirectoryError("no readable central directory");
}

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

// Reading one entry's data in blocks, trusting neither its declared size nor
// libzip to stop at it.

EntryReader::EntryReader(zip_file_t* file, std::string name, uint64_t declaredSize)
    : file_(file), name_(std::move(name)), declared_(declaredSize) {}

EntryReader::~EntryReader() {
  if (file_ != nullptr) zip_fclose(file_);
}

size_t EntryReader::Read(char* buffer, size_t size) {
  if (file_ == nullptr || size == 0) return 0;
  // Asking for one byte beyond the declared size is enough to see an
  // overrun, so a deflate bomb is stopped before it inflates further.
  const uint64_t wanted = std::min<uint64_t>(size, declared_ - total_ + 1);
  const zip_int64_t got = zip_fread(file_, buffer, wanted);
  if (got < 0) CannotExtract(name_, ZipErrorText(zip_file_get_error(file_)));
  if (got == 0) return Finish();
  total_ += static_cast<uint64_t>(got);
  if (total_ > declared_)
    RefuseEntry(name_, "more data than its declared size of " + std::to_string(declared_) +
                           " bytes");
  return static_cast<size_t>(got);
}

// Closing reports libzip's final verdict (CRC and size checks).
size_t EntryReader::Finish() {
  if (const int closed = zip_fclose(std::exchange(file_, nullptr)); closed != 0)
    CannotExtract(name_, ZipErrorText(closed));
  if (total_ != declared_)
    RefuseEntry(name_, "less data than its declared size of " + std::to_string(declared_) +
                           " bytes");
  return 0;
}

std::unique_ptr<EntryReader> ZipReader::OpenEntry(size_t index) {
  const ZipEntry& entry = entries_.at(index);
  // Closed here should making the reader fail (out of memory).
  std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen_index(archive_.get(), index, 0),
                                                         &zip_fclose);
  if (file == nullptr) CannotExtract(entry.name, ZipErrorText(archive_.get()));
  auto reader = std::make_unique<EntryReader>(file.get(), entry.name, entry.size);
  file.release();
  return reader;
}

void ZipReader::Copy(size_t index, const Sink& sink) {
  const std::unique_ptr<EntryReader> reader = OpenEntry(index);
  while (const size_t got = reader->Read(block_.data(), block_.size())) sink(block_.data(), got);
}

}  // namespace nv::archive
