#include "values/xml_escape.h"

#include "values/number_format.h"

namespace nv {
namespace {

bool NeedsEscape(char16_t c) noexcept {
  return c >= 127 || c == u'"' || c == u'&' || c == u'\'' || c == u'<' || c == u'>';
}

bool IsHighSurrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendReference(std::u16string& out, uint32_t codePoint) {
  out += u"&#";
  AppendDecimal(out, codePoint);
  out += u';';
}

// Escapes text[at] (a character that needs it); answers the code units used.
size_t AppendEscapedAt(std::u16string& out, std::u16string_view text, size_t at) {
  const char16_t c = text[at];
  switch (c) {
    case u'"':
      out += u"&quot;";
      return 1;
    case u'&':
      out += u"&amp;";
      return 1;
    case u'\'':
      out += u"&apos;";
      return 1;
    case u'<':
      out += u"&lt;";
      return 1;
    case u'>':
      out += u"&gt;";
      return 1;
    default:
      break;
  }
  if (IsHighSurrogate(c) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
    const uint32_t codePoint = 0x10000u + ((c - 0xD800u) << 10) + (text[at + 1] - 0xDC00u);
    AppendReference(out, codePoint);
    return 2;
  }
  AppendReference(out, c);
  return 1;
}

}  // namespace

void AppendXmlEscaped(std::u16string& out, std::u16string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    // Copy the run of plain characters in one step.
    size_t runEnd = at;
    while (runEnd < text.size() && !NeedsEscape(text[runEnd])) ++runEnd;
    out.append(text.substr(at, runEnd - at));
    if (runEnd == text.size()) break;
    at = runEnd + AppendEscapedAt(out, text, runEnd);
  }
}

}  // namespace nv
