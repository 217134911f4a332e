// The file writer and reader. The writer creates file objects with the
// object writer of the writer's current package and embeds files into that
// package: the file is copied or downloaded into the package's folder under
// the object's identifier, and that entry added to the archive. The reader
// casts objects read from a package to files bound to that package.
#include "stdbehaviors/files.h"

#include <sys/stat.h>

#include <optional>
#include <system_error>

#include "frame/exception.h"
#include "platform/file_info.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/paths.h"
#include "stdbehaviors/behavior_views.h"
#include "stdbehaviors/file_wrapper.h"

namespace nv {
namespace {

// Package files of the format itself begin so; embedded files must not.
constexpr std::u16string_view kPreservedPrefix = u"VEXA_";

// The part of a file name after its last separator.
std::u16string_view LastComponent(std::u16string_view name) {
  const size_t separator = name.find_last_of(u"/\\");
  return separator == std::u16string_view::npos ? name : name.substr(separator + 1);
}

// A new file view of `object` when its class carries the files behaviour
// `element`, else null.
template <class View>
ComPtr<typename View::NvDefault> CastToFileView(const ComPtr<INvVexaObject>& object,
                                                std::u16string_view element, FileKind kind,
                                                ComPtr<ITAbUnZipper> package) {
  if (!CarriesBehavior(object, FilesBehaviorUri(element))) return {};
  return CreateObject<View>(object, kind, std::move(package));
}

template <class I>
CNvVexaBaseFileImpl& FileToEmbed(const ComPtr<I>& file) {
  if (!file) throw ComError(E_POINTER);
  CNvVexaBaseFileImpl* impl = FileImplOf(file);
  if (!impl) throw ComError(E_NOINTERFACE);
  return *impl;
}

[[noreturn]] void ThrowCannotEmbed(std::u16string_view source, std::u16string_view reason) {
  throw ENvException(u"Cannot embed file \"" + std::u16string(source) + u"\": " +
                     std::u16string(reason));
}

[[noreturn]] void ThrowEntryTaken(std::u16string_view source, std::u16string_view entry) {
  ThrowCannotEmbed(source,
                   u"the package already holds a file named \"" + std::u16string(entry) + u"\"");
}

// Brings `source` into the package's folder as `destination`: fetched under
// a temporary name beside it, given its times, and renamed only when
// complete and only while nothing has that name (the first file of an
// identifier stays). On failure nothing is left.
void CopyIntoPackage(const Bstr& source, const Bstr& destination, std::u16string_view entry,
                     double created, double modified,
                     const ComPtr<INvVexaInitializationData>& initializationData) {
  struct stat existing {};
  if (::lstat(ToFileSystemPath(destination).c_str(), &existing) == 0)
    ThrowEntryTaken(source, entry);
  std::optional<FileBeside> copy;
  try {
    copy.emplace(destination);
  } catch (const std::system_error& e) {
    ThrowCannotEmbed(source, Bstr::FromUtf8(e.code().message()));
  }
  const Bstr copyName = Bstr::FromUtf8(copy->Path());
  FetchFile(source, copyName, initializationData);
  // No time is recorded for a file named by a URL.
  if (modified != -1.0) SetFileTimes(copyName, created, modified, modified);
  try {
    copy->BecomeNewTarget();
  } catch (const std::system_error& e) {
    if (e.code() == std::errc::file_exists) ThrowEntryTaken(source, entry);
    ThrowCannotEmbed(source, Bstr::FromUtf8(e.code().message()));
  }
}

class CNvVexaFileWriterImpl {
 public:
  explicit CNvVexaFileWriterImpl(ComPtr<INvVexaWriter> writer) : writer_(std::move(writer)) {}
  virtual ~CNvVexaFileWriterImpl() = default;

  virtual ComPtr<INvVexaFile> NewFile(const BstrArg& uniqueId) {
    if (uniqueId.Empty()) throw ENvException("Missing Id for file");
    return CreateObject<CNvVexaFile>(NewObject(u"__mainFile", uniqueId), FileKind::kMain);
  }

  virtual ComPtr<INvVexaSecondaryFile> NewSecondaryFile(const BstrArg& uniqueId,
                                                        const BstrArg& previousSiblingId) {
    if (uniqueId.Empty()) throw ENvException("Missing Id for file");
    if (previousSiblingId.Empty())
      throw ENvException("Missing Previous Sibling Id for SecondaryFile");
    const ComPtr<INvVexaObject> object = NewObject(u"__secondaryFile", uniqueId);
    object.GetBehaviorValues(FilesBehaviorUri(u"secondaryFile"))
        .PutItem(u"previousSibling", Variant(Bstr(previousSiblingId)));
    return CreateObject<CNvVexaSecondaryFile>(object, FileKind::kSecondary);
  }

