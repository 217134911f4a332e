// A client that sees only the installed header and library: creation of
// the six classes, the module entry points, and the proxy round trip through
// the vtable and late-bound. Prints "N passed, N failed".
#include <NorvVexa1/NorvVexa1.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int gPassed = 0;
int gFailed = 0;

void Check(bool ok, const char* what, int line) {
  if (ok) {
    ++gPassed;
  } else {
    ++gFailed;
    std::fprintf(stderr, "FAILED line %d: %s\n", line, what);
  }
}
#define CHECK(expr) Check((expr), #expr, __LINE__)

std::string Narrow(const OLECHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text);
  return out;
}

// The initialization data of a top-level object created as its interface I.
template <class I>
INvVexaInitializationData* InitializationDataOf(IUnknown* object) {
  INvVexaInitializationData* data = nullptr;
  return SUCCEEDED(static_cast<I*>(object)->get_InitializationData(&data)) ? data : nullptr;
}

struct Creatable {
  const CLSID& clsid;
  const IID& iid;
  const char16_t* versionIndependentProgId;  // the ProgID adds ".1.0"
  INvVexaInitializationData* (*initializationData)(IUnknown*);  // null for the data itself
};

const Creatable kClasses[] = {
    {CLSID_NvVexaWriter, IID_INvVexaWriter, u"NorvVexa1.NvVexaWriter",
     &InitializationDataOf<INvVexaWriter>},
    {CLSID_NvVexaReader, IID_INvVexaReader, u"NorvVexa1.NvVexaReader",
     &InitializationDataOf<INvVexaReader>},
    {CLSID_NvVexaExternalSchemaWriter, IID_INvVexaExternalSchemaWriter,
     u"NorvVexa1.NvVexaExternalSchemaWriter", &InitializationDataOf<INvVexaExternalSchemaWriter>},
    {CLSID_NvVexaExternalSchemaReader, IID_INvVexaExternalSchemaReader,
     u"NorvVexa1.NvVexaExternalSchemaReader", &InitializationDataOf<INvVexaExternalSchemaReader>},
    {CLSID_NvVexaStdHelper, IID_INvVexaStdHelper, u"NorvVexa1.NvVexaStdHelper",
     &InitializationDataOf<INvVexaStdHelper>},
    {CLSID_CNvVexaInitializationData, IID_INvVexaInitializationData,
     u"CNvVexaInitializationData.CNvVexaInit", nullptr},
};

void ProxyRoundTrip(INvVexaInitializationData* data, const OLECHAR* proxy) {
  BSTR value = nullptr;
  CHECK(data->GetProxy(&value) == S_OK && SysStringLen(value) == 0);
  SysFreeString(value);
  value = SysAllocString(proxy);
  CHECK(data->SetProxy(value) == S_OK);
  SysFreeString(value);
  value = nullptr;
  CHECK(data->GetProxy(&value) == S_OK && Narrow(value) == Narrow(proxy));
  SysFreeString(value);
}

void TestCreation() {
  for (const Creatable& c : kClasses) {
    const std::u16string progId = std::u16string(c.versionIndependentProgId) + u".1.0";
    CLSID byProgId{}, byIndependent{};
    CHECK(CLSIDFromProgID(progId.c_str(), &byProgId) == S_OK && byProgId == c.clsid);
    CHECK(CLSIDFromProgID(c.versionIndependentProgId, &byIndependent) == S_OK &&
          byIndependent == c.clsid);

    IUnknown* object = nullptr;
    CHECK(CoCreateInstance(byProgId, nullptr, CLSCTX_INPROC_SERVER, c.iid,
                           reinterpret_cast<void**>(&object)) == S_OK);
    if (!object) continue;
    CHECK(DllCanUnloadNow() == S_FALSE);

    IProvideClassInfo* classInfo = nullptr;
    CHECK(object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&classInfo)) ==
          S_OK);
    if (classInfo) classInfo->Release();
    ISupportErrorInfo* support = nullptr;
    object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support));
    CHECK(support && support->InterfaceSupportsErrorInfo(c.iid) == S_OK);
    if (support) support->Release();

    if (c.initializationData) {
      INvVexaInitializationData* data = c.initializationData(object);
      CHECK(data != nullptr);
      if (data) {
        ProxyRoundTrip(data, u"http://proxy.test:3128");
        data->Release();
      }
    } else {
      ProxyRoundTrip(static_cast<INvVexaInitializationData*>(object), u"direct:1");
    }
    object->Release();
    CHECK(DllCanUnloadNow() == S_OK);
  }
  CLSID unknown{};
  CHECK(CLSIDFromProgID(u"NorvVexa1.NoSuchClass", &unknown) == CO_E_CLASSSTRING);
}

