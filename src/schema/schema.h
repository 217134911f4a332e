// The schema: its identity (URI and location), its classes, the class
// behaviours and domain behaviours it knows, and its Info collection. Child
// collections are made on first access and kept.
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaSchemaImpl {
 public:
  virtual ~CNvVexaSchemaImpl() = default;

  virtual Bstr SchemaURI() { return uri_; }
  // Set once, unless the schema was filled by Copy.
  virtual void PutSchemaURI(const BstrArg& value);
  virtual Bstr SchemaLocation() { return location_; }
  virtual ComPtr<INvVexaClasses> Classes();
  virtual ComPtr<INvVexaClassesBehaviors> ClassesBehaviors();
  virtual ComPtr<INvVexaDomainBehaviors> DomainBehaviors();
  // Empties everything but the Info collection.
  virtual void Clear();
  virtual void Copy(const ComPtr<INvVexaSchema>& source);
  // The Info collection; needs the Info seam (see schema_seams.h).
  virtual ComPtr<IUnknown> Info();

  // The location is written into the package's schemaLocation attribute.
  virtual void Set_SchemaLocation(const BstrArg& value);
  virtual bool HasMustUnderstandItems();
  virtual void Create(const ComPtr<INvVexaInitializationData>& data) { initializationData_ = data; }
  virtual ComPtr<INvVexaInitializationData> GetInitializationData() { return initializationData_; }

  // The object's own interface, to pass itself as destination schema.
  virtual ComPtr<INvVexaSchema> ThisSchema();

 private:
  bool ClassesHaveMustUnderstandBehaviors();

  Bstr uri_;
  Bstr location_;
  bool copied_ = false;
  ComPtr<INvVexaInitializationData> initializationData_;
  ComPtr<INvVexaClasses> classes_;
  ComPtr<INvVexaClassesBehaviors> classesBehaviors_;
  ComPtr<INvVexaDomainBehaviors> domainBehaviors_;
  ComPtr<IUnknown> info_;
};

class CNvVexaSchema final
    : public Implements<CNvVexaSchema, CNvVexaSchemaImpl, INvVexaSchema, INvVexaSchemaCRaw> {};

// A new, empty schema holding `data` (which may be null).
ComPtr<INvVexaSchema> MakeSchema(const ComPtr<INvVexaInitializationData>& data);

}  // namespace nv
