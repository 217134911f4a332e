// Writing document text to an ITStream: UTF-16 text goes out as UTF-8, handed
// over as bytes so that the stream writes them without another conversion.
#pragma once

#include "frame/interfaces.h"

#include <string_view>

namespace nv {

// Nothing is written for empty text.
void WriteUtf8(const ComPtr<ITStream>& stream, std::string_view text);
void WriteText(const ComPtr<ITStream>& stream, std::u16string_view text);

// Throws the stream's failure when a write to it has failed: what fails
// after that reports the first failure rather than its own.
void ThrowIfStreamFailed(const ComPtr<ITStream>& stream);

}  // namespace nv
