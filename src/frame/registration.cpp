// Writes and removes the module's registration in the registry file.
#include "frame/registration.h"

#include "frame/error_frame.h"
#include "frame/guid_text.h"
#include "frame/registry_file.h"

#include <initializer_list>
#include <string_view>

namespace nv {
namespace {

// Names below HKEY_CLASSES_ROOT, joined into a key path.
std::string Key(std::initializer_list<std::string_view> names) {
  std::string key = "HKEY_CLASSES_ROOT";
  for (std::string_view name : names) {
    key += '\\';
    key += name;
  }
  return key;
}

std::string_view Text(const char* text) { return text != nullptr ? text : ""; }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ModuleKeyName(const ModuleRegistration& module) {
  return std::string(module.moduleName) + ".DLL";
}

bool IsComplete(const ModuleRegistration& module) {
  return (module.classes != nullptr || module.classCount == 0) &&
         !Text(module.moduleName).empty() && !Text(module.libVersion).empty() &&
         !module.modulePath.empty();
}

// ---- Writing --------------------------------------------------------------------

void WriteProgId(RegistryFile& reg, std::string_view progId, std::string_view description,
                 const std::string& clsid, std::string_view currentVersion) {
  reg.SetValue(Key({progId}), "", description);
  reg.SetValue(Key({progId, "CLSID"}), "", clsid);
  if (!currentVersion.empty()) reg.SetValue(Key({progId, "CurVer"}), "", currentVersion);
}

void WriteClass(RegistryFile& reg, const ClassRegistration& cls, const ModuleRegistration& module) {
  const std::string clsid = GuidToString(cls.clsid);
  const std::string_view description = Text(cls.description);
  const std::string_view progId = Text(cls.progId);
  const std::string_view independentProgId = Text(cls.versionIndependentProgId);
  reg.SetValue(Key({"CLSID", clsid}), "", description);
  reg.SetValue(Key({"CLSID", clsid}), "AppID", GuidToString(module.appId));
  reg.SetValue(Key({"CLSID", clsid, "InprocServer32"}), "", module.modulePath);
  reg.SetValue(Key({"CLSID", clsid, "InprocServer32"}), "ThreadingModel", "Apartment");
  reg.SetValue(Key({"CLSID", clsid, "TypeLib"}), "", GuidToString(module.libId));
  if (!progId.empty()) {
    reg.SetValue(Key({"CLSID", clsid, "ProgID"}), "", progId);
    WriteProgId(reg, progId, description, clsid, {});
  }
  if (!independentProgId.empty()) {
    reg.SetValue(Key({"CLSID", clsid, "VersionIndependentProgID"}), "", independentProgId);
    WriteProgId(reg, independentProgId, description, clsid, progId);
  }
}

void WriteAppId(RegistryFile& reg, const ModuleRegistration& module) {
  const std::string appId = GuidToString(module.appId);
  reg.SetValue(Key({"AppID", appId}), "", module.moduleName);
  reg.SetValue(Key({"AppID", ModuleKeyName(module)}), "AppID", appId);
}

void WriteTypeLib(RegistryFile& reg, const ModuleRegistration& module) {
  const std::string lib = GuidToString(module.libId);
  const std::string_view version = module.libVersion;
  reg.SetValue(Key({"TypeLib", lib, version}), "", Text(module.libHelpString));
  reg.SetValue(Key({"TypeLib", lib, version, "0", "win32"}), "", module.modulePath);
  reg.SetValue(Key({"TypeLib", lib, version, "FLAGS"}), "", "0");
  reg.SetValue(Key({"TypeLib", lib, version, "HELPDIR"}), "", FolderOf(module.modulePath));
}

// ---- Removing -------------------------------------------------------------------

size_t RemoveClass(RegistryFile& reg, const ClassRegistration& cls) {
  size_t removed = reg.RemoveTree(Key({"CLSID", GuidToString(cls.clsid)}));
  for (const char* progId : {cls.progId, cls.versionIndependentProgId})
    if (!Text(progId).empty()) removed += reg.RemoveTree(Key({progId}));
  return removed;
}

size_t RemoveAppId(RegistryFile& reg, const ModuleRegistration& module) {
  return reg.RemoveTree(Key({"AppID", GuidToString(module.appId)})) +
         reg.RemoveTree(Key({"AppID", ModuleKeyName(module)}));
}

// Removes this version of the type library, and the library's key once no
// other version is left in it.
size_t RemoveTypeLib(RegistryFile& reg, const ModuleRegistration& module) {
  const std::string lib = GuidToString(module.libId);
  const size_t removed = reg.RemoveTree(Key({"TypeLib", lib, module.libVersion}));
  return removed + (reg.RemoveKeyIfEmpty(Key({"TypeLib", lib})) ? 1 : 0);
}

// Loads the file, applies `edit` and saves the file when `edit` reports a
// change. Turns every failure into a result code.
template <typename Edit>
HRESULT EditRegistryFile(const ModuleRegistration& module, const std::string& path,
                         Edit edit) noexcept {
  if (!IsComplete(module)) return E_INVALIDARG;
  try {
    RegistryFile reg;
    const HRESULT loaded = reg.Load(path);
    if (FAILED(loaded)) return loaded;
    if (!edit(reg)) return S_OK;
    return reg.Save(path);
  } catch (...) {
    return frame::ReportCaughtException(nullptr);
  }
}

}  // namespace

HRESULT RegisterModule(const ModuleRegistration& module, const std::string& registryPath) {
  return EditRegistryFile(module, registryPath, [&module](RegistryFile& reg) {
    for (size_t i = 0; i < module.classCount; ++i) WriteClass(reg, module.classes[i], module);
    WriteAppId(reg, module);
    WriteTypeLib(reg, module);
    return true;
  });
}

HRESULT UnregisterModule(const ModuleRegistration& module, const std::string& registryPath) {
  return EditRegistryFile(module, registryPath, [&module](RegistryFile& reg) {
    size_t removed = 0;
    for (size_t i = 0; i < module.classCount; ++i) removed += RemoveClass(reg, module.classes[i]);
    removed += RemoveAppId(reg, module);
    removed += RemoveTypeLib(reg, module);
    return removed > 0;
  });
}

HRESULT RegisterModule(const ModuleRegistration& module) {
  try {
    return RegisterModule(module, RegistryFilePath());
  } catch (...) {
    return frame::ReportCaughtException(nullptr);
  }
}

HRESULT UnregisterModule(const ModuleRegistration& module) {
  try {
    return UnregisterModule(module, RegistryFilePath());
  } catch (...) {
    return frame::ReportCaughtException(nullptr);
  }
}

}  // namespace nv
