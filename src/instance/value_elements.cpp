#include "instance/value_elements.h"

#include <utility>
#include <vector>
#include <xercesc/dom/DOM.hpp>

#include "frame/exception.h"
#include "frame/text.h"
#include "instance/names.h"
#include "values/value_to_text.h"
#include "values/xml_escape.h"
#include "xml/hardened_dom_parser.h"

namespace nv {

ComPtr<INvVexaNamespaces> CNvVexaXmlAttributeValueImpl::Namespaces() {
  if (!namespaces_) namespaces_ = CreateObject<CNvVexaNamespaces>();
  return namespaces_;
}

ComPtr<INvVexaXmlAttributeValue> MakeXmlAttributeValue() {
  return CreateObject<CNvVexaXmlAttributeValue>();
}

Variant XmlAttributeValueFromText(std::u16string_view text,
                                  std::span<const XmlNamespaceDeclaration> namespaces) {
  ComPtr<INvVexaXmlAttributeValue> value = MakeXmlAttributeValue();
  value.PutXML(text);
  ComPtr<INvVexaNamespaces> table = value.Namespaces();
  for (const XmlNamespaceDeclaration& declaration : namespaces)
    table.Add(declaration.uri, declaration.prefix);
  return Variant(static_cast<IDispatch*>(value.get()));
}

XmlValueContext XmlValueContextFor(const std::vector<XmlNamespaceDeclaration>& namespaces) {
  return XmlValueContext{&namespaces, &XmlAttributeValueFromText};
}

namespace {

namespace xc = xercesc;

constexpr std::u16string_view kXmlNamespace = u"http://www.w3.org/XML/1998/namespace";
constexpr std::u16string_view kXmlnsNamespace = u"http://www.w3.org/2000/xmlns/";

}  // namespace

std::string WrappedXmlFragment(const ComPtr<INvVexaXmlAttributeValue>& value) {
  std::u16string text = u"<" + std::u16string(kXmlFragmentWrapper);
  const ComPtr<INvVexaNamespaces> table = value.Namespaces();
  const LONG count = table.Count();
  for (LONG k = 0; k < count; ++k) {
    const Bstr ns = table.Item(k);
    const Bstr prefix = table.GetPrefix(ns);
    AppendXmlAttribute(text, prefix.Empty() ? u"xmlns" : u"xmlns:" + prefix, ns.View());
  }
  text += u'>';
  const Bstr xml = value.XML();
  // A character XML cannot carry would otherwise be changed on the way to
  // the parser rather than refused by it.
  CheckXmlCharacters(xml.View());
  text += xml.View();
  text += u"</" + std::u16string(kXmlFragmentWrapper) + u">";
  return Utf16ToUtf8(text);
}

namespace {

class FragmentWriter {
 public:
  explicit FragmentWriter(const XmlValueScope& scope) : scope_(scope) {}

  void Collect(const xc::DOMElement* element) {
    Need(ViewOf(element->getNamespaceURI()));
    const xc::DOMNamedNodeMap* attributes = element->getAttributes();
    for (XMLSize_t k = 0; k < attributes->getLength(); ++k)
      Need(ViewOf(attributes->item(k)->getNamespaceURI()));
    for (const xc::DOMElement* child = element->getFirstElementChild(); child != nullptr;
         child = child->getNextElementSibling())
      Collect(child);
  }

  void AppendDeclarations(std::u16string& out) const {
    for (const auto& [ns, prefix] : collected_) AppendXmlAttribute(out, u"xmlns:" + prefix, ns);
  }

  // `defaultInForce`: a default namespace declared around the value still
  // applies here, so an element without namespace must undeclare it.
  void AppendChildren(std::u16string& out, const xc::DOMNode* parent, bool defaultInForce) const {
    for (const xc::DOMNode* node = parent->getFirstChild(); node != nullptr;
         node = node->getNextSibling())
      AppendNode(out, node, defaultInForce);
  }

 private:
  void Need(std::u16string_view ns) {
    if (ns.empty() || ns == kXmlNamespace || ns == kXmlnsNamespace) return;
    if (!PrefixOf(ns).Empty()) return;
    collected_.emplace_back(Bstr(ns),
                            scope_.package.as<INvVexaNamespacesCRaw>().GetNextUniquePrefix());
  }

  Bstr PrefixOf(std::u16string_view ns) const {
    if (Bstr found = scope_.package.GetPrefix(ns); !found.Empty()) return found;
    if (scope_.info) {
      if (Bstr found = scope_.info->GetPrefix(ns); !found.Empty()) return found;
    }
    for (const auto& [collectedNs, prefix] : collected_)
      if (collectedNs.View() == ns) return prefix;
    return Bstr();
  }

  // The name by its namespace: the prefix this document gives that
  // namespace, or none for a name in no namespace.
  void AppendName(std::u16string& out, const xc::DOMNode* node) const {
    const std::u16string_view ns = ViewOf(node->getNamespaceURI());
    if (ns == kXmlNamespace) {
      out += u"xml:";
    } else if (!ns.empty()) {
      out += PrefixOf(ns).View();
      out += u':';
    }
    out += ViewOf(node->getLocalName() ? node->getLocalName() : node->getNodeName());
  }

