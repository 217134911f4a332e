// The inheritance chain of a class: the class, its parent, its grandparent
// and so on. Parents are checked when set, so the chain never loops.
#pragma once

#include <vector>

#include "frame/exception.h"
#include "frame/interfaces.h"

namespace nv {

// `root` and its ancestors, nearest first; empty for a null root.
std::vector<ComPtr<INvVexaClass>> ClassChain(const ComPtr<INvVexaClass>& root);

// The collections `ownOf` gives for each class of the chain, nearest first.
template <class OwnOf>
auto OwnAlongChain(const ComPtr<INvVexaClass>& root, OwnOf ownOf) {
  std::vector<decltype(ownOf(root))> own;
  for (const auto& vexaClass : ClassChain(root)) own.push_back(ownOf(vexaClass));
  return own;
}

// The collections of a chain read as one list: its length, its item at
// `index`, and the index of `key`.
template <class List>
LONG ChainedCount(const std::vector<List>& lists) {
  LONG total = 0;
  for (const List& list : lists) total += list.Count();
  return total;
}

template <class List>
auto ChainedItem(const std::vector<List>& lists, LONG index) {
  if (index >= 0) {
    for (const List& list : lists) {
      const LONG count = list.Count();
      if (index < count) return list.Item(index);
      index -= count;
    }
  }
  throw ENvException("Invalid index");
}

template <class List>
LONG ChainedIndexOf(const std::vector<List>& lists, const BstrArg& key) {
  LONG before = 0;
  for (const List& list : lists) {
    const LONG found = list.IndexOf(key);
    if (found >= 0) return before + found;
    before += list.Count();
  }
  return -1;
}

}  // namespace nv
