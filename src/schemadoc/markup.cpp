#include "schemadoc/markup.h"

#include "values/xml_escape.h"

namespace nv {

void AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view value) {
  out += u' ';
  out += name;
  out += u"=\"";
  AppendXmlEscaped(out, value, XmlContext::kAttribute);
  out += u'"';
}

}  // namespace nv
