// HTTP downloads for documents and files named by URLs, and MIME types by
// file name.
#pragma once

#include "frame/bstr.h"

#include <cstdint>
#include <string_view>

namespace nv {

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

}  // namespace nv
