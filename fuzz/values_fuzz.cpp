// Each text-to-value parser: a text that reads as a value of its type must
// write as a text that reads as the same value and writes the same text.
#include "fuzz_support.h"
#include "frame/text.h"
#include "values/text_to_value.h"

using namespace nv_fuzz;

namespace {

Variant Read(std::u16string_view text, DataTypeEnum type) {
  if (type == dtXML) return XmlAttributeValueFromText(text, {});
  return TextToValue(text, type, nullptr);
}

// The text to read again: what a document parser hands over for the written
// text. Escaped texts unescape to the value's own string; an XML value
// writes as a value element's content (declarations, ">", fragment), so its
// own fragment is read instead.
std::u16string SourceOf(const Variant& value, const std::u16string& written, DataTypeEnum type) {
  if (type == dtXML)
    return std::u16string(
        ComPtr<IDispatch>(value.pdispVal).as<INvVexaXmlAttributeValue>().XML().View());
  if (IsEscapedTextType(type) && value.vt == VT_BSTR) return std::u16string(value.bstrVal);
  return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const auto type = static_cast<DataTypeEnum>(dtString + data[0] % dtXML);
  const std::u16string text =
      Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  Variant value;
  std::u16string written;
  // Texts that are no value of the type, or values XML cannot carry, are refusals.
  if (Refused([&] { value = Read(text, type); })) return 0;
  if (Refused([&] { written = ValueText(value, type); })) return 0;
  Variant again;
  std::u16string rewritten;
  if (Refused([&] { again = Read(SourceOf(value, written, type), type); }))
    Fail("type " + std::to_string(type) + ": written text does not read: " + Utf16ToUtf8(written));
  if (Refused([&] { rewritten = ValueText(again, type); }))
    Fail("type " + std::to_string(type) + ": value read back does not write");
  if (rewritten != written)
    Fail("type " + std::to_string(type) + ": " + Utf16ToUtf8(written) + " became " +
         Utf16ToUtf8(rewritten));
  return 0;
}
