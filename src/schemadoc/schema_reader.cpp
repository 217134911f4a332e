#include "schemadoc/schema_reader.h"

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/dom/DOM.hpp>

#include "frame/exception.h"
#include "instance/info.h"
#include "instance/names.h"
#include "instance/value_elements.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/paths.h"
#include "platform/temp_folder.h"
#include "schema/behaviors.h"
#include "schema/schema.h"
#include "schemadoc/schema_elements.h"
#include "values/data_type_names.h"
#include "values/text_to_value.h"
#include "values/xml_escape.h"
#include "xml/hardened_dom_parser.h"

namespace nv {
namespace {

namespace xc = xercesc;

// Larger than any schema document of a real product model.
constexpr uint64_t kMaxSchemaDocumentBytes = uint64_t{1} << 30;

constexpr std::u16string_view kXmlnsNamespace = u"http://www.w3.org/2000/xmlns/";

bool IsElement(const xc::DOMElement* element, std::u16string_view ns, std::u16string_view name) {
  return ViewOf(element->getNamespaceURI()) == ns && ViewOf(element->getLocalName()) == name;
}

// The first child element of that name in the XML Schema namespace, or null.
const xc::DOMElement* SchemaChild(const xc::DOMElement* parent, std::u16string_view name) {
  for (const xc::DOMElement* child = parent->getFirstElementChild(); child;
       child = child->getNextElementSibling())
    if (IsElement(child, kXmlSchemaNamespace, name)) return child;
  return nullptr;
}

// Calls `use` with each child element of that namespace and name.
template <class F>
void ForEachChild(const xc::DOMElement* parent, std::u16string_view ns, std::u16string_view name,
                  F&& use) {
  for (const xc::DOMElement* child = parent->getFirstElementChild(); child;
       child = child->getNextElementSibling())
    if (IsElement(child, ns, name)) use(child);
}

template <class F>
void ForEachSchemaChild(const xc::DOMElement* parent, std::u16string_view name, F&& use) {
  ForEachChild(parent, kXmlSchemaNamespace, name, use);
}

// An attribute without namespace (ns empty) or in `ns`; nothing when absent.
std::optional<std::u16string_view> OptionalAttribute(const xc::DOMElement* element,
                                                     std::u16string_view name,
                                                     std::u16string_view ns = {}) {
  const std::u16string nameText(name);
  const std::u16string nsText(ns);
  const xc::DOMAttr* attribute =
      ns.empty() ? element->getAttributeNode(nameText.c_str())
                 : element->getAttributeNodeNS(nsText.c_str(), nameText.c_str());
  if (attribute == nullptr) return std::nullopt;
  return ViewOf(attribute->getValue());
}

std::u16string_view RequiredAttribute(const xc::DOMElement* element, std::u16string_view name,
                                      std::u16string_view ns = {}) {
  const auto value = OptionalAttribute(element, name, ns);
  if (!value)
    throw ENvException(u"Required attribute \"" + std::u16string(name) + u"\" is missing");
  if (value->empty())
    throw ENvException(u"Empty string is not allowed for attribute \"" + std::u16string(name) +
                       u"\"");
  return *value;
}

std::u16string_view CoreAttribute(const xc::DOMElement* element, std::u16string_view name) {
  return RequiredAttribute(element, name, kCoreNamespace);
}

std::optional<std::u16string_view> OptionalCoreAttribute(const xc::DOMElement* element,
                                                         std::u16string_view name) {
  return OptionalAttribute(element, name, kCoreNamespace);
}

// A qualified name held in an attribute value, resolved by the namespace
// declarations in scope on the element that carries it. An undeclared
// prefix resolves to no namespace.
struct QualifiedName {
  std::u16string ns;
  std::u16string local;
};

QualifiedName Resolve(const xc::DOMElement* element, std::u16string_view value) {
  const size_t colon = value.find(u':');
  const std::u16string prefix(colon == std::u16string_view::npos ? u"" : value.substr(0, colon));
  const XMLCh* ns = element->lookupNamespaceURI(prefix.empty() ? nullptr : prefix.c_str());
  return {std::u16string(ViewOf(ns)),
          std::u16string(colon == std::u16string_view::npos ? value : value.substr(colon + 1))};
}

// The local name of the element's data-model role, which must be a name of
// the core namespace.
std::u16string DataModelRole(const xc::DOMElement* element) {
  const auto value = OptionalCoreAttribute(element, u"dataModelRole");
  if (!value) throw ENvException("Required attribute \"dataModelRole\" is missing");
  if (value->empty())
    throw ENvException("Empty string is not allowd for value of attribute \"dataModelRole\"");
  QualifiedName role = Resolve(element, *value);
  if (role.ns != kCoreNamespace)
    throw ENvException("element \"dataModelRole\" must be from Vexa namespace");
  return std::move(role.local);
}

// Exactly "true" or "false", else `message`.
bool BooleanAttribute(std::u16string_view text, const std::u16string& message) {
  try {
    return BooleanFromText(text);
  } catch (const ENvException&) {
    throw ENvException(message);
  }
}

// A type name of an attribute element or an Info item: the core names of
// object references and XML, else an XML Schema type name (Info items write
// every name without prefix, so the local name decides).
DataTypeEnum DataTypeOf(const QualifiedName& type) {
  if (type.local == u"objectReference" && type.ns == kCoreNamespace) return dtObjectReference;
  return LocalTypeNameToDataType(type.local);
}

// The namespace declarations in force on `element`, the nearest first.
std::vector<XmlNamespaceDeclaration> DeclarationsInScope(const xc::DOMElement* element) {
  std::vector<XmlNamespaceDeclaration> found;
  std::set<std::u16string, std::less<>> seen;
  for (const xc::DOMNode* at = element; at && at->getNodeType() == xc::DOMNode::ELEMENT_NODE;
       at = at->getParentNode()) {
    const xc::DOMNamedNodeMap* attributes = at->getAttributes();
    for (XMLSize_t k = 0; k < attributes->getLength(); ++k) {
      const xc::DOMNode* attribute = attributes->item(k);
      if (ViewOf(attribute->getNamespaceURI()) != kXmlnsNamespace) continue;
      const std::u16string_view name = ViewOf(attribute->getNodeName());
      const std::u16string prefix(name == u"xmlns" ? u"" : name.substr(6));
      if (seen.insert(prefix).second)
        found.push_back({Bstr(prefix), Bstr(ViewOf(attribute->getNodeValue()))});
    }
  }
  return found;
}

// The markup of the element's children, as the document spells it.
void AppendMarkup(std::u16string& out, const xc::DOMNode* parent) {
  for (const xc::DOMNode* node = parent->getFirstChild(); node; node = node->getNextSibling()) {
    switch (node->getNodeType()) {
      case xc::DOMNode::ELEMENT_NODE: {
        const std::u16string_view name = ViewOf(node->getNodeName());
        out += u'<';
        out += name;
        const xc::DOMNamedNodeMap* attributes = node->getAttributes();
        for (XMLSize_t k = 0; k < attributes->getLength(); ++k)
          AppendXmlAttribute(out, ViewOf(attributes->item(k)->getNodeName()),
                             ViewOf(attributes->item(k)->getNodeValue()));
        out += u'>';
        AppendMarkup(out, node);
        out += u"</";
        out += name;
        out += u'>';
        break;
      }
      case xc::DOMNode::TEXT_NODE:
      case xc::DOMNode::CDATA_SECTION_NODE:
        AppendXmlEscaped(out, ViewOf(node->getNodeValue()));
        break;
      default:
        break;
    }
  }
}

// The text of a value read as `type`, an XML text with the declarations in
// force on `element`.
Variant ValueOfText(std::u16string_view text, DataTypeEnum type, const xc::DOMElement* element) {
  if (type != dtXML) return TextToValue(text, type, nullptr);
  const std::vector<XmlNamespaceDeclaration> declarations = DeclarationsInScope(element);
  const XmlValueContext context = XmlValueContextFor(declarations);
  return TextToValue(text, type, &context);
}

// The value of an Info item element: nil, a reference, XML content or text.
Variant InfoItemValue(const xc::DOMElement* element, DataTypeEnum type) {
  if (OptionalAttribute(element, u"nil", kXmlSchemaInstanceNamespace) == u"true") {
    Variant null;
    null.vt = VT_NULL;
    return null;
  }
  if (type == dtObjectReference)
    return ValueOfText(OptionalAttribute(element, u"href").value_or(u""), type, element);
  if (type == dtXML) {
    std::u16string markup;
    AppendMarkup(markup, element);
    return ValueOfText(markup, type, element);
  }
  return ValueOfText(ViewOf(element->getTextContent()), type, element);
}

// What one Load reads: the document's bytes and where its relative imports
// are looked for (a folder or a URL).
struct FetchedDocument {
  std::string bytes;
  Bstr folder;
  Bstr url;
};

class SchemaDocumentReader {
 public:
  SchemaDocumentReader(ComPtr<INvVexaSchema> schema, SchemaReadOptions options,
                       std::set<std::u16string>& readNamespaces)
      : schema_(std::move(schema)), options_(std::move(options)), readNamespaces_(readNamespaces) {}

