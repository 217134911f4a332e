#include "instance/ncname.h"

#include <xercesc/util/XMLChar.hpp>

namespace nv {

bool IsValidNCName(std::u16string_view name) noexcept {
  // The character tables are static data: no parser initialisation needed.
  return !name.empty() && xercesc::XMLChar1_0::isValidNCName(
                              reinterpret_cast<const XMLCh*>(name.data()), name.size());
}

}  // namespace nv
