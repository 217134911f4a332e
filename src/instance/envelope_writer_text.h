// Text pieces of the instance document.
#pragma once

#include <string>
#include <string_view>

#include "frame/interfaces.h"
#include "values/xml_escape.h"  // AppendXmlAttribute, for the attributes of these tags

namespace nv {

// Prefixes with a fixed meaning in the instance document.
inline constexpr std::u16string_view kSoapPrefix = u"SOAP_ENV";
inline constexpr std::u16string_view kXsiPrefix = u"xsi";
inline constexpr std::u16string_view kXsdPrefix = u"xsd";
inline constexpr std::u16string_view kCorePrefix = u"vexa";
inline constexpr std::u16string_view kSchemaPrefix = u"tns";

// Appends `<SOAP_ENV:local` (no closing bracket) or `</SOAP_ENV:local>`.
void AppendSoapStartTagOpen(std::u16string& out, std::u16string_view local);
void AppendSoapEndTag(std::u16string& out, std::u16string_view local);

}  // namespace nv
