// A client's view of the library, built against the installed header and
// library only: creation by ProgID, the module entry points, the schema model
// through plain vtable calls with result codes, failures read with
// GetErrorInfo, and late-bound calls.
#include <NorvVexa1/NorvVexa1.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Owns one interface reference, as client code would with a smart pointer.
template <class I>
struct Ref {
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() {
    if (p) p->Release();
  }
  I** out() { return &p; }
  void** vout() { return reinterpret_cast<void**>(&p); }
  I* operator->() const { return p; }
  I* p = nullptr;
};

struct Text {
  explicit Text(const char16_t* text) : b(SysAllocString(text)) {}
  ~Text() { SysFreeString(b); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return b; }  // NOLINT
  BSTR b;
};

std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += static_cast<char>(c);
  return out;
}

// Takes ownership of a BSTR holding ASCII text.
std::string Take(BSTR text) {
  const std::string out = Ascii({text, SysStringLen(text)});
  SysFreeString(text);
  return out;
}

// The description of the failure that produced `hr`.
std::string Failure(HRESULT hr) {
  if (hr != DISP_E_EXCEPTION) return "result " + std::to_string(hr);
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return "no error information";
  BSTR text = nullptr;
  info->GetDescription(&text);
  info->Release();
  return Take(text);
}

// Calls the member `name` late-bound; `args` are in reverse order, as Invoke takes them.
HRESULT CallByName(IDispatch* object, const char16_t* name, WORD flags, VARIANT* args, UINT count,
                   VARIANT* result) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS params{args, nullptr, count, 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                        nullptr);
}

template <class I>
HRESULT InitializationDataOf(IUnknown* object, INvVexaInitializationData** data) {
  return static_cast<I*>(object)->get_InitializationData(data);
}

struct Creatable {
  const CLSID& clsid;
  const IID& iid;
  const char16_t* progId;  // version-independent; the versioned one adds ".1.0"
  HRESULT (*initializationData)(IUnknown*, INvVexaInitializationData**);  // null: is the data
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

// The GUID and kind that a type information object describes.
bool Describes(ITypeInfo* info, REFGUID guid, TYPEKIND kind) {
  TYPEATTR* attr = nullptr;
  if (!info || info->GetTypeAttr(&attr) != S_OK) return false;
  const bool same = attr->guid == guid && attr->typekind == kind;
  info->ReleaseTypeAttr(attr);
  return same;
}

// A host goes from the class to its default interface.
void ExpectClassInfo(IUnknown* object, const Creatable& c) {
  Ref<IProvideClassInfo> provider;
  Ref<ITypeInfo> coclass, itf;
  HREFTYPE ref = 0;
  INT flags = 0;
  ASSERT_EQ(object->QueryInterface(IID_IProvideClassInfo, provider.vout()), S_OK);
  ASSERT_EQ(provider->GetClassInfo(coclass.out()), S_OK);
  EXPECT_TRUE(Describes(coclass.p, c.clsid, TKIND_COCLASS));
  EXPECT_TRUE(coclass->GetImplTypeFlags(0, &flags) == S_OK && flags == IMPLTYPEFLAG_FDEFAULT);
  ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &ref), S_OK);
  ASSERT_EQ(coclass->GetRefTypeInfo(ref, itf.out()), S_OK);
  EXPECT_TRUE(Describes(itf.p, c.iid, TKIND_DISPATCH));
  EXPECT_EQ(coclass->GetRefTypeOfImplType(1, &ref), TYPE_E_ELEMENTNOTFOUND);
}

