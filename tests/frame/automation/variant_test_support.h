// Automation test helpers: variant makers, an owning wrapper for table rows,
// value comparison and a counted fake object with a value property.
#pragma once

#include "frame/automation/automation_api.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace nvtest {

// Owns a VARIANT; copies deep, so table rows can be copied freely.
struct Var {
  VARIANT v;
  Var() { VariantInit(&v); }
  Var(const VARIANT& value) : v(value) {}  // NOLINT: takes ownership
  Var(const Var& other) {
    VariantInit(&v);
    VariantCopy(&v, &other.v);
  }
  Var& operator=(const Var&) = delete;
  ~Var() { VariantClear(&v); }
};

template <class Set>
inline VARIANT Make(VARTYPE vt, Set set) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  set(v);
  return v;
}

inline VARIANT Empty() { return Make(VT_EMPTY, [](VARIANT&) {}); }
inline VARIANT Null() { return Make(VT_NULL, [](VARIANT&) {}); }
inline VARIANT I1(int8_t x) { return Make(VT_I1, [=](VARIANT& v) { v.cVal = CHAR(x); }); }
inline VARIANT UI1(uint8_t x) { return Make(VT_UI1, [=](VARIANT& v) { v.bVal = x; }); }
inline VARIANT I2(int16_t x) { return Make(VT_I2, [=](VARIANT& v) { v.iVal = x; }); }
inline VARIANT I4(int32_t x) { return Make(VT_I4, [=](VARIANT& v) { v.lVal = x; }); }
inline VARIANT UI4(uint32_t x) { return Make(VT_UI4, [=](VARIANT& v) { v.ulVal = x; }); }
inline VARIANT I8(int64_t x) { return Make(VT_I8, [=](VARIANT& v) { v.llVal = x; }); }
inline VARIANT UI8(uint64_t x) { return Make(VT_UI8, [=](VARIANT& v) { v.ullVal = x; }); }
inline VARIANT R4(float x) { return Make(VT_R4, [=](VARIANT& v) { v.fltVal = x; }); }
inline VARIANT R8(double x) { return Make(VT_R8, [=](VARIANT& v) { v.dblVal = x; }); }
// `x` is the value times 10000.
inline VARIANT Cy(int64_t x) { return Make(VT_CY, [=](VARIANT& v) { v.cyVal.int64 = x; }); }
inline VARIANT Bool(VARIANT_BOOL x) { return Make(VT_BOOL, [=](VARIANT& v) { v.boolVal = x; }); }
inline VARIANT Date(DATE x) { return Make(VT_DATE, [=](VARIANT& v) { v.date = x; }); }
inline VARIANT Error(SCODE x) { return Make(VT_ERROR, [=](VARIANT& v) { v.scode = x; }); }
inline VARIANT Str(std::u16string_view text) {
  return Make(VT_BSTR, [=](VARIANT& v) {
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  });
}

inline std::u16string_view View(BSTR text) { return {text, SysStringLen(text)}; }

// Type and value equal; reals compare exactly (bit for bit but 0 == -0).
inline void ExpectSameValue(const VARIANT& actual, const VARIANT& expected) {
  ASSERT_EQ(actual.vt, expected.vt) << "bits " << actual.ullVal;
  switch (actual.vt) {
    case VT_EMPTY: case VT_NULL: return;
    case VT_I1: case VT_UI1: EXPECT_EQ(actual.bVal, expected.bVal); return;
    case VT_I2: case VT_UI2: case VT_BOOL: EXPECT_EQ(actual.uiVal, expected.uiVal); return;
    case VT_R4: EXPECT_EQ(actual.fltVal, expected.fltVal); return;
    case VT_R8: case VT_DATE: EXPECT_EQ(actual.dblVal, expected.dblVal); return;
    case VT_I8: case VT_UI8: case VT_CY: EXPECT_EQ(actual.ullVal, expected.ullVal); return;
    case VT_BSTR: EXPECT_EQ(View(actual.bstrVal), View(expected.bstrVal)); return;
    case VT_DISPATCH: case VT_UNKNOWN: EXPECT_EQ(actual.punkVal, expected.punkVal); return;
    default: EXPECT_EQ(actual.ulVal, expected.ulVal); return;
  }
}

// A stack-held dispatch object that counts references and answers
// DISPID_VALUE with a preset value.
class FakeObject : public IDispatch {
 public:
  explicit FakeObject(bool dispatchable = true) : dispatchable_(dispatchable) {}
  ~FakeObject() { VariantClear(&value_); }

  void SetValue(const VARIANT& value) {
    VariantClear(&value_);
    value_ = value;
  }
  IUnknown* unknown() { return static_cast<IUnknown*>(this); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    *out = nullptr;
    if (riid == IID_IUnknown) *out = unknown();
    else if (riid == IID_IDispatch && dispatchable_) *out = static_cast<IDispatch*>(this);
    else return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    ++invokes;
    if (member != DISPID_VALUE || flags != DISPATCH_PROPERTYGET || params->cArgs != 0)
      return DISP_E_MEMBERNOTFOUND;
    return VariantCopy(result, &value_);
  }

  ULONG refs = 1;  // starts with the stack's own reference
  int invokes = 0;

 private:
  bool dispatchable_;
  VARIANT value_{};  // VT_EMPTY
};

inline VARIANT Dispatch(FakeObject& object) {
  object.AddRef();
  return Make(VT_DISPATCH, [&](VARIANT& v) { v.pdispVal = &object; });
}
inline VARIANT Unknown(FakeObject& object) {
  object.AddRef();
  return Make(VT_UNKNOWN, [&](VARIANT& v) { v.punkVal = object.unknown(); });
}

// One conversion; `expected` is unused when it fails.
struct CoerceRow {
  Var source;
  VARTYPE target;
  HRESULT result;
  Var expected;
  USHORT flags = 0;
};

// Converts into a destination holding a sentinel, which a failure must keep.
inline void CheckCoercions(const std::vector<CoerceRow>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const CoerceRow& row = rows[i];
    SCOPED_TRACE("row " + std::to_string(i) + " to vt " + std::to_string(row.target));
    Var out(I4(0x5EED));
    EXPECT_EQ(VariantChangeType(&out.v, &row.source.v, row.flags, row.target), row.result);
    ExpectSameValue(out.v, SUCCEEDED(row.result) ? row.expected.v : I4(0x5EED));
  }
}

}  // namespace nvtest
