#include "xml/pull_parser.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include <xercesc/framework/XMLPScanToken.hpp>
#include <xercesc/sax/InputSource.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/BinInputStream.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "frame/exception.h"
#include "xml/element_capture.h"
#include "xml/hardened_dom_parser.h"
#include "xml/parser_memory.h"
#include "xml/token_storage.h"

namespace nv {

namespace {

namespace xc = xercesc;

// Scan steps per batch: bounds the tokens held at once, whatever the
// document's size.
constexpr int kStepsPerBatch = 500;
// The longest "<uri>|<local name>" a tag may have.
constexpr size_t kMaxExpandedName = 999;
// Distinct prefixes bound at one point of the document.
constexpr size_t kMaxNamespacePrefixes = 128;

// The parser reads its bytes straight from the ByteSource. A failure of the
// source does not pass through the scanner (which would leak on the way):
// the stream ends there, and the parser raises the failure once the scanner
// returns.
class ByteStream final : public xc::BinInputStream {
 public:
  ByteStream(ByteSource& source, std::exception_ptr& failure)
      : source_(source), failure_(failure) {}
  XMLFilePos curPos() const override { return position_; }
  XMLSize_t readBytes(XMLByte* const toFill, const XMLSize_t maxToRead) override {
    if (failure_) return 0;
    try {
      const size_t got = source_(reinterpret_cast<char*>(toFill), maxToRead);
      if (got > maxToRead) throw ENvException("The XML source gave more bytes than asked for");
      position_ += got;
      return got;
    } catch (...) {
      failure_ = std::current_exception();
      return 0;
    }
  }
  const XMLCh* getContentType() const override { return nullptr; }

 private:
  ByteSource& source_;
  std::exception_ptr& failure_;
  XMLFilePos position_ = 0;
};

class ByteInput final : public xc::InputSource {
 public:
  // The stream lives in `memory`, the parser's, which takes it back should the
  // scanner fail to start.
  ByteInput(ByteSource source, const XMLCh* systemId, xc::MemoryManager* memory)
      : InputSource(systemId, memory), source_(std::move(source)) {}
  xc::BinInputStream* makeStream() const override {
    return new (getMemoryManager()) ByteStream(source_, failure_);
  }
  void RethrowSourceFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }
  // Reads the rest of the source after the scanner found the text
  // ill-formed: a source that fails on the way (an archive entry whose
  // checksum does not match) explains the text better, and throws.
  void ReadRest() const {
    char rest[4096];
    while (source_(rest, sizeof rest) > 0) {
    }
  }

 private:
  mutable ByteSource source_;
  mutable std::exception_ptr failure_;
};

// One batch of tokens and the storage behind it, filled by the SAX2 events
// of up to kStepsPerBatch scan steps. Errors throw: Xerces' own exception for
// what it finds, ENvException for what this parser refuses.
class TokenBatch final : public xc::DefaultHandler {
 public:
  std::vector<Token> tokens;
  size_t head = 0;

  void Clear() {
    tokens.clear();
    attributes_.clear();
    attributeStarts_.clear();
    text_.Reset();
    head = 0;
  }

  // Points each start tag at its attributes, once the batch is complete and
  // the attribute list no longer moves.
  void LinkAttributes() {
    for (size_t k = 0; k < tokens.size(); ++k) {
      if (tokens[k].type != ttStartElement) continue;
      const size_t end = k + 1 < tokens.size() ? attributeStarts_[k + 1] : attributes_.size();
      tokens[k].attributes = {attributes_.data() + attributeStarts_[k], end - attributeStarts_[k]};
    }
  }

  void characters(const XMLCh* const chars, const XMLSize_t length) override {
    Add(ttCharacters).text = text_.Store({chars, length});
  }

  void processingInstruction(const XMLCh* const target, const XMLCh* const data) override {
    Token& token = Add(ttProcessingInstruction);
    token.localName = text_.Store(ViewOf(target));
    token.text = text_.Store(ViewOf(data));
  }

