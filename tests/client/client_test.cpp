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

// The GUID and kind that a type information object describes.
bool Describes(ITypeInfo* info, REFGUID guid, TYPEKIND kind) {
  TYPEATTR* attr = nullptr;
  if (!info || info->GetTypeAttr(&attr) != S_OK) return false;
  const bool same = attr->guid == guid && attr->typekind == kind;
  info->ReleaseTypeAttr(attr);
  return same;
}

// A host goes from the class to its default interface.
void CheckClassInfo(IUnknown* object, const Creatable& c) {
  IProvideClassInfo* provider = nullptr;
  ITypeInfo* coclass = nullptr;
  ITypeInfo* itf = nullptr;
  HREFTYPE ref = 0;
  INT flags = 0;
  object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider));
  CHECK(provider && provider->GetClassInfo(&coclass) == S_OK);
  CHECK(Describes(coclass, c.clsid, TKIND_COCLASS));
  CHECK(coclass && coclass->GetImplTypeFlags(0, &flags) == S_OK && flags == IMPLTYPEFLAG_FDEFAULT);
  CHECK(coclass && coclass->GetRefTypeOfImplType(0, &ref) == S_OK &&
        coclass->GetRefTypeInfo(ref, &itf) == S_OK);
  CHECK(Describes(itf, c.iid, TKIND_DISPATCH));
  CHECK(coclass && coclass->GetRefTypeOfImplType(1, &ref) == TYPE_E_ELEMENTNOTFOUND);
  for (IUnknown* held : {static_cast<IUnknown*>(itf), static_cast<IUnknown*>(coclass),
                         static_cast<IUnknown*>(provider)})
    if (held) held->Release();
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

    CheckClassInfo(object, c);
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

std::string TypeName(VARTYPE vt) {
  switch (vt) {
    case VT_I4: return "long";
    case VT_BSTR: return "string";
    case VT_BOOL: return "bool";
    case VT_DISPATCH: return "object";
    case VT_VOID: return "void";
    default: return std::to_string(vt);
  }
}

// One member as a host lists it: "id kind name(param type, [optional type]) type".
std::string DescribeMember(ITypeInfo* info, UINT index) {
  FUNCDESC* f = nullptr;
  if (info->GetFuncDesc(index, &f) != S_OK) return "no description";
  BSTR names[8] = {};
  UINT named = 0;
  info->GetNames(f->memid, names, 8, &named);
  const char* kind = f->invkind == INVOKE_FUNC ? "method"
                     : f->invkind == INVOKE_PROPERTYGET ? "get" : "put";
  std::string text = std::to_string(f->memid) + " " + kind + " " + Narrow(names[0]) + "(";
  SHORT optionals = 0;
  for (SHORT p = 0; p < f->cParams; ++p) {
    const ELEMDESC& e = f->lprgelemdescParam[p];
    const bool optional = (e.paramdesc.wParamFlags & PARAMFLAG_FOPT) != 0;
    const std::string param =
        Narrow(p + 1u < named ? names[p + 1] : nullptr) + " " + TypeName(e.tdesc.vt);
    text += (p ? ", " : "") + (optional ? "[" + param + "]" : param);
    optionals += optional;
  }
  text += ") " + TypeName(f->elemdescFunc.tdesc.vt);
  if (f->funckind != FUNC_DISPATCH || f->callconv != CC_STDCALL || f->cParamsOpt != optionals)
    text += " (bad description)";
  for (UINT k = 0; k < named; ++k) SysFreeString(names[k]);
  info->ReleaseFuncDesc(f);
  return text;
}

// A late-bound host lists the writer's members from its type information.
void TestTypeInformation() {
  IDispatch* writer = nullptr;
  CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                   reinterpret_cast<void**>(&writer));
  CHECK(writer != nullptr);
  if (!writer) return;
  UINT count = 0;
  ITypeInfo* info = nullptr;
  CHECK(writer->GetTypeInfoCount(&count) == S_OK && count == 1);
  CHECK(writer->GetTypeInfo(1, 0, &info) == DISP_E_BADINDEX && info == nullptr);
  CHECK(writer->GetTypeInfo(0, 0, &info) == S_OK &&
        Describes(info, IID_INvVexaWriter, TKIND_DISPATCH));
  if (!info) {
    writer->Release();
    return;
  }

  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  std::string listing;
  for (UINT i = 0; i < attr->cFuncs; ++i) listing += DescribeMember(info, i) + "\n";
  CHECK(listing ==
        "1 get Schema() object\n"
        "2 get DataWriter() object\n"
        "3 method SetSchemaMode(Mode long, [SchemaURI string], [SchemaLocation string], "
        "[Load bool]) void\n"
        "4 method CreateVexaArchiveFile(VexaFileName string) void\n"
        "5 method CloseVexaArchiveFile() void\n"
        "10 get InitializationData() object\n"
        "7 method CreateVexaArchiveFileEx(VexaFileName string, CompressionLevel long) void\n");
  CHECK((attr->wTypeFlags & TYPEFLAG_FDUAL) != 0);
  info->ReleaseTypeAttr(attr);

  // Names, documentation and calls answer as IDispatch does; what is not there is not found.
  MEMBERID id = 0;
  LPOLESTR name[] = {const_cast<LPOLESTR>(u"initializationDATA")};
  CHECK(info->GetIDsOfNames(name, 1, &id) == S_OK && id == 10);
  BSTR text = nullptr;
  CHECK(info->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr) == S_OK &&
        Narrow(text) == "INvVexaWriter");
  SysFreeString(text);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT data = {};
  CHECK(info->Invoke(writer, id, DISPATCH_PROPERTYGET, &none, &data, nullptr, nullptr) == S_OK &&
        data.vt == VT_DISPATCH);
  VariantClear(&data);
  FUNCDESC* f = nullptr;
  BSTR names[1] = {};
  CHECK(info->GetFuncDesc(7, &f) == TYPE_E_ELEMENTNOTFOUND && f == nullptr);
  CHECK(info->GetNames(6, names, 1, &count) == TYPE_E_ELEMENTNOTFOUND && count == 0);
  info->Release();
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
  TestTypeInformation();
  TestRegistration();
  CoUninitialize();
  std::printf("%d passed, %d failed\n", gPassed, gFailed);
  return gFailed == 0 ? 0 : 1;
}
