// The error frame around every interface method: a failure becomes a result
// code with error information for the thread, and nothing is stored into a
// result unless the body ran to its end.
//
// Result codes a client can rely on: E_OUTOFMEMORY for an allocation
// failure, E_POINTER for a null out-pointer (the client's, or one a callee
// answered), DISP_E_EXCEPTION for every other failure. The description is
// never empty.
#pragma once

#include "frame/bstr.h"
#include "frame/exception.h"

namespace nv::frame {

// What a caught exception means for a client: the result a call answers and
// its description. Call it only while an exception is being handled; every
// place that catches `...` and reports it uses this one mapping.
struct CaughtFailure {
  HRESULT code;
  Bstr description;
};
CaughtFailure DescribeCaughtException() noexcept;

// Makes error information with `description` and `source` (ProgID or null)
// current for the thread; answers `code`.
HRESULT ReportFailure(HRESULT code, const Bstr& description, const OLECHAR* source) noexcept;

// DescribeCaughtException, reported as error information.
HRESULT ReportCaughtException(const OLECHAR* source) noexcept;

// A client passed a null pointer for an out-parameter: E_POINTER with a
// description naming the parameter (`where`, e.g. u"INvVexaWriter.Schema").
HRESULT ReportNullOutPointer(const char16_t* parameter, const char16_t* where,
                             const OLECHAR* source) noexcept;

template <class Body>
HRESULT RunFramed(const OLECHAR* source, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ReportCaughtException(source);
  }
}

}  // namespace nv::frame