  void startElement(const XMLCh* const uri, const XMLCh* const localName, const XMLCh* const qName,
                    const xc::Attributes& attributes) override {
    if (++depth_ > kMaxXmlNestingDepth)
      throw ENvException("Elements are nested deeper than 256 levels");
    Token& token = Add(ttStartElement);
    const XMLSize_t count = attributes.getLength();
    for (XMLSize_t k = 0; k < count; ++k) {
      const xml::NameCache::Name local = names_.Intern(attributes.getLocalName(k), text_);
      attributes_.push_back({local.text, names_.InternUri(attributes.getURI(k), text_).text,
                             names_.InternQualified(attributes.getQName(k), local, text_).text,
                             text_.Store(ViewOf(attributes.getValue(k)))});
    }
    const bool lasting = Tag(token, uri, localName, qName);
    open_.push_back({token.ns, token.localName, token.qualifiedName, lasting});
  }

  // An end tag has its start tag's names: taken from the stack when they
  // outlast batches.
  void endElement(const XMLCh* const uri, const XMLCh* const localName,
                  const XMLCh* const qName) override {
    --depth_;
    Token& token = Add(ttEndElement);
    const OpenTag& open = open_.back();
    if (open.lasting) {
      token.ns = open.ns;
      token.nsLasts = true;
      token.localName = open.localName;
      token.qualifiedName = open.qualifiedName;
    } else {
      Tag(token, uri, localName, qName);
    }
    open_.pop_back();
  }

  void startPrefixMapping(const XMLCh* const prefix, const XMLCh* const uri) override {
    const std::u16string_view name = ViewOf(prefix);
    auto binding = std::find_if(bindings_.begin(), bindings_.end(),
                                [&](const auto& b) { return b.first == name; });
    if (binding == bindings_.end()) {
      // Every change copies the scope: its size is capped so that a flood of
      // declarations costs linear time.
      if (bindings_.size() >= kMaxNamespacePrefixes)
        throw ENvException("More than 128 namespace prefixes are declared at once");
      binding = bindings_.insert(binding, {std::u16string(name), {}});
    }
    binding->second.emplace_back(ViewOf(uri));
    RebuildScope();
    Token& token = Add(ttStartPrefixMapping);
    token.localName = Name(prefix);
    token.text = Name(uri);
  }

  void endPrefixMapping(const XMLCh* const prefix) override {
    const std::u16string_view name = ViewOf(prefix);
    const auto binding = std::find_if(bindings_.begin(), bindings_.end(),
                                      [&](const auto& b) { return b.first == name; });
    if (binding != bindings_.end()) {
      binding->second.pop_back();
      if (binding->second.empty()) bindings_.erase(binding);
    }
    RebuildScope();
    Add(ttEndPrefixMapping).localName = Name(prefix);
  }

  void warning(const xc::SAXParseException&) override {}
  void error(const xc::SAXParseException& e) override { throw e; }
  void fatalError(const xc::SAXParseException& e) override { throw e; }

  // The DOCTYPE is refused before its internal subset is read.
  void startDTD(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
    throw ENvException("DOCTYPE is not allowed");
  }
  xc::InputSource* resolveEntity(const XMLCh* const, const XMLCh* const) override {
    throw ENvException("External entities are not allowed");
  }

 private:
  Token& Add(TokenType type) {
    attributeStarts_.push_back(attributes_.size());
    Token& token = tokens.emplace_back();
    token.type = type;
    token.scope = scope_;
    return token;
  }

  // Sets the tag's names; true when they last the whole parse.
  bool Tag(Token& token, const XMLCh* uri, const XMLCh* localName, const XMLCh* qName) {
    const xml::NameCache::Name ns = names_.InternUri(uri, text_);
    const xml::NameCache::Name local = names_.Intern(localName, text_);
    if (ns.text.size() + 1 + local.text.size() > kMaxExpandedName)
      throw ENvException("An element name is longer than 999 characters with its namespace URI");
    const xml::NameCache::Name qualified = names_.InternQualified(qName, local, text_);
    token.ns = ns.text;
    token.nsLasts = ns.lasting;
    token.localName = local.text;
    token.qualifiedName = qualified.text;
    return ns.lasting && local.lasting && qualified.lasting;
  }

  std::u16string_view Name(const XMLCh* name) { return names_.Intern(name, text_).text; }

