// Write then read: an Info item and objects of the fixed schema with values
// the input chooses, written through the writer and read back. A value is
// refused when it is given or when its object is saved, or it reads back
// equal: a package that closes is never written broken.
#include <cstring>
#include <optional>
#include <vector>

#include "fuzz_support.h"
#include "values/text_to_value.h"
#include "writer/writer.h"

using namespace nv_fuzz;

namespace {

// UTF-16 units straight from the input: lone surrogates and control
// characters included.
std::u16string Units(FuzzInput& input) {
  const std::string bytes = input.ConsumeRandomLengthString(64);
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text;
}

Variant Bytes(FuzzInput& input) {
  const std::string bytes = input.ConsumeRandomLengthString(64);
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  void* at = nullptr;
  SafeArrayAccessData(array, &at);
  if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
  SafeArrayUnaccessData(array);
  VARIANT raw;
  VariantInit(&raw);
  raw.vt = VT_ARRAY | VT_UI1;
  raw.parray = array;
  return Variant::Attach(raw);
}

// A value for an attribute of `type`: a client's variant of a kind that
// type takes, or the type's text read as a value. Empty when there is none.
Variant ValueFor(FuzzInput& input, DataTypeEnum type) {
  switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0: return Variant::Null();
    case 1: {
      Variant value;
      Refused([&] {
        const std::u16string text = Utf8ToUtf16(input.ConsumeRandomLengthString(64));
        value = type == dtXML ? XmlAttributeValueFromText(text, {})
                              : TextToValue(text, type, nullptr);
      });
      return value;
    }
    case 2: return Variant(Bstr(Units(input)));
    case 3: return Variant(input.ConsumeIntegral<int32_t>());
    case 4: return type == dtBase64Binary || type == dtHexBinary
                       ? Bytes(input)
                       : Variant::Date(input.ConsumeFloatingPoint<double>());
    default: return Variant(input.ConsumeFloatingPoint<double>());
  }
}

// Gives every attribute of the object (class and behaviours) a value or
// none; a value the object refuses is left out.
void Fill(FuzzInput& input, const ComPtr<INvVexaObject>& object,
          const ComPtr<INvVexaSchema>& schema) {
  const auto vexaClass = schema.Classes().ItemByName(object.vexaClassName());
  const auto fill = [&](const auto& attributes, const ComPtr<INvVexaAttributesValues>& values) {
    for (LONG k = 0; k < attributes.Count() && input.remaining_bytes() > 0; ++k) {
      if (!input.ConsumeBool()) continue;
      const auto attribute = attributes.Item(k);
      const Variant value = ValueFor(input, attribute.TypeDefinition().ValueType());
      if (value.vt != VT_EMPTY) Refused([&] { values.PutItem(attribute.Name(), value); });
    }
  };
  fill(ComPtr<INvVexaReadOnlyAttributes>(vexaClass.AllAttributes()), object.Values());
  const auto behaviors = vexaClass.AllBehaviors();
  for (LONG k = 0; k < behaviors.Count(); ++k)
    fill(ComPtr<INvVexaAttributes>(behaviors.Item(k).Attributes()),
         object.GetBehaviorValues(behaviors.Item(k).URI()));
}

// The items of the fuzz namespace as "name=text". An item never given a
// value is written as its type's empty value coerced (0, "", 1899-12-30): on
// the writing side (`written`) it is shown so.
std::u16string InfoText(const ComPtr<INvVexaInfo>& info, bool written) {
  std::u16string out;
  const auto items = info.as<INvVexaInfoCRaw>();
  for (LONG k = 0; k < items.Count(); ++k) {
    const auto item = items.GetItem(k);
    if (item.Namespace().View() != u"urn:fuzz:info") continue;
    const Variant value = item.Value();
    out += std::u16string(item.Name().View()) + u"=" +
           (written && value.vt == VT_EMPTY
                ? std::u16string(VexaVariantToText(value, item.ValueType()).View())
                : ValueText(value, item.ValueType(), written));
  }
  return out;
}

// Writes the package; answers what a reader must find, or nothing when the
// writer refused to finish it.
std::optional<std::u16string> Write(FuzzInput& input, const std::string& file) {
  const ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  AddFixedClasses(writer.Schema());
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(file));
  const ComPtr<INvVexaDataWriter> data = writer.DataWriter();
  std::u16string expected;
  Refused([&] {
    const auto type = static_cast<DataTypeEnum>(input.ConsumeIntegralInRange<int>(dtString, dtXML));
    const auto item = data.Info().GetInfoItem(u"i", u"urn:fuzz:info");
    item.PutValueType(type);
    const Variant value = ValueFor(input, type);
    if (value.vt != VT_EMPTY) item.PutValue(value);
  });
  if (Refused([&] {
        data.Info().Save();
        expected = InfoText(data.Info(), true);
      }))
    return std::nullopt;
  for (int k = 0; input.remaining_bytes() > 0 && k < 16; ++k) {
    const ComPtr<INvVexaObject> object = data.ObjectWriter().NewObject(
        input.ConsumeBool() ? u"Leaf" : u"Base", Bstr::FromUtf8("o" + std::to_string(k)));
    Fill(input, object, writer.Schema());
    if (Refused([&] { object.Save(); })) break;  // the package is finished without it
    expected += u"\n" + DescribeObject(object, writer.Schema(), true);
  }
  if (Refused([&] { writer.CloseVexaArchiveFile(); })) return std::nullopt;
  return expected;
}

std::u16string Read(const std::string& file) {
  const ComPtr<INvVexaReader> reader = CreateObject<NvVexaReader>();
  reader.OpenVexaArchiveFile(Bstr::FromUtf8(file), true);
  const ComPtr<INvVexaDataReader> data = reader.DataReader();
  std::u16string found = InfoText(data.Info(), false);
  const ComPtr<INvVexaObjectIterator> objects = data.ObjectReader().GetObjectIterator();
  for (; !objects.AtEnd(); objects.Next())
    found += u"\n" + DescribeObject(objects.GetObject(), reader.Schema());
  reader.Close();
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = Scratch::Get().Work() + "/rw.vexa";
  FuzzInput input(data, size);
  std::optional<std::u16string> expected;
  if (Refused([&] { expected = Write(input, file); }) || !expected) return 0;
  std::u16string found;
  try {
    found = Read(file);
  } catch (const std::exception& failure) {
    Fail(std::string("a package the writer closed does not read: ") + failure.what());
  }
  if (found != *expected)
    Fail("read back differs:\n" + Utf16ToUtf8(*expected) + "\n----\n" + Utf16ToUtf8(found));
  return 0;
}
