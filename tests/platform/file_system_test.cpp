#include "platform/del_tree.h"
#include "platform/fetch_file.h"
#include "platform/file_system.h"
#include "platform/file_times.h"

#include "frame/automation/date_parts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <ctime>
#include <filesystem>

#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::FailureOf;
using nv_test::ReadText;
using nv_test::ScratchFolder;
using nv_test::WriteText;

constexpr DATE kOneMillisecond = 1.0 / 86'400'000;

TEST(FolderTest, TellsFoldersFromFiles) {
  ScratchFolder scratch;
  fs::create_directory(scratch.File("sub"));
  WriteText(scratch.File("sub/file.txt"), "x");
  EXPECT_TRUE(IsFolder(scratch.Name("sub")));
  EXPECT_TRUE(IsFolder(Bstr::FromUtf8(scratch.Path() + "\\sub")));  // either separator
  EXPECT_FALSE(IsFolder(scratch.Name("sub/file.txt")));
  EXPECT_FALSE(IsFolder(scratch.Name("missing")));
  EXPECT_TRUE(FileExists(Bstr::FromUtf8(scratch.Path() + "\\sub\\file.txt")));
  EXPECT_FALSE(FileExists(scratch.Name("sub")));
  EXPECT_FALSE(FileExists(scratch.Name("missing")));
}

TEST(FolderTest, CreatesFoldersAndReportsFailures) {
  ScratchFolder scratch;
  CreateFolder(scratch.Name("one"));
  EXPECT_TRUE(fs::is_directory(scratch.File("one")));
  EXPECT_EQ(FailureOf([&] { CreateFolder(scratch.Name("one")); }),
            "Cannot create the following directory: " + scratch.File("one") +
                " due to the following error: File exists");

  CreateFolderTree(Bstr::FromUtf8(scratch.Path() + "/two\\three/four/"));
  EXPECT_TRUE(fs::is_directory(scratch.File("two/three/four")));
  CreateFolderTree(scratch.Name("two/three"));  // existing folders are fine

  WriteText(scratch.File("plain"), "x");
  const std::string message = FailureOf([&] { CreateFolderTree(scratch.Name("plain/sub")); });
  EXPECT_EQ(message.rfind("Cannot create the following directory: " + scratch.File("plain"), 0), 0u)
      << message;
}

TEST(DelTreeTest, EmptiesTheFolderButKeepsIt) {
  ScratchFolder scratch;
  const std::string root = scratch.File("root");
  fs::create_directories(root + "/a/b/c");
  WriteText(root + "/a/b/c/deep.txt", "1");
  WriteText(root + "/.hidden", "2");
  WriteText(root + "/readonly.txt", "3");
  fs::permissions(root + "/readonly.txt", fs::perms::owner_read);
  const std::string outside = scratch.File("outside");
  fs::create_directory(outside);
  WriteText(outside + "/keep.txt", "keep");
  fs::create_directory_symlink(outside, root + "/a/link");

  DelTreeNoRoot(Bstr::FromUtf8(root));
  EXPECT_TRUE(fs::is_directory(root));
  EXPECT_TRUE(fs::is_empty(root));
  EXPECT_EQ(ReadText(outside + "/keep.txt"), "keep");
}

TEST(DelTreeTest, RefusesBadFolders) {
  ScratchFolder scratch;
  EXPECT_EQ(FailureOf([] { DelTreeNoRoot(u""); }), "DelTreeNoRoot: Parameter is an empty string");
  const std::string prefix = "DelTreeNoRoot: Error deleting files from folder \"";
  EXPECT_EQ(FailureOf([&] { DelTreeNoRoot(scratch.Name("missing")); })
                .rfind(prefix + scratch.File("missing") + "\"", 0),
            0u);

  // A link given as the folder is not followed either.
  fs::create_directory(scratch.File("target"));
  WriteText(scratch.File("target/keep.txt"), "keep");
  fs::create_directory_symlink(scratch.File("target"), scratch.File("link"));
  EXPECT_EQ(FailureOf([&] { DelTreeNoRoot(scratch.Name("link")); })
                .rfind(prefix + scratch.File("link") + "\"", 0),
            0u);
  EXPECT_EQ(ReadText(scratch.File("target/keep.txt")), "keep");
}

