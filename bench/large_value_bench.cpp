// What one huge value and many Info items cost when a package is written.
//
//   large_value_bench string N [ascii|wide]   one object with a string of N
//       characters: the peak memory before saving (the client's string and
//       the object's copy of it) and the further peak that saving and
//       closing the package add, beside the value's encoded size
//   large_value_bench info K                  K Info items: the time to make
//       them (GetInfoItem) and to save the Header
#include "bench_client.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using namespace bench;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Creates a package in a fresh folder, lets `fill` write into it, closes it.
void WritePackage(void (*define)(INvVexaSchema*),
                  const std::function<void(INvVexaDataWriter*)>& fill) {
  const fs::path folder =
      fs::temp_directory_path() / ("large_value_bench." + std::to_string(getpid()));
  fs::create_directories(folder);
  {
    Ref<INvVexaWriter> writer;
    CreateEmbeddedPackage(writer, define, (folder / "p.vexa").string(), afclLow);
    Ref<INvVexaDataWriter> data;
    Check(writer->get_DataWriter(&data.p), "DataWriter");
    fill(data.p);
    Check(writer->CloseVexaArchiveFile(), "Close");
  }
  fs::remove_all(folder);
}

void DefineText(INvVexaSchema* schema) {
  Ref<INvVexaClasses> classes;
  Check(schema->get_Classes(&classes.p), "Classes");
  Ref<INvVexaClass> part;
  Check(classes->Add(Text(u"Part").b, &part.p), "Classes.Add");
  Ref<INvVexaAttributes> attributes;
  Check(part->get_CurrentClassAttributes(&attributes.p), "CurrentClassAttributes");
  AddAttribute(attributes.p, u"text", dtString);
}

void BigString(long characters, bool wide) {
  const char16_t unit = wide ? u'\u00e9' : u'a';  // "&#233;" or "a" when written
  const double encodedMegabytes = characters * (wide ? 6.0 : 1.0) / (1024 * 1024);
  double before = 0;
  const Clock::time_point start = Clock::now();
  WritePackage(DefineText, [&](INvVexaDataWriter* data) {
    Ref<INvVexaObjectWriter> objects;
    Check(data->get_ObjectWriter(&objects.p), "ObjectWriter");
    Ref<INvVexaObject> object;
    Check(objects->NewObject(Text(u"Part").b, Text(u"P1").b, &object.p), "NewObject");
    Ref<INvVexaAttributesValues> values;
    Check(object->get_Values(&values.p), "Values");
    VARIANT value = Scalar(VT_BSTR);
    V_BSTR(&value) = SysAllocStringLen(nullptr, static_cast<UINT>(characters));
    std::fill(V_BSTR(&value), V_BSTR(&value) + characters, unit);
    Check(values->put_Item(Text(u"text").b, value), "put_Item");
    VariantClear(&value);
    before = PeakMegabytes();
    Check(object->Save(), "Save");
  });
  std::printf("string of %ld %s characters: encoded %.1f MB, peak %.1f MB before saving, "
              "%.1f MB after (+%.1f MB), %.2f s\n",
              characters, wide ? "non-ASCII" : "ASCII", encodedMegabytes, before, PeakMegabytes(),
              PeakMegabytes() - before, SecondsSince(start));
}

void ManyInfoItems(long items) {
  double making = 0;
  double saving = 0;
  WritePackage([](INvVexaSchema*) {}, [&](INvVexaDataWriter* data) {
    Ref<INvVexaInfo> info;
    Check(data->get_Info(&info.p), "Info");
    Clock::time_point start = Clock::now();
    const Text ns(u"urn:bench:info");
    for (long k = 0; k < items; ++k) {
      Ref<INvVexaInfoItem> item;
      Check(info->GetInfoItem(Text(Wide("item" + std::to_string(k))).b, ns.b, &item.p),
            "GetInfoItem");
      Check(item->put_ValueType(dtInt), "ValueType");
      VARIANT value = Scalar(VT_I4);
      V_I4(&value) = static_cast<LONG>(k);
      Check(item->put_Value(value), "Value");
    }
    making = SecondsSince(start);
    start = Clock::now();
    Check(info->Save(), "Info.Save");
    saving = SecondsSince(start);
  });
  std::printf("%ld Info items: made in %.3f s, Header saved in %.3f s\n", items, making, saving);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string mode = argc > 1 ? argv[1] : "";
    const long count = argc > 2 ? std::atol(argv[2]) : 0;
    if (mode == "string" && count > 0) {
      BigString(count, argc > 3 && std::string(argv[3]) == "wide");
    } else if (mode == "info" && count > 0) {
      ManyInfoItems(count);
    } else {
      std::fprintf(stderr, "usage: large_value_bench string N [ascii|wide] | info K\n");
      return 2;
    }
    return 0;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "large_value_bench: %s\n", failure.what());
    return 1;
  }
}
