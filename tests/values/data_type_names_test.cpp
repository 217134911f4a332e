#include "values/data_type_names.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

TEST(DataTypeNames, EveryTypeRoundTripsThroughItsName) {
  const char* expected[] = {
      "string",   "boolean",  "float", "double", "duration", "base64Binary",  "hexBinary",
      "anyURI",   "language", "int",   "short",  "byte",     "unsignedShort", "unsignedByte",
      "dateTime", "time",     "date",  "gMonth", "gYear",    "IDREF",         "vexa:xml"};
  for (int k = dtString; k <= dtXML; ++k) {
    const auto type = static_cast<DataTypeEnum>(k);
    const Bstr name = DataTypeToSchemaName(type);
    EXPECT_EQ(name.ToUtf8(), expected[k - 1]);
    EXPECT_EQ(SchemaNameToDataType(name), type);
  }
}

TEST(DataTypeNames, UndefinedAndOutOfRangeTypesHaveNoName) {
  EXPECT_EQ(FailureOf([] { DataTypeToSchemaName(dtUndefined); }), "Invalid VexaDataType value (0)");
  EXPECT_EQ(FailureOf([] { DataTypeToSchemaName(static_cast<DataTypeEnum>(22)); }),
            "Invalid VexaDataType value (22)");
  EXPECT_EQ(FailureOf([] { DataTypeToSchemaName(static_cast<DataTypeEnum>(-3)); }),
            "Invalid VexaDataType value (-3)");
}

TEST(DataTypeNames, NamesCompareExactly) {
  for (const char16_t* name : {u"String", u"idref", u"xml", u"vexa:XML", u"", u" int"}) {
    EXPECT_EQ(FailureOf([&] { SchemaNameToDataType(name); }),
              "type \"" + Utf8(name) + "\" is not supported");
  }
}

}  // namespace
}  // namespace nv::test
