// The archive writer: entry names, levels, saving and closing, messages.
#include "archive/archive_test_support.h"
#include "archive/zip_listing.h"
#include "archive/zipper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace nv_archive_test {
namespace {

using nv::ComPtr;

ComPtr<ITAbZipper> NewZipper(const std::string& archive, const std::string& base) {
  ComPtr<ITAbZipper> zipper = nv::CreateObject<nv::CNvTAbZipper>();
  zipper.PutFileName(U(archive));
  zipper.PutBaseDirectory(U(base));
  return zipper;
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

std::set<std::string> Names(const std::map<std::string, std::string>& methods) {
  std::set<std::string> names;
  for (const auto& [name, method] : methods) names.insert(name);
  return names;
}

TEST(ZipperTest, EntryNamesAreRelativeToTheBaseDirectory) {
  Scratch dir;
  const std::string base = dir / "pkg/";
  WriteFile(base + "VEXA_Schema.xsd", "<schema/>");
  WriteFile(base + "files/a.txt", "a");
  WriteFile(base + "tree/x.bin", "x");
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
  EXPECT_EQ(Names(ZipinfoMethods(dir / "out.zip")),
            (std::set<std::string>{"VEXA_Schema.xsd", "files/a.txt", root + "PKG/files/b.txt",
                                   root + "outside.txt", "tree/x.bin", "tree/deep/y.bin",
                                   "masks/one.xsd", "masks/sub/two.xsd"}));
  EXPECT_EQ(ReadWithLibzip(dir / "out.zip")["tree/deep/y.bin"].data, "y");
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

  const auto methods = ZipinfoMethods(dir / "levels.zip");
  for (const auto& l : levels) EXPECT_EQ(methods.at(l.name), l.method) << l.name;
  auto stored = ReadWithLibzip(dir / "levels.zip");
  EXPECT_EQ(stored["none.txt"].compressedSize, text.size());
  EXPECT_EQ(stored["seven.txt"].compressedSize, stored["low.txt"].compressedSize);
  EXPECT_LT(stored["medium.txt"].compressedSize, stored["low.txt"].compressedSize);
  EXPECT_LE(stored["high.txt"].compressedSize, stored["medium.txt"].compressedSize);
  for (const auto& l : levels) EXPECT_EQ(stored[l.name].data, text) << l.name;
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

  auto entries = ReadWithLibzip(dir / "p.vexa");
  EXPECT_EQ(entries["f1"].data, "embedded");
  EXPECT_EQ(entries["VEXA_Data.xml"].data, "<data/>");
  // Nothing is left behind beside the archive.
  EXPECT_EQ(Snapshot(dir.Path()), std::set<std::string>{"p.vexa"});
}

TEST(ZipperTest, SavingNothingSucceedsAndClosingKeepsPendingFiles) {
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
  EXPECT_EQ(MessageOf([&] { zipper.Save(); }), "The name of the zip file is not correct");
  zipper.PutFileName(U(dir / "b.zip"));
  zipper.Save();  // the pending file is still there
  zipper.CloseArchive();
  EXPECT_EQ(ReadWithLibzip(dir / "b.zip")["a.txt"].data, "a");
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
  // A new zipper adds to the existing archive.
  ComPtr<ITAbZipper> again = NewZipper(dir / "x.zip", dir.Path());
  again.AddFiles(U("b.txt"));
  again.Save();
  again.CloseArchive();

  auto entries = ReadWithLibzip(dir / "x.zip");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries["a.txt"].data, "second");
  EXPECT_EQ(entries["b.txt"].data, "b");
}

TEST(ZipperTest, ReleasingTheZipperWritesItsArchive) {
  Scratch dir;
  WriteFile(dir / "a.txt", "a");
  {
    ComPtr<ITAbZipper> zipper = NewZipper(dir / "x.zip", dir.Path());
    zipper.AddFiles(U("a.txt"));
    zipper.Save();
  }
  EXPECT_EQ(ReadWithLibzip(dir / "x.zip")["a.txt"].data, "a");
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
  EXPECT_EQ(ReadWithLibzip(dir / "many.zip").size(), static_cast<size_t>(kFiles));
}

TEST(ZipperTest, Failures) {
  Scratch dir;
  WriteFile(dir / "a.txt", "a");
  WriteFile(dir / "not-a-zip", "plain text");
  ComPtr<ITAbZipper> zipper = NewZipper(dir / "x.zip", dir.Path());

  zipper.AddFiles(U("missing.txt"));
  EXPECT_EQ(MessageOf([&] { zipper.Save(); }), "Zip error: 9");
  zipper.PutFileName(U(""));
  EXPECT_EQ(MessageOf([&] { zipper.Save(); }), "The name of the zip file is not correct");

  ComPtr<ITAbZipper> badBase = NewZipper(dir / "y.zip", dir / "no-such-folder");
  badBase.AddFiles(U("a.txt"));
  EXPECT_EQ(MessageOf([&] { badBase.Save(); }), "Cannot sets options in zip library");

  ComPtr<ITAbZipper> notZip = NewZipper(dir / "not-a-zip", dir.Path());
  notZip.AddFiles(U("a.txt"));
  notZip.Save();
  EXPECT_EQ(MessageOf([&] { notZip.CloseArchive(); }), "Zip error: 19");
  EXPECT_EQ(ReadFile(dir / "not-a-zip"), "plain text");

  const char* temp = std::getenv("TEMP");
  const std::string savedTemp = temp ? temp : "";
  ::setenv("TEMP", (dir / "no-such-temp").c_str(), 1);
  ComPtr<ITAbZipper> noTemp = NewZipper(dir / "z.zip", dir.Path());
  noTemp.AddFiles(U("a.txt"));
  const std::string message = MessageOf([&] { noTemp.Save(); });
  temp ? ::setenv("TEMP", savedTemp.c_str(), 1) : ::unsetenv("TEMP");
  EXPECT_EQ(message, "Cannot initialize zip library");
}

}  // namespace
}  // namespace nv_archive_test
