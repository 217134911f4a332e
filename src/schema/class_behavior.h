// A class behaviour: a named group of attributes that classes can list. Its
// URI is a namespace, "#" and an element name; an external behaviour also
// has the location of its behaviour schema document.
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaClassBehaviorImpl {
 public:
  virtual ~CNvVexaClassBehaviorImpl() = default;

  virtual Bstr URI() { return uri_; }
  virtual Bstr SchemaLocation() { return schemaLocation_; }
  virtual void PutSchemaLocation(const BstrArg& value) { schemaLocation_ = value; }
  virtual ComPtr<INvVexaAttributes> Attributes();

  virtual void Create(const BstrArg& uri) {
    uri_ = uri;
    schemaLocation_ = Bstr();
  }
  // The copy is embedded: its definition travels with the schema.
  virtual void Copy(const ComPtr<INvVexaClassBehavior>& source);

 private:
  Bstr uri_;
  Bstr schemaLocation_;
  ComPtr<INvVexaAttributes> attributes_;
};

class CNvVexaClassBehavior final
    : public Implements<CNvVexaClassBehavior, CNvVexaClassBehaviorImpl, INvVexaClassBehavior,
                        INvVexaClassBehaviorCRaw> {};

}  // namespace nv
