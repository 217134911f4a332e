#include "archive/streams.h"

#include "archive/zip_reader.h"
#include "frame/exception.h"
#include "frame/text.h"
#include "platform/paths.h"
#include "values/binary_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

namespace nv {
namespace {

// The open(2) flags of a stream mode; -1 for an unknown mode.
int OpenFlags(LONG mode) {
  switch (mode) {
    case 0:
      return O_RDONLY;
    case 1:
      return O_WRONLY | O_CREAT | O_APPEND;
    case 0xFFFF:
      return O_WRONLY | O_CREAT | O_TRUNC;
    default:
      return -1;
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

TFileStreamImpl::~TFileStreamImpl() { CloseQuietly(); }

void TFileStreamImpl::CloseQuietly() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffer_.clear();
}

void TFileStreamImpl::Create(const BstrArg& fileName, LONG mode) {
  const int flags = OpenFlags(mode);
  if (flags < 0) throw ENvException("Illegal file open mode");
  if (failure_.Empty()) Free();  // an open file is finished first, as by Free
  CloseQuietly();
  failure_ = Bstr();
  path_ = Utf16ToUtf8(fileName.View());
  readOnly_ = flags == O_RDONLY;
  fd_ = ::open(path_.c_str(), flags | O_CLOEXEC, 0666);
  if (fd_ < 0) throw ENvException(Bstr(u"Cannot create file ") + fileName.View());
  cutShort_ = Bstr(u"Cannot write " + Subject() + u": a text was cut short by a failure");
}

void TFileStreamImpl::Free() {
  if (!failure_.Empty()) {
    CloseQuietly();
    throw ENvException(failure_);
  }
  if (fd_ < 0) return;
  Flush();
  // Some file systems report a lost write only here.
  if (::close(std::exchange(fd_, -1)) != 0) Fail(errno);
}

std::u16string TFileStreamImpl::Subject() const {
  return subject_.empty() ? u"file " + Utf8ToUtf16(path_) : subject_;
}

void TFileStreamImpl::Fail(int error) {
  failure_ = Bstr(u"Cannot write " + Subject() + u": " + Utf8ToUtf16(ErrnoText(error)));
  CloseQuietly();
  throw ENvException(failure_);
}

void TFileStreamImpl::Abandon() noexcept {
  if (failure_.Empty()) failure_ = cutShort_;  // shares the text: no allocation
  CloseQuietly();
}

LONG TFileStreamImpl::Write(const VARIANT& buffer, LONG count) {
  if (!failure_.Empty()) throw ENvException(failure_);
  if (fd_ < 0) throw ENvException("The file stream is not open");
  if (count == kAbandonText) {
    Abandon();
    return 0;
  }
  return WithBytes(buffer, [&](std::string_view bytes) {
    if (count < 0 || static_cast<size_t>(count) > bytes.size())
      throw ENvException(("Cannot write " + std::to_string(count) + " bytes from a buffer of " +
                          std::to_string(bytes.size()))
                             .c_str());
    // Nothing can be written to a file opened for reading.
    if (readOnly_) Fail(EBADF);
    try {
      WriteText(bytes.substr(0, static_cast<size_t>(count)));
    } catch (...) {
      Abandon();  // part of the bytes may be in the file or the buffer
      throw;
    }
    return count;
  });
}

void TFileStreamImpl::WriteText(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t lineFeed = bytes.find('\n');
    const size_t run = std::min(lineFeed, bytes.size());
    if (run >= archive::kCopyBlockSize) {
      // A long line goes to the file as it is, not through the buffer.
      Flush();
      WriteAll(bytes.substr(0, run));
    } else {
      buffer_.append(bytes.data(), run);
    }
    if (lineFeed != std::string_view::npos) buffer_ += "\r\n";
    bytes.remove_prefix(std::min(run + 1, bytes.size()));
    if (buffer_.size() >= archive::kCopyBlockSize) Flush();
  }
}

void TFileStreamImpl::Flush() {
  WriteAll(buffer_);
  buffer_.clear();
}

void TFileStreamImpl::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    // A write that takes nothing and reports nothing is a full device.
    if (put <= 0) Fail(put < 0 ? errno : ENOSPC);
    bytes.remove_prefix(static_cast<size_t>(put));
  }
}

namespace {

// The byte array handed to streams. It is reused from write to write on a
// thread, so writing many small texts (one per object) allocates nothing.
class ByteBlock {
 public:
  static ByteBlock& ForThisThread() {
    thread_local ByteBlock block;
    return block;
  }

  // Room for `size` bytes.
  char* Reserve(size_t size) {
    if (size > static_cast<size_t>(std::numeric_limits<LONG>::max()))
      throw ENvException("The text to write is too long");
    if (size > capacity_) {
      capacity_ = std::max(size, kFirstCapacity);
      uint8_t* data = nullptr;
      bytes_ = MakeByteArray(capacity_, &data);
      data_ = reinterpret_cast<char*>(data);
    }
    return data_;
  }

  void WriteEmptyTo(const ComPtr<ITStream>& stream) { stream.Write(bytes_, 0); }

  // Hands the first `size` bytes to the stream; gives back a block grown
  // beyond the usual by one huge text.
  void WriteTo(const ComPtr<ITStream>& stream, size_t size) {
    if (size > 0) stream.Write(bytes_, static_cast<LONG>(size));
    if (capacity_ > kKeptCapacity) *this = ByteBlock();
  }

 private:
  static constexpr size_t kFirstCapacity = size_t{1} << 14;
  static constexpr size_t kKeptCapacity = size_t{1} << 20;

  Variant bytes_;
  char* data_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace

void WriteUtf8(const ComPtr<ITStream>& stream, std::string_view text) {
  ByteBlock& block = ByteBlock::ForThisThread();
  std::memcpy(block.Reserve(text.size()), text.data(), text.size());
  block.WriteTo(stream, text.size());
}

void ThrowIfStreamFailed(const ComPtr<ITStream>& stream) {
  // Writing nothing still answers with the failure of a failed stream.
  ByteBlock& block = ByteBlock::ForThisThread();
  block.Reserve(1);  // the stream takes a byte array, even an empty one
  block.WriteEmptyTo(stream);
}

void AbandonStream(const ComPtr<ITStream>& stream) noexcept {
  try {
    stream.Write(Variant(), TFileStreamImpl::kAbandonText);
  } catch (...) {
    // The stream has failed already.
  }
}

void WriteText(const ComPtr<ITStream>& stream, std::u16string_view text) {
  ByteBlock& block = ByteBlock::ForThisThread();
  const size_t size = EncodeUtf8(text, block.Reserve(text.size() * kMaxUtf8PerUtf16));
  block.WriteTo(stream, size);
}

}  // namespace nv
