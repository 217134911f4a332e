// Late-bound dispatch: GetIDsOfNames and Invoke over a generated table of
// members. Each member's thunk fetches its arguments from Args (coerced to
// the parameter types, defaults for omitted optional ones), calls the vtable
// method and hands its result back.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstdint>
#include <type_traits>
#include <vector>

namespace nv::dispatch {

// The value of an omitted optional argument.
struct Default {
  VARTYPE vt;
  int64_t integer;
  double real;
  const char16_t* text;
};

class Args {
 public:
  Args(std::vector<VARIANT*> positional, VARIANT* result)
      : positional_(std::move(positional)), result_(result) {}
  Args(const Args&) = delete;
  Args& operator=(const Args&) = delete;
  ~Args();

  // Argument `index` coerced to `vt` (VT_VARIANT: as given), or the default
  // when it was omitted; the value stays owned by Args.
  HRESULT Get(UINT index, VARTYPE vt, const Default* dflt, VARIANT** value);
  // Argument `index` as interface `iid` in value->byref (null allowed).
  HRESULT GetObject(UINT index, REFIID iid, const Default* dflt, VARIANT** value);
  // Position (in declaration order) of the argument that failed to coerce.
  UINT FailedIndex() const { return failed_; }
  bool CoercionFailed() const { return coerceFailed_; }

  void ReturnBstr(BSTR owned);
  void ReturnVariant(VARIANT& owned);
  void ReturnBool(VARIANT_BOOL value);
  void ReturnLong(LONG value);
  void ReturnObject(IUnknown* owned);
  template <class T>
  void ReturnScalar(VARTYPE vt, T value);

 private:
  VARIANT* Hold();
  VARIANT* Result();

  std::vector<VARIANT*> positional_;  // null for an omitted argument
  VARIANT* result_;
  std::vector<VARIANT*> held_;
  UINT failed_ = 0;
  bool coerceFailed_ = false;
};

using Thunk = HRESULT (*)(IDispatch* self, Args& args);

struct Member {
  const char16_t* name;
  DISPID dispid;
  WORD kind;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT
  UINT paramCount;
  UINT requiredCount;
  const char16_t* const* paramNames;
  const VARTYPE* paramTypes;  // as described to hosts; VT_VARIANT when any value goes
  VARTYPE resultType;         // VT_VOID when the member answers nothing
  Thunk thunk;
};

// The members of one dual interface, and the type information describing them.
struct Table {
  const Member* members;
  size_t count;
  IID iid;
  const char16_t* name;
  ITypeInfo* typeInfo;
};

HRESULT GetTypeInfoCount(UINT* count);
HRESULT GetTypeInfo(const Table& table, UINT index, ITypeInfo** info);
HRESULT GetIDsOfNames(const Table& table, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
HRESULT Invoke(const Table& table, IDispatch* self, DISPID id, REFIID riid, WORD flags,
               DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr);

template <class T>
void Args::ReturnScalar(VARTYPE vt, T value) {
  VARIANT* r = Result();
  if (!r) return;
  r->vt = vt;
  if constexpr (sizeof(T) == 1) r->bVal = static_cast<BYTE>(value);
  else if constexpr (sizeof(T) == 2) r->iVal = static_cast<SHORT>(value);
  else if constexpr (std::is_same_v<T, FLOAT>) r->fltVal = value;
  else if constexpr (std::is_same_v<T, DOUBLE>) r->dblVal = value;
  else r->lVal = static_cast<LONG>(value);
}

}  // namespace nv::dispatch
