// Names reach the platform layer as UTF-16 text from clients; the file system
// takes UTF-8. '/' and '\' both separate components, so a name is handed to
// the file system with every backslash turned into '/'.
#pragma once

#include "frame/bstr.h"

#include <string>
#include <string_view>

namespace nv {

inline bool IsPathSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// True when `name` begins with a drive letter and a colon ("C:", "c:\dir").
bool HasDriveLetter(std::u16string_view name);

// The UTF-8 name for the file system, backslashes turned into '/'.
std::string ToFileSystemPath(std::u16string_view name);

// `folder` and `name` with one separator between them ('/' unless `folder`
// already ends with a separator); `name` alone when `folder` is empty.
Bstr JoinPath(std::u16string_view folder, std::u16string_view name);

// The run-time library's text for an errno value.
std::string ErrnoText(int error);

}  // namespace nv
