// The archive writer: entry names, levels, when files are read (read back
// by the reader), adding to an archive. Its failure messages are in unzipper_test.cpp.
#include "archive/archive_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

namespace nv_archive_test {
namespace {

struct Listed {
  std::string method;  // as zipinfo shows it: stor, defN, defX...
  uint64_t compressedSize = 0;
};

// The entries of an archive as zipinfo lists them, by name.
std::map<std::string, Listed> Listing(const std::string& archive) {
  std::map<std::string, Listed> entries;
  std::istringstream lines(RunCommand("zipinfo -l " + Quote(archive)).output);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || (line[0] != '-' && line[0] != 'd')) continue;
    std::istringstream fields(line);
    std::string skip, name;
    Listed entry;
    for (int k = 0; k < 5; ++k) fields >> skip;  // permissions, version, system, size, kind
    fields >> entry.compressedSize >> entry.method >> skip >> skip;  // then date and time
    std::getline(fields >> std::ws, name);
    entries[name] = entry;
  }
  return entries;
}

// One entry's data as the unzip command extracts it.
std::string Unzipped(const std::string& archive, const std::string& name) {
  return RunCommand("unzip -p " + Quote(archive) + " " + Quote(name)).output;
}

TEST(ZipperTest, EntryNamesAreRelativeToTheBaseAndEachSaveUsesTheLevelSetBeforeIt) {
  Scratch dir;
  const std::string base = dir / "pkg/";
  for (const char* name : {"VEXA_Schema.xsd", "files/a.txt", "tree/deep/y.bin", "masks/one.xsd",
                           "masks/sub/two.xsd", "masks/sub/skip.txt"})
    WriteFile(base + name, name);
  WriteFile(dir / "PKG/files/b.txt", "b");  // same path in other letter case
  WriteFile(dir / "outside.txt", "o");

  ComPtr<ITAbZipper> zipper = NewZipper(dir / "out.zip", base);
  zipper.AddFiles(U("VEXA_Schema.xsd"));        // relative: found in the base
  zipper.AddFiles(U(base + "files/a.txt"));     // under the base: cut
  zipper.AddFiles(U(dir / "PKG/files/b.txt"));  // letter case differs: full name
  zipper.AddFiles(U(dir / "outside.txt"));      // outside: full name
  zipper.AddFiles(U("tree"));                   // a folder takes its sub-folders
  zipper.AddFiles(U(base + "masks/*.xsd"));     // a mask too
  zipper.Save();
  zipper.CloseArchive();

  const std::string root = (dir / "").substr(1);  // full names lose their leading '/'
  std::set<std::string> names;
  for (const auto& [name, entry] : Listing(dir / "out.zip")) names.insert(name);
  EXPECT_EQ(names,
            (std::set<std::string>{"VEXA_Schema.xsd", "files/a.txt", root + "PKG/files/b.txt",
                                   root + "outside.txt", "tree/deep/y.bin", "masks/one.xsd",
                                   "masks/sub/two.xsd"}));
  // The package writer's layout check runs "unzip -t" on what the zipper writes.
  // Text that deflates differently at each level.
  static const char* words[] = {"object", "attribute", "value",   "class",  "schema", "file",
                                "change", "vexa",      "package", "reader", "writer", "\n"};
  std::mt19937 random(1);
  std::string text;
  while (text.size() < 200000) text += std::string(words[random() % 12]) + ' ';
  const struct {
    LONG level;  // 7 is outside the enumeration and behaves like afclLow
    const char* name;
    const char* method;
  } levels[] = {{afclNone, "none.txt", "stor"},
                {afclLow, "low.txt", "defN"}, {afclMedium, "medium.txt", "defN"},
                {afclHigh, "high.txt", "defX"},
                {7, "seven.txt", "defN"}};
  ComPtr<ITAbZipper> levelled = NewZipper(dir / "levels.zip", dir / "in");
  for (const auto& l : levels) {
    WriteFile(dir / "in/" + l.name, text);
    levelled.PutCopmressionLevel(static_cast<ArchiveFileCompressionLevelEnum>(l.level));
    levelled.AddFiles(U(l.name));
    levelled.Save();
  }
  levelled.CloseArchive();

  auto listed = Listing(dir / "levels.zip");
  for (const auto& l : levels) {
    EXPECT_EQ(listed[l.name].method, l.method) << l.name;
    EXPECT_EQ(Unzipped(dir / "levels.zip", l.name), text) << l.name;
  }
  EXPECT_EQ(listed["none.txt"].compressedSize, text.size());
  EXPECT_EQ(listed["seven.txt"].compressedSize, listed["low.txt"].compressedSize);
  EXPECT_LT(listed["medium.txt"].compressedSize, listed["low.txt"].compressedSize);
  EXPECT_LE(listed["high.txt"].compressedSize, listed["medium.txt"].compressedSize);
}

// Later saves add to an archive and replace same names. A file added with
// AutoSave may go at once (that it may go as soon as its Save returns is the
// package writer's way; its tests check the package), and many such saves
// keep every file.
TEST(ZipperTest, LaterSavesAddToAnArchiveReplaceSameNamesAndAutoSavesArchiveAtOnce) {
  Scratch dir;
  WriteFile(dir / "a.txt", "first");
  WriteFile(dir / "b.txt", "b");
  ComPtr<ITAbZipper> zipper = NewZipper(dir / "x.zip", dir.Path());
  zipper.AddFiles(U("a.txt"));
  zipper.Save();
  WriteFile(dir / "a2.txt", "second");  // a new file under the old name
  fs::rename(dir / "a2.txt", dir / "a.txt");
  zipper.AddFiles(U("a.txt"));
  zipper.Save();
  zipper.CloseArchive();
  {
    // A new zipper adds to the existing archive, written when it is released.
    ComPtr<ITAbZipper> again = NewZipper(dir / "x.zip", dir.Path());
    again.AddFiles(U("b.txt"));
    again.Save();
  }
  EXPECT_EQ(Listing(dir / "x.zip").size(), 2u);
  EXPECT_EQ(Unzipped(dir / "x.zip", "a.txt"), "second");
  EXPECT_EQ(Unzipped(dir / "x.zip", "b.txt"), "b");
  constexpr int kFiles = 3000;
  ComPtr<ITAbZipper> many = NewZipper(dir / "many.zip", dir / "in");
  many.PutAutoSave(true);
  for (int k = 0; k < kFiles; ++k) {
    const std::string name = "d" + std::to_string(k % 2) + "/\xC3\xA4" + std::to_string(k);
    WriteFile(dir / "in/" + name, std::to_string(k));
    many.AddFiles(U(k % 2 ? "d1" : name));  // a folder takes its files
    fs::remove_all(dir / "in");
  }
  many.CloseArchive();
  EXPECT_EQ(Snapshot(dir.Path()), (std::set<std::string>{"a.txt", "b.txt", "x.zip", "many.zip"}));
  EXPECT_EQ(Listing(dir / "many.zip").size(), static_cast<size_t>(kFiles));
  // The reader reads it back, UTF-8 names included.
  EXPECT_EQ(NewUnzipper(dir / "many.zip", dir.Path())
                .ExtractFilesToNewLocation(U("d1/\xC3\xA4" "2999"), U(dir / "copy")),
            4);
  EXPECT_EQ(ReadText(dir / "copy"), "2999");
}

}  // namespace
}  // namespace nv_archive_test
