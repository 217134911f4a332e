// The error frame as a client sees it through the vtable.
#include "error_info_probe.h"
#include "widget.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

class ErrorFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { SetErrorInfo(0, nullptr); }
  ComPtr<IWidgetEx> widget_ = CreateObject<CWidget>();
};

TEST_F(ErrorFrameTest, ThrownMessageBecomesDescriptionWithoutSourceForNonCreatable) {
  Bstr message(u"Attribute \"x\" is required");
  EXPECT_EQ(widget_->Fail(message.Raw()), DISP_E_EXCEPTION);
  const ErrorProbe error = TakeErrorInfo();
  ASSERT_TRUE(error.present);
  EXPECT_EQ(error.description, "Attribute \"x\" is required");
  EXPECT_EQ(error.source, "");
}

TEST_F(ErrorFrameTest, CreatableClassSetsItsProgIdAsSource) {
  ComPtr<IWidgetEx> creatable = CreateObject<CCreatableWidget>();
  EXPECT_EQ(creatable->Fail(Bstr(u"boom").Raw()), DISP_E_EXCEPTION);
  const ErrorProbe error = TakeErrorInfo();
  EXPECT_EQ(error.description, "boom");
  EXPECT_EQ(error.source, "NorvVexa1.NvVexaWriter.1.0");
}

TEST_F(ErrorFrameTest, InnermostMessageSurvivesNestedCalls) {
  ComPtr<IWidgetEx> middle = CreateObject<CCreatableWidget>();
  ComPtr<IWidgetEx> inner = CreateObject<CWidget>();
  // middle.Relay -> inner.Fail: the client sees inner's text, middle's source.
  EXPECT_EQ(middle->Relay(inner.get(), Bstr(u"deep failure").Raw()), DISP_E_EXCEPTION);
  const ErrorProbe error = TakeErrorInfo();
  EXPECT_EQ(error.description, "deep failure");
  EXPECT_EQ(error.source, "NorvVexa1.NvVexaWriter.1.0");
}

TEST_F(ErrorFrameTest, InnermostMessageSurvivesInternalInterfaceCalls) {
  EXPECT_EQ(widget_->RelayInternal(Bstr(u"from the raw side").Raw()), DISP_E_EXCEPTION);
  EXPECT_EQ(TakeErrorInfo().description, "from the raw side");
}

TEST_F(ErrorFrameTest, CallThroughEmptyReferenceIsReportedAsException) {
  EXPECT_EQ(widget_->Relay(nullptr, Bstr(u"unused").Raw()), DISP_E_EXCEPTION);
  const ErrorProbe error = TakeErrorInfo();
  EXPECT_TRUE(error.present);
  EXPECT_EQ(error.description, "");
}

TEST_F(ErrorFrameTest, ForeignExceptionGivesUnexpectedWithoutErrorInfo) {
  EXPECT_EQ(widget_->FailUnexpectedly(), E_UNEXPECTED);
  EXPECT_FALSE(TakeErrorInfo().present);
}

TEST_F(ErrorFrameTest, FailedCallLeavesResultUntouched) {
  BSTR sentinel = reinterpret_cast<BSTR>(0x1234);
  BSTR result = sentinel;
  EXPECT_EQ(widget_->Combine(Bstr(u"a").Raw(), -1, wcRed, nullptr, &result), DISP_E_EXCEPTION);
  EXPECT_EQ(result, sentinel);
  EXPECT_EQ(TakeErrorInfo().description, "Negative count");
}

TEST_F(ErrorFrameTest, GetterWithoutObjectSucceedsAndLeavesResultUntouched) {
  IWidget* sentinel = reinterpret_cast<IWidget*>(0x5678);
  IWidget* child = sentinel;
  EXPECT_EQ(widget_->get_Child(&child), S_OK);
  EXPECT_EQ(child, sentinel);
}

TEST_F(ErrorFrameTest, NullResultPointerIsRefused) {
  EXPECT_EQ(widget_->get_Name(nullptr), E_POINTER);
}

TEST_F(ErrorFrameTest, ResultsAreStoredOnSuccess) {
  EXPECT_EQ(widget_->put_Enabled(VARIANT_TRUE), S_OK);
  VARIANT_BOOL enabled = 0;
  EXPECT_EQ(widget_->get_Enabled(&enabled), S_OK);
  EXPECT_EQ(enabled, -1);  // VARIANT_TRUE as clients compare it
  BSTR text = nullptr;
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
  static_assert(!std::is_constructible_v<ExactBool, const char16_t*>);
  static_assert(!std::is_constructible_v<ExactBool, int>);
  static_assert(!std::is_constructible_v<Variant, const char*>);
  EXPECT_EQ(ExactBool(true).Raw(), -1);
  EXPECT_EQ(ExactBool(false).Raw(), 0);
  EXPECT_EQ(Variant(true).boolVal, -1);
}

}  // namespace
}  // namespace nv::test
