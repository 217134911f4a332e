// Creating and closing a package: the temporary folder, the archive built
// beside its destination, the instance document and the schema documents.
#include "writer/writer.h"

#include "archive/file_stream.h"
#include "archive/zipper.h"
#include "frame/exception.h"
#include "frame/guid_text.h"
#include "frame/text.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
#include "schema/namespaces.h"
#include "schemadoc/schema_writer.h"
#include "writer/envelope_writer.h"

#include <filesystem>

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

// A fresh name beside `destination`, where its archive is built.
Bstr PartialArchiveName(std::u16string_view destination) {
  return Bstr::FromUtf8(Utf16ToUtf8(destination) + ".~" + NewGuidText() + ".tmp");
}

void RemoveFile(const Bstr& name) noexcept {
  if (name.Empty()) return;
  try {
    std::error_code ignored;
    std::filesystem::remove(ToFileSystemPath(name.View()), ignored);
  } catch (...) {
  }
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
  if (FileExists(name.View()))
    throw ENvException(u"File " + std::u16string(name.View()) + u" already exist.");
  created_ = true;
  try {
    BuildPackage(name);
  } catch (...) {
    // The writer stays open, but nothing half-made is left on disk.
    Discard();
    closed_ = false;
    created_ = true;
    throw;
  }
}

void CNvVexaWriterImpl::BuildPackage(const Bstr& fileName) {
  destination_ = fileName;
  partialArchive_ = PartialArchiveName(fileName.View());
  zipper_ = CreateObject<CNvTAbZipper>();
  zipper_.PutFileName(partialArchive_);
  tempFolder_.emplace();
  zipper_.PutBaseDirectory(tempFolder_->Path());
  std::u16string folder(tempFolder_->Path().View());
  if (!IsPathSeparator(folder.back())) folder += u'/';
  if (schemaMode_ == mtEmbedded) AddEmbeddedSchemaDocuments(folder);
  OpenInstanceDocument(folder);
}

void CNvVexaWriterImpl::AddEmbeddedSchemaDocuments(const std::u16string& folder) {
  schemaWriter_ = MakeSchemaWriter(schema_, false);
  schemaWriter_.Save(Bstr(folder + std::u16string(kSchemaDocument)));
  zipper_.AddFiles(Bstr(kSchemaDocument));
  ComPtr<INvSimpleStringList> behaviorFiles = schemaWriter_.BehaviorFileNameList();
  const LONG count = behaviorFiles.Count();
  for (LONG i = 0; i < count; ++i) zipper_.AddFiles(behaviorFiles.Item(i));
}

void CNvVexaWriterImpl::OpenInstanceDocument(const std::u16string& folder) {
  ComPtr<ITStream> stream = CreateObject<TFileStream>();
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
  std::error_code error;
  std::filesystem::rename(ToFileSystemPath(partialArchive_.View()),
                          ToFileSystemPath(destination_.View()), error);
  if (error)
    throw ENvException(Bstr::FromUtf8("Cannot create Vexa file: " +
                                      Utf16ToUtf8(destination_.View()) + ". " + error.message()));
  partialArchive_ = Bstr();
}

void CNvVexaWriterImpl::Discard() noexcept {
  if (stream_) {
    try {
      stream_.Free();
    } catch (...) {
    }
  }
  stream_.reset();
  // The zipper writes what it staged when released; that must land in the
  // partial archive, which is removed afterwards.
  zipper_.reset();
  tempFolder_.reset();
  RemoveFile(partialArchive_);
  partialArchive_ = Bstr();
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
