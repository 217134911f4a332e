// The document output stream: modes, text-mode line ends, buffers, messages.
#include "archive/archive_test_support.h"
#include "archive/file_stream.h"
#include "frame/collections/variant_array.h"
#include "frame/variant.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nv_archive_test {
namespace {

using nv::ComPtr;
using nv::Variant;

constexpr LONG kRead = 0, kAppend = 1, kCreate = 0xFFFF;

ComPtr<ITStream> NewStream() { return nv::CreateObject<nv::TFileStream>(); }

Variant Bytes(std::string_view bytes) {
  Variant array = nv::VarArrayCreateOneDim(0, static_cast<LONG>(bytes.size()) - 1, VT_UI1);
  std::memcpy(nv::VarArrayLock(array), bytes.data(), bytes.size());
  nv::VarArrayUnlock(array);
  return array;
}

TEST(FileStreamTest, EachLineFeedBecomesCarriageReturnLineFeed) {
  Scratch dir;
  ComPtr<ITStream> stream = NewStream();
  stream.Create(U(dir / "doc.xml"), kCreate);
  EXPECT_EQ(stream.Write(Variant(u"<a>\n  <b/>\n"), 11), 11);
  EXPECT_EQ(stream.Write(Bytes("x\ny\r\nz"), 4), 4);  // only "x\ny\r" of the buffer
  stream.Free();
  EXPECT_EQ(ReadFile(dir / "doc.xml"), "<a>\r\n  <b/>\r\nx\r\ny\r");
}

TEST(FileStreamTest, TextIsWrittenAsUtf8AndCountCountsItsBytes) {
  Scratch dir;
  ComPtr<ITStream> stream = NewStream();
  stream.Create(U(dir / "doc.xml"), kCreate);
  EXPECT_EQ(stream.Write(Variant(u"\u00e4\u20ac"), 5), 5);
  stream.Free();
  EXPECT_EQ(ReadFile(dir / "doc.xml"), "\xC3\xA4\xE2\x82\xAC");
}

TEST(FileStreamTest, CreateTruncatesAndAppendAppends) {
  Scratch dir;
  const std::string path = dir / "doc.txt";
  WriteFile(path, "old contents");
  ComPtr<ITStream> stream = NewStream();
  stream.Create(U(path), kCreate);
  stream.Write(Variant(u"one\n"), 4);
  stream.Free();
  stream.Create(U(path), kAppend);
  stream.Write(Variant(u"two"), 3);
  stream.Free();
  stream.Free();  // a second Free does nothing
  EXPECT_EQ(ReadFile(path), "one\r\ntwo");
}

TEST(FileStreamTest, LargeWritesArriveWhole) {
  Scratch dir;
  std::string text;
  for (int k = 0; k < 50000; ++k) text += "line " + std::to_string(k) + "\n";
  std::string expected;
  for (char c : text) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ComPtr<ITStream> stream = NewStream();
  stream.Create(U(dir / "big.txt"), kCreate);
  EXPECT_EQ(stream.Write(Bytes(text), static_cast<LONG>(text.size())),
            static_cast<LONG>(text.size()));
  stream.Free();
  EXPECT_EQ(ReadFile(dir / "big.txt"), expected);
}

TEST(FileStreamTest, Failures) {
  Scratch dir;
  ComPtr<ITStream> stream = NewStream();
  EXPECT_EQ(MessageOf([&] { stream.Create(U(dir / "x"), 2); }), "Illegal file open mode");
  EXPECT_EQ(MessageOf([&] { stream.Create(U(dir / "missing"), kRead); }),
            "Cannot create file " + dir / "missing");
  EXPECT_EQ(MessageOf([&] { stream.Create(U(dir / "no/such/folder/x"), kCreate); }),
            "Cannot create file " + dir / "no/such/folder/x");
  EXPECT_EQ(MessageOf([&] { stream.Write(Variant(u"x"), 1); }), "The file stream is not open");

  stream.Create(U(dir / "doc.txt"), kCreate);
  EXPECT_EQ(MessageOf([&] { stream.Write(Variant(u"abc"), 4); }),
            "Cannot write 4 bytes from a buffer of 3");
  EXPECT_EQ(MessageOf([&] { stream.Write(Variant(u"abc"), -1); }),
            "Cannot write -1 bytes from a buffer of 3");
  EXPECT_EQ(MessageOf([&] { stream.Write(Variant(int32_t{5}), 1); }),
            "The buffer to write is neither a string nor a byte array");
  stream.Free();

  WriteFile(dir / "read.txt", "data");
  stream.Create(U(dir / "read.txt"), kRead);
  EXPECT_EQ(MessageOf([&] { stream.Write(Variant(u"x"), 1); }),
            "Cannot write file " + dir / "read.txt");
}

}  // namespace
}  // namespace nv_archive_test
