// What the fuzz targets share: a scratch folder per process (TEMP points
// inside it), refusals told from faults, a fixed schema with an attribute of
// every data type, and a walk over everything an object holds.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "frame/bstr.h"
#include "frame/exception.h"
#include "frame/interfaces.h"
#include "frame/text.h"
#include "frame/variant.h"
#include "instance/names.h"
#include "instance/value_elements.h"
#include "schema/schema.h"
#include "values/value_to_text.h"

namespace nv_fuzz {

using namespace nv;
namespace fs = std::filesystem;

// Stops the run with a message: libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

// A folder made once per process, holding "temp" (the library's TEMP) and
// "work" (emptied before each input).
class Scratch {
 public:
  static Scratch& Get() {
    static Scratch scratch;
    return scratch;
  }
  const std::string& Root() const { return root_; }
  // The emptied work folder.
  std::string Work() const {
    std::error_code ignored;
    fs::remove_all(work_, ignored);
    fs::create_directory(work_);
    return work_;
  }

 private:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "nv_fuzz_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp");
    root_ = pattern;
    work_ = root_ + "/work";
    fs::create_directory(root_ + "/temp");
    ::setenv("TEMP", (root_ + "/temp").c_str(), 1);
    ::setenv("TMPDIR", (root_ + "/temp").c_str(), 1);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::string root_, work_;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

// Runs `body`; the library's refusals (its exceptions) end it quietly.
template <class Body>
bool Refused(Body&& body) {
  try {
    body();
    return false;
  } catch (const std::exception&) {
    return true;
  }
}

inline constexpr const char16_t* kSchemaUri = u"urn:fuzz";
inline constexpr const char16_t* kBehaviorUri = u"urn:fuzz:b#Tagged";

// Adds "t<type>" for each data type, spread over Base <- Leaf, and a
// behaviour with an int, a string and an XML attribute on Leaf.
inline void AddFixedClasses(const ComPtr<INvVexaSchema>& schema) {
  const auto classes = schema.Classes();
  const auto base = classes.Add(u"Base"), leaf = classes.Add(u"Leaf");
  leaf.PutParentClass(base);
  for (int type = dtString; type <= dtXML; ++type) {
    const auto owner = type % 2 ? base : leaf;
    const auto attribute =
        owner.CurrentClassAttributes().Add(Bstr::FromUtf8("t" + std::to_string(type)));
    attribute.TypeDefinition().PutValueType(static_cast<DataTypeEnum>(type));
    attribute.PutIsNullAllowed(true);
  }
  const auto tagged = schema.ClassesBehaviors().Add(mtEmbedded, kBehaviorUri, u"", false);
  for (const auto& [name, type] : {std::pair{u"rev", dtInt}, {u"note", dtString}, {u"doc", dtXML}})
    tagged.Attributes().Add(name).TypeDefinition().PutValueType(type);
  leaf.CurrentClassBehaviors().Add(tagged, muNo);
}

// The fixed classes in a schema of URI kSchemaUri.
inline ComPtr<INvVexaSchema> FixedSchema() {
  ComPtr<INvVexaSchema> schema = MakeSchema();
  schema.PutSchemaURI(kSchemaUri);
  AddFixedClasses(schema);
  return schema;
}

// A value as comparable text: XML values re-serialized with a fresh table.
// Of a value as written (`written`), the text a reader finds: a reference
// is written as given and read as the identifier it names, without a
// leading "#".
inline std::u16string ValueText(const VARIANT& value, DataTypeEnum type, bool written = false) {
  if (value.vt == VT_NULL) return u"(null)";
  if (value.vt == VT_EMPTY) return u"(empty)";
  std::u16string text;
  if (type == dtXML && value.vt == VT_DISPATCH)
    AppendXmlValueText(text, ComPtr<IDispatch>(value.pdispVal).as<INvVexaXmlAttributeValue>(),
                       XmlValueScope{CreateObject<CNvVexaNamespaces>()});
  else
    AppendVexaVariantText(text, value, type);
  if (written && type == dtObjectReference && text.starts_with(u'#')) text.erase(0, 1);
  return text;
}

// Every assigned value of the object, class attributes then behaviours, as
// "name=text;" (a value the library cannot show as text shows as "?"); of a
// written object (`written`), as a reader finds them.
inline std::u16string DescribeObject(const ComPtr<INvVexaObject>& object,
                                     const ComPtr<INvVexaSchema>& schema, bool written = false) {
  const auto vexaClass = schema.Classes().ItemByName(object.vexaClassName());
  std::u16string out = std::u16string(object.vexaClassName().View()) + u"#" +
                       std::u16string(object.Id().View()) + u":";
  const auto describe = [&](const auto& attributes, const ComPtr<INvVexaAttributesValues>& values) {
    for (LONG k = 0; k < attributes.Count(); ++k) {
      const auto attribute = attributes.Item(k);
      const Bstr name = attribute.Name();
      if (!values.IsValueAssigned(name)) continue;
      const Variant value = values.Item(name);
      std::u16string text = u"?";
      Refused([&] { text = ValueText(value, attribute.TypeDefinition().ValueType(), written); });
      out += std::u16string(name.View()) + u"=" + text + u";";
    }
  };
  describe(ComPtr<INvVexaReadOnlyAttributes>(vexaClass.AllAttributes()), object.Values());
  const auto behaviors = vexaClass.AllBehaviors();
  for (LONG k = 0; k < behaviors.Count(); ++k)
    describe(ComPtr<INvVexaAttributes>(behaviors.Item(k).Attributes()),
             object.GetBehaviorValues(behaviors.Item(k).URI()));
  return out;
}

}  // namespace nv_fuzz

