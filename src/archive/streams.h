// Document streams: the text-mode file stream documents are written through, and
// document text handed to a stream as UTF-8.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

#include <string>
#include <string_view>

namespace nv {

// The output stream through which documents are written, in text mode: every
// line feed written becomes a carriage return and a line feed, as in the
// documents of the format. It writes through a file descriptor with its own
// buffer, so the system's reason for a failed write is known exactly, and
// its first failure sticks: every later Write and Free throws that same
// message, so a document that lost bytes can never be finished as if whole.

class TFileStreamImpl {
 public:
  // `subject` names the file in failure messages ("Vexa file /x/p.vexa");
  // empty, they name "file " and the path that Create opened.
  explicit TFileStreamImpl(std::u16string_view subject = {}) : subject_(subject) {}
  // A stream that has failed already: every Write and Free throws `failure`.
  struct FailedWith {
    Bstr failure;
  };
  explicit TFileStreamImpl(FailedWith failed) : failure_(std::move(failed.failure)) {}
  virtual ~TFileStreamImpl();

  // Mode 0 reads, 1 appends, 65535 creates or truncates. Starts afresh: an
  // earlier failure is forgotten with the file it belonged to.
  virtual void Create(const BstrArg& fileName, LONG mode);
  // Writes what is buffered and closes the file.
  virtual void Free();
  // Buffer: a string (its UTF-8 bytes) or a byte array. Writes its first
  // `count` bytes and answers `count`. A write that fails partway fails the
  // stream. A count of kAbandonText fails it on purpose (AbandonStream).
  virtual LONG Write(const VARIANT& buffer, LONG count);
  static constexpr LONG kAbandonText = -1;

 private:
  // Fails the stream with `cutShort_`, without allocating.
  void Abandon() noexcept;
  std::u16string Subject() const;
  void WriteText(std::string_view bytes);
  // Hand bytes to the file; a failure is remembered and thrown.
  void Flush();
  void WriteAll(std::string_view bytes);
  [[noreturn]] void Fail(int error);
  void CloseQuietly() noexcept;

  std::u16string subject_;
  int fd_ = -1;
  bool readOnly_ = false;
  std::string path_;
  std::string buffer_;  // text with line ends expanded, not yet written
  Bstr failure_;        // the first failure's message; empty while none
  Bstr cutShort_;       // the message of a text cut short, made while memory was there
};

class TFileStream final : public Implements<TFileStream, TFileStreamImpl, ITStream> {
 public:
  using Implements::Implements;
};

// Writing document text to an ITStream: UTF-16 text goes out as UTF-8, handed
// over as bytes so that the stream writes them without another conversion.

// Nothing is written for empty text.
void WriteUtf8(const ComPtr<ITStream>& stream, std::string_view text);
void WriteText(const ComPtr<ITStream>& stream, std::u16string_view text);

// Throws the stream's failure when a write to it has failed: what fails
// after that reports the first failure rather than its own.
void ThrowIfStreamFailed(const ComPtr<ITStream>& stream);

// Fails the stream: a text went to it only in part (a failure, out of memory
// too, came between two writes), so every later write and the close fail and
// the part never reaches a package.
void AbandonStream(const ComPtr<ITStream>& stream) noexcept;

// Runs `write`, which hands one text to `stream` in several writes; when it
// fails, the stream is abandoned.
template <class Write>
void WriteWhole(const ComPtr<ITStream>& stream, Write&& write) {
  try {
    write();
  } catch (...) {
    AbandonStream(stream);
    throw;
  }
}

}  // namespace nv
