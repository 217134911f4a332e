#include <gtest/gtest.h>

#include <string>

#include "schema/behavior_uri.h"
#include "schema_test_support.h"

namespace nv::test {
namespace {

TEST(ClassesBehaviors, UriFormIsTestedInOrder) {
  auto behaviors = NewSchema().ClassesBehaviors();
  struct Case {
    const char16_t* uri;
    const char* failure;
  };
  const Case cases[] = {
      {u"", "Behavior URI is missing"},
      {u"urn:xPart", "missing character \"#\" in class Behavior URI \"urn:xPart\""},
      {u"#Part", "missing namespace in class Behavior URI \"#Part\""},
      {u"urn:x#", "missing name for behavior in class behavior URI \"urn:x#\""},
      {u"urn:x#1Part", "Invalid name \"1Part\" for class behavior"},
      {u"urn:x#a#b", "Invalid name \"a#b\" for class behavior"},
      {u"urn:x#Part", "<no failure>"},
      {u"urn:x#Part", "Behavior \"urn:x#Part\" already exist"},
      {u"urn:x#part", "<no failure>"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FailureOf([&] { behaviors.Add(mtEmbedded, c.uri, u"", false); }), c.failure);
  EXPECT_EQ(behaviors.Count(), 2);
}

TEST(ClassesBehaviors, AddByMode) {
  const char* embeddedLocation =
      "SchemaLocation of behavior \"urn:x#Part\" cannot be assigned while schema mode is "
      "embedded";
  const char* embeddedLoad =
      "\"Load\" parameter cannot be true if Schema mode of behavior \"urn:x#Part\" is embedded";
  const char* missingLocation = "SchemaLocation is missing for behavior \"urn:x#Part\"";
  struct Case {
    SchemaModeEnum mode;
    const char16_t* location;
    bool load;
    const char* failure;
  };
  const Case cases[] = {
      {mtEmbedded, u"b.xsd", true, embeddedLocation},  // the location is tested first
      {mtEmbedded, u"b.xsd", false, embeddedLocation},
      {mtEmbedded, u"", true, embeddedLoad},
      {mtEmbedded, u"", false, "<no failure>"},
      {mtExternal, u"", false, missingLocation},
      {mtExternal, u"", true, missingLocation},
      {mtNone, u"", false, missingLocation},
      {mtExternal, u"b.xsd", false, "<no failure>"},
      {mtNone, u"http://host/b.xsd", false, "<no failure>"},
  };
  for (const Case& c : cases) {
    auto behaviors = NewSchema().ClassesBehaviors();
    EXPECT_EQ(FailureOf([&] { behaviors.Add(c.mode, u"urn:x#Part", c.location, c.load); }),
              c.failure);
    const bool added = std::string(c.failure) == "<no failure>";
    ASSERT_EQ(behaviors.Count(), added ? 1 : 0);
    if (!added) continue;
    auto behavior = behaviors.Item(0);
    EXPECT_EQ(Bstr(behavior.SchemaLocation()), Bstr(c.location));
    EXPECT_EQ(behavior.Attributes().Count(), 0);
    EXPECT_EQ(behavior.Attributes().as<INvVexaAttributesCRaw>().GetAttributeOwnerType(),
              aotClassBehavior);
  }
}

TEST(ClassesBehaviors, LookupsAndIndexes) {
  auto behaviors = NewSchema().ClassesBehaviors();
  behaviors.Add(mtEmbedded, u"urn:x#A", u"", false);
  auto b = behaviors.Add(mtEmbedded, u"urn:x#B", u"", false);
  EXPECT_EQ(behaviors.ItemByURI(u"urn:x#B"), b);
  EXPECT_EQ(behaviors.ItemByURI(u"urn:x#b"), nullptr);
  EXPECT_EQ(behaviors.IndexOf(u"urn:x#B"), 1);
  EXPECT_EQ(behaviors.IndexOf(u"URN:x#B"), -1);
  EXPECT_EQ(FailureOf([&] { behaviors.Item(2); }), "Illegal index. Failed to get item from list.");
  EXPECT_EQ(FailureOf([&] { behaviors.Remove(-1); }),
            "Illegal index. Failed to remove item from list.");
  behaviors.Remove(0);
  EXPECT_EQ(behaviors.Item(0), b);
}

// A loader that defines urn:x#Loaded (one attribute) in any schema it reads.
void LoadDefiningOneBehavior(const ComPtr<INvVexaSchema>& schema, const Bstr& location) {
  if (location == Bstr(u"broken.xsd")) throw ENvException("Invalid Vexa: broken document");
  auto behavior = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:x#Loaded", u"", false);
  behavior.Attributes().Add(u"size");
}

TEST(ClassesBehaviors, LoadReadsTheDefinitionThroughTheReaderSeam) {
  SchemaSeams seams;
  seams.loadBehaviorSchema = &LoadDefiningOneBehavior;
  ScopedSeams installed(seams);
  auto behaviors = NewSchema().ClassesBehaviors();

  auto loaded = behaviors.Add(mtExternal, u"urn:x#Loaded", u"http://host/b.xsd", true);
  EXPECT_EQ(Utf8(loaded.SchemaLocation()), "http://host/b.xsd");
  EXPECT_EQ(Utf8(loaded.Attributes().Item(0).Name()), "size");

  EXPECT_EQ(FailureOf([&] { behaviors.Add(mtExternal, u"urn:x#Other", u"c.xsd", true); }),
            "Behavior \"urn:x#Other\" is not defined in the behavior schema \"c.xsd\"");
  EXPECT_EQ(FailureOf([&] { behaviors.Add(mtExternal, u"urn:x#Any", u"broken.xsd", true); }),
            "Invalid Vexa: broken document");
  EXPECT_EQ(behaviors.Count(), 1);
}

TEST(ClassesBehaviors, LoadWithoutTheReaderSeamFailsClearly) {
  ScopedSeams installed(SchemaSeams{});
  auto behaviors = NewSchema().ClassesBehaviors();
  EXPECT_EQ(FailureOf([&] { behaviors.Add(mtExternal, u"urn:x#A", u"a.xsd", true); }),
            "Cannot load behavior \"urn:x#A\" from \"a.xsd\": reading behavior schema documents "
            "is not available");
  EXPECT_EQ(behaviors.Count(), 0);
}

TEST(ClassBehavior, CopyEmbedsTheSourceDefinition) {
  auto schema = NewSchema();
  auto source = schema.ClassesBehaviors().Add(mtExternal, u"urn:x#A", u"/abs/a.xsd", false);
  source.Attributes().Add(u"x").PutRequired(true);
  auto copy = schema.ClassesBehaviors().Add(mtExternal, u"urn:x#B", u"b.xsd", false);
  copy.as<INvVexaClassBehaviorCRaw>().Copy(source);
  EXPECT_EQ(Utf8(copy.SchemaLocation()), "");
  EXPECT_EQ(Utf8(copy.URI()), "urn:x#B");
  EXPECT_TRUE(copy.Attributes().ItemByName(u"x").Required());
  EXPECT_TRUE(copy.Attributes().as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());
}

TEST(ClassBehaviors, AddRefusesNullAndWhatTheClassAlreadyHas) {
  auto schema = NewSchema();
  auto behaviors = schema.ClassesBehaviors();
  auto b = behaviors.Add(mtEmbedded, u"urn:x#B", u"", false);
  auto parent = AddClass(schema, u"Parent");
  auto child = AddClass(schema, u"Child", parent);
  parent.CurrentClassBehaviors().Add(b, muNo);
  auto own = child.CurrentClassBehaviors();
  EXPECT_EQ(FailureOf([&] { own.Add(nullptr, muNo); }),
            "Invalid value for parameter ClassBehavior");
  EXPECT_EQ(FailureOf([&] { own.Add(b, muYes); }), "Error: Behavior already exist");
  EXPECT_EQ(FailureOf([&] { parent.CurrentClassBehaviors().Add(b, muYes); }),
            "Error: Behavior already exist");
  // A behaviour that is not one of the schema's is accepted.
  auto stray = NewSchema().ClassesBehaviors().Add(mtEmbedded, u"urn:y#S", u"", false);
  own.Add(stray, muYes);
  EXPECT_EQ(own.Count(), 1);
  EXPECT_EQ(FailureOf([&] { own.Remove(1); }), "Illegal index. Failed to remove item from list.");
  own.Remove(0);
  EXPECT_EQ(own.Count(), 0);
}

TEST(ClassBehaviors, ItemsCarryTheirMustUnderstandMark) {
  auto schema = NewSchema();
  auto b = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:x#B", u"", false);
  auto own = AddClass(schema, u"C").CurrentClassBehaviors();
  own.Add(b, muYes);
  auto item = own.as<INvVexaReadOnlyClassBehaviorsCRaw>().BehaviorItemByURI(u"urn:x#B");
  ASSERT_TRUE(item);
  EXPECT_EQ(item.Behavior(), b);
  item.PutMustUnderstand(muNo);
  EXPECT_EQ(own.GetMustUnderstandStatus(u"urn:x#B"), muNo);
  EXPECT_EQ(own.as<INvVexaReadOnlyClassBehaviorsCRaw>().BehaviorItemByURI(u"urn:x#Z"), nullptr);
}

TEST(ClassBehaviors, ACollectionOutlivingItsClassStillWorks) {
  auto schema = NewSchema();
  auto b = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:x#B", u"", false);
  ComPtr<INvVexaClassBehaviors> own = AddClass(schema, u"C").CurrentClassBehaviors();
  schema.Classes().Remove(0);
  schema.reset();
  own.Add(b, muNo);
  EXPECT_EQ(FailureOf([&] { own.Add(b, muNo); }), "Error: Behavior already exist");
}

TEST(BehaviorUri, NamespaceAndLocationForms) {
  EXPECT_EQ(Utf8(BehaviorNamespaceOf(u"urn:x#A#B")), "urn:x");
  EXPECT_EQ(FailureOf([] { BehaviorNamespaceOf(u"urn:x"); }),
            "\"urn:x\" is is not a valid Behavior Name, missing # seperator");
  struct Case {
    const char16_t* location;
    bool relative;
  };
  const Case cases[] = {
      {u"", true},           {u"VEXA_CB_NS1.xsd", true},  {u"sub/b.xsd", true},
      {u"c:\\b.xsd", false}, {u"\\\\host\\b.xsd", false}, {u"http://h/b.xsd", false},
      {u"file:b.xsd", false}};
  for (const Case& c : cases) EXPECT_EQ(IsRelativeLocation(c.location), c.relative);
}

}  // namespace
}  // namespace nv::test
