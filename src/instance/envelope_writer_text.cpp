#include "instance/envelope_writer_text.h"

namespace nv {

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
