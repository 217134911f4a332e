#include "platform/fetch_file.h"

#include "platform/file_source.h"
#include "platform/file_system.h"
#include "platform/http_utils.h"

namespace nv {

void FetchFile(std::u16string_view source, std::u16string_view destination,
               const ComPtr<INvVexaInitializationData>& initializationData) {
  if (IsFileNameURL(source)) {
    const Bstr proxy = initializationData ? initializationData.GetProxy() : Bstr();
    HttpUtils().Download(source, destination, kVexaUserAgent, proxy);
    return;
  }
  if (!CopyFile(source, destination, false)) {
    throw ENvException(u"Cannot copy the file " + Bstr(source) + u" to " + Bstr(destination));
  }
}

}  // namespace nv
