// The schema: its URI, Clear and Info; class behaviours, domain behaviours and behaviour
// URIs; and a copy's behaviours of each origin but the catalogue, with their marks, and
// the links between the copies.
#include "schema/behaviors.h"

#include <gtest/gtest.h>

#include <string>

#include "schema_test_support.h"

namespace nv::test {
namespace {

// The URI is set once until cleared or copied; the Info, with a
// must-understand item, survives Clear.
TEST(Schema, UriIsSetOnceUntilClearedOrCopiedAndInfoSurvivesClear) {
  auto schema = MakeSchema();
  schema.PutSchemaURI(u"urn:s");
  for (const char16_t* again : {u"urn:s", u"urn:t"})
    EXPECT_EQ(FailureOf([&] { schema.PutSchemaURI(again); }),
              "Schema URI is already set to \"urn:s\"");
  const auto item = schema.Info().GetInfoItem(u"a", u"urn:s");
  item.PutValueType(dtString);
  item.PutValue(Variant(u"v"));
  EXPECT_FALSE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  item.PutMustUnderstand(muYes);
  schema.Clear();
  schema.PutSchemaURI(u"urn:again");
  EXPECT_TRUE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());

  auto source = MakeSchema();
  source.PutSchemaURI(u"urn:source");
  source.as<INvVexaSchemaCRaw>().Set_SchemaLocation(u"source.xsd");
  schema.Copy(source);
  EXPECT_EQ(Utf8(schema.SchemaLocation()), "source.xsd");
  schema.PutSchemaURI(u"urn:replaced");
  EXPECT_EQ(Utf8(schema.SchemaURI()), "urn:replaced");
  AddClass(schema, u"A");
  schema.Copy(schema);  // a copy to itself changes nothing
  EXPECT_EQ(schema.Classes().Count(), 1);
}


TEST(ClassesBehaviors, UriFormIsTestedInOrderAndLookupsAreExact) {
  auto behaviors = MakeSchema().ClassesBehaviors();
  const struct { const char16_t* uri; const char* failure; } cases[] = {
      {u"", "Behavior URI is missing"},
      {u"urn:xPart", "missing character \"#\" in class Behavior URI \"urn:xPart\""},
      {u"#Part", "missing namespace in class Behavior URI \"#Part\""},
      {u"urn:x#", "missing name for behavior in class behavior URI \"urn:x#\""},
      {u"urn:x#1Part", "Invalid name \"1Part\" for class behavior"},
      {u"urn:x#Part", kNoFailure},
      {u"urn:x#Part", "Behavior \"urn:x#Part\" already exist"},
      {u"urn:x#part", kNoFailure},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FailureOf([&] { behaviors.Add(mtEmbedded, c.uri, u"", false); }), c.failure);
  ASSERT_EQ(behaviors.Count(), 2);
  EXPECT_EQ(behaviors.ItemByURI(u"urn:x#part"), behaviors.Item(1));
  EXPECT_EQ(behaviors.IndexOf(u"URN:x#part"), -1);
}

// Each refusal by mode, location and load flag (the location is tested before
// the load flag), and each failure of a load, which adds nothing; loading
// itself is tested with the catalogue's helper.
TEST(ClassesBehaviors, AddByModeAndLoad) {
  const char* missingLocation = "SchemaLocation is missing for behavior \"urn:x#Part\"";
  const struct {
    SchemaModeEnum mode;
    const char16_t *uri, *location;
    bool load;
    const char* failure;
  } cases[] = {
      {mtEmbedded, u"urn:x#Part", u"b.xsd", true,
       "SchemaLocation of behavior \"urn:x#Part\" cannot be assigned while schema mode is "
       "embedded"},
      {mtEmbedded, u"urn:x#Part", u"", true,
       "\"Load\" parameter cannot be true if Schema mode of behavior \"urn:x#Part\" is "
       "embedded"},
      {mtExternal, u"urn:x#Part", u"", true, missingLocation},
      {mtNone, u"urn:x#Part", u"", false, missingLocation},
      {mtNone, u"urn:x#Part", u"http://host/b.xsd", false, kNoFailure},
      {mtExternal, u"urn:x#Other", u"c.xsd", true,
       "Behavior \"urn:x#Other\" is not defined in the behavior schema \"c.xsd\""},
      {mtExternal, u"urn:x#Any", u"broken.xsd", true, "Invalid Vexa: broken document"},
  };
  for (const auto& c : cases) {
    auto behaviors = NewSchemaWithServices().ClassesBehaviors();
    EXPECT_EQ(FailureOf([&] { behaviors.Add(c.mode, c.uri, c.location, c.load); }), c.failure);
    EXPECT_EQ(behaviors.Count(), std::string(c.failure) == kNoFailure ? 1 : 0);
  }
  EXPECT_EQ(FailureOf([&] {
              MakeSchema().ClassesBehaviors().Add(mtExternal, u"urn:x#A", u"a.xsd", true);
            }),
            "Cannot load behavior \"urn:x#A\" from \"a.xsd\": reading behavior schema "
            "documents is not available");
}

// A collection outliving its class still works.
TEST(ClassBehaviors, AddRefusesWhatTheClassHasAndItemsCarryTheirMarks) {
  auto schema = MakeSchema();
  auto b = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:x#B", u"", false);
  auto parent = AddClass(schema, u"Parent");
  ComPtr<INvVexaClassBehaviors> own = AddClass(schema, u"Child", parent).CurrentClassBehaviors();
  parent.CurrentClassBehaviors().Add(b, muNo);
  EXPECT_EQ(FailureOf([&] { own.Add(nullptr, muNo); }),
            "Invalid value for parameter ClassBehavior");
  EXPECT_EQ(FailureOf([&] { own.Add(b, muYes); }), "Error: Behavior already exist");
  // A behaviour that is not one of the schema's is accepted.
  auto stray = MakeSchema().ClassesBehaviors().Add(mtEmbedded, u"urn:y#S", u"", false);
  own.Add(stray, muYes);
  // It carries its must-understand mark; a URI the list lacks has none.
  EXPECT_EQ(own.ItemByURI(u"urn:y#S"), stray);
  EXPECT_EQ(own.GetMustUnderstandStatus(u"urn:y#S"), muYes);
  EXPECT_EQ(own.GetMustUnderstandStatus(u"urn:x#B"), muNo);
  EXPECT_EQ(FailureOf([&] { own.Remove(1); }), "Illegal index. Failed to remove item from list.");
  schema.Classes().Remove(1);
  schema.reset();
  own.Remove(0);
  own.Add(stray, muNo);
  EXPECT_EQ(FailureOf([&] { own.Add(stray, muNo); }), "Error: Behavior already exist");
}

TEST(DomainBehaviors, AddLookupsAndRoles) {
  auto schema = MakeSchema();
  auto domains = schema.DomainBehaviors();
  EXPECT_EQ(FailureOf([&] { domains.Add(u""); }), "Missing URI for domain behavior");
  domains.Add(u"any text at all");  // any text is a URI here
  auto roles = domains.Add(u"urn:d#Files").RoleClassMapping();
  EXPECT_EQ(FailureOf([&] { domains.Add(u"urn:d#Files"); }),
            "Behavior \"urn:d#Files\" already exist");
  EXPECT_EQ(domains.ItemByURI(u"urn:d#files"), nullptr);

  auto a = AddClass(schema, u"A");
  auto b = AddClass(schema, u"B");
  EXPECT_EQ(FailureOf([&] { roles.PutItem(u"", a); }), "Role Name cannot be an empty string");
  roles.PutItem(u"zeta", a);
  roles.PutItem(u"zeta", b);  // mapped anew
  EXPECT_EQ(roles.Item(u"zeta"), b);
  EXPECT_EQ(roles.Item(u"Zeta"), nullptr);
}

// Behaviours of each origin but the catalogue, and a chain of classes with the
// child first. (That a copy keeps every property of classes, attributes,
// domain behaviours and Info items is checked on the random schemas of the
// schema document tests.)
ComPtr<INvVexaSchema> CopySource() {
  ComPtr<INvVexaSchema> source = MakeSchema();
  source.PutSchemaURI(u"urn:source");
  auto behaviors = source.ClassesBehaviors();
  auto embedded = behaviors.Add(mtEmbedded, u"urn:x#Embedded", u"", false);
  embedded.Attributes().Add(u"e").PutRequired(true);
  auto packaged = behaviors.Add(mtExternal, u"urn:p#Packaged", u"VEXA_CB_NS1.xsd", false);
  auto reference = packaged.Attributes().Add(u"p").TypeDefinition();
  reference.PutValueType(dtObjectReference);
  reference.ObjectReferenceType().PutRestrictionType(ortBehavior);
  reference.ObjectReferenceType().PutBehaviorURI(u"urn:x#Embedded");
  behaviors.Add(mtExternal, u"urn:far#Far", u"http://host/far.xsd", false);
  auto derived = AddClass(source, u"Derived");
  auto base = AddClass(source, u"Base");
  derived.PutParentClass(base);
  AddClass(source, u"Leaf", derived);
  base.CurrentClassAttributes().Add(u"id").PutRequired(true);
  base.CurrentClassBehaviors().Add(embedded, muYes);
  derived.CurrentClassBehaviors().Add(packaged, muNo);
  source.DomainBehaviors().Add(u"urn:d#Files").RoleClassMapping().PutItem(u"file", derived);
  return source;
}

// What the destination held is replaced by new objects that refer to each other.
TEST(SchemaCopy, CopiesBehaviorsByOriginAndLinksTheCopies) {
  const ComPtr<INvVexaSchema> source = CopySource(), copy = NewSchemaWithServices();
  AddClass(copy, u"Stale");
  copy.ClassesBehaviors().Add(mtEmbedded, u"urn:stale#S", u"", false);
  copy.DomainBehaviors().Add(u"urn:stale");
  EXPECT_EQ(FailureOf([&] { MakeSchema().Copy(source); }),
            "Cannot copy behavior \"urn:far#Far\": the standard behavior catalogue is not "
            "available");
  copy.Copy(source);
  EXPECT_EQ(copy.Classes().IndexOf(u"Stale") + copy.ClassesBehaviors().IndexOf(u"urn:stale#S") +
                copy.DomainBehaviors().IndexOf(u"urn:stale"),
            -3);
  const auto derived = copy.Classes().Item(0), base = copy.Classes().Item(1);
  EXPECT_NE(derived, source.Classes().Item(0));
  EXPECT_EQ(derived.ParentClass(), base);
  EXPECT_TRUE(
      base.CurrentClassAttributes().as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());

  auto behaviors = copy.ClassesBehaviors();
  ASSERT_EQ(behaviors.Count(), 3);
  // Embedded, and beside the schema: embedded copies without a location.
  EXPECT_EQ(Utf8(behaviors.Item(0).SchemaLocation()), "");
  EXPECT_TRUE(
      behaviors.Item(0).Attributes().as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());
  auto packaged = behaviors.ItemByURI(u"urn:p#Packaged");
  EXPECT_EQ(Utf8(packaged.SchemaLocation()), "");
  EXPECT_EQ(
      Utf8(packaged.Attributes().Item(0).TypeDefinition().ObjectReferenceType().BehaviorURI()),
      "urn:x#Embedded");
  // Elsewhere: loaded again.
  auto far = behaviors.ItemByURI(u"urn:far#Far");
  EXPECT_EQ(Utf8(far.SchemaLocation() + far.Attributes().Item(0).Name().View()),
            "http://host/far.xsdfarAway");

  // Classes list the destination's behaviours, with their marks; domain
  // behaviours the destination's classes.
  auto all = copy.Classes().ItemByName(u"Leaf").AllBehaviors();
  ASSERT_EQ(all.Count(), 2);
  EXPECT_EQ(all.Item(0), packaged);
  EXPECT_EQ(all.Item(1), behaviors.ItemByURI(u"urn:x#Embedded"));
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:x#Embedded"), muYes);
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  auto roles = copy.DomainBehaviors().ItemByURI(u"urn:d#Files").RoleClassMapping();
  EXPECT_EQ(roles.Item(u"file"), derived);
}

}  // namespace
}  // namespace nv::test
