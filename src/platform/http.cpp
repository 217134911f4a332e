#include "platform/http.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "platform/file_system.h"
#include "platform/mime_table.h"
#include "platform/paths.h"

#include <curl/curl.h>
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace nv {

void EnsureCurlInitialized() {
  // Never cleaned up: other code in the process may still use curl at exit.
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

namespace {

struct NumberText {
  int number;
  std::u16string_view text;
};

constexpr NumberText kTexts[] = {
    {12001, u"(Out of handles)"},
    {12002, u"(Timeout)"},
    {12004, u"(Internal Error)"},
    {12005, u"(Invalid URL)"},
    {12006, u"(Unrecognized Scheme : Please check the URL name in 'Pelvartemenor.ini'.)"},
    {12007, u"(Service Name Not Resolved)"},
    {12008, u"(Protocol Not Found)"},
    {12013, u"(Incorrect User Name)"},
    {12014, u"(Incorrect Password)"},
    {12015, u"(Login Failure)"},
    {12016, u"(Invalid Operation)"},
    {12017, u"(Operation Canceled)"},
    {12020, u"(Not Proxy Request)"},
    {12023, u"(No Direct Access)"},
    {12026, u"(Request Pending)"},
    {12027, u"(Incorrect Format)"},
    {12028, u"(Item not found)"},
    {12029, u"(Cannot connect)"},
    {12030, u"(Connection Aborted)"},
    {12031, u"(Connection Reset)"},
    {12033, u"(Invalid Proxy Request)"},
    {12034, u"(Need UI)"},
    {12035, u"(Sec Cert Date Invalid)"},
    {12038, u"(Sec Cert CN Invalid)"},
    {12044, u"(Client Auth Cert Needed)"},
    {12045, u"(Invalid CA Cert)"},
    {12046, u"(Client Auth Not Setup)"},
    {12150, u"(HTTP Header Not Found)"},
    {12152, u"(Invalid HTTP Server Response)"},
    {12153, u"(Invalid HTTP Header)"},
    {12154, u"(Invalid Query Request)"},
    {12156, u"(Redirect Failed)"},
    {12159, u"(TCP/IP not installed)"},
};

struct CurlNumber {
  CURLcode code;
  int number;
};

// Only failures with a clear counterpart are listed; certificate and TLS
// failures keep curl's more precise description.
constexpr CurlNumber kCurlNumbers[] = {
    {CURLE_UNSUPPORTED_PROTOCOL, 12006},
    {CURLE_URL_MALFORMAT, 12005},
    {CURLE_COULDNT_RESOLVE_PROXY, 12007},
    {CURLE_COULDNT_RESOLVE_HOST, 12007},
    {CURLE_COULDNT_CONNECT, 12029},
    {CURLE_OPERATION_TIMEDOUT, 12002},
    {CURLE_TOO_MANY_REDIRECTS, 12156},
    {CURLE_SEND_ERROR, 12030},
    {CURLE_RECV_ERROR, 12030},
    {CURLE_PARTIAL_FILE, 12030},
    {CURLE_GOT_NOTHING, 12152},
    {CURLE_WEIRD_SERVER_REPLY, 12152},
    {CURLE_LOGIN_DENIED, 12015},
    {CURLE_ABORTED_BY_CALLBACK, 12017},
};

}  // namespace

std::u16string_view InternetErrorText(int number) {
  for (const NumberText& entry : kTexts)
    if (entry.number == number) return entry.text;
  return {};
}

Bstr InternetErrorMessage(int number) {
  const std::string digits = std::to_string(number);
  return u"Error Number " + Bstr::FromUtf8(digits) + u" => " + InternetErrorText(number);
}

int InternetErrorNumberOf(CURLcode code) {
  for (const CurlNumber& entry : kCurlNumbers)
    if (entry.code == code) return entry.number;
  return 0;
}

bool DownloadFile::Open() {
  if (fd_ >= 0) return true;
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    error_ = errno;
    return false;
  }
  created_ = true;
  return true;
}

bool DownloadFile::Write(const char* data, size_t size) {
  if (size > maxBytes_ - written_) {
    capExceeded_ = true;
    return false;
  }
  if (!Open()) return false;
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    written_ += static_cast<uint64_t>(n);
  }
  return true;
}

bool DownloadFile::Commit() {
  if (!Open()) return false;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    error_ = errno;
    return false;
  }
  committed_ = true;
  return true;
}

void DownloadFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (created_ && !committed_) ::unlink(path_.c_str());
  created_ = false;
}

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

namespace {

constexpr unsigned kUrlFlags = CURLU_NON_SUPPORT_SCHEME;

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

[[noreturn]] void ThrowInvalid() {
  throw ENvException("NvInternetCombineUrl() : invalid parameters");
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const char16_t c = text[i];
    const char16_t lower = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if (lower != prefix[i]) return false;
  }
  return true;
}

