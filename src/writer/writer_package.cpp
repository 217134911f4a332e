// Creating and closing a package: the destination checked at create, the
// temporary folder, the archive built beside its destination under a short
// name and moved onto it only when complete and only while nothing has that
// name, the instance document and the schema documents. Once any write to
// the package failed, everything after it fails with that first message and
// nothing is published.
#include "writer/writer.h"

#include "archive/streams.h"
#include "archive/zipper.h"
#include "frame/exception.h"
#include "frame/text.h"
#include "instance/names.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "schemadoc/schema_writer.h"
#include "writer/data_writer.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

namespace nv {
namespace {

constexpr std::u16string_view kSchemaDocument = u"VEXA_Schema.xsd";
constexpr std::u16string_view kInstanceDocument = u"VEXA_Data.xml";

// Up to and including the last separator, else the last colon; else empty.
std::u16string_view FolderPart(std::u16string_view name) {
  size_t end = name.find_last_of(u"/\\");
  if (end == std::u16string_view::npos) end = name.find_last_of(u':');
  return end == std::u16string_view::npos ? std::u16string_view() : name.substr(0, end + 1);
}

[[noreturn]] void ThrowAlreadyExists(const Bstr& name) {
  throw ENvException(u"File " + name + u" already exist.");
}

[[noreturn]] void ThrowCannotCreate(const Bstr& name, int error) {
  throw ENvException(u"Cannot create Vexa file: " + name + u". " +
                     Bstr::FromUtf8(ErrnoText(error)));
}

// Refuses a destination that exists (a link too: it would not be replaced)
// or that the system would refuse (a name too long, an unreachable folder).
void CheckDestination(const Bstr& name) {
  const std::string path = ToFileSystemPath(name.View());
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0) {
    if (IsFolder(name.View())) ThrowCannotCreate(name, EISDIR);
    ThrowAlreadyExists(name);
  }
  const int error = errno;
  if (error != ENOENT) ThrowCannotCreate(name, error);
}

}  // namespace

void CNvVexaWriterImpl::CreateVexaArchiveFile(const BstrArg& vexaFileName) {
  const Bstr name(vexaFileName);
  const std::u16string_view folder = FolderPart(name.View());
  if (folder.empty() || !IsFolder(folder))
    throw ENvException(u"Cannot create Vexa file: " + std::u16string(name.View()) +
                       u". File path doesn't exist.");
  if (!closed_) throw ENvException("Vexa is already Open");
  closed_ = false;
  if (schemaMode_ == mtNone) throw ENvException("Schema mode was not set");
  if (!schema_) throw ENvException("a schema is missing");
  if (schemaMode_ == mtEmbedded)
    schema_.as<INvVexaSchemaCRaw>().Set_SchemaLocation(Bstr(kSchemaDocument));
  if (schema_.SchemaURI().Empty()) throw ENvException("a schema URI is missing");
  CheckDestination(name);
  try {
    partialArchive_.emplace(name.View());
  } catch (const std::system_error& e) {
    ThrowCannotCreate(name, e.code().value());
  }
  destination_ = name;
  created_ = true;
  try {
    BuildPackage();
  } catch (...) {
    KeepFailure(frame::DescribeCaughtException().description);
    throw;
  }
}

void CNvVexaWriterImpl::BuildPackage() {
  const std::u16string subject = u"Vexa file " + std::u16string(destination_.View());
  zipper_ = CreateObject<CNvTAbZipper>(subject);
  zipper_.PutFileName(Bstr::FromUtf8(partialArchive_->Path()));
  tempFolder_.emplace();
  zipper_.PutBaseDirectory(tempFolder_->Path());
  std::u16string folder(tempFolder_->Path().View());
  if (!IsPathSeparator(folder.back())) folder += u'/';
  if (schemaMode_ == mtEmbedded) AddEmbeddedSchemaDocuments(folder);
  OpenInstanceDocument(folder, subject);
}

