#include "platform/file_source.h"

#include "frame/exception.h"
#include "platform/path_text.h"

namespace nv {

FileSource DetectFileSource(std::u16string_view name) {
  if (name.empty()) throw ENvException("DetectFileSource - File Name is missing");
  if (name[0] == u'\\') {
    return name.size() > 1 && name[1] == u'\\' ? FileSource::kNetworkPath
                                                : FileSource::kLocalFile;
  }
  if (name[0] == u'/') return FileSource::kLocalFile;
  if (HasDriveLetter(name)) {
    if (name.size() == 2 || name[2] == u'\\') return FileSource::kLocalFile;
    throw ENvException("DetectFileSource - Invalid path or file name");
  }
  return name.find(u':') != std::u16string_view::npos ? FileSource::kUrl
                                                       : FileSource::kLocalFile;
}

bool IsLocalFileName(std::u16string_view name) {
  if (name.empty()) throw ENvException("IsLocalFileName - File Name is missing.");
  return DetectFileSource(name) == FileSource::kLocalFile;
}

bool IsFileNameURL(std::u16string_view name) {
  if (name.empty()) throw ENvException("IsFileNameURL - File Name is missing.");
  return DetectFileSource(name) == FileSource::kUrl;
}

}  // namespace nv
