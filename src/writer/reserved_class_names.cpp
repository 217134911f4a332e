#include "writer/reserved_class_names.h"

#include <algorithm>
#include <array>

namespace nv {

namespace {
constexpr std::array<std::u16string_view, 8> kReservedNames = {
    u"__transaction",          u"__change",         u"__objectCreated",
    u"__objectValueModified",  u"__objectDeleted",  u"__fileDescription",
    u"__mainFile",             u"__secondaryFile"};
}  // namespace

std::u16string_view MappedReservedClassName(std::u16string_view name) noexcept {
  if (std::find(kReservedNames.begin(), kReservedNames.end(), name) == kReservedNames.end())
    return name;
  return name.substr(2);
}

}  // namespace nv
