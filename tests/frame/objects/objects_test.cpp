// Interface objects as clients see them: identity, interface queries, the
// shared reference count under many threads and the module's lock count; the
// error frame through the vtable, with each kind of failure's code and
// description; and late-bound calls (argument order and coercion, optional
// arguments, properties, failures in EXCEPINFO).
#include "support/error_info_probe.h"
#include "frame/module_info.h"
#include "support/failure_of.h"
#include "widget.h"

#include <gtest/gtest.h>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace nv::test {
namespace {


IUnknown* IdentityOf(IUnknown* object) {
  IUnknown* identity = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  identity->Release();
  return identity;
}

// An outer object that aggregates a creatable class and forwards to it.
class Outer final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid != IID_IUnknown) return inner->QueryInterface(riid, ppv);
    *ppv = this;
    return AddRef(), S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  ULONG refs = 1;
  IUnknown* inner = nullptr;
};

// One identity and one count for every interface, which holds up across
// threads; only its own interfaces answer; the last release destroys the
// object and unlocks the module.
TEST(InterfaceObject, SharesIdentityAndCountAnswersOnlyItsInterfacesAndAggregates) {
  const int32_t before = module_lock::Count();
  {
    ComPtr<IWidgetEx> widget = CreateObject<CWidget>();
    ComPtr<IWidgetCRaw> raw = widget.as<IWidgetCRaw>();
    ComPtr<IDispatch> dispatch = widget.as<IDispatch>();
    EXPECT_EQ(IdentityOf(widget.get()), IdentityOf(raw.get()));
    EXPECT_EQ(IdentityOf(dispatch.get()), IdentityOf(raw.get()));
    EXPECT_EQ(raw->AddRef(), 4u);  // AddRef answers the new shared count
    EXPECT_EQ(widget->Release(), 3u);
    EXPECT_EQ(module_lock::Count(), before + 1);

    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(widget->QueryInterface(IID_IProvideClassInfo, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(widget->QueryInterface(IID_IWidget, nullptr), E_POINTER);
    ComPtr<ISupportErrorInfo> support = widget.as<ISupportErrorInfo>();
    for (const auto& [iid, expected] : {std::pair{IID_IWidget, S_OK}, {IID_IWidgetEx, S_OK},
                                        {IID_IWidgetCRaw, S_FALSE}, {IID_IDispatch, S_FALSE}})
      EXPECT_EQ(support->InterfaceSupportsErrorInfo(iid), expected);
  }
  EXPECT_EQ(module_lock::Count(), before);
  Outer outer;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&outer.inner)),
            S_OK);
  INvVexaWriter* writer = nullptr;
  ASSERT_EQ(outer.QueryInterface(IID_INvVexaWriter, reinterpret_cast<void**>(&writer)), S_OK);
  EXPECT_EQ(outer.refs, 2u);  // the inner object's AddRef went to the outer one
  EXPECT_EQ(IdentityOf(writer), &outer);
  writer->Release();
  EXPECT_EQ(outer.refs, 1u);
  EXPECT_EQ(outer.inner->Release(), 0u);

  void* out = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_NvVexaWriter, &outer, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                             &out),
            CLASS_E_NOAGGREGATION);

  // Counts hold up across threads.
  ComPtr<IWidgetEx> host = CreateObject<CWidget>();
  auto* aggregated = new CCreatableWidget();
  aggregated->NvAggregateInside(host.get());
  IUnknown* inner = aggregated->NvInnerUnknown();
  inner->AddRef();
  ICreateErrorInfo* info = nullptr;
  ASSERT_EQ(CreateErrorInfo(&info), S_OK);
  // A lost update frees an object early or never; the last release is on another thread.
  for (IUnknown* object : {inner, static_cast<IUnknown*>(host.detach()),
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

// Only creatable classes name themselves as the source; a relaying object
// passes on the innermost message, also from internal interfaces.
TEST(ErrorFrame, InnermostMessageBecomesTheDescriptionAndOtherFailures) {
  SetErrorInfo(0, nullptr);
  ComPtr<IWidgetEx> widget = CreateObject<CWidget>(), creatable = CreateObject<CCreatableWidget>();
  const Bstr text(u"Attribute \"x\" is required");
  struct Row {
    std::function<HRESULT()> call;
    std::string description, source;
  } rows[] = {
      {[&] { return widget->Fail(text.Raw()); }, "Attribute \"x\" is required", ""},
      {[&] { return creatable->Relay(widget.get(), Bstr(u"deep").Raw()); }, "deep",
       "NorvVexa1.NvVexaWriter.1.0"},
      {[&] { return widget->RelayInternal(Bstr(u"raw side").Raw()); }, "raw side", ""},
      // A failure without a description gets a fixed one.
      {[&] { return widget->Relay(nullptr, text.Raw()); }, "A required object is missing", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.call(), DISP_E_EXCEPTION) << row.description;
    const ErrorProbe error = TakeErrorInfo();
    EXPECT_TRUE(error.present && error.description == row.description) << error.description;
    EXPECT_EQ(error.source, row.source);
  }
  // Results are written only on success; the call wrappers throw keeping the
  // message.
  BSTR combined = reinterpret_cast<BSTR>(0x1234);
  EXPECT_EQ(widget->Combine(Bstr(u"a").Raw(), -1, wcRed, nullptr, &combined), DISP_E_EXCEPTION);
  EXPECT_EQ(combined, reinterpret_cast<BSTR>(0x1234));
  EXPECT_EQ(nv_test::MessageOfFailure([&] { widget.Fail(u"wrapped"); }), "wrapped");
}

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
    EXPECT_EQ(TakeErrorInfo().description, description.ToUtf8());
  }
  xercesc::XMLPlatformUtils::Terminate();
}

