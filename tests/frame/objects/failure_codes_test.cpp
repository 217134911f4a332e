// Each kind of failure reaches a client with its result code and a
// description; reference counts hold up under many threads.
#include "error_info_probe.h"
#include "frame/module_info.h"
#include "widget.h"

#include <gtest/gtest.h>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <functional>
#include <thread>

namespace nv::test {
namespace {

struct CThrowingImpl : CWidgetImpl {  // Fail throws what the test chose
  void Fail(const BstrArg&) override { thrower(); }
  std::function<void()> thrower;
};
struct CThrowing final : Implements<CThrowing, CThrowingImpl, IWidgetEx> {};

TEST(FailureCode, EachKindKeepsItsCodeAndDescription) {
  xercesc::XMLPlatformUtils::Initialize();
  auto* object = new CThrowing();
  ComPtr<IWidgetEx> widget(object), other = CreateObject<CWidget>();
  const std::tuple<std::function<void()>, HRESULT, Bstr> rows[] = {
      {[] { throw std::bad_alloc(); }, E_OUTOFMEMORY, u"Out of memory"},
      {[] { throw ComError(E_OUTOFMEMORY); }, E_OUTOFMEMORY, u"Out of memory"},  // BSTR etc.
      {[] { throw xercesc::OutOfMemoryException(); }, E_OUTOFMEMORY, u"Out of memory"},
      {[&] { Check(other->get_Name(nullptr), other.get(), IID_IWidget); }, E_POINTER,
       u"Null pointer passed for the out-parameter RetVal of IWidget.Name"},
      {[&] { other.as<INvVexaWriter>(); }, DISP_E_EXCEPTION,
       u"The object does not support the interface"},
      {[] { throw xercesc::SAXException(u"bad markup"); }, DISP_E_EXCEPTION, u"bad markup"},
      {[] { throw std::runtime_error("not ours"); }, DISP_E_EXCEPTION, u"not ours"},
      {[] { throw 42; }, DISP_E_EXCEPTION, u"Unknown failure"},
  };
  for (const auto& [thrower, code, description] : rows) {
    object->thrower = thrower;
    EXPECT_EQ(widget->Fail(nullptr), code) << description.Utf8();
    EXPECT_EQ(TakeErrorInfo().first, description.ToUtf8());
  }
  xercesc::XMLPlatformUtils::Terminate();
}

TEST(ReferenceCount, CountsHoldUpAcrossThreads) {
  const int32_t before = module_lock::Count();
  ComPtr<IWidgetEx> outer = CreateObject<CWidget>();
  auto* aggregated = new CCreatableWidget();
  aggregated->NvAggregateInside(outer.get());
  IUnknown* inner = aggregated->NvInnerUnknown();
  inner->AddRef();
  ICreateErrorInfo* info = nullptr;
  ASSERT_EQ(CreateErrorInfo(&info), S_OK);
  // A lost update frees an object early or never; the last release is on another thread.
  for (IUnknown* object : {inner, static_cast<IUnknown*>(outer.detach()),
                           static_cast<IUnknown*>(info)}) {
    std::thread threads[4];
    for (std::thread& thread : threads)
      thread = std::thread([object] {
        for (int k = 0; k < 1000000; ++k)
          object->AddRef(), object->AddRef(), object->Release(), object->Release();
      });
    for (std::thread& thread : threads) thread.join();
    std::thread([object] { EXPECT_EQ(object->Release(), 0u); }).join();
  }
  EXPECT_EQ(module_lock::Count(), before);
}

}  // namespace
}  // namespace nv::test
