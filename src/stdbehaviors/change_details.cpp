#include "stdbehaviors/change_details.h"

#include "frame/exception.h"
#include "frame/implements.h"
#include "frame/variant.h"
#include "instance/value_elements.h"
#include "objects/attribute_values_groups.h"
#include "objects/object.h"
#include "reader/fragment_reader.h"
#include "stdbehaviors/behavior_views.h"
#include "stdbehaviors/catalogue.h"

namespace nv {

Bstr ChangeTrackingUri(std::u16string_view element) {
  return StandardBehaviorUri(kChangeTrackingNamespace, element);
}

namespace {

// A reference the client must give: an empty one is refused with `message`.
void PutReference(const ComPtr<INvVexaAttributesValues>& values, std::u16string_view name,
                  const BstrArg& value, const char* message) {
  if (value.View().empty()) throw ENvException(message);
  values.PutItem(Bstr(name), Variant(Bstr(value)));
}

// The attributes text of an object or value set, as the package whose table
// is `namespaces` names them, in an XML value with that table.
template <class Holder>
Variant CapturedText(const Holder& holder, const ComPtr<INvVexaNamespaces>& namespaces) {
  const ComPtr<INvVexaXmlAttributeValue> xml = MakeXmlAttributeValue();
  xml.PutXML(AttributesXMLWith(holder, namespaces));
  xml.as<INvVexaXmlAttributeValueCRaw>().SetNamespaces(namespaces);
  return Variant(static_cast<IDispatch*>(xml.get()));
}

// The XML value assigned to `name`, or null when none (or Null) is.
ComPtr<INvVexaXmlAttributeValue> XmlValueIn(const ComPtr<INvVexaAttributesValues>& values,
                                            std::u16string_view name) {
  const Variant value = values.Item(Bstr(name));
  if (value.vt != VT_DISPATCH || value.pdispVal == nullptr) return {};
  return ComPtr<IDispatch>(value.pdispVal).as<INvVexaXmlAttributeValue>();
}

class CNvVexaObjectCreatedImpl : public ChangeTrackingView {
 public:
  explicit CNvVexaObjectCreatedImpl(const ComPtr<INvVexaObject>& change)
      : ChangeTrackingView(change, u"objectCreated") {}

  virtual Bstr CreatedObjectRef() { return StringProperty(Values(), u"createdObject"); }
  virtual void PutCreatedObjectRef(const BstrArg& value) {
    PutReference(Values(), u"createdObject", value,
                 "Value assigned to CreatedObjectRef cannot be an empty string");
  }
};

// A detail that rebuilds values with the schema and keeps captured ones with
// the package's namespace table, whichever package or reader they came from
// (on the reading side, a table that names the schema's namespaces as a
// package does).
class RebuildingView : public ChangeTrackingView {
 public:
  RebuildingView(const ComPtr<INvVexaObject>& change, std::u16string_view element,
                 ComPtr<INvVexaSchema> schema, ComPtr<INvVexaNamespaces> namespaces)
      : ChangeTrackingView(change, element),
        schema_(std::move(schema)),
        namespaces_(std::move(namespaces)) {}

 protected:
  const ComPtr<INvVexaSchema>& Schema() const { return schema_; }
  const ComPtr<INvVexaNamespaces>& Namespaces() const { return namespaces_; }
 private:
  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaNamespaces> namespaces_;
};

class CNvVexaObjectDeletedImpl : public RebuildingView {
 public:
  CNvVexaObjectDeletedImpl(const ComPtr<INvVexaObject>& change, ComPtr<INvVexaSchema> schema,
                           ComPtr<INvVexaNamespaces> namespaces)
      : RebuildingView(change, u"objectDeleted", std::move(schema), std::move(namespaces)) {}

