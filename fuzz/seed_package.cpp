// Writes packages of the fuzz targets' fixed classes, for seeds: FILE.vexa
// with an Info item and objects that carry a value of every data type
// (text values with markup, references, nulls, XML), and FILE-empty.vexa
// with no Info and no objects, both with the schema embedded; and
// FILE-external.vexa, the first again with the schema of URI kSchemaUri left
// outside (its instance document is the one the instance target reads).
//
//   seed_package FILE
#include <cstdio>

#include "fuzz_support.h"
#include "values/text_to_value.h"
#include "writer/writer.h"

using namespace nv_fuzz;

namespace {

// A text of each type, dtString first.
const char16_t* const kTexts[] = {
    u"a<&>\"' b\r\n", u"true", u"-1.5E-3", u"NaN", u"P1Y2M3DT4H5M6.5S", u"AAEC/w==", u"00FF",
    u"http://x.org/a?b=1&c", u"en-US", u"-2147483648", u"-32768", u"-128", u"65535", u"255",
    u"2009-03-07T14:05:09.120", u"23:59:59.999", u"2009-03-07", u"--12--", u"2009", u"o1"};

Variant Sample(DataTypeEnum type, int pick) {
  if (pick == 2) return Variant::Null();
  if (type == dtXML)
    return XmlAttributeValueFromText(
        pick ? u"<a:b xmlns:a=\"urn:a\" k=\"1&amp;2\">t<c/></a:b>" : u"<p>x</p><q/>", {});
  return TextToValue(kTexts[type - 1], type, nullptr);
}

void Write(const std::string& file, bool full, bool external) {
  const ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  if (external)
    writer.SetSchemaMode(mtExternal, kSchemaUri, u"http://h/fuzz.xsd", false);
  else
    writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  const ComPtr<INvVexaSchema> schema = writer.Schema();
  AddFixedClasses(schema);
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(file));
  const ComPtr<INvVexaDataWriter> data = writer.DataWriter();
  if (full) {
    const auto item = data.Info().GetInfoItem(u"i", u"urn:fuzz:info");
    item.PutValueType(dtDate);
    item.PutValue(Sample(dtDate, 0));
    data.Info().Save();
    for (int pick = 0; pick < 3; ++pick) {
      const auto object = data.ObjectWriter().NewObject(pick % 2 ? u"Base" : u"Leaf",
                                                        Bstr::FromUtf8("o" + std::to_string(pick)));
      const auto vexaClass = schema.Classes().ItemByName(object.vexaClassName());
      const auto attributes = vexaClass.AllAttributes();
      for (LONG k = 0; k < attributes.Count(); ++k)
        object.Values().PutItem(attributes.Item(k).Name(),
                                Sample(attributes.Item(k).TypeDefinition().ValueType(), pick));
      if (pick == 0) {
        const auto tagged = object.GetBehaviorValues(kBehaviorUri);
        tagged.PutItem(u"rev", Variant(int32_t{3}));
        tagged.PutItem(u"note", Variant(u"n&1"));
        tagged.PutItem(u"doc", Sample(dtXML, 1));
      }
      object.Save();
    }
  }
  writer.CloseVexaArchiveFile();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  try {
    Write(std::string(argv[1]) + ".vexa", true, false);
    Write(std::string(argv[1]) + "-empty.vexa", false, false);
    Write(std::string(argv[1]) + "-external.vexa", true, true);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return 0;
}
