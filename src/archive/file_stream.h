// The output stream through which documents are written: one C stream in
// text mode, where every line feed written becomes a carriage return and a
// line feed, as in the documents of the format.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace nv {

class TFileStreamImpl {
 public:
  virtual ~TFileStreamImpl();

  // Mode 0 reads, 1 appends, 65535 creates or truncates.
  virtual void Create(const BstrArg& fileName, LONG mode);
  virtual void Free();
  // Buffer: a string (its UTF-8 bytes) or a byte array. Writes its first
  // `count` bytes and answers `count`.
  virtual LONG Write(const VARIANT& buffer, LONG count);

 private:
  void WriteText(std::string_view bytes);
  [[noreturn]] void ThrowWriteFailure() const;

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string block_;  // text with line ends expanded, reused between writes
};

class TFileStream final : public Implements<TFileStream, TFileStreamImpl, ITStream> {};

}  // namespace nv
