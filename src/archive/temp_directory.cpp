#include "archive/temp_directory.h"

#include <cstdlib>

namespace nv::archive {

std::string TemporaryDirectory() {
  for (const char* name : {"TEMP", "TMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "/tmp";
}

}  // namespace nv::archive
