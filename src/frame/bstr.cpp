#include "frame/bstr.h"

#include "frame/exception.h"
#include "frame/text.h"

#include <cstring>

namespace nv {
namespace {

BSTR AllocOrThrow(const OLECHAR* text, size_t length) {
  if (length > 0x3FFFFFFF) throw ComError(E_OUTOFMEMORY);
  BSTR s = SysAllocStringLen(text, static_cast<UINT>(length));
  if (s == nullptr) throw ComError(E_OUTOFMEMORY);
  return s;
}

}  // namespace

Bstr::Block* Bstr::NewBlock(BSTR owned) {
  if (owned == nullptr) return nullptr;
  try {
    return new Block{1, owned, {nullptr}};
  } catch (...) {
    SysFreeString(owned);
    throw ComError(E_OUTOFMEMORY);
  }
}

Bstr::Bstr(const OLECHAR* text) : Bstr(text ? std::u16string_view(text) : std::u16string_view()) {}

Bstr::Bstr(std::u16string_view text)
    : block_(text.empty() ? nullptr : NewBlock(AllocOrThrow(text.data(), text.size()))) {}

Bstr::Bstr(const Bstr& other) noexcept : block_(other.block_) {
  if (block_) block_->shares.fetch_add(1, std::memory_order_relaxed);
}

Bstr& Bstr::operator=(const Bstr& other) noexcept {
  if (other.block_) other.block_->shares.fetch_add(1, std::memory_order_relaxed);
  Release();
  block_ = other.block_;
  return *this;
}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
  if (this != &other) {
    Release();
    block_ = other.block_;
    other.block_ = nullptr;
  }
  return *this;
}

void Bstr::Release() noexcept {
  if (block_ && block_->shares.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    SysFreeString(block_->wide);
    delete[] block_->narrow.load();
    delete block_;
  }
  block_ = nullptr;
}

Bstr Bstr::FromUtf8(std::string_view text) { return Bstr(std::u16string_view(Utf8ToUtf16(text))); }

Bstr Bstr::FromBstr(BSTR text) { return Bstr(std::u16string_view(text, SysStringLen(text))); }

Bstr Bstr::Attach(BSTR owned) {
  if (owned != nullptr && SysStringLen(owned) == 0) {
    SysFreeString(owned);
    owned = nullptr;
  }
  return Bstr(NewBlock(owned));
}

BSTR Bstr::Raw() const noexcept { return block_ ? block_->wide : nullptr; }

BSTR Bstr::Copy() const {
  return block_ ? AllocOrThrow(block_->wide, SysStringLen(block_->wide)) : nullptr;
}

BSTR* Bstr::Receive() {
  Release();
  block_ = new Block{};
  return &block_->wide;
}

UINT Bstr::Length() const noexcept { return block_ ? SysStringLen(block_->wide) : 0; }

std::u16string_view Bstr::View() const noexcept {
  return block_ && block_->wide ? std::u16string_view(block_->wide, Length())
                                : std::u16string_view();
}

const char* Bstr::Utf8() const {
  if (!block_) return "";
  char* narrow = block_->narrow.load(std::memory_order_acquire);
  if (narrow) return narrow;
  const std::string text = Utf16ToUtf8(View());
  char* made = new char[text.size() + 1];
  std::memcpy(made, text.c_str(), text.size() + 1);
  char* expected = nullptr;
  if (!block_->narrow.compare_exchange_strong(expected, made, std::memory_order_acq_rel)) {
    delete[] made;
    return expected;
  }
  return made;
}

Bstr& Bstr::operator+=(std::u16string_view text) {
  if (text.empty()) return *this;
  std::u16string joined(View());
  joined += text;
  *this = Bstr(std::u16string_view(joined));
  return *this;
}

}  // namespace nv
