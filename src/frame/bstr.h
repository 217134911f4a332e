// Bstr: a shared, reference-counted wide string in the manner of _bstr_t.
// Copies share one block (atomic share count) holding the BSTR and a narrow
// UTF-8 copy made on first request. A null string and an empty one are alike.
#pragma once

#include "frame/automation/automation_api.h"

#include <atomic>
#include <string>
#include <string_view>

namespace nv {

class Bstr {
 public:
  Bstr() noexcept = default;
  Bstr(const OLECHAR* text);  // NOLINT: implicit like _bstr_t; NUL-terminated
  Bstr(std::u16string_view text);  // NOLINT
  Bstr(const Bstr& other) noexcept;
  Bstr(Bstr&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  Bstr& operator=(const Bstr& other) noexcept;
  Bstr& operator=(Bstr&& other) noexcept;
  ~Bstr() { Release(); }

  static Bstr FromUtf8(std::string_view text);
  // Copies a BSTR, embedded NULs included.
  static Bstr FromBstr(BSTR text);
  // Takes ownership of an allocated BSTR.
  static Bstr Attach(BSTR owned);

  // The BSTR held (null for an empty string); owned by this object.
  BSTR Raw() const noexcept;
  // A new allocated copy for an out parameter (null for an empty string).
  BSTR Copy() const;
  // Releases the current value and answers the address of a BSTR that the
  // callee fills; the filled string is then owned by this object.
  BSTR* Receive();

  UINT Length() const noexcept;
  bool Empty() const noexcept { return Length() == 0; }
  std::u16string_view View() const noexcept;
  // NUL-terminated UTF-8, owned by the shared block.
  const char* Utf8() const;
  std::string ToUtf8() const { return Utf8(); }

  Bstr& operator+=(std::u16string_view text);
  friend Bstr operator+(const Bstr& a, std::u16string_view b) {
    Bstr r(a.View());
    r += b;
    return r;
  }
  friend Bstr operator+(std::u16string_view a, const Bstr& b) {
    Bstr r(a);
    r += b.View();
    return r;
  }
  friend Bstr operator+(const Bstr& a, const Bstr& b) { return a + b.View(); }
  friend Bstr operator+(const Bstr& a, const OLECHAR* b) { return a + std::u16string_view(b); }
  friend Bstr operator+(const OLECHAR* a, const Bstr& b) { return std::u16string_view(a) + b; }

  operator std::u16string_view() const noexcept { return View(); }  // NOLINT

  friend bool operator==(const Bstr& a, const Bstr& b) noexcept { return a.View() == b.View(); }
  friend bool operator!=(const Bstr& a, const Bstr& b) noexcept { return !(a == b); }

 private:
  struct Block {
    std::atomic<int> shares{1};
    BSTR wide = nullptr;
    std::atomic<char*> narrow{nullptr};
  };
  explicit Bstr(Block* block) noexcept : block_(block) {}
  static Block* NewBlock(BSTR owned);
  void Release() noexcept;

  Block* block_ = nullptr;
};

// Dictionary and list key order: a null key first, then code unit by code
// unit (unsigned 16-bit), the shorter key first when one is a prefix.
inline int CompareKeys(std::u16string_view a, std::u16string_view b) noexcept {
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace nv
