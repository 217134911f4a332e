#include "schemadoc/markup.h"

#include "values/xml_escape.h"

namespace nv {

void AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view value) {
  out += u' ';
  out += name;
  out += u"=\"";
  try {
    AppendXmlEscaped(out, value, XmlContext::kAttribute);
  } catch (const UnwritableCharacter& e) {
    throw ENvException(e.Describe(u"The " + std::u16string(name) + u" of the schema document"));
  }
  out += u'"';
}

}  // namespace nv
