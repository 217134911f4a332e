// The error frame as a client sees it through the vtable.
#include "error_info_probe.h"
#include "widget.h"

#include <gtest/gtest.h>

#include <functional>

namespace nv::test {
namespace {

class ErrorFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { SetErrorInfo(0, nullptr); }
  ComPtr<IWidgetEx> widget_ = CreateObject<CWidget>();
};

// Only creatable classes name themselves as the source; a relaying object
// passes on the innermost message, also from internal interfaces.
TEST_F(ErrorFrameTest, InnermostMessageBecomesTheDescription) {
  ComPtr<IWidgetEx> creatable = CreateObject<CCreatableWidget>();
  const Bstr text(u"Attribute \"x\" is required");
  struct Row {
    std::function<HRESULT()> call;
    const char* description;
    const char* source;
  } rows[] = {
      {[&] { return widget_->Fail(text.Raw()); }, "Attribute \"x\" is required", ""},
      {[&] { return creatable->Fail(text.Raw()); }, "Attribute \"x\" is required",
       "NorvVexa1.NvVexaWriter.1.0"},
      {[&] { return creatable->Relay(widget_.get(), Bstr(u"deep").Raw()); }, "deep",
       "NorvVexa1.NvVexaWriter.1.0"},
      {[&] { return widget_->RelayInternal(Bstr(u"raw side").Raw()); }, "raw side", ""},
      {[&] { return widget_->Relay(nullptr, text.Raw()); }, "", ""},  // empty reference
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.description);
    EXPECT_EQ(row.call(), DISP_E_EXCEPTION);
    const ErrorProbe error = TakeErrorInfo();
    EXPECT_TRUE(error.present);
    EXPECT_EQ(error.description, row.description);
    EXPECT_EQ(error.source, row.source);
  }
}

TEST_F(ErrorFrameTest, ForeignExceptionGivesUnexpectedWithoutErrorInfo) {
  EXPECT_EQ(widget_->FailUnexpectedly(), E_UNEXPECTED);
  EXPECT_FALSE(TakeErrorInfo().present);
}

TEST_F(ErrorFrameTest, ResultsAreWrittenOnlyOnSuccess) {
  BSTR text = reinterpret_cast<BSTR>(0x1234);
  EXPECT_EQ(widget_->Combine(Bstr(u"a").Raw(), -1, wcRed, nullptr, &text), DISP_E_EXCEPTION);
  EXPECT_EQ(text, reinterpret_cast<BSTR>(0x1234));
  EXPECT_EQ(TakeErrorInfo().description, "Negative count");
  IWidget* child = reinterpret_cast<IWidget*>(0x5678);
  EXPECT_EQ(widget_->get_Child(&child), S_OK);  // a getter without an object leaves it too
  EXPECT_EQ(child, reinterpret_cast<IWidget*>(0x5678));
  EXPECT_EQ(widget_->get_Name(nullptr), E_POINTER);

  EXPECT_EQ(widget_->put_Enabled(VARIANT_TRUE), S_OK);
  VARIANT_BOOL enabled = 0;
  EXPECT_EQ(widget_->get_Enabled(&enabled), S_OK);
  EXPECT_EQ(enabled, -1);  // VARIANT_TRUE as clients compare it
  EXPECT_EQ(widget_->Combine(Bstr(u"ab").Raw(), 3, wcRed, Bstr(u"?").Raw(), &text), S_OK);
  EXPECT_EQ(Bstr::Attach(text).ToUtf8(), "ababab:0?");
}

TEST_F(ErrorFrameTest, CallWrappersThrowComErrorKeepingTheMessage) {
  try {
    widget_.Fail(u"wrapped");
    FAIL() << "no exception";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Error(), DISP_E_EXCEPTION);
    EXPECT_EQ(e.Description().ToUtf8(), "wrapped");
  }
  ComPtr<IWidget> empty;
  EXPECT_THROW(empty.Name(), ComError);
}

TEST(CallArgs, BooleanParametersAcceptOnlyBool) {
  static_assert(std::is_constructible_v<ExactBool, bool>);
  static_assert(!std::is_constructible_v<ExactBool, const char*>);
  static_assert(!std::is_constructible_v<ExactBool, int>);
  static_assert(!std::is_constructible_v<Variant, const char*>);
  EXPECT_EQ(ExactBool(true).Raw(), -1);
  EXPECT_EQ(Variant(true).boolVal, -1);
}

}  // namespace
}  // namespace nv::test