  // The object's text is taken now, so later changes to it stay out of the
  // change; it is built first, so a failure assigns nothing.
  virtual void SetDeletedObject(const ComPtr<INvVexaObject>& deleted) {
    if (!deleted)
      throw ENvException("Cannot delete an object that was not created (Object is Null)");
    const Variant attributes = CapturedText(deleted, Namespaces());
    Values().PutItem(u"objectId", Variant(deleted.Id()));
    Values().PutItem(u"objectType", Variant(deleted.vexaClassName()));
    Values().PutItem(u"objectAttributes", attributes);
  }
  // A new object each time, in its reading form: it cannot be saved.
  virtual ComPtr<INvVexaObject> GetDeletedObject() {
    return ReadObjectFragment(Schema(), StringProperty(Values(), u"objectType"),
                              StringProperty(Values(), u"objectId"),
                              XmlValueIn(Values(), u"objectAttributes"));
  }
};

class CNvVexaObjectValueModifiedImpl : public RebuildingView {
 public:
  CNvVexaObjectValueModifiedImpl(const ComPtr<INvVexaObject>& change, ComPtr<INvVexaSchema> schema,
                                 ComPtr<INvVexaNamespaces> namespaces)
      : RebuildingView(change, u"objectValueModified", std::move(schema), std::move(namespaces)) {}

  virtual Bstr ModifiedObjectRef() { return StringProperty(Values(), u"modifiedObject"); }
  virtual void PutModifiedObjectRef(const BstrArg& value) {
    PutReference(Values(), u"modifiedObject", value,
                 "Value assigned to ModifiedObjectRef cannot be an empty string");
  }
  virtual Bstr vexaClassName() { return StringProperty(Values(), u"objectType"); }
  virtual void PutvexaClassName(const BstrArg& value) {
    Values().PutItem(u"objectType", Variant(Bstr(value)));
  }
  // Not attached: SetOldValues takes the values once they are filled.
  virtual ComPtr<INvVexaAttributesValuesGroups> NewOldValues() {
    const Bstr className = vexaClassName();
    if (className.Empty())
      throw ENvException(
          "Missing ClassName. Please assign ObjectValueModified.ClassName before calling to "
          "ObjectValueModified.NewOldValues");
    return MakeAttributesValuesGroups(Schema(), Namespaces(), className, false);
  }
  // Only the assigned values are kept: a value set has no defaults and no
  // required attributes.
  virtual void SetOldValues(const ComPtr<INvVexaAttributesValuesGroups>& oldValues) {
    if (!oldValues) throw ComError(E_POINTER);
    Values().PutItem(u"oldValues", CapturedText(oldValues, Namespaces()));
  }
  virtual ComPtr<INvVexaAttributesValuesGroups> GetOldValues() {
    const ComPtr<INvVexaXmlAttributeValue> oldValues = XmlValueIn(Values(), u"oldValues");
    if (!oldValues) return {};
    return ReadValuesFragment(Schema(), Namespaces(), vexaClassName(), oldValues);
  }
};

class CNvVexaObjectCreated final
    : public Implements<CNvVexaObjectCreated, CNvVexaObjectCreatedImpl, INvVexaObjectCreated> {
 public:
  using Implements::Implements;
};
class CNvVexaObjectDeleted final
    : public Implements<CNvVexaObjectDeleted, CNvVexaObjectDeletedImpl, INvVexaObjectDeleted> {
 public:
  using Implements::Implements;
};
class CNvVexaObjectValueModified final
    : public Implements<CNvVexaObjectValueModified, CNvVexaObjectValueModifiedImpl,
                        INvVexaObjectValueModified> {
 public:
  using Implements::Implements;
};

}  // namespace

ComPtr<INvVexaObjectCreated> NewObjectCreated(const ComPtr<INvVexaObject>& change) {
  return CreateObject<CNvVexaObjectCreated>(change);
}

ComPtr<INvVexaObjectDeleted> NewObjectDeleted(const ComPtr<INvVexaObject>& change,
                                              const ComPtr<INvVexaSchema>& schema,
                                              const ComPtr<INvVexaNamespaces>& namespaces) {
  return CreateObject<CNvVexaObjectDeleted>(change, schema, namespaces);
}

ComPtr<INvVexaObjectValueModified> NewObjectValueModified(
    const ComPtr<INvVexaObject>& change, const ComPtr<INvVexaSchema>& schema,
    const ComPtr<INvVexaNamespaces>& namespaces) {
  return CreateObject<CNvVexaObjectValueModified>(change, schema, namespaces);
}

}  // namespace nv
