// Copying a whole schema: classes that inherit (a parent defined after its
// child included), attributes of every kind, behaviours of every origin with
// their must-understand marks, and domain behaviours.
#include <gtest/gtest.h>

#include <string>

#include "schema/behavior_uri.h"
#include "schema_test_support.h"

namespace nv::test {
namespace {

constexpr const char16_t* kVersioning =
    u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/versioning/1.0#version";
constexpr const char16_t* kVersioningLocation =
    u"http://www.norvane.com/vexa/std/schema/classBehaviors/versioning.xsd";

// Stand-ins for the schema document reader and the standard catalogue.
SchemaSeams FakeSeams() {
  SchemaSeams seams;
  seams.loadBehaviorSchema = [](const ComPtr<INvVexaSchema>& schema, const Bstr&) {
    schema.ClassesBehaviors()
        .Add(mtEmbedded, u"urn:far#Far", u"", false)
        .Attributes()
        .Add(u"farAway");
  };
  seams.isStandardBehaviorNamespace = [](std::u16string_view ns) {
    return ns == u"http://www.norvane.com/vexa/std/ns/core/classBehaviors/versioning/1.0";
  };
  seams.defineStandardBehavior = [](const ComPtr<INvVexaSchema>& schema, const Bstr& uri) {
    auto behavior = schema.ClassesBehaviors().Add(mtEmbedded, uri, u"", false);
    behavior.Attributes().Add(u"version");
    behavior.PutSchemaLocation(kVersioningLocation);
  };
  return seams;
}

void AddAttributesOfEveryKind(const ComPtr<INvVexaAttributes>& attributes) {
  for (int type = dtString; type <= dtXML; ++type) {
    auto attribute = attributes.Add(Bstr::FromUtf8("t" + std::to_string(type)));
    attribute.TypeDefinition().PutValueType(static_cast<DataTypeEnum>(type));
    if (type == dtString) attribute.TypeDefinition().StringType().PutMaxLength(8);
    if (type == dtObjectReference) {
      attribute.TypeDefinition().ObjectReferenceType().PutRestrictionType(ortClass);
      attribute.TypeDefinition().ObjectReferenceType().PutClassName(u"Base");
    }
  }
  attributes.ItemByName(u"t10").PutRequired(true);
  attributes.ItemByName(u"t10").PutIsPrimary(true);
  attributes.ItemByName(u"t2").PutDefaultValue(Variant(true));
}

class SchemaCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    source.PutSchemaURI(u"urn:source");
    auto behaviors = source.ClassesBehaviors();
    auto embedded = behaviors.Add(mtEmbedded, u"urn:x#Embedded", u"", false);
    embedded.Attributes().Add(u"e").PutRequired(true);
    auto packaged = behaviors.Add(mtExternal, u"urn:p#Packaged", u"VEXA_CB_NS1.xsd", false);
    packaged.Attributes().Add(u"p").TypeDefinition().PutValueType(dtObjectReference);
    packaged.Attributes().Item(0).TypeDefinition().ObjectReferenceType().PutRestrictionType(
        ortBehavior);
    packaged.Attributes().Item(0).TypeDefinition().ObjectReferenceType().PutBehaviorURI(
        u"urn:x#Embedded");
    behaviors.Add(mtExternal, u"urn:far#Far", u"http://host/far.xsd", false);
    behaviors.Add(mtExternal, kVersioning, kVersioningLocation, false);

    // The child comes first in the collection, its parent after it.
    auto derived = AddClass(source, u"Derived");
    auto base = AddClass(source, u"Base");
    derived.PutParentClass(base);
    AddClass(source, u"Leaf", derived);
    base.PutIsAbstract(true);
    AddAttributesOfEveryKind(base.CurrentClassAttributes());
    derived.CurrentClassAttributes().Add(u"own");
    base.CurrentClassBehaviors().Add(embedded, muYes);
    derived.CurrentClassBehaviors().Add(packaged, muNo);
    derived.CurrentClassBehaviors().Add(behaviors.ItemByURI(kVersioning), muYes);

