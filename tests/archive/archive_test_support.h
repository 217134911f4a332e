// Helpers for the archive tests: a scratch folder, files, shell commands,
// folder snapshots, the message of a failed call, a writer and a reader.
#pragma once

#include "archive/unzipper.h"
#include "archive/zipper.h"
#include "frame/bstr.h"
#include "support/failure_of.h"
#include "support/readback.h"
#include "support/scratch.h"

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace nv_archive_test {

namespace fs = std::filesystem;
using nv::ComPtr;
using nv_test::ReadText;

inline nv::Bstr U(std::string_view utf8) { return nv::Bstr::FromUtf8(utf8); }

// A fresh folder, removed with its contents; `dir / "a/b"` names a path in it.
struct Scratch : nv_test::ScratchFolder {
  std::string operator/(std::string_view name) const { return File(name); }
};

// Writes a file, making its folders first.
inline void WriteFile(const std::string& path, std::string_view bytes) {
  fs::create_directories(fs::path(path).parent_path());
  nv_test::WriteText(path, bytes);
}

using nv_test::CommandResult;
using nv_test::RunCommand;

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

// Every path below `folder` (links not followed), relative to it.
inline std::set<std::string> Snapshot(const std::string& folder) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    paths.insert(entry.path().lexically_relative(folder).string());
  return paths;
}

inline constexpr auto MessageOf = [](auto&& call) { return nv_test::MessageOfFailure(call); };

// Replaces the first "@" in `text` by `path`.
inline std::string At(std::string text, const std::string& path) {
  if (const size_t at = text.find('@'); at != std::string::npos) text.replace(at, 1, path);
  return text;
}

inline ComPtr<ITAbZipper> NewZipper(const std::string& archive, const std::string& base) {
  ComPtr<ITAbZipper> zipper = nv::CreateObject<nv::CNvTAbZipper>();
  zipper.PutFileName(U(archive));
  zipper.PutBaseDirectory(U(base));
  return zipper;
}

inline ComPtr<ITAbUnZipper> NewUnzipper(const std::string& archive, const std::string& base,
                                        bool init = true) {
  ComPtr<ITAbUnZipper> unzipper = nv::CreateObject<nv::CNvTAbUnZipper>();
  if (init) unzipper.Init();
  unzipper.PutFileName(U(archive));
  unzipper.PutBaseDirectory(U(base));
  return unzipper;
}

}  // namespace nv_archive_test
