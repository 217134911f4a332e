#include "frame/dispatch.h"

#include "frame/exception.h"

namespace nv::dispatch {
namespace {

char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

bool SameName(const char16_t* a, const char16_t* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b)
    if (FoldCase(*a) != FoldCase(*b)) return false;
  return *a == *b;
}

const Member* FindByName(const Table& table, const char16_t* name) {
  for (size_t i = 0; i < table.count; ++i)
    if (SameName(table.members[i].name, name)) return &table.members[i];
  return nullptr;
}

const Member* FindByKind(const Table& table, DISPID id, WORD kind) {
  for (size_t i = 0; i < table.count; ++i)
    if (table.members[i].dispid == id && table.members[i].kind == kind) return &table.members[i];
  return nullptr;
}

// A caller asking for a method may mean a property get and the other way
// round (scripting hosts pass both flags); a put is only a put.
const Member* FindMember(const Table& table, DISPID id, WORD flags) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
    return FindByKind(table, id, DISPATCH_PROPERTYPUT);
  const Member* m = nullptr;
  if (flags & DISPATCH_METHOD) m = FindByKind(table, id, DISPATCH_METHOD);
  if (!m && (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)))
    m = FindByKind(table, id, DISPATCH_PROPERTYGET);
  if (!m && (flags & DISPATCH_PROPERTYGET)) m = FindByKind(table, id, DISPATCH_METHOD);
  return m;
}

bool IsOmitted(const VARIANT* v) {
  return v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND;
}

// Places the caller's arguments at their parameter positions and notes, for
// each position, its index in rgvarg (for puArgErr).
HRESULT ArrangeArguments(const Member& m, const DISPPARAMS& params,
                         std::vector<VARIANT*>& positional, std::vector<UINT>& origin) {
  positional.assign(m.paramCount, nullptr);
  origin.assign(m.paramCount, 0);
  const UINT unnamed = params.cArgs - params.cNamedArgs;
  const bool put = m.kind == DISPATCH_PROPERTYPUT;
  const UINT unnamedLimit = put ? m.paramCount - 1 : m.paramCount;
  if (unnamed > unnamedLimit) return DISP_E_BADPARAMCOUNT;
  for (UINT k = 0; k < unnamed; ++k) {
    const UINT at = params.cArgs - 1 - k;
    positional[k] = &params.rgvarg[at];
    origin[k] = at;
  }
  bool putValueSeen = false;
  for (UINT j = 0; j < params.cNamedArgs; ++j) {
    DISPID name = params.rgdispidNamedArgs[j];
    if (name == DISPID_PROPERTYPUT && put) {
      name = static_cast<DISPID>(m.paramCount - 1);
      putValueSeen = true;
    }
    if (name < 0 || static_cast<UINT>(name) >= m.paramCount || positional[name])
      return DISP_E_PARAMNOTFOUND;
    positional[name] = &params.rgvarg[j];
    origin[name] = j;
  }
  if (put && !putValueSeen) return DISP_E_PARAMNOTOPTIONAL;
  for (UINT k = 0; k < m.paramCount; ++k) {
    if (positional[k] && IsOmitted(positional[k])) positional[k] = nullptr;
    if (!positional[k] && k < m.requiredCount) return DISP_E_PARAMNOTOPTIONAL;
  }
  return S_OK;
}

void FillExcepInfo(EXCEPINFO* excepInfo, HRESULT hr) {
  *excepInfo = EXCEPINFO{};
  excepInfo->scode = hr;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info) {
    info->GetSource(&excepInfo->bstrSource);
    info->GetDescription(&excepInfo->bstrDescription);
    info->GetHelpFile(&excepInfo->bstrHelpFile);
    info->GetHelpContext(&excepInfo->dwHelpContext);
    info->Release();
  }
}

}  // namespace

// ---- Args ------------------------------------------------------------------------------

Args::~Args() {
  for (VARIANT* v : held_) {
    VariantClear(v);
    delete v;
  }
}

VARIANT* Args::Hold() {
  held_.push_back(new VARIANT);
  VariantInit(held_.back());
  return held_.back();
}

VARIANT* Args::Result() {
  if (result_) VariantClear(result_);
  return result_;
}

HRESULT Args::Get(UINT index, VARTYPE vt, const Default* dflt, VARIANT** value) {
  const VARIANT* source = index < positional_.size() ? positional_[index] : nullptr;
  VARIANT fallback;
  VariantInit(&fallback);
  if (!source) {
    if (!dflt) return DISP_E_PARAMNOTOPTIONAL;
    fallback.vt = dflt->vt;
    if (dflt->vt == VT_BSTR) fallback.bstrVal = SysAllocString(dflt->text);
    else if (dflt->vt == VT_R8) fallback.dblVal = dflt->real;
    else if (dflt->vt == VT_BOOL) fallback.boolVal = static_cast<VARIANT_BOOL>(dflt->integer);
    else if (dflt->vt == VT_ERROR) fallback.scode = static_cast<SCODE>(dflt->integer);
    else fallback.lVal = static_cast<LONG>(dflt->integer);
    source = &fallback;
  }
  VARIANT* held = Hold();
  const HRESULT hr = vt == VT_VARIANT ? VariantCopyInd(held, source)
                                      : VariantChangeType(held, source, 0, vt);
  VariantClear(&fallback);
  if (FAILED(hr)) {
    failed_ = index;
    coerceFailed_ = true;
    return hr;
  }
  *value = held;
  return S_OK;
}

