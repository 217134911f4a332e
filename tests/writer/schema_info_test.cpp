// A schema's memory-based Info: made, copied and asked through the schema's
// seams, and rendered for the schema document.
#include <gtest/gtest.h>

#include "schema/impl_cast.h"
#include "schemadoc/schema_info_seam.h"
#include "writer/frame_test_support.h"
#include "writer/info.h"
#include "writer/info_schema_seams.h"

namespace nv::writer_test {
namespace {

ComPtr<INvVexaInfo> InfoOf(const ComPtr<INvVexaSchema>& schema) {
  return ImplFrom<CNvVexaSchema, INvVexaSchemaCRaw>(schema)->Info().as<INvVexaInfo>();
}

class SchemaInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallInfoSeams(); }
};

TEST_F(SchemaInfoTest, SchemaWithoutItemsRendersNothing) {
  std::u16string out = u"x";
  InstalledSchemaInfoRenderer()(out, TestSchema());
  EXPECT_EQ(Bstr(out).ToUtf8(), "x");
}

TEST_F(SchemaInfoTest, RendersItemsWithXsdTypesAndTheSoapDeclaration) {
  const ComPtr<INvVexaSchema> schema = TestSchema();
  SetItem(InfoOf(schema), u"ver", u"urn:s", dtString, Variant(u"1.0"), muYes);
  std::u16string out;
  InstalledSchemaInfoRenderer()(out, schema);
  const std::string expected =
      "<SOAP_ENV:Header xmlns:SOAP_ENV=\"http://schemas.xmlsoap.org/soap/envelope/\""
      " xmlns:NS1=\"urn:s\">"
      "<NS1:ver xsd:type=\"string\" vexa:mustUnderstand=\"yes\">1.0</NS1:ver>"
      "</SOAP_ENV:Header>";
  EXPECT_EQ(Bstr(out).ToUtf8(), expected);
  out.clear();
  InstalledSchemaInfoRenderer()(out, schema);  // a second document gets the same text
  EXPECT_EQ(Bstr(out).ToUtf8(), expected);
}

TEST_F(SchemaInfoTest, MustUnderstandItemsAndCopiesReachTheSchema) {
  const ComPtr<INvVexaSchema> schema = TestSchema();
  EXPECT_FALSE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  const ComPtr<INvVexaInfoItem> item =
      SetItem(InfoOf(schema), u"a", u"urn:s", dtString, Variant(u"v"), muNo);
  EXPECT_FALSE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
  item.PutMustUnderstand(muYes);
  EXPECT_TRUE(schema.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());

  const ComPtr<INvVexaSchema> copy = MakeSchema(nullptr);
  copy.Copy(schema);
  const ComPtr<INvVexaInfoItem> copied = InfoOf(copy).GetInfoItem(Bstr(u"a"), Bstr(u"urn:s"));
  EXPECT_NE(copied.get(), item.get());
  EXPECT_EQ(copied.MustUnderstand(), muYes);
  EXPECT_TRUE(copy.as<INvVexaSchemaCRaw>().HasMustUnderstandItems());
}

}  // namespace
}  // namespace nv::writer_test
