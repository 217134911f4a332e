#include "schema/namespaces.h"

#include <gtest/gtest.h>

#include "schema/well_known_namespaces.h"
#include "schema_test_support.h"

namespace nv::test {
namespace {

ComPtr<INvVexaNamespacesCRaw> NewNamespaces() {
  return CreateObject<CNvVexaNamespaces>().as<INvVexaNamespacesCRaw>();
}

TEST(Namespaces, WellKnownNamespacesGetTheirFixedPrefixes) {
  struct Case {
    std::u16string_view ns;
    const char* prefix;
  };
  const Case cases[] = {
      {kCoreNamespace, "vexa"},
      {kXmlSchemaNamespace, "xsd"},
      {kXmlSchemaInstanceNamespace, "xsi"},
      {kSoapEnvelopeNamespace, "SOAP_ENV"},
      {u"urn:other", "NS1"},
      {u"http://www.norvane.com/vexa/std/ns/core/2.0", "NS2"},
  };
  auto table = NewNamespaces();
  for (const Case& c : cases) EXPECT_EQ(Utf8(table.AddNamespace(c.ns)), c.prefix);
  auto namespaces = table.as<INvVexaNamespaces>();
  EXPECT_EQ(namespaces.Count(), 6);
  EXPECT_EQ(Utf8(namespaces.GetPrefix(u"urn:other")), "NS1");
}

TEST(Namespaces, GeneratedPrefixesKeepCountingAfterClear) {
  auto table = NewNamespaces();
  EXPECT_EQ(Utf8(table.AddNamespace(u"urn:a")), "NS1");
  EXPECT_EQ(Utf8(table.AddNamespace(u"urn:b")), "NS2");
  table.as<INvVexaNamespaces>().Clear();
  EXPECT_FALSE(table.Exist(u"urn:a"));
  EXPECT_EQ(Utf8(table.AddNamespace(u"urn:a")), "NS3");
  EXPECT_EQ(Utf8(table.GetNextUniquePrefix()), "NS4");
  // A namespace already present keeps its prefix.
  EXPECT_EQ(Utf8(table.AddNamespace(u"urn:a")), "NS3");
}

TEST(Namespaces, AddGetPrefixAndItems) {
  auto namespaces = CreateObject<CNvVexaNamespaces>();
  namespaces.Add(u"urn:b", u"bee");
  namespaces.Add(u"urn:a", u"ay");
  namespaces.Add(u"urn:b", u"other");  // the first mapping stays
  EXPECT_EQ(Utf8(namespaces.GetPrefix(u"urn:b")), "bee");
  EXPECT_EQ(Utf8(namespaces.GetPrefix(u"urn:unknown")), "");
  EXPECT_EQ(namespaces.Count(), 2);
  EXPECT_EQ(Utf8(namespaces.Item(0)), "urn:a");  // key order
  EXPECT_EQ(Utf8(namespaces.Item(1)), "urn:b");
  EXPECT_EQ(FailureOf([&] { namespaces.Item(2); }), "Invalid index");
  EXPECT_TRUE(namespaces.as<INvVexaNamespacesCRaw>().Exist(u"urn:a"));
}

}  // namespace
}  // namespace nv::test
