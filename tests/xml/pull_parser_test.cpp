// The pull parser: the tokens it makes, walking and capturing, its refusals
// (and the DOM parser's of the same hostile texts), and reading in batches
// from a source that hands out a few bytes at a time.
#include "archive/unzipper.h"
#include "frame/text.h"
#include "support/failure_of.h"
#include "support/readback.h"
#include "support/scratch.h"
#include "xml/hardened_dom_parser.h"
#include "xml/pull_parser.h"

#include <gtest/gtest.h>

#include "xml/hostile_xml.h"

#include <chrono>
#include <string>
#include <vector>

namespace nv {
namespace {

using xml_test::BillionLaughs;
using xml_test::Deep;

// A source over `text` that hands out at most `chunk` bytes per call.
ByteSource Source(std::string text, size_t chunk = 1 << 16) {
  return [text = std::move(text), chunk, at = size_t{0}](char* buffer, size_t size) mutable {
    const size_t n = std::min({size, chunk, text.size() - at});
    text.copy(buffer, n, at);
    at += n;
    return n;
  };
}

void Open(PullParser& parser, const std::string& text, size_t chunk = 1 << 16) {
  parser.Open(Source(text, chunk), u"doc.xml");
}

std::string U8(std::u16string_view text) { return Utf16ToUtf8(text); }

// The tokens from here to the end: "<uri|name" and "</name" for tags,
// 'text', "?target data", "+prefix=uri" and "-prefix".
std::string Walk(PullParser& parser) {
  std::string out;
  for (; !parser.AtEnd(); parser.Next()) {
    const Token& t = parser.CurrentToken();
    if (!out.empty()) out += ' ';
    switch (t.type) {
      case ttStartElement: out += "<" + (t.ns.empty() ? "" : U8(t.ns) + "|") + U8(t.localName); break;
      case ttEndElement: out += "</" + U8(t.localName); break;
      case ttCharacters: out += "'" + U8(t.text) + "'"; break;
      case ttProcessingInstruction: out += "?" + U8(t.localName) + " " + U8(t.text); break;
      case ttStartPrefixMapping: out += "+" + U8(t.localName) + "=" + U8(t.text); break;
      case ttEndPrefixMapping: out += "-" + U8(t.localName); break;
    }
  }
  return out;
}

// One token per event; walking, skipping and looking up.
TEST(PullParser, MakesOneTokenPerEventWalksSkipsAndLooksUp) {
  const struct {
    const char* text;
    const char* tokens;
  } rows[] = {
      {"<r><a/></r>", "<r <a </a </r"},
      {"<r>ab<![CDATA[<cd>]]>ef<!-- no token --></r>", "<r 'ab' '<cd>' 'ef' </r"},
      {"<?pi data?><p:r xmlns:p='u' a='1'/>", "?pi data +p=u <u|r </r -p"},
  };
  for (const auto& row : rows) {
    PullParser parser;
    Open(parser, row.text);
    EXPECT_EQ(Walk(parser), row.tokens) << row.text;
  }

  PullParser parser;
  Open(parser,
       "<r xmlns:p='outer' p:a='1' b='2'> \n\t<e xmlns:p='inner'><c/></e><?pi?>"
       "<d/>  x</r>");
  parser.SkipTokens({ttStartPrefixMapping});
  EXPECT_EQ(U8(parser.GetAttributeValue(u"a", u"outer").value()), "1");
  EXPECT_EQ(U8(parser.GetAttributeValue(u"b").value()), "2");
  EXPECT_FALSE(parser.GetAttributeValue(u"a").has_value());
  parser.NextContent();  // passes the blank text
  EXPECT_TRUE(parser.IsStartElement(u"e"));
  parser.NextContent();
  EXPECT_TRUE(parser.IsStartElement(u"c"));
  EXPECT_EQ(U8(parser.LookupNamespaceURI(u"p")), "inner");
  EXPECT_EQ(U8(parser.LookupNamespaceURI(u"q")), "");
  parser.NextContent();
  parser.NextContent();
  EXPECT_TRUE(parser.IsEndElement(u"e"));
  parser.NextContent();  // the prefix mapping's end and the instruction
  EXPECT_TRUE(parser.IsStartElement(u"d"));
  EXPECT_EQ(U8(parser.LookupNamespaceURI(u"p")), "outer");
  parser.NextContent();
  parser.NextContent();
  parser.SkipWhitespace();
  EXPECT_EQ(U8(parser.CurrentToken().text), "  x");  // not only blanks
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parser.GetAttributeValue(u"a"); }),
            "Invalid call for token other than ttStartElement");
  parser.NextSkipping({});
  EXPECT_EQ(U8(parser.ExpandedName()), "|r");
  parser.NextContent();
  EXPECT_TRUE(parser.AtEnd());
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parser.Next(); }), "Already at end");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parser.CurrentToken(); }), "Already at end");
}

