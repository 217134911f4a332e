// Lookups in the table of creatable classes.
#pragma once

#include "frame/coclass_info.h"

namespace nv {

const CoclassInfo* FindCoclass(REFCLSID clsid) noexcept;
// Matches the ProgID or the version-independent ProgID, exactly.
const CoclassInfo* FindCoclassByProgId(const OLECHAR* progId) noexcept;
const CoclassInfo* CoclassesBegin() noexcept;
const CoclassInfo* CoclassesEnd() noexcept;

}  // namespace nv
