// The name of this computer, recorded with files that a package refers to.
#pragma once

#include "frame/bstr.h"

namespace nv {

// The host name.
Bstr GetCurrentComputerName();

}  // namespace nv
