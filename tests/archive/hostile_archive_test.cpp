// Hostile archives: each is refused with a message naming the problem,
// quickly, and nothing is written outside (or, here, inside) the target.
#include "archive/archive_test_support.h"
#include "archive/beneath.h"

#include <gtest/gtest.h>

namespace nv_archive_test {
namespace {

class HostileArchiveTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileArchiveTest, IsRefusedAndWritesNothing) {
  const HostileCase& c = GetParam();
  Scratch dir;
  const std::string archive = dir / "hostile.zip";
  WriteFile(archive, c.archive(dir));
  fs::create_directories(dir / "a/b/out");
  const std::set<std::string> before = Snapshot(dir.Path());
  const std::string expected = At(c.message, archive);

  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(archive, dir / "a/b/out");
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFiles(U("*.*")); }), expected);
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFilesToNewLocation(U("*"), U(dir / "a/new")); }),
            expected);
  EXPECT_EQ(Snapshot(dir.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Archives, HostileArchiveTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Links planted in the target folder are never followed, with openat2 and
// with the fallback that walks one component at a time: a file link is
// replaced, not written through, and a folder link stops the extraction.
class PlantedLinkTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { nv::archive::UseOpenat2ForTests(GetParam()); }
  void TearDown() override { nv::archive::UseOpenat2ForTests(true); }
};

TEST_P(PlantedLinkTest, AreNotFollowed) {
  Scratch dir;
  fs::create_directories(dir / "out");
  WriteFile(dir / "outside/target.txt", "keep me");
  fs::create_symlink(dir / "outside/target.txt", dir / "out/x.txt");
  fs::create_directory_symlink(dir / "outside", dir / "out/sub");
  WriteFile(dir / "links.zip", BuildZip({{"x.txt", "extracted"}, {"sub/y.txt", "escaped"}}));
  ComPtr<ITAbUnZipper> unzipper = NewUnzipper(dir / "links.zip", dir / "out");

  unzipper.ExtractFiles(U("x.txt"));
  EXPECT_FALSE(fs::is_symlink(dir / "out/x.txt"));
  EXPECT_EQ(ReadText(dir / "out/x.txt"), "extracted");
  const std::string message = MessageOf([&] { unzipper.ExtractFiles(U("sub/*")); });
  EXPECT_TRUE(
      message.starts_with("Cannot extract archive entry \"sub/y.txt\": cannot make its folder: "))
      << message;
  EXPECT_EQ(Snapshot(dir / "outside"), std::set<std::string>{"target.txt"});
  EXPECT_EQ(ReadText(dir / "outside/target.txt"), "keep me");
}

INSTANTIATE_TEST_SUITE_P(OpenCalls, PlantedLinkTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "openat2" : "openat"; });

}  // namespace
}  // namespace nv_archive_test
