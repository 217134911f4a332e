#include "stdbehaviors/file_wrapper.h"

#include "frame/exception.h"
#include "frame/variant.h"
#include "platform/file_info.h"
#include "platform/paths.h"
#include "stdbehaviors/behavior_views.h"
#include "stdbehaviors/catalogue.h"

namespace nv {

Bstr FilesBehaviorUri(std::u16string_view element) {
  return StandardBehaviorUri(kFilesNamespace, element);
}

Bstr CNvVexaSourceImpl::Location() { return StringProperty(description_, u"location"); }

Bstr CNvVexaSourceImpl::ComputerName() { return StringProperty(description_, u"computerName"); }

void CNvVexaSourceImpl::SetLocation(const Bstr& location) {
  previousLocation_ = Location();
  PutStringProperty(description_, u"location", location);
}

void CNvVexaSourceImpl::SetComputerName(const Bstr& name) {
  PutStringProperty(description_, u"computerName", name);
}

CNvVexaBaseFileImpl::CNvVexaBaseFileImpl(ComPtr<INvVexaObject> object, FileKind kind,
                                         ComPtr<ITAbUnZipper> package)
    : object_(std::move(object)),
      description_(object_.GetBehaviorValues(FilesBehaviorUri(u"fileDescription"))),
      timeStamp_(object_.GetBehaviorValues(StandardBehaviorUri(kTimeStampNamespace, u"timeStamp"))),
      package_(std::move(package)) {
  if (kind == FileKind::kSecondary)
    secondary_ = object_.GetBehaviorValues(FilesBehaviorUri(u"secondaryFile"));
}

Bstr CNvVexaBaseFileImpl::ContentType() { return StringProperty(description_, u"contentType"); }

void CNvVexaBaseFileImpl::PutContentType(const BstrArg& value) {
  PutStringProperty(description_, u"contentType", value);
}

Bstr CNvVexaBaseFileImpl::FileName() { return StringProperty(description_, u"fileName"); }

void CNvVexaBaseFileImpl::PutFileName(const BstrArg& value) {
  const std::u16string_view name = value;
  if (!IsRelativePath(name))
    throw ENvException(u"Invalid File Name \"" + std::u16string(name) +
                       u"\": The File name must be a relative path, such as filename.ext or "
                       u"folder1\\folder2\\filename.ext");
  // Such a name could not be extracted: it would leave the folder it is
  // extracted to.
  if (HasParentComponent(name))
    throw ENvException(u"Invalid File Name \"" + std::u16string(name) +
                       u"\": The File name must not climb out of its folder with \"..\"");
  PutStringProperty(description_, u"fileName", value);
}

CNvVexaSourceImpl& CNvVexaBaseFileImpl::SourceImpl() {
  if (!source_) source_ = CreateObject<CNvVexaSource>(description_);
  return *static_cast<CNvVexaSource*>(source_.get());
}

ComPtr<INvVexaSource> CNvVexaBaseFileImpl::Source() {
  SourceImpl();
  return source_;
}

bool CNvVexaBaseFileImpl::Embedded() { return IsRelativePath(SourceImpl().Location()); }

double CNvVexaBaseFileImpl::CreationTime() { return TimeProperty(timeStamp_, u"creationTime"); }

double CNvVexaBaseFileImpl::ModificationTime() {
  return TimeProperty(timeStamp_, u"modificationTime");
}

Bstr CNvVexaBaseFileImpl::PreviousSibling() {
  return secondary_ ? StringProperty(secondary_, u"previousSibling") : Bstr();
}

void CNvVexaBaseFileImpl::SetSource(const BstrArg& location) {
  const Bstr given(location);
  if (given.Empty()) throw ENvException("Missing required parameter \"Location\"");
  if (!IsFileNameURL(given)) {
    const FileInformation file = GetFileInformation(given);
    timeStamp_.PutItem(u"creationTime", Variant::Date(file.creationTime));
    timeStamp_.PutItem(u"modificationTime", Variant::Date(file.lastWriteTime));
    SourceImpl().SetComputerName(GetCurrentComputerName());
  }
  SourceImpl().SetLocation(given);
}

bool CNvVexaBaseFileImpl::IsSaved() const { return object_.as<INvVexaObjectCRaw>().IsSaved(); }

void CNvVexaBaseFileImpl::RecordEmbedded(const Bstr& entryName) {
  SourceImpl().SetComputerName(Bstr());
  SourceImpl().SetLocation(entryName);
}

}  // namespace nv
