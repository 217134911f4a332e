// The standard behaviours from the catalogue, and the module handing the
// catalogue to the schemas of the objects it makes.
#include "stdbehaviors/catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/failure_of.h"

namespace nv {
namespace {

std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

// "location: name:type[#referenced][!required][~no null] ...".
std::string Describe(const ComPtr<INvVexaClassBehavior>& behavior) {
  static const std::map<DataTypeEnum, std::string> kTypes = {
      {dtString, "string"}, {dtObjectReference, "ref"}, {dtXML, "xml"},
      {dtAnyUri, "uri"},    {dtDateTime, "dateTime"}};
  std::string out = Utf8(behavior.SchemaLocation()) + ":";
  const auto attributes = behavior.Attributes();
  for (LONG k = 0; k < attributes.Count(); ++k) {
    const auto a = attributes.Item(k);
    const auto type = a.TypeDefinition();
    out += " " + Utf8(a.Name()) + ":" + kTypes.at(type.ValueType());
    if (type.ValueType() == dtObjectReference) {
      const std::string target = Utf8(type.ObjectReferenceType().BehaviorURI());
      if (!target.empty()) out += target.substr(target.find('#'));
    }
    out += std::string(a.Required() ? "!" : "") + (a.IsNullAllowed() ? "" : "~");
  }
  return out;
}

TEST(Catalogue, DefinesEachStandardBehaviorWithItsAttributesAndLocation) {
  const std::string at = "http://www.norvane.com/vexa/std/schema/classBehaviors/";
  const struct {
    std::u16string_view ns;
    const char16_t* element;
    std::string described;
  } rows[] = {
      {kChangeTrackingNamespace, u"change",
       at + "changeTracking.xsd: transaction:ref#transaction previous:ref#change "
            "previousPerObject:ref#change"},
      {kChangeTrackingNamespace, u"objectDeleted",
       at + "changeTracking.xsd: objectId:string!~ objectType:string!~ objectAttributes:xml!~"},
      {kChangeTrackingNamespace, u"objectCreated", at + "changeTracking.xsd: createdObject:ref!~"},
      {kFilesNamespace, u"fileDescription",
       at + "files.xsd: contentType:string! fileName:string!~ location:uri!~ computerName:string"},
      {kFilesNamespace, u"secondaryFile", at + "files.xsd: previousSibling:ref#fileDescription!~"},
      {kFilesNamespace, u"mainFile", at + "files.xsd:"},
      {kVersioningNamespace, u"version",
       at + "versioning.xsd: version:string! previousVersion:string!"},
      // Only the element name counts.
      {u"urn:any", u"timeStamp",
       at + "timeStamp.xsd: creationTime:dateTime modificationTime:dateTime"},
  };
  const ComPtr<INvVexaSchema> schema = MakeSchema();
  for (const auto& row : rows) {
    const Bstr uri(std::u16string(row.ns) + u"#" + row.element);
    DefineStandardBehavior(schema, uri);
    EXPECT_EQ(Describe(schema.ClassesBehaviors().ItemByURI(uri)), row.described);
  }
  DefineStandardBehavior(schema, u"urn:any#timeStamp");  // the time stamp is kept
  const Bstr version(std::u16string(kVersioningNamespace) + u"#version");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { DefineStandardBehavior(schema, version); }),
            "Behavior \"" + Utf8(version) + "\" already exist");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { DefineStandardBehavior(schema, u"urn:x#nothing"); }),
            "Class Behavior \"urn:x#nothing\" is not an Vexa standard behavior.");
  EXPECT_TRUE(IsStandardBehaviorNamespace(kFilesNamespace));
  EXPECT_FALSE(IsStandardBehaviorNamespace(kFilesDomainNamespace));
}

// A writer made by the module copies a standard behaviour from the catalogue.
TEST(Catalogue, TheModuleHandsItToTheSchemasOfItsObjects) {
  ComPtr<INvVexaWriter> writer;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                             reinterpret_cast<void**>(writer.put())),
            S_OK);
  const ComPtr<INvVexaSchema> source = MakeSchema();
  const Bstr version(std::u16string(kVersioningNamespace) + u"#version");
  source.ClassesBehaviors().Add(mtExternal, version, u"http://elsewhere/v.xsd", false);
  writer.Schema().Copy(source);
  EXPECT_EQ(Describe(writer.Schema().ClassesBehaviors().ItemByURI(version)),
            "http://www.norvane.com/vexa/std/schema/classBehaviors/versioning.xsd: "
            "version:string! previousVersion:string!");
}

}  // namespace
}  // namespace nv