HRESULT Args::GetObject(UINT index, REFIID iid, const Default* dflt, VARIANT** value) {
  VARIANT* object = nullptr;
  const Default none{VT_EMPTY, 0, 0.0, nullptr};
  if (HRESULT hr = Get(index, VT_VARIANT, dflt ? &none : nullptr, &object); FAILED(hr)) return hr;
  IUnknown* unknown = nullptr;
  if (object->vt == VT_DISPATCH || object->vt == VT_UNKNOWN) {
    unknown = object->punkVal;
  } else if (object->vt != VT_EMPTY && object->vt != VT_NULL) {
    failed_ = index;
    coerceFailed_ = true;
    return DISP_E_TYPEMISMATCH;
  }
  VARIANT* held = Hold();
  held->vt = VT_UNKNOWN;
  if (unknown && FAILED(unknown->QueryInterface(iid, &held->byref))) {
    held->vt = VT_EMPTY;
    failed_ = index;
    coerceFailed_ = true;
    return DISP_E_TYPEMISMATCH;
  }
  *value = held;
  return S_OK;
}

void Args::ReturnBstr(BSTR owned) {
  VARIANT* r = Result();
  if (!r) return SysFreeString(owned);
  r->vt = VT_BSTR;
  r->bstrVal = owned;
}

void Args::ReturnVariant(VARIANT& owned) {
  VARIANT* r = Result();
  if (!r) {
    VariantClear(&owned);
    return;
  }
  *r = owned;
  VariantInit(&owned);
}

void Args::ReturnBool(VARIANT_BOOL value) {
  if (VARIANT* r = Result()) {
    r->vt = VT_BOOL;
    r->boolVal = value;
  }
}

void Args::ReturnLong(LONG value) { ReturnScalar(VT_I4, value); }

void Args::ReturnObject(IUnknown* owned) {
  VARIANT* r = Result();
  if (!r) {
    if (owned) owned->Release();
    return;
  }
  IDispatch* dispatch = nullptr;
  if (owned && SUCCEEDED(owned->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    owned->Release();
    r->vt = VT_DISPATCH;
    r->pdispVal = dispatch;
  } else if (owned) {
    r->vt = VT_UNKNOWN;
    r->punkVal = owned;
  } else {
    r->vt = VT_DISPATCH;
    r->pdispVal = nullptr;
  }
}

// ---- IDispatch ------------------------------------------------------------------------------

HRESULT GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT GetTypeInfo(const Table& table, UINT index, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *info = table.typeInfo;
  (*info)->AddRef();
  return S_OK;
}

HRESULT GetIDsOfNames(const Table& table, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  const Member* member = FindByName(table, names[0]);
  ids[0] = member ? member->dispid : DISPID_UNKNOWN;
  HRESULT hr = member ? S_OK : DISP_E_UNKNOWNNAME;
  for (UINT k = 1; k < count; ++k) {
    ids[k] = DISPID_UNKNOWN;
    for (UINT p = 0; member && p < member->paramCount; ++p)
      if (SameName(member->paramNames[p], names[k])) ids[k] = static_cast<DISPID>(p);
    if (ids[k] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

namespace {

HRESULT InvokeMember(const Table& table, IDispatch* self, DISPID id, REFIID riid, WORD flags,
                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  const Member* member = FindMember(table, id, flags);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if (params->cNamedArgs > params->cArgs) return E_INVALIDARG;

  std::vector<VARIANT*> positional;
  std::vector<UINT> origin;
  if (HRESULT hr = ArrangeArguments(*member, *params, positional, origin); FAILED(hr)) return hr;
  if (result) VariantInit(result);

  Args args(std::move(positional), member->kind == DISPATCH_PROPERTYPUT ? nullptr : result);
  const HRESULT hr = member->thunk(self, args);
  if (SUCCEEDED(hr)) return S_OK;
  if (args.CoercionFailed()) {
    if (argErr) *argErr = origin[args.FailedIndex()];
    return hr;
  }
  if (!excepInfo) return hr;
  FillExcepInfo(excepInfo, hr);
  return DISP_E_EXCEPTION;
}

}  // namespace

HRESULT Invoke(const Table& table, IDispatch* self, DISPID id, REFIID riid, WORD flags,
               DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  try {
    return InvokeMember(table, self, id, riid, flags, params, result, excepInfo, argErr);
  } catch (...) {  // the arguments' copies could not be allocated
    const HRESULT hr = frame::ReportCaughtException(nullptr);
    if (!excepInfo) return hr;
    FillExcepInfo(excepInfo, hr);
    return DISP_E_EXCEPTION;
  }
}

}  // namespace nv::dispatch
