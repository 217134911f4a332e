// libzip results in text and numbers for messages.
#pragma once

#include <zip.h>

#include <string>

namespace nv::archive {

// The description of a libzip error code, e.g. "Not a zip archive".
std::string ZipErrorText(int code);
// The archive's last error, or `error`: libzip's description with the
// system's reason when there is one ("Write error: File too large").
std::string ZipErrorText(zip_t* archive);
std::string ZipErrorText(zip_error_t* error);

}  // namespace nv::archive
