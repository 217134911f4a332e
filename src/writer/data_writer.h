// The data writer of a package: the instance document's envelope, then its
// Info Header, then the objects in its Body.
#pragma once

#include <string>

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

// The data writer: hands out the Info collection, whose Save writes the
// Header, and the object writer, whose first request opens the Body.
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

// The envelope writer: the generated-by comment and the SOAP Envelope start
// tag, with the namespace declarations and the schema location of the
// package, and the Envelope end tag.
class CNvVexaEnvelopeWriterCRawImpl {
 public:
  virtual ~CNvVexaEnvelopeWriterCRawImpl() = default;

  virtual void OpenEnvelopeElement(const ComPtr<ITStream>& stream);
  virtual void CloseEnvelopeElement(const ComPtr<ITStream>& stream);
  virtual void Set_Schema(const ComPtr<INvVexaSchema>& value) { schema_ = value; }
  virtual void Create(const ComPtr<INvVexaNamespaces>& namespaces) { namespaces_ = namespaces; }

 private:
  // The start tag with its line end; declares its namespaces in the table.
  std::u16string EnvelopeStartTag();
  void AppendBehaviorNamespaces(std::u16string& out);

  ComPtr<INvVexaNamespaces> namespaces_;
  ComPtr<INvVexaSchema> schema_;
};

class CNvVexaEnvelopeWriterCRaw final
    : public Implements<CNvVexaEnvelopeWriterCRaw, CNvVexaEnvelopeWriterCRawImpl,
                        INvVexaEnvelopeWriterCRaw> {};

}  // namespace nv
