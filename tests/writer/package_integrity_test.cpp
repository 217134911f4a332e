// Packages read back exactly as written by an independent parser, whatever the text; what
// XML cannot carry is refused, never written.
#include "frame/implements.h"
#include "schemadoc/external_schema.h"
#include "support/readback.h"
#include "writer/writer.h"
#include "writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

namespace nv::writer_test {
namespace {

using nv_test::ReadBackInstance;
using nv_test::Shell;
using nv_test::XmllintErrors;

std::string Utf8(std::u16string_view text) { return Bstr(text).ToUtf8(); }

constexpr std::u16string_view kBehaviorNs = u"urn:b\"&<'x";
constexpr std::u16string_view kInfoNs = u"urn:i\"&<'\u00e9";
constexpr std::u16string_view kCore = u"http://www.norvane.com/vexa/std/ns/core/1.0";
const std::u16string kNote = u"l1\r\nl2\r\t\"q\" 'a' <&> \U0001F600 caf\u00e9 ]]>";
const std::u16string kForged =
    u"P-1\"/></vexa:object><vexa:object xsi:type=\"tns:Part\" id=\"forged\">";

// Part: one attribute per kind of text, and a behaviour in a namespace
// that holds markup characters.
ComPtr<INvVexaSchema> BuildSchema(const ComPtr<INvVexaWriter>& writer) {
  const ComPtr<INvVexaSchema> schema = writer.Schema();
  const ComPtr<INvVexaClass> part = schema.Classes().Add(u"Part");
  const ComPtr<INvVexaAttributes> attributes = part.CurrentClassAttributes();
  for (const auto& [name, type] : {std::pair{u"note", dtString}, {u"uri", dtAnyUri},
                                   {u"lang", dtLanguage}, {u"ref", dtObjectReference},
                                   {u"doc", dtXML}, {u"blank", dtString}, {u"big", dtString}})
    AddAttribute(attributes, name, type);
  const ComPtr<INvVexaClassBehavior> tracked =
      AddBehavior(schema, part, (std::u16string(kBehaviorNs) + u"#Tracked").c_str());
  AddAttribute(tracked.Attributes(), u"rev", dtString);
  schema.DomainBehaviors().Add(u"urn:d\"<#link").RoleClassMapping().PutItem(u"own&er", part);
  return schema;
}

// A long value escaped piece by piece: pairs and references cross pieces.
std::u16string BigValue() {
  std::u16string text;
  while (text.size() < 100000) text += u"ab\r<\U0001F600\u00e9\n";
  return text;
}

class PackageReadBack : public ::testing::Test {
 protected:
  PackageReadBack() : env_("TEMP", scratch_.Path().c_str()) {}

  // Writes the package; answers the schema URI it used.
  std::string WritePackage(SchemaModeEnum mode) {
    const ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
    BuildSchema(writer);
    if (mode == mtEmbedded)
      writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
    else
      writer.SetSchemaMode(mtExternal, u"urn:s\"&<'x", u"http://h/s.xsd?a=1&b=\"2\"", false);
    writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive_));
    const ComPtr<INvVexaDataWriter> data = writer.DataWriter();
    const ComPtr<INvVexaInfo> info = data.Info();
    SetItem(info, u"ver", kInfoNs, dtString, Variant(kNote), muYes);
    SetItem(info, u"count", kCore, dtInt, Variant(int32_t{42}));
    SetItem(info, u"owner", kCore, dtObjectReference, Variant(u"P-1"));
    SetItem(info, u"none", kInfoNs, dtString, Variant::Null());
    const ComPtr<INvVexaXmlAttributeValue> header = info.CreateXmlAttributeValue();
    header.PutXML(u"<p>t</p>");
    SetItem(info, u"body", kCore, dtXML, XmlVariant(header));
    info.Save();
    data.ObjectWriter();  // asked for again below: the Body opens once
    const ComPtr<INvVexaObject> object = data.ObjectWriter().NewObject(u"Part", u"P-1");
    const ComPtr<INvVexaAttributesValues> values = object.Values();
    values.PutItem(u"note", Variant(kNote));
    values.PutItem(u"uri", Variant(u"http://h/?a=1&b=\"2\""));
    values.PutItem(u"lang", Variant(u"en<&"));
    values.PutItem(u"ref", Variant(kForged));
    const ComPtr<INvVexaXmlAttributeValue> xml = values.CreateXmlAttributeValue();
    xml.PutXML(u"<a k=\"t&#9;l&#10;c&#13;&quot;\"><b>x&#13;y</b><p:c/></a>");
    xml.Namespaces().Add(u"urn:dflt", u"");
    xml.Namespaces().Add(u"urn:p\"", u"p");
    values.PutItem(u"doc", XmlVariant(xml));
    values.PutItem(u"blank", Variant(u" \t\n  "));
    values.PutItem(u"big", Variant(BigValue()));
    object.GetBehaviorValues(Bstr(kBehaviorNs) + u"#Tracked")
        .PutItem(u"rev", Variant(u"r&1\r"));
    object.Save();
    const std::string uri = writer.Schema().SchemaURI().ToUtf8();
    writer.CloseVexaArchiveFile();
    return uri;
  }

