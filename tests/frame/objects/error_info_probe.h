// Reads (and clears) the thread's current error information in tests.
#pragma once

#include "frame/bstr.h"

#include <string>

namespace nv::test {

struct ErrorProbe {
  bool present = false;
  std::string description;
  std::string source;
};

inline ErrorProbe TakeErrorInfo() {
  ErrorProbe probe;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return probe;
  probe.present = true;
  BSTR text = nullptr;
  info->GetDescription(&text);
  probe.description = Bstr::Attach(text).ToUtf8();
  text = nullptr;
  info->GetSource(&text);
  probe.source = Bstr::Attach(text).ToUtf8();
  info->Release();
  return probe;
}

}  // namespace nv::test