  void Load(const Bstr& location);

 private:
  FetchedDocument Fetch(const Bstr& location) const;
  void ReadTargetNamespace(const xc::DOMElement* root, const Bstr& location);
  void ReadImport(const xc::DOMElement* import, const FetchedDocument& from);
  Bstr ImportedLocation(std::u16string_view location, const FetchedDocument& from) const;
  void ReadClass(const xc::DOMElement* type);
  void ReadParent(const ComPtr<INvVexaClass>& vexaClass, const xc::DOMElement* extension);
  void ReadSequence(const xc::DOMElement* sequence, const ComPtr<INvVexaClass>& vexaClass,
                    const ComPtr<INvVexaAttributes>& attributes);
  void ReadAttribute(const xc::DOMElement* element, const ComPtr<INvVexaAttributes>& attributes);
  void ReadBehaviorReference(const xc::DOMElement* element, const ComPtr<INvVexaClass>& vexaClass);
  void ReadBehaviorType(const xc::DOMElement* type);
  void ReadDomainBehaviors(const xc::DOMElement* appinfo);
  void ReadRole(const xc::DOMElement* role,
                const ComPtr<INvVexaDomainBehaviorRoleClassMapping>& roles);
  void ReadInfoItems(const xc::DOMElement* appinfo);
  void ConnectParents();