  void AppendElement(std::u16string& out, const xc::DOMElement* element,
                     bool defaultInForce) const {
    out += u'<';
    AppendName(out, element);
    if (defaultInForce && ViewOf(element->getNamespaceURI()).empty()) {
      out += u" xmlns=\"\"";
      defaultInForce = false;
    }
    const xc::DOMNamedNodeMap* attributes = element->getAttributes();
    for (XMLSize_t k = 0; k < attributes->getLength(); ++k) {
      const xc::DOMNode* attribute = attributes->item(k);
      if (ViewOf(attribute->getNamespaceURI()) == kXmlnsNamespace) continue;
      std::u16string name;
      AppendName(name, attribute);
      AppendXmlAttribute(out, name, ViewOf(attribute->getNodeValue()));
    }
    out += u'>';
    AppendChildren(out, element, defaultInForce);
    out += u"</";
    AppendName(out, element);
    out += u'>';
  }

  void AppendNode(std::u16string& out, const xc::DOMNode* node, bool defaultInForce) const {
    switch (node->getNodeType()) {
      case xc::DOMNode::ELEMENT_NODE:
        AppendElement(out, static_cast<const xc::DOMElement*>(node), defaultInForce);
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

  const XmlValueScope& scope_;
  std::vector<std::pair<Bstr, Bstr>> collected_;
};

}  // namespace

void AppendXmlValueText(std::u16string& out, const ComPtr<INvVexaXmlAttributeValue>& value,
                        const XmlValueScope& scope) {
  HardenedDomParser parser;
  const xc::DOMElement* wrapper = nullptr;
  try {
    wrapper = parser.Parse(WrappedXmlFragment(value))->getDocumentElement();
  } catch (const ENvException&) {
    throw ENvException("Invalid XML String in XmlAttributeValue");
  }
  FragmentWriter writer(scope);
  for (const xc::DOMElement* child = wrapper->getFirstElementChild(); child != nullptr;
       child = child->getNextElementSibling())
    writer.Collect(child);
  std::u16string text;
  writer.AppendDeclarations(text);
  text += u'>';
  writer.AppendChildren(text, wrapper, scope.defaultNamespaceInScope);
  out += text;
}

namespace {

// The variant itself, or the one a by-reference variant points at.
const VARIANT& Dereferenced(const VARIANT& value) {
  if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr) return *value.pvarVal;
  return value;
}

ComPtr<INvVexaXmlAttributeValue> XmlValueOf(const VARIANT& value) {
  const VARIANT& held = Dereferenced(value);
  IUnknown* object = nullptr;
  if (held.vt == VT_DISPATCH) object = held.pdispVal;
  if (held.vt == VT_UNKNOWN) object = held.punkVal;
  if (object == nullptr) return nullptr;
  return ComPtr<IUnknown>(object).try_as<INvVexaXmlAttributeValue>();
}

// The value's lexical text; a string of a text type is escaped straight
// from the client's string, so a long one is never copied whole.
void AppendLexical(DocumentText& out, const VARIANT& value, DataTypeEnum type, XmlContext where) {
  if (value.vt == VT_BSTR && IsEscapedTextType(type)) {
    out.AppendEscaped(std::u16string_view(value.bstrVal, SysStringLen(value.bstrVal)), where);
    return;
  }
  AppendVexaVariantText(out.Text(), value, type, where);
}

}  // namespace

bool HoldsXmlAttributeValue(const VARIANT& value) { return static_cast<bool>(XmlValueOf(value)); }

void AppendValuePart(DocumentText& out, std::u16string_view endTag, const VARIANT& value,
                     DataTypeEnum type, const XmlValueScope& scope) {
  if (Dereferenced(value).vt == VT_NULL) {
    out.Text() += u" xsi:nil=\"true\"/>";
    return;
  }
  if (type == dtObjectReference) {
    out.Text() += u" href=\"";
    const size_t start = out.Text().size();
    AppendLexical(out, value, dtObjectReference, XmlContext::kAttribute);
    // A reader refuses a reference that names no identifier: never write one.
    const std::u16string_view href = std::u16string_view(out.Text()).substr(start);
    if (href.empty() || href == u"#") throw ENvException("Invalid empty object reference");
    out.Text() += u"\"/>";
    return;
  }
  if (type == dtXML) {
    const ComPtr<INvVexaXmlAttributeValue> xml = XmlValueOf(value);
    if (!xml) throw ENvException(kDtXmlAssignmentFailure);
    AppendXmlValueText(out.Text(), xml, scope);
    out.Text() += endTag;
    return;
  }
  out.Text() += u'>';
  AppendLexical(out, value, type, XmlContext::kText);
  out.Text() += endTag;
}

}  // namespace nv
