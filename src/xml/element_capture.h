// Capturing an element's content as XML text from a pull parser.
#pragma once

#include <string>

#include "xml/pull_parser.h"

namespace nv::xml {

// The content of the element whose start tag is current, leaving `parser`
// on its end tag. Without `namespaces`, names are written as they stood in
// the document; with it, every namespaced name gets the prefix the map gives
// its URI, a new URI a generated prefix added to the map.
std::u16string CaptureElement(PullParser& parser, CapturedNamespaces* namespaces);

}  // namespace nv::xml
