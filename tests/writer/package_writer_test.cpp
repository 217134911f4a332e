// The package writer: an empty package, states and messages, refused destinations, and that
// a failed write or a lost race publishes nothing and leaves no temporary file.
#include "writer/writer_test_support.h"

#include "schemadoc/schema_writer.h"
#include "support/file_size_limit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

namespace nv::writer_test {
namespace {

namespace fs = std::filesystem;

using nv_test::Shell;

// The archive passes "unzip -t" and holds exactly the layout's entries.
void ExpectCompletePackage(const std::string& archive) {
  EXPECT_EQ(Shell("unzip -tq '" + archive + "' >/dev/null 2>&1; echo $?"), "0\n");
  EXPECT_EQ(Shell("unzip -Z1 '" + archive + "' | sort"), "VEXA_Data.xml\nVEXA_Schema.xsd\n");
}

// The messages of the calls, in order, each followed by "|".
std::string Failures(std::initializer_list<std::function<void()>> calls) {
  std::string messages;
  for (const auto& call : calls) messages += FailureOf(call) + "|";
  return messages;
}

// A scratch folder whose TEMP must be empty at the end.
class PackageWriterTest : public ::testing::Test {
 protected:
  ~PackageWriterTest() override { EXPECT_EQ(scratch_.TempLeft(), ""); }

  ComPtr<INvVexaWriter> EmbeddedWriter() {
    ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
    writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
    return writer;
  }

  // A package of the chain schema, stored uncompressed, with `objects`
  // objects that each carry 20,000 bytes of text.
  void WriteStoredPackage(const ComPtr<INvVexaWriter>& writer, const std::string& archive,
                          int objects) {
    writer.Schema().Copy(ChainSchema());
    writer.CreateVexaArchiveFileEx(Bstr::FromUtf8(archive), afclNone);
    const ComPtr<INvVexaObjectWriter> made = writer.DataWriter().ObjectWriter();
    for (int k = 0; k < objects; ++k) {
      const ComPtr<INvVexaObject> object =
          made.NewObject(u"Middle", Bstr::FromUtf8("M" + std::to_string(k)));
      object.Values().PutItem(u"note", Variant(Bstr(std::u16string(20000, u'n'))));
      object.Save();
    }
  }

  nv_test::ScratchWithTemp scratch_;
};

// An empty package holds its schema and instance document; of two writers of
// one name, only the first to close publishes.
TEST_F(PackageWriterTest, EmptyEmbeddedPackageAndTheFirstOfTwoWritersToClose) {
  const std::string archive = scratch_.File("pkg.vexa");
  ComPtr<INvVexaWriter> writer = EmbeddedWriter(), second = EmbeddedWriter();
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive));
  second.CreateVexaArchiveFile(Bstr::FromUtf8(archive));
  const std::string uri = writer.Schema().SchemaURI().Utf8();
  EXPECT_FALSE(fs::exists(archive));  // only complete packages appear
  writer.CloseVexaArchiveFile();
  EXPECT_EQ(FailureOf([&] { second.CloseVexaArchiveFile(); }),
            "File " + archive + " already exist.");

  ExpectCompletePackage(archive);
  EXPECT_EQ(nv_test::FolderNames(scratch_.Path()), (std::set<std::string>{"pkg.vexa", "temp"}));
  ASSERT_EQ(uri.rfind("urn:uuid:", 0), 0u);
  EXPECT_EQ(uri.size(), 9u + 36u);
  EXPECT_EQ(uri.find_first_of("abcdef{}", 9), std::string::npos);
  const std::string expected = ModuleGeneratedByComment() + "<SOAP_ENV:Envelope" +
                               kEnvelopeDeclarations + " xmlns:tns=\"" + uri +
                               "\" xsi:schemaLocation=\"" + uri + " VEXA_Schema.xsd\">\r\n" +
                               kBodyStart + kFrameEnd;
  EXPECT_EQ(Shell("unzip -p '" + archive + "' VEXA_Data.xml"), expected);
}

