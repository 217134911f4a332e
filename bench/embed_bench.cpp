// Embedding and extracting files through the public interfaces: writes K
// files of M megabytes each, embeds them into a package (stored, so that the
// figures are the copying's, not the compressor's), reads the package back
// and extracts every file. Prints the time of each step and the peak memory
// of the process, which must not grow with the files' size.
//
//   embed_bench FOLDER K M
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_client.h"

using namespace bench;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// A file of `megabytes` of varied bytes, written a block at a time.
void WriteSource(const std::string& path, int megabytes, int seed) {
  std::vector<char> block(1 << 20);
  std::ofstream out(path, std::ios::binary);
  for (int m = 0; m < megabytes; ++m) {
    for (size_t k = 0; k < block.size(); ++k) block[k] = static_cast<char>(k * 31 + m + seed);
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
}

template <class I>
void Create(const CLSID& clsid, const IID& iid, Ref<I>& made) {
  Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                         reinterpret_cast<void**>(&made.p)),
        "CoCreateInstance");
}

void AddFilesSupport(INvVexaSchema* schema) {
  Ref<INvVexaStdHelper> std;
  Create(CLSID_NvVexaStdHelper, IID_INvVexaStdHelper, std);
  Ref<INvVexaSchemaHelper> helper;
  Check(std->CreateSchemaHelper(schema, &helper.p), "CreateSchemaHelper");
  Check(helper->AddDefaultFilesSupport(), "AddDefaultFilesSupport");
}

void Embed(const std::string& package, const std::vector<std::string>& sources) {
  Ref<INvVexaWriter> writer;
  CreateEmbeddedPackage(writer, AddFilesSupport, package, afclNone);
  Ref<INvVexaStdHelper> std;
  Create(CLSID_NvVexaStdHelper, IID_INvVexaStdHelper, std);
  Ref<INvVexaWriterHelper> helper;
  Check(std->CreateWriterHelper(writer.p, &helper.p), "CreateWriterHelper");
  Ref<INvVexaFileWriter> files;
  Check(helper->get_FileWriter(&files.p), "FileWriter");
  const auto start = Clock::now();
  for (size_t k = 0; k < sources.size(); ++k) {
    Ref<INvVexaFile> file;
    Check(files->NewFile(Text(u"F" + Wide(std::to_string(k))).b, &file.p), "NewFile");
    Check(file->put_FileName(Text(u"data/f" + Wide(std::to_string(k)) + u".bin").b), "FileName");
    Check(file->put_ContentType(Text(u"application/octet-stream").b), "ContentType");
    Check(file->SetSource(Text(Wide(sources[k])).b), "SetSource");
    Check(files->EmbedFile(file.p), "EmbedFile");
    Check(file->Save(), "Save");
  }
  const double embedded = SecondsSince(start);
  Check(writer->CloseVexaArchiveFile(), "Close");
  std::printf("embed %.2f s, close (archive written) %.2f s, peak %ld MB\n", embedded,
              SecondsSince(start) - embedded, PeakMegabytes());
}

void Extract(const std::string& package, const std::string& folder) {
  const auto start = Clock::now();
  Ref<INvVexaReader> reader;
  Create(CLSID_NvVexaReader, IID_INvVexaReader, reader);
  Check(reader->OpenVexaArchiveFile(Text(Wide(package)).b, VARIANT_TRUE), "Open");
  Ref<INvVexaStdHelper> std;
  Create(CLSID_NvVexaStdHelper, IID_INvVexaStdHelper, std);
  Ref<INvVexaReaderHelper> helper;
  Check(std->CreateReaderHelper(reader.p, &helper.p), "CreateReaderHelper");
  Ref<INvVexaFileReader> files;
  Check(helper->get_FileReader(&files.p), "FileReader");
  Ref<INvVexaObjectIterator> iterator;
  GetObjectIterator(reader.p, iterator);
  int extracted = 0;
  for (VARIANT_BOOL atEnd = VARIANT_FALSE; SUCCEEDED(iterator->get_AtEnd(&atEnd)) && !atEnd;
       Check(iterator->Next(), "Next")) {
    Ref<INvVexaObject> object;
    Check(iterator->GetObject(&object.p), "GetObject");
    Ref<INvVexaFile> file;
    Check(files->CastToFile(object.p, &file.p), "CastToFile");
    if (!file.p) continue;
    Check(file->Extract(Text(Wide(folder)).b), "Extract");
    ++extracted;
  }
  Check(reader->Close(), "Close");
  std::printf("extract %d file(s) %.2f s, peak %ld MB\n", extracted, SecondsSince(start),
              PeakMegabytes());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER K M\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const int count = std::stoi(argv[2]);
  const int megabytes = std::stoi(argv[3]);
  try {
    std::vector<std::string> sources;
    for (int k = 0; k < count; ++k) {
      sources.push_back(folder + "/source" + std::to_string(k) + ".bin");
      WriteSource(sources.back(), megabytes, k);
    }
    std::printf("%d file(s) of %d MB\n", count, megabytes);
    const std::string package = folder + "/files.vexa";
    Embed(package, sources);
    const std::string extracted = folder + "/extracted";
    std::filesystem::create_directory(extracted);
    Extract(package, extracted);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return 0;
}
