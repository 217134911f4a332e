// Identity, interface queries, the shared reference count and the module's
// lock count of interface objects.
#include "frame/module_lock.h"
#include "widget.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

IUnknown* IdentityOf(IUnknown* object) {
  IUnknown* identity = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  identity->Release();
  return identity;
}

TEST(InterfaceObject, AllInterfacesShareIdentityAndOneCount) {
  ComPtr<IWidgetEx> widget = CreateObject<CWidget>();
  ComPtr<IWidgetCRaw> raw = widget.as<IWidgetCRaw>();
  ComPtr<IWidget> base = widget.as<IWidget>();
  ComPtr<IDispatch> dispatch = widget.as<IDispatch>();
  EXPECT_EQ(IdentityOf(widget.get()), IdentityOf(raw.get()));
  EXPECT_EQ(IdentityOf(dispatch.get()), IdentityOf(base.get()));
  // Four references held here; AddRef answers the new shared count.
  EXPECT_EQ(raw->AddRef(), 5u);
  EXPECT_EQ(widget->Release(), 4u);
}

TEST(InterfaceObject, AnswersOnlyItsInterfaces) {
  ComPtr<IWidgetEx> widget = CreateObject<CWidget>();
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(widget->QueryInterface(IID_IProvideClassInfo, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(widget->QueryInterface(IID_INvVexaWriter, &out), E_NOINTERFACE);
  EXPECT_EQ(widget->QueryInterface(IID_IWidget, nullptr), E_POINTER);
  EXPECT_TRUE(widget.try_as<ISupportErrorInfo>());
  EXPECT_TRUE(CreateObject<CCreatableWidget>().try_as<IProvideClassInfo>());
}

TEST(InterfaceObject, SupportsErrorInfoForPublicInterfacesOnly) {
  ComPtr<ISupportErrorInfo> support = CreateObject<CWidget>().as<ISupportErrorInfo>();
  struct Row {
    const IID& iid;
    HRESULT expected;
  } rows[] = {{IID_IWidget, S_OK},        {IID_IWidgetEx, S_OK},
              {IID_IWidgetCRaw, S_FALSE}, {IID_IUnknown, S_FALSE},
              {IID_IDispatch, S_FALSE},   {IID_INvVexaWriter, S_FALSE}};
  for (const Row& row : rows) EXPECT_EQ(support->InterfaceSupportsErrorInfo(row.iid), row.expected);
}

TEST(InterfaceObject, LastReleaseDestroysAndUnlocksModule) {
  const int32_t before = module_lock::Count();
  {
    ComPtr<IWidgetEx> widget = CreateObject<CWidget>();
    ComPtr<IWidget> child = widget.MakeChild(u"kid");
    EXPECT_EQ(module_lock::Count(), before + 2);
    EXPECT_EQ(child.Name().ToUtf8(), "kid");
  }
  EXPECT_EQ(module_lock::Count(), before);
}

// An outer object that aggregates a creatable class and forwards to it.
class Outer final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    return inner->QueryInterface(riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  ULONG refs = 1;
  IUnknown* inner = nullptr;
};

TEST(InterfaceObject, AggregatedObjectDelegatesToOuter) {
  Outer outer;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&outer.inner)),
            S_OK);
  INvVexaWriter* writer = nullptr;
  ASSERT_EQ(outer.QueryInterface(IID_INvVexaWriter, reinterpret_cast<void**>(&writer)), S_OK);
  EXPECT_EQ(outer.refs, 2u);  // the inner object's AddRef went to the outer one
  IUnknown* identity = nullptr;
  writer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  EXPECT_EQ(identity, &outer);
  identity->Release();
  writer->Release();
  EXPECT_EQ(outer.refs, 1u);
  EXPECT_EQ(outer.inner->Release(), 0u);

  void* out = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_NvVexaWriter, &outer, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                             &out),
            CLASS_E_NOAGGREGATION);
}

}  // namespace
}  // namespace nv::test
