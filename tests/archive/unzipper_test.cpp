// The archive reader: archives made by the zip command and by the zipper,
// listing, lookup, extraction, messages.
#include "archive/archive_test_support.h"
#include "archive/raw_zip.h"
#include "archive/unzipper.h"
#include "archive/zipper.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

namespace nv_archive_test {
namespace {

using nv::ComPtr;

ComPtr<ITAbUnZipper> NewUnzipper(const std::string& archive, const std::string& base) {
  ComPtr<ITAbUnZipper> unzipper = nv::CreateObject<nv::CNvTAbUnZipper>();
  unzipper.Init();
  unzipper.PutFileName(U(archive));
  unzipper.PutBaseDirectory(U(base));
  return unzipper;
}

std::string BinaryBytes() {
  std::string bytes;
  for (int k = 0; k < 70000; ++k) bytes += static_cast<char>((k * 7919) % 256);
  return bytes + "line\nend\r\n";
}

constexpr time_t kWhen = 981173106;  // 2001-02-03, an even second for DOS times

// A tree zipped by the zip command: two folders, text, binary and empty files.
class ZipCommandArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "tree/a.txt", "alpha\n");
    WriteFile(dir / "tree/sub/b.bin", BinaryBytes());
    WriteFile(dir / "tree/sub/deeper/c.txt", "gamma\r\n");
    WriteFile(dir / "tree/empty.txt", "");
    const timespec times[2] = {{kWhen, 0}, {kWhen, 0}};
    ::utimensat(AT_FDCWD, (dir / "tree/sub/b.bin").c_str(), times, 0);
    const CommandResult zip =
        RunCommand("cd " + Quote(dir / "tree") + " && zip -q -r ../made.zip a.txt sub empty.txt");
    ASSERT_EQ(zip.status, 0) << zip.output;
    fs::create_directory(dir / "out");
  }
  Scratch dir;
};

TEST_F(ZipCommandArchive, ListsEveryEntryOnce) {
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "made.zip", dir / "out");
  ASSERT_EQ(unzipper.Count(), 6);
  std::set<std::string> names;
  for (LONG k = 0; k < 6; ++k) names.insert(unzipper.Item(k).ToUtf8());
  EXPECT_EQ(names, (std::set<std::string>{"a.txt", "sub/", "sub/b.bin", "sub/deeper/",
                                          "sub/deeper/c.txt", "empty.txt"}));
  // The list is kept: the archive is not listed again.
  fs::remove(dir / "made.zip");
  EXPECT_EQ(unzipper.Count(), 6);
  EXPECT_EQ(MessageOf([&] { unzipper.Item(6); }),
            "Failed to get item from archive. Index given is bigger then archive size.");
  EXPECT_EQ(MessageOf([&] { unzipper.Item(-1); }),
            "Failed to get item from archive. Index given is bigger then archive size.");
}

TEST_F(ZipCommandArchive, FindFileAnswersTheIndexOrMinusOne) {
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "made.zip", dir / "out");
  const LONG index = unzipper.FindFile(U("sub/deeper/c.txt"));
  ASSERT_GE(index, 0);
  EXPECT_EQ(unzipper.Item(index).ToUtf8(), "sub/deeper/c.txt");
  EXPECT_EQ(unzipper.FindFile(U("sub\\deeper\\c.txt")), index);
  EXPECT_EQ(unzipper.FindFile(U("c.txt")), -1);
  EXPECT_EQ(unzipper.FindFile(U("SUB/b.bin")), -1);
}

TEST_F(ZipCommandArchive, ExtractsByteForByteWithFoldersAndTimes) {
  WriteFile(dir / "out/a.txt", "to be overwritten");
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "made.zip", dir / "out");
  unzipper.ExtractFiles(U("*.*"));
  struct stat st {};
  ASSERT_EQ(::stat((dir / "out/sub/b.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, kWhen);
  EXPECT_EQ(st.st_atime, kWhen);
  for (const char* name : {"a.txt", "sub/b.bin", "sub/deeper/c.txt", "empty.txt"})
    EXPECT_EQ(ReadFile(dir / "out/" + name), ReadFile(dir / "tree/" + name)) << name;
  EXPECT_EQ(Snapshot(dir / "out"), (std::set<std::string>{"a.txt", "sub", "sub/b.bin", "sub/deeper",
                                                          "sub/deeper/c.txt", "empty.txt"}));
}

TEST_F(ZipCommandArchive, ExtractsOnlyWhatTheMaskMatches) {
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "made.zip", dir / "out");
  unzipper.ExtractFiles(U("*.txt"));
  EXPECT_EQ(Snapshot(dir / "out"),
            (std::set<std::string>{"a.txt", "empty.txt", "sub", "sub/deeper", "sub/deeper/c.txt"}));
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFiles(U("*.xsd")); }),
            "Failed to extract files. error code = 9");
}

