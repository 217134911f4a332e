// The error frame around every interface method: implementation failures
// become DISP_E_EXCEPTION with error information, anything unforeseen becomes
// E_UNEXPECTED, and nothing is stored into a result unless the body ran to
// its end.
#pragma once

#include "frame/bstr.h"
#include "frame/exception.h"

#include <new>

namespace nv::frame {

// Makes error information with `description` and `source` (ProgID or null)
// current for the thread; answers DISP_E_EXCEPTION. A failure that came
// without a description gets a short fixed text naming `cause` instead: a
// client never sees an empty message.
HRESULT ReportFailure(const Bstr& description, const OLECHAR* source,
                      HRESULT cause = E_FAIL) noexcept;

template <class Body>
HRESULT RunFramed(const OLECHAR* source, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const ENvException& e) {
    return ReportFailure(e.Message(), source);
  } catch (const ComError& e) {
    return ReportFailure(e.Description(), source, e.Error());
  } catch (const std::bad_alloc&) {
    return ReportFailure(Bstr(), source, E_OUTOFMEMORY);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace nv::frame
