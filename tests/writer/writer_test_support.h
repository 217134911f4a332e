// Helpers of the writer tests: a package's instance document and its frame, and an object
// writer over a schema with a three-generation class chain and two behaviours.
#pragma once

#include "archive/streams.h"
#include "instance/names.h"
#include "schemadoc/schema_document_test_support.h"
#include "support/readback.h"
#include "writer/data_writer.h"
#include "writer/object_writer.h"
#include "writer/writer.h"

#include <functional>
#include <string>

namespace nv::writer_test {

using nv::test::AddAttribute;
using nv_test::FailureOf;

inline const std::string kEnvelopeDeclarations =
    " xmlns:SOAP_ENV=\"http://schemas.xmlsoap.org/soap/envelope/\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xmlns:vexa=\"http://www.norvane.com/vexa/std/ns/core/1.0\"";
inline const std::string kBodyStart = "<SOAP_ENV:Body>\r\n";
inline const std::string kFrameEnd = "</SOAP_ENV:Body>\r\n</SOAP_ENV:Envelope>\r\n";

// The comment and Envelope start line of a package's instance document for
// the schema "urn:test" at "http://h/test.xsd".
inline std::string DocumentStart(const std::string& extraDeclarations = "") {
  return ModuleGeneratedByComment() + "<SOAP_ENV:Envelope" + kEnvelopeDeclarations +
         " xmlns:tns=\"urn:test\" xsi:schemaLocation=\"urn:test http://h/test.xsd\"" +
         extraDeclarations + ">\r\n";
}

// The instance document of a package written through the public writer with
// the schema above: `prepare` fills the schema, `fill` uses the data writer.
inline std::string WrittenDocument(
    const std::function<void(const ComPtr<INvVexaDataWriter>&)>& fill,
    const std::function<void(const ComPtr<INvVexaSchema>&)>& prepare = nullptr) {
  nv_test::ScratchFolder folder;
  const std::string archive = folder.File("pkg.vexa");
  const ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  writer.SetSchemaMode(mtExternal, u"urn:test", u"http://h/test.xsd", false);
  if (prepare) prepare(writer.Schema());
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive));
  fill(writer.DataWriter());
  writer.CloseVexaArchiveFile();
  return nv_test::Shell("unzip -p '" + archive + "' VEXA_Data.xml");
}

// Sets an item's type, value and must-understand mark.
inline ComPtr<INvVexaInfoItem> SetItem(const ComPtr<INvVexaInfo>& info, std::u16string_view name,
                                       std::u16string_view ns, DataTypeEnum type,
                                       const Variant& value,
                                       MustUnderstandEnum mark = static_cast<MustUnderstandEnum>(0)) {
  ComPtr<INvVexaInfoItem> item = info.GetInfoItem(Bstr(name), Bstr(ns));
  item.PutValueType(type);
  item.PutValue(value);
  if (mark != 0) item.PutMustUnderstand(mark);
  return item;
}

inline constexpr const char16_t* kSchemaUri = u"urn:test:schema";
inline constexpr const char16_t* kTrackedUri = u"urn:test:beh#Tracked";
inline constexpr const char16_t* kStampedUri = u"urn:test:stamp#Stamped";

inline ComPtr<INvVexaClassBehavior> AddBehavior(const ComPtr<INvVexaSchema>& schema,
                                                const ComPtr<INvVexaClass>& owner,
                                                const char16_t* uri) {
  ComPtr<INvVexaClassBehavior> behavior =
      schema.ClassesBehaviors().Add(mtEmbedded, uri, u"", false);
  owner.CurrentClassBehaviors().Add(behavior, muNo);
  return behavior;
}

// Base <- Middle <- Leaf, with Tracked on Middle and Stamped on Leaf.
inline ComPtr<INvVexaSchema> ChainSchema() {
  ComPtr<INvVexaSchema> schema = MakeSchema();
  schema.PutSchemaURI(kSchemaUri);
  ComPtr<INvVexaClasses> classes = schema.Classes();
  ComPtr<INvVexaClass> base = classes.Add(u"Base");
  base.PutIsAbstract(true);
  ComPtr<INvVexaAttribute> name = AddAttribute(base.CurrentClassAttributes(), u"name", dtString);
  name.TypeDefinition().StringType().PutMaxLength(5);
  name.PutIsNullAllowed(false);
  // A text default: written converted to the attribute's type, as "7".
  AddAttribute(base.CurrentClassAttributes(), u"code", dtInt).PutDefaultValue(Variant(u"07"));
  ComPtr<INvVexaClass> middle = classes.Add(u"Middle");
  middle.PutParentClass(base);
  AddAttribute(middle.CurrentClassAttributes(), u"note", dtString).PutIsNullAllowed(true);
  AddAttribute(middle.CurrentClassAttributes(), u"ref", dtObjectReference);
  ComPtr<INvVexaClassBehavior> tracked = AddBehavior(schema, middle, kTrackedUri);
  AddAttribute(tracked.Attributes(), u"rev", dtInt);
  AddAttribute(tracked.Attributes(), u"tag", dtString).PutDefaultValue(Variant(u"t&1"));
  ComPtr<INvVexaClass> leaf = classes.Add(u"Leaf");
  leaf.PutParentClass(middle);
  AddAttribute(leaf.CurrentClassAttributes(), u"doc", dtXML);
  ComPtr<INvVexaClassBehavior> stamped = AddBehavior(schema, leaf, kStampedUri);
  AddAttribute(stamped.Attributes(), u"at", dtDate);
  return schema;
}

// The package table as the envelope leaves it for the schema above.
inline ComPtr<INvVexaNamespaces> PackageNamespaces() {
  ComPtr<INvVexaNamespaces> table = CreateObject<CNvVexaNamespaces>();
  table.Add(kSchemaUri, u"tns");
  ComPtr<INvVexaNamespacesCRaw> raw = table.as<INvVexaNamespacesCRaw>();
  raw.AddNamespace(u"urn:test:beh");    // NS1
  raw.AddNamespace(u"urn:test:stamp");  // NS2
  return table;
}

// An object writer over "data.xml" in a scratch folder.
class WriterFixture {
 public:
  explicit WriterFixture(ComPtr<INvVexaSchema> schema = ChainSchema())
      : stream_(CreateObject<TFileStream>()) {
    stream_.Create(folder_.Name("data.xml"), 65535);
    writer_ = MakeObjectWriter(stream_, PackageNamespaces(), schema);
  }

  const ComPtr<INvVexaObjectWriter>& Writer() const { return writer_; }

  // Closes the stream and answers the file's bytes.
  std::string Written() {
    stream_.Free();
    return nv_test::ReadText(folder_.File("data.xml"));
  }

 private:
  nv_test::ScratchFolder folder_;
  ComPtr<ITStream> stream_;
  ComPtr<INvVexaObjectWriter> writer_;
};

// `text` with each line feed as the stream writes it.
inline std::string AsWritten(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

inline Variant XmlVariant(const ComPtr<INvVexaXmlAttributeValue>& value) {
  return Variant(static_cast<IDispatch*>(value.get()));
}

}  // namespace nv::writer_test
