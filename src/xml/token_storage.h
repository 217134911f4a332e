// Storage behind the pull parser's tokens. Text lives in an arena that is
// reset with each batch of tokens, so a batch costs no allocation once the
// arena has grown to its size; names, which repeat endlessly in an instance
// document, are kept once for the whole parse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace nv::xml {

// Copies of text that stay in place until Reset.
class TextArena {
 public:
  std::u16string_view Store(std::u16string_view text);
  // Forgets every stored text; keeps the ordinary blocks for reuse.
  void Reset();

 private:
  static constexpr size_t kBlockSize = 32 * 1024;  // code units

  struct Block {
    std::unique_ptr<char16_t[]> data;
    size_t size;
  };

  std::vector<Block> blocks_;
  size_t current_ = 0;  // the block being filled
  size_t used_ = 0;     // code units used in it
};

// Interned names: one stable copy of each distinct text, found by a hash
// computed in the same pass that measures the name. A document with more
// distinct names than the cap gets the rest copied into the arena.
class NameCache {
 public:
  struct Name {
    std::u16string_view text;
    bool lasting;  // kept for the whole parse, not only the batch
  };

  NameCache();
  // The interned copy of the NUL-terminated `name` (null counts as empty).
  // Xerces mostly hands out a name from the same buffer each time: a name
  // met before at the same address is only compared, not hashed.
  Name Intern(const char16_t* name, TextArena& overflow);
  // The same for a namespace URI that Xerces hands out from its URI pool,
  // where one pointer always holds one URI for the whole parse: found by
  // the pointer first, without reading the text again.
  Name InternUri(const char16_t* uri, TextArena& overflow);
  // A qualified name is its local name when it has no prefix: then both
  // end at the same length, and the local name's copy serves.
  Name InternQualified(const char16_t* qualifiedName, Name localName, TextArena& overflow) {
    if (qualifiedName != nullptr && qualifiedName[localName.text.size()] == 0) return localName;
    return Intern(qualifiedName, overflow);
  }

 private:
  static constexpr size_t kMaxNames = 4096;
  static constexpr size_t kMaxNameLength = 256;
  static constexpr size_t kSlots = 2 * kMaxNames;  // a power of two

  struct Slot {
    const char16_t* text = nullptr;
    uint32_t size = 0;
    uint32_t hash = 0;
  };

  // A name last seen at an address.
  struct Seen {
    const char16_t* pointer = nullptr;
    std::u16string_view text;
  };
  static constexpr size_t kSeen = 256;  // a power of two

  static size_t SeenIndex(const char16_t* pointer) {
    return (reinterpret_cast<uintptr_t>(pointer) >> 3) & (kSeen - 1);
  }
  Name Lookup(const char16_t* name, TextArena& overflow);

  std::vector<Slot> slots_;
  std::vector<Seen> knownUris_;  // trusted: the pool's pointers
  std::vector<Seen> recent_;     // compared before use
  std::vector<std::unique_ptr<char16_t[]>> texts_;
};
}  // namespace nv::xml
