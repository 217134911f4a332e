// The archive writer adapter. AddFiles collects names or masks; Save takes
// the files they stand for into the archive under construction; the archive
// file is written in one pass when it is closed (CloseArchive, a new
// FileName, or the object's release), so any number of saves costs one
// write. Files may be deleted as soon as the Save that took them returns.
// Failures name the archive (or the subject it was made for) and the reason.
#pragma once

#include "archive/zip_staging.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

#include <memory>
#include <string>
#include <vector>

namespace nv {

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