    auto roles = source.DomainBehaviors().Add(u"urn:d#Files").RoleClassMapping();
    roles.PutItem(u"file", derived);
  }

  ComPtr<INvVexaSchema> source = NewSchema();
  ComPtr<INvVexaSchema> copy = NewSchema();
};

TEST_F(SchemaCopy, CopiesClassesWithTheirParents) {
  ScopedSeams installed(FakeSeams());
  copy.Copy(source);
  auto classes = copy.Classes();
  ASSERT_EQ(classes.Count(), 3);
  auto derived = classes.Item(0);
  auto base = classes.Item(1);
  auto leaf = classes.Item(2);
  EXPECT_EQ(Utf8(derived.Name()), "Derived");
  EXPECT_NE(derived, source.Classes().Item(0));
  EXPECT_EQ(derived.ParentClass(), base);
  EXPECT_EQ(leaf.ParentClass(), derived);
  EXPECT_EQ(base.ParentClass(), nullptr);
  EXPECT_TRUE(base.IsAbstract());
  EXPECT_FALSE(derived.IsAbstract());
  EXPECT_EQ(leaf.AllAttributes().Count(), 1 + 21);
  EXPECT_EQ(leaf.AllAttributes().IndexOf(u"t20"), 20);
}

TEST_F(SchemaCopy, CopiesAttributesOfEveryKind) {
  ScopedSeams installed(FakeSeams());
  copy.Copy(source);
  auto attributes = copy.Classes().ItemByName(u"Base").CurrentClassAttributes();
  ASSERT_EQ(attributes.Count(), 21);
  for (LONG k = 0; k < attributes.Count(); ++k)
    EXPECT_EQ(attributes.Item(k).TypeDefinition().ValueType(), static_cast<DataTypeEnum>(k + 1));
  EXPECT_EQ(attributes.ItemByName(u"t1").TypeDefinition().StringType().MaxLength(), 8);
  auto reference = attributes.ItemByName(u"t20").TypeDefinition().ObjectReferenceType();
  EXPECT_EQ(reference.RestrictionType(), ortClass);
  EXPECT_EQ(Utf8(reference.ClassName()), "Base");
  EXPECT_TRUE(attributes.ItemByName(u"t10").Required());
  EXPECT_TRUE(attributes.ItemByName(u"t10").IsPrimary());
  EXPECT_EQ(attributes.ItemByName(u"t2").DefaultValue().boolVal, VARIANT_TRUE);
  EXPECT_TRUE(attributes.as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());
}

TEST_F(SchemaCopy, CopiesBehaviorsByOrigin) {
  ScopedSeams installed(FakeSeams());
  copy.Copy(source);
  auto behaviors = copy.ClassesBehaviors();
  ASSERT_EQ(behaviors.Count(), 4);
  // Embedded, and beside the schema: embedded copies without a location.
  EXPECT_EQ(Utf8(behaviors.Item(0).SchemaLocation()), "");
  EXPECT_TRUE(
      behaviors.Item(0).Attributes().as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());
  auto packaged = behaviors.ItemByURI(u"urn:p#Packaged");
  EXPECT_EQ(Utf8(packaged.SchemaLocation()), "");
  EXPECT_EQ(
      Utf8(packaged.Attributes().Item(0).TypeDefinition().ObjectReferenceType().BehaviorURI()),
      "urn:x#Embedded");
  // Elsewhere: loaded again, or defined from the catalogue.
  auto far = behaviors.ItemByURI(u"urn:far#Far");
  EXPECT_EQ(Utf8(far.SchemaLocation()), "http://host/far.xsd");
  EXPECT_EQ(Utf8(far.Attributes().Item(0).Name()), "farAway");
  auto versioning = behaviors.ItemByURI(kVersioning);
  EXPECT_EQ(Bstr(versioning.SchemaLocation()), Bstr(kVersioningLocation));
  EXPECT_EQ(Utf8(versioning.Attributes().Item(0).Name()), "version");
}

