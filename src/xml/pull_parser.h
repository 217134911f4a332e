// A pull parser over the Xerces-C SAX2 reader in progressive mode: the
// instance document of a package is walked token by token, however large it
// is, with memory bounded by one batch of tokens. Hardened like the DOM
// parser: no DOCTYPE, no entity resolution, capped expansion and nesting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nv {

enum TokenType : int32_t {
  ttStartElement = 2,
  ttEndElement = 3,
  ttProcessingInstruction = 4,
  ttCharacters = 5,
  ttStartPrefixMapping = 9,
  ttEndPrefixMapping = 10,
};

// The name of a token type, as messages give it ("ttStartElement").
std::u16string_view TokenTypeName(TokenType type) noexcept;

// The namespace bindings in force at a token: prefix -> URI, the empty prefix
// for the default namespace. Shared by every token until a prefix mapping
// starts or ends.
using NamespaceScope = std::vector<std::pair<std::u16string, std::u16string>>;

struct TokenAttribute {
  std::u16string_view localName;
  std::u16string_view ns;
  std::u16string_view qualifiedName;  // empty when the parser gives none
  std::u16string_view value;
};

// One token. The views stay valid until the parser moves past the token
// (names may live longer; never rely on it).
struct Token {
  TokenType type = ttCharacters;
  std::shared_ptr<const NamespaceScope> scope;
  // Tags: namespace URI, local name, qualified name.
  std::u16string_view ns;
  // The namespace URI's text stays in place for the whole parse, so its
  // address identifies it (long or very many names may not).
  bool nsLasts = false;
  std::u16string_view localName;
  std::u16string_view qualifiedName;
  std::span<const TokenAttribute> attributes;  // start tags
  // Characters: the text. Processing instruction: the data (target in
  // localName). Prefix mappings: the URI (prefix in localName).
  std::u16string_view text;
};

// Where the parser's bytes come from: fills `buffer` with up to `size` bytes
// and answers how many, 0 at the end. Throws to stop the parse.
using ByteSource = std::function<size_t(char* buffer, size_t size)>;

// A map from namespace URI to prefix that a captured XML value collects.
using CapturedNamespaces = std::vector<std::pair<std::u16string, std::u16string>>;

class PullParser {
 public:
  PullParser();
  ~PullParser();
  PullParser(const PullParser&) = delete;
  PullParser& operator=(const PullParser&) = delete;

  // Starts reading `source`; the current token is then the document's first
  // (or the parser is at end). `systemId` names the document in messages.
  void Open(ByteSource source, std::u16string systemId);

  // "Already at end" once at end.
  const Token& CurrentToken() const;
  bool AtEnd() const noexcept;
  // Moves to the next token, reading the next batch (at most 500 scan steps)
  // when the current one is used up. Xerces' message when the XML is not
  // well formed or is refused.
  void Next();

  bool IsStartElement(std::u16string_view localName, std::u16string_view ns = {}) const;
  bool IsEndElement(std::u16string_view localName, std::u16string_view ns = {}) const;
  // The URI bound to `prefix` at the current token; empty when unbound.
  std::u16string_view LookupNamespaceURI(std::u16string_view prefix) const;
  // The value of the current start tag's attribute; "Invalid call for token
  // other than ttStartElement" on any other token.
  std::optional<std::u16string_view> GetAttributeValue(std::u16string_view localName,
                                                       std::u16string_view ns = {}) const;
  // Passes over character tokens of only space, tab, line feed, carriage return.
  void SkipWhitespace();
  void SkipTokens(std::initializer_list<TokenType> types);
  // Next, then whitespace, `types` and whitespace again.
  void NextSkipping(std::initializer_list<TokenType> types);
  // NextSkipping over processing instructions and prefix mappings.
  void NextContent();

  // The content of the current start tag's element as XML text, leaving the
  // parser on its end tag. Names keep their prefixes as written.
  std::u16string GetElementXML();
  // The same with every namespaced name given a prefix from `namespaces`
  // (URI -> prefix); a new URI gets "NS" + the map's size + "1" (NS11, NS21).
  std::u16string GetElementXML(CapturedNamespaces& namespaces);

  // "<uri>|<local name>" of the current tag, for messages.
  std::u16string ExpandedName() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace nv
