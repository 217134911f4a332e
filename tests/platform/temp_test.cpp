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
  for (const std::string& name : {first, second}) {  // empty files "<folder>/nv*.tmp"
    EXPECT_TRUE(name.starts_with(scratch.Path() + "/nv") && name.ends_with(".tmp") &&
                fs::path(name).parent_path() == scratch.Path() && fs::file_size(name) == 0u)
        << name;
  }
  EXPECT_EQ(FailureOf([&] { CreateTempFile(scratch.Name("missing"), u"nv"); }),
            "Failed to create a temp file.");
}

// A private folder with a GUID name in the temp directory, removed without
// following links when an exception leaves its scope.
TEST(TempFolderTest, IsPrivateGuidNamedAndRemovedWithoutFollowingLinks) {
  ScratchFolder scratch;
  ScopedEnv temp("TEMP", scratch.Path().c_str());
  const TempFolder made, another;
  const std::string path = made.Path().ToUtf8();
  EXPECT_EQ(fs::path(path).parent_path(), fs::path(scratch.Path()));
  std::string shape = fs::path(path).filename().string();  // upper-case hex digits 8-4-4-4-12
  for (char& c : shape) c = std::isxdigit(c) && !std::islower(c) ? 'h' : c;
  EXPECT_EQ(shape, "hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh") << path;
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & (S_IFMT | 0777), S_IFDIR | 0700u);
  EXPECT_NE(another.Path().ToUtf8(), path);

  const std::string outside = scratch.File("outside");
  fs::create_directory(outside);
  nv_test::WriteText(outside + "/keep.txt", "keep");
  std::string removed;
  EXPECT_THROW(
      {
        TempFolder folder;
        removed = folder.Path().ToUtf8();
        fs::create_directories(removed + "/sub/deeper");
        nv_test::WriteText(removed + "/sub/deeper/file.txt", "data");
        fs::create_directory_symlink(outside, removed + "/link");
        fs::create_directory_symlink(outside, removed + "/sub/link");
        fs::create_symlink(outside + "/keep.txt", removed + "/file-link");
        throw std::runtime_error("writing failed");
      },
      std::runtime_error);
  ASSERT_FALSE(removed.empty());
  EXPECT_FALSE(fs::exists(removed));
  EXPECT_EQ(nv_test::ReadText(outside + "/keep.txt"), "keep");
}

}  // namespace
}  // namespace nv
