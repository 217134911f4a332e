#include "writer/object_writer.h"

#include <string>

#include "frame/exception.h"
#include "schema/impl_cast.h"
#include "schema/ncname.h"
#include "writer/object.h"
#include "writer/reserved_class_names.h"

namespace nv {

ComPtr<INvVexaClass> CNvVexaObjectWriterImpl::FindClass(Bstr& name) const {
  const ComPtr<INvVexaClasses> classes = schema_.Classes();
  if (ComPtr<INvVexaClass> found = classes.ItemByName(name)) return found;
  name = Bstr(MappedReservedClassName(name.View()));
  if (ComPtr<INvVexaClass> found = classes.ItemByName(name)) return found;
  throw ENvException(u"class " + std::u16string(name.View()) + u" does not exist in schema");
}

ComPtr<INvVexaObject> CNvVexaObjectWriterImpl::NewObject(const BstrArg& vexaClassName,
                                                         const BstrArg& uniqueId) {
  Bstr name = vexaClassName;
  const Bstr id = uniqueId;
  if (name.Empty())
    throw ENvException(u"missing class Name for object " + std::u16string(id.View()));
  if (id.Empty()) throw ENvException("missing Unique Id for object");
  if (!IsValidNCName(id.View()))
    throw ENvException(u"Invalid value for Id: " + std::u16string(id.View()));
  const ComPtr<INvVexaClass> vexaClass = FindClass(name);
  if (vexaClass.IsAbstract()) {
    throw ENvException(u"Cannot create instances of class " + std::u16string(name.View()) +
                       u". This is an abstarct class");
  }
  ComPtr<INvVexaObject> made = CreateObject<CNvVexaObject>();
  made.as<INvVexaObjectCRaw>().CreateForWriter(name, id, stream_, namespaces_, schema_,
                                               SelfAs<INvVexaObjectWriter>(this));
  return made;
}

void CNvVexaObjectWriterImpl::Create(const ComPtr<ITStream>& stream,
                                     const ComPtr<INvVexaNamespaces>& namespaces,
                                     const ComPtr<INvVexaSchema>& schema) {
  stream_ = stream;
  namespaces_ = namespaces;
  schema_ = schema;
}

ComPtr<INvVexaObjectWriter> MakeObjectWriter(const ComPtr<ITStream>& stream,
                                             const ComPtr<INvVexaNamespaces>& namespaces,
                                             const ComPtr<INvVexaSchema>& schema) {
  ComPtr<INvVexaObjectWriter> made = CreateObject<CNvVexaObjectWriter>();
  made.as<INvVexaObjectWriterCRaw>().Create(stream, namespaces, schema);
  return made;
}

}  // namespace nv
