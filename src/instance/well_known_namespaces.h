// Namespaces with a fixed meaning in packages and schema documents.
#pragma once

#include <string_view>

namespace nv {

// Every namespace and standard schema location of the format starts so.
inline constexpr std::u16string_view kNamespaceBase = u"http://www.norvane.com/vexa";
inline constexpr std::u16string_view kCoreNamespace =
    u"http://www.norvane.com/vexa/std/ns/core/1.0";
inline constexpr std::u16string_view kXmlSchemaNamespace = u"http://www.w3.org/2001/XMLSchema";
inline constexpr std::u16string_view kXmlSchemaInstanceNamespace =
    u"http://www.w3.org/2001/XMLSchema-instance";
inline constexpr std::u16string_view kSoapEnvelopeNamespace =
    u"http://schemas.xmlsoap.org/soap/envelope/";

}  // namespace nv
