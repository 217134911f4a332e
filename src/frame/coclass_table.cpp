#include "frame/coclass_table.h"

#include "nvgen/coclasses.h"

#include <iterator>
#include <string_view>

namespace nv {

const CoclassInfo* CoclassesBegin() noexcept { return std::begin(kCoclasses); }
const CoclassInfo* CoclassesEnd() noexcept { return std::end(kCoclasses); }

const CoclassInfo* FindCoclass(REFCLSID clsid) noexcept {
  for (const CoclassInfo& c : kCoclasses)
    if (c.clsid == clsid) return &c;
  return nullptr;
}

const CoclassInfo* FindCoclassByProgId(const OLECHAR* progId) noexcept {
  if (!progId) return nullptr;
  const std::u16string_view wanted(progId);
  for (const CoclassInfo& c : kCoclasses)
    if (wanted == c.progId || wanted == c.versionIndependentProgId) return &c;
  return nullptr;
}

const OLECHAR* ProgIdOf(REFCLSID clsid) noexcept {
  const CoclassInfo* c = FindCoclass(clsid);
  return c ? c->progId : nullptr;
}

}  // namespace nv
