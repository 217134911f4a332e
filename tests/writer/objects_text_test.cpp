// The text of objects in the Body, compared byte for byte.
#include <gtest/gtest.h>

#include "values/binary_text.h"
#include "values/duration.h"
#include "objects/attribute_values_groups.h"
#include "writer/writer_test_support.h"

namespace nv::writer_test {
namespace {

ComPtr<INvVexaXmlAttributeValue> SampleXml(const ComPtr<INvVexaAttributesValues>& values) {
  ComPtr<INvVexaXmlAttributeValue> xml = values.CreateXmlAttributeValue();
  xml.PutXML(u"<p:item a=\"1\" p:b=\"2&amp;\" xmlns:z=\"urn:z\">x<![CDATA[<y>]]><!--c-->"
             u"<q:sub/><?pi d?></p:item>t\u00e9xt");
  xml.Namespaces().Add(u"urn:test:beh", u"p");
  xml.Namespaces().Add(u"urn:other", u"q");
  return xml;
}

TEST(ObjectText, ChainRootFirstWithBehaviorsDefaultsNilHrefAndXml) {
  WriterFixture fixture;
  ComPtr<INvVexaObject> object = fixture.Writer().NewObject(u"Leaf", u"o1");
  ComPtr<INvVexaAttributesValues> values = object.Values();
  // Assigned in reverse of the written order on purpose.
  values.PutItem(u"doc", XmlVariant(SampleXml(values)));
  object.GetBehaviorValues(kTrackedUri).PutItem(u"rev", Variant(int32_t(3)));
  values.PutItem(u"ref", Variant(u"x<1"));
  values.PutItem(u"note", Variant::Null());
  values.PutItem(u"name", Variant(u"ab<"));
  object.Save();
  EXPECT_TRUE(object.as<INvVexaObjectCRaw>().IsSaved());

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
                      "</vexa:object>\n"));
}

// Objects are written in the order of their saves, each save with the
// values of its time; a requested behaviour without values is an empty block.
TEST(ObjectText, EmptyBehaviorBlocksAndSavesInOrder) {
  WriterFixture fixture;
  ComPtr<INvVexaObject> first = fixture.Writer().NewObject(u"Middle", u"m");
  ComPtr<INvVexaObject> second = fixture.Writer().NewObject(u"Leaf", u"L");
  first.GetBehaviorValues(kTrackedUri);
  second.GetBehaviorValues(kStampedUri);
  first.Values().PutItem(u"code", Variant(u"12"));
  first.Save();
  second.Save();
  first.Save();
  const std::string one =
      "<vexa:object xsi:type=\"tns:Middle\" id=\"m\">\n"
      "    <tns:code>12</tns:code>\n"
      "  <NS1:Tracked>\n"
      "    <NS1:tag>t&amp;1</NS1:tag>\n"
      "  </NS1:Tracked>\n"
      "</vexa:object>\n";
  EXPECT_EQ(fixture.Written(), AsWritten(one +
                                         "<vexa:object xsi:type=\"tns:Leaf\" id=\"L\">\n"
                                         "    <tns:code>7</tns:code>\n"
                                         "  <NS2:Stamped>\n"
                                         "  </NS2:Stamped>\n"
                                         "</vexa:object>\n" +
                                         one));
}

TEST(ObjectText, ValueSetsListOnlyWhatWasAssigned) {
  ComPtr<INvVexaSchema> schema = ChainSchema();
  schema.Classes().ItemByName(u"Leaf").CurrentClassAttributes().ItemByName(u"doc").PutRequired(
      true);
  ComPtr<INvVexaAttributesValuesGroups> groups =
      MakeAttributesValuesGroups(schema, PackageNamespaces(), Bstr(u"Leaf"), false);
  groups.Values().PutItem(u"note", Variant(u"n"));
  groups.GetBehaviorValues(kTrackedUri);
  EXPECT_EQ(groups.as<INvVexaAttributesValuesGroupsCRaw>().GetAttributesXML().ToUtf8(),
            "    <tns:note>n</tns:note>\n"
            "  <NS1:Tracked>\n"
            "  </NS1:Tracked>\n");
  EXPECT_TRUE(groups.as<INvVexaAttributesValuesGroupsCRaw>().IsValueAssigned(u"note", u""));
  EXPECT_FALSE(
      groups.as<INvVexaAttributesValuesGroupsCRaw>().IsValueAssigned(u"rev", kTrackedUri));
}

