// The inheritance chain of a class: the class, its parent, its grandparent
// and so on. Parents are checked when set, so the chain never loops.
#pragma once

#include <vector>

#include "frame/interfaces.h"

namespace nv {

// `root` and its ancestors, nearest first; empty for a null root.
std::vector<ComPtr<INvVexaClass>> ClassChain(const ComPtr<INvVexaClass>& root);

}  // namespace nv
