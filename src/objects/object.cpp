#include "objects/object.h"

#include "archive/streams.h"
#include "frame/exception.h"
#include "objects/attribute_values_groups.h"

namespace nv {

ComPtr<INvVexaAttributesValues> CNvVexaObjectImpl::GetBehaviorValues(const BstrArg& behaviorUri) {
  if (!SupportsBehavior(behaviorUri)) {
    throw ENvException(u"Object of class \"" + std::u16string(className_.View()) +
                       u"\" does not support behavior \"" +
                       std::u16string(std::u16string_view(behaviorUri)) + u"\"");
  }
  return groups_.GetBehaviorValues(behaviorUri);
}

void CNvVexaObjectImpl::Save() {
  if (!stream_) throw ENvException("Cannot save object from Reader");
  DocumentText& text = DocumentText::ForThisThread();
  text.Clear();
  try {
    AppendObjectXML(text);
  } catch (...) {
    ThrowIfStreamFailed(stream_);
    throw;
  }
  text.WriteTo(stream_);
  saved_ = true;
}

Bstr CNvVexaObjectImpl::GetAttributesXML() {
  DocumentText text;
  AttributesValuesGroupsImpl(groups_)->AppendAttributesXML(text);
  return Bstr(text.ToString());
}

Bstr CNvVexaObjectImpl::AttributesXMLWith(const ComPtr<INvVexaNamespaces>& namespaces) const {
  DocumentText text;
  AttributesValuesGroupsImpl(groups_)->AppendAttributesXML(text, namespaces);
  return Bstr(text.ToString());
}

Bstr CNvVexaObjectImpl::GetObjectXML() {
  DocumentText text;
  AppendObjectXML(text);
  return Bstr(text.ToString());
}

bool CNvVexaObjectImpl::SupportsBehavior(const BstrArg& behaviorUri) {
  if (layout_) return layout_->BehaviorAttributes(behaviorUri) != nullptr;
  const ComPtr<INvVexaClass> vexaClass = schema_.Classes().ItemByName(className_);
  return vexaClass && vexaClass.SupportsBehavior(behaviorUri);
}

void CNvVexaObjectImpl::CreateForWriter(const BstrArg& className, const BstrArg& objectId,
                                        const ComPtr<ITStream>& stream,
                                        const ComPtr<INvVexaNamespaces>& namespaces,
                                        const ComPtr<INvVexaSchema>& schema,
                                        const ComPtr<INvVexaObjectWriter>& objectWriter) {
  CreateForWriter(className, objectId, stream, namespaces, schema, objectWriter, nullptr);
}

void CNvVexaObjectImpl::CreateForWriter(const BstrArg& className, const BstrArg& objectId,
                                        const ComPtr<ITStream>& stream,
                                        const ComPtr<INvVexaNamespaces>& namespaces,
                                        const ComPtr<INvVexaSchema>& schema,
                                        const ComPtr<INvVexaObjectWriter>& objectWriter,
                                        std::shared_ptr<const ClassLayout> layout) {
  stream_ = stream;
  namespaces_ = namespaces;
  objectWriter_ = objectWriter.get();
  Bind(className, objectId, schema, std::move(layout));
}

void CNvVexaObjectImpl::CreateForReader(const BstrArg& className, const BstrArg& objectId,
                                        const ComPtr<INvVexaSchema>& schema) {
  CreateForReader(className, objectId, schema, nullptr);
}

void CNvVexaObjectImpl::CreateForReader(const BstrArg& className, const BstrArg& objectId,
                                        const ComPtr<INvVexaSchema>& schema,
                                        std::shared_ptr<const ClassLayout> layout) {
  Bind(className, objectId, schema, std::move(layout));
}

void CNvVexaObjectImpl::Bind(const BstrArg& className, const BstrArg& objectId,
                             const ComPtr<INvVexaSchema>& schema,
                             std::shared_ptr<const ClassLayout> layout) {
  className_ = className;
  id_ = objectId;
  schema_ = schema;
  layout_ = std::move(layout);
  groups_ = MakeAttributesValuesGroups(schema_, namespaces_, className_, true, layout_);
}

void CNvVexaObjectImpl::AppendObjectXML(DocumentText& out) const {
  // Class names and identifiers are XML names: nothing in them needs escaping.
  std::u16string& text = out.Text();
  text += u"<vexa:object xsi:type=\"tns:";
  text += className_.View();
  text += u"\" id=\"";
  text += id_.View();
  text += u"\">\n";
  AttributesValuesGroupsImpl(groups_)->AppendAttributesXML(out);
  out.Text() += u"</vexa:object>\n";
}

Bstr AttributesXMLWith(const ComPtr<INvVexaObject>& object,
                       const ComPtr<INvVexaNamespaces>& namespaces) {
  if (const CNvVexaObjectImpl* impl = ImplFrom<CNvVexaObject, INvVexaObjectCRaw>(object))
    return impl->AttributesXMLWith(namespaces);
  return object.as<INvVexaObjectCRaw>().GetAttributesXML();
}

}  // namespace nv
