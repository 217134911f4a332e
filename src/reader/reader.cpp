#include "reader/reader.h"

#include "archive/unzipper.h"
#include "frame/exception.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "reader/data_reader.h"
#include "schemadoc/schema_reader.h"

namespace nv {

ComPtr<INvVexaSchema> CNvVexaReaderImpl::Schema() {
  if (!schema_) schema_ = schemas_.NewSchema();
  return schema_;
}

ComPtr<INvVexaUnderstoodInfoItems> CNvVexaReaderImpl::UnderstoodInfoItems() {
  if (!understood_) understood_ = CreateObject<CNvVexaUnderstoodInfoItems>();
  return understood_;
}

ComPtr<INvVexaDataReader> CNvVexaReaderImpl::DataReader() {
  if (!unzipper_) throw ComError(E_POINTER);
  if (!dataReader_)
    dataReader_ = CreateObject<CNvVexaDataReader>(unzipper_, Schema(), validateMustUnderstand_,
                                                  UnderstoodInfoItems());
  return dataReader_;
}

void CNvVexaReaderImpl::OpenVexaArchiveFile(const BstrArg& fileName, bool loadSchema) {
  if (inUse_) throw ENvException("NvVexaReader is already in use. Please close the reader");
  if (!FileExists(fileName.View()))
    throw ENvException(u"file \"" + std::u16string(fileName.View()) + u"\" does not exist");
  inUse_ = true;
  ComPtr<ITAbUnZipper> unzipper = CreateObject<CNvTAbUnZipper>();
  unzipper.Init();
  unzipper.PutFileName(fileName);
  unzipper.Count();  // opens and vets the whole archive now
  unzipper_ = unzipper;
  if (loadSchema) LoadSchema();
}

// The schema documents (every "VEXA_" entry but the instance document, which
// is read from the archive) are extracted into a folder of their own, and
// the schema the envelope names is loaded from there.
void CNvVexaReaderImpl::LoadSchema() {
  if (schemaLoaded_) schema_ = nullptr;
  const ComPtr<INvVexaSchema> schema = Schema();
  const auto* data = ImplFrom<CNvVexaDataReader, INvVexaDataReader>(DataReader());
  const Bstr named = data->SchemaLocation();
  extracted_.emplace();
  const Bstr folder = extracted_->Path();
  // Every entry, however many: the adapter's Count is 16-bit.
  for (const Bstr& entry : ImplFrom<CNvTAbUnZipper, ITAbUnZipper>(unzipper_)->EntryNames()) {
    if (entry.View().starts_with(u"VEXA_") && entry.View() != u"VEXA_Data.xml")
      unzipper_.ExtractFilesToNewLocation(entry, JoinPath(folder.View(), entry.View()));
  }
  const Bstr location = LocationInFolder(named.View(), folder.View(), u"of the package");
  if (IsLocalFileName(location.View()) && !FileExists(location.View()))
    throw ENvException("SchemaLocation is missing");
  ReadSchemaDocument(schema, location, {false, folder});
  schemaLoaded_ = true;
}

void CNvVexaReaderImpl::Close() {
  dataReader_ = nullptr;
  unzipper_ = nullptr;
  extracted_.reset();
  inUse_ = false;
}

}  // namespace nv
