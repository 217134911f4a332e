// A small package with a value of every data type, an Info item, a
// behaviour and a reference, written and read back through the public
// interfaces: what the fault tests break at every allocation and every write.
// The values are made before any fault is armed; the calls on the library
// throw ComError when they fail.
#pragma once

#include <string>
#include <vector>

#include "support/created.h"
#include "support/sample_values.h"

namespace nv_test {

using namespace nv;

// The sample values, one per data type (index: the type less one).
inline std::vector<Variant> SampleValuesOfEveryType() {
  std::vector<Variant> values;
  for (int type = dtString; type <= dtXML; ++type)
    values.push_back(type == dtObjectReference
                         ? Variant(u"P-1")
                         : test::SampleValue(static_cast<DataTypeEnum>(type), 1));
  return values;
}

inline const char16_t* const kAttributeNames[] = {
    u"t1",  u"t2",  u"t3",  u"t4",  u"t5",  u"t6",  u"t7",  u"t8",  u"t9",  u"t10", u"t11",
    u"t12", u"t13", u"t14", u"t15", u"t16", u"t17", u"t18", u"t19", u"t20", u"t21"};

// Writes the package at `file`: a class "Part" with an attribute of every
// type and a behaviour, an Info item, and `objects` objects, all referring to
// the first and the second carrying the behaviour's values. `stored` leaves
// the entries uncompressed.
inline void WriteSamplePackage(const Bstr& file, const std::vector<Variant>& values,
                               int objects = 2, bool stored = false) {
  const auto writer = Created<INvVexaWriter>(CLSID_NvVexaWriter);
  writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  const ComPtr<INvVexaSchema> schema = writer.Schema();
  const auto part = schema.Classes().Add(u"Part");
  for (int type = dtString; type <= dtXML; ++type) {
    const auto attribute = part.CurrentClassAttributes().Add(kAttributeNames[type - 1]);
    attribute.TypeDefinition().PutValueType(static_cast<DataTypeEnum>(type));
    attribute.PutIsNullAllowed(true);
  }
  const auto tagged = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:t#Tagged", u"", false);
  tagged.Attributes().Add(u"rev").TypeDefinition().PutValueType(dtInt);
  part.CurrentClassBehaviors().Add(tagged, muNo);

  writer.CreateVexaArchiveFileEx(file, stored ? afclNone : afclMedium);
  const ComPtr<INvVexaDataWriter> data = writer.DataWriter();
  const auto item = data.Info().GetInfoItem(u"made", u"urn:t:info");
  item.PutValueType(dtDateTime);
  item.PutValue(values[dtDateTime - 1]);
  data.Info().Save();
  for (int k = 1; k <= objects; ++k) {
    const auto object =
        data.ObjectWriter().NewObject(u"Part", Bstr::FromUtf8("P-" + std::to_string(k)));
    for (int type = dtString; type <= dtXML; ++type)
      object.Values().PutItem(kAttributeNames[type - 1], values[type - 1]);
    if (k == 2) object.GetBehaviorValues(u"urn:t#Tagged").PutItem(u"rev", values[dtInt - 1]);
    object.Save();
  }
  writer.CloseVexaArchiveFile();
}

// Every value a reader finds in the package with its type: the Info items,
// then each object's id, values and behaviour value. Only public calls are
// made, so that a failure can come only from the library's calls.
using FoundValues = std::vector<std::pair<Variant, DataTypeEnum>>;

inline FoundValues ReadSamplePackage(const Bstr& file) {
  const auto reader = Created<INvVexaReader>(CLSID_NvVexaReader);
  reader.OpenVexaArchiveFile(file, true);
  const ComPtr<INvVexaDataReader> data = reader.DataReader();
  FoundValues found;
  const auto items = data.Info().as<INvVexaInfoCRaw>();
  for (LONG k = 0; k < items.Count(); ++k)
    found.emplace_back(items.GetItem(k).Value(), items.GetItem(k).ValueType());
  const ComPtr<INvVexaObjectIterator> objects = data.ObjectReader().GetObjectIterator();
  for (; !objects.AtEnd(); objects.Next()) {
    const ComPtr<INvVexaObject> object = objects.GetObject();
    found.emplace_back(Variant(object.Id()), dtString);
    for (int type = dtString; type <= dtXML; ++type)
      found.emplace_back(object.Values().Item(kAttributeNames[type - 1]),
                         static_cast<DataTypeEnum>(type));
    found.emplace_back(object.GetBehaviorValues(u"urn:t#Tagged").Item(u"rev"), dtInt);
  }
  reader.Close();
  return found;
}

inline std::string Described(const FoundValues& found) {
  std::string text;
  for (const auto& [value, type] : found) text += test::ValueText(value, type) + "\n";
  return text;
}

}  // namespace nv_test
