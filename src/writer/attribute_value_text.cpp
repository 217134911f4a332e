#include "writer/attribute_value_text.h"

#include "frame/exception.h"
#include "values/value_to_text.h"
#include "writer/xml_value_text.h"

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

}  // namespace

bool HoldsXmlAttributeValue(const VARIANT& value) { return static_cast<bool>(XmlValueOf(value)); }

void AppendValuePart(std::u16string& out, std::u16string_view endTag, const VARIANT& value,
                     DataTypeEnum type, const ComPtr<INvVexaNamespaces>& packageNamespaces,
                     const ComPtr<INvVexaNamespaces>& infoNamespaces) {
  if (Dereferenced(value).vt == VT_NULL) {
    out += u" xsi:nil=\"true\"/>";
    return;
  }
  if (type == dtObjectReference) {
    out += u" href=\"";
    AppendVexaVariantText(out, value, dtObjectReference);
    out += u"\"/>";
    return;
  }
  if (type == dtXML) {
    const ComPtr<INvVexaXmlAttributeValue> xml = XmlValueOf(value);
    if (!xml) throw ENvException(kDtXmlAssignmentFailure);
    AppendXmlValueText(out, xml, packageNamespaces, infoNamespaces);
    out += endTag;
    return;
  }
  out += u'>';
  AppendVexaVariantText(out, value, type);
  out += endTag;
}

}  // namespace nv
