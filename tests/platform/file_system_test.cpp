#include "platform/file_info.h"
#include "platform/file_system.h"

#include "frame/automation/calendar.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::FailureOf;
using nv_test::ReadText;
using nv_test::WriteText;

class FileSystemTest : public ::testing::Test {
 protected:
  std::string File(std::string_view name) const { return scratch_.File(name); }
  Bstr Name(std::string_view name) const { return scratch_.Name(name); }
  nv_test::ScratchFolder scratch_;
};

TEST_F(FileSystemTest, TellsFoldersFromFilesCreatesFoldersAndEmptiesThem) {
  fs::create_directory(File("sub"));
  WriteText(File("sub/file.txt"), "x");
  EXPECT_TRUE(IsFolder(Bstr::FromUtf8(scratch_.Path() + "\\sub")));
  EXPECT_FALSE(IsFolder(Name("sub/file.txt")));
  EXPECT_TRUE(FileExists(Bstr::FromUtf8(scratch_.Path() + "\\sub\\file.txt")));
  EXPECT_FALSE(FileExists(Name("sub")));
  CreateFolder(Name("one"));
  EXPECT_TRUE(fs::is_directory(File("one")));
  EXPECT_EQ(FailureOf([&] { CreateFolder(Name("one")); }),
            "Cannot create the following directory: " + File("one") +
                " due to the following error: File exists");

  CreateFolderTree(Bstr::FromUtf8(scratch_.Path() + "/two\\three/four/"));
  EXPECT_TRUE(fs::is_directory(File("two/three/four")));
  CreateFolderTree(Name("two/three"));  // existing folders are fine
  WriteText(File("plain"), "x");
  const std::string message = FailureOf([&] { CreateFolderTree(Name("plain/sub")); });
  EXPECT_EQ(message.rfind("Cannot create the following directory: " + File("plain"), 0), 0u)
      << message;
  const std::string root = File("root");
  fs::create_directories(root + "/a/b/c");
  WriteText(root + "/a/b/c/deep.txt", "1");
  WriteText(root + "/.hidden", "2");
  WriteText(root + "/readonly.txt", "3");
  fs::permissions(root + "/readonly.txt", fs::perms::owner_read);
  fs::create_directory(File("outside"));
  WriteText(File("outside/keep.txt"), "keep");
  fs::create_directory_symlink(File("outside"), root + "/a/link");

  DelTreeNoRoot(Bstr::FromUtf8(root));
  EXPECT_TRUE(fs::is_directory(root) && fs::is_empty(root));
  EXPECT_EQ(ReadText(File("outside/keep.txt")), "keep");

  // A link given as the folder is refused, like a missing folder.
  fs::create_directory_symlink(File("outside"), File("link"));
  for (const char* name : {"missing", "link"}) {
    const std::string message = FailureOf([&] { DelTreeNoRoot(Name(name)); });
    const std::string start = "DelTreeNoRoot: Error deleting files from folder \"" + File(name);
    EXPECT_EQ(message.rfind(start + "\"", 0), 0u) << message;
  }
  EXPECT_EQ(ReadText(File("outside/keep.txt")), "keep");
  EXPECT_EQ(FailureOf([] { DelTreeNoRoot(u""); }), "DelTreeNoRoot: Parameter is an empty string");
}

// Times are set and read back to the millisecond; failures name their file.
TEST_F(FileSystemTest, CopyFileHonoursFailIfExistsAndFileTimesReadBack) {
  WriteText(File("source"), "new");
  WriteText(File("existing"), "old content");
  EXPECT_EQ(FailureOf([&] { CopyFile(Name("source"), Name("existing"), true); }),
            "Cannot copy the file " + File("source") + " to " + File("existing") +
                ": File exists");
  EXPECT_EQ(ReadText(File("existing")), "old content");
  const auto At = [](int year, int ms) { return MakeDate({year, 3, 4, 5, 6, 7, ms}).value(); };
  SetFileTimes(Name("existing"), At(2001, 0), At(2021, 250), At(2020, 500));
  const FileInformation info = GetFileInformation(Name("existing"));
  constexpr DATE kHalfMillisecond = 0.5 / 86'400'000;
  EXPECT_EQ(info.size, 11u);
  EXPECT_NEAR(info.lastAccessTime, At(2021, 250), kHalfMillisecond);
  EXPECT_NEAR(info.lastWriteTime, At(2020, 500), kHalfMillisecond);
  EXPECT_EQ(FailureOf([&] { GetFileInformation(Name("missing.txt")); }),
            "Cannot receive information of file " + File("missing.txt") +
                " due to the following error: No such file or directory");
  EXPECT_EQ(FailureOf([&] { SetFileTimes(Name("missing.txt"), 1, 1, 1); }),
            "SetFileTime failed, cannot open file: " + File("missing.txt"));
}

}  // namespace
}  // namespace nv
