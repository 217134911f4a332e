// Small file-system services: folder and file tests, folder creation, copying.
#pragma once

#include <string_view>

namespace nv {

// True when the path exists and is a folder (a link to a folder counts).
bool IsFolder(std::u16string_view path);

// True when the path exists and is not a folder.
bool FileExists(std::u16string_view path);

// Creates one folder (its parent must exist) with `mode` less the umask.
// An existing folder is a failure too.
void CreateFolder(std::u16string_view path, unsigned mode = 0777);

// Creates every missing folder of `path`.
void CreateFolderTree(std::u16string_view path);

// Copies the file's content (a link is followed); with `failIfExists` an
// existing destination is left alone and the copy fails.
bool CopyFile(std::u16string_view source, std::u16string_view destination, bool failIfExists);

}  // namespace nv
