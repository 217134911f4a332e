// Builds ZIP archives byte by byte, so that tests can make archives no
// well-behaved writer would: hostile names, links, duplicates, false sizes.
#pragma once

#include <zip.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nv_archive_test {

struct RawEntry {
  std::string name;  // bytes as stored
  std::string data;  // stored as is
  uint16_t method = 0;
  uint16_t flags = 0;
  uint16_t madeBy = 0x031E;              // Unix, version 3.0
  uint32_t attributes = 0100644u << 16;  // regular file, rw-r--r--
};

inline uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

class ByteWriter {
 public:
  ByteWriter& U16(uint32_t v) { return Put(v, 2); }
  ByteWriter& U32(uint32_t v) { return Put(v, 4); }
  ByteWriter& Bytes(const std::string& b) {
    out_ += b;
    return *this;
  }
  size_t Size() const { return out_.size(); }
  std::string Take() { return std::move(out_); }

 private:
  ByteWriter& Put(uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) out_ += static_cast<char>((v >> (8 * k)) & 0xFF);
    return *this;
  }
  std::string out_;
};

inline std::string BuildZip(const std::vector<RawEntry>& entries) {
  constexpr uint32_t kDate = (20u << 9) | (1u << 5) | 1u;  // 2000-01-01
  ByteWriter zip;
  std::vector<uint32_t> offsets;
  for (const RawEntry& e : entries) {
    offsets.push_back(static_cast<uint32_t>(zip.Size()));
    const auto size = static_cast<uint32_t>(e.data.size());
    zip.U32(0x04034b50).U16(20).U16(e.flags).U16(e.method).U16(0).U16(kDate).U32(Crc32(e.data));
    zip.U32(size)
        .U32(size)
        .U16(static_cast<uint32_t>(e.name.size()))
        .U16(0)
        .Bytes(e.name)
        .Bytes(e.data);
  }
  const auto directory = static_cast<uint32_t>(zip.Size());
  for (size_t k = 0; k < entries.size(); ++k) {
    const RawEntry& e = entries[k];
    const auto size = static_cast<uint32_t>(e.data.size());
    zip.U32(0x02014b50).U16(e.madeBy).U16(20).U16(e.flags).U16(e.method).U16(0).U16(kDate);
    zip.U32(Crc32(e.data)).U32(size).U32(size).U16(static_cast<uint32_t>(e.name.size()));
    zip.U16(0).U16(0).U16(0).U16(0).U32(e.attributes).U32(offsets[k]).Bytes(e.name);
  }
  const auto count = static_cast<uint32_t>(entries.size());
  const auto directorySize = static_cast<uint32_t>(zip.Size()) - directory;
  zip.U32(0x06054b50).U16(0).U16(0).U16(count).U16(count);
  zip.U32(directorySize).U32(directory).U16(0);
  return zip.Take();
}

// Writes a one-entry archive with libzip, deflated.
inline void WriteDeflated(const std::string& path, const std::string& name,
                          const std::string& data) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) throw std::runtime_error("zip_open failed");
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  const zip_int64_t index = zip_file_add(archive, name.c_str(), source, 0);
  zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
  if (zip_close(archive) != 0) throw std::runtime_error("zip_close failed");
}

// Sets the uncompressed size of the first entry, in its local header and in
// the central directory alike, so the archive stays consistent.
inline void PatchDeclaredSize(std::string& zip, uint32_t size) {
  auto put = [&](size_t at) {
    for (int k = 0; k < 4; ++k) zip[at + k] = static_cast<char>((size >> (8 * k)) & 0xFF);
  };
  put(22);
  put(zip.find(std::string("PK\x01\x02", 4)) + 24);
}

}  // namespace nv_archive_test
