// Names inside archives: which are safe to extract, how they split into
// folders, and the wildcard masks that choose entries and files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nv::archive {

// Entry names: the checks that keep extraction inside its folder, the
// splitting into folder components, and the names the zipper writes.

// Why `raw` (the name bytes as stored) is unsafe to extract, or an empty view
// when it is safe. A trailing '/' or '\' marks a folder entry and is allowed.
std::string_view UnsafeNameReason(std::string_view raw);

// True for a folder entry (the name ends with a separator).
bool IsFolderName(std::string_view name);

// The components of a checked name; '/' and '\' both separate.
std::vector<std::string> NameComponents(std::string_view name);

// An entry name for a path given to the zipper: separators become '/', and
// empty, "." and ".." components and a leading drive ("C:") are dropped, so
// the names written are always relative and free of parent references.
std::string EntryNameFromPath(std::string_view path);

// The name for a message: control bytes are shown as \xNN.
std::string PrintableName(std::string_view raw);

// Wildcard masks for archive entries and files: "*" matches any run of
// characters (folder separators included), "?" one character, case matters.
// "*.*" matches every name, with or without a dot, as users of these masks expect.

bool HasWildcard(std::string_view mask);
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace nv::archive
