#include "archive/stream_text.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "values/byte_array.h"

#include <cstring>
#include <limits>

namespace nv {

void WriteUtf8(const ComPtr<ITStream>& stream, std::string_view text) {
  if (text.empty()) return;
  if (text.size() > static_cast<size_t>(std::numeric_limits<LONG>::max()))
    throw ENvException("The text to write is too long");
  uint8_t* data = nullptr;
  const Variant buffer = MakeByteArray(text.size(), &data);
  std::memcpy(data, text.data(), text.size());
  stream.Write(buffer, static_cast<LONG>(text.size()));
}

void WriteText(const ComPtr<ITStream>& stream, std::u16string_view text) {
  WriteUtf8(stream, Utf16ToUtf8(text));
}

}  // namespace nv