  void RebuildScope() {
    auto scope = std::make_shared<NamespaceScope>();
    for (const auto& [prefix, uris] : bindings_)
      scope->emplace_back(prefix, uris.back());
    scope_ = std::move(scope);
  }

  std::vector<TokenAttribute> attributes_;
  std::vector<size_t> attributeStarts_;  // per token, into attributes_
  xml::TextArena text_;
  xml::NameCache names_;
  // Per prefix, the URIs bound to it, innermost last.
  std::vector<std::pair<std::u16string, std::vector<std::u16string>>> bindings_;
  std::shared_ptr<const NamespaceScope> scope_;
  unsigned depth_ = 0;
  // The names of the open elements, innermost last.
  struct OpenTag {
    std::u16string_view ns, localName, qualifiedName;
    bool lasting;
  };
  std::vector<OpenTag> open_;
};

}  // namespace

struct PullParser::State {
  ParserMemory memory;  // destroyed last: the reader lives in it
  TokenBatch batch;
  xc::SecurityManager security;
  std::unique_ptr<ByteInput> input;
  xc::XMLPScanToken scanToken;
  std::u16string systemId;
  // Destroyed first: it refers to everything above.
  std::unique_ptr<xc::SAX2XMLReader> reader;
  bool atEnd = true;
  bool firstSegment = true;
  bool moreToParse = true;
  bool scannerThrew = false;
  std::optional<Bstr> failure;  // the parse stopped with this message

  ~State() {
    // Stopping early on purpose; after the scanner threw it has reset
    // itself, and resetting again would replace its message.
    if (reader && !firstSegment && moreToParse && !scannerThrew) {
      try {
        reader->parseReset(scanToken);
      } catch (...) {
      }
    }
  }

  void ReadNextSegment();
  void Scan();
  bool Step();
};

void PullParser::State::ReadNextSegment() {
  batch.Clear();
  try {
    Scan();
  } catch (const xc::SAXException& e) {
    failure = Bstr(ViewOf(e.getMessage()));
  } catch (const xc::XMLException& e) {
    failure = Bstr(ViewOf(e.getMessage()));
  } catch (const ENvException& e) {
    failure = e.Message();
    throw;
  } catch (...) {
    failure = Bstr(u"The XML parser stopped");
    throw;
  }
  if (failure) {
    batch.Clear();
    try {
      input->ReadRest();
    } catch (const ENvException& e) {
      failure = e.Message();
    }
    throw ENvException(*failure);
  }
  batch.LinkAttributes();
}

void PullParser::State::Scan() {
  if (firstSegment) {
    if (!Step()) throw ENvException("CNvParser::ReadNextSegment, parseFirst failed.");
    firstSegment = false;
  }
  // A batch may pass over markup that makes no token (comments); the next
  // one is read until a token arrives or the document ends.
  while (batch.tokens.empty() && moreToParse) {
    for (int step = 0; step < kStepsPerBatch && moreToParse; ++step) {
      if (reader->getErrorCount() != 0) return;
      moreToParse = Step();
    }
  }
}

// One scan step. A failure of the byte source wins over what the scanner
// made of the input ending there.
bool PullParser::State::Step() {
  bool more = false;
  try {
    more = firstSegment ? reader->parseFirst(*input, scanToken) : reader->parseNext(scanToken);
  } catch (...) {
    scannerThrew = true;
    input->RethrowSourceFailure();
    throw;
  }
  input->RethrowSourceFailure();
  return more;
}

std::u16string_view TokenTypeName(TokenType type) noexcept {
  switch (type) {
    case ttStartElement: return u"ttStartElement";
    case ttEndElement: return u"ttEndElement";
    case ttProcessingInstruction: return u"ttProcessingInstruction";
    case ttCharacters: return u"ttCharacters";
    case ttStartPrefixMapping: return u"ttStartPrefixMapping";
    case ttEndPrefixMapping: return u"ttEndPrefixMapping";
  }
  return u"";
}

PullParser::PullParser() : state_((XmlPlatformReady(), std::make_unique<State>())) {}

PullParser::~PullParser() = default;

