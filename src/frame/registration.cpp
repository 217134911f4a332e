#include "frame/registration.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "frame/unique_fd.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string_view>

namespace nv {

// Reading, editing and writing the registry file.

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr HRESULT kReadFault = static_cast<HRESULT>(0x8003001Eu);  // STG_E_READFAULT

// ---- Names ------------------------------------------------------------------

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

unsigned NameRank(char c) {
  return c == '\\' ? 0u : static_cast<unsigned char>(LowerAscii(c)) + 1u;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

bool IsSelfOrBelow(std::string_view name, std::string_view key) {
  return name.size() >= key.size() && SameName(name.substr(0, key.size()), key) &&
         (name.size() == key.size() || name[key.size()] == '\\');
}

// ---- Text form ----------------------------------------------------------------

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte order mark
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

// Line feeds and carriage returns are escaped too, so that any value stays on
// one line.
std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out += '"';
}

char Unescape(char c) {
  switch (c) {
    case 'n': return '\n';
    case 'r': return '\r';
    default: return c;
  }
}

// Reads a quoted string starting at text[pos]; `pos` ends after the closing
// quote. An unknown escape keeps its backslash.
bool ReadQuoted(std::string_view text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  out.clear();
  for (size_t i = pos + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      pos = i + 1;
      return true;
    }
    if (c != '\\' || i + 1 == text.size()) {
      out += c;
      continue;
    }
    const char next = text[++i];
    if (next != '\\' && next != '"' && next != 'n' && next != 'r') out += '\\';
    out += Unescape(next);
  }
  return false;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

// Reads `@=` or `"name"=`; `pos` ends after the '=' and any blanks.
bool ReadValueName(std::string_view line, size_t& pos, std::string& name) {
  pos = 0;
  if (line.empty()) return false;
  if (line[0] == '@') {
    name.clear();
    pos = 1;
  } else if (!ReadQuoted(line, pos, name)) {
    return false;
  }
  pos = SkipBlanks(line, pos);
  if (pos == line.size() || line[pos] != '=') return false;
  pos = SkipBlanks(line, pos + 1);
  return true;
}

bool IsSectionLine(std::string_view line) {
  return line.size() > 2 && line.front() == '[' && line.back() == ']';
}

std::string FormatValueName(std::string_view name) { return name.empty() ? "@" : Quote(name); }

// ---- Files --------------------------------------------------------------------

HRESULT HresultFromErrno(int error, HRESULT otherwise) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return E_ACCESSDENIED;
    case ENOMEM:
      return E_OUTOFMEMORY;
    default:
      return otherwise;
  }
}


HRESULT ReadWholeFile(const std::string& path, std::string& text) {
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0)
    return errno == ENOENT || errno == ENOTDIR ? S_FALSE : HresultFromErrno(errno, kReadFault);
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
    if (n == 0) return S_OK;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return HresultFromErrno(errno, kReadFault);
    text.append(buffer, static_cast<size_t>(n));
  }
}

HRESULT WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return HresultFromErrno(errno, STG_E_WRITEFAULT);
    text.remove_prefix(static_cast<size_t>(n));
  }
  return S_OK;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

HRESULT CreateFolders(const std::string& folder) {
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string prefix = folder.substr(0, end);
    // mkdir may report EACCES or EROFS for a folder that exists, so look.
    if (!prefix.empty() && ::mkdir(prefix.c_str(), 0700) != 0 && !IsFolder(prefix))
      return HresultFromErrno(errno, STG_E_WRITEFAULT);
    if (end == std::string::npos) return S_OK;
  }
}

// Saving through a symbolic link replaces the file it points to, not the link.
std::string ResolveLink(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

void KeepModeOf(const std::string& path, int fd) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
}

// Writes a temporary file beside the target and renames it over the target,
// so that readers see either the old or the new contents.
HRESULT ReplaceFile(const std::string& path, std::string_view text) {
  std::string temp = path + ".XXXXXX";
  UniqueFd file(::mkostemp(temp.data(), O_CLOEXEC));
  if (file.get() < 0) return HresultFromErrno(errno, STG_E_WRITEFAULT);
  HRESULT hr = WriteAll(file.get(), text);
  KeepModeOf(path, file.get());
  if (SUCCEEDED(hr) && ::fsync(file.get()) != 0) hr = HresultFromErrno(errno, STG_E_WRITEFAULT);
  if (!file.Close() && SUCCEEDED(hr)) hr = HresultFromErrno(errno, STG_E_WRITEFAULT);
  if (SUCCEEDED(hr) && ::rename(temp.c_str(), path.c_str()) != 0)
    hr = HresultFromErrno(errno, STG_E_WRITEFAULT);
  if (FAILED(hr)) ::unlink(temp.c_str());
  return hr;
}

// ---- Location -------------------------------------------------------------------

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

std::string HomeFolder() {
  if (const char* home = NonEmptyEnv("HOME")) return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

std::string WithoutTrailingSlashes(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

bool RegistryNameLess::operator()(std::string_view a, std::string_view b) const noexcept {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned ra = NameRank(a[i]);
    const unsigned rb = NameRank(b[i]);
    if (ra != rb) return ra < rb;
  }
  return a.size() < b.size();
}

// ---- RegistryFile -------------------------------------------------------------------

HRESULT RegistryFile::Load(const std::string& path) {
  std::string text;
  const HRESULT hr = ReadWholeFile(path, text);
  if (FAILED(hr)) return hr;
  Parse(text);
  return hr;
}

HRESULT RegistryFile::Save(const std::string& path) const {
  const std::string target = ResolveLink(path);
  if (const HRESULT hr = CreateFolders(ParentFolder(target)); FAILED(hr)) return hr;
  return ReplaceFile(target, ToText());
}

void RegistryFile::Parse(std::string_view text) {
  keys_.clear();
  preamble_.clear();
  const std::vector<std::string_view> lines = SplitLines(text);
  Key* current = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = Trim(lines[i]);
    if (line.empty() || line == kHeader || line == kOldHeader) continue;
    if (IsSectionLine(line))
      current = &KeyAt(line.substr(1, line.size() - 2));
    else if (current == nullptr)
      preamble_.emplace_back(line);
    else
      ParseLineInto(*current, lines, i);
  }
}

