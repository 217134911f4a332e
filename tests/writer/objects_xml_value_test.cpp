// XML values: the hardened parser refuses hostile text quickly, and values
// made by the readers' factory carry their declarations.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "xml/hardened_dom_parser.h"
#include "writer/writer_test_support.h"
#include "instance/value_elements.h"

namespace nv::writer_test {
namespace {

std::string Deep(int levels) {
  std::string text;
  for (int k = 0; k < levels; ++k) text += "<a>";
  for (int k = 0; k < levels; ++k) text += "</a>";
  return text;
}

std::string BillionLaughs() {
  std::string text = "<!DOCTYPE l [<!ENTITY l0 \"ha\">";
  for (int k = 1; k < 10; ++k) {
    text += "<!ENTITY l" + std::to_string(k) + " \"";
    for (int n = 0; n < 10; ++n) text += "&l" + std::to_string(k - 1) + ";";
    text += "\">";
  }
  return text + "]><l>&l9;</l>";
}

TEST(HardenedParser, RefusesHostileDocumentsQuickly) {
  struct Row {
    const char* what;
    std::string text;
    const char* reason;
  };
  const char* doctype = "DOCTYPE is not allowed";
  const std::vector<Row> rows = {
      {"internal DOCTYPE", "<!DOCTYPE d [<!ENTITY e \"x\">]><d>&e;</d>", doctype},
      {"external entity", "<!DOCTYPE d [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><d>&e;</d>",
       doctype},
      {"external DTD", "<!DOCTYPE d SYSTEM \"http://127.0.0.1:1/d.dtd\"><d/>", doctype},
      {"billion laughs", BillionLaughs(), doctype},
      {"deep nesting", Deep(100000), "elements are nested deeper than 256 levels"},
      {"undeclared entity", "<d>&e;</d>", "line 1, column 7: entity 'e' not found"},
  };
  HardenedDomParser parser;
  for (const Row& row : rows) {
    const auto start = std::chrono::steady_clock::now();
    const std::string failure = FailureOf([&] { parser.Parse(row.text); });
    EXPECT_NE(failure.find(row.reason), std::string::npos) << row.what << ": " << failure;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << row.what;
  }
  EXPECT_NE(FailureOf([&] { parser.Parse(Deep(300)); }).find("nested deeper than 256"),
            std::string::npos);
  EXPECT_EQ(FailureOf([&] { parser.Parse(Deep(256)); }), "<no failure>");
  EXPECT_EQ(FailureOf([&] { parser.Parse("<a><b/><b/></a>"); }), "<no failure>");
}

TEST(XmlValueText, HostileFragmentsAreInvalidXmlValues) {
  const ComPtr<INvVexaNamespaces> package = PackageNamespaces();
  for (const std::string& hostile :
       {std::string("<!DOCTYPE d [<!ENTITY e \"x\">]><d>&e;</d>"), std::string("&e;"),
        std::string("<x>&#0;</x>"), Deep(100000)}) {
    ComPtr<INvVexaXmlAttributeValue> value = MakeXmlAttributeValue();
    value.PutXML(Bstr::FromUtf8(hostile));
    std::u16string out = u"keep";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf([&] { AppendXmlValueText(out, value, XmlValueScope{package}); }),
              "Invalid XML String in XmlAttributeValue");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
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

TEST(XmlValueFactory, MakesValuesWithTheDeclarationsInForce) {
  const std::vector<XmlNamespaceDeclaration> declarations = {{Bstr(u"p"), Bstr(u"urn:p")},
                                                             {Bstr(u""), Bstr(u"urn:default")}};
  Variant made = XmlAttributeValueFromText(u"<p:x>1</p:x>", declarations);
  ASSERT_EQ(made.Type(), VT_DISPATCH);
  ComPtr<INvVexaXmlAttributeValue> value =
      ComPtr<IUnknown>(made.pdispVal).as<INvVexaXmlAttributeValue>();
  EXPECT_EQ(value.XML().ToUtf8(), "<p:x>1</p:x>");
  EXPECT_EQ(value.Namespaces().GetPrefix(u"urn:p").ToUtf8(), "p");
  std::u16string out;
  const ComPtr<INvVexaNamespaces> package = PackageNamespaces();
  AppendXmlValueText(out, value, XmlValueScope{package});
  EXPECT_EQ(Bstr(out).ToUtf8(), " xmlns:NS3=\"urn:p\"><NS3:x>1</NS3:x>");

  const XmlValueContext context = XmlValueContextFor(declarations);
  Variant read = VexaValueToVariant(u"<p:y/>", dtXML, &context);
  EXPECT_EQ(ComPtr<IUnknown>(read.pdispVal).as<INvVexaXmlAttributeValue>().XML().ToUtf8(),
            "<p:y/>");
}

}  // namespace
}  // namespace nv::writer_test
