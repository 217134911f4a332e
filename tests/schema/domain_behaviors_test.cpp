#include <gtest/gtest.h>

#include "schema_test_support.h"

namespace nv::test {
namespace {

TEST(DomainBehaviors, AddAndLookups) {
  auto domains = NewSchema().DomainBehaviors();
  EXPECT_EQ(FailureOf([&] { domains.Add(u""); }), "Missing URI for domain behavior");
  auto first = domains.Add(u"any text at all");
  auto second = domains.Add(u"urn:d#Files");
  EXPECT_EQ(FailureOf([&] { domains.Add(u"urn:d#Files"); }),
            "Behavior \"urn:d#Files\" already exist");
  EXPECT_EQ(Utf8(first.URI()), "any text at all");
  EXPECT_EQ(domains.ItemByURI(u"urn:d#Files"), second);
  EXPECT_EQ(domains.ItemByURI(u"urn:d#files"), nullptr);
  EXPECT_EQ(domains.IndexOf(u"urn:d#Files"), 1);
  EXPECT_EQ(domains.IndexOf(u"none"), -1);
  EXPECT_EQ(FailureOf([&] { domains.Item(2); }), "Illegal index. Failed to get item from list.");
  EXPECT_EQ(FailureOf([&] { domains.Remove(2); }),
            "Illegal index. Failed to remove item from list.");
  domains.Remove(0);
  EXPECT_EQ(domains.Item(0), second);
}

TEST(RoleClassMapping, MapsRolesToClasses) {
  auto schema = NewSchema();
  auto a = AddClass(schema, u"A");
  auto b = AddClass(schema, u"B");
  auto roles = schema.DomainBehaviors().Add(u"urn:d#X").RoleClassMapping();
  EXPECT_EQ(FailureOf([&] { roles.PutItem(u"", a); }), "Role Name cannot be an empty string");
  roles.PutItem(u"zeta", a);
  roles.PutItem(u"alpha", a);
  roles.PutItem(u"zeta", b);  // mapped anew
  EXPECT_EQ(roles.Count(), 2);
  EXPECT_EQ(roles.Item(u"zeta"), b);
  EXPECT_EQ(roles.Item(u"Zeta"), nullptr);
  auto raw = roles.as<INvVexaDomainBehaviorRoleClassMappingCRaw>();
  EXPECT_EQ(Utf8(raw.GetRoleNameByIndex(0)), "alpha");  // key order
  EXPECT_EQ(Utf8(raw.GetRoleNameByIndex(1)), "zeta");
  EXPECT_EQ(FailureOf([&] { raw.GetRoleNameByIndex(2); }), "Invalid index");
}

TEST(DomainBehaviors, CopyMapsRolesToTheDestinationsClassesByName) {
  auto source = NewSchema();
  auto roles = source.DomainBehaviors().Add(u"urn:d#X").RoleClassMapping();
  roles.PutItem(u"kept", AddClass(source, u"Kept"));
  roles.PutItem(u"lost", AddClass(source, u"Lost"));
  roles.PutItem(u"unset", nullptr);
  source.DomainBehaviors().Add(u"urn:d#Y");

  auto dest = NewSchema();
  auto kept = AddClass(dest, u"Kept");
  dest.DomainBehaviors().Add(u"urn:d#Stale");
  dest.DomainBehaviors().as<INvVexaDomainBehaviorsCRaw>().Copy(source.DomainBehaviors(), dest);

  auto domains = dest.DomainBehaviors();
  ASSERT_EQ(domains.Count(), 2);
  EXPECT_EQ(Utf8(domains.Item(1).URI()), "urn:d#Y");
  auto copied = domains.Item(0).RoleClassMapping();
  EXPECT_EQ(copied.Count(), 2);  // the unset role is not copied
  EXPECT_EQ(copied.Item(u"kept"), kept);
  EXPECT_EQ(copied.Item(u"lost"), nullptr);
}

}  // namespace
}  // namespace nv::test
