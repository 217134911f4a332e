// The encodings beneath the value texts: day numbers and times, durations,
// base64 and hex.
#include "values/binary_text.h"
#include "values/date_text.h"
#include "values/duration.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

namespace nv::test {
namespace {

TEST(DateEncoding, DayNumbersCountFromTheEpochAndImpossibleDatesAreRefused) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  EXPECT_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
  const int dates[][3] = {{0, 1, 1}, {10000, 1, 1}, {2009, 0, 1}, {2009, 1, 0}, {2009, 4, 31},
                          {1900, 2, 29}};
  for (const auto& d : dates)
    EXPECT_EQ(FailureOf([&] { EncodeDate(d[0], d[1], d[2]); }), "Invalid argument to date encode")
        << d[0] << "-" << d[1] << "-" << d[2];
  const int times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
  for (const auto& t : times)
    EXPECT_EQ(FailureOf([&] { EncodeTime(t[0], t[1], t[2], t[3]); }),
              "Invalid argument to time encode");
}

// Every day of the encodable range decodes to the date that encodes to it;
// decoding rounds to the millisecond and counts the time forward.
TEST(DateEncoding, EveryDayDecodesToItsOwnDateRoundedToTheMillisecond) {
  CalendarDate date;
  TimeOfDay time;
  int mismatches = 0;
  for (int number = -693593; number <= 2958465; ++number) {
    if (!DecodeDateTime(number, date, time) ||
        EncodeDate(date.year, date.month, date.day) != number) {
      if (++mismatches < 5) ADD_FAILURE() << "day " << number;
    }
  }
  EXPECT_EQ(mismatches, 0);
  using Fields = std::tuple<int, int, int, int, int, int, int>;
  const std::pair<DATE, Fields> rows[] = {
      {At(2009, 3, 7, 14, 5, 9, 7) + 0.4 / 86400000, {2009, 3, 7, 14, 5, 9, 7}},
      // Rounding up to midnight moves to the next day.
      {EncodeDate(2009, 3, 7) + 86399999.6 / 86400000, {2009, 3, 8, 0, 0, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
      {-1.0 - 86399999.6 / 86400000, {1899, 12, 30, 0, 0, 0, 0}},
      {-693593.5, {1, 1, 1, 12, 0, 0, 0}},
  };
  for (const auto& [value, fields] : rows) {
    ASSERT_TRUE(DecodeDateTime(value, date, time)) << value;
    EXPECT_EQ(Fields(date.year, date.month, date.day, time.hour, time.minute, time.second,
                     time.millisecond),
              fields)
        << value;
  }
  // 2958465.9999999954 would round into year 10000.
  for (DATE value : {std::nan(""), 2958466.0, -693594.0, -1e300, static_cast<double>(INFINITY),
                     2958465.0 + 86399999.6 / 86400000})
    EXPECT_FALSE(DecodeDateTime(value, date, time)) << value;
}

// Texts read and written again take the form with only the components that
// are not zero (the canonical ones are in the round trip of all types).
TEST(DurationText, ReadsEveryComponentWritesTheCanonicalFormAndRefusesTheRest) {
  const std::pair<const char16_t*, const char16_t*> rows[] = {
      {u"PT32767H", u"PT32767H"}, {u"PT06.50S", u"PT6.5S"}, {u"P1DT0H0S", u"P1D"},
      {u"-P0", u"-PT0S"},         {u"P", u"PT0S"},
  };
  for (const auto& [text, canonical] : rows) {
    std::u16string out;
    AppendDurationText(out, ParseDuration(text));
    EXPECT_EQ(out, canonical) << Utf8(text);
  }
  const std::string invalid = "Invalid duration format:  ";
  const std::pair<const char16_t*, std::string> refused[] = {
      {u"P1d", "only capital letters are allowed for separators."},
      {u"-P1D-", "'-' is allowd only in the beginning of the string."},
      {u"PP1D", "'P' is allowd only in the beginning of the string or after '-'."},
  };
  for (const auto& [text, message] : refused)
    EXPECT_EQ(FailureOf([&] { ParseDuration(text); }), invalid + message) << Utf8(text);
  const std::u16string infiniteSeconds = u"PT" + std::u16string(400, u'9') + u"S";
  for (const char16_t* text : {u"P1X", u"P1", u"P1.5D", u"PT1Y", u"P1D1D", u"P1M1Y", u"P40000D",
                               u"PT.5S", infiniteSeconds.c_str()})
    EXPECT_EQ(FailureOf([&] { ParseDuration(text); }),
              invalid + "\"" + Utf8(text) + "\" is not a valid duration.");
}

// Failed puts and initializations fail through the interface and change nothing.
TEST(DurationObject, FailuresLeaveTheValueAsItWas) {
  ComPtr<INvVexaDurationAttributeValue> duration = CreateObject<CNvVexaDurationAttributeValue>();
  auto raw = duration.as<INvVexaDurationAttributeValueCRaw>();
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
      {[&] { raw.Initialize(u"p1d"); }, " only capital letters are allowed for separators."},
  };
  for (const auto& [put, message] : rows)
    EXPECT_EQ(FailureOf(put), std::string("Invalid duration format: ") + message);
  EXPECT_EQ(raw.ToString().ToUtf8(), "P4DT1.5S");
}

// Base64 writing pads with "="; reading skips foreign characters and keeps
// whole bytes. Hex texts are in the round trip of all types.
TEST(BinaryText, Base64WritesItsAlphabetAndReadsAndHexRefusesOddOrForeignDigits) {
  const std::pair<Bytes, const char16_t*> written[] = {{{'f', 'o'}, u"Zm8="},
                                                       {{0xFB, 0xFF, 0xBF}, u"+/+/"}};
  for (const auto& [bytes, text] : written) {
    std::u16string out;
    AppendBase64(out, bytes);
    EXPECT_EQ(out, text);
  }
  const std::pair<const char16_t*, Bytes> read[] = {
      {u"+/+/", {0xFB, 0xFF, 0xBF}}, {u"Zm9v\r\nYm Fy", {'f', 'o', 'o', 'b', 'a', 'r'}},
      {u"Zg=", {'f'}},               {u"Z", {}},
      {u"Zg==Zg==", {'f', 0x06, 0x60}},  // "=" is skipped, not an end
      {u"!!-_\u00e9", {}},           {u"Zm9v\U0001F600", {'f', 'o', 'o'}},
  };
  for (const auto& [text, bytes] : read) {
    const Variant value = DecodeBase64(text);
    LONG low = -1;
    ASSERT_EQ(SafeArrayGetLBound(value.parray, 1, &low), S_OK);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(BytesOf(value), bytes) << Utf8(text);
  }
  for (const char16_t* text : {u"0", u"0G", u"zz"})
    EXPECT_EQ(FailureOf([&] { DecodeHex(text); }), Utf8(text) + " is not a valid hexBinary value");
}

}  // namespace
}  // namespace nv::test
