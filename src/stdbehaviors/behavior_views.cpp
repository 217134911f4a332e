#include "stdbehaviors/behavior_views.h"

#include <string>

#include "frame/exception.h"
#include "frame/variant.h"
#include "stdbehaviors/catalogue.h"

namespace nv {
namespace {

class CNvVexaVersioningImpl : public BehaviorView {
 public:
  using BehaviorView::BehaviorView;
  virtual Bstr Version() { return StringProperty(Values(), u"version"); }
  virtual void PutVersion(const BstrArg& value) { PutStringProperty(Values(), u"version", value); }
  virtual Bstr PreviousVersion() { return StringProperty(Values(), u"previousVersion"); }
  virtual void PutPreviousVersion(const BstrArg& value) {
    PutStringProperty(Values(), u"previousVersion", value);
  }
};

class CNvVexaTimeStampImpl : public BehaviorView {
 public:
  using BehaviorView::BehaviorView;
  virtual double CreationTime() { return TimeProperty(Values(), u"creationTime"); }
  virtual void PutCreationTime(double value) { PutTimeProperty(Values(), u"creationTime", value); }
  virtual double ModificationTime() { return TimeProperty(Values(), u"modificationTime"); }
  virtual void PutModificationTime(double value) {
    PutTimeProperty(Values(), u"modificationTime", value);
  }
};

class CNvVexaFileAssociationImpl : public BehaviorView {
 public:
  using BehaviorView::BehaviorView;
  virtual Bstr FileId() { return StringProperty(Values(), u"file"); }
  virtual void PutFileId(const BstrArg& value) { PutStringProperty(Values(), u"file", value); }
};

class CNvVexaVersioning final
    : public Implements<CNvVexaVersioning, CNvVexaVersioningImpl, INvVexaVersioning> {
 public:
  using Implements::Implements;
};
class CNvVexaTimeStamp final
    : public Implements<CNvVexaTimeStamp, CNvVexaTimeStampImpl, INvVexaTimeStamp> {
 public:
  using Implements::Implements;
};
class CNvVexaFileAssociation final
    : public Implements<CNvVexaFileAssociation, CNvVexaFileAssociationImpl,
                        INvVexaFileAssociation> {
 public:
  using Implements::Implements;
};

// A new view of type View over `object` when it carries the behaviour.
template <typename View>
ComPtr<typename View::NvDefault> CastTo(const ComPtr<INvVexaObject>& object,
                                        std::u16string_view ns, std::u16string_view element) {
  const Bstr uri = StandardBehaviorUri(ns, element);
  if (!CarriesBehavior(object, uri)) return {};
  return CreateObject<View>(object, uri);
}

}  // namespace

Bstr StandardBehaviorUri(std::u16string_view ns, std::u16string_view element) {
  return Bstr(std::u16string(ns) + u"#" + std::u16string(element));
}

bool CarriesBehavior(const ComPtr<INvVexaObject>& object, const Bstr& uri) {
  if (!object) throw ComError(E_POINTER);
  return object.as<INvVexaObjectCRaw>().SupportsBehavior(uri);
}

Bstr StringProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name) {
  const Bstr attribute(name);
  if (!values.IsValueAssigned(attribute)) return {};
  const Variant value = values.Item(attribute);
  return value.IsNull() ? Bstr() : value.ToBstr();
}

void PutStringProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name,
                       const BstrArg& value) {
  const Bstr text(value);
  values.PutItem(Bstr(name), text.Empty() ? Variant::Null() : Variant(text));
}

double TimeProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name) {
  const Bstr attribute(name);
  if (!values.IsValueAssigned(attribute)) return -1.0;
  const Variant value = values.Item(attribute);
  return value.IsNull() ? -1.0 : value.ToDouble();
}

void PutTimeProperty(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name,
                     double value) {
  values.PutItem(Bstr(name), Variant(value));
}

ComPtr<INvVexaVersioning> CastToVersioning(const ComPtr<INvVexaObject>& object) {
  return CastTo<CNvVexaVersioning>(object, kVersioningNamespace, u"version");
}

ComPtr<INvVexaTimeStamp> CastToTimeStamp(const ComPtr<INvVexaObject>& object) {
  return CastTo<CNvVexaTimeStamp>(object, kTimeStampNamespace, u"timeStamp");
}

ComPtr<INvVexaFileAssociation> CastToFileAssociation(const ComPtr<INvVexaObject>& object) {
  return CastTo<CNvVexaFileAssociation>(object, kFilesNamespace, u"fileAssociation");
}

}  // namespace nv
