#include <gtest/gtest.h>

#include "frame/initialization_data.h"
#include "schema/impl_cast.h"
#include "schema_test_support.h"

namespace nv::test {
namespace {

TEST(Schema, SchemaUriIsSetOnceUnlessCopied) {
  auto schema = NewSchema();
  EXPECT_EQ(Utf8(schema.SchemaURI()), "");
  schema.PutSchemaURI(u"urn:s");
  for (const char16_t* again : {u"urn:s", u"urn:t", u""})
    EXPECT_EQ(FailureOf([&] { schema.PutSchemaURI(again); }),
              "Schema URI is already set to \"urn:s\"");
  auto source = NewSchema();
  source.PutSchemaURI(u"urn:source");
  source.as<INvVexaSchemaCRaw>().Set_SchemaLocation(u"source.xsd");
  schema.Copy(source);
  EXPECT_EQ(Utf8(schema.SchemaURI()), "urn:source");
  EXPECT_EQ(Utf8(schema.SchemaLocation()), "source.xsd");
  schema.PutSchemaURI(u"urn:replaced");
  EXPECT_EQ(Utf8(schema.SchemaURI()), "urn:replaced");
}

TEST(Schema, ClearEmptiesEverythingButInfo) {
  auto schema = NewSchema();
  schema.PutSchemaURI(u"urn:s");
  schema.as<INvVexaSchemaCRaw>().Set_SchemaLocation(u"s.xsd");
  auto behavior = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:x#B", u"", false);
  auto base = AddClass(schema, u"Base");
  AddClass(schema, u"Derived", base).CurrentClassBehaviors().Add(behavior, muYes);
  schema.DomainBehaviors().Add(u"urn:d").RoleClassMapping().PutItem(u"r", base);
  schema.Clear();
  EXPECT_EQ(Utf8(schema.SchemaURI()), "");
  EXPECT_EQ(Utf8(schema.SchemaLocation()), "");
  EXPECT_EQ(schema.Classes().Count(), 0);
  EXPECT_EQ(schema.ClassesBehaviors().Count(), 0);
  EXPECT_EQ(schema.DomainBehaviors().Count(), 0);
  schema.PutSchemaURI(u"urn:again");
}

TEST(Schema, KeepsItsInitializationData) {
  ComPtr<INvVexaInitializationData> data = CreateObject<CNvVexaInitializationData>();
  auto schema = MakeSchema(data);
  EXPECT_EQ(schema.as<INvVexaSchemaCRaw>().GetInitializationData(), data);
}

TEST(Schema, MustUnderstandItemsComeFromOwnBehaviorLists) {
  auto schema = NewSchema();
  auto raw = schema.as<INvVexaSchemaCRaw>();
  auto b = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:x#B", u"", false);
  auto base = AddClass(schema, u"Base");
  EXPECT_FALSE(raw.HasMustUnderstandItems());
  base.CurrentClassBehaviors().Add(b, muNo);
  EXPECT_FALSE(raw.HasMustUnderstandItems());
  AddClass(schema, u"Other")
      .CurrentClassBehaviors()
      .Add(schema.ClassesBehaviors().Add(mtEmbedded, u"urn:x#C", u"", false), muYes);
  EXPECT_TRUE(raw.HasMustUnderstandItems());
}

CNvVexaSchemaImpl& ImplOf(const ComPtr<INvVexaSchema>& schema) {
  return *ImplFrom<CNvVexaSchema, INvVexaSchemaCRaw>(schema);
}

TEST(Schema, InfoNeedsItsSeam) {
  ScopedSeams installed(SchemaSeams{});
  auto schema = NewSchema();
  EXPECT_EQ(FailureOf([&] { ImplOf(schema).Info(); }),
            "The Info collection of a schema is not available");
  EXPECT_FALSE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  schema.Copy(NewSchema());  // nothing to copy without Info
}

// A stand-in Info collection: an initialization data object whose proxy text
// says "must" when it holds an item that must be understood.
SchemaSeams FakeInfoSeams() {
  SchemaSeams seams;
  seams.createSchemaInfo = [] {
    return ComPtr<IUnknown>(CreateObject<CNvVexaInitializationData>());
  };
  seams.copySchemaInfo = [](const ComPtr<IUnknown>& to, const ComPtr<IUnknown>& from) {
    to.as<INvVexaInitializationData>().SetProxy(from.as<INvVexaInitializationData>().GetProxy());
  };
  seams.infoHasMustUnderstandItems = [](const ComPtr<IUnknown>& info) {
    return info.as<INvVexaInitializationData>().GetProxy() == Bstr(u"must");
  };
  return seams;
}

TEST(Schema, InfoThroughItsSeam) {
  ScopedSeams installed(FakeInfoSeams());
  auto source = NewSchema();
  auto info = ImplOf(source).Info();
  EXPECT_EQ(ImplOf(source).Info(), info);
  EXPECT_FALSE(source.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  info.as<INvVexaInitializationData>().SetProxy(u"must");
  EXPECT_TRUE(source.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());

  auto copy = NewSchema();
  copy.Copy(source);
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  copy.Clear();  // keeps the Info items
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
}

}  // namespace
}  // namespace nv::test
