// The error frame around every interface method: implementation failures
// become DISP_E_EXCEPTION with error information, anything unforeseen becomes
// E_UNEXPECTED, and nothing is stored into a result unless the body ran to
// its end.
#pragma once

#include "frame/bstr.h"
#include "frame/exception.h"

namespace nv::frame {

// What a caught exception means for a client: the result a call answers
// (DISP_E_EXCEPTION for the library's failures, a failed call's own and an
// allocation failure; E_UNEXPECTED for anything else) and a description
// that is never empty. Call it only while an exception is being handled.
struct CaughtFailure {
  HRESULT code;
  Bstr description;
};
CaughtFailure DescribeCaughtException() noexcept;

// Makes error information with `description` and `source` (ProgID or null)
// current for the thread; answers DISP_E_EXCEPTION.
HRESULT ReportFailure(const Bstr& description, const OLECHAR* source) noexcept;

template <class Body>
HRESULT RunFramed(const OLECHAR* source, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    const CaughtFailure failure = DescribeCaughtException();
    if (failure.code == E_UNEXPECTED) return E_UNEXPECTED;
    return ReportFailure(failure.description, source);
  }
}

}  // namespace nv::frame
