// Copying one entry's data in blocks, trusting neither its declared size nor
// libzip to stop at it.
#include "archive/archive_limits.h"
#include "archive/zip_error_text.h"
#include "archive/zip_reader.h"

#include <algorithm>
#include <utility>

namespace nv::archive {
namespace {

// An open entry; closing reports libzip's final verdict (CRC and size checks).
class OpenEntry {
 public:
  explicit OpenEntry(zip_file_t* file) : file_(file) {}
  OpenEntry(const OpenEntry&) = delete;
  OpenEntry& operator=(const OpenEntry&) = delete;
  ~OpenEntry() {
    if (file_ != nullptr) zip_fclose(file_);
  }
  zip_file_t* get() const { return file_; }
  int Close() { return zip_fclose(std::exchange(file_, nullptr)); }

 private:
  zip_file_t* file_;
};

}  // namespace

void ZipReader::Copy(size_t index, const Sink& sink) {
  const ZipEntry& entry = entries_.at(index);
  OpenEntry file(zip_fopen_index(archive_.get(), index, 0));
  if (file.get() == nullptr) CannotExtract(entry.name, ZipErrorText(archive_.get()));
  uint64_t total = 0;
  for (;;) {
    // Asking for one byte beyond the declared size is enough to see an
    // overrun, so a deflate bomb is stopped before it inflates further.
    const uint64_t wanted = std::min<uint64_t>(block_.size(), entry.size - total + 1);
    const zip_int64_t got = zip_fread(file.get(), block_.data(), wanted);
    if (got < 0) CannotExtract(entry.name, zip_error_strerror(zip_file_get_error(file.get())));
    if (got == 0) break;
    total += static_cast<uint64_t>(got);
    if (total > entry.size)
      RefuseEntry(entry.name,
                  "more data than its declared size of " + std::to_string(entry.size) + " bytes");
    sink(block_.data(), static_cast<size_t>(got));
  }
  if (const int closed = file.Close(); closed != 0) CannotExtract(entry.name, ZipErrorText(closed));
  if (total != entry.size)
    RefuseEntry(entry.name,
                "less data than its declared size of " + std::to_string(entry.size) + " bytes");
}

}  // namespace nv::archive
