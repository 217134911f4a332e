// Reading value elements from the instance document: the rules that Info
// items and object attributes share (nil, references, XML content, empty
// elements, text split into pieces), and the message of a misplaced token.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frame/interfaces.h"
#include "frame/variant.h"
#include "xml/pull_parser.h"

namespace nv {

// Processing instructions and prefix mappings carry nothing a reader needs.
inline constexpr std::initializer_list<TokenType> kSkippedTokens = {
    ttProcessingInstruction, ttStartPrefixMapping, ttEndPrefixMapping};

// "Invalid Vexa: Unexpected token type <type>Name = "<uri>|<name>" expecting <expected>".
[[noreturn]] void ThrowUnexpectedToken(const PullParser& parser, TokenType expected);

// The current token must be of type `expected`.
void ExpectToken(const PullParser& parser, TokenType expected);

// What one value element holds.
struct ValueElement {
  Variant value;                            // null for a nil element
  std::optional<std::u16string> reference;  // the target identifier of an href
  bool empty = false;                       // an empty element of a text type
};

// Reads the value element whose start tag is current as a value of `type`,
// leaving the parser on its end tag. A string keeps its white space as written.
ValueElement ReadValueElement(PullParser& parser, DataTypeEnum type);

}  // namespace nv
