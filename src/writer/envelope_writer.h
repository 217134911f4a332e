// The envelope writer: the generated-by comment and the SOAP Envelope start
// tag, with the namespace declarations and the schema location of the
// package, and the Envelope end tag.
#pragma once

#include <string>

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

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
