#include "frame/automation/automation_api.h"
#include "variant_test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace {

using namespace nvtest;

constexpr HRESULT kOverflow = DISP_E_OVERFLOW;
constexpr HRESULT kMismatch = DISP_E_TYPEMISMATCH;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CoerceNumber, IntegerRangesAreCheckedAtEveryWidth) {
  CheckCoercions({
      {I4(127), VT_I1, S_OK, I1(127)},
      {I4(128), VT_I1, kOverflow, {}},
      {I4(-128), VT_I1, S_OK, I1(-128)},
      {I4(-129), VT_I1, kOverflow, {}},
      {I4(255), VT_UI1, S_OK, UI1(255)},
      {I4(256), VT_UI1, kOverflow, {}},
      {I4(-1), VT_UI1, kOverflow, {}},
      {I4(32767), VT_I2, S_OK, I2(32767)},
      {I4(32768), VT_I2, kOverflow, {}},
      {I4(-32769), VT_I2, kOverflow, {}},
      {I4(65535), VT_UI2, S_OK, UI2(65535)},
      {I4(65536), VT_UI2, kOverflow, {}},
      {I2(-1), VT_UI2, kOverflow, {}},
      {I8(2147483647), VT_I4, S_OK, I4(2147483647)},
      {I8(2147483648), VT_I4, kOverflow, {}},
      {I8(-2147483648LL), VT_I4, S_OK, I4(INT32_MIN)},
      {I8(-2147483649LL), VT_I4, kOverflow, {}},
      {UI4(2147483648u), VT_INT, kOverflow, {}},
      {I8(4294967295), VT_UI4, S_OK, UI4(4294967295u)},
      {I8(4294967296), VT_UI4, kOverflow, {}},
      {I8(4294967296), VT_UINT, kOverflow, {}},
      {I4(-1), VT_UINT, kOverflow, {}},
      {UI8(INT64_MAX), VT_I8, S_OK, I8(INT64_MAX)},
      {UI8(uint64_t{INT64_MAX} + 1), VT_I8, kOverflow, {}},
      {I8(-1), VT_UI8, kOverflow, {}},
      {I1(-1), VT_I4, S_OK, I4(-1)},  // VT_I1 is signed whatever char is
      {UI4(4294967295u), VT_I8, S_OK, I8(4294967295)},
  });
}

TEST(CoerceNumber, RealsRoundHalfToEvenAfterARangeCheck) {
  CheckCoercions({
      {R8(2.5), VT_I4, S_OK, I4(2)},
      {R8(3.5), VT_I4, S_OK, I4(4)},
      {R8(-2.5), VT_I4, S_OK, I4(-2)},
      {R8(0.5), VT_I4, S_OK, I4(0)},
      {R8(2.5000001), VT_I4, S_OK, I4(3)},
      {R8(127.49), VT_I1, S_OK, I1(127)},
      {R8(127.5), VT_I1, kOverflow, {}},  // rounds to 128
      {R8(-128.5), VT_I1, S_OK, I1(-128)},
      {R8(-128.51), VT_I1, kOverflow, {}},
      {R8(254.5), VT_UI1, S_OK, UI1(254)},
      {R8(255.5), VT_UI1, kOverflow, {}},
      {R8(-0.5), VT_UI1, S_OK, UI1(0)},
      {R8(-0.51), VT_UI1, kOverflow, {}},
      {R8(2147483647.4), VT_I4, S_OK, I4(INT32_MAX)},
      {R8(2147483647.5), VT_I4, kOverflow, {}},
      {R8(-2147483648.5), VT_I4, S_OK, I4(INT32_MIN)},
      {R8(9223372036854775808.0), VT_I8, kOverflow, {}},
      {R8(-9223372036854775808.0), VT_I8, S_OK, I8(INT64_MIN)},
      {R8(18446744073709549568.0), VT_UI8, S_OK, UI8(18446744073709549568u)},
      {R8(18446744073709551616.0), VT_UI8, kOverflow, {}},
      {R8(kNaN), VT_I4, kOverflow, {}},
      {R8(kInf), VT_I8, kOverflow, {}},
      {R4(2.5f), VT_I2, S_OK, I2(2)},
      {R4(-3.5f), VT_I2, S_OK, I2(-4)},
      {Date(1.5), VT_I4, S_OK, I4(2)},
      {Cy(25000), VT_I4, S_OK, I4(2)},
      {Cy(-25000), VT_I4, S_OK, I4(-2)},
      {Cy(25001), VT_I4, S_OK, I4(3)},
      {Cy(INT64_MIN), VT_I8, S_OK, I8(-922337203685478)},
      {Cy(INT64_MIN), VT_I4, kOverflow, {}},
  });
}

