// The folder for temporary files: TEMP, else TMP, else TMPDIR, else /tmp.
#pragma once

#include <string>

namespace nv::archive {

std::string TemporaryDirectory();

}  // namespace nv::archive
