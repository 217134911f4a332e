// UTF-16 to UTF-8: ASCII runs beside multi-byte characters at several
// alignments, surrogate pairs, and unpaired surrogates.
#include "frame/text.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(Utf16ToUtf8, EncodesEveryFormAtEveryPositionInARun) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"abc\u00e9defgh", "abc\xc3\xa9" "defgh"}, {u"abcd\u20acefgh", "abcd\xe2\x82\xac" "efgh"},
      {u"\U0001F600abcd", "\xf0\x9f\x98\x80" "abcd"}, {u"abcdefg\u00ff", "abcdefg\xc3\xbf"},
      {u"ab\xD800" u"cdef", "ab\xef\xbf\xbd" "cdef"},  // lone high surrogate
      {u"abcd\xDC00", "abcd\xef\xbf\xbd"},             // lone low surrogate
      {u"\x7f\x80", "\x7f\xc2\x80"},
  };
  for (const auto& [text, utf8] : cases) {
    std::string appended = "x";
    AppendUtf16AsUtf8(appended, text);
    EXPECT_EQ(appended, "x" + utf8);
  }
}

}  // namespace
}  // namespace nv
