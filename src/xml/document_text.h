// The text of one piece of the instance document (an object element, the
// Header) built whole before it goes to the stream, so that a failure while
// it is built writes nothing. A long string value is not copied in escaped
// form: its characters are checked when it is appended, and it is escaped
// piece by piece only while the text is written, so a huge value costs about
// its encoded size instead of several copies of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/interfaces.h"
#include "values/xml_escape.h"

namespace nv {

class DocumentText {
 public:
  // The text of the calling thread, reused from object to object so that
  // writing many objects does not allocate per object.
  static DocumentText& ForThisThread();

  // Empties the text; gives back capacity grown by one huge object.
  void Clear() noexcept;
  std::u16string& Text() noexcept { return text_; }

  // Appends `value` escaped for `where`; throws UnwritableCharacter. A long
  // value is kept by reference: it must outlive WriteTo or ToString.
  void AppendEscaped(std::u16string_view value, XmlContext where);

  // Writes the text to `stream` as UTF-8.
  void WriteTo(const ComPtr<ITStream>& stream) const;
  // The whole text, long values escaped in place.
  std::u16string ToString() const;

 private:
  struct LongValue {
    size_t at;  // where in text_ it stands
    std::u16string_view value;
    XmlContext where;
  };

  // Calls `use` with the pieces of the text in order.
  template <class F>
  void ForEachPiece(F&& use) const;

  std::u16string text_;
  std::vector<LongValue> longValues_;
};

}  // namespace nv
