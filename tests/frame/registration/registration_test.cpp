#include "frame/registration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame/guid_text.h"
#include "frame/registry_file.h"
#include "support/scratch.h"

namespace nv {
namespace {

using nv_test::ReadText;
using nv_test::ScopedEnv;
using nv_test::ScratchFolder;

constexpr ClassRegistration kClasses[] = {
    {{0x29D4A9F9, 0x65CE, 0x4B2D, {0xB8, 0x84, 0x5F, 0x59, 0xCA, 0x82, 0x7B, 0xF7}},
     "NvVexaWriter Object", "NorvVexa1.NvVexaWriter.1.0", "NorvVexa1.NvVexaWriter"},
    {{0x14F8B098, 0xA3D2, 0x448B, {0xBE, 0x9F, 0x9D, 0x36, 0xFB, 0xD2, 0x41, 0x49}},
     "CNvVexaInitializationData Object", "CNvVexaInitializationData.CNvVexaInit.1.0",
     "CNvVexaInitializationData.CNvVexaInit"},
};

constexpr GUID kLibId = {
    0xF00E4CB6, 0x3E33, 0x4891, {0x9C, 0x81, 0xD2, 0x02, 0x72, 0x46, 0x01, 0x68}};
constexpr const char* kLib = "HKEY_CLASSES_ROOT\\TypeLib\\{F00E4CB6-3E33-4891-9C81-D20272460168}";
constexpr const char* kModulePath = "/opt/nv/lib/libNorvVexa1.so.1";

ModuleRegistration TheModule() {
  return {kClasses,      std::size(kClasses), kLibId,   "1.0", "NorvVexa1 1.0 Type Library",
          kNorvVexa1AppId, "NorvVexa1",       kModulePath};
}

std::string Root(const std::string& key) { return "HKEY_CLASSES_ROOT\\" + key; }

struct Expected {
  std::string key;
  std::string name;
  std::string value;
};

// Every value one class puts in the registry.
std::vector<Expected> ClassEntries(const ClassRegistration& c) {
  const std::string clsid = Root("CLSID\\" + GuidToString(c.clsid));
  const std::string id = GuidToString(c.clsid);
  return {
      {clsid, "", c.description},
      {clsid, "AppID", GuidToString(kNorvVexa1AppId)},
      {clsid + "\\ProgID", "", c.progId},
      {clsid + "\\VersionIndependentProgID", "", c.versionIndependentProgId},
      {clsid + "\\InprocServer32", "", kModulePath},
      {clsid + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {clsid + "\\TypeLib", "", "{F00E4CB6-3E33-4891-9C81-D20272460168}"},
      {Root(c.progId), "", c.description},
      {Root(c.progId) + "\\CLSID", "", id},
      {Root(c.versionIndependentProgId), "", c.description},
      {Root(c.versionIndependentProgId) + "\\CLSID", "", id},
      {Root(c.versionIndependentProgId) + "\\CurVer", "", c.progId},
  };
}

std::vector<Expected> ModuleEntries() {
  const std::string appId = GuidToString(kNorvVexa1AppId);
  const std::string lib = kLib;
  return {
      {Root("AppID\\" + appId), "", "NorvVexa1"},
      {Root("AppID\\NorvVexa1.DLL"), "AppID", appId},
      {lib + "\\1.0", "", "NorvVexa1 1.0 Type Library"},
      {lib + "\\1.0\\0\\win32", "", kModulePath},
      {lib + "\\1.0\\FLAGS", "", "0"},
      {lib + "\\1.0\\HELPDIR", "", "/opt/nv/lib"},
  };
}

class RegistrationTest : public ::testing::Test {
 protected:
  RegistryFile Reload() const {
    RegistryFile reg;
    EXPECT_EQ(reg.Load(path_), S_OK);
    return reg;
  }

  ScratchFolder folder_;
  std::string path_ = folder_.File("config/NorvVexa1/registry");
  ModuleRegistration module_ = TheModule();
};

TEST_F(RegistrationTest, RegisterWritesEveryEntryOnceAndUnregisterKeepsParents) {
  ASSERT_EQ(RegisterModule(module_, path_), S_OK);
  const RegistryFile reg = Reload();
  std::vector<Expected> expected = ModuleEntries();
  for (const ClassRegistration& c : kClasses)
    for (Expected& e : ClassEntries(c)) expected.push_back(std::move(e));
  for (const Expected& e : expected)
    EXPECT_EQ(reg.GetValue(e.key, e.name), e.value) << e.key << " : " << e.name;

  const std::string once = ReadText(path_);
  ASSERT_EQ(RegisterModule(module_, path_), S_OK);
  EXPECT_EQ(ReadText(path_), once);

  // With no other version left the type library key goes, its parents stay.
  ASSERT_EQ(UnregisterModule(module_, path_), S_OK);
  const RegistryFile after = Reload();
  EXPECT_FALSE(after.HasKey(kLib));
  EXPECT_TRUE(after.HasKey(Root("TypeLib")));
  EXPECT_TRUE(after.HasKey(Root("AppID")));
}

TEST_F(RegistrationTest, UnregisterRemovesOurKeysAndKeepsParentsAndOthers) {
  RegistryFile other;
  other.SetValue(Root("CLSID\\{00000000-0000-0000-0000-000000000001}"), "", "Someone else");
  other.SetValue(Root("AppID\\Other.DLL"), "AppID", "{other}");
  other.SetValue(std::string(kLib) + "\\2.0", "", "A later version");
  ASSERT_EQ(other.Save(path_), S_OK);
  ASSERT_EQ(RegisterModule(module_, path_), S_OK);
  ASSERT_EQ(UnregisterModule(module_, path_), S_OK);

  const RegistryFile reg = Reload();
  for (const ClassRegistration& c : kClasses)
    for (const Expected& e : ClassEntries(c)) EXPECT_FALSE(reg.HasKey(e.key)) << e.key;
  EXPECT_FALSE(reg.HasKey(Root("AppID\\" + GuidToString(kNorvVexa1AppId))));
  EXPECT_FALSE(reg.HasKey(Root("AppID\\NorvVexa1.DLL")));
  EXPECT_FALSE(reg.HasKey(std::string(kLib) + "\\1.0"));

  EXPECT_TRUE(reg.HasKey(Root("AppID")));
  EXPECT_TRUE(reg.HasKey(Root("CLSID")));
  EXPECT_TRUE(reg.HasKey(Root("CLSID\\{00000000-0000-0000-0000-000000000001}")));
  EXPECT_EQ(reg.GetValue(Root("AppID\\Other.DLL"), "AppID"), "{other}");
  EXPECT_EQ(reg.GetValue(std::string(kLib) + "\\2.0", ""), "A later version");
}

TEST_F(RegistrationTest, FailuresGiveACodeAndCreateNothing) {
  EXPECT_EQ(UnregisterModule(module_, path_), S_OK);  // nothing to remove: no file made
  ModuleRegistration noPath = module_;
  noPath.modulePath.clear();
  ModuleRegistration noClasses = module_;
  noClasses.classes = nullptr;
  for (const ModuleRegistration& m : {noPath, noClasses}) {
    EXPECT_EQ(RegisterModule(m, path_), E_INVALIDARG);
    EXPECT_EQ(UnregisterModule(m, path_), E_INVALIDARG);
  }
  EXPECT_FALSE(std::filesystem::exists(path_));

  std::ofstream(folder_.File("file")) << "in the way";
  EXPECT_TRUE(FAILED(RegisterModule(module_, folder_.File("file/registry"))));
  std::filesystem::create_directory(folder_.File("dir"));
  EXPECT_TRUE(FAILED(RegisterModule(module_, folder_.File("dir"))));
  EXPECT_TRUE(FAILED(UnregisterModule(module_, folder_.File("dir"))));
}

TEST_F(RegistrationTest, DefaultLocationComesFromTheEnvironment) {
  ScopedEnv env("NORVVEXA_REGISTRY", path_.c_str());
  ASSERT_EQ(RegisterModule(module_), S_OK);
  EXPECT_TRUE(Reload().HasKey(Root("NorvVexa1.NvVexaWriter")));
  ASSERT_EQ(UnregisterModule(module_), S_OK);
  EXPECT_FALSE(Reload().HasKey(Root("NorvVexa1.NvVexaWriter")));
}

}  // namespace
}  // namespace nv
