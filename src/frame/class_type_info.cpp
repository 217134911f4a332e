// The coclass type information behind IProvideClassInfo: the class's
// identity and name, and one implemented interface, the default one, whose
// type information lists the members.
#include "frame/coclass_table.h"
#include "frame/dispatch.h"
#include "frame/type_info.h"
#include "nvgen/coclasses.h"

#include <array>
#include <iterator>
#include <utility>

namespace nv::dispatch {
namespace {

// The reference that leads from a class to its default interface.
constexpr HREFTYPE kDefaultInterfaceRef = 1;

class ClassTypeInfo final : public StaticTypeInfo {
 public:
  constexpr explicit ClassTypeInfo(const CoclassInfo& coclass) : coclass_(coclass) {}

  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attr) override {
    return NewTypeAttr(coclass_.clsid, TKIND_COCLASS, 0, 1, TYPEFLAG_FCANCREATE, attr);
  }

  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE* ref) override {
    if (!ref) return E_POINTER;
    if (index != 0) return StaticTypeInfo::GetRefTypeOfImplType(index, ref);
    *ref = kDefaultInterfaceRef;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT* flags) override {
    if (!flags) return E_POINTER;
    if (index != 0) return StaticTypeInfo::GetImplTypeFlags(index, flags);
    *flags = IMPLTYPEFLAG_FDEFAULT;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    if (ref != kDefaultInterfaceRef) return StaticTypeInfo::GetRefTypeInfo(ref, info);
    return dispatch::GetTypeInfo(*coclass_.defaultInterface, 0, info);
  }

  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc,
                                             DWORD* helpContext, BSTR* helpFile) override {
    const bool self = id == MEMBERID_NIL;
    return Document(self ? coclass_.name : nullptr, coclass_.description, name, doc,
                    helpContext, helpFile);
  }

 private:
  const CoclassInfo& coclass_;
};

template <size_t... I>
constexpr std::array<ClassTypeInfo, sizeof...(I)> ClassTypeInfos(std::index_sequence<I...>) {
  return {ClassTypeInfo(kCoclasses[I])...};
}

// One object per creatable class, in the order of kCoclasses.
constinit std::array gClassTypeInfos =
    ClassTypeInfos(std::make_index_sequence<std::size(kCoclasses)>());

}  // namespace

HRESULT GetClassInfo(REFCLSID clsid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const CoclassInfo* coclass = FindCoclass(clsid);
  if (!coclass) return E_NOTIMPL;
  *info = &gClassTypeInfos[static_cast<size_t>(coclass - std::begin(kCoclasses))];
  return S_OK;
}

}  // namespace nv::dispatch
