// What a client receives for each kind of failure (result code and a
// description in the thread's error information), and reference counts used
// from many threads at once.
#include "error_info_probe.h"
#include "frame/module_lock.h"
#include "widget.h"

#include <gtest/gtest.h>
#include <xercesc/dom/DOMException.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TranscodingException.hpp>

#include <functional>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

namespace nv::test {
namespace {

// A widget whose Fail throws whatever the test chose.
class CThrowingWidgetImpl : public CWidgetImpl {
 public:
  void Fail(const BstrArg&) override { thrower(); }
  std::function<void()> thrower;
};
class CThrowingWidget final
    : public Implements<CThrowingWidget, CThrowingWidgetImpl, IWidgetEx> {};

std::string TextOf(const XMLCh* text) { return Bstr(text).ToUtf8(); }

class FailureCodeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { xercesc::XMLPlatformUtils::Initialize(); }
  static void TearDownTestSuite() { xercesc::XMLPlatformUtils::Terminate(); }
  void SetUp() override { SetErrorInfo(0, nullptr); }
};

TEST_F(FailureCodeTest, EachKindOfFailureKeepsItsCodeAndDescription) {
  auto* object = new CThrowingWidget();
  ComPtr<IWidgetEx> widget(object);
  ComPtr<IWidgetEx> other = CreateObject<CWidget>();
  const xercesc::DOMException dom(xercesc::DOMException::NOT_FOUND_ERR);
  const xercesc::TranscodingException xml(__FILE__, __LINE__, xercesc::XMLExcepts::Trans_BadSrcSeq);
  struct Row {
    const char* kind;
    std::function<void()> thrower;
    HRESULT code;
    std::string description;
  } rows[] = {
      {"allocation", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY, "Out of memory"},
      {"automation allocation", [] { throw ComError(E_OUTOFMEMORY); }, E_OUTOFMEMORY,
       "Out of memory"},
      {"callee's null out-pointer", [&] { Check(other->get_Name(nullptr), other.get(), IID_IWidget); },
       E_POINTER, "Null pointer passed for the out-parameter RetVal of IWidget.Name"},
      {"callee lacks interface", [&] { other.as<INvVexaWriter>(); }, DISP_E_EXCEPTION,
       "The object does not support the interface"},
      {"library", [] { throw ENvException("Class Part already exist"); }, DISP_E_EXCEPTION,
       "Class Part already exist"},
      {"Xerces parse", [] { throw xercesc::SAXParseException(u"bad markup", u"", u"", 1, 2); },
       DISP_E_EXCEPTION, "bad markup"},
      {"Xerces DOM", [&] { throw dom; }, DISP_E_EXCEPTION, TextOf(dom.getMessage())},
      {"Xerces general", [&] { throw xml; }, DISP_E_EXCEPTION, TextOf(xml.getMessage())},
      {"Xerces allocation", [] { throw xercesc::OutOfMemoryException(); }, E_OUTOFMEMORY,
       "Out of memory"},
      {"standard", [] { throw std::runtime_error("not ours"); }, DISP_E_EXCEPTION, "not ours"},
      {"unknown", [] { throw 42; }, DISP_E_EXCEPTION, "Unknown failure"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.kind);
    object->thrower = row.thrower;
    EXPECT_EQ(widget->Fail(nullptr), row.code);
    const ErrorProbe error = TakeErrorInfo();
    EXPECT_TRUE(error.present);
    EXPECT_FALSE(error.description.empty());
    EXPECT_EQ(error.description, row.description);
  }
}

TEST_F(FailureCodeTest, NullOutPointersAreRefusedWithTheParameterNamed) {
  ComPtr<IWidgetEx> widget = CreateObject<CWidget>();
  struct Row {
    std::function<HRESULT()> call;
    const char* description;
  } rows[] = {
      {[&] { return widget->Twice(2, nullptr); },
       "Null pointer passed for the out-parameter RetVal of IWidgetEx.Twice"},
      {[&] { return widget->MakeChild(Bstr(u"kid").Raw(), nullptr); },
       "Null pointer passed for the out-parameter RetVal of IWidget.MakeChild"},
      {[&] { return widget.as<IWidgetCRaw>()->get_Secret(nullptr); },
       "Null pointer passed for the out-parameter RetVal of IWidgetCRaw.Secret"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.call(), E_POINTER);
    EXPECT_EQ(TakeErrorInfo().description, row.description);
  }
  EXPECT_FALSE(widget.Child());  // nothing was made for the refused call
}

// Hammers AddRef/Release from several threads, then makes the last release
// on yet another thread. A lost update leaves the count wrong or frees the
// object early.
void ExpectCountSurvivesThreads(IUnknown* object) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([object] {
      for (int k = 0; k < 200000; ++k) {
        object->AddRef();
        object->AddRef();
        object->Release();
        object->Release();
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  std::thread([object] { EXPECT_EQ(object->Release(), 0u); }).join();
}

TEST(ReferenceCount, ObjectsMayBeReleasedOnAnyThread) {
  const int32_t before = module_lock::Count();
  ExpectCountSurvivesThreads(CreateObject<CWidget>().detach());

  {
    // The inner unknown of an aggregated object keeps the count itself.
    ComPtr<IWidgetEx> outer = CreateObject<CWidget>();
    auto* aggregated = new CCreatableWidget();
    aggregated->NvAggregateInside(outer.get());
    aggregated->NvInnerUnknown()->AddRef();
    ExpectCountSurvivesThreads(aggregated->NvInnerUnknown());
  }
  EXPECT_EQ(module_lock::Count(), before);

  ICreateErrorInfo* info = nullptr;
  ASSERT_EQ(CreateErrorInfo(&info), S_OK);
  ExpectCountSurvivesThreads(info);
}

}  // namespace
}  // namespace nv::test
