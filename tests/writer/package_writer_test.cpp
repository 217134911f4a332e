// The package writer: layout and bytes of an empty package, the states and
// their messages, and that no temporary folder or partial archive survives.
#include "writer/writer_test_support.h"
#include "writer/writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

namespace nv::writer_test {
namespace {

namespace fs = std::filesystem;

// The output of a shell command.
std::string Shell(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  char buffer[512];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) out += buffer;
  return out;
}

// The archive passes "unzip -t" and holds exactly the layout's entries.
void ExpectCompletePackage(const std::string& archive) {
  EXPECT_EQ(Shell("unzip -tq '" + archive + "' >/dev/null 2>&1; echo $?"), "0\n");
  EXPECT_EQ(Shell("unzip -Z1 '" + archive + "' | sort"), "VEXA_Data.xml\nVEXA_Schema.xsd\n");
}

std::set<std::string> FolderContent(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// A scratch folder with TEMP pointing at its "temp" subfolder.
class PackageWriterTest : public ::testing::Test {
 protected:
  PackageWriterTest() : temp_(scratch_.File("temp")), env_("TEMP", temp_.c_str()) {
    fs::create_directory(temp_);
  }
  ~PackageWriterTest() override { EXPECT_TRUE(FolderContent(temp_).empty()); }

  ComPtr<INvVexaWriter> EmbeddedWriter() {
    ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
    writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
    return writer;
  }

  nv_test::ScratchFolder scratch_;
  std::string temp_;
  nv_test::ScopedEnv env_;
};

TEST_F(PackageWriterTest, EmptyEmbeddedPackageHoldsSchemaAndInstanceDocument) {
  const std::string archive = scratch_.File("pkg.vexa");
  ComPtr<INvVexaWriter> writer = EmbeddedWriter();
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive));
  const std::string uri = writer.Schema().SchemaURI().Utf8();
  EXPECT_FALSE(fs::exists(archive));  // only complete packages appear
  writer.CloseVexaArchiveFile();

  ExpectCompletePackage(archive);
  EXPECT_EQ(FolderContent(scratch_.Path()), (std::set<std::string>{"pkg.vexa", "temp"}));

  ASSERT_EQ(uri.rfind("urn:uuid:", 0), 0u);
  EXPECT_EQ(uri.size(), 9u + 36u);
  EXPECT_EQ(uri.find_first_of("abcdef{}", 9), std::string::npos);
  const std::string expected = ModuleGeneratedByComment() + "<SOAP_ENV:Envelope" +
                               kEnvelopeDeclarations + " xmlns:tns=\"" + uri +
                               "\" xsi:schemaLocation=\"" + uri + " VEXA_Schema.xsd\">\r\n" +
                               kBodyStart + kFrameEnd;
  EXPECT_EQ(Shell("unzip -p '" + archive + "' VEXA_Data.xml"), expected);
}

