// Helpers for the archive tests: a scratch folder, files, shell commands,
// folder snapshots, the message of a failed call, a writer and a reader.
#pragma once

#include "archive/unzipper.h"
#include "archive/zipper.h"
#include "frame/bstr.h"
#include "support/failure_of.h"
#include "support/readback.h"
#include "support/scratch.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace nv_archive_test {

namespace fs = std::filesystem;
using nv::ComPtr;
using nv_test::ReadText;

inline nv::Bstr U(std::string_view utf8) { return nv::Bstr::FromUtf8(utf8); }

// A fresh folder, removed with its contents; `dir / "a/b"` names a path in it.
struct Scratch : nv_test::ScratchFolder {
  std::string operator/(std::string_view name) const { return File(name); }
};

// Writes a file, making its folders first.
inline void WriteFile(const std::string& path, std::string_view bytes) {
  fs::create_directories(fs::path(path).parent_path());
  nv_test::WriteText(path, bytes);
}

using nv_test::CommandResult;
using nv_test::RunCommand;

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

// Every path below `folder` (links not followed), relative to it.
inline std::set<std::string> Snapshot(const std::string& folder) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    paths.insert(entry.path().lexically_relative(folder).string());
  return paths;
}

inline constexpr auto MessageOf = [](auto&& call) { return nv_test::MessageOfFailure(call); };

// Replaces the first "@" in `text` by `path`.
inline std::string At(std::string text, const std::string& path) {
  if (const size_t at = text.find('@'); at != std::string::npos) text.replace(at, 1, path);
  return text;
}

inline ComPtr<ITAbZipper> NewZipper(const std::string& archive, const std::string& base) {
  ComPtr<ITAbZipper> zipper = nv::CreateObject<nv::CNvTAbZipper>();
  zipper.PutFileName(U(archive));
  zipper.PutBaseDirectory(U(base));
  return zipper;
}

inline ComPtr<ITAbUnZipper> NewUnzipper(const std::string& archive, const std::string& base,
                                        bool init = true) {
  ComPtr<ITAbUnZipper> unzipper = nv::CreateObject<nv::CNvTAbUnZipper>();
  if (init) unzipper.Init();
  unzipper.PutFileName(U(archive));
  unzipper.PutBaseDirectory(U(base));
  return unzipper;
}

// Hostile archives, byte by byte: every archive reader of the library must
// refuse them.

// An entry written byte by byte: hostile names, links, flags no writer sets.
struct RawEntry {
  std::string name;  // bytes as stored
  std::string data = "x";  // stored as is
  uint32_t mode = 0100644;  // regular file, rw-r--r--
  uint16_t flags = 0;
  uint16_t method = 0;
};

inline uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline std::string BuildZip(const std::vector<RawEntry>& entries) {
  std::string zip;
  const auto put = [&](uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) zip += static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  // Version, flags, method, time, date (2000-01-01), CRC, sizes, name length.
  const auto common = [&](const RawEntry& e) {
    const auto size = static_cast<uint32_t>(e.data.size());
    for (uint32_t v : {20u, uint32_t{e.flags}, uint32_t{e.method}, 0u, (20u << 9) | (1u << 5) | 1u})
      put(v, 2);
    for (uint32_t v : {Crc32(e.data), size, size}) put(v, 4);
    put(static_cast<uint32_t>(e.name.size()), 2);
    put(0, 2);  // extra field length
  };
  std::vector<uint32_t> offsets;
  for (const RawEntry& e : entries) {
    offsets.push_back(static_cast<uint32_t>(zip.size()));
    put(0x04034b50, 4);
    common(e);
    zip += e.name + e.data;
  }
  const auto directory = static_cast<uint32_t>(zip.size());
  for (size_t k = 0; k < entries.size(); ++k) {
    put(0x02014b50, 4);
    put(0x031E, 2);  // made by Unix, version 3.0
    common(entries[k]);
    for (int field = 0; field < 3; ++field) put(0, 2);  // comment, disk, internal attributes
    put(entries[k].mode << 16, 4);
    put(offsets[k], 4);
    zip += entries[k].name;
  }
  const auto count = static_cast<uint32_t>(entries.size());
  const auto directorySize = static_cast<uint32_t>(zip.size()) - directory;
  put(0x06054b50, 4);
  for (uint32_t v : {0u, 0u, count, count}) put(v, 2);
  put(directorySize, 4);
  put(directory, 4);
  put(0, 2);
  return zip;
}

