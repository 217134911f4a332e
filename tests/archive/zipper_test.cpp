// The archive writer: entry names, levels, when files are read, adding to
// an archive. Its failure messages are in the table in unzipper_test.cpp.
#include "archive/archive_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

namespace nv_archive_test {
namespace {

using nv::ComPtr;

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

// Text that deflates differently at each level.
std::string CompressibleText(size_t size, unsigned seed = 1) {
  static const char* words[] = {"object", "attribute", "value",   "class",  "schema", "file",
                                "change", "vexa",      "package", "reader", "writer", "\n"};
  std::mt19937 random(seed);
  std::string text;
  while (text.size() < size) text += std::string(words[random() % 12]) + ' ';
  text.resize(size);
  return text;
}

TEST(ZipperTest, EntryNamesAreRelativeToTheBaseDirectory) {
  Scratch dir;
  const std::string base = dir / "pkg/";
  WriteFile(base + "VEXA_Schema.xsd", "<schema/>");
  WriteFile(base + "files/a.txt", "a");
  WriteFile(base + "tree/deep/y.bin", "y");
  WriteFile(base + "masks/one.xsd", "1");
  WriteFile(base + "masks/sub/two.xsd", "2");
  WriteFile(base + "masks/sub/skip.txt", "-");
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
  EXPECT_EQ(names, (std::set<std::string>{"VEXA_Schema.xsd", "files/a.txt", root + "PKG/files/b.txt",
                                          root + "outside.txt", "tree/deep/y.bin", "masks/one.xsd",
                                          "masks/sub/two.xsd"}));
  EXPECT_EQ(Unzipped(dir / "out.zip", "tree/deep/y.bin"), "y");
  const CommandResult test = RunCommand("unzip -t " + Quote(dir / "out.zip"));
  EXPECT_EQ(test.status, 0) << test.output;
  EXPECT_NE(test.output.find("No errors detected"), std::string::npos) << test.output;
}

TEST(ZipperTest, EachSaveUsesTheLevelSetBeforeIt) {
  Scratch dir;
  const std::string text = CompressibleText(200000);
  const struct {
    LONG level;  // 7 is outside the enumeration and behaves like afclLow
    const char* name;
    const char* method;
  } levels[] = {{afclNone, "none.txt", "stor"},
                {afclLow, "low.txt", "defN"},
                {afclMedium, "medium.txt", "defN"},
                {afclHigh, "high.txt", "defX"},
                {7, "seven.txt", "defN"}};
  ComPtr<ITAbZipper> zipper = NewZipper(dir / "levels.zip", dir / "in");
  for (const auto& l : levels) {
    WriteFile(dir / "in/" + l.name, text);
    zipper.PutCopmressionLevel(static_cast<ArchiveFileCompressionLevelEnum>(l.level));
    zipper.AddFiles(U(l.name));
    zipper.Save();
  }
  zipper.CloseArchive();

  auto listed = Listing(dir / "levels.zip");
  for (const auto& l : levels) {
    EXPECT_EQ(listed[l.name].method, l.method) << l.name;
    EXPECT_EQ(Unzipped(dir / "levels.zip", l.name), text) << l.name;
  }
  EXPECT_EQ(listed["none.txt"].compressedSize, text.size());
  EXPECT_EQ(listed["seven.txt"].compressedSize, listed["low.txt"].compressedSize);
  EXPECT_LT(listed["medium.txt"].compressedSize, listed["low.txt"].compressedSize);
  EXPECT_LE(listed["high.txt"].compressedSize, listed["medium.txt"].compressedSize);
  EXPECT_EQ(RunCommand("unzip -tq " + Quote(dir / "levels.zip")).status, 0);
}

TEST(ZipperTest, FilesMayGoAsSoonAsTheirSaveReturns) {
  // The package writer's order: save, delete the working folder, close.
  Scratch dir;
  const std::string base = dir / "work";
  WriteFile(base + "/VEXA_Data.xml", "<data/>");
  WriteFile(base + "/f1", "embedded");
  ComPtr<ITAbZipper> zipper = NewZipper(dir / "p.vexa", base);
  zipper.PutAutoSave(true);
  zipper.AddFiles(U("f1"));  // archived at once
  fs::remove(base + "/f1");
  zipper.PutAutoSave(false);
  zipper.AddFiles(U("VEXA_Data.xml"));
  zipper.Save();
  fs::remove_all(base);
  zipper.CloseArchive();
  EXPECT_EQ(zipper.FileName().Utf8(), std::string());

  EXPECT_EQ(Unzipped(dir / "p.vexa", "f1"), "embedded");
  EXPECT_EQ(Unzipped(dir / "p.vexa", "VEXA_Data.xml"), "<data/>");
  // Nothing is left behind beside the archive.
  EXPECT_EQ(Snapshot(dir.Path()), std::set<std::string>{"p.vexa"});
}

TEST(ZipperTest, ClosingKeepsPendingFilesForTheNextSave) {
  Scratch dir;
  WriteFile(dir / "a.txt", "a");
  ComPtr<ITAbZipper> zipper = nv::CreateObject<nv::CNvTAbZipper>();
  zipper.Save();  // empty pending list: nothing happens, not even a name check
  zipper.PutFileName(U(dir / "a.zip"));
  zipper.PutBaseDirectory(U(dir.Path()));
  EXPECT_FALSE(zipper.AutoSave());
  zipper.AddFiles(U("a.txt"));
  zipper.CloseArchive();
  EXPECT_FALSE(fs::exists(dir / "a.zip"));
  zipper.PutFileName(U(dir / "b.zip"));
  zipper.Save();
  zipper.CloseArchive();
  EXPECT_EQ(Unzipped(dir / "b.zip", "a.txt"), "a");
}

TEST(ZipperTest, LaterSavesAddToAnArchiveAndReplaceEntriesOfTheSameName) {
  Scratch dir;
  WriteFile(dir / "a.txt", "first");
  WriteFile(dir / "b.txt", "b");
  ComPtr<ITAbZipper> zipper = NewZipper(dir / "x.zip", dir.Path());
  zipper.AddFiles(U("a.txt"));
  zipper.Save();
  WriteFile(dir / "a2.txt", "second");
  fs::remove(dir / "a.txt");
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
}

TEST(ZipperTest, ManyAutoSavesKeepEveryFile) {
  Scratch dir;
  constexpr int kFiles = 3000;
  for (int k = 0; k < kFiles; ++k)
    WriteFile(dir / "in/f" + std::to_string(k), CompressibleText(2000, k));
  ComPtr<ITAbZipper> zipper = NewZipper(dir / "many.zip", dir / "in");
  zipper.PutAutoSave(true);
  for (int k = 0; k < kFiles; ++k) zipper.AddFiles(U("f" + std::to_string(k)));
  zipper.CloseArchive();
  // Every save is kept; the cost of many saves is measured by bench/zip_bench.
  EXPECT_EQ(Listing(dir / "many.zip").size(), static_cast<size_t>(kFiles));
}

}  // namespace
}  // namespace nv_archive_test
