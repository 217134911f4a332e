#include "platform/http.h"

#include "platform/mime_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "http_test_server.h"
#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::FailureOf;
using nv_test::HttpResponse;
using nv_test::ReadText;
using nv_test::RedirectResponse;

Bstr Wide(const std::string& text) { return Bstr::FromUtf8(text); }

class HttpUtilsTest : public ::testing::Test {
 protected:
  // Short limits keep failing transfers quick.
  HttpUtilsTest() { limits_.connectTimeoutSeconds = limits_.lowSpeedSeconds = 5; }
  void Download(const std::string& url) {
    HttpUtils(limits_).Download(Wide(url), Wide(destination_), u"NvTestAgent/1.0", u"");
  }
  // The download fails with `message` and saves nothing.
  void ExpectFailure(const std::string& url, const std::string& message) {
    EXPECT_EQ(FailureOf([&] { Download(url); }), message) << url;
    EXPECT_FALSE(fs::exists(destination_)) << url;
  }

  nv_test::HttpTestServer server_;
  nv_test::ScratchFolder scratch_;
  std::string destination_ = scratch_.File("download.bin");
  HttpLimits limits_;
};

TEST_F(HttpUtilsTest, SavesTheBodySendsTheUserAgentAndFollowsRedirects) {
  nv_test::WriteText(destination_, "an older, longer file that must be replaced");
  server_.Answer("/doc.xsd", HttpResponse(200, "OK", "<schema/>"));
  Download(server_.Url("/doc.xsd"));
  EXPECT_EQ(ReadText(destination_), "<schema/>");
  ASSERT_EQ(server_.Requests().size(), 1u);
  const std::string request = server_.Requests()[0];
  EXPECT_EQ(request.rfind("GET /doc.xsd HTTP/1.1\r\n", 0), 0u) << request;
  EXPECT_NE(request.find("User-Agent: NvTestAgent/1.0\r\n"), std::string::npos);

  server_.Answer("/empty", HttpResponse(200, "OK", ""));
  Download(server_.Url("/empty"));
  EXPECT_EQ(fs::file_size(destination_), 0u);
  // Redirects are followed up to the limit.
  server_.Answer("/old", RedirectResponse("/new"));
  server_.Answer("/new", HttpResponse(200, "OK", "moved here"));
  Download(server_.Url("/old"));
  EXPECT_EQ(ReadText(destination_), "moved here");
  EXPECT_EQ(server_.Requests().size(), 2u + 2);

  fs::remove(destination_);
  server_.Answer("/loop", RedirectResponse("/loop"));
  ExpectFailure(server_.Url("/loop"), "Error Number 12156 => (Redirect Failed)");
  EXPECT_EQ(server_.Requests().size(), 4u + 11);  // the request and 10 redirects
}

TEST_F(HttpUtilsTest, FailuresRefusedSchemesAndOversizedBodiesSaveNothing) {
  server_.Answer("/missing", HttpResponse(404, "Not Found", "<html>error page</html>"));
  ExpectFailure(server_.Url("/missing"), "The requested URL returned error: 404");
  {
    const nv_test::LoopbackSocket closed;
    ExpectFailure("http://" + closed.address + "/x", "Error Number 12029 => (Cannot connect)");
  }
  // Only http and https are fetched, also after a redirect.
  const std::string refused =
      "Error Number 12006 => (Unrecognized Scheme : Please check the URL name in "
      "'Pelvartemenor.ini'.)";
  const std::string secret = "file://" + scratch_.File("secret.txt");
  nv_test::WriteText(scratch_.File("secret.txt"), "secret");
  server_.Answer("/to-file", RedirectResponse(secret));
  for (const std::string& url :
       {secret, std::string("ftp://127.0.0.1:1/x"), server_.Url("/to-file")})
    ExpectFailure(url, refused);
  std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (int k = 0; k < 64; ++k) chunked += "400\r\n" + std::string(1024, 'x') + "\r\n";
  server_.Answer("/chunked", chunked + "0\r\n\r\n");  // no length: 64 chunks of 1 KiB
  server_.Answer("/sized", HttpResponse(200, "OK", std::string(64 * 1024, 'y')));
  limits_.maxBytes = 10'000;
  for (const char* path : {"/chunked", "/sized"})
    ExpectFailure(server_.Url(path), "Maximum file size exceeded");
  limits_.maxBytes = 64 * 1024;  // exactly the size is still fine
  Download(server_.Url("/chunked"));
  EXPECT_EQ(fs::file_size(destination_), 64u * 1024);
  fs::remove(destination_);
  // Last: a request never answered holds the server's only thread.
  server_.Answer("/stall", "");  // never answered
  limits_.lowSpeedSeconds = 1;
  ExpectFailure(server_.Url("/stall"), "Error Number 12002 => (Timeout)");
}

TEST(MimeTableTest, LooksUpExtensionsWithoutRegardToCaseAlsoInTheSystemTable) {
  nv_test::ScratchFolder scratch;
  nv_test::WriteText(scratch.File("mime.types"),
                     "# comment line\n"
                     "application/xml\t\txml xsd\n"
                     "text/plain  txt   # trailing comment\n"
                     "application/x-empty\n"
                     "text/other  TXT\n");
  const MimeTable table = MimeTable::Load(scratch.File("mime.types"));
  const std::pair<const char*, const char*> rows[] = {
      {"dir/B.XSD", "application/xml"}, {"C:\\d\\notes.Txt", "text/plain"},
      {"dir.xml/file", ""},              {"trailing.", ""},
  };
  for (const auto& [name, type] : rows) EXPECT_EQ(table.TypeOf(name), type) << name;
  EXPECT_EQ(MimeTable::Load(scratch.File("missing.types")).TypeOf("a.xml"), "");
  if (!fs::exists(kSystemMimeTablePath)) GTEST_SKIP() << "no system MIME table";
  EXPECT_STREQ(HttpUtils().MimeTypeOf(u"C:\\docs\\Report.PDF").Utf8(), "application/pdf");
  EXPECT_TRUE(HttpUtils().MimeTypeOf(u"file.nv-unknown-extension").Empty());
}

}  // namespace
}  // namespace nv
