// The hardened parser refuses hostile text quickly, and takes what is merely deep.
#include "support/failure_of.h"
#include "xml/hardened_dom_parser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace nv {
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
