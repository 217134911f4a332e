// Every way the schema document writer refuses a schema, with its message.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "schema_document_test_support.h"

namespace nv::test {
namespace {

using nv_test::ScratchFolder;
using Schema = ComPtr<INvVexaSchema>;

// The attributes of the schema's first class.
ComPtr<INvVexaAttributes> Own(const Schema& schema) {
  return schema.Classes().Item(0).CurrentClassAttributes();
}

void Reference(const Schema& schema, ObjectReferenceRestrictionTypeEnum type) {
  AddAttribute(Own(schema), u"ref", dtObjectReference)
      .TypeDefinition()
      .ObjectReferenceType()
      .PutRestrictionType(type);
}

ComPtr<INvVexaClassBehavior> External(const Schema& schema) {
  return schema.ClassesBehaviors().Add(mtExternal, u"http://example.com/ns/t#tool",
                                       u"http://example.com/t.xsd", false);
}

TEST(SchemaWriterFailures, EachMessage) {
  const struct {
    const char* what;
    std::function<void(const Schema&)> spoil;  // on a schema with class "Part"
    const char* message;
  } rows[] = {
      {"required attribute with a default",
       [](const Schema& schema) {
         const auto a = AddAttribute(Own(schema), u"a", dtInt);
         a.PutRequired(true);
         a.PutDefaultValue(Variant(int32_t(1)));
       },
       "Invalid Vexa: A required Attribute \"a\" has a default value"},
      {"data type outside the enumeration",
       [](const Schema& schema) {
         AddAttribute(Own(schema), u"a", static_cast<DataTypeEnum>(30));
       },
       "Invalid VexaDataType value (30)"},
      {"behaviour restriction without a URI",
       [](const Schema& schema) { Reference(schema, ortBehavior); },
       "Missing BehaviorURI for ObjectRefrenceRestriction"},
      {"class restriction without a class",
       [](const Schema& schema) { Reference(schema, ortClass); },
       "Missing ClassName for ObjectRefrenceRestriction"},
      {"restriction outside the enumeration",
       [](const Schema& schema) {
         Reference(schema, static_cast<ObjectReferenceRestrictionTypeEnum>(9));
       },
       "Invalid ObjectReferenceRestrictionType value (9)"},
      {"behaviour listed again below an ancestor",
       [](const Schema& schema) {
         const auto tool = External(schema);
         const auto child = schema.Classes().Add(u"Child");
         child.CurrentClassBehaviors().Add(tool, muNo);
         schema.Classes().Item(0).CurrentClassBehaviors().Add(tool, muNo);
         child.PutParentClass(schema.Classes().Item(0));
       },
       "Class Behavior http://example.com/ns/t#tool implemented by class Child is already "
       "implemented by one of the class's ancestors."},
      {"must-understand mark outside the enumeration",
       [](const Schema& schema) {
         schema.Classes().Item(0).CurrentClassBehaviors().Add(
             External(schema), static_cast<MustUnderstandEnum>(7));
       },
       "Invalid MustUnderstandEnum value (7)"},
  };
  for (const auto& row : rows) {
    ScratchFolder folder;
    const auto schema = NewSchema();
    schema.Classes().Add(u"Part");
    row.spoil(schema);
    EXPECT_EQ(FailureOf([&] { SavedDocument(schema, folder); }), row.message) << row.what;
  }
}

// A failure in a behaviour document or in the main document after it: no
// document is left, and the behaviours keep no location of a missing file.
TEST(SchemaWriterFailures, AFailureAnywhereWritesNoDocument) {
  for (const bool brokenBehavior : {true, false}) {
    ScratchFolder folder;
    const auto schema = NewSchema();
    const auto behavior =
        schema.ClassesBehaviors().Add(mtEmbedded, u"http://example.com/ns/cb#x", u"", false);
    const auto owner = brokenBehavior ? behavior.Attributes()
                                      : schema.Classes().Add(u"Part").CurrentClassAttributes();
    owner.Add(u"untyped");
    const auto writer = MakeSchemaWriter(schema, false);
    EXPECT_EQ(FailureOf([&] { writer.Save(folder.Name("doc.xsd")); }),
              "missing Value type for attribute \"untyped\"");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_EQ(writer.BehaviorFileNameList().Count(), 0);
    EXPECT_TRUE(behavior.SchemaLocation().Empty());
  }
}

TEST(SchemaWriterFailures, AMissingFolder) {
  ScratchFolder folder;
  const Bstr missing = folder.Name("no/such/folder/doc.xsd");
  EXPECT_EQ(FailureOf([&] { MakeSchemaWriter(NewSchema(), false).Save(missing); }),
            "Cannot create file " + missing.ToUtf8() + ": No such file or directory");
}

}  // namespace
}  // namespace nv::test
