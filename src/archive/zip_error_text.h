// libzip results in text and numbers for messages.
#pragma once

#include <zip.h>

#include <string>

namespace nv::archive {

// The description of a libzip error code, e.g. "Not a zip archive".
std::string ZipErrorText(int code);
// The archive's last error: its description and its libzip code.
std::string ZipErrorText(zip_t* archive);
int ZipErrorCode(zip_t* archive);

}  // namespace nv::archive
