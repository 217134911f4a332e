// Error information objects and the per-thread current error information.
#include "frame/automation/automation_api.h"
#include "frame/bstr.h"

#include <atomic>
#include <new>

namespace {

class ErrorInfoObject final : public IErrorInfo, public ICreateErrorInfo {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
      *ppv = static_cast<IErrorInfo*>(this);
    } else if (riid == IID_ICreateErrorInfo) {
      *ppv = static_cast<ICreateErrorInfo*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  // Error information moves between threads with the failures it describes.
  ULONG STDMETHODCALLTYPE AddRef() override {
    return refs_.fetch_add(1, std::memory_order_relaxed) + 1;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetGUID(GUID* pGUID) override {
    if (!pGUID) return E_INVALIDARG;
    *pGUID = guid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSource(BSTR* out) override { return Hand(source_, out); }
  HRESULT STDMETHODCALLTYPE GetDescription(BSTR* out) override { return Hand(description_, out); }
  HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* out) override { return Hand(helpFile_, out); }
  HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* out) override {
    if (!out) return E_INVALIDARG;
    *out = helpContext_;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetGUID(REFGUID rguid) override {
    guid_ = rguid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR text) override { return Keep(source_, text); }
  HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR text) override {
    return Keep(description_, text);
  }
  HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR text) override { return Keep(helpFile_, text); }
  HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD context) override {
    helpContext_ = context;
    return S_OK;
  }

 private:
  static HRESULT Hand(const nv::Bstr& value, BSTR* out) {
    if (!out) return E_INVALIDARG;
    try {
      *out = value.Copy();
      return S_OK;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  static HRESULT Keep(nv::Bstr& slot, LPOLESTR text) {
    try {
      slot = nv::Bstr(text);
      return S_OK;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }

  std::atomic<ULONG> refs_{0};
  GUID guid_ = GUID_NULL;
  nv::Bstr source_;
  nv::Bstr description_;
  nv::Bstr helpFile_;
  DWORD helpContext_ = 0;
};

// The thread's current error information; released when the thread ends.
struct CurrentErrorInfo {
  IErrorInfo* info = nullptr;
  ~CurrentErrorInfo() {
    if (info) info->Release();
  }
};
thread_local CurrentErrorInfo tCurrent;

}  // namespace

NVAPI HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  auto* made = new (std::nothrow) ErrorInfoObject();
  if (!made) {
    *pperrinfo = nullptr;
    return E_OUTOFMEMORY;
  }
  made->AddRef();
  *pperrinfo = made;
  return S_OK;
}

NVAPI HRESULT SetErrorInfo(ULONG, IErrorInfo* perrinfo) {
  if (perrinfo) perrinfo->AddRef();
  IErrorInfo* old = tCurrent.info;
  tCurrent.info = perrinfo;
  if (old) old->Release();
  return S_OK;
}

NVAPI HRESULT GetErrorInfo(ULONG, IErrorInfo** pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  *pperrinfo = tCurrent.info;
  tCurrent.info = nullptr;
  return *pperrinfo ? S_OK : S_FALSE;
}
