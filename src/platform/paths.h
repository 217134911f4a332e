// File names as clients give them: turned into file-system paths, told apart as
// local names, network paths or URLs, and written as file-system URIs.
#pragma once

#include "frame/bstr.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace nv {

// Names reach the platform layer as UTF-16 text from clients; the file system
// takes UTF-8. '/' and '\' both separate components, so a name is handed to
// the file system with every backslash turned into '/'.

inline bool IsPathSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// True when `name` begins with a drive letter and a colon ("C:", "c:\dir").
bool HasDriveLetter(std::u16string_view name);

// The UTF-8 name for the file system, backslashes turned into '/'.
std::string ToFileSystemPath(std::u16string_view name);

// `folder` and `name` with one separator between them ('/' unless `folder`
// already ends with a separator); `name` alone when `folder` is empty.
Bstr JoinPath(std::u16string_view folder, std::u16string_view name);

// A relative file name: not empty, not rooted, no drive, scheme or network
// prefix. It names a file only against some folder.
bool IsRelativePath(std::u16string_view path);

// True when a component of `path` ('/' or '\' separated) is "..": a relative
// name that could climb out of the folder it is taken against.
bool HasParentComponent(std::u16string_view path);

// The run-time library's text for an errno value.
std::string ErrnoText(int error);

// Classification of the names the library is given for documents and files:
// a local file name, a network path or a URL.

enum class FileSource : int32_t { kLocalFile = 0, kNetworkPath = 1, kUrl = 2 };

// Local: rooted ('/' or a single '\'), relative, or a drive letter followed
// by nothing or by '\'. Network: two leading backslashes. URL: any other
// name holding a colon. A drive letter followed by anything else ("C:a",
// "C:/a") is refused.
FileSource DetectFileSource(std::u16string_view name);

bool IsLocalFileName(std::u16string_view name);
bool IsFileNameURL(std::u16string_view name);

// File-system URIs ("file:///tmp/a.xsd", "file:///C:/dir/a.xsd") and the file
// names they stand for.

// The name after "file:" and its slashes. One '/' stays in front when the
// name is rooted on this system (what follows is neither a drive letter nor a
// backslash name), so "file:///tmp/a.xsd" names "/tmp/a.xsd". No unescaping.
Bstr GetFileNameFromFileSystemURI(std::u16string_view uri);

// The file-system URI of a name: names beginning with "file:" and URLs stay as
// they are; a rooted name gets "file://", any other "file:///" in front.
Bstr FileNameToFileSystemURI(std::u16string_view name);

}  // namespace nv
