#include "platform/http_utils.h"

#include "frame/initialization_data.h"
#include "platform/fetch_file.h"
#include "platform/internet_error.h"
#include "platform/mime_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "http_test_server.h"
#include "support/scratch.h"

namespace nv {
namespace {

namespace fs = std::filesystem;
using nv_test::FailureOf;
using nv_test::HttpResponse;
using nv_test::HttpTestServer;
using nv_test::ReadText;
using nv_test::ScratchFolder;

constexpr std::u16string_view kAgent = u"NvTestAgent/1.0";

// Short limits keep failing transfers quick.
HttpLimits QuickLimits() {
  HttpLimits limits;
  limits.connectTimeoutSeconds = 5;
  limits.lowSpeedSeconds = 5;
  return limits;
}

Bstr Wide(const std::string& text) { return Bstr::FromUtf8(text); }

class HttpUtilsTest : public ::testing::Test {
 protected:
  void Download(const std::string& url, const std::string& proxy = "",
                HttpLimits limits = QuickLimits()) {
    HttpUtils(limits).Download(Wide(url), Wide(destination_), kAgent, Wide(proxy));
  }
  std::string FailureOfDownload(const std::string& url, const std::string& proxy = "",
                                HttpLimits limits = QuickLimits()) {
    return FailureOf([&] { Download(url, proxy, limits); });
  }

  HttpTestServer server_;
  ScratchFolder scratch_;
  std::string destination_ = scratch_.File("download.bin");
};

TEST_F(HttpUtilsTest, SavesTheBodyAndSendsTheUserAgent) {
  nv_test::WriteText(destination_, "an older, longer file that must be replaced");
  server_.Answer("/doc.xsd", HttpResponse(200, "OK", "<schema/>"));
  Download(server_.Url("/doc.xsd"));
  EXPECT_EQ(ReadText(destination_), "<schema/>");
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].rfind("GET /doc.xsd HTTP/1.1\r\n", 0), 0u);
  EXPECT_NE(server_.Requests()[0].find("User-Agent: NvTestAgent/1.0\r\n"), std::string::npos);
}

TEST_F(HttpUtilsTest, EmptyBodyGivesAnEmptyFile) {
  server_.Answer("/empty", HttpResponse(200, "OK", ""));
  Download(server_.Url("/empty"));
  EXPECT_TRUE(fs::exists(destination_));
  EXPECT_EQ(fs::file_size(destination_), 0u);
}

TEST_F(HttpUtilsTest, ErrorStatusFailsWithoutSavingThePage) {
  server_.Answer("/missing", HttpResponse(404, "Not Found", "<html>error page</html>"));
  EXPECT_EQ(FailureOfDownload(server_.Url("/missing")), "The requested URL returned error: 404");
  EXPECT_FALSE(fs::exists(destination_));
}

TEST_F(HttpUtilsTest, FollowsRedirects) {
  server_.Answer("/old", nv_test::RedirectResponse("/new"));
  server_.Answer("/new", HttpResponse(200, "OK", "moved here"));
  Download(server_.Url("/old"));
  EXPECT_EQ(ReadText(destination_), "moved here");
  EXPECT_EQ(server_.Requests().size(), 2u);
}

TEST_F(HttpUtilsTest, RedirectLoopStopsAfterTheLimit) {
  server_.Answer("/loop", nv_test::RedirectResponse("/loop"));
  EXPECT_EQ(FailureOfDownload(server_.Url("/loop")), "Error Number 12156 => (Redirect Failed)");
  EXPECT_EQ(server_.Requests().size(), 11u);  // the request and 10 redirects
  EXPECT_FALSE(fs::exists(destination_));
}

TEST_F(HttpUtilsTest, OnlyHttpAndHttpsAreFetched) {
  const std::string refused =
      "Error Number 12006 => (Unrecognized Scheme : Please check the URL name in "
      "'Pelvartemenor.ini'.)";
  nv_test::WriteText(scratch_.File("secret.txt"), "secret");
  EXPECT_EQ(FailureOfDownload("file://" + scratch_.File("secret.txt")), refused);
  EXPECT_EQ(FailureOfDownload("ftp://127.0.0.1:1/x"), refused);
  server_.Answer("/to-file", nv_test::RedirectResponse("file://" + scratch_.File("secret.txt")));
  EXPECT_EQ(FailureOfDownload(server_.Url("/to-file")), refused);
  EXPECT_FALSE(fs::exists(destination_));
}

TEST_F(HttpUtilsTest, RefusedConnectionIsCannotConnect) {
  nv_test::ClosedPort closed;
  EXPECT_EQ(FailureOfDownload("http://127.0.0.1:" + std::to_string(closed.Port()) + "/x"),
            "Error Number 12029 => (Cannot connect)");
  EXPECT_FALSE(fs::exists(destination_));
}

