// Writing archives: the compression levels, the staging of the files that
// saves take until the archive is written in one pass, what a pending name
// stands for, and the writer adapter.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "platform/temp_folder.h"

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace nv::archive {

// The compression level table: the level a client chooses, the engine level
// ('0' stores, '9' compresses most) and the libzip method and level for it.

struct ZipCompression {
  int32_t method;  // ZIP_CM_STORE or ZIP_CM_DEFLATE
  uint32_t level;  // deflate level, 0 when stored
};

// '0', '4', '6' or '9'; levels outside the enumeration count as afclLow.
char EngineLevel(ArchiveFileCompressionLevelEnum level);
ZipCompression CompressionFor(ArchiveFileCompressionLevelEnum level);

// The files that the zipper's saves accepted, kept until the archive is
// written in one pass. Each is kept as a hard link (a copy where linking is
// impossible) in a private folder, so the caller may delete its own files
// right after a save, as the package writer does with its working folder.
// Writing once makes adding K files cost in proportion to their bytes,
// instead of rewriting the whole archive at every save.

// A failure to build an archive, as text that names the file involved
// when it is not the archive and gives the system's reason ("cannot read
// /x/a.txt: Permission denied", libzip's "Write error: No space left on
// device").
class ZipFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class StagedArchive {
 public:
  // Makes the private folder in the temporary directory; throws
  // std::system_error when it cannot.
  StagedArchive();
  StagedArchive(const StagedArchive&) = delete;
  StagedArchive& operator=(const StagedArchive&) = delete;
  // Removes the private folder and everything in it.
  ~StagedArchive();

  bool Empty() const { return files_.empty(); }
  // Keeps `source` for the entry `entryName`; a later file of the same name
  // replaces an earlier one. Throws ZipFailure when the file can be neither
  // linked nor copied.
  void Add(const std::string& source, const std::string& entryName, ZipCompression compression);
  // Forgets the files added since `Mark()` answered `mark`.
  size_t Mark() const { return files_.size(); }
  void RollBack(size_t mark);

  // Writes every kept file into `archivePath`, creating it or adding to it;
  // libzip builds it under a temporary name and renames it into place.
  // Throws ZipFailure.
  void WriteTo(const std::string& archivePath) const;

 private:
  struct Staged {
    std::string entryName;
    std::string path;
    ZipCompression compression;
    time_t modified;
    mode_t mode;
  };

  TempFolder staging_;  // removed, without following links, with this object
  std::string folder_;   // its path as UTF-8
  std::vector<Staged> files_;
  size_t nextNumber_ = 0;
};

// What one pending name of the zipper stands for. A name that begins with the
// base directory is cut to the part after it; other relative names are
// found in the base directory. A folder, or a mask ("*", "?") in the last
// component, takes the matching files of every sub-folder as well. Entry
// names keep the folders below the base directory (or below the root, for
// names outside it), always relative and with '/'.

struct SourceFile {
  std::string path;
  std::string entryName;
};

// The files, sorted by entry name; empty when the name matches nothing.
// Throws std::filesystem::filesystem_error when a folder cannot be read.
std::vector<SourceFile> ExpandPending(const std::string& pending, const std::string& baseDirectory);

}  // namespace nv::archive

namespace nv {

// The archive writer adapter. AddFiles collects names or masks; Save takes
// the files they stand for into the archive under construction; the archive
// file is written in one pass when it is closed (CloseArchive, a new
// FileName, or the object's release), so any number of saves costs one
// write. Files may be deleted as soon as the Save that took them returns.
// Failures name the archive (or the subject it was made for) and the reason.

class CNvTAbZipperImpl {
 public:
  // `subject` names the archive in failure messages ("Vexa file /x/p.vexa");
  // empty, they name "archive " and its FileName.
  explicit CNvTAbZipperImpl(std::u16string_view subject = {}) : subject_(subject) {}
  // Writes an archive that was never closed; failures there go unreported.
  virtual ~CNvTAbZipperImpl();

  virtual void AddFiles(const BstrArg& fileMask);
  virtual void Save();
  virtual void CloseArchive();
  virtual Bstr FileName() { return fileName_; }
  virtual void PutFileName(const BstrArg& value);
  virtual Bstr BaseDirectory() { return baseDirectory_; }
  virtual void PutBaseDirectory(const BstrArg& value) { baseDirectory_ = value; }
  virtual bool AutoSave() { return autoSave_; }
  virtual void PutAutoSave(bool value) { autoSave_ = value; }
  virtual void PutCopmressionLevel(ArchiveFileCompressionLevelEnum value) { level_ = value; }

  // Gives the archive up: what was saved and not yet written is dropped
  // without writing it.
  void Abandon() noexcept;

 private:
  void StagePending(const std::string& baseDirectory);
  [[noreturn]] void ThrowFailure(const std::string& archive, const std::string& reason) const;
  // Writes the staged files to their archive and forgets them; the caller
  // holds the save lock.
  void WriteStaged();

  std::u16string subject_;
  Bstr fileName_;
  Bstr baseDirectory_;
  bool autoSave_ = false;
  ArchiveFileCompressionLevelEnum level_ = afclLow;
  std::vector<Bstr> pending_;
  std::unique_ptr<archive::StagedArchive> staged_;
  std::string stagedFor_;  // the archive the staged files belong to
};

class CNvTAbZipper final : public Implements<CNvTAbZipper, CNvTAbZipperImpl, ITAbZipper> {
 public:
  using Implements::Implements;
};

// Abandon() on a zipper of this library; does nothing for any other.
void AbandonArchive(const ComPtr<ITAbZipper>& zipper) noexcept;

}  // namespace nv