// A package with Info items, objects of a class chain with behaviours, and a
// save that fails: every document in it is well-formed XML, the behaviour
// schema documents follow the schema document, and the failed save wrote
// nothing.
TEST_F(PackageWriterTest, PackageWithObjectsIsWellFormedAndHoldsBehaviorDocuments) {
  const std::string archive = scratch_.File("full.vexa");
  ComPtr<INvVexaWriter> writer = EmbeddedWriter();
  writer.Schema().Copy(ChainSchema());
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive));
  ComPtr<INvVexaDataWriter> data = writer.DataWriter();
  SetItem(data.Info(), u"author", u"urn:info", dtString, Variant(u"a<b"), muYes);
  data.Info().Save();
  ComPtr<INvVexaObjectWriter> objects = data.ObjectWriter();
  ComPtr<INvVexaObject> leaf = objects.NewObject(u"Leaf", u"L1");
  ComPtr<INvVexaAttributesValues> values = leaf.Values();
  ComPtr<INvVexaXmlAttributeValue> xml = values.CreateXmlAttributeValue();
  xml.PutXML(u"<p:part n=\"1\">x</p:part>");
  xml.Namespaces().Add(u"urn:parts", u"p");
  values.PutItem(u"doc", XmlVariant(xml));
  values.PutItem(u"ref", Variant(u"M1"));
  values.PutItem(u"note", Variant::Null());
  leaf.GetBehaviorValues(kStampedUri).PutItem(u"at", Variant(u"2026-12-05T10:30:00"));
  leaf.Save();
  ComPtr<INvVexaObject> middle = objects.NewObject(u"Middle", u"M1");
  EXPECT_NE(FailureOf([&] { middle.Values().PutItem(u"name", Variant(u"too long")); }),
            std::string(nv_test::kNoFailure));
  EXPECT_NE(FailureOf([&] { objects.NewObject(u"Base", u"B1").Save(); }),
            std::string(nv_test::kNoFailure));
  middle.Save();
  writer.CloseVexaArchiveFile();

  EXPECT_EQ(Shell("unzip -tq '" + archive + "' >/dev/null 2>&1; echo $?"), "0\n");
  EXPECT_EQ(Shell("unzip -Z1 '" + archive + "'"),
            "VEXA_Schema.xsd\nVEXA_CB_NS1.xsd\nVEXA_CB_NS2.xsd\nVEXA_Data.xml\n");
  const std::string folder = scratch_.File("out");
  Shell("unzip -q '" + archive + "' -d '" + folder + "'");
  for (const char* entry : {"VEXA_Schema.xsd", "VEXA_CB_NS1.xsd", "VEXA_CB_NS2.xsd",
                            "VEXA_Data.xml"}) {
    EXPECT_EQ(Shell("xmllint --noout '" + folder + "/" + entry + "' 2>&1; echo $?"), "0\n")
        << entry;
  }
  const std::string document = nv_test::ReadText(folder + "/VEXA_Data.xml");
  EXPECT_NE(document.find("id=\"L1\""), std::string::npos);
  EXPECT_NE(document.find("id=\"M1\""), std::string::npos);
  EXPECT_EQ(document.find("id=\"B1\""), std::string::npos);
}

TEST_F(PackageWriterTest, WriterDestroyedWhileOpenLeavesCompletePackage) {
  const std::string archive = scratch_.File("forgotten.vexa");
  EmbeddedWriter().CreateVexaArchiveFileEx(Bstr::FromUtf8(archive), afclHigh);
  ExpectCompletePackage(archive);
}

TEST_F(PackageWriterTest, SetSchemaModeRefusals) {
  struct Case {
    SchemaModeEnum mode;
    const char16_t* uri;
    const char16_t* location;
    bool load;
    std::string message;
  };
  const Case cases[] = {
      {mtEmbedded, u"urn:x", u"", false,
       "CNvVexaWriter.SetSchemaMode: SchemaURI cannot be assigned while schema mode is embedded"},
      {mtEmbedded, u"", u"x.xsd", false,
       "CNvVexaWriter.SetSchemaMode: SchemaLocation cannot be assigned while schema mode is "
       "embedded"},
      {mtEmbedded, u"", u"", true,
       "CNvVexaWriter.SetSchemaMode: \"Load\" parameter cannot be true if Schema mode is "
       "embedded"},
      {mtExternal, u"", u"x.xsd", false, "CNvVexaWriter.SetSchemaMode: SchemaURI is missing"},
      {mtExternal, u"urn:x", u"", false,
       "CNvVexaWriter.SetSchemaMode: SchemaLocation is missing"},
  };
  for (const Case& c : cases) {
    ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
    EXPECT_EQ(FailureOf([&] {
                writer.SetSchemaMode(c.mode, Bstr(c.uri), Bstr(c.location), c.load);
              }),
              c.message);
  }
}

TEST_F(PackageWriterTest, ExternalLocationIsAbsoluteForLocalNamesOnly) {
  ComPtr<INvVexaWriter> local = CreateObject<NvVexaWriter>();
  local.SetSchemaMode(mtExternal, Bstr(u"urn:a"), Bstr(u"dir/a.xsd"), false);
  EXPECT_EQ(local.Schema().SchemaLocation().Utf8(),
            (fs::current_path() / "dir/a.xsd").string());
  ComPtr<INvVexaWriter> url = CreateObject<NvVexaWriter>();
  url.SetSchemaMode(mtExternal, Bstr(u"urn:b"), Bstr(u"http://example.org/b.xsd"), false);
  EXPECT_EQ(url.Schema().SchemaLocation().Utf8(), std::string("http://example.org/b.xsd"));
}