std::optional<std::string> UrlText(const UrlHandle& url) {
  char* text = nullptr;
  if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK) return std::nullopt;
  std::string result(text);
  curl_free(text);
  return result;
}

// An absolute reference stands alone: curl's normal form when curl can read
// it, else the reference as written (such as "urn:x" or "mailto:y").
Bstr AbsoluteReference(std::u16string_view reference) {
  UrlHandle url(curl_url());
  if (!url) ThrowInvalid();
  const std::string text = Utf16ToUtf8(reference);
  if (curl_url_set(url.get(), CURLUPART_URL, text.c_str(), kUrlFlags) == CURLUE_OK) {
    if (std::optional<std::string> normal = UrlText(url)) return Bstr::FromUtf8(*normal);
  }
  return Bstr(reference);
}

}  // namespace

bool HasUrlScheme(std::u16string_view text) {
  if (text.empty() || !IsAsciiLetter(text[0])) return false;
  for (size_t i = 1; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u':') return true;
    const bool schemeChar = IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' ||
                            c == u'-' || c == u'.';
    if (!schemeChar) return false;
  }
  return false;
}

Bstr NvInternetCombineUrl(std::u16string_view base, std::u16string_view relative) {
  if (base.empty() || relative.empty()) ThrowInvalid();
  if (StartsWithNoCase(base, u"file://")) return CombineFileUrl(base, relative);
  EnsureCurlInitialized();
  UrlHandle url(curl_url());
  if (!url) ThrowInvalid();
  const std::string baseText = Utf16ToUtf8(base);
  if (curl_url_set(url.get(), CURLUPART_URL, baseText.c_str(), kUrlFlags) != CURLUE_OK)
    ThrowInvalid();
  if (HasUrlScheme(relative)) return AbsoluteReference(relative);
  const std::string relativeText = Utf16ToUtf8(relative);
  // A fragment alone keeps the base's path and query, which curl would drop.
  const CURLUcode set =
      relative[0] == u'#'
          ? curl_url_set(url.get(), CURLUPART_FRAGMENT, relativeText.c_str() + 1, 0)
          : curl_url_set(url.get(), CURLUPART_URL, relativeText.c_str(), kUrlFlags);
  if (set != CURLUE_OK) ThrowInvalid();
  std::optional<std::string> combined = UrlText(url);
  if (!combined) ThrowInvalid();
  return Bstr::FromUtf8(*combined);
}

// Combination of "file://" bases with relative references, by path rules.

namespace {

// Components of a path, each with the separator that follows it (if any).
std::vector<std::u16string_view> SplitKeepingSeparators(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsPathSeparator(path[i])) {
      parts.push_back(path.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < path.size()) parts.push_back(path.substr(start));
  return parts;
}

std::u16string_view WithoutSeparator(std::u16string_view part) {
  return !part.empty() && IsPathSeparator(part.back()) ? part.substr(0, part.size() - 1) : part;
}

// Resolves "." and ".." components. A leading drive ("C:\") is never removed.
std::u16string RemoveDotComponents(std::u16string_view path) {
  std::vector<std::u16string_view> kept;
  const size_t fixed = HasDriveLetter(path) ? 1 : 0;
  for (std::u16string_view part : SplitKeepingSeparators(path)) {
    const std::u16string_view name = WithoutSeparator(part);
    if (name == u".") continue;
    if (name == u"..") {
      if (kept.size() > fixed) kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  std::u16string result;
  for (std::u16string_view part : kept) result += part;
  return result;
}

}  // namespace

Bstr CombineFileUrl(std::u16string_view base, std::u16string_view relative) {
  // A rooted name or a drive path replaces the whole path.
  if (relative[0] == u'/') return u"file://" + Bstr(relative);
  if (relative[0] == u'\\' || HasDriveLetter(relative)) return u"file:///" + Bstr(relative);
  if (HasUrlScheme(relative)) return Bstr(relative);
  // "file:" and the slashes after it stay in front; the path is combined.
  const size_t pathStart = base.find_first_not_of(u'/', 5);
  if (pathStart == std::u16string_view::npos) return Bstr(base) + relative;
  const std::u16string_view prefix = base.substr(0, pathStart);
  const std::u16string_view path = base.substr(pathStart);
  size_t folderEnd = path.size();
  while (folderEnd > 0 && !IsPathSeparator(path[folderEnd - 1])) --folderEnd;
  std::u16string combined(path.substr(0, folderEnd));
  combined += relative;
  return Bstr(prefix) + RemoveDotComponents(combined);
}

void FetchFile(std::u16string_view source, std::u16string_view destination,
               const ComPtr<INvVexaInitializationData>& initializationData) {
  if (IsFileNameURL(source)) {
    const Bstr proxy = initializationData ? initializationData.GetProxy() : Bstr();
    HttpUtils().Download(source, destination, kVexaUserAgent, proxy);
    return;
  }
  CopyFile(source, destination, false);
}

}  // namespace nv
