// Emptying a folder.
#pragma once

#include <string_view>

namespace nv {

// Removes everything below `folder`, hidden and read-only entries included,
// and keeps the folder itself. Symbolic links are removed, never followed;
// a `folder` that is itself a link is refused.
void DelTreeNoRoot(std::u16string_view folder);

}  // namespace nv
