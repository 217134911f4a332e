#include "archive/unzipper.h"

#include "frame/exception.h"
#include "frame/text.h"

#include <fcntl.h>

#include <algorithm>
#include <limits>
#include <mutex>

namespace nv {
namespace {

// Listings run one at a time in the process.
std::mutex& ListingLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

void CNvTAbUnZipperImpl::Init() {
  initialized_ = true;
  entryNames_.clear();
}

void CNvTAbUnZipperImpl::PutFileName(const BstrArg& value) {
  fileName_ = value;
  archive_.reset();
  entryNames_.clear();
}

archive::ZipReader& CNvTAbUnZipperImpl::Archive() {
  if (!initialized_) throw ENvException("Cannot initialize unzip library");
  if (!archive_) archive_ = std::make_unique<archive::ZipReader>(Utf16ToUtf8(fileName_.View()));
  return *archive_;
}

archive::UniqueFd CNvTAbUnZipperImpl::OpenBaseDirectory() const {
  archive::UniqueFd base;
  if (!baseDirectory_.Empty())
    base = archive::UniqueFd(::open(baseDirectory_.Utf8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!base) throw ENvException("Cannot set options in unzip library");
  return base;
}

LONG CNvTAbUnZipperImpl::FindFile(const BstrArg& fullFileName) {
  return static_cast<LONG>(Archive().Find(Utf16ToUtf8(fullFileName.View())));
}

void CNvTAbUnZipperImpl::ListEntries() {
  archive::ZipReader& zip = Archive();
  if (!entryNames_.empty()) return;
  std::lock_guard<std::mutex> hold(ListingLock());
  entryNames_.reserve(zip.Entries().size());
  for (const archive::ZipEntry& entry : zip.Entries())
    entryNames_.push_back(Bstr::FromUtf8(entry.name));
}

SHORT CNvTAbUnZipperImpl::Count() {
  ListEntries();
  // The count is 16-bit; Item still reaches every entry.
  const size_t limit = std::numeric_limits<SHORT>::max();
  return static_cast<SHORT>(std::min(entryNames_.size(), limit));
}

Bstr CNvTAbUnZipperImpl::Item(LONG index) {
  ListEntries();
  if (index < 0 || static_cast<size_t>(index) >= entryNames_.size())
    throw ENvException("Failed to get item from archive. Index given is bigger then archive size.");
  return entryNames_[static_cast<size_t>(index)];
}

}  // namespace nv