  ComPtr<INvVexaSchema> schema_;
  const SchemaReadOptions options_;
  // Shared with the nested readers of imported documents: each namespace once.
  std::set<std::u16string>& readNamespaces_;
  std::u16string targetNamespace_;
  ComPtr<INvVexaClasses> classes_;
  // Classes whose parent is connected once every class exists.
  std::vector<std::pair<ComPtr<INvVexaClass>, std::u16string>> parents_;
};

FetchedDocument SchemaDocumentReader::Fetch(const Bstr& location) const {
  FetchedDocument fetched;
  if (IsFileNameURL(location.View()) && !location.View().starts_with(u"file:")) {
    const TempFolder folder;
    const Bstr file = JoinPath(folder.Path().View(), u"VEXA_Schema.xsd");
    const ComPtr<INvVexaInitializationData> data = ContextOf(schema_).initializationData;
    HttpUtils({.maxBytes = kMaxSchemaDocumentBytes})
        .Download(location.View(), file.View(), kVexaUserAgent,
                  data ? data.GetProxy().View() : std::u16string_view());
    fetched.bytes = ReadFileBytes(file.View(), kMaxSchemaDocumentBytes);
    fetched.url = location;
    return fetched;
  }
  const Bstr fileName = location.View().starts_with(u"file:")
                            ? GetFileNameFromFileSystemURI(location.View())
                            : location;
  if (!FileExists(fileName.View()))
    throw ENvException(u"File \"" + fileName + u"\" does not exist");
  fetched.bytes = ReadFileBytes(fileName.View(), kMaxSchemaDocumentBytes);
  const std::u16string_view name = fileName.View();
  const size_t slash = name.find_last_of(u"/\\");
  fetched.folder = Bstr(slash == std::u16string_view::npos ? u"." : name.substr(0, slash + 1));
  return fetched;
}

void SchemaDocumentReader::Load(const Bstr& location) {
  const FetchedDocument fetched = Fetch(location);
  HardenedDomParser parser;
  const xc::DOMElement* root = parser.Parse(fetched.bytes, location.View())->getDocumentElement();
  if (root == nullptr) throw ENvException("Invalid XML document: missing Document Element");
  const std::u16string_view rootName = ViewOf(root->getLocalName());
  if (rootName != u"schema")
    throw ENvException(u"Unexpected document element name \"" + std::u16string(rootName) +
                       u" \"Expecting \"schema\"");
  ReadTargetNamespace(root, location);
  classes_ = schema_.Classes();
  ForEachSchemaChild(root, u"import", [&](const xc::DOMElement* e) { ReadImport(e, fetched); });
  ForEachSchemaChild(root, u"complexType", [&](const xc::DOMElement* type) {
    if (DataModelRole(type) == u"class") ReadClass(type);
  });
  if (const xc::DOMElement* annotation = SchemaChild(root, u"annotation")) {
    if (const xc::DOMElement* appinfo = SchemaChild(annotation, u"appinfo")) {
      ReadDomainBehaviors(appinfo);
      ReadInfoItems(appinfo);
    }
  }
  ForEachSchemaChild(root, u"complexType", [&](const xc::DOMElement* type) {
    if (DataModelRole(type) == u"class_behavior") ReadBehaviorType(type);
  });
  ConnectParents();
}

void SchemaDocumentReader::ReadTargetNamespace(const xc::DOMElement* root, const Bstr& location) {
  // Behaviours may share the schema's namespace: their document is still imported.
  targetNamespace_ = RequiredAttribute(root, u"targetNamespace");
  if (options_.isBehaviorSchema) return;
  schema_.PutSchemaURI(Bstr(targetNamespace_));
  schema_.as<INvVexaSchemaCRaw>().Set_SchemaLocation(location);
}

void SchemaDocumentReader::ReadImport(const xc::DOMElement* import, const FetchedDocument& from) {
  const auto location = OptionalAttribute(import, u"schemaLocation");
  if (location == kCoreSchemaLocation || location == kSoapEnvelopeNamespace) return;
  const std::u16string ns(RequiredAttribute(import, u"namespace"));
  if (!readNamespaces_.insert(ns).second) return;
  const SchemaServices* services = ContextOf(schema_).services.get();
  if (services && services->IsStandardBehaviorNamespace(ns)) {
    services->DefineStandardBehaviors(schema_, ns);
    return;
  }
  if (!location || location->empty())
    throw ENvException("Required attribute \"schemaLocation\" is missing");
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema_.ClassesBehaviors();
  const LONG before = behaviors.Count();
  SchemaDocumentReader nested(schema_, {true, options_.extractedFilesDir}, readNamespaces_);
  nested.Load(ImportedLocation(*location, from));
  if (IsRelativePath(*location)) return;  // a document beside this one: the behaviours travel along
  // A behaviour kept elsewhere stays there, so that it is written as it was read.
  const Bstr kept =
      location->starts_with(u"file:") ? GetFileNameFromFileSystemURI(*location) : Bstr(*location);
  for (LONG k = before, count = behaviors.Count(); k < count; ++k)
    behaviors.Item(k).PutSchemaLocation(kept);
}

// Absolute names, "file:" URIs and URLs are read as given; a relative name is
// looked for in the extraction folder, or beside the importing document, and
// may not leave it.
Bstr SchemaDocumentReader::ImportedLocation(std::u16string_view location,
                                            const FetchedDocument& from) const {
  const Bstr& base = !options_.extractedFilesDir.Empty() ? options_.extractedFilesDir
                     : !from.url.Empty()                 ? from.url
                                                         : from.folder;
  return LocationInFolder(location, base.View(), u"\"" + std::u16string(base.View()) + u"\"");
}

void SchemaDocumentReader::ReadClass(const xc::DOMElement* type) {
  const std::u16string_view name = RequiredAttribute(type, u"name");
  const ComPtr<INvVexaClass> vexaClass = classes_.Add(name);
  if (const auto abstract = OptionalAttribute(type, u"abstract"))
    vexaClass.PutIsAbstract(BooleanAttribute(
        *abstract,
        u"Invalid value \"" + std::u16string(*abstract) + u"\" for the attribute \"abstract\""));
  const xc::DOMElement* content = SchemaChild(type, u"complexContent");
  const xc::DOMElement* extension = content ? SchemaChild(content, u"extension") : nullptr;
  if (extension == nullptr)
    throw ENvException(u"Invalid Vexa: class \"" + std::u16string(name) +
                       u"\" has no complexContent extension");
  ReadParent(vexaClass, extension);
  if (const xc::DOMElement* sequence = SchemaChild(extension, u"sequence"))
    ReadSequence(sequence, vexaClass, vexaClass.CurrentClassAttributes());
}

void SchemaDocumentReader::ReadParent(const ComPtr<INvVexaClass>& vexaClass,
                                      const xc::DOMElement* extension) {
  QualifiedName base = Resolve(extension, RequiredAttribute(extension, u"base"));
  if (base.ns == kCoreNamespace && base.local == u"root") return;
  if (base.ns != targetNamespace_)
    throw ENvException(
        "Unexpected parent class: Class can only inherit \"vexa:root\" or other classes from the "
        "schema target namespace");
  parents_.emplace_back(vexaClass, std::move(base.local));
}

void SchemaDocumentReader::ReadSequence(const xc::DOMElement* sequence,
                                        const ComPtr<INvVexaClass>& vexaClass,
                                        const ComPtr<INvVexaAttributes>& attributes) {
  ForEachSchemaChild(sequence, u"element", [&](const xc::DOMElement* element) {
    if (vexaClass && OptionalAttribute(element, u"ref"))
      ReadBehaviorReference(element, vexaClass);
    else if (DataModelRole(element) == u"attribute")
      ReadAttribute(element, attributes);
    else
      throw ENvException(u"Invalid Vexa: element \"" +
                         std::u16string(OptionalAttribute(element, u"name").value_or(u"")) +
                         u"\" is neither an attribute nor a behavior reference");
  });
}

// The type of an attribute element: its type attribute, or a string
// restriction that limits the length (given in `maxLength`).
DataTypeEnum AttributeType(const xc::DOMElement* element, std::u16string_view name,
                           LONG& maxLength) {
  if (const auto type = OptionalAttribute(element, u"type"))
    return DataTypeOf(Resolve(element, *type));
  const xc::DOMElement* simpleType = SchemaChild(element, u"simpleType");
  const xc::DOMElement* restriction =
      simpleType ? SchemaChild(simpleType, u"restriction") : nullptr;
  if (restriction == nullptr)
    throw ENvException(u"Invalid Vexa: missing type for attribute \"" + std::u16string(name) +
                       u"\"");
  const auto base = OptionalAttribute(restriction, u"base");
  if (!base)
    throw ENvException("Invalid Vexa: Missing attribute \"type\" for element \"restriction\"");
  if (Resolve(restriction, *base).local != u"string")
    throw ENvException(u"Invalid Vexa: missing type for attribute \"" + std::u16string(name) +
                       u"\"");
  if (const xc::DOMElement* limit = SchemaChild(restriction, u"maxLength")) {
    const auto value = OptionalAttribute(limit, u"value");
    if (!value)
      throw ENvException("Invalid Vexa: Missing attribute \"value\" for element \"maxLength\"");
    try {
      maxLength = TextToValue(*value, dtInt, nullptr).lVal;
    } catch (const ENvException&) {
      throw ENvException(u"Invalid value \"" + std::u16string(*value) +
                         u"\" for the attribute \"value\" of element \"maxLength\"");
    }
  }
  return dtString;
}

ObjectReferenceRestrictionTypeEnum RestrictionTypeOf(std::u16string_view text) {
  if (text == u"Any") return ortAny;
  if (text == u"Class") return ortClass;
  if (text == u"ClassAndDescendants") return ortClassAndDescendants;
  if (text == u"Behavior") return ortBehavior;
  throw ENvException(u"Unknown objectReferenceRestriction type \"" + std::u16string(text) + u"\"");
}

void ReadRestriction(const xc::DOMElement* element,
                     const ComPtr<INvVexaObjectReferenceTypeDefinition>& reference) {
  const auto text = OptionalCoreAttribute(element, u"restrictionType");
  const ObjectReferenceRestrictionTypeEnum type = text ? RestrictionTypeOf(*text) : ortAny;
  if (type == ortAny) return;
  reference.PutRestrictionType(type);
  if (type == ortBehavior) {
    const auto uri = OptionalCoreAttribute(element, u"restrictionBehaviorURI");
    if (!uri || uri->empty())
      throw ENvException(
          "Invalid Vexa: missing BehaviorURI for ObjectReferenceRestriction of type \"behavior\"");
    reference.PutBehaviorURI(*uri);
  } else {
    const auto className = OptionalCoreAttribute(element, u"restrictionClassName");
    if (!className || className->empty())
      throw ENvException("Invalid Vexa: missing ClassName for ObjectReferenceRestriction");
    reference.PutClassName(*className);
  }
}

void ReadDefault(const xc::DOMElement* element, const ComPtr<INvVexaAttribute>& attribute,
                 std::u16string_view name, DataTypeEnum type) {
  const auto text = OptionalAttribute(element, u"default");
  if (!text) return;
  // An XML default is markup text, as clients give it.
  if (type == dtXML) {
    attribute.PutDefaultValue(Variant(*text));
    return;
  }
  try {
    attribute.PutDefaultValue(ValueOfText(*text, type, element));
  } catch (const ENvException& e) {
    throw ENvException(u"Invalid default value \"" + std::u16string(*text) +
                       u"\" for attribute \"" + std::u16string(name) + u"\": " + e.Message());
  }
}

void SchemaDocumentReader::ReadAttribute(const xc::DOMElement* element,
                                         const ComPtr<INvVexaAttributes>& attributes) {
  const std::u16string_view name = RequiredAttribute(element, u"name");
  const ComPtr<INvVexaAttribute> attribute = attributes.Add(name);
  LONG maxLength = 0;
  const DataTypeEnum type = AttributeType(element, name, maxLength);
  const ComPtr<INvVexaTypeDefinition> definition = attribute.TypeDefinition();
  definition.PutValueType(type);
  if (maxLength != 0) definition.StringType().PutMaxLength(maxLength);
  const auto minOccurs = OptionalAttribute(element, u"minOccurs");
  attribute.PutRequired(!minOccurs || *minOccurs == u"1");
  attribute.PutIsNullAllowed(OptionalAttribute(element, u"nillable") == u"true");
  ReadDefault(element, attribute, name, type);
  if (const auto primary = OptionalCoreAttribute(element, u"primary"))
    attribute.PutIsPrimary(BooleanAttribute(
        *primary, u"Invalid value\"" + std::u16string(*primary) + u"\" for element \"primary\""));
  if (type == dtObjectReference) ReadRestriction(element, definition.ObjectReferenceType());
}

void SchemaDocumentReader::ReadBehaviorReference(const xc::DOMElement* element,
                                                 const ComPtr<INvVexaClass>& vexaClass) {
  const QualifiedName ref = Resolve(element, RequiredAttribute(element, u"ref"));
  const Bstr uri(ref.ns + u"#" + ref.local);
  MustUnderstandEnum mustUnderstand = muNo;
  if (const auto mark = OptionalCoreAttribute(element, u"mustUnderstand")) {
    if (*mark == u"yes")
      mustUnderstand = muYes;
    else if (*mark != u"no")
      throw ENvException(u"Unknown MustUnderstand type \"" + std::u16string(*mark) + u"\"");
  }
  vexaClass.CurrentClassBehaviors().Add(schema_.ClassesBehaviors().ItemByURI(uri), mustUnderstand);
}

void SchemaDocumentReader::ReadBehaviorType(const xc::DOMElement* type) {
  const std::u16string_view name = RequiredAttribute(type, u"name");
  const ComPtr<INvVexaClassBehavior> behavior = schema_.ClassesBehaviors().Add(
      mtEmbedded, Bstr(targetNamespace_ + u"#" + std::u16string(name)), u"", false);
  const xc::DOMElement* content = SchemaChild(type, u"complexContent");
  const xc::DOMElement* extension = content ? SchemaChild(content, u"extension") : nullptr;
  const xc::DOMElement* sequence = extension ? SchemaChild(extension, u"sequence") : nullptr;
  if (sequence) ReadSequence(sequence, nullptr, behavior.Attributes());
}

void SchemaDocumentReader::ReadDomainBehaviors(const xc::DOMElement* appinfo) {
  const ComPtr<INvVexaDomainBehaviors> domainBehaviors = schema_.DomainBehaviors();
  ForEachChild(appinfo, kCoreNamespace, u"domainBehaviors", [&](const xc::DOMElement* list) {
    ForEachChild(list, kCoreNamespace, u"behavior", [&](const xc::DOMElement* behavior) {
      const ComPtr<INvVexaDomainBehaviorRoleClassMapping> roles =
          domainBehaviors.Add(CoreAttribute(behavior, u"uri")).RoleClassMapping();
      ForEachChild(behavior, kCoreNamespace, u"role",
                   [&](const xc::DOMElement* role) { ReadRole(role, roles); });
    });
  });
}

void SchemaDocumentReader::ReadRole(const xc::DOMElement* role,
                                    const ComPtr<INvVexaDomainBehaviorRoleClassMapping>& roles) {
  const std::u16string_view roleName = CoreAttribute(role, u"name");
  const auto classText = OptionalCoreAttribute(role, u"class");
  if (!classText || classText->empty())
    throw ENvException("failed reading \"class\" attribute in domain behavior");
  const QualifiedName className = Resolve(role, *classText);
  if (className.ns != targetNamespace_)
    throw ENvException(
        "The value of \"Class\" in global behavior must be from the schema namespace");
  const ComPtr<INvVexaClass> vexaClass = classes_.ItemByName(Bstr(className.local));
  if (!vexaClass) throw ENvException(u"Class \"" + className.local + u"\" does not exist");
  roles.PutItem(roleName, vexaClass);
}

// The schema's Info items, one element each in the Header, typed by their
// type attribute.
void SchemaDocumentReader::ReadInfoItems(const xc::DOMElement* appinfo) {
  const ComPtr<INvVexaInfo> info = schema_.Info();
  ForEachChild(appinfo, kSoapEnvelopeNamespace, u"Header", [&](const xc::DOMElement* header) {
    for (const xc::DOMElement* element = header->getFirstElementChild(); element;
         element = element->getNextElementSibling()) {
      const ComPtr<INvVexaInfoItem> item =
          info.GetInfoItem(ViewOf(element->getLocalName()), ViewOf(element->getNamespaceURI()));
      auto type = OptionalAttribute(element, u"type", kXmlSchemaNamespace);
      if (!type) type = OptionalAttribute(element, u"type", kXmlSchemaInstanceNamespace);
      if (!type) throw ENvException("Required attribute \"type\" is missing");
      const DataTypeEnum valueType = DataTypeOf(Resolve(element, *type));
      item.PutValueType(valueType);
      item.PutValue(InfoItemValue(element, valueType));
      if (const auto mark = OptionalCoreAttribute(element, u"mustUnderstand"))
        item.PutMustUnderstand(MustUnderstandFromText(*mark));
    }
  });
}

void SchemaDocumentReader::ConnectParents() {
  for (const auto& [vexaClass, parentName] : parents_) {
    const ComPtr<INvVexaClass> parent = classes_.ItemByName(Bstr(parentName));
    if (!parent) throw ENvException(u"Class  \"" + parentName + u"\" does not exist");
    vexaClass.PutParentClass(parent);
  }
}

}  // namespace

Bstr LocationInFolder(std::u16string_view location, std::u16string_view folder,
                      std::u16string_view folderName) {
  if (!IsRelativePath(location)) return Bstr(location);
  if (HasParentComponent(location))
    throw ENvException(u"Schema location \"" + std::u16string(location) + u"\" leaves the folder " +
                       std::u16string(folderName));
  return IsFileNameURL(folder) ? NvInternetCombineUrl(folder, location) : JoinPath(folder, location);
}

void ReadSchemaDocument(const ComPtr<INvVexaSchema>& schema, const Bstr& location,
                        const SchemaReadOptions& options) {
  std::set<std::u16string> readNamespaces;
  SchemaDocumentReader(schema, options, readNamespaces).Load(location);
}

}  // namespace nv
