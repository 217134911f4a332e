#include "frame/collections/variant_equality.h"

#include "frame/exception.h"

#include <cstring>

namespace nv {
namespace {

bool BstrsEqual(BSTR a, BSTR b) {
  const UINT bytes = SysStringByteLen(a);
  if (bytes != SysStringByteLen(b)) return false;
  return bytes == 0 || std::memcmp(a, b, bytes) == 0;
}

bool DecimalsEqual(const DECIMAL& a, const DECIMAL& b) {
  static_assert(sizeof(DECIMAL) == 16);
  return std::memcmp(&a, &b, sizeof(DECIMAL)) == 0;
}

}  // namespace

bool VariantsEqual(const VARIANT& a, const VARIANT& b) {
  if (a.vt != b.vt) return false;
  switch (a.vt) {
    case VT_EMPTY:
    case VT_NULL: return true;
    case VT_I1: return a.cVal == b.cVal;
    case VT_UI1: return a.bVal == b.bVal;
    case VT_I2: return a.iVal == b.iVal;
    case VT_UI2: return a.uiVal == b.uiVal;
    case VT_I4: return a.lVal == b.lVal;
    case VT_UI4: return a.ulVal == b.ulVal;
    case VT_INT: return a.intVal == b.intVal;
    case VT_UINT: return a.uintVal == b.uintVal;
    case VT_BOOL: return a.boolVal == b.boolVal;
    case VT_ERROR: return a.scode == b.scode;
    case VT_CY: return a.cyVal.int64 == b.cyVal.int64;
    case VT_DATE: return a.date == b.date;
    case VT_R4: return a.fltVal == b.fltVal;
    case VT_R8: return a.dblVal == b.dblVal;
    case VT_BSTR: return BstrsEqual(a.bstrVal, b.bstrVal);
    case VT_UNKNOWN: return a.punkVal == b.punkVal;
    case VT_DISPATCH: return a.pdispVal == b.pdispVal;
    case VT_DECIMAL: return DecimalsEqual(a.decVal, b.decVal);
    default: throw ComError(E_INVALIDARG);
  }
}

}  // namespace nv
