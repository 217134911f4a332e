#include "frame/type_info.h"

#include "frame/module_info.h"
#include "frame/dispatch.h"
#include "nvgen/coclasses.h"

#include <array>
#include <initializer_list>
#include <iterator>
#include <new>
#include <utility>

namespace nv::dispatch {
namespace {

// Answers a new BSTR through `out` when the caller asked for one.
HRESULT StoreText(const char16_t* text, BSTR* out) {
  if (!out) return S_OK;
  *out = text && *text ? SysAllocString(text) : nullptr;
  return (text && *text && !*out) ? E_OUTOFMEMORY : S_OK;
}

INVOKEKIND InvokeKindOf(const Member& m) {
  switch (m.kind) {
    case DISPATCH_PROPERTYGET: return INVOKE_PROPERTYGET;
    case DISPATCH_PROPERTYPUT: return INVOKE_PROPERTYPUT;
    default: return INVOKE_FUNC;
  }
}

ELEMDESC ElementOf(VARTYPE vt, USHORT paramFlags) {
  ELEMDESC e{};
  e.tdesc.vt = vt;
  e.paramdesc.wParamFlags = paramFlags;
  return e;
}

}  // namespace

// ---- Shared by every kind ------------------------------------------------------------

HRESULT StaticTypeInfo::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  const bool ours = riid == IID_IUnknown || riid == IID_ITypeInfo;
  *ppv = ours ? static_cast<ITypeInfo*>(this) : nullptr;
  return ours ? S_OK : E_NOINTERFACE;
}

HRESULT StaticTypeInfo::NewTypeAttr(REFGUID guid, TYPEKIND kind, size_t funcs, WORD implTypes,
                                    WORD flags, TYPEATTR** attr) {
  if (!attr) return E_POINTER;
  *attr = new (std::nothrow) TYPEATTR{};
  if (!*attr) return E_OUTOFMEMORY;
  TYPEATTR& a = **attr;
  a.guid = guid;
  a.memidConstructor = MEMBERID_NIL;
  a.memidDestructor = MEMBERID_NIL;
  a.cbSizeInstance = sizeof(void*);
  a.typekind = kind;
  a.cFuncs = static_cast<WORD>(funcs);
  a.cImplTypes = implTypes;
  if (kind == TKIND_DISPATCH) a.cbSizeVft = static_cast<WORD>(7 * sizeof(void*));  // IDispatch
  a.cbAlignment = alignof(void*);
  a.wTypeFlags = flags;
  a.tdescAlias.vt = VT_EMPTY;
  return S_OK;
}

HRESULT StaticTypeInfo::Document(const char16_t* name, const char16_t* doc, BSTR* nameOut,
                                 BSTR* docOut, DWORD* helpContext, BSTR* helpFile) {
  for (BSTR* out : {nameOut, docOut, helpFile})
    if (out) *out = nullptr;
  if (helpContext) *helpContext = 0;
  if (!name) return TYPE_E_ELEMENTNOTFOUND;
  if (HRESULT hr = StoreText(name, nameOut); FAILED(hr)) return hr;
  if (HRESULT hr = StoreText(doc, docOut); FAILED(hr)) {
    if (nameOut) SysFreeString(*nameOut);
    if (nameOut) *nameOut = nullptr;
    return hr;
  }
  return S_OK;
}

void StaticTypeInfo::ReleaseTypeAttr(TYPEATTR* attr) { delete attr; }

void StaticTypeInfo::ReleaseFuncDesc(FUNCDESC* desc) {
  if (!desc) return;
  delete[] desc->lprgelemdescParam;
  delete desc;
}

// Neither kind hands out variable descriptions.
void StaticTypeInfo::ReleaseVarDesc(VARDESC*) {}