void TestModuleEntryPoints() {
  const CLSID notOurs = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  void* factory = reinterpret_cast<void*>(0x1);
  CHECK(DllGetClassObject(notOurs, IID_IClassFactory, &factory) == CLASS_E_CLASSNOTAVAILABLE);
  CHECK(factory == nullptr);
  IClassFactory* writerFactory = nullptr;
  CHECK(DllGetClassObject(CLSID_NvVexaWriter, IID_IClassFactory,
                          reinterpret_cast<void**>(&writerFactory)) == S_OK);
  if (writerFactory) {
    CHECK(writerFactory->LockServer(TRUE) == S_OK);
    CHECK(DllCanUnloadNow() == S_FALSE);
    CHECK(writerFactory->LockServer(FALSE) == S_OK);
    writerFactory->Release();
  }
  CHECK(DllCanUnloadNow() == S_OK);
  void* none = nullptr;
  CHECK(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaReader,
                         &none) == E_NOINTERFACE);
}

HRESULT CallByName(IDispatch* object, const OLECHAR* name, WORD flags, VARIANT* args, UINT count,
                   VARIANT* result) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS params{args, nullptr, count, 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                        nullptr);
}

void TestLateBound() {
  IDispatch* writer = nullptr;
  CLSID clsid{};
  CLSIDFromProgID(u"NorvVexa1.NvVexaWriter", &clsid);
  CHECK(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                         reinterpret_cast<void**>(&writer)) == S_OK);
  if (!writer) return;
  VARIANT data = {}, proxy = {}, ignored = {}, back = {};
  CHECK(CallByName(writer, u"initializationdata", DISPATCH_PROPERTYGET, nullptr, 0, &data) ==
        S_OK);
  CHECK(data.vt == VT_DISPATCH && data.pdispVal != nullptr);
  if (data.vt == VT_DISPATCH && data.pdispVal) {
    proxy.vt = VT_BSTR;
    proxy.bstrVal = SysAllocString(u"late.bound:80");
    CHECK(CallByName(data.pdispVal, u"SETPROXY", DISPATCH_METHOD, &proxy, 1, &ignored) == S_OK);
    VariantClear(&proxy);
    CHECK(CallByName(data.pdispVal, u"getProxy", DISPATCH_METHOD, nullptr, 0, &back) == S_OK);
    CHECK(back.vt == VT_BSTR && Narrow(back.bstrVal) == "late.bound:80");
    VariantClear(&back);

    // The same object seen through the vtable holds the late-bound value.
    INvVexaInitializationData* typed = nullptr;
    data.pdispVal->QueryInterface(IID_INvVexaInitializationData, reinterpret_cast<void**>(&typed));
    BSTR text = nullptr;
    CHECK(typed && typed->GetProxy(&text) == S_OK && Narrow(text) == "late.bound:80");
    SysFreeString(text);
    if (typed) typed->Release();
  }
  VariantClear(&data);
  CHECK(CallByName(writer, u"NoSuchMember", DISPATCH_METHOD, nullptr, 0, nullptr) ==
        DISP_E_UNKNOWNNAME);
  // The interface identifier of a late-bound call is reserved: anything but IID_NULL is refused.
  DISPID id = 0;
  LPOLESTR name[] = {const_cast<LPOLESTR>(u"InitializationData")};
  CHECK(IsEqualIID(IID_NULL, GUID_NULL) &&
        writer->GetIDsOfNames(IID_IDispatch, name, 1, 0, &id) == DISP_E_UNKNOWNINTERFACE);
  writer->Release();
  CHECK(DllCanUnloadNow() == S_OK);
}

void TestRegistration() {
  const char* path = std::getenv("NORVVEXA_REGISTRY");
  if (!path) return;
  CHECK(DllRegisterServer() == S_OK);
  const auto read = [path] {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  };
  CHECK(read().find("NorvVexa1.NvVexaWriter.1.0") != std::string::npos);
  CHECK(read().find("{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}") != std::string::npos);
  CHECK(DllUnregisterServer() == S_OK);
  CHECK(read().find("NorvVexa1.NvVexaWriter.1.0") == std::string::npos);
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TestCreation();
  TestModuleEntryPoints();
  TestLateBound();
  TestRegistration();
  CoUninitialize();
  std::printf("%d passed, %d failed\n", gPassed, gFailed);
  return gFailed == 0 ? 0 : 1;
}
