#include "platform/temp_folder.h"
#include "platform/temp_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::FailureOf;
using nv_test::ScopedEnv;
using nv_test::ScratchFolder;

// 8-4-4-4-12 upper-case hexadecimal digits.
bool IsGuidText(const std::string& text) {
  if (text.size() != 36) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    const char c = text[i];
    if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

struct EnvRow {
  const char* temp;
  const char* tmp;
  const char* tmpdir;
  const char* expected;
};

TEST(TempDirectoryTest, FollowsTheEnvironmentInOrder) {
  const EnvRow rows[] = {
      {"/t1", "/t2", "/t3", "/t1"},
      {nullptr, "/t2", "/t3", "/t2"},
      {"", "/t2", nullptr, "/t2"},
      {nullptr, "", "/t3", "/t3"},
      {"", "", "", "/tmp"},
      {nullptr, nullptr, nullptr, "/tmp"},
  };
  for (const EnvRow& row : rows) {
    ScopedEnv temp("TEMP", row.temp), tmp("TMP", row.tmp), tmpdir("TMPDIR", row.tmpdir);
    EXPECT_STREQ(GetTempDirectory().Utf8(), row.expected);
  }
}

TEST(TempFileTest, MakesDistinctEmptyFilesInTheFolder) {
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

TEST(TempFolderTest, IsAPrivateGuidNamedFolderInTheTempDirectory) {
  ScratchFolder scratch;
  ScopedEnv temp("TEMP", scratch.Path().c_str());
  const std::string path = CreateTempFolder().ToUtf8();
  EXPECT_EQ(fs::path(path).parent_path(), fs::path(scratch.Path()));
  EXPECT_TRUE(IsGuidText(fs::path(path).filename().string())) << path;
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_NE(CreateTempFolder().ToUtf8(), path);
}

TEST(TempFolderTest, CreationFailureNamesTheFolder) {
  ScratchFolder scratch;
  ScopedEnv temp("TEMP", scratch.File("missing").c_str());
  const std::string message = FailureOf([] { CreateTempFolder(); });
  const std::string start = "Cannot create the following directory: " + scratch.File("missing/");
  EXPECT_EQ(message.rfind(start, 0), 0u) << message;
  EXPECT_NE(message.find(" due to the following error: No such file or directory"),
            std::string::npos)
      << message;
}

TEST(TempFolderTest, IsRemovedWhenAnExceptionLeavesItsScope) {
  ScratchFolder scratch;
  ScopedEnv temp("TEMP", scratch.Path().c_str());
  std::string path;
  EXPECT_THROW(
      {
        TempFolder folder;
        path = folder.Path().ToUtf8();
        fs::create_directories(path + "/sub/deeper");
        nv_test::WriteText(path + "/sub/deeper/file.txt", "data");
        throw std::runtime_error("writing failed");
      },
      std::runtime_error);
  ASSERT_FALSE(path.empty());
  EXPECT_FALSE(fs::exists(path));
}

TEST(TempFolderTest, RemovalDoesNotFollowLinksInside) {
  ScratchFolder scratch;
  ScopedEnv temp("TEMP", scratch.Path().c_str());
  const std::string outside = scratch.File("outside");
  fs::create_directory(outside);
  nv_test::WriteText(outside + "/keep.txt", "keep");
  std::string path;
  {
    TempFolder folder;
    path = folder.Path().ToUtf8();
    fs::create_directory(path + "/sub");
    fs::create_directory_symlink(outside, path + "/link");
    fs::create_directory_symlink(outside, path + "/sub/link");
    fs::create_symlink(outside + "/keep.txt", path + "/file-link");
  }
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(nv_test::ReadText(outside + "/keep.txt"), "keep");
}

TEST(TempFolderTest, MovesAndRemovesOnce) {
  ScratchFolder scratch;
  ScopedEnv temp("TEMP", scratch.Path().c_str());
  TempFolder first;
  const std::string path = first.Path().ToUtf8();
  TempFolder second(std::move(first));
  EXPECT_TRUE(first.Path().Empty());
  first.Remove();
  EXPECT_TRUE(fs::is_directory(path));

  TempFolder third;
  const std::string replaced = third.Path().ToUtf8();
  third = std::move(second);
  EXPECT_FALSE(fs::exists(replaced));
  EXPECT_EQ(third.Path().ToUtf8(), path);
  third.Remove();
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(third.Path().Empty());
}

}  // namespace
}  // namespace nv
