// The registry file: a user's hand edits survive a load and save, removal
// stays within the key, and saving makes private folders and follows links.
// Its layout and the registration round trip are in registration_test.cpp.
#include "frame/registration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::ReadText;
using nv_test::ScopedEnv;
using nv_test::ScratchFolder;

constexpr const char* kKey = "HKEY_CLASSES_ROOT\\CLSID\\{29D4A9F9-65CE-4B2D-B884-5F59CA827BF7}";

// A hand-edited file: other value types, comments, junk and broken lines.
constexpr const char* kHandEdited =
    "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n; note before any key\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\Edited]\r\n@=\"default\"\r\n\"Count\"=dword:00000001\r\n"
    "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n; a comment\r\n"
    "\"Unclosed=\"x\r\n\"Broken\"=\"no end\r\n[\r\n[]\r\n"
    "   \"Spaced\" = \"ok\"   \r\n\"Later\"=\"string\"\"junk\r\n"
    "[HKEY_CLASSES_ROOT\\Second]\n\"Name\"=\"v\"";

// Lines it does not understand are carried through unchanged, every value
// it writes reads back as it was, and names match without regard to case.
TEST(RegistryFileTest, HandEditedLinesAndEscapedValuesSurviveSaveAndLoad) {
  const std::string values[] = {"C:\\Program Files\\x.dll", "say \"hi\"", "trailing\\",
                                "two\nlines\r", "\\n is not a line feed", "ünïcödé", ""};
  RegistryFile written;
  written.Parse(kHandEdited);
  for (size_t i = 0; i < std::size(values); ++i)
    written.SetValue(kKey, "v" + std::to_string(i), values[i]);
  written.SetValue(kKey, "quoted \"name\\\"", "n");
  written.SetValue("hkey_classes_root\\EDITED", "count", "now a string");
  ScratchFolder folder;
  const std::string path = folder.File("registry");
  ASSERT_EQ(written.Save(path), S_OK);

  RegistryFile read;
  ASSERT_EQ(read.Load(path), S_OK);
  for (size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(read.GetValue(kKey, "v" + std::to_string(i)), values[i]) << i;
  EXPECT_EQ(read.GetValue(kKey, "quoted \"name\\\""), "n");
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Edited", "Spaced"), "ok");
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Edited", "Count"), "now a string");
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Edited", "Broken"), std::nullopt);
  EXPECT_EQ(read.GetValue("HKEY_CLASSES_ROOT\\Second", "Name"), "v");

  const std::string text = ReadText(path);
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  for (const char* line : {"; note before any key\n", "\"Blob\"=hex:01,02,\\\n  03,04\n",
                           "\"Broken\"=\"no end\n", "[\n", "[]\n", "\"Later\"=\"string\"\"junk\n",
                           "\"v0\"=\"C:\\\\Program Files\\\\x.dll\"\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(text.find("dword"), std::string::npos);
  EXPECT_EQ(read.ToText(), text);

  // Removing a tree takes its subkeys but not siblings sharing a prefix.
  RegistryFile reg;
  const char* kept[] = {"R\\A", "R\\A\\BC", "R\\A\\B.x"};
  const char* removed[] = {"R\\A\\B", "R\\A\\b\\x", "R\\A\\B\\x\\y"};
  for (const char* key : kept) reg.EnsureKey(key);
  for (const char* key : removed) reg.EnsureKey(key);

  EXPECT_EQ(reg.RemoveTree("R\\a\\b"), std::size(removed));
  for (const char* key : removed) EXPECT_FALSE(reg.HasKey(key)) << key;
  for (const char* key : kept) EXPECT_TRUE(reg.HasKey(key)) << key;
}

TEST(RegistryFileTest, SaveGoesWhereTheEnvironmentSaysMakesPrivateFoldersAndFollowsLinks) {
  ScratchFolder folder;
  const std::string path = folder.File("a/b/registry");
  RegistryFile reg;
  reg.SetValue(kKey, "", "first");
  ASSERT_EQ(reg.Save(path), S_OK);
  for (const char* created : {"a", "a/b"}) {
    struct stat st {};
    ASSERT_EQ(::stat(folder.File(created).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << created;
  }
  const std::string link = folder.File("link");  // saving through a link replaces the target
  fs::create_symlink(path, link);
  reg.SetValue(kKey, "", "via link");
  ASSERT_EQ(reg.Save(link), S_OK);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("a/b")), fs::directory_iterator()),
            1);
  RegistryFile read;
  ASSERT_EQ(read.Load(path), S_OK);
  EXPECT_EQ(read.GetValue(kKey, ""), "via link");
  const struct {
    const char *registry, *xdgConfig, *expected;
  } rows[] = {
      {"/x/reg.txt", "/cfg", "/x/reg.txt"}, {"", "/cfg", "/cfg/NorvVexa1/registry"},
      {nullptr, "relative/cfg", "/home/u/.config/NorvVexa1/registry"},
  };
  for (const auto& row : rows) {
    ScopedEnv registry("NORVVEXA_REGISTRY", row.registry);
    ScopedEnv xdg("XDG_CONFIG_HOME", row.xdgConfig);
    ScopedEnv home("HOME", "/home/u/");
    EXPECT_EQ(RegistryFilePath(), row.expected);
  }
}

}  // namespace
}  // namespace nv