TEST(CoerceNumber, RealAndDateRanges) {
  CheckCoercions({
      {R8(1e39), VT_R4, kOverflow, {}},
      {R8(kInf), VT_R4, kOverflow, {}},
      {R8(FLT_MAX), VT_R4, S_OK, R4(FLT_MAX)},
      {R8(0.1), VT_R4, S_OK, R4(0.1f)},
      {R4(0.1f), VT_R8, S_OK, R8(double{0.1f})},
      {I8(INT64_MAX), VT_R8, S_OK, R8(9223372036854775807.0)},
      {Date(45356.25), VT_R8, S_OK, R8(45356.25)},
      {R8(2958465.9), VT_DATE, S_OK, Date(2958465.9)},
      {R8(2958466.0), VT_DATE, kOverflow, {}},
      {R8(-657434.9), VT_DATE, S_OK, Date(-657434.9)},
      {R8(-657435.0), VT_DATE, kOverflow, {}},
      {R8(kNaN), VT_DATE, kOverflow, {}},
      {I4(3000000), VT_DATE, kOverflow, {}},
      {I4(-1), VT_DATE, S_OK, Date(-1)},
      {Cy(12345), VT_R8, S_OK, R8(1.2345)},
  });
}

TEST(CoerceNumber, CurrencyScaleAndRange) {
  CheckCoercions({
      {I4(5), VT_CY, S_OK, Cy(50000)},
      {I8(922337203685477), VT_CY, S_OK, Cy(9223372036854770000)},
      {I8(922337203685478), VT_CY, kOverflow, {}},
      {I8(-922337203685477), VT_CY, S_OK, Cy(-9223372036854770000)},
      {I8(-922337203685478), VT_CY, kOverflow, {}},
      {UI8(UINT64_MAX), VT_CY, kOverflow, {}},
      {R8(1.23456), VT_CY, S_OK, Cy(12346)},
      {R8(-0.125), VT_CY, S_OK, Cy(-1250)},
      {R8(9.3e14), VT_CY, kOverflow, {}},
      {R8(kNaN), VT_CY, kOverflow, {}},
  });
}

TEST(CoerceNumber, BooleansAreMinusOneAndZero) {
  CheckCoercions({
      {Bool(-1), VT_I4, S_OK, I4(-1)},
      {Bool(0), VT_I4, S_OK, I4(0)},
      {Bool(-1), VT_I1, S_OK, I1(-1)},
      {Bool(-1), VT_UI1, S_OK, UI1(255)},  // unsigned targets keep the bits
      {Bool(-1), VT_UI4, S_OK, UI4(4294967295u)},
      {Bool(-1), VT_UI8, S_OK, UI8(UINT64_MAX)},
      {Bool(-1), VT_R8, S_OK, R8(-1)},
      {Bool(-1), VT_CY, S_OK, Cy(-10000)},
      {Bool(-1), VT_DATE, S_OK, Date(-1)},
      {I4(2), VT_BOOL, S_OK, Bool(-1)},
      {I4(0), VT_BOOL, S_OK, Bool(0)},
      {UI8(UINT64_MAX), VT_BOOL, S_OK, Bool(-1)},
      {R8(0.1), VT_BOOL, S_OK, Bool(-1)},
      {R8(-0.0), VT_BOOL, S_OK, Bool(0)},
      {R8(kNaN), VT_BOOL, S_OK, Bool(-1)},
      {Cy(1), VT_BOOL, S_OK, Bool(-1)},
      {Date(0), VT_BOOL, S_OK, Bool(0)},
  });
}

TEST(CoerceNumber, EmptyNullAndError) {
  CheckCoercions({
      {Empty(), VT_I4, S_OK, I4(0)},
      {Empty(), VT_UI8, S_OK, UI8(0)},
      {Empty(), VT_R8, S_OK, R8(0)},
      {Empty(), VT_CY, S_OK, Cy(0)},
      {Empty(), VT_BOOL, S_OK, Bool(0)},
      {Empty(), VT_DATE, S_OK, Date(0)},
      {Empty(), VT_BSTR, S_OK, Str(u"")},
      {Empty(), VT_NULL, S_OK, Null()},
      {Empty(), VT_ERROR, kMismatch, {}},
      {Null(), VT_I4, kMismatch, {}},
      {Null(), VT_BOOL, kMismatch, {}},
      {Null(), VT_DATE, kMismatch, {}},
      {Null(), VT_BSTR, kMismatch, {}},
      {Null(), VT_NULL, S_OK, Null()},
      {Null(), VT_EMPTY, S_OK, Empty()},
      {Error(5), VT_I4, kMismatch, {}},
      {Error(5), VT_BSTR, kMismatch, {}},
      {Error(5), VT_ERROR, S_OK, Error(5)},
      {Error(5), VT_EMPTY, S_OK, Empty()},
      {I4(E_FAIL), VT_ERROR, S_OK, Error(E_FAIL)},
      {UI4(0x80020005u), VT_ERROR, S_OK, Error(DISP_E_TYPEMISMATCH)},
      {I2(5), VT_ERROR, kMismatch, {}},
      {R8(5), VT_ERROR, kMismatch, {}},
      {I4(5), VT_NULL, kMismatch, {}},
      {I4(5), VT_DISPATCH, kMismatch, {}},
  });
}

}  // namespace
