// The message of the failure a call raises inside the library: an
// implementation's ENvException or a callee's ComError.
#pragma once

#include "frame/exception.h"

#include <string>

namespace nv_test {

inline constexpr const char* kNoFailure = "<no failure>";

template <class F>
std::string MessageOfFailure(F&& call) {
  try {
    call();
  } catch (const nv::ComError& e) {
    return e.Description().ToUtf8();
  } catch (const nv::ENvException& e) {
    return e.Message().ToUtf8();
  }
  return kNoFailure;
}

// The same, by the name the layers' tests use.
template <class F>
std::string FailureOf(F&& call) { return MessageOfFailure(call); }

}  // namespace nv_test
