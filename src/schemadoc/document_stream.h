// The output of a schema document: an ITStream opened for a new file, taking
// text as UTF-16 and writing it as UTF-8.
#pragma once

#include <string_view>

#include "frame/bstr.h"
#include "frame/interfaces.h"

namespace nv {

class DocumentStream {
 public:
  // Creates (or truncates) `fileName`.
  explicit DocumentStream(const Bstr& fileName);
  // Frees the stream when Close was not reached; failures are then dropped,
  // as the failure that skipped Close is the one to report.
  ~DocumentStream();
  DocumentStream(const DocumentStream&) = delete;
  DocumentStream& operator=(const DocumentStream&) = delete;

  void Write(std::u16string_view text);
  // UTF-8 text as it stands.
  void WriteUtf8(std::string_view text);
  // Frees the stream, reporting a failure to flush the file.
  void Close();

 private:
  ComPtr<ITStream> stream_;
};

}  // namespace nv
