// The schema document reader on a file in the scratch folder, then the
// schema read is written out again: whatever was accepted must save.
#include "fuzz_support.h"
#include "schemadoc/schema_reader.h"
#include "schemadoc/schema_writer.h"

using namespace nv_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string work = Scratch::Get().Work();
  WriteBytes(work + "/doc.xsd", std::string_view(reinterpret_cast<const char*>(data), size));
  const ComPtr<INvVexaSchema> schema = MakeSchema();
  if (Refused([&] { ReadSchemaDocument(schema, Bstr::FromUtf8(work + "/doc.xsd")); })) return 0;
  // Some accepted documents name things the writer refuses (names that are no
  // XML names); only a failure that is not the library's own message counts.
  Refused([&] { MakeSchemaWriter(schema, false).Save(Bstr::FromUtf8(work + "/again.xsd")); });
  return 0;
}
