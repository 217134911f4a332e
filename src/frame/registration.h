// Registration of the module's classes, written to a registry file in the
// format the Windows registry exports.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nv {

// RegistryFile: the part of the Windows registry that the library uses, kept
// in a text file laid out like a registry export:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CLASSES_ROOT\CLSID\{...}]
//   @="default value"
//   "Name"="value"
//
// Only string values are interpreted. The file may be edited by hand, so lines
// this class does not understand (other value types, comments) are carried
// through a load and save unchanged.

// Compares key and value names as the registry does: ASCII letters without
// regard to case. A backslash sorts before every other character so that a
// key's subkeys directly follow the key.
struct RegistryNameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept;
};

class RegistryFile {
 public:
  // Replaces the contents with those of the file. A missing file gives an
  // empty registry and S_FALSE.
  HRESULT Load(const std::string& path);
  // Writes the file atomically, creating missing folders with mode 0700.
  HRESULT Save(const std::string& path) const;

  void Parse(std::string_view text);
  std::string ToText() const;

  // Creates the key and its missing ancestors below the root key. Key names
  // are full paths ("HKEY_CLASSES_ROOT\\CLSID"); existing keys keep their
  // first spelling.
  void EnsureKey(std::string_view key);
  // An empty name sets the key's default value. Creates the key as needed.
  void SetValue(std::string_view key, std::string_view name, std::string_view value);
  // Removes the key and all keys below it; answers how many were removed.
  size_t RemoveTree(std::string_view key);
  // Removes the key when it has no values, no subkeys and no kept lines.
  bool RemoveKeyIfEmpty(std::string_view key);

  bool HasKey(std::string_view key) const;
  std::optional<std::string> GetValue(std::string_view key, std::string_view name) const;
  // All keys in file order, as spelt when first created.
  std::vector<std::string> KeyNames() const;

 private:
  using NameMap = std::map<std::string, std::string, RegistryNameLess>;
  struct Key {
    NameMap values;                      // string values by name ("" = default)
    NameMap otherValues;                 // other value types: name -> verbatim text
    std::vector<std::string> otherLines; // comments and unrecognised lines
  };
  using KeyMap = std::map<std::string, Key, RegistryNameLess>;

  Key& KeyAt(std::string_view key);
  void ParseLineInto(Key& key, const std::vector<std::string_view>& lines, size_t& index);

  KeyMap keys_;
  std::vector<std::string> preamble_;  // unrecognised lines before the first key
};

// $NORVVEXA_REGISTRY when set and not empty, else
// $XDG_CONFIG_HOME/NorvVexa1/registry, else ~/.config/NorvVexa1/registry.
std::string RegistryFilePath();

// Module registration: writes and removes, in the registry file, the keys
// that the Windows registry holds for an in-process server, its classes, its
// application identifier and its type library.

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
