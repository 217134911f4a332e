#include "frame/registry_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::ReadText;
using nv_test::ScopedEnv;
using nv_test::ScratchFolder;
using nv_test::WriteText;

constexpr const char* kKey = "HKEY_CLASSES_ROOT\\CLSID\\{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}";

TEST(RegistryFileTest, WritesRegistryExportLayout) {
  RegistryFile reg;
  reg.SetValue("HKEY_CLASSES_ROOT\\NorvVexa1.X", "", "X Object");
  reg.SetValue("HKEY_CLASSES_ROOT\\NorvVexa1.X\\CLSID", "", "{1}");
  reg.SetValue("HKEY_CLASSES_ROOT\\NorvVexa1.X", "Extra", "e");
  EXPECT_EQ(reg.ToText(),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CLASSES_ROOT\\NorvVexa1.X]\n@=\"X Object\"\n\"Extra\"=\"e\"\n\n"
            "[HKEY_CLASSES_ROOT\\NorvVexa1.X\\CLSID]\n@=\"{1}\"\n\n");
}

// Ancestors below the root key are created too.
TEST(RegistryFileTest, NamesCompareWithoutCaseAndKeepFirstSpelling) {
  RegistryFile reg;
  reg.SetValue("HKEY_CLASSES_ROOT\\AppID\\NorvVexa1.DLL", "AppID", "a");
  reg.SetValue("hkey_classes_root\\APPID\\norvvexa1.dll", "appid", "b");
  EXPECT_EQ(reg.GetValue("Hkey_Classes_Root\\AppId\\NorvVexa1.Dll", "APPID"), "b");
  EXPECT_EQ(reg.KeyNames(), (std::vector<std::string>{"HKEY_CLASSES_ROOT\\AppID",
                                                      "HKEY_CLASSES_ROOT\\AppID\\NorvVexa1.DLL"}));
  EXPECT_NE(reg.ToText().find("\"AppID\"=\"b\""), std::string::npos);

  reg.Parse("[K\\A]\n\"ThreadingModel\"=dword:00000001\n");  // a string replaces another type
  reg.SetValue("K\\A", "threadingmodel", "Apartment");
  EXPECT_EQ(reg.ToText().find("dword"), std::string::npos);
  EXPECT_EQ(reg.GetValue("K\\A", "ThreadingModel"), "Apartment");
}

TEST(RegistryFileTest, RemoveTreeTakesSubkeysButNotSiblingsSharingAPrefix) {
  RegistryFile reg;
  const char* kept[] = {"R\\A", "R\\A\\BC", "R\\A\\B.x", "R\\A\\C"};
  const char* removed[] = {"R\\A\\B", "R\\A\\b\\x", "R\\A\\B\\x\\y"};
  for (const char* key : kept) reg.EnsureKey(key);
  for (const char* key : removed) reg.EnsureKey(key);

  EXPECT_EQ(reg.RemoveTree("R\\a\\b"), std::size(removed));
  for (const char* key : removed) EXPECT_FALSE(reg.HasKey(key)) << key;
  for (const char* key : kept) EXPECT_TRUE(reg.HasKey(key)) << key;
  EXPECT_EQ(reg.RemoveTree("R\\A\\B"), 0u);
}

// A hand-edited file: other value types, comments, junk and broken lines.
constexpr const char* kHandEdited =
    "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n; note before any key\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\Edited]\r\n@=\"default\"\r\n\"Count\"=dword:00000001\r\n"
    "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n; a comment\r\n"
    "\"Unclosed=\"x\r\n\"Broken\"=\"no end\r\n[\r\n[]\r\n"
    "   \"Spaced\" = \"ok\"   \r\n\"Later\"=\"string\"\"junk\r\n"
    "[HKEY_CLASSES_ROOT\\Second]\n\"Name\"=\"v\"";

