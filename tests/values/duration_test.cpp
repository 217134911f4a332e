#include "values/duration_text.h"
#include "values/duration_value.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

TEST(DurationText, ParsesEveryComponent) {
  struct Row {
    const char16_t* text;
    DurationRecord record;  // day, month, year, hour, minutes, seconds, negative
  } rows[] = {
      {u"P1DT2.5S", {1, 0, 0, 0, 0, 2.5, false}},
      {u"-P1Y2M3DT4H5M6.25S", {3, 2, 1, 4, 5, 6.25, true}},
      {u"P1M", {0, 1, 0, 0, 0, 0, false}},
      {u"PT1M", {0, 0, 0, 0, 1, 0, false}},
      {u"PT5S", {0, 0, 0, 0, 0, 5, false}},
      {u"PT32767H", {0, 0, 0, 32767, 0, 0, false}},
      {u"P0", {}},
      {u"PT0S", {}},
      {u"P", {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseDuration(row.text), row.record) << Utf8(row.text);
  }
}

TEST(DurationText, RefusesWhatIsNotADuration) {
  const std::string capitals =
      "Invalid duration format:  only capital letters are allowed for separators.";
  const std::string minus =
      "Invalid duration format:  '-' is allowd only in the beginning of the string.";
  const std::string p =
      "Invalid duration format:  'P' is allowd only in the beginning of the string or after '-'.";
  struct Row {
    const char16_t* text;
    std::string message;
  } rows[] = {
      {u"p1d", capitals}, {u"P1d", capitals}, {u"P-1D", minus},
      {u"-P1D-", minus},  {u"1DP", p},        {u"PP1D", p},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FailureOf([&] { ParseDuration(row.text); }), row.message) << Utf8(row.text);
  }
  for (const char16_t* text : {u"P1X", u"P1", u"P1.5D", u"PT1Y", u"P1D1D", u"P1M1Y", u"P40000D",
                               u"PT1H2", u"PD", u"PT.5S", u"P1DT1D"}) {
    EXPECT_EQ(FailureOf([&] { ParseDuration(text); }),
              "Invalid duration format:  \"" + Utf8(text) + "\" is not a valid duration.")
        << Utf8(text);
  }
}

TEST(DurationText, WritesOnlyTheComponentsThatAreNotZero) {
  struct Row {
    DurationRecord record;
    const char16_t* text;
  } rows[] = {
      {{1, 0, 0, 0, 0, 2.5, false}, u"P1DT2.5S"},     {{}, u"PT0S"},
      {{0, 0, 0, 0, 0, 0, true}, u"-PT0S"},           {{1, 0, 0, 0, 0, 0, true}, u"-P1D"},
      {{3, 2, 1, 4, 5, 6, false}, u"P1Y2M3DT4H5M6S"}, {{0, 0, 0, 0, 0, 0.1, false}, u"PT0.1S"},
      {{0, 0, 0, 0, 0, 1e-7, false}, u"PT1e-007S"},   {{0, 0, 0, 3, 0, 0, false}, u"PT3H"},
      {{0, 2, 0, 0, 5, 0, false}, u"P2MT5M"},
  };
  for (const Row& row : rows) {
    std::u16string out;
    AppendDurationText(out, row.record);
    EXPECT_EQ(out, row.text);
  }
}

class DurationObject : public ::testing::Test {
 protected:
  std::string DescriptionOfLastFailure() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || info == nullptr) return "<no error information>";
    BSTR text = nullptr;
    info->GetDescription(&text);
    info->Release();
    return Bstr::Attach(text).ToUtf8();
  }

  ComPtr<INvVexaDurationAttributeValue> duration_ = CreateObject<CNvVexaDurationAttributeValue>();
};

