#include "xml/document_text.h"

#include <algorithm>

#include "archive/streams.h"
#include "frame/text.h"

namespace nv {
namespace {

// Values at least this long are escaped only while written, in pieces of
// about this size.
constexpr size_t kLongValue = size_t{1} << 15;
// A text grown beyond this by one huge object is given back afterwards.
constexpr size_t kKeptCapacity = size_t{1} << 20;

}  // namespace

DocumentText& DocumentText::ForThisThread() {
  thread_local DocumentText text;
  return text;
}

void DocumentText::Clear() noexcept {
  text_.clear();
  longValues_.clear();
  if (text_.capacity() > kKeptCapacity) text_.shrink_to_fit();
}

void DocumentText::AppendEscaped(std::u16string_view value, XmlContext where) {
  if (value.size() < kLongValue) {
    AppendXmlEscaped(text_, value, where);
    return;
  }
  CheckXmlCharacters(value);
  longValues_.push_back({text_.size(), value, where});
}

template <class F>
void DocumentText::ForEachPiece(F&& use) const {
  const std::u16string_view text = text_;
  size_t from = 0;
  std::u16string escaped;
  for (const LongValue& long_ : longValues_) {
    use(text.substr(from, long_.at - from));
    from = long_.at;
    for (size_t at = 0; at < long_.value.size();) {
      size_t end = std::min(at + kLongValue, long_.value.size());
      if (end < long_.value.size() && IsHighSurrogate(long_.value[end - 1])) ++end;
      escaped.clear();
      AppendXmlEscaped(escaped, long_.value.substr(at, end - at), long_.where);
      use(std::u16string_view(escaped));
      at = end;
    }
  }
  use(text.substr(from));
}

void DocumentText::WriteTo(const ComPtr<ITStream>& stream) const {
  WriteWhole(stream, [&] {
    ForEachPiece([&](std::u16string_view piece) { WriteText(stream, piece); });
  });
}

std::u16string DocumentText::ToString() const {
  std::u16string out;
  ForEachPiece([&](std::u16string_view piece) { out += piece; });
  return out;
}

}  // namespace nv
