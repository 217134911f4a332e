#include "values/duration.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace nv::test {
namespace {

// Texts read and written again take the form with only the components that
// are not zero (the canonical ones are in the round trip of all types).
TEST(DurationText, ReadsEveryComponentAndWritesTheCanonicalForm) {
  const std::pair<const char16_t*, const char16_t*> rows[] = {
      {u"PT32767H", u"PT32767H"},
      {u"PT06.50S", u"PT6.5S"},
      {u"P1DT0H0S", u"P1D"},
      {u"-P0", u"-PT0S"},
      {u"P", u"PT0S"},
  };
  for (const auto& [text, canonical] : rows) {
    std::u16string out;
    AppendDurationText(out, ParseDuration(text));
    EXPECT_EQ(out, canonical) << Utf8(text);
  }
}

TEST(DurationText, RefusesWhatIsNotADuration) {
  const std::pair<const char16_t*, const char*> rows[] = {
      {u"P1d", "Invalid duration format:  only capital letters are allowed for separators."},
      {u"-P1D-", "Invalid duration format:  '-' is allowd only in the beginning of the string."},
      {u"PP1D",
       "Invalid duration format:  'P' is allowd only in the beginning of the string or after '-'."},
  };
  for (const auto& [text, message] : rows) {
    EXPECT_EQ(FailureOf([&] { ParseDuration(text); }), message) << Utf8(text);
  }
  for (const char16_t* text :
       {u"P1X", u"P1", u"P1.5D", u"PT1Y", u"P1D1D", u"P1M1Y", u"P40000D", u"PT.5S"}) {
    EXPECT_EQ(FailureOf([&] { ParseDuration(text); }),
              "Invalid duration format:  \"" + Utf8(text) + "\" is not a valid duration.")
        << Utf8(text);
  }
}

// Failed puts and initializations fail through the interface and change nothing.
TEST(DurationObject, FailuresLeaveTheValueAsItWas) {
  ComPtr<INvVexaDurationAttributeValue> duration = CreateObject<CNvVexaDurationAttributeValue>();
  auto raw = duration.as<INvVexaDurationAttributeValueCRaw>();
  EXPECT_EQ(raw.ToString().ToUtf8(), "PT0S");
  duration.PutDay(4);
  duration.PutSec(1.5);
  const std::pair<std::function<void()>, const char*> rows[] = {
      {[&] { duration.PutDay(-1); }, "day can't be negative."},
      {[&] { duration.PutMonth(-1); }, "month can't be negative."},
      {[&] { duration.PutYear(-1); }, "year can't be negative."},
      {[&] { duration.PutHour(-1); }, "hour can't be negative."},
      {[&] { duration.PutMin(-1); }, "minutes can't be negative."},
      {[&] { duration.PutSec(-0.5); }, "seconds can't be negative."},
      {[&] { duration.PutSec(std::nan("")); }, "seconds must be a finite number."},
  };
  for (const auto& [put, message] : rows) {
    EXPECT_EQ(FailureOf(put), std::string("Invalid duration format: ") + message);
  }
  EXPECT_EQ(duration.get()->put_Sec(-0.5), DISP_E_EXCEPTION);
  EXPECT_EQ(raw.ToString().ToUtf8(), "P4DT1.5S");

  raw.Initialize(u"-P1Y2M3DT4H5M6.5S");
  EXPECT_EQ(FailureOf([&] { raw.Initialize(u"p1d"); }),
            "Invalid duration format:  only capital letters are allowed for separators.");
  EXPECT_EQ(raw.ToString().ToUtf8(), "-P1Y2M3DT4H5M6.5S");
}

}  // namespace
}  // namespace nv::test
