// Diagnostic lines for a developer watching the process: the platform's
// equivalent of debugger output is the standard error stream.
#pragma once

#include <string_view>

namespace nv::archive {

void DebugOutput(std::string_view line);

}  // namespace nv::archive
