#include "writer/xml_value_text.h"

#include <utility>
#include <vector>

#include <xercesc/dom/DOM.hpp>

#include "frame/exception.h"
#include "frame/text.h"
#include "values/xml_escape.h"
#include "writer/hardened_dom_parser.h"

namespace nv {

namespace {

namespace xc = xercesc;

constexpr std::u16string_view kXmlnsPrefix = u"xmlns";
// The "xml" prefix is bound by definition and may not be declared again.
constexpr std::u16string_view kXmlPrefix = u"xml";

std::u16string_view ViewOf(const XMLCh* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

// The fragment inside a wrapper element that declares the value's prefixes.
std::string WrappedFragment(const ComPtr<INvVexaXmlAttributeValue>& value) {
  std::u16string text = u"<dummy";
  const ComPtr<INvVexaNamespaces> table = value.Namespaces();
  const LONG count = table.Count();
  for (LONG k = 0; k < count; ++k) {
    const Bstr ns = table.Item(k);
    const Bstr prefix = table.GetPrefix(ns);
    text += prefix.Empty() ? u" xmlns=\"" : u" xmlns:" + std::u16string(prefix.View()) + u"=\"";
    AppendXmlEscaped(text, ns.View());
    text += u'"';
  }
  text += u'>';
  text += value.XML().View();
  text += u"</dummy>";
  return Utf16ToUtf8(text);
}

class FragmentWriter {
 public:
  FragmentWriter(const ComPtr<INvVexaNamespaces>& package, const ComPtr<INvVexaNamespaces>& info)
      : package_(package), info_(info) {}

  void Collect(const xc::DOMElement* element) {
    Need(element->getPrefix(), element->getNamespaceURI());
    const xc::DOMNamedNodeMap* attributes = element->getAttributes();
    for (XMLSize_t k = 0; k < attributes->getLength(); ++k) {
      const xc::DOMNode* attribute = attributes->item(k);
      Need(attribute->getPrefix(), attribute->getNamespaceURI());
    }
    for (const xc::DOMElement* child = element->getFirstElementChild(); child != nullptr;
         child = child->getNextElementSibling())
      Collect(child);
  }

  void AppendDeclarations(std::u16string& out) const {
    for (const auto& [ns, prefix] : collected_) {
      out += u" xmlns:" + std::u16string(prefix.View()) + u"=\"";
      AppendXmlEscaped(out, ns.View());
      out += u'"';
    }
  }

  void AppendChildren(std::u16string& out, const xc::DOMNode* parent) const {
    for (const xc::DOMNode* node = parent->getFirstChild(); node != nullptr;
         node = node->getNextSibling())
      AppendNode(out, node);
  }

 private:
  void Need(const XMLCh* prefix, const XMLCh* ns) {
    const std::u16string_view p = ViewOf(prefix);
    if (p.empty() || p == kXmlnsPrefix || p == kXmlPrefix) return;
    if (!PrefixOf(ViewOf(ns)).Empty()) return;
    collected_.emplace_back(Bstr(ViewOf(ns)), package_.as<INvVexaNamespacesCRaw>().GetNextUniquePrefix());
  }

  Bstr PrefixOf(std::u16string_view ns) const {
    if (Bstr found = package_.GetPrefix(ns); !found.Empty()) return found;
    if (info_) {
      if (Bstr found = info_.GetPrefix(ns); !found.Empty()) return found;
    }
    for (const auto& [collectedNs, prefix] : collected_)
      if (collectedNs.View() == ns) return prefix;
    return Bstr();
  }

  void AppendName(std::u16string& out, const xc::DOMNode* node) const {
    const std::u16string_view prefix = ViewOf(node->getPrefix());
    if (prefix == kXmlPrefix) {
      out += u"xml:";
    } else if (!prefix.empty()) {
      out += PrefixOf(ViewOf(node->getNamespaceURI())).View();
      out += u':';
    }
    out += ViewOf(node->getLocalName() ? node->getLocalName() : node->getNodeName());
  }

  void AppendElement(std::u16string& out, const xc::DOMElement* element) const {
    out += u'<';
    AppendName(out, element);
    const xc::DOMNamedNodeMap* attributes = element->getAttributes();
    for (XMLSize_t k = 0; k < attributes->getLength(); ++k) {
      const xc::DOMNode* attribute = attributes->item(k);
      if (ViewOf(attribute->getPrefix()) == kXmlnsPrefix) continue;
      out += u' ';
      AppendName(out, attribute);
      out += u"=\"";
      AppendXmlEscaped(out, ViewOf(attribute->getNodeValue()));
      out += u'"';
    }
    out += u'>';
    AppendChildren(out, element);
    out += u"</";
    AppendName(out, element);
    out += u'>';
  }

  void AppendNode(std::u16string& out, const xc::DOMNode* node) const {
    switch (node->getNodeType()) {
      case xc::DOMNode::ELEMENT_NODE:
        AppendElement(out, static_cast<const xc::DOMElement*>(node));
        break;
      case xc::DOMNode::TEXT_NODE:
        AppendXmlEscaped(out, ViewOf(node->getNodeValue()));
        break;
      case xc::DOMNode::CDATA_SECTION_NODE:
        out += u"<![CDATA[";
        out += ViewOf(node->getNodeValue());
        out += u"]]>";
        break;
      default:  // comments and processing instructions are not carried
        break;
    }
  }

  const ComPtr<INvVexaNamespaces>& package_;
  const ComPtr<INvVexaNamespaces>& info_;
  std::vector<std::pair<Bstr, Bstr>> collected_;
};

}  // namespace

void AppendXmlValueText(std::u16string& out, const ComPtr<INvVexaXmlAttributeValue>& value,
                        const ComPtr<INvVexaNamespaces>& packageNamespaces,
                        const ComPtr<INvVexaNamespaces>& infoNamespaces) {
  const std::string wrapped = WrappedFragment(value);
  HardenedDomParser parser;
  const xc::DOMElement* wrapper = nullptr;
  try {
    wrapper = parser.Parse(wrapped)->getDocumentElement();
  } catch (const ENvException&) {
    throw ENvException("Invalid XML String in XmlAttributeValue");
  }
  FragmentWriter writer(packageNamespaces, infoNamespaces);
  for (const xc::DOMElement* child = wrapper->getFirstElementChild(); child != nullptr;
       child = child->getNextElementSibling())
    writer.Collect(child);
  writer.AppendDeclarations(out);
  out += u'>';
  writer.AppendChildren(out, wrapper);
}

}  // namespace nv