HRESULT StaticTypeInfo::GetFuncDesc(UINT, FUNCDESC** desc) {
  if (desc) *desc = nullptr;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT StaticTypeInfo::GetVarDesc(UINT, VARDESC** desc) {
  if (desc) *desc = nullptr;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT StaticTypeInfo::GetNames(MEMBERID, BSTR*, UINT, UINT* count) {
  if (count) *count = 0;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT StaticTypeInfo::GetRefTypeOfImplType(UINT, HREFTYPE* ref) {
  if (ref) *ref = 0;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT StaticTypeInfo::GetImplTypeFlags(UINT, INT* flags) {
  if (flags) *flags = 0;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT StaticTypeInfo::GetRefTypeInfo(HREFTYPE, ITypeInfo** info) {
  if (info) *info = nullptr;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT StaticTypeInfo::GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) { return E_NOTIMPL; }

HRESULT StaticTypeInfo::Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT StaticTypeInfo::GetTypeComp(ITypeComp** comp) {
  if (comp) *comp = nullptr;
  return E_NOTIMPL;
}

HRESULT StaticTypeInfo::GetDllEntry(MEMBERID, INVOKEKIND, BSTR* dll, BSTR* name, WORD* ordinal) {
  if (dll) *dll = nullptr;
  if (name) *name = nullptr;
  if (ordinal) *ordinal = 0;
  return E_NOTIMPL;
}

HRESULT StaticTypeInfo::AddressOfMember(MEMBERID, INVOKEKIND, PVOID* ppv) {
  if (ppv) *ppv = nullptr;
  return E_NOTIMPL;
}

HRESULT StaticTypeInfo::CreateInstance(IUnknown*, REFIID, PVOID* ppv) {
  if (ppv) *ppv = nullptr;
  return E_NOTIMPL;
}

HRESULT StaticTypeInfo::GetMops(MEMBERID, BSTR* mops) {
  if (mops) *mops = nullptr;
  return E_NOTIMPL;
}

HRESULT StaticTypeInfo::GetContainingTypeLib(ITypeLib** lib, UINT* index) {
  if (lib) *lib = nullptr;
  if (index) *index = 0;
  return E_NOTIMPL;
}

// ---- A dual interface -------------------------------------------------------------------

const Member* InterfaceTypeInfo::Find(MEMBERID id) const {
  for (size_t i = 0; i < table_.count; ++i)
    if (table_.members[i].dispid == id) return &table_.members[i];
  return nullptr;
}

HRESULT InterfaceTypeInfo::GetTypeAttr(TYPEATTR** attr) {
  return NewTypeAttr(table_.iid, TKIND_DISPATCH, table_.count, 0,
                     TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE, attr);
}

HRESULT InterfaceTypeInfo::GetFuncDesc(UINT index, FUNCDESC** desc) {
  if (!desc) return E_POINTER;
  *desc = nullptr;
  if (index >= table_.count) return TYPE_E_ELEMENTNOTFOUND;
  const Member& m = table_.members[index];
  FUNCDESC* d = new (std::nothrow) FUNCDESC{};
  if (!d) return E_OUTOFMEMORY;
  if (m.paramCount > 0) {
    d->lprgelemdescParam = new (std::nothrow) ELEMDESC[m.paramCount];
    if (!d->lprgelemdescParam) {
      delete d;
      return E_OUTOFMEMORY;
    }
  }
  for (UINT p = 0; p < m.paramCount; ++p) {
    const bool optional = p >= m.requiredCount;
    d->lprgelemdescParam[p] =
        ElementOf(m.paramTypes[p], PARAMFLAG_FIN | (optional ? PARAMFLAG_FOPT : 0));
  }
  d->memid = m.dispid;
  d->funckind = FUNC_DISPATCH;
  d->invkind = InvokeKindOf(m);
  d->callconv = CC_STDCALL;
  d->cParams = static_cast<SHORT>(m.paramCount);
  d->cParamsOpt = static_cast<SHORT>(m.paramCount - m.requiredCount);
  d->elemdescFunc = ElementOf(m.resultType, PARAMFLAG_NONE);
  *desc = d;
  return S_OK;
}

// The member's name, then its parameters' names, as many as fit.
HRESULT InterfaceTypeInfo::GetNames(MEMBERID id, BSTR* names, UINT max, UINT* count) {
  if (!names || !count) return E_POINTER;
  *count = 0;
  const Member* m = Find(id);
  if (!m) return TYPE_E_ELEMENTNOTFOUND;
  const UINT available = 1 + m->paramCount;
  for (UINT k = 0; k < available && k < max; ++k) {
    if (HRESULT hr = StoreText(k == 0 ? m->name : m->paramNames[k - 1], &names[k]);
        FAILED(hr)) {
      for (UINT j = 0; j < k; ++j) SysFreeString(names[j]);
      *count = 0;
      return hr;
    }
    *count = k + 1;
  }
  return S_OK;
}

HRESULT InterfaceTypeInfo::GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) {
  return dispatch::GetIDsOfNames(table_, IID_NULL, names, count, ids);
}

// Calls go through the instance's own IDispatch, which knows its table.
HRESULT InterfaceTypeInfo::Invoke(PVOID instance, MEMBERID id, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  if (!instance) return E_INVALIDARG;
  return static_cast<IDispatch*>(instance)->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags,
                                                   params, result, excepInfo, argErr);
}

HRESULT InterfaceTypeInfo::GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc,
                                            DWORD* helpContext, BSTR* helpFile) {
  const Member* m = Find(id);
  const char16_t* text = id == MEMBERID_NIL ? table_.name : m ? m->name : nullptr;
  return Document(text, nullptr, name, doc, helpContext, helpFile);
}

// The coclass type information behind IProvideClassInfo: the class's
// identity and name, and one implemented interface, the default one, whose
// type information lists the members.

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
