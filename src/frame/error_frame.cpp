#include "frame/error_frame.h"

namespace nv::frame {

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