TEST_F(ZipCommandArchive, ExtractsOneEntryToANewFile) {
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "made.zip", dir / "out");
  EXPECT_EQ(unzipper.ExtractFilesToNewLocation(U("sub/b.bin"), U(dir / "copy.bin")),
            static_cast<LONG>(BinaryBytes().size()));
  EXPECT_EQ(ReadFile(dir / "copy.bin"), BinaryBytes());
  WriteFile(dir / "copy.txt", "older and longer contents");
  EXPECT_EQ(unzipper.ExtractFilesToNewLocation(U("sub\\deeper\\c.txt"), U(dir / "copy.txt")), 7);
  EXPECT_EQ(ReadFile(dir / "copy.txt"), "gamma\r\n");
  EXPECT_EQ(unzipper.ExtractFilesToNewLocation(U("empty.txt"), U(dir / "empty.copy")), 0);
  EXPECT_TRUE(fs::is_regular_file(dir / "empty.copy"));
  EXPECT_EQ(fs::file_size(dir / "empty.copy"), 0u);
}

TEST_F(ZipCommandArchive, ExtractionFailures) {
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "made.zip", dir / "out");
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFilesToNewLocation(U("nope.txt"), U(dir / "n")); }),
            "Failed to extract files from archive. error code = 9");
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFilesToNewLocation(U("sub/"), U(dir / "n")); }),
            "Failed to extract files from archive. error code = 9");
  const std::string target = dir / "no/such/folder/a.txt";
  EXPECT_EQ(
      MessageOf([&] { unzipper.ExtractFilesToNewLocation(U("a.txt"), U(target)); }),
      "Failed to extract file: a.txt to new file: " + target + ". Cannot open destination file.");
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFilesToNewLocation(U("a.txt"), U(dir / "out")); }),
            "Failed to extract file: a.txt to new file: " + dir / "out" +
                ". Cannot open destination file.");

  ComPtr<ITAbUnZipper> noBase = NewUnzipper(dir / "made.zip", dir / "missing");
  EXPECT_EQ(MessageOf([&] { noBase.ExtractFiles(U("*.*")); }),
            "Cannot set options in unzip library");

  ComPtr<ITAbUnZipper> uninitialized = nv::CreateObject<nv::CNvTAbUnZipper>();
  uninitialized.PutFileName(U(dir / "made.zip"));
  uninitialized.PutBaseDirectory(U(dir / "out"));
  for (auto call : std::initializer_list<std::function<void()>>{
           [&] { uninitialized.Count(); }, [&] { uninitialized.ExtractFiles(U("*.*")); },
           [&] { uninitialized.FindFile(U("a.txt")); }})
    EXPECT_EQ(MessageOf(call), "Cannot initialize unzip library");
  EXPECT_EQ(Snapshot(dir / "out"), std::set<std::string>{});
}

TEST_F(ZipCommandArchive, AWriteFailureIsReportedAndLeavesNoFile) {
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "made.zip", dir / "out");
  // A file-size limit makes the write fail part way, like a full disk.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &small);
  testing::internal::CaptureStderr();
  const std::string message =
      MessageOf([&] { unzipper.ExtractFilesToNewLocation(U("sub/b.bin"), U(dir / "big.bin")); });
  const std::string debugOutput = testing::internal::GetCapturedStderr();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(message, "Failed to extract file: sub/b.bin to new file: " + dir / "big.bin" +
                         ". Cannot write destination file: File too large.");
  EXPECT_EQ(debugOutput, "UnZipToMemAndSaveInNewName catch fwrite exception\n");
  EXPECT_FALSE(fs::exists(dir / "big.bin"));
  EXPECT_EQ(Snapshot(dir.Path()).count("big.bin"), 0u);
}

TEST(UnzipperTest, ReadsBackWhatTheZipperWrote) {
  Scratch dir;
  WriteFile(dir / "in/VEXA_Data.xml", "<data/>\r\n");
  WriteFile(dir / "in/files/\xC3\xA4.bin", BinaryBytes());
  ComPtr<ITAbZipper> zipper = nv::CreateObject<nv::CNvTAbZipper>();
  zipper.PutFileName(U(dir / "p.vexa"));
  zipper.PutBaseDirectory(U(dir / "in"));
  zipper.PutCopmressionLevel(afclHigh);
  zipper.AddFiles(U("files"));
  zipper.AddFiles(U("VEXA_Data.xml"));
  zipper.Save();
  zipper.CloseArchive();

  fs::create_directory(dir / "out");
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "p.vexa", dir / "out");
  EXPECT_EQ(unzipper.Count(), 2);
  EXPECT_GE(unzipper.FindFile(U("files/\xC3\xA4.bin")), 0);
  unzipper.ExtractFiles(U("*.*"));
  EXPECT_EQ(ReadFile(dir / "out/files/\xC3\xA4.bin"), BinaryBytes());
  EXPECT_EQ(ReadFile(dir / "out/VEXA_Data.xml"), "<data/>\r\n");
}

TEST(UnzipperTest, ArchivesThatCannotBeOpenedSayWhy) {
  Scratch dir;
  WriteFile(dir / "text.zip", "just some text, no archive at all");
  fs::create_directory(dir / "out");
  const struct {
    std::string archive;
    std::string reason;
  } cases[] = {{dir / "missing.zip", "No such file or directory"},
               {dir / "text.zip", "Not a zip archive"},
               {dir / "out", "not a regular file"}};
  for (const auto& c : cases) {
    ComPtr<ITAbUnZipper> unzipper = NewUnzipper(c.archive, dir / "out");
    EXPECT_EQ(MessageOf([&] { unzipper.Count(); }),
              "Cannot open archive \"" + c.archive + "\": " + c.reason);
  }
}

}  // namespace
}  // namespace nv_archive_test
