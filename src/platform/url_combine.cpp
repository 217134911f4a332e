#include "platform/url_combine.h"

#include "frame/exception.h"
#include "frame/text.h"
#include "platform/curl_global.h"

#include <curl/curl.h>

#include <memory>
#include <optional>
#include <string>

namespace nv {
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

}  // namespace nv
