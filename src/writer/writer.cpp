#include "writer/writer.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "platform/paths.h"
#include "schemadoc/schema_reader.h"
#include "writer/data_writer.h"

#include <filesystem>

namespace nv {
namespace {

// "urn:uuid:" and a new GUID, upper-case, without braces.
Bstr NewSchemaIdentity() {
  return Bstr::FromUtf8("urn:uuid:" + NewGuidText());
}

// Local file names become absolute; URLs and network paths stay as given.
Bstr ResolvedLocation(const BstrArg& location) {
  if (!IsLocalFileName(location)) return Bstr(location);
  const auto absolute = std::filesystem::absolute(ToFileSystemPath(location));
  return Bstr::FromUtf8(absolute.lexically_normal().string());
}

}  // namespace

CNvVexaWriterImpl::~CNvVexaWriterImpl() {
  if (closed_) return;
  try {
    CloseVexaArchiveFile();
  } catch (...) {
    // A destructor cannot report; Discard has already removed what was left.
  }
}

ComPtr<INvVexaDataWriter> CNvVexaWriterImpl::DataWriter() {
  if (!created_)
    throw ENvException(
        "Invalid call for Writer.Data: You have to call \"CreateVexaArchiveFile\" prior to the "
        "data initialization");
  if (!dataWriter_) {
    ComPtr<INvVexaDataWriter> made = CreateObject<CNvVexaDataWriter>();
    made.as<INvVexaDataWriterCRaw>().Create(stream_, zipper_, namespaces_, Schema());
    dataWriter_ = made;
  }
  return dataWriter_;
}

void CNvVexaWriterImpl::SetSchemaMode(SchemaModeEnum mode, const BstrArg& schemaURI,
                                      const BstrArg& schemaLocation, bool load) {
  if (mode == mtEmbedded) {
    if (!schemaURI.View().empty())
      throw ENvException(
          "CNvVexaWriter.SetSchemaMode: SchemaURI cannot be assigned while schema mode is "
          "embedded");
    if (!schemaLocation.View().empty())
      throw ENvException(
          "CNvVexaWriter.SetSchemaMode: SchemaLocation cannot be assigned while schema mode is "
          "embedded");
    if (load)
      throw ENvException(
          "CNvVexaWriter.SetSchemaMode: \"Load\" parameter cannot be true if Schema mode is "
          "embedded");
    Schema().PutSchemaURI(NewSchemaIdentity());
  } else {
    SetExternalSchema(schemaURI, schemaLocation, load);
  }
  schemaMode_ = mode;
  load_ = load;
}

void CNvVexaWriterImpl::SetExternalSchema(const BstrArg& schemaURI,
                                          const BstrArg& schemaLocation, bool load) {
  if (schemaURI.View().empty())
    throw ENvException("CNvVexaWriter.SetSchemaMode: SchemaURI is missing");
  if (schemaLocation.View().empty())
    throw ENvException("CNvVexaWriter.SetSchemaMode: SchemaLocation is missing");
  const Bstr location = ResolvedLocation(schemaLocation);
  // A loaded document brings its own URI.
  if (load)
    ReadSchemaDocument(Schema(), location);
  else
    Schema().PutSchemaURI(Bstr(schemaURI));
  Schema().as<INvVexaSchemaCRaw>().Set_SchemaLocation(location);
}

void CNvVexaWriterImpl::CreateVexaArchiveFileEx(const BstrArg& vexaFileName,
                                                ArchiveFileCompressionLevelEnum level) {
  compressionLevel_ = level;
  CreateVexaArchiveFile(vexaFileName);
}

}  // namespace nv
