// Class behaviours, domain behaviours and behaviour URIs.
#include <gtest/gtest.h>

#include <string>

#include "schema/behaviors.h"
#include "schema_test_support.h"

namespace nv::test {
namespace {

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

TEST(ClassesBehaviors, AddByMode) {
  const char* missingLocation = "SchemaLocation is missing for behavior \"urn:x#Part\"";
  const struct {
    SchemaModeEnum mode;
    const char16_t* location;
    bool load;
    const char* failure;
  } cases[] = {
      // The location is tested before the load flag.
      {mtEmbedded, u"b.xsd", true,
       "SchemaLocation of behavior \"urn:x#Part\" cannot be assigned while schema mode is "
       "embedded"},
      {mtEmbedded, u"", true,
       "\"Load\" parameter cannot be true if Schema mode of behavior \"urn:x#Part\" is "
       "embedded"},
      {mtExternal, u"", true, missingLocation},
      {mtNone, u"", false, missingLocation},
      {mtNone, u"http://host/b.xsd", false, kNoFailure},
  };
  for (const auto& c : cases) {
    auto behaviors = MakeSchema().ClassesBehaviors();
    EXPECT_EQ(FailureOf([&] { behaviors.Add(c.mode, u"urn:x#Part", c.location, c.load); }),
              c.failure);
    EXPECT_EQ(behaviors.Count(), std::string(c.failure) == kNoFailure ? 1 : 0);
  }
}

// Each failure of a load; loading itself is tested with the catalogue's helper.
TEST(ClassesBehaviors, LoadReportsEachFailureAndAddsNothing) {
  EXPECT_EQ(FailureOf([&] {
              MakeSchema().ClassesBehaviors().Add(mtExternal, u"urn:x#A", u"a.xsd", true);
            }),
            "Cannot load behavior \"urn:x#A\" from \"a.xsd\": reading behavior schema "
            "documents is not available");
  auto behaviors = NewSchemaWithServices().ClassesBehaviors();
  EXPECT_EQ(FailureOf([&] { behaviors.Add(mtExternal, u"urn:x#Other", u"c.xsd", true); }),
            "Behavior \"urn:x#Other\" is not defined in the behavior schema \"c.xsd\"");
  EXPECT_EQ(FailureOf([&] { behaviors.Add(mtExternal, u"urn:x#Any", u"broken.xsd", true); }),
            "Invalid Vexa: broken document");
  EXPECT_EQ(behaviors.Count(), 0);
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

}  // namespace
}  // namespace nv::test
