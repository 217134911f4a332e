// Archive writing speed: 10,000 small files and one large file, at each
// compression level, through the zipper and through the zip command on the
// same files at the same level, in the same run.
//
//   zip_bench [large-file-MB (default 500)] [small-file-count (default 10000)]
#include "archive/zipper.h"
#include "frame/bstr.h"

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

// Text in which words repeat as in documents, with some noise so that
// deflate has work to do at every level.
std::string Text(size_t size, std::mt19937& random) {
  static const char* words[] = {"object", "attribute", "value",  "class",  "schema",      "file",
                                "change", "package",   "reader", "writer", "<item id=\"", "\"/>\n"};
  std::string text;
  text.reserve(size + 16);
  while (text.size() < size) {
    text += words[random() % 12];
    text += static_cast<char>('a' + random() % 26);
    text += ' ';
  }
  text.resize(size);
  return text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void RunCommand(const std::string& command) {
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
}

struct Level {
  ArchiveFileCompressionLevelEnum level;
  const char* name;
  int zipLevel;
};

struct FileSet {
  const char* label;
  fs::path folder;
  std::vector<std::string> names;
  uint64_t bytes = 0;
};

double ZipperSeconds(const FileSet& set, const Level& level, const fs::path& archive) {
  return Seconds([&] {
    nv::ComPtr<ITAbZipper> zipper = nv::CreateObject<nv::CNvTAbZipper>();
    zipper.PutFileName(nv::Bstr::FromUtf8(archive.string()));
    zipper.PutBaseDirectory(nv::Bstr::FromUtf8(set.folder.string()));
    zipper.PutCopmressionLevel(level.level);
    for (const std::string& name : set.names) zipper.AddFiles(nv::Bstr::FromUtf8(name));
    zipper.Save();
    zipper.CloseArchive();
  });
}

double ZipCommandSeconds(const FileSet& set, const Level& level, const fs::path& archive) {
  return Seconds([&] {
    RunCommand("cd '" + set.folder.string() + "' && zip -q -r -" + std::to_string(level.zipLevel) +
               " '" + archive.string() + "' .");
  });
}

void Measure(const FileSet& set, const fs::path& work) {
  static const Level levels[] = {{afclNone, "afclNone", 0},
                                 {afclLow, "afclLow", 4},
                                 {afclMedium, "afclMedium", 6},
                                 {afclHigh, "afclHigh", 9}};
  const double mb = static_cast<double>(set.bytes) / 1e6;
  for (const Level& level : levels) {
    const fs::path ours = work / "ours.zip", theirs = work / "theirs.zip";
    const double oursSeconds = ZipperSeconds(set, level, ours);
    const double zipSeconds = ZipCommandSeconds(set, level, theirs);
    std::printf("%-22s %-10s zip -%d | zipper %8.1f MB/s %10.1f MB | zip %8.1f MB/s %10.1f MB\n",
                set.label, level.name, level.zipLevel, mb / oursSeconds,
                static_cast<double>(fs::file_size(ours)) / 1e6, mb / zipSeconds,
                static_cast<double>(fs::file_size(theirs)) / 1e6);
    std::fflush(stdout);
    fs::remove(ours);
    fs::remove(theirs);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t largeMb = argc > 1 ? std::stoull(argv[1]) : 500;
  const int smallCount = argc > 2 ? std::stoi(argv[2]) : 10000;
  std::string pattern = (fs::temp_directory_path() / "nv_zip_bench_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path work = pattern;
  std::mt19937 random(42);

  FileSet small{"small files", work / "small", {}, 0};
  fs::create_directories(small.folder);
  for (int k = 0; k < smallCount; ++k) {
    const std::string name = "f" + std::to_string(k) + ".xml";
    const std::string text = Text(1000 + random() % 7000, random);
    WriteFile(small.folder / name, text);
    small.names.push_back(name);
    small.bytes += text.size();
  }
  FileSet large{"one large file", work / "large", {"large.bin"}, 0};
  fs::create_directories(large.folder);
  {
    std::ofstream out(large.folder / "large.bin", std::ios::binary);
    for (uint64_t k = 0; k < largeMb; ++k) {
      const std::string block = Text(1 << 20, random);
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    large.bytes = largeMb << 20;
  }
  std::printf("%d small files, %.1f MB; one large file, %.1f MB\n", smallCount,
              static_cast<double>(small.bytes) / 1e6, static_cast<double>(large.bytes) / 1e6);
  char label[64];
  std::snprintf(label, sizeof label, "%d small files", smallCount);
  small.label = label;
  Measure(small, work);
  Measure(large, work);
  fs::remove_all(work);
  return 0;
}
