#include "platform/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::FailureOf;
using nv_test::ScopedEnv;
using nv_test::ScratchFolder;

TEST(TempDirectoryTest, FollowsTheEnvironmentInOrderAndHoldsDistinctTempFiles) {
  const struct {
    const char *temp, *tmp, *tmpdir, *expected;
  } rows[] = {
      {"/t1", "/t2", "/t3", "/t1"}, {"", "/t2", nullptr, "/t2"}, {nullptr, "", "/t3", "/t3"},
      {"", nullptr, "", "/tmp"},
  };
  for (const auto& row : rows) {
    ScopedEnv temp("TEMP", row.temp), tmp("TMP", row.tmp), tmpdir("TMPDIR", row.tmpdir);
    EXPECT_STREQ(GetTempDirectory().Utf8(), row.expected);
  }
  ScratchFolder scratch;
  const std::string first = CreateTempFile(Bstr::FromUtf8(scratch.Path()), u"nv").ToUtf8();
  const std::string second = CreateTempFile(Bstr::FromUtf8(scratch.Path() + "/"), u"nv").ToUtf8();
  EXPECT_NE(first, second);
  for (const std::string& name : {first, second}) {
    EXPECT_EQ(fs::path(name).parent_path(), fs::path(scratch.Path()));
    EXPECT_EQ(fs::path(name).filename().string().substr(0, 2), "nv");
    EXPECT_EQ(fs::path(name).extension(), ".tmp");
    EXPECT_EQ(fs::file_size(name), 0u);
  }
  EXPECT_EQ(FailureOf([&] { CreateTempFile(scratch.Name("missing"), u"nv"); }),
            "Failed to create a temp file.");
}

class TempFolderTest : public ::testing::Test {
 protected:
  ScratchFolder scratch_;
  ScopedEnv temp_{"TEMP", scratch_.Path().c_str()};
};

TEST_F(TempFolderTest, IsAPrivateGuidNamedFolderInTheTempDirectoryOrAFailureNamingIt) {
  const std::string path = CreateTempFolder().ToUtf8();
  EXPECT_EQ(fs::path(path).parent_path(), fs::path(scratch_.Path()));
  std::string shape = fs::path(path).filename().string();  // upper-case hex digits 8-4-4-4-12
  for (char& c : shape) c = std::isxdigit(c) && !std::islower(c) ? 'h' : c;
  EXPECT_EQ(shape, "hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh") << path;
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_NE(CreateTempFolder().ToUtf8(), path);
  // A failure names the folder.
  ScopedEnv missing("TEMP", scratch_.File("missing").c_str());
  const std::string message = FailureOf([] { CreateTempFolder(); });
  const std::string start = "Cannot create the following directory: " + scratch_.File("missing/");
  EXPECT_EQ(message.rfind(start, 0), 0u) << message;
  EXPECT_NE(message.find(" due to the following error: No such file or directory"),
            std::string::npos)
      << message;
}

TEST_F(TempFolderTest, IsRemovedWhenAnExceptionLeavesItsScopeAndMovesRemoveOnce) {
  const std::string outside = scratch_.File("outside");
  fs::create_directory(outside);
  nv_test::WriteText(outside + "/keep.txt", "keep");
  std::string path;
  EXPECT_THROW(
      {
        TempFolder folder;
        path = folder.Path().ToUtf8();
        fs::create_directories(path + "/sub/deeper");
        nv_test::WriteText(path + "/sub/deeper/file.txt", "data");
        fs::create_directory_symlink(outside, path + "/link");
        fs::create_directory_symlink(outside, path + "/sub/link");
        fs::create_symlink(outside + "/keep.txt", path + "/file-link");
        throw std::runtime_error("writing failed");
      },
      std::runtime_error);
  ASSERT_FALSE(path.empty());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(nv_test::ReadText(outside + "/keep.txt"), "keep");
  TempFolder first;
  const std::string moved = first.Path().ToUtf8();
  TempFolder second(std::move(first));
  EXPECT_TRUE(first.Path().Empty());
  first.Remove();
  EXPECT_TRUE(fs::is_directory(moved));

  TempFolder third;
  const std::string replaced = third.Path().ToUtf8();
  third = std::move(second);
  EXPECT_FALSE(fs::exists(replaced));
  EXPECT_EQ(third.Path().ToUtf8(), moved);
  third.Remove();
  EXPECT_FALSE(fs::exists(moved));
  EXPECT_TRUE(third.Path().Empty());
}

}  // namespace
}  // namespace nv
