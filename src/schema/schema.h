// The schema: its identity (URI and location), its classes, the class
// behaviours and domain behaviours it knows, and its Info collection. Child
// collections are made on first access and kept.
#pragma once

#include <memory>
#include <string_view>

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/initialization_data.h"
#include "frame/interfaces.h"

namespace nv {

// What a schema needs from the layers above the schema model: reading a
// behaviour schema document, and the standard behaviour catalogue. The object
// that creates a schema hands them to it; a schema without them refuses the
// operations that need them.
class SchemaServices {
 public:
  virtual ~SchemaServices() = default;
  // Reads the behaviour schema document at `location` into `schema`.
  virtual void LoadBehaviorSchema(const ComPtr<INvVexaSchema>& schema,
                                  const Bstr& location) const = 0;
  virtual bool IsStandardBehaviorNamespace(std::u16string_view behaviorNamespace) const = 0;
  // Defines the standard behaviour `uri` in `schema` from the catalogue.
  virtual void DefineStandardBehavior(const ComPtr<INvVexaSchema>& schema,
                                      const Bstr& uri) const = 0;
  // Defines every standard behaviour of a standard namespace in `schema`.
  virtual void DefineStandardBehaviors(const ComPtr<INvVexaSchema>& schema,
                                       std::u16string_view behaviorNamespace) const = 0;
};

// What a schema is made with, and hands on to the schemas it makes itself.
struct SchemaContext {
  ComPtr<INvVexaInitializationData> initializationData;
  std::shared_ptr<const SchemaServices> services;
};

class CNvVexaSchemaImpl {
 public:
  explicit CNvVexaSchemaImpl(SchemaContext context = {}) : context_(std::move(context)) {}
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
  virtual ComPtr<INvVexaInfo> Info();

  // The location is written into the package's schemaLocation attribute.
  virtual void Set_SchemaLocation(const BstrArg& value);
  virtual bool HasMustUnderstandItems();
  const SchemaContext& Context() const { return context_; }

  // The object's own interface, to pass itself as destination schema.
  virtual ComPtr<INvVexaSchema> ThisSchema();

 private:
  bool ClassesHaveMustUnderstandBehaviors();

  Bstr uri_;
  Bstr location_;
  bool copied_ = false;
  SchemaContext context_;
  ComPtr<INvVexaClasses> classes_;
  ComPtr<INvVexaClassesBehaviors> classesBehaviors_;
  ComPtr<INvVexaDomainBehaviors> domainBehaviors_;
  ComPtr<INvVexaInfo> info_;
};

class CNvVexaSchema final
    : public Implements<CNvVexaSchema, CNvVexaSchemaImpl, INvVexaSchema, INvVexaSchemaCRaw> {
 public:
  using Implements::Implements;
};

// A new, empty schema.
ComPtr<INvVexaSchema> MakeSchema(SchemaContext context = {});

// What a top-level object makes its schemas with: its own initialization
// data (made on first use) and the services the module handed it.
class SchemaMaker {
 public:
  explicit SchemaMaker(std::shared_ptr<const SchemaServices> services)
      : services_(std::move(services)) {}
  ComPtr<INvVexaInitializationData> InitializationData() { return data_.Get(); }
  ComPtr<INvVexaSchema> NewSchema() { return MakeSchema({data_.Get(), services_}); }

 private:
  std::shared_ptr<const SchemaServices> services_;
  InitializationDataHolder data_;
};
// The context of a schema of this library, or an empty one for another's.
SchemaContext ContextOf(const ComPtr<INvVexaSchema>& schema);

}  // namespace nv