void PullParser::Open(ByteSource source, std::u16string systemId) {
  State& s = *state_;
  if (s.reader) throw ENvException("The parser is open already");
  s.systemId = std::move(systemId);
  s.security.setEntityExpansionLimit(kMaxXmlEntityExpansions);
  s.reader.reset(xc::XMLReaderFactory::createXMLReader(&s.memory));
  xc::SAX2XMLReader& reader = *s.reader;
  reader.setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
  reader.setFeature(xc::XMLUni::fgSAX2CoreValidation, false);
  reader.setFeature(xc::XMLUni::fgXercesSchema, false);
  reader.setFeature(xc::XMLUni::fgXercesLoadSchema, false);
  reader.setFeature(xc::XMLUni::fgXercesLoadExternalDTD, false);
  reader.setFeature(xc::XMLUni::fgXercesDisableDefaultEntityResolution, true);
  reader.setProperty(xc::XMLUni::fgXercesSecurityManager, &s.security);
  reader.setContentHandler(&s.batch);
  reader.setErrorHandler(&s.batch);
  reader.setLexicalHandler(&s.batch);
  reader.setEntityResolver(&s.batch);
  s.input = std::make_unique<ByteInput>(std::move(source), s.systemId.c_str(), &s.memory);
  s.atEnd = false;
  s.ReadNextSegment();
  s.atEnd = s.batch.tokens.empty();
}

const Token& PullParser::CurrentToken() const {
  const State& s = *state_;
  if (s.failure) throw ENvException(*s.failure);
  if (s.atEnd) throw ENvException("Already at end");
  return s.batch.tokens[s.batch.head];
}

bool PullParser::AtEnd() const noexcept { return state_->atEnd; }

void PullParser::Next() {
  State& s = *state_;
  if (s.failure) throw ENvException(*s.failure);
  if (s.atEnd) throw ENvException("Already at end");
  if (++s.batch.head < s.batch.tokens.size()) return;
  s.ReadNextSegment();
  s.atEnd = s.batch.tokens.empty();
}

bool PullParser::IsStartElement(std::u16string_view localName, std::u16string_view ns) const {
  const Token& token = CurrentToken();
  return token.type == ttStartElement && token.localName == localName && token.ns == ns;
}

bool PullParser::IsEndElement(std::u16string_view localName, std::u16string_view ns) const {
  const Token& token = CurrentToken();
  return token.type == ttEndElement && token.localName == localName && token.ns == ns;
}

std::u16string_view PullParser::LookupNamespaceURI(std::u16string_view prefix) const {
  const Token& token = CurrentToken();
  if (!token.scope) return {};
  for (const auto& [bound, uri] : *token.scope)
    if (bound == prefix) return uri;
  return {};
}

std::optional<std::u16string_view> PullParser::GetAttributeValue(std::u16string_view localName,
                                                                 std::u16string_view ns) const {
  const Token& token = CurrentToken();
  if (token.type != ttStartElement)
    throw ENvException("Invalid call for token other than ttStartElement");
  for (const TokenAttribute& attribute : token.attributes)
    if (attribute.localName == localName && attribute.ns == ns) return attribute.value;
  return std::nullopt;
}

void PullParser::SkipWhitespace() {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
  while (!AtEnd()) {
    const Token& token = CurrentToken();
    if (token.type != ttCharacters || !std::all_of(token.text.begin(), token.text.end(), blank))
      return;
    Next();
  }
}

void PullParser::SkipTokens(std::initializer_list<TokenType> types) {
  while (!AtEnd() && std::find(types.begin(), types.end(), CurrentToken().type) != types.end())
    Next();
}

void PullParser::NextSkipping(std::initializer_list<TokenType> types) {
  Next();
  SkipWhitespace();
  SkipTokens(types);
  SkipWhitespace();
}

void PullParser::NextContent() {
  NextSkipping({ttProcessingInstruction, ttStartPrefixMapping, ttEndPrefixMapping});
}

std::u16string PullParser::GetElementXML() { return xml::CaptureElement(*this, nullptr); }

std::u16string PullParser::GetElementXML(CapturedNamespaces& namespaces) {
  return xml::CaptureElement(*this, &namespaces);
}

std::u16string PullParser::ExpandedName() const {
  const Token& token = CurrentToken();
  std::u16string name(token.ns);
  name += u'|';
  name += token.localName;
  return name;
}

}  // namespace nv
