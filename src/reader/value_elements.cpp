#include "reader/value_elements.h"

#include <vector>

#include "frame/exception.h"
#include "instance/names.h"
#include "instance/value_elements.h"
#include "values/text_to_value.h"

namespace nv {

void ThrowUnexpectedToken(const PullParser& parser, TokenType expected) {
  std::u16string message = u"Invalid Vexa: Unexpected token ";
  if (!parser.AtEnd()) {
    const TokenType type = parser.CurrentToken().type;
    if (type == ttStartElement || type == ttEndElement) {
      message += u"type ";
      message += TokenTypeName(type);
      message += u"Name = \"" + parser.ExpandedName() + u"\"";
    }
  }
  message += u" expecting ";
  message += TokenTypeName(expected);
  throw ENvException(Bstr(message));
}

void ExpectToken(const PullParser& parser, TokenType expected) {
  if (parser.AtEnd() || parser.CurrentToken().type != expected)
    ThrowUnexpectedToken(parser, expected);
}

namespace {

Variant NullValue() {
  Variant null;
  null.vt = VT_NULL;
  return null;
}

// The identifier of an href: the text after a leading "#".
std::u16string ReferenceTarget(std::u16string_view href) {
  if (href.starts_with(u'#')) href.remove_prefix(1);
  if (href.empty()) throw ENvException("Invalid empty object reference");
  return std::u16string(href);
}

// The captured content of an XML element, with a declaration for each
// namespace its names were given a prefix for.
Variant ReadXmlValue(PullParser& parser) {
  CapturedNamespaces namespaces;
  const std::u16string text = parser.GetElementXML(namespaces);
  std::vector<XmlNamespaceDeclaration> declarations;
  declarations.reserve(namespaces.size());
  for (const auto& [uri, prefix] : namespaces) declarations.push_back({Bstr(prefix), Bstr(uri)});
  return XmlAttributeValueFromText(text, declarations);
}

// Types whose empty text is a value: the writer writes an empty string of
// them as an empty element.
bool IsTextType(DataTypeEnum type) {
  return type == dtString || type == dtAnyUri || type == dtLanguage;
}

bool IsWhitespace(std::u16string_view text) {
  return text.find_first_not_of(u" \t\r\n") == std::u16string_view::npos;
}

}  // namespace

ValueElement ReadValueElement(PullParser& parser, DataTypeEnum type) {
  ValueElement read;
  const auto nil = parser.GetAttributeValue(u"nil", kXmlSchemaInstanceNamespace);
  if (nil == u"true" || nil == u"1") {
    read.value = NullValue();
    parser.NextSkipping(kSkippedTokens);
    return read;
  }
  if (const auto href = parser.GetAttributeValue(u"href")) {
    read.reference = ReferenceTarget(*href);
    parser.NextSkipping(kSkippedTokens);
    return read;
  }
  if (type == dtXML) {
    read.value = ReadXmlValue(parser);
    return read;
  }
  // The text, in as many pieces as it came; white space is kept, as a string
  // of only white space is a value like any other.
  // One buffer per thread, so reading a value allocates nothing for its text.
  static thread_local std::u16string text;
  text.clear();
  parser.Next();
  for (;;) {
    parser.SkipTokens(kSkippedTokens);
    if (parser.AtEnd() || parser.CurrentToken().type != ttCharacters) break;
    text += parser.CurrentToken().text;
    parser.Next();
  }
  const bool atEnd = !parser.AtEnd() && parser.CurrentToken().type == ttEndElement;
  // No bytes are written as an empty element, and read back as no bytes.
  if (text.empty() && atEnd && (type == dtBase64Binary || type == dtHexBinary)) {
    read.value = TextToValue(text, type, nullptr);
    return read;
  }
  if (text.empty() || (!IsTextType(type) && IsWhitespace(text))) {
    if (!atEnd) ThrowUnexpectedToken(parser, ttCharacters);
    if (!IsTextType(type))
      throw ENvException(
          "Invalid Vexa: Empty elements are allowed only for string and XML attributes");
    read.empty = true;
    return read;
  }
  if (!atEnd) ThrowUnexpectedToken(parser, ttEndElement);
  read.value = TextToValue(text, type, nullptr);
  return read;
}

}  // namespace nv
