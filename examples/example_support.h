// What the example clients share: text between UTF-8 and the library's
// strings, failed calls as exceptions with the library's message, and owned
// interface pointers, strings and VARIANTs.
#pragma once

#include <NorvVexa1/NorvVexa1.h>

#include <stdexcept>
#include <string>

namespace example {

// UTF-8 of a library string.
inline std::string Narrow(const OLECHAR* text) {
  std::string out;
  for (; text && *text; ++text) {
    char32_t code = *text;
    if (code >= 0xD800 && code < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000)
      code = 0x10000 + ((code - 0xD800) << 10) + (*++text - 0xDC00);
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// UTF-16 of a UTF-8 command-line argument.
inline std::u16string Widen(const std::string& utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += extra + 1;
    if (code < 0x10000) {
      out += static_cast<char16_t>(code);
    } else {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return out;
}

// Turns a failed call into an exception that carries the library's message.
inline void Check(HRESULT hr, const char* what) {
  if (SUCCEEDED(hr)) return;
  std::string message = what;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info) {
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description))) message += ": " + Narrow(description);
    SysFreeString(description);
    info->Release();
  }
  throw std::runtime_error(message);
}

// An owned interface pointer.
template <class I>
class Ref {
 public:
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() {
    if (p_) p_->Release();
  }
  I** Put() { return &p_; }
  I* operator->() const { return p_; }
  I* Get() const { return p_; }

 private:
  I* p_ = nullptr;
};

// An owned string made from a literal.
class Text {
 public:
  Text(const char16_t* text) : b_(SysAllocString(text)) {}  // NOLINT: literals convert
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(b_); }
  operator BSTR() const { return b_; }

 private:
  BSTR b_;
};

// An owned VARIANT.
class Value {
 public:
  Value() { VariantInit(&v_); }
  Value(Value&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  Value(const Value&) = delete;
  Value& operator=(const Value&) = delete;
  ~Value() { VariantClear(&v_); }
  operator const VARIANT&() const { return v_; }
  VARIANT& Raw() { return v_; }

  static Value Of(const char16_t* text) {
    Value value;
    V_VT(&value.Raw()) = VT_BSTR;
    V_BSTR(&value.Raw()) = SysAllocString(text);
    return value;
  }

 private:
  VARIANT v_;
};

}  // namespace example
