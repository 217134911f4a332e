#include "xml/hardened_dom_parser.h"

#include <mutex>
#include <string>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/internal/XMLScanner.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>
#include <xercesc/util/XMLException.hpp>

#include "frame/exception.h"
#include "frame/text.h"
#include "xml/parser_memory.h"

namespace nv {

namespace {

namespace xc = xercesc;

// Thrown from inside the scanner; turned into ENvException once Xerces has
// unwound.
struct ParseFailure {
  XMLFileLoc line = 0;
  XMLFileLoc column = 0;
  std::string reason;
};

std::string Utf8Of(const XMLCh* text) { return text ? Utf16ToUtf8(std::u16string_view(text)) : ""; }

class ThrowingErrorHandler final : public xc::ErrorHandler {
 public:
  void warning(const xc::SAXParseException&) override {}
  void error(const xc::SAXParseException& e) override { Fail(e); }
  void fatalError(const xc::SAXParseException& e) override { Fail(e); }
  void resetErrors() override {}

 private:
  [[noreturn]] static void Fail(const xc::SAXParseException& e) {
    throw ParseFailure{e.getLineNumber(), e.getColumnNumber(), Utf8Of(e.getMessage())};
  }
};

class RefusingEntityResolver final : public xc::XMLEntityResolver {
 public:
  xc::InputSource* resolveEntity(xc::XMLResourceIdentifier*) override {
    throw ParseFailure{0, 0, "external entities are not allowed"};
  }
};

// Refuses a DOCTYPE and counts element nesting as the scanner reports it.
class GuardedDomParser final : public xc::XercesDOMParser {
 public:
  explicit GuardedDomParser(xc::MemoryManager* memory) : XercesDOMParser(nullptr, memory) {
    getScanner()->setDisallowDTD(true);
  }

  void ResetDepth() noexcept { depth_ = 0; }

  void startElement(const xc::XMLElementDecl& decl, const unsigned int urlId,
                    const XMLCh* const prefix, const xc::RefVectorOf<xc::XMLAttr>& attributes,
                    const XMLSize_t count, const bool isEmpty, const bool isRoot) override {
    if (depth_ + 1 > kMaxXmlNestingDepth) {
      const xc::Locator* at = getScanner()->getLocator();
      throw ParseFailure{at->getLineNumber(), at->getColumnNumber(),
                         "elements are nested deeper than " +
                             std::to_string(kMaxXmlNestingDepth) + " levels"};
    }
    if (!isEmpty) ++depth_;  // an empty element reports no end
    XercesDOMParser::startElement(decl, urlId, prefix, attributes, count, isEmpty, isRoot);
  }

  void endElement(const xc::XMLElementDecl& decl, const unsigned int urlId, const bool isRoot,
                  const XMLCh* const prefix) override {
    XercesDOMParser::endElement(decl, urlId, isRoot, prefix);
    if (depth_ > 0) --depth_;
  }

 private:
  unsigned depth_ = 0;
};

}  // namespace

void EnsureXmlPlatform() {
  static std::once_flag once;
  std::call_once(once, [] { xc::XMLPlatformUtils::Initialize(); });
}

struct HardenedDomParser::Parts {
  Parts() : parser(&memory) {
    security.setEntityExpansionLimit(kMaxXmlEntityExpansions);
    parser.setDoNamespaces(true);
    parser.setValidationScheme(xc::XercesDOMParser::Val_Never);
    parser.setDoSchema(false);
    parser.setLoadSchema(false);
    parser.setLoadExternalDTD(false);
    parser.setDisableDefaultEntityResolution(true);
    parser.setCreateEntityReferenceNodes(false);
    parser.setXMLEntityResolver(&resolver);
    parser.setErrorHandler(&errors);
    parser.setSecurityManager(&security);
  }

  ParserMemory memory;  // destroyed last: the parser and its documents live in it
  ThrowingErrorHandler errors;
  RefusingEntityResolver resolver;
  xc::SecurityManager security;
  GuardedDomParser parser;
};

HardenedDomParser::HardenedDomParser() : parts_((XmlPlatformReady(), std::make_unique<Parts>())) {}

HardenedDomParser::~HardenedDomParser() = default;

namespace {

std::string Describe(const ParseFailure& failure, bool doctype, std::u16string_view systemId) {
  const std::string reason = (doctype ? "DOCTYPE is not allowed: " : "") + failure.reason;
  const std::string line = std::to_string(failure.line);
  const std::string column = std::to_string(failure.column);
  if (systemId.empty()) return "line " + line + ", column " + column + ": " + reason;
  return "Error at file " + Utf16ToUtf8(systemId) + ", line " + line + ", char " + column +
         "  Message: " + reason;
}

}  // namespace

xercesc::DOMDocument* HardenedDomParser::Parse(std::string_view utf8Text,
                                                 std::u16string_view systemId) {
  const std::u16string id(systemId.empty() ? u"memory" : systemId);
  // The stream lives in the parser's memory, which takes it back should the
  // scanner fail to start; it reads the text in place instead of a copy.
  xc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(utf8Text.data()),
                               utf8Text.size(), id.c_str(), false, &parts_->memory);
  source.setCopyBufToStream(false);
  // Without a declaration the text is taken as UTF-8; a declared encoding
  // is honoured.
  if (!utf8Text.starts_with("<?xml")) source.setEncoding(u"UTF-8");
  parts_->parser.ResetDepth();
  // Xerces' OutOfMemoryException passes on: the error frame answers E_OUTOFMEMORY.
  try {
    parts_->parser.parse(source);
  } catch (const ParseFailure& failure) {
    // The scanner reports a refused DOCTYPE only as a structure error.
    const bool doctype = utf8Text.find("<!DOCTYPE") != std::string_view::npos;
    throw ENvException(Bstr::FromUtf8(Describe(failure, doctype, systemId)));
  } catch (const xc::XMLException& e) {
    throw ENvException(Bstr::FromUtf8(Utf8Of(e.getMessage())));
  }
  xc::DOMDocument* document = parts_->parser.getDocument();
  if (document == nullptr || document->getDocumentElement() == nullptr)
    throw ENvException("the XML text holds no element");
  return document;
}

}  // namespace nv
