// What reading a large standalone schema document costs beside its floor,
// the XML parser alone.
//
//   schema_load_bench [N]   a schema of N classes (10,000 when not given),
//       20 attributes each, saved by the external schema writer; then the
//       time to parse the file with the hardened DOM parser and the time of
//       the external schema reader's Load, their ratio and the file size
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "frame/bstr.h"
#include "frame/exception.h"
#include "frame/interfaces.h"
#include "frame/variant.h"
#include "xml/hardened_dom_parser.h"

namespace {

using namespace nv;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kAttributesPerClass = 20;
constexpr int kBehaviors = 3;

Bstr Wide(const std::string& s) { return Bstr(std::u16string(s.begin(), s.end())); }
Bstr ClassName(long k) { return Wide("Class" + std::to_string(k)); }
Bstr BehaviorUri(int k) { return Wide("urn:norvvexa:bench#tag" + std::to_string(k)); }

template <class I>
ComPtr<I> Create(const CLSID& clsid, const IID& iid) {
  ComPtr<I> made;
  const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                                      reinterpret_cast<void**>(made.put()));
  if (FAILED(hr)) throw ENvException("CoCreateInstance failed");
  return made;
}

// Attribute k of class `owner` among `classes`: ten kinds in turn, a
// default value on two of them.
void AddAttribute(const ComPtr<INvVexaAttributes>& attributes, long owner, long classes, int k) {
  const ComPtr<INvVexaAttribute> attribute = attributes.Add(Wide("attr" + std::to_string(k)));
  const ComPtr<INvVexaTypeDefinition> type = attribute.TypeDefinition();
  switch (k % 10) {
    case 0:
      type.PutValueType(dtString);
      type.StringType().PutMaxLength(64 + k);
      break;
    case 1:
      type.PutValueType(dtInt);
      attribute.PutDefaultValue(Variant(int32_t(k)));
      break;
    case 2:
      type.PutValueType(dtDouble);
      break;
    case 3:
      type.PutValueType(dtDateTime);
      break;
    case 4:
      type.PutValueType(dtObjectReference);
      type.ObjectReferenceType().PutRestrictionType(ortClass);
      type.ObjectReferenceType().PutClassName(ClassName((owner + 1) % classes));
      break;
    case 5:
      type.PutValueType(dtBoolean);
      attribute.PutDefaultValue(Variant(true));
      break;
    case 6:
      type.PutValueType(dtString);
      attribute.PutRequired(true);
      break;
    case 7:
      type.PutValueType(dtObjectReference);
      type.ObjectReferenceType().PutRestrictionType(ortClassAndDescendants);
      type.ObjectReferenceType().PutClassName(ClassName(0));
      break;
    case 8:
      type.PutValueType(dtAnyUri);
      break;
    default:
      type.PutValueType(dtDate);
      break;
  }
}

// `classes` classes; every fifth lists one of a few embedded behaviours,
// every tenth the standard versioning behaviour.
void DefineSchema(const ComPtr<INvVexaSchema>& schema, long classes) {
  const ComPtr<INvVexaClassesBehaviors> behaviors = schema.ClassesBehaviors();
  for (int b = 0; b < kBehaviors; ++b) {
    const ComPtr<INvVexaAttributes> attributes =
        behaviors.Add(mtEmbedded, BehaviorUri(b), u"", false).Attributes();
    attributes.Add(u"label").TypeDefinition().PutValueType(dtString);
    attributes.Add(u"rank").TypeDefinition().PutValueType(dtInt);
  }
  const auto helper = Create<INvVexaStdHelper>(CLSID_NvVexaStdHelper, IID_INvVexaStdHelper)
                          .CreateSchemaHelper(schema);
  helper.AddDefaultVersioningSupport();
  for (long c = 0; c < classes; ++c) {
    const ComPtr<INvVexaClass> vexaClass = schema.Classes().Add(ClassName(c));
    const ComPtr<INvVexaAttributes> attributes = vexaClass.CurrentClassAttributes();
    for (int k = 0; k < kAttributesPerClass; ++k) AddAttribute(attributes, c, classes, k);
    if (c % 5 == 0)
      vexaClass.CurrentClassBehaviors().Add(behaviors.ItemByURI(BehaviorUri(c / 5 % kBehaviors)),
                                            muNo);
    if (c % 10 == 0) helper.EnableVersioningForClass(vexaClass);
  }
}

double SecondsOf(const std::function<void()>& run) {
  const Clock::time_point start = Clock::now();
  run();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The fastest of a few runs, so that a cold cache does not count.
double BestSecondsOf(const std::function<void()>& run) {
  double best = SecondsOf(run);
  for (int k = 0; k < 2; ++k) best = std::min(best, SecondsOf(run));
  return best;
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A fresh folder, removed with what it holds.
struct ScratchFolder {
  fs::path path = fs::temp_directory_path() / ("schema_load_bench." + std::to_string(getpid()));
  ScratchFolder() { fs::create_directories(path); }
  ~ScratchFolder() { fs::remove_all(path); }
};

int Run(long classes) {
  const ScratchFolder folder;
  const fs::path file = folder.path / "bench.xsd";

  const auto writer = Create<INvVexaExternalSchemaWriter>(CLSID_NvVexaExternalSchemaWriter,
                                                          IID_INvVexaExternalSchemaWriter);
  writer.PutSchemaURI(u"urn:norvvexa:bench");
  const double build = SecondsOf([&] { DefineSchema(writer.Schema(), classes); });
  const double save = SecondsOf([&] { writer.Save(Wide(file.string())); });
  std::printf("%ld classes x %d attributes: built in %.3f s, saved in %.3f s\n", classes,
              kAttributesPerClass, build, save);
  std::printf("file size:   %.2f MB (%ju bytes)\n", fs::file_size(file) / (1024.0 * 1024.0),
              static_cast<uintmax_t>(fs::file_size(file)));

  double parse = 0;
  {  // the parser's document is freed before the reader runs
    const std::string bytes = ReadBytes(file);
    HardenedDomParser parser;
    parse = BestSecondsOf([&] { parser.Parse(bytes); });
  }
  std::printf("DOM parse:   %.3f s\n", parse);

  const auto reader = Create<INvVexaExternalSchemaReader>(CLSID_NvVexaExternalSchemaReader,
                                                          IID_INvVexaExternalSchemaReader);
  try {
    long loadedClasses = 0;
    const double load =
        BestSecondsOf([&] { loadedClasses = reader.Load(Wide(file.string())).Classes().Count(); });
    std::printf("Load:        %.3f s (%ld classes read)\n", load, loadedClasses);
    std::printf("Load / parse: %.2f\n", load / parse);
  } catch (const std::exception& e) {
    std::printf("Load:        failed: %s\n", e.what());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const long classes = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
  if (classes < 1) {
    std::fprintf(stderr, "usage: schema_load_bench [classes]\n");
    return 2;
  }
  try {
    return Run(classes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "schema_load_bench: %s\n", e.what());
    return 1;
  }
}
