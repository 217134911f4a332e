// The schema helper: adds the standard support (behaviours, helper classes,
// domain behaviours) to one schema and enables standard behaviours on the
// schema's own classes.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaSchemaHelperImpl {
 public:
  explicit CNvVexaSchemaHelperImpl(ComPtr<INvVexaSchema> schema);
  virtual ~CNvVexaSchemaHelperImpl() = default;

  // Each AddDefault fails with the "already exist" messages of the schema
  // when run twice, keeping what it added before the failure.
  virtual void AddDefaultChangesSupport();
  virtual void AddDefaultFilesSupport();
  virtual void AddDefaultVersioningSupport();
  virtual void AddDefaultTimeStampSupport();

  // Each Enable needs its behaviour in the schema, from its AddDefault.
  virtual void EnableFileAssociationForClass(const ComPtr<INvVexaClass>& vexaClass);
  virtual void EnableVersioningForClass(const ComPtr<INvVexaClass>& vexaClass);
  virtual void EnableChangeTrackingForClass(const ComPtr<INvVexaClass>& vexaClass);
  virtual void EnableTimeStampForClass(const ComPtr<INvVexaClass>& vexaClass);

  // True when the class or one of its ancestors lists the behaviour.
  virtual bool IsFileAssociationEnabled(const ComPtr<INvVexaClass>& vexaClass);
  virtual bool IsVersioningEnabled(const ComPtr<INvVexaClass>& vexaClass);
  virtual bool IsChangeTrackingEnabled(const ComPtr<INvVexaClass>& vexaClass);
  virtual bool IsTimeStampEnabled(const ComPtr<INvVexaClass>& vexaClass);

 private:
  ComPtr<INvVexaSchema> schema_;
};

class CNvVexaSchemaHelper final
    : public Implements<CNvVexaSchemaHelper, CNvVexaSchemaHelperImpl, INvVexaSchemaHelper> {
 public:
  using Implements::Implements;
};

}  // namespace nv
