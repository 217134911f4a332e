#include "platform/http_utils.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "platform/curl_global.h"
#include "platform/download_file.h"
#include "platform/internet_error.h"
#include "platform/mime_table.h"
#include "platform/path_text.h"

#include <curl/curl.h>

#include <memory>
#include <string>

namespace nv {
namespace {

constexpr const char* kProtocols = "http,https";

struct EasyDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

// The texts that curl keeps pointers to, alive for the whole transfer.
struct Request {
  std::string url;
  std::string userAgent;
  std::string proxy;
  char errorText[CURL_ERROR_SIZE] = {};
};

size_t WriteBlock(char* data, size_t size, size_t count, void* context) {
  const size_t bytes = size * count;
  return static_cast<DownloadFile*>(context)->Write(data, bytes) ? bytes : 0;
}

void SetOptions(CURL* curl, Request& request, DownloadFile& file, const HttpLimits& limits) {
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.maxRedirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent.c_str());
  // Set even when empty, so proxy variables of the environment never apply.
  curl_easy_setopt(curl, CURLOPT_PROXY, request.proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "");
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, request.errorText);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBlock);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &file);
}

Bstr LocalWriteFailure(const DownloadFile& file) {
  return u"Cannot write the following file: " + Bstr::FromUtf8(file.Path()) +
         u" due to the following error: " + Bstr::FromUtf8(ErrnoText(file.Error()));
}

Bstr FailureMessage(CURL* curl, CURLcode code, const Request& request, const DownloadFile& file) {
  if (file.CapExceeded() || code == CURLE_FILESIZE_EXCEEDED)
    return Bstr::FromUtf8(curl_easy_strerror(CURLE_FILESIZE_EXCEEDED));
  if (file.Error() != 0) return LocalWriteFailure(file);
  if (const int number = InternetErrorNumberOf(code)) return InternetErrorMessage(number);
  if (code == CURLE_HTTP_RETURNED_ERROR) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    return Bstr::FromUtf8("The requested URL returned error: " + std::to_string(status));
  }
  return Bstr::FromUtf8(request.errorText[0] != '\0' ? request.errorText
                                                     : curl_easy_strerror(code));
}

}  // namespace

void HttpUtils::Download(std::u16string_view url, std::u16string_view destinationFile,
                         std::u16string_view userAgent, std::u16string_view proxy) const {
  EnsureCurlInitialized();
  EasyHandle curl(curl_easy_init());
  if (!curl) throw ENvException(InternetErrorMessage(12001));
  Request request{Utf16ToUtf8(url), Utf16ToUtf8(userAgent), Utf16ToUtf8(proxy)};
  DownloadFile file(ToFileSystemPath(destinationFile), limits_.maxBytes);
  SetOptions(curl.get(), request, file, limits_);
  const CURLcode code = curl_easy_perform(curl.get());
  if (code != CURLE_OK) {
    file.Discard();
    throw ENvException(FailureMessage(curl.get(), code, request, file));
  }
  if (!file.Commit()) throw ENvException(LocalWriteFailure(file));
}

Bstr HttpUtils::MimeTypeOf(std::u16string_view fileName) const {
  return Bstr::FromUtf8(SystemMimeTable().TypeOf(Utf16ToUtf8(fileName)));
}

}  // namespace nv
