#include "archive/entry_names.h"

#include "archive/zip_reader.h"

#include <cstdio>

namespace nv::archive {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

template <class F>
void ForEachComponent(std::string_view name, F&& visit) {
  size_t start = 0;
  for (size_t k = 0; k <= name.size(); ++k) {
    if (k == name.size() || IsSeparator(name[k])) {
      visit(name.substr(start, k - start), k == name.size());
      start = k + 1;
    }
  }
}

}  // namespace

bool IsFolderName(std::string_view name) { return !name.empty() && IsSeparator(name.back()); }

std::string_view UnsafeNameReason(std::string_view raw) {
  if (raw.empty()) return "empty name";
  if (raw.size() > kMaxEntryNameBytes) return "name longer than 255 bytes";
  if (raw.find('\0') != std::string_view::npos) return "NUL byte in name";
  if (IsSeparator(raw.front())) return "absolute name";
  if (raw.find(':') != std::string_view::npos) return "drive letter or ':' in name";
  std::string_view reason;
  ForEachComponent(raw, [&](std::string_view part, bool last) {
    if (!reason.empty()) return;
    if (part == "." || part == "..")
      reason = "'.' or '..' component";
    else if (part.empty() && !last)
      reason = "empty path component";
  });
  return reason;
}

std::vector<std::string> NameComponents(std::string_view name) {
  std::vector<std::string> parts;
  ForEachComponent(name, [&](std::string_view part, bool) {
    if (!part.empty()) parts.emplace_back(part);
  });
  return parts;
}

std::string EntryNameFromPath(std::string_view path) {
  std::string name;
  bool first = true;
  ForEachComponent(path, [&](std::string_view part, bool) {
    const bool drive = first && part.size() == 2 && part[1] == ':';
    first = false;
    if (part.empty() || part == "." || part == ".." || drive) return;
    if (!name.empty()) name += '/';
    name += part;
  });
  return name;
}

std::string PrintableName(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (unsigned char c : raw) {
    if (c < 0x20 || c == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool HasWildcard(std::string_view mask) {
  return mask.find_first_of("*?") != std::string_view::npos;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // A final "*.*" component means "everything there".
  if (mask.ends_with("*.*") && (mask.size() == 3 || mask[mask.size() - 4] == '/'))
    mask.remove_suffix(2);
  // Greedy matching with one backtrack point: linear for masks with a single
  // '*', and never exponential.
  size_t n = 0, m = 0;
  size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
      ++n, ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace nv::archive
