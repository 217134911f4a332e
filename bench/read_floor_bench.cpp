// The floor of package reading beside the pull parser.
//
// "sax" inflates VEXA_Data.xml with libzip straight into a progressive Xerces
// SAX2 scan whose handlers do nothing (namespaces on, validation and schema
// processing off): the cost no reader on Xerces can avoid. "pull" walks the
// same entry token by token with the library's PullParser through its
// EntryReader.
//
//   read_floor_bench PACKAGE              both, with the figures
//   read_floor_bench PACKAGE sax|pull     one (for valgrind)
#include "archive/zip_reader.h"
#include "xml/hardened_dom_parser.h"
#include "xml/pull_parser.h"

#include <zip.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include <xercesc/framework/XMLPScanToken.hpp>
#include <xercesc/sax/InputSource.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/BinInputStream.hpp>
#include <xercesc/util/XMLUni.hpp>

namespace {

namespace xc = xercesc;

constexpr const char* kEntry = "VEXA_Data.xml";

struct Figures {
  uint64_t bytes = 0;
  uint64_t tokens = 0;
};

// zip_fread feeding the scanner directly.
class ZipStream final : public xc::BinInputStream {
 public:
  ZipStream(zip_file_t* file, uint64_t& bytes) : file_(file), bytes_(bytes) {}
  XMLFilePos curPos() const override { return bytes_; }
  XMLSize_t readBytes(XMLByte* const toFill, const XMLSize_t maxToRead) override {
    const zip_int64_t got = zip_fread(file_, toFill, maxToRead);
    if (got < 0) throw std::runtime_error("zip_fread failed");
    bytes_ += static_cast<uint64_t>(got);
    return static_cast<XMLSize_t>(got);
  }
  const XMLCh* getContentType() const override { return nullptr; }

 private:
  zip_file_t* file_;
  uint64_t& bytes_;
};

class ZipInput final : public xc::InputSource {
 public:
  ZipInput(zip_file_t* file, uint64_t& bytes) : InputSource(u"VEXA_Data.xml"), file_(file), bytes_(bytes) {}
  xc::BinInputStream* makeStream() const override { return new ZipStream(file_, bytes_); }

 private:
  zip_file_t* file_;
  uint64_t& bytes_;
};

class Ignore final : public xc::DefaultHandler {
 public:
  void fatalError(const xc::SAXParseException& e) override { throw e; }
};

Figures ScanWithSax(const std::string& package) {
  int error = 0;
  zip_t* zip = zip_open(package.c_str(), ZIP_RDONLY, &error);
  if (zip == nullptr) throw std::runtime_error("cannot open " + package);
  zip_file_t* file = zip_fopen(zip, kEntry, 0);
  if (file == nullptr) throw std::runtime_error(std::string("no ") + kEntry);
  Figures figures;
  {
    Ignore handler;
    std::unique_ptr<xc::SAX2XMLReader> reader(xc::XMLReaderFactory::createXMLReader());
    reader->setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
    reader->setFeature(xc::XMLUni::fgSAX2CoreValidation, false);
    reader->setFeature(xc::XMLUni::fgXercesSchema, false);
    reader->setContentHandler(&handler);
    reader->setErrorHandler(&handler);
    ZipInput input(file, figures.bytes);
    xc::XMLPScanToken token;
    if (!reader->parseFirst(input, token)) throw std::runtime_error("parseFirst failed");
    while (reader->parseNext(token)) ++figures.tokens;
  }
  zip_fclose(file);
  zip_discard(zip);
  return figures;
}

Figures WalkWithPullParser(const std::string& package) {
  nv::archive::ZipReader zip(package);
  const int64_t index = zip.Find(kEntry);
  if (index < 0) throw std::runtime_error(std::string("no ") + kEntry);
  const std::shared_ptr<nv::archive::EntryReader> entry = zip.OpenEntry(static_cast<size_t>(index));
  Figures figures;
  nv::PullParser parser;
  parser.Open(
      [&](char* buffer, size_t size) {
        const size_t got = entry->Read(buffer, size);
        figures.bytes += got;
        return got;
      },
      u"VEXA_Data.xml");
  for (; !parser.AtEnd(); parser.Next()) ++figures.tokens;
  return figures;
}

void Run(const char* phase, const std::string& package) {
  const auto start = std::chrono::steady_clock::now();
  const Figures figures = std::strcmp(phase, "sax") == 0    ? ScanWithSax(package)
                          : std::strcmp(phase, "pull") == 0 ? WalkWithPullParser(package)
                                                            : throw std::runtime_error("phase?");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-5s %12llu bytes %10llu %s %8.3f s %8.1f MB/s\n", phase,
              static_cast<unsigned long long>(figures.bytes),
              static_cast<unsigned long long>(figures.tokens),
              std::strcmp(phase, "sax") == 0 ? "steps " : "tokens", seconds,
              static_cast<double>(figures.bytes) / 1e6 / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc < 2) throw std::runtime_error("usage: read_floor_bench PACKAGE [sax|pull]");
    nv::EnsureXmlPlatform();
    if (argc > 2) {
      Run(argv[2], argv[1]);
    } else {
      Run("sax", argv[1]);
      Run("pull", argv[1]);
    }
    return 0;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "read_floor_bench: %s\n", failure.what());
    return 1;
  }
}
