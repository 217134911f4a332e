#include "archive/central_directory.h"

#include "archive/archive_limits.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

namespace nv::archive {
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

}  // namespace nv::archive
