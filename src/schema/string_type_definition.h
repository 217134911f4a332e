// The string refinement of a type definition: the maximum length of a value
// (0: no maximum). Stored without a test; the object writer applies it.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaStringTypeDefinitionImpl {
 public:
  virtual ~CNvVexaStringTypeDefinitionImpl() = default;

  virtual LONG MaxLength() { return maxLength_; }
  virtual void PutMaxLength(LONG value) { maxLength_ = value; }

  virtual void Copy(const ComPtr<INvVexaStringTypeDefinition>& source) {
    maxLength_ = source.MaxLength();
  }

 private:
  LONG maxLength_ = 0;
};

class CNvVexaStringTypeDefinition final
    : public Implements<CNvVexaStringTypeDefinition, CNvVexaStringTypeDefinitionImpl,
                        INvVexaStringTypeDefinition, INvVexaStringTypeDefinitionCRaw> {};

}  // namespace nv
