// File-system URIs ("file:///tmp/a.xsd", "file:///C:/dir/a.xsd") and the file
// names they stand for.
#pragma once

#include "frame/bstr.h"

#include <string_view>

namespace nv {

// The name after "file:" and its slashes. One '/' stays in front when the
// name is rooted on this system (what follows is neither a drive letter nor a
// backslash name), so "file:///tmp/a.xsd" names "/tmp/a.xsd". No unescaping.
Bstr GetFileNameFromFileSystemURI(std::u16string_view uri);

// The file-system URI of a name: names beginning with "file:" and URLs stay as
// they are; a rooted name gets "file://", any other "file:///" in front.
Bstr FileNameToFileSystemURI(std::u16string_view name);

}  // namespace nv