TEST_F(SchemaCopy, ClassesListTheDestinationsBehaviorsWithTheirMarks) {
  ScopedSeams installed(FakeSeams());
  copy.Copy(source);
  auto leaf = copy.Classes().ItemByName(u"Leaf");
  auto all = leaf.AllBehaviors();
  ASSERT_EQ(all.Count(), 3);
  EXPECT_EQ(all.Item(0), copy.ClassesBehaviors().ItemByURI(u"urn:p#Packaged"));
  EXPECT_EQ(all.Item(2), copy.ClassesBehaviors().ItemByURI(u"urn:x#Embedded"));
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:x#Embedded"), muYes);
  EXPECT_EQ(all.GetMustUnderstandStatus(u"urn:p#Packaged"), muNo);
  EXPECT_EQ(all.GetMustUnderstandStatus(kVersioning), muYes);
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
}

TEST_F(SchemaCopy, DomainBehaviorsFindTheCopiedClasses) {
  ScopedSeams installed(FakeSeams());
  copy.Copy(source);
  auto roles = copy.DomainBehaviors().ItemByURI(u"urn:d#Files").RoleClassMapping();
  EXPECT_EQ(roles.Item(u"file"), copy.Classes().ItemByName(u"Derived"));
}

TEST_F(SchemaCopy, ReplacesWhatTheDestinationHeld) {
  ScopedSeams installed(FakeSeams());
  AddClass(copy, u"Stale");
  copy.ClassesBehaviors().Add(mtEmbedded, u"urn:stale#S", u"", false);
  copy.DomainBehaviors().Add(u"urn:stale");
  copy.Copy(source);
  EXPECT_EQ(copy.Classes().IndexOf(u"Stale"), -1);
  EXPECT_EQ(copy.ClassesBehaviors().IndexOf(u"urn:stale#S"), -1);
  EXPECT_EQ(copy.DomainBehaviors().IndexOf(u"urn:stale"), -1);
  EXPECT_EQ(Utf8(copy.SchemaURI()), "urn:source");
}

TEST_F(SchemaCopy, AnExternalBehaviorNeedsTheCatalogue) {
  ScopedSeams installed(SchemaSeams{});
  EXPECT_EQ(FailureOf([&] { copy.Copy(source); }),
            "Cannot copy behavior \"urn:far#Far\": the standard behavior catalogue is not "
            "available");
  // What was copied before the failure stays.
  EXPECT_EQ(copy.ClassesBehaviors().Count(), 2);
}

TEST(ClassCopy, AParentMissingFromTheDestinationIsLeftOut) {
  auto source = NewSchema();
  auto child = AddClass(source, u"Child", AddClass(source, u"Parent"));
  auto dest = NewSchema();
  auto copied = AddClass(dest, u"Child");
  copied.as<INvVexaClassCRaw>().Copy(child, dest);
  EXPECT_EQ(copied.ParentClass(), nullptr);
}

TEST(ClassCopy, ABehaviorMissingFromTheDestinationFails) {
  auto source = NewSchema();
  auto b = source.ClassesBehaviors().Add(mtEmbedded, u"urn:x#B", u"", false);
  auto vexaClass = AddClass(source, u"C");
  vexaClass.CurrentClassBehaviors().Add(b, muNo);
  auto dest = NewSchema();
  EXPECT_EQ(FailureOf([&] { AddClass(dest, u"C").as<INvVexaClassCRaw>().Copy(vexaClass, dest); }),
            "Invalid value for parameter ClassBehavior");
}

TEST(ClassCopy, CopyingToItselfChangesNothing) {
  auto schema = NewSchema();
  AddClass(schema, u"A");
  schema.Copy(schema);
  EXPECT_EQ(schema.Classes().Count(), 1);
}

}  // namespace
}  // namespace nv::test