TEST(ClientModule, CreatesEachClassByProgIdAndCanUnloadOnceAllAreReleased) {
  for (const Creatable& c : kClasses) {
    SCOPED_TRACE(Ascii(c.progId));
    const std::u16string versioned = std::u16string(c.progId) + u".1.0";
    for (const char16_t* progId : {c.progId, versioned.c_str()}) {
      CLSID clsid{};
      EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
      EXPECT_EQ(clsid, c.clsid);
    }
    {
      Ref<IUnknown> object;
      ASSERT_EQ(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, c.iid, object.vout()),
                S_OK);
      EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
      ExpectClassInfo(object.p, c);
      Ref<ISupportErrorInfo> support;
      ASSERT_EQ(object->QueryInterface(IID_ISupportErrorInfo, support.vout()), S_OK);
      EXPECT_EQ(support->InterfaceSupportsErrorInfo(c.iid), S_OK);

      Ref<INvVexaInitializationData> data;
      ASSERT_EQ(c.initializationData
                    ? c.initializationData(object.p, data.out())
                    : object->QueryInterface(IID_INvVexaInitializationData, data.vout()),
                S_OK);
      BSTR proxy = nullptr;
      ASSERT_EQ(data->SetProxy(Text(u"http://proxy.test:3128")), S_OK);
      ASSERT_EQ(data->GetProxy(&proxy), S_OK);
      EXPECT_EQ(Take(proxy), "http://proxy.test:3128");
    }
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
  }
  CLSID unknown{};
  EXPECT_EQ(CLSIDFromProgID(u"NorvVexa1.NoSuchClass", &unknown), CO_E_CLASSSTRING);
  // Class objects serve only our classes and lock the module.
  const CLSID notOurs = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  void* factory = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(DllGetClassObject(notOurs, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(factory, nullptr);
  {
    Ref<IClassFactory> writerFactory;
    ASSERT_EQ(DllGetClassObject(CLSID_NvVexaWriter, IID_IClassFactory, writerFactory.vout()), S_OK);
    ASSERT_EQ(writerFactory->LockServer(TRUE), S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    ASSERT_EQ(writerFactory->LockServer(FALSE), S_OK);
  }
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
  void* none = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaReader,
                             &none),
            E_NOINTERFACE);
}