TEST_F(HttpUtilsTest, NamedProxyReceivesTheAbsoluteRequest) {
  // The host cannot be resolved: only the proxy can answer.
  const std::string url = "http://nv-proxy-test.invalid/doc.xsd";
  server_.Answer(url, HttpResponse(200, "OK", "via proxy"));
  Download(url, server_.Address());
  EXPECT_EQ(ReadText(destination_), "via proxy");
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].rfind("GET " + url + " HTTP/1.1\r\n", 0), 0u);
}

TEST_F(HttpUtilsTest, StalledServerTimesOut) {
  server_.Stall("/stall");
  HttpLimits limits = QuickLimits();
  limits.lowSpeedSeconds = 1;
  EXPECT_EQ(FailureOfDownload(server_.Url("/stall"), "", limits),
            "Error Number 12002 => (Timeout)");
  EXPECT_FALSE(fs::exists(destination_));
}

TEST_F(HttpUtilsTest, BodiesOverTheSizeCapAreRefused) {
  server_.Answer("/chunked", nv_test::ChunkedResponse(64 * 1024));
  server_.Answer("/sized", HttpResponse(200, "OK", std::string(64 * 1024, 'y')));
  HttpLimits limits = QuickLimits();
  limits.maxBytes = 10'000;
  for (const char* path : {"/chunked", "/sized"}) {
    EXPECT_EQ(FailureOfDownload(server_.Url(path), "", limits), "Maximum file size exceeded")
        << path;
    EXPECT_FALSE(fs::exists(destination_)) << path;
  }
  limits.maxBytes = 64 * 1024;  // exactly the size is still fine
  Download(server_.Url("/chunked"), "", limits);
  EXPECT_EQ(fs::file_size(destination_), 64u * 1024);
}

TEST_F(HttpUtilsTest, FetchFileDownloadsUrlsThroughTheConfiguredProxy) {
  ComPtr<INvVexaInitializationData> data = CreateObject<CNvVexaInitializationData>();
  data.SetProxy(Wide(server_.Address()));
  const std::string url = "http://nv-fetch-test.invalid/files/a.bin";
  server_.Answer(url, HttpResponse(200, "OK", "fetched"));
  FetchFile(Wide(url), Wide(destination_), data);
  EXPECT_EQ(ReadText(destination_), "fetched");
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].rfind("GET " + url + " HTTP/1.1\r\n", 0), 0u);
  EXPECT_NE(server_.Requests()[0].find(
                "User-Agent: Mozilla/4.0 (compatible; Norvane Vexa API; Win32)\r\n"),
            std::string::npos);
}

TEST(InternetErrorTest, MessagesUseTheTableText) {
  EXPECT_STREQ(InternetErrorMessage(12002).Utf8(), "Error Number 12002 => (Timeout)");
  EXPECT_STREQ(InternetErrorMessage(12159).Utf8(), "Error Number 12159 => (TCP/IP not installed)");
  EXPECT_STREQ(InternetErrorMessage(12003).Utf8(), "Error Number 12003 => ");
}

TEST(MimeTableTest, LooksUpExtensionsWithoutRegardToCase) {
  ScratchFolder scratch;
  nv_test::WriteText(scratch.File("mime.types"),
                     "# comment line\n"
                     "application/xml\t\txml xsd\n"
                     "text/plain  txt   # trailing comment\n"
                     "application/x-empty\n"
                     "text/other  TXT\n");
  const MimeTable table = MimeTable::Load(scratch.File("mime.types"));
  const std::pair<const char*, const char*> rows[] = {
      {"a.xml", "application/xml"}, {"dir/B.XSD", "application/xml"},
      {"C:\\d\\notes.Txt", "text/plain"}, {"archive.tar.xml", "application/xml"},
      {"noextension", ""},          {"dir.xml/file", ""},
      {"trailing.", ""},            {"a.unknown", ""},
  };
  for (const auto& [name, type] : rows) EXPECT_EQ(table.TypeOf(name), type) << name;
  EXPECT_EQ(MimeTable::Load(scratch.File("missing.types")).TypeOf("a.xml"), "");
}

TEST(MimeTableTest, SystemTableAnswersThroughHttpUtils) {
  if (!fs::exists(kSystemMimeTablePath)) GTEST_SKIP() << "no system MIME table";
  EXPECT_STREQ(HttpUtils().MimeTypeOf(u"C:\\docs\\Report.PDF").Utf8(), "application/pdf");
  EXPECT_TRUE(HttpUtils().MimeTypeOf(u"file.nv-unknown-extension").Empty());
  EXPECT_TRUE(HttpUtils().MimeTypeOf(u"no-extension").Empty());
}

}  // namespace
}  // namespace nv
