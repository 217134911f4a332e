#include "archive/debug_output.h"

#include <cstdio>

namespace nv::archive {

void DebugOutput(std::string_view line) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
  std::fflush(stderr);
}

}  // namespace nv::archive
