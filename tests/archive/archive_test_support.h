// Helpers for the archive tests: a scratch folder, files, commands, folder
// snapshots and the message of a failed call.
#pragma once

#include "frame/bstr.h"
#include "frame/exception.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

namespace nv_archive_test {

namespace fs = std::filesystem;

inline nv::Bstr U(std::string_view utf8) { return nv::Bstr::FromUtf8(utf8); }

// A fresh folder, removed with its contents.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "nv_archive_XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + '/' + std::string(name); }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CommandResult {
  int status = -1;
  std::string output;
};

// Runs a shell command, capturing standard output and error together.
inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int raw = ::pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

// Every path below `folder` (links not followed), relative to it.
inline std::set<std::string> Snapshot(const std::string& folder) {
  std::set<std::string> paths;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator();
       ++it)
    paths.insert(it->path().lexically_relative(folder).string());
  return paths;
}

// The message of the failure that `call` raises, or "<no failure>".
template <class F>
std::string MessageOf(F&& call) {
  try {
    call();
  } catch (const nv::ComError& e) {
    return e.Description().Utf8();
  }
  return "<no failure>";
}

}  // namespace nv_archive_test
