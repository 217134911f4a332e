// The temporary directory and new temporary files and folders in it.
#pragma once

#include "frame/bstr.h"

#include <string_view>

namespace nv {

// TEMP, else TMP, else TMPDIR (the first that is set and not empty), else
// "/tmp".
Bstr GetTempDirectory();

// A new, empty, uniquely named file in `folder`: prefix, unique part, ".tmp".
Bstr CreateTempFile(std::u16string_view folder, std::u16string_view prefix);

// A new folder in the temporary directory, named by a fresh GUID (without
// braces) and accessible to its owner only. Fails when the name exists.
Bstr CreateTempFolder();

}  // namespace nv
