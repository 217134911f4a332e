#include "values/value_to_text.h"

#include "frame/exception.h"
#include "frame/variant.h"
#include "values/binary_text.h"
#include "values/date_text.h"
#include "values/number_text.h"
#include "values/xml_escape.h"

#include <cmath>
#include <string_view>

namespace nv {
namespace {

[[noreturn]] void ThrowNotConvertible() {
  throw ENvException("Failed to convert Variant value to the specified type");
}

// `value` coerced to a scalar type (no string, object or array): the
// result owns nothing, so it needs no clearing.
VARIANT CoercedScalar(const VARIANT& value, VARTYPE target) {
  if (value.vt == target) return value;
  VARIANT out;
  VariantInit(&out);
  if (FAILED(VariantChangeType(&out, &value, 0, target))) ThrowNotConvertible();
  return out;
}

// `value` coerced to a string; a string is borrowed rather than copied.
class CoercedText {
 public:
  explicit CoercedText(const VARIANT& value) {
    const VARIANT* text = &value;
    if (value.vt != VT_BSTR) {
      if (FAILED(VariantChangeType(&owned_, &value, 0, VT_BSTR))) ThrowNotConvertible();
      text = &owned_;
    }
    if (text->bstrVal != nullptr)
      view_ = std::u16string_view(text->bstrVal, SysStringLen(text->bstrVal));
  }
  std::u16string_view View() const noexcept { return view_; }

 private:
  Variant owned_;
  std::u16string_view view_;
};

// A double keeps all of its precision; a float value is rounded to single
// precision first, so that its shortest text is that of the float.
void AppendRealValue(std::u16string& out, const VARIANT& value, DataTypeEnum type) {
  VARIANT number = CoercedScalar(value, VT_R8);
  if (type == dtDouble || !std::isfinite(number.dblVal)) {
    AppendReal(out, number.dblVal);
    return;
  }
  AppendReal(out, CoercedScalar(number, VT_R4).fltVal);
}

void AppendDuration(std::u16string& out, const VARIANT& value) {
  IUnknown* object = nullptr;
  if (value.vt == VT_DISPATCH) object = value.pdispVal;
  if (value.vt == VT_UNKNOWN) object = value.punkVal;
  const auto duration = ComPtr<IUnknown>(object).try_as<INvVexaDurationAttributeValueCRaw>();
  if (!duration) ThrowNotConvertible();
  out += duration.ToString().View();
}

void AppendDateValue(std::u16string& out, const VARIANT& value, DataTypeEnum type) {
  // An integer 0 is taken as a value left unset rather than as 1899-12-30.
  if (type != dtTime && value.vt == VT_I4 && value.lVal == 0) {
    throw ENvException(
        "0 is an invalid value for attributes of type DateTime, Date, Month or Year.");
  }
  CalendarDate date;
  TimeOfDay time;
  if (!DecodeDateTime(CoercedScalar(value, VT_DATE).date, date, time)) ThrowNotConvertible();
  switch (type) {
    case dtDateTime:
      AppendDateText(out, date);
      out += u'T';
      AppendTimeText(out, time);
      out += u'Z';
      break;
    case dtTime:
      AppendTimeText(out, time);
      out += u'Z';
      break;
    case dtDate:
      AppendDateText(out, date);
      break;
    case dtGMonth:
      out += u"--";
      AppendZeroPadded(out, date.month, 2);
      out += u"--";
      break;
    default:  // dtGYear, in at least four digits like the year of a date (0999)
      AppendZeroPadded(out, date.year, 4);
      break;
  }
}

[[noreturn]] void ThrowUnexpectedType(DataTypeEnum type) {
  const std::string message =
      "Unexpected value for VexaDataType ( " + std::to_string(static_cast<int>(type)) + ")";
  throw ENvException(message.c_str());
}

void AppendDirect(std::u16string& out, const VARIANT& value, DataTypeEnum type,
                  XmlContext where) {
  if (IsEscapedTextType(type)) {
    AppendXmlEscaped(out, CoercedText(value).View(), where);
    return;
  }
  switch (type) {
    case dtXML:  // markup of the client's own, as it is: the caller places it
      out += CoercedText(value).View();
      break;
    case dtBoolean:
      out += CoercedScalar(value, VT_BOOL).boolVal ? u"true" : u"false";
      break;
    case dtFloat:
    case dtDouble:
      AppendRealValue(out, value, type);
      break;
    case dtDuration:
      AppendDuration(out, value);
      break;
    case dtBase64Binary:
      AppendBase64(out, ByteArrayView(value).Bytes());
      break;
    case dtHexBinary:
      AppendHex(out, ByteArrayView(value).Bytes());
      break;
    case dtInt:
      AppendDecimal(out, CoercedScalar(value, VT_I4).lVal);
      break;
    case dtShort:
      AppendDecimal(out, CoercedScalar(value, VT_I2).iVal);
      break;
    case dtByte:
      AppendDecimal(out, static_cast<int8_t>(CoercedScalar(value, VT_I1).cVal));
      break;
    case dtUnsignedShort:
      AppendDecimal(out, CoercedScalar(value, VT_UI2).uiVal);
      break;
    case dtUnsignedByte:
      AppendDecimal(out, CoercedScalar(value, VT_UI1).bVal);
      break;
    case dtDateTime:
    case dtTime:
    case dtDate:
    case dtGMonth:
    case dtGYear:
      AppendDateValue(out, value, type);
      break;
    default:
      ThrowUnexpectedType(type);
  }
}

}  // namespace

void AppendVexaVariantText(std::u16string& out, const VARIANT& value, DataTypeEnum type,
                           XmlContext where) {
  if (!(value.vt & VT_BYREF)) {
    AppendDirect(out, value, type, where);
    return;
  }
  Variant direct;
  if (FAILED(VariantCopyInd(&direct, &value))) ThrowNotConvertible();
  AppendDirect(out, direct, type, where);
}

Bstr VexaVariantToText(const VARIANT& value, DataTypeEnum type) {
  std::u16string text;
  AppendVexaVariantText(text, value, type);
  return Bstr(text);
}

}  // namespace nv