void CNvVexaWriterImpl::AddEmbeddedSchemaDocuments(const std::u16string& folder) {
  schemaWriter_ = MakeSchemaWriter(schema_, false);
  schemaWriter_.Save(Bstr(folder + std::u16string(kSchemaDocument)));
  zipper_.AddFiles(Bstr(kSchemaDocument));
  ComPtr<INvSimpleStringList> behaviorFiles = schemaWriter_.BehaviorFileNameList();
  const LONG count = behaviorFiles.Count();
  for (LONG i = 0; i < count; ++i) zipper_.AddFiles(behaviorFiles.Item(i));
}

void CNvVexaWriterImpl::OpenInstanceDocument(const std::u16string& folder,
                                             const std::u16string& subject) {
  ComPtr<ITStream> stream = CreateObject<TFileStream>(subject);
  stream.Create(Bstr(folder + std::u16string(kInstanceDocument)), 0xFFFF);
  stream_ = stream;
  namespaces_ = CreateObject<CNvVexaNamespaces>();
  if (schema_.as<INvVexaSchemaCRaw>().HasMustUnderstandItems())
    DataWriter().Info().as<INvVexaInfoCRaw>().AddContainsMustUnderstandEntry();
  envelopeWriter_ = CreateObject<CNvVexaEnvelopeWriterCRaw>();
  envelopeWriter_.Create(namespaces_);
  envelopeWriter_.Set_Schema(schema_);
  envelopeWriter_.OpenEnvelopeElement(stream_);
}

void CNvVexaWriterImpl::KeepFailure(const Bstr& message) {
  RemovePackageFiles();
  dataWriter_.reset();
  envelopeWriter_.reset();
  schemaWriter_.reset();
  // The writer stays open; what comes through the data writer now fails
  // with the create failure's message, and so does the close.
  stream_ = CreateObject<TFileStream>(TFileStreamImpl::FailedWith{message});
  if (!namespaces_) namespaces_ = CreateObject<CNvVexaNamespaces>();
}

void CNvVexaWriterImpl::CloseVexaArchiveFile() {
  if (closed_) throw ENvException("Cannot close VexaFile without open first");
  try {
    if (stream_) FinishInstanceDocument();
    if (zipper_) ZipAndPublish();
  } catch (...) {
    Discard();
    throw;
  }
  Discard();
}

void CNvVexaWriterImpl::FinishInstanceDocument() {
  DataWriter().as<INvVexaDataWriterCRaw>().CloseBodyElement();
  envelopeWriter_.CloseEnvelopeElement(stream_);
  ComPtr<ITStream> stream = std::move(stream_);
  stream.Free();
}

void CNvVexaWriterImpl::ZipAndPublish() {
  zipper_.PutCopmressionLevel(compressionLevel_);
  zipper_.AddFiles(Bstr(kInstanceDocument));
  zipper_.Save();
  tempFolder_.reset();
  zipper_.CloseArchive();
  zipper_.reset();
  try {
    partialArchive_->BecomeNewTarget();
  } catch (const std::system_error& e) {
    // Another writer published that name since the create.
    if (e.code().value() == EEXIST) ThrowAlreadyExists(destination_);
    ThrowCannotCreate(destination_, e.code().value());
  }
}

void CNvVexaWriterImpl::RemovePackageFiles() noexcept {
  if (stream_) {
    try {
      stream_.Free();
    } catch (...) {
    }
  }
  stream_.reset();
  AbandonArchive(zipper_);
  zipper_.reset();
  tempFolder_.reset();
  partialArchive_.reset();
}

void CNvVexaWriterImpl::Discard() noexcept {
  RemovePackageFiles();
  destination_ = Bstr();
  schema_.reset();
  schemaWriter_.reset();
  dataWriter_.reset();
  envelopeWriter_.reset();
  namespaces_.reset();
  closed_ = true;
  created_ = false;
}

}  // namespace nv
