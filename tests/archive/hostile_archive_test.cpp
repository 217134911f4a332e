// Hostile archives: each is refused with a message naming the problem,
// quickly, and nothing is written outside (or, here, inside) the target.
#include "archive/archive_test_support.h"
#include "archive/beneath.h"
#include "archive/raw_zip.h"
#include "archive/unzipper.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <functional>

namespace nv_archive_test {
namespace {

using nv::ComPtr;

RawEntry File(std::string name, std::string data = "x") {
  RawEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  return entry;
}

RawEntry WithMode(RawEntry entry, uint32_t mode) {
  entry.attributes = mode << 16;
  return entry;
}

struct HostileCase {
  const char* label;
  std::function<std::string(const Scratch&)> archive;  // the archive's bytes
  std::string message;  // after "<archive path>": or alone when it names an entry
};

std::string Zip(std::vector<RawEntry> entries) { return BuildZip(entries); }

std::string Deflated(const Scratch& dir, const std::string& name, const std::string& data) {
  WriteDeflated(dir / "deflated.tmp", name, data);
  std::string bytes = ReadFile(dir / "deflated.tmp");
  fs::remove(dir / "deflated.tmp");
  return bytes;
}

std::string Refused(const std::string& name, const std::string& reason) {
  return "Refused archive entry \"" + name + "\": " + reason;
}

const HostileCase kCases[] = {
    {"parent", [](auto&) { return Zip({File("../x")}); }, Refused("../x", "'.' or '..' component")},
    {"rooted", [](auto&) { return Zip({File("/x")}); }, Refused("/x", "absolute name")},
    {"backslash rooted", [](auto&) { return Zip({File("\\x")}); }, Refused("\\x", "absolute name")},
    {"climbing",
     [](auto&) {
       return Zip({File("ok.txt"), File("a/../../x")});
     },
     Refused("a/../../x", "'.' or '..' component")},
    {"drive", [](auto&) { return Zip({File("C:\\x")}); },
     Refused("C:\\x", "drive letter or ':' in name")},
    {"NUL-hidden parent", [](auto&) { return Zip({File(std::string("\0../x", 5))}); },
     Refused("\\x00../x", "NUL byte in name")},
    {"long name", [](auto&) { return Zip({File(std::string(300, 'n'))}); },
     Refused(std::string(300, 'n'), "name longer than 255 bytes")},
    {"symbolic link", [](auto&) { return Zip({WithMode(File("link", "/etc/passwd"), 0120777)}); },
     Refused("link", "symbolic link")},
    {"fifo", [](auto&) { return Zip({WithMode(File("pipe", ""), 0010644)}); },
     Refused("pipe", "not a regular file")},
    {"encrypted",
     [](auto&) {
       RawEntry e = File("secret.txt");
       e.flags = 1;
       return Zip({e});
     },
     Refused("secret.txt", "encrypted entry")},
    {"other method",
     [](auto&) {
       RawEntry e = File("packed.bin");
       e.method = 12;
       return Zip({e});
     },
     Refused("packed.bin", "unsupported compression method 12")},
    {"duplicate names",
     [](auto&) {
       return Zip({File("a.txt", "1"), File("a.txt", "2")});
     },
     "duplicate entry names"},
    {"truncated",
     [](const Scratch& dir) {
       std::string bytes = Deflated(dir, "data.bin", std::string(100000, 'z'));
       return bytes.substr(0, bytes.size() / 2);
     },
     "Not a zip archive"},
    {"larger than declared",
     [](const Scratch& dir) {
       std::string bytes = Deflated(dir, "bomb.bin", std::string(50 << 20, '\0'));
       PatchDeclaredSize(bytes, 1000);
       return bytes;
     },
     Refused("bomb.bin", "more data than its declared size of 1000 bytes")},
};

class HostileArchiveTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileArchiveTest, IsRefusedQuicklyAndWritesNothing) {
  const HostileCase& c = GetParam();
  Scratch dir;
  const std::string archive = dir / "hostile.zip";
  WriteFile(archive, c.archive(dir));
  fs::create_directories(dir / "a/b/out");
  const std::set<std::string> before = Snapshot(dir.Path());
  const std::string expected = c.message.starts_with("Refused")
                                   ? c.message
                                   : "Cannot open archive \"" + archive + "\": " + c.message;

