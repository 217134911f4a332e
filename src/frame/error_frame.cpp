#include "frame/error_frame.h"

#include <cstdio>
#include <new>

namespace nv::frame {
namespace {

// What a failure without a description was, in a few words.
Bstr FixedDescription(HRESULT cause) {
  switch (cause) {
    case E_OUTOFMEMORY:
      return Bstr(u"Out of memory");
    case E_POINTER:
      return Bstr(u"A required object is missing");
    case E_NOINTERFACE:
      return Bstr(u"The object does not support the interface");
    case E_INVALIDARG:
      return Bstr(u"Invalid argument");
    default: {
      char text[48];
      std::snprintf(text, sizeof text, "Call failed with result 0x%08X",
                    static_cast<unsigned>(cause));
      return Bstr::FromUtf8(text);
    }
  }
}

CaughtFailure Described(HRESULT code, Bstr description, HRESULT cause) {
  if (description.Empty()) description = FixedDescription(cause);
  return {code, std::move(description)};
}

}  // namespace

CaughtFailure DescribeCaughtException() noexcept {
  try {
    try {
      throw;
    } catch (const ENvException& e) {
      return Described(DISP_E_EXCEPTION, e.Message(), E_FAIL);
    } catch (const ComError& e) {
      return Described(DISP_E_EXCEPTION, e.Description(), e.Error());
    } catch (const std::bad_alloc&) {
      return Described(DISP_E_EXCEPTION, Bstr(), E_OUTOFMEMORY);
    } catch (const std::exception& e) {
      return Described(E_UNEXPECTED, Bstr::FromUtf8(e.what()), E_UNEXPECTED);
    } catch (...) {
      return Described(E_UNEXPECTED, Bstr(), E_UNEXPECTED);
    }
  } catch (...) {
    // Out of memory for the description too: the code still tells.
    return {E_OUTOFMEMORY, Bstr()};
  }
}

HRESULT ReportFailure(const Bstr& description, const OLECHAR* source) noexcept {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return DISP_E_EXCEPTION;
  create->SetGUID(GUID_NULL);
  create->SetDescription(description.Raw());
  if (source) create->SetSource(const_cast<OLECHAR*>(source));
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
  return DISP_E_EXCEPTION;
}

}  // namespace nv::frame
