#include "xml/token_storage.h"

#include <algorithm>

namespace nv::xml {

std::u16string_view TextArena::Store(std::u16string_view text) {
  if (text.empty()) return {};
  while (current_ < blocks_.size() && blocks_[current_].size - used_ < text.size()) {
    ++current_;
    used_ = 0;
  }
  if (current_ == blocks_.size()) {
    const size_t size = std::max(kBlockSize, text.size());
    blocks_.push_back({std::make_unique<char16_t[]>(size), size});
    used_ = 0;
  }
  char16_t* at = blocks_[current_].data.get() + used_;
  std::copy(text.begin(), text.end(), at);
  used_ += text.size();
  return {at, text.size()};
}

void TextArena::Reset() {
  // An outsize block held one huge text; it is not kept for the next batch.
  std::erase_if(blocks_, [](const Block& block) { return block.size != kBlockSize; });
  current_ = 0;
  used_ = 0;
}

std::u16string_view NameCache::Intern(std::u16string_view name, TextArena& overflow) {
  if (name.empty()) return {};
  if (const auto found = names_.find(name); found != names_.end()) return *found;
  if (names_.size() >= kMaxNames || name.size() > kMaxNameLength) return overflow.Store(name);
  texts_.push_back(std::make_unique<char16_t[]>(name.size()));
  std::copy(name.begin(), name.end(), texts_.back().get());
  const std::u16string_view kept(texts_.back().get(), name.size());
  names_.insert(kept);
  return kept;
}

}  // namespace nv::xml