// The test script points NORVVEXA_REGISTRY at a scratch file.
TEST(ClientModule, RegistersAndUnregistersItsClasses) {
  const char* path = std::getenv("NORVVEXA_REGISTRY");
  if (!path) GTEST_SKIP() << "NORVVEXA_REGISTRY is not set";
  const auto read = [path] {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  };
  const std::string progIdKey =
      "[HKEY_CLASSES_ROOT\\NorvVexa1.NvVexaWriter.1.0\\CLSID]\n"
      "@=\"{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}\"\n";
  ASSERT_EQ(DllRegisterServer(), S_OK);
  EXPECT_NE(read().find(progIdKey), std::string::npos) << read();
  ASSERT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_EQ(read().find("NorvVexa1.NvVexaWriter"), std::string::npos) << read();
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
  std::string text = std::to_string(f->memid) + " " + kind + " " + Ascii(names[0]) + "(";
  SHORT optionals = 0;
  for (SHORT p = 0; p < f->cParams; ++p) {
    const ELEMDESC& e = f->lprgelemdescParam[p];
    const bool optional = (e.paramdesc.wParamFlags & PARAMFLAG_FOPT) != 0;
    const std::string param =
        (p + 1u < named ? Ascii(names[p + 1]) : std::string()) + " " + TypeName(e.tdesc.vt);
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

// Late-bound names ignore case and only IID_NULL is accepted; a host lists
// the members from the type information and calls through it; afterwards no
// reference is left behind.
TEST(ClientLateBound, CallsByNameAndListsTheMembersFromTheTypeInformation) {
  {
    Ref<IDispatch> writer;
    ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               writer.vout()),
              S_OK);
    VARIANT data = {}, proxy = {}, back = {};
    ASSERT_EQ(CallByName(writer.p, u"initializationdata", DISPATCH_PROPERTYGET, nullptr, 0, &data),
              S_OK);
    ASSERT_TRUE(data.vt == VT_DISPATCH && data.pdispVal);
    proxy.vt = VT_BSTR;
    proxy.bstrVal = SysAllocString(u"late.bound:80");
    EXPECT_EQ(CallByName(data.pdispVal, u"SETPROXY", DISPATCH_METHOD, &proxy, 1, nullptr), S_OK);
    VariantClear(&proxy);
    EXPECT_EQ(CallByName(data.pdispVal, u"getProxy", DISPATCH_METHOD, nullptr, 0, &back), S_OK);
    EXPECT_TRUE(back.vt == VT_BSTR && Ascii(back.bstrVal) == "late.bound:80");
    VariantClear(&back);
    // The same object seen through the vtable holds the late-bound value.
    Ref<INvVexaInitializationData> typed;
    ASSERT_EQ(data.pdispVal->QueryInterface(IID_INvVexaInitializationData, typed.vout()), S_OK);
    BSTR text = nullptr;
    ASSERT_EQ(typed->GetProxy(&text), S_OK);
    EXPECT_EQ(Take(text), "late.bound:80");
    VariantClear(&data);

    EXPECT_EQ(CallByName(writer.p, u"NoSuchMember", DISPATCH_METHOD, nullptr, 0, nullptr),
              DISP_E_UNKNOWNNAME);
    DISPID id = 0;
    LPOLESTR name[] = {const_cast<LPOLESTR>(u"InitializationData")};
    EXPECT_EQ(IID_NULL, GUID_NULL);
    EXPECT_EQ(writer->GetIDsOfNames(IID_IDispatch, name, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
    UINT count = 0;
    Ref<ITypeInfo> info;
    EXPECT_TRUE(writer->GetTypeInfoCount(&count) == S_OK && count == 1);
    EXPECT_EQ(writer->GetTypeInfo(1, 0, info.out()), DISP_E_BADINDEX);
    ASSERT_EQ(writer->GetTypeInfo(0, 0, info.out()), S_OK);
    EXPECT_TRUE(Describes(info.p, IID_INvVexaWriter, TKIND_DISPATCH));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    std::string listing;
    for (UINT i = 0; i < attr->cFuncs; ++i) listing += DescribeMember(info.p, i) + "\n";
    EXPECT_EQ(listing,
              "1 get Schema() object\n"
              "2 get DataWriter() object\n"
              "3 method SetSchemaMode(Mode long, [SchemaURI string], [SchemaLocation string], "
              "[Load bool]) void\n"
              "4 method CreateVexaArchiveFile(VexaFileName string) void\n"
              "5 method CloseVexaArchiveFile() void\n"
              "10 get InitializationData() object\n"
              "7 method CreateVexaArchiveFileEx(VexaFileName string, CompressionLevel long) void\n");
    EXPECT_NE(attr->wTypeFlags & TYPEFLAG_FDUAL, 0);
    info->ReleaseTypeAttr(attr);

    // Names, documentation and calls answer as IDispatch does; what is not there is not found.
    name[0] = const_cast<LPOLESTR>(u"initializationDATA");
    EXPECT_TRUE(info->GetIDsOfNames(name, 1, &id) == S_OK && id == 10);
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Take(text), "INvVexaWriter");
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(info->Invoke(writer.p, id, DISPATCH_PROPERTYGET, &none, &data, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(data.vt, VT_DISPATCH);
    VariantClear(&data);
    FUNCDESC* f = nullptr;
    BSTR names[1] = {};
    EXPECT_TRUE(info->GetFuncDesc(7, &f) == TYPE_E_ELEMENTNOTFOUND && f == nullptr);
    EXPECT_TRUE(info->GetNames(6, names, 1, &count) == TYPE_E_ELEMENTNOTFOUND && count == 0);
  }
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

// The schema model through plain vtable calls with result codes, and a
// failure read with GetErrorInfo; the schema's rules are tested in tests/schema.
TEST(ClientSchema, BuildsClassesThroughTheVtableAndReadsFailures) {
  Ref<INvVexaWriter> writer;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                             writer.vout()),
            S_OK);
  Ref<INvVexaSchema> schema;
  Ref<INvVexaClasses> classes;
  Ref<INvVexaClass> base, part, same;
  Ref<INvVexaAttributes> own;
  Ref<INvVexaAttribute> attribute;
  Ref<INvVexaReadOnlyAttributes> all;
  ASSERT_EQ(writer->get_Schema(schema.out()), S_OK);
  ASSERT_EQ(schema->get_Classes(classes.out()), S_OK);
  ASSERT_EQ(classes->Add(Text(u"Base"), base.out()), S_OK);
  ASSERT_EQ(classes->Add(Text(u"Part"), part.out()), S_OK);
  ASSERT_EQ(part->put_ParentClass(base.p), S_OK);
  ASSERT_EQ(base->get_CurrentClassAttributes(own.out()), S_OK);
  ASSERT_EQ(own->Add(Text(u"a"), attribute.out()), S_OK);
  LONG count = 0;
  ASSERT_EQ(part->get_AllAttributes(all.out()), S_OK);
  ASSERT_EQ(all->get_Count(&count), S_OK);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(Failure(classes->Add(Text(u"Part"), same.out())), "Class Part already exist");
  EXPECT_EQ(same.p, nullptr);
}

}  // namespace

