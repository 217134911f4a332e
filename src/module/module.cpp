// The module's entry points: class factories of the creatable classes, the
// unload test and registration.
#include "frame/class_factory.h"
#include "frame/module_info.h"
#include "frame/exception.h"
#include "frame/registration.h"
#include "frame/text.h"
#include "frame/initialization_data.h"
#include "reader/reader.h"
#include "schemadoc/external_schema.h"
#include "stdbehaviors/catalogue.h"
#include "stdbehaviors/std_helper.h"
#include "writer/writer.h"

#include <memory>
#include <new>
#include <type_traits>
#include <string>
#include <vector>

namespace {

// A new object of class D; a class whose objects make schemas gets the
// standard schema services.
template <class D>
D* MakeObject() {
  if constexpr (std::is_constructible_v<typename D::NvImpl,
                                        std::shared_ptr<const nv::SchemaServices>>)
    return new D(nv::StandardSchemaServices());
  else
    return new D();
}

template <class D>
IClassFactory* FactoryIf(REFCLSID clsid) {
  static nv::ClassFactory<D> factory(&MakeObject<D>);
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

namespace {

std::string Narrow(const char16_t* text) { return nv::Utf16ToUtf8(text); }

// The registration of the six creatable classes, from the module's class
// table; the strings live as long as the returned vector.
struct RegistrationData {
  std::vector<std::string> texts;
  std::vector<nv::ClassRegistration> classes;
};

RegistrationData ClassRegistrations() {
  RegistrationData data;
  data.texts.reserve(3 * (nv::CoclassesEnd() - nv::CoclassesBegin()));
  for (const nv::CoclassInfo* c = nv::CoclassesBegin(); c != nv::CoclassesEnd(); ++c) {
    data.texts.push_back(Narrow(c->description));
    data.texts.push_back(Narrow(c->progId));
    data.texts.push_back(Narrow(c->versionIndependentProgId));
    const size_t n = data.texts.size();
    data.classes.push_back({c->clsid, data.texts[n - 3].c_str(), data.texts[n - 2].c_str(),
                            data.texts[n - 1].c_str()});
  }
  return data;
}

template <class Action>
HRESULT WithModuleRegistration(Action action) {
  return nv::frame::RunFramed(nullptr, [&]() -> HRESULT {
    const RegistrationData data = ClassRegistrations();
    const nv::ModuleRegistration module{data.classes.data(), data.classes.size(),
                                        LIBID_NorvVexa1, "1.0", "NorvVexa1 1.0 Type Library",
                                        nv::kNorvVexa1AppId, "NorvVexa1", nv::ModulePath()};
    return action(module);
  });
}

}  // namespace

NVAPI HRESULT DllRegisterServer(void) {
  return WithModuleRegistration([](const nv::ModuleRegistration& m) { return nv::RegisterModule(m); });
}

NVAPI HRESULT DllUnregisterServer(void) {
  return WithModuleRegistration(
      [](const nv::ModuleRegistration& m) { return nv::UnregisterModule(m); });
}
