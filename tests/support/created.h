// A creatable class's object made as clients make it; a failure throws
// ComError, so that a test fails and a fault sweep sees the call's result.
#pragma once

#include "frame/exception.h"
#include "frame/implements.h"

namespace nv_test {

template <class I>
nv::ComPtr<I> Created(const CLSID& clsid) {
  nv::ComPtr<I> made;
  nv::Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, nv::IidOf<I>(),
                             reinterpret_cast<void**>(made.put())));
  return made;
}

}  // namespace nv_test
