// Creates the objects written into the Body. It keeps nothing per object:
// each object writes itself to the shared stream when saved.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaObjectWriterImpl {
 public:
  virtual ~CNvVexaObjectWriterImpl() = default;

  virtual ComPtr<INvVexaObject> NewObject(const BstrArg& vexaClassName, const BstrArg& uniqueId);

  virtual bool IsBodyElementOpen() { return bodyOpen_; }
  virtual void PutIsBodyElementOpen(bool value) { bodyOpen_ = value; }
  virtual void Create(const ComPtr<ITStream>& stream, const ComPtr<INvVexaNamespaces>& namespaces,
                      const ComPtr<INvVexaSchema>& schema);

 private:
  ComPtr<INvVexaClass> FindClass(Bstr& name) const;

  ComPtr<ITStream> stream_;
  ComPtr<INvVexaNamespaces> namespaces_;
  ComPtr<INvVexaSchema> schema_;
  bool bodyOpen_ = false;
};

class CNvVexaObjectWriter final
    : public Implements<CNvVexaObjectWriter, CNvVexaObjectWriterImpl, INvVexaObjectWriter,
                        INvVexaObjectWriterCRaw> {};

// A writer bound to the instance document's stream, namespace table and schema.
ComPtr<INvVexaObjectWriter> MakeObjectWriter(const ComPtr<ITStream>& stream,
                                             const ComPtr<INvVexaNamespaces>& namespaces,
                                             const ComPtr<INvVexaSchema>& schema);

}  // namespace nv
