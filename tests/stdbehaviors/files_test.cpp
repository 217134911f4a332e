// Files written, embedded, read back and extracted as a client does; the refusals of both
// sides; file names that try to leave the extraction folder; the other standard views
// written and read back. No temporary folder stays.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "platform/file_info.h"
#include "platform/http_test_server.h"
#include "stdbehaviors/behavior_views.h"
#include "stdbehaviors/catalogue.h"
#include "support/created.h"
#include "support/failure_of.h"
#include "support/scratch.h"

namespace nv::test {
namespace {

namespace fs = std::filesystem;
using nv_test::Created;
using nv_test::MessageOfFailure;
using Cases = std::vector<std::pair<std::function<void()>, std::string>>;

// Every value a file view reports; times in milliseconds, the precision a package keeps.
std::string Milliseconds(double date) { return std::to_string(std::llround(date * 86400000)); }
template <class F>
std::string Describe(const F& file) {
  std::string previous = "-";
  if constexpr (requires { file.PreviousSibling(); }) previous = file.PreviousSibling().ToUtf8();
  return file.Id().ToUtf8() + " type=" + file.ContentType().ToUtf8() + " name=" +
         file.FileName().ToUtf8() + " at=" + file.Source().Location().ToUtf8() + " on=" +
         file.Source().ComputerName().ToUtf8() + " embedded=" + std::to_string(file.Embedded()) +
         " created=" + Milliseconds(file.CreationTime()) +
         " modified=" + Milliseconds(file.ModificationTime()) + " previous=" + previous;
}

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() {
    nv_test::WriteText(scratch_.File("plan.bin"), kPlan);
    SetFileTimes(scratch_.Name("plan.bin"), 0, kModified, kModified);  // a whole second
  }
  ~FilesTest() override {
    writer_.reset(), reader_.reset(), fileReader_.reset();
    EXPECT_EQ(scratch_.TempLeft(), "") << "temporary files left";
  }

  // A package with the standard file and versioning support, a class "Part"
  // with every standard view and a plain class, and its file writer.
  ComPtr<INvVexaFileWriter> Create(const std::string& name) {
    writer_ = Created<INvVexaWriter>(CLSID_NvVexaWriter);
    writer_.SetSchemaMode(mtEmbedded, u"", u"", false);
    const auto schema = helper_.CreateSchemaHelper(writer_.Schema());
    schema.AddDefaultFilesSupport();
    schema.AddDefaultVersioningSupport();
    const auto part = writer_.Schema().Classes().Add(u"Part");
    schema.EnableVersioningForClass(part);
    schema.EnableTimeStampForClass(part);
    schema.EnableFileAssociationForClass(part);
    writer_.Schema().Classes().Add(u"Plain");
    writer_.CreateVexaArchiveFile(scratch_.Name(name));
    return helper_.CreateWriterHelper(writer_).FileWriter();
  }

  // A main file of plan.bin, embedded, given a description value when named, saved.
  ComPtr<INvVexaFile> Embed(const ComPtr<INvVexaFileWriter>& files, const BstrArg& id,
                            const BstrArg& fileName, const OLECHAR* name = nullptr,
                            const std::string& value = {}) {
    const ComPtr<INvVexaFile> file = files.NewFile(id);
    file.PutFileName(fileName);
    file.PutContentType(u"application/octet-stream");
    file.SetSource(scratch_.Name("plan.bin"));
    files.EmbedFile(file);
    if (name)
      file.VexaObject()
          .GetBehaviorValues(Bstr(std::u16string(kFilesNamespace) + u"#fileDescription"))
          .PutItem(name, Variant(Bstr::FromUtf8(value)));
    file.Save();
    return file;
  }

  // Opens the package with a file reader; answers its objects by id.
  std::map<std::string, ComPtr<INvVexaObject>> Read(const std::string& name) {
    reader_ = Created<INvVexaReader>(CLSID_NvVexaReader);
    reader_.OpenVexaArchiveFile(scratch_.Name(name), true);
    fileReader_ = helper_.CreateReaderHelper(reader_).FileReader();
    std::map<std::string, ComPtr<INvVexaObject>> objects;
    const auto it = reader_.DataReader().ObjectReader().GetObjectIterator();
    for (; !it.AtEnd(); it.Next()) objects[it.GetObject().Id().ToUtf8()] = it.GetObject();
    return objects;
  }