// Lines it does not understand are carried through unchanged, and every value
// it writes reads back as it was.
TEST(RegistryFileTest, HandEditedLinesAndEscapedValuesSurviveSaveAndLoad) {
  const std::string values[] = {"C:\\Program Files\\x.dll", "say \"hi\"", "trailing\\",
                                "two\nlines\r", "\\n is not a line feed", "ünïcödé", ""};
  RegistryFile written;
  written.Parse(kHandEdited);
  for (size_t i = 0; i < std::size(values); ++i)
    written.SetValue(kKey, "v" + std::to_string(i), values[i]);
  written.SetValue(kKey, "quoted \"name\\\"", "n");
  ScratchFolder folder;
  const std::string path = folder.File("registry");
  ASSERT_EQ(written.Save(path), S_OK);

  RegistryFile read;
  ASSERT_EQ(read.Load(path), S_OK);
  for (size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(read.GetValue(kKey, "v" + std::to_string(i)), values[i]) << i;
  EXPECT_EQ(read.GetValue(kKey, "quoted \"name\\\""), "n");
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Edited", ""), "default");
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Edited", "Spaced"), "ok");
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Edited", "Count"), std::nullopt);
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Edited", "Broken"), std::nullopt);
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Second", "Name"), "v");

  const std::string text = ReadText(path);
  for (const char* line : {"; note before any key\n", "\"Count\"=dword:00000001\n",
                           "\"Blob\"=hex:01,02,\\\n  03,04\n", "; a comment\n",
                           "\"Broken\"=\"no end\n", "[\n", "[]\n",
                           "\"Later\"=\"string\"\"junk\n",
                           "\"v0\"=\"C:\\\\Program Files\\\\x.dll\"\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(read.ToText(), text);
}

TEST(RegistryFileTest, MissingFileLoadsEmptyAndLoadReplacesContents) {
  ScratchFolder folder;
  RegistryFile reg;
  reg.SetValue(kKey, "", "old");
  EXPECT_EQ(reg.Load(folder.File("absent")), S_FALSE);
  EXPECT_TRUE(reg.KeyNames().empty());
  EXPECT_EQ(reg.Load(folder.File("absent/below")), S_FALSE);

  WriteText(folder.File("present"), "[K\\New]\n@=\"new\"\n");
  reg.SetValue(kKey, "", "old");
  EXPECT_EQ(reg.Load(folder.File("present")), S_OK);
  EXPECT_EQ(reg.KeyNames(), std::vector<std::string>{"K\\New"});
}

TEST(RegistryFileTest, SaveCreatesPrivateFoldersReplacesAndFollowsLinks) {
  ScratchFolder folder;
  const std::string path = folder.File("a/b/registry");
  RegistryFile reg;
  reg.SetValue(kKey, "", "first");
  ASSERT_EQ(reg.Save(path), S_OK);
  reg.SetValue(kKey, "", "second");
  ASSERT_EQ(reg.Save(path), S_OK);

  for (const char* created : {"a", "a/b"}) {
    struct stat st {};
    ASSERT_EQ(::stat(folder.File(created).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << created;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("a/b")), fs::directory_iterator()),
            1);
  RegistryFile read;
  ASSERT_EQ(read.Load(path), S_OK);
  EXPECT_EQ(read.GetValue(kKey, ""), "second");

  const std::string link = folder.File("link");  // saving through a link updates the target
  fs::create_symlink(path, link);
  reg.SetValue(kKey, "", "via link");
  ASSERT_EQ(reg.Save(link), S_OK);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_NE(ReadText(path).find("via link"), std::string::npos);
}

TEST(RegistryFileTest, SaveFailsWhenTheFolderCannotExistOrIsReadOnly) {
  ScratchFolder folder;
  WriteText(folder.File("plain"), "not a folder");
  RegistryFile reg;
  reg.SetValue(kKey, "", "x");
  EXPECT_TRUE(FAILED(reg.Save(folder.File("plain/registry"))));
  EXPECT_TRUE(FAILED(reg.Save(folder.File("plain/sub/registry"))));
  EXPECT_TRUE(FAILED(reg.Save(folder.Path())));  // a folder in the way of the file
  if (::geteuid() != 0) {  // permissions do not bind root
    fs::create_directory(folder.File("locked"));
    fs::permissions(folder.File("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(reg.Save(folder.File("locked/registry")), E_ACCESSDENIED);
    fs::permissions(folder.File("locked"), fs::perms::owner_all);
  }
}

TEST(RegistryFilePathTest, FollowsTheEnvironment) {
  struct Case {
    const char* registry;
    const char* xdgConfig;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/x/reg.txt", "/cfg", "/home/u", "/x/reg.txt"},
      {"", "/cfg", "/home/u", "/cfg/NorvVexa1/registry"},
      {nullptr, nullptr, "/home/u/", "/home/u/.config/NorvVexa1/registry"},
      {nullptr, "relative/cfg", "/home/u", "/home/u/.config/NorvVexa1/registry"},
  };
  for (const Case& c : cases) {
    ScopedEnv registry("NORVVEXA_REGISTRY", c.registry);
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdgConfig);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(RegistryFilePath(), c.expected) << c.expected;
  }
}

}  // namespace
}  // namespace nv
