// The module's entry points: class factories of the creatable classes, the
// unload test and registration.
#include "frame/class_factory.h"
#include "frame/initialization_data.h"
#include "frame/module_lock.h"
#include "reader/reader.h"
#include "schemadoc/external_schema_reader.h"
#include "schemadoc/external_schema_writer.h"
#include "stdbehaviors/std_helper.h"
#include "writer/writer.h"

namespace {

template <class D>
IClassFactory* FactoryIf(REFCLSID clsid) {
  static nv::ClassFactory<D> factory;
  return clsid == D::kClsid ? &factory : nullptr;
}

IClassFactory* FindFactory(REFCLSID clsid) {
  IClassFactory* found = nullptr;
  (void)((found = FactoryIf<nv::NvVexaWriter>(clsid)) ||
         (found = FactoryIf<nv::NvVexaReader>(clsid)) ||
         (found = FactoryIf<nv::NvVexaExternalSchemaWriter>(clsid)) ||
         (found = FactoryIf<nv::NvVexaExternalSchemaReader>(clsid)) ||
         (found = FactoryIf<nv::NvVexaStdHelper>(clsid)) ||
         (found = FactoryIf<nv::CNvVexaInitializationData>(clsid)));
  return found;
}

}  // namespace

NVAPI HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IClassFactory* factory = FindFactory(rclsid);
  if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
  return factory->QueryInterface(riid, ppv);
}

NVAPI HRESULT DllCanUnloadNow(void) { return nv::module_lock::Count() == 0 ? S_OK : S_FALSE; }
