#include "frame/error_frame.h"

#include <cstdio>

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

}  // namespace

HRESULT ReportFailure(const Bstr& description, const OLECHAR* source, HRESULT cause) noexcept {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return DISP_E_EXCEPTION;
  create->SetGUID(GUID_NULL);
  try {
    create->SetDescription(description.Empty() ? FixedDescription(cause).Raw()
                                               : description.Raw());
  } catch (...) {
    // Out of memory for the fixed text too: the description stays unset.
  }
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