// A one-entry archive deflated by the zip command.
inline std::string Deflated(const Scratch& dir, const std::string& name, const std::string& data) {
  WriteFile(dir / ("deflate/" + name), data);
  RunCommand("cd " + Quote(dir / "deflate") + " && zip -q -9 d.zip " + Quote(name));
  std::string bytes = ReadText(dir / "deflate/d.zip");
  fs::remove_all(dir / "deflate");
  return bytes;
}

// Sets the uncompressed size of the first entry, in its local header and in
// the central directory alike, so the archive stays consistent.
inline void PatchDeclaredSize(std::string& zip, uint32_t size) {
  for (size_t at : {size_t{22}, zip.find(std::string("PK\x01\x02", 4)) + 24})
    for (int k = 0; k < 4; ++k) zip[at + k] = static_cast<char>((size >> (8 * k)) & 0xFF);
}

inline std::string Refused(const std::string& name, const std::string& reason) {
  return "Refused archive entry \"" + name + "\": " + reason;
}

struct HostileCase {
  const char* label;  // the test's name
  std::function<std::string(const Scratch&)> archive;  // the archive's bytes
  std::string message;                                  // "@" stands for the archive's path
};

// An archive of raw entries.
inline std::function<std::string(const Scratch&)> Raw(std::vector<RawEntry> entries) {
  return [entries](const Scratch&) { return BuildZip(entries); };
}

inline const HostileCase kCases[] = {
    {"rooted", Raw({{"/x"}}), Refused("/x", "absolute name")},
    {"climbing", Raw({{"ok.txt"}, {"a/../../x"}}), Refused("a/../../x", "'.' or '..' component")},
    {"drive", Raw({{"C:\\x"}}), Refused("C:\\x", "drive letter or ':' in name")},
    {"NUL_hidden_parent", Raw({{std::string("\0../x", 5)}}),
     Refused("\\x00../x", "NUL byte in name")},
    {"symbolic_link", Raw({{"link", "/etc/passwd", 0120777}}), Refused("link", "symbolic link")},
    {"fifo", Raw({{"pipe", "", 0010644}}), Refused("pipe", "not a regular file")},
    {"encrypted", Raw({{"secret.txt", "x", 0100644, 1}}), Refused("secret.txt", "encrypted entry")},
    {"other_method", Raw({{"packed.bin", "x", 0100644, 0, 12}}),
     Refused("packed.bin", "unsupported compression method 12")},
    {"duplicate_names", Raw({{"a.txt", "1"}, {"a.txt", "2"}}),
     "Cannot open archive \"@\": duplicate entry names"},
    {"truncated",
     [](const Scratch& dir) {
       std::string bytes = Deflated(dir, "data.bin", std::string(100000, 'z'));
       return bytes.substr(0, bytes.size() / 2);
     },
     "Cannot open archive \"@\": Not a zip archive"},
    {"larger_than_declared",
     [](const Scratch& dir) {
       std::string bytes = Deflated(dir, "bomb.bin", std::string(50 << 20, '\0'));
       PatchDeclaredSize(bytes, 1000);
       return bytes;
     },
     Refused("bomb.bin", "more data than its declared size of 1000 bytes")},
    {"too_many_entries",
     [](auto&) {
       std::vector<RawEntry> entries(200001);
       for (size_t k = 0; k < entries.size(); ++k) entries[k] = {"e" + std::to_string(k), ""};
       return BuildZip(entries);
     },
     "Refused archive \"@\": more than 200000 entries"},
};

}  // namespace nv_archive_test
