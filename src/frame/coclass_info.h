// What the module knows of each creatable class: identity, names and the
// interface its factory hands out by default.
#pragma once

#include "frame/automation/automation_api.h"

namespace nv::dispatch {
struct Table;
}

namespace nv {

struct CoclassInfo {
  CLSID clsid;
  const char16_t* name;
  const char16_t* progId;
  const char16_t* versionIndependentProgId;
  const char16_t* description;
  const dispatch::Table* defaultInterface;  // its identifier, members and type information
};

}  // namespace nv