  std::string Extracted(const std::string& entry) {
    Shell("unzip -oq '" + archive_ + "' -d '" + scratch_.File("x") + "'");
    return scratch_.File("x/" + entry);
  }

  nv_test::ScratchFolder scratch_;
  nv_test::ScopedEnv env_;
  std::string archive_ = scratch_.File("pkg.vexa");
};

TEST_F(PackageReadBack, EveryValueNameAndNamespaceComesBackExactly) {
  // Embedded last: its schema documents are checked after the loop.
  for (const SchemaModeEnum mode : {mtExternal, mtEmbedded}) {
    std::filesystem::remove(archive_);
    std::filesystem::remove_all(scratch_.File("x"));
    const std::string tns = "{" + WritePackage(mode) + "}";
    const std::string data = Extracted("VEXA_Data.xml");
    ASSERT_EQ(XmllintErrors(data), "");
    const std::string part = "P-1:" + tns, info = "info:{" + Utf8(kInfoNs) + "}",
                      core = "info:{" + Utf8(kCore) + "}";
    const std::map<std::string, std::string> expected = {
        {"objects", "P-1"},  // nothing forged
        {info + "ver", Utf8(kNote)}, {info + "none", "nil"}, {core + "count", "42"},
        {core + "owner", "href=P-1"}, {core + "body", "<{}p>t</>"},
        {core + "containsMustUnderstand", ""}, {"P-1:type", "tns:Part"},
        {part + "note", Utf8(kNote)}, {part + "uri", "http://h/?a=1&b=\"2\""},
        {part + "lang", "en<&"}, {part + "ref", "href=" + Utf8(kForged)},
        {part + "doc", "<{urn:dflt}a {}k=t\tl\nc\r\"><{urn:dflt}b>x\ry</><{urn:p\"}c></></>"},
        {part + "blank", " \t\n  "}, {part + "big", Utf8(BigValue())},
        {"P-1:{" + Utf8(kBehaviorNs) + "}Tracked/{" + Utf8(kBehaviorNs) + "}rev", "r&1\r"}};
    EXPECT_EQ(ReadBackInstance(data), expected);
  }
  // The schema documents come before the instance document; xmllint finds
  // the markup characters of the domain behaviour escaped (its layout is
  // checked byte for byte in tests/schemadoc).
  EXPECT_EQ(Shell("unzip -Z1 '" + archive_ + "'"),
            "VEXA_Schema.xsd\nVEXA_CB_NS1.xsd\nVEXA_Data.xml\n");
  for (const char* entry : {"VEXA_Schema.xsd", "VEXA_CB_NS1.xsd"})
    EXPECT_EQ(XmllintErrors(Extracted(entry)), "") << entry;
}

