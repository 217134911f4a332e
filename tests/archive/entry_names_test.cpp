// Entry-name safety, the names the zipper writes, and wildcard masks. The
// hostile archive table checks the common refusals end to end.
#include "archive/entry_names.h"

#include <gtest/gtest.h>

#include <string>

namespace nv::archive {
namespace {

TEST(EntryNameTest, UnsafeNamesAreRefusedWithTheirReasonAndNamesFromPathsAreFlat) {
  const struct {
    std::string name;
    std::string reason;
  } cases[] = {
      {"", "empty name"}, {"a\\..\\x", "'.' or '..' component"}, {"\\x", "absolute name"},
      {"a//b", "empty path component"},
      {std::string(256, 'n'), "name longer than 255 bytes"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UnsafeNameReason(c.name), c.reason) << PrintableName(c.name);
  for (const std::string& name : std::initializer_list<std::string>{
           "sub/deeper/c.txt", "sub/", "a\\b.txt", "..a", "a..", "...", "\xC3\xA4.txt",
           std::string(255, 'n')})
    EXPECT_EQ(UnsafeNameReason(name), "") << name;
  const struct {
    const char* path;
    const char* entry;
  } paths[] = {
      {"files\\a.txt", "files/a.txt"}, {"C:\\work\\a.txt", "work/a.txt"},
      {"../../a.txt", "a.txt"},        {"./x//y/./z", "x/y/z"},
      {"/", ""},
  };
  for (const auto& c : paths) EXPECT_EQ(EntryNameFromPath(c.path), c.entry) << c.path;
}

TEST(WildcardTest, Masks) {
  const struct {
    const char* name;
    const char* mask;
    bool matches;
  } cases[] = {
      {"README", "*.*", true},        {"sub/a.txt", "*.*", true}, {"vexa_S.xsd", "VEXA_*", false},
      {"a.txt", "?.txt", true},       {"ab.txt", "?.txt", false}, {"abcabcabd", "*abd", true},
      {"aaaa", "*a*a*a*a*a", false}, {"", "*", true},            {"", "?", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}

}  // namespace
}  // namespace nv::archive
