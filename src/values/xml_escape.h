// Text escaped for XML, so that every value reads back exactly as it was
// given. The five markup characters become entity references, every
// character from 127 up a numeric reference (a surrogate pair one reference
// to its code point), so the written document is pure ASCII. A carriage
// return becomes "&#13;" (a parser would turn a raw one into a line feed);
// inside attribute values tab and line feed become references as well, since
// attribute-value normalisation would turn them into blanks.
//
// Characters that XML 1.0 cannot carry at all (NUL and the other controls
// below 0x20 but tab, line feed and carriage return; U+FFFE, U+FFFF; a lone
// surrogate) have no spelling: they are refused, never written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/exception.h"

namespace nv {

// Where escaped text stands.
enum class XmlContext { kText, kAttribute };

// A character that XML cannot carry was met. The message names the code
// point; callers that know whose text it was rethrow with `Describe`.
class UnwritableCharacter : public ENvException {
 public:
  explicit UnwritableCharacter(uint32_t codePoint);
  uint32_t CodePoint() const noexcept { return codePoint_; }
  // `owner` + " holds the character U+XXXX, which XML cannot carry".
  std::u16string Describe(std::u16string_view owner) const;

 private:
  uint32_t codePoint_;
};

// Runs `write`; the UnwritableCharacter it throws becomes an ENvException
// naming the owner of the text, which `owner()` describes only then.
template <class Write, class Owner>
decltype(auto) NamingUnwritableOwner(Write&& write, Owner&& owner) {
  try {
    return write();
  } catch (const UnwritableCharacter& e) {
    throw ENvException(e.Describe(owner()));
  }
}

// Throws UnwritableCharacter for the first character of `text` that XML
// cannot carry.
void CheckXmlCharacters(std::u16string_view text);
// The same, with the message naming `owner` ("The value of attribute \"a\"").
void CheckXmlCharacters(std::u16string_view text, std::u16string_view owner);

// Appends `text` escaped for `where`; throws UnwritableCharacter (and then
// `out` may hold part of the text).
void AppendXmlEscaped(std::u16string& out, std::u16string_view text,
                      XmlContext where = XmlContext::kText);

// Appends a blank and name="value", the value escaped for an attribute;
// throws UnwritableCharacter.
void AppendXmlAttribute(std::u16string& out, std::u16string_view name,
                        std::u16string_view value);

}  // namespace nv
