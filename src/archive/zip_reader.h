// Reading archives that may be hostile: the limits, libzip's errors as text, the
// central directory's raw entry names, and the vetted reader that checks a whole
// archive before any entry is used.
#pragma once

#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace nv::archive {

// Limits that keep a hostile archive from exhausting disk, memory or time.
// Packages are far below them: a package with tens of thousands of embedded
// files and multi-gigabyte entries still passes.

inline constexpr uint64_t kMaxEntries = 200'000;
inline constexpr uint64_t kMaxEntrySize = uint64_t{16} << 30;  // declared, per entry
inline constexpr uint64_t kMaxTotalSize = uint64_t{64} << 30;  // declared, whole archive
inline constexpr uint64_t kMaxCentralDirectory = uint64_t{64} << 20;
inline constexpr size_t kMaxEntryNameBytes = 255;
// Entries and streams are copied in blocks of this size.
inline constexpr size_t kCopyBlockSize = 64 * 1024;

// libzip results in text and numbers for messages.

// The description of a libzip error code, e.g. "Not a zip archive".
std::string ZipErrorText(int code);
// The archive's last error, or `error`: libzip's description with the
// system's reason when there is one ("Write error: File too large"). A memory
// failure (libzip's or zlib's) throws std::bad_alloc instead.
std::string ZipErrorText(zip_t* archive);
std::string ZipErrorText(zip_error_t* error);

// A minimal reader of a ZIP archive's central directory that yields every
// entry's name bytes exactly as stored. libzip replaces NUL bytes in names by
// blanks, which would hide a name such as "\0../x"; these bytes let the
// unzipper refuse such names.

class CentralDirectoryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The directory is larger than any package's: more entries than the cap, or
// more bytes. Found before the directory is read whole.
class OversizedDirectory : public CentralDirectoryError {
 public:
  using CentralDirectoryError::CentralDirectoryError;
};

// The raw names of the central-directory records of the archive open on
// `fd`, in directory order. Throws OversizedDirectory as soon as the directory
// proves too large, and CentralDirectoryError when no end record leads to a
// well-formed directory within the file.
std::vector<std::string> ReadCentralDirectoryNames(int fd);

// An archive opened for reading and vetted as a whole before any entry is
// used: libzip's consistency checks, a cap on the entry count and on the
// declared sizes, and for every entry a safe name (checked on the bytes as
// stored), a regular file or folder, no encryption, and store or deflate.
// Any failure refuses the archive with a message that names the archive or
// the offending entry.

struct ZipEntry {
  std::string name;  // UTF-8, as stored (separators unchanged)
  bool folder = false;
  uint64_t size = 0;  // declared uncompressed size
  std::optional<time_t> modified;
};

// One entry's data, pulled block by block. It trusts neither the declared
// size nor libzip to stop at it: the entry is refused (ENvException naming
// it) as soon as more bytes inflate than it declared, and at its end when
// fewer arrived, libzip reports a read failure or the CRC does not match.
// The archive it came from must stay open while it is used (see KeepAlive).
class EntryReader {
 public:
  EntryReader(zip_file_t* file, std::string name, uint64_t declaredSize);
  ~EntryReader();
  EntryReader(const EntryReader&) = delete;
  EntryReader& operator=(const EntryReader&) = delete;

  // Fills `buffer` with up to `size` bytes; 0 once the whole entry arrived
  // and passed the final checks.
  size_t Read(char* buffer, size_t size);

  const std::string& Name() const { return name_; }
  uint64_t DeclaredSize() const { return declared_; }
  // Keeps `owner` (whatever holds the archive open) alive as long as this.
  void KeepAlive(std::shared_ptr<const void> owner) { owner_ = std::move(owner); }

 private:
  size_t Finish();

  zip_file_t* file_;
  std::string name_;
  uint64_t declared_;
  uint64_t total_ = 0;
  std::shared_ptr<const void> owner_;  // released after the file is closed
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
  // Opens entry `index` for reading block by block; the reader must not
  // outlive this ZipReader.
  std::unique_ptr<EntryReader> OpenEntry(size_t index);

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