// Names match without regard to case; arguments are coerced, defaulted or
// refused; properties get and put; objects travel as IDispatch.
TEST(Dispatch, NamesArgumentsPropertiesAndObjects) {
  ComPtr<IDispatch> dispatch = CreateObject<CWidget>().as<IDispatch>();
  const auto IdOf = [&](const char16_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(GUID_NULL, names, 1, 0, &id), S_OK) << Bstr(name).Utf8();
    return id;
  };
  // Invokes with arguments given in declaration order (reversed for the call).
  const auto Call = [&](const char16_t* name, WORD flags, std::vector<Variant> args,
                        Variant* result, EXCEPINFO* excep = nullptr, UINT* argErr = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) params.rgdispidNamedArgs = &put, params.cNamedArgs = 1;
    return dispatch->Invoke(IdOf(name), GUID_NULL, 0, flags, &params,
                             result ? result->Receive() : nullptr, excep, argErr);
  };
  EXPECT_EQ(IdOf(u"item"), DISPID_VALUE);
  EXPECT_EQ(IdOf(u"twice"), IdOf(u"Twice"));  // derived interface member

  LPOLESTR names[] = {const_cast<LPOLESTR>(u"combine"), const_cast<LPOLESTR>(u"suffix"),
                      const_cast<LPOLESTR>(u"TIMES")};
  DISPID ids[3] = {};
  ASSERT_EQ(dispatch->GetIDsOfNames(GUID_NULL, names, 3, 0, ids), S_OK);
  EXPECT_EQ(ids[1], 3);  // parameter names resolve to positions
  EXPECT_EQ(ids[2], 1);
  const std::pair<std::vector<Variant>, const char*> rows[] = {
      {{Variant(u"ab")}, "abab:5!"},                                // all optional defaulted
      {{Variant(int32_t(7)), Variant(1.5), Variant(int32_t(0)), Variant(u"?")}, "77:0?"},
      {{Variant(u"x"), Variant::Error(DISP_E_PARAMNOTFOUND), Variant(int32_t(1))}, "xx:1!"},
  };
  Variant result, value, child, nothing;
  for (const auto& [args, expected] : rows) {
    ASSERT_EQ(Call(u"Combine", DISPATCH_METHOD, args, &result), S_OK) << expected;
    EXPECT_TRUE(result.vt == VT_BSTR && result.ToBstr().ToUtf8() == expected) << expected;
  }
  UINT argErr = 99;
  EXPECT_EQ(Call(u"Combine", DISPATCH_METHOD, {Variant(u"a"), Variant(u"many")}, &result, nullptr,
                 &argErr),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 0u);  // rgvarg index of the second argument (arguments are reversed)
  EXPECT_EQ(Call(u"Combine", DISPATCH_METHOD, {}, &result), DISP_E_PARAMNOTOPTIONAL);
  const std::vector<Variant> five(5, Variant(int32_t(1)));
  EXPECT_EQ(Call(u"Combine", DISPATCH_METHOD, five, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(u"Color", DISPATCH_PROPERTYPUT, {Variant(int32_t(1))}, nullptr),
            DISP_E_MEMBERNOTFOUND);
  ASSERT_EQ(Call(u"Enabled", DISPATCH_PROPERTYPUT, {Variant(u"True")}, nullptr), S_OK);
  ASSERT_EQ(Call(u"Enabled", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &value), S_OK);
  EXPECT_TRUE(value.vt == VT_BOOL && value.boolVal == -1);
  ASSERT_EQ(Call(u"Item", DISPATCH_PROPERTYPUT, {Variant(int32_t(0)), Variant(2.5)}, nullptr),
            S_OK);
  ASSERT_EQ(Call(u"Item", DISPATCH_PROPERTYGET, {Variant(int32_t(0))}, &value), S_OK);
  EXPECT_TRUE(value.vt == VT_R8 && value.dblVal == 2.5);
  ASSERT_EQ(Call(u"MakeChild", DISPATCH_METHOD, {Variant(u"kid")}, &child), S_OK);
  ASSERT_EQ(child.vt, VT_DISPATCH);
  ASSERT_EQ(Call(u"Relay", DISPATCH_METHOD, {child, Variant(u"via child")}, &nothing),
            DISP_E_EXCEPTION);
  EXPECT_EQ(TakeErrorInfo().description, "via child");
  EXPECT_EQ(Call(u"Relay", DISPATCH_METHOD, {Variant(int32_t(3)), Variant(u"x")}, &nothing),
            DISP_E_TYPEMISMATCH);

  EXCEPINFO excep{};  // a failure fills EXCEPINFO when the caller passes one
  ASSERT_EQ(Call(u"Fail", DISPATCH_METHOD, {Variant(u"bad value")}, &nothing, &excep),
            DISP_E_EXCEPTION);
  EXPECT_EQ(Bstr::Attach(excep.bstrDescription).ToUtf8(), "bad value");
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrHelpFile);
  EXPECT_EQ(excep.scode, DISP_E_EXCEPTION);
}

}  // namespace
}  // namespace nv::test
