#include "platform/file_uri.h"

#include "frame/exception.h"
#include "platform/file_source.h"
#include "platform/path_text.h"

namespace nv {
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

}  // namespace nv
