#include "platform/url_combine.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace nv {
namespace {

using nv_test::FailureOf;

struct CombineRow {
  std::u16string base;
  std::u16string relative;
  std::u16string combined;
};

TEST(CombineUrlTest, ResolvesAgainstHttpBases) {
  const std::u16string base = u"http://a/b/c/d;p?q";
  const CombineRow rows[] = {
      {base, u"g", u"http://a/b/c/g"},
      {base, u"./g", u"http://a/b/c/g"},
      {base, u"g/", u"http://a/b/c/g/"},
      {base, u"/g", u"http://a/g"},
      {base, u"//g", u"http://g/"},
      {base, u"?y", u"http://a/b/c/d;p?y"},
      {base, u"g?y#s", u"http://a/b/c/g?y#s"},
      {base, u"#s", u"http://a/b/c/d;p?q#s"},
      {base, u"..", u"http://a/b/"},
      {base, u"../g", u"http://a/b/g"},
      {base, u"../../../g", u"http://a/g"},
      {base, u"g/../h", u"http://a/b/c/h"},
      {base, u"g:h", u"g:h"},
      {base, u"https://other/x.xsd", u"https://other/x.xsd"},
      {u"http://host", u"s.xsd", u"http://host/s.xsd"},
      {u"http://host:8080/std/core.xsd", u"files/f.xsd", u"http://host:8080/std/files/f.xsd"},
  };
  for (const CombineRow& row : rows) {
    EXPECT_EQ(NvInternetCombineUrl(row.base, row.relative).View(), row.combined)
        << Bstr(row.relative).Utf8();
  }
}

TEST(CombineUrlTest, CombinesFileBasesAsPaths) {
  const CombineRow rows[] = {
      {u"file:///tmp/s/a.xsd", u"b.xsd", u"file:///tmp/s/b.xsd"},
      {u"file:///tmp/s/a.xsd", u"sub/./b c.xsd", u"file:///tmp/s/sub/b c.xsd"},
      {u"file:///tmp/s/a.xsd", u"../c/b.xsd", u"file:///tmp/c/b.xsd"},
      {u"file:///tmp/s/a.xsd", u"../../../../b.xsd", u"file:///b.xsd"},
      {u"file:///tmp/s/a.xsd", u"/abs/b.xsd", u"file:///abs/b.xsd"},
      {u"file:///tmp/s/a.xsd", u"http://h/x.xsd", u"http://h/x.xsd"},
      {u"file:///C:\\dir\\a.xsd", u"sub\\b.xsd", u"file:///C:\\dir\\sub\\b.xsd"},
      {u"file:///C:\\dir\\a.xsd", u"..\\..\\..\\b.xsd", u"file:///C:\\b.xsd"},
      {u"file:///C:/dir/a.xsd", u"D:\\x.xsd", u"file:///D:\\x.xsd"},
      {u"file:///C:/dir/a.xsd", u"D:/x.xsd", u"file:///D:/x.xsd"},
      {u"file:///C:/dir/a.xsd", u"\\\\srv\\x.xsd", u"file:///\\\\srv\\x.xsd"},
      {u"FILE:///tmp/a.xsd", u"b.xsd", u"FILE:///tmp/b.xsd"},
  };
  for (const CombineRow& row : rows) {
    EXPECT_EQ(NvInternetCombineUrl(row.base, row.relative).View(), row.combined)
        << Bstr(row.relative).Utf8();
  }
}

TEST(CombineUrlTest, RefusesUnusableArguments) {
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"", u"g"},  {u"http://a/b", u""},  {u"no-scheme/path", u"g"},
      {u"http://[bad", u"g"}, {u"urn:x:y", u"g"},
      {u"no-scheme", u"http://h/x"},
  };
  for (const auto& [base, relative] : rows) {
    EXPECT_EQ(FailureOf([&] { NvInternetCombineUrl(base, relative); }),
              "NvInternetCombineUrl() : invalid parameters")
        << Bstr(base).Utf8() << " + " << Bstr(relative).Utf8();
  }
}

}  // namespace
}  // namespace nv
