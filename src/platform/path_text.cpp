#include "platform/path_text.h"

#include "frame/text.h"

#include <algorithm>
#include <system_error>

namespace nv {

bool HasDriveLetter(std::u16string_view name) {
  if (name.size() < 2 || name[1] != u':') return false;
  const char16_t letter = name[0];
  return (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
}

std::string ToFileSystemPath(std::u16string_view name) {
  std::string path = Utf16ToUtf8(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

Bstr JoinPath(std::u16string_view folder, std::u16string_view name) {
  if (folder.empty()) return Bstr(name);
  Bstr joined(folder);
  if (!IsPathSeparator(folder.back())) joined += u"/";
  joined += name;
  return joined;
}

std::string ErrnoText(int error) { return std::generic_category().message(error); }

}  // namespace nv