TEST_F(DurationObject, StartsAtZeroAndKeepsWhatIsPut) {
  EXPECT_EQ(duration_.as<INvVexaDurationAttributeValueCRaw>().ToString().ToUtf8(), "PT0S");
  duration_.PutDay(1);
  duration_.PutSec(2.5);
  duration_.PutNegative(true);
  EXPECT_EQ(duration_.Day(), 1);
  EXPECT_EQ(duration_.as<INvVexaDurationAttributeValueCRaw>().ToString().ToUtf8(), "-P1DT2.5S");
}

TEST_F(DurationObject, NegativeComponentsFailThroughTheInterfaceAndChangeNothing) {
  auto* raw = duration_.get();
  ASSERT_EQ(raw->put_Day(4), S_OK);
  ASSERT_EQ(raw->put_Sec(1.5), S_OK);
  struct Row {
    HRESULT (STDMETHODCALLTYPE INvVexaDurationAttributeValue::*put)(SHORT);
    const char* message;
  } rows[] = {
      {&INvVexaDurationAttributeValue::put_Day, "Invalid duration format: day can't be negative."},
      {&INvVexaDurationAttributeValue::put_Month,
       "Invalid duration format: month can't be negative."},
      {&INvVexaDurationAttributeValue::put_Year,
       "Invalid duration format: year can't be negative."},
      {&INvVexaDurationAttributeValue::put_Hour,
       "Invalid duration format: hour can't be negative."},
      {&INvVexaDurationAttributeValue::put_Min,
       "Invalid duration format: minutes can't be negative."},
  };
  for (const Row& row : rows) {
    EXPECT_EQ((raw->*row.put)(-1), DISP_E_EXCEPTION);
    EXPECT_EQ(DescriptionOfLastFailure(), row.message);
  }
  EXPECT_EQ(raw->put_Sec(-0.5), DISP_E_EXCEPTION);
  EXPECT_EQ(DescriptionOfLastFailure(), "Invalid duration format: seconds can't be negative.");
  EXPECT_EQ(raw->put_Sec(std::numeric_limits<double>::quiet_NaN()), DISP_E_EXCEPTION);
  EXPECT_EQ(DescriptionOfLastFailure(),
            "Invalid duration format: seconds must be a finite number.");
  SHORT day = 0;
  ASSERT_EQ(raw->get_Day(&day), S_OK);
  EXPECT_EQ(day, 4);
  EXPECT_EQ(duration_.Sec(), 1.5);
}

TEST_F(DurationObject, LateBoundPutReportsTheMessageInExcepInfo) {
  auto dispatch = duration_.as<IDispatch>();
  LPOLESTR names[] = {const_cast<LPOLESTR>(u"sec")};
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(GUID_NULL, names, 1, 0, &id), S_OK);
  Variant value(u"-2");  // coerced to DOUBLE by the call
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &put, 1, 1};
  EXCEPINFO excep{};
  EXPECT_EQ(
      dispatch->Invoke(id, GUID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, &excep, nullptr),
      DISP_E_EXCEPTION);
  EXPECT_EQ(Bstr::Attach(excep.bstrDescription).ToUtf8(),
            "Invalid duration format: seconds can't be negative.");
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrHelpFile);
  EXPECT_EQ(duration_.Sec(), 0.0);
}

TEST_F(DurationObject, InitializeReplacesEverythingOrNothing) {
  auto raw = duration_.as<INvVexaDurationAttributeValueCRaw>();
  raw.Initialize(u"-P1Y2M3DT4H5M6.5S");
  EXPECT_EQ(raw.ToString().ToUtf8(), "-P1Y2M3DT4H5M6.5S");
  EXPECT_EQ(FailureOf([&] { raw.Initialize(u"p1d"); }),
            "Invalid duration format:  only capital letters are allowed for separators.");
  EXPECT_EQ(raw.ToString().ToUtf8(), "-P1Y2M3DT4H5M6.5S");
  raw.Initialize(u"PT1M");
  EXPECT_EQ(raw.ToString().ToUtf8(), "PT1M");
  EXPECT_FALSE(duration_.Negative());
}

}  // namespace
}  // namespace nv::test
