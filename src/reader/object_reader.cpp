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
      content_(*parser_, schemaUri_),
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

std::shared_ptr<const ClassLayout> CNvVexaObjectIteratorImpl::LayoutOf(const Bstr& className) {
  if (const auto found = layouts_.find(className.View()); found != layouts_.end())
    return found->second;
  const ComPtr<INvVexaClass> vexaClass = classes_.ItemByName(className);
  if (!vexaClass) throw ENvException(u"Unknown class " + className);
  auto layout = std::make_shared<const ClassLayout>(vexaClass, nullptr);
  layouts_.emplace(std::u16string(className.View()), layout);
  return layout;
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
    throw ENvException(u"Invalid Class Name namespace, expecting \"" + schemaUri_ + u"\" found\"" +
                       std::u16string(classNamespace) + u"\"");
  const auto id = parser.GetAttributeValue(u"id");
  if (!id) throw ENvException("Invalid Vexa: Required attribute \"id\" is missing");
  const Bstr objectId(*id);
  parser.NextSkipping(kSkippedTokens);
  const std::shared_ptr<const ClassLayout> layout = LayoutOf(className);
  ComPtr<INvVexaObject> object = CreateObject<CNvVexaObject>();
  ImplFrom<CNvVexaObject, INvVexaObjectCRaw>(object)->CreateForReader(className, objectId, schema_,
                                                                      layout);
  ObjectValuesOf target(object);
  content_.Read(target, className, u"object", kCoreNamespace);
  return object;
}

}  // namespace nv
