// XML values in instance documents: hostile fragments refused, names kept in their
// namespaces under the document's prefixes. The readers' factory, with the declarations
// in force, is the schema reader's round trip of XML Info items.
#include "instance/names.h"
#include "instance/value_elements.h"
#include "support/failure_of.h"

#include <gtest/gtest.h>

#include <string>

namespace nv {
namespace {

// A package table whose generated prefixes continue at NS3.
ComPtr<INvVexaNamespaces> PackageNamespaces() {
  ComPtr<INvVexaNamespaces> table = CreateObject<CNvVexaNamespaces>();
  table.Add(u"urn:test:schema", u"tns");
  table.as<INvVexaNamespacesCRaw>().AddNamespace(u"urn:test:beh");
  table.as<INvVexaNamespacesCRaw>().AddNamespace(u"urn:test:stamp");
  return table;
}

TEST(XmlValueText, HostileFragmentsAreInvalidXmlValues) {
  const ComPtr<INvVexaNamespaces> package = PackageNamespaces();
  for (const char* hostile : {"<!DOCTYPE d [<!ENTITY e \"x\">]><d>&e;</d>", "<x>&#0;</x>"}) {
    ComPtr<INvVexaXmlAttributeValue> value = MakeXmlAttributeValue();
    value.PutXML(Bstr::FromUtf8(hostile));
    std::u16string out = u"keep";
    const auto append = [&] { AppendXmlValueText(out, value, XmlValueScope{package}); };
    EXPECT_EQ(nv_test::MessageOfFailure(append), "Invalid XML String in XmlAttributeValue");
    EXPECT_EQ(out, u"keep");
  }
}

TEST(XmlValueText, NamesKeepTheirNamespacesUnderTheDocumentsPrefixes) {
  const ComPtr<INvVexaNamespaces> package = PackageNamespaces();
  ComPtr<INvVexaNamespaces> info = CreateObject<CNvVexaNamespaces>();
  info.Add(u"urn:info", u"NS7");
  ComPtr<INvVexaXmlAttributeValue> value = MakeXmlAttributeValue();
  value.PutXML(
      u"<i:a xml:lang=\"en\" n:x=\"&lt;&#9;\"><n:b/><c>&amp;&#13;</c></i:a><n:d/><e xmlns=\"\"/>");
  value.Namespaces().Add(u"urn:info", u"i");
  value.Namespaces().Add(u"urn:new", u"n");
  value.Namespaces().Add(u"urn:dflt", u"");  // the fragment's default namespace
  std::u16string out;
  AppendXmlValueText(out, value, XmlValueScope{package, &info});
  EXPECT_EQ(Bstr(out).ToUtf8(),
            " xmlns:NS3=\"urn:new\" xmlns:NS4=\"urn:dflt\">"
            "<NS7:a NS3:x=\"&lt;&#9;\" xml:lang=\"en\"><NS3:b></NS3:b>"
            "<NS4:c>&amp;&#13;</NS4:c></NS7:a><NS3:d></NS3:d><e></e>");
  // Inside a schema document the default namespace is XML Schema's.
  out.clear();
  AppendXmlValueText(out, value, XmlValueScope{package, &info, true});
  EXPECT_NE(Bstr(out).ToUtf8().find("<e xmlns=\"\"></e>"), std::string::npos);
}

}  // namespace
}  // namespace nv
