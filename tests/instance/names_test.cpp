// The namespace table: fixed and generated prefixes, and the first mapping kept.
#include "instance/names.h"
#include "support/failure_of.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(Namespaces, FixedAndGeneratedPrefixes) {
  const struct { std::u16string_view ns; const char* prefix; } cases[] = {
      {kCoreNamespace, "vexa"},
      {u"urn:other", "NS1"},
      {u"http://www.norvane.com/vexa/std/ns/core/2.0", "NS2"},
  };
  auto table = CreateObject<CNvVexaNamespaces>().as<INvVexaNamespacesCRaw>();
  for (const auto& c : cases) EXPECT_EQ(table.AddNamespace(c.ns).ToUtf8(), c.prefix);
  // Generated prefixes keep counting after Clear; a namespace present keeps its prefix.
  table.as<INvVexaNamespaces>().Clear();
  EXPECT_FALSE(table.Exist(u"urn:other"));
  EXPECT_EQ(table.AddNamespace(u"urn:other").ToUtf8(), "NS3");
  EXPECT_EQ(table.GetNextUniquePrefix().ToUtf8(), "NS4");
  EXPECT_EQ(table.AddNamespace(u"urn:other").ToUtf8(), "NS3");
}

TEST(Namespaces, TheFirstMappingStaysAndItemsAreInKeyOrder) {
  auto namespaces = CreateObject<CNvVexaNamespaces>();
  namespaces.Add(u"urn:b", u"bee");
  namespaces.Add(u"urn:a", u"ay");
  namespaces.Add(u"urn:b", u"other");
  EXPECT_EQ(namespaces.GetPrefix(u"urn:b").ToUtf8(), "bee");
  EXPECT_EQ(namespaces.Item(0).ToUtf8(), "urn:a");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { namespaces.Item(2); }), "Invalid index");
}

}  // namespace
}  // namespace nv
