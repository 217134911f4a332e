// CNvSimpleStringListImpl: the implementation behind the simple string list
// interface object; it owns one CNvStringList and forwards to it.
#pragma once

#include "frame/bstr.h"
#include "frame/collections/string_list.h"

#include <cstdint>
#include <string_view>

namespace nv {

class CNvSimpleStringListImpl {
 public:
  virtual ~CNvSimpleStringListImpl() = default;

  int32_t Count() const;
  Bstr Item(int32_t index) const;
  int32_t IndexOf(std::u16string_view key) const;
  void Add(const Bstr& key);
  void Delete(int32_t index);

 private:
  CNvStringList list_;
};

}  // namespace nv