TEST(PullParser, CapturesElementContent) {
  const struct {
    const char* text;
    bool generatePrefixes;
    const char* xml;
    const char* namespaces;  // the map afterwards
  } rows[] = {
      {"<r><b x='1'>t</b><c/></r>", false, "<b x=\"1\">t</b><c ></c>", ""},
      {"<r/>", false, "", ""},
      {"<r><![CDATA[<a>&]]></r>", false, "&lt;a&gt;&amp;", ""},
      {"<r><p:b xmlns:p='u1' p:x='1' y='2'><q:c xmlns:q='u2'/><b/></p:b></r>", true,
       "<NS11:b NS11:x=\"1\" y=\"2\"><NS21:c ></NS21:c><b ></b></NS11:b>", "u1=NS11 u2=NS21 "},
      {"<r><p:b xmlns:p='u1' p:x='1'/></r>", false, "<p:b p:x=\"1\"></p:b>", ""},
      {"<r><b x='&quot;&lt;&#9;&#10;'>\xC3\xA9\xF0\x9F\x98\x80&gt;</b></r>", false,
       "<b x=\"&quot;&lt;&#9;&#10;\">&#233;&#128512;&gt;</b>", ""},
  };
  for (const auto& row : rows) {
    PullParser parser;
    Open(parser, row.text);
    CapturedNamespaces namespaces;
    const std::u16string xml =
        row.generatePrefixes ? parser.GetElementXML(namespaces) : parser.GetElementXML();
    EXPECT_EQ(U8(xml), row.xml) << row.text;
    EXPECT_TRUE(parser.IsEndElement(u"r")) << row.text;
    std::string map;
    for (const auto& [uri, prefix] : namespaces) map += U8(uri) + "=" + U8(prefix) + " ";
    EXPECT_EQ(map, row.namespaces) << row.text;
  }
}

// Reads every token of `text`, capturing the content of element "cap".
void ReadAll(const std::string& text) {
  PullParser parser;
  Open(parser, text, 7);
  for (; !parser.AtEnd(); parser.Next())
    if (parser.IsStartElement(u"cap")) parser.GetElementXML();
}

// The DOM parser of schema documents refuses the hostile texts as quickly.
TEST(PullParser, RefusesBrokenAndHostileDocumentsQuickly) {
  const struct {
    std::string text;
    const char* message;
    const char* dom = nullptr;  // a part of the DOM parser's message
  } rows[] = {
      {"<r><a>text", "input ended before all started tags were ended; last tag started is 'a'"},
      {"<p:r/>", "prefix 'p' can not be resolved to namespace URI"},
      {"<r><cap><cap/></cap></r>", "Reached end before element was closed"},
      {"<d>&e;</d>", "entity 'e' not found", "line 1, column 7: entity 'e' not found"},
      {"<!DOCTYPE d [<!ENTITY e \"x\">]><d>&e;</d>", "DOCTYPE is not allowed",
       "DOCTYPE is not allowed"},
      {"<!DOCTYPE d [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><d>&e;</d>",
       "DOCTYPE is not allowed", "DOCTYPE is not allowed"},
      {BillionLaughs(), "DOCTYPE is not allowed", "DOCTYPE is not allowed"},
      {Deep(100000), "Elements are nested deeper than 256 levels",
       "elements are nested deeper than 256 levels"},
      {"<" + std::string(999, 'n') + "/>",
       "An element name is longer than 999 characters with its namespace URI"},
  };
  HardenedDomParser dom;
  for (const auto& row : rows) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(nv_test::MessageOfFailure([&] { ReadAll(row.text); }), row.message);
    EXPECT_TRUE(!row.dom || nv_test::MessageOfFailure([&] { dom.Parse(row.text); })
                                    .find(row.dom) != std::string::npos)
        << row.dom;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << row.message;
  }
  std::string declarations = "<r";
  for (int k = 0; k < 129; ++k) declarations += " xmlns:p" + std::to_string(k) + "='u'";
  EXPECT_EQ(nv_test::MessageOfFailure([&] { ReadAll(declarations + "/>"); }),
            "More than 128 namespace prefixes are declared at once");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { ReadAll(Deep(256)); }), nv_test::kNoFailure);
  EXPECT_EQ(nv_test::MessageOfFailure([&] { dom.Parse(Deep(256)); }), nv_test::kNoFailure);
  EXPECT_EQ(nv_test::MessageOfFailure([&] { ReadAll("<" + std::string(998, 'n') + "/>"); }),
            nv_test::kNoFailure);
}

