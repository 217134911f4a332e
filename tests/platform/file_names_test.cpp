#include "platform/file_source.h"
#include "platform/file_uri.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace nv {
namespace {

using nv_test::FailureOf;

struct SourceRow {
  std::u16string name;
  int source;  // -1: refused
};

TEST(FileSourceTest, ClassifiesNames) {
  const SourceRow rows[] = {
      {u"C:\\a\\b.xsd", 0},
      {u"C:", 0},
      {u"c:\\", 0},
      {u"schemas\\b.xsd", 0},
      {u"schemas/b.xsd", 0},
      {u"b.xsd", 0},
      {u"\\\\server\\share\\b.xsd", 1},
      {u"\\temp\\b.xsd", 0},
      {u"\\", 0},
      {u"http://host/a.xsd", 2},
      {u"file:///C:/a.xsd", 2},
      {u"urn:x:y", 2},
      {u"/tmp/a.xsd", 0},
      {u"/tmp/odd:name.xsd", 0},
      {u"//tmp/a.xsd", 0},
      {u"C:a.xsd", -1},
      {u"C:/a.xsd", -1},
  };
  for (const SourceRow& row : rows) {
    const std::string name = Bstr(row.name).ToUtf8();
    if (row.source < 0) {
      EXPECT_EQ(FailureOf([&] { DetectFileSource(row.name); }),
                "DetectFileSource - Invalid path or file name")
          << name;
      continue;
    }
    EXPECT_EQ(static_cast<int>(DetectFileSource(row.name)), row.source) << name;
    EXPECT_EQ(IsLocalFileName(row.name), row.source == 0) << name;
    EXPECT_EQ(IsFileNameURL(row.name), row.source == 2) << name;
  }
}

TEST(FileSourceTest, EmptyNamesFailWithTheCallersMessage) {
  EXPECT_EQ(FailureOf([] { DetectFileSource(u""); }), "DetectFileSource - File Name is missing");
  EXPECT_EQ(FailureOf([] { IsLocalFileName(u""); }), "IsLocalFileName - File Name is missing.");
  EXPECT_EQ(FailureOf([] { IsFileNameURL(u""); }), "IsFileNameURL - File Name is missing.");
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
      {u"file://///tmp/a.xsd", u"/tmp/a.xsd"},
      {u"file:///C:/dir/a.xsd", u"C:/dir/a.xsd"},
      {u"file://C:\\dir\\a.xsd", u"C:\\dir\\a.xsd"},
      {u"file:///\\\\server\\share\\a.xsd", u"\\\\server\\share\\a.xsd"},
      {u"file:///tmp/a%20b.xsd", u"/tmp/a%20b.xsd"},
      {u"file:a.xsd", u"a.xsd"},
  };
  for (const ConversionRow& row : rows)
    EXPECT_EQ(GetFileNameFromFileSystemURI(row.from).View(), row.to) << Bstr(row.from).Utf8();
}

TEST(FileUriTest, ShortUrisAreRefused) {
  for (std::u16string_view uri : {u"", u"file", u"file:"}) {
    EXPECT_EQ(FailureOf([&] { GetFileNameFromFileSystemURI(uri); }),
              "GetFileNameFromFileSystemURI - URI isn't a valid File System URI");
  }
}

TEST(FileUriTest, UrisOfFileNames) {
  const ConversionRow rows[] = {
      {u"/tmp/a.xsd", u"file:///tmp/a.xsd"},
      {u"C:\\a\\b.xsd", u"file:///C:\\a\\b.xsd"},
      {u"\\\\server\\share\\b.xsd", u"file:///\\\\server\\share\\b.xsd"},
      {u"schemas\\b.xsd", u"file:///schemas\\b.xsd"},
      {u"file:///tmp/a.xsd", u"file:///tmp/a.xsd"},
      {u"file:x", u"file:x"},
      {u"http://host/a.xsd", u"http://host/a.xsd"},
  };
  for (const ConversionRow& row : rows)
    EXPECT_EQ(FileNameToFileSystemURI(row.from).View(), row.to) << Bstr(row.from).Utf8();
  EXPECT_EQ(FailureOf([] { FileNameToFileSystemURI(u""); }),
            "IsFileNameURL - File Name is missing.");
}

TEST(FileUriTest, AbsoluteNamesSurviveTheRoundTrip) {
  for (std::u16string_view name : {u"/tmp/a b/c.xsd", u"C:\\dir\\a.xsd", u"C:", u"\\temp\\b.xsd",
                                   u"\\\\server\\share\\b.xsd"}) {
    EXPECT_EQ(GetFileNameFromFileSystemURI(FileNameToFileSystemURI(name)).View(), name)
        << Bstr(name).Utf8();
  }
}

}  // namespace
}  // namespace nv
