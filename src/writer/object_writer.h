// The object writer: makes objects of the schema's classes for the data
// writer, refusing names the format reserves.
#pragma once

#include <memory>
#include <string_view>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "objects/class_layout.h"

namespace nv {

// Creates the objects written into the Body. It keeps nothing per object:
// each object writes itself to the shared stream when saved. Per class it
// keeps the layout its objects share, read from the schema at the first
// object of the class.
class CNvVexaObjectWriterImpl {
 public:
  virtual ~CNvVexaObjectWriterImpl() = default;

  virtual ComPtr<INvVexaObject> NewObject(const BstrArg& vexaClassName, const BstrArg& uniqueId);

  virtual bool IsBodyElementOpen() { return bodyOpen_; }
  virtual void PutIsBodyElementOpen(bool value) { bodyOpen_ = value; }
  virtual void Create(const ComPtr<ITStream>& stream, const ComPtr<INvVexaNamespaces>& namespaces,
                      const ComPtr<INvVexaSchema>& schema);

 private:
  struct KnownClass {
    Bstr name;  // the schema's name, after the reserved-name mapping
    bool isAbstract = false;
    std::shared_ptr<const ClassLayout> layout;
  };

  ComPtr<INvVexaClass> FindClass(Bstr& name) const;
  const KnownClass& Known(std::u16string_view requestedName);

  ViewMap<KnownClass> classes_;  // by the name a client asked for
  INvVexaObjectWriter* self_ = nullptr;
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

// Class names under which the change and file objects are created: each
// stands for the same name without its two leading underscores when the
// schema has no class of the reserved name itself.
// The name that `name` maps to, or `name` itself when it is not reserved.
std::u16string_view MappedReservedClassName(std::u16string_view name) noexcept;

}  // namespace nv
