#include "frame/exception.h"

namespace nv {

ComError::ComError(HRESULT hr, IErrorInfo* info, bool addRef) noexcept : hr_(hr), info_(info) {
  if (info_ && addRef) info_->AddRef();
}

ComError::ComError(const ComError& other) noexcept : ComError(other.hr_, other.info_) {}

ComError& ComError::operator=(const ComError& other) noexcept {
  if (other.info_) other.info_->AddRef();
  if (info_) info_->Release();
  hr_ = other.hr_;
  info_ = other.info_;
  what_ = Bstr();
  return *this;
}

ComError::~ComError() {
  if (info_) info_->Release();
}

Bstr ComError::Description() const {
  if (!info_) return Bstr();
  BSTR text = nullptr;
  if (FAILED(info_->GetDescription(&text))) return Bstr();
  return Bstr::Attach(text);
}

const char* ComError::what() const noexcept {
  try {
    if (what_.Empty()) what_ = Description();
    return what_.Empty() ? "call failed" : what_.Utf8();
  } catch (...) {
    return "call failed";
  }
}

void ThrowCallFailure(HRESULT hr, IUnknown* callee, REFIID iid) {
  // Our own objects answer DISP_E_EXCEPTION only after leaving error
  // information, so it is taken for internal interfaces too; for anything
  // else the callee must say it supports error information.
  bool takeInfo = hr == DISP_E_EXCEPTION;
  if (!takeInfo && callee) {
    ISupportErrorInfo* support = nullptr;
    if (SUCCEEDED(callee->QueryInterface(IID_ISupportErrorInfo,
                                         reinterpret_cast<void**>(&support))) &&
        support) {
      takeInfo = support->InterfaceSupportsErrorInfo(iid) == S_OK;
      support->Release();
    }
  }
  IErrorInfo* info = nullptr;
  if (takeInfo && GetErrorInfo(0, &info) != S_OK) info = nullptr;
  throw ComError(hr, info, /*addRef=*/false);
}

}  // namespace nv
