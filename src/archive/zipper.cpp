#include "archive/zipper.h"

#include "archive/pending_files.h"
#include "frame/exception.h"
#include "frame/text.h"
#include "platform/paths.h"

#include <cerrno>

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
    } catch (const ENvException& e) {  // no staging folder could be made
      throw ENvException(u"Cannot initialize zip library: " + std::u16string(e.Message().View()));
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
      const std::string name = Utf16ToUtf8(pending.View());
      const auto files = archive::ExpandPending(name, baseDirectory);
      if (files.empty())
        throw archive::ZipFailure("cannot read " + name + ": " + ErrnoText(ENOENT));
      for (const archive::SourceFile& file : files)
        staged_->Add(file.path, file.entryName, compression);
    }
  } catch (const archive::ZipFailure& failure) {
    staged_->RollBack(mark);
    ThrowFailure(stagedFor_, failure.what());
  } catch (const std::filesystem::filesystem_error& failure) {
    staged_->RollBack(mark);
    ThrowFailure(stagedFor_,
                 "cannot read " + failure.path1().string() + ": " + failure.code().message());
  }
}

void CNvTAbZipperImpl::ThrowFailure(const std::string& archive, const std::string& reason) const {
  const std::u16string subject = subject_.empty() ? u"archive " + Utf8ToUtf16(archive) : subject_;
  throw ENvException(u"Cannot write " + subject + u": " + Utf8ToUtf16(reason));
}

void CNvTAbZipperImpl::WriteStaged() {
  const std::unique_ptr<archive::StagedArchive> staged = std::move(staged_);
  if (!staged || staged->Empty()) return;
  try {
    staged->WriteTo(stagedFor_);
  } catch (const archive::ZipFailure& failure) {
    ThrowFailure(stagedFor_, failure.what());
  }
}

void CNvTAbZipperImpl::Abandon() noexcept {
  pending_.clear();
  staged_.reset();
}

void AbandonArchive(const ComPtr<ITAbZipper>& zipper) noexcept {
  if (auto* ours = dynamic_cast<CNvTAbZipperImpl*>(zipper.get())) ours->Abandon();
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