  static constexpr double kModified = 45123.5678125;
  static inline const std::string kPlan = std::string("p\0\r\n", 4) + std::string(70000, '\xFF');
  nv_test::ScratchWithTemp scratch_;
  ComPtr<INvVexaStdHelper> helper_ = Created<INvVexaStdHelper>(CLSID_NvVexaStdHelper);
  ComPtr<INvVexaWriter> writer_;
  ComPtr<INvVexaReader> reader_;
  ComPtr<INvVexaFileReader> fileReader_;
};

TEST_F(FilesTest, EmbeddedFilesReadBackWithEveryValueAndExtractAsTheyWere) {
  nv_test::HttpTestServer proxy;
  const std::string remote("remote\0\xFF body", 13);
  proxy.Answer("http://files.invalid/r.txt", nv_test::HttpResponse(200, "OK", remote));
  const ComPtr<INvVexaFileWriter> files = Create("p.vexa");
  writer_.InitializationData().SetProxy(Bstr::FromUtf8(proxy.Address()));
  const ComPtr<INvVexaFile> plan = Embed(files, u"plan", u"Docs/Über/plan.bin");
  const ComPtr<INvVexaSecondaryFile> notes = files.NewSecondaryFile(u"notes", u"plan");
  notes.PutFileName(u"notes.txt");
  notes.PutContentType(u"text/plain");
  notes.SetSource(u"http://files.invalid/r.txt");  // no times, no computer
  files.EmbedSecondaryFile(notes);
  notes.Save();
  EXPECT_EQ(proxy.Requests().at(0).rfind("GET http://files.invalid/r.txt HTTP/1.1\r\n", 0), 0u);
  const std::string written = Describe(plan) + "\n" + Describe(notes);
  EXPECT_EQ(written, "plan type=application/octet-stream name=Docs/Über/plan.bin at=plan on= "
                     "embedded=1 created=" + Milliseconds(plan.CreationTime()) +
                     " modified=3898676259000 previous=-\nnotes type=text/plain name=notes.txt "
                     "at=notes on= embedded=1 created=-86400000 modified=-86400000 previous=plan");
  writer_.CloseVexaArchiveFile();
  auto objects = Read("p.vexa");
  const ComPtr<INvVexaFile> readPlan = fileReader_.CastToFile(objects["plan"]);
  const ComPtr<INvVexaSecondaryFile> readNotes = fileReader_.CastToSecondaryFile(objects["notes"]);
  EXPECT_EQ(Describe(readPlan) + "\n" + Describe(readNotes), written);
  readPlan.Extract(Bstr::FromUtf8(scratch_.Path()));
  readNotes.ExtractToFile(scratch_.Name("new/deeper/notes.txt"));
  EXPECT_EQ(nv_test::ReadText(scratch_.File("Docs/Über/plan.bin")), kPlan);
  EXPECT_EQ(GetFileInformation(scratch_.Name("Docs/Über/plan.bin")).lastWriteTime, kModified);
  EXPECT_EQ(nv_test::ReadText(scratch_.File("new/deeper/notes.txt")), remote);
}

TEST_F(FilesTest, BothSidesRefuseWithTheirMessagesAndNothingLeavesTheFolder) {
  const ComPtr<INvVexaFileWriter> files = Create("r.vexa");
  nv_test::WriteText(scratch_.File("keep.txt"), "mine");
  std::string upper = GetCurrentComputerName().ToUtf8();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Embed(files, u"plan", u"plan.bin");
  Embed(files, u"upper", u"sub/upper.bin", u"computerName", upper);
  Embed(files, u"far", u"far.bin", u"computerName", "elsewhere");
  Embed(files, u"ghost", u"ghost.bin", u"location", "nothing");
  const std::string outside[] = {"../../x", scratch_.File("x"), "C:\\x"};
  for (const std::string& name : outside)
    Embed(files, Bstr::FromUtf8("bad" + std::to_string(&name - outside)), u"n", u"fileName", name);
  const ComPtr<INvVexaFile> file = files.NewFile(u"linked"), second = files.NewFile(u"plan"),
                            prefixed = files.NewFile(u"p");
  second.SetSource(scratch_.Name("keep.txt"));
  prefixed.PutFileName(u"dir\\VEXA_x.bin");
  prefixed.SetSource(scratch_.Name("plan.bin"));
  const std::string name = "Invalid File Name \"";
  Cases cases = {
      {[&] { files.NewFile(u""); }, "Missing Id for file"},
      {[&] { files.NewSecondaryFile(u"", u"f"); }, "Missing Id for file"},
      {[&] { files.NewSecondaryFile(u"s", u""); }, "Missing Previous Sibling Id for SecondaryFile"},
      {[&] { file.PutFileName(u"a/../../x"); },
       name + "a/../../x\": The File name must not climb out of its folder with \"..\""},
      {[&] { file.SetSource(u""); }, "Missing required parameter \"Location\""},
      {[&] { files.EmbedFile(prefixed); },
       "Invalid embedded file name: \"VEXA_x.bin\". Embedded file name cannot start with Vexa "
       "preserved prefix: \"VEXA_\"."},
      {[&] { files.EmbedFile(second); },
       "Cannot embed file \"" + scratch_.File("keep.txt") +
           "\": the package already holds a file named \"plan\""},
      {[&] { file.Extract(u"/no/such/folder"); },
       "Invalid Folder. Path is not specified correctly, or folder does not exist"},
      {[&] { file.Extract(Bstr::FromUtf8(scratch_.Path())); },
       "It is not allowed to use NvVexaFile.Extract while writing file"},
      {[&] { file.ExtractToFile(u"x"); },
       "It is not allowed to use NvVexaFile.ExtractToFile while writing file"}};
  for (const char* bad : {"C:\\x", "\\x", "/x", "http://h/x", ""})
    cases.emplace_back([&file, bad] { file.PutFileName(Bstr::FromUtf8(bad)); },
                       name + bad + "\": The File name must be a relative path, such as "
                                    "filename.ext or folder1\\folder2\\filename.ext");
  for (const auto& [call, message] : cases) EXPECT_EQ(MessageOfFailure(call), message);
  file.SetSource(Bstr::FromUtf8(scratch_.Path()));
  const std::string copyFailure = MessageOfFailure([&] { files.EmbedFile(file); });
  EXPECT_EQ(copyFailure.rfind("Cannot copy the file " + scratch_.Path(), 0), 0u) << copyFailure;
  EXPECT_EQ(file.Source().Location().ToUtf8(), scratch_.Path());
  file.SetSource(u"http://h/linked.bin");
  file.PutFileName(u"linked.bin");
  file.PutContentType(u"");  // Null: the type is required, not its value
  file.Save();
  EXPECT_EQ(MessageOfFailure([&] { files.EmbedFile(file); }),
            "Cannot embed file \"http://h/linked.bin\". The file object was already saved. A file "
            "must be embedded before it is saved.");
  prefixed.PutFileName(u"dir\\vexa_x.bin");
  files.EmbedFile(prefixed);
  writer_.DataWriter().ObjectWriter().NewObject(u"Plain", u"plain").Save();
  writer_.CloseVexaArchiveFile();
  auto objects = Read("r.vexa");
  const auto cast = [&](const std::string& id) { return fileReader_.CastToFile(objects[id]); };
  EXPECT_FALSE(fileReader_.CastToFile(objects["plain"]));
  const std::string root = scratch_.File("a/b"), cannot = "Cannot extract file \"";
  fs::create_directories(root);
  cases = {
      {[&] { cast("linked").ExtractToFile(u"x"); }, "Cannot extract a non embedded file"},
      {[&] { cast("far").Extract(Bstr::FromUtf8(root)); },
       cannot + "far\". name of computer differs from actual computerName"},
      {[&] { cast("ghost").ExtractToFile(u"x"); },
       "File \"nothing\" not found in the zipped vexa file"},
      {[&] { cast("plan").ExtractToFile(scratch_.Name("keep.txt")); },
       cannot + "plan\" to \"" + scratch_.File("keep.txt") + "\": a file of that name exists "
                                                             "already"},
      {[&] { cast("plan").ExtractToFile(scratch_.Name("keep.txt/sub/x")); },
       "\"Could not create diroctories for file \"" + scratch_.File("keep.txt/sub/x")}};
  for (const std::string& bad : outside) {
    const std::string id = "bad" + std::to_string(&bad - outside);
    cases.emplace_back([&, id] { cast(id).Extract(Bstr::FromUtf8(root)); },
                       cannot + id + "\": its file name \"" + bad +
                           "\" does not name a file inside the folder \"" + root + "\"");
  }
  for (const auto& [call, message] : cases) EXPECT_EQ(MessageOfFailure(call), message);
  cast("upper").Extract(Bstr::FromUtf8(root));  // the computer's name in another letter case
  cast("plan").ExtractToFile(scratch_.Name("plan.copy"));
  EXPECT_EQ(nv_test::ReadText(scratch_.File("plan.copy")), kPlan);  // the first copy stayed
  EXPECT_EQ(nv_test::ReadText(root + "/sub/upper.bin"), kPlan);
  EXPECT_EQ(nv_test::ReadText(scratch_.File("keep.txt")), "mine");
  EXPECT_FALSE(fs::exists(scratch_.File("x")));
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(scratch_.File("a")), {}), 3);
}