std::string ManyElements(int count) {
  std::string text = "<?xml version='1.0'?>\n<list xmlns='urn:list'>";
  for (int k = 0; k < count; ++k)
    text += "<item n='" + std::to_string(k) + "'>text " + std::to_string(k) + "</item>\n";
  return text + "</list>";
}

// Checks the tokens of ManyElements(count), in batches of any size.
void ExpectManyElements(PullParser& parser, int count) {
  parser.SkipTokens({ttStartPrefixMapping});
  ASSERT_TRUE(parser.IsStartElement(u"list", u"urn:list"));
  parser.NextContent();
  for (int k = 0; k < count; ++k) {
    ASSERT_TRUE(parser.IsStartElement(u"item", u"urn:list")) << k;
    ASSERT_EQ(U8(parser.GetAttributeValue(u"n").value()), std::to_string(k));
    std::string text;
    for (parser.Next(); parser.CurrentToken().type == ttCharacters; parser.Next())
      text += U8(parser.CurrentToken().text);
    ASSERT_EQ(text, "text " + std::to_string(k));
    ASSERT_TRUE(parser.IsEndElement(u"item", u"urn:list"));
    parser.NextContent();
  }
  EXPECT_TRUE(parser.IsEndElement(u"list", u"urn:list"));
  parser.NextContent();
  EXPECT_TRUE(parser.AtEnd());
}

// Names beyond the shared ones (too many, too long) live with their batch;
// an end tag far from its start tag still has its names.
TEST(PullParser, KeepsNamesBeyondTheSharedOnes) {
  const std::string outer = "o" + std::string(300, 'x');
  std::string text = "<" + outer + ">";
  for (int k = 0; k < 6000; ++k) text += "<e" + std::to_string(k) + " a" + std::to_string(k) + "='v'/>";
  text += "</" + outer + ">";
  PullParser parser;
  Open(parser, text, 3);
  ASSERT_EQ(U8(parser.CurrentToken().localName), outer);
  for (int k = 0; k < 6000; ++k) {
    parser.Next();
    const std::string name = "e" + std::to_string(k);
    ASSERT_EQ(U8(parser.CurrentToken().qualifiedName), name);
    ASSERT_EQ(U8(parser.CurrentToken().attributes[0].localName), "a" + std::to_string(k));
    parser.Next();
    ASSERT_TRUE(parser.IsEndElement(Utf8ToUtf16(name)));
  }
  parser.Next();
  EXPECT_TRUE(parser.IsEndElement(Utf8ToUtf16(outer)));
  EXPECT_EQ(U8(parser.CurrentToken().qualifiedName), outer);
}

// A document read five bytes at a time, and one straight from its archive
// entry; an entry that inflates beyond its declared size is refused while it
// is parsed.
TEST(PullParser, ReadsBatchesAndArchiveEntriesAndRefusesOverlongOnes) {
  constexpr int kCount = 3000;
  PullParser batches;
  Open(batches, ManyElements(kCount), 5);
  ExpectManyElements(batches, kCount);
  nv_test::ScratchFolder dir;
  nv_test::WriteText(dir.File("doc.xml"), ManyElements(kCount));
  nv_test::RunCommand("cd '" + dir.File("") + "' && zip -q -9 a.zip doc.xml");
  std::string zip = nv_test::ReadText(dir.File("a.zip"));
  nv_test::WriteText(dir.File("good.zip"), zip);
  // The uncompressed size in the local header and the central directory.
  for (size_t at : {size_t{22}, zip.find(std::string("PK\x01\x02", 4)) + 24})
    for (int k = 0; k < 4; ++k) zip[at + k] = static_cast<char>((1000 >> (8 * k)) & 0xFF);
  nv_test::WriteText(dir.File("bomb.zip"), zip);

  const auto parse = [&](const char* archive, std::string_view entry) {
    std::shared_ptr<archive::EntryReader> reader;
    {
      CNvTAbUnZipperImpl unzipper;  // the reader keeps the archive open
      unzipper.Init();
      unzipper.PutFileName(dir.Name(archive));
      reader = unzipper.OpenEntry(entry);
    }
    PullParser parser;
    parser.Open([reader](char* buffer, size_t size) { return reader->Read(buffer, size); },
                u"doc.xml");
    ExpectManyElements(parser, kCount);
  };
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parse("good.zip", "doc.xml"); }), nv_test::kNoFailure);
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parse("bomb.zip", "doc.xml"); }),
            "Refused archive entry \"doc.xml\": more data than its declared size of 1000 bytes");
  EXPECT_EQ(nv_test::MessageOfFailure([&] { parse("good.zip", "VEXA_Data.xml"); }),
            "The archive \"" + dir.File("good.zip") + "\" has no entry \"VEXA_Data.xml\"");
}

}  // namespace
}  // namespace nv
