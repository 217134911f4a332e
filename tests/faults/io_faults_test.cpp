// I/O faults: a valid package cut short or torn at 200 points of its
// length, and a package written under a file-size limit at 50 points of its
// length. Each run ends in a described failure, never a crash, and leaves no
// temporary folder; a write leaves nothing beside the package either, and
// publishes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>

#include "support/sample_package.h"
#include "support/scratch.h"
#include "support/failure_of.h"
#include "support/file_size_limit.h"

namespace nv_test {
namespace {

namespace fs = std::filesystem;

// A message with the test's folders and the GUIDs of temporary folders
// left out, so that like failures count together.
std::string Generalized(const std::string& message, const std::string& folder) {
  std::string text = message;
  for (size_t at; (at = text.find(folder)) != std::string::npos;)
    text.replace(at, folder.size(), "…");
  const auto isGuidAt = [&](size_t at) {
    for (size_t k = 0; k < 36; ++k)
      if (k == 8 || k == 13 || k == 18 || k == 23
              ? text[at + k] != '-'
              : !std::isxdigit(static_cast<unsigned char>(text[at + k])))
        return false;
    return true;
  };
  for (size_t at = 0; at + 36 <= text.size(); ++at)
    if (isGuidAt(at)) text.replace(at, 36, "GUID");
  return text;
}

void PrintMessages(const char* what, const std::map<std::string, int>& messages) {
  std::printf("%s:\n", what);
  for (const auto& [message, count] : messages) std::printf("  %d x %s\n", count, message.c_str());
}

class IoFaults : public ::testing::Test {
 protected:
  ScratchWithTemp scratch_;
  const std::vector<Variant> values_ = SampleValuesOfEveryType();
};

// Cut short, a package loses its central directory. Torn, as by a write that
// stopped with the directory already in place, it keeps the directory and
// holds zeros from the point on, up to it.
TEST_F(IoFaults, ReadingAPackageCutShortOrTornAt200Points) {
  const std::string whole = scratch_.File("whole.vexa"), cut = scratch_.File("cut.vexa");
  WriteSamplePackage(Bstr::FromUtf8(whole), values_);
  const std::string bytes = ReadText(whole);
  // The directory's offset, in the record that ends a package without comment.
  const auto* end = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size() - 22);
  const size_t directory = end[16] | end[17] << 8 | end[18] << 16 | size_t{end[19]} << 24;
  std::map<std::string, int> messages;
  for (size_t point = 0; point < 200; ++point) {
    const size_t at = bytes.size() * point / 200;
    std::string torn = bytes;
    if (at < directory) std::fill(torn.begin() + at, torn.begin() + directory, '\0');
    for (const std::string& damaged : {bytes.substr(0, at), torn}) {
      if (damaged == bytes) continue;
      WriteText(cut, damaged);
      const std::string failure = FailureOf([&] { ReadSamplePackage(Bstr::FromUtf8(cut)); });
      EXPECT_NE(failure, kNoFailure) << "a package damaged at " << point << "/200 read";
      EXPECT_NE(failure, "") << point;
      EXPECT_EQ(scratch_.TempLeft(), "") << point;
      ++messages[Generalized(failure, scratch_.File(""))];
    }
  }
  PrintMessages("reading a package cut short or torn at 200 points", messages);
}

// Forty objects and no compression: the instance document is the largest
// file but the package, so the limits fall in the schema documents, the
// instance document and the package.
TEST_F(IoFaults, WritingUnderAFileSizeLimitAt50Points) {
  const std::string unlimited = scratch_.File("unlimited.vexa");
  WriteSamplePackage(Bstr::FromUtf8(unlimited), values_, 40, true);
  const size_t packageSize = fs::file_size(unlimited);
  fs::create_directory(scratch_.File("out"));
  const std::string target = scratch_.File("out/limited.vexa");
  std::map<std::string, int> messages;
  for (size_t point = 0; point < 50; ++point) {
    std::string failure;
    {
      const FileSizeLimit limit(packageSize * point / 50);
      failure = FailureOf([&] { WriteSamplePackage(Bstr::FromUtf8(target), values_, 40, true); });
    }
    EXPECT_NE(failure, kNoFailure) << "a package was written under a limit at " << point << "/50";
    EXPECT_EQ(FolderNames(scratch_.File("out")), std::set<std::string>{}) << point;
    EXPECT_EQ(scratch_.TempLeft(), "") << point;
    ++messages[Generalized(failure, scratch_.File(""))];
  }
  PrintMessages("writing under a file-size limit at 50 points", messages);
}

}  // namespace
}  // namespace nv_test
