// The output of the schema documents of one save. Each document is written
// whole under a temporary name beside its file; only when every document is
// complete are they renamed onto their names, so a failed save leaves every
// earlier file as it was, and a link at a name is replaced, never written
// through.
#pragma once

#include <deque>
#include <optional>
#include <string_view>

#include "frame/bstr.h"
#include "frame/interfaces.h"
#include "platform/file_system.h"

namespace nv {

class DocumentStream {
 public:
  // Creates the temporary file beside `fileName`; fails with "Cannot create
  // file " + fileName and the system's reason.
  explicit DocumentStream(const Bstr& fileName);
  // Frees the stream when Close was not reached; failures are then dropped,
  // as the failure that skipped Close is the one to report.
  ~DocumentStream();
  DocumentStream(const DocumentStream&) = delete;
  DocumentStream& operator=(const DocumentStream&) = delete;

  void Write(std::u16string_view text);
  // UTF-8 text as it stands.
  void WriteUtf8(std::string_view text);
  // Frees the stream, reporting a failure to write the file.
  void Close();

 private:
  friend class DocumentSet;
  // Renames the closed document onto its file name.
  void Place();

  Bstr fileName_;
  std::optional<FileBeside> file_;
  ComPtr<ITStream> stream_;
};

// The documents of one save; dropped before Place, their temporary files go.
class DocumentSet {
 public:
  DocumentStream& Add(const Bstr& fileName) { return documents_.emplace_back(fileName); }
  // Renames every document, all closed, onto its name, in the order added.
  void Place();

 private:
  std::deque<DocumentStream> documents_;
};

}  // namespace nv
