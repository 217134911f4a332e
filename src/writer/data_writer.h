// The data writer: hands out the Info collection, whose Save writes the
// Header, and the object writer, whose first request opens the Body.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaDataWriterImpl {
 public:
  virtual ~CNvVexaDataWriterImpl() = default;

  // Opens the Body first when it is not open yet.
  virtual ComPtr<INvVexaObjectWriter> ObjectWriter();
  // Made on first access, for writing into this writer's stream.
  virtual ComPtr<INvVexaInfo> Info();
  // Writes the Body start tag without looking whether it was written before.
  virtual void OpenBodyElement();
  // Opens the Body first when it was never opened, so the Body always exists.
  virtual void CloseBodyElement();
  virtual void Create(const ComPtr<ITStream>& stream, const ComPtr<ITAbZipper>& zipper,
                      const ComPtr<INvVexaNamespaces>& namespaces,
                      const ComPtr<INvVexaSchema>& schema);

 private:
  ComPtr<ITStream> stream_;
  ComPtr<INvVexaNamespaces> namespaces_;
  ComPtr<ITAbZipper> zipper_;
  ComPtr<INvVexaInfo> info_;
  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaObjectWriter> objectWriter_;
  bool bodyOpen_ = false;
};

class CNvVexaDataWriter final : public Implements<CNvVexaDataWriter, CNvVexaDataWriterImpl,
                                                  INvVexaDataWriter, INvVexaDataWriterCRaw> {};

}  // namespace nv