// Files one line of a key's section: a string value, another kind of value
// (hexadecimal data continues on lines ending with a backslash), or anything
// else, which is kept as it stands.
void RegistryFile::ParseLineInto(Key& key, const std::vector<std::string_view>& lines,
                                 size_t& index) {
  const std::string_view line = Trim(lines[index]);
  std::string name;
  size_t pos = 0;
  if (!ReadValueName(line, pos, name)) {
    key.otherLines.emplace_back(line);
    return;
  }
  std::string value;
  if (ReadQuoted(line, pos, value) && Trim(line.substr(pos)).empty()) {
    key.otherValues.erase(name);
    key.values.insert_or_assign(std::move(name), std::move(value));
    return;
  }
  std::string verbatim(line);
  while (verbatim.back() == '\\' && index + 1 < lines.size()) {
    verbatim += '\n';
    verbatim += lines[++index];
  }
  key.values.erase(name);
  key.otherValues.insert_or_assign(std::move(name), std::move(verbatim));
}

std::string RegistryFile::ToText() const {
  std::string out(kHeader);
  out += "\n\n";
  for (const std::string& line : preamble_) out += line + '\n';
  if (!preamble_.empty()) out += '\n';
  for (const auto& [name, key] : keys_) {
    out += '[' + name + "]\n";
    for (const auto& [valueName, value] : key.values)
      out += FormatValueName(valueName) + '=' + Quote(value) + '\n';
    for (const auto& [valueName, verbatim] : key.otherValues) out += verbatim + '\n';
    for (const std::string& line : key.otherLines) out += line + '\n';
    out += '\n';
  }
  return out;
}

RegistryFile::Key& RegistryFile::KeyAt(std::string_view key) {
  auto it = keys_.find(key);
  if (it == keys_.end()) it = keys_.emplace(std::string(key), Key{}).first;
  return it->second;
}

void RegistryFile::EnsureKey(std::string_view key) {
  // The root key itself (the part before the first backslash) is implied.
  size_t pos = key.find('\\');
  while (pos != std::string_view::npos && (pos = key.find('\\', pos + 1)) != std::string_view::npos)
    KeyAt(key.substr(0, pos));
  KeyAt(key);
}

void RegistryFile::SetValue(std::string_view key, std::string_view name, std::string_view value) {
  EnsureKey(key);
  Key& entry = KeyAt(key);
  if (auto other = entry.otherValues.find(name); other != entry.otherValues.end())
    entry.otherValues.erase(other);
  if (auto it = entry.values.find(name); it != entry.values.end())
    it->second = value;
  else
    entry.values.emplace(std::string(name), std::string(value));
}

size_t RegistryFile::RemoveTree(std::string_view key) {
  const auto first = keys_.lower_bound(key);
  auto last = first;
  while (last != keys_.end() && IsSelfOrBelow(last->first, key)) ++last;
  const auto count = static_cast<size_t>(std::distance(first, last));
  keys_.erase(first, last);
  return count;
}

bool RegistryFile::RemoveKeyIfEmpty(std::string_view key) {
  const auto it = keys_.find(key);
  if (it == keys_.end()) return false;
  const Key& entry = it->second;
  if (!entry.values.empty() || !entry.otherValues.empty() || !entry.otherLines.empty())
    return false;
  const auto next = std::next(it);
  if (next != keys_.end() && IsSelfOrBelow(next->first, key)) return false;
  keys_.erase(it);
  return true;
}

bool RegistryFile::HasKey(std::string_view key) const { return keys_.find(key) != keys_.end(); }

std::optional<std::string> RegistryFile::GetValue(std::string_view key,
                                                  std::string_view name) const {
  const auto it = keys_.find(key);
  if (it == keys_.end()) return std::nullopt;
  const auto value = it->second.values.find(name);
  if (value == it->second.values.end()) return std::nullopt;
  return value->second;
}

std::vector<std::string> RegistryFile::KeyNames() const {
  std::vector<std::string> names;
  names.reserve(keys_.size());
  for (const auto& entry : keys_) names.push_back(entry.first);
  return names;
}

std::string RegistryFilePath() {
  if (const char* explicitPath = NonEmptyEnv("NORVVEXA_REGISTRY")) return explicitPath;
  // The base directory specification says to ignore a relative XDG_CONFIG_HOME.
  const char* config = NonEmptyEnv("XDG_CONFIG_HOME");
  const std::string base = config != nullptr && config[0] == '/'
                               ? WithoutTrailingSlashes(config)
                               : WithoutTrailingSlashes(HomeFolder()) + "/.config";
  return base + "/NorvVexa1/registry";
}

// Writes and removes the module's registration in the registry file.

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
  return frame::RunFramed(nullptr, [&]() -> HRESULT {
    RegistryFile reg;
    const HRESULT loaded = reg.Load(path);
    if (FAILED(loaded)) return loaded;
    if (!edit(reg)) return S_OK;
    return reg.Save(path);
  });
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
  return frame::RunFramed(nullptr, [&] { return RegisterModule(module, RegistryFilePath()); });
}

HRESULT UnregisterModule(const ModuleRegistration& module) {
  return frame::RunFramed(nullptr, [&] { return UnregisterModule(module, RegistryFilePath()); });
}

}  // namespace nv
