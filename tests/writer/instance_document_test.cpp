// The instance document byte for byte (value texts are tested in tests/values):
// its frame (Envelope, Header, Body) and the objects in the Body; and every
// failure of saving Info and of object creation, assignment and saving, and
// what it leaves behind.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "writer/writer_test_support.h"

namespace nv::writer_test {
namespace {

const std::string kMarker = "<vexa:containsMustUnderstand SOAP_ENV:mustUnderstand=\"1\"/>";

// The marker comes from a marked item or from the package; an empty saved
// Info is an empty Header right before the Body.
TEST(InfoHeaderTest, SavedInfoWithAndWithoutItemsAndTheMustUnderstandMarker) {
  using Fill = std::function<void(const ComPtr<INvVexaInfo>&)>;
  const Fill entry = [](const auto& info) {
    info.template as<INvVexaInfoCRaw>().AddContainsMustUnderstandEntry();
  };
  const auto item = [](MustUnderstandEnum mark) -> Fill {
    return [mark](const auto& info) {
      SetItem(info, u"i", u"urn:a", dtShort, Variant(int16_t{7}), mark);
    };
  };
  const std::string withNs = "<SOAP_ENV:Header xmlns:NS1=\"urn:a\">";
  const std::string plain = "<NS1:i xsi:type=\"short\">7</NS1:i>";
  const std::pair<std::vector<Fill>, std::string> cases[] = {
      {{}, "<SOAP_ENV:Header>"},
      {{entry}, "<SOAP_ENV:Header>" + kMarker},
      {{item(muNo)}, withNs + plain},
      {{item(muYes)},
       withNs + kMarker + "<NS1:i xsi:type=\"short\" vexa:mustUnderstand=\"yes\">7</NS1:i>"},
      {{item(muNo), entry}, withNs + kMarker + plain},
  };
  for (const auto& [fills, header] : cases) {
    const std::string written = WrittenDocument([&](const auto& data) {
      for (const Fill& fill : fills) fill(data.Info());
      data.Info().Save();
    });
    EXPECT_EQ(written, DocumentStart() + header + "</SOAP_ENV:Header>" + kBodyStart + kFrameEnd);
  }
}

// A refused Save writes nothing of the Header (that a fixed Info then saves is
// in the package read-back test). The Envelope declares each class behaviour
// namespace once, and the core namespace as its own.
TEST(InfoHeaderTest, SaveRefusalsLeaveTheDocumentAsItWas) {
  const auto addBehaviors = [](const ComPtr<INvVexaSchema>& schema) {
    for (const char16_t* uri : {u"urn:b1#first", u"urn:b1#second",
                                u"http://www.norvane.com/vexa/std/ns/core/1.0#core",
                                u"urn:b2#third"})
      schema.ClassesBehaviors().Add(mtEmbedded, Bstr(uri), Bstr(), false);
  };
  using Before = std::function<void(const ComPtr<INvVexaDataWriter>&)>;
  const std::tuple<Before, const char*, std::string> cases[] = {
      {[](const auto& data) { data.Info().Save(); }, "Cannot save Info. Info was already saved.",
       "<SOAP_ENV:Header></SOAP_ENV:Header>"},
      {[](const auto& data) { data.ObjectWriter(); },
       "Cannot save Info after getting object writer from data writer.", ""},
      {[](const auto& data) { data.Info().GetInfoItem(Bstr(u"n"), Bstr(u"urn:a")); },
       "Invalid VexaDataType value (0)", ""},
      {[](const auto& data) { SetItem(data.Info(), u"n", u"urn:a", dtInt, Variant(u"x")); },
       "Failed to convert Variant value to the specified type", ""},
  };
  for (const auto& [before, message, header] : cases) {
    const std::string written = WrittenDocument(
        [&](const auto& data) {
          before(data);
          EXPECT_EQ(FailureOf([&] { data.Info().Save(); }), message);
        },
        addBehaviors);
    EXPECT_EQ(written, DocumentStart(" xmlns:NS1=\"urn:b1\" xmlns:NS2=\"urn:b2\"") + header +
                           kBodyStart + kFrameEnd);
  }
}


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

// NewObject checks class and id; assignment the name, null, type and length;
// conversion and required attributes of behaviours are checked only by Save,
// which then writes nothing.
TEST(ObjectMessages, NewObjectAssignmentAndSave) {
  ComPtr<INvVexaSchema> schema = ChainSchema();
  schema.ClassesBehaviors().ItemByURI(kStampedUri).Attributes().ItemByName(u"at").PutRequired(
      true);
  WriterFixture fixture(schema);
  const std::tuple<const char16_t*, const char16_t*, const char*> refusals[] = {
      {u"", u"o1", "missing class Name for object o1"},
      {u"Leaf", u"", "missing Unique Id for object"},
      {u"Leaf", u"a:b", "Invalid value for Id: a:b"},
      {u"Nope", u"o1", "class Nope does not exist in schema"},
      {u"__change", u"o1", "class change does not exist in schema"},
      {u"Base", u"o1", "Cannot create instances of class Base. This is an abstarct class"},
  };
  for (const auto& [className, id, failure] : refusals)
    EXPECT_EQ(FailureOf([&] { fixture.Writer().NewObject(className, id); }), failure);

  ComPtr<INvVexaObject> object = fixture.Writer().NewObject(u"Leaf", u"o");
  const ComPtr<INvVexaAttributesValues> values = object.Values();
  const ComPtr<INvVexaAttributesValues> tracked = object.GetBehaviorValues(kTrackedUri);
  struct Row {
    const ComPtr<INvVexaAttributesValues>& target;
    const char16_t* name;
    Variant value;
    const char* failure;  // nullptr: accepted
  };
  const std::vector<Row> rows = {
      {values, u"zz", Variant(int32_t(1)), "attribute \"zz\" does not exist in Class \"Leaf\""},
      {tracked, u"name", Variant(int32_t(1)),
       "attribute \"name\" does not exist in Behavior \"urn:test:beh#Tracked\""},
      {values, u"name", Variant::Null(), "Null value is not allowed for attribute \"name\""},
      {values, u"name", Variant(int32_t(1)),
       "Invalid variant type for attribute \"name\" of type string"},
      {values, u"name", Variant(u"abcdef"),
       "Size of string value for attribute \"name\" must not exceed the MaxLength definition of "
       "5 characters"},
      {values, u"name", Variant(u"abcde"), nullptr},
      {values, u"note", Variant(int32_t(5)), nullptr},  // no MaxLength: any variant
      {values, u"doc", Variant(u"<a/>"),
       "Only an Instance of INvVexaXmlAttributeValue can be assigned to an item of type dtXML"},
      {values, u"code", Variant(u"not a number"), nullptr},
  };
  for (const Row& row : rows) {
    const bool before = row.target.IsValueAssigned(row.name);
    EXPECT_EQ(FailureOf([&] { row.target.PutItem(row.name, row.value); }),
              row.failure ? row.failure : nv_test::kNoFailure);
    EXPECT_TRUE(!row.failure || row.target.IsValueAssigned(row.name) == before) << row.failure;
  }
  EXPECT_EQ(FailureOf([&] {
              fixture.Writer().NewObject(u"Middle", u"m").GetBehaviorValues(kStampedUri);
            }),
            "Object of class \"Middle\" does not support behavior \"urn:test:stamp#Stamped\"");
  EXPECT_EQ(FailureOf([&] { object.Save(); }),
            "Failed to convert Variant value to the specified type");
  values.PutItem(u"code", Variant(int32_t(5)));
  EXPECT_EQ(FailureOf([&] { object.Save(); }), "Required attribute \"at\" was not assigned");
  EXPECT_FALSE(object.as<INvVexaObjectCRaw>().IsSaved());
  EXPECT_EQ(fixture.Written(), "");
}

}  // namespace
}  // namespace nv::writer_test
