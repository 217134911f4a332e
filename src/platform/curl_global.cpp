#include "platform/curl_global.h"

#include <curl/curl.h>

#include <mutex>

namespace nv {

void EnsureCurlInitialized() {
  // Never cleaned up: other code in the process may still use curl at exit.
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace nv
