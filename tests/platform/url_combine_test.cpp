#include "platform/http.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace nv {
namespace {

TEST(CombineUrlTest, ResolvesReferences) {
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
  for (const auto& row : rows) {
    EXPECT_EQ(NvInternetCombineUrl(row.base, row.relative).View(), row.combined)
        << Bstr(row.base).Utf8() << " + " << Bstr(row.relative).Utf8();
  }
}

TEST(CombineUrlTest, RefusesUnusableArguments) {
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"", u"g"}, {u"http://a/b", u""}, {u"no-scheme/path", u"g"}, {u"http://[bad", u"g"},
      {u"urn:x:y", u"g"},
  };
  for (const auto& [base, relative] : rows) {
    EXPECT_EQ(nv_test::FailureOf([&] { NvInternetCombineUrl(base, relative); }),
              "NvInternetCombineUrl() : invalid parameters")
        << Bstr(base).Utf8() << " + " << Bstr(relative).Utf8();
  }
}

}  // namespace
}  // namespace nv