// Text XML cannot carry is refused where it enters or when it is saved,
// with a message naming its owner; the package stays well-formed.
TEST_F(PackageReadBack, CharactersXmlCannotCarryAreRefusedAndNothingIsWritten) {
  const auto unwritable = [](const std::string& owner, const char* code) {
    return owner + " holds the character U+" + code + ", which XML cannot carry";
  };
  const ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  const ComPtr<INvVexaSchema> schema = BuildSchema(writer);
  struct Row {
    std::function<void()> action;
    std::string message;
  };
  const std::vector<Row> beforeCreate = {
      {[&] { schema.ClassesBehaviors().Add(mtEmbedded, u"urn:\x01#B", u"", false); },
       unwritable("The class behavior URI", "0001")},
      {[&] { schema.DomainBehaviors().Add(u"urn:d\x02"); },
       unwritable("The domain behavior URI", "0002")},
      {[&] { schema.DomainBehaviors().Item(0).RoleClassMapping().PutItem(u"r\x1f", nullptr); },
       unwritable("The role name", "001F")},
      {[&] { writer.SetSchemaMode(mtExternal, u"urn:\xFFFE", u"s.xsd", false); },
       unwritable("The schema URI", "FFFE")},
  };
  for (const Row& row : beforeCreate) EXPECT_EQ(FailureOf(row.action), row.message);
  writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive_));
  const ComPtr<INvVexaDataWriter> data = writer.DataWriter();
  const ComPtr<INvVexaInfoItem> item =
      SetItem(data.Info(), u"ver", u"urn:i", dtString, Variant(u"a\x0b"));
  const std::u16string nul(u"a\0b", 3);
  const std::vector<Row> rows = {
      {[&] { data.Info().GetInfoItem(u"a<b", u"urn:i"); }, "Invalid name \"a<b\" for InfoItem"},
      {[&] { data.Info().GetInfoItem(u"n", u"urn:\x01"); },
       unwritable("The namespace of InfoItem \"n\"", "0001")},
      {[&] { data.Info().Save(); }, unwritable("The value of InfoItem \"ver\"", "000B")},
  };
  for (const Row& row : rows) EXPECT_EQ(FailureOf(row.action), row.message);
  item.PutValue(Variant(u"ok"));
  data.Info().Save();

  const ComPtr<INvVexaObjectWriter> objects = data.ObjectWriter();
  const auto saveWith = [&](const char16_t* attribute, Variant value) {
    const ComPtr<INvVexaObject> object = objects.NewObject(u"Part", u"P-2");
    object.Values().PutItem(attribute, value);
    object.Save();
  };
  const ComPtr<INvVexaXmlAttributeValue> xml = data.Info().CreateXmlAttributeValue();
  xml.PutXML(u"<a>\xD800</a>");
  const std::tuple<const char16_t*, Variant, const char*> unwritableValues[] = {
      {u"note", Variant(nul), "0000"}, {u"ref", Variant(u"x\x0c"), "000C"},
      {u"big", Variant(BigValue() + u'\x01'), "0001"}};
  for (const auto& [attribute, value, code] : unwritableValues)
    EXPECT_EQ(FailureOf([&] { saveWith(attribute, value); }),
              unwritable("The value of attribute \"" + Utf8(attribute) + "\"", code));
  EXPECT_EQ(FailureOf([&] { saveWith(u"doc", XmlVariant(xml)); }),
            "Invalid XML String in XmlAttributeValue");
  for (const char16_t* empty : {u"", u"#"})  // references a reader could not resolve
    EXPECT_EQ(FailureOf([&] { saveWith(u"ref", Variant(empty)); }),
              "Invalid empty object reference");
  objects.NewObject(u"Part", u"P-1").Save();
  writer.CloseVexaArchiveFile();
  const std::string document = Extracted("VEXA_Data.xml");
  ASSERT_EQ(XmllintErrors(document), "");
  EXPECT_EQ(ReadBackInstance(document)["objects"], "P-1");
}

// A class may list only behaviours of its own schema: the package declares
// and defines those alone, and an empty prefix is never written.
TEST_F(PackageReadBack, BehaviorsOutsideTheSchemaAreRefused) {
  for (const SchemaModeEnum mode : {mtEmbedded, mtExternal}) {
    const ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
    BuildSchema(writer).ClassesBehaviors().Remove(0);
    const bool external = mode == mtExternal;
    writer.SetSchemaMode(mode, external ? u"urn:s" : u"", external ? u"http://h/s.xsd" : u"",
                         false);
    EXPECT_EQ(FailureOf([&] {
                writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive_));
                writer.DataWriter().ObjectWriter().NewObject(u"Part", u"P-1");
              }),
              "Behavior \"" + Utf8(kBehaviorNs) +
                  "#Tracked\" of class \"Part\" is not one of the schema's ClassesBehaviors");
    FailureOf([&] { writer.CloseVexaArchiveFile(); });
  }
}

}  // namespace
}  // namespace nv::writer_test