  ComPtr<ITAbUnZipper> unzipper = nv::CreateObject<nv::CNvTAbUnZipper>();
  unzipper.Init();
  unzipper.PutFileName(U(archive));
  unzipper.PutBaseDirectory(U(dir / "a/b/out"));
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFiles(U("*.*")); }), expected);
  EXPECT_EQ(MessageOf([&] { unzipper.ExtractFilesToNewLocation(U("*"), U(dir / "a/new")); }),
            expected);
  EXPECT_EQ(Snapshot(dir.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Archives, HostileArchiveTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = info.param.label;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST(HostileArchiveTest, TooManyEntriesAreRefused) {
  Scratch dir;
  std::vector<RawEntry> entries(200001);
  for (size_t k = 0; k < entries.size(); ++k) entries[k] = File("e" + std::to_string(k), "");
  WriteFile(dir / "many.zip", BuildZip(entries));
  ComPtr<ITAbUnZipper> unzipper = nv::CreateObject<nv::CNvTAbUnZipper>();
  unzipper.Init();
  unzipper.PutFileName(U(dir / "many.zip"));
  EXPECT_EQ(MessageOf([&] { unzipper.Count(); }),
            "Refused archive \"" + dir / "many.zip" + "\": more than 200000 entries");
}

// Links planted in the target folder are never followed, with openat2 and
// with the fallback that walks one component at a time.
class PlantedLinkTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { nv::archive::UseOpenat2ForTests(GetParam()); }
  void TearDown() override { nv::archive::UseOpenat2ForTests(true); }
};

TEST_P(PlantedLinkTest, AFolderLinkStopsTheExtraction) {
  Scratch dir;
  fs::create_directories(dir / "out");
  fs::create_directories(dir / "outside");
  fs::create_directory_symlink(dir / "outside", dir / "out/sub");
  WriteFile(dir / "links.zip", BuildZip({File("sub/x.txt", "escaped")}));
  ComPtr<ITAbUnZipper> unzipper = nv::CreateObject<nv::CNvTAbUnZipper>();
  unzipper.Init();
  unzipper.PutFileName(U(dir / "links.zip"));
  unzipper.PutBaseDirectory(U(dir / "out"));
  const std::string message = MessageOf([&] { unzipper.ExtractFiles(U("*.*")); });
  EXPECT_TRUE(
      message.starts_with("Cannot extract archive entry \"sub/x.txt\": cannot make its folder: "))
      << message;
  EXPECT_TRUE(fs::is_empty(dir / "outside"));
}

TEST_P(PlantedLinkTest, AFileLinkIsReplacedNotWrittenThrough) {
  Scratch dir;
  fs::create_directories(dir / "out");
  WriteFile(dir / "outside/target.txt", "keep me");
  fs::create_symlink(dir / "outside/target.txt", dir / "out/x.txt");
  WriteFile(dir / "links.zip", BuildZip({File("x.txt", "extracted")}));
  ComPtr<ITAbUnZipper> unzipper = nv::CreateObject<nv::CNvTAbUnZipper>();
  unzipper.Init();
  unzipper.PutFileName(U(dir / "links.zip"));
  unzipper.PutBaseDirectory(U(dir / "out"));
  unzipper.ExtractFiles(U("x.txt"));
  EXPECT_EQ(ReadFile(dir / "outside/target.txt"), "keep me");
  EXPECT_FALSE(fs::is_symlink(dir / "out/x.txt"));
  EXPECT_EQ(ReadFile(dir / "out/x.txt"), "extracted");
}

INSTANTIATE_TEST_SUITE_P(OpenCalls, PlantedLinkTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "openat2" : "openat"; });

}  // namespace
}  // namespace nv_archive_test
