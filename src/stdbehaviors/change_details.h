// The pieces a change is made of: the view of one change-tracking behaviour
// of an object, and the detail views of the three kinds of change (the
// created object's reference, the deleted object captured whole, the
// modified object's old values).
#pragma once

#include <string_view>

#include "frame/bstr.h"
#include "frame/interfaces.h"
#include "stdbehaviors/behavior_views.h"

namespace nv {

// The URI of the change-tracking behaviour named `element`.
Bstr ChangeTrackingUri(std::u16string_view element);

// A view of one change-tracking behaviour of one object.
class ChangeTrackingView : public BehaviorView {
 public:
  ChangeTrackingView(const ComPtr<INvVexaObject>& object, std::u16string_view element)
      : BehaviorView(object, ChangeTrackingUri(element)) {}
};

ComPtr<INvVexaObjectCreated> NewObjectCreated(const ComPtr<INvVexaObject>& change);
// `namespaces` is the package's table (on the reading side, one that names
// the schema's namespaces as a package would): captured values are kept with it. `schema` rebuilds the deleted object and old values.
ComPtr<INvVexaObjectDeleted> NewObjectDeleted(const ComPtr<INvVexaObject>& change,
                                              const ComPtr<INvVexaSchema>& schema,
                                              const ComPtr<INvVexaNamespaces>& namespaces);
ComPtr<INvVexaObjectValueModified> NewObjectValueModified(
    const ComPtr<INvVexaObject>& change, const ComPtr<INvVexaSchema>& schema,
    const ComPtr<INvVexaNamespaces>& namespaces);

}  // namespace nv
