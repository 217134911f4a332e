#include "values/duration_value.h"

#include "frame/exception.h"

#include <cmath>

namespace nv {
namespace {

SHORT NonNegative(SHORT value, const char* message) {
  if (value < 0) throw ENvException(message);
  return value;
}

}  // namespace

void CNvVexaDurationAttributeValueImpl::PutDay(SHORT value) {
  record_.day = NonNegative(value, "Invalid duration format: day can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutMonth(SHORT value) {
  record_.month = NonNegative(value, "Invalid duration format: month can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutYear(SHORT value) {
  record_.year = NonNegative(value, "Invalid duration format: year can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutHour(SHORT value) {
  record_.hour = NonNegative(value, "Invalid duration format: hour can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutMin(SHORT value) {
  record_.minutes = NonNegative(value, "Invalid duration format: minutes can't be negative.");
}

void CNvVexaDurationAttributeValueImpl::PutSec(DOUBLE value) {
  if (value < 0) throw ENvException("Invalid duration format: seconds can't be negative.");
  // NaN and infinity have no duration text that could be read back.
  if (!std::isfinite(value)) {
    throw ENvException("Invalid duration format: seconds must be a finite number.");
  }
  record_.seconds = value;
}

void CNvVexaDurationAttributeValueImpl::Initialize(const BstrArg& text) {
  record_ = ParseDuration(text.View());
}

Bstr CNvVexaDurationAttributeValueImpl::ToString() {
  std::u16string text;
  AppendDurationText(text, record_);
  return Bstr(text);
}

ComPtr<INvVexaDurationAttributeValue> MakeDurationValue(std::u16string_view text) {
  auto* object = new CNvVexaDurationAttributeValue();
  ComPtr<INvVexaDurationAttributeValue> made(object);
  // Straight to the implementation: a failure stays our own exception.
  static_cast<CNvVexaDurationAttributeValueImpl&>(*object).Initialize(text);
  return made;
}

}  // namespace nv
