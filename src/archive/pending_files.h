// What one pending name of the zipper stands for. A name that begins with the
// base directory is cut to the part after it; other relative names are
// found in the base directory. A folder, or a mask ("*", "?") in the last
// component, takes the matching files of every sub-folder as well. Entry
// names keep the folders below the base directory (or below the root, for
// names outside it), always relative and with '/'.
#pragma once

#include <string>
#include <vector>

namespace nv::archive {

struct SourceFile {
  std::string path;
  std::string entryName;
};

// The files, sorted by entry name; empty when the name matches nothing.
// Throws std::filesystem::filesystem_error when a folder cannot be read.
std::vector<SourceFile> ExpandPending(const std::string& pending, const std::string& baseDirectory);

}  // namespace nv::archive