TEST_F(PackageWriterTest, SetSchemaModeRefusals) {
  const struct {
    SchemaModeEnum mode;
    const char16_t *uri, *location;
    bool load;
    std::string message;  // after "CNvVexaWriter.SetSchemaMode: "
  } cases[] = {
      {mtEmbedded, u"urn:x", u"", false, "SchemaURI cannot be assigned while schema mode is embedded"},
      {mtEmbedded, u"", u"x.xsd", false,
       "SchemaLocation cannot be assigned while schema mode is embedded"},
      {mtEmbedded, u"", u"", true, "\"Load\" parameter cannot be true if Schema mode is embedded"},
      {mtExternal, u"", u"x.xsd", false, "SchemaURI is missing"},
      {mtExternal, u"urn:x", u"", false, "SchemaLocation is missing"},
  };
  ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  for (const auto& c : cases)
    EXPECT_EQ(FailureOf([&] { writer.SetSchemaMode(c.mode, c.uri, c.location, c.load); }),
              "CNvVexaWriter.SetSchemaMode: " + c.message);
  // A local location is made absolute; a URL stays as given (see the envelope tests).
  writer.SetSchemaMode(mtExternal, Bstr(u"urn:a"), Bstr(u"dir/a.xsd"), false);
  EXPECT_EQ(writer.Schema().SchemaLocation().Utf8(), (fs::current_path() / "dir/a.xsd").string());
}

TEST_F(PackageWriterTest, StateRulesAndMessages) {
  const Bstr name = scratch_.Name("pkg.vexa");
  ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(Bstr(u"pkg.vexa")); }),
            "Cannot create Vexa file: pkg.vexa. File path doesn't exist.");
  EXPECT_EQ(FailureOf([&] { writer.CloseVexaArchiveFile(); }),
            "Cannot close VexaFile without open first");
  // Mode none is accepted but does not count as set; the writer is then
  // "opening failed" until closed (a second create is refused as after any failed one).
  writer.SetSchemaMode(mtNone, Bstr(u"urn:a"), Bstr(u"http://example.org/a.xsd"), false);
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(name); }), "Schema mode was not set");
  EXPECT_EQ(FailureOf([&] { writer.DataWriter(); }),
            "Invalid call for Writer.Data: You have to call \"CreateVexaArchiveFile\" prior to "
            "the data initialization");
  writer.CloseVexaArchiveFile();
  EXPECT_FALSE(fs::exists(scratch_.File("pkg.vexa")));

  writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
  writer.CreateVexaArchiveFile(name);
  writer.CloseVexaArchiveFile();
  // The mode survives a close, the schema does not.
  EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(scratch_.Name("b.vexa")); }),
            "a schema is missing");
  writer.CloseVexaArchiveFile();
}

TEST_F(PackageWriterTest, FailedCreateFailsEveryLaterWriteWithItsMessage) {
  const std::string missing = scratch_.File("no-such-temp");
  nv_test::ScopedEnv badTemp("TEMP", missing.c_str());
  ComPtr<INvVexaWriter> writer = EmbeddedWriter();
  const auto create = [&] { writer.CreateVexaArchiveFile(scratch_.Name("pkg.vexa")); };
  const std::string message = FailureOf(create);
  EXPECT_EQ(message.rfind("Cannot create the following directory: " + missing, 0), 0u);
  EXPECT_EQ(Failures({create, [&] { writer.DataWriter().Info().Save(); },
                      [&] { writer.DataWriter().ObjectWriter(); },
                      [&] { writer.CloseVexaArchiveFile(); }}),
            "Vexa is already Open|" + message + "|" + message + "|" + message + "|");
  EXPECT_EQ(nv_test::FolderNames(scratch_.Path()), std::set<std::string>{"temp"});
}

