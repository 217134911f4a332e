// Classification of the names the library is given for documents and files:
// a local file name, a network path or a URL.
#pragma once

#include <cstdint>
#include <string_view>

namespace nv {

enum class FileSource : int32_t { kLocalFile = 0, kNetworkPath = 1, kUrl = 2 };

// Local: rooted ('/' or a single '\'), relative, or a drive letter followed
// by nothing or by '\'. Network: two leading backslashes. URL: any other
// name holding a colon. A drive letter followed by anything else ("C:a",
// "C:/a") is refused.
FileSource DetectFileSource(std::u16string_view name);

bool IsLocalFileName(std::u16string_view name);
bool IsFileNameURL(std::u16string_view name);

}  // namespace nv
