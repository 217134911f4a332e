#include "frame/collections/simple_string_list.h"

namespace nv {

int32_t CNvSimpleStringListImpl::Count() const { return list_.Count(); }

Bstr CNvSimpleStringListImpl::Item(int32_t index) const { return list_.Item(index); }

int32_t CNvSimpleStringListImpl::IndexOf(std::u16string_view key) const {
  return list_.IndexOf(key);
}

void CNvSimpleStringListImpl::Add(const Bstr& key) { list_.Add(key); }

void CNvSimpleStringListImpl::Delete(int32_t index) { list_.Delete(index); }

}  // namespace nv
