#include "archive/pending_files.h"

#include "archive/entry_name.h"
#include "archive/wildcard.h"

#include <algorithm>
#include <filesystem>

namespace nv::archive {
namespace fs = std::filesystem;
namespace {

std::string Slashed(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

std::string JoinName(const std::string& folder, const std::string& rest) {
  if (folder.empty()) return rest;
  return rest.empty() ? folder : folder + '/' + rest;
}

std::pair<std::string, std::string> SplitLast(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Every regular file below `folder` whose own name matches `mask` (no mask:
// all), named `prefix` + its path below the folder.
void Walk(const fs::path& folder, const std::string& mask, const std::string& prefix,
          std::vector<SourceFile>& out) {
  for (fs::recursive_directory_iterator it(folder), end; it != end; ++it) {
    if (!it->is_regular_file()) continue;
    if (!mask.empty() && !MatchesMask(it->path().filename().string(), mask)) continue;
    const std::string below = it->path().lexically_relative(folder).generic_string();
    out.push_back({it->path().string(), JoinName(prefix, EntryNameFromPath(below))});
  }
}

}  // namespace

std::vector<SourceFile> ExpandPending(const std::string& pending,
                                      const std::string& baseDirectory) {
  const bool underBase = !baseDirectory.empty() && pending.starts_with(baseDirectory);
  const std::string given = underBase ? pending.substr(baseDirectory.size()) : pending;
  const bool rooted = !pending.empty() && (pending[0] == '/' || pending[0] == '\\');
  const std::string path = Slashed(
      underBase || rooted || baseDirectory.empty() ? pending : baseDirectory + '/' + pending);
  std::vector<SourceFile> files;
  const auto [folder, leaf] = SplitLast(path);
  std::error_code ec;
  if (HasWildcard(leaf)) {
    if (fs::is_directory(folder, ec))
      Walk(folder, leaf, EntryNameFromPath(SplitLast(Slashed(given)).first), files);
  } else if (fs::is_directory(path, ec)) {
    Walk(path, std::string(), EntryNameFromPath(given), files);
  } else if (fs::is_regular_file(path, ec)) {
    files.push_back({path, EntryNameFromPath(given)});
  }
  std::erase_if(files, [](const SourceFile& f) { return f.entryName.empty(); });
  std::sort(files.begin(), files.end(),
            [](const SourceFile& a, const SourceFile& b) { return a.entryName < b.entryName; });
  return files;
}

}  // namespace nv::archive