TEST_F(PackageWriterTest, StateRulesAndMessages) {
  const Bstr name = scratch_.Name("pkg.vexa");
  ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  // The schema is made once, with the writer's initialization data (which
  // carries the proxy for behaviour downloads).
  EXPECT_EQ(writer.Schema(), writer.Schema());
  EXPECT_EQ(writer.Schema().as<INvVexaSchemaCRaw>().GetInitializationData(),
            writer.InitializationData());
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(Bstr(u"pkg.vexa")); }),
            "Cannot create Vexa file: pkg.vexa. File path doesn't exist.");
  EXPECT_EQ(FailureOf([&] { writer.CloseVexaArchiveFile(); }),
            "Cannot close VexaFile without open first");
  // Mode none is accepted but does not count as set; the writer is then
  // "opening failed" until closed.
  writer.SetSchemaMode(mtNone, Bstr(u"urn:a"), Bstr(u"http://example.org/a.xsd"), false);
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(name); }), "Schema mode was not set");
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(name); }), "Vexa is already Open");
  EXPECT_EQ(FailureOf([&] { writer.DataWriter(); }),
            "Invalid call for Writer.Data: You have to call \"CreateVexaArchiveFile\" prior to "
            "the data initialization");
  writer.CloseVexaArchiveFile();
  EXPECT_FALSE(fs::exists(scratch_.File("pkg.vexa")));

  writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  writer.CreateVexaArchiveFile(name);
  EXPECT_TRUE(writer.DataWriter());
  EXPECT_TRUE(writer.as<INvVexaWriterCRaw>().Zipper());
  writer.CloseVexaArchiveFile();
  // The mode survives a close, the schema does not.
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(scratch_.Name("b.vexa")); }),
            "a schema is missing");
  writer.CloseVexaArchiveFile();

  const std::string before = nv_test::ReadText(scratch_.File("pkg.vexa"));
  writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(name); }),
            "File " + scratch_.File("pkg.vexa") + " already exist.");
  writer.CloseVexaArchiveFile();
  EXPECT_EQ(nv_test::ReadText(scratch_.File("pkg.vexa")), before);

  writer.as<INvVexaWriterCRaw>().Save(Bstr(u"anything"));
  EXPECT_FALSE(writer.as<INvVexaWriterCRaw>().Zipper());
  EXPECT_FALSE(writer.as<INvVexaWriterCRaw>().Namespaces());
}

TEST_F(PackageWriterTest, FailedCreateLeavesNoTemporaryFolderOrArchive) {
  const std::string missing = scratch_.File("no-such-temp");
  nv_test::ScopedEnv badTemp("TEMP", missing.c_str());
  ComPtr<INvVexaWriter> writer = EmbeddedWriter();
  EXPECT_NE(FailureOf([&] { writer.CreateVexaArchiveFile(scratch_.Name("pkg.vexa")); }),
            std::string(nv_test::kNoFailure));
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(scratch_.Name("pkg.vexa")); }),
            "Vexa is already Open");
  writer.CloseVexaArchiveFile();
  EXPECT_EQ(FolderContent(scratch_.Path()), std::set<std::string>{"temp"});
}

TEST_F(PackageWriterTest, FailedCloseStillRemovesTemporaryFolder) {
  const std::string folder = scratch_.File("gone");
  fs::create_directory(folder);
  ComPtr<INvVexaWriter> writer = EmbeddedWriter();
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(folder + "/pkg.vexa"));
  fs::remove_all(folder);
  EXPECT_NE(FailureOf([&] { writer.CloseVexaArchiveFile(); }), std::string(nv_test::kNoFailure));
  EXPECT_EQ(FailureOf([&] { writer.CloseVexaArchiveFile(); }),
            "Cannot close VexaFile without open first");
  EXPECT_EQ(FolderContent(scratch_.Path()), std::set<std::string>{"temp"});
}

}  // namespace
}  // namespace nv::writer_test
