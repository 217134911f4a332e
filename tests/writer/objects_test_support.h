// A schema with a three-generation class chain and two behaviours, an object
// writer bound to a file stream in a scratch folder, and helpers to read what
// was written.
#pragma once

#include "support/failure_of.h"

#include <string>

#include "archive/file_stream.h"
#include "frame/exception.h"
#include "frame/interfaces.h"
#include "schema/namespaces.h"
#include "schema/schema.h"
#include "support/scratch.h"
#include "writer/object_writer.h"

namespace nv::objects_test {

inline constexpr const char16_t* kSchemaUri = u"urn:test:schema";
inline constexpr const char16_t* kTrackedUri = u"urn:test:beh#Tracked";
inline constexpr const char16_t* kStampedUri = u"urn:test:stamp#Stamped";

inline ComPtr<INvVexaAttribute> AddAttribute(const ComPtr<INvVexaAttributes>& owner,
                                             const char16_t* name, DataTypeEnum type) {
  ComPtr<INvVexaAttribute> made = owner.Add(name);
  made.TypeDefinition().PutValueType(type);
  return made;
}

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
  ComPtr<INvVexaSchema> schema = MakeSchema(nullptr);
  schema.PutSchemaURI(kSchemaUri);
  ComPtr<INvVexaClasses> classes = schema.Classes();
  ComPtr<INvVexaClass> base = classes.Add(u"Base");
  base.PutIsAbstract(true);
  ComPtr<INvVexaAttribute> name = AddAttribute(base.CurrentClassAttributes(), u"name", dtString);
  name.TypeDefinition().StringType().PutMaxLength(5);
  name.PutIsNullAllowed(false);
  AddAttribute(base.CurrentClassAttributes(), u"code", dtInt).PutDefaultValue(Variant(int32_t(7)));
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
      : schema_(std::move(schema)), namespaces_(PackageNamespaces()) {
    stream_ = CreateObject<TFileStream>();
    stream_.Create(Path(), 65535);
    writer_ = MakeObjectWriter(stream_, namespaces_, schema_);
  }

  const ComPtr<INvVexaObjectWriter>& Writer() const { return writer_; }
  const ComPtr<INvVexaSchema>& Schema() const { return schema_; }
  const ComPtr<INvVexaNamespaces>& Namespaces() const { return namespaces_; }
  Bstr Path() const { return folder_.Name("data.xml"); }

  // Closes the stream and answers the file's bytes.
  std::string Written() {
    stream_.Free();
    return nv_test::ReadText(folder_.File("data.xml"));
  }

 private:
  nv_test::ScratchFolder folder_;
  ComPtr<INvVexaSchema> schema_;
  ComPtr<INvVexaNamespaces> namespaces_;
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

// The message of the failure `call` raises, or "<no failure>".
template <class F>
std::string FailureOf(F&& call) {
  return nv_test::MessageOfFailure(std::forward<F>(call));
}

inline Variant XmlVariant(const ComPtr<INvVexaXmlAttributeValue>& value) {
  return Variant(static_cast<IDispatch*>(value.get()));
}

}  // namespace nv::objects_test
