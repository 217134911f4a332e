// An object of the Body: an instance of a schema class with its attribute
// and behaviour values. Made for writing by the object writer, for reading by
// the object reader; only the writing form has a stream and can be saved.
#pragma once

#include <memory>

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "objects/class_layout.h"
#include "xml/document_text.h"

namespace nv {

class CNvVexaObjectImpl {
 public:
  virtual ~CNvVexaObjectImpl() = default;

  virtual Bstr Id() { return id_; }
  virtual Bstr vexaClassName() { return className_; }
  virtual ComPtr<INvVexaAttributesValues> Values() { return groups_.Values(); }
  virtual ComPtr<INvVexaAttributesValues> GetBehaviorValues(const BstrArg& behaviorUri);
  // Writes the object element; each call writes it again with the current values.
  virtual void Save();

  virtual bool IsSaved() { return saved_; }
  virtual Bstr GetAttributesXML();
  // As GetAttributesXML, with the prefixes of `namespaces`.
  Bstr AttributesXMLWith(const ComPtr<INvVexaNamespaces>& namespaces) const;
  virtual Bstr GetObjectXML();
  virtual bool SupportsBehavior(const BstrArg& behaviorUri);
  virtual void CreateForWriter(const BstrArg& className, const BstrArg& objectId,
                               const ComPtr<ITStream>& stream,
                               const ComPtr<INvVexaNamespaces>& namespaces,
                               const ComPtr<INvVexaSchema>& schema,
                               const ComPtr<INvVexaObjectWriter>& objectWriter);
  virtual void CreateForReader(const BstrArg& className, const BstrArg& objectId,
                               const ComPtr<INvVexaSchema>& schema);

  // As above, with the class's definitions from a layout its reader keeps.
  void CreateForReader(const BstrArg& className, const BstrArg& objectId,
                       const ComPtr<INvVexaSchema>& schema, std::shared_ptr<const ClassLayout> layout);

  // As above, with the class's definitions from a layout its writer keeps.
  void CreateForWriter(const BstrArg& className, const BstrArg& objectId,
                       const ComPtr<ITStream>& stream, const ComPtr<INvVexaNamespaces>& namespaces,
                       const ComPtr<INvVexaSchema>& schema,
                       const ComPtr<INvVexaObjectWriter>& objectWriter,
                       std::shared_ptr<const ClassLayout> layout);

 private:
  void AppendObjectXML(DocumentText& out) const;
  // Names the object and makes its value collections; a writer's object
  // has its namespaces by then.
  void Bind(const BstrArg& className, const BstrArg& objectId, const ComPtr<INvVexaSchema>& schema,
            std::shared_ptr<const ClassLayout> layout);

  Bstr className_;
  Bstr id_;
  ComPtr<ITStream> stream_;
  ComPtr<INvVexaNamespaces> namespaces_;
  ComPtr<INvVexaSchema> schema_;
  INvVexaObjectWriter* objectWriter_ = nullptr;  // not counted: objects never keep their writer
  ComPtr<INvVexaAttributesValuesGroups> groups_;
  std::shared_ptr<const ClassLayout> layout_;  // null when read from the schema per call
  bool saved_ = false;
};

class CNvVexaObject final
    : public Implements<CNvVexaObject, CNvVexaObjectImpl, INvVexaObject, INvVexaObjectCRaw> {};

// The object's attributes text with the prefixes of `namespaces` (a
// package's table) rather than its own: how that package names its
// behaviours, whichever package or reader the object came from. An object of
// another implementation gives its own GetAttributesXML.
Bstr AttributesXMLWith(const ComPtr<INvVexaObject>& object,
                       const ComPtr<INvVexaNamespaces>& namespaces);

}  // namespace nv
