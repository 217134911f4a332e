// Entry-name safety, the names the zipper writes, and wildcard masks.
#include "archive/entry_name.h"
#include "archive/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace nv::archive {
namespace {

TEST(EntryNameTest, UnsafeNamesAreRefusedWithTheirReason) {
  const struct {
    std::string name;
    std::string reason;
  } cases[] = {
      {"", "empty name"},
      {"../x", "'.' or '..' component"},
      {"a/../../x", "'.' or '..' component"},
      {"a/..", "'.' or '..' component"},
      {"a\\..\\x", "'.' or '..' component"},
      {"./x", "'.' or '..' component"},
      {"/x", "absolute name"},
      {"\\x", "absolute name"},
      {"C:\\x", "drive letter or ':' in name"},
      {"C:x", "drive letter or ':' in name"},
      {"a/b:c", "drive letter or ':' in name"},
      {std::string("\0../x", 5), "NUL byte in name"},
      {std::string("a\0b", 3), "NUL byte in name"},
      {"a//b", "empty path component"},
      {std::string(256, 'n'), "name longer than 255 bytes"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UnsafeNameReason(c.name), c.reason) << PrintableName(c.name);
}

TEST(EntryNameTest, OrdinaryNamesPass) {
  for (const std::string name : {"a.txt", "VEXA_Data.xml", "sub/deeper/c.txt", "sub/", "a\\b.txt",
                                 "..a", "a..", "...", "with space.txt", "\xC3\xA4.txt"})
    EXPECT_EQ(UnsafeNameReason(name), "") << name;
  EXPECT_EQ(UnsafeNameReason(std::string(255, 'n')), "");
}

TEST(EntryNameTest, ComponentsAndFolderNames) {
  EXPECT_EQ(NameComponents("a/b\\c.txt"), (std::vector<std::string>{"a", "b", "c.txt"}));
  EXPECT_EQ(NameComponents("sub/"), std::vector<std::string>{"sub"});
  EXPECT_TRUE(IsFolderName("sub/"));
  EXPECT_TRUE(IsFolderName("sub\\"));
  EXPECT_FALSE(IsFolderName("sub"));
}

TEST(EntryNameTest, NamesFromPathsAreRelativeAndFlat) {
  const struct {
    const char* path;
    const char* entry;
  } cases[] = {
      {"files/a.txt", "files/a.txt"},
      {"files\\a.txt", "files/a.txt"},
      {"/tmp/pkg/a.txt", "tmp/pkg/a.txt"},
      {"C:\\work\\a.txt", "work/a.txt"},
      {"../../a.txt", "a.txt"},
      {"./x//y/./z", "x/y/z"},
      {"/", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(EntryNameFromPath(c.path), c.entry) << c.path;
}

TEST(EntryNameTest, PrintableNameShowsControlBytes) {
  EXPECT_EQ(PrintableName(std::string("\0../x\n", 6)), "\\x00../x\\x0A");
}

TEST(WildcardTest, Masks) {
  const struct {
    const char* name;
    const char* mask;
    bool matches;
  } cases[] = {
      {"a.txt", "*.*", true},
      {"README", "*.*", true},
      {"sub/a.txt", "*.*", true},
      {"sub/a.txt", "sub/*.*", true},
      {"a.txt", "*.txt", true},
      {"sub/a.txt", "*.txt", true},
      {"a.txt", "*.xsd", false},
      {"VEXA_Schema.xsd", "VEXA_*", true},
      {"vexa_Schema.xsd", "VEXA_*", false},
      {"a.txt", "?.txt", true},
      {"ab.txt", "?.txt", false},
      {"a.txt", "a.txt", true},
      {"a.txt", "A.txt", false},
      {"abcabcabd", "*abd", true},
      {"aaaa", "*a*a*a*a*a", false},
      {"", "*", true},
      {"", "?", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
  EXPECT_TRUE(HasWildcard("a*"));
  EXPECT_TRUE(HasWildcard("a?"));
  EXPECT_FALSE(HasWildcard("a.txt"));
}

}  // namespace
}  // namespace nv::archive
