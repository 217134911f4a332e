// Equality of two variants as IndexOf of the variant collection sees it.
#pragma once

#include "frame/automation/automation_api.h"

namespace nv {

// False when the variant types differ (no conversion: I2 1 is not I4 1).
// For one shared type: empty/null always equal; integers, booleans, error
// codes, currency and dates by value; R4/R8 numerically; strings by byte
// length and bytes; interfaces by pointer identity; decimals by all 16 bytes.
// Any other shared type (arrays, by-reference, records, 64-bit integers)
// throws ComError(E_INVALIDARG).
bool VariantsEqual(const VARIANT& a, const VARIANT& b);

}  // namespace nv
