// Every way the schema document writer refuses a schema, with its message.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "schema_document_test_support.h"

namespace nv::test {
namespace {

using nv_test::ScratchFolder;

ComPtr<INvVexaObjectReferenceTypeDefinition> Reference(const ComPtr<INvVexaSchema>& schema,
                                                       ObjectReferenceRestrictionTypeEnum type) {
  const auto reference = AddAttribute(schema.Classes().Item(0).CurrentClassAttributes(), u"ref",
                                      dtObjectReference)
                             .TypeDefinition()
                             .ObjectReferenceType();
  reference.PutRestrictionType(type);
  return reference;
}

ComPtr<INvVexaClassBehavior> External(const ComPtr<INvVexaSchema>& schema) {
  return schema.ClassesBehaviors().Add(mtExternal, u"http://example.com/ns/t#tool",
                                       u"http://example.com/t.xsd", false);
}

struct FailureRow {
  const char* what;
  std::function<void(const ComPtr<INvVexaSchema>&)> spoil;  // on a schema with class "Part"
  const char* message;
};

TEST(SchemaWriterFailures, EachMessage) {
  const FailureRow rows[] = {
      {"required attribute with a default",
       [](const auto& schema) {
         const auto a = AddAttribute(schema.Classes().Item(0).CurrentClassAttributes(), u"a",
                                     dtInt);
         a.PutRequired(true);
         a.PutDefaultValue(Variant(int32_t(1)));
       },
       "Invalid Vexa: A required Attribute \"a\" has a default value"},
      {"attribute without a value type",
       [](const auto& schema) { schema.Classes().Item(0).CurrentClassAttributes().Add(u"a"); },
       "missing Value type for attribute \"a\""},
      {"default of an attribute without a value type",
       [](const auto& schema) {
         schema.Classes().Item(0).CurrentClassAttributes().Add(u"a").PutDefaultValue(
             Variant(u"x"));
       },
       "missing Value type for attribute \"a\""},
      {"data type outside the enumeration",
       [](const auto& schema) {
         AddAttribute(schema.Classes().Item(0).CurrentClassAttributes(), u"a",
                      static_cast<DataTypeEnum>(30));
       },
       "Invalid VexaDataType value (30)"},
      {"behaviour restriction without a URI",
       [](const auto& schema) { Reference(schema, ortBehavior); },
       "Missing BehaviorURI for ObjectRefrenceRestriction"},
      {"class restriction without a class",
       [](const auto& schema) { Reference(schema, ortClass); },
       "Missing ClassName for ObjectRefrenceRestriction"},
      {"descendants restriction without a class",
       [](const auto& schema) { Reference(schema, ortClassAndDescendants); },
       "Missing ClassName for ObjectRefrenceRestriction"},
      {"restriction outside the enumeration",
       [](const auto& schema) {
         Reference(schema, static_cast<ObjectReferenceRestrictionTypeEnum>(9));
       },
       "Invalid ObjectReferenceRestrictionType value (9)"},
      {"behaviour listed again below an ancestor",
       [](const auto& schema) {
         const auto tool = External(schema);
         const auto child = schema.Classes().Add(u"Child");
         child.CurrentClassBehaviors().Add(tool, muNo);
         schema.Classes().Item(0).CurrentClassBehaviors().Add(tool, muNo);
         child.PutParentClass(schema.Classes().Item(0));
       },
       "Class Behavior http://example.com/ns/t#tool implemented by class Child is already "
       "implemented by one of the class's ancestors."},
      {"must-understand mark outside the enumeration",
       [](const auto& schema) {
         schema.Classes().Item(0).CurrentClassBehaviors().Add(
             External(schema), static_cast<MustUnderstandEnum>(7));
       },
       "Invalid MustUnderstandEnum value (7)"},
      {"embedded behaviour with an attribute without a value type",
       [](const auto& schema) {
         schema.ClassesBehaviors()
             .Add(mtEmbedded, u"http://example.com/ns/cb#x", u"", false)
             .Attributes()
             .Add(u"untyped");
       },
       "missing Value type for attribute \"untyped\""},
  };
  for (const FailureRow& row : rows) {
    ScratchFolder folder;
    const auto schema = NewSchema();
    schema.Classes().Add(u"Part");
    row.spoil(schema);
    EXPECT_EQ(FailureOf([&] { SavedDocument(schema, folder); }), row.message) << row.what;
  }
}

TEST(SchemaWriterFailures, BehaviorDocumentFailureStopsTheSave) {
  ScratchFolder folder;
  const auto schema = NewSchema();
  const auto broken = schema.ClassesBehaviors().Add(mtEmbedded, u"http://example.com/ns/cb#x",
                                                    u"", false);
  broken.Attributes().Add(u"untyped");
  const auto writer = MakeSchemaWriter(schema, false);
  EXPECT_NE(FailureOf([&] { writer.Save(folder.Name("doc.xsd")); }), "<no failure>");
  EXPECT_FALSE(std::filesystem::exists(folder.File("doc.xsd")));
  EXPECT_EQ(writer.BehaviorFileNameList().Count(), 0);
  EXPECT_TRUE(broken.SchemaLocation().Empty());
}

TEST(SchemaWriterFailures, StreamAndBindingFailures) {
  ScratchFolder folder;
  const Bstr missing = folder.Name("no/such/folder/doc.xsd");
  EXPECT_EQ(FailureOf([&] { MakeSchemaWriter(NewSchema(), false).Save(missing); }),
            "Cannot create file " + missing.ToUtf8());
  ComPtr<INvVexaSchemaWriterCRaw> unbound = CreateObject<CNvVexaSchemaWriterRaw>();
  EXPECT_EQ(FailureOf([&] { unbound.Save(folder.Name("doc.xsd")); }),
            "The schema writer has no schema to write");
}

}  // namespace
}  // namespace nv::test
