// MIME types by file-name extension, from a table in the mime.types format
// ("type ext1 ext2 ...", '#' comments).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace nv {

inline constexpr const char* kSystemMimeTablePath = "/etc/mime.types";

class MimeTable {
 public:
  // A missing or unreadable file gives an empty table.
  static MimeTable Load(const std::string& path);

  // The type of the extension of `fileName` (after the last '.' of its last
  // component), compared without regard to case; empty when unknown.
  std::string TypeOf(std::string_view fileName) const;

 private:
  // Extension in lower case -> type; the first line naming an extension wins.
  std::unordered_map<std::string, std::string> types_;
};

// The system's table, read on first use.
const MimeTable& SystemMimeTable();

}  // namespace nv
