// Structured packages: entries whose names and contents the input chooses,
// zipped with libzip and read as a whole package. Nothing may be written
// outside the work folder: the listing of its parent (the process's scratch
// folder, which holds TEMP too) is compared before and after.
#include <zip.h>

#include <vector>

#include "fuzz_support.h"

using namespace nv_fuzz;

namespace {

// Names a package has, so that the input reaches past the first checks.
const char* const kKnownNames[] = {"VEXA_Data.xml", "VEXA_Schema.xsd", "a.txt", "dir/", "../x"};

// Every name below `folder` except those inside `skip`, with its type.
std::set<std::string> Listing(const fs::path& folder, const fs::path& skip) {
  std::set<std::string> names;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (error) break;
    if (it->path() == skip) {
      it.disable_recursion_pending();
      continue;
    }
    names.insert(it->path().string() + ":" + std::to_string(int(it->symlink_status().type())));
  }
  return names;
}

bool Zip(FuzzInput& input, const std::string& file) {
  int error = 0;
  zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) return false;
  std::vector<std::string> contents;  // libzip reads them at close
  contents.reserve(8);
  for (int k = input.ConsumeIntegralInRange(1, 8); k > 0 && input.remaining_bytes() > 0; --k) {
    const std::string name = input.ConsumeBool()
                                 ? kKnownNames[input.ConsumeIntegralInRange<size_t>(0, 4)]
                                 : input.ConsumeRandomLengthString(64);
    contents.push_back(input.ConsumeRandomLengthString(4096));
    zip_source_t* source =
        zip_source_buffer(archive, contents.back().data(), contents.back().size(), 0);
    if (source == nullptr) continue;
    if (zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_RAW) < 0) zip_source_free(source);
  }
  return zip_close(archive) == 0 || (zip_discard(archive), false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string work = Scratch::Get().Work();
  const fs::path parent = Scratch::Get().Root();
  FuzzInput input(data, size);
  if (!Zip(input, work + "/in.vexa")) return 0;
  fs::create_directory(work + "/out");
  const auto before = Listing(parent, work);
  ReadPackage(work + "/in.vexa", work + "/out");
  const auto after = Listing(parent, work);
  if (before != after) {
    for (const auto& name : after)
      if (!before.count(name)) std::fprintf(stderr, "new: %s\n", name.c_str());
    Fail("something was written outside the work folder");
  }
  return 0;
}
