#include "xml/element_capture.h"

#include <algorithm>

#include "frame/exception.h"
#include "values/xml_escape.h"

namespace nv::xml {

namespace {

[[noreturn]] void NotClosed() { throw ENvException("Reached end before element was closed"); }

// The prefix `namespaces` gives `uri`; a URI without one gets "NS", the
// map's size and "1" (NS11, NS21, ...).
std::u16string_view PrefixFor(std::u16string_view uri, CapturedNamespaces& namespaces) {
  auto found = std::find_if(namespaces.begin(), namespaces.end(),
                            [&](const auto& entry) { return entry.first == uri; });
  if (found == namespaces.end()) found = namespaces.insert(found, {std::u16string(uri), {}});
  if (found->second.empty()) {
    const std::string number = std::to_string(namespaces.size());
    found->second = u"NS" + std::u16string(number.begin(), number.end()) + u"1";
  }
  return found->second;
}

class XmlWriter {
 public:
  explicit XmlWriter(CapturedNamespaces* namespaces) : namespaces_(namespaces) {}

  // Character data split over several tokens is escaped as one text, so a
  // surrogate pair split between them stays one character.
  void AddText(std::u16string_view text) { text_ += text; }

  void AddTag(const Token& tag) {
    FlushText();
    if (tag.type == ttEndElement) {
      out_ += u"</";
      AppendName(out_, tag.ns, tag.localName, tag.qualifiedName);
      out_ += u'>';
      return;
    }
    out_ += u'<';
    AppendName(out_, tag.ns, tag.localName, tag.qualifiedName);
    for (const TokenAttribute& attribute : tag.attributes) {
      name_.clear();
      AppendName(name_, attribute.ns, attribute.localName, attribute.qualifiedName);
      AppendXmlAttribute(out_, name_, attribute.value);
    }
    out_ += tag.attributes.empty() ? u" >" : u">";
  }

  std::u16string Finish() {
    FlushText();
    return std::move(out_);
  }

 private:
  void FlushText() {
    AppendXmlEscaped(out_, text_);
    text_.clear();
  }

  void AppendName(std::u16string& out, std::u16string_view ns, std::u16string_view localName,
                  std::u16string_view qualifiedName) {
    if (namespaces_ == nullptr) {
      out += qualifiedName.empty() ? localName : qualifiedName;
      return;
    }
    if (!ns.empty()) {
      out += PrefixFor(ns, *namespaces_);
      out += u':';
    }
    out += localName;
  }

  CapturedNamespaces* namespaces_;
  std::u16string out_;
  std::u16string text_;
  std::u16string name_;
};

}  // namespace

std::u16string CaptureElement(PullParser& parser, CapturedNamespaces* namespaces) {
  const Token& start = parser.CurrentToken();
  if (start.type != ttStartElement)
    throw ENvException(
        "GetElementXML must be called only when the current token type is ttStartElement");
  // Copies: the token's views end with it.
  const std::u16string localName(start.localName), ns(start.ns);
  XmlWriter writer(namespaces);
  for (int depth = 1;;) {
    parser.Next();
    if (parser.AtEnd()) NotClosed();
    const Token& token = parser.CurrentToken();
    if (token.type == ttCharacters) {
      writer.AddText(token.text);
      continue;
    }
    if (token.type != ttStartElement && token.type != ttEndElement) continue;
    // A nested element of the same name ends the capture early.
    if (token.type == ttEndElement && token.localName == localName && token.ns == ns) {
      if (--depth > 0) NotClosed();
      break;
    }
    writer.AddTag(token);
    depth += token.type == ttStartElement ? 1 : -1;
    if (depth == 0) throw ENvException("Elements not balanced");
  }
  return writer.Finish();
}

}  // namespace nv::xml
