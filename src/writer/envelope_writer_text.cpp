#include "writer/envelope_writer_text.h"

#include <cstring>
#include <limits>

#include "frame/exception.h"
#include "frame/text.h"
#include "values/byte_array.h"

namespace nv {

void AppendDocumentAttribute(std::u16string& out, std::u16string_view name,
                             std::u16string_view value) {
  out += u' ';
  out += name;
  out += u"=\"";
  out += value;
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

void WriteDocumentText(const ComPtr<ITStream>& stream, std::u16string_view text) {
  WriteDocumentUtf8(stream, Utf16ToUtf8(text));
}

void WriteDocumentUtf8(const ComPtr<ITStream>& stream, std::string_view text) {
  if (text.empty()) return;
  if (text.size() > static_cast<size_t>(std::numeric_limits<LONG>::max()))
    throw ENvException("The text to write is too long");
  // Handed over as bytes, so the stream writes them without another conversion.
  uint8_t* data = nullptr;
  const Variant buffer = MakeByteArray(text.size(), &data);
  std::memcpy(data, text.data(), text.size());
  stream.Write(buffer, static_cast<LONG>(text.size()));
}

}  // namespace nv
