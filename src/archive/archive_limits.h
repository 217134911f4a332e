// Limits that keep a hostile archive from exhausting disk, memory or time.
// Packages are far below them: a package with tens of thousands of embedded
// files and multi-gigabyte entries still passes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nv::archive {

inline constexpr uint64_t kMaxEntries = 200'000;
inline constexpr uint64_t kMaxEntrySize = uint64_t{16} << 30;  // declared, per entry
inline constexpr uint64_t kMaxTotalSize = uint64_t{64} << 30;  // declared, whole archive
inline constexpr uint64_t kMaxCentralDirectory = uint64_t{64} << 20;
inline constexpr size_t kMaxEntryNameBytes = 255;
// Entries and streams are copied in blocks of this size.
inline constexpr size_t kCopyBlockSize = 64 * 1024;

}  // namespace nv::archive
