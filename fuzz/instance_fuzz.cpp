// The instance document through the pull parser and the object reader,
// against the fixed schema, fed in chunks whose sizes the input chooses: the
// first four bytes seed the chunk sizes, the rest is the document.
#include <algorithm>
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "reader/object_reader.h"
#include "reader/value_elements.h"
#include "xml/pull_parser.h"

using namespace nv_fuzz;

namespace {

void ReadDocument(std::string_view document, uint32_t seed) {
  static const ComPtr<INvVexaSchema> schema = FixedSchema();
  auto parser = std::make_shared<PullParser>();
  size_t at = 0;
  parser->Open(
      [&](char* buffer, size_t size) {
        seed = seed * 1103515245u + 12345u;
        const size_t chunk = std::min({size, document.size() - at, size_t{1} + (seed >> 16) % 600});
        std::memcpy(buffer, document.data() + at, chunk);
        at += chunk;
        return chunk;
      },
      u"VEXA_Data.xml");
  parser->SkipTokens(kSkippedTokens);
  if (parser->AtEnd() || !parser->IsStartElement(u"Envelope", kSoapEnvelopeNamespace)) return;
  parser->NextSkipping(kSkippedTokens);
  if (!parser->AtEnd() && parser->IsStartElement(u"Header", kSoapEnvelopeNamespace)) {
    parser->GetElementXML();
    parser->NextSkipping(kSkippedTokens);
  }
  const ComPtr<INvVexaObjectIterator> objects = CreateObject<CNvVexaObjectIterator>(parser, schema);
  for (; !objects.AtEnd(); objects.Next())
    if (objects.GetObject()) DescribeObject(objects.GetObject(), schema);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t seed;
  std::memcpy(&seed, data, 4);
  const std::string_view document(reinterpret_cast<const char*>(data) + 4, size - 4);
  Refused([&] { ReadDocument(document, seed); });
  return 0;
}
