// A client's view of the library, built against the installed header and
// library only: creation by CLSID and ProgID, a failure read with
// GetErrorInfo, a late-bound call, a walk of the type information and
// registration. Everything else is tested in-tree.
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

// Takes ownership of a BSTR holding ASCII text.
std::string Take(BSTR text) {
  std::string out;
  for (UINT k = 0; k < SysStringLen(text); ++k) out += static_cast<char>(text[k]);
  SysFreeString(text);
  return out;
}

TEST(Client, CreatesEachClassByClsidAndByItsProgIds) {
  const struct {
    const CLSID& clsid;
    const IID& iid;
    std::u16string progId;  // version-independent; the versioned one adds ".1.0"
  } classes[] = {
      {CLSID_NvVexaWriter, IID_INvVexaWriter, u"NorvVexa1.NvVexaWriter"},
      {CLSID_NvVexaReader, IID_INvVexaReader, u"NorvVexa1.NvVexaReader"},
      {CLSID_NvVexaExternalSchemaWriter, IID_INvVexaExternalSchemaWriter,
       u"NorvVexa1.NvVexaExternalSchemaWriter"},
      {CLSID_NvVexaExternalSchemaReader, IID_INvVexaExternalSchemaReader,
       u"NorvVexa1.NvVexaExternalSchemaReader"},
      {CLSID_NvVexaStdHelper, IID_INvVexaStdHelper, u"NorvVexa1.NvVexaStdHelper"},
      {CLSID_CNvVexaInitializationData, IID_INvVexaInitializationData,
       u"CNvVexaInitializationData.CNvVexaInit"},
  };
  for (const auto& c : classes) {
    for (const std::u16string& progId : {c.progId, c.progId + u".1.0"}) {
      CLSID clsid{};
      EXPECT_TRUE(CLSIDFromProgID(progId.c_str(), &clsid) == S_OK && clsid == c.clsid)
          << std::string(progId.begin(), progId.end());
    }
    Ref<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, c.iid, object.vout()), S_OK);
    EXPECT_NE(object.p, nullptr);
  }
  EXPECT_EQ(DllCanUnloadNow(), S_OK);  // every object is released
}

// The schema rules are tested in-tree; here, how a client meets a failure.
TEST(Client, ReadsAFailureWithGetErrorInfo) {
  Ref<INvVexaWriter> writer;
  Ref<INvVexaSchema> schema;
  Ref<INvVexaClasses> classes;
  Ref<INvVexaClass> part, same;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                             writer.vout()),
            S_OK);
  ASSERT_EQ(writer->get_Schema(schema.out()), S_OK);
  ASSERT_EQ(schema->get_Classes(classes.out()), S_OK);
  BSTR name = SysAllocString(u"Part");
  ASSERT_EQ(classes->Add(name, part.out()), S_OK);
  EXPECT_EQ(classes->Add(name, same.out()), DISP_E_EXCEPTION);
  SysFreeString(name);
  EXPECT_EQ(same.p, nullptr);
  const auto description = []() -> std::string {
    Ref<IErrorInfo> info;
    BSTR text = nullptr;
    if (GetErrorInfo(0, info.out()) != S_OK || info->GetDescription(&text) != S_OK) return "";
    return Take(text);
  };
  EXPECT_EQ(description(), "Class Part already exist");
  // A null pointer for a result keeps its own code, and is described too.
  EXPECT_EQ(schema->get_Classes(nullptr), E_POINTER);
  EXPECT_EQ(description(),
            "Null pointer passed for the out-parameter RetVal of INvVexaSchema.Classes");
}

// A host calls by name, in any letter case, and lists the members from the
// type information.
TEST(Client, CallsByNameAndWalksTheTypeInformation) {
  Ref<INvVexaWriter> writer;
  Ref<INvVexaInitializationData> data;
  Ref<ITypeInfo> info;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                             writer.vout()),
            S_OK);
  ASSERT_EQ(writer->get_InitializationData(data.out()), S_OK);
  DISPID id = 0;
  LPOLESTR name[] = {const_cast<LPOLESTR>(u"SETPROXY")};
  ASSERT_EQ(data->GetIDsOfNames(IID_NULL, name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  VARIANT proxy{};
  proxy.vt = VT_BSTR;
  proxy.bstrVal = SysAllocString(u"late.bound:80");
  DISPPARAMS params{&proxy, nullptr, 1, 0};
  EXPECT_EQ(data->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                         nullptr, nullptr),
            S_OK);
  VariantClear(&proxy);
  BSTR text = nullptr;
  ASSERT_EQ(data->GetProxy(&text), S_OK);
  EXPECT_EQ(Take(text), "late.bound:80");

  ASSERT_EQ(writer->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.out()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(attr->guid == IID_INvVexaWriter && attr->typekind == TKIND_DISPATCH);
  std::string listing;  // "id name(parameter [optional]...)" a line
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &f), S_OK);
    BSTR names[8] = {};
    UINT count = 0;
    info->GetNames(f->memid, names, 8, &count);
    listing += std::to_string(f->memid) + " " + Take(names[0]) + "(";
    for (UINT k = 1; k < count; ++k) {
      const bool optional = f->lprgelemdescParam[k - 1].paramdesc.wParamFlags & PARAMFLAG_FOPT;
      listing += (k > 1 ? " " : "") + (optional ? "[" + Take(names[k]) + "]" : Take(names[k]));
    }
    listing += ")\n";
    info->ReleaseFuncDesc(f);
  }
  info->ReleaseTypeAttr(attr);
  EXPECT_EQ(listing,
            "1 Schema()\n2 DataWriter()\n"
            "3 SetSchemaMode(Mode [SchemaURI] [SchemaLocation] [Load])\n"
            "4 CreateVexaArchiveFile(VexaFileName)\n5 CloseVexaArchiveFile()\n"
            "10 InitializationData()\n7 CreateVexaArchiveFileEx(VexaFileName CompressionLevel)\n");
}

// The test script points NORVVEXA_REGISTRY at a scratch file.
TEST(Client, RegistersAndUnregistersItsClasses) {
  const char* path = std::getenv("NORVVEXA_REGISTRY");
  if (!path) GTEST_SKIP() << "NORVVEXA_REGISTRY is not set";
  const auto read = [path] {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  };
  ASSERT_EQ(DllRegisterServer(), S_OK);
  EXPECT_NE(read().find("[HKEY_CLASSES_ROOT\\NorvVexa1.NvVexaWriter.1.0\\CLSID]\n"
                        "@=\"{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}\"\n"),
            std::string::npos)
      << read();
  ASSERT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_EQ(read().find("NorvVexa1.NvVexaWriter"), std::string::npos) << read();
}

}  // namespace
