// The hardened parser refuses hostile text quickly, and takes what is merely deep.
#include "support/failure_of.h"
#include "xml/hardened_dom_parser.h"

#include <gtest/gtest.h>

#include "xml/hostile_xml.h"

#include <chrono>
#include <string>
#include <vector>

namespace nv {
namespace {

using xml_test::BillionLaughs;
using xml_test::Deep;

TEST(HardenedParser, RefusesHostileDocumentsQuickly) {
  struct Row {
    const char* what;
    std::string text;
    const char* reason;
  };
  // Each DOCTYPE form is refused with its exact message in the schema reader's tests.
  const std::vector<Row> rows = {
      {"billion laughs", BillionLaughs(), "DOCTYPE is not allowed"},
      {"deep nesting", Deep(100000), "elements are nested deeper than 256 levels"},
      {"undeclared entity", "<d>&e;</d>", "line 1, column 7: entity 'e' not found"},
  };
  HardenedDomParser parser;
  for (const Row& row : rows) {
    const auto start = std::chrono::steady_clock::now();
    const std::string failure = nv_test::MessageOfFailure([&] { parser.Parse(row.text); });
    EXPECT_NE(failure.find(row.reason), std::string::npos) << row.what << ": " << failure;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << row.what;
  }
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parser.Parse(Deep(256)); }), "<no failure>");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parser.Parse("<a><b/><b/></a>"); }), "<no failure>");
}

}  // namespace
}  // namespace nv
