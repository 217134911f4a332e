#include "xml/token_storage.h"

#include <algorithm>
#include <cstring>

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

NameCache::NameCache() : slots_(kSlots), knownUris_(kSeen), recent_(kSeen) {}

NameCache::Name NameCache::InternUri(const char16_t* uri, TextArena& overflow) {
  Seen& known = knownUris_[SeenIndex(uri)];
  if (known.pointer == uri && uri != nullptr) return {known.text, true};
  const Name name = Intern(uri, overflow);
  if (name.lasting) known = {uri, name.text};
  return name;
}

NameCache::Name NameCache::Intern(const char16_t* name, TextArena& overflow) {
  Seen& seen = recent_[SeenIndex(name)];
  if (seen.pointer == name && name != nullptr) {
    // Stops at the first difference, so never reads past the name's end.
    size_t k = 0;
    while (k < seen.text.size() && name[k] == seen.text[k]) ++k;
    if (k == seen.text.size() && name[k] == 0) return {seen.text, true};
  }
  const Name interned = Lookup(name, overflow);
  if (interned.lasting) seen = {name, interned.text};
  return interned;
}

NameCache::Name NameCache::Lookup(const char16_t* name, TextArena& overflow) {
  if (name == nullptr || *name == 0) return {{}, true};
  uint32_t hash = 2166136261u;  // FNV-1a over the code units
  size_t size = 0;
  for (; name[size] != 0; ++size) hash = (hash ^ name[size]) * 16777619u;
  for (size_t k = hash & (kSlots - 1);; k = (k + 1) & (kSlots - 1)) {
    Slot& slot = slots_[k];
    if (slot.text == nullptr) {
      if (texts_.size() >= kMaxNames || size > kMaxNameLength)
        return {overflow.Store({name, size}), false};
      texts_.push_back(std::make_unique<char16_t[]>(size));
      std::memcpy(texts_.back().get(), name, size * sizeof(char16_t));
      slot = {texts_.back().get(), static_cast<uint32_t>(size), hash};
      return {{slot.text, size}, true};
    }
    if (slot.hash == hash && slot.size == size &&
        std::memcmp(slot.text, name, size * sizeof(char16_t)) == 0)
      return {{slot.text, size}, true};
  }
}

}  // namespace nv::xml
