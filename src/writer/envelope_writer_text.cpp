#include "writer/envelope_writer_text.h"

#include "values/xml_escape.h"

namespace nv {

void AppendDocumentAttribute(std::u16string& out, std::u16string_view name,
                             std::u16string_view value) {
  out += u' ';
  out += name;
  out += u"=\"";
  AppendXmlEscaped(out, value, XmlContext::kAttribute);
  out += u'"';
}

void AppendSoapStartTagOpen(std::u16string& out, std::u16string_view local) {
  out += u'<';
  out += kSoapPrefix;
  out += u':';
  out += local;
}

void AppendSoapEndTag(std::u16string& out, std::u16string_view local) {
  out += u"</";
  out += kSoapPrefix;
  out += u':';
  out += local;
  out += u'>';
}

}  // namespace nv
