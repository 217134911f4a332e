// Test helpers shared by the layers: a scratch folder (mkdtemp) removed with its content, an
// environment variable set for one scope, and small file helpers.
#pragma once

#include "frame/bstr.h"
#include "support/failure_of.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

namespace nv_test {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "nv_test_XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + '/' + std::string(name); }
  nv::Bstr Name(std::string_view name) const { return nv::Bstr::FromUtf8(File(name)); }

 private:
  std::string path_;
};

// Sets (or with nullptr unsets) a variable and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    Set(value);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }

 private:
  void Set(const char* value) {
    if (value != nullptr)
      ::setenv(name_.c_str(), value, 1);
    else
      ::unsetenv(name_.c_str());
  }
  std::string name_;
  std::optional<std::string> old_;
};

inline void WriteText(const std::string& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The names a folder holds.
inline std::set<std::string> FolderNames(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// A scratch folder whose "temp" subfolder is TEMP for as long as it lives:
// the library's temporary folders go there, so a test can see none is left.
class ScratchWithTemp : public ScratchFolder {
 public:
  ScratchWithTemp() : temp_(File("temp")), env_("TEMP", temp_.c_str()) {
    std::filesystem::create_directory(temp_);
  }
  // The paths left below the temporary folder, else "".
  std::string TempLeft() const {
    std::string left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp_))
      left += entry.path().string().substr(temp_.size()) + " ";
    return left;
  }

 private:
  std::string temp_;
  ScopedEnv env_;
};

}  // namespace nv_test
