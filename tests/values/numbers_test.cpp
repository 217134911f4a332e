#include "values/number_format.h"
#include "values/number_parse.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace nv::test {
namespace {

TEST(NumberFormat, GeneralFormHasSixDigitsAndAThreeDigitExponent) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    double value;
    const char* text;
  } rows[] = {
      {3.14159265358979, "3.14159"},
      {1e20, "1e+020"},
      {0.0001, "0.0001"},
      {1234567, "1.23457e+006"},
      {0.00001, "1e-005"},
      {123456, "123456"},
      {999999.5, "1e+006"},
      {1e100, "1e+100"},
      {1.5e-300, "1.5e-300"},
      {0.0, "0"},
      {-0.0, "-0"},
      {-2.5, "-2.5"},
      {100, "100"},
      {0.1, "0.1"},
      {std::nan(""), "NaN"},
      {inf, "INF"},
      {-inf, "-INF"},
      {-1.234567e-7, "-1.23457e-007"},
  };
  for (const Row& row : rows) {
    NumberBuffer buffer;
    EXPECT_EQ(FormatGeneral(row.value, buffer), row.text) << row.text;
  }
}

TEST(NumberFormat, DecimalCoversTheWholeRange) {
  NumberBuffer buffer;
  EXPECT_EQ(FormatDecimal(INT64_MIN, buffer), "-9223372036854775808");
  EXPECT_EQ(FormatDecimal(0, buffer), "0");
  std::u16string out = u"x=";
  AppendDecimal(out, -42);
  EXPECT_EQ(out, u"x=-42");
}

TEST(NumberParse, LeadingIntegerLikeAtoiKeepingLowBits) {
  struct Row {
    const char16_t* text;
    int64_t value;
  } rows[] = {
      {u"12abc", 12},
      {u"abc", 0},
      {u"", 0},
      {u" \t\n+42", 42},
      {u"-17", -17},
      {u"- 5", 0},
      {u"+-5", 0},
      {u"1 2", 1},
      {u"007", 7},
      {u"\u00a05", 0},
      {u"-9223372036854775808", INT64_MIN},
      // 2^64 + 1 wraps to 1: only the low bits are kept.
      {u"18446744073709551617", 1},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseLeadingInteger(row.text), row.value) << Utf8(row.text);
  }
  EXPECT_EQ(static_cast<int16_t>(ParseLeadingInteger(u"70000")), 4464);
}

TEST(NumberParse, LeadingRealLikeStrtodInTheCLocale) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    const char16_t* text;
    double value;
  } rows[] = {
      {u"1.5e3", 1500},
      {u" \t+1.5E+3x", 1500},
      {u"-3.25xyz", -3.25},
      {u".5", 0.5},
      {u"5.", 5},
      {u"1.e", 1},
      {u"1e", 1},
      {u"1e+", 1},
      {u".", 0},
      {u"e5", 0},
      {u"--5", 0},
      {u"-.5", -0.5},
      {u"0x1p3", 0},
      {u"inf", 0},
      {u"nan", 0},
      {u"1,5", 1},
      {u"1e999", inf},
      {u"-1e999", -inf},
      {u"1e-999", 0},
      {u"2.5e-310", 2.5e-310},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseLeadingReal(row.text), row.value) << Utf8(row.text);
  }
}

}  // namespace
}  // namespace nv::test