// A write that fails in the instance document (in Info.Save or in an object's
// Save): every later call fails with the first failure's message, and
// neither the package nor any temporary file is left. (Failures at every
// point of the writing, zipping included, are swept in the fault tests.)
TEST_F(PackageWriterTest, AFailedWriteFailsEverythingAfterAndPublishesNothing) {
  const std::string archive = scratch_.File("limited.vexa");
  const std::string tooLarge = "Cannot write Vexa file " + archive + ": File too large|";
  {
    const nv_test::FileSizeLimit limit(100000);
    ComPtr<INvVexaWriter> writer = EmbeddedWriter();
    writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive));
    const ComPtr<INvVexaDataWriter> data = writer.DataWriter();
    SetItem(data.Info(), u"big", u"urn:i", dtString, Variant(Bstr(std::u16string(200000, u'i'))));
    EXPECT_EQ(Failures({[&] { data.Info().Save(); }, [&] { data.Info().Save(); },
                        [&] { data.ObjectWriter(); }, [&] { writer.CloseVexaArchiveFile(); }}),
              tooLarge + tooLarge + tooLarge + tooLarge);
  }
  {
    const nv_test::FileSizeLimit limit(100000);
    ComPtr<INvVexaWriter> writer = EmbeddedWriter();
    const auto objectWriter = [&] { return writer.DataWriter().ObjectWriter(); };
    EXPECT_EQ(Failures({[&] { WriteStoredPackage(writer, archive, 10); },
                        [&] { objectWriter().NewObject(u"Middle", u"L").Save(); },
                        [&] {  // an object that fails on its own reports the first failure too
                          const auto object = objectWriter().NewObject(u"Middle", u"M");
                          object.Values().PutItem(u"code", Variant(u"not a number"));
                          object.Save();
                        },
                        [&] { writer.CloseVexaArchiveFile(); }}),
              tooLarge + tooLarge + tooLarge + tooLarge);
  }
  EXPECT_EQ(nv_test::FolderNames(scratch_.Path()), std::set<std::string>{"temp"});
}

TEST_F(PackageWriterTest, CreateRefusesWhatCannotBecomeThePackage) {
  nv_test::WriteText(scratch_.File("old.vexa"), "kept");
  fs::create_directories(scratch_.File("folder.vexa"));
  fs::create_directories(scratch_.File("locked"));
  fs::permissions(scratch_.File("locked"), fs::perms::owner_write, fs::perm_options::remove);
  const auto cannot = [&](const std::string& leaf, const std::string& reason) {
    const std::string name = scratch_.File(leaf);
    return std::pair(name, "Cannot create Vexa file: " + name + ". " + reason);
  };
  std::vector<std::pair<std::string, std::string>> refused = {
      {scratch_.File("old.vexa"), "File " + scratch_.File("old.vexa") + " already exist."},
      cannot("folder.vexa", "Is a directory"), cannot(std::string(256, 'n'), "File name too long")};
  // Root may write anywhere.
  if (::geteuid() != 0) refused.push_back(cannot("locked/p.vexa", "Permission denied"));
  for (const auto& [name, message] : refused) {
    ComPtr<INvVexaWriter> writer = EmbeddedWriter();
    EXPECT_EQ(FailureOf([&] { writer.CreateVexaArchiveFile(Bstr::FromUtf8(name)); }), message);
    writer.CloseVexaArchiveFile();
  }
  EXPECT_EQ(nv_test::ReadText(scratch_.File("old.vexa")), "kept");

  // The longest name works (the archive is built under a short name), and a
  // writer released while open finishes its package.
  const std::string longest = scratch_.File(std::string(250, 'n'));
  EmbeddedWriter().CreateVexaArchiveFileEx(Bstr::FromUtf8(longest), afclHigh);
  ExpectCompletePackage(longest);
  EXPECT_EQ(nv_test::FolderNames(scratch_.Path()).size(), 5u);  // nothing else was left
}

// A schema loaded from a standalone document (the loading itself is the
// schema reader's): the package names that document and its URI.
TEST_F(PackageWriterTest, SetSchemaModeLoadsTheSchemaDocument) {
  const Bstr location = scratch_.Name("chain.xsd");
  MakeSchemaWriter(ChainSchema(), false).Save(location);
  const std::string archive = scratch_.File("pkg.vexa");
  ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  writer.SetSchemaMode(mtExternal, u"urn:not-assigned", location, true);
  writer.CreateVexaArchiveFile(Bstr::FromUtf8(archive));
  writer.DataWriter().ObjectWriter().NewObject(u"Leaf", u"L1").Save();
  writer.CloseVexaArchiveFile();
  EXPECT_NE(Shell("unzip -p '" + archive + "' VEXA_Data.xml")
                .find("xsi:schemaLocation=\"urn:test:schema " + location.ToUtf8() + "\""),
            std::string::npos);
}

}  // namespace
}  // namespace nv::writer_test
