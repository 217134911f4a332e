// Whole packages as raw bytes through the reader: open, Info, every object
// and value, every embedded file extracted into the scratch folder.
#include "fuzz_support.h"

using namespace nv_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string work = Scratch::Get().Work();
  WriteBytes(work + "/in.vexa", std::string_view(reinterpret_cast<const char*>(data), size));
  fs::create_directory(work + "/out");
  ReadPackage(work + "/in.vexa", work + "/out");
  return 0;
}