// Reading whole packages, shared by the raw and the structured package targets.
#include "reader/reader.h"

namespace nv_fuzz {

inline ComPtr<INvVexaStdHelper> StdHelper() {
  ComPtr<INvVexaStdHelper> made;
  if (CoCreateInstance(CLSID_NvVexaStdHelper, nullptr, CLSCTX_INPROC_SERVER,
                       IidOf<INvVexaStdHelper>(), reinterpret_cast<void**>(made.put())) != S_OK)
    Fail("no NvVexaStdHelper");
  return made;
}

// Opens the package at `file` and reads all of it: every Info item, every
// object and value, and every embedded file extracted into `folder`.
// Refusals end the reading; the reader is closed either way.
inline void ReadPackage(const std::string& file, const std::string& folder) {
  static const ComPtr<INvVexaStdHelper> helper = StdHelper();
  const ComPtr<INvVexaReader> reader = CreateObject<NvVexaReader>();
  reader.PutValidateMustUnderstand(false);
  Refused([&] {
    reader.OpenVexaArchiveFile(Bstr::FromUtf8(file), true);
    const ComPtr<INvVexaSchema> schema = reader.Schema();
    const ComPtr<INvVexaDataReader> data = reader.DataReader();
    const auto items = data.Info().as<INvVexaInfoCRaw>();
    for (LONG k = 0; k < items.Count(); ++k) {
      const auto item = items.GetItem(k);
      Refused([&] { ValueText(item.Value(), item.ValueType()); });
    }
    const ComPtr<INvVexaFileReader> files = helper.CreateReaderHelper(reader).FileReader();
    const ComPtr<INvVexaObjectIterator> objects = data.ObjectReader().GetObjectIterator();
    for (; !objects.AtEnd(); objects.Next()) {
      const ComPtr<INvVexaObject> object = objects.GetObject();
      if (!object) continue;
      DescribeObject(object, schema);
      Refused([&] {
        if (const auto embedded = files.CastToFile(object); embedded && embedded.Embedded())
          embedded.Extract(Bstr::FromUtf8(folder));
      });
      Refused([&] {
        if (const auto secondary = files.CastToSecondaryFile(object);
            secondary && secondary.Embedded())
          secondary.Extract(Bstr::FromUtf8(folder));
      });
    }
  });
  Refused([&] { reader.Close(); });
}

}  // namespace nv_fuzz
