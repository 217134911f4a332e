#include "values/text_to_value.h"

#include "frame/exception.h"
#include "values/binary_text.h"
#include "values/data_type_names.h"
#include "values/date_text.h"
#include "values/duration.h"
#include "values/number_text.h"

#include <limits>
#include <new>
#include <string>

namespace nv {

Variant VexaValueToVariant(std::u16string_view text, DataTypeEnum type,
                           const XmlValueContext* xml) {
  if (!IsValidDataType(type)) ThrowUnexpectedDataType(type);
  try {
    return TextToValue(text, type, xml);
  } catch (...) {
    // An allocation failure stays one; anything else gets this call's message.
    if (frame::DescribeCaughtException().code == E_OUTOFMEMORY) throw;
    throw ENvException("VexaValueToVariant failed");
  }
}

namespace {

// The integer types keep the low bits of whatever number the text holds.
template <class T>
Variant IntegerFromText(std::u16string_view text) {
  return Variant(static_cast<T>(ParseLeadingInteger(text)));
}

Variant DurationFromText(std::u16string_view text) {
  const ComPtr<INvVexaDurationAttributeValue> duration = MakeDurationValue(text);
  return Variant(static_cast<IDispatch*>(duration.get()));
}

}  // namespace

void ThrowUnexpectedDataType(DataTypeEnum type) {
  const std::string message =
      "Unexpected value for VexaDataType (" + std::to_string(static_cast<int>(type)) + ")";
  throw ENvException(message.c_str());
}

bool BooleanFromText(std::u16string_view text) {
  if (text == u"true") return true;
  if (text == u"false") return false;
  ThrowInvalidValue(text, dtBoolean);
}

double RealFromText(std::u16string_view text) {
  if (text.find_first_of(u".eE") != std::u16string_view::npos) return ParseLeadingReal(text);
  // The values without digits, and negative zero, which the integer reading
  // below would turn into 0.
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (text == u"NaN") return std::numeric_limits<double>::quiet_NaN();
  if (text == u"INF") return kInfinity;
  if (text == u"-INF") return -kInfinity;
  if (text == u"-0") return -0.0;
  return static_cast<int32_t>(ParseLeadingInteger(text));
}

Variant XmlFromText(std::u16string_view text, const XmlValueContext* xml) {
  if (xml == nullptr || xml->namespaces == nullptr) {
    throw ENvException("missing namespaces for converting XML type to variant");
  }
  if (!xml->factory) {
    throw ENvException("no XML value factory for converting XML type to variant");
  }
  return xml->factory(text, *xml->namespaces);
}

Variant TextToValue(std::u16string_view text, DataTypeEnum type, const XmlValueContext* xml) {
  switch (type) {
    case dtString:
    case dtAnyUri:
    case dtLanguage:
    case dtObjectReference:
      return Variant(text);
    case dtBoolean:
      return Variant(BooleanFromText(text));
    case dtFloat:
    case dtDouble:
      return Variant(RealFromText(text));
    case dtDuration:
      return DurationFromText(text);
    case dtBase64Binary:
      return DecodeBase64(text);
    case dtHexBinary:
      return DecodeHex(text);
    case dtInt:
      return IntegerFromText<int32_t>(text);
    case dtShort:
      return IntegerFromText<int16_t>(text);
    case dtByte:
      return IntegerFromText<int8_t>(text);
    case dtUnsignedShort:
      return IntegerFromText<uint16_t>(text);
    case dtUnsignedByte:
      return IntegerFromText<uint8_t>(text);
    case dtDateTime:
    case dtTime:
    case dtDate:
    case dtGMonth:
    case dtGYear:
      return Variant::Date(DateValueFromText(text, type));
    case dtXML:
      return XmlFromText(text, xml);
    default:
      ThrowUnexpectedDataType(type);
  }
}

}  // namespace nv
