#include "schemadoc/markup.h"

#include "values/xml_escape.h"

namespace nv {

void AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view value) {
  try {
    AppendXmlAttribute(out, name, value);
  } catch (const UnwritableCharacter& e) {
    throw ENvException(e.Describe(u"The " + std::u16string(name) + u" of the schema document"));
  }
}

}  // namespace nv
