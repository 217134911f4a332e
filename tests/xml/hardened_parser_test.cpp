// The hardened parser refuses hostile text quickly, and takes what is merely deep.
#include "support/failure_of.h"
#include "xml/hardened_dom_parser.h"

#include <gtest/gtest.h>

#include "xml/hostile_xml.h"

#include <chrono>
#include <string>
#include <utility>

namespace nv {
namespace {

using xml_test::BillionLaughs;
using xml_test::Deep;

TEST(HardenedParser, RefusesHostileDocumentsQuickly) {
  // Each DOCTYPE form is refused with its exact message in the schema reader's tests.
  const std::pair<std::string, const char*> rows[] = {
      {BillionLaughs(), "DOCTYPE is not allowed"},
      {Deep(100000), "elements are nested deeper than 256 levels"},
      {"<d>&e;</d>", "line 1, column 7: entity 'e' not found"},
  };
  HardenedDomParser parser;
  for (const auto& [text, reason] : rows) {
    const auto start = std::chrono::steady_clock::now();
    const std::string failure = nv_test::MessageOfFailure([&] { parser.Parse(text); });
    EXPECT_NE(failure.find(reason), std::string::npos) << failure;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << reason;
  }
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parser.Parse(Deep(256)); }), "<no failure>");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parser.Parse("<a><b/><b/></a>"); }), "<no failure>");
}

}  // namespace
}  // namespace nv
