// The module's entry points as a host meets them: each class's information
// leading to its dual default interface (the ProgIDs are the client test's),
// the class objects and the unload test; and a type information object that
// names, documents and calls the members it lists.
#include <gtest/gtest.h>

#include "frame/bstr.h"
#include "frame/com_ptr.h"
#include "frame/dispatch.h"
#include "frame/interfaces.h"
#include "frame/module_info.h"
#include "frame/variant.h"

namespace nv {
namespace {

// The GUID and kind that `info` describes, and whether it is dual.
struct Described {
  GUID guid;
  TYPEKIND kind;
  bool dual;
};
Described Describe(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  EXPECT_EQ(info->GetTypeAttr(&attr), S_OK);
  const Described d{attr->guid, attr->typekind, (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0};
  info->ReleaseTypeAttr(attr);
  return d;
}

TEST(Module, EveryClassLeadsToItsDefaultInterface) {
  for (const CoclassInfo* c = CoclassesBegin(); c != CoclassesEnd(); ++c) {
    ComPtr<IProvideClassInfo> provider;
    ASSERT_EQ(CoCreateInstance(c->clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IProvideClassInfo,
                               reinterpret_cast<void**>(provider.put())),
              S_OK);
    ComPtr<ITypeInfo> coclass, itf;
    HREFTYPE ref = 0;
    INT flags = 0;
    ASSERT_EQ(provider->GetClassInfo(coclass.put()), S_OK);
    EXPECT_EQ(Describe(coclass.get()).guid, c->clsid);
    EXPECT_TRUE(coclass->GetImplTypeFlags(0, &flags) == S_OK && flags == IMPLTYPEFLAG_FDEFAULT);
    ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &ref), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(ref, itf.put()), S_OK);
    EXPECT_EQ(coclass->GetRefTypeOfImplType(1, &ref), TYPE_E_ELEMENTNOTFOUND);
    const Described d = Describe(itf.get());
    EXPECT_TRUE(d.guid == c->defaultInterface->iid && d.kind == TKIND_DISPATCH && d.dual);
  }
  CLSID unknown{};
  EXPECT_EQ(CLSIDFromProgID(u"NorvVexa1.NoSuchClass", &unknown), CO_E_CLASSSTRING);
  void* none = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(DllGetClassObject(IID_IDispatch, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER,
                             IID_INvVexaReader, &none),
            E_NOINTERFACE);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(DllGetClassObject(CLSID_NvVexaWriter, IID_IClassFactory,
                              reinterpret_cast<void**>(factory.put())),
            S_OK);
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(Module, TypeInformationNamesDocumentsAndCallsItsMembers) {
  ComPtr<IDispatch> writer;
  ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(writer.put())),
            S_OK);
  UINT count = 0;
  ComPtr<ITypeInfo> info;
  EXPECT_TRUE(writer->GetTypeInfoCount(&count) == S_OK && count == 1);
  EXPECT_EQ(writer->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
  ASSERT_EQ(writer->GetTypeInfo(0, 0, info.put()), S_OK);
  DISPID id = 0;
  LPOLESTR name[] = {const_cast<LPOLESTR>(u"initializationDATA")};
  EXPECT_EQ(writer->GetIDsOfNames(IID_IDispatch, name, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
  EXPECT_TRUE(info->GetIDsOfNames(name, 1, &id) == S_OK && id == 10);
  BSTR text = nullptr;
  ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(Bstr::Attach(text).ToUtf8(), "INvVexaWriter");
  DISPPARAMS noArguments{nullptr, nullptr, 0, 0};
  Variant data;
  EXPECT_EQ(info->Invoke(writer.get(), id, DISPATCH_PROPERTYGET, &noArguments, &data,
                         nullptr, nullptr),
            S_OK);
  EXPECT_EQ(data.Type(), VT_DISPATCH);
  FUNCDESC* function = nullptr;
  BSTR names[1] = {};
  EXPECT_TRUE(info->GetFuncDesc(7, &function) == TYPE_E_ELEMENTNOTFOUND && !function);
  EXPECT_TRUE(info->GetNames(6, names, 1, &count) == TYPE_E_ELEMENTNOTFOUND && count == 0);
}

}  // namespace
}  // namespace nv
