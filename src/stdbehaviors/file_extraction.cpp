// Extracting an embedded file from the package it was read from: under its
// file name into a folder, never leaving that folder, or to a path the
// client names. The entry is read with the archive's checks and written
// under a temporary name that becomes the file's only when complete and only
// while nothing has that name, so a failure leaves no partial file and
// nothing is overwritten.
#include "stdbehaviors/file_wrapper.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "archive/beneath.h"
#include "archive/entry_names.h"
#include "archive/unzipper.h"
#include "frame/exception.h"
#include "frame/unique_fd.h"
#include "platform/file_info.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace nv {
namespace {

// Computer names are host names (ASCII); letter case does not count.
std::u16string UpperCase(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return upper;
}

// The folders and the file of a file name read from a package, one
// component each, when it names a file inside whatever folder it is taken
// against: the archive's test for entry names, which refuses absolute and
// rooted names, drives, ':' and "..". Empty when it fails or names a folder.
std::vector<std::string> ComponentsInside(std::u16string_view name) {
  const std::string utf8 = Bstr(name).ToUtf8();
  if (!archive::UnsafeNameReason(utf8).empty() || archive::IsFolderName(utf8)) return {};
  return archive::NameComponents(utf8);
}

UniqueFd OpenFolder(const std::string& path) {
  return UniqueFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

[[noreturn]] void ThrowCannotCreateFolders(std::u16string_view target) {
  throw ENvException(u"\"Could not create diroctories for file \"" + std::u16string(target));
}

}  // namespace

void CNvVexaBaseFileImpl::Extract(const BstrArg& rootFolder) {
  const std::u16string_view root = rootFolder;
  if (!IsFolder(root))
    throw ENvException("Invalid Folder. Path is not specified correctly, or folder does not exist");
  if (!package_)
    throw ENvException("It is not allowed to use NvVexaFile.Extract while writing file");
  const Bstr entry = EntryToExtract();
  const Bstr name = FileName();
  std::vector<std::string> parts = ComponentsInside(name);
  if (parts.empty())
    throw ENvException(u"Cannot extract file \"" + Id() + u"\": its file name \"" + name +
                       u"\" does not name a file inside the folder \"" + root + u"\"");
  const std::string leaf = parts.back();
  parts.pop_back();
  const Bstr target = JoinPath(root, name);
  const UniqueFd base = OpenFolder(ToFileSystemPath(root));
  // Made beneath the root without following links: nothing lands outside it.
  const UniqueFd folder = base ? archive::MakeFoldersBeneath(base.get(), parts) : UniqueFd();
  if (!folder) ThrowCannotCreateFolders(target);
  WriteEntry(entry, folder.get(), leaf, target);
}

void CNvVexaBaseFileImpl::ExtractToFile(const BstrArg& newFileName) {
  if (!package_)
    throw ENvException("It is not allowed to use NvVexaFile.ExtractToFile while writing file");
  const Bstr entry = EntryToExtract();
  const std::u16string_view target = newFileName;
  const std::string path = ToFileSystemPath(target);
  const size_t slash = path.rfind('/');
  const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
  if (leaf.empty() || leaf == "." || leaf == "..")
    ThrowCannotExtractTo(target, "the name does not name a file");
  const std::string folderPath =
      slash == std::string::npos ? "." : path.substr(0, std::max<size_t>(slash, 1));
  UniqueFd folder;
  try {
    CreateFolderTree(Bstr::FromUtf8(folderPath));
    folder = OpenFolder(folderPath);
  } catch (const ENvException&) {
    // Reported below with the file's name.
  }
  if (!folder) ThrowCannotCreateFolders(target);
  WriteEntry(entry, folder.get(), leaf, target);
}

Bstr CNvVexaBaseFileImpl::EntryToExtract() {
  if (!Embedded()) throw ENvException("Cannot extract a non embedded file");
  CNvVexaSourceImpl& source = SourceImpl();
  const Bstr recordedOn = source.ComputerName();
  if (!recordedOn.Empty() && UpperCase(recordedOn) != UpperCase(GetCurrentComputerName()))
    throw ENvException(u"Cannot extract file \"" + Id() +
                       u"\". name of computer differs from actual computerName");
  const Bstr location = source.Location();
  if (package_.FindFile(location) < 0)
    throw ENvException(u"File \"" + location + u"\" not found in the zipped vexa file");
  return location;
}

void CNvVexaBaseFileImpl::WriteEntry(const Bstr& entry, int folderFd, const std::string& leaf,
                                     std::u16string_view target) {
  constexpr std::string_view kExists = "a file of that name exists already";
  struct stat existing {};
  if (::fstatat(folderFd, leaf.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
    ThrowCannotExtractTo(target, kExists);
  CNvTAbUnZipperImpl* archive = ImplFrom<CNvTAbUnZipper, ITAbUnZipper>(package_);
  if (!archive) throw ComError(E_NOINTERFACE);
  // Its failures (more or fewer bytes than declared, a wrong checksum) pass through.
  const std::unique_ptr<archive::EntryReader> reader = archive->OpenEntry(entry.ToUtf8());
  const double modified = ModificationTime();
  try {
    archive::ReplacingFile out(folderFd, leaf);
    std::vector<char> block(archive::kCopyBlockSize);
    while (const size_t got = reader->Read(block.data(), block.size()))
      out.Write(block.data(), got);
    // Linux cannot set a birth time: the creation time stays the extraction's.
    out.CommitAsNew(modified == -1.0 ? std::nullopt : TimespecFromLocalDate(modified));
  } catch (const std::system_error& e) {
    if (e.code() == std::errc::file_exists) ThrowCannotExtractTo(target, kExists);
    ThrowCannotExtractTo(target, e.code().message());
  }
}

void CNvVexaBaseFileImpl::ThrowCannotExtractTo(std::u16string_view target,
                                               std::string_view reason) {
  throw ENvException(u"Cannot extract file \"" + Id() + u"\" to \"" + std::u16string(target) +
                     u"\": " + Bstr::FromUtf8(reason));
}

}  // namespace nv
