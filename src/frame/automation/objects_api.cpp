// Object creation for an in-process library: every class a client can
// create lives in this module, so CoCreateInstance goes straight to
// DllGetClassObject and ProgIDs resolve from the module's own class table.
#include "frame/automation/automation_api.h"
#include "frame/module_info.h"

#include <cstdlib>
#include <cstring>

NVAPI HRESULT CoInitialize(LPVOID) { return S_OK; }
NVAPI HRESULT CoInitializeEx(LPVOID, DWORD) { return S_OK; }
NVAPI void CoUninitialize(void) {}

NVAPI HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid,
                               LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!(dwClsContext & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER))) return REGDB_E_CLASSNOTREG;
  const HRESULT hr = DllGetClassObject(rclsid, riid, ppv);
  return hr == CLASS_E_CLASSNOTAVAILABLE ? REGDB_E_CLASSNOTREG : hr;
}

NVAPI HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext,
                               REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  return hr;
}

NVAPI HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, CLSID* lpclsid) {
  if (!lpszProgID || !lpclsid) return E_INVALIDARG;
  const nv::CoclassInfo* c = nv::FindCoclassByProgId(lpszProgID);
  if (!c) return CO_E_CLASSSTRING;
  *lpclsid = c->clsid;
  return S_OK;
}

NVAPI HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
  if (!lplpszProgID) return E_INVALIDARG;
  *lplpszProgID = nullptr;
  const nv::CoclassInfo* c = nv::FindCoclass(clsid);
  if (!c) return REGDB_E_CLASSNOTREG;
  size_t length = 0;
  while (c->progId[length]) ++length;
  auto* copy = static_cast<OLECHAR*>(CoTaskMemAlloc((length + 1) * sizeof(OLECHAR)));
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy, c->progId, (length + 1) * sizeof(OLECHAR));
  *lplpszProgID = copy;
  return S_OK;
}
