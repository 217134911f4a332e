#include "values/date_text.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

using Kind = DateTimeKind;

TEST(DateText, WriterFormsPadAllButTheMilliseconds) {
  struct Row {
    CalendarDate date;
    TimeOfDay time;
    const char16_t* text;
  } rows[] = {
      {{2009, 3, 7}, {14, 5, 9, 0}, u"2009-03-07 14:05:09.0"},
      {{2009, 3, 7}, {14, 5, 9, 7}, u"2009-03-07 14:05:09.7"},
      {{2009, 3, 7}, {14, 5, 9, 250}, u"2009-03-07 14:05:09.250"},
      {{1, 1, 1}, {0, 0, 0, 0}, u"0001-01-01 00:00:00.0"},
      {{9999, 12, 31}, {23, 59, 59, 999}, u"9999-12-31 23:59:59.999"},
  };
  for (const Row& row : rows) {
    std::u16string out;
    AppendDateText(out, row.date);
    out += u' ';
    AppendTimeText(out, row.time);
    EXPECT_EQ(out, row.text);
  }
}

TEST(DateText, ParseTellsTheKindOfEachForm) {
  struct Row {
    const char16_t* text;
    Kind kind;
    int year, month, day;
    DATE time;
    int zone;
  } rows[] = {
      {u"20", Kind::kCentury, 2000, 0, 0, 0, 0},
      {u"2009", Kind::kYear, 2009, 0, 0, 0, 0},
      {u"-0044", Kind::kYear, -44, 0, 0, 0, 0},
      {u"--03--", Kind::kMonth, 0, 3, 0, 0, 0},
      {u"--03", Kind::kUnset, 0, 0, 0, 0, 0},
      {u"2009-03", Kind::kYearMonth, 2009, 3, 0, 0, 0},
      {u"2009-03-07", Kind::kDate, 2009, 3, 7, 0, 0},
      {u"2009-03-07Z", Kind::kDate, 2009, 3, 7, 0, 0},
      {u"2009-03-07-05:30", Kind::kDate, 2009, 3, 7, 0, -330},
      {u"14:05:09", Kind::kTime, 0, 0, 0, EncodeTime(14, 5, 9, 0), 0},
      {u"14:05:09.999Z", Kind::kTime, 0, 0, 0, EncodeTime(14, 5, 9, 0), 0},
      {u"14:05", Kind::kTime, 0, 0, 0, EncodeTime(14, 5, 0, 0), 0},
      {u"2009-03-07T14:05:09+02:00", Kind::kDateTime, 2009, 3, 7, EncodeTime(14, 5, 9, 0), 120},
      {u"2009-03-07T", Kind::kDate, 2009, 3, 7, 0, 0},
      {u"", Kind::kCentury, 0, 0, 0, 0, 0},
  };
  for (const Row& row : rows) {
    const DateTimeRecord r = ParseDateTimeText(row.text);
    EXPECT_EQ(r.kind, row.kind) << Utf8(row.text);
    EXPECT_EQ(r.year, row.year) << Utf8(row.text);
    EXPECT_EQ(r.month, row.month) << Utf8(row.text);
    EXPECT_EQ(r.day, row.day) << Utf8(row.text);
    EXPECT_EQ(r.time, row.time) << Utf8(row.text);
    EXPECT_EQ(r.zone, row.zone) << Utf8(row.text);
  }
}

TEST(DateText, ParseFailuresNameTheirCause) {
  struct Row {
    const char16_t* text;
    const char* message;
  } rows[] = {
      {u"2009-03-07T14", "Invalid time format"},
      {u"2009-03T14:05:09", "Expecting a full date value"},
      {u"2009T14:05:09", "Expecting a full date value"},
      {u"24:00:00", "Invalid argument to time encode"},
      {u"12:60:00", "Invalid argument to time encode"},
      {u"12:00:60", "Invalid argument to time encode"},
      {u"12:00:-1", "Invalid argument to time encode"},
      {u"99999999999:00:00", "Invalid argument to time encode"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FailureOf([&] { ParseDateTimeText(row.text); }), row.message) << Utf8(row.text);
  }
}

TEST(DateText, EachDateTypeTakesItsOwnKinds) {
  struct Row {
    const char16_t* text;
    DataTypeEnum type;
    DATE value;
  } rows[] = {
      {u"2009-03-07T14:05:09+02:00", dtDateTime, At(2009, 3, 7, 14, 5, 9)},
      {u"1800-06-15T06:30:00.0Z", dtDateTime, At(1800, 6, 15, 6, 30)},
      {u"14:05:09Z", dtTime, EncodeTime(14, 5, 9, 0)},
      {u"2009-03-07", dtDate, At(2009, 3, 7)},
      {u"--03--", dtGMonth, At(1899, 3, 1)},
      {u"2009-03", dtGMonth, At(2009, 3, 1)},
      {u"2009", dtGYear, At(2009, 1, 1)},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DateValueFromText(row.text, row.type), row.value) << Utf8(row.text);
  }
}

TEST(DateText, WrongKindsAndBadTextsAreInvalidValues) {
  struct Row {
    const char16_t* text;
    DataTypeEnum type;
    const char* message;
  } rows[] = {
      {u"2009", dtGMonth, "2009 is not a valid gMonth value"},
      {u"2009-03-07", dtDateTime, "2009-03-07 is not a valid dateTime value"},
      {u"2009-03-07T14:05:09", dtDate, "2009-03-07T14:05:09 is not a valid date value"},
      {u"--03--", dtGYear, "--03-- is not a valid gYear value"},
      {u"14:05:09", dtDateTime, "14:05:09 is not a valid dateTime value"},
      {u"20", dtGYear, "20 is not a valid gYear value"},
      // Parse failures become the invalid-value message too.
      {u"2009-03T14:05:09", dtDateTime, "2009-03T14:05:09 is not a valid dateTime value"},
      {u"25:00:00", dtTime, "25:00:00 is not a valid time value"},
      // An impossible calendar date keeps its own message.
      {u"2009-02-30", dtDate, "Invalid argument to date encode"},
      {u"--13--", dtGMonth, "Invalid argument to date encode"},
      {u"-0044", dtGYear, "Invalid argument to date encode"},
      {u"0000", dtGYear, "Invalid argument to date encode"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FailureOf([&] { DateValueFromText(row.text, row.type); }), row.message)
        << Utf8(row.text);
  }
}

}  // namespace
}  // namespace nv::test
