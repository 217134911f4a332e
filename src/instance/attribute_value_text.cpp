#include "instance/attribute_value_text.h"

#include "frame/exception.h"
#include "values/value_to_text.h"
#include "instance/xml_value_text.h"

namespace nv {

namespace {

// The variant itself, or the one a by-reference variant points at.
const VARIANT& Dereferenced(const VARIANT& value) {
  if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr) return *value.pvarVal;
  return value;
}

ComPtr<INvVexaXmlAttributeValue> XmlValueOf(const VARIANT& value) {
  const VARIANT& held = Dereferenced(value);
  IUnknown* object = nullptr;
  if (held.vt == VT_DISPATCH) object = held.pdispVal;
  if (held.vt == VT_UNKNOWN) object = held.punkVal;
  if (object == nullptr) return nullptr;
  return ComPtr<IUnknown>(object).try_as<INvVexaXmlAttributeValue>();
}

// The value's lexical text; a string of a text type is escaped straight
// from the client's string, so a long one is never copied whole.
void AppendLexical(DocumentText& out, const VARIANT& value, DataTypeEnum type, XmlContext where) {
  if (value.vt == VT_BSTR && IsEscapedTextType(type)) {
    out.AppendEscaped(std::u16string_view(value.bstrVal, SysStringLen(value.bstrVal)), where);
    return;
  }
  AppendVexaVariantText(out.Text(), value, type, where);
}

}  // namespace

bool HoldsXmlAttributeValue(const VARIANT& value) { return static_cast<bool>(XmlValueOf(value)); }

void AppendValuePart(DocumentText& out, std::u16string_view endTag, const VARIANT& value,
                     DataTypeEnum type, const XmlValueScope& scope) {
  if (Dereferenced(value).vt == VT_NULL) {
    out.Text() += u" xsi:nil=\"true\"/>";
    return;
  }
  if (type == dtObjectReference) {
    out.Text() += u" href=\"";
    AppendLexical(out, value, dtObjectReference, XmlContext::kAttribute);
    out.Text() += u"\"/>";
    return;
  }
  if (type == dtXML) {
    const ComPtr<INvVexaXmlAttributeValue> xml = XmlValueOf(value);
    if (!xml) throw ENvException(kDtXmlAssignmentFailure);
    AppendXmlValueText(out.Text(), xml, scope);
    out.Text() += endTag;
    return;
  }
  out.Text() += u'>';
  AppendLexical(out, value, type, XmlContext::kText);
  out.Text() += endTag;
}

}  // namespace nv
