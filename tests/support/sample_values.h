// Sample values of every data type, and values as comparable text: shared by
// the round trips of schema documents and packages.
#pragma once

#include <string>
#include <vector>

#include "frame/text.h"
#include "frame/variant.h"
#include "instance/names.h"
#include "instance/value_elements.h"
#include "values/text_to_value.h"
#include "values/value_to_text.h"

namespace nv::test {

// A value of `type` as a client would give it; `pick` chooses one of two.
// Both are edge cases: white space alone, markup characters, -0, NaN, the
// infinities, extreme numbers, year 1, milliseconds.
inline Variant SampleValue(DataTypeEnum type, int pick) {
  static const char16_t* const kTexts[][2] = {
      {u" \r\n\t ", u" \r\n\t<&>\"' \U0001F600"}, {u"true", u"false"},
      {u"-0", u"NaN"},                            {u"-INF", u"1.7976931348623157E308"},
      {u"P1Y2M3DT4H5M6.5S", u"-PT0S"},          {u"AAEC/w==", u""},
      {u"00FF", u""},                           {u"http://x.org/a?b=1&c", u"urn:y"},
      {u"en-US", u"de"},                        {u"-2147483648", u"7"},
      {u"-32768", u"1"},                        {u"-128", u"127"},
      {u"65535", u"0"},                         {u"255", u"1"},
      {u"2009-03-07T14:05:09.120", u"0001-01-01T00:00:00.000"},
      {u"23:59:59.999", u"00:00:00.000"},       {u"2009-03-07", u"1999-12-31"},
      {u"--12--", u"--01--"},                       {u"2009", u"0999"},
      {u"o17", u"x_1"}};
  if (type == dtXML) {
    const std::vector<XmlNamespaceDeclaration> none;
    return XmlAttributeValueFromText(
        pick % 2 ? u"<a:b xmlns:a=\"urn:a\" k=\"1&amp;2\">t<c/></a:b>" : u"<p>x</p><q/>", none);
  }
  return TextToValue(kTexts[type - 1][pick % 2], type, nullptr);
}

// The value in the text its type is written in; XML values with prefixes
// drawn from a fresh table, so equal values give equal texts.
inline std::string ValueText(const VARIANT& value, DataTypeEnum type) {
  if (value.vt == VT_NULL) return "(null)";
  if (value.vt == VT_EMPTY) return "(empty)";
  std::u16string text;
  if (type == dtXML && value.vt == VT_BSTR)  // a default: markup text
    return Utf16ToUtf8(std::u16string_view(value.bstrVal));
  if (type == dtXML)
    AppendXmlValueText(text, ComPtr<IDispatch>(value.pdispVal).as<INvVexaXmlAttributeValue>(),
                       XmlValueScope{CreateObject<CNvVexaNamespaces>()});
  else
    AppendVexaVariantText(text, value, type);
  return Utf16ToUtf8(text);
}

}  // namespace nv::test
