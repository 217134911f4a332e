// Numeric coercion: range checks, half-to-even rounding and the CY scale.
#include "frame/automation/coerce_internal.h"
#include "frame/automation/calendar.h"

#include <cfloat>
#include <cmath>

namespace nv {

namespace {

struct IntegerType {
  VARTYPE vt;
  uint64_t minMagnitude;  // magnitude of the most negative value
  uint64_t max;
  int bytes;
};

constexpr IntegerType kIntegerTypes[] = {
    {VT_I1, 128, INT8_MAX, 1},
    {VT_UI1, 0, UINT8_MAX, 1},
    {VT_I2, 32768, INT16_MAX, 2},
    {VT_UI2, 0, UINT16_MAX, 2},
    {VT_I4, 2147483648u, INT32_MAX, 4},
    {VT_UI4, 0, UINT32_MAX, 4},
    {VT_INT, 2147483648u, INT32_MAX, 4},
    {VT_UINT, 0, UINT32_MAX, 4},
    {VT_I8, 9223372036854775808u, INT64_MAX, 8},
    {VT_UI8, 0, UINT64_MAX, 8},
};

const IntegerType* FindIntegerType(VARTYPE vt) {
  for (const IntegerType& type : kIntegerTypes)
    if (type.vt == vt) return &type;
  return nullptr;
}

// Two's complement bits, truncated to the target width by the store.
void WriteBits(const IntegerType& type, uint64_t bits, VARIANT* out) {
  switch (type.bytes) {
    case 1: out->bVal = static_cast<BYTE>(bits); break;
    case 2: out->uiVal = static_cast<USHORT>(bits); break;
    case 4: out->ulVal = static_cast<ULONG>(bits); break;
    default: out->ullVal = bits; break;
  }
  out->vt = type.vt;
}

// Nearest integer, ties to even, whatever the floating-point rounding mode.
double RoundHalfEven(double x) {
  const double lower = std::floor(x);
  const double above = x - lower;
  if (above != 0.5) return above < 0.5 ? lower : lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

bool WholeFromReal(double x, Whole* out) {
  const double r = RoundHalfEven(x);
  if (!(r > -kTwoTo64 && r < kTwoTo64)) return false;  // NaN too
  *out = {r < 0, static_cast<uint64_t>(std::fabs(r))};
  return true;
}

Whole WholeFromCurrency(int64_t scaled) {
  const bool negative = scaled < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : scaled;
  uint64_t units = magnitude / 10000;
  const uint64_t rest = magnitude % 10000;
  if (rest > 5000 || (rest == 5000 && (units & 1))) ++units;
  return {negative && units != 0, units};
}

bool ToWhole(const Number& value, Whole* out) {
  switch (value.kind) {
    case Number::Kind::kWhole: *out = value.whole; return true;
    case Number::Kind::kReal: return WholeFromReal(value.real, out);
    case Number::Kind::kCurrency: *out = WholeFromCurrency(value.currency); return true;
  }
  return false;
}

double ToDouble(const Number& value) {
  switch (value.kind) {
    case Number::Kind::kWhole: {
      const auto magnitude = static_cast<double>(value.whole.magnitude);
      return value.whole.negative ? -magnitude : magnitude;
    }
    case Number::Kind::kReal: return value.real;
    case Number::Kind::kCurrency: return static_cast<double>(value.currency) / 10000;
  }
  return 0;
}

bool IsNonZero(const Number& value) {
  switch (value.kind) {
    case Number::Kind::kWhole: return value.whole.magnitude != 0;
    case Number::Kind::kReal: return value.real != 0;  // NaN counts as true
    case Number::Kind::kCurrency: return value.currency != 0;
  }
  return false;
}

HRESULT StoreInteger(const Number& value, const IntegerType& type, VARIANT* out) {
  Whole whole;
  if (!ToWhole(value, &whole)) return DISP_E_OVERFLOW;
  const uint64_t limit = whole.negative ? type.minMagnitude : type.max;
  if (whole.magnitude > limit) return DISP_E_OVERFLOW;
  WriteBits(type, whole.negative ? 0 - whole.magnitude : whole.magnitude, out);
  return S_OK;
}

// CY holds the value times 10000 in an int64_t.
HRESULT StoreCurrency(const Number& value, VARIANT* out) {
  int64_t scaled = 0;
  if (value.kind == Number::Kind::kCurrency) {
    scaled = value.currency;
  } else if (value.kind == Number::Kind::kWhole) {
    constexpr uint64_t kMaxUnits = INT64_MAX / 10000;
    if (value.whole.magnitude > kMaxUnits) return DISP_E_OVERFLOW;
    scaled = static_cast<int64_t>(value.whole.magnitude) * 10000;
    if (value.whole.negative) scaled = -scaled;
  } else {
    const double r = RoundHalfEven(value.real * 10000);
    if (!(r >= -kTwoTo63 && r < kTwoTo63)) return DISP_E_OVERFLOW;
    scaled = static_cast<int64_t>(r);
  }
  out->cyVal.int64 = scaled;
  out->vt = VT_CY;
  return S_OK;
}

HRESULT StoreReal(double value, VARTYPE target, VARIANT* out) {
  if (target == VT_R4) {
    if (std::fabs(value) > FLT_MAX) return DISP_E_OVERFLOW;
    out->fltVal = static_cast<float>(value);
  } else if (target == VT_DATE) {
    if (!(value > kMinDate - 1 && value < kMaxDate + 1)) return DISP_E_OVERFLOW;
    out->date = value;
  } else {
    out->dblVal = value;
  }
  out->vt = target;
  return S_OK;
}

}  // namespace

Number Number::Signed(int64_t value) {
  const bool negative = value < 0;
  return FromWhole({negative, negative ? 0 - static_cast<uint64_t>(value)
                                       : static_cast<uint64_t>(value)});
}
Number Number::Unsigned(uint64_t value) { return FromWhole({false, value}); }
Number Number::FromWhole(Whole value) {
  Number n;
  n.whole = value;
  return n;
}
Number Number::Real(double value) {
  Number n;
  n.kind = Kind::kReal;
  n.real = value;
  return n;
}
Number Number::Currency(int64_t scaled) {
  Number n;
  n.kind = Kind::kCurrency;
  n.currency = scaled;
  return n;
}

bool IsIntegerType(VARTYPE vt) { return FindIntegerType(vt) != nullptr; }

Number NumberOf(const VARIANT& scalar) {
  switch (scalar.vt) {
    case VT_I1: return Number::Signed(static_cast<int8_t>(scalar.cVal));  // char may be unsigned
    case VT_UI1: return Number::Unsigned(scalar.bVal);
    case VT_I2: return Number::Signed(scalar.iVal);
    case VT_UI2: return Number::Unsigned(scalar.uiVal);
    case VT_I4: return Number::Signed(scalar.lVal);
    case VT_UI4: return Number::Unsigned(scalar.ulVal);
    case VT_INT: return Number::Signed(scalar.intVal);
    case VT_UINT: return Number::Unsigned(scalar.uintVal);
    case VT_I8: return Number::Signed(scalar.llVal);
    case VT_UI8: return Number::Unsigned(scalar.ullVal);
    case VT_R4: return Number::Real(scalar.fltVal);
    case VT_R8: return Number::Real(scalar.dblVal);
    case VT_DATE: return Number::Real(scalar.date);
    case VT_CY: return Number::Currency(scalar.cyVal.int64);
    case VT_BOOL: return Number::Signed(scalar.boolVal);
    default: return Number{};
  }
}

HRESULT StoreNumber(const Number& value, VARTYPE target, VARIANT* out) {
  if (const IntegerType* type = FindIntegerType(target)) return StoreInteger(value, *type, out);
  switch (target) {
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      return StoreReal(ToDouble(value), target, out);
    case VT_CY:
      return StoreCurrency(value, out);
    case VT_BOOL:
      out->boolVal = IsNonZero(value) ? VARIANT_TRUE : VARIANT_FALSE;
      out->vt = VT_BOOL;
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

HRESULT StoreBoolean(VARIANT_BOOL value, VARTYPE target, VARIANT* out) {
  const IntegerType* type = FindIntegerType(target);
  if (type == nullptr || type->minMagnitude != 0)
    return StoreNumber(Number::Signed(value), target, out);
  WriteBits(*type, static_cast<uint64_t>(int64_t{value}), out);
  return S_OK;
}

}  // namespace nv
