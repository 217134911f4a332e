// Fixed names of the schema document grammar.
#pragma once

#include <string_view>

#include "instance/names.h"

namespace nv {

inline constexpr std::u16string_view kCoreSchemaLocation =
    u"http://www.norvane.com/vexa/std/schema/core/1.0/core.xsd";
static_assert(kCoreSchemaLocation.starts_with(kNamespaceBase));
// The target namespace of a schema that has no URI of its own.
inline constexpr std::u16string_view kDefaultTargetNamespace = u"VEXA_Schema.xsd";
inline constexpr std::u16string_view kBehaviorSchemaFilePrefix = u"VEXA_CB_";
inline constexpr std::u16string_view kSchemaFileExtension = u".xsd";

}  // namespace nv
