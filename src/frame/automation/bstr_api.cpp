// BSTR allocation. A BSTR points just past a 4-byte byte count and is
// followed by a NUL, so its length is known without scanning and embedded
// NULs survive copies.
#include "frame/automation/automation_api.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);
// The text is padded to a whole OLECHAR and followed by one zero OLECHAR, so
// a text of odd byte length (SysAllocStringByteLen) is terminated too.
constexpr size_t kTerminatorBytes = sizeof(OLECHAR);
// The largest text whose whole block still fits the 32-bit count.
constexpr uint64_t kMaxTextBytes = UINT32_MAX - kPrefixBytes - 2 * kTerminatorBytes;

uint32_t ByteCount(BSTR text) {
  uint32_t count;
  std::memcpy(&count, reinterpret_cast<const char*>(text) - kPrefixBytes, sizeof count);
  return count;
}

// A zero-filled BSTR of `bytes` bytes; `source` (when given) supplies them.
BSTR AllocateBytes(const void* source, uint64_t bytes) {
  if (bytes > kMaxTextBytes) return nullptr;
  const size_t padded = (bytes + 1) & ~uint64_t{1};
  auto* block = static_cast<char*>(std::calloc(1, kPrefixBytes + padded + kTerminatorBytes));
  if (block == nullptr) return nullptr;
  const auto count = static_cast<uint32_t>(bytes);
  std::memcpy(block, &count, sizeof count);
  if (source != nullptr && bytes != 0) std::memcpy(block + kPrefixBytes, source, bytes);
  return reinterpret_cast<BSTR>(block + kPrefixBytes);
}

// Swaps in `fresh` for *target; a null `fresh` means the allocation failed.
INT Replace(BSTR* target, BSTR fresh) {
  if (fresh == nullptr) return FALSE;
  SysFreeString(*target);
  *target = fresh;
  return TRUE;
}

}  // namespace

NVAPI BSTR SysAllocString(const OLECHAR* psz) {
  if (psz == nullptr) return nullptr;
  const size_t length = std::char_traits<OLECHAR>::length(psz);
  return AllocateBytes(psz, uint64_t{length} * sizeof(OLECHAR));
}

NVAPI BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
  return AllocateBytes(strIn, uint64_t{ui} * sizeof(OLECHAR));
}

NVAPI BSTR SysAllocStringByteLen(LPCSTR psz, UINT len) { return AllocateBytes(psz, len); }

NVAPI INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
  if (pbstr == nullptr) return FALSE;
  if (psz == nullptr) {  // a null BSTR is the empty string
    SysFreeString(*pbstr);
    *pbstr = nullptr;
    return TRUE;
  }
  return Replace(pbstr, SysAllocString(psz));
}

NVAPI INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
  if (pbstr == nullptr) return FALSE;
  if (psz != nullptr) return Replace(pbstr, SysAllocStringLen(psz, len));
  // No source: keep the old text as far as it reaches, like a realloc would.
  BSTR fresh = SysAllocStringLen(nullptr, len);
  if (fresh != nullptr && *pbstr != nullptr)
    std::memcpy(fresh, *pbstr, std::min(len, SysStringLen(*pbstr)) * sizeof(OLECHAR));
  return Replace(pbstr, fresh);
}

NVAPI void SysFreeString(BSTR bstrString) {
  if (bstrString != nullptr) std::free(reinterpret_cast<char*>(bstrString) - kPrefixBytes);
}

NVAPI UINT SysStringLen(BSTR pbstr) {
  return pbstr == nullptr ? 0 : ByteCount(pbstr) / sizeof(OLECHAR);
}

NVAPI UINT SysStringByteLen(BSTR bstr) { return bstr == nullptr ? 0 : ByteCount(bstr); }
