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
  const std::pair<std::function<void(const Schema&)>, const char*> rows[] = {
      {[](const Schema& s) {  // a required attribute with a default
         const auto a = AddAttribute(Own(s), u"a", dtInt);
         a.PutRequired(true);
         a.PutDefaultValue(Variant(int32_t(1)));
       },
       "Invalid Vexa: A required Attribute \"a\" has a default value"},
      {[](const Schema& s) { AddAttribute(Own(s), u"a", static_cast<DataTypeEnum>(30)); },
       "Invalid VexaDataType value (30)"},
      {[](const Schema& s) { Reference(s, ortBehavior); },
       "Missing BehaviorURI for ObjectRefrenceRestriction"},
      {[](const Schema& s) { Reference(s, ortClass); },
       "Missing ClassName for ObjectRefrenceRestriction"},
      {[](const Schema& s) { Reference(s, static_cast<ObjectReferenceRestrictionTypeEnum>(9)); },
       "Invalid ObjectReferenceRestrictionType value (9)"},
      {[](const Schema& s) {  // a behaviour listed again below an ancestor
         const auto tool = External(s);
         const auto child = s.Classes().Add(u"Child");
         child.CurrentClassBehaviors().Add(tool, muNo);
         s.Classes().Item(0).CurrentClassBehaviors().Add(tool, muNo);
         child.PutParentClass(s.Classes().Item(0));
       },
       "Class Behavior http://example.com/ns/t#tool implemented by class Child is already "
       "implemented by one of the class's ancestors."},
      {[](const Schema& s) {
         s.Classes().Item(0).CurrentClassBehaviors().Add(External(s),
                                                         static_cast<MustUnderstandEnum>(7));
       },
       "Invalid MustUnderstandEnum value (7)"},
  };
  for (const auto& [spoil, message] : rows) {
    ScratchFolder folder;
    const auto schema = NewSchema();
    schema.Classes().Add(u"Part");  // spoilt by the row
    spoil(schema);
    EXPECT_EQ(FailureOf([&] { SavedDocument(schema, folder); }), message);
  }
}

// A failure in a behaviour document, in the main document after it, or in
// creating the file: no document is left, and the behaviours keep no location
// of a missing file.
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
  const Bstr missing = Bstr::FromUtf8(ScratchFolder().File("no/such/folder/doc.xsd"));
  EXPECT_EQ(FailureOf([&] { MakeSchemaWriter(NewSchema(), false).Save(missing); }),
            "Cannot create file " + missing.ToUtf8() + ": No such file or directory");
}

}  // namespace
}  // namespace nv::test
