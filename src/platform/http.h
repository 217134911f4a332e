// The internet through libcurl: HTTP downloads, the messages of failed internet
// calls, relative references resolved against base URLs, and files fetched from
// a local name or a URL.
#pragma once

#include "frame/bstr.h"
#include "frame/interfaces.h"

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nv {

// libcurl's process-wide set-up, done once before the first use.

void EnsureCurlInitialized();

// Messages of failed internet calls: "Error Number <n> => <text>", with the
// numbers and texts of the package format's internet-error table.

// The table text for `number`; empty for numbers not listed.
std::u16string_view InternetErrorText(int number);

// "Error Number " + number + " => " + table text.
Bstr InternetErrorMessage(int number);

// The table number equivalent to a curl failure; 0 when there is none.
int InternetErrorNumberOf(CURLcode code);

// The destination file of a download. It is created when the first block
// arrives (or at the end, for an empty body), so a request refused before
// any data leaves an existing file alone; each block is written as it
// arrives; a failed download removes what was written.

class DownloadFile {
 public:
  DownloadFile(std::string path, uint64_t maxBytes) : path_(std::move(path)), maxBytes_(maxBytes) {}
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;
  ~DownloadFile() { Discard(); }

  // Appends a block; false when it would exceed the size limit or the file
  // cannot be written (see CapExceeded and Error).
  bool Write(const char* data, size_t size);
  // Creates the file when no block came and closes it; false on failure.
  bool Commit();
  // Closes and removes the file when this download created it.
  void Discard() noexcept;

  bool CapExceeded() const noexcept { return capExceeded_; }
  // The errno of a failed create, write or close; 0 when none.
  int Error() const noexcept { return error_; }
  const std::string& Path() const noexcept { return path_; }

 private:
  bool Open();

  std::string path_;
  uint64_t maxBytes_;
  uint64_t written_ = 0;
  int fd_ = -1;
  bool created_ = false;
  bool committed_ = false;
  bool capExceeded_ = false;
  int error_ = 0;
};

// HTTP downloads for documents and files named by URLs, and MIME types by
// file name.

// Large enough for any file a package is expected to carry.
inline constexpr uint64_t kMaxDownloadBytes = uint64_t{4} << 30;

// Bounds of one download. A transfer slower than `lowSpeedBytesPerSecond`
// for `lowSpeedSeconds` (waiting for the answer included) is a timeout.
struct HttpLimits {
  long connectTimeoutSeconds = 30;
  long lowSpeedBytesPerSecond = 100;
  long lowSpeedSeconds = 30;
  uint64_t maxBytes = kMaxDownloadBytes;
  long maxRedirects = 10;
};

class HttpUtils {
 public:
  explicit HttpUtils(HttpLimits limits = {}) : limits_(limits) {}

  // Saves the body of an http or https URL in `destinationFile` (created or
  // replaced). An empty `proxy` means a direct connection; proxy settings of
  // the environment never apply. Failures (an HTTP status of 400 or above
  // included) throw and leave no partial file.
  void Download(std::u16string_view url, std::u16string_view destinationFile,
                std::u16string_view userAgent, std::u16string_view proxy) const;

  // The MIME type for the file name's extension; empty when unknown.
  Bstr MimeTypeOf(std::u16string_view fileName) const;

 private:
  HttpLimits limits_;
};

// Resolving a relative reference against a base URL.

// The reference resolved against the base by the rules for URIs. A "file://"
// base is combined as a file-system path: the reference replaces the base's
// last component, "." and ".." components are resolved, separators ('/' or
// '\') and text are otherwise kept as written. A reference that is absolute
// (has a scheme) stands alone. Empty or unusable arguments fail.
Bstr NvInternetCombineUrl(std::u16string_view base, std::u16string_view relative);

// For the combination above: true when `text` starts with a URI scheme and
// ':' (a drive letter has that form too; file-path rules look for it first).
bool HasUrlScheme(std::u16string_view text);

// `relative` resolved against a "file://" base, as described above.
Bstr CombineFileUrl(std::u16string_view base, std::u16string_view relative);

// Bringing a file named by a local name or a URL to a local destination.

inline constexpr std::u16string_view kVexaUserAgent =
    u"Mozilla/4.0 (compatible; Norvane Vexa API; Win32)";

// A URL is downloaded through the proxy of `initializationData` (none when
// it is empty or has no proxy); any other name is copied, replacing the
// destination.
void FetchFile(std::u16string_view source, std::u16string_view destination,
               const ComPtr<INvVexaInitializationData>& initializationData);

}  // namespace nv
