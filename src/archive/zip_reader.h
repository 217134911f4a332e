// An archive opened for reading and vetted as a whole before any entry is
// used: libzip's consistency checks, a cap on the entry count and on the
// declared sizes, and for every entry a safe name (checked on the bytes as
// stored), a regular file or folder, no encryption, and store or deflate.
// Any failure refuses the archive with a message that names the archive or
// the offending entry.
#pragma once

#include <zip.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace nv::archive {

struct ZipEntry {
  std::string name;  // UTF-8, as stored (separators unchanged)
  bool folder = false;
  uint64_t size = 0;  // declared uncompressed size
  std::optional<time_t> modified;
};

class ZipReader {
 public:
  // Throws ENvException when the archive cannot be opened or is refused.
  explicit ZipReader(const std::string& path);
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  const std::vector<ZipEntry>& Entries() const { return entries_; }
  // The index of the entry named `name` ('\' taken as '/'), or -1.
  int64_t Find(std::string_view name) const;

  // Receives each block of an entry's data; throws to stop the copy.
  using Sink = std::function<void(const char* data, size_t size)>;
  // Sends the data of entry `index` to `sink` in blocks. Refuses the entry
  // (ENvException naming it) as soon as more bytes inflate than it
  // declared, or when fewer arrive or libzip reports a read failure.
  void Copy(size_t index, const Sink& sink);

 private:
  struct Discard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
  };

  void Vet(const std::vector<std::string>& rawNames);
  ZipEntry VetEntry(zip_uint64_t index, const std::string& raw);
  void CheckFileType(zip_uint64_t index, bool folder, const std::string& raw);
  [[noreturn]] void Refuse(std::string_view reason) const;

  std::string path_;
  std::unique_ptr<zip_t, Discard> archive_;
  std::vector<ZipEntry> entries_;
  std::unordered_map<std::string, int64_t> byName_;
  std::vector<char> block_;
};

// Throws "Refused archive entry "name": reason", for entries that are unsafe.
[[noreturn]] void RefuseEntry(std::string_view rawName, std::string_view reason);
// Throws "Cannot extract archive entry "name": reason", for read failures.
[[noreturn]] void CannotExtract(std::string_view name, std::string_view reason);

}  // namespace nv::archive
