// Takes the thread's current error information in tests.
#pragma once

#include "frame/bstr.h"
#include "frame/com_ptr.h"

#include <string>
#include <utility>

namespace nv::test {

// The description and source, or "<none>" when no error information is set.
inline std::pair<std::string, std::string> TakeErrorInfo() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return {"<none>", ""};
  Bstr description, source;
  info->GetDescription(description.Receive());
  info->GetSource(source.Receive());
  return {description.ToUtf8(), source.ToUtf8()};
}

}  // namespace nv::test
