#include "platform/paths.h"

#include "frame/exception.h"
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

FileSource DetectFileSource(std::u16string_view name) {
  if (name.empty()) throw ENvException("DetectFileSource - File Name is missing");
  if (name[0] == u'\\') {
    return name.size() > 1 && name[1] == u'\\' ? FileSource::kNetworkPath
                                                : FileSource::kLocalFile;
  }
  if (name[0] == u'/') return FileSource::kLocalFile;
  if (HasDriveLetter(name)) {
    if (name.size() == 2 || name[2] == u'\\') return FileSource::kLocalFile;
    throw ENvException("DetectFileSource - Invalid path or file name");
  }
  return name.find(u':') != std::u16string_view::npos ? FileSource::kUrl
                                                       : FileSource::kLocalFile;
}

bool IsLocalFileName(std::u16string_view name) {
  if (name.empty()) throw ENvException("IsLocalFileName - File Name is missing.");
  return DetectFileSource(name) == FileSource::kLocalFile;
}

bool IsFileNameURL(std::u16string_view name) {
  if (name.empty()) throw ENvException("IsFileNameURL - File Name is missing.");
  return DetectFileSource(name) == FileSource::kUrl;
}

namespace {

constexpr std::u16string_view kFileScheme = u"file:";

}  // namespace

Bstr GetFileNameFromFileSystemURI(std::u16string_view uri) {
  if (uri.size() <= kFileScheme.size())
    throw ENvException("GetFileNameFromFileSystemURI - URI isn't a valid File System URI");
  const std::u16string_view rest = uri.substr(kFileScheme.size());
  size_t slashes = rest.find_first_not_of(u'/');
  if (slashes == std::u16string_view::npos) slashes = rest.size();
  const std::u16string_view name = rest.substr(slashes);
  const bool driveOrBackslashName = HasDriveLetter(name) || (!name.empty() && name[0] == u'\\');
  if (slashes > 0 && !driveOrBackslashName) return Bstr(rest.substr(slashes - 1));
  return Bstr(name);
}

Bstr FileNameToFileSystemURI(std::u16string_view name) {
  if (name.substr(0, kFileScheme.size()) == kFileScheme || IsFileNameURL(name))
    return Bstr(name);
  return (name[0] == u'/' ? u"file://" : u"file:///") + Bstr(name);
}

bool IsRelativePath(std::u16string_view path) {
  return !path.empty() && path.find(u':') == std::u16string_view::npos &&
         !IsPathSeparator(path.front());
}

bool HasParentComponent(std::u16string_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    if (path.substr(start, end - start) == u"..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace nv
