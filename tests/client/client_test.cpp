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
      ASSERT_EQ(data->GetProxy(&proxy), S_OK);
      EXPECT_EQ(Take(proxy), "");
      ASSERT_EQ(data->SetProxy(Text(u"http://proxy.test:3128")), S_OK);
      ASSERT_EQ(data->GetProxy(&proxy), S_OK);
      EXPECT_EQ(Take(proxy), "http://proxy.test:3128");
    }
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
  }
  CLSID unknown{};
  EXPECT_EQ(CLSIDFromProgID(u"NorvVexa1.NoSuchClass", &unknown), CO_E_CLASSSTRING);
}

TEST(ClientModule, ClassObjectsServeOnlyOurClassesAndLockTheModule) {
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

TEST(ClientLateBound, NamesIgnoreCaseAndOnlyIidNullIsAccepted) {
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
  }
  EXPECT_EQ(DllCanUnloadNow(), S_OK);  // late-bound calls left no reference behind
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

TEST(ClientLateBound, AHostListsTheMembersFromTheTypeInformation) {
  {
    Ref<IDispatch> writer;
    ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               writer.vout()),
              S_OK);
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
    MEMBERID id = 0;
    LPOLESTR name[] = {const_cast<LPOLESTR>(u"initializationDATA")};
    EXPECT_TRUE(info->GetIDsOfNames(name, 1, &id) == S_OK && id == 10);
    BSTR text = nullptr;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Take(text), "INvVexaWriter");
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT data = {};
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

class ClientSchema : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                               writer.vout()),
              S_OK);
    ASSERT_EQ(writer->get_Schema(schema.out()), S_OK);
    ASSERT_EQ(schema->get_Classes(classes.out()), S_OK);
    ASSERT_EQ(schema->get_ClassesBehaviors(behaviors.out()), S_OK);
  }

  Ref<INvVexaWriter> writer;
  Ref<INvVexaSchema> schema;
  Ref<INvVexaClasses> classes;
  Ref<INvVexaClassesBehaviors> behaviors;
};

TEST(ClientExternalSchemaWriter, SetsTheUriOfItsSchema) {
  Ref<INvVexaExternalSchemaWriter> writer;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaExternalSchemaWriter, nullptr, CLSCTX_INPROC_SERVER,
                             IID_INvVexaExternalSchemaWriter, writer.vout()),
            S_OK);
  ASSERT_EQ(writer->put_SchemaURI(Text(u"urn:ext")), S_OK);
  EXPECT_EQ(Failure(writer->put_SchemaURI(Text(u"urn:other"))),
            "Schema URI is already set to \"urn:ext\"");
  Ref<INvVexaSchema> schema;
  ASSERT_EQ(writer->get_Schema(schema.out()), S_OK);
  BSTR uri = nullptr;
  ASSERT_EQ(schema->get_SchemaURI(&uri), S_OK);
  EXPECT_EQ(Take(uri), "urn:ext");
  ASSERT_EQ(writer->get_SchemaURI(&uri), S_OK);
  EXPECT_EQ(Take(uri), "urn:ext");
}

