// The document output stream: modes, text-mode line ends, UTF-8. Its failure
// messages are in the table in unzipper_test.cpp; writes longer than its
// buffer are read back in tests/writer/package_integrity_test.cpp.
#include "archive/archive_test_support.h"
#include "archive/streams.h"
#include "frame/collections/collection_objects.h"
#include "frame/variant.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nv_archive_test {
namespace {

using nv::Variant;

constexpr LONG kAppend = 1, kCreate = 0xFFFF;

Variant Bytes(std::string_view bytes) {
  Variant array = nv::VarArrayCreateOneDim(0, static_cast<LONG>(bytes.size()) - 1, VT_UI1);
  std::memcpy(nv::VarArrayLock(array), bytes.data(), bytes.size());
  nv::VarArrayUnlock(array);
  return array;
}

TEST(FileStreamTest, WritesUtf8TextWithCarriageReturnLineFeeds) {
  Scratch dir;
  const std::string path = dir / "doc.xml";
  WriteFile(path, "old contents");
  ComPtr<ITStream> stream = nv::CreateObject<nv::TFileStream>();
  stream.Create(U(path), kCreate);  // truncates
  EXPECT_EQ(stream.Write(Variant(u"<a>\n  <b/>\n"), 11), 11);
  EXPECT_EQ(stream.Write(Bytes("x\ny\r\nz"), 4), 4);  // only "x\ny\r" of the buffer
  stream.Free();
  stream.Create(U(path), kAppend);
  EXPECT_EQ(stream.Write(Variant(u"\u00e4\u20ac"), 5), 5);  // the count counts UTF-8 bytes
  stream.Free();
  stream.Free();  // a second Free does nothing
  EXPECT_EQ(ReadText(path), "<a>\r\n  <b/>\r\nx\r\ny\r\xC3\xA4\xE2\x82\xAC");
}

}  // namespace
}  // namespace nv_archive_test
