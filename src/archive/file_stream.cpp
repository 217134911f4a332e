#include "archive/file_stream.h"

#include "archive/archive_limits.h"
#include "frame/exception.h"
#include "frame/text.h"

#include <algorithm>

namespace nv {
namespace {

const char* OpenMode(LONG mode) {
  switch (mode) {
    case 0:
      return "re";
    case 1:
      return "ae";
    case 0xFFFF:
      return "we";
    default:
      return nullptr;
  }
}

bool IsByteArray(const VARIANT& value) {
  if ((value.vt & VT_ARRAY) == 0 || (value.vt & VT_BYREF) != 0 || value.parray == nullptr)
    return false;
  VARTYPE element = VT_EMPTY;
  return SafeArrayGetDim(value.parray) == 1 &&
         SUCCEEDED(SafeArrayGetVartype(value.parray, &element)) &&
         (element == VT_UI1 || element == VT_I1);
}

// Calls `use` with the bytes of `buffer`.
template <class F>
LONG WithBytes(const VARIANT& buffer, F&& use) {
  if (buffer.vt == VT_BSTR) {
    const std::string text =
        Utf16ToUtf8(std::u16string_view(buffer.bstrVal, SysStringLen(buffer.bstrVal)));
    return use(std::string_view(text));
  }
  if (!IsByteArray(buffer))
    throw ENvException("The buffer to write is neither a string nor a byte array");
  void* data = nullptr;
  Check(SafeArrayAccessData(buffer.parray, &data));
  const size_t size = buffer.parray->rgsabound[0].cElements;
  try {
    const LONG written = use(std::string_view(static_cast<const char*>(data), size));
    SafeArrayUnaccessData(buffer.parray);
    return written;
  } catch (...) {
    SafeArrayUnaccessData(buffer.parray);
    throw;
  }
}

}  // namespace

TFileStreamImpl::~TFileStreamImpl() {
  if (file_ != nullptr) std::fclose(file_);
}

void TFileStreamImpl::Create(const BstrArg& fileName, LONG mode) {
  const char* openMode = OpenMode(mode);
  if (openMode == nullptr) throw ENvException("Illegal file open mode");
  Free();
  path_ = Utf16ToUtf8(fileName.View());
  file_ = std::fopen(path_.c_str(), openMode);
  if (file_ == nullptr) throw ENvException(Bstr(u"Cannot create file ") + fileName.View());
}

void TFileStreamImpl::Free() {
  if (file_ == nullptr) return;
  // Buffered text reaches the disk here: a failure now loses data too.
  const bool failed = std::fclose(file_) != 0;
  file_ = nullptr;
  if (failed) ThrowWriteFailure();
}

void TFileStreamImpl::ThrowWriteFailure() const {
  throw ENvException(("Cannot write file " + path_).c_str());
}

LONG TFileStreamImpl::Write(const VARIANT& buffer, LONG count) {
  if (file_ == nullptr) throw ENvException("The file stream is not open");
  return WithBytes(buffer, [&](std::string_view bytes) {
    if (count < 0 || static_cast<size_t>(count) > bytes.size())
      throw ENvException(("Cannot write " + std::to_string(count) + " bytes from a buffer of " +
                          std::to_string(bytes.size()))
                             .c_str());
    WriteText(bytes.substr(0, static_cast<size_t>(count)));
    return count;
  });
}

void TFileStreamImpl::WriteText(std::string_view bytes) {
  std::string& block = block_;
  block.clear();
  auto flush = [&] {
    if (!block.empty() && std::fwrite(block.data(), 1, block.size(), file_) != block.size())
      ThrowWriteFailure();
    block.clear();
  };
  while (!bytes.empty()) {
    const size_t lineFeed = bytes.find('\n');
    const size_t run = std::min(lineFeed, bytes.size());
    block.append(bytes.data(), run);
    if (lineFeed != std::string_view::npos) block += "\r\n";
    bytes.remove_prefix(std::min(run + 1, bytes.size()));
    if (block.size() >= archive::kCopyBlockSize) flush();
  }
  flush();
}

}  // namespace nv
