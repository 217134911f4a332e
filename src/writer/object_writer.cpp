#include "writer/object_writer.h"

#include <algorithm>
#include <array>
#include <string>

#include "frame/exception.h"
#include "frame/implements.h"
#include "instance/names.h"
#include "objects/object.h"

namespace nv {

ComPtr<INvVexaClass> CNvVexaObjectWriterImpl::FindClass(Bstr& name) const {
  const ComPtr<INvVexaClasses> classes = schema_.Classes();
  if (ComPtr<INvVexaClass> found = classes.ItemByName(name)) return found;
  name = Bstr(MappedReservedClassName(name.View()));
  if (ComPtr<INvVexaClass> found = classes.ItemByName(name)) return found;
  throw ENvException(u"class " + std::u16string(name.View()) + u" does not exist in schema");
}

const CNvVexaObjectWriterImpl::KnownClass& CNvVexaObjectWriterImpl::Known(
    std::u16string_view requestedName) {
  if (const auto found = classes_.find(requestedName); found != classes_.end())
    return found->second;
  KnownClass known;
  known.name = Bstr(requestedName);
  const ComPtr<INvVexaClass> vexaClass = FindClass(known.name);
  known.isAbstract = vexaClass.IsAbstract();
  known.layout =
      std::make_shared<const ClassLayout>(vexaClass, namespaces_, schema_.ClassesBehaviors());
  return classes_.emplace(std::u16string(requestedName), std::move(known)).first->second;
}

ComPtr<INvVexaObject> CNvVexaObjectWriterImpl::NewObject(const BstrArg& vexaClassName,
                                                         const BstrArg& uniqueId) {
  const std::u16string_view name = vexaClassName;
  const Bstr id = uniqueId;
  if (name.empty())
    throw ENvException(u"missing class Name for object " + std::u16string(id.View()));
  if (id.Empty()) throw ENvException("missing Unique Id for object");
  if (!IsValidNCName(id.View()))
    throw ENvException(u"Invalid value for Id: " + std::u16string(id.View()));
  const KnownClass& known = Known(name);
  if (known.isAbstract) {
    throw ENvException(u"Cannot create instances of class " + std::u16string(known.name.View()) +
                       u". This is an abstarct class");
  }
  ComPtr<INvVexaObject> made = CreateObject<CNvVexaObject>();
  ImplFrom<CNvVexaObject, INvVexaObjectCRaw>(made)->CreateForWriter(
      known.name, id, stream_, namespaces_, schema_, ComPtr<INvVexaObjectWriter>(self_),
      known.layout);
  return made;
}

void CNvVexaObjectWriterImpl::Create(const ComPtr<ITStream>& stream,
                                     const ComPtr<INvVexaNamespaces>& namespaces,
                                     const ComPtr<INvVexaSchema>& schema) {
  stream_ = stream;
  namespaces_ = namespaces;
  schema_ = schema;
  self_ = SelfAs<INvVexaObjectWriter>(this).get();
  classes_.clear();
}

ComPtr<INvVexaObjectWriter> MakeObjectWriter(const ComPtr<ITStream>& stream,
                                             const ComPtr<INvVexaNamespaces>& namespaces,
                                             const ComPtr<INvVexaSchema>& schema) {
  ComPtr<INvVexaObjectWriter> made = CreateObject<CNvVexaObjectWriter>();
  made.as<INvVexaObjectWriterCRaw>().Create(stream, namespaces, schema);
  return made;
}

namespace {
constexpr std::array<std::u16string_view, 8> kReservedNames = {
    u"__transaction",          u"__change",         u"__objectCreated",
    u"__objectValueModified",  u"__objectDeleted",  u"__fileDescription",
    u"__mainFile",             u"__secondaryFile"};
}  // namespace

std::u16string_view MappedReservedClassName(std::u16string_view name) noexcept {
  if (std::find(kReservedNames.begin(), kReservedNames.end(), name) == kReservedNames.end())
    return name;
  return name.substr(2);
}

}  // namespace nv
