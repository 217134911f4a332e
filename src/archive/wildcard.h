// Wildcard masks for archive entries and files: "*" matches any run of
// characters (folder separators included), "?" one character, case matters.
// "*.*" matches every name, with or without a dot, as users of these masks expect.
#pragma once

#include <string_view>

namespace nv::archive {

bool HasWildcard(std::string_view mask);
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace nv::archive
