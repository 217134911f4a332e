#include "archive/zipper.h"

#include "archive/pending_files.h"
#include "frame/exception.h"
#include "frame/text.h"

#include <zip.h>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace nv {
namespace {

// Saves run one at a time in the process.
std::mutex& SaveLock() {
  static std::mutex lock;
  return lock;
}

[[noreturn]] void ThrowZipError(int code) {
  throw ENvException(("Zip error: " + std::to_string(code)).c_str());
}

}  // namespace

CNvTAbZipperImpl::~CNvTAbZipperImpl() {
  try {
    std::lock_guard<std::mutex> hold(SaveLock());
    WriteStaged();
  } catch (...) {
  }
}

void CNvTAbZipperImpl::AddFiles(const BstrArg& fileMask) {
  pending_.push_back(fileMask);
  if (autoSave_) Save();
}

void CNvTAbZipperImpl::Save() {
  if (pending_.empty()) return;
  std::lock_guard<std::mutex> hold(SaveLock());
  if (!staged_) {
    try {
      staged_ = std::make_unique<archive::StagedArchive>();
    } catch (const ENvException&) {  // no staging folder could be made
      throw ENvException("Cannot initialize zip library");
    }
  }
  const std::string base = Utf16ToUtf8(baseDirectory_.View());
  std::error_code ec;
  if (!base.empty() && !std::filesystem::is_directory(base, ec))
    throw ENvException("Cannot sets options in zip library");
  const std::string archive = Utf16ToUtf8(fileName_.View());
  if (archive.empty() || archive.find('\0') != std::string::npos)
    throw ENvException("The name of the zip file is not correct");
  stagedFor_ = archive;
  StagePending(base);
  pending_.clear();
}

void CNvTAbZipperImpl::StagePending(const std::string& baseDirectory) {
  const archive::ZipCompression compression = archive::CompressionFor(level_);
  const size_t mark = staged_->Mark();
  try {
    for (const Bstr& pending : pending_) {
      const auto files = archive::ExpandPending(Utf16ToUtf8(pending.View()), baseDirectory);
      if (files.empty()) throw archive::ZipFailure(ZIP_ER_NOENT);
      for (const archive::SourceFile& file : files)
        staged_->Add(file.path, file.entryName, compression);
    }
  } catch (const archive::ZipFailure& failure) {
    staged_->RollBack(mark);
    ThrowZipError(failure.Code());
  } catch (const std::filesystem::filesystem_error&) {
    staged_->RollBack(mark);
    ThrowZipError(ZIP_ER_READ);
  }
}

void CNvTAbZipperImpl::WriteStaged() {
  const std::unique_ptr<archive::StagedArchive> staged = std::move(staged_);
  if (!staged || staged->Empty()) return;
  try {
    staged->WriteTo(stagedFor_);
  } catch (const archive::ZipFailure& failure) {
    ThrowZipError(failure.Code());
  }
}

void CNvTAbZipperImpl::CloseArchive() {
  fileName_ = Bstr();
  std::lock_guard<std::mutex> hold(SaveLock());
  WriteStaged();
}

void CNvTAbZipperImpl::PutFileName(const BstrArg& value) {
  if (value.View() != fileName_.View()) {
    std::lock_guard<std::mutex> hold(SaveLock());
    WriteStaged();
  }
  fileName_ = value;
}

}  // namespace nv
