// Extracting archives: the reader adapter that lists, finds and extracts the
// entries of one archive, and the diagnostic lines its extraction writes.
#pragma once

#include "archive/beneath.h"
#include "archive/zip_reader.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nv::archive {

// Diagnostic lines for a developer watching the process: the platform's
// equivalent of debugger output is the standard error stream.

void DebugOutput(std::string_view line);

}  // namespace nv::archive

namespace nv {

// The archive reader adapter: lists, finds and extracts the entries of one
// archive. The archive is opened and vetted as a whole on first use (see
// ZipReader) and kept open, so extracting many entries one by one costs no
// re-reading of its directory.

class CNvTAbUnZipperImpl {
 public:
  virtual ~CNvTAbUnZipperImpl() = default;

  virtual void Init();
  virtual void ExtractFiles(const BstrArg& fileMask);
  virtual LONG ExtractFilesToNewLocation(const BstrArg& fileMask, const BstrArg& newFileMask);
  virtual LONG FindFile(const BstrArg& fullFileName);
  virtual Bstr FileName() { return fileName_; }
  virtual void PutFileName(const BstrArg& value);
  virtual Bstr BaseDirectory() { return baseDirectory_; }
  virtual void PutBaseDirectory(const BstrArg& value) { baseDirectory_ = value; }
  virtual SHORT Count();
  virtual Bstr Item(LONG index);

  // The data of the entry named `entryName`, read block by block; requires
  // Init and a file name. The reader keeps the archive open, even when the
  // file name changes or this object ends first.
  std::unique_ptr<archive::EntryReader> OpenEntry(std::string_view entryName);
  // Every entry's name, in archive order (Count stops at 32,767).
  const std::vector<Bstr>& EntryNames() {
    ListEntries();
    return entryNames_;
  }

 private:
  // The open archive; requires Init.
  archive::ZipReader& Archive();
  UniqueFd OpenBaseDirectory() const;
  void ListEntries();
  void ExtractEntry(archive::ZipReader& zip, size_t index, int baseFd);
  int64_t FindFileEntry(archive::ZipReader& zip, const std::string& mask);

  bool initialized_ = false;
  Bstr fileName_;
  Bstr baseDirectory_;
  std::shared_ptr<archive::ZipReader> archive_;
  std::vector<Bstr> entryNames_;
};

class CNvTAbUnZipper final : public Implements<CNvTAbUnZipper, CNvTAbUnZipperImpl, ITAbUnZipper> {};

}  // namespace nv