Variant Bytes(std::initializer_list<uint8_t> bytes) {
  uint8_t* data = nullptr;
  Variant made = MakeByteArray(bytes.size(), &data);
  for (const uint8_t b : bytes) *data++ = b;
  return made;
}

TEST(ObjectText, EveryValueType) {
  struct Row {
    const char16_t* name;
    DataTypeEnum type;
    Variant value;
    const char* text;
  };
  const Variant when(u"2009-03-07T14:05:09");
  const std::vector<Row> rows = {
      {u"s", dtString, Variant(u"a\"b'\U0001F600"), "a&quot;b&apos;&#128512;"},
      {u"b", dtBoolean, Variant(true), "true"},
      {u"f", dtFloat, Variant(u"-2.5"), "-2.5"},
      {u"d", dtDouble, Variant(1e20), "1.0e+20"},
      {u"du", dtDuration, Variant(static_cast<IDispatch*>(MakeDurationValue(u"P1DT2.5S").get())),
       "P1DT2.5S"},
      {u"b64", dtBase64Binary, Bytes({0, 1, 2, 3}), "AAECAw=="},
      {u"hex", dtHexBinary, Bytes({0x0F, 0xA0}), "0FA0"},
      {u"uri", dtAnyUri, Variant(u"http://h/?a=1&b"), "http://h/?a=1&amp;b"},
      {u"lang", dtLanguage, Variant(u"en-GB"), "en-GB"},
      {u"i", dtInt, Variant(int32_t(-7)), "-7"},
      {u"sh", dtShort, Variant(int32_t(-300)), "-300"},
      {u"by", dtByte, Variant(int32_t(-5)), "-5"},
      {u"us", dtUnsignedShort, Variant(int32_t(65535)), "65535"},
      {u"ub", dtUnsignedByte, Variant(int32_t(255)), "255"},
      {u"dt", dtDateTime, when, "2009-03-07T14:05:09.0Z"},
      {u"t", dtTime, when, "14:05:09.0Z"},
      {u"da", dtDate, when, "2009-03-07"},
      {u"gm", dtGMonth, when, "--03--"},
      {u"gy", dtGYear, when, "2009"},
  };
  ComPtr<INvVexaSchema> schema = MakeSchema();
  ComPtr<INvVexaClass> typed = schema.Classes().Add(u"Typed");
  for (const Row& row : rows) AddAttribute(typed.CurrentClassAttributes(), row.name, row.type);
  WriterFixture fixture(schema);
  ComPtr<INvVexaObject> object = fixture.Writer().NewObject(u"Typed", u"t1");
  std::string expected = "<vexa:object xsi:type=\"tns:Typed\" id=\"t1\">\n";
  for (const Row& row : rows) {
    object.Values().PutItem(row.name, row.value);
    const std::string name = Bstr(row.name).ToUtf8();
    expected += "    <tns:" + name + ">" + row.text + "</tns:" + name + ">\n";
  }
  expected += "</vexa:object>\n";
  object.Save();
  EXPECT_EQ(fixture.Written(), AsWritten(expected));
}

TEST(ObjectText, DefaultsAreWrittenInTheAttributeType) {
  ComPtr<INvVexaSchema> schema = MakeSchema();
  ComPtr<INvVexaClass> plain = schema.Classes().Add(u"Plain");
  AddAttribute(plain.CurrentClassAttributes(), u"flag", dtBoolean).PutDefaultValue(Variant(u"1"));
  AddAttribute(plain.CurrentClassAttributes(), u"none", dtInt);
  AddAttribute(plain.CurrentClassAttributes(), u"tail", dtString).PutDefaultValue(Variant(u"<"));
  WriterFixture fixture(schema);
  ComPtr<INvVexaObject> object = fixture.Writer().NewObject(u"Plain", u"p");
  EXPECT_EQ(object.as<INvVexaObjectCRaw>().GetAttributesXML().ToUtf8(),
            "    <tns:flag>true</tns:flag>\n"
            "    <tns:tail>&lt;</tns:tail>\n");
}

}  // namespace
}  // namespace nv::writer_test
