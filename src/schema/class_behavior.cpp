#include "schema/class_behavior.h"

#include "schema/attributes.h"

namespace nv {

ComPtr<INvVexaAttributes> CNvVexaClassBehaviorImpl::Attributes() {
  if (!attributes_) attributes_ = MakeAttributes(aotClassBehavior);
  return attributes_;
}

void CNvVexaClassBehaviorImpl::Copy(const ComPtr<INvVexaClassBehavior>& source) {
  schemaLocation_ = Bstr();
  Attributes().as<INvVexaAttributesCRaw>().Copy(source.Attributes());
}

}  // namespace nv
