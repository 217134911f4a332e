// The archive reader on archives made by the zip command, and the one table
// of every archive failure message. What the document stream writes is read
// back byte for byte in the writer's tests.
#include "archive/archive_test_support.h"
#include "archive/streams.h"
#include "frame/variant.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

#include "support/file_size_limit.h"

namespace nv_archive_test {
namespace {

using nv::Variant;

std::string BinaryBytes() {
  std::string bytes;
  for (int k = 0; k < 70000; ++k) bytes += static_cast<char>((k * 7919) % 256);
  return bytes + "line\nend\r\n";
}

constexpr LONG kRead = 0, kCreate = 0xFFFF;
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
  ComPtr<ITAbUnZipper> Made() { return NewUnzipper(dir / "made.zip", dir / "out"); }
  Scratch dir;
};

// One reader lists and finds every entry, extracts by mask byte for byte with
// folders and times, and extracts single entries to new files.
TEST_F(ZipCommandArchive, ListsFindsAndExtractsEveryEntry) {
  WriteFile(dir / "out/a.txt", "to be overwritten");
  ComPtr<ITAbUnZipper> unzipper = Made();
  ASSERT_EQ(unzipper.Count(), 6);
  std::set<std::string> names;
  for (LONG k = 0; k < 6; ++k) names.insert(unzipper.Item(k).ToUtf8());
  EXPECT_EQ(names, (std::set<std::string>{"a.txt", "sub/", "sub/b.bin", "sub/deeper/",
                                          "sub/deeper/c.txt", "empty.txt"}));
  const LONG index = unzipper.FindFile(U("sub\\deeper\\c.txt"));  // either separator
  EXPECT_EQ(unzipper.Item(index).ToUtf8(), "sub/deeper/c.txt");
  EXPECT_EQ(unzipper.FindFile(U("c.txt")), -1);
  EXPECT_EQ(unzipper.FindFile(U("SUB/b.bin")), -1);

  unzipper.ExtractFiles(U("*.txt"));
  EXPECT_EQ(Snapshot(dir / "out"),
            (std::set<std::string>{"a.txt", "empty.txt", "sub", "sub/deeper", "sub/deeper/c.txt"}));
  unzipper.ExtractFiles(U("*.*"));
  struct stat st {};
  ASSERT_EQ(::stat((dir / "out/sub/b.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, kWhen);
  EXPECT_EQ(st.st_atime, kWhen);
  for (const char* name : {"a.txt", "sub/b.bin", "sub/deeper/c.txt", "empty.txt"})
    EXPECT_EQ(ReadText(dir / "out/" + name), ReadText(dir / "tree/" + name)) << name;
  EXPECT_EQ(unzipper.ExtractFilesToNewLocation(U("sub/b.bin"), U(dir / "copy.bin")),
            static_cast<LONG>(BinaryBytes().size()));
  EXPECT_EQ(ReadText(dir / "copy.bin"), BinaryBytes());
  WriteFile(dir / "copy.txt", "older and longer contents");
  EXPECT_EQ(unzipper.ExtractFilesToNewLocation(U("sub\\deeper\\c.txt"), U(dir / "copy.txt")), 7);
  EXPECT_EQ(ReadText(dir / "copy.txt"), "gamma\r\n");
}

TEST_F(ZipCommandArchive, EachFailureHasItsMessageAndLeavesNoFile) {
  ComPtr<ITAbUnZipper> unzipper = Made();
  const std::set<std::string> before = Snapshot(dir.Path());
  std::string message, debugOutput;
  {  // the write fails part way, like on a full disk
    const nv_test::FileSizeLimit limit(4096);
    testing::internal::CaptureStderr();
    message = MessageOf(
        [&] { unzipper.ExtractFilesToNewLocation(U("sub/b.bin"), U(dir / "big.bin")); });
    debugOutput = testing::internal::GetCapturedStderr();
  }

  EXPECT_EQ(message, "Failed to extract file: sub/b.bin to new file: " + dir / "big.bin" +
                         ". Cannot write destination file: File too large.");
  EXPECT_EQ(debugOutput, "UnZipToMemAndSaveInNewName catch fwrite exception\n");
  EXPECT_EQ(Snapshot(dir.Path()), before);  // not even a partial file
  // Each failure of the writer, the reader and the document stream, with its
  // message; "@" stands for the scratch folder.
  WriteFile(dir / "a.txt", "a");
  WriteFile(dir / "not-a-zip", "plain text");
  WriteFile(dir / "read.txt", "data");
  const auto pending = [&](const char* archive, const char* file = "a.txt") {
    ComPtr<ITAbZipper> zipper = NewZipper(dir / archive, dir.Path());
    zipper.AddFiles(U(file));
    return zipper;
  };
  const auto opened = [&](const char* archive) { return NewUnzipper(dir / archive, dir / "out"); };
  const auto stream = [&](const char* name, LONG mode) {
    ComPtr<ITStream> stream = nv::CreateObject<nv::TFileStream>();
    stream.Create(U(dir / name), mode);
    return stream;
  };
  const auto full = [&] {
    ComPtr<ITStream> stream = nv::CreateObject<nv::TFileStream>();
    stream.Create(U("/dev/full"), kCreate);
    MessageOf([&] { stream.Write(Variant(nv::Bstr(std::u16string(70000, u'x'))), 70000); });
    return stream;
  };
  const std::pair<std::function<void()>, std::string> cases[] = {
      // The writer. With nothing pending, a save does nothing, not even a name check.
      {[&] { nv::CreateObject<nv::CNvTAbZipper>().Save(); }, nv_test::kNoFailure},
      {[&] { pending("x.zip", "missing.txt").Save(); },
       "Cannot write archive @/x.zip: cannot read missing.txt: No such file or directory"},
      {[&] {
         ComPtr<ITAbZipper> zipper = pending("x.zip");
         zipper.CloseArchive();  // forgets the archive's name, keeps the pending file
         zipper.Save();
       },
       "The name of the zip file is not correct"},
      {[&] {
         ComPtr<ITAbZipper> zipper = pending("y.zip");
         zipper.PutBaseDirectory(U(dir / "no-such-folder"));
         zipper.Save();
       },
       "Cannot sets options in zip library"},
      {[&] {
         ComPtr<ITAbZipper> zipper = pending("not-a-zip");
         zipper.Save();
         zipper.CloseArchive();
       },
       "Cannot write archive @/not-a-zip: Not a zip archive"},
      // The reader.
      {[&] { Made().Item(6); },
       "Failed to get item from archive. Index given is bigger then archive size."},
      {[&] { Made().ExtractFiles(U("*.xsd")); }, "Failed to extract files. error code = 9"},
      {[&] { Made().ExtractFilesToNewLocation(U("nope.txt"), U(dir / "n")); },
       "Failed to extract files from archive. error code = 9"},
      {[&] { Made().ExtractFilesToNewLocation(U("a.txt"), U(dir / "no/such/a.txt")); },
       "Failed to extract file: a.txt to new file: @/no/such/a.txt. Cannot open destination file."},
      {[&] { NewUnzipper(dir / "made.zip", dir / "missing").ExtractFiles(U("*.*")); },
       "Cannot set options in unzip library"},
      {[&] { NewUnzipper(dir / "made.zip", dir / "out", false).Count(); },
       "Cannot initialize unzip library"},
      {[&] { opened("missing.zip").Count(); },
       "Cannot open archive \"@/missing.zip\": No such file or directory"},
      {[&] { opened("out").Count(); }, "Cannot open archive \"@/out\": not a regular file"},
      // The document stream.
      {[&] { stream("x", 2); }, "Illegal file open mode"},
      {[&] { stream("missing", kRead); }, "Cannot create file @/missing"},
      {[&] { nv::CreateObject<nv::TFileStream>().Write(Variant(u"x"), 1); },
       "The file stream is not open"},
      {[&] { stream("doc", kCreate).Write(Variant(u"abc"), 4); },
       "Cannot write 4 bytes from a buffer of 3"},
      {[&] { stream("doc", kCreate).Write(Variant(int32_t{5}), 1); },
       "The buffer to write is neither a string nor a byte array"},
      {[&] { stream("read.txt", kRead).Write(Variant(u"x"), 1); },
       "Cannot write file @/read.txt: Bad file descriptor"},
      // A failed write sticks: a small write after it fails alike.
      {[&] { full().Write(Variant(u"x"), 1); },
       "Cannot write file /dev/full: No space left on device"},
  };
  for (const auto& [call, message] : cases) EXPECT_EQ(MessageOf(call), At(message, dir.Path()));
  nv_test::ScopedEnv temp("TEMP", (dir / "no-such-temp").c_str());
  EXPECT_EQ(MessageOf([&] { pending("z.zip").Save(); })
                .rfind("Cannot initialize zip library: Cannot create the following directory: " +
                           dir / "no-such-temp/",
                       0),
            0u);
  EXPECT_EQ(ReadText(dir / "not-a-zip"), "plain text");
  EXPECT_FALSE(fs::exists(dir / "x.zip"));  // a close writes only what was saved
  EXPECT_EQ(Snapshot(dir / "out"), std::set<std::string>{});
}

}  // namespace
}  // namespace nv_archive_test
