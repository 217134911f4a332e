// UTF-16 to UTF-8: ASCII runs of every alignment beside multi-byte
// characters, surrogate pairs, and unpaired surrogates.
#include "frame/text.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(Utf16ToUtf8, EncodesEveryFormAtEveryPositionInARun) {
  struct Case {
    std::u16string text;
    std::string utf8;
  };
  const Case cases[] = {
      {u"", ""}, {u"abcdefghij", "abcdefghij"},
      {u"abc\u00e9defgh", "abc\xc3\xa9" "defgh"}, {u"abcd\u20acefgh", "abcd\xe2\x82\xac" "efgh"},
      {u"\U0001F600abcd", "\xf0\x9f\x98\x80" "abcd"}, {u"abcdefg\u00ff", "abcdefg\xc3\xbf"},
      {u"ab\xD800" u"cdef", "ab\xef\xbf\xbd" "cdef"},  // lone high surrogate
      {u"abcd\xDC00", "abcd\xef\xbf\xbd"},             // lone low surrogate
      {u"\x7f\x80", "\x7f\xc2\x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(c.text), c.utf8);
    std::string appended = "x";
    AppendUtf16AsUtf8(appended, c.text);
    EXPECT_EQ(appended, "x" + c.utf8);
  }
}

}  // namespace
}  // namespace nv
