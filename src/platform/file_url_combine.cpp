// Combination of "file://" bases with relative references, by path rules.
#include "platform/path_text.h"
#include "platform/url_combine.h"

#include <string>
#include <vector>

namespace nv {
namespace {

// Components of a path, each with the separator that follows it (if any).
std::vector<std::u16string_view> SplitKeepingSeparators(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsPathSeparator(path[i])) {
      parts.push_back(path.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < path.size()) parts.push_back(path.substr(start));
  return parts;
}

std::u16string_view WithoutSeparator(std::u16string_view part) {
  return !part.empty() && IsPathSeparator(part.back()) ? part.substr(0, part.size() - 1) : part;
}

// Resolves "." and ".." components. A leading drive ("C:\") is never removed.
std::u16string RemoveDotComponents(std::u16string_view path) {
  std::vector<std::u16string_view> kept;
  const size_t fixed = HasDriveLetter(path) ? 1 : 0;
  for (std::u16string_view part : SplitKeepingSeparators(path)) {
    const std::u16string_view name = WithoutSeparator(part);
    if (name == u".") continue;
    if (name == u"..") {
      if (kept.size() > fixed) kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  std::u16string result;
  for (std::u16string_view part : kept) result += part;
  return result;
}

}  // namespace

Bstr CombineFileUrl(std::u16string_view base, std::u16string_view relative) {
  // A rooted name or a drive path replaces the whole path.
  if (relative[0] == u'/') return u"file://" + Bstr(relative);
  if (relative[0] == u'\\' || HasDriveLetter(relative)) return u"file:///" + Bstr(relative);
  if (HasUrlScheme(relative)) return Bstr(relative);
  // "file:" and the slashes after it stay in front; the path is combined.
  const size_t pathStart = base.find_first_not_of(u'/', 5);
  if (pathStart == std::u16string_view::npos) return Bstr(base) + relative;
  const std::u16string_view prefix = base.substr(0, pathStart);
  const std::u16string_view path = base.substr(pathStart);
  size_t folderEnd = path.size();
  while (folderEnd > 0 && !IsPathSeparator(path[folderEnd - 1])) --folderEnd;
  std::u16string combined(path.substr(0, folderEnd));
  combined += relative;
  return Bstr(prefix) + RemoveDotComponents(combined);
}

}  // namespace nv
