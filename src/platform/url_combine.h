// Resolving a relative reference against a base URL.
#pragma once

#include "frame/bstr.h"

#include <string_view>

namespace nv {

// The reference resolved against the base by the rules for URIs. A "file://"
// base is combined as a file-system path: the reference replaces the base's
// last component, "." and ".." components are resolved, separators ('/' or
// '\') and text are otherwise kept as written. A reference that is absolute
// (has a scheme) stands alone. Empty or unusable arguments fail.
Bstr NvInternetCombineUrl(std::u16string_view base, std::u16string_view relative);

// For the combination above: true when `text` starts with a URI scheme and
// ':' (a drive letter has that form too; file-path rules look for it first).
bool HasUrlScheme(std::u16string_view text);

// `relative` resolved against a "file://" base, as described above.
Bstr CombineFileUrl(std::u16string_view base, std::u16string_view relative);

}  // namespace nv
