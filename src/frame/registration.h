// Module registration: writes and removes, in the registry file, the keys
// that the Windows registry holds for an in-process server, its classes, its
// application identifier and its type library.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstddef>
#include <string>

namespace nv {

// The module's application identifier.
inline constexpr GUID kNorvVexa1AppId = {
    0x657F3570, 0xDDF1, 0x4F28, {0xBB, 0x09, 0x2E, 0xAE, 0xF4, 0xBA, 0x1E, 0xE7}};

struct ClassRegistration {
  CLSID clsid;
  const char* description;
  const char* progId;                    // null or empty: no ProgID keys
  const char* versionIndependentProgId;  // null or empty: none
};

struct ModuleRegistration {
  const ClassRegistration* classes;
  size_t classCount;
  GUID libId;
  const char* libVersion;  // "1.0"
  const char* libHelpString;
  GUID appId;
  const char* moduleName;  // "NorvVexa1"
  std::string modulePath;  // absolute file name of the shared object
};

// Loads the registry file, writes the module's keys and saves it. Writing
// what is already there changes nothing. Failures come back as the result of
// the failing file operation (E_ACCESSDENIED, STG_E_WRITEFAULT, ...);
// E_INVALIDARG for an incomplete description. Never throws.
HRESULT RegisterModule(const ModuleRegistration& module, const std::string& registryPath);
HRESULT RegisterModule(const ModuleRegistration& module);  // at RegistryFilePath()

// Removes the class, ProgID, application and type library keys. Parent keys
// (CLSID, AppID, TypeLib) stay. A missing file is left missing.
HRESULT UnregisterModule(const ModuleRegistration& module, const std::string& registryPath);
HRESULT UnregisterModule(const ModuleRegistration& module);  // at RegistryFilePath()

}  // namespace nv
