// The class factory of a creatable interface object D: makes D stand-alone
// or aggregated inside an outer object. Factories are static objects that
// live as long as the module; only LockServer counts towards unloading.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/exception.h"
#include "frame/module_info.h"

namespace nv {

template <class D>
class ClassFactory final : public IClassFactory {
 public:
  // `make` makes a new D with what the module hands objects of its class.
  explicit ClassFactory(D* (*make)() = [] { return new D(); }) : make_(make) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = (riid == IID_IUnknown || riid == IID_IClassFactory) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return frame::ReportNullOutPointer(u"ppv", u"IClassFactory.CreateInstance",
                                                 D::NvProgId());
    *ppv = nullptr;
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    return frame::RunFramed(D::NvProgId(), [&]() -> HRESULT {
      D* object = make_();
      if (outer) {
        object->NvAggregateInside(outer);
        IUnknown* inner = object->NvInnerUnknown();
        inner->AddRef();
        *ppv = inner;
        return S_OK;
      }
      object->AddRef();
      const HRESULT hr = object->QueryInterface(riid, ppv);
      object->Release();
      return hr;
    });
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) module_lock::Add();
    else module_lock::Remove();
    return S_OK;
  }

 private:
  D* (*const make_)();
};

}  // namespace nv
