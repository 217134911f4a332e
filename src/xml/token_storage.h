// Storage behind the pull parser's tokens. Text lives in an arena that is
// reset with each batch of tokens, so a batch costs no allocation once the
// arena has grown to its size; names, which repeat endlessly in an instance
// document, are kept once for the whole parse.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_set>
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

// Interned names: one stable copy of each distinct text. A document with
// more distinct names than the cap gets the rest copied into the arena.
class NameCache {
 public:
  std::u16string_view Intern(std::u16string_view name, TextArena& overflow);

 private:
  static constexpr size_t kMaxNames = 4096;
  static constexpr size_t kMaxNameLength = 256;

  std::vector<std::unique_ptr<char16_t[]>> texts_;
  std::unordered_set<std::u16string_view> names_;
};

}  // namespace nv::xml
