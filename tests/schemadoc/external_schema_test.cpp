// The external schema writer and reader as a client uses them: created with
// CoCreateInstance; the writer's schema saved as a standalone document that an
// XML parser accepts, the reader loading it from a file, a URI or a URL.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/http_test_server.h"
#include "support/created.h"
#include "support/error_info_probe.h"
#include "schema_document_test_support.h"
#include "support/readback.h"

namespace nv::test {
namespace {

using nv_test::ReadText;
using nv_test::ScratchFolder;

ComPtr<INvVexaExternalSchemaWriter> NewExternalWriter() {
  return nv_test::Created<INvVexaExternalSchemaWriter>(CLSID_NvVexaExternalSchemaWriter);
}

// A writer without URI targets the document name. A save replaces its file (a
// link too, leaving the link's target alone) only when the whole document is
// written: a failed one keeps the earlier file and reports the innermost
// message to the client.
TEST(ExternalSchemaWriter, ASaveReplacesItsFileOnlyWhenComplete) {
  ScratchFolder folder;
  nv_test::WriteText(folder.File("target.xsd"), "untouched");
  std::filesystem::create_symlink("target.xsd", folder.File("link.xsd"));
  const auto writer = NewExternalWriter();
  const auto part = writer.Schema().Classes().Add(u"Part");
  const Bstr name = folder.Name("link.xsd");
  writer.Save(u"file://" + name);
  const std::string saved = ReadText(folder.File("link.xsd"));
  EXPECT_EQ(saved, ExpectedDocument({.target = "VEXA_Schema.xsd", .body = RootClass("Part", "")}));
  EXPECT_EQ(nv_test::XmllintErrors(folder.File("link.xsd")), "");
  part.CurrentClassAttributes().Add(u"untyped");
  EXPECT_EQ(writer->Save(name.Raw()), DISP_E_EXCEPTION);
  const ErrorProbe error = TakeErrorInfo();
  EXPECT_EQ(error.description, "missing Value type for attribute \"untyped\"");
  EXPECT_EQ(error.source, "NorvVexa1.NvVexaExternalSchemaWriter.1.0");
  EXPECT_EQ(ReadText(folder.File("link.xsd")), saved);
  EXPECT_FALSE(std::filesystem::is_symlink(folder.File("link.xsd")));
  EXPECT_EQ(ReadText(folder.File("target.xsd")), "untouched");
  // No temporary file is left.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

// A document with a behaviour beside it, loaded from a file, a "file:" URI,
// a URL and a URL reached only through the proxy: the relative import is
// fetched from beside the document each time, and each load gives a new schema.
TEST(ExternalSchemaReader, LoadsFromFilesUrisAndUrlsThroughAProxy) {
  ScratchFolder folder;
  const auto writer = NewExternalWriter();
  writer.PutSchemaURI(u"urn:parts");
  const auto tagged = writer.Schema().ClassesBehaviors().Add(mtEmbedded, u"urn:cb#tagged", u"", false);
  AddAttribute(tagged.Attributes(), u"tag", dtString);
  writer.Schema().Classes().Add(u"Part").CurrentClassBehaviors().Add(tagged, muYes);
  writer.Save(folder.Name("parts.xsd"));
  nv_test::HttpTestServer server;
  const std::string far = "http://nv-schema-test.invalid/s/";
  for (const std::string& base : {server.Url("/s/"), far})
    for (const char* name : {"parts.xsd", "VEXA_CB_NS1.xsd"})
      server.Answer(base.starts_with("http://127") ? "/s/" + std::string(name) : base + name,
                    nv_test::HttpResponse(200, "OK", ReadText(folder.File(name))));

  const auto reader =
      nv_test::Created<INvVexaExternalSchemaReader>(CLSID_NvVexaExternalSchemaReader);
  std::vector<ComPtr<INvVexaSchema>> loaded;
  for (const Bstr& location : {folder.Name("parts.xsd"), Bstr(u"file://" + folder.Name("parts.xsd")),
                               Bstr::FromUtf8(server.Url("/s/parts.xsd")),
                               Bstr::FromUtf8(far + "parts.xsd")}) {
    if (location.View().find(u".invalid") != std::u16string_view::npos)
      reader.InitializationData().SetProxy(Bstr::FromUtf8(server.Address()));
    const auto schema = reader.Load(location);
    EXPECT_EQ(schema.SchemaLocation(), location);
    EXPECT_EQ(schema.SchemaURI(), Bstr(u"urn:parts"));  // the rest is the reader's round trip
    EXPECT_EQ(schema.ClassesBehaviors().Item(0).Attributes().Item(0).Name(), Bstr(u"tag"));
    loaded.push_back(schema);
  }
  EXPECT_FALSE(SameObject(loaded[0], loaded[1]));
  EXPECT_EQ(server.Requests().size(), 4u);
  EXPECT_EQ(server.Requests().back().rfind("GET " + far + "VEXA_CB_NS1.xsd HTTP/1.1\r\n", 0), 0u);
  ComPtr<INvVexaSchema> none;
  EXPECT_EQ(reader->Load(folder.Name("missing.xsd").Raw(), none.put()), DISP_E_EXCEPTION);
  EXPECT_EQ(TakeErrorInfo().description, "File \"" + folder.File("missing.xsd") + "\" does not exist");
  EXPECT_FALSE(none);
}

}  // namespace
}  // namespace nv::test