TEST_F(ClientSchema, BuildsClassesWithInheritanceAndAttributes) {
  Ref<INvVexaSchema> again;  // the writer keeps one schema
  ASSERT_EQ(writer->get_Schema(again.out()), S_OK);
  EXPECT_EQ(again.p, schema.p);
  Ref<INvVexaClass> base, part;
  ASSERT_EQ(classes->Add(Text(u"Base"), base.out()), S_OK);
  ASSERT_EQ(classes->Add(Text(u"Part"), part.out()), S_OK);
  ASSERT_EQ(part->put_ParentClass(base.p), S_OK);
  ASSERT_EQ(base->put_IsAbstract(VARIANT_TRUE), S_OK);

  Ref<INvVexaAttributes> own;
  ASSERT_EQ(base->get_CurrentClassAttributes(own.out()), S_OK);
  for (int type = dtString; type <= dtXML; ++type) {
    Ref<INvVexaAttribute> attribute;
    const std::u16string name = u"a" + std::u16string(1, static_cast<char16_t>(u'A' + type));
    ASSERT_EQ(own->Add(Text(name.c_str()), attribute.out()), S_OK);
    Ref<INvVexaTypeDefinition> definition;
    ASSERT_EQ(attribute->get_TypeDefinition(definition.out()), S_OK);
    ASSERT_EQ(definition->put_ValueType(static_cast<DataTypeEnum>(type)), S_OK);
    if (type == dtString) {
      Ref<INvVexaStringTypeDefinition> text;
      ASSERT_EQ(definition->get_StringType(text.out()), S_OK);
      EXPECT_EQ(text->put_MaxLength(30), S_OK);
    }
    if (type == dtObjectReference) {
      Ref<INvVexaObjectReferenceTypeDefinition> reference;
      ASSERT_EQ(definition->get_ObjectReferenceType(reference.out()), S_OK);
      EXPECT_EQ(reference->put_RestrictionType(ortClassAndDescendants), S_OK);
      EXPECT_EQ(reference->put_ClassName(Text(u"Base")), S_OK);
    }
  }

  Ref<INvVexaReadOnlyAttributes> all;
  ASSERT_EQ(part->get_AllAttributes(all.out()), S_OK);
  LONG count = 0;
  ASSERT_EQ(all->get_Count(&count), S_OK);
  EXPECT_EQ(count, 21);
  Ref<INvVexaAttribute> first;
  ASSERT_EQ(all->get_Item(0, first.out()), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(first->get_Name(&name), S_OK);
  EXPECT_EQ(Take(name), "aB");
  VARIANT_BOOL abstract = VARIANT_FALSE;
  ASSERT_EQ(base->get_IsAbstract(&abstract), S_OK);
  EXPECT_EQ(abstract, VARIANT_TRUE);
}

TEST_F(ClientSchema, FailuresCarryTheirMessages) {
  Ref<INvVexaClass> part, same;
  ASSERT_EQ(classes->Add(Text(u"Part"), part.out()), S_OK);
  EXPECT_EQ(Failure(classes->Add(Text(u"Part"), same.out())), "Class Part already exist");
  EXPECT_EQ(same.p, nullptr);
  EXPECT_EQ(Failure(classes->Add(Text(u"1abc"), same.out())), "Invalid name \"1abc\" for class");
  EXPECT_EQ(Failure(part->put_ParentClass(part.p)),
            "Class \"Part\" cannot be the parent of class \"Part\" since the inheritance would "
            "become cyclic");

  Ref<INvVexaAttributes> own;
  ASSERT_EQ(part->get_CurrentClassAttributes(own.out()), S_OK);
  Ref<INvVexaAttribute> attribute;
  EXPECT_EQ(Failure(own->Add(Text(u""), attribute.out())), "Missing Name for attribute");
  ASSERT_EQ(own->Add(Text(u"x"), attribute.out()), S_OK);
  Ref<INvVexaTypeDefinition> definition;
  ASSERT_EQ(attribute->get_TypeDefinition(definition.out()), S_OK);
  Ref<INvVexaStringTypeDefinition> text;
  EXPECT_EQ(Failure(definition->get_StringType(text.out())),
            "You must define TypeDefinition.ValueType prior to using other properties of "
            "TypeDefinition");

  Ref<INvVexaClassBehavior> behavior;
  EXPECT_EQ(Failure(behaviors->Add(mtEmbedded, Text(u"urn:x#1B"), Text(u""), VARIANT_FALSE,
                                   behavior.out())),
            "Invalid name \"1B\" for class behavior");
  EXPECT_EQ(Failure(behaviors->Add(mtExternal, Text(u"urn:x#B"), Text(u""), VARIANT_FALSE,
                                   behavior.out())),
            "SchemaLocation is missing for behavior \"urn:x#B\"");
}

TEST_F(ClientSchema, ClassesListBehaviorsAndDomainsMapRoles) {
  Ref<INvVexaClass> base, part;
  ASSERT_EQ(classes->Add(Text(u"Base"), base.out()), S_OK);
  ASSERT_EQ(classes->Add(Text(u"Part"), part.out()), S_OK);
  ASSERT_EQ(part->put_ParentClass(base.p), S_OK);
  Ref<INvVexaClassBehavior> versioned;
  ASSERT_EQ(behaviors->Add(mtEmbedded, Text(u"urn:x#Versioned"), Text(u""), VARIANT_FALSE,
                           versioned.out()),
            S_OK);
  Ref<INvVexaClassBehaviors> baseOwn, partOwn;
  ASSERT_EQ(base->get_CurrentClassBehaviors(baseOwn.out()), S_OK);
  ASSERT_EQ(baseOwn->Add(versioned.p, muYes), S_OK);
  ASSERT_EQ(part->get_CurrentClassBehaviors(partOwn.out()), S_OK);
  EXPECT_EQ(Failure(partOwn->Add(versioned.p, muNo)), "Error: Behavior already exist");
  EXPECT_EQ(Failure(partOwn->Add(nullptr, muNo)), "Invalid value for parameter ClassBehavior");

  VARIANT_BOOL supports = VARIANT_FALSE;
  ASSERT_EQ(part->SupportsBehavior(Text(u"urn:x#Versioned"), &supports), S_OK);
  EXPECT_EQ(supports, VARIANT_TRUE);
  Ref<INvVexaReadOnlyClassBehaviors> all;
  ASSERT_EQ(part->get_AllBehaviors(all.out()), S_OK);
  MustUnderstandEnum mark = muNo;
  ASSERT_EQ(all->GetMustUnderstandStatus(Text(u"urn:x#Versioned"), &mark), S_OK);
  EXPECT_EQ(mark, muYes);
  EXPECT_EQ(Failure(all->GetMustUnderstandStatus(Text(u"urn:x#None"), &mark)),
            "behavior \"urn:x#None\" does not exist");

  Ref<INvVexaDomainBehaviors> domains;
  ASSERT_EQ(schema->get_DomainBehaviors(domains.out()), S_OK);
  Ref<INvVexaDomainBehavior> files;
  ASSERT_EQ(domains->Add(Text(u"urn:d#Files"), files.out()), S_OK);
  Ref<INvVexaDomainBehaviorRoleClassMapping> roles;
  ASSERT_EQ(files->get_RoleClassMapping(roles.out()), S_OK);
  ASSERT_EQ(roles->put_Item(Text(u"file"), part.p), S_OK);
  EXPECT_EQ(Failure(roles->put_Item(Text(u""), part.p)), "Role Name cannot be an empty string");
  Ref<INvVexaClass> mapped;
  ASSERT_EQ(roles->get_Item(Text(u"file"), mapped.out()), S_OK);
  EXPECT_EQ(mapped.p, part.p);
}

TEST_F(ClientSchema, LateBoundCallsSupplyTheOptionalArguments) {
  Ref<IDispatch> dispatch;
  ASSERT_EQ(behaviors->QueryInterface(IID_IDispatch, dispatch.vout()), S_OK);
  VARIANT args[2] = {};  // reversed: BehaviorURI, Mode
  args[0].vt = VT_BSTR;
  args[0].bstrVal = SysAllocString(u"urn:x#Late");
  args[1].vt = VT_I4;
  args[1].lVal = mtEmbedded;
  VARIANT result = {};
  ASSERT_EQ(CallByName(dispatch.p, u"add", DISPATCH_METHOD, args, 2, &result), S_OK);
  EXPECT_EQ(result.vt, VT_DISPATCH);
  VariantClear(&result);
  VariantClear(&args[0]);
  LONG count = 0;
  ASSERT_EQ(behaviors->get_Count(&count), S_OK);
  EXPECT_EQ(count, 1);
}

}  // namespace

