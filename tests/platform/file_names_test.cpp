// File names, file URIs and URL combination.
#include "platform/http.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace nv {
namespace {

using nv_test::FailureOf;

TEST(FileSourceTest, ClassifiesNames) {
  using enum FileSource;
  // One row per rule: drive path, bare drive, relative, rooted (a colon in it
  // makes no URL), lone backslash, URL scheme, network path.
  const std::pair<std::u16string, FileSource> rows[] = {
      {u"c:\\a\\b.xsd", kLocalFile},        {u"C:", kLocalFile}, {u"schemas/b.xsd", kLocalFile},
      {u"/tmp/odd:name.xsd", kLocalFile}, {u"\\", kLocalFile}, {u"http://a/b.xsd", kUrl},
      {u"\\\\server\\b.xsd", kNetworkPath},
  };
  for (const auto& [name, source] : rows)
    EXPECT_EQ(DetectFileSource(name), source) << Bstr(name).Utf8();
  EXPECT_EQ(FailureOf([&] { DetectFileSource(u"C:/a.xsd"); }),  // a drive needs a backslash
            "DetectFileSource - Invalid path or file name");
  // Empty names fail with the caller's message.
  EXPECT_EQ(FailureOf([] { DetectFileSource(u""); }), "DetectFileSource - File Name is missing");
  EXPECT_EQ(FailureOf([] { IsLocalFileName(u""); }), "IsLocalFileName - File Name is missing.");
  EXPECT_EQ(FailureOf([] { IsFileNameURL(u""); }), "IsFileNameURL - File Name is missing.");
}

// File URIs to names and back; absolute names survive the round trip.
TEST(FileUriTest, ConvertsBothWays) {
  using Rows = std::pair<std::u16string_view, std::u16string_view>[];
  const Rows names = {
      {u"file:///tmp/a.xsd", u"/tmp/a.xsd"}, {u"file:///C:/dir/a.xsd", u"C:/dir/a.xsd"},
      {u"file:///\\\\server\\share\\a.xsd", u"\\\\server\\share\\a.xsd"},
      {u"file:///tmp/a%20b.xsd", u"/tmp/a%20b.xsd"}, {u"file:a.xsd", u"a.xsd"}};
  const Rows uris = {
      {u"/tmp/a.xsd", u"file:///tmp/a.xsd"}, {u"schemas\\b.xsd", u"file:///schemas\\b.xsd"},
      {u"file:x", u"file:x"}, {u"http://host/a.xsd", u"http://host/a.xsd"}};
  for (const auto& [uri, name] : names)
    EXPECT_EQ(GetFileNameFromFileSystemURI(uri).View(), name) << Bstr(uri).Utf8();
  for (std::u16string_view uri : {u"", u"file", u"file:"})
    EXPECT_EQ(FailureOf([&] { GetFileNameFromFileSystemURI(uri); }),
              "GetFileNameFromFileSystemURI - URI isn't a valid File System URI");
  for (const auto& [name, uri] : uris)
    EXPECT_EQ(FileNameToFileSystemURI(name).View(), uri) << Bstr(name).Utf8();
  for (std::u16string_view name : {u"/tmp/a b/c.xsd", u"C:\\dir\\a.xsd", u"\\\\srv\\b.xsd"})
    EXPECT_EQ(GetFileNameFromFileSystemURI(FileNameToFileSystemURI(name)).View(), name)
        << Bstr(name).Utf8();
}

TEST(CombineUrlTest, ResolvesReferencesAndRefusesUnusableArguments) {
  const std::u16string http = u"http://a/b/c/d;p?q", file = u"file:///tmp/s/a.xsd",
                       drive = u"file:///C:\\dir\\a.xsd";
  const struct {
    std::u16string base, relative, combined;
  } rows[] = {
      // HTTP bases resolve as URLs do; a fragment alone keeps path and query.
      {http, u"g", u"http://a/b/c/g"},          {http, u"?y", u"http://a/b/c/d;p?y"},
      {http, u"#s", u"http://a/b/c/d;p?q#s"},   {http, u"../../../g", u"http://a/g"},
      {http, u"g:h", u"g:h"},                   {u"http://host", u"s.xsd", u"http://host/s.xsd"},
      // File bases combine as paths, with either separator, keeping the drive.
      {file, u"sub/./b c.xsd", u"file:///tmp/s/sub/b c.xsd"},
      {file, u"../../../../b.xsd", u"file:///b.xsd"},
      {file, u"/abs/b.xsd", u"file:///abs/b.xsd"},
      {file, u"http://h/x.xsd", u"http://h/x.xsd"},
      {drive, u"..\\..\\..\\b.xsd", u"file:///C:\\b.xsd"},
      {drive, u"D:/x.xsd", u"file:///D:/x.xsd"},
      {drive, u"\\\\srv\\x.xsd", u"file:///\\\\srv\\x.xsd"},
      {u"FILE:///tmp/a.xsd", u"b.xsd", u"FILE:///tmp/b.xsd"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(NvInternetCombineUrl(row.base, row.relative).View(), row.combined)
        << Bstr(row.base).Utf8() << " + " << Bstr(row.relative).Utf8();
  const std::pair<std::u16string, std::u16string> refused[] = {
      {u"", u"g"}, {u"http://a/b", u""}, {u"no-scheme/path", u"g"}, {u"http://[bad", u"g"},
      {u"urn:x:y", u"g"},
  };
  for (const auto& [base, relative] : refused)
    EXPECT_EQ(FailureOf([&] { NvInternetCombineUrl(base, relative); }),
              "NvInternetCombineUrl() : invalid parameters")
        << Bstr(base).Utf8() << " + " << Bstr(relative).Utf8();
}

}  // namespace
}  // namespace nv
