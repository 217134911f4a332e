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
  for (const auto& [name, source] : rows) {
    EXPECT_EQ(DetectFileSource(name), source) << Bstr(name).Utf8();
    EXPECT_EQ(IsLocalFileName(name), source == kLocalFile) << Bstr(name).Utf8();
    EXPECT_EQ(IsFileNameURL(name), source == kUrl) << Bstr(name).Utf8();
  }
  EXPECT_EQ(FailureOf([&] { DetectFileSource(u"C:/a.xsd"); }),  // a drive needs a backslash
            "DetectFileSource - Invalid path or file name");
}

TEST(FileSourceTest, EmptyNamesFailWithTheCallersMessage) {
  EXPECT_EQ(FailureOf([] { DetectFileSource(u""); }), "DetectFileSource - File Name is missing");
  EXPECT_EQ(FailureOf([] { IsLocalFileName(u""); }), "IsLocalFileName - File Name is missing.");
  EXPECT_EQ(FailureOf([] { IsFileNameURL(u""); }), "IsFileNameURL - File Name is missing.");
  EXPECT_EQ(FailureOf([] { FileNameToFileSystemURI(u""); }),
            "IsFileNameURL - File Name is missing.");
  EXPECT_EQ(FailureOf([] { IsFileNameURL(u"C:/x"); }),
            "DetectFileSource - Invalid path or file name");
}

struct ConversionRow {
  std::u16string from;
  std::u16string to;
};

TEST(FileUriTest, FileNamesOfUris) {
  const ConversionRow rows[] = {
      {u"file:///tmp/a.xsd", u"/tmp/a.xsd"},
      {u"file:///C:/dir/a.xsd", u"C:/dir/a.xsd"},
      {u"file:///\\\\server\\share\\a.xsd", u"\\\\server\\share\\a.xsd"},
      {u"file:///tmp/a%20b.xsd", u"/tmp/a%20b.xsd"},
      {u"file:a.xsd", u"a.xsd"},
  };
  for (const ConversionRow& row : rows)
    EXPECT_EQ(GetFileNameFromFileSystemURI(row.from).View(), row.to) << Bstr(row.from).Utf8();
  for (std::u16string_view uri : {u"", u"file", u"file:"}) {
    EXPECT_EQ(FailureOf([&] { GetFileNameFromFileSystemURI(uri); }),
              "GetFileNameFromFileSystemURI - URI isn't a valid File System URI");
  }
}

TEST(FileUriTest, UrisOfFileNames) {
  const ConversionRow rows[] = {
      {u"/tmp/a.xsd", u"file:///tmp/a.xsd"}, {u"schemas\\b.xsd", u"file:///schemas\\b.xsd"},
      {u"file:x", u"file:x"},               {u"http://host/a.xsd", u"http://host/a.xsd"},
  };
  for (const ConversionRow& row : rows)
    EXPECT_EQ(FileNameToFileSystemURI(row.from).View(), row.to) << Bstr(row.from).Utf8();
  // Absolute names survive the round trip.
  for (std::u16string_view name : {u"/tmp/a b/c.xsd", u"C:\\dir\\a.xsd", u"\\\\server\\b.xsd"}) {
    EXPECT_EQ(GetFileNameFromFileSystemURI(FileNameToFileSystemURI(name)).View(), name)
        << Bstr(name).Utf8();
  }
}

}  // namespace
}  // namespace nv
