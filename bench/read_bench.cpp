// Package reading through the public interfaces, as a client reads: opens a
// package (such as the ones write_bench writes), reads its Info, walks every
// object and asks for every value (Item of each attribute of the class and
// of each behaviour). Prints objects and megabytes of instance document per
// second and the peak memory of the process.
//
//   read_bench PACKAGE
#include <sys/resource.h>
#include <zip.h>

#include <chrono>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_client.h"

using namespace bench;

namespace {

using Names = std::vector<std::unique_ptr<Text>>;

// The names of a collection of attributes, asked for once per class.
template <class Attributes>
Names NamesOf(Attributes* attributes) {
  LONG count = 0;
  Check(attributes->get_Count(&count), "Attributes.Count");
  Names names;
  for (LONG k = 0; k < count; ++k) {
    Ref<INvVexaAttribute> attribute;
    Check(attributes->get_Item(k, &attribute.p), "Attributes.Item");
    BSTR name = nullptr;
    Check(attribute->get_Name(&name), "Attribute.Name");
    names.push_back(std::make_unique<Text>(std::u16string(name, SysStringLen(name))));
    SysFreeString(name);
  }
  return names;
}

// What is asked of each object of a class: its attribute names, and per
// behaviour its URI and attribute names.
struct ClassShape {
  Names attributes;
  std::vector<std::pair<std::unique_ptr<Text>, Names>> behaviors;
};

ClassShape ShapeOf(INvVexaSchema* schema, BSTR className) {
  Ref<INvVexaClasses> classes;
  Check(schema->get_Classes(&classes.p), "Schema.Classes");
  Ref<INvVexaClass> vexaClass;
  Check(classes->ItemByName(className, &vexaClass.p), "Classes.ItemByName");
  Ref<INvVexaReadOnlyAttributes> all;
  Check(vexaClass->get_AllAttributes(&all.p), "Class.AllAttributes");
  ClassShape shape{NamesOf(all.p), {}};
  Ref<INvVexaReadOnlyClassBehaviors> behaviors;
  Check(vexaClass->get_AllBehaviors(&behaviors.p), "Class.AllBehaviors");
  LONG count = 0;
  Check(behaviors->get_Count(&count), "Behaviors.Count");
  for (LONG k = 0; k < count; ++k) {
    Ref<INvVexaClassBehavior> behavior;
    Check(behaviors->get_Item(k, &behavior.p), "Behaviors.Item");
    BSTR uri = nullptr;
    Check(behavior->get_URI(&uri), "Behavior.URI");
    Ref<INvVexaAttributes> attributes;
    Check(behavior->get_Attributes(&attributes.p), "Behavior.Attributes");
    shape.behaviors.emplace_back(std::make_unique<Text>(std::u16string(uri, SysStringLen(uri))),
                                 NamesOf(attributes.p));
    SysFreeString(uri);
  }
  return shape;
}

void TouchValues(INvVexaAttributesValues* values, const Names& names) {
  for (const auto& name : names) {
    VARIANT value;
    VariantInit(&value);
    Check(values->get_Item(name->b, &value), "Values.Item");
    VariantClear(&value);
  }
}

long ReadPackage(const std::u16string& fileName) {
  Ref<INvVexaReader> reader;
  Check(CoCreateInstance(CLSID_NvVexaReader, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaReader,
                         reinterpret_cast<void**>(&reader.p)),
        "CoCreateInstance(NvVexaReader)");
  Check(reader->put_ValidateMustUnderstand(VARIANT_FALSE), "Reader.ValidateMustUnderstand");
  Check(reader->OpenVexaArchiveFile(Text(fileName).b, VARIANT_TRUE), "Reader.Open");
  Ref<INvVexaSchema> schema;
  Check(reader->get_Schema(&schema.p), "Reader.Schema");
  Ref<INvVexaObjectIterator> iterator;
  GetObjectIterator(reader.p, iterator);
  std::vector<std::pair<std::u16string, ClassShape>> shapes;
  long count = 0;
  for (VARIANT_BOOL atEnd = VARIANT_FALSE; Check(iterator->get_AtEnd(&atEnd), "AtEnd"), !atEnd;
       Check(iterator->Next(), "Iterator.Next")) {
    Ref<INvVexaObject> object;
    Check(iterator->GetObject(&object.p), "Iterator.GetObject");
    BSTR className = nullptr;
    Check(object->get_vexaClassName(&className), "Object.vexaClassName");
    const std::u16string key(className, SysStringLen(className));
    auto shape = shapes.begin();
    while (shape != shapes.end() && shape->first != key) ++shape;
    if (shape == shapes.end())
      shape = shapes.insert(shapes.end(), {key, ShapeOf(schema.p, className)});
    SysFreeString(className);
    Ref<INvVexaAttributesValues> values;
    Check(object->get_Values(&values.p), "Object.Values");
    TouchValues(values.p, shape->second.attributes);
    for (const auto& [uri, names] : shape->second.behaviors) {
      Ref<INvVexaAttributesValues> behaviorValues;
      Check(object->GetBehaviorValues(uri->b, &behaviorValues.p), "Object.GetBehaviorValues");
      TouchValues(behaviorValues.p, names);
    }
    ++count;
  }
  Check(reader->Close(), "Reader.Close");
  return count;
}

double InstanceMegabytes(const std::string& package) {
  int error = 0;
  zip_t* archive = zip_open(package.c_str(), ZIP_RDONLY, &error);
  zip_stat_t stat;
  zip_stat_init(&stat);
  const bool found = archive && zip_stat(archive, "VEXA_Data.xml", 0, &stat) == 0;
  if (archive) zip_discard(archive);
  return found ? stat.size / (1024.0 * 1024.0) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PACKAGE\n", argv[0]);
    return 2;
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    const long objects = ReadPackage(Wide(argv[1]));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double megabytes = InstanceMegabytes(argv[1]);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "read %ld objects (%.1f MB of instance document) in %.2f s: %.0f objects/s, "
        "%.1f MB/s, peak memory %.1f MB\n",
        objects, megabytes, seconds, objects / seconds, megabytes / seconds,
        usage.ru_maxrss / 1024.0);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return 0;
}
