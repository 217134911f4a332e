// Failures: the library's exceptions, and the error frame that turns a caught
// exception into a result code and the thread's error information.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"

#include <exception>
#include <string_view>
#include <type_traits>

namespace nv {

// The library's two failure types. Implementation classes throw ENvException
// with the message the client should see; a failed call to another object
// arrives as ComError carrying that object's result code and error
// information, so the innermost message survives any number of hops.

class ENvException : public std::exception {
 public:
  explicit ENvException(Bstr message, int32_t code = 0)
      : message_(std::move(message)),
        code_(code == 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(code) | 0x80040000u)) {}
  explicit ENvException(std::u16string_view message, int32_t code = 0)
      : ENvException(Bstr(message), code) {}
  explicit ENvException(const char* utf8Message, int32_t code = 0)
      : ENvException(Bstr::FromUtf8(utf8Message), code) {}

  const Bstr& Message() const noexcept { return message_; }
  int32_t Code() const noexcept { return code_; }
  const char* what() const noexcept override { return message_.Utf8(); }

 private:
  Bstr message_;
  int32_t code_;
};

// A failed call through an interface: its result code and, when the callee
// left one, its error information (counted reference, may be null).
class ComError : public std::exception {
 public:
  explicit ComError(HRESULT hr, IErrorInfo* info = nullptr, bool addRef = true) noexcept;
  ComError(const ComError& other) noexcept;
  ComError& operator=(const ComError& other) noexcept;
  ~ComError() override;

  HRESULT Error() const noexcept { return hr_; }
  IErrorInfo* ErrorInfo() const noexcept { return info_; }
  // The callee's description, empty when it left no error information.
  Bstr Description() const;
  const char* what() const noexcept override;

 private:
  HRESULT hr_;
  IErrorInfo* info_;
  mutable Bstr what_;
};

// Turns a failed result of a call on `callee` (through interface `iid`) into a
// thrown ComError. The thread's error information is taken when the callee
// reported an exception or says it supports error information for `iid`.
[[noreturn]] void ThrowCallFailure(HRESULT hr, IUnknown* callee, REFIID iid);

inline void Check(HRESULT hr, IUnknown* callee, REFIID iid) {
  if (FAILED(hr)) ThrowCallFailure(hr, callee, iid);
}

// For calls whose callee is not an object (runtime functions).
inline void Check(HRESULT hr) {
  if (FAILED(hr)) throw ComError(hr);
}

}  // namespace nv

namespace nv::frame {

// The error frame around every interface method: a failure becomes a result
// code with error information for the thread, and nothing is stored into a
// result unless the body ran to its end.
//
// Result codes a client can rely on: E_OUTOFMEMORY for an allocation
// failure, E_POINTER for a null out-pointer (the client's, or one a callee
// answered), DISP_E_EXCEPTION for every other failure. The description is
// never empty.

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

// Runs `body`, answering its result code (S_OK for a body without one), or
// reports what it threw.
template <class Body>
HRESULT RunFramed(const OLECHAR* source, Body&& body) noexcept {
  try {
    if constexpr (std::is_same_v<decltype(body()), HRESULT>) {
      return body();
    } else {
      body();
      return S_OK;
    }
  } catch (...) {
    return ReportCaughtException(source);
  }
}

}  // namespace nv::frame