// The writer and reader helpers' versioning, time-stamp and file-association
// views, written into a package and read back.
TEST_F(FilesTest, StandardViewsWrittenThroughTheWriterHelperReadBackThroughTheReaderHelper) {
  Create("v.vexa");
  const auto helper = helper_.CreateWriterHelper(writer_);
  EXPECT_EQ(helper.DetectFileMimeType(u"Docs/plan.PDF"), Bstr(u"application/pdf"));
  EXPECT_EQ(helper.DetectFileMimeType(u"notes.no-such-extension"), Bstr());
  EXPECT_EQ(helper.VersioningWriter().get(), helper.VersioningWriter().get());
  EXPECT_EQ(helper.TimeStampWriter().get(), helper.TimeStampWriter().get());

  const auto objects = writer_.DataWriter().ObjectWriter();
  const auto part = objects.NewObject(u"Part", u"P-1");
  const auto version = helper.VersioningWriter().CastToVersioning(part);
  EXPECT_EQ(version.Version(), Bstr());
  version.PutVersion(u"B");
  version.PutPreviousVersion(u"");
  EXPECT_TRUE(part.GetBehaviorValues(StandardBehaviorUri(kVersioningNamespace, u"version"))
                  .Item(u"previousVersion")
                  .IsNull());
  const auto stamp = helper.TimeStampWriter().CastToTimeStamp(part);
  EXPECT_EQ(stamp.CreationTime(), -1.0);
  stamp.PutCreationTime(45000.25);
  helper.FileWriter().CastToFileAssociation(part).PutFileId(u"F-1");
  part.Save();
  const auto plain = objects.NewObject(u"Plain", u"Q-1");
  EXPECT_FALSE(helper.VersioningWriter().CastToVersioning(plain));
  EXPECT_FALSE(helper.TimeStampWriter().CastToTimeStamp(plain));
  EXPECT_FALSE(helper.FileWriter().CastToFileAssociation(plain));
  plain.Save();
  EXPECT_EQ(MessageOfFailure([&] { helper.VersioningWriter().CastToVersioning(nullptr); }),
            "Invalid pointer");
  writer_.CloseVexaArchiveFile();
  auto read = Read("v.vexa");
  const auto readers = helper_.CreateReaderHelper(reader_);
  EXPECT_EQ(readers.FileReader().get(), readers.FileReader().get());
  const auto readVersion = readers.VersioningReader().CastToVersioning(read["P-1"]);
  EXPECT_EQ(readVersion.Version(), Bstr(u"B"));
  EXPECT_EQ(readVersion.PreviousVersion(), Bstr());
  const auto readStamp = readers.TimeStampReader().CastToTimeStamp(read["P-1"]);
  EXPECT_EQ(readStamp.CreationTime(), 45000.25);
  EXPECT_EQ(readStamp.ModificationTime(), -1.0);
  EXPECT_EQ(readers.FileReader().CastToFileAssociation(read["P-1"]).FileId(), Bstr(u"F-1"));
  EXPECT_FALSE(readers.VersioningReader().CastToVersioning(read["Q-1"]));
}

}  // namespace
}  // namespace nv::test