  virtual ComPtr<INvVexaFile> CastToFile(const ComPtr<INvVexaObject>& object) {
    return CastToFileView<CNvVexaFile>(object, u"mainFile", FileKind::kMain, nullptr);
  }

  virtual ComPtr<INvVexaSecondaryFile> CastToSecondaryFile(const ComPtr<INvVexaObject>& object) {
    return CastToFileView<CNvVexaSecondaryFile>(object, u"secondaryFile", FileKind::kSecondary,
                                                nullptr);
  }

  virtual void EmbedFile(const ComPtr<INvVexaFile>& file) { Embed(FileToEmbed(file)); }

  virtual void EmbedSecondaryFile(const ComPtr<INvVexaSecondaryFile>& file) {
    Embed(FileToEmbed(file));
  }

  virtual ComPtr<INvVexaFileAssociation> CastToFileAssociation(
      const ComPtr<INvVexaObject>& object) {
    return nv::CastToFileAssociation(object);
  }

 private:
  // Through the object writer of the package open now, so that this file
  // writer serves every package its writer makes.
  ComPtr<INvVexaObject> NewObject(std::u16string_view className, const BstrArg& id) {
    return writer_.DataWriter().ObjectWriter().NewObject(className, id);
  }

  void Embed(CNvVexaBaseFileImpl& file) {
    const Bstr fileName = file.FileName();
    const std::u16string_view name = LastComponent(fileName);
    if (name.starts_with(kPreservedPrefix))
      throw ENvException(u"Invalid embedded file name: \"" + std::u16string(name) +
                         u"\". Embedded file name cannot start with Vexa preserved prefix: \"" +
                         std::u16string(kPreservedPrefix) + u"\".");
    const Bstr location = file.Source().Location();
    if (file.IsSaved())
      throw ENvException(u"Cannot embed file \"" + location +
                         u"\". The file object was already saved. A file must be embedded "
                         u"before it is saved.");
    const Bstr id = file.Id();
    if (location.Empty())
      throw ENvException(u"Cannot embed file \"" + id + u"\": its source was not set");
    const ComPtr<ITAbZipper> zipper = writer_.as<INvVexaWriterCRaw>().Zipper();
    if (!zipper) throw ENvException(u"Cannot embed file \"" + location + u"\": no package is open");
    CopyIntoPackage(location, JoinPath(zipper.BaseDirectory(), id), id, file.CreationTime(),
                    file.ModificationTime(), writer_.InitializationData());
    // The archive and the location change only once the copy is in place.
    zipper.AddFiles(id);
    file.RecordEmbedded(id);
  }

  ComPtr<INvVexaWriter> writer_;
};

class CNvVexaFileReaderImpl {
 public:
  explicit CNvVexaFileReaderImpl(ComPtr<INvVexaReader> reader) : reader_(std::move(reader)) {}
  virtual ~CNvVexaFileReaderImpl() = default;

  // Bound to the package the reader has open now.
  virtual ComPtr<INvVexaFile> CastToFile(const ComPtr<INvVexaObject>& object) {
    return CastToFileView<CNvVexaFile>(object, u"mainFile", FileKind::kMain, Package());
  }

  virtual ComPtr<INvVexaSecondaryFile> CastToSecondaryFile(const ComPtr<INvVexaObject>& object) {
    return CastToFileView<CNvVexaSecondaryFile>(object, u"secondaryFile", FileKind::kSecondary,
                                                Package());
  }

  virtual ComPtr<INvVexaFileAssociation> CastToFileAssociation(
      const ComPtr<INvVexaObject>& object) {
    return nv::CastToFileAssociation(object);
  }

 private:
  ComPtr<ITAbUnZipper> Package() const { return reader_.as<INvVexaReaderCRaw>().Unzipper(); }

  ComPtr<INvVexaReader> reader_;
};

class CNvVexaFileWriter final
    : public Implements<CNvVexaFileWriter, CNvVexaFileWriterImpl, INvVexaFileWriter> {
 public:
  using Implements::Implements;
};

class CNvVexaFileReader final
    : public Implements<CNvVexaFileReader, CNvVexaFileReaderImpl, INvVexaFileReader> {
 public:
  using Implements::Implements;
};

}  // namespace

ComPtr<INvVexaFileWriter> NewFileWriter(const ComPtr<INvVexaWriter>& writer) {
  if (!writer) throw ComError(E_POINTER);
  return CreateObject<CNvVexaFileWriter>(writer);
}

ComPtr<INvVexaFileReader> NewFileReader(const ComPtr<INvVexaReader>& reader) {
  if (!reader) throw ComError(E_POINTER);
  return CreateObject<CNvVexaFileReader>(reader);
}

}  // namespace nv
