// A creatable class's object made as clients make it; null after a failure.
#pragma once

#include <gtest/gtest.h>

#include "frame/implements.h"

namespace nv_test {

template <class I>
nv::ComPtr<I> Created(const CLSID& clsid) {
  nv::ComPtr<I> made;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, nv::IidOf<I>(),
                             reinterpret_cast<void**>(made.put())),
            S_OK);
  return made;
}

}  // namespace nv_test
