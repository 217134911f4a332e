#include "schema/class_chain.h"

namespace nv {

std::vector<ComPtr<INvVexaClass>> ClassChain(const ComPtr<INvVexaClass>& root) {
  std::vector<ComPtr<INvVexaClass>> chain;
  for (ComPtr<INvVexaClass> at = root; at; at = at.ParentClass()) chain.push_back(at);
  return chain;
}

}  // namespace nv
