#include "reader/object_reader.h"

#include "frame/exception.h"
#include "instance/names.h"
#include "objects/object.h"
#include "reader/value_elements.h"

namespace nv {

ComPtr<INvVexaObjectIterator> CNvVexaObjectReaderImpl::GetObjectIterator() {
  if (!iterator_) iterator_ = CreateObject<CNvVexaObjectIterator>(parser_, schema_);
  return iterator_;
}

CNvVexaObjectIteratorImpl::CNvVexaObjectIteratorImpl(std::shared_ptr<PullParser> parser,
                                                     ComPtr<INvVexaSchema> schema)
    : parser_(std::move(parser)),
      schema_(std::move(schema)),
      schemaUri_(schema_.SchemaURI()),
      classes_(schema_.Classes()) {
  PullParser& body = *parser_;
  if (body.AtEnd() || !body.IsStartElement(u"Body", kSoapEnvelopeNamespace)) {
    if (!body.AtEnd() && body.IsStartElement(u"Header", kSoapEnvelopeNamespace))
      throw ENvException(
          "VEXA_Data.xml file consists an Info section. The Info section must be read prior to "
          "reading the objects");
    throw ENvException("Invalid Vexa: Required element \"Body\" is missing");
  }
  body.NextSkipping(kSkippedTokens);
  Next();
}

void CNvVexaObjectIteratorImpl::Next() {
  PullParser& parser = *parser_;
  if (!parser.AtEnd() && parser.IsEndElement(u"Body", kSoapEnvelopeNamespace)) {
    atEnd_ = true;
    parser.NextSkipping(kSkippedTokens);
    return;
  }
  if (parser.AtEnd() || !parser.IsStartElement(u"object", kCoreNamespace))
    throw ENvException("Invalid Vexa: Unexpected token under element \"object\"");
  object_ = ReadObject();
}

ComPtr<INvVexaObject> CNvVexaObjectIteratorImpl::ReadObject() {
  PullParser& parser = *parser_;
  const auto type = parser.GetAttributeValue(u"type", kXmlSchemaInstanceNamespace);
  if (!type) throw ENvException("Invalid Vexa: Required attribute \"type\" is missing");
  const size_t colon = type->find(u':');
  const std::u16string_view prefix =
      colon == std::u16string_view::npos ? std::u16string_view() : type->substr(0, colon);
  const Bstr className(colon == std::u16string_view::npos ? *type : type->substr(colon + 1));
  const std::u16string_view classNamespace = parser.LookupNamespaceURI(prefix);
  if (classNamespace != schemaUri_.View())
    throw ENvException(u"Invalid Class Name namespace, expecting \"" + schemaUri_ +
                       u"\" found\"" + std::u16string(classNamespace) + u"\"");
  const auto id = parser.GetAttributeValue(u"id");
  if (!id) throw ENvException("Invalid Vexa: Required attribute \"id\" is missing");
  ComPtr<INvVexaObject> object = CreateObject<CNvVexaObject>();
  object.as<INvVexaObjectCRaw>().CreateForReader(className, *id, schema_);
  parser.NextSkipping(kSkippedTokens);
  const ComPtr<INvVexaClass> vexaClass = classes_.ItemByName(className);
  if (!vexaClass) throw ENvException(u"Unknown class " + className);
  parser.SkipTokens(kSkippedTokens);
  const ComPtr<INvVexaReadOnlyAttributes> attributes = vexaClass.AllAttributes();
  const ComPtr<INvVexaAttributesValues> values = object.Values();
  while (!parser.AtEnd()) {
    if (parser.IsEndElement(u"object", kCoreNamespace)) {
      parser.NextSkipping(kSkippedTokens);
      break;
    }
    ExpectToken(parser, ttStartElement);
    if (parser.CurrentToken().ns == schemaUri_.View())
      ReadAttributeElement(attributes.ItemByName(parser.CurrentToken().localName), values,
                           className);
    else
      ReadBehaviorElement(object, vexaClass);
  }
  return object;
}

void CNvVexaObjectIteratorImpl::ReadBehaviorElement(const ComPtr<INvVexaObject>& object,
                                                    const ComPtr<INvVexaClass>& vexaClass) {
  PullParser& parser = *parser_;
  const std::u16string ns(parser.CurrentToken().ns);
  const std::u16string name(parser.CurrentToken().localName);
  const Bstr uri(ns + u"#" + name);
  const ComPtr<INvVexaAttributesValues> values = object.GetBehaviorValues(uri);
  const ComPtr<INvVexaAttributes> attributes =
      vexaClass.AllBehaviors().ItemByURI(uri).Attributes();
  const Bstr className = vexaClass.Name();
  parser.NextSkipping(kSkippedTokens);
  while (!parser.AtEnd() && !parser.IsEndElement(name, ns)) {
    ExpectToken(parser, ttStartElement);
    ReadAttributeElement(attributes.ItemByName(parser.CurrentToken().localName), values,
                         className);
  }
  if (!parser.AtEnd()) parser.NextSkipping(kSkippedTokens);
}

void CNvVexaObjectIteratorImpl::ReadAttributeElement(
    const ComPtr<INvVexaAttribute>& attribute, const ComPtr<INvVexaAttributesValues>& values,
    const Bstr& className) {
  PullParser& parser = *parser_;
  const Bstr name(parser.CurrentToken().localName);
  if (!attribute)
    throw ENvException(u"Unknown Attribute \"" + name + u"\" for class \"" + className + u"\"");
  ValueElement read = ReadValueElement(parser, attribute.TypeDefinition().ValueType());
  if (read.reference) {
    values.PutItem(name, Variant(Bstr(*read.reference)));
  } else if (read.empty) {
    values.PutItem(name, Variant(u""));
  } else {
    if (read.value.vt == VT_NULL && !attribute.IsNullAllowed())
      throw ENvException(
          u"Invalid Vexa: According to schema, Null value is not allowed for attribute \"" + name +
          u"\"");
    values.PutItem(name, read.value);
  }
  ExpectToken(parser, ttEndElement);
  parser.NextSkipping(kSkippedTokens);
}

}  // namespace nv
