// Type information of the interfaces and creatable classes, for late-bound
// hosts.
#pragma once

#include "frame/automation/automation_api.h"

namespace nv::dispatch {

// Type information for late-bound hosts: one object per dispatch table
// (TKIND_DISPATCH: its members, their kinds, parameter names and types) and
// one per creatable class (TKIND_COCLASS: leads to its default interface).
// The objects are static and live as long as the module, so AddRef and
// Release count nothing and they hold no share of the module's lock count.
struct Member;
struct Table;

// What any type information object shares: QueryInterface, the reference
// count, freeing the descriptions it hands out, refusals for what it lacks.
class StaticTypeInfo : public ITypeInfo {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** comp) override;
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC** desc) override;
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT index, VARDESC** desc) override;
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID id, BSTR* names, UINT max, UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE* ref) override;
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT* flags) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(PVOID instance, MEMBERID id, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excepInfo,
                                   UINT* argErr) override;
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID id, INVOKEKIND kind, BSTR* dll, BSTR* name,
                                        WORD* ordinal) override;
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID id, INVOKEKIND kind, PVOID* ppv) override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, PVOID* ppv) override;
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID id, BSTR* mops) override;
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** lib, UINT* index) override;
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* attr) override;
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC* desc) override;
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC* desc) override;

 protected:
  constexpr StaticTypeInfo() = default;
  ~StaticTypeInfo() = default;

  // A new TYPEATTR for ReleaseTypeAttr, with the fields common to both kinds.
  static HRESULT NewTypeAttr(REFGUID guid, TYPEKIND kind, size_t funcs, WORD implTypes,
                             WORD flags, TYPEATTR** attr);
  // The answer of GetDocumentation, each out-pointer optional; a null name
  // means there is no such element.
  static HRESULT Document(const char16_t* name, const char16_t* doc, BSTR* nameOut,
                          BSTR* docOut, DWORD* helpContext, BSTR* helpFile);
};

// A dual interface as its dispatch table describes it.
class InterfaceTypeInfo final : public StaticTypeInfo {
 public:
  constexpr explicit InterfaceTypeInfo(const Table& table) : table_(table) {}

  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attr) override;
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC** desc) override;
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID id, BSTR* names, UINT max, UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(PVOID instance, MEMBERID id, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excepInfo,
                                   UINT* argErr) override;
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc,
                                             DWORD* helpContext, BSTR* helpFile) override;

 private:
  const Member* Find(MEMBERID id) const;

  const Table& table_;
};

// IProvideClassInfo::GetClassInfo of the creatable class `clsid`.
HRESULT GetClassInfo(REFCLSID clsid, ITypeInfo** info);

}  // namespace nv::dispatch
