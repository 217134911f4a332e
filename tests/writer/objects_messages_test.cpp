// Every failure of object creation, assignment and saving, and what it leaves behind.
#include <gtest/gtest.h>

#include "objects/object.h"
#include "writer/writer_test_support.h"

namespace nv::writer_test {
namespace {

TEST(ObjectMessages, NewObject) {
  WriterFixture fixture;
  const ComPtr<INvVexaObjectWriter>& writer = fixture.Writer();
  struct Row {
    const char16_t* className;
    const char16_t* id;
    const char* failure;
  };
  for (const Row& row : std::vector<Row>{
           {u"", u"o1", "missing class Name for object o1"},
           {u"Leaf", u"", "missing Unique Id for object"},
           {u"Leaf", u"a:b", "Invalid value for Id: a:b"},
           {u"Nope", u"o1", "class Nope does not exist in schema"},
           {u"__change", u"o1", "class change does not exist in schema"},
           {u"Base", u"o1", "Cannot create instances of class Base. This is an abstarct class"},
       }) {
    EXPECT_EQ(FailureOf([&] { writer.NewObject(row.className, row.id); }), row.failure)
        << Bstr(row.className).ToUtf8();
  }
}

TEST(ObjectMessages, Assignment) {
  WriterFixture fixture;
  ComPtr<INvVexaObject> object = fixture.Writer().NewObject(u"Leaf", u"o");
  const ComPtr<INvVexaAttributesValues> values = object.Values();
  const ComPtr<INvVexaAttributesValues> tracked = object.GetBehaviorValues(kTrackedUri);
  struct Row {
    const ComPtr<INvVexaAttributesValues>& target;
    const char16_t* name;
    Variant value;
    const char* failure;  // nullptr: accepted
  };
  const std::vector<Row> rows = {
      {values, u"zz", Variant(int32_t(1)), "attribute \"zz\" does not exist in Class \"Leaf\""},
      {tracked, u"name", Variant(int32_t(1)),
       "attribute \"name\" does not exist in Behavior \"urn:test:beh#Tracked\""},
      {values, u"name", Variant::Null(), "Null value is not allowed for attribute \"name\""},
      {values, u"name", Variant(int32_t(1)),
       "Invalid variant type for attribute \"name\" of type string"},
      {values, u"name", Variant(u"abcdef"),
       "Size of string value for attribute \"name\" must not exceed the MaxLength definition of "
       "5 characters"},
      {values, u"name", Variant(u"abcde"), nullptr},
      {values, u"note", Variant(int32_t(5)), nullptr},  // no MaxLength: any variant
      {values, u"doc", Variant(u"<a/>"),
       "Only an Instance of INvVexaXmlAttributeValue can be assigned to an item of type dtXML"},
      {values, u"code", Variant(u"not a number"), nullptr},  // converted only when saved
  };
  for (const Row& row : rows) {
    const bool before = row.target.IsValueAssigned(row.name);
    const std::string failure = FailureOf([&] { row.target.PutItem(row.name, row.value); });
    EXPECT_EQ(failure, row.failure ? row.failure : "<no failure>") << Bstr(row.name).ToUtf8();
    if (row.failure) {
      EXPECT_EQ(row.target.IsValueAssigned(row.name), before);
    }
  }
  const auto unsupported = [&] {
    fixture.Writer().NewObject(u"Middle", u"m").GetBehaviorValues(kStampedUri);
  };
  EXPECT_EQ(FailureOf(unsupported),
            "Object of class \"Middle\" does not support behavior \"urn:test:stamp#Stamped\"");
  EXPECT_EQ(FailureOf([&] { object.Save(); }),
            "Failed to convert Variant value to the specified type");
  EXPECT_FALSE(object.as<INvVexaObjectCRaw>().IsSaved());
  EXPECT_EQ(fixture.Written(), "");
}

// A required attribute of a behaviour: assignment does not check it, Save does.
TEST(ObjectMessages, RequiredAttributesFailAtSaveAndWriteNothing) {
  ComPtr<INvVexaSchema> schema = ChainSchema();
  schema.ClassesBehaviors().ItemByURI(kStampedUri).Attributes().ItemByName(u"at").PutRequired(
      true);
  WriterFixture fixture(schema);
  ComPtr<INvVexaObject> object = fixture.Writer().NewObject(u"Leaf", u"o");
  object.Values().PutItem(u"note", Variant(u"n"));
  EXPECT_EQ(FailureOf([&] { object.Save(); }), "Required attribute \"at\" was not assigned");
  EXPECT_FALSE(object.as<INvVexaObjectCRaw>().IsSaved());
  EXPECT_EQ(fixture.Written(), "");
}

TEST(ObjectMessages, ObjectFromReaderCannotBeSaved) {
  ComPtr<INvVexaObject> object = CreateObject<CNvVexaObject>();
  object.as<INvVexaObjectCRaw>().CreateForReader(u"Leaf", u"r", ChainSchema());
  object.Values().PutItem(u"name", Variant(u"x"));
  EXPECT_EQ(FailureOf([&] { object.Save(); }), "Cannot save object from Reader");
}

}  // namespace
}  // namespace nv::writer_test
