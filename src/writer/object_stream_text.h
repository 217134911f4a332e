// The one text buffer in which an object element is built before it goes to
// the stream as a single block. Its capacity is reused from object to object,
// so writing many objects does not allocate per object.
#pragma once

#include <string>

#include "frame/interfaces.h"

namespace nv {

class ObjectTextBuffer {
 public:
  // The buffer of the calling thread (objects are used from one thread).
  static ObjectTextBuffer& ForThisThread();

  void Begin() noexcept;
  std::u16string& Text() noexcept { return text_; }
  // Writes the text as UTF-8 in one Write call.
  void WriteTo(const ComPtr<ITStream>& stream);

 private:
  std::u16string text_;
};

}  // namespace nv
