// The value of a duration attribute: an object whose properties are the
// components of a duration. The sign lives in Negative alone, so no
// component takes a negative number.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"
#include "values/duration_text.h"

#include <string_view>

namespace nv {

class CNvVexaDurationAttributeValueImpl {
 public:
  virtual ~CNvVexaDurationAttributeValueImpl() = default;

  virtual SHORT Day() { return record_.day; }
  virtual void PutDay(SHORT value);
  virtual SHORT Month() { return record_.month; }
  virtual void PutMonth(SHORT value);
  virtual SHORT Year() { return record_.year; }
  virtual void PutYear(SHORT value);
  virtual SHORT Hour() { return record_.hour; }
  virtual void PutHour(SHORT value);
  virtual SHORT Min() { return record_.minutes; }
  virtual void PutMin(SHORT value);
  virtual DOUBLE Sec() { return record_.seconds; }
  virtual void PutSec(DOUBLE value);
  virtual bool Negative() { return record_.negative; }
  virtual void PutNegative(bool value) { record_.negative = value; }

  // Replaces the whole record by the parsed text, or leaves it on failure.
  virtual void Initialize(const BstrArg& text);
  virtual Bstr ToString();

  const DurationRecord& Record() const noexcept { return record_; }

 private:
  DurationRecord record_;
};

class CNvVexaDurationAttributeValue final
    : public Implements<CNvVexaDurationAttributeValue, CNvVexaDurationAttributeValueImpl,
                        INvVexaDurationAttributeValue, INvVexaDurationAttributeValueCRaw> {};

// A new duration value initialised from `text` (throws the parse failures).
ComPtr<INvVexaDurationAttributeValue> MakeDurationValue(std::u16string_view text);

}  // namespace nv
