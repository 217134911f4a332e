// The text of objects in the Body, byte for byte (value texts are tested in tests/values).
#include <gtest/gtest.h>

#include "writer/writer_test_support.h"

namespace nv::writer_test {
namespace {

// Attributes root class first, a behaviour's block after its class's values;
// defaults, nil, references and XML content. Objects are written in the order
// of their saves, each save with the values of its time; a requested behaviour
// without values is an empty block, an unassigned value is left out.
TEST(ObjectText, ChainRootFirstWithBehaviorsDefaultsNilHrefXmlAndSavesInOrder) {
  WriterFixture fixture;
  ComPtr<INvVexaObject> object = fixture.Writer().NewObject(u"Leaf", u"o1");
  ComPtr<INvVexaAttributesValues> values = object.Values();
  ComPtr<INvVexaXmlAttributeValue> xml = values.CreateXmlAttributeValue();
  xml.PutXML(u"<p:item a=\"1\" p:b=\"2&amp;\" xmlns:z=\"urn:z\">x<![CDATA[<y>]]><!--c-->"
             u"<q:sub/><?pi d?></p:item>t\u00e9xt");
  xml.Namespaces().Add(u"urn:test:beh", u"p");
  xml.Namespaces().Add(u"urn:other", u"q");
  // Assigned in reverse of the written order on purpose.
  values.PutItem(u"doc", XmlVariant(xml));
  object.GetBehaviorValues(kTrackedUri).PutItem(u"rev", Variant(int32_t(3)));
  values.PutItem(u"ref", Variant(u"x<1"));
  values.PutItem(u"note", Variant::Null());
  values.PutItem(u"name", Variant(u"ab<"));
  object.Save();
  EXPECT_TRUE(object.as<INvVexaObjectCRaw>().IsSaved());

  ComPtr<INvVexaObject> middle = fixture.Writer().NewObject(u"Middle", u"m");
  ComPtr<INvVexaObject> leaf = fixture.Writer().NewObject(u"Leaf", u"L");
  middle.GetBehaviorValues(kTrackedUri);
  leaf.GetBehaviorValues(kStampedUri);
  middle.Values().PutItem(u"code", Variant(u"12"));
  middle.Values().PutItem(u"note", Variant(u"unassigned again"));
  middle.Values().UnassignValue(u"note");
  middle.Save();
  leaf.Save();
  middle.Save();
  const std::string savedMiddle =
      "<vexa:object xsi:type=\"tns:Middle\" id=\"m\">\n"
      "    <tns:code>12</tns:code>\n"
      "  <NS1:Tracked>\n"
      "    <NS1:tag>t&amp;1</NS1:tag>\n"
      "  </NS1:Tracked>\n"
      "</vexa:object>\n";
  EXPECT_EQ(fixture.Written(),
            AsWritten("<vexa:object xsi:type=\"tns:Leaf\" id=\"o1\">\n"
                      "    <tns:name>ab&lt;</tns:name>\n"
                      "    <tns:code>7</tns:code>\n"
                      "    <tns:note xsi:nil=\"true\"/>\n"
                      "    <tns:ref href=\"x&lt;1\"/>\n"
                      "  <NS1:Tracked>\n"
                      "    <NS1:rev>3</NS1:rev>\n"
                      "    <NS1:tag>t&amp;1</NS1:tag>\n"
                      "  </NS1:Tracked>\n"
                      "    <tns:doc xmlns:NS3=\"urn:other\"><NS1:item a=\"1\" NS1:b=\"2&amp;\">"
                      "x<![CDATA[<y>]]><NS3:sub></NS3:sub></NS1:item>t&#233;xt</tns:doc>\n"
                      "</vexa:object>\n" +
                      savedMiddle +
                      "<vexa:object xsi:type=\"tns:Leaf\" id=\"L\">\n"
                      "    <tns:code>7</tns:code>\n"
                      "  <NS2:Stamped>\n"
                      "  </NS2:Stamped>\n"
                      "</vexa:object>\n" +
                      savedMiddle));
}

}  // namespace
}  // namespace nv::writer_test
