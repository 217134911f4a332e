// Bringing a file named by a local name or a URL to a local destination.
#pragma once

#include "frame/interfaces.h"

#include <string_view>

namespace nv {

inline constexpr std::u16string_view kVexaUserAgent =
    u"Mozilla/4.0 (compatible; Norvane Vexa API; Win32)";

// A URL is downloaded through the proxy of `initializationData` (none when
// it is empty or has no proxy); any other name is copied, replacing the
// destination.
void FetchFile(std::u16string_view source, std::u16string_view destination,
               const ComPtr<INvVexaInitializationData>& initializationData);

}  // namespace nv