TEST(CopyFileTest, HonoursFailIfExists) {
  ScratchFolder scratch;
  WriteText(scratch.File("source"), "new");
  WriteText(scratch.File("existing"), "old content");
  EXPECT_TRUE(CopyFile(scratch.Name("source"), scratch.Name("copy"), true));
  EXPECT_EQ(ReadText(scratch.File("copy")), "new");
  EXPECT_FALSE(CopyFile(scratch.Name("source"), scratch.Name("existing"), true));
  EXPECT_EQ(ReadText(scratch.File("existing")), "old content");
  EXPECT_TRUE(CopyFile(scratch.Name("source"), scratch.Name("existing"), false));
  EXPECT_EQ(ReadText(scratch.File("existing")), "new");
  EXPECT_FALSE(CopyFile(scratch.Name("missing"), scratch.Name("other"), false));
  EXPECT_FALSE(fs::exists(scratch.File("other")));
}

TEST(FetchFileTest, CopiesLocalFilesOverTheDestination) {
  ScratchFolder scratch;
  WriteText(scratch.File("source.bin"), "payload");
  WriteText(scratch.File("dest.bin"), "an older and longer content");
  FetchFile(scratch.Name("source.bin"), scratch.Name("dest.bin"), nullptr);
  EXPECT_EQ(ReadText(scratch.File("dest.bin")), "payload");
  EXPECT_EQ(FailureOf([&] { FetchFile(scratch.Name("none.bin"), scratch.Name("d.bin"), nullptr); }),
            "Cannot copy the file " + scratch.File("none.bin") + " to " + scratch.File("d.bin"));
}

DATE DateOf(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  return MakeDate(DateParts{year, month, day, hour, minute, second, millisecond}).value();
}

TEST(FileTimesTest, SetTimesAreReadBack) {
  ScratchFolder scratch;
  const std::string name = scratch.File("file.txt");
  WriteText(name, "twelve bytes");
  const DATE accessed = DateOf(2021, 3, 4, 5, 6, 7, 250);
  const DATE written = DateOf(2020, 1, 2, 3, 4, 5, 500);
  SetFileTimes(Bstr::FromUtf8(name), DateOf(2001, 1, 1, 0, 0, 0, 0), accessed, written);

  const FileInformation info = GetFileInformation(Bstr::FromUtf8(name));
  EXPECT_EQ(info.size, 12u);
  EXPECT_NEAR(info.lastAccessTime, accessed, kOneMillisecond / 2);
  EXPECT_NEAR(info.lastWriteTime, written, kOneMillisecond / 2);
  // Birth time where the file system keeps one (about now), else the write time.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const DATE today = DateOf(1970, 1, 1, 0, 0, 0, 0) + static_cast<double>(now.tv_sec) / 86400;
  EXPECT_TRUE(info.creationTime == info.lastWriteTime || std::fabs(info.creationTime - today) < 1)
      << info.creationTime;
}

TEST(FileTimesTest, ReportsMissingFiles) {
  ScratchFolder scratch;
  const std::string name = scratch.File("missing.txt");
  EXPECT_EQ(FailureOf([&] { GetFileInformation(Bstr::FromUtf8(name)); }),
            "Cannot receive information of file " + name +
                " due to the following error: No such file or directory");
  EXPECT_EQ(FailureOf([&] { SetFileTimes(Bstr::FromUtf8(name), 1, 1, 1); }),
            "SetFileTime failed, cannot open file: " + name);
}

}  // namespace
}  // namespace nv
