#include "schema/attributes.h"

#include <gtest/gtest.h>

#include <string>

#include "schema_test_support.h"

namespace nv::test {
namespace {

TEST(Attribute, StartsWithTheDocumentedDefaults) {
  auto attribute = MakeAttributes(aotClass).Add(u"a");
  EXPECT_EQ(Utf8(attribute.Name()), "a");
  EXPECT_FALSE(attribute.IsPrimary());
  EXPECT_FALSE(attribute.Required());
  EXPECT_TRUE(attribute.IsNullAllowed());
  EXPECT_EQ(attribute.DefaultValue().vt, VT_NULL);
  EXPECT_EQ(attribute.TypeDefinition().ValueType(), dtUndefined);
}

TEST(Attribute, DefaultValueIsKeptAsGiven) {
  auto attribute = MakeAttributes(aotClass).Add(u"a");
  attribute.TypeDefinition().PutValueType(dtInt);
  attribute.PutDefaultValue(Variant(u"not a number"));
  const Variant stored = attribute.DefaultValue();
  ASSERT_EQ(stored.vt, VT_BSTR);
  EXPECT_EQ(Bstr::FromBstr(stored.bstrVal).ToUtf8(), "not a number");
}

TEST(Attributes, AddChecksTheNameInOrder) {
  auto attributes = MakeAttributes(aotClass);
  attributes.Add(u"Part");
  const std::u16string longName(300, u'x');
  struct Case {
    std::u16string name;
    std::string failure;
  };
  const Case cases[] = {
      {u"", "Missing Name for attribute"},
      {u"1abc", "Invalid name \"1abc\" for attribute"},
      {u"a:b", "Invalid name \"a:b\" for attribute"},
      {u"a b", "Invalid name \"a b\" for attribute"},
      {u"Part", "Attribute Part already exist"},
      {u"part", "<no failure>"},
      {u"_x-1.y", "<no failure>"},
      {longName, "<no failure>"},
      {longName + u"?", "Invalid name \"" + std::string(300, 'x') + "?\" for attribute"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FailureOf([&] { attributes.Add(std::u16string_view(c.name)); }), c.failure);
  EXPECT_EQ(attributes.Count(), 4);
}

TEST(Attributes, LookupsAreExact) {
  auto attributes = MakeAttributes(aotClass);
  attributes.Add(u"Alpha");
  attributes.Add(u"Beta");
  EXPECT_EQ(attributes.IndexOf(u"Beta"), 1);
  EXPECT_EQ(attributes.IndexOf(u"beta"), -1);
  EXPECT_TRUE(attributes.Exist(u"Alpha"));
  EXPECT_FALSE(attributes.Exist(u"ALPHA"));
  EXPECT_EQ(attributes.ItemByName(u"alpha"), nullptr);
  EXPECT_EQ(Utf8(attributes.ItemByName(u"Alpha").Name()), "Alpha");
  auto readOnly = attributes.as<INvVexaReadOnlyAttributes>();
  EXPECT_EQ(Utf8(readOnly.Item(1).Name()), "Beta");
}

TEST(Attributes, IndexesOutsideTheListFail) {
  auto attributes = MakeAttributes(aotClass);
  attributes.Add(u"a");
  for (LONG index : {-1, 1}) {
    EXPECT_EQ(FailureOf([&] { attributes.Item(index); }),
              "Illegal index. Failed to get item from list.");
    EXPECT_EQ(FailureOf([&] { attributes.Remove(index); }),
              "Illegal index. Failed to remove item from list.");
  }
  attributes.Remove(0);
  EXPECT_EQ(attributes.Count(), 0);
}

TEST(Attributes, RequiredRaisesTheCollectionFlagForGood) {
  auto attributes = MakeAttributes(aotClass);
  auto raw = attributes.as<INvVexaAttributesCRaw>();
  auto a = attributes.Add(u"a");
  EXPECT_FALSE(raw.ConsistsRequiredAttributes());
  a.PutRequired(true);
  EXPECT_TRUE(raw.ConsistsRequiredAttributes());
  a.PutRequired(false);
  EXPECT_FALSE(a.Required());
  EXPECT_TRUE(raw.ConsistsRequiredAttributes());
}

TEST(Attributes, AnAttributeOutlivingItsCollectionIsDetached) {
  ComPtr<INvVexaAttribute> kept;
  ComPtr<INvVexaAttribute> removed;
  {
    auto attributes = MakeAttributes(aotClassBehavior);
    kept = attributes.Add(u"kept");
    removed = attributes.Add(u"removed");
    EXPECT_EQ(kept.as<INvVexaAttributeCRaw>().GetOwner(), attributes);
    attributes.Remove(1);
    EXPECT_EQ(removed.as<INvVexaAttributeCRaw>().GetOwner(), nullptr);
  }
  EXPECT_EQ(kept.as<INvVexaAttributeCRaw>().GetOwner(), nullptr);
  kept.PutRequired(true);  // no collection left to tell
  EXPECT_TRUE(kept.Required());
  // The owner type was taken at creation.
  kept.TypeDefinition().PutValueType(dtObjectReference);
  EXPECT_EQ(
      FailureOf([&] { kept.TypeDefinition().ObjectReferenceType().PutRestrictionType(ortClass); }),
      "Class Behavior attribute of type dtObjectReference cannot be restricted to ortClass "
      "or to ortClassAndDescendants");
}

// An attribute of every data type, each with some of its properties set.
void FillWithEveryKind(const ComPtr<INvVexaAttributes>& attributes) {
  for (int type = dtString; type <= dtXML; ++type) {
    auto attribute = attributes.Add(Bstr::FromUtf8("a" + std::to_string(type)));
    attribute.TypeDefinition().PutValueType(static_cast<DataTypeEnum>(type));
    attribute.PutIsPrimary(type == dtInt);
    attribute.PutIsNullAllowed(type % 2 == 0);
    if (type == dtString) attribute.TypeDefinition().StringType().PutMaxLength(25);
    if (type == dtObjectReference) {
      auto reference = attribute.TypeDefinition().ObjectReferenceType();
      reference.PutRestrictionType(ortClassAndDescendants);
      reference.PutClassName(u"Part");
    }
    if (type == dtDouble) attribute.PutDefaultValue(Variant(2.5));
  }
  attributes.Item(2).PutRequired(true);
}

TEST(Attributes, CopyReplacesTheListByCopiesOfEveryKind) {
  auto source = MakeAttributes(aotClass);
  FillWithEveryKind(source);
  auto copy = MakeAttributes(aotClass);
  copy.Add(u"stale");
  copy.as<INvVexaAttributesCRaw>().Copy(source);

  ASSERT_EQ(copy.Count(), source.Count());
  EXPECT_FALSE(copy.Exist(u"stale"));
  for (LONG k = 0; k < source.Count(); ++k) {
    auto from = source.Item(k);
    auto to = copy.Item(k);
    EXPECT_NE(from, to);
    EXPECT_EQ(Utf8(to.Name()), Utf8(from.Name()));
    EXPECT_EQ(to.TypeDefinition().ValueType(), from.TypeDefinition().ValueType());
    EXPECT_EQ(to.IsPrimary(), from.IsPrimary());
    EXPECT_EQ(to.Required(), from.Required());
    EXPECT_EQ(to.IsNullAllowed(), from.IsNullAllowed());
    EXPECT_EQ(to.DefaultValue().vt, from.DefaultValue().vt);
    EXPECT_EQ(to.as<INvVexaAttributeCRaw>().GetOwner(), copy);
  }
  EXPECT_EQ(copy.ItemByName(u"a1").TypeDefinition().StringType().MaxLength(), 25);
  auto reference = copy.ItemByName(u"a20").TypeDefinition().ObjectReferenceType();
  EXPECT_EQ(reference.RestrictionType(), ortClassAndDescendants);
  EXPECT_EQ(Utf8(reference.ClassName()), "Part");
  EXPECT_EQ(copy.ItemByName(u"a4").DefaultValue().dblVal, 2.5);
  // A copy holding a required attribute says so, like its source.
  EXPECT_TRUE(copy.as<INvVexaAttributesCRaw>().ConsistsRequiredAttributes());
}

TEST(Attributes, CopyCarriesTheRequiredFlag) {
  auto source = MakeAttributes(aotClassBehavior);
  auto copy = MakeAttributes(aotClassBehavior);
  auto copyRaw = copy.as<INvVexaAttributesCRaw>();
  source.Add(u"a");
  copyRaw.Copy(source);
  EXPECT_FALSE(copyRaw.ConsistsRequiredAttributes());
  // Once raised, the source's flag stays raised; so does the copy's.
  source.Item(0).PutRequired(true);
  source.Item(0).PutRequired(false);
  copyRaw.Copy(source);
  EXPECT_TRUE(copyRaw.ConsistsRequiredAttributes());
}

TEST(Attributes, CopyOfItselfKeepsItsAttributes) {
  auto attributes = MakeAttributes(aotClass);
  attributes.Add(u"a");
  attributes.as<INvVexaAttributesCRaw>().Copy(attributes);
  attributes.as<INvVexaReadOnlyAttributesCRaw>().Copy(attributes.as<INvVexaReadOnlyAttributes>());
  EXPECT_EQ(attributes.Count(), 1);
}

}  // namespace
}  // namespace nv::test
