// Reads (and clears) the thread's current error information in tests.
#pragma once

#include "frame/bstr.h"
#include "frame/com_ptr.h"

#include <string>

namespace nv::test {

struct ErrorProbe {
  bool present = false;
  std::string description;
  std::string source;
};

inline ErrorProbe TakeErrorInfo() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return {};
  Bstr description, source;
  info->GetDescription(description.Receive());
  info->GetSource(source.Receive());
  return {true, description.ToUtf8(), source.ToUtf8()};
}

}  // namespace nv::test
