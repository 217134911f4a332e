// A Xerces DOM parser set up for untrusted XML held in memory: namespaces on,
// no validation, no DOCTYPE, no external or default entity resolution, a
// small entity-expansion limit and a cap on element nesting. Shared by the
// writers (XML attribute values) and the readers.
#pragma once

#include <memory>
#include <string_view>

#include <xercesc/dom/DOMDocument.hpp>

namespace nv {

// The text Xerces hands out, null as empty.
inline std::u16string_view ViewOf(const XMLCh* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

// Element nesting deeper than this is refused.
inline constexpr unsigned kMaxXmlNestingDepth = 256;
// Entity expansions allowed in one document.
inline constexpr unsigned kMaxXmlEntityExpansions = 1000;

// Initialises the Xerces platform once per process; safe from any thread.
void EnsureXmlPlatform();

// The same, for a member initialiser: Xerces must be up before any of its
// objects is constructed.
inline bool XmlPlatformReady() {
  EnsureXmlPlatform();
  return true;
}

class HardenedDomParser {
 public:
  HardenedDomParser();
  ~HardenedDomParser();
  HardenedDomParser(const HardenedDomParser&) = delete;
  HardenedDomParser& operator=(const HardenedDomParser&) = delete;

  // Parses UTF-8 text (or text in the encoding its declaration names). The
  // document belongs to the parser and lives until the next Parse or the
  // parser's end. Throws ENvException with the parser's reason and position
  // on any failure: "line L, column C: reason", or, given the name of the
  // file the text came from, "Error at file <name>, line L, char C  Message:
  // reason".
  xercesc::DOMDocument* Parse(std::string_view utf8Text, std::u16string_view systemId = {});

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace nv
