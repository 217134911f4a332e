// The one key order of the library's collections: CompareKeys (null and empty
// alike and first, then unsigned code units, a prefix before its extensions).
// Transparent, so lookups by a string view need no Bstr allocation.
#pragma once

#include "frame/bstr.h"

#include <string_view>

namespace nv {

struct KeyLess {
  using is_transparent = void;

  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
    return CompareKeys(a, b) < 0;
  }
};

}  // namespace nv
