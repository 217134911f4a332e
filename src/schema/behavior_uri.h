// The form of class behaviour URIs (namespace "#" element name) and of
// behaviour schema locations.
#pragma once

#include <string_view>

#include "frame/bstr.h"

namespace nv {

// Throws ENvException unless `uri` has a namespace, "#" and an element name
// that is an NCName.
void CheckBehaviorUriForm(std::u16string_view uri);

// The text before the first "#"; throws ENvException when there is no "#".
Bstr BehaviorNamespaceOf(std::u16string_view uri);

// True for a file name relative to some folder: no "://", no ":" and no
// leading "\\". An empty location counts as relative.
bool IsRelativeLocation(std::u16string_view location) noexcept;

}  // namespace nv
