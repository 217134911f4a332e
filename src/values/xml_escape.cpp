#include "values/xml_escape.h"

#include <array>
#include <cstdio>

#include "frame/text.h"
#include "values/number_text.h"

namespace nv {
namespace {

// Which ASCII characters are written as they are in text and in attribute
// values; every other one is escaped or refused.
constexpr std::array<bool, 128> PlainTable(XmlContext where) {
  std::array<bool, 128> plain{};
  for (int c = 0x20; c < 127; ++c) plain[c] = true;
  for (const char c : {'"', '&', '\'', '<', '>'}) plain[static_cast<size_t>(c)] = false;
  plain['\t'] = plain['\n'] = where == XmlContext::kText;
  return plain;
}

constexpr std::array<bool, 128> kPlainInText = PlainTable(XmlContext::kText);
constexpr std::array<bool, 128> kPlainInAttribute = PlainTable(XmlContext::kAttribute);

// The code point at text[at] and the code units it takes; throws for one
// that XML cannot carry. Only called for characters that are not plain.
uint32_t CheckedCodePoint(std::u16string_view text, size_t at, size_t& units) {
  const char16_t c = text[at];
  units = 1;
  if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') throw UnwritableCharacter(c);
  if (c == 0xFFFE || c == 0xFFFF || IsLowSurrogate(c)) throw UnwritableCharacter(c);
  if (!IsHighSurrogate(c)) return c;
  if (at + 1 >= text.size() || !IsLowSurrogate(text[at + 1])) throw UnwritableCharacter(c);
  units = 2;
  return CodePointOfPair(c, text[at + 1]);
}

void AppendEntity(std::u16string& out, char16_t c) {
  switch (c) {
    case u'"':
      out += u"&quot;";
      break;
    case u'&':
      out += u"&amp;";
      break;
    case u'\'':
      out += u"&apos;";
      break;
    case u'<':
      out += u"&lt;";
      break;
    default:
      out += u"&gt;";
      break;
  }
}

// Escapes the character at text[at]; answers the code units used.
size_t AppendEscapedAt(std::u16string& out, std::u16string_view text, size_t at) {
  const char16_t c = text[at];
  if (c == u'"' || c == u'&' || c == u'\'' || c == u'<' || c == u'>') {
    AppendEntity(out, c);
    return 1;
  }
  size_t units = 1;
  const uint32_t codePoint = CheckedCodePoint(text, at, units);
  out += u"&#";
  AppendDecimal(out, codePoint);
  out += u';';
  return units;
}

std::u16string UnwritableText(std::u16string_view owner, uint32_t codePoint) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(codePoint));
  std::u16string text(owner);
  text += u" holds the character ";
  AppendAscii(text, hex);
  text += u", which XML cannot carry";
  return text;
}

}  // namespace

UnwritableCharacter::UnwritableCharacter(uint32_t codePoint)
    : ENvException(UnwritableText(u"The text", codePoint)), codePoint_(codePoint) {}

std::u16string UnwritableCharacter::Describe(std::u16string_view owner) const {
  return UnwritableText(owner, codePoint_);
}

void CheckXmlCharacters(std::u16string_view text) {
  for (size_t at = 0; at < text.size();) {
    const char16_t c = text[at];
    if (c >= 0x20 && c < 0xD800) {
      ++at;
      continue;
    }
    size_t units = 1;
    CheckedCodePoint(text, at, units);
    at += units;
  }
}

void CheckXmlCharacters(std::u16string_view text, std::u16string_view owner) {
  NamingUnwritableOwner([&] { CheckXmlCharacters(text); }, [&] { return owner; });
}

void AppendXmlEscaped(std::u16string& out, std::u16string_view text, XmlContext where) {
  const std::array<bool, 128>& plain =
      where == XmlContext::kText ? kPlainInText : kPlainInAttribute;
  size_t at = 0;
  while (at < text.size()) {
    // Copy the run of plain characters in one step.
    size_t runEnd = at;
    while (runEnd < text.size() && text[runEnd] < 128 && plain[text[runEnd]]) ++runEnd;
    out.append(text.substr(at, runEnd - at));
    if (runEnd == text.size()) break;
    at = runEnd + AppendEscapedAt(out, text, runEnd);
  }
}

void AppendXmlAttribute(std::u16string& out, std::u16string_view name,
                        std::u16string_view value) {
  out += u' ';
  out += name;
  out += u"=\"";
  AppendXmlEscaped(out, value, XmlContext::kAttribute);
  out += u'"';
}

}  // namespace nv
