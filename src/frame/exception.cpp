#include "frame/exception.h"

#include <cstdio>
#include <new>
#include <type_traits>
#include <xercesc/dom/DOMException.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/XMLException.hpp>

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

namespace nv::frame {
namespace {

static_assert(std::is_same_v<XMLCh, char16_t>, "Xerces text is UTF-16 like a BSTR");

// Made when the library loads, so that reporting an allocation failure
// needs no allocation for its text.
const Bstr kOutOfMemory(u"Out of memory");
const Bstr kNullOutPointer(u"Null pointer passed for an out-parameter");

// What a failure without a description was, in a few words.
Bstr FixedDescription(HRESULT cause) {
  switch (cause) {
    case E_OUTOFMEMORY:
      return kOutOfMemory;
    case E_POINTER:
      return Bstr(u"Invalid pointer");
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

Bstr TextOf(const XMLCh* message) { return Bstr(message ? message : u""); }

// A callee's allocation failure and a null out-pointer keep their meaning;
// anything else it answered is a failure of this call like any other.
HRESULT PassedOn(HRESULT callee) {
  return callee == E_OUTOFMEMORY || callee == E_POINTER ? callee : DISP_E_EXCEPTION;
}

}  // namespace

CaughtFailure DescribeCaughtException() noexcept {
  try {
    try {
      throw;
    } catch (const ENvException& e) {
      return Described(DISP_E_EXCEPTION, e.Message(), E_FAIL);
    } catch (const ComError& e) {
      return Described(PassedOn(e.Error()), e.Description(), e.Error());
    } catch (const std::bad_alloc&) {
      return {E_OUTOFMEMORY, kOutOfMemory};
    } catch (const std::exception& e) {
      return Described(DISP_E_EXCEPTION, Bstr::FromUtf8(e.what()), E_UNEXPECTED);
    } catch (const xercesc::OutOfMemoryException&) {
      return {E_OUTOFMEMORY, kOutOfMemory};
    } catch (const xercesc::XMLException& e) {
      return Described(DISP_E_EXCEPTION, TextOf(e.getMessage()), E_UNEXPECTED);
    } catch (const xercesc::DOMException& e) {
      return Described(DISP_E_EXCEPTION, TextOf(e.getMessage()), E_UNEXPECTED);
    } catch (const xercesc::SAXException& e) {
      return Described(DISP_E_EXCEPTION, TextOf(e.getMessage()), E_UNEXPECTED);
    } catch (...) {
      return {DISP_E_EXCEPTION, Bstr(u"Unknown failure")};
    }
  } catch (...) {
    // Out of memory for the description too.
    return {E_OUTOFMEMORY, kOutOfMemory};
  }
}

HRESULT ReportFailure(HRESULT code, const Bstr& description, const OLECHAR* source) noexcept {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return code;
  create->SetGUID(GUID_NULL);
  create->SetDescription(description.Raw());
  if (source) create->SetSource(const_cast<OLECHAR*>(source));
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
  return code;
}

HRESULT ReportCaughtException(const OLECHAR* source) noexcept {
  const CaughtFailure failure = DescribeCaughtException();
  return ReportFailure(failure.code, failure.description, source);
}

HRESULT ReportNullOutPointer(const char16_t* parameter, const char16_t* where,
                             const OLECHAR* source) noexcept {
  try {
    const Bstr text = u"Null pointer passed for the out-parameter " + Bstr(parameter) +
                      u" of " + Bstr(where);
    return ReportFailure(E_POINTER, text, source);
  } catch (...) {
    return ReportFailure(E_POINTER, kNullOutPointer, source);
  }
}

}  // namespace nv::frame
